// libFuzzer harness for the Dragon XML import: any input must read or be refused cleanly;
// a document that reads must be written and read again to the same bytes, and every command
// and LIST the import accepts must make a command file that reads to its end.
#include "datfile/builder.h"
#include "datfile/reader.h"
#include "export/dragon_xml.h"
#include "export/dragon_xml_records.h"

#include <cstdint>
#include <cstdlib>
#include <string>

using namespace plv;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    xml::ReadFailure failure;
    auto document = xml::readDocument(bytes, failure);
    if (!document) {
        if (failure.line < 1 || failure.why.empty()) {
            std::abort();
        }
        return 0;
    }
    std::string written = xml::writeDocument(*document);
    auto again = xml::readDocument(written, failure);
    if (!again || xml::writeDocument(*again) != written) {
        std::abort();
    }
    std::vector<dat::CommandRecord> commands;
    std::vector<dat::ListRecord> lists;
    std::string why;
    for (const auto& c : document->commands) {
        if (auto r = xml::recordOf(c, why)) {
            commands.push_back(std::move(*r));
        }
    }
    for (const auto& l : document->lists) {
        if (auto r = xml::listRecordOf(l, why)) {
            lists.push_back(std::move(*r));
        }
    }
    if (commands.size() <= 0xFFFF && lists.size() <= 0xFFFF &&
        !dat::readsToItsEnd(dat::buildFile(dat::Layout::V1011, commands, lists,
                                           xml::languageByte(document->language)))) {
        std::abort();
    }
    return 0;
}
