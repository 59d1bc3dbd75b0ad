#pragma once

#include <string>

// The demo Dragon root: a complete Dragon 11 installation with one trained user, "Demo",
// whose command file holds every kind of command and LIST, so that the program starts and
// shows real content on a machine without Dragon.
namespace plv::dragon {

inline constexpr const char* kDemoUser = "Demo";

// The demo user's mycmds.dat: a family doctor's everyday commands.
std::string demoCommandFile();

// The merge program beside the running executable.
std::string installedMergeProgram();

struct DemoRootResult {
    bool ok = false;
    std::string message; // why not
};

// Writes the root into `folder`, which must be empty or absent; `mergeProgram` is copied
// into ROOT/Program.
DemoRootResult writeDemoRoot(const std::string& folder,
                             const std::string& mergeProgram = installedMergeProgram());

} // namespace plv::dragon
