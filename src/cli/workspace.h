#pragma once

#include "catalogue/catalogue.h"
#include "cli/cli.h"
#include "datfile/file_commands.h"
#include "datfile/session.h"
#include "platform/trace.h"

#include <memory>
#include <string>

namespace plv::cli {

// What a command needs to work on a command file: the program folder (seeded with
// keynames), the trace, a catalogue and the session over them.
class Workspace {
  public:
    // `database` is a path or ":memory:". Returns null (after a message) when the
    // program folder or the catalogue cannot be opened.
    static std::unique_ptr<Workspace> open(const Args& args, Io& io, const std::string& database);

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
};

// The single FILE argument of a command, or a usage message.
bool oneFileArgument(const Args& args, Io& io, const std::string& command, std::string& file);

} // namespace plv::cli
