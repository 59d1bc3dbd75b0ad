#pragma once

#include "browser/startup.h"

#include <optional>
#include <string>
#include <vector>

namespace plv::gui {

// What `parlavista` was started with.
struct CommandLine {
    browser::StartupOptions startup;
    std::optional<std::string> screenshot; // grab the window into this PNG, then exit
    bool help = false;
    bool version = false;
};

// Reads `--dragon-root DIR`, `--home DIR` and `--screenshot FILE.png`, which come before
// the program's own argument; the remaining words, joined by blanks, are that argument (a
// command file, "global commands" or a window title). Returns nullopt with `error` set
// on a malformed line.
std::optional<CommandLine> parseCommandLine(const std::vector<std::string>& words,
                                            std::string& error);

inline constexpr const char* kUsage =
    "usage: parlavista [--dragon-root DIR] [--home DIR] [--screenshot FILE.png] [ARGUMENT]\n"
    "       parlavista --help | --version\n"
    "\n"
    "ARGUMENT is a command file to open, \"global commands\", or the title of a window\n"
    "whose Program and Scope to show. Without it the window opens on the commands of the\n"
    "window that was in front.\n"
    "\n"
    "  --dragon-root DIR     Dragon's root folder (else $PARLAVISTA_DRAGON_ROOT)\n"
    "  --home DIR            the program folder (else $PARLAVISTA_HOME, else\n"
    "                        $XDG_DATA_HOME/parlavista)\n"
    "  --screenshot FILE.png start as usual, save a picture of the window, and exit\n"
    "  --help                show this text and exit\n"
    "  --version             show the version and exit\n";

} // namespace plv::gui
