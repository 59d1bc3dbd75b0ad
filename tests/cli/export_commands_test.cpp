// export and export-dat on files exported by Dragon 11; the exported command files are read
// back by a reading of the layout that shares no code with the program's reader.
#include "platform/files.h"
#include "support/fixtures.h"
#include "support/hand_reader.h"
#include "support/tool_run.h"

#include <gtest/gtest.h>

using namespace plv;

namespace {

using Work = test::ToolFolder;

std::vector<std::string> names(const std::string& image) {
    std::vector<std::string> out;
    auto dat = test::hand::readDat(image);
    for (const auto& c : dat.commands) {
        out.push_back(c.name);
    }
    for (const auto& l : dat.lists) {
        out.push_back("LIST " + l.name);
    }
    return out;
}

} // namespace

TEST(ExportCommands, ExportWritesTheSameBytesToAFileAsToTheTerminal) {
    Work w;
    std::string path = w.copy("move-dock_window.dat");
    auto shown = w.run({"export", path, "--format", "csv", "--types", "L"});
    ASSERT_EQ(shown.status, 0) << shown.err;
    EXPECT_EQ(shown.out,
              "\"Global Commands\",\"Global Commands\",\"L\",\"direction\",\"Dragon\","
              "\"\",\"left\"\r\n"
              "\"Global Commands\",\"Global Commands\",\"L\",\"move_or_dock\",\"Dragon\","
              "\"\",\"move\"\r\n");
    auto written =
        w.run({"export", path, "--format=csv", "--types", "L", "-o", w.dir.file("o.csv")});
    ASSERT_EQ(written.status, 0) << written.err;
    EXPECT_EQ(Work::bytes(w.dir.file("o.csv")), shown.out);

    auto none =
        w.run({"export", path, "--format", "dvc", "--program", "Global Commands", "--types", "A"});
    EXPECT_EQ(none.status, 3);
    EXPECT_TRUE(test::has(none.err, "There are no DVC commands in this Scope or View"));
    EXPECT_EQ(w.run({"export", path, "--format", "xls"}).status, 64);
}

TEST(ExportCommands, ExportDatRefusesWhatItMustNotDecideAlone) {
    Work w;
    std::string source = w.copy("move-dock_window.dat");
    std::string target = w.dir.file("out.dat");
    auto first = w.run({"export-dat", source, target});
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(names(Work::bytes(target)),
              (std::vector<std::string>{"<move_or_dock> window <direction>", "LIST move_or_dock",
                                        "LIST direction"}));
    std::string before = Work::bytes(target);

    auto exists = w.run({"export-dat", source, target});
    EXPECT_EQ(exists.status, 3);
    EXPECT_TRUE(test::has(exists.err, "The Export file already exists:"));
    auto duplicate = w.run({"export-dat", source, target, "--append"});
    EXPECT_EQ(duplicate.status, 3);
    EXPECT_TRUE(test::has(duplicate.err, "(answered Cancel Export)"));
    EXPECT_EQ(Work::bytes(target), before);

    ASSERT_EQ(w.run({"export-dat", source, target, "--append", "--yes-to-all"}).status, 0);
    EXPECT_EQ(Work::bytes(target), before); // the one command replaced by itself
    auto other =
        w.run({"export-dat", w.copy("reply.dat"), target, "--append", "--program", "OUTLOOK"});
    ASSERT_EQ(other.status, 0) << other.err;
    EXPECT_EQ(names(Work::bytes(target)),
              (std::vector<std::string>{"<move_or_dock> window <direction>", "reply",
                                        "LIST move_or_dock", "LIST direction"}));
    EXPECT_EQ(w.run({"export-dat", source, target, "--append", "--overwrite"}).status, 64);
}
