#include "browser/follow.h"
#include "browser_fixture.h"
#include "datfile/file_commands.h"

#include <gtest/gtest.h>

using namespace plv;
using namespace plv::browser;
using plv::test::BrowserHarness;

using Names = std::vector<std::string>;

TEST(Navigation, ProgramMenuStartsWithGlobalCommandsAndScopesListTheirCommands) {
    BrowserHarness t;
    t.start();
    EXPECT_EQ(t.browser->menu(MenuKind::Program).values(),
              (Names{"Global Commands", "AAA", "EXCEL", "WINWORD"}));
    EXPECT_EQ(t.browser->scope(), "Global Commands");
    EXPECT_EQ(t.entries(Tab::Commands),
              (Names{"formatted note", "open mail", "record it", "run script", "say hello",
                     "secret", "start <apps>", "step it", "type date"}));
    // The first command is previewed.
    EXPECT_EQ(t.browser->preview().name, "formatted note");

    t.browser->chooseProgram(t.menuIndex(MenuKind::Program, "EXCEL"));
    EXPECT_EQ(t.browser->program(), "EXCEL");
    EXPECT_EQ(t.browser->menu(MenuKind::Scope).values(), (Names{"Book1"}));
    EXPECT_EQ(t.browser->scope(), "Book1");
    EXPECT_EQ(t.entries(Tab::Commands), (Names{"sum it"}));
    EXPECT_EQ(t.browser->preview().program, "EXCEL");
    EXPECT_EQ(t.browser->preview().scope, "Book1");

    t.browser->chooseProgram(t.menuIndex(MenuKind::Program, "WINWORD"));
    EXPECT_EQ(t.browser->scope(), "Application-specific");
    EXPECT_EQ(t.entries(Tab::Commands), (Names{"bold <fonts>", "save doc"}));
    EXPECT_TRUE(test::has(t.h.trace.text(), "reset after appdynamicfind"));
}

TEST(Navigation, NumberingIsAppliedOnOpenAndNeverTwice) {
    BrowserHarness t;
    t.start();
    EXPECT_EQ(t.menuTexts(MenuKind::Program)[0], "Global Commands");
    t.browser->menuOpened(MenuKind::Program);
    t.browser->menuOpened(MenuKind::Program);
    EXPECT_EQ(t.menuTexts(MenuKind::Program),
              (Names{"1 - Global Commands", "2 - AAA", "3 - EXCEL", "4 - WINWORD"}));
    // Choosing by number still finds the value.
    t.browser->chooseProgram(2);
    EXPECT_EQ(t.browser->program(), "EXCEL");

    t.browser->menuOpened(MenuKind::Group);
    EXPECT_EQ(t.menuTexts(MenuKind::Group),
              (Names{"1 - Office", "2 - User-defined", "-", "All groups"}));

    // Spoken numbers: the menu's own command, and the "Numbered" menu while it is open.
    const auto* main = t.voice.findMenu("Parlavista", "Parlavista");
    ASSERT_NE(main, nullptr);
    const auto* program = main->find("program <programnumbers>");
    ASSERT_NE(program, nullptr);
    EXPECT_EQ(program->id, 6);
    EXPECT_EQ(program->script, R"(SendKeys "{Alt+r}{down " & _arg1 & "}{up}{enter}")");
    EXPECT_EQ(main->lists.at("programnumbers"), (Names{"1", "2", "3", "4"}));
    EXPECT_EQ(main->lists.at("groupnumbers"), (Names{"1", "2", "3"}));
    const auto* numbered = t.voice.findMenu("Parlavista", "Numbered");
    ASSERT_NE(numbered, nullptr);
    EXPECT_TRUE(numbered->active);
    ASSERT_NE(numbered->find("<groupnumbers>"), nullptr);
    EXPECT_EQ(numbered->find("<groupnumbers>")->id, 22);
    EXPECT_EQ(numbered->find("<programnumbers>")->script,
              R"(SendKeys "{down " & _arg1 & "}{enter}")");
    EXPECT_EQ(numbered->lists.at("groupnumbers"), (Names{"1", "2"}));

    // Turned off: menus stay plain and the "Numbered" menu is switched off.
    t.browser->setNumberMenus(false);
    EXPECT_EQ(t.settings->read("number menus", ""), "False");
    EXPECT_FALSE(t.voice.findMenu("Parlavista", "Numbered")->active);
    t.browser->requestMenuRebuild(true, false);
    t.browser->reset();
    t.browser->menuOpened(MenuKind::Program);
    EXPECT_EQ(t.menuTexts(MenuKind::Program)[0], "Global Commands");
}

TEST(Navigation, GroupsFilterAndFallBack) {
    BrowserHarness t;
    t.start();
    t.browser->chooseGroup(t.menuIndex(MenuKind::Group, "Office"));
    EXPECT_EQ(t.browser->group(), "Office");
    // The first Office command is global; the Program menu holds the Programs with Office.
    EXPECT_EQ(t.browser->menu(MenuKind::Program).values(), (Names{"Global Commands", "WINWORD"}));
    EXPECT_EQ(t.entries(Tab::Commands), (Names{"type date"}));
    t.browser->chooseProgram(t.menuIndex(MenuKind::Program, "WINWORD"));
    EXPECT_EQ(t.entries(Tab::Commands), (Names{"save doc"}));

    // A Group that hides every command of the Scope leaves the placeholder.
    t.browser->clickViewOnlyOne('P');
    EXPECT_EQ(t.entries(Tab::Commands), (Names{"Nothing to show"}));
    EXPECT_TRUE(t.browser->placeholder());
    EXPECT_EQ(t.browser->preview().body, "Please pick a different Program, Scope, View, or Group");
    t.browser->clickViewAll();

    // The Group survives a rebuild of the Group menu.
    t.browser->buildMenus();
    EXPECT_EQ(t.browser->group(), "Office");

    // A Group whose commands have gone falls back to "All groups".
    for (const auto& row : t.h.catalogue->allRows()) {
        if (row.owner == "Office") {
            t.h.catalogue->deleteRow(row.id);
        }
    }
    t.browser->requestMenuRebuild(true, false);
    t.browser->reset();
    EXPECT_EQ(t.browser->group(), "All groups");
    EXPECT_EQ(t.browser->menu(MenuKind::Program).size(), 4u);

    t.browser->chooseGroup(t.menuIndex(MenuKind::Group, "User-defined"));
    EXPECT_EQ(t.browser->program(), "Global Commands");
    EXPECT_EQ(t.browser->scope(), "Global Commands");
}

TEST(Navigation, TheGlobalProgramOpensOnGlobalCommandsRatherThanAsleep) {
    BrowserHarness t;
    UserRow asleep;
    asleep.menu = asleep.state = kGlobalCommands;
    asleep.state = "Asleep";
    asleep.name = "wake up";
    asleep.type = "K";
    asleep.owner = kUserDefined;
    asleep.globalsort = "G";
    asleep.listsort = "C";
    asleep.sleeping = true;
    t.h.catalogue->appendRow(asleep);
    t.start();
    t.browser->chooseProgram(t.menuIndex(MenuKind::Program, "EXCEL"));
    t.browser->chooseProgram(0);
    EXPECT_EQ(t.browser->menu(MenuKind::Scope).values(), (Names{"Asleep", "Global Commands"}));
    EXPECT_EQ(t.browser->scope(), "Global Commands");
    // Asleep can still be chosen, and a View change keeps it.
    t.browser->chooseScope(0);
    EXPECT_EQ(t.entries(Tab::Commands), (Names{"wake up"}));
    t.browser->clickViewType('S');
    EXPECT_EQ(t.browser->scope(), "Asleep");
}

TEST(Navigation, AnEmptyCatalogueShowsOnlyTheFixedEntries) {
    BrowserHarness t(dat::buildFile(dat::Layout::V1011, {}, {}));
    t.start();
    EXPECT_TRUE(t.browser->menu(MenuKind::Program).empty());
    EXPECT_TRUE(t.browser->menu(MenuKind::Scope).empty());
    EXPECT_EQ(t.browser->menu(MenuKind::Group).values(), (Names{"-", "All groups"}));
    t.browser->chooseProgram(0);
    t.browser->chooseGroup(0); // the separator
    EXPECT_EQ(t.browser->program(), "Global Commands");
    EXPECT_EQ(t.entries(Tab::Commands), (Names{"Nothing to show"}));
    EXPECT_TRUE(t.browser->preview().body.empty());
}

TEST(ViewMenu, KeysTicksAndOnlyOneKeepTheSelectedCommand) {
    BrowserHarness t;
    t.start();
    ASSERT_TRUE(t.click(Tab::Commands, "say hello"));
    t.browser->clickViewType('K');
    EXPECT_EQ(t.entries(Tab::Commands), (Names{"formatted note", "record it", "run script",
                                               "say hello", "start <apps>", "step it"}));
    // The rebuilt list keeps the selected command.
    const auto& list = t.browser->list(Tab::Commands);
    EXPECT_EQ(list.entries.at(static_cast<std::size_t>(list.selected)), "say hello");
    EXPECT_EQ(t.browser->preview().name, "say hello");
    t.browser->clickViewType('S');
    t.browser->clickViewType('K');
    EXPECT_FALSE(t.browser->view().allTicked()); // SCRIPTs still unticked
    t.browser->clickViewType('S');
    EXPECT_TRUE(t.browser->view().allTicked());

    // Entries without a click action stay as they are.
    t.browser->clickViewType('T');
    EXPECT_TRUE(t.browser->view().ticked('T'));

    t.browser->clickViewOnlyOne('R');
    EXPECT_EQ(t.entries(Tab::Commands), (Names{"record it"}));
    EXPECT_TRUE(t.browser->view().ticked('R'));
    EXPECT_FALSE(t.browser->view().ticked('K'));
    EXPECT_FALSE(t.browser->view().allTicked());
    t.browser->clickViewAll();
    EXPECT_TRUE(t.browser->view().allTicked());
    EXPECT_TRUE(t.browser->view().legacyTicked());
    EXPECT_EQ(t.entries(Tab::Commands).size(), 9u);
}

TEST(Follow, CommandNamesCutIntoTextAndListReferences) {
    EXPECT_EQ(tokenizeCommandName("prescribe <medication> <dose>"),
              (Names{"prescribe ", "<medication>", " ", "<dose>"}));
    EXPECT_EQ(tokenizeCommandName("<a><b>x"), (Names{"<a>", "<b>", "x"}));
    EXPECT_EQ(tokenizeCommandName("go to <section"), (Names{"go to ", "<section"}));
    EXPECT_TRUE(tokenizeCommandName("").empty());
    EXPECT_EQ(listNamesOf(tokenizeCommandName("a <b> <c")), Names{"b"});
    std::string many;
    for (int i = 0; i < 40; ++i) {
        many += "<l" + std::to_string(i) + ">";
    }
    Names tokens = tokenizeCommandName(many);
    ASSERT_EQ(tokens.size(), kMaxFollowTokens);
    EXPECT_EQ(tokens.back(), "<l29>");
}

TEST(Menus, NumberingLeavesTheGroupTailAndTheValuesAlone) {
    SelectionMenu m;
    m.assign({"2 - Untitled", "Word"}, true);
    EXPECT_TRUE(m.number());
    EXPECT_FALSE(m.number());
    EXPECT_EQ(m.text(0), "1 - 2 - Untitled");
    EXPECT_EQ(m.value(0), "2 - Untitled");
    EXPECT_EQ(m.text(2), "-");
    EXPECT_EQ(m.text(3), "All groups");
    EXPECT_TRUE(m.isSeparator(2));
    EXPECT_EQ(m.numberedCount(), 2u);
    EXPECT_EQ(m.find("word"), 1u);
    EXPECT_EQ(m.find("nothing"), 0u);
    EXPECT_EQ(m.findFirst("nothing"), -1);
    EXPECT_EQ(globalFirst({"AAA", "BBB", "Global Commands", "ZZZ"}),
              (Names{"Global Commands", "AAA", "BBB", "ZZZ"}));
}

TEST(Navigation, AnotherFileBringsItsOwnMenusGroupAndRecentlyUsed) {
    BrowserHarness t;
    t.start();
    ASSERT_TRUE(t.click(Tab::Commands, "say hello"));
    t.browser->recordRecentlyUsed(false);
    t.browser->chooseGroup(t.menuIndex(MenuKind::Group, "User-defined"));
    ASSERT_EQ(t.browser->group(), "User-defined");

    std::string other = t.h.home.write(
        "other.dat", dat::buildFile(dat::Layout::V1011,
                                    {dat::applicationCommand("zoom in", "acrord32", dat::kTypeKeys,
                                                             dat::textBody("{Ctrl+=}"))},
                                    {}));
    auto opened = dat::openFile(*t.h.session, other);
    ASSERT_EQ(opened.status, dat::OpenResult::Status::Opened);
    t.browser->fileOpened(opened.program, opened.scope);
    EXPECT_EQ(t.browser->group(), "All groups");
    EXPECT_EQ(t.browser->menu(MenuKind::Program).values(), (Names{"ACRORD32"}));
    EXPECT_EQ(t.browser->program(), "ACRORD32");
    EXPECT_EQ(t.entries(Tab::Commands), (Names{"zoom in"}));
    EXPECT_EQ(t.browser->preview().name, "zoom in");
    // The recently-used table belongs to the file that was open.
    t.browser->changeTab(Tab::RecentlyModified);
    EXPECT_EQ(t.entries(Tab::RecentlyModified), (Names{"Nothing to show"}));
    EXPECT_EQ(t.browser->preview().body, "Please pick a different Program, Scope, View, or Group");

    opened = dat::openFile(*t.h.session, t.path);
    t.browser->fileOpened(opened.program, opened.scope);
    t.browser->changeTab(Tab::RecentlyModified);
    EXPECT_EQ(t.entries(Tab::RecentlyModified),
              (Names{recentEntryText("say hello", "Global Commands")}));
}
