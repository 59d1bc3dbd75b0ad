#pragma once

#include "platform/profile.h"
#include "platform/trace.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace plv::browser {

// One entry of the recently-used table.
struct RecentEntry {
    std::string program;
    std::string scope;
    std::string name;
};

// The recently-used commands of one command file, kept in Parlavista.INI in the section
// named by the file's full path: "mrucount" and the entries "1" ... "mrucount", each
// "Program<TAB>Scope<TAB>name".
class RecentlyUsed {
  public:
    static constexpr int kMaxCount = 13;
    static constexpr int kSlots = 15; // slot 0 unused; slot 14 takes the entry pushed out

    explicit RecentlyUsed(Settings& settings) : settings_(settings) {}

    // Reads the table of this command file.
    void load(const std::string& commandFile);
    const std::string& section() const { return section_; }

    // Puts the command on top. With `check` an equal entry moves up instead of being
    // added a second time. A LIST is recorded under "Global Commands" twice.
    void update(const std::string& program, const std::string& scope, const std::string& name,
                const std::string& type, bool check);
    // Keeps the entries whose command still exists, stores them and reads them back.
    using Exists = std::function<bool(const RecentEntry&)>;
    void output(const Exists& exists, Trace& trace);

    int count() const { return count_; }
    // The raw entry texts of slots 1 ... count.
    std::vector<std::string> entries() const;
    // Entries that split into Program, Scope and name.
    static bool split(const std::string& entry, RecentEntry& out);
    static std::string join(const RecentEntry& entry);

  private:
    void store();
    Settings& settings_;
    std::string section_;
    std::array<std::string, kSlots> slots_{};
    int count_ = 0;
};

} // namespace plv::browser
