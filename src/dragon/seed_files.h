#pragma once

#include <string>

// The command files that ship in the program's seed folder.
namespace plv::dragon {

inline constexpr const char* kPlacerFile = "placer.dat";
inline constexpr const char* kStartCommandsFile = "proGlobal.dat";
inline constexpr const char* kMacroSetFile = "proMacros.dat";

// A 10/11 command file without commands or LISTs: what the fast save has Dragon merge.
std::string placerFile();
// The two voice commands that start the program: "global parla vista" and
// "local parla vista" (the latter passes the title of the window in front).
std::string startCommandsFile();
// The program's own voice commands: Program "Parlavista", Groups PLVControl and PLVMacros.
std::string macroSetFile();

} // namespace plv::dragon
