#include "platform/files.h"
#include "platform/trace.h"
#include "support/file_rights.h"
#include "support/fixtures.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace plv;

namespace {

namespace fs = std::filesystem;

int entriesIn(const std::string& folder) {
    int entries = 0;
    for (auto& e : fs::directory_iterator(folder)) {
        (void)e;
        ++entries;
    }
    return entries;
}

} // namespace

TEST(Files, ReplaceFileKeepsRightsRefusesReadOnlyFilesAndWritesThroughLinks) {
    test::TempDir dir;
    std::string path = dir.write("mycmds.dat", "old");
    test::giveRights(path, test::Rights::Private);
    ASSERT_TRUE(files::replaceFile(path, "new content"));
    EXPECT_EQ(files::readAll(path), "new content");
    EXPECT_TRUE(test::hasRights(path, test::Rights::Private));
    EXPECT_EQ(entriesIn(dir.path()), 1) << "no temporary file may be left behind";

    // Read-only by its bits, whoever runs the program (root may write any file).
    test::giveRights(path, test::Rights::ReadOnly);
    EXPECT_TRUE(files::isReadOnly(path));
    EXPECT_TRUE(files::replaceFile(path, "x").readOnly());
    EXPECT_EQ(files::readAll(path), "new content");
    EXPECT_EQ(entriesIn(dir.path()), 1);
    EXPECT_FALSE(files::copyFileAtomically(dir.write("other.dat", "y"), path));
    EXPECT_EQ(files::readAll(path), "new content");

    // A link stays a link; the file it names is replaced, also through a link to a link
    // (where this user may make links).
    std::string real = dir.write("synced/real.dat", "linked");
    if (test::symbolicLinksPossible()) {
        fs::create_symlink(fs::path("synced") / "real.dat", dir.file("link.dat"));
        fs::create_symlink("link.dat", dir.file("link2.dat"));
        ASSERT_TRUE(files::replaceFile(dir.file("link2.dat"), "through"));
        EXPECT_TRUE(fs::is_symlink(dir.file("link2.dat")) && fs::is_symlink(dir.file("link.dat")));
        EXPECT_EQ(files::readAll(real), "through");
    }

    // A copy to a new file keeps its source's rights; the new time passes the one given.
    test::giveRights(real, test::Rights::Private);
    ASSERT_TRUE(files::copyFileAtomically(real, dir.file("copy.dat")));
    EXPECT_TRUE(test::hasRights(dir.file("copy.dat"), test::Rights::Private));
    files::FileTime later = files::now() + 60LL * 1000000000LL;
    ASSERT_TRUE(files::replaceFile(real, "merged", {.modifiedAfter = later}));
    EXPECT_GT(files::lastModified(real).value_or(0), later);
    EXPECT_FALSE(files::replaceFile(dir.file("missing/x.dat"), "x"));
}

TEST(Files, ReplaceFileKeepsTheOwnerAndWritesInPlaceWhereNoNewFileMayGo) {
    test::TempDir dir;
    std::string folder = dir.file("shared");
    std::string path = dir.write("shared/export.csv", "old");
    test::giveRights(path, test::Rights::Private);
    // A file of the user who runs the test, which the child may run as another user: then it
    // may not write it, and a rename over it would take it over.
    test::TempDir others;
    std::string theirs = others.write("theirs.txt", "theirs");
    int result = test::inUnwritableFolder(dir.path(), folder, [&] {
        bool written = static_cast<bool>(files::replaceFile(path, "new"));
        bool own = static_cast<bool>(std::ofstream(theirs, std::ios::app));
        return (written ? 0 : 1) + (own ? 4 : (files::isReadOnly(theirs) ? 0 : 2));
    });
    if (result == -1) {
        GTEST_SKIP() << "no folder can be closed to this user here (Windows closes one by its "
                        "access-control list, which Wine ignores)";
    }
    EXPECT_EQ(result & 3, 0);
    EXPECT_EQ(files::readAll(theirs), "theirs");
    EXPECT_EQ(files::readAll(path), "new");
    EXPECT_TRUE(test::hasRights(path, test::Rights::Private));
    EXPECT_EQ(entriesIn(folder), 1);

    // Root hands the new file to the old one's owner and group.
    struct stat before {};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    ASSERT_TRUE(files::replaceFile(path, "newer"));
    struct stat after {};
    ASSERT_EQ(::stat(path.c_str(), &after), 0);
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_EQ(after.st_gid, before.st_gid);
}

TEST(Files, NamesCompareAsTheFileSystemDoes) {
    test::TempDir dir;
    std::string lower = dir.write("tricky.dat", "a");
    std::string upper = files::join(dir.path(), "TRICKY.dat");
    bool two = !test::namesIgnoreLetterCase();
    EXPECT_EQ(files::samePath(lower, upper), !two);
    if (two) {
        dir.write("TRICKY.dat", "b");
        EXPECT_FALSE(files::sameFile(lower, upper));
    }
    EXPECT_TRUE(files::samePath(lower, files::join(files::join(dir.path(), "."), "tricky.dat")));
    fs::create_hard_link(files::fsPath(lower), files::fsPath(dir.file("hard.dat")));
    EXPECT_TRUE(files::sameFile(lower, dir.file("hard.dat")));
    // A symbolic link where this user may make one.
    if (test::symbolicLinksPossible()) {
        fs::create_symlink(lower, dir.file("soft.dat"));
        EXPECT_TRUE(files::sameFile(lower, dir.file("soft.dat")));
    }
}

TEST(Files, StoredTimesAreExact) {
    files::FileTime t = 1765024850123456789LL;
    EXPECT_EQ(files::formatStoredTime(t), "2025-12-06 12:40:50.123456789");
    EXPECT_EQ(files::parseStoredTime(files::formatStoredTime(t)), t);
    test::TempDir dir;
    std::string path = dir.write("a", "x");
    files::FileTime native = t - t % test::fileTimeStep();
    ASSERT_TRUE(files::setLastModified(path, native));
    EXPECT_EQ(files::lastModified(path), native);
}

TEST(Trace, ContinuesTodaysFileAndStartsYesterdaysAnew) {
    test::TempDir dir;
    files::FileTime now = files::now();
    {
        Trace trace;
        trace.open(dir.path(), now);
        trace.line("after open db");
        trace.line("command line:", "global commands", "x");
    }
    {
        Trace trace;
        trace.open(dir.path(), now);
        trace.line("second");
        EXPECT_EQ(trace.text(), "after open db\r\ncommand line: global commands x\r\nsecond\r\n");
    }
    files::setLastModified(dir.file("trace.plv"), now - 24LL * 3600 * 1000000000LL);
    Trace trace;
    trace.open(dir.path(), now);
    trace.line("fresh", "", "");
    EXPECT_EQ(trace.text(), "fresh\r\n");
}
