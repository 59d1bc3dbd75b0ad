#include "browser/menus.h"

#include "catalogue/user_row.h"
#include "platform/codepage.h"

#include <algorithm>

namespace plv::browser {

void SelectionMenu::assign(std::vector<std::string> values, bool groupTail) {
    values_ = std::move(values);
    groupTail_ = groupTail;
    if (groupTail_) {
        values_.push_back(kSeparator);
        values_.push_back(kAllGroups);
    }
    numbered_ = false;
}

bool SelectionMenu::numberable(std::size_t i) const {
    return !groupTail_ || i + 2 < values_.size();
}

bool SelectionMenu::isSeparator(std::size_t i) const {
    return groupTail_ && i + 2 == values_.size();
}

std::string SelectionMenu::text(std::size_t i) const {
    if (numbered_ && numberable(i)) {
        return std::to_string(i + 1) + " - " + values_.at(i);
    }
    return values_.at(i);
}

bool SelectionMenu::number() {
    if (numbered_ || values_.empty()) {
        return false;
    }
    numbered_ = true;
    return true;
}

std::size_t SelectionMenu::numberedCount() const {
    return groupTail_ ? values_.size() - 2 : values_.size();
}

std::size_t SelectionMenu::find(const std::string& name) const {
    std::size_t found = 0;
    for (std::size_t i = 0; i < values_.size(); ++i) {
        if (equalsNoCase(values_[i], name)) {
            found = i;
        }
    }
    return found;
}

int SelectionMenu::findFirst(const std::string& name) const {
    for (std::size_t i = 0; i < values_.size(); ++i) {
        if (equalsNoCase(values_[i], name)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::vector<std::string> globalFirst(std::vector<std::string> programs) {
    auto global = std::find(programs.begin(), programs.end(), kGlobalCommands);
    if (global != programs.end()) {
        std::rotate(programs.begin(), global, global + 1);
    }
    return programs;
}

std::vector<std::string> numberWords(std::size_t count) {
    std::vector<std::string> words;
    for (std::size_t i = 1; i <= count; ++i) {
        words.push_back(std::to_string(i));
    }
    return words;
}

} // namespace plv::browser
