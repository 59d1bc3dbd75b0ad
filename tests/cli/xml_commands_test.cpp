// export-xml and import-xml: a command file to Dragon XML and back, into a new file, an
// existing one and the current Dragon user's.
#include "dragon/demo_root.h"
#include "dragon/root_fixture.h"
#include "support/fixtures.h"
#include "support/tool_run.h"

#include <gtest/gtest.h>

using namespace plv;

namespace {

const std::string kDamaged = "<?xml version=\"1.0\"?>\n<MyCommands language=\"0x409\">\n"
                             "<Commands type=\"global\">\n<Command name=\"x\">\n";

} // namespace

TEST(XmlCommands, ExportImportAndTheirRefusals) {
    test::ToolFolder f;
    std::string sample = f.copy("move-dock_window.dat");
    std::string xml = f.dir.file("shared.xml");
    auto r = f.run({"export-xml", sample, xml});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "export-xml: wrote 1 commands and 2 LISTs to " + xml + "\n");
    EXPECT_EQ(f.bytes(xml).substr(0, 2), "\xFF\xFE");

    std::string target = f.dir.file("new.dat");
    r = f.run({"import-xml", xml, target});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "import-xml: wrote 1 commands and 2 LISTs to " + target + "\n");
    auto rows = test::parsedRows(f.bytes(target));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].name, "<move_or_dock> window <direction>");

    // An existing target needs --append or --overwrite; an append meets a command it has
    // and, without --yes-to-all or --no-to-all, changes nothing.
    std::string before = f.bytes(target);
    for (auto words : {std::vector<std::string>{"import-xml", xml, target},
                       std::vector<std::string>{"import-xml", xml, target, "--append"}}) {
        r = f.run(words);
        EXPECT_EQ(r.status, 3) << r.err;
        EXPECT_EQ(f.bytes(target), before);
    }
    r = f.run({"import-xml", xml, target, "--append", "--no-to-all"});
    EXPECT_EQ(r.status, 3) << r.err; // nothing left to import
    EXPECT_EQ(f.bytes(target), before);

    f.dir.write("damaged.xml", kDamaged);
    r = f.run({"import-xml", f.dir.file("damaged.xml"), target, "--overwrite"});
    EXPECT_EQ(r.status, 3);
    EXPECT_TRUE(test::has(r.err, "Line 4: the file is not well-formed XML")) << r.err;
    EXPECT_EQ(f.bytes(target), before);
    EXPECT_EQ(f.run({"import-xml", f.dir.file("none.xml"), target}).status, 1);

    // The XML file is never the target it is imported into.
    std::string xmlBefore = f.bytes(xml);
    r = f.run({"import-xml", xml, xml, "--overwrite"});
    EXPECT_EQ(r.status, 3);
    EXPECT_TRUE(test::has(r.err, "Can't export to self")) << r.err;
    EXPECT_EQ(f.bytes(xml), xmlBefore);
}

// What the export writes of the demo file (LIST names with blanks among it) imports whole.
TEST(XmlCommands, TheDemoFileComesBackWhole) {
    test::DemoDragon dragon;
    std::string xml = dragon.dir.file("demo.xml");
    std::string back = dragon.dir.file("back.dat");
    auto options = dragon.rootOptions();
    std::vector<std::string> words = {"export-xml", dragon.commandFile(), xml};
    words.insert(words.end(), options.begin(), options.end());
    auto exported = test::tool(words);
    ASSERT_EQ(exported.status, 0) << exported.err;
    auto imported = test::tool({"import-xml", xml, back});
    ASSERT_EQ(imported.status, 0) << imported.err;
    EXPECT_EQ(imported.err, "");
    auto counts = [](const std::string& out, const std::string& command) {
        return out.substr(command.size(), out.find(" to ") - command.size());
    };
    EXPECT_EQ(counts(imported.out, "import-xml: "), counts(exported.out, "export-xml: "));
    EXPECT_TRUE(test::has(files::readAll(back).value_or(""), "lab test"));
}

TEST(XmlCommands, AppendToTheCurrentUsersFileTravelsTheEditingRoad) {
    test::DemoDragon dragon;
    std::string xml = dragon.dir.file("shared.xml");
    auto options = dragon.rootOptions();
    std::vector<std::string> words = {"export-xml", test::samplePath("clear_flag.dat"), xml};
    words.insert(words.end(), options.begin(), options.end());
    ASSERT_EQ(test::tool(words).status, 0);
    words = {"import-xml", xml, dragon.commandFile(), "--append"};
    words.insert(words.end(), options.begin(), options.end());
    auto r = test::tool(words);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(test::has(files::readAll(dragon.commandFile()).value_or(""), "clear flag"));
    // The day's backup was taken before the write.
    EXPECT_TRUE(files::exists(files::join(files::join(dragon.home, dragon::kDemoUser),
                                          "mycmds." + test::todayMMDDYYYY())));
    // --overwrite never replaces Dragon's live file.
    words[3] = "--overwrite";
    EXPECT_EQ(test::tool(words).status, 3);
}
