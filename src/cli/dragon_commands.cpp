// The commands that work with a Dragon installation: make-demo and status.
#include "browser/startup.h"
#include "cli/cli.h"
#include "dragon/demo_root.h"

#include <ostream>

namespace plv::cli {
namespace {

int runMakeDemo(const Args& args, Io& io) {
    if (args.positional.size() != 1) {
        io.err << "usage: parlavista-cli make-demo DIR\n";
        return kUsage;
    }
    auto result = dragon::writeDemoRoot(args.positional[0]);
    if (!result.ok) {
        io.err << "parlavista-cli make-demo: " << result.message << "\n";
        return kFailed;
    }
    return kOk;
}

void printStatus(browser::Startup& s, const browser::StartupResult& r, std::ostream& out) {
    const auto& p = s.environment().properties();
    out << "version: " << p.version << "\n"
        << "edition: " << p.edition << "\n"
        << "user: " << p.UserName << "\n"
        << "current path: " << p.CurrentPath << "\n"
        << "command file: " << s.session().file.path << "\n"
        << "caption: " << r.caption << "\n"
        << "commands: " << s.catalogue().countCommands() << "\n"
        << "lists: " << s.catalogue().countFileLists() << "\n"
        << "parsed: " << (r.parsed ? "yes" : "no") << "\n"
        << "program: " << r.program << "\n"
        << "scope: " << r.scope << "\n";
}

int runStatus(const Args& args, Io& io) {
    if (args.positional.size() > 1) {
        io.err << "usage: parlavista-cli status [--dragon-root DIR] [--home DIR] [ARG]\n";
        return kUsage;
    }
    browser::StartupOptions options;
    options.home = args.value("home");
    options.dragonRoot = args.value("dragon-root");
    if (!args.positional.empty()) {
        options.argument = args.positional[0];
    }
    ConsoleInteraction ui(io.err);
    browser::Startup startup(options, ui);
    auto result = startup.run();
    if (!result.started()) {
        return kFailed;
    }
    printStatus(startup, result, io.out);
    startup.shutDown(result.placement);
    return kOk;
}

const bool registered = [] {
    registerCommand({"make-demo",
                     "make-demo DIR",
                     "write the demo Dragon root (a trained user \"Demo\") into DIR",
                     "Writes a complete Dragon 11 root into DIR, which must be empty or absent:\n"
                     "ProgramData and AppData with nssystem.ini, nsuser.ini and dragon.log,\n"
                     "engine.ini, the user Demo with options.ini and current/mycmds.dat, and\n"
                     "the merge program in Program/.\n",
                     {},
                     {},
                     runMakeDemo});
    registerCommand({"status",
                     "status [--dragon-root DIR] [--home DIR] [ARG]",
                     "start up without a window and show what was found",
                     "Runs the whole start-up on the Dragon root (--dragon-root DIR, else\n"
                     "$PARLAVISTA_DRAGON_ROOT) and the program folder, prints one name: value\n"
                     "per line (version, edition, user, current path, command file, caption,\n"
                     "commands, lists, parsed, program, scope), then shuts down. ARG is the\n"
                     "program's command line: a .dat file, \"global commands\" or a window "
                     "title.\n",
                     {"dragon-root", "home"},
                     {},
                     runStatus});
    return true;
}();

} // namespace
} // namespace plv::cli
