// libFuzzer harness for salvage: any input is rescued or refused without a fault, a rescued
// copy reads record by record to its end, and rescuing the copy again keeps it as it is.
#include "datfile/reader.h"
#include "datfile/salvage.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

using namespace plv;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view image(reinterpret_cast<const char*>(data), size);
    auto rescued = dat::salvage(image);
    if (!rescued) {
        return 0;
    }
    if (!dat::readsToItsEnd(rescued->image)) {
        std::fprintf(stderr, "the rescued copy does not read to its end\n");
        std::abort();
    }
    auto again = dat::salvage(rescued->image);
    if (!again || again->image != rescued->image || !again->lost.empty()) {
        std::fprintf(stderr, "the rescued copy is not kept as it is when rescued again\n");
        std::abort();
    }
    return 0;
}
