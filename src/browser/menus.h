#pragma once

#include <string>
#include <vector>

namespace plv::browser {

inline constexpr const char* kAllGroups = "All groups";
inline constexpr const char* kSeparator = "-";

enum class MenuKind { Program, Scope, Group };

// One of the Program, Scope and Group menus: the values in menu order and whether the
// entries carry their position numbers. The values themselves never change when the
// menu is numbered, so a Scope whose title happens to start "2 - " stays intact.
class SelectionMenu {
  public:
    void assign(std::vector<std::string> values, bool groupTail = false);
    void clear() { assign({}); }

    std::size_t size() const { return values_.size(); }
    bool empty() const { return values_.empty(); }
    const std::string& value(std::size_t i) const { return values_.at(i); }
    const std::vector<std::string>& values() const { return values_; }
    // The caption shown: "3 - WINWORD" once numbered; the Group separator and
    // "All groups" are never numbered.
    std::string text(std::size_t i) const;
    bool isNumbered() const { return numbered_; }
    // Numbers the entries unless they already are; false when nothing changed.
    bool number();
    // How many entries carry a number.
    std::size_t numberedCount() const;
    bool isSeparator(std::size_t i) const;
    // The last entry equal to `name` (letter case ignored); 0 when none is.
    std::size_t find(const std::string& name) const;
    // The first entry equal to `name`, or -1.
    int findFirst(const std::string& name) const;

  private:
    bool numberable(std::size_t i) const;
    std::vector<std::string> values_;
    bool groupTail_ = false;
    bool numbered_ = false;
};

// The Program menu's order: "Global Commands" first, the rest in the given order.
std::vector<std::string> globalFirst(std::vector<std::string> programs);

// "1" ... "n": the words of a number LIST.
std::vector<std::string> numberWords(std::size_t count);

} // namespace plv::browser
