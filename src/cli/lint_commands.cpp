// lint: the problems of a command file that Dragon does not report on loading it.
#include "cli/workspace.h"
#include "dragon/stand_in.h"
#include "editing/lint.h"

#include <nlohmann/json.hpp>
#include <ostream>

namespace plv::cli {
namespace {

using editing::Problem;

constexpr int kClean = 0;
constexpr int kWarnings = 1;
constexpr int kTrouble = 2;

const char* levelWord(Problem::Level level) {
    return level == Problem::Level::Information ? "information" : "warning";
}

std::string quoted(const std::string& s) {
    return nlohmann::json(s).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::string subject(const Problem& p) {
    if (p.type == "L") {
        return "LIST " + quoted(p.name);
    }
    return p.program + " / " + p.scope + " / " + quoted(p.name);
}

void printText(std::ostream& out, const std::vector<Problem>& problems) {
    for (const auto& p : problems) {
        out << levelWord(p.level) << ": " << subject(p) << ": " << p.reason << " [" << p.check
            << "]\n";
    }
}

void printJson(std::ostream& out, const std::string& path, const std::vector<Problem>& problems) {
    auto list = nlohmann::ordered_json::array();
    for (const auto& p : problems) {
        list.push_back({{"level", levelWord(p.level)},
                        {"check", p.check},
                        {"program", p.program},
                        {"scope", p.scope},
                        {"name", p.name},
                        {"type", p.type},
                        {"offset", p.offset},
                        {"reason", p.reason}});
    }
    nlohmann::ordered_json j = {
        {"file", path}, {"warnings", editing::hasWarnings(problems)}, {"problems", list}};
    out << j.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << "\n";
}

int runLint(const Args& args, Io& io) {
    std::string path;
    if (!oneFileArgument(args, io, "lint", path)) {
        return kUsage;
    }
    auto w = Workspace::open(args, io, ":memory:");
    if (!w) {
        return kTrouble;
    }
    auto contents = dat::readContentsOf(w->session(), path);
    if (!contents) {
        return kTrouble;
    }
    dragon::RecordingVoiceCommands dragonCheck;
    auto problems = editing::lint(
        *contents, [&](const std::string& body) { return dragonCheck.scriptCheck(body); });
    if (args.flag("json")) {
        printJson(io.out, path, problems);
    } else {
        printText(io.out, problems);
    }
    return editing::hasWarnings(problems) ? kWarnings : kClean;
}

const bool registered = registerCommand(
    {"lint",
     "lint FILE [--json] [--home DIR]",
     "the problems of a command file that Dragon does not report",
     "Checks command file FILE and prints a line for each problem found, in file order:\n"
     "the command or LIST, a one-line reason and the check's word in brackets.\n"
     "  missing-list       a command uses a LIST the file does not hold\n"
     "  unused-list        no command uses the LIST\n"
     "  duplicate-name     another command of the Scope has the same name\n"
     "  similar-name       names of one Scope that differ in letter case or trailing blanks\n"
     "  list-collision     names of one Scope alike but for LISTs that share a word\n"
     "  refused-name       a command or LIST name Dragon would refuse\n"
     "  list-items         a LIST item empty or repeated\n"
     "  keys-braces        a KEYS body with a brace not opened or not closed\n"
     "  keys-unknown       a KEYS body naming keys SendKeys does not know\n"
     "  sendkeys-language  SendKeys in a file whose language is not English\n"
     "  advanced-script    an Advanced Scripting body without Sub Main ... End Sub\n"
     "  script-check       a SCRIPT body Dragon's script check refuses\n"
     "  skipped            a record marked to be skipped (information)\n"
     "  encrypted          an encrypted command (information)\n\n"
     "  --json        one JSON object: the file, \"warnings\" and the \"problems\", each with\n"
     "                its level, check, Program, Scope, name, type, offset and reason\n"
     "  --home DIR    the program folder (keynames, error.log)\n\n"
     "Exit status: 0 nothing above information, 1 warnings, 2 FILE does not exist or does\n"
     "not parse (error.log is written in the program folder); 64 a usage error.",
     {"home"},
     {"json"},
     runLint});

} // namespace
} // namespace plv::cli
