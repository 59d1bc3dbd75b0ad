#include "record_walk.h"

#include "datfile/reader.h"
#include "datfile/record.h"

#include <cstdlib>

namespace plv::fuzz {
namespace {

using namespace plv::dat;

bool sameCommand(const CommandRecord& a, const CommandRecord& b) {
    return a.name == b.name && a.listRefs == b.listRefs && a.description == b.description &&
           a.group == b.group && a.scopeByte == b.scopeByte && a.appName == b.appName &&
           a.productDescription == b.productDescription && a.companyName == b.companyName &&
           a.windowTitle == b.windowTitle && a.windowClass == b.windowClass &&
           a.states == b.states && a.typeByte == b.typeByte && a.protection == b.protection &&
           a.protectedString == b.protectedString && a.bodyText == b.bodyText &&
           a.body.size() == b.body.size();
}

void check(bool ok) {
    if (!ok) {
        std::abort();
    }
}

void roundTrip(const CommandRecord& first, Layout layout, const KeyNames& keys) {
    ByteWriter out;
    writeCommand(first, layout, out);
    ByteReader again(out.data(), 1);
    CommandRecord second;
    readCommand(again, layout, &keys, second);
    check(sameCommand(first, second) && again.atEnd());
}

void roundTrip(const ListRecord& first) {
    ByteWriter out;
    writeList(first, out);
    ByteReader again(out.data(), 1);
    ListRecord second;
    readList(again, second);
    check(first.name == second.name && first.items == second.items && again.atEnd());
}

} // namespace

void walkRecords(std::string_view image, const KeyNames& keys) {
    if (image.size() < kHeaderSize) {
        return;
    }
    auto layout = layoutFromCode(static_cast<std::uint8_t>(image[kVersionCodeOffset]));
    if (!layout) {
        return;
    }
    ByteReader in(image, kFirstRecordPosition);
    bool whole = true;
    try {
        std::uint32_t commands = readLongAt(image, kCommandCountOffset) & 0xFFFF;
        for (std::uint32_t i = 0; i < commands; ++i) {
            CommandRecord record;
            readCommand(in, *layout, &keys, record);
            roundTrip(record, *layout, keys);
        }
        std::uint32_t lists = in.longValue() & 0xFFFF;
        for (std::uint32_t i = 0; i < lists; ++i) {
            ListRecord record;
            readList(in, record);
            roundTrip(record);
        }
    } catch (const FormatError&) {
        whole = false;
    }
    check(whole == readsToItsEnd(image));
}

} // namespace plv::fuzz
