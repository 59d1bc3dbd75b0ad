#include "datfile/reader.h"
#include "dragon/root_fixture.h"
#include "dragon/seed_files.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <map>
#include <set>

using namespace plv;

TEST(DemoRoot, TheUsersCommandFileHoldsWhatARealUserHas) {
    test::Harness h;
    ASSERT_EQ(h.parseBytes(dragon::demoCommandFile()), dat::ParseStatus::Parsed);
    EXPECT_TRUE(h.ui.shown().empty());
    auto rows = h.rows();
    std::set<std::string> types, programs, groups, lists;
    std::map<std::string, int> perProgram;
    int windowScopes = 0, asleep = 0, encrypted = 0, withStates = 0, dupes = 0;
    std::set<std::string> usedLists;
    for (const auto& r : rows) {
        types.insert(r.type);
        if (r.isList()) {
            lists.insert(r.name);
            continue;
        }
        programs.insert(r.menu);
        ++perProgram[r.menu];
        groups.insert(r.owner);
        windowScopes += r.scope == "W";
        asleep += r.sleeping;
        encrypted += r.encrypted;
        withStates += !r.states.empty();
        dupes += r.dupe;
        for (std::size_t at = r.name.find('<'); at != std::string::npos;
             at = r.name.find('<', at + 1)) {
            usedLists.insert(r.name.substr(at + 1, r.name.find('>', at) - at - 1));
        }
    }
    EXPECT_GE(h.catalogue->countCommands(), 75);
    EXPECT_LE(h.catalogue->countCommands(), 90);
    EXPECT_EQ(types, (std::set<std::string>{"K", "S", "L", "T", "P", "R", "X", "A"}));
    EXPECT_GE(programs.size(), 4u) << "Global Commands and at least three applications";
    EXPECT_GE(perProgram["Global Commands"], 30);
    EXPECT_GE(windowScopes, 10);
    EXPECT_EQ(asleep, 3);
    EXPECT_EQ(encrypted, 1);
    EXPECT_GE(withStates, 2);
    EXPECT_EQ(dupes, 0);
    EXPECT_GE(groups.size(), 8u);
    EXPECT_TRUE(groups.count("User-defined"));
    EXPECT_EQ(usedLists, lists) << "every LIST is used, and every LIST used is there";

    auto braces = h.catalogue->findCommand(kGlobalCommands, kGlobalCommands, "save the document");
    auto bare = h.catalogue->findCommand(kGlobalCommands, kGlobalCommands, "type practice phone");
    ASSERT_TRUE(braces && bare);
    EXPECT_EQ(braces->script, "{Ctrl+s}");
    EXPECT_FALSE(test::has(bare->script, "{"));
    auto steps = h.catalogue->findCommand("NATSPEAK", "Asleep", "wake up for clinic");
    ASSERT_TRUE(steps);
    EXPECT_EQ(steps->script.substr(0, 13), "Microphone On");
    auto recorded =
        h.catalogue->findCommand(kGlobalCommands, kGlobalCommands, "open lab results portal");
    ASSERT_TRUE(recorded);
    EXPECT_EQ(recorded->script.substr(0, 13), "Ctrl key down");
    auto accented = h.catalogue->findCommand("WINWORD", "Referral Letter", "referral opening");
    ASSERT_TRUE(accented);
    EXPECT_EQ(accented->script.substr(0, 16), "Dear Mr Müller,");
}

TEST(DemoRoot, WritesACompleteRootOnlyIntoAnEmptyFolder) {
    test::DemoDragon d;
    for (const auto& path : {d.nssystem(), d.nsuser(), d.log(), d.engine(), d.commandFile(),
                             files::join(d.current(), "options.ini")}) {
        EXPECT_TRUE(files::exists(path)) << path;
    }
    std::string merge = files::join(d.dragonRoot().programFolder(), dragon::mergeProgramName());
    EXPECT_EQ(files::readAll(merge), files::readAll(dragon::installedMergeProgram()));
    EXPECT_EQ(files::readAll(d.commandFile()), dragon::demoCommandFile());

    auto again = dragon::writeDemoRoot(d.root);
    EXPECT_FALSE(again.ok);
    EXPECT_EQ(again.message, "The folder " + d.root + " is not empty");
    auto noMerge = dragon::writeDemoRoot(d.dir.file("other"), d.dir.file("missing"));
    EXPECT_FALSE(noMerge.ok);
    EXPECT_FALSE(files::exists(d.dir.file("other/engine.ini")));
}

// The seed's command files are what the program would write; PARLAVISTA_UPDATE_SEED=1
// writes them afresh.
TEST(SeedFiles, MatchTheirSources) {
    const std::pair<const char*, std::string> seeds[] = {
        {dragon::kPlacerFile, dragon::placerFile()},
        {dragon::kStartCommandsFile, dragon::startCommandsFile()},
        {dragon::kMacroSetFile, dragon::macroSetFile()},
    };
    bool update = std::getenv("PARLAVISTA_UPDATE_SEED") != nullptr;
    for (const auto& [name, bytes] : seeds) {
        std::string path = files::join(PARLAVISTA_SEED_SOURCE_DIR, name);
        if (update) {
            files::writeAll(path, bytes);
        }
        EXPECT_EQ(files::readAll(path), bytes) << name;
    }
    test::Harness h;
    ASSERT_EQ(h.parseBytes(dragon::placerFile()), dat::ParseStatus::Parsed);
    EXPECT_EQ(h.session->file.versionName, "10/11");
    EXPECT_EQ(h.session->file.commandCount, 0);
    EXPECT_EQ(h.session->file.listCount, 0);
    ASSERT_EQ(h.parseBytes(dragon::startCommandsFile()), dat::ParseStatus::Parsed);
    auto start = h.catalogue->findCommand(kGlobalCommands, kGlobalCommands, "global parla vista");
    ASSERT_TRUE(start);
    EXPECT_TRUE(test::has(start->script, "Parlavista.exe"));
    ASSERT_EQ(h.parseBytes(dragon::macroSetFile()), dat::ParseStatus::Parsed);
    EXPECT_TRUE(h.catalogue->findCommand("Parlavista", kApplicationSpecific, "file open"));
    EXPECT_EQ(h.catalogue->distinctOwners(), (std::vector<std::string>{"PLVControl", "PLVMacros"}));
}
