#include "gui/command_line.h"

namespace plv::gui {

std::optional<CommandLine> parseCommandLine(const std::vector<std::string>& words,
                                            std::string& error) {
    CommandLine line;
    std::size_t i = 0;
    for (; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word == "--help" || word == "-h") {
            line.help = true;
            continue;
        }
        if (word == "--version") {
            line.version = true;
            continue;
        }
        if (word == "--") {
            ++i;
            break;
        }
        std::optional<std::string>* target = nullptr;
        if (word == "--dragon-root") {
            target = &line.startup.dragonRoot;
        } else if (word == "--home") {
            target = &line.startup.home;
        } else if (word == "--screenshot") {
            target = &line.screenshot;
        } else if (word.rfind("--", 0) == 0) {
            error = "unknown option " + word;
            return std::nullopt;
        } else {
            break;
        }
        if (i + 1 >= words.size() || words[i + 1].empty()) {
            error = word + " needs a value";
            return std::nullopt;
        }
        *target = words[++i];
    }
    for (; i < words.size(); ++i) {
        line.startup.argument += (line.startup.argument.empty() ? "" : " ") + words[i];
    }
    return line;
}

} // namespace plv::gui
