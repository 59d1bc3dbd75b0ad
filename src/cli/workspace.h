#pragma once

#include "browser/startup.h"
#include "catalogue/catalogue.h"
#include "cli/cli.h"
#include "datfile/file_commands.h"
#include "datfile/session.h"
#include "dragon/dragon_root.h"
#include "editing/road.h"
#include "platform/trace.h"
#include "platform/waits.h"

#include <functional>
#include <memory>
#include <set>
#include <string>

namespace plv::cli {

// The users of the Dragon root that the options or the environment give, when there is
// one: their files are known as Dragon's (backed up, never replaced by an export).
class DragonUsers {
  public:
    explicit DragonUsers(const std::string& root)
        : root_{root}, engine_(root_.engineIni()),
          environment_(dragon::DragonEnvironment::foldersOf(root_), engine_, quiet_, trace_) {}
    bool read() { return environment_.GetPaths() && environment_.initialize(); }
    dragon::DragonEnvironment& environment() { return environment_; }

  private:
    dragon::DragonRoot root_;
    dragon::StandInEngine engine_;
    SilentInteraction quiet_;
    Trace trace_;
    dragon::DragonEnvironment environment_;
};

// Null when no Dragon root is given or its users cannot be read.
std::unique_ptr<DragonUsers> dragonUsers(const Args& args);
// The current user's mycmds.dat of those users; empty without them.
std::string currentUserCommandFile(DragonUsers* users);

// What a command needs to work on a command file: the program folder (seeded with
// keynames), the trace, a catalogue and the session over them, and Dragon's users when a
// Dragon root is known.
class Workspace {
  public:
    // `database` is a path or ":memory:". Returns null (after a message) when the
    // program folder or the catalogue cannot be opened.
    static std::unique_ptr<Workspace> open(const Args& args, Io& io, const std::string& database);

    ~Workspace();
    Session& session() { return *session_; }
    Catalogue& catalogue() { return *catalogue_; }
    const std::string& home() const { return home_; }
    ConsoleInteraction& ui() { return ui_; }

    // Open-file on `path`: 0 when parsed, else the tool's exit status (message shown).
    int openCommandFile(const std::string& path);

  private:
    explicit Workspace(Io& io) : ui_(io.err) {}
    std::string home_;
    ConsoleInteraction ui_;
    Trace trace_;
    std::unique_ptr<Catalogue> catalogue_;
    std::unique_ptr<Session> session_;
    std::unique_ptr<DragonUsers> dragon_;
};

// The command file a write command changes, and the road the write travels. FILE is parsed
// into a private catalogue and written with verification. With --current-user (and
// --dragon-root DIR or $PARLAVISTA_DRAGON_ROOT), or a FILE that is the current Dragon user's
// mycmds.dat, the program starts up as the window does on that file, and the write goes the
// whole editing road: the file-changed check, the operation's own checks, the daily backup,
// the write, the verification and the fast save through Dragon's merge program.
class WriteSession {
  public:
    // Null after a message, with the exit status in `status`.
    static std::unique_ptr<WriteSession> open(const Args& args, Io& io, const std::string& command,
                                              int& status);
    // The current Dragon user's file, whatever the options say.
    static std::unique_ptr<WriteSession> openCurrentUser(const Args& args, Io& io, int& status);
    ~WriteSession();
    WriteSession(const WriteSession&) = delete;
    WriteSession& operator=(const WriteSession&) = delete;

    Session& session();
    editing::Road& road() { return *road_; }
    bool currentUser() const { return startup_ != nullptr; }
    // Where messages go and questions are answered.
    ConsoleInteraction& console() { return file_ ? file_->ui() : ui_; }

    // Runs `write` on the road: its checks, the daily backup, its write. 0 when it was done
    // and the file verified, kNotTakenOver when Dragon then did not take the file over, else
    // the exit status. `newList` is a new LIST, which Dragon takes over with the command that
    // uses it.
    // When `nothingWritten` is set once `write` is done, the file already held what was asked:
    // 0, and nothing follows the write.
    int write(const std::function<dat::Outcome()>& write, bool newList = false,
              const bool* nothingWritten = nullptr);
    // The exit status once the post-write step (of a write or a restore) has run: 0,
    // kNotTakenOver (said so on standard error) or kParseFailed.
    int afterWrite(dat::Outcome postWrite);

  private:
    explicit WriteSession(Io& io) : ui_(io.err) {}
    bool startCurrentUser(const Args& args);

    ConsoleInteraction ui_;
    SleepingWaits waits_;
    // A FILE outside Dragon still gets Dragon's script check, as in the window.
    dragon::RecordingVoiceCommands scriptCheck_;
    std::unique_ptr<Workspace> file_;
    std::unique_ptr<browser::Startup> startup_;
    browser::StartupResult started_;
    std::unique_ptr<editing::Road> road_;
};

// The exit status of an operation's outcome: 0, 3 refused, 2 the program would end.
int exitStatus(dat::Outcome outcome);

// What every write command accepts besides its own options.
std::set<std::string> withWriteTargetOptions(std::set<std::string> valueOptions);
inline const std::set<std::string> kWriteTargetFlags = {"current-user"};

// The single FILE argument of a command, or a usage message.
bool oneFileArgument(const Args& args, Io& io, const std::string& command, std::string& file);

} // namespace plv::cli
