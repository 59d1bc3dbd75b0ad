#include "datfile/update_bodies.h"

#include <algorithm>

namespace plv::dat {
namespace {

// Moves every row behind a change by the sum of the changes before it, in one statement.
void shiftBehindEach(Catalogue& c, const std::vector<BodySplice>& splices) {
    c.execute(R"(CREATE TEMP TABLE IF NOT EXISTS "shifts" ("at" INTEGER PRIMARY KEY, )"
              R"("total" INTEGER NOT NULL))");
    c.execute(R"(DELETE FROM "shifts")");
    auto insert = c.prepare(R"(INSERT INTO "shifts" ("at", "total") VALUES (?, ?))");
    std::int64_t total = 0;
    for (const auto& s : splices) {
        total += s.delta();
        insert.bind(1, s.target.offset).bind(2, total).run();
        insert.reset();
    }
    const char* shift = R"((SELECT "total" FROM "shifts" WHERE "at" < "user"."offset" )"
                        R"(ORDER BY "at" DESC LIMIT 1))";
    c.execute(std::string(R"(UPDATE "user" SET "offset" = "offset" + )") + shift +
              R"(, "offsetbody" = CASE WHEN "offsetbody" <> 0 THEN "offsetbody" + )" + shift +
              R"( ELSE 0 END WHERE "offset" > (SELECT MIN("at") FROM "shifts"))");
    c.execute(R"(DELETE FROM "shifts")");
}

void updateCatalogue(Session& s, const std::vector<BodySplice>& splices,
                     const std::vector<std::string>& texts, std::int64_t offsetLists) {
    Catalogue& c = s.catalogue;
    c.begin();
    try {
        auto script = c.prepare(R"(UPDATE "user" SET "script" = ? WHERE "ID" = ?)");
        std::int64_t commandsDelta = 0;
        for (std::size_t i = 0; i < splices.size(); ++i) {
            if (!splices[i].target.isList()) {
                script.bind(1, texts[i]).bind(2, splices[i].target.id).run();
                script.reset();
                commandsDelta += splices[i].delta();
            }
        }
        shiftBehindEach(c, splices);
        c.setParameter("OffsetLists", offsetLists + commandsDelta);
        c.commit();
    } catch (...) {
        c.rollback();
        throw;
    }
}

} // namespace

Outcome UpdateBodies(Session& s, const std::vector<BodyChange>& changes,
                     const std::string& traceWord) {
    Rewrite e(s);
    if (changes.empty() || !e.load()) {
        return changes.empty() ? Outcome::Done : Outcome::Refused;
    }
    std::vector<BodySplice> splices(changes.size());
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < changes.size(); ++i) {
        std::string bytes;
        if (!toFileText(s, changes[i].text, bytes) ||
            !makeBodySplice(e, changes[i].row, bytes, splices[i])) {
            return Outcome::Refused;
        }
    }
    std::vector<std::size_t> order(changes.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    std::sort(order.begin(), order.end(),
              [&](std::size_t a, std::size_t b) { return splices[a].start < splices[b].start; });
    std::vector<BodySplice> sorted;
    for (std::size_t i : order) {
        if (!sorted.empty() && splices[i].start < sorted.back().end) {
            e.refuse("two changes fall on one record (" + changes[i].row.name + ")");
            return Outcome::Refused;
        }
        sorted.push_back(std::move(splices[i]));
        texts.push_back(changes[i].text);
    }
    // The unchanged stretches between the changed bodies are copied as whole blocks.
    std::string& out = e.output();
    e.CopyPrefix(sorted.front().start - 1);
    for (std::size_t i = 0; i < sorted.size(); ++i) {
        if (i > 0) {
            auto from = static_cast<std::size_t>(sorted[i - 1].end - 1);
            out.append(e.input(), from, static_cast<std::size_t>(sorted[i].start - 1) - from);
        }
        e.append(sorted[i].record);
    }
    e.CopyRemainder(sorted.back().end);
    if (!e.FinishRewrite(traceWord)) {
        return Outcome::Refused;
    }
    updateCatalogue(s, sorted, texts, e.offsetLists());
    return Outcome::Done;
}

} // namespace plv::dat
