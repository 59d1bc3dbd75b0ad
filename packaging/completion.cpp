#include "completion.h"

#include "cli/cli.h"
#include "gui/command_line.h"

#include <regex>
#include <sstream>
#include <vector>

namespace plv::manual {
namespace {

using cli::Command;

// What follows an option: a folder, a file, one of a few words, or words only the user knows.
struct Value {
    enum Kind { None, Folder, File, Png, Choice } kind = None;
    std::vector<std::string> choices;
};

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, separator);) {
        parts.push_back(part);
    }
    return parts;
}

// From the word after the option in a usage line (--home DIR, --to vba|sdk); options named
// alike take the same kind of value in every command.
Value valueOf(const std::string& option, const std::string& word) {
    if (word == "DIR" || option == "home" || option == "dragon-root") {
        return {Value::Folder, {}};
    }
    if (word.ends_with(".png")) {
        return {Value::Png, {}};
    }
    if (word == "F" || word == "FILE" || word == "PATH" || option == "output" ||
        option.ends_with("-file")) {
        return {Value::File, {}};
    }
    if (word.find('|') != std::string::npos) {
        return {Value::Choice, split(word, '|')};
    }
    return {};
}

Value valueOf(const Command& c, const std::string& option) {
    std::smatch m;
    std::regex after("--" + option + R"( ([A-Za-z0-9./|-]+))");
    return valueOf(option, std::regex_search(c.usage, m, after) ? m[1].str() : "");
}

struct Option {
    std::string name;
    bool takesValue = false;
    Value value;
};

std::vector<Option> optionsOf(const Command& c) {
    std::vector<Option> options;
    for (const auto& name : c.valueOptions) {
        options.push_back({name, true, valueOf(c, name)});
    }
    for (const auto& name : c.flagOptions) {
        options.push_back({name, false, {}});
    }
    options.push_back({"help", false, {}});
    return options;
}

// The window's options: the lines of its usage text that start with two blanks.
std::vector<Option> windowOptions() {
    std::istringstream usage(gui::kUsage);
    std::vector<Option> options;
    for (std::string line; std::getline(usage, line);) {
        std::smatch m;
        if (std::regex_search(line, m, std::regex(R"(^  --(\S+)(?: (\S+))?)"))) {
            options.push_back({m[1], m[2].matched, valueOf(m[1], m[2])});
        }
    }
    return options;
}

std::string joined(const std::vector<std::string>& words, const std::string& between) {
    std::string out;
    for (const auto& word : words) {
        out += (out.empty() ? "" : between) + word;
    }
    return out;
}

std::string optionWords(const std::vector<Option>& options) {
    std::vector<std::string> words;
    for (const auto& o : options) {
        words.push_back("--" + o.name);
    }
    return joined(words, " ");
}

std::string bashAction(const Value& v) {
    switch (v.kind) {
    case Value::Folder:
        return "_filedir -d";
    case Value::File:
        return "_filedir";
    case Value::Png:
        return "_filedir png";
    case Value::Choice:
        return "COMPREPLY=($(compgen -W \"" + joined(v.choices, " ") + "\" -- \"$cur\"))";
    case Value::None:
        break;
    }
    return ":";
}

// What follows each option that takes a value, as cases of `case $prev in`.
std::string bashValueCases(const std::vector<Option>& options, const std::string& indent) {
    std::string out;
    for (const auto& o : options) {
        if (o.takesValue) {
            out += indent + "--" + o.name + ") " + bashAction(o.value) + "; return ;;\n";
        }
    }
    return out;
}

std::string zshQuoted(const std::string& text) {
    return "'" + std::regex_replace(text, std::regex("'"), "'\\''") + "'";
}

std::string zshAction(const Value& v) {
    switch (v.kind) {
    case Value::Folder:
        return ":folder:_files -/";
    case Value::File:
        return ":file:_files";
    case Value::Png:
        return ":picture:_files -g \"*.png\"";
    case Value::Choice:
        return ":value:(" + joined(v.choices, " ") + ")";
    case Value::None:
        break;
    }
    return ":value: ";
}

// `_arguments` specifications: every option may be given again (--name A --name B).
std::string zshSpecs(const std::vector<Option>& options, const std::string& indent) {
    std::string out;
    for (const auto& o : options) {
        std::string spec = "*--" + o.name + (o.takesValue ? zshAction(o.value) : "");
        out += indent + zshQuoted(spec) + " \\\n";
    }
    return out + indent + "'*:file:_files'";
}

} // namespace

std::string bashCliCompletion() {
    std::vector<std::string> names;
    std::string cases;
    for (const auto& [name, c] : cli::commands()) {
        names.push_back(name);
        auto options = optionsOf(c);
        cases += "    " + name + ")\n      case $prev in\n" + bashValueCases(options, "        ") +
                 "      esac\n      options=\"" + optionWords(options) + "\" ;;\n";
    }
    return "_parlavista_cli() {\n"
           "  local cur prev words cword options\n"
           "  _init_completion || return\n"
           "  if ((cword == 1)); then\n"
           "    COMPREPLY=($(compgen -W \"" +
           joined(names, " ") +
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

std::string bashWindowCompletion() {
    auto options = windowOptions();
    return "_parlavista() {\n"
           "  local cur prev words cword\n"
           "  _init_completion || return\n"
           "  case $prev in\n" +
           bashValueCases(options, "    ") +
           "  esac\n"
           "  if [[ $cur == -* ]]; then\n"
           "    COMPREPLY=($(compgen -W \"" +
           optionWords(options) +
           "\" -- \"$cur\"))\n"
           "  else\n"
           "    _filedir\n"
           "  fi\n"
           "}\n"
           "complete -F _parlavista parlavista\n";
}

std::string zshCliCompletion() {
    std::string described;
    std::string cases;
    for (const auto& [name, c] : cli::commands()) {
        described += "    " + zshQuoted(name + ":" + c.summary) + "\n";
        cases += "    " + name + ")\n      _arguments \\\n" + zshSpecs(optionsOf(c), "        ") +
                 " ;;\n";
    }
    return "#compdef parlavista-cli\n"
           "local -a subcommands\n"
           "subcommands=(\n" +
           described +
           ")\n"
           "if ((CURRENT == 2)); then\n"
           "  _describe -t commands command subcommands\n"
           "  compadd -- --help --version\n"
           "  return\n"
           "fi\n"
           "local command=$words[2]\n"
           "shift words\n"
           "((CURRENT--))\n"
           "case $command in\n" +
           cases + "esac\n";
}

std::string zshWindowCompletion() {
    return "#compdef parlavista\n_arguments \\\n" + zshSpecs(windowOptions(), "  ") + "\n";
}

} // namespace plv::manual
