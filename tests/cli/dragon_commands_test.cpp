#include "cli/cli.h"
#include "platform/profile.h"
#include "support/fixtures.h"
#include "support/tool_run.h"

#include <gtest/gtest.h>

using namespace plv;

using test::tool;

TEST(DragonCommands, StatusOnAFreshDemoRootParsesOnTheFirstRunOnly) {
    test::TempDir dir;
    std::string root = dir.file("dragon");
    std::string home = dir.file("home");
    auto made = tool({"make-demo", root});
    ASSERT_EQ(made.status, 0) << made.err;
    std::string current = files::join(
        root, test::platformPath("ProgramData/Nuance/NaturallySpeaking11/Users/Demo/current"));

    auto first = tool({"status", "--dragon-root", root, "--home", home});
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.out, "version: 11.50.100.200\n"
                         "edition: Professional\n"
                         "user: Demo\n"
                         "current path: " +
                             current +
                             "\n"
                             "command file: " +
                             files::join(current, "mycmds.dat") +
                             "\n"
                             "caption: Parlavista - " +
                             test::platformPath("../Demo/current/mycmds.dat") +
                             " (10/11)\n"
                             "commands: 80\n"
                             "lists: 7\n"
                             "parsed: yes\n"
                             "program: WINWORD\n"
                             "scope: Discharge Summary\n");
    auto second = tool({"status", "--dragon-root", root, "--home", home, "global commands"});
    ASSERT_EQ(second.status, 0) << second.err;
    EXPECT_TRUE(
        test::has(second.out, "parsed: no\nprogram: Global Commands\nscope: Global Commands\n"));

    auto again = tool({"make-demo", root});
    EXPECT_NE(again.status, 0);
    EXPECT_TRUE(test::has(again.err, "is not empty"));
}

TEST(DragonCommands, StartUpFailuresGoToStandardError) {
    test::TempDir dir;
    ASSERT_EQ(tool({"make-demo", dir.file("dragon")}).status, 0);
    std::string nssystem = dir.file("dragon/ProgramData/Nuance/NaturallySpeaking11/nssystem.ini");
    files::remove(nssystem);
    auto failed = tool({"status", "--dragon-root", dir.file("dragon"), "--home", dir.file("h")});
    EXPECT_NE(failed.status, 0);
    EXPECT_TRUE(failed.out.empty());
    EXPECT_TRUE(test::has(failed.err, "Cannot find required file\n    [" + nssystem + "]"))
        << failed.err;
    EXPECT_TRUE(test::has(failed.err, "Expected file not found:\n" + nssystem +
                                          "\n    [Report this to Brinmoor, send 'trace.plv']"));

    ASSERT_EQ(tool({"make-demo", dir.file("old")}).status, 0);
    Profile(dir.file("old/engine.ini")).write("Engine", "minor", "30");
    auto old = tool({"status", "--dragon-root", dir.file("old"), "--home", dir.file("h2")});
    EXPECT_NE(old.status, 0);
    EXPECT_TRUE(test::has(old.err, "Unknown NaturallySpeaking version\n    [Unable to continue]"));
    EXPECT_EQ(tool({"make-demo"}).status, cli::kUsage);
}
