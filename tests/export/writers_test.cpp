#include "export/writers.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>
#include <sstream>

using namespace plv;

namespace {

UserRow row(const std::string& menu, const std::string& state, const std::string& name,
            const std::string& type, const std::string& script) {
    UserRow r;
    r.menu = menu;
    r.state = state;
    r.name = name;
    r.type = type;
    r.script = script;
    return r;
}

template <typename Writer> std::string written(Writer writer, const std::vector<UserRow>& rows) {
    std::ostringstream out;
    writer(rows, out);
    return out.str();
}

std::string pseudo(const std::vector<UserRow>& rows) {
    return written(exports::writePseudoDvc, rows);
}

} // namespace

TEST(PseudoDvc, BlocksFollowProgramAndScopeWithABlankLineBetweenEntries) {
    UserRow global = row("Global Commands", "Global Commands", "a", "S", "Beep");
    global.global = true;
    UserRow asleep = row("WINWORD", "Asleep", "b", "A", "Sub Main\r\n  Beep\r\nEnd Sub\r\n");
    asleep.noglobals = asleep.sleeping = true;
    UserRow letter = row("WINWORD", "Letter", "c", "P", "text");
    UserRow keys = row("WINWORD", "Letter", "next window", "K", "{ctrl+f6}");
    keys.singleline = true;
    UserRow list = row("WINWORD", "Letter", "colour", "L", "red\r\ngreen\r\n");
    EXPECT_EQ(pseudo({global, asleep, letter, keys, list}),
              "MENU \"Global Commands\" {\r\n"
              "\tSTATE \"Global Commands\" GLOBAL {\r\n"
              "\t\tCOMMAND \"a\" {\r\n"
              "\t\t\tSCRIPT {\r\n"
              "\t\t\t\tBeep\r\n"
              "\t\t\t}\r\n"
              "\t\t}\r\n"
              "\t}\r\n"
              "}\r\n"
              "\r\n"
              "MENU \"WINWORD\" {\r\n"
              "\tSTATE \"Asleep\" NOGLOBALS SLEEPING {\r\n"
              "\t\tCOMMAND \"b\" {\r\n"
              "\t\t\tAdvanced Script {\r\n"
              "\t\t\t\tSub Main\r\n"
              "\t\t\t\t  Beep\r\n"
              "\t\t\t\tEnd Sub\r\n"
              "\t\t\t}\r\n"
              "\t\t}\r\n"
              "\t}\r\n"
              "\tSTATE \"Letter\" {\r\n"
              "\t\tCOMMAND \"c\" {\r\n"
              "\t\t\tPlain Text {\r\n"
              "\t\t\t\ttext\r\n"
              "\t\t\t}\r\n"
              "\t\t}\r\n"
              "\r\n"
              "\t\tCOMMAND \"next window\" {\r\n"
              "\t\t\tKEYS \"{ctrl+f6}\"\r\n"
              "\t\t}\r\n"
              "\r\n"
              "\t\tLIST \"colour\" {\r\n"
              "\t\t\t\"red\"\r\n"
              "\t\t\t\"green\"\r\n"
              "\t\t}\r\n"
              "\t}\r\n"
              "}\r\n");
}

TEST(PseudoDvc, BackslashesAndQuotedItems) {
    UserRow single = row("G", "G", "s", "K", "C:\\dir\\file");
    single.singleline = true;
    UserRow paired = row("G", "G", "p", "K", "C:\\\\dir\\file");
    paired.singleline = true;
    std::string text = pseudo({single, paired});
    EXPECT_TRUE(test::has(text, "KEYS \"C:\\\\dir\\\\file\"\r\n")) << text;
    EXPECT_TRUE(test::has(text, "KEYS \"C:\\\\dir\\file\"\r\n")) << text;

    // Items that bring their quotes keep one pair, the last one too.
    UserRow list = row("G", "G", "l", "L", "\"one\"\r\nplain\r\n\"last\"\r\n");
    EXPECT_TRUE(
        test::has(pseudo({list}), "\t\t\t\"one\"\r\n\t\t\t\"plain\"\r\n\t\t\t\"last\"\r\n\t\t}"))
        << pseudo({list});
}

TEST(DvcListing, KeepsOnlyKeysScriptAndLists) {
    std::vector<UserRow> rows = {row("G", "G", "k", "K", "{Enter}"), row("G", "G", "t", "P", "x"),
                                 row("G", "G", "l", "L", "a\r\n")};
    std::string text = written(exports::writeDvcListing, rows);
    EXPECT_EQ(text, pseudo({rows[0], rows[2]}));
    std::ostringstream none;
    EXPECT_FALSE(exports::writeDvcListing({rows[1]}, none));
    EXPECT_TRUE(none.str().empty());
}

TEST(Report, HeadsEachProgramAndScopeOnce) {
    std::vector<UserRow> rows = {row("Global Commands", "Global Commands", "a", "K", ""),
                                 row("Global Commands", "Global Commands", "b", "L", ""),
                                 row("WINWORD", "Letter", "c", "S", "")};
    EXPECT_EQ(written(exports::writeReport, rows), "\r\nGlobal Commands Global Commands\r\n\r\n"
                                                   "a\r\nb\r\n"
                                                   "\r\nWINWORD Letter\r\n\r\nc\r\n");
}

TEST(Csv, QuotesEveryValueAndKeepsTheFirstBodyLine) {
    UserRow plain = row("WINWORD", "Letter", "bold that", "K", "{Ctrl+b}");
    plain.owner = "Formatting";
    plain.description = "bold";
    UserRow quoted = row("APP \"X\"", "a, b", "say \"hi\"", "S", "SendKeys \"x\"\r\nWait 1\r\n");
    quoted.owner = "User-defined";
    quoted.description = "the \"best\"";
    EXPECT_EQ(written(exports::writeCsv, {plain, quoted}),
              "\"WINWORD\",\"Letter\",\"K\",\"bold that\",\"Formatting\",\"bold\",\"{Ctrl+b}\"\r\n"
              "\"APP \"\"X\"\"\",\"a, b\",\"S\",\"say \"\"hi\"\"\",\"User-defined\","
              "\"the \"\"best\"\"\",\"SendKeys \"\"x\"\"\"\r\n");
}

TEST(CurrentCommand, PrintsNamesThenTheBodyLines) {
    std::ostringstream out;
    exports::writeCurrentCommand("WINWORD", "Letter", "bold that", "line 1\nline 2", out);
    EXPECT_EQ(out.str(), "Program: WINWORD\r\nScope: Letter\r\nCommandName: bold that\r\n\r\n"
                         "line 1\r\nline 2\r\n");
}
