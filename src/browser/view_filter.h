#pragma once

#include "catalogue/user_row.h"

#include <array>
#include <string>

namespace plv::browser {

// A type entry of the View menu and the type letter it admits.
struct TypeEntry {
    const char* caption;        // in the View menu
    const char* onlyOneCaption; // in "O&nly one of the above"
    char code;
    bool togglesOnClick;
};

// "KEYS", "Text & Graphics", ... as the type caption box shows them.
using plv::typeDisplayName;

inline constexpr std::array<TypeEntry, 8> kTypeEntries = {{
    {"&KEYs", "&KEYs", 'K', true},
    {"&SCRIPTs", "&SCRIPTs", 'S', true},
    {"&LISTs", "&LISTs", 'L', true},
    {"&Text and Graphics", "&Text and Graphics", 'T', false},
    {"&Plain Text", "&Plain Text", 'P', false},
    {"Macro &Recorder", "&Macro Recorder", 'R', false},
    {"Step-&by-step", "Step-&by-step", 'X', false},
    {"Ad&vanced Scripting", "&Advanced Scripting", 'A', false},
}};

// The ticks of the View menu and what they admit.
class ViewMenu {
  public:
    ViewMenu();

    bool ticked(char code) const;
    bool allTicked() const { return all_; }
    // "L&egacy DVC file(s)" and "&Mycmds.dat" follow "&All of the above"; they filter nothing.
    bool legacyTicked() const { return legacy_; }
    bool mycmdsTicked() const { return mycmds_; }

    // A click on a type entry. Only KEYs, SCRIPTs and LISTs change on a click; returns
    // whether anything changed.
    bool clickType(char code);
    void clickAll();
    void clickOnlyOne(char code);
    // A follow view came on: no type entry and not "&All of the above" stays ticked.
    void untickTypes();

    bool admits(const std::string& type) const;
    // The unticked types as the menu names them, "KEYs, Text and Graphics"; empty when none.
    std::string leftOut() const;

  private:
    static int indexOf(char code);
    std::array<bool, kTypeEntries.size()> ticks_{};
    bool all_ = true;
    bool legacy_ = true;
    bool mycmds_ = true;
};

// The row filter of the command and LIST lists: a ticked type and, unless the Group is
// "All groups", the row's Group.
bool passesFilter(const ViewMenu& view, const UserRow& row, const std::string& group);

} // namespace plv::browser
