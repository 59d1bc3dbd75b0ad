// Faults found when the window was tried as a user tries it.
#include "gui/help_browser.h"
#include "gui_fixture.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace plv;
using browser::MenuKind;
using browser::Tab;
using test::GuiRun;

namespace {

QPushButton* button(QWidget* dialog, const QString& caption) {
    for (auto* b : dialog->findChildren<QPushButton*>()) {
        if (b->text() == caption) {
            return b;
        }
    }
    return nullptr;
}

std::size_t questions(const ScriptedInteraction& ui) {
    std::size_t n = 0;
    for (const auto& shown : ui.shown()) {
        n += shown.kind == ScriptedInteraction::Kind::YesNo;
    }
    return n;
}

} // namespace

TEST(WindowFaults, ListsCountsAndViewTicksShowWhatTheBrowserHolds) {
    GuiRun run;
    ASSERT_TRUE(run.start());
    gui::MainWindow& w = run.window();
    w.tabs()->setCurrentIndex(static_cast<int>(Tab::RecentlyCreated));
    ASSERT_EQ(run.field("program"), "NATSPEAK");
    w.tabs()->setCurrentIndex(static_cast<int>(Tab::Lists));
    EXPECT_EQ(run.field("program"), "Global Commands");
    EXPECT_EQ(run.entries(Tab::Lists).size(), 7);

    // Plain Text cannot be unticked; its entry must not look otherwise.
    w.action("viewP")->trigger();
    EXPECT_TRUE(w.action("viewP")->isChecked());

    // WINWORD's "go to <section>" copies the global LIST into the catalogue only.
    ASSERT_TRUE(GuiRun::choose(w.selectionMenu(MenuKind::Program), "WINWORD"));
    run.ui.clear();
    w.action("fileproperties")->trigger();
    ASSERT_EQ(run.ui.shown().size(), 1u);
    EXPECT_TRUE(test::has(run.ui.shown()[0].text, "#Lists:            7"));
    run.stop();
    ASSERT_TRUE(run.start());
    EXPECT_EQ(run.window().countsLabel()->text(), "Total Number of Commands / Lists:  80 /7");
}

TEST(WindowFaults, HelpAnswersFromOptionsAndADeclinedOfferStaysDeclined) {
    GuiRun run;
    ASSERT_TRUE(run.start());
    EXPECT_EQ(questions(run.ui), 2u) << "the first start offers both imports";
    run.stop();
    run.ui.clear();
    ASSERT_TRUE(run.start());
    EXPECT_EQ(questions(run.ui), 0u) << "No is remembered";
    gui::MainWindow& w = run.window();

    bool shown = false;
    bool closed = false;
    QTimer::singleShot(0, [&] {
        QWidget* options = QApplication::activeModalWidget();
        button(options, "&Help")->click();
        gui::HelpBrowser* help = w.helpBrowser();
        shown = help->isVisible();
        // Through the window system, where a modal dialog blocks the windows it does not own.
        QPushButton* close = button(help, "Close");
        QTest::mouseClick(help->windowHandle(), Qt::LeftButton, {},
                          close->mapTo(help, close->rect().center()));
        closed = !help->isVisible();
        static_cast<QDialog*>(options)->accept();
    });
    w.action("editoptions")->trigger();
    EXPECT_TRUE(shown);
    EXPECT_TRUE(closed) << "help opened from a modal dialog answers clicks";

    // Help still offers the import that was declined.
    run.ui.answerYes(true);
    w.action("helpimportstart")->trigger();
    EXPECT_TRUE(run.ui.sawMessage("Commands imported successfully. You may now use the commands "
                                  "above to bring up Parlavista"));
    ASSERT_TRUE(GuiRun::choose(w.selectionMenu(MenuKind::Program), "Global Commands"));
    EXPECT_TRUE(run.entries(Tab::Commands).contains("global parla vista"));
}
