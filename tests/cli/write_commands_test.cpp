// The write commands on files exported by Dragon 11, checked by a reading of the 10/11
// layout that shares no code with the program's reader.
#include "platform/files.h"
#include "support/fixtures.h"
#include "support/hand_reader.h"
#include "support/tool_run.h"

#include <gtest/gtest.h>
#include <sstream>

using namespace plv;

namespace {

using test::hand::Command;
using test::hand::DatFile;
using test::hand::readDat;

// --- fixtures --------------------------------------------------------------------------

using Work = test::ToolFolder;

const std::string kGlobal = "Global Commands";
const std::string kMoveDock = "<move_or_dock> window <direction>";

} // namespace

TEST(WriteCommands, RewriteOfDragonFilesChangesNoByte) {
    for (const char* sample : {"reply.dat", "clear_flag.dat", "move-dock_window.dat"}) {
        Work w;
        std::string path = w.copy(sample);
        auto r = w.run({"rewrite", path});
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(Work::bytes(path), test::readSample(sample)) << sample;
        EXPECT_TRUE(test::has(r.out, "rewrite: re-encoded 1 command records"));
    }
}

TEST(WriteCommands, SetBodyWritesFileBytesAndKeepsTheRest) {
    Work w;
    std::string path = w.copy("clear_flag.dat");
    DatFile before = readDat(Work::bytes(path));
    auto r = w.run({"set-body", path, "--program", "OUTLOOK", "--scope", "Application-specific",
                    "--name", "clear flag", "--body", "Sub Main\n  SendKeys \"café\"\nEnd Sub\n"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Work::bytes(w.dir.file("home/savedat")), test::readSample("clear_flag.dat"));
    DatFile after = readDat(Work::bytes(path));
    ASSERT_EQ(after.commands.size(), 1u);
    const Command& c = after.commands[0];
    EXPECT_EQ(c.bodyStrings,
              std::vector<std::string>{"Sub Main\r\n  SendKeys \"caf\xE9\"\r\nEnd Sub\r\n"});
    EXPECT_EQ(c.name, before.commands[0].name);
    EXPECT_EQ(c.scopeStrings, before.commands[0].scopeStrings);
    EXPECT_EQ(c.group, before.commands[0].group);
    EXPECT_EQ(c.type, 4);
    // Byte for byte: the record up to its body as it was, the new body with a one-byte
    // prefix where the old one (1593 characters) had three, then the LIST count.
    std::string original = test::readSample("clear_flag.dat");
    auto bodyAt = static_cast<std::size_t>(before.commands[0].bodyOffset - 1);
    ASSERT_EQ(static_cast<unsigned char>(original[bodyAt]), 255u);
    ASSERT_EQ(before.commands[0].bodyStrings[0].size(), 1593u);
    std::string body = "Sub Main\r\n  SendKeys \"caf\xE9\"\r\nEnd Sub\r\n";
    EXPECT_EQ(Work::bytes(path), original.substr(0, bodyAt) + static_cast<char>(body.size()) +
                                     body + original.substr(bodyAt + 3 + 1593));

    // Trailing empty lines go, as Save Changes takes them off.
    ASSERT_EQ(w.run({"set-body", path, "--program", "OUTLOOK", "--scope", "Application-specific",
                     "--name", "clear flag", "--body", "Sub Main\nEnd Sub\n\n"})
                  .status,
              0);
    EXPECT_EQ(readDat(Work::bytes(path)).commands[0].bodyStrings,
              std::vector<std::string>{"Sub Main\r\nEnd Sub\r\n"});
}

TEST(WriteCommands, NewCommandTakesTheApplicationsStrings) {
    Work w;
    std::string path = w.copy("clear_flag.dat");
    auto r = w.run({"new-command", path, "--program", "OUTLOOK", "--scope", "Application-specific",
                    "--name", "flag it", "--type", "K", "--body", "{Ctrl+Shift+g}", "--group",
                    "Outlook"});
    ASSERT_EQ(r.status, 0) << r.err;
    DatFile f = readDat(Work::bytes(path));
    ASSERT_EQ(f.commands.size(), 2u);
    EXPECT_EQ(f.count, 2u);
    const Command& added = f.commands[1];
    EXPECT_EQ(added.name, "flag it");
    EXPECT_EQ(added.scope, 1);
    EXPECT_EQ(added.scopeStrings, f.commands[0].scopeStrings);
    EXPECT_EQ(added.states.size(), 0u);
    EXPECT_EQ(added.type, 17);
    EXPECT_EQ(added.bodyStrings, std::vector<std::string>{"{Ctrl+Shift+g}"});

    auto elsewhere = w.run({"new-command", path, "--program", "EXCEL", "--scope",
                            "Application-specific", "--name", "x", "--type", "P", "--body", "x"});
    EXPECT_EQ(elsewhere.status, 3);
    EXPECT_TRUE(test::has(elsewhere.err, "Parlavista cannot create a new command"));

    // The body is prepared as Save Changes prepares it: a script with an error is refused
    // (no Dragon checks it here), a script ends in one line break.
    auto script =
        w.run({"new-command", path, "--program", "OUTLOOK", "--scope", "Application-specific",
               "--name", "check it", "--type", "S", "--body", "If x"});
    EXPECT_EQ(script.status, 3);
    EXPECT_TRUE(test::has(script.err, "Error in your script at line: 1")) << script.err;
    auto advanced =
        w.run({"new-command", path, "--program", "OUTLOOK", "--scope", "Application-specific",
               "--name", "say it", "--type", "A", "--body", "Sub Main\nEnd Sub"});
    ASSERT_EQ(advanced.status, 0) << advanced.err;
    f = readDat(Work::bytes(path));
    ASSERT_EQ(f.commands.size(), 3u);
    EXPECT_EQ(f.commands[2].bodyStrings, std::vector<std::string>{"Sub Main\r\nEnd Sub\r\n"});
}

TEST(WriteCommands, ListsAreCreatedRenamedUsedAndDeleted) {
    Work w;
    std::string path = w.copy("move-dock_window.dat");
    std::string items = w.dir.write("items.txt", "Word\nExcel\n\n");
    ASSERT_EQ(w.run({"new-list", path, "--name", "apps", "--items-file", items}).status, 0);

    auto plain = w.run({"new-command", path, "--program", kGlobal, "--scope", kGlobal, "--name",
                        "start <apps>", "--type", "P", "--body", "hello"});
    ASSERT_EQ(plain.status, 0) << plain.err;
    // A LIST that a command uses is renamed only with --yes, the answer to the window's
    // question.
    const std::string used = Work::bytes(path);
    auto asked = w.run({"rename-list", path, "--name", "apps", "--new-name", "programs"});
    EXPECT_EQ(asked.status, 3);
    EXPECT_TRUE(test::has(asked.err, "There are 1 commands using this LIST including:\n\n"
                                     "start <apps>\n"))
        << asked.err;
    EXPECT_TRUE(test::has(asked.err, "Are you sure you want to Rename this LIST?"));
    EXPECT_EQ(Work::bytes(path), used);
    auto rename = w.run({"rename-list", path, "--name", "apps", "--new-name", "programs", "--yes"});
    ASSERT_EQ(rename.status, 0) << rename.err;
    EXPECT_TRUE(test::has(rename.out, "1 commands still refer to <apps>"));

    DatFile f = readDat(Work::bytes(path));
    ASSERT_EQ(f.commands.size(), 2u);
    EXPECT_EQ(f.commands[1].type, 1);
    EXPECT_EQ(f.commands[1].bodyStrings, (std::vector<std::string>{"", "hello"}));
    ASSERT_EQ(f.lists.size(), 3u);
    EXPECT_EQ(f.lists[2].name, "programs");
    EXPECT_EQ(f.lists[2].items, (std::vector<std::string>{"Word", "Excel"}));

    // Deleting the Dragon command takes its two LISTs along and says so; "programs" stays,
    // since the deleted command did not use it.
    auto del =
        w.run({"delete", path, "--program", kGlobal, "--scope", kGlobal, "--name", kMoveDock});
    ASSERT_EQ(del.status, 0) << del.err;
    EXPECT_TRUE(test::has(del.out, "removed 2 LISTs that no remaining command uses: direction, "
                                   "move_or_dock\n"))
        << del.out;
    f = readDat(Work::bytes(path));
    ASSERT_EQ(f.commands.size(), 1u);
    EXPECT_EQ(f.commands[0].name, "start <apps>");
    ASSERT_EQ(f.lists.size(), 1u);
    EXPECT_EQ(f.lists[0].name, "programs");

    ASSERT_EQ(
        w.run({"delete", path, "--program", kGlobal, "--scope", kGlobal, "--name", "programs"})
            .status,
        0);
    auto gone =
        w.run({"delete", path, "--program", kGlobal, "--scope", kGlobal, "--name", "programs"});
    EXPECT_EQ(gone.status, 3);
    EXPECT_TRUE(test::has(gone.err, "Delete file error"));
}

TEST(WriteCommands, DeleteAListAndUsage) {
    Work w;
    std::string path = w.copy("move-dock_window.dat");
    const std::vector<std::string> direction = {"--program", kGlobal,  "--scope",
                                                kGlobal,     "--name", "direction"};
    auto words = [&](std::vector<std::string> head, std::vector<std::string> tail) {
        head.insert(head.end(), direction.begin(), direction.end());
        head.insert(head.end(), tail.begin(), tail.end());
        return head;
    };
    // Without --yes the question of the window is the answer No, for delete and set alike.
    for (const auto& asked :
         {words({"delete", path}, {}), words({"set", path}, {"--new-name", "way"})}) {
        auto r = w.run(asked);
        EXPECT_EQ(r.status, 3);
        EXPECT_TRUE(test::has(r.err, "There are 1 commands using this LIST including:")) << r.err;
        EXPECT_TRUE(test::has(r.err, "(answered No)"));
    }
    EXPECT_EQ(Work::bytes(path), test::readSample("move-dock_window.dat"));
    auto r = w.run(words({"delete", path}, {"--yes"}));
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(test::has(r.out, "1 commands still refer to <direction>"));
    DatFile f = readDat(Work::bytes(path));
    ASSERT_EQ(f.lists.size(), 1u);
    EXPECT_EQ(f.lists[0].name, "move_or_dock");
    EXPECT_EQ(f.commands.size(), 1u);

    // Two bodies, nothing to set, a type that cannot be created, no Scope: usage errors.
    for (const auto& usage :
         {words({"set-body", path}, {"--body", "y", "--body-file", "z"}), words({"set", path}, {}),
          words({"new-command", path}, {"--type", "T", "--body", "y"})}) {
        EXPECT_EQ(w.run(usage).status, 64) << usage[0];
    }
    EXPECT_EQ(w.run({"set-body", path, "--program", kGlobal, "--name", "x", "--body", "y"}).status,
              64);
    EXPECT_EQ(w.run({"rewrite", w.dir.file("none.dat")}).status, 1);
}

TEST(WriteCommands, SetRenamesAndDescribesAndRefusalsKeepTheFile) {
    Work w;
    std::string path = w.copy("move-dock_window.dat");
    const std::string respelled = "<move_or_dock> Window <direction>";
    auto r =
        w.run({"set", path, "--program", kGlobal, "--scope", kGlobal, "--name", kMoveDock,
               "--new-name", respelled, "--description", "moves a window", "--group", "Layout"});
    ASSERT_EQ(r.status, 0) << r.err;
    DatFile f = readDat(Work::bytes(path));
    EXPECT_EQ(f.commands[0].name, respelled) << "a new spelling of the same name";
    EXPECT_EQ(f.commands[0].refs, (std::vector<std::string>{"move_or_dock", "direction"}));
    EXPECT_EQ(f.commands[0].description, "moves a window");
    EXPECT_EQ(f.commands[0].group, "Layout");
    EXPECT_EQ(f.lists.size(), 2u);

    auto renamed = w.run({"set", path, "--program", kGlobal, "--scope", kGlobal, "--name",
                          respelled, "--new-name", "<direction> window"});
    ASSERT_EQ(renamed.status, 0) << renamed.err;
    f = readDat(Work::bytes(path));
    EXPECT_EQ(f.commands[0].name, "<direction> window");
    EXPECT_EQ(f.commands[0].refs, std::vector<std::string>{"direction"});
    EXPECT_EQ(f.commands[0].group, "Layout");

    std::string before = Work::bytes(path);
    auto refused = [&](std::vector<std::string> words, const std::string& message) {
        words.insert(words.begin() + 1, path);
        auto run = w.run(words);
        EXPECT_EQ(run.status, 3) << message;
        EXPECT_TRUE(test::has(run.err, message)) << run.err;
    };
    const std::vector<std::string> it = {"--program", kGlobal,  "--scope",
                                         kGlobal,     "--name", "<direction> window"};
    auto set = [&](std::vector<std::string> more) {
        std::vector<std::string> words = {"set"};
        words.insert(words.end(), it.begin(), it.end());
        words.insert(words.end(), more.begin(), more.end());
        return words;
    };
    refused(set({"--new-name", "<nowhere> window"}), "Sorry, must create any new LISTs first");
    refused(set({"--new-name", "move\tit"}), "A name cannot hold control characters");
    refused({"set-body", "--program", kGlobal, "--scope", kGlobal, "--name", "direction", "--body",
             " \t\n\n"},
            "Empty content not allowed");
    refused({"rename-list", "--name", "direction", "--new-name", "MOVE_OR_DOCK"},
            "MOVE_OR_DOCK already exists");
    EXPECT_EQ(Work::bytes(path), before);
}
