#include "browser/follow.h"

#include "platform/codepage.h"

#include <algorithm>

namespace plv::browser {
namespace {

constexpr const char* kNotAllowed = "Not allowed";

} // namespace

std::vector<std::string> tokenizeCommandName(const std::string& name) {
    std::vector<std::string> tokens;
    std::size_t at = 0;
    while (at < name.size() && tokens.size() < kMaxFollowTokens) {
        std::size_t end;
        if (name[at] == '<') {
            std::size_t close = name.find('>', at);
            end = close == std::string::npos ? name.size() : close + 1;
        } else {
            end = std::min(name.find('<', at), name.size());
        }
        tokens.push_back(name.substr(at, end - at));
        at = end;
    }
    return tokens;
}

std::vector<std::string> listNamesOf(const std::vector<std::string>& tokens) {
    std::vector<std::string> names;
    for (const auto& token : tokens) {
        if (token.size() >= 2 && token.front() == '<' && token.back() == '>') {
            names.push_back(token.substr(1, token.size() - 2));
        }
    }
    return names;
}

std::string listReference(const std::string& listName) {
    return "<" + listName + ">";
}

bool Follow::admits(const UserRow& row) const {
    if (list_) {
        return equalsNoCase(row.name, listName_) ||
               containsNoCase(row.name, listReference(listName_));
    }
    return equalsNoCase(row.name, commandName_) ||
           std::any_of(commandLists_.begin(), commandLists_.end(),
                       [&](const std::string& list) { return equalsNoCase(row.name, list); });
}

FollowChange Follow::toggleCommand(const std::optional<UserRow>& current, UserInteraction& ui) {
    if (command_) {
        command_ = false;
        return FollowChange::TurnedOff;
    }
    if (!current || current->isList()) {
        ui.warning("Not valid unless COMMAND", kNotAllowed);
        return FollowChange::Refused;
    }
    if (current->name.find('<') == std::string::npos) {
        ui.warning("This COMMAND has no LISTs", kNotAllowed);
        return FollowChange::Refused;
    }
    command_ = true;
    list_ = false;
    commandName_ = current->name;
    commandLists_ = listNamesOf(tokenizeCommandName(commandName_));
    return FollowChange::TurnedOn;
}

FollowChange Follow::toggleList(const std::optional<UserRow>& current, UserInteraction& ui) {
    if (list_) {
        list_ = false;
        return FollowChange::TurnedOff;
    }
    if (!current || !current->isList()) {
        ui.warning("Not valid unless LIST", kNotAllowed);
        return FollowChange::Refused;
    }
    list_ = true;
    command_ = false;
    listName_ = current->name;
    return FollowChange::TurnedOn;
}

void Follow::clear() {
    *this = Follow{};
}

} // namespace plv::browser
