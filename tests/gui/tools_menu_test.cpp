// The Tools menu driven as the user drives it: the entry, the dialog it opens, the answers;
// then what the window shows and what is on disk.
#include "gui/tools_dialog.h"
#include "gui_fixture.h"
#include "support/fixtures.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace plv;
using browser::MenuKind;
using browser::Tab;
using test::GuiRun;

namespace {

std::string onDisk(const GuiRun& run) {
    return files::readAll(run.dragon.commandFile()).value_or("");
}

} // namespace

TEST(ToolsMenu, RenameGroupWritesTakesTheFileOverAndShowsTheNewGroup) {
    GuiRun run;
    ASSERT_TRUE(run.start());
    gui::MainWindow& w = run.window();
    ASSERT_TRUE(GuiRun::choose(w.selectionMenu(MenuKind::Program), "WINWORD"));
    ASSERT_TRUE(GuiRun::choose(w.selectionMenu(MenuKind::Scope), "Discharge Summary"));
    ASSERT_TRUE(run.click(Tab::Commands, "next heading"));
    QString title;
    run.ui.answerYes(true); // rename the one command
    GuiRun::withDialog(run.window().action("toolsrenamegroup"), [&](QDialog& d) {
        title = d.windowTitle();
        EXPECT_EQ(d.findChild<QLabel*>("heading")->text(),
                  "Rename the Group of the chosen commands to:");
        auto* text = d.findChild<QLineEdit*>("text");
        EXPECT_EQ(text->text(), "Enter new Group here");
        GuiRun::press(d, "outputselect");
        text->selectAll();
        QTest::keyClicks(text, "Headings");
        GuiRun::press(d, "mainButton");
    });
    EXPECT_EQ(title, "Rename Group");
    EXPECT_TRUE(run.ui.sawMessage("Rename the Group of 1 command of mycmds.dat to Headings?"));
    EXPECT_EQ(run.ui.statusText, "Update processed, User ready") << "Dragon took the file over";
    EXPECT_EQ(run.browser().group(), "Headings");
    EXPECT_EQ(run.entries(Tab::Commands), QStringList{"next heading"});
    EXPECT_EQ(run.field("group"), "Headings");
    EXPECT_FALSE(w.findChild<gui::ToolsDialogView*>()) << "the dialog has gone";
}

TEST(ToolsMenu, ConversionsOfTheUsersFileAreRefusedAndOfAnotherFileDone) {
    GuiRun run;
    ASSERT_TRUE(run.start());
    gui::MainWindow& w = run.window();
    std::string own = onDisk(run);
    w.action("toolsconvert280")->trigger();
    EXPECT_TRUE(
        run.ui.sawMessage("This is your open User file - Not Allowed", run.dragon.commandFile()));
    run.ui.answerYes(true);
    GuiRun::withDialog(run.window().action("toolsconvertlanguage"), [](QDialog&) {});
    EXPECT_TRUE(run.ui.sawMessage("Cannot convert current (or any) User file, only Exported files",
                                  run.dragon.commandFile()));
    EXPECT_EQ(onDisk(run), own);

    // An exported copy: to 8/9, then to German.
    std::string copy = run.dragon.dir.write("export.dat", own);
    w.chooseFile = [&](const dat::OpenDialogStart&) { return copy; };
    w.action("fileopen")->trigger();
    run.ui.answerOk(true);
    w.action("toolsconvert280")->trigger();
    EXPECT_TRUE(run.ui.sawMessage("File converted to 8.0 format", copy));
    EXPECT_TRUE(w.windowTitle().endsWith("export.dat (8/9)")) << w.windowTitle().toStdString();

    run.ui.answerYes(true);
    GuiRun::withDialog(run.window().action("toolsconvertlanguage"), [](QDialog& d) {
        d.findChild<QComboBox*>("languages")->setCurrentText("to German");
        GuiRun::press(d, "convert");
    });
    EXPECT_TRUE(run.ui.sawMessage("File converted to German", copy));
    EXPECT_EQ(run.app->startup().session().file.languageName, "German");
    EXPECT_EQ(onDisk(run), own);

    // The SendKeys conversion is for English files only; the dialog does not open.
    GuiRun::withDialog(run.window().action("ToolsConvertDVC2vba"), [](QDialog&) {});
    EXPECT_TRUE(
        run.ui.sawMessage("Sorry, this command is only supported for English Language Users",
                          "Contact Brinmoor if you are interested in a non-English User"));
}

TEST(ToolsMenu, SearchAndReplaceAllThenTheFileIsTakenOver) {
    GuiRun run;
    ASSERT_TRUE(run.start());
    run.ui.answerYes(true); // replace them all
    GuiRun::withDialog(run.window().action("toolsreplace"), [](QDialog& d) {
        GuiRun::press(d, "outputall");
        QTest::keyClicks(d.findChild<QLineEdit*>("text"), "{ctrl+");
        QTest::keyClicks(d.findChild<QLineEdit*>("replaceText"), "{Ctrl+Shift+");
        GuiRun::press(d, "replaceAll");
        GuiRun::press(d, "cancel");
    });
    EXPECT_TRUE(run.ui.sawMessage("18 occurrences in 18 macros replaced"));
    EXPECT_EQ(run.ui.statusText, "Update processed, User ready");
    ASSERT_TRUE(run.click(Tab::Commands, "copy that"));
    EXPECT_EQ(run.window().bodyEditor()->toPlainText(), "{Ctrl+Shift+c}");
}

TEST(ToolsMenu, ExportWritesThePickedCommandsElsewhereAndLeavesTheUsersFileAlone) {
    GuiRun run;
    ASSERT_TRUE(run.start());
    std::string own = onDisk(run);
    std::string target = run.dragon.dir.file("picked.dat");
    ASSERT_TRUE(run.click(Tab::Commands, "order <lab test>"));
    QString title;
    run.ui.answerYes(true); // open the exported file
    GuiRun::withDialog(run.window().action("toolsexport"), [&](QDialog& d) {
        title = d.windowTitle();
        GuiRun::press(d, "outputselect");
        auto* list = d.findChild<QListWidget*>("List1");
        auto* refer = list->findItems("refer to <specialist>", Qt::MatchExactly).front();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                          list->visualItemRect(refer).center());
        auto* text = d.findChild<QLineEdit*>("text");
        text->selectAll();
        QTest::keyClicks(text, QString::fromStdString(target));
        GuiRun::press(d, "mainButton");
    });
    EXPECT_EQ(title, "Export to .dat");
    EXPECT_TRUE(run.ui.sawMessage("Export Operation Completed: " + target, target));
    EXPECT_EQ(onDisk(run), own);
    EXPECT_NE(run.ui.statusText, "Update processed, User ready") << "no post-write step";
    EXPECT_FALSE(run.window().findChild<gui::ToolsDialogView*>());
    // The exported file, opened as asked: the picked commands, with their LISTs.
    EXPECT_TRUE(run.window().windowTitle().endsWith("picked.dat (10/11)"));
    EXPECT_EQ(run.entries(Tab::Commands),
              (QStringList{"order <lab test>", "refer to <specialist>"}));
    run.window().tabs()->setCurrentIndex(static_cast<int>(Tab::Lists));
    EXPECT_EQ(run.entries(Tab::Lists), (QStringList{"lab test", "specialist"}));
}
