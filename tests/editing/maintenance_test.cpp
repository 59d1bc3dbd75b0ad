#include "editing/maintenance.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

using namespace plv;

namespace {

// A catalogue file with rows, padded with free space to exactly `size` bytes.
std::string catalogueOfSize(const test::TempDir& dir, std::uint64_t size) {
    std::string path = dir.file("global.mdb");
    {
        Catalogue c(path);
        UserRow row;
        row.menu = kGlobalCommands;
        row.state = kGlobalCommands;
        row.name = "kept";
        row.type = "K";
        row.script = "{Tab}";
        c.insertRow(row);
        c.setParameter("UserName", std::string("Demo"));
    }
    // Bytes past the pages the header counts are free space to SQLite.
    auto bytes = files::readAll(path);
    bytes->resize(size, '\0');
    files::writeAll(path, *bytes);
    return path;
}

} // namespace

TEST(Compaction, StartsPastThreeMillionBytes) {
    EXPECT_FALSE(editing::needsCompaction(3000000, false));
    EXPECT_TRUE(editing::needsCompaction(3000001, false));
    EXPECT_TRUE(editing::needsCompaction(10, true));

    for (auto [size, compacted] : {std::pair{3000000u, false}, {3000001u, true}}) {
        test::TempDir dir;
        std::string path = catalogueOfSize(dir, size);
        Trace trace;
        trace.open(dir.path());
        std::optional<Catalogue> catalogue(std::in_place, path);
        Catalogue* address = &*catalogue;
        EXPECT_EQ(editing::compactCatalogue(catalogue, trace, false), compacted) << size;
        EXPECT_EQ(*files::size(path) < size, compacted) << size;
        ASSERT_TRUE(catalogue);
        EXPECT_EQ(&*catalogue, address) << "references to the catalogue stay valid";
        EXPECT_EQ(catalogue->allRows().size(), 1u);
        EXPECT_EQ(catalogue->parameter("UserName"), "Demo");
        EXPECT_EQ(trace.text().find("b4 compact db") != std::string::npos, compacted);
        EXPECT_EQ(trace.text().find("after compact") != std::string::npos, compacted);
        EXPECT_FALSE(files::exists(path + ".compact"));
    }
}

TEST(Compaction, ForcedOnASmallFileAndSafeWhenItFails) {
    test::TempDir dir;
    std::string path = catalogueOfSize(dir, 100000);
    Trace trace;
    std::optional<Catalogue> catalogue(std::in_place, path);
    EXPECT_TRUE(editing::compactCatalogue(catalogue, trace, true));
    EXPECT_LT(*files::size(path), 100000u);

    // A temporary file that cannot be written leaves the old database in place.
    int reopened = 0;
    files::makeDirectories(path + ".compact/blocked");
    auto before = files::readAll(path);
    EXPECT_FALSE(editing::compactDatabase(
        path, trace, true, [&] { catalogue.reset(); }, [&] { ++reopened; }));
    EXPECT_EQ(reopened, 1);
    EXPECT_EQ(files::readAll(path), before);
}

TEST(FileReset, ForgetsTheCatalogueAndTheDragonUser) {
    test::Harness h;
    UserRow row;
    row.menu = kGlobalCommands;
    row.state = kGlobalCommands;
    row.name = "x";
    row.type = "K";
    h.catalogue->insertRow(row);
    h.catalogue->stateId("winword", "Memo");
    h.catalogue->execute(R"(INSERT INTO "dvcmap" ("name") VALUES ('x'))");
    for (const char* column : {"UserName", "UserSub", "language", "lastmode"}) {
        h.catalogue->setParameter(column, std::string("set"));
    }
    h.catalogue->setParameter("parsed", std::int64_t{1});
    h.catalogue->setParameter("mycmdstime", std::string("2011-03-15 08:00:00.000000000"));
    h.catalogue->setParameter("dvcmaptime", std::string("2011-03-15 08:00:00.000000000"));

    // It asks first; No (the default) leaves the catalogue as it was.
    std::size_t rows = h.rows().size();
    EXPECT_EQ(editing::fileReset(*h.session), dat::Outcome::Refused);
    EXPECT_TRUE(h.ui.sawMessage(editing::kFileResetQuestion, "Re-specify DNS path"));
    EXPECT_TRUE(h.ui.shown().back().defaultNo);
    EXPECT_EQ(h.rows().size(), rows);
    h.ui.answerYes(true);
    EXPECT_EQ(editing::fileReset(*h.session), dat::Outcome::ProgramEnds);
    EXPECT_TRUE(h.ui.sawMessage("You must restart Parlavista for changes to apply"));
    EXPECT_TRUE(h.rows().empty());
    auto count = [&](const char* table) {
        auto s = h.catalogue->prepare(std::string("SELECT COUNT(*) FROM \"") + table + "\"");
        s.step();
        return s.integer(0);
    };
    EXPECT_EQ(count("states"), 0);
    EXPECT_EQ(count("dvcmap"), 0);
    EXPECT_EQ(h.catalogue->parameter("UserName"), " ");
    EXPECT_EQ(h.catalogue->parameter("UserSub"), " ");
    EXPECT_EQ(h.catalogue->parameter("language"), " ");
    EXPECT_EQ(h.catalogue->parameter("lastmode"), "app");
    EXPECT_EQ(h.catalogue->parameterNumber("parsed"), 0);
    EXPECT_FALSE(h.catalogue->parameter("mycmdstime"));
    EXPECT_FALSE(h.catalogue->parameter("dvcmaptime"));
}
