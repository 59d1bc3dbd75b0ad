#include "browser/view_filter.h"

#include "browser/menus.h"
#include "platform/codepage.h"

namespace plv::browser {

ViewMenu::ViewMenu() {
    ticks_.fill(true);
}

int ViewMenu::indexOf(char code) {
    for (std::size_t i = 0; i < kTypeEntries.size(); ++i) {
        if (kTypeEntries[i].code == code) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool ViewMenu::ticked(char code) const {
    int i = indexOf(code);
    return i >= 0 && ticks_[static_cast<std::size_t>(i)];
}

bool ViewMenu::clickType(char code) {
    int i = indexOf(code);
    if (i < 0 || !kTypeEntries[static_cast<std::size_t>(i)].togglesOnClick) {
        return false;
    }
    ticks_[static_cast<std::size_t>(i)] = !ticks_[static_cast<std::size_t>(i)];
    all_ = ticked('K') && ticked('S') && ticked('L');
    return true;
}

std::string ViewMenu::leftOut() const {
    std::string names;
    for (std::size_t i = 0; i < kTypeEntries.size(); ++i) {
        if (ticks_[i]) {
            continue;
        }
        std::string caption = kTypeEntries[i].caption;
        std::erase(caption, '&');
        names += (names.empty() ? "" : ", ") + caption;
    }
    return names;
}

void ViewMenu::clickAll() {
    ticks_.fill(true);
    all_ = legacy_ = mycmds_ = true;
}

void ViewMenu::clickOnlyOne(char code) {
    int i = indexOf(code);
    if (i < 0) {
        return;
    }
    ticks_.fill(false);
    ticks_[static_cast<std::size_t>(i)] = true;
    all_ = false;
}

void ViewMenu::untickTypes() {
    ticks_.fill(false);
    all_ = false;
}

bool ViewMenu::admits(const std::string& type) const {
    return type.size() == 1 && ticked(type[0]);
}

bool passesFilter(const ViewMenu& view, const UserRow& row, const std::string& group) {
    if (!view.admits(row.type)) {
        return false;
    }
    return group == kAllGroups || equalsNoCase(row.owner, group);
}

} // namespace plv::browser
