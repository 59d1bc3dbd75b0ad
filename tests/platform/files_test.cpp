#include "platform/files.h"
#include "platform/trace.h"
#include "support/fixtures.h"

#include <filesystem>
#include <gtest/gtest.h>

using namespace plv;

TEST(Files, AtomicReplaceLeavesOnlyTheNewContent) {
    test::TempDir dir;
    std::string path = dir.write("mycmds.dat", "old");
    ASSERT_TRUE(files::replaceAtomically(path, "new content"));
    EXPECT_EQ(files::readAll(path), "new content");
    int entries = 0;
    for (auto& e : std::filesystem::directory_iterator(dir.path())) {
        (void)e;
        ++entries;
    }
    EXPECT_EQ(entries, 1) << "no temporary file may be left behind";
    EXPECT_FALSE(files::replaceAtomically(dir.file("missing/x.dat"), "x"));
}

TEST(Files, StoredTimesAreExact) {
    files::FileTime t = 1765024850123456789LL;
    EXPECT_EQ(files::formatStoredTime(t), "2025-12-06 12:40:50.123456789");
    EXPECT_EQ(files::parseStoredTime(files::formatStoredTime(t)), t);
    test::TempDir dir;
    std::string path = dir.write("a", "x");
    ASSERT_TRUE(files::setLastModified(path, t));
    EXPECT_EQ(files::lastModified(path), t);
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
