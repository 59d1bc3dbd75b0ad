#include "cli/cli.h"
#include "datfile/builder.h"
#include "support/fixtures.h"
#include "support/tool_run.h"

#include <gtest/gtest.h>
#include <sstream>

using namespace plv;

using test::tool;

TEST(Cli, InfoAndListOnADragonFile) {
    test::TempDir home;
    std::string sample = test::samplePath("move-dock_window.dat");
    auto info = tool({"info", sample, "--home", home.path()});
    ASSERT_EQ(info.status, 0) << info.err;
    EXPECT_EQ(info.out,
              "version: 10/11\nlanguage: English\ncommands: 1\nlists: 2\nOffsetLists: 1348\n");
    EXPECT_TRUE(files::exists(home.file("keynames"))) << "the seed keynames is copied in";

    std::string db = home.file("cat.db");
    ASSERT_EQ(tool({"list", sample, "--db", db, "--home", home.path()}).status, 0);
    EXPECT_TRUE(files::exists(db));
}

TEST(Cli, MissingAndDamagedFilesGiveTheirStatuses) {
    test::TempDir home;
    auto missing = tool({"list", home.file("none.dat"), "--home", home.path()});
    EXPECT_EQ(missing.status, 1);
    EXPECT_TRUE(test::has(missing.err, "File does not exist"));

    std::string image = dat::buildFile(
        dat::Layout::V1011, {dat::globalCommand("x", dat::kTypeKeys, dat::textBody("y"))}, {});
    std::string path = home.write("cut.dat", image.substr(0, image.size() - 6));
    auto cut = tool({"list", path, "--home", home.path()});
    EXPECT_EQ(cut.status, 2);
    EXPECT_TRUE(test::has(cut.err, "The above file has a problem - parsing error"));
    EXPECT_TRUE(files::exists(home.file("error.log")));
}

TEST(Cli, HelpAndUsage) {
    auto help = tool({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(test::has(help.out, "list FILE"));
    auto listHelp = tool({"list", "--help"});
    EXPECT_EQ(listHelp.status, 0);
    EXPECT_TRUE(test::has(listHelp.out, "--json"));
    EXPECT_EQ(tool({"list"}).status, cli::kUsage);
    EXPECT_EQ(tool({"list", "a", "--bogus"}).status, cli::kUsage);
    EXPECT_EQ(tool({"frobnicate"}).status, cli::kUsage);
}

TEST(Cli, AParseShowsAProgressLineOnATerminalOnly) {
    std::vector<dat::CommandRecord> commands;
    for (int i = 0; i < 3000; ++i) {
        commands.push_back(dat::globalCommand("command " + std::to_string(i), dat::kTypeKeys,
                                              dat::textBody(std::string(100, 'k'))));
    }
    test::Harness h;
    std::string path = h.home.write("mycmds.dat", dat::buildFile(dat::Layout::V1011, commands, {}));
    std::ostringstream err;
    cli::ConsoleInteraction console(err);
    Session s(*h.catalogue, console, h.trace, h.home.path());
    ASSERT_EQ(dat::parse(s, true, path), dat::ParseStatus::Parsed);
    EXPECT_EQ(err.str(), "") << "standard error is no terminal here";

    console.showProgress = true;
    ASSERT_EQ(dat::parse(s, true, path), dat::ParseStatus::Parsed);
    console.message("after the parse", "");
    std::string shown = err.str();
    EXPECT_EQ(shown.rfind("\rProcessing mycmds.dat 0%", 0), 0u) << shown.substr(0, 40);
    std::string last = "\rProcessing mycmds.dat 99%";
    EXPECT_TRUE(test::has(shown, last));
    // The finished line is blanked and the message starts on a line of its own.
    EXPECT_TRUE(
        test::has(shown, last + "\r" + std::string(last.size() - 1, ' ') + "\rafter the parse\n"));
}
