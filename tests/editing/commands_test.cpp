// The editing commands without the window: the checks that refuse before anything is
// written, what Save Changes writes, and the Command menu's choices, on the demo user.
#include "browser/editing_view.h"
#include "datfile/file_commands.h"
#include "datfile/record_ops.h"
#include "editing/commands.h"
#include "editing/demo_road.h"

#include <gtest/gtest.h>

using namespace plv;
using browser::Tab;
using dat::Outcome;

namespace {

// The demo user's file, or with `copy` a copy of it opened elsewhere (no Dragon takes it
// over, so writes are quick), in a browser with the editor over it.
struct EditorRun : test::DemoRoad {
    explicit EditorRun(bool copy) {
        if (copy) {
            std::string other = dragon.dir.write("other/mycmds.dat", file());
            dat::openFile(session(), other);
        }
        browser = std::make_unique<browser::Browser>(session(), startup->settings());
        browser->readSettings();
        browser->loadRecentlyUsed();
        browser->buildMenus();
        browser->start(kGlobalCommands, kGlobalCommands);
        view = std::make_unique<browser::EditingView>(*browser);
        editor = std::make_unique<editing::Editor>(*road, *view);
    }
    ~EditorRun() {
        editor.reset();
        view.reset();
        browser.reset();
    }
    // Shows the entry of that Program and Scope.
    void show(const std::string& program, const std::string& scope, const std::string& name) {
        browser->setSelection(program, scope, name);
        browser->reset(Tab::Commands);
        ASSERT_EQ(browser->commandName(), name);
    }
    std::string diskFile() { return files::readAll(session().file.path).value_or(""); }

    std::unique_ptr<browser::Browser> browser;
    std::unique_ptr<browser::EditingView> view;
    std::unique_ptr<editing::Editor> editor;
};

const std::string kGlobal = kGlobalCommands;

} // namespace

TEST(SaveChanges, ChecksRefuseBeforeAnythingIsWritten) {
    EditorRun r(false);
    const std::string original = r.diskFile();
    r.show(kGlobal, kGlobal, "copy that");
    editing::Modify(*r.editor);
    r.editor->bodyEdited("");
    EXPECT_EQ(editing::SaveChanges(*r.editor), Outcome::Refused);
    EXPECT_TRUE(r.ui.sawMessage("Empty content not allowed"));
    EXPECT_TRUE(r.editor->state().editing);
    editing::Abandon(*r.editor);
    // A description the file's code page cannot hold is refused before the day's backup.
    editing::Modify(*r.editor);
    r.editor->descriptionEdited("\xe2\x98\x83");
    EXPECT_EQ(editing::SaveChanges(*r.editor), Outcome::Refused);
    EXPECT_TRUE(r.editor->state().editing);
    EXPECT_FALSE(files::exists(files::join(r.dragon.home, "Demo")));
    editing::Abandon(*r.editor);

    // A LIST of blanks and empty lines is empty content too, whether it is new or not.
    r.browser->setSelection(kGlobal, kGlobal, "dose");
    r.browser->reset(Tab::Lists);
    ASSERT_EQ(r.browser->commandName(), "dose");
    editing::Modify(*r.editor);
    r.editor->bodyEdited("  \r\n\r\n");
    EXPECT_EQ(editing::SaveChanges(*r.editor), Outcome::Refused);
    EXPECT_EQ(r.ui.shown().back().text, "Empty content not allowed");
    EXPECT_TRUE(r.editor->state().editing);
    editing::Abandon(*r.editor);
    r.ui.answerInput("wards");
    ASSERT_EQ(editing::NewList(*r.editor), Outcome::Done);
    r.editor->bodyEdited("  ");
    EXPECT_EQ(editing::SaveChanges(*r.editor), Outcome::Refused);
    EXPECT_EQ(r.ui.shown().back().text, "Empty content not allowed");
    editing::Abandon(*r.editor);
    // Delete of a LIST that commands use, answered No at that question, takes no backup.
    r.browser->setSelection(kGlobal, kGlobal, "dose");
    r.browser->reset(Tab::Lists);
    r.ui.answerYes(true);
    EXPECT_EQ(editing::Delete(*r.editor), Outcome::Refused);
    EXPECT_FALSE(files::exists(files::join(r.dragon.home, "Demo")));

    r.show(kGlobal, kGlobal, "open patient records");
    editing::Modify(*r.editor);
    r.editor->bodyEdited("Wait 100\r\nIf x\r\n");
    EXPECT_EQ(editing::SaveChanges(*r.editor), Outcome::Refused);
    EXPECT_TRUE(r.ui.sawMessage("Error in your script at line: 2"));
    EXPECT_TRUE(r.editor->state().editing);

    // Another tool rewrote the file: the body goes to the clipboard, the file is read again.
    std::string clipboard;
    r.road->toClipboard = [&](const std::string& text) { clipboard = text; };
    r.editor->bodyEdited("Wait 100\r\n");
    files::FileTime time = *files::lastModified(r.dragon.commandFile());
    files::writeAll(r.dragon.commandFile(), original + std::string(4, '\0'));
    files::setLastModified(r.dragon.commandFile(), time);
    EXPECT_EQ(editing::SaveChanges(*r.editor), Outcome::Done);
    EXPECT_EQ(clipboard, "Wait 100\r\n");
    ASSERT_FALSE(r.ui.shown().empty());
    EXPECT_EQ(r.ui.shown().back().text.rfind("Sorry, this operation cannot be carried out "
                                             "because you have\nmodified your open user "
                                             "mycmds.dat file with Razudid Udiridu.\n",
                                             0),
              0u);
    EXPECT_EQ(r.ui.shown().back().title, r.dragon.commandFile());
    EXPECT_FALSE(r.editor->state().editing);
    EXPECT_EQ(r.diskFile(), original + std::string(4, '\0'));
    EXPECT_FALSE(files::exists(files::join(r.dragon.home, "savedat")));
}

TEST(SaveChanges, WritesOnlyWhatChangedInTheFormItsTypeTakes) {
    EditorRun r(true);
    r.show(kGlobal, kGlobal, "insert today's date");
    r.browser->setSlider(10);
    editing::Modify(*r.editor);
    EXPECT_EQ(r.browser->slider(), 8) << "the body editor comes into view";
    std::string body = r.editor->state().body;
    r.editor->bodyEdited(body + "\r\n\r\n\r\n");
    ASSERT_EQ(editing::SaveChanges(*r.editor), Outcome::Done);
    EXPECT_EQ(r.row(kGlobal, kGlobal, "insert today's date").script, body);

    // KEYS bodies keep their line breaks as typed.
    r.show(kGlobal, kGlobal, "copy that");
    editing::Modify(*r.editor);
    r.editor->bodyEdited("{Ctrl+c}\r\n\r\n");
    ASSERT_EQ(editing::SaveChanges(*r.editor), Outcome::Done);
    EXPECT_EQ(r.row(kGlobal, kGlobal, "copy that").script, "{Ctrl+c}\r\n\r\n");
    EXPECT_EQ(r.browser->commandName(), "copy that");

    // A body and a description are two writes: "savedat" keeps the file from before both.
    const std::string beforeBoth = r.diskFile();
    editing::Modify(*r.editor);
    r.editor->bodyEdited("{Ctrl+v}");
    r.editor->descriptionEdited("Paste");
    ASSERT_EQ(editing::SaveChanges(*r.editor), Outcome::Done);
    EXPECT_EQ(r.row(kGlobal, kGlobal, "copy that").description, "Paste");
    EXPECT_EQ(r.home("savedat"), beforeBoth);

    // A Step-by-step command's description and Group are written, its body never.
    UserRow steps = r.row("WINWORD", "Discharge Summary", "next heading");
    r.show("WINWORD", "Discharge Summary", "next heading");
    r.editor->descriptionEdited("Jump to the next heading");
    ASSERT_TRUE(r.editor->state().editing);
    r.editor->groupEdited("Letters");
    r.editor->bodyEdited("typed over");
    ASSERT_EQ(editing::SaveChanges(*r.editor), Outcome::Done);
    UserRow saved = r.row("WINWORD", "Discharge Summary", "next heading");
    EXPECT_EQ(saved.description, "Jump to the next heading");
    EXPECT_EQ(saved.owner, "Letters");
    EXPECT_EQ(saved.script, steps.script);

    // An encrypted body is not text: it stays locked, and only the description is written.
    const std::string sealed = r.row(kGlobal, kGlobal, "insert prescription disclaimer").script;
    r.show(kGlobal, kGlobal, "insert prescription disclaimer");
    r.editor->descriptionEdited("From the formulary");
    r.editor->bodyEdited("typed over");
    ASSERT_EQ(editing::SaveChanges(*r.editor), Outcome::Done);
    UserRow locked = r.row(kGlobal, kGlobal, "insert prescription disclaimer");
    EXPECT_EQ(locked.description, "From the formulary");
    EXPECT_EQ(locked.script, sealed);

    // New Advanced Scripting starts from the template with the caret on its empty line.
    r.ui.answerInput("say hello");
    ASSERT_EQ(editing::NewCommand(*r.editor, "A"), Outcome::Done);
    EXPECT_EQ(r.editor->state().body, "Sub Main\r\n\r\nEnd Sub");
    EXPECT_EQ(r.editor->state().caret, 10u);
    editing::Abandon(*r.editor);
    EXPECT_FALSE(r.browser->list(Tab::Commands).entries.empty());
}

TEST(SaveChanges, NothingChangedIsNeitherWrittenNorMerged) {
    EditorRun r(false);
    const std::string original = r.diskFile();
    const files::FileTime time = *files::lastModified(r.dragon.commandFile());
    r.show(kGlobal, kGlobal, "copy that");
    editing::Modify(*r.editor);
    EXPECT_EQ(editing::SaveChanges(*r.editor), Outcome::Done);
    EXPECT_FALSE(r.editor->state().editing);
    // A description typed and taken back, and a Group typed back to what it was.
    r.editor->descriptionEdited("x");
    r.editor->descriptionEdited("");
    r.editor->groupEdited("Editor");
    r.editor->groupEdited("Editing");
    EXPECT_EQ(editing::SaveChanges(*r.editor), Outcome::Done);
    r.browser->changeTab(Tab::Lists);
    r.browser->clickEntry(Tab::Lists, 0);
    ASSERT_EQ(r.browser->preview().typeCode, "L");
    editing::Modify(*r.editor);
    EXPECT_EQ(editing::SaveChanges(*r.editor), Outcome::Done);

    EXPECT_EQ(r.diskFile(), original);
    EXPECT_EQ(files::lastModified(r.dragon.commandFile()), time);
    EXPECT_TRUE(r.standIns().merge().started().empty());
    EXPECT_FALSE(files::exists(files::join(r.dragon.home, "savedat")));
    EXPECT_FALSE(r.editor->state().editing);
}

TEST(SaveChanges, RecentlyModifiedRecordsTheCommandSaved) {
    EditorRun r(true);
    r.browser->chooseGroup(
        static_cast<std::size_t>(r.browser->menu(browser::MenuKind::Group).findFirst("Editing")));
    auto top = [&r] { return r.browser->recentlyUsed().entries().front(); };

    // The command leaves the Group shown: the view shows another one after the save.
    r.show(kGlobal, kGlobal, "copy that");
    r.editor->groupEdited("Clipboard");
    ASSERT_EQ(editing::SaveChanges(*r.editor), Outcome::Done);
    ASSERT_NE(r.browser->commandName(), "copy that");
    EXPECT_EQ(top(), kGlobal + "\t" + kGlobal + "\tcopy that");

    // A new command of no Group is not shown under the Group either.
    r.ui.answerInput("cut that");
    ASSERT_EQ(editing::NewCommand(*r.editor, "K"), Outcome::Done);
    r.editor->bodyEdited("{Ctrl+x}");
    ASSERT_EQ(editing::SaveChanges(*r.editor), Outcome::Done);
    EXPECT_EQ(r.row(kGlobal, kGlobal, "cut that").script, "{Ctrl+x}");
    EXPECT_EQ(top(), kGlobal + "\t" + kGlobal + "\tcut that");
    EXPECT_EQ(r.browser->recentlyUsed().entries().at(1), kGlobal + "\t" + kGlobal + "\tcopy that");
}

TEST(CommandMenu, ConversionsAndDebugWithBasic) {
    EditorRun r(true);
    r.show(kGlobal, kGlobal, "type practice phone");
    editing::ConvertToPlainText(*r.editor);
    ASSERT_EQ(editing::SaveChanges(*r.editor), Outcome::Done);
    UserRow plain = r.row(kGlobal, kGlobal, "type practice phone");
    EXPECT_EQ(plain.type, "P");
    EXPECT_EQ(plain.script, "0117 496 0123");

    r.show(kGlobal, kGlobal, "copy that");
    ASSERT_EQ(editing::ConvertToAdvancedScripting(*r.editor), Outcome::Done);
    EXPECT_EQ(r.editor->state().body.rfind("Sub Main\r\n\r\nSendKeys \"^c\"", 0), 0u);
    ASSERT_EQ(editing::SaveChanges(*r.editor), Outcome::Done);
    UserRow advanced = r.row(kGlobal, kGlobal, "copy that");
    EXPECT_EQ(advanced.type, "A");
    EXPECT_EQ(advanced.script.rfind("Sub Main", 0), 0u);

    ASSERT_EQ(dat::Update1Body(r.session(), r.row(kGlobal, kGlobal, "paste that here"), "{Ctrl",
                               dat::Positions::Move),
              Outcome::Done);
    ASSERT_EQ(r.road->refresh(), Outcome::Done);
    r.show(kGlobal, kGlobal, "paste that here");
    EXPECT_EQ(editing::ConvertToAdvancedScripting(*r.editor), Outcome::Refused);
    EXPECT_TRUE(r.ui.sawMessage(" Conversion failed", "Please send to Brinmoor"));
    EXPECT_FALSE(r.editor->state().editing);

    ASSERT_EQ(dat::Update1Body(r.session(), r.row(kGlobal, kGlobal, "insert today's date"),
                               "Sub Main\r\n\tA (b+c) {d}\r\nEnd Sub\r\n", dat::Positions::Move),
              Outcome::Done);
    ASSERT_EQ(r.road->refresh(), Outcome::Done);
    r.show(kGlobal, kGlobal, "insert today's date");
    ASSERT_EQ(editing::DebugWithBasic(*r.editor), Outcome::Done);
    std::vector<std::string> expected = {"%y{end}", "{tab 2}^{end}+(^{home})", "{del}"};
    for (std::string key : {"S", "u",   "b", " ", "M", "a",   "i", "n",   "\r", "\t",  "A",
                            " ", "{(}", "b", "+", "c", "{)}", " ", "{{}", "d",  "{}}", "\r"}) {
        expected.push_back(key);
    }
    for (std::string key : {"{bs 2}", "% x", "^{home}"}) {
        expected.push_back(key);
    }
    EXPECT_EQ(r.standIns().editor().keysSent(), expected);
}

TEST(CommandMenu, DeleteRenameAndNewCommandChooseAndRefuse) {
    EditorRun r(true);
    int menusBuilt = 0;
    r.road->onBackupTaken = [&] { ++menusBuilt; };
    r.show("WINWORD", "Referral Letter", "referral closing");
    r.ui.answerYes(true);
    ASSERT_EQ(editing::Delete(*r.editor), Outcome::Done);
    EXPECT_EQ(r.browser->commandName(), "referral opening") << "the next command is shown";
    EXPECT_EQ(menusBuilt, 1) << "the Restore menu is built again, though no copy was taken";
    r.ui.answerYes(true);
    ASSERT_EQ(editing::Delete(*r.editor), Outcome::Done);
    EXPECT_EQ(r.browser->program(), kGlobal) << "the Scope's last command has gone";

    const std::string before = r.diskFile();
    r.show(kGlobal, kGlobal, "copy that");
    r.ui.answerInput("");
    EXPECT_EQ(editing::Rename(*r.editor), Outcome::Refused);
    r.ui.answerInput("paste that here");
    EXPECT_EQ(editing::Rename(*r.editor), Outcome::Refused);
    EXPECT_TRUE(r.ui.sawMessage("paste that here already exists", "Must delete first"));
    r.ui.answerInput("copy <nowhere>");
    EXPECT_EQ(editing::Rename(*r.editor), Outcome::Refused);
    EXPECT_TRUE(r.ui.sawMessage("Sorry, must create any new LISTs first", "nowhere"));
    r.ui.answerInput("ward list");
    EXPECT_EQ(editing::NewList(*r.editor), Outcome::Refused);
    EXPECT_TRUE(r.ui.sawMessage("Only numbers, letters and _-. are allowed by Dragon in LIST names",
                                "ward list"));
    r.ui.answerInput("Ward_List-2.b");
    EXPECT_EQ(editing::NewList(*r.editor), Outcome::Done) << "case is free";
    editing::Abandon(*r.editor);

    // Nothing shown in a Program: no command lends the new one its application strings.
    r.browser->clickViewOnlyOne('L');
    r.show("WINWORD", "Application-specific", "Nothing to show");
    r.ui.answerInput("make it bold");
    EXPECT_EQ(editing::NewCommand(*r.editor, "K"), Outcome::Refused);
    EXPECT_TRUE(r.ui.sawMessage(
        "Parlavista cannot create a new command for this Program, Scope, Group, or View.",
        "Please pick a different Program, Scope, Group, or View"));
    EXPECT_EQ(r.diskFile(), before);
}
