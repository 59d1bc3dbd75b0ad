#pragma once

#include "platform/interaction.h"

#include <functional>
#include <iosfwd>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace plv::cli {

// Exit statuses shared by all commands.
inline constexpr int kOk = 0;
inline constexpr int kMissingFile = 1;
inline constexpr int kParseFailed = 2;
inline constexpr int kFailed = 3;
// The current user's file was written and read again, but Dragon did not take it over.
inline constexpr int kNotTakenOver = 4;
inline constexpr int kUsage = 64;

// Paragraphs of the tool's help that its manual page shows too.
inline constexpr const char* kProgramFolderHelp =
    "The program folder (keynames, logs, catalogue) is --home DIR, else $PARLAVISTA_HOME,\n"
    "else $XDG_DATA_HOME/parlavista, else ~/.local/share/parlavista.\n";
inline constexpr const char* kExitStatusHelp =
    "0 done, 1 a file does not exist, 2 the command file does not parse,\n"
    "3 the command was refused or failed (a refused write changes nothing), 4 the\n"
    "current Dragon user's file was written but Dragon did not take the change over,\n"
    "64 a usage error.\n";

// The command line after the command name: positional words and --options.
struct Args {
    std::vector<std::string> positional;
    std::map<std::string, std::string> values;             // the last value given
    std::map<std::string, std::vector<std::string>> every; // every value, in order
    std::set<std::string> flags;

    std::optional<std::string> value(const std::string& name) const;
    // Every value of an option that may be given more than once (--name A --name B).
    std::vector<std::string> all(const std::string& name) const;
    bool flag(const std::string& name) const { return flags.count(name) > 0; }
};

// Messages go to standard error; questions get the cautious answer, since nobody is
// there to give another.
class ConsoleInteraction : public UserInteraction {
  public:
    explicit ConsoleInteraction(std::ostream& err);
    // A command whose name asks for the change (convert-format, convert-language) answers its
    // own confirm questions with OK and Yes.
    bool confirmed = false;
    void message(const std::string& text, const std::string& title) override;
    bool okCancel(const std::string& text, const std::string& title) override;
    bool yesNo(const std::string& text, const std::string& title) override;
    std::optional<std::string> input(const std::string& prompt, const std::string& title,
                                     const std::string& initial) override;
    std::size_t choice(const std::string& text, const std::string& title,
                       const std::vector<std::string>& buttons, std::size_t escape) override;
    void status(const std::string& text) override { status_ = text; }
    // A line that rewrites itself: the last status text and the share done.
    void progress(std::size_t done, std::size_t total) override;
    // Only on a terminal: standard error redirected to a file or a pipe gets no progress.
    bool showProgress = false;

  private:
    std::ostream& err_;
    std::string status_;
    std::size_t shownWidth_ = 0; // of the progress line on the terminal, 0 when none
};

struct Io {
    std::ostream& out;
    std::ostream& err;
};

struct Command {
    std::string name;
    std::string usage;   // one line: "info FILE"
    std::string summary; // one line for the tool's help
    std::string help;    // the command's own help text
    std::set<std::string> valueOptions;
    std::set<std::string> flagOptions;
    std::function<int(const Args&, Io&)> run;
};

bool registerCommand(Command command);
const std::map<std::string, Command>& commands();

// Runs the tool on argv-style words (without the program name).
int runTool(const std::vector<std::string>& words, Io& io);

} // namespace plv::cli
