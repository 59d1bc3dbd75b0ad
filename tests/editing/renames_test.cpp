#include "catalogue/selection.h"
#include "datfile/builder.h"
#include "datfile/rename_group.h"
#include "demo_road.h"
#include "editing/rename_group.h"
#include "editing/rename_program.h"
#include "road_file.h"

#include <gtest/gtest.h>

using namespace plv;
using namespace plv::dat;

namespace {

std::string grouped() {
    auto mail = applicationCommand("mail", "outlook", kTypeKeys, textBody("m"));
    mail.group = "Doctor's notes";
    auto plain = globalCommand("plain", kTypeKeys, textBody("p"));
    auto letter = windowCommand("letter", "winword", "Letter - Word", kTypeKeys, textBody("l"));
    letter.group = "Letters";
    return buildFile(Layout::V89, {mail, plain, letter}, {listRecord("apps", {"Word"})});
}

std::string groupsAfter(const std::string& oldGroup, const std::string& newGroup) {
    test::RoadFile e;
    e.open(grouped());
    markSelection(*e.h.catalogue, {});
    EXPECT_EQ(editing::renameGroup(e.road, oldGroup, newGroup), Outcome::Done);
    EXPECT_TRUE(e.h.ui.sawMessage("Group renamed", oldGroup + "->" + newGroup));
    EXPECT_EQ(e.h.ui.statusText, "Renaming Group");
    e.reparse();
    return e.row("mail").owner + "," + e.row("plain").owner + "," + e.row("letter").owner;
}

} // namespace

TEST(RenameGroup, ChangesTheChosenGroupOfTheMarkedCommands) {
    EXPECT_EQ(groupsAfter("All groups", "Work"), "Work,Work,Work");
    EXPECT_EQ(groupsAfter("User-defined", "Work"), "Doctor's notes,Work,Letters");
    EXPECT_EQ(groupsAfter("doctor's NOTES", "Work"), "Work,User-defined,Letters");
    EXPECT_EQ(groupsAfter("Letters", "User-defined"), "Doctor's notes,User-defined,User-defined");

    test::RoadFile e;
    e.open(grouped());
    EXPECT_EQ(editing::renameGroup(e.road, "All groups", "Enter new Group here"), Outcome::Refused);
    EXPECT_TRUE(e.h.ui.sawMessage("No New Group Name entered"));
    e.h.catalogue->setFlag(e.row("letter").id, true);
    ASSERT_EQ(editing::renameGroup(e.road, "All groups", "Notes"), Outcome::Done);
    e.reparse();
    EXPECT_EQ(e.row("mail").owner, "Doctor's notes") << "only marked commands change";
    EXPECT_EQ(e.row("letter").owner, "Notes");
}

TEST(RenameProgram, GivesMarkedCommandsTheNameWithoutExe) {
    test::RoadFile e;
    e.open(grouped());
    std::string name = "Enter new Program here";
    EXPECT_EQ(editing::renameProgram(e.road, name, ScopeChoice::Program), Outcome::Refused);
    EXPECT_TRUE(e.h.ui.sawMessage("No New Program entered"));

    Selection outlook;
    outlook.choice = ScopeChoice::Program;
    outlook.program = "OUTLOOK";
    ASSERT_EQ(markSelection(*e.h.catalogue, outlook), 1);
    name = "WinWord.EXE";
    ASSERT_EQ(editing::renameProgram(e.road, name, ScopeChoice::Program), Outcome::Done);
    EXPECT_EQ(name, "WinWord");
    EXPECT_TRUE(e.h.ui.sawMessage("Program Renamed"));
    e.reparse();
    EXPECT_EQ(e.row("mail").menu, "WINWORD");
    EXPECT_EQ(e.row("letter").state, "Letter - Word");

    markSelection(*e.h.catalogue, {});
    name = "excel";
    EXPECT_EQ(editing::renameProgram(e.road, name, ScopeChoice::Everything), Outcome::Done);
    e.reparse();
    EXPECT_EQ(e.row("plain").menu, "Global Commands")
        << "a global command has no Program to rename";
    EXPECT_EQ(e.row("letter").menu, "EXCEL");

    // On the current user's own file only the narrower choices may rename.
    test::DemoRoad user;
    std::string before = user.file();
    markSelection(user.session().catalogue, {});
    EXPECT_EQ(editing::renameProgram(*user.road, name, ScopeChoice::Everything), Outcome::Refused);
    EXPECT_TRUE(
        user.ui.sawMessage("Rename Program not allowed on production file with All or Group",
                           user.dragon.commandFile()));
    EXPECT_EQ(user.file(), before);
    Selection word;
    word.choice = ScopeChoice::Program;
    word.program = "WINWORD";
    markSelection(user.session().catalogue, word);
    EXPECT_EQ(editing::renameProgram(*user.road, name, ScopeChoice::Program), Outcome::Done);
    EXPECT_NE(user.file(), before);
}
