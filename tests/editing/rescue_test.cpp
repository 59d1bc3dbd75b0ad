// The rescue the window offers for a damaged file: a copy beside it, and what was lost.
#include "datfile/reader.h"
#include "dragon/demo_root.h"
#include "editing/rescue.h"
#include "platform/files.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

using namespace plv;

TEST(Rescue, TheCopyBesideTheDamagedFileAndWhatWasLost) {
    test::TempDir dir;
    const std::string cut = dragon::demoCommandFile().substr(0, 5000);
    std::string damaged = dir.write("mycmds.dat", cut);
    ScriptedInteraction ui;
    auto copy = editing::rescueBeside(ui, damaged);
    ASSERT_TRUE(copy);
    EXPECT_EQ(*copy, dir.file("mycmds.rescued.dat"));
    EXPECT_TRUE(dat::readsToItsEnd(files::readAll(*copy).value_or("")));
    EXPECT_EQ(files::readAll(damaged), cut);
    EXPECT_TRUE(ui.sawMessage("The rescued copy is " + *copy +
                                  "\nKept 14 commands and 0 LISTs; lost:\n  bytes 2404 to 5000 "
                                  "(2597 bytes) of the commands: \"insert letterhead\", Program "
                                  "Global Commands\n",
                              editing::kRescueTitle));
    EXPECT_FALSE(ui.shown().back().warning);

    // A file of that name is replaced only when the user says so.
    files::writeAll(*copy, "mine");
    ui.answerYes(false);
    EXPECT_FALSE(editing::rescueBeside(ui, damaged));
    EXPECT_EQ(files::readAll(*copy), "mine");
    ui.answerYes(true);
    EXPECT_TRUE(editing::rescueBeside(ui, damaged));
    EXPECT_TRUE(dat::readsToItsEnd(files::readAll(*copy).value_or("")));

    EXPECT_FALSE(editing::rescueBeside(ui, dir.write("notes.dat", "not a command file")));
    EXPECT_TRUE(
        ui.sawMessage("Nothing can be rescued: the file is not a command file of a known version"));
    EXPECT_TRUE(ui.shown().back().warning);
    EXPECT_FALSE(files::exists(dir.file("notes.rescued.dat")));
}
