#include "catalogue/catalogue.h"
#include "catalogue/rebuild.h"
#include "catalogue/selection.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

using namespace plv;

namespace {

UserRow row(const std::string& menu, const std::string& state, const std::string& name,
            const std::string& type = "K", std::int64_t offset = 22) {
    UserRow r;
    r.filename = "mycmds.dat";
    r.menu = menu;
    r.state = state;
    r.name = name;
    r.type = type;
    r.offset = offset;
    r.owner = type == "L" ? "Dragon" : kUserDefined;
    r.globalsort = menu == kGlobalCommands ? "G" : "N";
    r.listsort = type == "L" ? "L" : "C";
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

// A catalogue holding a row from an earlier parse and catalogue-only rows (offset 0).
void seed(Catalogue& c) {
    for (auto r : {row("WINWORD", "Application-specific", "old", "K", 40),
                   row(kGlobalCommands, kGlobalCommands, "apps", "L", 0),
                   row(kGlobalCommands, kGlobalCommands, "APPS", "L", 0),
                   row("ZAPP", "Z", "kept", "K", 0)}) {
        c.appendRow(r);
    }
}

const std::vector<UserRow> kParsed = {
    row("WINWORD", "Application-specific", "Bold That", "K", 22),
    row("winword", "application-SPECIFIC", "bold that", "K", 60),
    row("MÜLLER", "Brief", "Grüße", "K", 90),
    row("müller", "BRIEF", "GRÜßE", "K", 120),
    row(kGlobalCommands, kGlobalCommands, "apps", "L", 300),
    row(kGlobalCommands, kGlobalCommands, "Apps", "L", 340),
    row(kGlobalCommands, kGlobalCommands, "APPS", "L", 380),
    row("BOLD", "THAT", "", "K", 400),
    row("", "BOLD", "THAT", "K", 420),
};

} // namespace

// A full parse inserts row by row through the index or, for many rows, through the
// rebuild's own lookups: both mark and report the same duplicates.
TEST(Catalogue, InsertRowAndTheRebuildFindTheSameDuplicates) {
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
    // Case and the code page's accented letters fold; a catalogue-only row gives way to
    // the file's row of its name.
    Outcome expected{{{4, "kept", false},
                      {5, "Bold That", false},
                      {6, "bold that", true},
                      {7, "Grüße", false},
                      {8, "GRÜßE", true},
                      {9, "apps", true},
                      {10, "Apps", true},
                      {11, "APPS", true},
                      {12, "", false},
                      {13, "THAT", false}},
                     {{5, "bold that"}, {7, "GRÜßE"}, {2, "apps"}, {3, "Apps"}, {9, "APPS"}}};
    EXPECT_EQ(readBack(byIndex, indexReports), expected);
    EXPECT_EQ(byIndex.lastInserted()->id, 13);

    for (std::size_t rows : {kParsed.size(), std::size_t{100000}}) {
        Catalogue inMemory(":memory:");
        seed(inMemory);
        Reports memoryReports;
        {
            CatalogueRebuild rebuild(inMemory, rows);
            for (auto r : kParsed) {
                rebuild.insertRow(std::move(r), [&](const UserRow& found, const UserRow& added) {
                    memoryReports.emplace_back(found.id, added.name);
                });
            }
            rebuild.commit();
        }
        EXPECT_EQ(readBack(inMemory, memoryReports), expected);
        EXPECT_TRUE(inMemory.findRow("winword", "APPLICATION-specific", "BOLD THAT"));
        EXPECT_EQ(inMemory.findRow("müller", "BRIEF", "grüße")->name, "Grüße");
        EXPECT_FALSE(inMemory.findRow("müller", "BRIEF", "GRÜSSE")) << "ß is not SS";
    }
}

TEST(Catalogue, QueriesOfferProgramsScopesGroupsAndExportOrder) {
    Catalogue c(":memory:");
    std::vector<UserRow> rows = {
        row("ZAPP", "Application-specific", "zeta"),
        row(kGlobalCommands, kGlobalCommands, "beta"),
        row("ACROBAT", "Document - Acrobat", "alpha"),
        row(kGlobalCommands, kGlobalCommands, "apps", "L"),
        row(kGlobalCommands, kGlobalCommands, "aardvark"),
        row("ACROBAT", "Application-specific", "gamma"),
    };
    rows[2].owner = "PDF";
    for (auto& r : rows) {
        c.insertRow(r);
    }
    EXPECT_EQ(c.countCommands(), 5);
    EXPECT_EQ(c.countFileLists(), 1);
    EXPECT_EQ(c.distinctMenus(), (std::vector<std::string>{"ACROBAT", kGlobalCommands, "ZAPP"}));
    EXPECT_EQ(c.distinctMenus("pdf"), (std::vector<std::string>{"ACROBAT"}));
    EXPECT_EQ(c.distinctStates("acrobat"),
              (std::vector<std::string>{"Application-specific", "Document - Acrobat"}));
    EXPECT_EQ(c.distinctOwners(), (std::vector<std::string>{"PDF", kUserDefined}));

    c.setFlagAll(true);
    c.setFlagForMenu("ZAPP", false);
    std::vector<std::string> order;
    for (const auto& r : c.flaggedRows()) {
        order.push_back(r.name);
    }
    EXPECT_EQ(order, (std::vector<std::string>{"aardvark", "beta", "apps", "gamma", "alpha"}));
    std::vector<std::string> global;
    for (const auto& r : c.rowsOf(kGlobalCommands, kGlobalCommands)) {
        global.push_back(r.name);
    }
    EXPECT_EQ(global, (std::vector<std::string>{"aardvark", "beta", "apps"}));
}

TEST(Catalogue, ParametersStatesAndPersistence) {
    test::TempDir dir;
    std::string path = dir.file("global.mdb");
    {
        Catalogue c(path);
        EXPECT_FALSE(c.parameter("mycmdstime"));
        c.setParameter("mycmdstime", std::string("2026-12-06 10:00:00.000000000"));
        c.setParameter("OffsetLists", 1348);
        EXPECT_EQ(c.stateId("Outlook", "Inbox"), c.stateId("OUTLOOK", "inbox"));
        std::int64_t other = c.stateId("Outlook", "Calendar");
        EXPECT_EQ(c.stateName(other), "Calendar");
        EXPECT_THROW(c.parameter("1; DROP TABLE user"), CatalogueError);
        UserRow r = row("X", "Y", "z");
        c.insertRow(r);
        {
            CatalogueRebuild rebuild(c, 100000);
            EXPECT_EQ(rebuild.stateId("Outlook", "Sent"), rebuild.stateId("OUTLOOK", "sent"));
            EXPECT_NE(rebuild.stateId("Outlook", "Inbox"), rebuild.stateId("Outlook", "Sent"));
            rebuild.insertRow(row("X", "Y", "new"));
        } // no commit: the rows, the states and the dropped indexes come back
        EXPECT_EQ(c.stateName(other), "Calendar");
        auto indexes = c.prepare(R"(SELECT COUNT(*) FROM sqlite_master WHERE "type" = 'index' )"
                                 R"(AND "name" IN ('menu', 'name', 'state', 'apps'))");
        indexes.step();
        EXPECT_EQ(indexes.integer(0), 4);
    }
    // A catalogue written before the parsed file's path and size were kept gets them.
    {
        Catalogue c(path);
        c.execute(R"(ALTER TABLE "parameters" DROP COLUMN "mycmdsfile")");
        c.execute(R"(ALTER TABLE "parameters" DROP COLUMN "mycmdssize")");
    }
    Catalogue again(path);
    again.setParameter("mycmdssize", 1234);
    EXPECT_EQ(again.parameterNumber("mycmdssize"), 1234);
    EXPECT_FALSE(again.parameter("mycmdsfile"));
    EXPECT_EQ(again.parameter("mycmdstime"), "2026-12-06 10:00:00.000000000");
    EXPECT_EQ(again.parameterNumber("OffsetLists"), 1348);
    EXPECT_EQ(again.countCommands(), 1);
    again.deleteAllRows();
    EXPECT_EQ(again.countCommands(), 0);
}

TEST(Catalogue, ARefusedRowIsReportedAndTheRowsAroundItGoIn) {
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
            rebuild.insertRow(row("APP", "S", name, "K", 22 + i));
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

TEST(Catalogue, SelectionMarksByScopeChoiceAndTypeViewWithQuotesInNames) {
    Catalogue c(":memory:");
    auto add = [&](UserRow r, const std::string& owner) {
        r.owner = owner;
        c.insertRow(r);
    };
    add(row("WINWORD", "Say \"hello\"", "one", "K"), "Doctor's notes");
    add(row("WINWORD", "Say \"hello\"", "two", "S"), "Doctor's notes");
    add(row("WINWORD", "Application-specific", "three", "P"), kUserDefined);
    add(row(kGlobalCommands, kGlobalCommands, "four", "K"), "Doctor's notes");
    add(row(kGlobalCommands, kGlobalCommands, "apps", "L"), "Dragon");
    add(row(kGlobalCommands, kGlobalCommands, "say \"hi\" it's me"), "O'Brien \"Group\"");
    EXPECT_TRUE(c.findRow(kGlobalCommands, kGlobalCommands, "say \"hi\" it's me"));
    EXPECT_EQ(c.distinctMenus("O'Brien \"Group\"").size(), 1u);

    Selection s;
    EXPECT_EQ(markSelection(c, s), 6);
    s.commandsOnly = true;
    EXPECT_EQ(markSelection(c, s), 5) << "the Tools dialog never marks LISTs";
    s.choice = ScopeChoice::Group;
    s.group = "Doctor's notes";
    EXPECT_EQ(markSelection(c, s), 3);
    s.choice = ScopeChoice::Scope;
    s.program = "winword";
    s.scope = "say \"HELLO\"";
    EXPECT_EQ(markSelection(c, s), 2);
    s.types = typeLetters("k");
    EXPECT_EQ(markSelection(c, s), 1);
    s.choice = ScopeChoice::Picked;
    s.types = kAllTypeLetters;
    s.picked = {"TWO", "missing"};
    EXPECT_EQ(markSelection(c, s), 1);
    ASSERT_EQ(c.flaggedRows().size(), 1u);
    EXPECT_EQ(c.flaggedRows()[0].name, "two");
    s.types = "";
    EXPECT_EQ(markSelection(c, s), 0) << "a view that shows no type marks nothing";
    EXPECT_EQ(typeLetters("lkx"), "KLX");
    EXPECT_EQ(typeLetters("KQ"), "");
}
