#include "browser/differences.h"

#include "catalogue/user_row.h"
#include "dragon/stand_in.h"
#include "editing/lint.h"

namespace plv::browser {
namespace {

using dat::EntryChange;

std::string quoted(const std::string& name) {
    return "\"" + name + "\"";
}

std::string kindWord(EntryChange::Kind kind, const ChangeWords& words) {
    switch (kind) {
    case EntryChange::Kind::Added:
        return words.onlyInSecond;
    case EntryChange::Kind::Removed:
        return words.onlyInFirst;
    case EntryChange::Kind::Changed:
        break;
    }
    return "changed";
}

std::string fieldsText(const EntryChange& e) {
    std::string out;
    for (const auto& f : e.fields) {
        out += (out.empty() ? " (" : ", ") + dat::fieldName(f.field);
    }
    return out.empty() ? out : out + ")";
}

} // namespace

std::vector<EntryLine> differenceLines(const dat::Comparison& c, const ChangeWords& words) {
    std::vector<EntryLine> lines;
    for (const auto& h : c.header) {
        lines.push_back({"header: " + h.field + " " + h.a + " -> " + h.b, {}, {}, {}, false});
    }
    for (const auto& e : c.commands) {
        lines.push_back({kindWord(e.kind, words) + ": " + e.program + " / " + e.scope + " / " +
                             quoted(e.name) + fieldsText(e),
                         e.program, e.scope, e.name, false});
    }
    for (const auto& e : c.lists) {
        lines.push_back({kindWord(e.kind, words) + " LIST: " + quoted(e.name) + fieldsText(e),
                         kGlobalCommands, kGlobalCommands, e.name, true});
    }
    return lines;
}

std::optional<dat::Comparison> compareOpenFileWith(Session& s, const std::string& other) {
    auto open = dat::readContentsOf(s, s.file.path);
    if (!open) {
        return std::nullopt;
    }
    auto b = dat::readContentsOf(s, other);
    if (!b) {
        return std::nullopt;
    }
    return dat::compareContents(*open, *b);
}

std::optional<std::vector<EntryLine>> openFileProblems(Session& s, dragon::VoiceCommands* voice) {
    auto contents = dat::readContentsOf(s, s.file.path);
    if (!contents) {
        return std::nullopt;
    }
    auto check = [voice](const std::string& body) {
        return voice ? voice->scriptCheck(body) : dragon::checkLegacyScript(body);
    };
    std::vector<EntryLine> lines;
    for (const auto& p : editing::lint(*contents, check)) {
        bool list = p.type == "L";
        std::string where =
            list ? "LIST " + quoted(p.name) : p.program + " / " + p.scope + " / " + quoted(p.name);
        std::string level =
            p.level == editing::Problem::Level::Information ? "information" : "warning";
        lines.push_back({level + ": " + where + ": " + p.reason, list ? kGlobalCommands : p.program,
                         list ? kGlobalCommands : p.scope, p.name, list});
    }
    return lines;
}

bool showLine(Browser& browser, const EntryLine& line) {
    const Catalogue& catalogue = browser.session().catalogue;
    auto row = line.list ? catalogue.findFileList(line.name)
                         : catalogue.findCommand(line.program, line.scope, line.name);
    if (!row) {
        return false;
    }
    browser.showRow(*row);
    return true;
}

} // namespace plv::browser
