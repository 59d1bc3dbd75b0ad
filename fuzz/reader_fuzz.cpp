// libFuzzer harness for the command file reader: any input must parse or fail cleanly,
// and every record the reader accepts must read back the same after it is written again.
#include "catalogue/catalogue.h"
#include "datfile/reader.h"
#include "datfile/record.h"
#include "platform/files.h"
#include "platform/program_folder.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using namespace plv;
using namespace plv::dat;

namespace {

struct World {
    World() : home(files::makeTempFolder("parlavista-fuzz-")), catalogue(":memory:") {
        files::copyFile(files::join(seedFolder(), "keynames"), files::join(home, "keynames"));
        trace.open(home);
    }
    std::string home;
    SilentInteraction ui;
    Trace trace;
    Catalogue catalogue;
};

bool sameRecord(const CommandRecord& a, const CommandRecord& b) {
    return a.name == b.name && a.listRefs == b.listRefs && a.description == b.description &&
           a.group == b.group && a.scopeByte == b.scopeByte && a.appName == b.appName &&
           a.windowTitle == b.windowTitle && a.states == b.states && a.typeByte == b.typeByte &&
           a.protection == b.protection && a.bodyText == b.bodyText &&
           a.body.size() == b.body.size();
}

// Reads each command, writes it again and reads that: the two must agree.
void checkRoundTrip(const std::string& image) {
    if (image.size() < kHeaderSize) {
        return;
    }
    auto layout = layoutFromCode(static_cast<std::uint8_t>(image[kVersionCodeOffset]));
    if (!layout) {
        return;
    }
    ByteReader in(image);
    std::uint32_t count = readLongAt(image, kCommandCountOffset) & 0xFFFF;
    KeyNames keys;
    for (std::uint32_t i = 0; i < count; ++i) {
        CommandRecord first;
        try {
            readCommand(in, *layout, &keys, first);
        } catch (const FormatError&) {
            return;
        }
        ByteWriter out;
        writeCommand(first, *layout, out);
        const std::string written = out.data();
        ByteReader again(written, 1);
        CommandRecord second;
        readCommand(again, *layout, &keys, second);
        if (!sameRecord(first, second) || !again.atEnd()) {
            std::abort();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static World world;
    std::string image(reinterpret_cast<const char*>(data), size);
    Session session(world.catalogue, world.ui, world.trace, world.home);
    parseImage(session, true, files::join(world.home, "mycmds.dat"), image, 1);
    checkRoundTrip(image);
    return 0;
}
