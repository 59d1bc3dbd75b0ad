#include "catalogue/selection.h"

#include <cctype>

namespace plv {
namespace {

void markChosen(Catalogue& c, const Selection& sel) {
    // A fixed condition of our own; every user text goes in as a bound parameter.
    const std::string kind = sel.commandsOnly ? R"( AND "Type" <> 'L')" : "";
    switch (sel.choice) {
    case ScopeChoice::Everything:
        c.prepare(R"(UPDATE "userrows" SET "flag" = 1 WHERE 1)" + kind).run();
        return;
    case ScopeChoice::Group:
        if (sel.group == kAllGroupsName) {
            c.prepare(R"(UPDATE "userrows" SET "flag" = 1 WHERE 1)" + kind).run();
        } else {
            c.prepare(R"(UPDATE "userrows" SET "flag" = 1 WHERE "owner" = ?)" + kind)
                .bind(1, sel.group)
                .run();
        }
        return;
    case ScopeChoice::Program:
        c.prepare(R"(UPDATE "userrows" SET "flag" = 1 WHERE "menu" = ?)" + kind)
            .bind(1, sel.program)
            .run();
        return;
    case ScopeChoice::Scope:
        c.prepare(R"(UPDATE "userrows" SET "flag" = 1 WHERE "menu" = ? AND "state" = ?)" + kind)
            .bind(1, sel.program)
            .bind(2, sel.scope)
            .run();
        return;
    case ScopeChoice::Picked:
        for (const auto& name : sel.picked) {
            c.prepare(R"(UPDATE "userrows" SET "flag" = 1 WHERE "menu" = ? AND "state" = ? )"
                      R"(AND "name" = ?)" +
                      kind)
                .bind(1, sel.program)
                .bind(2, sel.scope)
                .bind(3, name)
                .run();
        }
        return;
    }
}

} // namespace

std::string typeLetters(const std::string& letters) {
    std::string all = kAllTypeLetters;
    std::string wanted;
    for (char c : letters) {
        char up = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (all.find(up) == std::string::npos) {
            return {};
        }
        wanted += up;
    }
    std::string ordered;
    for (char c : all) {
        if (wanted.find(c) != std::string::npos) {
            ordered += c;
        }
    }
    return ordered;
}

std::int64_t markSelection(Catalogue& c, const Selection& sel) {
    c.begin();
    try {
        c.setFlagAll(false);
        markChosen(c, sel);
        // The type letters are checked ones of our own, so they can stand in the SQL text.
        std::string shown;
        for (char t : typeLetters(sel.types)) {
            shown += std::string(shown.empty() ? "" : ",") + "'" + t + "'";
        }
        // The copies of LISTs that browsing made under other Programs are the catalogue's
        // own: the file holds each LIST once, under "Global Commands".
        c.execute(R"(UPDATE "userrows" SET "flag" = 0 WHERE "flag" <> 0 AND ("listcopy" <> 0 )"
                  R"(OR "Type" NOT IN ()" +
                  shown + "))");
        c.commit();
    } catch (...) {
        c.rollback();
        throw;
    }
    auto count = c.prepare(R"(SELECT COUNT(*) FROM "user" WHERE "flag" <> 0)");
    count.step();
    return count.integer(0);
}

} // namespace plv
