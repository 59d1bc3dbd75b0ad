#include "browser/startup.h"
#include "datfile/builder.h"
#include "dragon/root_fixture.h"
#include "dragon/seed_files.h"
#include "editing/maintenance.h"
#include "platform/environment.h"

#include <gtest/gtest.h>

using namespace plv;
using browser::Startup;
using browser::StartupOptions;
using browser::StartupStatus;

namespace {

struct StartFixture {
    StartupOptions options(const std::string& argument = {}) const {
        StartupOptions o;
        o.home = dragon.home;
        o.dragonRoot = dragon.root;
        o.seedFolder = PARLAVISTA_SEED_SOURCE_DIR;
        o.argument = argument;
        return o;
    }
    // A whole program run: start, then shut down when started.
    browser::StartupResult runOnce(const std::string& argument = {},
                                   const browser::StartupHooks& hooks = {}) {
        Startup s(options(argument), ui);
        auto result = s.run(hooks);
        if (result.started()) {
            s.shutDown(result.placement);
        }
        return result;
    }
    std::string home(const std::string& name) const { return files::join(dragon.home, name); }
    std::string trace() const { return files::readAll(home("trace.plv")).value_or(""); }

    test::DemoDragon dragon;
    ScriptedInteraction ui;
};

// True when the labels appear in the text in this order.
bool inOrder(const std::string& text, const std::vector<std::string>& labels) {
    std::size_t at = 0;
    for (const auto& label : labels) {
        at = text.find(label, at);
        if (at == std::string::npos) {
            ADD_FAILURE() << "missing or out of order: " << label;
            return false;
        }
        at += label.size();
    }
    return true;
}

} // namespace

TEST(Startup, FirstStartSeedsTheFolderWritesTheSettingsAndParses) {
    StartFixture f;
    bool menusBuilt = false;
    browser::StartupHooks hooks;
    hooks.buildVoiceMenus = [&] {
        menusBuilt = true;
        std::string t = f.trace();
        EXPECT_TRUE(test::has(t, "after plvdns"));
        EXPECT_FALSE(test::has(t, "after voice commands"));
    };
    Startup s(f.options(), f.ui);
    auto r = s.run(hooks);
    ASSERT_TRUE(r.started());
    EXPECT_TRUE(menusBuilt);
    for (const char* name : {"keynames", "placer.dat", "proGlobal.dat", "global.mdb"}) {
        EXPECT_TRUE(files::exists(f.home(name))) << name;
    }
    EXPECT_TRUE(r.parsed);
    EXPECT_EQ(r.caption,
              "Parlavista - " + test::platformPath("../Demo/current/mycmds.dat") + " (10/11)");
    EXPECT_EQ(r.user, "Demo");
    EXPECT_EQ(r.restoreCaption, "Restore user 'Demo' &mycmds.dat");
    EXPECT_EQ(r.backupCaption, "Bac&kup user 'Demo' mycmds.dat");
    EXPECT_EQ(r.program, "WINWORD") << "the foreground window's document";
    EXPECT_EQ(r.scope, "Discharge Summary");
    EXPECT_EQ(r.group, "All groups");
    EXPECT_EQ(r.mergeProgram, files::join(f.dragon.dragonRoot().programFolder(),
                                          executableFileName("mergemycmds")));
    EXPECT_EQ(s.catalogue().parameter("InstallPath"), f.dragon.dragonRoot().programFolder());
    EXPECT_EQ(s.session().file.path, f.dragon.commandFile());
    EXPECT_EQ(s.standIns()->mic().timesShown(), 1);
    EXPECT_EQ(s.standIns()->engine().registeredWindow(), "Parlavista");
    EXPECT_EQ(r.fonts.listFont, "MS Sans Serif");
    EXPECT_EQ(r.fonts.fixedFont, "Courier New");
    EXPECT_EQ(r.fonts.size, 10);
    EXPECT_EQ(r.slider, 5);
    EXPECT_TRUE(r.numberMenus);
    EXPECT_EQ(r.placement.right, 576);
    EXPECT_FALSE(r.placement.maximized);

    Profile ini(f.home("Parlavista.INI"));
    for (auto [key, value] : {std::pair{"maximized", "0"},
                              {"form top", "50"},
                              {"form left", "50"},
                              {"form right", "576"},
                              {"form bottom", "634"},
                              {"swap user", "ParlavistaSwapUser"},
                              {"save user", "Ask"},
                              {"no convert keys help", "0"},
                              // The offers were made and answered No.
                              {"dont show auto import", "-1"},
                              {"dont show auto import reg", "-1"},
                              {"dont show reopen user", "False"},
                              {"dont show faster reopen user", "False"},
                              {"dont show roam save user", "False"},
                              {"slider", "5"},
                              {"number menus", "True"},
                              {"font", "MS Sans Serif"},
                              {"fontsize", "10"},
                              {"fixedfont", "Courier New"}}) {
        EXPECT_EQ(ini.get("Parlavista", key), value) << key;
    }
    EXPECT_EQ(ini.get(f.dragon.commandFile(), "mrucount"), "0");

    EXPECT_TRUE(inOrder(f.trace(), {" 0.",
                                    "after open db",
                                    "after open user",
                                    "after open parameters",
                                    "after open dvcmap",
                                    "after open states",
                                    "after register",
                                    "before OS",
                                    "after plvdns",
                                    "after voice commands",
                                    "b4 processing",
                                    "binary done",
                                    "before getoptions",
                                    "after getoptions",
                                    "after window placement",
                                    "before form 2 load",
                                    "command line:",
                                    "state name: Discharge Summary",
                                    "after state name",
                                    "foundstate:  Discharge Summary",
                                    "form load 2 done"}));
    s.shutDown(r.placement);
    EXPECT_FALSE(s.loaded());

    auto second = f.runOnce();
    ASSERT_TRUE(second.started());
    EXPECT_FALSE(second.parsed) << "the catalogue is current";
}

TEST(Startup, ASecondInstanceRefusesToStart) {
    StartFixture f;
    Startup first(f.options(), f.ui);
    ASSERT_TRUE(first.run().started());
    ScriptedInteraction ui2;
    Startup second(f.options(), ui2);
    EXPECT_EQ(second.run().status, StartupStatus::AlreadyRunning);
    EXPECT_TRUE(ui2.sawMessage("Parlavista is already running", "Parlavista"));
    EXPECT_TRUE(first.catalogue().hasCommands()) << "the first instance is untouched";
    first.shutDown({});
    Startup third(f.options(), ui2);
    EXPECT_TRUE(third.run().started()) << "the lock goes with the first instance";
    third.shutDown({});

    // A lock that cannot be made is not another running program.
    StartFixture g;
    files::makeDirectories(files::join(g.dragon.home, "Parlavista.lock"));
    Startup blocked(g.options(), g.ui);
    EXPECT_EQ(blocked.run().status, StartupStatus::Exit);
    EXPECT_FALSE(g.ui.sawMessage("Parlavista is already running"));
    ASSERT_FALSE(g.ui.shown().empty());
    EXPECT_EQ(g.ui.shown().back().text.rfind("Cannot write to the program folder: ", 0), 0u);
}

TEST(Startup, FailuresEndTheStartWithTheirMessage) {
    {
        StartFixture f;
        ASSERT_TRUE(f.runOnce().started());
        files::remove(f.home("global.mdb"));
        EXPECT_EQ(f.runOnce().status, StartupStatus::Exit);
        EXPECT_TRUE(f.ui.sawMessage("Required Parlavista file global.mdb missing--reinstall",
                                    f.home("global.mdb")));
        EXPECT_FALSE(files::exists(f.home("global.mdb"))) << "a later start does not recreate it";
    }
    {
        StartFixture f;
        f.dragon.setEngine("product flags", "15");
        EXPECT_EQ(f.runOnce().status, StartupStatus::Exit);
        EXPECT_TRUE(f.ui.sawMessage(
            "Parlavista only supported with Professional Series versions of NaturallySpeaking "
            "(Pro,Medical,Legal,Public Safety)\nIf you have reached this message in error, "
            "please\nsend your dragon.log file to Brinmoor"));
    }
    {
        StartFixture f;
        files::remove(f.dragon.engine());
        EXPECT_EQ(f.runOnce().status, StartupStatus::Exit);
        EXPECT_FALSE(f.ui.shown().empty());
    }
    {
        StartFixture f;
        std::string image = *files::readAll(f.dragon.commandFile());
        files::writeAll(f.dragon.commandFile(), image.substr(0, image.size() / 2));
        EXPECT_EQ(f.runOnce().status, StartupStatus::Exit);
        EXPECT_TRUE(f.ui.sawMessage(
            "I'm sorry.  Parlavista cannot correctly parse this file.\nPlease send your file "
            "above to Brinmoor. Please send at least:\n\n" +
                f.home("error.log and trace.plv"),
            f.dragon.commandFile()));
        EXPECT_TRUE(files::exists(f.home("error.log")));
    }
    {
        StartFixture f;
        files::remove(f.dragon.commandFile());
        EXPECT_EQ(f.runOnce().status, StartupStatus::Exit);
        EXPECT_TRUE(f.ui.sawMessage("Required NatSpeak file missing--cannot continue",
                                    f.dragon.commandFile()));
    }
    {
        StartFixture f;
        StartupOptions o = f.options();
        o.dragonRoot = std::string();
        setEnvironmentVariable("PARLAVISTA_DRAGON_ROOT", std::nullopt);
        Startup s(o, f.ui);
        EXPECT_EQ(s.run().status, StartupStatus::Exit);
        ASSERT_EQ(f.ui.shown().size(), 1u);
        EXPECT_EQ(f.ui.shown()[0].title, "Unable to continue");
    }
}

TEST(Startup, YesterdaysTraceIsStartedAnewTodaysContinuedAKilledWritesFileRemoved) {
    StartFixture f;
    files::makeDirectories(f.dragon.home);
    files::writeAll(f.home("trace.plv"), "an old line\r\n");
    files::setLastModified(f.home("trace.plv"), files::now() - 86400LL * 1000000000LL);
    ASSERT_TRUE(f.runOnce().started());
    EXPECT_FALSE(test::has(f.trace(), "an old line"));
    std::string first = f.trace();
    std::string leftover =
        files::join(files::parentFolder(f.dragon.commandFile()), "mycmds.Parlavista");
    files::writeAll(leftover, "half a command file");
    ASSERT_TRUE(f.runOnce().started());
    EXPECT_FALSE(files::exists(leftover));
    EXPECT_EQ(f.trace().substr(0, first.size()), first);
    EXPECT_GT(f.trace().size(), first.size());
}

TEST(Startup, AnotherDragonUserMeansAFullParseOfTheirFile) {
    StartFixture f;
    ASSERT_TRUE(f.runOnce().started());
    std::string locum = dat::buildFile(
        dat::Layout::V1011,
        {dat::globalCommand("locum signature", dat::kTypeKeys, dat::textBody("Dr A Locum"))}, {});
    f.dragon.addUser("Locum", locum);
    // Give the new file the stored time of the old one: only the user change can tell.
    files::setLastModified(f.dragon.commandFile("Locum"),
                           *files::lastModified(f.dragon.commandFile()));
    f.dragon.set(f.dragon.nsuser(), "Settings", "Current User", "Locum");
    f.dragon.setEngine("current speaker", "Locum");

    Startup s(f.options(), f.ui);
    auto r = s.run();
    ASSERT_TRUE(r.started());
    EXPECT_TRUE(r.parsed);
    EXPECT_EQ(r.user, "Locum");
    EXPECT_EQ(s.catalogue().countCommands(), 1);
    EXPECT_EQ(s.catalogue().parameter("UserName"), "Locum");
    EXPECT_EQ(r.program, "Global Commands");
}

TEST(Startup, TheCommandLineOrTheWindowInFrontChoosesTheFileOrTheProgram) {
    StartFixture f;
    auto global = f.runOnce("\"GLOBAL commands\"");
    ASSERT_TRUE(global.started());
    EXPECT_EQ(global.program, "Global Commands");
    EXPECT_EQ(global.scope, "Global Commands");
    EXPECT_TRUE(test::has(f.trace(), "command line: Global Commands"));

    std::string other = f.dragon.dir.write(
        "other.dat", dat::buildFile(dat::Layout::V89,
                                    {dat::applicationCommand("zoom in", "acrord32", dat::kTypeKeys,
                                                             dat::textBody("{Ctrl+=}"))},
                                    {}));
    auto opened = f.runOnce("\"" + other + "\"");
    ASSERT_TRUE(opened.started());
    EXPECT_EQ(opened.caption, "Parlavista - " + other + " (8/9)");
    EXPECT_EQ(opened.program, "ACRORD32");
    EXPECT_EQ(opened.scope, "Application-specific");
    EXPECT_FALSE(opened.fileUser);
    EXPECT_EQ(f.runOnce().program, "WINWORD") << "the next start is on the user's file again";

    // No Scope matches the window in front: its owner gives the Program.
    const std::string excel = "C:\\Program Files\\Microsoft Office\\Office14\\EXCEL.EXE";
    f.dragon.set(f.dragon.engine(), "Window Owners", "Budget.xlsx - Microsoft Excel", excel);
    f.dragon.setEngine("foreground window", "Budget.xlsx - Microsoft Excel");
    auto owned = f.runOnce();
    EXPECT_EQ(owned.program, "EXCEL");
    EXPECT_EQ(owned.scope, "Application-specific");
    // A title given on the command line is looked up the same way, but the owner asked
    // about is still the window that was in front.
    auto named = f.runOnce("Quarterly figures");
    EXPECT_EQ(named.program, "EXCEL");
    EXPECT_EQ(named.scope, "Application-specific");
}

TEST(Startup, ImportOffersMergeTheSeedCommandsIntoTheUsersFile) {
    StartFixture f;
    std::vector<browser::ImportOffer> offered;
    browser::StartupHooks skip;
    skip.offerImport = [&](browser::ImportOffer o) {
        offered.push_back(o);
        return false;
    };
    auto before = files::readAll(f.dragon.commandFile());
    ASSERT_TRUE(f.runOnce({}, skip).started());
    EXPECT_EQ(offered.size(), 2u);
    EXPECT_EQ(files::readAll(f.dragon.commandFile()), before) << "skipping changes nothing";
    ASSERT_TRUE(f.runOnce({}, skip).started());
    EXPECT_EQ(offered.size(), 2u) << "a No is not asked again";

    // The Help menu still offers both.
    Startup s(f.options(), f.ui);
    ASSERT_TRUE(s.run(skip).started());
    f.ui.answerYes(true);
    f.ui.answerYes(true);
    EXPECT_TRUE(s.importOffered(browser::ImportOffer::StartCommands));
    EXPECT_TRUE(s.importOffered(browser::ImportOffer::MacroSet));
    EXPECT_TRUE(f.ui.sawMessage("Commands imported successfully. You may now use the commands "
                                "above to bring up Parlavista",
                                "'global parla vista' and 'local parla vista'"));
    EXPECT_TRUE(f.ui.sawMessage(
        "Commands imported successfully. Use Program, Parlavista to examine your new macros",
        "You may also use the Group menu (PLVControl and PLVMacros)"));
    EXPECT_TRUE(s.catalogue().findCommand(kGlobalCommands, kGlobalCommands, "local parla vista"));
    EXPECT_TRUE(s.catalogue().findCommand("PARLAVISTA", kApplicationSpecific, "file open"));
    EXPECT_FALSE(s.importOffered(browser::ImportOffer::MacroSet));
    EXPECT_TRUE(f.ui.sawMessage("These commands are already in your command file."));
    s.shutDown({});

    // Present commands are not offered, whatever the settings say.
    for (const char* key : {"dont show auto import", "dont show auto import reg"}) {
        f.dragon.set(f.home("Parlavista.INI"), "Parlavista", key, "False");
    }
    browser::StartupHooks accept;
    accept.offerImport = [&](browser::ImportOffer o) {
        offered.push_back(o);
        return true;
    };
    offered.clear();
    ASSERT_TRUE(f.runOnce({}, accept).started());
    EXPECT_TRUE(offered.empty());

    StartFixture noSeed;
    ASSERT_TRUE(noSeed.runOnce({}, skip).started());
    files::remove(noSeed.home(dragon::kStartCommandsFile));
    noSeed.dragon.set(noSeed.home("Parlavista.INI"), "Parlavista", "dont show auto import",
                      "False");
    // The seed file comes back at the next start; damage it instead.
    std::string damaged = files::join(noSeed.dragon.dir.path(), "seed");
    files::makeDirectories(damaged);
    files::writeAll(files::join(damaged, dragon::kStartCommandsFile), "LHSP");
    StartupOptions o = noSeed.options();
    o.seedFolder = damaged;
    Startup broken(o, noSeed.ui);
    ASSERT_TRUE(broken.run(accept).started());
    EXPECT_TRUE(noSeed.ui.sawMessage("Sorry, I could not import these commands after all",
                                     "Please inform Brinmoor"));
    EXPECT_EQ(broken.settings().read("dont show auto import", ""), "False")
        << "a failed import is offered again";
}

TEST(Startup, ShutDownStoresThePlacementAndCompactsAndAFileResetIsUndoneAtTheNextStart) {
    StartFixture f;
    Startup s(f.options(), f.ui);
    auto r = s.run();
    ASSERT_TRUE(r.started());
    // Grow the database past the threshold with rows that are gone again.
    s.catalogue().execute("CREATE TABLE ballast (x BLOB)");
    s.catalogue().execute("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                          "WHERE i < 800) INSERT INTO ballast SELECT zeroblob(4096) FROM n");
    s.catalogue().execute("DROP TABLE ballast");
    ASSERT_GT(*files::size(f.home("global.mdb")), editing::kCompactThreshold);
    s.shutDown({10, 20, 700, 650, true});
    EXPECT_LT(*files::size(f.home("global.mdb")), editing::kCompactThreshold);
    EXPECT_TRUE(inOrder(f.trace(), {"form load 2 done", "b4 compact db", "after compact"}));

    Profile ini(f.home("Parlavista.INI"));
    EXPECT_EQ(ini.get("Parlavista", "form left"), "10");
    EXPECT_EQ(ini.get("Parlavista", "form top"), "20");
    EXPECT_EQ(ini.get("Parlavista", "form right"), "700");
    EXPECT_EQ(ini.get("Parlavista", "form bottom"), "650");
    EXPECT_EQ(ini.get("Parlavista", "maximized"), "1");
    auto again = f.runOnce();
    ASSERT_TRUE(again.started());
    EXPECT_FALSE(again.parsed) << "the compacted catalogue is still current";
    EXPECT_TRUE(again.placement.maximized);
    EXPECT_EQ(again.placement.left, 10);

    // After a file reset the next start finds the Dragon user afresh and parses.
    {
        Startup reset(f.options(), f.ui);
        ASSERT_TRUE(reset.run().started());
        f.ui.answerYes(true);
        EXPECT_EQ(editing::fileReset(reset.session()), dat::Outcome::ProgramEnds);
        reset.shutDown({});
    }
    Startup fresh(f.options(), f.ui);
    ASSERT_TRUE(fresh.run().parsed);
    EXPECT_EQ(fresh.catalogue().parameter("UserName"), "Demo");
    EXPECT_EQ(fresh.catalogue().parameter("language"), "ENX");
}

TEST(Startup, FilePropertiesParsesAnEmptyCatalogueFirst) {
    StartFixture f;
    Startup s(f.options(), f.ui);
    ASSERT_TRUE(s.run().started());
    EXPECT_FALSE(browser::showFileProperties(s.session()));
    const auto& shown = f.ui.shown().back();
    EXPECT_EQ(shown.title, f.dragon.commandFile());
    EXPECT_EQ(shown.text.substr(0, 10 + f.dragon.commandFile().size()),
              "Filename:\n" + f.dragon.commandFile());
    EXPECT_TRUE(test::has(shown.text, "#Commands:  80\n#Lists:            7"));

    s.catalogue().execute(R"(DELETE FROM "user")");
    EXPECT_TRUE(browser::showFileProperties(s.session()));
    EXPECT_TRUE(test::has(f.ui.shown().back().text, "#Commands:  80"));
}
