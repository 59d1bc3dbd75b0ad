// The window's lists of differences and problems: View > Problems and File > Compare with...
// list their entries, and a line opens its command.
#include "datfile/builder.h"
#include "gui/entry_list_dialog.h"
#include "gui_fixture.h"
#include "support/fixtures.h"

#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>
#include <gtest/gtest.h>

using namespace plv;
using namespace plv::dat;
using browser::MenuKind;
using browser::Tab;
using test::GuiRun;

namespace {

// A user's file with a command that uses a LIST it lacks, and one in WINWORD to start on.
std::string commandFile(const std::string& copyThat) {
    return buildFile(Layout::V1011,
                     {globalCommand("copy that", kTypeKeys, textBody(copyThat)),
                      globalCommand("open <programs>", kTypeKeys, textBody("{ctrl+o}")),
                      applicationCommand("bold that", "winword", kTypeKeys, textBody("{ctrl+b}"))},
                     {});
}

QStringList lines(QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) {
        out << list->item(i)->text();
    }
    return out;
}

struct ChecksRun : GuiRun {
    bool startOnWinword() {
        files::writeAll(dragon.commandFile(), commandFile("{ctrl+c}"));
        return start() && choose(window().selectionMenu(MenuKind::Program), "WINWORD");
    }
    gui::EntryListDialog* dialog(const char* name) {
        QApplication::processEvents();
        return window().findChild<gui::EntryListDialog*>(name);
    }
    QString shownCommand() {
        QListWidget* list = window().list(Tab::Commands);
        return field("program") + " / " + (list->currentItem() ? list->currentItem()->text() : "");
    }
};

} // namespace

TEST(Checks, TheProblemsViewListsAMissingListAndOpensItsCommand) {
    ChecksRun run;
    ASSERT_TRUE(run.startOnWinword());
    run.window().action("viewproblems")->trigger();
    gui::EntryListDialog* problems = run.dialog("problems");
    ASSERT_NE(problems, nullptr);
    EXPECT_FALSE(problems->accessibleName().isEmpty());
    EXPECT_EQ(lines(problems->list()),
              QStringList{"warning: Global Commands / Global Commands / \"open <programs>\": "
                          "uses the LIST <programs>, which the file does not hold"});
    EXPECT_EQ(run.shownCommand(), "WINWORD / bold that");
    // Enter opens the line, as a double-click does, and the window's list takes the keys.
    run.window().bodyEditor()->setFocus();
    problems->list()->setFocus();
    QTest::keyClick(problems->list(), Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(run.shownCommand(), "Global Commands / open <programs>");
    EXPECT_EQ(run.window().focusWidget(), run.window().list(Tab::Commands));
}

TEST(Checks, CompareWithListsAChangedBodyAndOpensItsCommand) {
    ChecksRun run;
    ASSERT_TRUE(run.startOnWinword());
    std::string other = run.dragon.home + "/other.dat";
    files::writeAll(other, commandFile("{ctrl+c}{ctrl+v}"));
    run.window().chooseFile = [&](const dat::OpenDialogStart&) {
        return std::optional<std::string>(other);
    };
    run.window().action("filecompare")->trigger();
    gui::EntryListDialog* compare = run.dialog("compare");
    ASSERT_NE(compare, nullptr);
    EXPECT_EQ(lines(compare->list()),
              QStringList{"changed: Global Commands / Global Commands / \"copy that\" (body)"});
    ASSERT_TRUE(QTest::qWaitForWindowExposed(compare));
    QListWidget* list = compare->list();
    QRect first = list->visualItemRect(list->item(0));
    // A double-click is the second press of two.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, first.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, first.center());
    QApplication::processEvents();
    EXPECT_EQ(run.shownCommand(), "Global Commands / copy that");

    // A file that does not read is named in one warning; the window keeps its file.
    files::writeAll(other, "not a command file");
    run.ui.clear();
    run.window().action("filecompare")->trigger();
    ASSERT_EQ(run.ui.shown().size(), 1u);
    EXPECT_TRUE(run.ui.shown()[0].warning);
    EXPECT_EQ(run.ui.shown()[0].text, "other.dat\n\nThis is not a Dragon command file.");
    EXPECT_EQ(run.shownCommand(), "Global Commands / copy that");
}
