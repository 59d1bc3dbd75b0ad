// The write commands on the current Dragon user's file (--current-user), backup and restore,
// run against the demo Dragon root and its stand-in merge program.
#include "dragon/demo_root.h"
#include "dragon/root_fixture.h"
#include "platform/environment.h"
#include "platform/files.h"
#include "platform/system_folders.h"
#include "support/fixtures.h"
#include "support/tool_run.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

using namespace plv;

namespace {

struct Demo {
    test::DemoDragon dragon;
    test::ToolRun run(std::vector<std::string> words) const {
        auto options = dragon.rootOptions();
        words.insert(words.end(), options.begin(), options.end());
        return test::tool(words);
    }
    std::string file() const { return files::readAll(dragon.commandFile()).value_or(""); }
    std::string home(const std::string& name) const {
        return files::readAll(files::join(dragon.home, name)).value_or("");
    }
    std::string body(const std::string& name) const {
        for (const auto& r : test::parsedRows(file())) {
            if (r.name == name) {
                return r.script;
            }
        }
        return "(none)";
    }
};

const std::string kGlobal = "Global Commands";

} // namespace

// Dragon user and folder names outside ASCII, and outside the Windows code page (Cyrillic), in
// every command that takes a path: Windows profile folders are often named so.
TEST(CurrentUser, NamesOutsideAsciiWorkInEveryPath) {
    Demo d{test::DemoDragon("Users/Zoë/Ярослав/")};
    const std::string user = "José Müller";
    d.dragon.switchUser(user);
    auto r = d.run({"set-body", "--current-user", "--program", kGlobal, "--scope", kGlobal,
                    "--name", "copy that", "--body", "{Ctrl+Shift+c}"});
    ASSERT_EQ(r.status, 0) << r.err;
    std::string mine = d.dragon.commandFile(user);
    EXPECT_TRUE(test::has(files::readAll(mine).value_or(""), "{Ctrl+Shift+c}"));
    EXPECT_TRUE(files::exists(
        files::join(files::join(d.dragon.home, user), "mycmds." + test::todayMMDDYYYY())));
    EXPECT_EQ(test::tool({"info", mine}).status, 0);
    std::string csv = files::join(files::parentFolder(mine), "Ярослав.csv");
    ASSERT_EQ(test::tool({"export", mine, "--format", "csv", "-o", csv}).status, 0);
    EXPECT_TRUE(test::has(files::readAll(csv).value_or(""), "copy that"));
    auto restored = d.run({"restore", "--date", test::todayMMDDYYYY()});
    EXPECT_EQ(restored.status, 0) << restored.err;
    EXPECT_FALSE(test::has(files::readAll(mine).value_or(""), "{Ctrl+Shift+c}"));
}

// Beside an installed Dragon (Windows), its folders are the system's own, found without a
// Dragon root: the demo tree is moved into the real application-data folders for the test.
TEST(CurrentUser, DragonIsFoundInTheSystemsOwnFolders) {
    auto common = commonAppDataFolder();
    auto user = userAppDataFolder();
    if (!common || !user) {
        GTEST_SKIP() << "this system has no application-data folders of its own: Dragon's are "
                        "found below a Dragon root, as every other test here does";
    }
    Demo d;
    // Removed again only when this test put it there.
    struct Moved {
        std::string from, to;
        bool copied = false;
        ~Moved() {
            if (copied) {
                std::filesystem::remove_all(files::fsPath(to));
            }
        }
    };
    Moved commonTree{d.dragon.common(), dragon::dragonDataFolder(*common)};
    Moved userTree{d.dragon.user(), dragon::dragonDataFolder(*user)};
    for (const Moved* m : {&commonTree, &userTree}) {
        if (files::exists(m->to)) {
            GTEST_SKIP() << "a Dragon is installed here; this test leaves it alone";
        }
    }
    for (Moved* m : {&commonTree, &userTree}) {
        m->copied = true;
        files::makeDirectories(files::parentFolder(m->to));
        std::filesystem::copy(files::fsPath(m->from), files::fsPath(m->to),
                              std::filesystem::copy_options::recursive);
    }
    // The settings files name the folders they now lie in.
    for (const std::string& ini :
         {files::join(commonTree.to, "nssystem.ini"), files::join(userTree.to, "nsuser.ini")}) {
        std::string text = files::readAll(ini).value_or("");
        for (std::size_t at; (at = text.find(commonTree.from)) != std::string::npos;) {
            text.replace(at, commonTree.from.size(), commonTree.to);
        }
        ASSERT_TRUE(files::writeAll(ini, text));
    }
    setEnvironmentVariable("PARLAVISTA_DRAGON_ROOT", std::nullopt);
    auto r = test::tool({"set-body", "--current-user", "--home", d.dragon.home, "--program",
                         kGlobal, "--scope", kGlobal, "--name", "copy that", "--body", "{Alt+c}"});
    ASSERT_EQ(r.status, 0) << r.err;
    std::string current = files::join(files::join(commonTree.to, "Users"), "Demo");
    current = files::join(current, "current");
    EXPECT_TRUE(
        test::has(files::readAll(files::join(current, "mycmds.dat")).value_or(""), "{Alt+c}"));
    EXPECT_TRUE(files::exists(
        files::join(files::join(d.dragon.home, "Demo"), "mycmds." + test::todayMMDDYYYY())));
    EXPECT_EQ(Profile(files::join(current, "local.ini")).get("Options", "MyCommands Changed"), "1");
    // The merge program, found through nssystem.ini, moved the file on and it was read again.
    EXPECT_TRUE(test::has(d.home("trace.plv"), "after fast save refresh"));
}

TEST(CurrentUser, AWriteTravelsTheWholeRoadAndRestoreTakesItBack) {
    Demo d;
    const std::string original = d.file();
    // The user's file named as FILE is taken for what it is.
    auto r = d.run({"set-body", d.dragon.commandFile(), "--program", kGlobal, "--scope", kGlobal,
                    "--name", "copy that", "--body", "{Ctrl+Shift+c}"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(d.body("copy that"), "{Ctrl+Shift+c}");
    EXPECT_EQ(d.home("savedat"), original);
    const std::string backup = "Demo/mycmds." + test::todayMMDDYYYY();
    EXPECT_EQ(d.home(backup), original);
    EXPECT_EQ(d.dragon.commandsChanged(), "1");
    // The merge program moved the file's time on and the file was read again after it.
    EXPECT_TRUE(test::has(d.home("trace.plv"), "after fast save refresh"));

    // A second write the same day (with --current-user) keeps the backup of the day's
    // first state.
    ASSERT_EQ(d.run({"set-body", "--current-user", "--program", kGlobal, "--scope", kGlobal,
                     "--name", "copy that", "--body", "{Ctrl+Insert}"})
                  .status,
              0);
    EXPECT_EQ(d.home(backup), original);
    const std::string edited = d.file();
    // A SCRIPT body goes through Dragon's script check, as Save Changes sends it.
    auto script = d.run({"set-body", "--current-user", "--program", kGlobal, "--scope", kGlobal,
                         "--name", "open patient records", "--body", "Wait 100\nIf x\n"});
    EXPECT_EQ(script.status, 3);
    EXPECT_TRUE(test::has(script.err, "Error in your script at line: 2"));
    EXPECT_EQ(d.file(), edited);
    // What the file already holds is not written again, nor handed to Dragon.
    files::FileTime written = *files::lastModified(d.dragon.commandFile());
    test::DemoDragon::set(files::join(d.dragon.current(), "local.ini"), "Options",
                          "MyCommands Changed", "0");
    for (const auto& again : std::vector<std::vector<std::string>>{
             {"set-body", "--body", "{Ctrl+Insert}"}, {"set", "--group", "Editing"}}) {
        std::vector<std::string> words = again;
        words.insert(words.end(), {"--current-user", "--program", kGlobal, "--scope", kGlobal,
                                   "--name", "copy that"});
        auto same = d.run(words);
        EXPECT_EQ(same.status, 0) << same.err;
        EXPECT_TRUE(test::has(same.out, "nothing written")) << same.out;
    }
    EXPECT_EQ(files::lastModified(d.dragon.commandFile()), written);
    EXPECT_EQ(d.dragon.commandsChanged(), "0");

    auto listed = d.run({"restore", "--list"});
    ASSERT_EQ(listed.status, 0) << listed.err;
    EXPECT_EQ(listed.out, "mycmds." + test::todayMMDDYYYY() + "\n");
    auto restored = d.run({"restore", "--date", test::todayMMDDYYYY()});
    ASSERT_EQ(restored.status, 0) << restored.err;
    EXPECT_EQ(d.body("copy that"), "{Ctrl+c}");
    EXPECT_EQ(d.home("Demo/mycmds.prerollback"), edited);
    EXPECT_EQ(d.run({"restore", "--date", "01011999"}).status, 3);
    EXPECT_EQ(d.run({"restore", "--date", "1999"}).status, 64);

    // The explicit backup replaces the day's copy with the file as it is now.
    files::writeAll(files::join(d.dragon.home, backup), "an older copy");
    auto backedUp = d.run({"backup"});
    ASSERT_EQ(backedUp.status, 0) << backedUp.err;
    EXPECT_TRUE(test::has(backedUp.err, "Backup taken successfully to "));
    EXPECT_EQ(d.home(backup), d.file());
    // A copy that cannot be written is a failure, not a success.
    std::filesystem::remove(files::join(d.dragon.home, backup));
    std::filesystem::create_directory(files::join(d.dragon.home, backup));
    auto failed = d.run({"backup"});
    EXPECT_EQ(failed.status, 3);
    EXPECT_FALSE(test::has(failed.err, "successfully"));
    EXPECT_EQ(failed.out, "");
    EXPECT_EQ(d.run({"set-body", "--current-user", "x.dat", "--program", kGlobal, "--scope",
                     kGlobal, "--name", "copy that", "--body", "y"})
                  .status,
              64);
}

TEST(CurrentUser, NewListThenTheCommandThatUsesItAndDeleteSayWhichListsWent) {
    Demo d;
    auto list = d.run({"new-list", "--current-user", "--name", "wards", "--items", "A\nB\n"});
    ASSERT_EQ(list.status, 0) << list.err;
    // Dragon takes a new LIST over with the command that uses it.
    EXPECT_FALSE(test::has(d.home("trace.plv"), "after fast save"));
    auto command = d.run({"new-command", "--current-user", "--program", kGlobal, "--scope", kGlobal,
                          "--name", "go to ward <wards>", "--type", "K", "--body", "w"});
    ASSERT_EQ(command.status, 0) << command.err;
    EXPECT_TRUE(test::has(d.home("trace.plv"), "after fast save refresh"));
    auto del = d.run({"delete", "--current-user", "--program", kGlobal, "--scope", kGlobal,
                      "--name", "go to ward <wards>"});
    ASSERT_EQ(del.status, 0) << del.err;
    EXPECT_TRUE(test::has(del.out, "removed 1 LISTs that no remaining command uses: wards"))
        << del.out;
    auto rows = test::parsedRows(d.file());
    EXPECT_EQ(std::count_if(rows.begin(), rows.end(), [](const UserRow& r) { return r.isList(); }),
              7)
        << "the demo's own LISTs stay";
}

TEST(CurrentUser, ADifferentFileStampedLikeTheUsersFileIsNotTakenForIt) {
    Demo d;
    ASSERT_EQ(d.run({"status"}).status, 0);
    // Another command file with the user's file's time: a status on it catalogues it.
    std::string other = d.dragon.dir.write("other.dat", test::readSample("reply.dat"));
    files::setLastModified(other, *files::lastModified(d.dragon.commandFile()));
    ASSERT_EQ(d.run({"status", other}).status, 0);
    auto next = d.run({"status"});
    ASSERT_EQ(next.status, 0) << next.err;
    EXPECT_TRUE(test::has(next.out, "commands: 80\n")) << next.out;
    EXPECT_TRUE(test::has(next.out, "parsed: yes\n"));
}

TEST(CurrentUser, ARefusalChangesNoFileAndNothingIsWrittenWithoutItsBackup) {
    Demo d;
    const std::string original = d.file();
    const std::string backup = files::join(d.dragon.home, "Demo/mycmds." + test::todayMMDDYYYY());
    auto global = [](std::vector<std::string> words, const std::string& name) {
        std::vector<std::string> where = {"--current-user", "--program", kGlobal, "--scope",
                                          kGlobal,          "--name",    name};
        words.insert(words.end(), where.begin(), where.end());
        return words;
    };
    // The checks come before the day's backup: a refused write leaves every file as it was.
    const std::vector<std::pair<std::vector<std::string>, std::string>> refusals = {
        {global({"set-body", "--body", ""}, "copy that"), "Empty content not allowed"},
        {global({"new-command", "--type", "K", "--body", "x"}, "copy that"),
         "Command already exists"},
        {global({"set-body", "--body", "\xE2\x98\x83"}, "copy that"),
         "The character '\xE2\x98\x83' cannot be written"},
        {{"new-list", "--current-user", "--name", "my wards", "--items", "A"},
         "Only numbers, letters and _-. are allowed by Dragon in LIST names"},
        {{"new-list", "--current-user", "--name", "blank", "--items", "  "},
         "Empty content not allowed"},
        {global({"delete"}, "no such command"), "Delete file error"},
    };
    for (const auto& [words, message] : refusals) {
        auto r = d.run(words);
        EXPECT_EQ(r.status, 3) << message;
        EXPECT_TRUE(test::has(r.err, message)) << r.err;
    }
    EXPECT_FALSE(files::exists(backup));
    EXPECT_FALSE(files::exists(files::join(d.dragon.home, "savedat")));
    EXPECT_TRUE(d.file() == original) << "the command file is as it was";

    // A write that cannot take the day's backup (a file stands where its folder goes) is
    // refused, not done without the copy.
    files::writeAll(files::join(d.dragon.home, "Demo"), "not a folder");
    auto unsaved = d.run(global({"set-body", "--body", "{Ctrl+Insert}"}, "copy that"));
    EXPECT_EQ(unsaved.status, 3);
    EXPECT_TRUE(test::has(unsaved.err, "The backup of the command file could not be written"));
    EXPECT_TRUE(d.file() == original) << "the command file is as it was";
    EXPECT_FALSE(files::exists(files::join(d.dragon.home, "savedat")));

    // A backup that does not read is refused before the pre-rollback copy (the only copy of
    // the state before the last restore) is touched.
    std::filesystem::remove(files::join(d.dragon.home, "Demo"));
    d.dragon.dir.write("home/Demo/mycmds.prerollback", "the file before the last restore");
    d.dragon.dir.write("home/Demo/mycmds.01022020", original.substr(0, original.size() / 2));
    auto restored = d.run({"restore", "--date", "01022020"});
    EXPECT_EQ(restored.status, 3);
    EXPECT_TRUE(test::has(restored.err, "cannot be read")) << restored.err;
    EXPECT_EQ(d.home("Demo/mycmds.prerollback"), "the file before the last restore");
    EXPECT_TRUE(d.file() == original) << "the command file is as it was";
}

TEST(CurrentUser, AWriteDragonDidNotTakeOverHasItsOwnStatus) {
    Demo d;
    std::filesystem::remove(
        files::join(d.dragon.dragonRoot().programFolder(), dragon::mergeProgramName()));
    auto r = d.run({"set-body", "--current-user", "--program", kGlobal, "--scope", kGlobal,
                    "--name", "copy that", "--body", "{Ctrl+Insert}"});
    EXPECT_EQ(r.status, cli::kNotTakenOver);
    EXPECT_TRUE(test::has(r.err, "Unable to update above file"));
    EXPECT_TRUE(test::has(r.err, "Dragon has not taken the change over")) << r.err;
    EXPECT_EQ(d.body("copy that"), "{Ctrl+Insert}") << "the file is written all the same";
    EXPECT_TRUE(test::has(r.out, "set-body: replaced the body of 'copy that'"));
}
