#pragma once

#include "catalogue/user_row.h"
#include "platform/interaction.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// The two follow views of the View menu: "&1 command with its LISTs" narrows the lists to one
// command and the LISTs its name refers to ("<name>"), "1 LIST with &calling COMMANDS" to one
// LIST and the commands whose names refer to it. While one is ticked it replaces the type and
// Group test of the lists.
namespace plv::browser {

inline constexpr std::size_t kMaxFollowTokens = 30;

// A command name cut into runs of literal text and LIST references with their angle
// brackets, at most 30; a "<" without a later ">" makes the rest one token.
std::vector<std::string> tokenizeCommandName(const std::string& name);
// The LIST names among the tokens: each whole reference without its brackets.
std::vector<std::string> listNamesOf(const std::vector<std::string>& tokens);
// "<" + LIST name + ">", the text by which command names refer to a LIST.
std::string listReference(const std::string& listName);

enum class FollowChange { TurnedOn, TurnedOff, Refused };

class Follow {
  public:
    bool commandTicked() const { return command_; }
    bool listTicked() const { return list_; }
    // Whether a follow view narrows the lists (and so what an export of the view shows).
    bool active() const { return command_ || list_; }
    const std::string& followedCommand() const { return commandName_; }
    const std::string& followedList() const { return listName_; }

    // The row filter while a view is ticked; the LIST view decides when both are.
    bool admits(const UserRow& row) const;

    // The entries clicked, with the entry shown in the preview (nothing when there is none).
    // A refusal shows its message and leaves the entry unticked; turning a view on unticks
    // the other one, and the caller unticks the type entries.
    FollowChange toggleCommand(const std::optional<UserRow>& current, UserInteraction& ui);
    FollowChange toggleList(const std::optional<UserRow>& current, UserInteraction& ui);
    // A type entry was clicked: the command view goes off.
    void typeClicked() { command_ = false; }
    // "&All of the above": both views off and the followed names forgotten.
    void clear();

  private:
    bool command_ = false;
    bool list_ = false;
    std::string commandName_;
    std::vector<std::string> commandLists_;
    std::string listName_;
};

} // namespace plv::browser
