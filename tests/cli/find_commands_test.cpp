// `find` and `follow` on the demo user's commands, held against the window's own Find.
#include "browser/browser.h"
#include "datfile/builder.h"
#include "dragon/demo_root.h"
#include "support/fixtures.h"
#include "support/tool_run.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

using namespace plv;

namespace {

struct DemoFile {
    DemoFile() {
        path = h.home.write("mycmds.dat", dragon::demoCommandFile());
        h.parseBytes(dragon::demoCommandFile());
    }
    test::ToolRun run(std::vector<std::string> words) const {
        words.insert(words.begin() + 1, path);
        words.insert(words.end(), {"--home", h.home.path()});
        return test::tool(words);
    }
    test::Harness h;
    std::string path;
};

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        out.push_back(text.substr(start, end - start));
    }
    return out;
}

} // namespace

TEST(FindCommand, VisitsTheHitsInTheOrderOfTheWindowsFindAgain) {
    DemoFile demo;
    auto printed = demo.run({"find", "--in", "body", "sendkeys", "--json"});
    ASSERT_EQ(printed.status, 0) << printed.err;
    auto hits = nlohmann::json::parse(printed.out);

    Settings settings(demo.h.home.path());
    browser::Browser window(*demo.h.session, settings);
    window.buildMenus();
    window.start(kGlobalCommands, kGlobalCommands);
    window.finder().setText("sendkeys");
    window.finder().setColumn(browser::FindIn::Body);
    std::set<std::string> programs;
    std::size_t i = 0;
    for (bool found = window.find(browser::FindStep::First); found;
         found = window.find(browser::FindStep::Again), ++i) {
        ASSERT_LT(i, hits.size()) << window.commandName();
        EXPECT_EQ(hits[i]["menu"], window.program());
        EXPECT_EQ(hits[i]["state"], window.scope());
        EXPECT_EQ(hits[i]["name"], window.commandName());
        EXPECT_EQ(hits[i]["Type"], window.preview().typeCode);
        // Scripts show as they are stored: the highlight is the hit.
        ASSERT_TRUE(window.preview().highlight) << window.commandName();
        EXPECT_EQ(hits[i]["position"], window.preview().highlight->start + 1);
        EXPECT_EQ(hits[i]["length"], 8);
        programs.insert(window.program());
    }
    EXPECT_EQ(i, hits.size());
    EXPECT_GE(programs.size(), 3u) << "the search crosses Programs";
    EXPECT_TRUE(demo.h.ui.sawMessage("\"sendkeys\" no more matches", "Not Found"));
}

TEST(FindCommand, ColumnsCaseAndTypesNarrowTheHits) {
    DemoFile demo;
    auto folded = demo.run({"find", "--in", "body", "MÜLLER"});
    EXPECT_EQ(lines(folded.out),
              std::vector<std::string>{"WINWORD\tReferral Letter\treferral opening\tP\t9\t6"});
    EXPECT_TRUE(demo.run({"find", "--in", "body", "MÜLLER", "--match-case"}).out.empty());
    EXPECT_EQ(lines(demo.run({"find", "--in", "name", "LAB", "--types", "l"}).out),
              std::vector<std::string>{"Global Commands\tGlobal Commands\tlab test\tL"});
    EXPECT_EQ(lines(demo.run({"find", "--in", "scope", "inbox"}).out).size(), 2u);
    EXPECT_EQ(demo.run({"find", "--in", "title", "x"}).status, cli::kUsage);
    EXPECT_EQ(demo.run({"find", "--in", "name", ""}).status, cli::kUsage);
    EXPECT_EQ(demo.run({"find", "--in", "name", "x", "--types", "Q"}).status, cli::kUsage);
}

TEST(FollowCommand, PrintsACommandsListsAndAListsCommands) {
    DemoFile demo;
    auto command = demo.run({"follow", "--command", "go to <section>", "--program", "winword",
                             "--scope", "Application-specific"});
    EXPECT_EQ(lines(command.out),
              (std::vector<std::string>{"WINWORD\tApplication-specific\tgo to <section>\tS",
                                        "Global Commands\tGlobal Commands\tsection\tL"}));
    auto list = demo.run({"follow", "--list", "lab test"});
    EXPECT_EQ(lines(list.out), (std::vector<std::string>{
                                   "Global Commands\tGlobal Commands\tlab test\tL",
                                   "Global Commands\tGlobal Commands\torder <lab test>\tA",
                                   "EXCEL\tApplication-specific\tenter result for <lab test>\tS"}));
    EXPECT_EQ(lines(demo.run({"follow", "--list", "lab test", "--program", "EXCEL"}).out).size(),
              2u);

    auto plain = demo.run({"follow", "--command", "copy that", "--program", "Global Commands",
                           "--scope", "Global Commands"});
    EXPECT_EQ(plain.status, cli::kFailed);
    EXPECT_TRUE(test::has(plain.err, "This COMMAND has no LISTs"));
    auto aList = demo.run({"follow", "--command", "dose", "--program", "Global Commands", "--scope",
                           "Global Commands"});
    EXPECT_TRUE(test::has(aList.err, "Not valid unless COMMAND"));
    EXPECT_EQ(demo.run({"follow", "--list", "copy that"}).status, cli::kFailed);
    EXPECT_EQ(demo.run({"follow", "--command", "x", "--list", "y"}).status, cli::kUsage);

    // A LIST named twice is printed once; a command named like the LIST is one of its own,
    // as in the window's view.
    using namespace dat;
    std::string file = demo.h.home.write(
        "twice.dat",
        buildFile(Layout::V1011,
                  {globalCommand("from <place> to <place>", kTypeKeys, textBody("{Tab}")),
                   globalCommand("place", kTypeKeys, textBody("{Home}"))},
                  {listRecord("place", {"home"})}));
    std::string home = demo.h.home.path();
    auto twice = test::tool({"follow", file, "--command", "from <place> to <place>", "--program",
                             kGlobalCommands, "--scope", kGlobalCommands, "--home", home});
    EXPECT_EQ(lines(twice.out).size(), 2u) << twice.out;
    EXPECT_EQ(
        lines(test::tool({"follow", file, "--list", "place", "--home", home}).out),
        (std::vector<std::string>{"Global Commands\tGlobal Commands\tplace\tL",
                                  "Global Commands\tGlobal Commands\tfrom <place> to <place>\tK",
                                  "Global Commands\tGlobal Commands\tplace\tK"}));
}
