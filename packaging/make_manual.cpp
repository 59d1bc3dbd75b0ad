// Writes the manual pages and the bash completion of both programs from the texts that
// their --help prints, so that the three never disagree.
//
//   make_manual TEMPLATE_FOLDER OUTPUT_FOLDER VERSION
#include "cli/cli.h"
#include "gui/command_line.h"

#include <fstream>
#include <iostream>
#include <map>
#include <regex>
#include <sstream>

namespace {

using plv::cli::Command;

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
        out += ".SS \"" + roff(c.usage) + "\"\n" + roff(trimmed(c.summary)) + ".\n.PP\n" +
               helpText(c.help);
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

// What an option's value is, from the word after it in the usage line (--home DIR): a folder,
// a file, or words only the user knows.
std::string valueKind(const Command& c, const std::string& option) {
    std::smatch m;
    std::regex after("--" + option + R"( ([A-Za-z0-9./|-]+))");
    std::string word = std::regex_search(c.usage, m, after) ? m[1].str() : "";
    if (word == "DIR" || option == "home" || option == "dragon-root") {
        return "dir";
    }
    if (word == "F" || word == "FILE" || word == "PATH" || option == "output" ||
        option.ends_with("-file")) {
        return "file";
    }
    return word.find('|') != std::string::npos ? word : "";
}

std::string joined(const std::set<std::string>& names, const std::string& prefix) {
    std::string out;
    for (const auto& name : names) {
        out += (out.empty() ? "" : " ") + prefix + name;
    }
    return out;
}

// One case of the completion per command: its options, and what follows each.
std::string completionCase(const Command& c) {
    std::string values;
    for (const auto& option : c.valueOptions) {
        std::string kind = valueKind(c, option);
        std::string action = kind == "dir"    ? "_filedir -d"
                             : kind == "file" ? "_filedir"
                             : kind.empty()   ? ":"
                                              : "COMPREPLY=($(compgen -W \"" +
                                                  std::regex_replace(kind, std::regex("\\|"), " ") +
                                                  "\" -- \"$cur\"))";
        values += "        --" + option + ") " + action + "; return ;;\n";
    }
    std::set<std::string> all = c.valueOptions;
    all.insert(c.flagOptions.begin(), c.flagOptions.end());
    all.insert("help");
    return "    " + c.name + ")\n      case $prev in\n" + values + "      esac\n      options=\"" +
           joined(all, "--") + "\" ;;\n";
}

std::string cliCompletion() {
    std::set<std::string> names;
    std::string cases;
    for (const auto& [name, c] : plv::cli::commands()) {
        names.insert(name);
        cases += completionCase(c);
    }
    return "_parlavista_cli() {\n"
           "  local cur prev words cword options\n"
           "  _init_completion || return\n"
           "  if ((cword == 1)); then\n"
           "    COMPREPLY=($(compgen -W \"" +
           joined(names, "") +
           " --help --version\" -- \"$cur\"))\n"
           "    return\n"
           "  fi\n"
           "  case ${words[1]} in\n" +
           cases +
           "    *) return ;;\n"
           "  esac\n"
           "  if [[ $cur == -* ]]; then\n"
           "    COMPREPLY=($(compgen -W \"$options\" -- \"$cur\"))\n"
           "  else\n"
           "    _filedir\n"
           "  fi\n"
           "}\n"
           "complete -F _parlavista_cli parlavista-cli\n";
}

std::string windowCompletion() {
    std::istringstream usage(plv::gui::kUsage);
    std::string cases;
    std::set<std::string> options;
    for (std::string line; std::getline(usage, line);) {
        std::smatch m;
        if (!std::regex_search(line, m, std::regex(R"(^  --(\S+)(?: (\S+))?)"))) {
            continue;
        }
        options.insert(m[1]);
        std::string value = m[2];
        if (!value.empty()) {
            std::string action = value == "DIR"            ? "_filedir -d"
                                 : value.ends_with(".png") ? "_filedir png"
                                                           : "_filedir";
            cases += "    --" + m[1].str() + ") " + action + "; return ;;\n";
        }
    }
    return "_parlavista() {\n"
           "  local cur prev words cword\n"
           "  _init_completion || return\n"
           "  case $prev in\n" +
           cases +
           "  esac\n"
           "  if [[ $cur == -* ]]; then\n"
           "    COMPREPLY=($(compgen -W \"" +
           joined(options, "--") +
           "\" -- \"$cur\"))\n"
           "  else\n"
           "    _filedir\n"
           "  fi\n"
           "}\n"
           "complete -F _parlavista parlavista\n";
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
    ok = writeAll(output + "parlavista-cli.bash", cliCompletion()) && ok;
    ok = writeAll(output + "parlavista.bash", windowCompletion()) && ok;
    if (!ok) {
        std::cerr << "make_manual: cannot write into " << output << "\n";
    }
    return ok ? 0 : 1;
}
