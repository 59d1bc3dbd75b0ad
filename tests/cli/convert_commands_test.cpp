// convert-body and convert-keys, on the demo user's file and on Dragon's own files.
#include "datfile/format.h"
#include "dragon/demo_root.h"
#include "platform/files.h"
#include "support/fixtures.h"
#include "support/keys_form.h"
#include "support/tool_run.h"

#include <gtest/gtest.h>

using namespace plv;

namespace {

using test::tool;

struct Work : test::ToolFolder {
    std::string home() const { return dir.file("home"); }
    std::string homeFile(const std::string& name) const {
        return files::readAll(files::join(home(), name)).value_or("");
    }
};

} // namespace

TEST(ConvertCommands, ConvertBodyPrintsTheFormOrFails) {
    auto vba = tool({"convert-body", "--to", "vba", "--body", "Hello{enter}"});
    ASSERT_EQ(vba.status, 0) << vba.err;
    EXPECT_EQ(vba.out, "Sub Main\r\n\r\nSendKeys \"Hello\",true\r\nSendKeys \"{enter}\", "
                       "true\r\n\r\nEnd Sub\r\n");
    auto sdk = tool({"convert-body", "--to", "sdk", "--body", "caf\xC3\xA9 {"});
    ASSERT_EQ(sdk.status, 0) << sdk.err;
    EXPECT_EQ(sdk.out, "Sub Main\r\n\r\nSendDragonKeys \"caf\xC3\xA9 {\"\r\n\r\nEnd Sub\r\n");

    auto failed = tool({"convert-body", "--to", "vba", "--body", "caf\xC3\xA9 {"});
    EXPECT_EQ(failed.status, 3);
    EXPECT_EQ(failed.out, "");
    EXPECT_EQ(failed.err.rfind(" Conversion failed\n", 0), 0u) << failed.err;
    EXPECT_EQ(tool({"convert-body", "--to", "plain", "--body", "x"}).status, 64);
    EXPECT_EQ(tool({"convert-body", "--to", "vba", "--body", "\xE2\x82\xAC\xE2\x98\x83"}).status,
              3); // a snowman has no place in the code page
}

// Which KEYS commands convert, and to what, is the editing layer's: here the choice of --to,
// its log and its messages.
TEST(ConvertCommands, ConvertKeysOnTheDemoFile) {
    struct Case {
        std::string to, log, message, command, type;
    };
    const std::string advanced = " Conversion of DVCs to Advanced Scripting Complete\n";
    const Case cases[] = {{"plain", "ConvertKEYS2Plain.log",
                           " Conversion of DVCs to Plain Text Complete\n", "type practice phone",
                           "P"},
                          {"vba", "ConvertKEYS2Advanced.log", advanced, "copy that", "A"},
                          {"sdk", "ConvertKEYS2SendDragon.log", advanced, "copy that", "A"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.to);
        Work w;
        std::string path = w.dir.write("mycmds.dat", dragon::demoCommandFile());
        auto r = w.run({"convert-keys", path, "--to", c.to});
        ASSERT_EQ(r.status, 0) << r.err;
        for (const auto& row : test::parsedRows(files::readAll(path).value_or(""))) {
            if (row.name == c.command) {
                EXPECT_EQ(row.type, c.type);
                EXPECT_EQ(test::sendDragonKeysBody(row.script) == "{Ctrl+c}", c.to == "sdk");
            }
        }
        std::string log = w.homeFile("Parlavista.log");
        EXPECT_EQ(w.homeFile(c.log), log);
        EXPECT_TRUE(test::has(log, c.command)) << log;
        EXPECT_TRUE(test::has(r.err, c.message));
        EXPECT_TRUE(
            test::has(r.err, "[See " + c.log + " for complete details of converted commands]"));
        EXPECT_TRUE(test::has(r.out, "convert-keys: ")) << r.out;
    }
}

TEST(ConvertCommands, ConvertKeysWithASelectionAndOnDragonFiles) {
    Work w;
    std::string path = w.dir.write("mycmds.dat", dragon::demoCommandFile());
    auto r = w.run({"convert-keys", path, "--to", "vba", "--program", "Global Commands", "--scope",
                    "Global Commands", "--name", "copy that", "--name", "paste that here"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(test::has(r.out, "convert-keys: 2 of 2 ")) << r.out;
    for (const auto& row : test::parsedRows(files::readAll(path).value_or(""))) {
        if (row.name == "copy that") {
            EXPECT_EQ(row.script, "Sub Main\r\n\r\nSendKeys \"^c\", true\r\n\r\nEnd Sub");
        }
        EXPECT_EQ(row.type == "A" && row.script.find("SendKeys \"^") != std::string::npos,
                  row.name == "copy that" || row.name == "paste that here")
            << row.name;
    }
    EXPECT_EQ(w.run({"convert-keys", path, "--to", "vba", "--name", "x"}).status, 64);

    // Dragon's own files hold no KEYS commands: they come back as they were.
    for (const char* sample : {"reply.dat", "clear_flag.dat", "move-dock_window.dat"}) {
        Work s;
        std::string copy = s.dir.write(sample, test::readSample(sample));
        auto run = s.run({"convert-keys", copy, "--to", "sdk"});
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(files::readAll(copy), test::readSample(sample));
        EXPECT_EQ(s.homeFile("ConvertKEYS2SendDragon.log"), "");
        EXPECT_TRUE(files::exists(files::join(s.home(), "ConvertKEYS2SendDragon.log")));
    }
}

TEST(ConvertCommands, ConvertKeysRefusesAsTheWindowDoesAndLogsOnlyWhatWasWritten) {
    Work w;
    std::string german = dragon::demoCommandFile();
    german[dat::kLanguageOffset] = 7;
    std::string path = w.dir.write("mycmds.dat", german);
    auto vba = w.run({"convert-keys", path, "--to", "vba"});
    EXPECT_EQ(vba.status, 3);
    EXPECT_TRUE(test::has(vba.err, "Sorry, this command is only supported for English Language "
                                   "Users\n    [Contact Brinmoor if you are interested in a "
                                   "non-English User]"))
        << vba.err;
    EXPECT_EQ(files::readAll(path), german);

    // A rewrite that fails (a folder stands where savedat goes) converts nothing, and the
    // log says so instead of listing the commands as converted.
    files::makeDirectories(files::join(w.home(), "savedat"));
    auto failed = w.run({"convert-keys", path, "--to", "sdk"});
    EXPECT_EQ(failed.status, 3);
    EXPECT_EQ(files::readAll(path), german);
    std::string log = w.homeFile("Parlavista.log");
    EXPECT_TRUE(test::has(log, "The conversion failed")) << log;
    EXPECT_FALSE(test::has(log, "KEYS:")) << log;
}
