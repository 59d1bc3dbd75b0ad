#include "datfile/file_commands.h"
#include "editing/backup.h"
#include "editing/demo_road.h"
#include "platform/profile.h"

#include <algorithm>
#include <ctime>
#include <gtest/gtest.h>

using namespace plv;
using dat::Outcome;

namespace {

std::string placer(const test::DemoRoad& d) {
    return files::join(d.dragon.home, "placer.dat");
}

std::optional<std::string> commandsChanged(const std::string& localIni) {
    return Profile(localIni).get("Options", "MyCommands Changed");
}

// Waits that return at once and keep what they were asked for.
struct InstantWaits : Waits {
    void pause(int milliseconds) override { pauses.push_back(milliseconds); }
    bool until(const std::function<bool()>& ready, int, int) override { return ready(); }
    std::vector<int> pauses;
};

files::FileTime localDay(int year, int month, int day) {
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = 12;
    tm.tm_isdst = -1;
    return static_cast<files::FileTime>(std::mktime(&tm)) * 1000000000LL;
}

} // namespace

TEST(Road, DragonTakesTheCurrentUsersChangedFileOver) {
    test::DemoRoad d(false);
    test::DemoDragon::set(d.dragon.engine(), "Speaker Languages", "Demo", "3081");
    d.start();
    ASSERT_EQ(
        dat::Update1Body(d.session(), d.global("copy that"), "{Ctrl+Insert}", dat::Positions::Move),
        Outcome::Done);
    ASSERT_EQ(d.road->postWrite(), Outcome::Done);

    EXPECT_EQ(d.home("placer.dat")[15], '\x09');
    const auto& started = d.standIns().merge().started();
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0],
              d.started.mergeProgram + " \"" + d.dragon.commandFile() + "\" \"" + placer(d) + "\"");
    EXPECT_EQ(d.dragon.commandsChanged(), "1");
    EXPECT_EQ(d.ui.statusText, editing::kUserReady);
    std::string trace = d.home("trace.plv");
    EXPECT_TRUE(test::has(trace, "file time: "));
    EXPECT_TRUE(test::has(trace, "after fast save refresh"));
    EXPECT_EQ(d.global("copy that").script, "{Ctrl+Insert}");
    EXPECT_FALSE(d.road->fileChanged()) << "the merged file is the one catalogued";
    EXPECT_EQ(editing::placerLanguageByte(1032), 0);
    EXPECT_EQ(editing::placerLanguageByte(1036), 12);

    // Without a merge program nothing takes the file over: said so, and the file is read.
    editing::Road lost(d.session(), d.waits,
                       {d.startup->controls(), &d.startup->environment(), ""});
    ASSERT_EQ(lost.postWrite(), Outcome::Done);
    EXPECT_TRUE(d.ui.sawMessage(editing::kUnableToUpdate, d.dragon.commandFile()));

    // A merge that leaves the file alone (it cannot read this placer): the wait gives up
    // after 51 polls of 100 ms, says so and reads the file as it is.
    d.ui.clear();
    files::writeAll(placer(d), std::string(32, 'x'));
    files::setLastModified(d.dragon.commandFile(), files::now() - 10000000000LL);
    InstantWaits instant;
    editing::Road stalled(
        d.session(), instant,
        {d.startup->controls(), &d.startup->environment(), d.started.mergeProgram});
    ASSERT_EQ(stalled.fastSave(placer(d)), Outcome::Done);
    EXPECT_EQ(started.size(), 2u);
    EXPECT_EQ(std::count(instant.pauses.begin(), instant.pauses.end(), 100), 51);
    EXPECT_TRUE(d.ui.sawMessage(editing::kUnableToUpdate, d.dragon.commandFile()));
    EXPECT_NE(d.ui.statusText, editing::kUserReady);
}

TEST(Road, AnotherFileIsOnlyReadAgainAndNeverCountsAsChanged) {
    test::DemoRoad d;
    std::string other = d.dragon.dir.write("other/mycmds.dat", d.file());
    ASSERT_EQ(dat::openFile(d.session(), other).status, dat::OpenResult::Status::Opened);
    files::setLastModified(other, files::now() - 5000000000LL);
    EXPECT_FALSE(d.road->fileChanged());
    ASSERT_EQ(
        dat::Update1Body(d.session(), d.global("copy that"), "{Ctrl+Insert}", dat::Positions::Move),
        Outcome::Done);
    int refreshed = 0;
    d.road->onRefreshed = [&] { ++refreshed; };
    ASSERT_EQ(d.road->postWrite(), Outcome::Done);
    EXPECT_EQ(refreshed, 1);
    EXPECT_TRUE(d.standIns().merge().started().empty());
    EXPECT_FALSE(files::exists(files::join(d.dragon.current(), "local.ini")));
    EXPECT_TRUE(d.road->automaticBackup());
    EXPECT_FALSE(files::exists(files::join(d.dragon.home, "Demo")))
        << "only a user's current file is backed up";
    EXPECT_FALSE(d.road->speakerChanged("Someone Else"));
}

TEST(Road, ChangesMadeElsewhereAreSeenAndTheSpeakerChangeEndsTheProgram) {
    test::DemoRoad d;
    EXPECT_FALSE(d.road->fileChanged());
    // Another tool rewrites the user's file with the same time: its size gives it away.
    std::string image = d.file();
    files::FileTime time = *files::lastModified(d.dragon.commandFile());
    files::writeAll(d.dragon.commandFile(), image + std::string(4, '\0'));
    files::setLastModified(d.dragon.commandFile(), time);
    EXPECT_TRUE(d.road->fileChanged());
    ASSERT_EQ(d.road->refreshIfChanged(), Outcome::Done);
    EXPECT_FALSE(d.road->fileChanged());

    EXPECT_FALSE(d.road->speakerChanged("Demo"));
    EXPECT_TRUE(d.road->speakerChanged("Dr Patel"));
    EXPECT_TRUE(test::has(d.home("trace.plv"), "enter speaker change Dr Patel"));
}

TEST(Road, ANewFileThatDoesNotReadBringsSavedatBack) {
    test::DemoRoad d;
    const std::string original = d.file();
    d.session().beforeReplace = [](std::string& newFile) { newFile.resize(newFile.size() - 3); };
    ASSERT_EQ(
        dat::Update1Body(d.session(), d.global("copy that"), "{Ctrl+Insert}", dat::Positions::Move),
        Outcome::Done);
    EXPECT_EQ(d.road->postWrite(), Outcome::ProgramEnds);
    EXPECT_EQ(d.file(), original);
    EXPECT_EQ(d.home("savedat"), original);
    EXPECT_TRUE(d.standIns().merge().started().empty()) << "Dragon never saw the bad file";
}

TEST(Road, ARoamingUserSeesTheNoteUntilAskedNotTo) {
    test::DemoRoad d(false);
    std::string cache = d.dragon.dir.file("cache");
    files::makeDirectories(files::join(cache, "Demo/current"));
    test::DemoDragon::set(d.dragon.nssystem(), "Settings", "Roaming User On", "1");
    test::DemoDragon::set(d.dragon.nssystem(), "Settings", "Roaming User Local Cache Directory",
                          cache);
    test::DemoDragon::set(d.dragon.nsuser(), "Settings", "Roaming User Current User Is Roaming",
                          "1");
    d.start();
    int shown = 0;
    d.road->showRoamingNote = [&] { return ++shown == 2; };
    for (int i = 0; i < 4; ++i) {
        ASSERT_EQ(d.road->postWrite(true), Outcome::Done); // a new LIST: no merge
    }
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(d.startup->settings().read(editing::kDontShowRoamingNote, ""), "-1");
    EXPECT_EQ(commandsChanged(files::join(cache, "Demo/current/local.ini")), "1");
    EXPECT_EQ(d.ui.statusText, editing::kNextCreateCommand);
    EXPECT_TRUE(d.standIns().merge().started().empty());
}

TEST(Backups, TheRestoreMenuOffersThisMonthNewestFirst) {
    test::TempDir dir;
    for (const char* name : {"mycmds.03012024", "mycmds.03152023", "mycmds.03022025",
                             "mycmds.04012025", "mycmds.prerollback", "mycmds.03-old"}) {
        dir.write(name, "x");
    }
    EXPECT_EQ(editing::restoreEntries(dir.path(), localDay(2025, 3, 10)),
              (std::vector<std::string>{"mycmds.03022025", "mycmds.03012024", "mycmds.03152023",
                                        "mycmds.03-old"}));
    EXPECT_EQ(editing::backupName(localDay(2025, 3, 10)), "mycmds.03102025");
    EXPECT_TRUE(editing::restoreEntries(dir.file("none"), localDay(2025, 3, 10)).empty());
}
