#include "datfile/reader.h"

#include "catalogue/rebuild.h"
#include "datfile/diagnostics.h"
#include "datfile/keynames.h"
#include "datfile/read_ahead.h"
#include "datfile/record.h"
#include "platform/codepage.h"

#include <optional>

namespace plv::dat {
namespace {

std::string text(const std::string& bytes) {
    return decodeCp1252(bytes);
}

// The text of a field the record no longer needs: ASCII moves over without a copy.
std::string take(std::string& bytes) {
    return decodeOwnedCp1252(std::move(bytes));
}

// The state of one parse.
struct Pass {
    Pass(Session& s, std::string image, std::string fileName)
        : session(s), image(std::move(image)), fileName(std::move(fileName)) {}
    Session& session;
    CatalogueRebuild* rebuild = nullptr;
    std::string image;
    std::string fileName;
    Layout layout = Layout::V1011;
    std::optional<Progress> progress; // by the bytes read
    KeyNames keys;
    DuplicateLog duplicates;
    std::int64_t commandIndex = 0;
    std::int64_t listIndex = 0;
    bool firstInsert = true;
    // The record being read, for the diagnostics when it cannot be read.
    std::string readingName;
    std::int64_t readingStart = 0;
};

UserRow baseRow(const std::string& fileName) {
    UserRow row;
    row.filename = fileName;
    row.pathcode = "U";
    return row;
}

void fillScope(CommandRecord& r, UserRow& row) {
    switch (r.scopeKind()) {
    case 0:
        row.menu = kGlobalCommands;
        row.state = kGlobalCommands;
        row.scope = "G";
        break;
    case 1:
        row.menu = upperCase(text(r.appName));
        row.state = kApplicationSpecific;
        row.scope = "A";
        break;
    case 2:
        row.menu = upperCase(text(r.appName));
        row.state = take(r.windowTitle);
        row.scope = "W";
        break;
    default:
        break;
    }
    if (r.scopeKind() == 1 || r.scopeKind() == 2) {
        row.pdescript = static_cast<std::int64_t>(r.productDescription.size());
        row.companyName = static_cast<std::int64_t>(r.companyName.size());
    }
    if (r.scopeKind() == 2) {
        row.className = static_cast<std::int64_t>(r.windowClass.size());
    }
}

} // namespace

std::string stateIds(const StateIdLookup& stateId, const CommandRecord& r) {
    std::string app = r.scopeKind() == 0 ? std::string(kGlobalCommands) : text(r.appName);
    std::string ids;
    for (const auto& state : r.states) {
        ids += std::to_string(stateId(app, text(state))) + ",";
    }
    return ids;
}

UserRow commandRowWithoutStates(const std::string& fileName, CommandRecord& r) {
    UserRow row = baseRow(fileName);
    fillScope(r, row);
    row.name = take(r.name);
    row.type = r.typeLetter();
    row.script = take(r.bodyText);
    row.owner = r.group.empty() ? std::string(kUserDefined) : take(r.group);
    row.lists = static_cast<std::int64_t>(r.listRefs.size());
    row.offset = r.offset;
    row.offsetbody = r.offsetBody;
    row.description = take(r.description);
    row.graphicsize = row.type == "T" ? r.graphicSize : 0;
    row.global = isGlobalName(row.menu) && isGlobalName(row.state);
    row.sleeping = row.state == "Asleep";
    row.globalsort = row.menu == kGlobalCommands ? "G" : "N";
    row.listsort = "C";
    row.encrypted = r.protection != 0;
    return row;
}

UserRow commandRow(const std::string& fileName, CommandRecord& r, const StateIdLookup& stateId) {
    UserRow row = commandRowWithoutStates(fileName, r);
    row.states = stateIds(stateId, r);
    return row;
}

UserRow listRow(const std::string& fileName, const ListRecord& r) {
    UserRow row = baseRow(fileName);
    row.menu = kGlobalCommands;
    row.state = kGlobalCommands;
    row.type = "L";
    row.scope = "G";
    row.owner = "Dragon";
    row.lists = 1;
    row.name = text(r.name);
    for (const auto& item : r.items) {
        row.script += text(item);
        row.script += "\r\n";
    }
    row.offset = r.offset;
    row.global = true;
    row.globalsort = "G";
    row.listsort = "L";
    return row;
}

namespace {

void reportRefusedRow(Session& s, const UserRow& row, const CatalogueError& e) {
    if (++s.refusedRows > 2) {
        return;
    }
    std::string message = row.menu + " (Max=20)\n" + row.state + " (Max=100)\n" + row.name +
                          " (Max=150)\n" + row.description + " (Max=150)\n" + row.owner +
                          " (Max=50)\nError # =" + std::to_string(e.code()) + "\nRecord(s) skipped";
    s.ui.warning(message, e.what());
}

void insert(Pass& pass, UserRow& row) {
    std::int64_t id = 0;
    try {
        id = pass.rebuild->insertRow(std::move(row),
                                     [&](const UserRow& found, const UserRow& added) {
                                         pass.duplicates.report(found, added);
                                     });
    } catch (const CatalogueError& e) {
        reportRefusedRow(pass.session, row, e);
        return;
    }
    if (pass.firstInsert) {
        pass.session.catalogue.setParameter("lastdvcID", id);
        pass.firstInsert = false;
    }
}

void showUnknownSteps(Session& s, const CommandRecord& r) {
    for (const auto& step : r.unknownSteps) {
        s.ui.warning("Unknown step-by-step command:" + std::to_string(step.code),
                     "Offset =" + std::to_string(step.position));
    }
}

// The next step the reading thread has made; a record it could not read ends the pass
// here, in file order, as if it had been read on this thread.
ReadStep& nextStep(Pass& pass, ReadAhead& ahead) {
    ReadStep& step = ahead.next();
    pass.readingStart = step.start;
    if (step.kind == ReadStep::Kind::Failure) {
        pass.readingName = step.failedName;
        std::rethrow_exception(step.failure);
    }
    return step;
}

void commandPass(Pass& pass, ReadAhead& ahead) {
    const StateIdLookup stateId = [&pass](const std::string& app, const std::string& state) {
        return pass.rebuild->stateId(app, state);
    };
    FileInfo& info = pass.session.file;
    pass.rebuild->expectRows(static_cast<std::size_t>(info.commandCount));
    for (pass.commandIndex = 1; pass.commandIndex <= info.commandCount; ++pass.commandIndex) {
        ReadStep& step = nextStep(pass, ahead);
        showUnknownSteps(pass.session, step.command);
        if (step.command.skipped()) {
            ++info.skippedCount;
        } else {
            step.row.states = stateIds(stateId, step.command);
            insert(pass, step.row);
        }
        pass.progress->step(static_cast<std::size_t>(step.end));
    }
}

void listPass(Pass& pass, ReadAhead& ahead) {
    FileInfo& info = pass.session.file;
    pass.readingName.clear();
    const ReadStep& section = nextStep(pass, ahead);
    pass.session.catalogue.setParameter("OffsetLists", section.start);
    info.listCount = section.listCount;
    pass.rebuild->expectRows(static_cast<std::size_t>(info.commandCount + info.listCount));
    pass.session.ui.counts(countsText(info.commandCount - info.skippedCount, info.listCount));
    for (pass.listIndex = 1; pass.listIndex <= info.listCount; ++pass.listIndex) {
        ReadStep& step = nextStep(pass, ahead);
        insert(pass, step.row);
        pass.progress->step(static_cast<std::size_t>(step.end));
    }
}

// Records why the pass stopped: error.log, parse-ok cleared.
void failPass(Pass& pass, const FormatError& e) {
    Session& s = pass.session;
    pass.rebuild->flush();
    ParseFailureReport report;
    report.previous = s.catalogue.lastInserted();
    report.imageDump = imageDump(pass.image, report.previous ? report.previous->offset : 0);
    if (const auto* bad = dynamic_cast<const BadName*>(&e)) {
        report.badName = bad->name();
        report.cursor = bad->position();
    } else {
        report.badName = pass.readingName;
        report.reason = std::string(e.what()) + " at position " + std::to_string(e.position());
        report.cursor = pass.readingStart;
    }
    report.commandIndex = pass.commandIndex;
    report.commandCount = s.file.commandCount;
    report.listIndex = pass.listIndex;
    report.listCount = s.file.listCount;
    report.parameterTime = s.catalogue.parameter("mycmdstime").value_or("");
    report.fileTime = files::formatStoredTime(s.file.modified);
    writeErrorLog(s.programFolder, report);
    s.parseOk = false;
}

// Walks both sections; any read that fails ends the pass through the diagnostics.
void readSections(Pass& pass) {
    pass.readingStart = kFirstRecordPosition;
    pass.progress.emplace(pass.session.ui, pass.image.size());
    try {
        ReadAhead ahead(pass.image, pass.layout, pass.keys, pass.fileName,
                        pass.session.file.commandCount);
        pass.session.trace.line("real");
        commandPass(pass, ahead);
        pass.session.trace.line("before parselists");
        listPass(pass, ahead);
    } catch (const FormatError& e) {
        failPass(pass, e);
    }
    pass.progress.reset();
}

bool readHeader(Session& s, const std::string& image) {
    FileInfo& info = s.file;
    auto layout = headerLayout(image);
    if (!layout) {
        return false;
    }
    info.layout = *layout;
    info.versionName = versionName(*layout);
    info.formatVersion = formatVersionString(*layout);
    info.languageByte = static_cast<std::uint8_t>(image[kLanguageOffset]);
    info.languageName = languageName(info.languageByte);
    info.commandCount = readLongAt(image, kCommandCountOffset) & 0xFFFF;
    return true;
}

void failHeader(Session& s, const std::string& image) {
    ParseFailureReport report;
    report.previous = s.catalogue.lastInserted();
    report.imageDump = imageDump(image, 1);
    report.reason = headerFailureReason(image);
    report.cursor = 1;
    report.parameterTime = s.catalogue.parameter("mycmdstime").value_or("");
    report.fileTime = files::formatStoredTime(s.file.modified);
    writeErrorLog(s.programFolder, report);
    s.parseOk = false;
}

// What the catalogue records of the file it was built from; cleared when that file did not
// read to its end.
void storeParsedFile(Session& s, bool complete) {
    Catalogue& c = s.catalogue;
    auto text = [complete](std::string value) {
        return complete ? std::optional<std::string>(std::move(value)) : std::nullopt;
    };
    c.setParameter("mycmdstime", text(files::formatStoredTime(s.file.modified)));
    c.setParameter("mycmdsfile", text(s.file.path));
    c.setParameter("mycmdssize", text(std::to_string(s.file.size)));
}

ParseStatus fullParse(Session& s, std::string image) {
    s.trace.line("b4 processing");
    s.ui.status("Processing " + files::fileName(s.file.path));
    Pass pass{s, std::move(image), files::fileName(s.file.path)};
    pass.layout = s.file.layout;
    Catalogue& catalogue = s.catalogue;
    CatalogueRebuild rebuild(catalogue, static_cast<std::size_t>(s.file.commandCount));
    pass.rebuild = &rebuild;
    rebuild.onRefused(
        [&s](const UserRow& row, const CatalogueError& e) { reportRefusedRow(s, row, e); });
    pass.duplicates.open(s.programFolder);
    s.trace.line("binary before keynames");
    auto keys = KeyNames::load(s.programFile("keynames"));
    if (!keys) {
        rebuild.rollback();
        s.ui.warning("Required file 'keynames' missing", "Reinstall");
        return ParseStatus::ProgramEnds;
    }
    pass.keys = std::move(*keys);
    readSections(pass);
    // A catalogue left incomplete by a failed pass must not pass for current later.
    storeParsedFile(s, s.parseOk);
    rebuild.commit();
    pass.duplicates.close();
    s.ui.status("");
    s.trace.line("binary done");
    return s.parseOk ? ParseStatus::Parsed : ParseStatus::Failed;
}

} // namespace

bool isLastParsed(const Catalogue& catalogue, const std::string& path, files::FileTime modified,
                  std::uint64_t size) {
    auto time = catalogue.parameter("mycmdstime");
    auto file = catalogue.parameter("mycmdsfile");
    auto bytes = catalogue.parameterNumber("mycmdssize");
    return time && file && bytes && *time == files::formatStoredTime(modified) && *file == path &&
           *bytes == static_cast<std::int64_t>(size);
}

bool isLastParsed(const Catalogue& catalogue, const std::string& path) {
    auto modified = files::lastModified(path);
    auto size = files::size(path);
    return modified && size && isLastParsed(catalogue, path, *modified, *size);
}

std::optional<Layout> headerLayout(std::string_view image) {
    if (image.size() < kHeaderSize) {
        return std::nullopt;
    }
    return layoutFromCode(static_cast<std::uint8_t>(image[kVersionCodeOffset]));
}

std::string headerFailureReason(std::string_view image) {
    if (image.size() < kHeaderSize) {
        return "the file is shorter than a command file header";
    }
    return "unknown version code " +
           std::to_string(static_cast<std::uint8_t>(image[kVersionCodeOffset]));
}

bool readsToItsEnd(std::string_view image) {
    return recordsEnd(image).has_value();
}

std::optional<std::int64_t> recordsEnd(std::string_view image) {
    if (image.size() < kHeaderSize + 4) {
        return std::nullopt;
    }
    auto layout = layoutFromCode(static_cast<std::uint8_t>(image[kVersionCodeOffset]));
    if (!layout) {
        return std::nullopt;
    }
    ByteReader in(image, kFirstRecordPosition);
    try {
        std::uint32_t commands = readLongAt(image, kCommandCountOffset) & 0xFFFF;
        for (std::uint32_t i = 0; i < commands; ++i) {
            CommandRecord record;
            readCommand(in, *layout, nullptr, record);
        }
        std::uint32_t lists = in.longValue() & 0xFFFF;
        for (std::uint32_t i = 0; i < lists; ++i) {
            ListRecord record;
            readList(in, record);
        }
    } catch (const FormatError&) {
        return std::nullopt;
    }
    return in.position();
}

std::string countsText(std::int64_t commands, std::int64_t lists) {
    return std::to_string(commands) + " /" + std::to_string(lists);
}

ParseStatus parse(Session& s, bool force, const std::string& fileName) {
    std::string path = fileName;
    if (path.empty() && s.dragon) {
        path = s.dragon->currentUserCommandFile();
    }
    if (!files::exists(path)) {
        s.file = FileInfo{};
        s.file.path = path;
        s.ui.warning("Required NatSpeak file missing--cannot continue", path);
        return ParseStatus::ProgramEnds;
    }
    // The time is taken before the bytes: a file that changes while it is read then looks
    // changed at the next check rather than current.
    files::FileTime modified = files::lastModified(path).value_or(0);
    auto image = files::readAll(path);
    return parseImage(s, force, path, image.value_or(std::string()), modified);
}

ParseStatus parseImage(Session& s, bool force, const std::string& path, std::string image,
                       files::FileTime modified) {
    s.file = FileInfo{};
    s.file.path = path;
    s.file.modified = modified;
    s.file.size = image.size();
    s.parseOk = true;
    if (!readHeader(s, image)) {
        failHeader(s, image);
        storeParsedFile(s, false);
        return ParseStatus::Failed;
    }
    if (!force && isLastParsed(s.catalogue, path, modified, s.file.size)) {
        s.file.listCount = s.catalogue.countFileLists();
        s.ui.counts(countsText(s.catalogue.countCommands(), s.file.listCount));
        return ParseStatus::Unchanged;
    }
    return fullParse(s, std::move(image));
}

} // namespace plv::dat
