// diff on the demo user's file and on copies changed by the write and Tools commands.
#include "dragon/demo_root.h"
#include "platform/files.h"
#include "support/fixtures.h"
#include "support/tool_run.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

using namespace plv;

namespace {

struct Pair : test::ToolFolder {
    std::string a = dir.write("a.dat", dragon::demoCommandFile());
    std::string b = dir.write("b.dat", dragon::demoCommandFile());
};

} // namespace

TEST(Diff, NamesExactlyTheCommandAndFieldThatSetBodyChanged) {
    Pair p;
    for (const auto& other : {p.a, p.b}) {
        auto same = p.run({"diff", p.a, other});
        EXPECT_EQ(same.status, 0) << same.err;
        EXPECT_EQ(same.out, "");
    }
    ASSERT_EQ(
        p.run({"set-body", p.b, "--program", "Global Commands", "--scope", "Global Commands",
               "--name", "insert my signature", "--body",
               "Dr Helen Marsh MB ChB MRCGP\r\nGeneral Practitioner\r\nRiverside Practice\r\n"})
            .status,
        0);
    auto changed = p.run({"diff", p.a, p.b});
    EXPECT_EQ(changed.status, 1) << changed.err;
    EXPECT_EQ(changed.out, "--- " + p.a + "\n+++ " + p.b +
                               "\nchanged command: Global Commands / Global Commands / "
                               "\"insert my signature\"\n"
                               "  body:\n"
                               "    @@ -1,3 +1,3 @@\n"
                               "     Dr Helen Marsh MB ChB MRCGP\n"
                               "     General Practitioner\n"
                               "    -Riverside Family Practice\n"
                               "    +Riverside Practice\n");

    auto json = nlohmann::json::parse(p.run({"diff", p.a, p.b, "--json"}).out);
    EXPECT_EQ(json["same"], false);
    ASSERT_EQ(json["commands"].size(), 1u);
    EXPECT_EQ(json["commands"][0]["name"], "insert my signature");
    ASSERT_EQ(json["commands"][0]["fields"].size(), 1u);
    EXPECT_EQ(json["commands"][0]["fields"][0]["field"], "body");
    EXPECT_EQ(json["commands"][0]["fields"][0]["b"],
              "Dr Helen Marsh MB ChB MRCGP\r\nGeneral Practitioner\r\nRiverside Practice\r\n");

    auto elsewhere = p.run({"diff", p.a, p.b, "--program", "WINWORD"});
    EXPECT_EQ(elsewhere.status, 0);
    EXPECT_EQ(elsewhere.out, "");
}

TEST(Diff, AnotherFormatVersionAndLanguageShowOnlyInTheHeader) {
    Pair p;
    ASSERT_EQ(p.run({"convert-format", p.b, "--to", "8/9"}).status, 0);
    ASSERT_EQ(p.run({"convert-language", p.b, "--to", "German"}).status, 0);
    auto r = p.run({"diff", p.a, p.b});
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_EQ(r.out, "--- " + p.a + "\n+++ " + p.b +
                         "\nheader: version 10/11 -> 8/9\nheader: language English -> German\n");
}

TEST(Diff, AFileThatCannotBeReadExitsWithTwo) {
    Pair p;
    auto missing = p.run({"diff", p.a, p.dir.file("none.dat")});
    EXPECT_EQ(missing.status, 2);
    EXPECT_TRUE(test::has(missing.err, "File does not exist"));

    std::string cut = p.dir.write("cut.dat", dragon::demoCommandFile().substr(0, 5000));
    auto damaged = p.run({"diff", cut, p.b});
    EXPECT_EQ(damaged.status, 2);
    EXPECT_EQ(damaged.out, "");
    EXPECT_TRUE(test::has(damaged.err, "The above file has a problem - parsing error"));
    EXPECT_FALSE(test::has(damaged.err, "Now exiting"));
    EXPECT_TRUE(files::exists(p.dir.file("home/error.log")));

    auto text = p.run({"diff", p.a, p.dir.write("text.dat", "not a command file at all\n")});
    EXPECT_EQ(text.status, 2);
    EXPECT_TRUE(test::has(text.err, "This is not a Dragon command file."));

    EXPECT_EQ(p.run({"diff", p.a}).status, 64);
}
