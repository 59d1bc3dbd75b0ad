// libFuzzer harness for the command file reader into a catalogue: any input must parse or
// fail cleanly, and every record the reader accepts must read back the same after it is
// written again.
#include "catalogue/catalogue.h"
#include "datfile/reader.h"
#include "platform/files.h"
#include "platform/program_folder.h"
#include "record_walk.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using namespace plv;
using namespace plv::dat;

namespace {

struct World {
    // The trace is left closed: millions of parses would fill the disk with it.
    World() : home(files::makeTempFolder("parlavista-fuzz-")), catalogue(":memory:") {
        files::copyFile(files::join(seedFolder(), "keynames"), files::join(home, "keynames"));
    }
    std::string home;
    SilentInteraction ui;
    Trace trace;
    Catalogue catalogue;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static World world;
    std::string image(reinterpret_cast<const char*>(data), size);
    Session session(world.catalogue, world.ui, world.trace, world.home);
    parseImage(session, true, files::join(world.home, "mycmds.dat"), image, 1);
    static const dat::KeyNames keys;
    fuzz::walkRecords(image, keys);
    return 0;
}
