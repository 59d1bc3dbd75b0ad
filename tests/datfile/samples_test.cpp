// Command files exported by Dragon 11 itself: their records must read and write back as
// Dragon wrote them. What they catalogue as is checked against an independent reading of
// their bytes in the list test of the terminal tool.
#include "datfile/record.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

using namespace plv;
using namespace plv::dat;

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
