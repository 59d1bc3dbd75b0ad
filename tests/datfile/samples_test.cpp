// Command files exported by Dragon 11 itself: the reader must read them as Dragon wrote them.
#include "datfile/record.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

using namespace plv;
using namespace plv::dat;

TEST(DragonSamples, StepByStepCommandOfAnApplication) {
    test::Harness h;
    ASSERT_EQ(parse(*h.session, true, test::samplePath("reply.dat")), ParseStatus::Parsed);
    auto rows = h.rows();
    ASSERT_EQ(rows.size(), 1u);
    const UserRow& r = rows[0];
    EXPECT_EQ(r.name, "reply");
    EXPECT_EQ(r.menu, "OUTLOOK");
    EXPECT_EQ(r.state, "Application-specific");
    EXPECT_EQ(r.owner, "Outlook");
    EXPECT_EQ(r.type, "X");
    EXPECT_EQ(r.script, "Press Ctrl + R");
    EXPECT_EQ(r.offset, 22);
    EXPECT_EQ(r.offsetbody, 116);
    EXPECT_EQ(r.pdescript, 17);
    EXPECT_EQ(r.companyName, 21);
    EXPECT_EQ(r.states, "");
    EXPECT_EQ(h.catalogue->parameterNumber("OffsetLists"), 123);
    EXPECT_EQ(h.session->file.versionName, "10/11");
    EXPECT_EQ(h.session->file.languageName, "English");
}

TEST(DragonSamples, AdvancedScriptingCommandsAndLists) {
    test::Harness h;
    ASSERT_EQ(parse(*h.session, true, test::samplePath("clear_flag.dat")), ParseStatus::Parsed);
    auto flag = h.rows().at(0);
    EXPECT_EQ(flag.name, "clear flag");
    EXPECT_EQ(flag.type, "A");
    EXPECT_EQ(flag.script.size(), 1593u);
    EXPECT_EQ(flag.script.substr(0, 12), "'#Reference ");
    EXPECT_EQ(flag.script.substr(flag.script.size() - 9), "End Sub\r\n");

    ASSERT_EQ(parse(*h.session, true, test::samplePath("move-dock_window.dat")),
              ParseStatus::Parsed);
    auto rows = h.rows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].name, "<move_or_dock> window <direction>");
    EXPECT_EQ(rows[0].menu, kGlobalCommands);
    EXPECT_EQ(rows[0].owner, "Windows");
    EXPECT_EQ(rows[0].lists, 2);
    EXPECT_EQ(rows[0].offsetbody, 119);
    EXPECT_EQ(rows[0].script.size(), 1226u);
    EXPECT_EQ(rows[1].name, "direction");
    EXPECT_EQ(rows[1].script, "left\r\nright\r\nup\r\ndown\r\n");
    EXPECT_EQ(rows[1].offset, 1352);
    EXPECT_EQ(rows[2].name, "move_or_dock");
    EXPECT_EQ(rows[2].offset, 1389);
    EXPECT_EQ(h.catalogue->parameterNumber("OffsetLists"), 1348);
}

TEST(DragonSamples, RecordsWrittenAgainGiveDragonsBytes) {
    for (const char* name : {"reply.dat", "clear_flag.dat", "move-dock_window.dat"}) {
        std::string image = test::readSample(name);
        ByteReader in(image);
        ByteWriter out;
        out.PutBytes(image.substr(0, kHeaderSize));
        std::uint32_t commands = readLongAt(image, kCommandCountOffset) & 0xFFFF;
        for (std::uint32_t i = 0; i < commands; ++i) {
            CommandRecord c;
            readCommand(in, Layout::V1011, nullptr, c);
            writeCommand(c, Layout::V1011, out);
        }
        std::uint32_t lists = in.longValue();
        out.PutLong(lists);
        for (std::uint32_t i = 0; i < lists; ++i) {
            ListRecord l;
            readList(in, l);
            writeList(l, out);
        }
        EXPECT_TRUE(in.atEnd()) << name;
        EXPECT_EQ(out.data(), image) << name;
    }
}
