#include "catalogue/rebuild.h"

#include <gtest/gtest.h>

using namespace plv;

namespace {

UserRow row(const std::string& menu, const std::string& state, const std::string& name,
            std::int64_t offset) {
    UserRow r;
    r.menu = menu;
    r.state = state;
    r.name = name;
    r.type = "K";
    r.offset = offset;
    return r;
}

using Reports = std::vector<std::pair<std::int64_t, std::string>>;

// What a parse leaves: the rows (ID, name, dupe) and the duplicates reported against them.
struct Outcome {
    std::vector<std::tuple<std::int64_t, std::string, bool>> rows;
    Reports reports;
    bool operator==(const Outcome&) const = default;
};

Outcome readBack(Catalogue& c, Reports reports) {
    Outcome out{{}, std::move(reports)};
    for (const auto& r : c.allRows()) {
        out.rows.emplace_back(r.id, r.name, r.dupe);
    }
    return out;
}

// A catalogue holding rows from an earlier parse and two catalogue-only rows of one name.
void seed(Catalogue& c) {
    for (auto r : {row("WINWORD", "Application-specific", "old", 40),
                   row(kGlobalCommands, kGlobalCommands, "apps", 0),
                   row(kGlobalCommands, kGlobalCommands, "APPS", 0), row("ZAPP", "Z", "kept", 0)}) {
        c.appendRow(r);
    }
}

const std::vector<UserRow> kParsed = {
    row("WINWORD", "Application-specific", "Bold That", 22),
    row("winword", "application-SPECIFIC", "bold that", 60),
    row("MÜLLER", "Brief", "Grüße", 90),
    row("müller", "BRIEF", "GRÜßE", 120),
    row(kGlobalCommands, kGlobalCommands, "apps", 300),
    row(kGlobalCommands, kGlobalCommands, "Apps", 340),
    row(kGlobalCommands, kGlobalCommands, "APPS", 380),
    row("BOLD", "THAT", "", 400),
    row("", "BOLD", "THAT", 420),
};

} // namespace

TEST(CatalogueRebuild, FindsTheDuplicatesTheIndexLookupFinds) {
    Catalogue byIndex(":memory:");
    seed(byIndex);
    Reports indexReports;
    byIndex.begin();
    byIndex.deleteFileRows();
    for (auto r : kParsed) {
        byIndex.insertRow(r, [&](const UserRow& found, const UserRow& added) {
            indexReports.emplace_back(found.id, added.name);
        });
    }
    byIndex.commit();

    for (std::size_t expected : {kParsed.size(), std::size_t{100000}}) {
        Catalogue inMemory(":memory:");
        seed(inMemory);
        Reports memoryReports;
        {
            CatalogueRebuild rebuild(inMemory, expected);
            for (auto r : kParsed) {
                rebuild.insertRow(std::move(r), [&](const UserRow& found, const UserRow& added) {
                    memoryReports.emplace_back(found.id, added.name);
                });
            }
            rebuild.commit();
        }
        EXPECT_EQ(readBack(inMemory, memoryReports), readBack(byIndex, indexReports));
        EXPECT_EQ(memoryReports.size(), 5u);
        EXPECT_TRUE(inMemory.findRow("winword", "APPLICATION-specific", "BOLD THAT"));
    }
}

TEST(CatalogueRebuild, StatesFoldAndAnUnfinishedRebuildChangesNothing) {
    Catalogue c(":memory:");
    seed(c);
    {
        CatalogueRebuild rebuild(c, 100000);
        EXPECT_EQ(rebuild.stateId("Outlook", "Inbox"), rebuild.stateId("OUTLOOK", "inbox"));
        EXPECT_NE(rebuild.stateId("Outlook", "Inbox"), rebuild.stateId("Outlook", "Sent"));
        rebuild.insertRow(row("X", "Y", "z", 22));
    } // no commit: rolled back
    EXPECT_EQ(c.allRows().size(), 4u);
    EXPECT_FALSE(c.stateName(1));
    auto indexes = c.prepare(R"(SELECT COUNT(*) FROM sqlite_master WHERE "type" = 'index' )"
                             R"(AND "name" IN ('menu', 'name', 'state', 'apps'))");
    indexes.step();
    EXPECT_EQ(indexes.integer(0), 4);
}

TEST(CatalogueRebuild, ARefusedRowIsReportedAndTheRowsAroundItGoIn) {
    Catalogue c(":memory:");
    c.execute(R"(CREATE TRIGGER "refuse" BEFORE INSERT ON "userrows" WHEN NEW."name" = 'bad' )"
              R"(BEGIN SELECT RAISE(ABORT, 'refused'); END)");
    std::vector<std::string> refused;
    {
        CatalogueRebuild rebuild(c, 100000);
        rebuild.onRefused([&](const UserRow& r, const CatalogueError& e) {
            refused.push_back(r.name + ": " + e.what());
        });
        for (int i = 0; i < 40; ++i) {
            std::string name = i == 20 ? "bad" : "c" + std::to_string(i);
            rebuild.insertRow(row("APP", "S", name, 22 + i));
        }
        rebuild.commit();
    }
    EXPECT_EQ(refused, std::vector<std::string>{"bad: refused"});
    auto rows = c.allRows();
    ASSERT_EQ(rows.size(), 39u);
    EXPECT_EQ(rows[19].name, "c19");
    EXPECT_EQ(rows[20].name, "c21");
    EXPECT_EQ(rows[38].offset, 22 + 39);
}
