#include "browser/startup_selection.h"

#include "dragon/dragon_root.h"
#include "platform/codepage.h"

#include <optional>

namespace plv::browser {
namespace {

constexpr std::size_t kScopeNameLength = 32;

bool continuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// The byte offset after the first `n` characters of UTF-8 text.
std::size_t offsetOfCharacter(const std::string& text, std::size_t n) {
    std::size_t i = 0;
    while (i < text.size() && n > 0) {
        ++i;
        while (i < text.size() && continuation(static_cast<unsigned char>(text[i]))) {
            ++i;
        }
        --n;
    }
    return i;
}

std::size_t characterCount(const std::string& text, std::size_t bytes) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < bytes && i < text.size(); ++i) {
        n += continuation(static_cast<unsigned char>(text[i])) ? 0 : 1;
    }
    return n;
}

std::string leftCharacters(const std::string& text, std::size_t n) {
    return text.substr(0, offsetOfCharacter(text, n));
}

std::string trimmed(const std::string& text) {
    std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The first row at or after `state` in the order of index `state`, when it is that Scope.
std::optional<std::string> programOfScope(const Catalogue& c, Trace& trace,
                                          const std::string& state) {
    auto s = c.prepare(R"(SELECT "menu", "state" FROM "user" WHERE "state" >= ? )"
                       R"(ORDER BY "state", "ID" LIMIT 1)");
    s.bind(1, state);
    if (!s.step()) {
        trace.line("foundstate: ");
        return std::nullopt;
    }
    trace.line("foundstate: ", s.text(1));
    if (!equalsNoCase(s.text(1), state)) {
        return std::nullopt;
    }
    return s.text(0);
}

// The first row, in insertion order, whose Scope occurs in the text.
std::optional<Selection> scopeInText(const Catalogue& c, const std::string& text) {
    auto s = c.prepare(R"(SELECT "menu", "state" FROM "user" ORDER BY "ID")");
    while (s.step()) {
        std::string state = s.text(1);
        if (!trimmed(state).empty() && containsNoCase(text, state)) {
            return Selection{s.text(0), state};
        }
    }
    return std::nullopt;
}

// The first row at or after (Program, "Application-specific") in the order of index
// `menu`, when it belongs to that Program.
std::optional<Selection> programOfExecutable(const Catalogue& c, const std::string& name) {
    auto s = c.prepare(R"(SELECT "menu", "state" FROM "user" WHERE "menu" > ?1 OR )"
                       R"(("menu" = ?1 AND "state" >= ?2) ORDER BY "menu", "state", "name" )"
                       R"(LIMIT 1)");
    s.bind(1, name).bind(2, kApplicationSpecific);
    if (s.step() && equalsNoCase(s.text(0), name)) {
        return Selection{s.text(0), s.text(1)};
    }
    return std::nullopt;
}

} // namespace

std::string cleanCommandLine(const std::string& argument) {
    std::string out;
    for (char c : argument) {
        if (c != '"') {
            out += c;
        }
    }
    return equalsNoCase(out, "global commands") ? std::string(kGlobalCommands) : out;
}

std::string scopeNameFromTitle(const std::string& text) {
    if (text.find("Microsoft Visual Basic") != std::string::npos) {
        return "Microsoft Visual Basic";
    }
    std::string name = text;
    std::size_t dash = text.find('-');
    if (dash != std::string::npos) {
        std::size_t before = characterCount(text, dash);
        name = before >= 1 ? leftCharacters(text, before - 1) : std::string();
    }
    return leftCharacters(name, kScopeNameLength);
}

Selection selectFromTitle(const Catalogue& c, Trace& trace, const std::string& text,
                          const std::function<std::string()>& ownerExecutablePath) {
    std::string scope = scopeNameFromTitle(text);
    trace.line("state name:", scope);
    trace.line("after state name");
    if (auto program = programOfScope(c, trace, scope)) {
        return {*program, scope};
    }
    if (std::size_t dash = text.find('-'); dash != std::string::npos) {
        std::string after = text.substr(offsetOfCharacter(text, characterCount(text, dash) + 2));
        trace.line("nested state name:", after);
        if (auto program = programOfScope(c, trace, after)) {
            return {*program, after};
        }
    }
    if (auto found = scopeInText(c, text)) {
        trace.line("left state name:", found->scope);
        return *found;
    }
    std::string name = upperCase(dragon::executableBaseName(ownerExecutablePath()));
    if (auto found = programOfExecutable(c, name)) {
        return *found;
    }
    return {kGlobalCommands, kGlobalCommands};
}

} // namespace plv::browser
