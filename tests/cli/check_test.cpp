// lint and salvage on the demo user's file and the Dragon samples.
#include "dragon/demo_root.h"
#include "support/fixtures.h"
#include "support/tool_run.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

using namespace plv;

TEST(Lint, DemoFileAndSamplesGiveTheirOwnLists) {
    test::ToolFolder t;
    for (const char* sample : {"clear_flag.dat", "move-dock_window.dat", "reply.dat"}) {
        auto r = t.run({"lint", test::samplePath(sample)});
        EXPECT_EQ(r.status, 0) << sample << r.err;
        EXPECT_EQ(r.out, "") << sample;
    }
    std::string demo = t.dir.write("mycmds.dat", dragon::demoCommandFile());
    auto r = t.run({"lint", demo});
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(r.out, "information: Global Commands / Global Commands / \"insert prescription "
                     "disclaimer\": encrypted: its body cannot be read or changed [encrypted]\n"
                     "warning: LIST \"lab test\": Only numbers, letters and _-. are allowed by "
                     "Dragon in LIST names [refused-name]\n"
                     "warning: LIST \"review interval\": Only numbers, letters and _-. are "
                     "allowed by Dragon in LIST names [refused-name]\n");
    auto json = nlohmann::json::parse(t.run({"lint", demo, "--json"}).out);
    EXPECT_EQ(json["warnings"], true);
    ASSERT_EQ(json["problems"].size(), 3u);
    EXPECT_EQ(json["problems"][0]["level"], "information");
    EXPECT_EQ(json["problems"][1]["type"], "L");

    EXPECT_EQ(t.run({"lint", t.dir.file("none.dat")}).status, 2);
    EXPECT_EQ(t.run({"lint"}).status, 64);
}

TEST(Salvage, WritesOnlyTheRescuedCopyAndRefusesOneThatExists) {
    test::ToolFolder t;
    const std::string demo = dragon::demoCommandFile();
    std::string cut = t.dir.write("cut.dat", demo.substr(0, 5000));
    std::string out = t.dir.file("out.dat");
    auto r = test::tool({"salvage", cut, out});
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(r.out, "Kept 14 commands and 0 LISTs; lost:\n  bytes 2404 to 5000 (2597 bytes) of "
                     "the commands: \"insert letterhead\", Program Global Commands\n");
    EXPECT_EQ(test::ToolFolder::bytes(cut), demo.substr(0, 5000));
    EXPECT_EQ(t.run({"info", out}).status, 0);

    auto again = test::tool({"salvage", cut, out});
    EXPECT_EQ(again.status, 3);
    EXPECT_TRUE(test::has(again.err, "A file of this name exists already"));
    EXPECT_EQ(test::tool({"salvage", cut, out, "--overwrite"}).status, 1);
    auto itself = test::tool({"salvage", cut, cut, "--overwrite"});
    EXPECT_EQ(itself.status, 3);
    EXPECT_TRUE(test::has(itself.err, "cannot take the place of the damaged file"));

    std::string whole = t.dir.write("whole.dat", demo);
    auto w = test::tool({"salvage", whole, t.dir.file("copy.dat")});
    EXPECT_EQ(w.status, 0);
    EXPECT_EQ(test::ToolFolder::bytes(t.dir.file("copy.dat")), demo);
}
