#include "datfile/compare.h"

#include "catalogue/user_row.h"
#include "platform/codepage.h"

#include <algorithm>
#include <unordered_map>

namespace plv::dat {
namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// Program, Scope and name as the catalogue compares them. The lengths keep two different
// triples from giving the same key.
std::string keyOf(const CommandContents& c) {
    std::string program = foldCase(c.program);
    std::string scope = foldCase(c.scope);
    return std::to_string(program.size()) + ":" + program + std::to_string(scope.size()) + ":" +
           scope + foldCase(c.name);
}

std::string keyOf(const ListContents& l) {
    return foldCase(l.name);
}

bool admits(const CompareFilter& f, const std::string& program, const std::string& scope) {
    return (!f.program || equalsNoCase(program, *f.program)) &&
           (!f.scope || equalsNoCase(scope, *f.scope));
}

bool admits(const CompareFilter& f, const CommandContents& c) {
    return admits(f, c.program, c.scope);
}

bool admits(const CompareFilter& f, const ListContents&) {
    return admits(f, kGlobalCommands, kGlobalCommands);
}

// Calls `visit(a, b)` for every entry of either side that the filter admits: with both when
// their keys agree (the n-th of a key in `a` with the n-th in `b`), else with null for the
// side that lacks it. Entries of `a` come in their order, then those only in `b`.
template <class Entry, class Visit>
void pairUp(const std::vector<Entry>& a, const std::vector<Entry>& b, const CompareFilter& filter,
            Visit visit) {
    struct Queue {
        std::size_t first = kNone;
        std::size_t last = kNone;
    };
    std::unordered_map<std::string, Queue> waiting;
    waiting.reserve(b.size());
    std::vector<std::size_t> nextSame(b.size(), kNone);
    for (std::size_t j = 0; j < b.size(); ++j) {
        if (!admits(filter, b[j])) {
            continue;
        }
        Queue& q = waiting[keyOf(b[j])];
        (q.first == kNone ? q.first : nextSame[q.last]) = j;
        q.last = j;
    }
    std::vector<bool> paired(b.size(), false);
    for (const Entry& entry : a) {
        if (!admits(filter, entry)) {
            continue;
        }
        auto found = waiting.find(keyOf(entry));
        if (found == waiting.end() || found->second.first == kNone) {
            visit(&entry, nullptr);
            continue;
        }
        std::size_t j = found->second.first;
        found->second.first = nextSame[j];
        paired[j] = true;
        visit(&entry, &b[j]);
    }
    for (std::size_t j = 0; j < b.size(); ++j) {
        if (!paired[j] && admits(filter, b[j])) {
            visit(nullptr, &b[j]);
        }
    }
}

bool sameTokens(const std::vector<BodyToken>& x, const std::vector<BodyToken>& y) {
    return std::equal(x.begin(), x.end(), y.begin(), y.end(),
                      [](const BodyToken& s, const BodyToken& t) {
                          return s.kind == t.kind && s.number == t.number && s.bytes == t.bytes;
                      });
}

void addText(std::vector<FieldChange>& out, Field field, const std::string& a,
             const std::string& b) {
    if (a != b) {
        FieldChange f;
        f.field = field;
        f.a = a;
        f.b = b;
        out.push_back(std::move(f));
    }
}

void addLines(std::vector<FieldChange>& out, Field field, const std::vector<std::string>& a,
              const std::vector<std::string>& b) {
    if (a != b) {
        FieldChange f;
        f.field = field;
        f.aList = a;
        f.bList = b;
        if (field == Field::Items) {
            f.hunks = lineDiff(a, b);
        }
        out.push_back(std::move(f));
    }
}

std::vector<FieldChange> changedFields(const CommandContents& a, const CommandContents& b) {
    std::vector<FieldChange> out;
    addText(out, Field::Name, a.name, b.name);
    addText(out, Field::Type, a.type, b.type);
    addText(out, Field::Description, a.description, b.description);
    addText(out, Field::Group, a.group, b.group);
    addLines(out, Field::States, a.states, b.states);
    // The text is decoded from the tokens, so equal tokens are an equal body; tokens that
    // differ may still show the same text.
    if (!sameTokens(a.tokens, b.tokens) || a.body != b.body) {
        FieldChange f;
        f.field = Field::Body;
        f.a = a.body;
        f.b = b.body;
        f.hunks = lineDiff(textLines(a.body), textLines(b.body));
        out.push_back(std::move(f));
    }
    return out;
}

std::vector<FieldChange> changedFields(const ListContents& a, const ListContents& b) {
    std::vector<FieldChange> out;
    addText(out, Field::Name, a.name, b.name);
    addLines(out, Field::Items, a.items, b.items);
    return out;
}

EntryChange entryOf(const CommandContents& c, EntryChange::Kind kind) {
    EntryChange e;
    e.kind = kind;
    e.program = c.program;
    e.scope = c.scope;
    e.name = c.name;
    e.type = c.type;
    return e;
}

EntryChange entryOf(const ListContents& l, EntryChange::Kind kind) {
    EntryChange e;
    e.kind = kind;
    e.program = kGlobalCommands;
    e.scope = kGlobalCommands;
    e.name = l.name;
    e.type = "L";
    e.items = l.items.size();
    return e;
}

// Global commands first, then by Program, Scope and name, as the window lists them; entries
// of the same name keep the order they were found in.
void sortEntries(std::vector<EntryChange>& entries) {
    std::stable_sort(
        entries.begin(), entries.end(), [](const EntryChange& x, const EntryChange& y) {
            bool xGlobal = x.program == kGlobalCommands;
            bool yGlobal = y.program == kGlobalCommands;
            if (xGlobal != yGlobal) {
                return xGlobal;
            }
            for (auto [p, q] : {std::pair{&x.program, &y.program}, std::pair{&x.scope, &y.scope},
                                std::pair{&x.name, &y.name}}) {
                if (int c = compareNoCase(*p, *q); c != 0) {
                    return c < 0;
                }
            }
            return false;
        });
}

template <class Entry>
std::vector<EntryChange> compareEntries(const std::vector<Entry>& a, const std::vector<Entry>& b,
                                        const CompareFilter& filter) {
    std::vector<EntryChange> out;
    pairUp(a, b, filter, [&](const Entry* x, const Entry* y) {
        if (!y) {
            out.push_back(entryOf(*x, EntryChange::Kind::Removed));
        } else if (!x) {
            out.push_back(entryOf(*y, EntryChange::Kind::Added));
        } else if (auto fields = changedFields(*x, *y); !fields.empty()) {
            out.push_back(entryOf(*y, EntryChange::Kind::Changed));
            out.back().fields = std::move(fields);
        }
    });
    sortEntries(out);
    return out;
}

std::vector<HeaderChange> compareHeaders(const FileContents& a, const FileContents& b) {
    std::vector<HeaderChange> out;
    if (a.versionName != b.versionName) {
        out.push_back({"version", a.versionName, b.versionName});
    }
    if (a.languageByte != b.languageByte) {
        // Two bytes that both name no known language are told apart by their numbers.
        bool sameName = a.languageName == b.languageName;
        auto shown = [sameName](const FileContents& f) {
            return sameName ? f.languageName + " (" + std::to_string(f.languageByte) + ")"
                            : f.languageName;
        };
        out.push_back({"language", shown(a), shown(b)});
    }
    return out;
}

} // namespace

std::string fieldName(Field field) {
    switch (field) {
    case Field::Name:
        return "name";
    case Field::Type:
        return "type";
    case Field::Description:
        return "description";
    case Field::Group:
        return "Group";
    case Field::States:
        return "state names";
    case Field::Body:
        return "body";
    case Field::Items:
        return "items";
    }
    return {};
}

std::string diffText(const FieldChange& change, const std::string& indent) {
    return unifiedText(change.hunks, indent, change.field == Field::Body);
}

Comparison compareContents(const FileContents& a, const FileContents& b,
                           const CompareFilter& filter) {
    Comparison c;
    c.header = compareHeaders(a, b);
    c.commands = compareEntries(a.commands, b.commands, filter);
    c.lists = compareEntries(a.lists, b.lists, filter);
    return c;
}

} // namespace plv::dat
