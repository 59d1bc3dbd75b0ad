#include "editing/lint.h"

#include "datfile/record_ops.h"
#include "editing/keys_conversion.h"
#include "editing/name_checks.h"
#include "platform/codepage.h"
#include "platform/regex.h"

#include <algorithm>
#include <map>
#include <set>

namespace plv::editing {
namespace {

using dat::CommandContents;
using dat::FileContents;
using dat::ListContents;
using Level = Problem::Level;

constexpr int kEnglish = 9;

class Findings {
  public:
    void command(const CommandContents& c, const char* check, std::string reason,
                 Level level = Level::Warning) {
        out_.push_back(
            {level, check, c.program, c.scope, c.name, c.type, c.offset, std::move(reason)});
    }
    void list(const ListContents& l, const char* check, std::string reason) {
        out_.push_back({Level::Warning, check, {}, {}, l.name, "L", l.offset, std::move(reason)});
    }
    std::vector<Problem> inFileOrder() {
        std::stable_sort(out_.begin(), out_.end(),
                         [](const Problem& a, const Problem& b) { return a.offset < b.offset; });
        return std::move(out_);
    }

  private:
    std::vector<Problem> out_;
};

std::string quotedName(const std::string& name) {
    return "\"" + name + "\"";
}

std::string trimmedEnd(std::string s) {
    s.erase(s.find_last_not_of(' ') + 1);
    return s;
}

// The LISTs by their folded name.
std::map<std::string, const ListContents*> listsByName(const FileContents& file) {
    std::map<std::string, const ListContents*> lists;
    for (const auto& l : file.lists) {
        lists.emplace(foldCase(l.name), &l);
    }
    return lists;
}

void checkListUse(const FileContents& file, Findings& out) {
    auto lists = listsByName(file);
    std::set<std::string> used;
    for (const auto& c : file.commands) {
        for (const auto& ref : dat::ExtractListRefs(c.name)) {
            used.insert(foldCase(ref));
            if (!lists.count(foldCase(ref))) {
                out.command(c, "missing-list",
                            "uses the LIST <" + ref + ">, which the file does not hold");
            }
        }
    }
    for (const auto& l : file.lists) {
        if (!used.count(foldCase(l.name))) {
            out.list(l, "unused-list", "no command uses this LIST");
        }
    }
}

std::string scopeKey(const CommandContents& c) {
    return foldCase(c.program) + '\0' + foldCase(c.scope) + '\0';
}

// Commands that Dragon keeps as one: the same name, letter case and trailing blanks aside.
void checkSameNames(const FileContents& file, Findings& out) {
    std::map<std::string, const CommandContents*> first;
    for (const auto& c : file.commands) {
        auto [it, added] = first.emplace(scopeKey(c) + foldCase(trimmedEnd(c.name)), &c);
        if (added) {
            continue;
        }
        if (it->second->name == c.name) {
            out.command(c, "duplicate-name",
                        "another command of this Scope has the same name; Dragon keeps one");
        } else {
            out.command(c, "similar-name",
                        "differs from " + quotedName(it->second->name) +
                            " of this Scope only in letter case or trailing blanks");
        }
    }
}

// The name with each LIST reference made "<>": names alike but for their LISTs.
std::string withoutLists(const std::string& name) {
    std::string out = foldCase(trimmedEnd(name));
    for (const auto& ref : dat::ExtractListRefs(out)) {
        out.replace(out.find("<" + ref + ">"), ref.size() + 2, "<>");
    }
    return out;
}

bool shareAWord(const ListContents* a, const ListContents* b) {
    if (a == nullptr || b == nullptr) {
        return false;
    }
    std::set<std::string> words;
    for (const auto& item : a->items) {
        words.insert(foldCase(item));
    }
    return std::any_of(b->items.begin(), b->items.end(),
                       [&](const std::string& item) { return words.count(foldCase(item)); });
}

// Whether a saying of one could be a saying of the other: at each place the two LISTs are
// the same LIST or share a word.
bool heardAlike(const CommandContents& a, const CommandContents& b,
                const std::map<std::string, const ListContents*>& lists) {
    auto aRefs = dat::ExtractListRefs(a.name);
    auto bRefs = dat::ExtractListRefs(b.name);
    for (std::size_t i = 0; i < aRefs.size() && i < bRefs.size(); ++i) {
        std::string x = foldCase(aRefs[i]);
        std::string y = foldCase(bRefs[i]);
        auto lx = lists.find(x);
        auto ly = lists.find(y);
        if (x != y &&
            (lx == lists.end() || ly == lists.end() || !shareAWord(lx->second, ly->second))) {
            return false;
        }
    }
    return true;
}

void checkListCollisions(const FileContents& file, Findings& out) {
    auto lists = listsByName(file);
    std::map<std::string, std::vector<const CommandContents*>> alike;
    for (const auto& c : file.commands) {
        if (c.name.find('<') != std::string::npos) {
            alike[scopeKey(c) + withoutLists(c.name)].push_back(&c);
        }
    }
    for (const auto& [key, group] : alike) {
        for (std::size_t j = 1; j < group.size(); ++j) {
            for (std::size_t i = 0; i < j; ++i) {
                const CommandContents& a = *group[i];
                const CommandContents& b = *group[j];
                if (foldCase(trimmedEnd(a.name)) != foldCase(trimmedEnd(b.name)) &&
                    heardAlike(a, b, lists)) {
                    out.command(b, "list-collision",
                                "cannot be told apart from " + quotedName(a.name) +
                                    ": their LISTs share a word");
                    break;
                }
            }
        }
    }
}

void checkNames(const FileContents& file, Findings& out) {
    for (const auto& c : file.commands) {
        if (auto fault = commandNameFault(c.name)) {
            out.command(c, "refused-name", *fault);
        }
    }
    for (const auto& l : file.lists) {
        if (auto fault = listNameFault(l.name)) {
            out.list(l, "refused-name", *fault);
        }
    }
}

void checkListItems(const FileContents& file, Findings& out) {
    for (const auto& l : file.lists) {
        std::set<std::string> seen;
        for (std::size_t i = 0; i < l.items.size(); ++i) {
            const std::string& item = l.items[i];
            if (item.find_first_not_of(' ') == std::string::npos) {
                out.list(l, "list-items", "item " + std::to_string(i + 1) + " is empty");
            } else if (!seen.insert(foldCase(item)).second) {
                out.list(l, "list-items", "the item " + quotedName(item) + " is repeated");
            }
        }
    }
}

std::string joined(const std::vector<std::string>& parts) {
    std::string out;
    for (const auto& p : parts) {
        out += (out.empty() ? "" : ", ") + p;
    }
    return out;
}

void checkKeys(const CommandContents& c, Findings& out) {
    KeysFaults faults = keysFaults(c.body);
    if (faults.unbalanced) {
        out.command(c, "keys-braces", "a brace of the KEYS body is not opened or not closed");
    }
    if (!faults.unknownKeys.empty()) {
        out.command(c, "keys-unknown",
                    "the KEYS body names keys SendKeys does not know: " +
                        joined(faults.unknownKeys));
    }
}

void checkScripts(const CommandContents& c, const FileContents& file,
                  const ScriptCheck& scriptCheck, Findings& out) {
    static const Regex sendKeys{R"(\bSendKeys\b)"};
    static const Regex subMain{R"((?m)^\s*Sub\s+Main\b)"};
    static const Regex endSub{R"((?m)^\s*End\s+Sub\b)"};
    if (file.languageByte != kEnglish && sendKeys.matches(c.body)) {
        out.command(c, "sendkeys-language",
                    "SendKeys sends English key names, and the file's language is " +
                        file.languageName);
    }
    if (c.type == "A" && !(subMain.matches(c.body) && endSub.matches(c.body))) {
        out.command(c, "advanced-script",
                    "the Advanced Scripting body has no Sub Main ... End Sub");
    }
    if (c.type == "S") {
        if (int line = scriptCheck(c.body)) {
            out.command(c, "script-check",
                        "Dragon's script check refuses line " + std::to_string(line));
        }
    }
}

void checkBodies(const FileContents& file, const ScriptCheck& scriptCheck, Findings& out) {
    for (const auto& c : file.commands) {
        if (c.encrypted) {
            out.command(c, "encrypted", "encrypted: its body cannot be read or changed",
                        Level::Information);
        } else if (c.type == "K") {
            checkKeys(c, out);
        } else if (c.type == "A" || c.type == "S") {
            try {
                checkScripts(c, file, scriptCheck, out);
            } catch (const RegexError&) {
                // A body too large for the engine is left to Dragon to judge.
            }
        }
    }
    for (const auto& c : file.skipped) {
        out.command(c, "skipped", "the record is marked to be skipped: Dragon does not load it",
                    Level::Information);
    }
}

} // namespace

std::vector<Problem> lint(const FileContents& file, const ScriptCheck& scriptCheck) {
    Findings out;
    checkListUse(file, out);
    checkSameNames(file, out);
    checkListCollisions(file, out);
    checkNames(file, out);
    checkListItems(file, out);
    checkBodies(file, scriptCheck, out);
    return out.inFileOrder();
}

bool hasWarnings(const std::vector<Problem>& problems) {
    return std::any_of(problems.begin(), problems.end(),
                       [](const Problem& p) { return p.level != Problem::Level::Information; });
}

} // namespace plv::editing
