#include "catalogue/catalogue.h"
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

} // namespace

TEST(Catalogue, InsertRowMarksDuplicatesAndReplacesCatalogueOnlyRows) {
    Catalogue c(":memory:");
    std::vector<std::pair<std::string, std::string>> reported;
    auto sink = [&](const UserRow& found, const UserRow& added) {
        reported.emplace_back(found.name, added.name);
    };
    UserRow a = row("WINWORD", "Application-specific", "Bold That");
    c.insertRow(a, sink);
    UserRow b = row("winword", "application-SPECIFIC", "bold that");
    c.insertRow(b, sink);
    EXPECT_FALSE(a.dupe);
    EXPECT_TRUE(b.dupe);
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0].first, "Bold That");
    EXPECT_EQ(c.allRows().size(), 2u);

    UserRow copy = row(kGlobalCommands, kGlobalCommands, "apps", "L", 0);
    c.appendRow(copy);
    UserRow fromFile = row(kGlobalCommands, kGlobalCommands, "apps", "L", 900);
    c.insertRow(fromFile, sink);
    EXPECT_TRUE(fromFile.dupe);
    EXPECT_FALSE(c.rowById(copy.id)) << "a row with offset 0 gives way to the file's row";
    EXPECT_EQ(c.lastInserted()->id, fromFile.id);
}

TEST(Catalogue, LookupsFoldTheAccentedLettersOfTheCodePage) {
    Catalogue c(":memory:");
    UserRow r = row("MÜLLER", "Brief an Müller", "Grüße einfügen");
    c.insertRow(r);
    auto found = c.findRow("müller", "BRIEF AN MÜLLER", "GRÜSSE EINFÜGEN");
    EXPECT_FALSE(found) << "ß is not SS";
    found = c.findRow("müller", "BRIEF AN MÜLLER", "GRÜßE EINFÜGEN");
    ASSERT_TRUE(found);
    EXPECT_EQ(found->name, "Grüße einfügen");
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
