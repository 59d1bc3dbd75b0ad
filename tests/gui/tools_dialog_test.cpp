// The Tools dialog as the user works it: scope choices and their counts, Pick and Choose,
// the export file name, the search's match, the refusals.
#include "dragon/demo_root.h"
#include "editing/road_file.h"
#include "gui/tools_dialog.h"
#include "gui_fixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace plv;
using editing::ToolsMode;

namespace {

struct Dialog : test::RoadFile {
    Dialog(ToolsMode mode, editing::WindowSelection window) {
        open(dragon::demoCommandFile());
        state = std::make_unique<editing::ToolsDialog>(road, mode, std::move(window));
        view = std::make_unique<gui::ToolsDialogView>(*state);
        view->show();
    }
    ~Dialog() {
        view.reset();
        state.reset(); // the dialog closes
    }
    QString count(ScopeChoice c) const { return view->countLabel(c)->text(); }
    // A click on the button's round indicator, at its left.
    void choose(ScopeChoice c) const {
        QRadioButton* b = view->choiceButton(c);
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
    }
    void press(const char* button) const {
        QTest::mouseClick(view->findChild<QPushButton*>(button), Qt::LeftButton);
    }
    QStringList selectedNames() const {
        QStringList names;
        for (auto* item : view->pickList()->selectedItems()) {
            names << item->text();
        }
        return names;
    }

    std::unique_ptr<editing::ToolsDialog> state;
    std::unique_ptr<gui::ToolsDialogView> view;
};

editing::WindowSelection globalWith(const std::string& command) {
    editing::WindowSelection w;
    w.commandName = command;
    return w;
}

} // namespace

TEST(ToolsDialogView, ShowsTheCountsOfEachScopeChoice) {
    editing::WindowSelection word;
    word.program = "WINWORD";
    word.scope = "Discharge Summary";
    word.group = "Letters";
    Dialog d(ToolsMode::Delete, word);
    EXPECT_EQ(d.view->windowTitle(), "Delete");
    EXPECT_EQ(d.count(ScopeChoice::Everything), "   80");
    EXPECT_EQ(d.count(ScopeChoice::Group), "   18");
    EXPECT_EQ(d.count(ScopeChoice::Program), "   12");
    EXPECT_EQ(d.count(ScopeChoice::Scope), "    3");
    EXPECT_EQ(d.count(ScopeChoice::Picked), "    0");
    EXPECT_TRUE(d.view->countLabel(ScopeChoice::Group)->font().fixedPitch());
    EXPECT_EQ(d.view->choiceButton(ScopeChoice::Program)->text(), "Current &App");
    EXPECT_FALSE(d.view->pickList()->isVisible());

    d.choose(ScopeChoice::Picked);
    ASSERT_TRUE(d.view->pickList()->isVisible());
    EXPECT_EQ(d.view->pickList()->count(), 3);
    d.press("pickall");
    EXPECT_EQ(d.count(ScopeChoice::Picked), "    3");
    d.press("picknone");
    EXPECT_EQ(d.count(ScopeChoice::Picked), "    0");

    // With nothing picked the main button refuses and the dialog stays.
    d.press("mainButton");
    EXPECT_TRUE(d.h.ui.sawMessage(editing::kNothingSelected));
    EXPECT_TRUE(d.view->isVisible());
}

TEST(ToolsDialogView, PickAndChoosePreselectsTheWindowsCommandAndNamesTheFile) {
    Dialog d(ToolsMode::Export, globalWith("prescribe <medication> <dose> <frequency>"));
    EXPECT_EQ(d.view->windowTitle(), "Export to .dat");
    QString folder = QString::fromStdString(d.state->exportFolder());
    // It opens on Pick and Choose with the window's command picked.
    EXPECT_TRUE(d.view->choiceButton(ScopeChoice::Picked)->isChecked());
    EXPECT_EQ(d.selectedNames(), QStringList{"prescribe <medication> <dose> <frequency>"});
    d.choose(ScopeChoice::Everything);
    EXPECT_EQ(d.view->textField()->text(), folder + "/global.dat");
    d.choose(ScopeChoice::Program);
    EXPECT_EQ(d.view->textField()->text(), folder + "/Global Commands.dat");
    d.choose(ScopeChoice::Picked);
    EXPECT_EQ(d.selectedNames(), QStringList{"prescribe <medication> <dose> <frequency>"});
    EXPECT_EQ(d.count(ScopeChoice::Picked), "    1");
    EXPECT_EQ(d.view->textField()->text(),
              folder + "/prescribe [medication] [dose] [frequency].dat");

    // Picking another command counts; a name the user types stays.
    QListWidget* list = d.view->pickList();
    auto items = list->findItems("copy that", Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      list->visualItemRect(items[0]).center());
    EXPECT_EQ(d.count(ScopeChoice::Picked), "    2");
    d.view->textField()->clear();
    QTest::keyClicks(d.view->textField(), "/tmp/mine.dat");
    d.choose(ScopeChoice::Everything);
    EXPECT_EQ(d.view->textField()->text(), "/tmp/mine.dat");
}

TEST(ToolsDialogView, DeleteOpensOnTheCommandShownAndEnterAsksWithNoAsTheDefault) {
    Dialog d(ToolsMode::Delete, globalWith("copy that"));
    EXPECT_TRUE(d.view->choiceButton(ScopeChoice::Picked)->isChecked());
    EXPECT_EQ(d.selectedNames(), QStringList{"copy that"});
    EXPECT_EQ(d.view->choiceButton(ScopeChoice::Everything)->accessibleName(),
              "Everything, 80 commands");
    EXPECT_EQ(d.view->choiceButton(ScopeChoice::Picked)->accessibleName(),
              "Pick and Choose, 1 command");
    EXPECT_EQ(d.view->findChild<QPushButton*>("mainButton")->text(), "&Delete");

    // Enter on Everything asks what it would delete; unanswered, nothing is written.
    const std::string before = d.file();
    d.choose(ScopeChoice::Everything);
    QTest::keyClick(d.view.get(), Qt::Key_Return);
    ASSERT_FALSE(d.h.ui.shown().empty());
    EXPECT_EQ(d.h.ui.shown().back().text, "Delete 80 commands and 7 LISTs from mycmds.dat?");
    EXPECT_TRUE(d.h.ui.shown().back().defaultNo);
    EXPECT_EQ(d.file(), before);
    EXPECT_TRUE(d.view->isVisible());
}

TEST(ToolsDialogView, SearchShowsTheMatchAndCancelCloses) {
    Dialog d(ToolsMode::Replace, globalWith(""));
    QTest::keyClicks(d.view->textField(), "Ctrl");
    d.press("mainButton");
    ASSERT_TRUE(d.state->search().match());
    EXPECT_EQ(d.view->findChild<QLabel*>("matchName")->text(), "save the document");
    EXPECT_EQ(d.view->findChild<QPlainTextEdit*>("matchBody")->textCursor().selectedText(), "Ctrl");
    d.press("cancel");
    EXPECT_FALSE(d.view->isVisible());
}
