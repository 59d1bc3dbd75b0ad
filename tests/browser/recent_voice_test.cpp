#include "browser/slider.h"
#include "browser_fixture.h"

#include <gtest/gtest.h>

using namespace plv;
using namespace plv::browser;
using plv::test::BrowserHarness;

using Names = std::vector<std::string>;

TEST(RecentlyUsed, UpdatesMoveEntriesUpAndKeepThirteen) {
    test::TempDir home;
    Settings settings(home.path());
    RecentlyUsed mru(settings);
    mru.load("/users/a/mycmds.dat");
    EXPECT_EQ(settings.read("mrucount", "", "/users/a/mycmds.dat"), "0");
    mru.update("P", "S", "one", "K", true);
    mru.update("P", "S", "two", "K", true);
    mru.update("P", "S", "one", "K", true);
    EXPECT_EQ(mru.entries(), (Names{"P\tS\tone", "P\tS\ttwo"}));
    mru.update("WINWORD", "S", "fonts", "L", true);
    EXPECT_EQ(mru.entries()[0], "Global Commands\tGlobal Commands\tfonts");

    for (int i = 0; i < 14; ++i) {
        mru.update("P", "S", "c" + std::to_string(i), "K", true);
    }
    EXPECT_EQ(mru.count(), 13);
    EXPECT_EQ(mru.entries().front(), "P\tS\tc13");
    EXPECT_EQ(mru.entries().back(), "P\tS\tc1");

    // Stored per file: another file has its own list, and a restart reads it back.
    RecentlyUsed other(settings);
    other.load("/users/b/mycmds.dat");
    EXPECT_EQ(other.count(), 0);
    Settings again(home.path());
    RecentlyUsed reread(again);
    reread.load("/users/a/mycmds.dat");
    EXPECT_EQ(reread.entries(), mru.entries());
}

TEST(RecentlyUsed, OutputDropsVanishedAndBadEntriesForGood) {
    BrowserHarness t;
    t.start();
    ASSERT_TRUE(t.click(Tab::Commands, "say hello"));
    t.browser->recordRecentlyUsed(true);
    ASSERT_TRUE(t.click(Tab::Commands, "open mail"));
    t.browser->recordRecentlyUsed(true);
    t.settings->write("3", "no tabs here", t.path);
    t.settings->write("mrucount", "3", t.path);
    t.browser->loadRecentlyUsed();

    t.browser->changeTab(Tab::RecentlyModified);
    EXPECT_EQ(t.entries(Tab::RecentlyModified),
              (Names{recentEntryText("open mail", "Global Commands"),
                     recentEntryText("say hello", "Global Commands")}));

    // Renamed: still listed until the next output step, and previews as gone.
    auto row = t.h.catalogue->findCommand(kGlobalCommands, kGlobalCommands, "say hello");
    row->name = "say hi";
    t.h.catalogue->updateRow(*row);
    ASSERT_TRUE(t.click(Tab::RecentlyModified, "say hello"));
    EXPECT_EQ(t.browser->preview().body.rfind("This command is no longer available.", 0), 0u);
    EXPECT_FALSE(t.browser->preview().enabled.modify);

    t.browser->outputRecentlyUsed();
    EXPECT_EQ(t.browser->recentlyUsed().entries(),
              (Names{"Global Commands\tGlobal Commands\topen mail"}));
    std::string trace = t.h.trace.text();
    EXPECT_TRUE(test::has(trace, "MRUOutput"));
    EXPECT_TRUE(test::has(trace, "mru not found"));
    EXPECT_TRUE(test::has(trace, "BAD MRU - no tabs here"));
    EXPECT_TRUE(test::has(trace, "MRUcount= 1"));

    Settings again(t.h.home.path());
    EXPECT_EQ(again.read("mrucount", "", t.path), "1");
    EXPECT_FALSE(again.profile().get(t.path, "2"));
    EXPECT_EQ(t.entries(Tab::RecentlyModified),
              (Names{recentEntryText("open mail", "Global Commands")}));
}

TEST(Voice, MenusAreRegisteredAndRecognitionsHandled) {
    BrowserHarness t;
    t.start();
    const auto* main = t.voice.findMenu("Parlavista", "Parlavista");
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(main->application, "Parlavista");
    EXPECT_EQ(main->language, 1033);
    EXPECT_EQ(main->dialect, "");
    EXPECT_EQ(main->flags, 1);
    EXPECT_EQ(main->boundWindow, "Parlavista");
    EXPECT_TRUE(main->active);
    const std::pair<const char*, int> handled[] = {{"commands", 1},
                                                   {"lists", 2},
                                                   {"recently created", 3},
                                                   {"recently modified", 4},
                                                   {"slider <slidernumbers>", 5}};
    for (const auto& [spoken, id] : handled) {
        ASSERT_NE(main->find(spoken), nullptr) << spoken;
        EXPECT_EQ(main->find(spoken)->id, id);
        EXPECT_EQ(main->find(spoken)->category, "Spoken controls");
        EXPECT_FALSE(main->find(spoken)->script);
    }
    EXPECT_EQ(main->find("all groups")->script, R"(SendKeys "{Alt+g}{up}{enter}")");
    EXPECT_EQ(main->find("group all groups")->id, 8);
    EXPECT_EQ(main->lists.at("slidernumbers"),
              (Names{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}));
    EXPECT_EQ(main->find("scope <statenumbers>")->script,
              R"(SendKeys "{Alt+s}{down " & _arg1 & "}{up}{enter}")");

    // The browser listens from the moment its voice menus exist.
    t.voice.inject(2, "lists");
    EXPECT_EQ(t.browser->tab(), Tab::Lists);
    t.voice.inject(4, "recently modified");
    EXPECT_EQ(t.browser->tab(), Tab::RecentlyModified);
    t.voice.inject(1, "commands");
    EXPECT_EQ(t.browser->tab(), Tab::Commands);
    t.voice.inject(5, "slider 3");
    EXPECT_EQ(t.browser->slider(), 3);
    EXPECT_EQ(t.settings->read("slider", ""), "3");
    t.voice.inject(5, "slider x");
    t.voice.inject(6, "program 2");
    EXPECT_EQ(t.browser->slider(), 3);
    EXPECT_EQ(t.browser->tab(), Tab::Commands);
}

TEST(Slider, SettingRangeAndTabAreaRule) {
    BrowserHarness t;
    t.settings->write("slider", "42");
    t.start();
    EXPECT_EQ(t.browser->slider(), 10);
    t.browser->setSlider(0);
    EXPECT_EQ(t.browser->slider(), 1);
    EXPECT_EQ(t.settings->read("slider", ""), "1");
    EXPECT_EQ(tabAreaHeight(400, 5, 23), 223);
    EXPECT_EQ(tabAreaHeight(400, 10, 23), 423);
    EXPECT_EQ(tabAreaHeight(400, 0, 23), 63);
}

TEST(Browser, TheObserverHearsOnceForEachOperation) {
    BrowserHarness t;
    int calls = 0;
    t.browser->setObserver([&] { ++calls; });
    t.start();
    calls = 0;
    t.browser->chooseProgram(t.menuIndex(MenuKind::Program, "WINWORD"));
    EXPECT_EQ(calls, 1);
    auto before = t.browser->revisions().menus;
    t.browser->clickEntry(Tab::Commands, 99);
    EXPECT_EQ(calls, 1);
    t.browser->menuOpened(MenuKind::Scope);
    EXPECT_EQ(calls, 2);
    EXPECT_NE(t.browser->revisions().menus, before);
}
