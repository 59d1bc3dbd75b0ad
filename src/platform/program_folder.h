#pragma once

#include <optional>
#include <string>
#include <vector>

namespace plv {

// The writable per-user folder that holds the catalogue, settings, logs and key names:
// `home` when given, else $PARLAVISTA_HOME, else $XDG_DATA_HOME/parlavista, else
// ~/.local/share/parlavista; on Windows %APPDATA%\Parlavista after $PARLAVISTA_HOME.
std::string resolveProgramFolder(const std::optional<std::string>& home);

// The read-only seed installed with the program (keynames, placer.dat, help, an empty
// catalogue): beside the executable in share/parlavista/seed, else the build's own copy.
std::string seedFolder();

// Creates the folder if needed and copies each named seed file that is missing there.
// Returns false when the folder cannot be created.
bool seedProgramFolder(const std::string& folder, const std::vector<std::string>& names);

// Copies every file and folder of `seed` that `folder` lacks (folders with all they hold),
// except the names in `except`. Returns false when the folder cannot be created.
bool seedProgramFolderFrom(const std::string& folder, const std::string& seed,
                           const std::vector<std::string>& except = {});

} // namespace plv
