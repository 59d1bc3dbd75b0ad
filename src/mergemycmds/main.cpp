// The stand-in for Dragon's merge program: merges the placer file's commands and LISTs
// that the user's command file lacks into it, replacing the file atomically.
#include "dragon/merge_commands.h"
#include "platform/environment.h"

#include <iostream>

int main(int argc, char** argv) {
    std::vector<std::string> args = plv::commandLineArguments(argc, argv);
    if (args.size() != 3) {
        std::cerr << "usage: mergemycmds COMMANDFILE PLACERFILE\n";
        return 64;
    }
    auto result = plv::dragon::mergeCommandFile(args[1], args[2]);
    using Status = plv::dragon::MergeResult::Status;
    switch (result.status) {
    case Status::Merged:
        std::cout << "merged " << result.commandsAdded << " commands and " << result.listsAdded
                  << " LISTs into " << args[1] << "\n";
        return 0;
    case Status::Unreadable:
        std::cerr << "mergemycmds: " << result.message << "\n";
        return 1;
    case Status::NotACommandFile:
        std::cerr << "mergemycmds: " << result.message << "\n";
        return 2;
    case Status::WriteFailed:
        std::cerr << "mergemycmds: " << result.message << "\n";
        return 3;
    }
    return 3;
}
