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
        c.execute(R"(UPDATE "userrows" SET "flag" = 0 WHERE "flag" <> 0 AND "Type" NOT IN ()" +
                  shown + ")");
        // Browsing a Program copies the global LISTs under it, in the catalogue only: a
        // copy stays marked only where neither the file's LIST nor an earlier copy is, so
        // each LIST is listed once, whatever was browsed.
        c.execute(R"(UPDATE "userrows" SET "flag" = 0 WHERE "flag" <> 0 AND "listcopy" <> 0 )"
                  R"(AND EXISTS (SELECT 1 FROM "userrows" AS o WHERE o."flag" <> 0 )"
                  R"(AND o."Type" = "userrows"."Type" AND o."name" = "userrows"."name" )"
                  R"(AND (o."listcopy" = 0 OR o."ID" < "userrows"."ID")))");
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
