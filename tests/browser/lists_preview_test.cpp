#include "browser_fixture.h"
#include "platform/files.h"

#include <gtest/gtest.h>

using namespace plv;
using namespace plv::browser;
using namespace plv::dat;
using plv::test::BrowserHarness;

using Names = std::vector<std::string>;

namespace {

int countRows(const Catalogue& c, const std::string& menu, const std::string& name) {
    int n = 0;
    for (const auto& row : c.allRows()) {
        n += row.menu == menu && row.name == name;
    }
    return n;
}

} // namespace

TEST(Lists, AGlobalListIsCopiedIntoTheApplicationsListList) {
    BrowserHarness t;
    t.start();
    t.browser->changeTab(Tab::Lists);
    EXPECT_EQ(t.entries(Tab::Lists), (Names{"apps", "fonts"}));

    t.browser->changeTab(Tab::Commands);
    t.browser->chooseProgram(t.menuIndex(MenuKind::Program, "WINWORD"));
    auto copy = t.h.catalogue->findList("WINWORD", "Application-specific", "fonts");
    ASSERT_TRUE(copy);
    EXPECT_TRUE(copy->listcopy);
    EXPECT_TRUE(copy->flag);
    EXPECT_EQ(copy->globalsort, "N");
    EXPECT_EQ(copy->owner, "Dragon");
    EXPECT_EQ(copy->script, "arial\r\ntimes\r\n");
    EXPECT_FALSE(t.h.catalogue->findList("WINWORD", "Application-specific", "apps"));

    t.browser->changeTab(Tab::Lists);
    EXPECT_EQ(t.entries(Tab::Lists), (Names{"fonts"}));
    EXPECT_EQ(t.browser->preview().type, "LIST");
    EXPECT_EQ(t.browser->preview().body, "arial\r\ntimes\r\n");
    EXPECT_EQ(t.browser->preview().program, "WINWORD");

    // Building again adds no second copy; the copy never counts as a file LIST.
    t.browser->changeTab(Tab::Commands);
    t.browser->reset();
    EXPECT_EQ(countRows(*t.h.catalogue, "WINWORD", "fonts"), 1);
    EXPECT_EQ(t.h.catalogue->countFileLists(), 2);

    // Under a Group the copies take the Group, so the LIST list shows them.
    t.browser->chooseGroup(t.menuIndex(MenuKind::Group, "User-defined"));
    t.browser->chooseProgram(t.menuIndex(MenuKind::Program, "WINWORD"));
    EXPECT_EQ(t.h.catalogue->findList("WINWORD", "Application-specific", "fonts")->owner,
              "User-defined");
    t.browser->changeTab(Tab::Lists);
    EXPECT_EQ(t.entries(Tab::Lists), (Names{"fonts"}));
}

TEST(Lists, TabsKeepTheirOwnSelection) {
    BrowserHarness t;
    t.start();
    t.browser->chooseProgram(t.menuIndex(MenuKind::Program, "EXCEL"));
    t.browser->changeTab(Tab::RecentlyCreated);
    EXPECT_EQ(t.entries(Tab::RecentlyCreated).front().substr(0, 5), "about");
    EXPECT_EQ(t.entries(Tab::RecentlyCreated).front().substr(49), "AAA");
    ASSERT_TRUE(t.click(Tab::RecentlyCreated, "save doc"));
    EXPECT_EQ(t.browser->program(), "WINWORD");
    EXPECT_EQ(t.browser->preview().name, "save doc");
    // Back on the command list, its own Program and Scope return.
    t.browser->changeTab(Tab::Commands);
    EXPECT_EQ(t.browser->program(), "EXCEL");
    EXPECT_EQ(t.browser->scope(), "Book1");
    EXPECT_EQ(t.browser->preview().name, "sum it");
}

TEST(Lists, RecentlyCreatedShowsTheNewest75AdmittedCommands) {
    std::vector<CommandRecord> commands;
    for (int i = 0; i < 90; ++i) {
        commands.push_back(globalCommand("command " + std::to_string(i),
                                         i % 2 ? kTypeKeys : kTypeScript, textBody("x")));
    }
    BrowserHarness t(buildFile(Layout::V1011, commands, {listRecord("l", {"a"})}));
    t.start();
    t.browser->changeTab(Tab::RecentlyCreated);
    auto entries = t.entries(Tab::RecentlyCreated);
    ASSERT_EQ(entries.size(), 75u);
    EXPECT_EQ(entries.front(), recentEntryText("command 89", "Global Commands"));
    EXPECT_EQ(entries.back(), recentEntryText("command 15", "Global Commands"));
    EXPECT_EQ(entries.front().find("Global Commands"), 49u);

    // The View filter applies before the count; a rebuild follows the Scope choice.
    t.browser->clickViewType('S');
    t.browser->changeTab(Tab::RecentlyCreated);
    entries = t.entries(Tab::RecentlyCreated);
    ASSERT_EQ(entries.size(), 45u);
    EXPECT_EQ(entries.back(), recentEntryText("command 1", "Global Commands"));
    EXPECT_EQ(recentEntryText(std::string(60, 'n'), "P"), std::string(60, 'n') + " P");
}

TEST(Preview, EachTypeEnablesItsEditCommandsAndStatesComeFromTheStatesTable) {
    BrowserHarness t;
    auto mail = t.h.catalogue->findCommand(kGlobalCommands, kGlobalCommands, "open mail");
    ASSERT_TRUE(mail);
    auto a = t.h.catalogue->stateId(kGlobalCommands, "Dictation");
    auto b = t.h.catalogue->stateId(kGlobalCommands, "Spelling");
    mail->states = std::to_string(a) + "," + std::to_string(b) + ",";
    t.h.catalogue->updateRow(*mail);
    t.start();
    struct Case {
        const char* name;
        const char* type;
        bool modify, plain, advanced, graphic;
    };
    const Case cases[] = {
        {"open mail", "KEYS", true, false, true, false},
        {"type date", "KEYS", true, true, false, false},
        {"run script", "SCRIPT", true, false, false, false},
        {"say hello", "Plain Text", true, false, false, false},
        {"formatted note", "Text & Graphics", false, false, false, true},
        {"record it", "Macro Recorder", false, false, false, false},
        {"step it", "Step by Step", false, false, false, false},
        {"start <apps>", "Advanced Script", true, false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(t.click(Tab::Commands, c.name));
        const Preview& p = t.browser->preview();
        EXPECT_EQ(p.type, c.type);
        EXPECT_EQ(p.enabled.modify, c.modify);
        EXPECT_EQ(p.enabled.clone, c.modify);
        EXPECT_EQ(p.enabled.convertPlain, c.plain);
        EXPECT_EQ(p.enabled.convertAdvanced, c.advanced);
        EXPECT_EQ(p.enabled.showGraphic, c.graphic);
        EXPECT_TRUE(p.enabled.commandMenu);
        EXPECT_TRUE(p.enabled.bodyLocked);
        EXPECT_EQ(p.group, std::string(c.name) == "type date" ? "Office" : "User-defined");
    }
    ASSERT_TRUE(t.click(Tab::Commands, "open mail"));
    EXPECT_EQ(t.browser->preview().states, "Dictation,Spelling");
    ASSERT_TRUE(t.click(Tab::Commands, "type date"));
    EXPECT_EQ(t.browser->preview().description, "Types the date");
    EXPECT_EQ(t.browser->preview().body, "today");
    ASSERT_TRUE(t.click(Tab::Commands, "formatted note"));
    EXPECT_EQ(t.browser->preview().body.rfind("<<< ", 0), 0u);
    EXPECT_TRUE(test::has(t.browser->preview().body, " byte graphic not shown >>> \nBold note"));

    ASSERT_TRUE(t.click(Tab::Commands, "secret"));
    EXPECT_EQ(t.browser->preview().body, "This command has been encrypted, and cannot be edited");
    EXPECT_FALSE(t.browser->preview().enabled.modify);
    EXPECT_FALSE(t.browser->preview().enabled.clone);
    EXPECT_TRUE(t.browser->preview().enabled.bodyLocked);
}

TEST(Preview, KeysWithBracesInAnotherLanguageOfferNoConversion) {
    BrowserHarness t(test::sampleCommandFile(7));
    t.start();
    ASSERT_TRUE(t.click(Tab::Commands, "open mail"));
    EXPECT_FALSE(t.browser->preview().enabled.convertPlain);
    EXPECT_FALSE(t.browser->preview().enabled.convertAdvanced);
}

TEST(Preview, MarkerStatesBackslashesAndMissingEntries) {
    UserRow row;
    row.name = "n";
    row.type = "T";
    row.graphicsize = 1234;
    row.script = "plain";
    auto none = [](std::int64_t) -> std::optional<std::string> { return std::nullopt; };
    EXPECT_EQ(previewRow(row, "English", none).body, "<<< 1234 byte graphic not shown >>> \nplain");

    auto names = [](std::int64_t id) -> std::optional<std::string> {
        if (id == 12) {
            return "Dictation";
        }
        if (id == 15) {
            return "Spelling";
        }
        return std::nullopt;
    };
    EXPECT_EQ(stateNames("12,15,", names), "Dictation,Spelling");
    EXPECT_EQ(stateNames("", names), "");
    EXPECT_EQ(stateNames("15,,x,99,", names), "Spelling");

    row.type = "K";
    row.script = R"(c:\\dir\\file)";
    row.filename = "other.dat";
    EXPECT_EQ(shownBody(row), R"(c:\dir\file)");
    row.filename = "mycmds.dat";
    EXPECT_EQ(shownBody(row), R"(c:\\dir\\file)");
    row.type = "L";
    EXPECT_EQ(shownBody(row), R"(c:\dir\file)");

    Preview gone = previewMissing("renamed", "P", "S");
    EXPECT_EQ(gone.body,
              "This command is no longer available.\n\nIt has likely been renamed or deleted.");
    EXPECT_EQ(gone.group, "User-defined");
    EXPECT_TRUE(gone.type.empty());
    EXPECT_FALSE(gone.enabled.modify);
    EXPECT_FALSE(gone.enabled.commandMenu);
}

TEST(Preview, ShowGraphicRendersTheFormattedBlockFromTheFile) {
    BrowserHarness t;
    t.start();
    ASSERT_TRUE(t.click(Tab::Commands, "formatted note"));
    t.browser->showGraphic();
    ASSERT_TRUE(t.browser->graphic());
    EXPECT_TRUE(test::has(t.browser->graphic()->html, "font-weight:bold; font-size:12pt; \">Bold"));
    EXPECT_FALSE(t.browser->preview().enabled.showGraphic);
    EXPECT_EQ(t.h.ui.statusText, "");
    // Another entry hides the rendering again.
    ASSERT_TRUE(t.click(Tab::Commands, "say hello"));
    EXPECT_FALSE(t.browser->graphic());

    // A file that no longer holds the block at the stored position gives a message.
    ASSERT_TRUE(t.click(Tab::Commands, "formatted note"));
    files::writeAll(t.path, "short");
    t.browser->showGraphic();
    EXPECT_FALSE(t.browser->graphic());
    ASSERT_EQ(t.h.ui.shown().size(), 1u);
    EXPECT_EQ(t.h.ui.shown()[0].title, t.path);
}
