#pragma once

#include <optional>
#include <string>

namespace plv::dragon {

// What the command file reader needs to know of the Dragon installation: where the
// current user's command file is, the folder prefix shown as ".." in captions, and whose
// current command file a path is.
class UserFiles {
  public:
    virtual ~UserFiles() = default;
    // The current user's folder + "/mycmds.dat".
    virtual std::string currentUserCommandFile() = 0;
    // The folder prefix that captions replace by "..".
    virtual std::string directoryPrefix() = 0;
    // The user name when `path` is a Dragon user's current/mycmds.dat.
    virtual std::optional<std::string> userOfCommandFile(const std::string& path) = 0;
};

} // namespace plv::dragon
