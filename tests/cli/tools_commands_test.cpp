// The Tools operations from the terminal, on copies of the demo user's command file.
#include "dragon/demo_root.h"
#include "dragon/root_fixture.h"
#include "platform/files.h"
#include "support/fixtures.h"
#include "support/tool_run.h"

#include <gtest/gtest.h>

using namespace plv;

namespace {

struct Demo {
    test::TempDir dir;
    std::string path = dir.write("demo.dat", dragon::demoCommandFile());
    test::ToolRun run(std::vector<std::string> words) {
        words.insert(words.begin() + 1, path);
        words.push_back("--home");
        words.push_back(dir.file("home"));
        return test::tool(words);
    }
    std::string bytes() const { return files::readAll(path).value_or(""); }
    // The tab-separated listing of the file, one row per line.
    std::string listing() { return test::tool({"list", path, "--home", dir.file("home")}).out; }
};

} // namespace

TEST(ToolsCommands, RenameAndReplaceActOnTheChosenCommands) {
    Demo d;
    auto r = d.run(
        {"rename-group", "--from", "Letters", "--to", "Correspondence", "--program", "WINWORD"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(test::has(
        r.out, "rename-group: 4 commands moved from Group 'Letters' to 'Correspondence'"));
    EXPECT_TRUE(test::has(r.err, "Group renamed\n    [Letters->Correspondence]"));
    std::string list = d.listing();
    EXPECT_TRUE(test::has(list, "WINWORD\tReferral Letter\treferral opening\tP\tCorrespondence\t"));
    EXPECT_TRUE(test::has(list, "Global Commands\tinsert my signature\tP\tLetters\t"));

    r = d.run({"rename-program", "--to", "Word.EXE", "--program", "WINWORD", "--scope",
               "Referral Letter"});
    ASSERT_EQ(r.status, 0) << r.err;
    list = d.listing();
    EXPECT_TRUE(test::has(list, "WORD\tReferral Letter\treferral opening"));
    EXPECT_TRUE(test::has(list, "WINWORD\tDischarge Summary\tnext heading"));

    r = d.run({"replace", "--search", "SENDKEYS", "--replace", "SendKeys", "--types", "A",
               "--group", "Prescribing"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(test::has(r.out, "replace: 2 occurrences in 1 macros replaced"));
    r = d.run(
        {"replace", "--search", "SendKeys", "--replace", "x", "--match-case", "--types", "K"});
    EXPECT_EQ(r.status, 3);
    EXPECT_TRUE(test::has(r.err, "\"SendKeys\" not found in this Scope, where Text and Graphics"));
    r = d.run({"replace", "--search", "a", "--replace", "x", "--types", "T"});
    EXPECT_EQ(r.status, 3);
    EXPECT_TRUE(test::has(r.err, "There are no macros of the specified type to Export"));
}

TEST(ToolsCommands, ConvertFormatAndLanguage) {
    Demo d;
    auto r = d.run({"convert-format", "--to", "6.1"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(test::has(r.out, "convert-format: File converted to 6.1 format (from 10/11)"));
    EXPECT_TRUE(test::has(r.out, "80 commands, 7 LISTs, format 6.1, English"));
    EXPECT_TRUE(test::has(r.err, "- the state lists of 2 commands")) << "what 6.1 cannot hold";
    EXPECT_EQ(d.run({"convert-format", "--to", "9"}).status, 64);

    std::string before = d.bytes();
    r = d.run({"convert-language", "--to", "Spanish"});
    ASSERT_EQ(r.status, 0) << r.err;
    before[15] = '\x0A'; // only the language byte changes
    EXPECT_EQ(d.bytes(), before);
    EXPECT_EQ(d.run({"convert-language", "--to", "Klingon"}).status, 64);
}

TEST(ToolsCommands, DeleteEveryChosenCommand) {
    Demo d;
    EXPECT_EQ(d.run({"delete"}).status, 64) << "no choice at all deletes nothing";
    auto r = d.run({"delete", "--program", "EXCEL", "--types", "KS"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(test::has(r.out, "delete: deleted 5 commands"));
    EXPECT_FALSE(test::has(r.out, "removed")) << "\"order <lab test>\" still uses its LIST";
    std::string list = d.listing();
    EXPECT_FALSE(test::has(list, "sum the column"));
    EXPECT_TRUE(test::has(list, "highlight abnormal values"));
    r = d.run({"delete", "--program", "EXCEL", "--types", "K"});
    EXPECT_EQ(r.status, 3);
    EXPECT_TRUE(test::has(r.err, "There are no macros of the specified type to Export"));
}

TEST(ToolsCommands, TheCurrentUsersFileGetsTheWindowsRefusals) {
    test::DemoDragon dragon;
    std::string own = files::readAll(dragon.commandFile()).value_or("");
    auto run = [&](std::vector<std::string> words) {
        auto options = dragon.rootOptions();
        words.push_back("--current-user");
        words.insert(words.end(), options.begin(), options.end());
        return test::tool(words);
    };
    const std::vector<std::pair<std::vector<std::string>, std::string>> refusals = {
        {{"convert-format", "--to", "8/9"}, "This is your open User file - Not Allowed"},
        {{"convert-language", "--to", "German"},
         "Cannot convert current (or any) User file, only Exported files"},
        {{"rename-program", "--to", "word"},
         "Rename Program not allowed on production file with All or Group"},
    };
    for (const auto& [words, message] : refusals) {
        auto r = run(words);
        EXPECT_EQ(r.status, 3) << message;
        EXPECT_TRUE(test::has(r.err, message)) << r.err;
    }
    EXPECT_EQ(files::readAll(dragon.commandFile()).value_or(""), own);

    auto r =
        run({"replace", "--search", "{Ctrl+s}", "--replace", "{Ctrl+Shift+s}", "--match-case"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(test::has(r.out, "replace: 1 occurrences in 1 macros replaced"));
    EXPECT_NE(files::readAll(dragon.commandFile()).value_or(""), own);
    // convert-keys takes the user's file too.
    ASSERT_EQ(run({"convert-keys", "--to", "plain"}).status, 0);
    for (const auto& row : test::parsedRows(files::readAll(dragon.commandFile()).value_or(""))) {
        EXPECT_TRUE(row.name != "type practice phone" || row.type == "P");
    }
}
