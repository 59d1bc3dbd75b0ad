#include "cli/cli.h"

#include "platform/terminal.h"

#include <algorithm>
#include <iostream>

namespace plv::cli {
namespace {

std::map<std::string, Command>& registry() {
    static std::map<std::string, Command> all;
    return all;
}

void printToolHelp(std::ostream& out) {
    out << "parlavista-cli: Dragon NaturallySpeaking command files from the terminal\n\n"
        << "usage: parlavista-cli COMMAND [OPTIONS] [ARGUMENTS]\n"
        << "       parlavista-cli COMMAND --help\n"
        << "       parlavista-cli --version\n\ncommands:\n";
    for (const auto& [name, c] : registry()) {
        out << "  " << c.usage << "\n      " << c.summary << "\n";
    }
    out << "\n" << kProgramFolderHelp << "\nExit status: " << kExitStatusHelp;
}

// Short spellings of long options, for the commands that take the long one.
const std::map<std::string, std::string> kShortOptions = {{"-o", "output"}};

// Splits words into positional arguments and the command's options.
bool parseArgs(const Command& c, const std::vector<std::string>& words, std::size_t first,
               Args& args, std::ostream& err) {
    for (std::size_t i = first; i < words.size(); ++i) {
        std::string w = words[i];
        if (auto alias = kShortOptions.find(w);
            alias != kShortOptions.end() && c.valueOptions.count(alias->second)) {
            w = "--" + alias->second;
        }
        if (w.rfind("--", 0) != 0 || w == "--") {
            args.positional.push_back(w);
            continue;
        }
        std::string name = w.substr(2);
        std::optional<std::string> inlineValue;
        if (auto eq = name.find('='); eq != std::string::npos) {
            inlineValue = name.substr(eq + 1);
            name = name.substr(0, eq);
        }
        if (c.valueOptions.count(name)) {
            if (!inlineValue && i + 1 >= words.size()) {
                err << "parlavista-cli " << c.name << ": --" << name << " needs a value\n";
                return false;
            }
            args.values[name] = inlineValue ? *inlineValue : words[++i];
            args.every[name].push_back(args.values[name]);
        } else if (c.flagOptions.count(name) || name == "help") {
            args.flags.insert(name);
        } else {
            err << "parlavista-cli " << c.name << ": unknown option --" << name << "\n";
            return false;
        }
    }
    return true;
}

} // namespace

std::optional<std::string> Args::value(const std::string& name) const {
    auto it = values.find(name);
    if (it == values.end()) {
        return std::nullopt;
    }
    return it->second;
}

std::vector<std::string> Args::all(const std::string& name) const {
    auto it = every.find(name);
    return it == every.end() ? std::vector<std::string>{} : it->second;
}

ConsoleInteraction::ConsoleInteraction(std::ostream& err)
    : showProgress(&err == &std::cerr && standardErrorIsTerminal()), err_(err) {}

void ConsoleInteraction::progress(std::size_t done, std::size_t total) {
    if (!showProgress || (done >= total && shownWidth_ == 0)) {
        return;
    }
    std::string line;
    if (done < total) {
        line = (status_.empty() ? "" : status_ + " ") + std::to_string(done * 100 / total) + "%";
    }
    // Blanks over what is left of a longer line; a finished piece of work leaves none.
    std::string blanks(shownWidth_ > line.size() ? shownWidth_ - line.size() : 0, ' ');
    err_ << "\r" << line << blanks << (line.empty() ? "\r" : "") << std::flush;
    shownWidth_ = line.size();
}

void ConsoleInteraction::message(const std::string& text, const std::string& title) {
    progress(1, 1); // a message starts on a line of its own
    err_ << text << "\n";
    if (!title.empty()) {
        err_ << "    [" << title << "]\n";
    }
}

bool ConsoleInteraction::okCancel(const std::string& text, const std::string& title) {
    message(text, title);
    err_ << (confirmed ? "    (answered OK)\n" : "    (answered Cancel)\n");
    return confirmed;
}

bool ConsoleInteraction::yesNo(const std::string& text, const std::string& title) {
    message(text, title);
    err_ << (confirmed ? "    (answered Yes)\n" : "    (answered No)\n");
    return confirmed;
}

std::optional<std::string> ConsoleInteraction::input(const std::string& prompt,
                                                     const std::string& title, const std::string&) {
    message(prompt, title);
    err_ << "    (no answer)\n";
    return std::nullopt;
}

std::size_t ConsoleInteraction::choice(const std::string& text, const std::string& title,
                                       const std::vector<std::string>& buttons,
                                       std::size_t escape) {
    message(text, title);
    std::string answer = escape < buttons.size() ? buttons[escape] : "";
    answer.erase(std::remove(answer.begin(), answer.end(), '&'), answer.end());
    err_ << "    (answered " << answer << ")\n";
    return escape;
}

bool registerCommand(Command command) {
    std::string name = command.name;
    registry()[name] = std::move(command);
    return true;
}

const std::map<std::string, Command>& commands() {
    return registry();
}

int runTool(const std::vector<std::string>& words, Io& io) {
    if (words.empty() || words[0] == "--help" || words[0] == "-h" || words[0] == "help") {
        printToolHelp(words.empty() ? io.err : io.out);
        return words.empty() ? kUsage : kOk;
    }
    if (words[0] == "--version") {
        io.out << "parlavista-cli " << PARLAVISTA_VERSION << "\n";
        return kOk;
    }
    auto it = registry().find(words[0]);
    if (it == registry().end()) {
        io.err << "parlavista-cli: unknown command '" << words[0] << "' (see --help)\n";
        return kUsage;
    }
    const Command& c = it->second;
    Args args;
    if (!parseArgs(c, words, 1, args, io.err)) {
        return kUsage;
    }
    if (args.flag("help")) {
        io.out << "usage: parlavista-cli " << c.usage << "\n\n" << c.help << "\n";
        return kOk;
    }
    return c.run(args, io);
}

} // namespace plv::cli
