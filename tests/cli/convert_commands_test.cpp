// convert-body and convert-keys, on the demo user's file and on Dragon's own files.
#include "datfile/format.h"
#include "dragon/demo_root.h"
#include "dragon/root_fixture.h"
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

bool hasBraces(const std::string& s) {
    return s.find('{') != std::string::npos && s.find('}') != std::string::npos;
}

std::string head(const UserRow& r) {
    return r.menu + "|" + r.state + "|" + r.name + "|" + r.owner + "|" + r.description + "|" +
           r.states;
}

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

TEST(ConvertCommands, ConvertKeysOnTheDemoFile) {
    const std::string demo = dragon::demoCommandFile();
    auto before = test::parsedRows(demo);
    for (const std::string to : {"plain", "vba", "sdk"}) {
        SCOPED_TRACE(to);
        Work w;
        std::string path = w.dir.write("mycmds.dat", demo);
        auto r = w.run({"convert-keys", path, "--to", to});
        ASSERT_EQ(r.status, 0) << r.err;
        auto after = test::parsedRows(files::readAll(path).value_or(""));
        ASSERT_EQ(after.size(), before.size());
        int changed = 0;
        for (std::size_t i = 0; i < before.size(); ++i) {
            const auto& was = before[i];
            const auto& now = after[i];
            EXPECT_EQ(head(now), head(was));
            bool keys = was.type == "K" && !was.encrypted;
            bool wanted = keys && (to == "plain" ? !hasBraces(was.script) : hasBraces(was.script));
            if (!wanted) {
                EXPECT_EQ(now.type, was.type) << was.name;
                EXPECT_EQ(now.script, was.script) << was.name;
                continue;
            }
            ++changed;
            if (to == "plain") {
                EXPECT_EQ(now.type, "P");
                EXPECT_EQ(now.script, was.script);
            } else if (to == "vba") {
                EXPECT_EQ(now.type, "A");
                EXPECT_EQ(test::readSendKeysForm(now.script).fault, "") << was.name;
            } else {
                EXPECT_EQ(now.type, "A");
                EXPECT_EQ(test::sendDragonKeysBody(now.script), was.script);
            }
        }
        EXPECT_GE(changed, 3);

        std::string named = to == "plain" ? "ConvertKEYS2Plain.log"
                            : to == "vba" ? "ConvertKEYS2Advanced.log"
                                          : "ConvertKEYS2SendDragon.log";
        std::string log = w.homeFile("Parlavista.log");
        EXPECT_EQ(w.homeFile(named), log);
        std::string entry =
            to == "plain"
                ? "Changed DVC to Plain Text: Global Commands Global Commands type practice "
                  "phone\r\n0117 496 0123\r\n"
                : "Global Commands Global Commands copy that\r\nKEYS:\r\n{Ctrl+c}\r\n\r\n";
        EXPECT_TRUE(test::has(log, entry)) << log;
        EXPECT_TRUE(test::has(r.err, to == "plain"
                                         ? " Conversion of DVCs to Plain Text Complete\n"
                                         : " Conversion of DVCs to Advanced Scripting Complete\n"));
        EXPECT_TRUE(
            test::has(r.err, "[See " + named + " for complete details of converted commands]"));
        EXPECT_TRUE(test::has(r.out, "convert-keys: " + std::to_string(changed) + " of ")) << r.out;
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
