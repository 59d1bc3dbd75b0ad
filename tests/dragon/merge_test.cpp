#include "datfile/builder.h"
#include "dragon/merge_commands.h"
#include "dragon/seed_files.h"
#include "support/fixtures.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace plv;
using namespace plv::dat;

namespace {

std::string userFile() {
    auto word = applicationCommand("bold that", "winword", kTypeKeys, textBody("{Ctrl+b}"));
    auto memo = windowCommand("memo line", "winword", "Memo", kTypeText, plainTextBody("Re: "));
    return buildFile(Layout::V1011,
                     {globalCommand("next field", kTypeKeys, textBody("{Tab}")), word, memo},
                     {listRecord("colour", {"red", "blue"})});
}

} // namespace

TEST(Merge, AddsWhatTheFileLacksAndKeepsTheRest) {
    std::string user = userFile();
    // The same command in another letter case, the same name in another scope, a new LIST
    // and a LIST the file has.
    auto sameWindow = windowCommand("MEMO LINE", "WinWord", "memo", kTypeKeys, textBody("x"));
    auto otherWindow = windowCommand("memo line", "winword", "Letter", kTypeKeys, textBody("y"));
    std::string placer = buildFile(
        Layout::V1011,
        {globalCommand("Next Field", kTypeKeys, textBody("{Tab}{Tab}")), sameWindow, otherWindow,
         globalCommand("pick <shade>", kTypeAdvanced, textBody("Sub Main\r\nEnd Sub\r\n"))},
        {listRecord("COLOUR", {"green"}), listRecord("shade", {"light", "dark"})});
    dragon::MergeResult result;
    auto merged = dragon::mergeImages(user, placer, result);
    ASSERT_TRUE(merged) << result.message;
    EXPECT_EQ(result.commandsAdded, 2);
    EXPECT_EQ(result.listsAdded, 1);

    test::Harness h;
    ASSERT_EQ(h.parseBytes(*merged), ParseStatus::Parsed);
    auto rows = h.rows();
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_EQ(rows[3].state, "Letter");
    EXPECT_EQ(rows[4].name, "pick <shade>");
    EXPECT_EQ(rows[5].script, "red\r\nblue\r\n") << "the file's own LIST stays as it was";
    EXPECT_EQ(rows[6].name, "shade");
    // The file's own records are carried over byte for byte.
    std::size_t lists =
        static_cast<std::size_t>(h.catalogue->parameterNumber("OffsetLists").value());
    EXPECT_EQ(merged->substr(21, 200), user.substr(21, 200));
    EXPECT_EQ(readLongAt(*merged, 17) & 0xFFFF, 5u);
    EXPECT_EQ(readLongAt(*merged, lists - 1) & 0xFFFF, 2u);
}

TEST(Merge, AnEmptyPlacerRewritesTheSameContentWithANewTime) {
    test::TempDir dir;
    std::string file = dir.write("mycmds.dat", userFile());
    std::string placer = dir.write("placer.dat", dragon::placerFile());
    ASSERT_TRUE(files::setLastModified(file, 1000000000));
    auto result = dragon::mergeCommandFile(file, placer);
    ASSERT_EQ(result.status, dragon::MergeResult::Status::Merged) << result.message;
    EXPECT_EQ(result.commandsAdded, 0);
    EXPECT_EQ(files::readAll(file), userFile());
    EXPECT_NE(files::lastModified(file), files::FileTime{1000000000});

    // Written within the same tick of the file-system clock, or by a clock behind the
    // file's: the time still moves on.
    files::FileTime ahead = files::now() + 3600LL * 1000000000LL;
    ASSERT_TRUE(files::setLastModified(file, ahead));
    ASSERT_EQ(dragon::mergeCommandFile(file, placer).status, dragon::MergeResult::Status::Merged);
    EXPECT_GT(files::lastModified(file), ahead);
    EXPECT_EQ(files::readAll(file), userFile());
    auto entries = std::filesystem::directory_iterator(dir.path());
    EXPECT_EQ(std::distance(begin(entries), end(entries)), 2) << "no temporary file is left";
}

TEST(Merge, ConvertsThePlacersLayoutAndRefusesDamagedFiles) {
    test::TempDir dir;
    std::string file = dir.write("mycmds.dat", userFile());
    std::string old = buildFile(
        Layout::V7, {applicationCommand("sum it", "excel", kTypeKeys, textBody("{Alt+=}"))}, {});
    std::string placer = dir.write("old.dat", old);
    ASSERT_EQ(dragon::mergeCommandFile(file, placer).commandsAdded, 1);
    test::Harness h;
    ASSERT_EQ(h.parseBytes(*files::readAll(file)), ParseStatus::Parsed);
    EXPECT_EQ(h.rows()[3].menu, "EXCEL");

    std::string before = *files::readAll(file);
    std::string cut = dir.write("cut.dat", old.substr(0, old.size() - 5));
    auto refused = dragon::mergeCommandFile(file, cut);
    EXPECT_EQ(refused.status, dragon::MergeResult::Status::NotACommandFile);
    EXPECT_TRUE(test::has(refused.message, "placer"));
    EXPECT_EQ(files::readAll(file), before) << "the user's file is never touched by a refusal";
    EXPECT_EQ(dragon::mergeCommandFile(dir.file("none.dat"), placer).status,
              dragon::MergeResult::Status::Unreadable);
}
