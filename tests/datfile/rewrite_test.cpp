#include "datfile/builder.h"
#include "datfile/rewrite.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "support/edited_file.h"
#include "support/file_rights.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace plv;
using namespace plv::dat;

namespace {

// A parsed file whose bodies the engine tests change.
struct Edit : test::EditedFile {
    Outcome setBody(const std::string& name, const std::string& text) {
        return Update1Body(*h.session, row(name), text, Positions::Move);
    }
};

std::string filled(std::size_t n, char c = 'x') {
    return std::string(n, c);
}

std::vector<CommandRecord> threeCommands(const std::string& firstBody) {
    return {globalCommand("first", kTypeKeys, textBody(firstBody)),
            applicationCommand("second", "winword", kTypeScript, textBody("SendKeys 1")),
            globalCommand("third", kTypeText, plainTextBody("plain"))};
}

struct Stored { // the positions the catalogue holds
    std::vector<std::pair<std::int64_t, std::int64_t>> rows;
    std::int64_t offsetLists;
    bool operator==(const Stored&) const = default;
};

Stored positions(const Edit& e) {
    Stored p{{}, e.offsetLists()};
    for (const auto& r : e.h.rows()) {
        p.rows.emplace_back(r.offset, r.offsetbody);
    }
    return p;
}

} // namespace

TEST(Update1Body, PrefixWidthChangesMoveEveryLaterRow) {
    struct Case {
        std::size_t from, to;
        std::int64_t shift;
    };
    for (Case c : {Case{254, 255, 3}, Case{65534, 254, -65286}, Case{10, 65534, 65530},
                   Case{300, 200, -102}}) {
        SCOPED_TRACE(std::to_string(c.from) + " -> " + std::to_string(c.to));
        Edit e;
        e.open(buildFile(Layout::V1011, threeCommands(filled(c.from)),
                         {listRecord("apps", {"Word"}), listRecord("days", {"Monday"})}));
        Stored before = positions(e);
        std::size_t sizeBefore = e.file().size();
        ASSERT_EQ(e.setBody("first", filled(c.to, 'y')), Outcome::Done);
        EXPECT_EQ(static_cast<std::int64_t>(e.file().size() - sizeBefore), c.shift);

        Stored shifted = positions(e);
        EXPECT_EQ(shifted.rows[0], before.rows[0]);
        for (std::size_t i = 1; i < before.rows.size(); ++i) {
            EXPECT_EQ(shifted.rows[i].first, before.rows[i].first + c.shift);
            std::int64_t body = before.rows[i].second;
            EXPECT_EQ(shifted.rows[i].second, body == 0 ? 0 : body + c.shift);
        }
        EXPECT_EQ(shifted.offsetLists, before.offsetLists + c.shift);
        // The positions the engine moved are the ones a fresh parse finds.
        e.reparse();
        EXPECT_EQ(positions(e), shifted);
        EXPECT_EQ(e.row("first").script, filled(c.to, 'y'));
        EXPECT_EQ(e.row("days").script, "Monday\r\n");
    }
}

TEST(Update1Body, ListsChangeThroughTheirDisplayCopiesAndTheLastListEndsTheFile) {
    Edit e;
    e.open(buildFile(Layout::V61, threeCommands("a"),
                     {listRecord("apps", {"Word"}), listRecord("days", {"Monday"})}));
    // A copy of a LIST shown under another Program changes the file's LIST.
    UserRow copy = test::addListCopy(*e.h.catalogue, e.row("apps"), "WINWORD");
    std::int64_t daysBefore = e.row("days").offset;
    ASSERT_EQ(Update1Body(*e.h.session, copy, "Word\r\nExcel", Positions::Move), Outcome::Done);
    EXPECT_EQ(e.row("days").offset, daysBefore + 6);
    e.reparse();
    EXPECT_EQ(e.row("apps").script, "Word\r\nExcel\r\n");
    EXPECT_EQ(e.row("days").offset, daysBefore + 6);

    // Items are trimmed at their ends, empty lines at the end dropped.
    ASSERT_EQ(e.setBody("days", "Tuesday\r\n\r\nWed nesday \t \r\n\r\n \t "), Outcome::Done);
    ByteWriter tail;
    tail.PutCountedString("days");
    tail.PutLong(1);
    tail.PutLong(3);
    for (const char* item : {"Tuesday", "", "Wed nesday"}) {
        tail.PutCountedString(item);
    }
    std::string image = e.file();
    ASSERT_GE(image.size(), tail.size());
    EXPECT_EQ(image.substr(image.size() - tail.size()), tail.data()) << "nothing after the LIST";
    e.reparse();
    EXPECT_EQ(e.row("days").script, "Tuesday\r\n\r\nWed nesday\r\n");
    EXPECT_EQ(e.row("apps").script, "Word\r\nExcel\r\n");
}

TEST(Rewrite, KeepsSavedatTracesAndLeavesNoTemporaryFile) {
    Edit e;
    e.open(buildFile(Layout::V1011, threeCommands("x"), {listRecord("apps", {"Word"})}));
    std::string previous = e.file();
    ASSERT_EQ(e.setBody("second", "SendKeys 2"), Outcome::Done);
    EXPECT_EQ(e.h.readHomeFile("savedat"), previous);
    EXPECT_FALSE(files::exists(e.h.home.file("mycmds.Parlavista")));
    EXPECT_TRUE(test::has(e.h.trace.text(), "\r\n  Update1Body\r\n"));

    std::string second = e.file();
    e.reparse();
    // The replaced file keeps the access rights of the one it replaces.
    test::giveRights(e.path, test::Rights::Private);
    ASSERT_EQ(e.setBody("first", "y"), Outcome::Done);
    EXPECT_EQ(e.h.readHomeFile("savedat"), second) << "one generation only";
    EXPECT_TRUE(test::hasRights(e.path, test::Rights::Private));
}

TEST(Rewrite, StalePositionsAreRefusedAndNothingIsTouched) {
    auto image = buildFile(Layout::V1011, threeCommands("x"), {listRecord("apps", {"Word"})});
    auto refused = [&](const std::function<void(Edit&, UserRow&)>& spoil, const char* row) {
        Edit e;
        e.open(image);
        UserRow r = e.row(row);
        spoil(e, r);
        std::string before = e.file();
        EXPECT_EQ(Update1Body(*e.h.session, r, "new", Positions::Move), Outcome::Refused);
        e.expectUntouched(before, "The command file does not match");
    };
    refused([](Edit&, UserRow& r) { r.offset = 5; }, "first");
    refused([](Edit&, UserRow& r) { r.offset += 100000; }, "second");
    refused([](Edit&, UserRow& r) { r.offsetbody += 1; }, "second");
    refused([](Edit& e, UserRow& r) { r.offset = e.row("second").offset; }, "first");
    refused([](Edit&, UserRow& r) { r.offset += 1; }, "apps");
    refused([](Edit& e, UserRow&) { e.h.catalogue->setParameter("OffsetLists", 1 << 20); },
            "first");
    refused([](Edit& e, UserRow&) { e.h.catalogue->setParameter("OffsetLists", 30); }, "first");
    // The file changed under the catalogue: a record renamed in place.
    refused(
        [](Edit& e, UserRow&) {
            std::string changed = e.file();
            changed[static_cast<std::size_t>(e.row("second").offset)] = 'S';
            files::writeAll(e.path, changed);
        },
        "second");
}

TEST(Rewrite, AFailedWriteOrAnUnwritableCharacterLeavesTheCommandFileAlone) {
    Edit e;
    e.open(buildFile(Layout::V1011, threeCommands("x"), {}));
    std::string before = e.file();
    EXPECT_EQ(e.setBody("first", "snow \u2603"), Outcome::Refused);
    EXPECT_TRUE(e.h.ui.sawMessage(refusedCharacterMessage("\u2603")));
    // A folder where the temporary file would go cannot be replaced by a file.
    files::makeDirectories(e.h.home.file("mycmds.Parlavista/blocked"));
    EXPECT_EQ(e.setBody("first", "y"), Outcome::Refused);
    EXPECT_EQ(e.file(), before);
    EXPECT_EQ(e.h.ui.shown().size(), 2u);

    // Truncating cuts a file; a file that is not there ends the program.
    std::string path = e.h.home.write("x.dat", "0123456789");
    EXPECT_EQ(TruncateFile(*e.h.session, path, 4), Outcome::Done);
    EXPECT_EQ(files::readAll(path), "0123");
    EXPECT_EQ(TruncateFile(*e.h.session, e.h.home.file("none.dat"), 4), Outcome::ProgramEnds);
    EXPECT_TRUE(e.h.ui.sawMessage("Lopen in truncatefile failed", e.h.home.file("none.dat")));
}

TEST(Rewrite, TextHelpers) {
    EXPECT_EQ(TrimTrailing("a b \t\t  \r\n\r\n"), "a b");
    EXPECT_EQ(TrimTrailing("a\t \r\n b"), "a\t \r\n b");
    EXPECT_EQ(TrimTrailing("a\r\n\r\n \t "), "a");
    EXPECT_EQ(TrimTrailing("a\r\n\r\n\n"), "a\r\n\r\n\n");
    EXPECT_EQ(splitAtCrLf(""), std::vector<std::string>{});
    EXPECT_EQ(splitAtCrLf("a\r\n\r\nb"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(splitAtCrLf("a\r\n"), (std::vector<std::string>{"a", ""}));
    EXPECT_EQ(normaliseLineBreaks("a"), "a\r\n");
    EXPECT_EQ(normaliseLineBreaks("a\r\nb"), "a\r\nb\r\n");
    EXPECT_EQ(normaliseLineBreaks("a\r\n\r\n\r\n"), "a\r\n");
}
