#pragma once

#include <optional>
#include <string>
#include <string_view>

// What Dragon's merge program does with a placer file: the commands and LISTs of the
// placer that the user's command file lacks are added to it. A command is the same when
// its scope, application, window title and name are (letter case ignored); a LIST when its
// name is.
namespace plv::dragon {

struct MergeResult {
    enum class Status { Merged, Unreadable, NotACommandFile, WriteFailed };
    Status status = Status::Merged;
    int commandsAdded = 0;
    int listsAdded = 0;
    std::string message; // why it failed
};

// The merged file image; nullopt (with `result` saying why) when either image is not a
// command file that can be read to its end.
std::optional<std::string> mergeImages(std::string_view user, std::string_view placer,
                                       MergeResult& result);

// Merges `placerFile` into `commandFile` and replaces the command file by files::replaceFile
// (its rights kept, a read-only file refused), also when nothing is added, so that its
// modification time always moves on.
MergeResult mergeCommandFile(const std::string& commandFile, const std::string& placerFile);

} // namespace plv::dragon
