// libFuzzer harness for the record reader alone, without a catalogue, so it runs tens of
// thousands of inputs a second: any input reads or fails with a format error, and every
// record that reads is written again and reads back the same.
#include "datfile/keynames.h"
#include "platform/files.h"
#include "platform/program_folder.h"
#include "record_walk.h"

#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const plv::dat::KeyNames keys =
        plv::dat::KeyNames::load(plv::files::join(plv::seedFolder(), "keynames"))
            .value_or(plv::dat::KeyNames());
    plv::fuzz::walkRecords(std::string_view(reinterpret_cast<const char*>(data), size), keys);
    return 0;
}
