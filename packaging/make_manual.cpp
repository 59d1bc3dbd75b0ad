// Writes the manual pages and the bash and zsh completion of both programs from the texts that
// their --help prints, so that they never disagree.
//
//   make_manual TEMPLATE_FOLDER OUTPUT_FOLDER VERSION
#include "cli/cli.h"
#include "completion.h"
#include "gui/command_line.h"

#include <fstream>
#include <iostream>
#include <map>
#include <regex>
#include <sstream>

namespace {

// Text as roff shows it: backslashes and minus signs escaped, no line taken for a request.
std::string roff(const std::string& text) {
    std::string out;
    bool lineStart = true;
    for (char c : text) {
        if (lineStart && (c == '.' || c == '\'')) {
            out += "\\&";
        }
        if (c == '\\') {
            out += "\\e";
        } else if (c == '-') {
            out += "\\-";
        } else {
            out += c;
        }
        lineStart = c == '\n';
    }
    return out;
}

std::string trimmed(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) {
        text.pop_back();
    }
    return text;
}

// A command's help: paragraphs are filled to the page's width, indented lines (option and
// value tables) keep their lines and blanks.
std::string helpText(const std::string& text) {
    std::istringstream lines(trimmed(text));
    std::string out;
    bool table = false;
    for (std::string line; std::getline(lines, line);) {
        bool indented = line.starts_with(" ");
        if (indented != table) {
            out += indented ? ".nf\n" : ".fi\n";
            table = indented;
        }
        out += line.empty() ? ".PP\n" : roff(line) + "\n";
    }
    return out + (table ? ".fi\n" : "");
}

std::string commandsSection() {
    std::string out;
    for (const auto& [name, c] : plv::cli::commands()) {
        std::string heading = std::regex_replace(roff(c.usage), std::regex("\""), "\\(dq");
        out +=
            ".SS \"" + heading + "\"\n" + roff(trimmed(c.summary)) + ".\n.PP\n" + helpText(c.help);
    }
    return out;
}

// The window's options: the lines of its usage text that start with two blanks.
std::string windowOptionsSection() {
    std::istringstream usage(plv::gui::kUsage);
    std::string out;
    for (std::string line; std::getline(usage, line);) {
        std::smatch m;
        if (std::regex_match(line, m, std::regex(R"(  (--\S+(?: \S+)?)\s+(.*))"))) {
            out += ".TP\n.B " + roff(m[1]) + "\n" + roff(m[2]) + "\n";
        } else if (line.rfind("    ", 0) == 0 && !out.empty()) {
            out += roff(line.substr(line.find_first_not_of(' '))) + "\n";
        }
    }
    return out;
}

std::string filled(std::string text, const std::map<std::string, std::string>& fields) {
    for (const auto& [key, value] : fields) {
        for (auto at = text.find(key); at != std::string::npos; at = text.find(key, at)) {
            text.replace(at, key.size(), value);
            at += value.size();
        }
    }
    return text;
}

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

bool writeAll(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: make_manual TEMPLATE_FOLDER OUTPUT_FOLDER VERSION\n";
        return 64;
    }
    std::string templates = argv[1];
    std::string output = std::string(argv[2]) + "/";
    std::map<std::string, std::string> fields = {
        {"@VERSION@", argv[3]},
        {"@COMMANDS@", commandsSection()},
        {"@WINDOW_OPTIONS@", windowOptionsSection()},
        {"@PROGRAM_FOLDER@", roff(trimmed(plv::cli::kProgramFolderHelp))},
        {"@EXIT_STATUS@", roff(trimmed(plv::cli::kExitStatusHelp))}};
    bool ok = true;
    for (const std::string page : {"parlavista.1", "parlavista-cli.1"}) {
        ok = writeAll(output + page, filled(readAll(templates + "/" + page + ".in"), fields)) && ok;
    }
    ok = writeAll(output + "parlavista-cli.bash", plv::manual::bashCliCompletion()) && ok;
    ok = writeAll(output + "parlavista.bash", plv::manual::bashWindowCompletion()) && ok;
    ok = writeAll(output + "_parlavista-cli", plv::manual::zshCliCompletion()) && ok;
    ok = writeAll(output + "_parlavista", plv::manual::zshWindowCompletion()) && ok;
    if (!ok) {
        std::cerr << "make_manual: cannot write into " << output << "\n";
    }
    return ok ? 0 : 1;
}
