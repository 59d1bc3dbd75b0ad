#include "datfile/contents.h"

#include "datfile/file_commands.h"
#include "datfile/reader.h"
#include "platform/codepage.h"

namespace plv::dat {
namespace {

CommandContents commandContents(CommandRecord& record) {
    UserRow row = commandRowWithoutStates(std::string(), record);
    CommandContents c;
    c.program = std::move(row.menu);
    c.scope = std::move(row.state);
    c.name = std::move(row.name);
    c.type = std::move(row.type);
    c.description = std::move(row.description);
    c.group = std::move(row.owner);
    c.states.reserve(record.states.size());
    for (const auto& state : record.states) {
        c.states.push_back(decodeCp1252(state));
    }
    c.body = std::move(row.script);
    c.tokens = std::move(record.body);
    c.offset = record.offset;
    c.encrypted = record.protection != 0;
    return c;
}

ListContents listContents(const ListRecord& record) {
    ListContents l;
    l.name = decodeCp1252(record.name);
    l.items.reserve(record.items.size());
    for (const auto& item : record.items) {
        l.items.push_back(decodeCp1252(item));
    }
    l.offset = record.offset;
    return l;
}

// What error.log tells of the last record read before the one that failed.
std::optional<UserRow> previousRow(const FileContents& read) {
    UserRow row;
    if (!read.lists.empty()) {
        const ListContents& l = read.lists.back();
        row.name = l.name;
        row.type = "L";
        row.offset = l.offset;
        for (const auto& item : l.items) {
            row.script += item + "\r\n";
        }
    } else if (!read.commands.empty()) {
        const CommandContents& c = read.commands.back();
        row.name = c.name;
        row.type = c.type;
        row.script = c.body;
        row.offset = c.offset;
    } else {
        return std::nullopt;
    }
    return row;
}

void fillFailure(std::string_view image, const FileContents& read, const FormatError& e,
                 std::int64_t recordStart, std::string_view recordName,
                 ParseFailureReport& failure) {
    failure.previous = previousRow(read);
    failure.imageDump = imageDump(image, failure.previous ? failure.previous->offset : 0);
    if (const auto* bad = dynamic_cast<const BadName*>(&e)) {
        failure.badName = bad->name();
        failure.cursor = bad->position();
    } else {
        failure.badName = std::string(recordName);
        failure.reason = std::string(e.what()) + " at position " + std::to_string(e.position());
        failure.cursor = recordStart;
    }
}

// The layout the header names, or nothing after filling the failure.
std::optional<Layout> readHeader(std::string_view image, FileContents& out,
                                 ParseFailureReport& failure) {
    std::optional<Layout> layout = headerLayout(image);
    if (!layout) {
        failure.imageDump = imageDump(image, 1);
        failure.reason = headerFailureReason(image);
        failure.cursor = 1;
        return std::nullopt;
    }
    out.versionName = versionName(*layout);
    out.languageByte = static_cast<std::uint8_t>(image[kLanguageOffset]);
    out.languageName = languageName(out.languageByte);
    return layout;
}

} // namespace

std::optional<FileContents> readContents(std::string_view image, const KeyNames& keys,
                                         ParseFailureReport& failure) {
    FileContents out;
    std::optional<Layout> layout = readHeader(image, out, failure);
    if (!layout) {
        return std::nullopt;
    }
    ByteReader in(image, kFirstRecordPosition);
    failure.commandCount = readLongAt(image, kCommandCountOffset) & 0xFFFF;
    out.commands.reserve(static_cast<std::size_t>(failure.commandCount));
    CommandRecord record;
    ListRecord list;
    std::int64_t start = kFirstRecordPosition;
    try {
        for (failure.commandIndex = 1; failure.commandIndex <= failure.commandCount;
             ++failure.commandIndex) {
            record = CommandRecord{};
            start = in.position();
            readCommand(in, *layout, &keys, record);
            (record.skipped() ? out.skipped : out.commands).push_back(commandContents(record));
        }
        record.name.clear();
        start = in.position();
        failure.listCount = in.longValue() & 0xFFFF;
        out.lists.reserve(static_cast<std::size_t>(failure.listCount));
        for (failure.listIndex = 1; failure.listIndex <= failure.listCount; ++failure.listIndex) {
            list = ListRecord{};
            start = in.position();
            readList(in, list);
            out.lists.push_back(listContents(list));
        }
    } catch (const FormatError& e) {
        fillFailure(image, out, e, start, failure.listIndex > 0 ? list.name : record.name, failure);
        return std::nullopt;
    }
    return out;
}

std::optional<FileContents> readContentsOf(Session& s, const std::string& path) {
    if (!files::exists(path)) {
        s.ui.warning("File does not exist", path);
        return std::nullopt;
    }
    auto keys = KeyNames::load(s.programFile("keynames"));
    if (!keys) {
        s.ui.warning("Required file 'keynames' missing", "Reinstall");
        return std::nullopt;
    }
    files::FileTime modified = files::lastModified(path).value_or(0);
    std::string image = files::readAll(path).value_or(std::string());
    ParseFailureReport failure;
    auto contents = readContents(image, *keys, failure);
    if (!contents) {
        failure.fileTime = files::formatStoredTime(modified);
        writeErrorLog(s.programFolder, failure);
        // Reading a file to compare or check it changes nothing: the program goes on.
        reportUnreadableContents(s, path, image);
    }
    return contents;
}

} // namespace plv::dat
