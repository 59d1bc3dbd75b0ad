#include "datfile/format.h"
#include "demo_road.h"
#include "dragon/demo_root.h"
#include "editing/backup.h"
#include "editing/tools_dialog.h"
#include "road_file.h"

#include <gtest/gtest.h>
#include <set>

using namespace plv;
using editing::ToolsDialog;
using editing::ToolsMode;

namespace {

struct Demo : test::RoadFile {
    Demo() { open(dragon::demoCommandFile()); }
};

// The names of the commands and LISTs in a command file, as the reader finds them.
std::multiset<std::string> readBack(const std::string& path) {
    std::multiset<std::string> names;
    for (const auto& row : test::parsedRows(files::readAll(path).value_or(""), "exported.dat")) {
        names.insert(row.name);
    }
    return names;
}

editing::WindowSelection wordDischarge() {
    editing::WindowSelection w;
    w.program = "WINWORD";
    w.scope = "Discharge Summary";
    return w;
}

} // namespace

TEST(ToolsDialog, CountsFollowTheScopeTheGroupAndTheTypeView) {
    Demo d;
    editing::WindowSelection keys;
    keys.group = "Editing";
    keys.types = "K";
    ToolsDialog dialog(d.road, ToolsMode::Delete, keys);
    EXPECT_EQ(dialog.count(ScopeChoice::Everything), 28);
    EXPECT_EQ(dialog.count(ScopeChoice::Group), 4);
    EXPECT_EQ(dialog.count(ScopeChoice::Program), 14);
    EXPECT_EQ(dialog.count(ScopeChoice::Picked), 0);
    EXPECT_EQ(d.marked(), 0u) << "counting leaves no marks";
    EXPECT_EQ(editing::countText(28), "   28");
    EXPECT_EQ(editing::countText(123456), "123456");

    // It opens on the narrowest choice; Everything waits to be chosen.
    EXPECT_EQ(dialog.choice(), ScopeChoice::Scope);

    // Deleting by the Group asks first, with No as the default: the file stays.
    dialog.choose(ScopeChoice::Group);
    std::string before = d.file();
    EXPECT_EQ(dialog.mainButton(), ToolsDialog::After::StaysOpen);
    ASSERT_FALSE(d.h.ui.shown().empty());
    const auto& question = d.h.ui.shown().back();
    EXPECT_EQ(question.text, "Delete 4 commands from mycmds.dat?");
    EXPECT_TRUE(question.defaultNo);
    EXPECT_EQ(d.file(), before);
    EXPECT_FALSE(dialog.fileWritten());

    // Answered Yes, only the Group's KEYS commands go, and the window shows "All groups".
    d.h.ui.answerYes(true);
    EXPECT_EQ(dialog.mainButton(), ToolsDialog::After::Closes);
    EXPECT_TRUE(d.h.ui.sawMessage("Deletion Completed"));
    EXPECT_TRUE(dialog.groupReset());
    EXPECT_TRUE(dialog.fileWritten());
    d.reparse();
    EXPECT_EQ(d.h.catalogue->countCommands(), 76);
    EXPECT_THROW(d.row("copy that"), std::runtime_error);
}

TEST(ToolsDialog, RefusesAnEmptyChoiceAndClearsItsMarks) {
    Demo d;
    std::string before = d.file();
    {
        ToolsDialog dialog(d.road, ToolsMode::RenameGroup, wordDischarge());
        EXPECT_EQ(dialog.text(), "Enter new Group here");
        EXPECT_EQ(dialog.heading(), "Rename the Group of the chosen commands to:");
        EXPECT_EQ(
            dialog.pickList(),
            (std::vector<std::string>{"diagnosis heading", "discharge follow up", "next heading"}));
        dialog.choose(ScopeChoice::Picked);
        EXPECT_EQ(dialog.mainButton(), ToolsDialog::After::StaysOpen);
        EXPECT_TRUE(d.h.ui.sawMessage(editing::kNothingSelected));
        dialog.choose(ScopeChoice::Scope);
        EXPECT_EQ(dialog.mainButton(), ToolsDialog::After::StaysOpen);
        EXPECT_TRUE(d.h.ui.sawMessage("No New Group Name entered"));
        EXPECT_GT(d.marked(), 0u);
    }
    EXPECT_EQ(d.marked(), 0u);
    EXPECT_EQ(d.file(), before);

    editing::WindowSelection lists;
    lists.types = "L";
    ToolsDialog dialog(d.road, ToolsMode::Delete, lists);
    EXPECT_EQ(dialog.mainButton(), ToolsDialog::After::StaysOpen);
    EXPECT_TRUE(d.h.ui.sawMessage(editing::kNoMacros, editing::kNoMacrosTitle));
}

TEST(ToolsDialog, RenamesTheGroupOfThePickedCommands) {
    Demo d;
    auto window = wordDischarge();
    window.commandName = "next heading";
    ToolsDialog dialog(d.road, ToolsMode::RenameGroup, window);
    dialog.choose(ScopeChoice::Picked);
    EXPECT_EQ(dialog.picked(), (std::vector<std::string>{"next heading"}));
    dialog.setPicked({"next heading", "diagnosis heading"});
    EXPECT_EQ(dialog.count(ScopeChoice::Picked), 2);
    dialog.typeText("Headings");
    d.h.ui.answerYes(true);
    EXPECT_EQ(dialog.mainButton(), ToolsDialog::After::Closes);
    EXPECT_TRUE(d.h.ui.sawMessage("Rename the Group of 2 commands of mycmds.dat to Headings?"));
    EXPECT_EQ(dialog.newGroup(), "Headings");
    d.reparse();
    EXPECT_EQ(d.row("next heading").owner, "Headings");
    EXPECT_EQ(d.row("diagnosis heading").owner, "Headings");
    EXPECT_EQ(d.row("discharge follow up").owner, "Letters");
}

TEST(ToolsDialog, SearchAndReplaceStaysOpenAndSearchesOnlyScriptsAndKeys) {
    Demo d;
    ToolsDialog dialog(d.road, ToolsMode::Replace, {});
    dialog.choose(ScopeChoice::Everything);
    dialog.typeText("patient");
    dialog.replaceText = "client";
    dialog.matchCase = true; // "PatientRecords.exe" stays
    EXPECT_EQ(dialog.mainButton(), ToolsDialog::After::StaysOpen);
    ASSERT_TRUE(dialog.search().match());
    EXPECT_EQ(dialog.search().match()->name, "refer to <specialist>");
    d.h.ui.answerYes(true);
    EXPECT_EQ(dialog.replaceAllButton(), ToolsDialog::After::StaysOpen);
    EXPECT_TRUE(d.h.ui.sawMessage("1 occurrences in 1 macros replaced"));
    EXPECT_TRUE(dialog.fileWritten());
    d.reparse();
    EXPECT_TRUE(test::has(d.row("refer to <specialist>").script, "see this client"));
    EXPECT_TRUE(test::has(d.row("referral opening").script, "this patient"))
        << "Plain Text is not searched";
}

TEST(ToolsDialog, AFileChangedElsewhereEndsTheOperation) {
    test::DemoRoad user;
    ToolsDialog dialog(*user.road, ToolsMode::Replace, {});
    // A search that finds nothing writes nothing, not even the day's backup.
    const std::string backup =
        files::join(user.dragon.home, "Demo/" + editing::backupName(files::now()));
    dialog.typeText("no such text");
    dialog.replaceText = "x";
    EXPECT_EQ(dialog.mainButton(), ToolsDialog::After::StaysOpen);
    EXPECT_EQ(dialog.replaceAllButton(), ToolsDialog::After::StaysOpen);
    EXPECT_FALSE(files::exists(backup));
    dialog.typeText("Wait 500");
    dialog.replaceText = "Wait 600";
    EXPECT_EQ(dialog.mainButton(), ToolsDialog::After::StaysOpen);
    EXPECT_EQ(dialog.replaceButton(), ToolsDialog::After::StaysOpen);
    EXPECT_TRUE(files::exists(backup));
    EXPECT_TRUE(dialog.search().modified());
    // Its own replacement is no reason to stop; a change after it is.
    EXPECT_EQ(dialog.mainButton(), ToolsDialog::After::StaysOpen);
    std::string replaced = user.file();
    files::writeAll(user.dragon.commandFile(), replaced + '\0');
    EXPECT_EQ(dialog.replaceButton(), ToolsDialog::After::Closes);
    EXPECT_TRUE(user.ui.sawMessage(editing::kModifiedMessage, user.dragon.commandFile()));
    EXPECT_EQ(user.file(), replaced + '\0');
    files::writeAll(user.dragon.commandFile(), replaced);
    user.ui.clear();

    ToolsDialog other(*user.road, ToolsMode::Delete, {});
    std::string changed = user.file();
    changed[dat::kLanguageOffset] = 7;
    files::writeAll(user.dragon.commandFile(), changed);
    EXPECT_EQ(other.mainButton(), ToolsDialog::After::Closes);
    EXPECT_TRUE(user.ui.sawMessage(editing::kModifiedMessage, user.dragon.commandFile()));
    EXPECT_EQ(user.ui.statusText, editing::kModifiedStatus);
    EXPECT_EQ(user.file(), changed);
}

TEST(ToolsDialog, ExportsTheChosenCommandsWithTheirListsAndLeavesTheFileAlone) {
    Demo d;
    std::string before = d.file();
    test::TempDir out;
    std::string target = out.file("picked.dat");
    const std::string order = "order <lab test>";
    const std::string prescribe = "prescribe <medication> <dose> <frequency>";
    editing::WindowSelection global;
    global.commandName = order;
    {
        ToolsDialog dialog(d.road, ToolsMode::Export, global);
        std::string folder = d.h.session->programFolder;
        EXPECT_EQ(dialog.text(), files::join(folder, "order [lab test].dat"));
        dialog.choose(ScopeChoice::Everything);
        EXPECT_EQ(dialog.text(), files::join(folder, "global.dat"));
        dialog.choose(ScopeChoice::Picked);
        dialog.setPicked({order, prescribe});
        dialog.typeText(out.file("picked"));
        d.h.ui.answerOk(true);  // "Appending .dat to your filename"
        d.h.ui.answerYes(true); // open what was exported
        EXPECT_EQ(dialog.mainButton(), ToolsDialog::After::Closes);
        EXPECT_TRUE(d.h.ui.sawMessage(std::string(editing::kExportCompleted) + ": " + target,
                                      out.file("picked")));
        EXPECT_EQ(dialog.fileToOpen(), target);
        EXPECT_FALSE(dialog.fileWritten());
    }
    EXPECT_EQ(d.h.catalogue->parameter("exportPath"), out.path());
    EXPECT_EQ(readBack(target), (std::multiset<std::string>{order, prescribe, "lab test",
                                                            "medication", "dose", "frequency"}));

    // Appending to it is the export's own business; the next dialog proposes its folder.
    EXPECT_EQ(ToolsDialog(d.road, ToolsMode::Export, {}).text(),
              files::join(out.path(), "Global Commands.dat"));
    EXPECT_EQ(d.marked(), 0u);
    EXPECT_EQ(d.file(), before);
}
