// Edit > Find, F11 and F12, and the two follow views, driven as a user drives them.
#include "datfile/builder.h"
#include "gui/find_dialog.h"
#include "gui_fixture.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace plv;
using browser::FindIn;
using browser::FindStep;
using browser::MenuKind;
using browser::Tab;
using test::GuiRun;

namespace {

// Edit > Find: types the text, picks where to look and Match Case, clicks the button. A
// dialog that stays open (nothing found) is left with Escape.
void findWith(GuiRun& run, const QString& text, FindIn in, bool matchCase = false,
              FindStep step = FindStep::First) {
    gui::MainWindow& w = run.window();
    QTimer::singleShot(0, [&w, text, in, matchCase, step] {
        gui::FindDialog* d = w.findDialog();
        d->searchBox()->selectAll();
        QTest::keyClicks(d->searchBox(), text);
        d->option(in)->click();
        if (d->matchCase()->isChecked() != matchCase) {
            d->matchCase()->click();
        }
        d->button(step)->click();
        if (d->isVisible()) {
            QTest::keyClick(d->searchBox(), Qt::Key_Escape);
        }
    });
    w.action("editfind")->trigger();
    GuiRun::activate(w);
}

QString selected(const GuiRun& run) {
    return run.window().bodyEditor()->textCursor().selectedText();
}

QString current(const GuiRun& run, Tab tab) {
    auto* item = run.window().list(tab)->currentItem();
    return item ? item->text() : QString();
}

} // namespace

TEST(Find, BodySearchFoldsCaseHighlightsAndWalksOnWithF11AndF12) {
    GuiRun run;
    ASSERT_TRUE(run.start());
    gui::MainWindow& w = run.window();
    findWith(run, "nhs", FindIn::Body);
    EXPECT_FALSE(w.findDialog()->isVisible());
    EXPECT_EQ(run.field("program"), "Global Commands");
    EXPECT_EQ(current(run, Tab::Commands), "insert referral header");
    EXPECT_EQ(selected(run), "NHS") << "behind the graphic marker line";
    EXPECT_EQ(w.focusWidget(), w.list(Tab::Commands));

    QListWidget* commands = w.list(Tab::Commands);
    QTest::keyClick(commands, Qt::Key_F11);
    EXPECT_EQ(current(run, Tab::Commands), "open the formulary");
    EXPECT_EQ(selected(run), "nhs");
    QTest::keyClick(commands, Qt::Key_F3);
    EXPECT_EQ(current(run, Tab::Commands), "type NHS number label");
    run.ui.clear();
    QTest::keyClick(commands, Qt::Key_F11);
    EXPECT_TRUE(run.ui.sawMessage("\"nhs\" no more matches", "Not Found"));
    EXPECT_EQ(current(run, Tab::Commands), "type NHS number label") << "the last hit stays";
    QTest::keyClick(w.bodyEditor(), Qt::Key_F12);
    EXPECT_EQ(current(run, Tab::Commands), "open the formulary");
    QTest::keyClick(w.bodyEditor(), Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(current(run, Tab::Commands), "insert referral header");
    EXPECT_EQ(w.focusWidget(), commands);
    // The file read again has new rows: F11 starts over instead of coming back to this one.
    w.action("filereload")->trigger();
    QTest::keyClick(w.list(Tab::Commands), Qt::Key_F11);
    EXPECT_EQ(current(run, Tab::Commands), "insert referral header");

    // Match Case compares exactly; without it the accented capitals fold too.
    findWith(run, "nhs", FindIn::Body, true);
    EXPECT_EQ(current(run, Tab::Commands), "open the formulary");
    findWith(run, "MÜLLER", FindIn::Body, true);
    EXPECT_TRUE(run.ui.sawMessage("\"MÜLLER\" not found in your macro files", "Not Found"));
    findWith(run, "MÜLLER", FindIn::Body, false);
    EXPECT_EQ(run.field("program"), "WINWORD");
    EXPECT_EQ(run.field("scope"), "Referral Letter");
    EXPECT_EQ(current(run, Tab::Commands), "referral opening");
    EXPECT_EQ(selected(run), "Müller");
    // A text body wraps and keeps its line breaks; a script does not wrap.
    EXPECT_EQ(w.bodyEditor()->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    EXPECT_EQ(w.bodyEditor()->toPlainText(),
              "Dear Mr Müller,\n\nThank you for seeing this patient, whom I would be grateful "
              "if you could assess.\n");
    findWith(run, "formulary", FindIn::Name);
    EXPECT_EQ(w.bodyEditor()->lineWrapMode(), QPlainTextEdit::NoWrap);
}

TEST(Find, TheViewNarrowsTheSearchAndCancelDiscardsIt) {
    GuiRun run;
    ASSERT_TRUE(run.start());
    gui::MainWindow& w = run.window();
    w.action("viewonlyL")->trigger();
    findWith(run, "lab", FindIn::Name);
    EXPECT_EQ(w.tabs()->currentIndex(), static_cast<int>(Tab::Lists));
    EXPECT_EQ(current(run, Tab::Lists), "lab test");
    EXPECT_EQ(run.field("type"), "LIST");
    // Find Again for a new text that has no hit: not found, naming the types left out.
    findWith(run, "copy that", FindIn::Name, false, FindStep::Again);
    EXPECT_TRUE(run.ui.sawMessage(
        "\"copy that\" not found in current View, which leaves out KEYs, SCRIPTs, Text and "
        "Graphics, Plain Text, Macro Recorder, Step-by-step, Advanced Scripting",
        "Not Found"));
    findWith(run, "zz", FindIn::Body, true);

    // Escape left the dialog: the search is gone, F11 finds nothing, and the dialog opens
    // as it did the first time.
    w.action("viewall")->trigger();
    run.ui.clear();
    QTest::keyClick(w.list(Tab::Lists), Qt::Key_F11);
    EXPECT_TRUE(run.ui.shown().empty());
    bool fresh = false;
    QTimer::singleShot(0, [&w, &fresh] {
        gui::FindDialog* d = w.findDialog();
        fresh = d && d->isVisible() && d->searchBox()->text().isEmpty() &&
                d->option(FindIn::Name)->isChecked() && !d->matchCase()->isChecked();
        if (d) {
            QTest::keyClick(d->searchBox(), Qt::Key_Escape);
        }
    });
    QTest::keyClick(w.list(Tab::Lists), Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(fresh);
    findWith(run, "inbox", FindIn::Scope);
    EXPECT_EQ(run.field("scope"), "Inbox - Microsoft Outlook");
    EXPECT_EQ(current(run, Tab::Commands), "delete this message");
    EXPECT_EQ(w.focusWidget(), w.list(Tab::Commands));
    findWith(run, "", FindIn::Scope, false, FindStep::Again);
    EXPECT_EQ(current(run, Tab::Commands), "open next message") << "the text stays after a hit";
}

TEST(Follow, ACommandWithItsListsAndAListWithTheCommandsThatUseIt) {
    using namespace dat;
    auto paint = applicationCommand("paint <colour>", "mspaint", kTypeKeys, textBody("{Alt+p}"));
    paint.group = "Art";
    std::vector<CommandRecord> office = {
        applicationCommand("format <font> <size>", "winword", kTypeKeys, textBody("{Alt+o}")),
        applicationCommand("bold that", "winword", kTypeKeys, textBody("{Ctrl+b}")),
        applicationCommand("pick <colour>", "winword", kTypeKeys, textBody("{Alt+h}")),
        globalCommand("open mail", kTypeKeys, textBody("{Ctrl+m}"))};
    for (auto& c : office) {
        c.group = "Office";
    }
    office.push_back(paint);
    test::TempDir dir;
    std::string file = dir.write(
        "follow.dat", buildFile(Layout::V1011, office,
                                {listRecord("font", {"arial"}), listRecord("size", {"ten"}),
                                 listRecord("colour", {"red"})}));
    GuiRun run;
    ASSERT_TRUE(run.start());
    gui::MainWindow& w = run.window();
    w.chooseFile = [&](const dat::OpenDialogStart&) { return std::optional<std::string>(file); };
    w.action("fileopen")->trigger();
    ASSERT_TRUE(GuiRun::choose(w.selectionMenu(MenuKind::Program), "WINWORD"));

    ASSERT_TRUE(run.click(Tab::Commands, "bold that"));
    w.action("viewfollowlist")->trigger();
    EXPECT_TRUE(run.ui.sawMessage("Not valid unless LIST", "Not allowed"));
    w.action("viewfollowcommand")->trigger();
    EXPECT_TRUE(run.ui.sawMessage("This COMMAND has no LISTs", "Not allowed"));
    EXPECT_FALSE(w.action("viewfollowcommand")->isChecked());
    EXPECT_FALSE(w.action("viewfollowlist")->isChecked());
    EXPECT_TRUE(w.action("viewall")->isChecked()) << "the View is unchanged";
    w.tabs()->setCurrentIndex(static_cast<int>(Tab::Lists));
    ASSERT_TRUE(run.click(Tab::Lists, "font"));
    w.action("viewfollowcommand")->trigger();
    EXPECT_TRUE(run.ui.sawMessage("Not valid unless COMMAND", "Not allowed"));

    w.tabs()->setCurrentIndex(static_cast<int>(Tab::Commands));
    ASSERT_TRUE(run.click(Tab::Commands, "format <font> <size>"));
    w.action("viewfollowcommand")->trigger();
    EXPECT_TRUE(w.action("viewfollowcommand")->isChecked());
    EXPECT_FALSE(w.action("viewK")->isChecked());
    EXPECT_FALSE(w.action("viewall")->isChecked());
    EXPECT_EQ(run.entries(Tab::Commands), QStringList{"format <font> <size>"});
    w.tabs()->setCurrentIndex(static_cast<int>(Tab::Lists));
    EXPECT_EQ(run.entries(Tab::Lists), (QStringList{"font", "size"}));
    EXPECT_TRUE(run.browser().follow().active());
    // A type ticked again ends the command view.
    w.action("viewK")->trigger();
    EXPECT_FALSE(w.action("viewfollowcommand")->isChecked());
    EXPECT_EQ(run.entries(Tab::Commands).size(), 3);

    // A LIST followed where no command uses it: the commands are empty, the LIST stays.
    w.action("viewall")->trigger();
    EXPECT_FALSE(run.browser().follow().active());
    ASSERT_TRUE(GuiRun::choose(w.selectionMenu(MenuKind::Program), "Global Commands"));
    w.tabs()->setCurrentIndex(static_cast<int>(Tab::Lists));
    ASSERT_TRUE(run.click(Tab::Lists, "colour"));
    w.action("viewfollowlist")->trigger();
    EXPECT_TRUE(w.action("viewfollowlist")->isChecked());
    EXPECT_EQ(run.entries(Tab::Commands), QStringList{"Nothing to show"});
    w.tabs()->setCurrentIndex(static_cast<int>(Tab::Lists));
    EXPECT_EQ(run.entries(Tab::Lists), QStringList{"colour"});
    ASSERT_TRUE(GuiRun::choose(w.selectionMenu(MenuKind::Program), "WINWORD"));
    EXPECT_EQ(run.entries(Tab::Commands), QStringList{"pick <colour>"});
    // Turning the view off leaves no type ticked until the user ticks some.
    w.action("viewfollowlist")->trigger();
    EXPECT_EQ(run.entries(Tab::Commands), QStringList{"Nothing to show"});
    w.action("viewK")->trigger();
    EXPECT_EQ(run.entries(Tab::Commands).size(), 3);

    // Under a Group the follow view still admits other Groups' commands; Find shows such a
    // hit in its own Program, outside the Group's menus.
    w.action("viewall")->trigger();
    ASSERT_TRUE(GuiRun::choose(w.selectionMenu(MenuKind::Group), "Office"));
    ASSERT_TRUE(GuiRun::choose(w.selectionMenu(MenuKind::Program), "WINWORD"));
    w.tabs()->setCurrentIndex(static_cast<int>(Tab::Lists));
    ASSERT_TRUE(run.click(Tab::Lists, "colour"));
    w.action("viewfollowlist")->trigger();
    findWith(run, "paint", FindIn::Name);
    EXPECT_EQ(run.field("program"), "MSPAINT");
    EXPECT_EQ(run.browser().group(), browser::kAllGroups);
    EXPECT_EQ(current(run, Tab::Commands), "paint <colour>");
}
