#include "dragon/environment.h"
#include "dragon/root_fixture.h"
#include "dragon/stand_in.h"
#include "platform/environment.h"
#include "support/file_rights.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace plv;

namespace {

// The environment over a demo root, with the catalogue file in the program folder.
struct Discovery {
    // Without the database file, the catalogue lives in memory: a file SQLite holds open
    // cannot be deleted on Windows.
    explicit Discovery(bool databaseFile = true) {
        files::makeDirectories(dragon.home);
        catalogue = std::make_unique<Catalogue>(
            databaseFile ? files::join(dragon.home, "global.mdb") : std::string(":memory:"));
        trace.open(dragon.home);
    }
    bool open() {
        engine = std::make_unique<dragon::StandInEngine>(dragon.engine());
        env = std::make_unique<dragon::DragonEnvironment>(
            dragon::DragonEnvironment::foldersOf(dragon.dragonRoot()), *engine, ui, trace);
        return env->ProductionOpen(*catalogue, dragon.home);
    }
    const dragon::DragonProperties& p() const { return env->properties(); }

    test::DemoDragon dragon;
    ScriptedInteraction ui;
    Trace trace;
    std::unique_ptr<Catalogue> catalogue;
    std::unique_ptr<dragon::StandInEngine> engine;
    std::unique_ptr<dragon::DragonEnvironment> env;
};

} // namespace

TEST(DragonEnvironment, FindsTheDemoInstallationAndItsUser) {
    Discovery d;
    ASSERT_TRUE(d.open());
    EXPECT_TRUE(d.ui.shown().empty());
    const auto& p = d.p();
    EXPECT_EQ(p.DataBaseName, "global.mdb");
    EXPECT_EQ(p.MajorVersion, 11);
    EXPECT_EQ(p.MinorVersion, 5);
    EXPECT_EQ(p.version, "11.50.100.200");
    EXPECT_EQ(p.edition, "Professional");
    EXPECT_EQ(p.SystemFilename, d.dragon.nssystem());
    EXPECT_EQ(p.logfilename, d.dragon.log());
    EXPECT_EQ(p.userSettingsFile, d.dragon.nsuser());
    EXPECT_EQ(p.BaseDirectory, d.dragon.dragonRoot().programFolder());
    EXPECT_EQ(p.UserBaseDirectory, d.dragon.users());
    EXPECT_EQ(p.UserName, "Demo");
    EXPECT_EQ(p.CurrentPath, d.dragon.current());
    EXPECT_EQ(p.SpeakerLanguageID, "1033");
    EXPECT_EQ(p.language, "ENX");
    EXPECT_EQ(p.GeneralPath, files::join(d.dragon.common(), "Data/ENX/general"));
    EXPECT_EQ(p.wordpath, files::join(d.dragon.common(), "Data/ENX/nlcwrd97"));
    EXPECT_FALSE(p.RoamingOn);
    EXPECT_FALSE(p.IsRoamingUser);
    EXPECT_EQ(p.BasePath, d.dragon.dragonRoot().commonAppData());
    EXPECT_EQ(p.applicationpath, d.dragon.common());
    EXPECT_EQ(p.operatingSystem, systemFamily());
    EXPECT_EQ(d.catalogue->parameter("UserName"), "Demo");
    EXPECT_EQ(d.catalogue->parameter("language"), "ENX");

    EXPECT_EQ(d.env->currentUserCommandFile(), d.dragon.commandFile());
    EXPECT_EQ(d.env->directoryPrefix(), d.dragon.users());
    // Names that differ in letter case name two files or one, as the file system has it.
    std::string shouted =
        files::join(d.dragon.users(), test::platformPath("DEMO/Current/MYCMDS.DAT"));
    EXPECT_EQ(d.env->isCurrentUserFile(shouted), test::namesIgnoreLetterCase());
    EXPECT_EQ(d.env->userOfCommandFile(shouted).has_value(), test::namesIgnoreLetterCase());
    EXPECT_FALSE(d.env->isCurrentUserFile(d.dragon.dir.file("mycmds.dat")));
    // Reached through a linked folder, it is Dragon's file all the same.
    if (test::symbolicLinksPossible()) {
        std::string link = d.dragon.dir.file("linked-current");
        std::filesystem::create_directory_symlink(d.dragon.current(), link);
        EXPECT_TRUE(d.env->isCurrentUserFile(files::join(link, "mycmds.dat")));
    }
    EXPECT_FALSE(d.env->userOfCommandFile(d.dragon.dir.file("current/mycmds.dat")));
    d.env->setInstallPath("/opt/dragon");
    EXPECT_EQ(d.catalogue->parameter("InstallPath"), "/opt/dragon");

    std::string trace = d.trace.text();
    for (const std::string& label : std::vector<std::string>{
             "before OS", "OS:  " + systemFamily(), "systemfilename: ", "logfilename: ",
             "currentuserfilename: ", "dvcpath: ", "User:  Demo", "user base directory: ",
             "speaker language ID:  1033", "current user is roaming false"}) {
        EXPECT_TRUE(test::has(trace, label)) << label;
    }
}

TEST(DragonEnvironment, AcceptsOnlyTheVersionsOfDragon11) {
    struct Case {
        int minor;           // the engine's
        const char* logLine; // a version line here overrides the engine's numbers
        bool accepted;
        int shownMinor;
        const char* version;
    };
    for (const Case& c :
         {Case{50, "", true, 5, "*.*"},
          {0, "", true, 0, "*.*"},
          {10, "", true, 1, "*.*"},
          {90, "", true, 9, "*.*"},
          {30, "", false, 3, "*.*"},
          {70, "", false, 7, "*.*"},
          {50, "Dragon Medical Version 11.00.200.031", true, 0, "11.00.200.031"},
          {50, "Dragon Legal Version 11.50.100.123", true, 5, "11.50.100.123"},
          {50, "x Dragon NaturallySpeaking Version 11.10.1 (SP1)", true, 1, "11.10.1 (SP1)"}}) {
        SCOPED_TRACE(std::to_string(c.minor) + " " + c.logLine);
        Discovery d;
        d.dragon.setEngine("minor", std::to_string(c.minor));
        files::writeAll(d.dragon.log(),
                        std::string("boot\r\n") + c.logLine + "\r\nEdition: Legal\r\n");
        EXPECT_EQ(d.open(), c.accepted);
        EXPECT_EQ(d.env->failed(), !c.accepted);
        EXPECT_EQ(d.p().MinorVersion, c.shownMinor);
        EXPECT_EQ(d.ui.sawMessage("Unknown NaturallySpeaking version", "Unable to continue"),
                  !c.accepted);
        if (c.accepted) {
            EXPECT_EQ(d.p().version, c.version);
            EXPECT_EQ(d.p().edition, "Legal");
        }
    }
    Discovery old;
    old.dragon.setEngine("major", "10");
    EXPECT_FALSE(old.open());
    EXPECT_TRUE(old.ui.sawMessage("Parlavista can only work with version 11 of NaturallySpeaking",
                                  "Sorry"));
}

TEST(DragonEnvironment, MissingSettingsFilesAndAnUnknownSystemStopStartUp) {
    Discovery d;
    files::remove(d.dragon.nssystem());
    EXPECT_FALSE(d.open());
    EXPECT_TRUE(d.ui.sawMessage("Expected file not found:\n" + d.dragon.nssystem(),
                                "Report this to Brinmoor, send 'trace.plv'"));
    EXPECT_TRUE(d.ui.sawMessage("Cannot find required file"));
    EXPECT_TRUE(test::has(d.trace.text(), d.dragon.nssystem() + " does not exist"));

    Discovery noUser;
    files::remove(noUser.dragon.nsuser());
    EXPECT_FALSE(noUser.open());
    EXPECT_TRUE(noUser.ui.sawMessage("Expected file not found:\n" + noUser.dragon.nsuser()));
    EXPECT_TRUE(
        noUser.ui.sawMessage("No User detected, cannot continue", "Have you trained any Users?"));

    Discovery noDatabase(false);
    EXPECT_FALSE(noDatabase.open());
    std::string db = files::join(noDatabase.dragon.home, "global.mdb");
    EXPECT_TRUE(noDatabase.ui.sawMessage("Required file " + db + " missing--reinstall"));

    Discovery beos;
    beos.engine = std::make_unique<dragon::StandInEngine>(beos.dragon.engine());
    beos.env = std::make_unique<dragon::DragonEnvironment>(
        dragon::DragonEnvironment::foldersOf(beos.dragon.dragonRoot()), *beos.engine, beos.ui,
        beos.trace);
    beos.env->setOperatingSystem("BeOS");
    EXPECT_FALSE(beos.env->ProductionOpen(*beos.catalogue, beos.dragon.home));
    EXPECT_TRUE(
        beos.ui.sawMessage("Unable to determine your Operating System", "Unable to continue"));
    EXPECT_TRUE(
        beos.ui.sawMessage("Please send the file 'trace.plv' to Brinmoor", "This may assist him"));
    EXPECT_TRUE(dragon::isSupportedOperatingSystem("Windows 7"));
    EXPECT_TRUE(dragon::isSupportedOperatingSystem("Linux"));
}

TEST(DragonEnvironment, RoamingValuesAndADefaultSpeakerLanguage) {
    Discovery d;
    std::string cache = d.dragon.dir.file("roaming/cache");
    d.dragon.set(d.dragon.nssystem(), "Settings", "Roaming User On", "1");
    d.dragon.set(d.dragon.nssystem(), "Settings", "Roaming User Local Cache Directory", cache);
    files::writeAll(files::join(d.dragon.current(), "options.ini"), "[Options]\nother=1\n");
    ASSERT_TRUE(d.open());
    EXPECT_EQ(d.p().SpeakerLanguageID, "0") << "no language in the options";
    EXPECT_TRUE(test::has(d.trace.text(), "speaker language ID:  0"));
    EXPECT_TRUE(d.p().RoamingOn);
    EXPECT_EQ(d.p().RoamingCacheDirectory, cache);
    EXPECT_EQ(d.p().RoamingDirectory, d.dragon.dir.file("roaming/roamingusers"))
        << "an empty master directory lies beside the cache";
    EXPECT_FALSE(d.p().IsRoamingUser);

    Discovery opened;
    std::string master = opened.dragon.dir.file("master");
    std::string localCache = opened.dragon.dir.file("cache");
    opened.dragon.set(opened.dragon.nssystem(), "Settings", "Roaming User On", "1");
    opened.dragon.set(opened.dragon.nssystem(), "Settings", "Roaming User Master Directory",
                      master);
    opened.dragon.set(opened.dragon.nssystem(), "Settings", "Roaming User Local Cache Directory",
                      localCache);
    opened.dragon.set(files::join(localCache, "Demo/current/local.ini"), "Options",
                      "Roaming User Opened No Master", "1");
    ASSERT_TRUE(opened.open());
    EXPECT_EQ(opened.p().RoamingDirectory, master);
    EXPECT_TRUE(opened.p().IsRoamingUser);
    EXPECT_TRUE(test::has(opened.trace.text(), "roaming user mastery directory " + master));

    Discovery flagged;
    flagged.dragon.set(flagged.dragon.nsuser(), "Settings", "Roaming User Current User Is Roaming",
                       "1");
    ASSERT_TRUE(flagged.open());
    EXPECT_TRUE(flagged.p().IsRoamingUser);
    EXPECT_TRUE(test::has(flagged.trace.text(), "current user is roaming true"));
}

TEST(DragonEnvironment, AnotherUserEmptiesTheCatalogue) {
    Discovery d;
    ASSERT_TRUE(d.open());
    UserRow row;
    row.menu = kGlobalCommands;
    row.state = kGlobalCommands;
    row.name = "kept while the user stays";
    row.type = "K";
    d.catalogue->insertRow(row);
    d.catalogue->setParameter("mycmdstime", std::string("2011-03-15 08:00:00.000000000"));
    d.catalogue->setParameter("dvcmaptime", std::string("2011-03-15 08:00:00.000000000"));

    ASSERT_TRUE(d.open());
    EXPECT_EQ(d.catalogue->allRows().size(), 1u);
    EXPECT_TRUE(d.catalogue->parameter("mycmdstime"));

    d.dragon.set(d.dragon.nsuser(), "Settings", "Current User", "Locum");
    d.dragon.addUser("Locum", "");
    // Asking about a file reads the current user afresh.
    EXPECT_FALSE(d.env->isCurrentUserFile(d.dragon.commandFile()));
    EXPECT_TRUE(d.env->isCurrentUserFile(d.dragon.commandFile("Locum")));
    ASSERT_TRUE(d.open());
    EXPECT_EQ(d.p().UserName, "Locum");
    EXPECT_EQ(d.p().CurrentPath, d.dragon.current("Locum"));
    EXPECT_TRUE(d.catalogue->allRows().empty());
    EXPECT_FALSE(d.catalogue->parameter("mycmdstime"));
    EXPECT_FALSE(d.catalogue->parameter("dvcmaptime"));
    EXPECT_EQ(d.catalogue->parameter("UserName"), "Locum");
    EXPECT_EQ(d.catalogue->parameter("UserSub"), "Locum");
    EXPECT_TRUE(test::has(d.trace.text(), "User:  Locum"));
}

TEST(DragonRoot, CommonFolderOnSystemsWithoutOne) {
    EXPECT_EQ(dragon::commonFolderFromUserFolder("C:\\WINDOWS\\Profiles\\helen\\Application Data"),
              "C:\\WINDOWS\\Profiles\\All Users\\Application Data");
    EXPECT_EQ(dragon::commonFolderFromUserFolder("C:\\Windows\\APPLICATION DATA"),
              "C:\\Windows\\all users\\APPLICATION DATA");
    EXPECT_EQ(dragon::executableBaseName("C:\\Program Files\\Office\\WINWORD.EXE"), "WINWORD");
    EXPECT_EQ(dragon::executableBaseName("/usr/bin/gedit"), "gedit");
}
