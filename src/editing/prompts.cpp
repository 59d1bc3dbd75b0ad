#include "editing/prompts.h"

#include "datfile/record_ops.h"
#include "editing/name_checks.h"

namespace plv::editing {
namespace {

constexpr std::size_t kNamesShown = 6;

} // namespace

std::optional<std::string> askNewCommandName(Editor& e) {
    Session& s = e.session();
    BrowsingView::Shown shown = e.view().shown();
    // Proposed until a command is made: a prompt cancelled or refused proposes it again.
    const std::string list = e.state().nextList;
    auto answer =
        s.ui.input("Enter command name below:\n\nCommand will be created in: " + shown.program +
                       "\nScope: " + shown.scope,
                   "New Command", list.empty() ? "" : "<" + list + ">");
    if (!answer || answer->empty()) {
        return std::nullopt;
    }
    if (s.catalogue.findRow(shown.program, shown.scope, *answer)) {
        s.ui.warning("Command already exists", *answer);
        return std::nullopt;
    }
    if (!checkCommandName(s, *answer)) {
        return std::nullopt;
    }
    if (list.empty()) {
        s.ui.status(""); // the reminder of the new LIST stays until its command is written
    }
    return answer;
}

std::optional<std::string> askNewListName(Editor& e) {
    Session& s = e.session();
    auto answer = s.ui.input("Enter new LIST name (without <>'s)\n\nDragon allows only: \n"
                             "(lowercase) letters, numbers, and \"_-.\"in LIST names",
                             "New LIST", "");
    if (!answer || answer->empty() || !checkListName(s, *answer)) {
        return std::nullopt;
    }
    if (s.catalogue.findRow(kGlobalCommands, kGlobalCommands, *answer)) {
        s.ui.warning("Command or LIST already exists", *answer);
        return std::nullopt;
    }
    return answer;
}

bool positionCheck(Editor& e) {
    Session& s = e.session();
    BrowsingView::Shown shown = e.view().shown();
    if (s.catalogue.findRow(shown.program, shown.scope, shown.name)) {
        return true;
    }
    if (shown.program == kGlobalCommands) {
        return s.ui.okCancel(
            "To create your first 'Global Commands' for this file, choose 'OK', otherwise 'Cancel'",
            shown.name);
    }
    s.ui.warning("Parlavista cannot create a new command for this Program, Scope, Group, or View.",
                 "Please pick a different Program, Scope, Group, or View");
    return false;
}

bool listInUseCheck(Editor& e, const std::string& list, const std::string& verb) {
    return listInUseCheck(e.session(), list, verb, e.view().shown().name);
}

bool listInUseCheck(Session& s, const std::string& list, const std::string& verb,
                    const std::string& title) {
    auto users = dat::commandsUsingList(s.catalogue, list);
    if (users.empty()) {
        return true;
    }
    std::string names;
    for (std::size_t i = 0; i < users.size() && i < kNamesShown; ++i) {
        names += (i == 0 ? "" : "\n") + users[i].name;
    }
    return s.ui.yesNo("There are " + std::to_string(users.size()) +
                          " commands using this LIST including:\n\n" + names +
                          "\n\nNaturallySpeaking and Razudid Udiridu will no longer hear/see "
                          "these commands.\nAre you sure you want to " +
                          verb + " this LIST?",
                      title);
}

std::optional<UserRow> shownRow(Editor& e) {
    const Catalogue& c = e.session().catalogue;
    BrowsingView::Shown shown = e.view().shown();
    switch (shown.tab) {
    case kCommandsTab:
        return c.findCommand(shown.program, shown.scope, shown.name);
    case kListsTab:
        return c.findList(shown.program, shown.scope, shown.name);
    default:
        return c.findRow(shown.program, shown.scope, shown.name);
    }
}

} // namespace plv::editing
