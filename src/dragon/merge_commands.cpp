#include "dragon/merge_commands.h"

#include "datfile/format.h"
#include "datfile/record.h"
#include "platform/codepage.h"
#include "platform/files.h"

#include <set>
#include <tuple>
#include <vector>

namespace plv::dragon {
namespace {

using dat::ByteReader;
using dat::CommandRecord;
using dat::Layout;
using dat::ListRecord;

struct ReadFile {
    Layout layout = Layout::V1011;
    std::vector<CommandRecord> commands;
    std::vector<ListRecord> lists;
    std::int64_t offsetLists = 0; // position of the LIST count
    std::int64_t listsEnd = 0;    // position after the last LIST
};

std::optional<ReadFile> readFile(std::string_view image, std::string& why) {
    if (image.size() < dat::kHeaderSize + 4) {
        why = "too short for a command file";
        return std::nullopt;
    }
    auto layout = dat::layoutFromCode(static_cast<std::uint8_t>(image[dat::kVersionCodeOffset]));
    if (!layout) {
        why = "unknown version code";
        return std::nullopt;
    }
    ReadFile f;
    f.layout = *layout;
    ByteReader in(image, dat::kFirstRecordPosition);
    try {
        std::uint32_t count = dat::readLongAt(image, dat::kCommandCountOffset) & 0xFFFF;
        for (std::uint32_t i = 0; i < count; ++i) {
            f.commands.emplace_back();
            dat::readCommand(in, f.layout, nullptr, f.commands.back());
        }
        f.offsetLists = in.position();
        std::uint32_t lists = in.longValue() & 0xFFFF;
        for (std::uint32_t i = 0; i < lists; ++i) {
            f.lists.emplace_back();
            dat::readList(in, f.lists.back());
        }
        f.listsEnd = in.position();
    } catch (const dat::FormatError& e) {
        why = std::string(e.what()) + " at position " + std::to_string(e.position());
        return std::nullopt;
    }
    return f;
}

using CommandKey = std::tuple<int, std::string, std::string, std::string>;

CommandKey keyOf(const CommandRecord& r) {
    int kind = r.scopeKind();
    std::string app = kind == 1 || kind == 2 ? foldCase(decodeCp1252(r.appName)) : "";
    std::string window = kind == 2 ? foldCase(decodeCp1252(r.windowTitle)) : "";
    return {kind, app, window, foldCase(decodeCp1252(r.name))};
}

std::string listKey(const ListRecord& r) {
    return foldCase(decodeCp1252(r.name));
}

// The count field keeps its high word; only the low word holds the count.
void setLowWord(std::string& data, std::size_t offset, std::uint32_t count) {
    std::uint32_t old = dat::readLongAt(data, offset);
    dat::writeLongAt(data, offset, (old & 0xFFFF0000u) | count);
}

std::string_view between(std::string_view image, std::int64_t from, std::int64_t to) {
    return image.substr(static_cast<std::size_t>(from - 1), static_cast<std::size_t>(to - from));
}

} // namespace

std::optional<std::string> mergeImages(std::string_view user, std::string_view placer,
                                       MergeResult& result) {
    std::string why;
    auto target = readFile(user, why);
    if (!target) {
        result = {MergeResult::Status::NotACommandFile, 0, 0, "the command file: " + why};
        return std::nullopt;
    }
    auto source = readFile(placer, why);
    if (!source) {
        result = {MergeResult::Status::NotACommandFile, 0, 0, "the placer file: " + why};
        return std::nullopt;
    }
    std::set<CommandKey> commands;
    for (const auto& c : target->commands) {
        commands.insert(keyOf(c));
    }
    std::set<std::string> lists;
    for (const auto& l : target->lists) {
        lists.insert(listKey(l));
    }
    dat::ByteWriter added;
    for (const auto& c : source->commands) {
        if (commands.insert(keyOf(c)).second) {
            dat::writeCommand(c, target->layout, added);
            ++result.commandsAdded;
        }
    }
    dat::ByteWriter addedLists;
    for (const auto& l : source->lists) {
        if (lists.insert(listKey(l)).second) {
            dat::writeList(l, addedLists);
            ++result.listsAdded;
        }
    }
    std::size_t commandTotal = target->commands.size() + result.commandsAdded;
    std::size_t listTotal = target->lists.size() + result.listsAdded;
    if (commandTotal > 0xFFFF || listTotal > 0xFFFF) {
        result = {MergeResult::Status::NotACommandFile, 0, 0, "too many commands or LISTs"};
        return std::nullopt;
    }
    std::string out(user.substr(0, dat::kHeaderSize));
    setLowWord(out, dat::kCommandCountOffset, static_cast<std::uint32_t>(commandTotal));
    out += between(user, dat::kFirstRecordPosition, target->offsetLists);
    out += added.data();
    std::size_t listCountAt = out.size();
    out += between(user, target->offsetLists, target->offsetLists + 4);
    setLowWord(out, listCountAt, static_cast<std::uint32_t>(listTotal));
    out += between(user, target->offsetLists + 4, target->listsEnd);
    out += addedLists.data();
    out += user.substr(static_cast<std::size_t>(target->listsEnd - 1));
    return out;
}

MergeResult mergeCommandFile(const std::string& commandFile, const std::string& placerFile) {
    MergeResult result;
    auto user = files::readAll(commandFile);
    auto placer = files::readAll(placerFile);
    if (!user || !placer) {
        result.status = MergeResult::Status::Unreadable;
        result.message = "cannot read " + (user ? placerFile : commandFile);
        return result;
    }
    auto merged = mergeImages(*user, *placer, result);
    if (!merged) {
        return result;
    }
    // Whoever started the merge learns that it is done only from the file's time.
    auto before = files::lastModified(commandFile);
    files::WriteResult written =
        files::replaceFile(commandFile, *merged, {.modifiedAfter = before.value_or(0)});
    if (!written) {
        result.status = MergeResult::Status::WriteFailed;
        result.message = written.readOnly() ? files::readOnlyMessage(commandFile)
                                            : "cannot write " + commandFile;
    }
    return result;
}

} // namespace plv::dragon
