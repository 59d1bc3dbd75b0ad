// Editing in the window, driven as a user drives it: menu entries, buttons, typed keys, the
// answers to the questions; then what the window shows and what is on disk.
#include "datfile/record_ops.h"
#include "gui/roaming_note_dialog.h"
#include "gui_fixture.h"
#include "support/fixtures.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>
#include <optional>
#include <tuple>

using namespace plv;
using browser::MenuKind;
using browser::Tab;
using test::GuiRun;

namespace {

QPushButton* button(GuiRun& run, const char* name) {
    return run.window().findChild<QPushButton*>(name);
}

// Types the text into the body editor, a line break as the Enter key.
void type(GuiRun& run, const QString& text) {
    QPlainTextEdit* body = run.window().bodyEditor();
    const QStringList lines = text.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        if (i > 0) {
            QTest::keyClick(body, Qt::Key_Return);
        }
        QTest::keyClicks(body, lines[i]);
    }
}

// Types the text over the whole body, as the user selects all and types.
void typeBody(GuiRun& run, const QString& text) {
    QTest::keyClick(run.window().bodyEditor(), Qt::Key_A, Qt::ControlModifier);
    type(run, text);
}

// Clicks the entry of the list with the mouse, as the user picks it.
bool clickEntry(GuiRun& run, Tab tab, const QString& text) {
    QListWidget* list = run.window().list(tab);
    auto found = list->findItems(text, Qt::MatchExactly);
    if (found.isEmpty()) {
        return false;
    }
    list->scrollToItem(found.front());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(found.front()).center());
    QApplication::processEvents();
    return list->currentItem() == found.front();
}

void clickTab(GuiRun& run, Tab tab) {
    QTabBar* bar = run.window().tabs()->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(static_cast<int>(tab)).center());
}

// How many of the menus that editing disables are enabled; a missing one counts as enabled.
int menusEnabled(GuiRun& run) {
    int enabled = 0;
    for (const char* name : {"filemenu", "editmenu", "ViewMenu", "appcommand", "statecommand",
                             "commandmenu", "groupcommand", "toolsmenu"}) {
        auto* menu = run.window().menuBar()->findChild<QMenu*>(name);
        enabled += !menu || menu->menuAction()->isEnabled() ? 1 : 0;
    }
    return enabled;
}

void save(GuiRun& run) {
    QTest::mouseClick(button(run, "saveChanges"), Qt::LeftButton);
    QApplication::processEvents();
}

// The global command or LIST as the reader finds it in the user's file now.
std::optional<UserRow> onDisk(const GuiRun& run, const std::string& name) {
    for (const auto& row :
         test::parsedRows(files::readAll(run.dragon.commandFile()).value_or(""))) {
        if (row.name == name && row.menu == kGlobalCommands) {
            return row;
        }
    }
    return std::nullopt;
}

std::string bodyOnDisk(const GuiRun& run, const std::string& name) {
    auto row = onDisk(run, name);
    return row ? row->script : "(none)";
}

std::size_t mergesRun(GuiRun& run) {
    return run.app->startup().standIns()->merge().started().size();
}

} // namespace

TEST(Editing, TheTypicalEditEndToEndAndItsRestore) {
    GuiRun run;
    ASSERT_TRUE(run.start());
    gui::MainWindow& w = run.window();
    const std::string original = files::readAll(run.dragon.commandFile()).value_or("");
    ASSERT_TRUE(GuiRun::choose(w.selectionMenu(MenuKind::Program), "Global Commands"));
    w.action("viewonlyK")->trigger();
    ASSERT_TRUE(clickEntry(run, Tab::Commands, "copy that"));
    EXPECT_EQ(menusEnabled(run), 8);
    QTest::mouseClick(button(run, "modify"), Qt::LeftButton);
    EXPECT_TRUE(button(run, "saveChanges")->isVisible());
    EXPECT_FALSE(button(run, "modify")->isVisible());
    EXPECT_FALSE(w.list(Tab::Commands)->isEnabled());
    EXPECT_EQ(menusEnabled(run), 0);
    typeBody(run, "{Ctrl+Insert}");
    // The File menu is off while editing, and so is its Ctrl+O.
    bool asked = false;
    w.chooseFile = [&asked](const dat::OpenDialogStart&) {
        asked = true;
        return std::optional<std::string>();
    };
    QTest::keyClick(w.bodyEditor(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_FALSE(asked);
    QTest::keyClick(w.bodyEditor(), Qt::Key_S, Qt::ControlModifier); // Save Changes
    QApplication::processEvents();

    EXPECT_EQ(bodyOnDisk(run, "copy that"), "{Ctrl+Insert}");
    EXPECT_EQ(mergesRun(run), 1u);
    ASSERT_NE(w.list(Tab::Commands)->currentItem(), nullptr);
    EXPECT_EQ(w.list(Tab::Commands)->currentItem()->text(), "copy that");
    EXPECT_EQ(w.bodyEditor()->toPlainText(), "{Ctrl+Insert}");
    EXPECT_TRUE(button(run, "modify")->isVisible());
    EXPECT_FALSE(button(run, "saveChanges")->isVisible());
    EXPECT_TRUE(w.list(Tab::Commands)->isEnabled());
    EXPECT_EQ(menusEnabled(run), 8);
    EXPECT_EQ(run.ui.statusText, "Update processed, User ready");

    // Restore offers the day's backup and brings the file back as it was this morning.
    QMenu* restore = w.findChild<QMenu*>("rollback");
    ASSERT_NE(restore, nullptr);
    EXPECT_EQ(GuiRun::captions(restore),
              QStringList{QString::fromStdString("mycmds." + test::todayMMDDYYYY())});
    // It shows first what it would change; Cancel leaves the file as it is.
    const auto edited = files::readAll(run.dragon.commandFile());
    const QString backup = QString::fromStdString("mycmds." + test::todayMMDDYYYY());
    w.bodyEditor()->setFocus();
    GuiRun::withDialog(restore->actions().front(), [&](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Restore from archived file?");
        EXPECT_EQ(d.findChild<QLabel*>("text")->text(),
                  "Restore " + backup + "? It brings back 0 commands, removes 0, and changes 1:");
        auto* lines = d.findChild<QListWidget*>("entries");
        ASSERT_EQ(lines->count(), 1);
        EXPECT_EQ(lines->item(0)->text(),
                  "changed: Global Commands / Global Commands / \"copy that\" (body)");
        GuiRun::press(d, "cancel");
    });
    EXPECT_EQ(files::readAll(run.dragon.commandFile()), edited);
    EXPECT_EQ(mergesRun(run), 1u);
    EXPECT_EQ(w.focusWidget(), w.list(Tab::Commands))
        << "either answer leaves the keys on the list";
    w.bodyEditor()->setFocus();
    GuiRun::withDialog(restore->actions().front(), [](QDialog& d) { GuiRun::press(d, "restore"); });
    EXPECT_EQ(files::readAll(run.dragon.commandFile()), original);
    EXPECT_EQ(w.focusWidget(), w.list(Tab::Commands));
    EXPECT_EQ(mergesRun(run), 2u) << "Dragon takes the restored file over";
    w.action("viewall")->trigger();
    ASSERT_TRUE(GuiRun::choose(w.selectionMenu(MenuKind::Program), "Global Commands"));
    ASSERT_TRUE(clickEntry(run, Tab::Commands, "copy that"));
    EXPECT_EQ(w.bodyEditor()->toPlainText(), "{Ctrl+c}");
}

TEST(Editing, ANewListAndThenTheCommandThatUsesIt) {
    GuiRun run;
    ASSERT_TRUE(run.start());
    gui::MainWindow& w = run.window();
    run.ui.answerInput("wards");
    w.action("commandnewlist")->trigger();
    EXPECT_EQ(w.tabs()->currentIndex(), static_cast<int>(Tab::Lists));
    EXPECT_EQ(w.list(Tab::Lists)->currentItem()->text(), "wards");
    type(run, "Ward A\nWard B\n");
    save(run);
    EXPECT_EQ(bodyOnDisk(run, "wards"), "Ward A\r\nWard B\r\n");
    EXPECT_EQ(mergesRun(run), 0u) << "Dragon waits for the command that uses the LIST";
    EXPECT_EQ(run.ui.statusText, "You must NEXT create a command using created LIST");
    EXPECT_EQ(w.tabs()->currentIndex(), static_cast<int>(Tab::Lists));
    EXPECT_EQ(w.list(Tab::Lists)->currentItem()->text(), "wards");

    // Cancelled, refused, or a Clone: "<wards>" is proposed until a command is written.
    run.ui.clear();
    run.ui.answerInput(std::nullopt);
    w.action("commandnewkeys")->trigger();
    run.ui.answerInput("copy that");
    w.action("commandnewscript")->trigger();
    EXPECT_TRUE(run.ui.sawMessage("Command already exists", "copy that"));
    clickTab(run, Tab::Commands);
    ASSERT_TRUE(clickEntry(run, Tab::Commands, "copy that"));
    run.ui.answerInput(std::nullopt);
    w.action("commandclone")->trigger();
    EXPECT_EQ(run.ui.statusText, "You must NEXT create a command using created LIST");
    run.ui.answerInput("go to <wards>");
    w.action("commandnewkeys")->trigger();
    int prompts = 0;
    for (const auto& shown : run.ui.shown()) {
        if (shown.title == "New Command") {
            EXPECT_EQ(shown.initial, "<wards>");
            ++prompts;
        }
    }
    EXPECT_EQ(prompts, 4);
    EXPECT_EQ(w.list(Tab::Commands)->currentItem()->text(), "go to <wards>");
    type(run, "{Ctrl+g}");
    save(run);
    EXPECT_EQ(bodyOnDisk(run, "go to <wards>"), "{Ctrl+g}");
    EXPECT_EQ(mergesRun(run), 1u);
    EXPECT_EQ(w.list(Tab::Commands)->currentItem()->text(), "go to <wards>");
    EXPECT_EQ(w.field("type")->text(), "KEYS");
}

TEST(Editing, CloneRenameAndDeleteOfAListInUse) {
    GuiRun run;
    // Seven commands use the LIST "frequency": the demo's own and six more.
    test::Harness h;
    ASSERT_EQ(dat::openFile(*h.session, run.dragon.commandFile()).status,
              dat::OpenResult::Status::Opened);
    for (int i = 1; i <= 6; ++i) {
        dat::NewCommand c;
        c.name = "dose " + std::to_string(i) + " <frequency>";
        c.type = "K";
        c.program = c.scope = kGlobalCommands;
        c.body = "x";
        ASSERT_EQ(dat::BuildNewRecord(*h.session, c), dat::Outcome::Done);
        ASSERT_EQ(dat::refreshAfterWrite(*h.session), dat::Outcome::Done);
    }
    ASSERT_TRUE(run.start());
    gui::MainWindow& w = run.window();

    ASSERT_TRUE(clickEntry(run, Tab::Commands, "copy that"));
    run.ui.answerInput("copy that again");
    w.action("commandclone")->trigger();
    EXPECT_EQ(w.list(Tab::Commands)->currentItem()->text(), "copy that again");
    save(run);
    EXPECT_EQ(bodyOnDisk(run, "copy that again"), "{Ctrl+c}");

    ASSERT_TRUE(clickEntry(run, Tab::Commands, "copy that again"));
    run.ui.answerInput("copy it again");
    w.action("commandrename")->trigger();
    EXPECT_EQ(bodyOnDisk(run, "copy it again"), "{Ctrl+c}");
    EXPECT_EQ(bodyOnDisk(run, "copy that again"), "(none)");
    EXPECT_EQ(w.list(Tab::Commands)->currentItem()->text(), "copy it again");

    clickTab(run, Tab::Lists);
    ASSERT_TRUE(clickEntry(run, Tab::Lists, "frequency"));
    run.ui.clear();
    run.ui.answerYes(true);  // "Delete this LIST?"
    run.ui.answerYes(false); // but not while commands use it
    w.action("commanddelete")->trigger();
    ASSERT_EQ(run.ui.shown().size(), 2u);
    EXPECT_EQ(run.ui.shown()[0].text, "Delete this LIST?");
    EXPECT_EQ(run.ui.shown()[1].text,
              "There are 7 commands using this LIST including:\n\n"
              "prescribe <medication> <dose> <frequency>\ndose 1 <frequency>\n"
              "dose 2 <frequency>\ndose 3 <frequency>\ndose 4 <frequency>\ndose 5 <frequency>"
              "\n\nNaturallySpeaking and Razudid Udiridu will no longer hear/see these "
              "commands.\nAre you sure you want to Delete this LIST?");
    EXPECT_NE(bodyOnDisk(run, "frequency"), "(none)");

    run.ui.answerYes(true);
    run.ui.answerYes(true);
    w.action("commanddelete")->trigger();
    EXPECT_EQ(bodyOnDisk(run, "frequency"), "(none)");
    EXPECT_FALSE(run.entries(Tab::Lists).contains("frequency"));
}

TEST(Editing, WhatTheUserDoesNotTypeIsWrittenAsItWas) {
    GuiRun run;
    const std::string note = "Dr\u00a0Smith\r\nWard\u00a0A\r\n\r\n";
    test::Harness h;
    ASSERT_EQ(dat::openFile(*h.session, run.dragon.commandFile()).status,
              dat::OpenResult::Status::Opened);
    for (auto [name, type, body] : {std::tuple{"ward note", "P", note},
                                    {"empty macro", "A", "Sub Main\r\n\t\r\nEnd Sub\r\n"}}) {
        dat::NewCommand c;
        c.name = name;
        c.type = type;
        c.program = c.scope = kGlobalCommands;
        c.group = "Ward";
        c.body = body;
        ASSERT_EQ(dat::BuildNewRecord(*h.session, c), dat::Outcome::Done);
        ASSERT_EQ(dat::refreshAfterWrite(*h.session), dat::Outcome::Done);
    }
    ASSERT_EQ(dat::UpdateNewList(*h.session, "folders", "C:\\\\Temp\r\nD:\\\\Data"),
              dat::Outcome::Done);
    ASSERT_TRUE(run.start());
    gui::MainWindow& w = run.window();
    QPlainTextEdit* body = w.bodyEditor();

    // No-break spaces and line breaks stay; a Group typed meanwhile leaves the caret be.
    ASSERT_TRUE(clickEntry(run, Tab::Commands, "ward note"));
    QTest::mouseClick(button(run, "modify"), Qt::LeftButton);
    QTest::keyClick(body, Qt::Key_Home, Qt::ControlModifier);
    QTest::keyClick(body, Qt::Key_End);
    QTest::keyClicks(w.field("group"), "s");
    QTest::keyClicks(body, "!");
    save(run);
    auto saved = onDisk(run, "ward note");
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->script, "Dr\u00a0Smith!\r\nWard\u00a0A\r\n\r\n")
        << "a Plain Text body keeps its trailing line breaks";
    EXPECT_EQ(saved->owner, "Wards");

    // The empty Advanced Scripting template opens with the caret after its TAB.
    ASSERT_TRUE(clickEntry(run, Tab::Commands, "empty macro"));
    QTest::mouseClick(button(run, "modify"), Qt::LeftButton);
    QTest::keyClicks(body, "Beep");
    save(run);
    EXPECT_EQ(bodyOnDisk(run, "empty macro"), "Sub Main\r\n\tBeep\r\nEnd Sub\r\n");

    // An encrypted body stays locked while its description is edited.
    ASSERT_TRUE(clickEntry(run, Tab::Commands, "insert prescription disclaimer"));
    const std::string sealed = bodyOnDisk(run, "insert prescription disclaimer");
    QTest::keyClicks(w.field("description"), "!");
    EXPECT_TRUE(button(run, "saveChanges")->isVisible());
    EXPECT_TRUE(body->isReadOnly());
    QTest::keyClicks(body, "typed");
    save(run);
    EXPECT_EQ(bodyOnDisk(run, "insert prescription disclaimer"), sealed);

    // A LIST shows each stored "\\" as "\": an item added leaves the others as they were.
    clickTab(run, Tab::Lists);
    ASSERT_TRUE(clickEntry(run, Tab::Lists, "folders"));
    EXPECT_EQ(body->toPlainText(), "C:\\Temp\nD:\\Data\n");
    QTest::mouseClick(button(run, "modify"), Qt::LeftButton);
    QTest::keyClick(body, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(body, "E:\\Work");
    save(run);
    EXPECT_EQ(bodyOnDisk(run, "folders"), "C:\\\\Temp\r\nD:\\\\Data\r\nE:\\Work\r\n");
}

TEST(Editing, TheBoxesAndKeysStartModifyAClickSelectsAndAbandonWritesNothing) {
    GuiRun run;
    ASSERT_TRUE(run.start());
    gui::MainWindow& w = run.window();
    const auto original = files::readAll(run.dragon.commandFile());
    ASSERT_TRUE(clickEntry(run, Tab::Commands, "copy that"));
    QTest::keyClicks(w.field("description"), "x");
    EXPECT_TRUE(button(run, "saveChanges")->isVisible());
    EXPECT_EQ(w.field("description")->text(), "x");
    QTest::mouseClick(button(run, "abandon"), Qt::LeftButton);
    EXPECT_FALSE(button(run, "saveChanges")->isVisible());
    EXPECT_EQ(w.field("description")->text(), "");

    // A click in the body selects, to copy; Enter starts the edit, and says how it ends.
    QPlainTextEdit* body = w.bodyEditor();
    QTest::mouseDClick(body->viewport(), Qt::LeftButton, {}, QPoint(12, 8));
    EXPECT_FALSE(body->textCursor().selectedText().isEmpty());
    EXPECT_TRUE(body->isReadOnly());
    EXPECT_FALSE(button(run, "saveChanges")->isVisible());
    QTest::keyClick(body, Qt::Key_Return);
    EXPECT_TRUE(button(run, "saveChanges")->isVisible());
    EXPECT_FALSE(body->isReadOnly());
    EXPECT_EQ(body->toPlainText(), "{Ctrl+c}") << "Enter only starts the edit";
    auto* strip = w.findChild<QLabel*>("editStrip");
    EXPECT_TRUE(strip->isVisible());
    EXPECT_TRUE(strip->text().contains("\u201ccopy that\u201d"));
    EXPECT_TRUE(strip->text().contains("Abandon (Alt+B or Esc)"));

    // Escape with nothing changed leaves the edit without a question.
    run.ui.clear();
    QTest::keyClick(body, Qt::Key_Escape);
    EXPECT_FALSE(button(run, "saveChanges")->isVisible());
    EXPECT_FALSE(strip->isVisible());
    EXPECT_TRUE(run.ui.shown().empty());

    // Typing starts the edit with what is typed; Escape then asks, Cancel (its own answer)
    // stays, Abandon leaves the body as it was.
    body->moveCursor(QTextCursor::End);
    QTest::keyClicks(body, "x");
    EXPECT_TRUE(button(run, "saveChanges")->isVisible());
    EXPECT_EQ(body->toPlainText(), "{Ctrl+c}x");
    QTest::keyClick(body, Qt::Key_Escape);
    EXPECT_TRUE(run.ui.sawMessage("The changes to \"copy that\" are not saved.", "Parlavista"));
    EXPECT_TRUE(button(run, "saveChanges")->isVisible());
    run.ui.answerChoice("&Abandon");
    QTest::keyClick(body, Qt::Key_Escape);
    EXPECT_FALSE(button(run, "saveChanges")->isVisible());
    EXPECT_EQ(body->toPlainText(), "{Ctrl+c}");

    // Command > Delete asks with No as the default: unanswered, the command stays.
    run.ui.clear();
    w.action("commanddelete")->trigger();
    ASSERT_EQ(run.ui.shown().size(), 1u);
    EXPECT_EQ(run.ui.shown()[0].text, "Delete this command?");
    EXPECT_TRUE(run.ui.shown()[0].defaultNo);

    // A LIST has no description: the box empties again and nothing is edited.
    clickTab(run, Tab::Lists);
    ASSERT_TRUE(clickEntry(run, Tab::Lists, "frequency"));
    QTest::keyClicks(w.field("description"), "x");
    EXPECT_EQ(w.field("description")->text(), "");
    EXPECT_FALSE(button(run, "saveChanges")->isVisible());
    EXPECT_EQ(files::readAll(run.dragon.commandFile()), original);
}

TEST(Editing, ClosingOrOpeningWithUnsavedChangesAsksSaveAbandonOrCancel) {
    for (const char* answer : {"&Cancel", "&Abandon", "&Save Changes"}) {
        SCOPED_TRACE(answer);
        GuiRun run;
        ASSERT_TRUE(run.start());
        gui::MainWindow& w = run.window();
        const std::string before = files::readAll(run.dragon.commandFile()).value_or("");
        ASSERT_TRUE(clickEntry(run, Tab::Commands, "copy that"));
        QTest::mouseClick(button(run, "modify"), Qt::LeftButton);
        typeBody(run, "{Ctrl+Insert}");
        bool chosen = false;
        w.chooseFile = [&](const dat::OpenDialogStart&) {
            chosen = true;
            return std::optional<std::string>();
        };
        run.ui.answerChoice(answer);
        run.ui.answerChoice(answer);
        w.action("fileopen")->trigger();
        w.close();
        QApplication::processEvents();
        std::string after = files::readAll(run.dragon.commandFile()).value_or("");
        if (std::string(answer) == "&Cancel") {
            EXPECT_FALSE(chosen) << "no other file while the edit stays";
            EXPECT_TRUE(w.isVisible());
            EXPECT_EQ(w.bodyEditor()->toPlainText(), "{Ctrl+Insert}");
            EXPECT_EQ(after, before);
        } else {
            EXPECT_TRUE(chosen);
            EXPECT_FALSE(w.isVisible());
            EXPECT_EQ(after == before, std::string(answer) == "&Abandon");
        }
        EXPECT_TRUE(run.ui.sawMessage("The changes to \"copy that\" are not saved."));
    }
}

TEST(Editing, ASpeakerChangeEndsTheProgram) {
    GuiRun run;
    ASSERT_TRUE(run.start());
    ASSERT_TRUE(run.window().isVisible());
    run.dragon.setEngine("current speaker", "Dr Patel");
    EXPECT_TRUE(QTest::qWaitFor([&] { return !run.window().isVisible(); }, 5000));
}

TEST(Editing, TheRoamingNoteOffersHelpAndNotToBeShownAgain) {
    int helpOpened = 0;
    gui::RoamingNoteDialog note([&] { ++helpOpened; });
    EXPECT_EQ(note.windowTitle(), "Save Changes Roaming User Informational message");
    QString text = note.findChild<QLabel*>("note")->text();
    EXPECT_TRUE(text.startsWith("When doing a 'Save Changes' (or other modifying operation)"));
    EXPECT_TRUE(text.endsWith("Help file topic:\n'Roaming User command file modification'"));
    QTest::mouseClick(note.findChild<QPushButton*>("help"), Qt::LeftButton);
    EXPECT_EQ(helpOpened, 1);
    auto* box = note.findChild<QCheckBox*>("dontShowAgain");
    EXPECT_EQ(box->text(), "Do &Not Show This Window Again");
    EXPECT_FALSE(note.dontShowAgain());
    QTest::mouseClick(box, Qt::LeftButton);
    QTest::mouseClick(note.findChild<QPushButton*>("proceed"), Qt::LeftButton);
    EXPECT_EQ(note.result(), QDialog::Accepted);
    EXPECT_TRUE(note.dontShowAgain());
}

TEST(Editing, ASaveThatCannotTakeItsBackupStaysOpen) {
    GuiRun run;
    ASSERT_TRUE(run.start());
    gui::MainWindow& w = run.window();
    const std::string original = files::readAll(run.dragon.commandFile()).value_or("");
    // A file stands where the user's backup folder goes.
    files::writeAll(files::join(run.dragon.home, "Demo"), "not a folder");
    ASSERT_TRUE(GuiRun::choose(w.selectionMenu(MenuKind::Program), "Global Commands"));
    ASSERT_TRUE(clickEntry(run, Tab::Commands, "copy that"));
    QTest::mouseClick(button(run, "modify"), Qt::LeftButton);
    typeBody(run, "{Ctrl+Insert}");
    save(run);

    // Refused: the edit stays open with what was typed.
    EXPECT_TRUE(button(run, "saveChanges")->isVisible()) << "the edit stays open";
    EXPECT_EQ(w.bodyEditor()->toPlainText(), "{Ctrl+Insert}");
    EXPECT_TRUE(files::readAll(run.dragon.commandFile()) == original) << "nothing written";
    EXPECT_EQ(mergesRun(run), 0u);
}
