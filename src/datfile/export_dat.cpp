#include "datfile/export_dat.h"

#include "datfile/reader.h"
#include "datfile/record_ops.h"
#include "datfile/rewrite_full.h"
#include "platform/codepage.h"
#include "platform/files.h"

#include <set>

namespace plv::dat {
namespace {

constexpr std::uint32_t kLowWord = 0xFFFF;
constexpr const char* kCrLf = "\r\n";

const std::vector<std::string> kTargetButtons = {"&Append", "&Overwrite", "&Cancel"};
enum TargetButton : std::size_t { kAppend, kOverwrite, kCancel };
const std::vector<std::string> kDuplicateButtons = {"&Yes", "&No", "Ye&s to all", "N&o to all",
                                                    "&Cancel Export"};
enum DuplicateButton : std::size_t { kYes, kNo, kYesToAll, kNoToAll, kCancelExport };

bool endsWithDat(const std::string& path) {
    return path.size() >= 4 && foldCase(path.substr(path.size() - 4)) == ".dat";
}

// One command record of the new target, and its row in the scratch catalogue (0 for a
// record that is not catalogued, such as one with the skip bit).
struct Block {
    std::string bytes;
    std::int64_t scratchId = 0;
};

// The scratch catalogue's lookups, prepared once: an export asks them for every record.
class ScratchLookups {
  public:
    explicit ScratchLookups(const Catalogue& scratch)
        : command_(scratch.prepare(R"(SELECT "ID" FROM "user" WHERE "menu" = ? AND "state" = ? )"
                                   R"(AND "name" = ? AND "Type" <> 'L' ORDER BY "ID" LIMIT 1)")),
          list_(scratch.prepare(R"(SELECT 1 FROM "user" WHERE "menu" = ? AND "state" = ? )"
                                R"(AND "name" = ? AND "Type" = 'L' LIMIT 1)")) {}

    // The first command of that Program, Scope and name.
    std::optional<std::int64_t> command(const UserRow& row) {
        command_.reset();
        command_.bind(1, row.menu).bind(2, row.state).bind(3, row.name);
        return command_.step() ? std::optional(command_.integer(0)) : std::nullopt;
    }
    bool hasList(const std::string& name) {
        list_.reset();
        list_.bind(1, kGlobalCommands).bind(2, kGlobalCommands).bind(3, name);
        return list_.step();
    }

  private:
    Statement command_;
    Statement list_;
};

// The target as it is built: its commands one block each, so that replaced ones can be left
// out at the end, then its LIST section and the LISTs added to it.
class DatExport {
  public:
    DatExport(Session& s, Rewrite& source, FullRewrite& fr, const ExportDatRequest& request,
              ExportDatResult& result)
        : s_(s), source_(source), fr_(fr), target_(result.target),
          targetName_(files::fileName(result.target)), result_(result),
          answers_(request.duplicates) {
        // The scratch catalogue lives as long as the export: one transaction, never committed.
        scratch_.begin();
    }

    bool startNew();
    bool walkTarget(const std::string& image);
    // False when the user cancelled the export or the open file refused a row.
    bool exportCommands();
    bool addLists();
    void ExportDATdelete();
    // The new target, read back before it replaces anything.
    std::optional<std::string> image();

  private:
    bool unreadable(const std::string& why);
    std::int64_t commandsEnd() const { return commandsEnd_; }
    void addBlock(Block block);
    std::int64_t insert(UserRow row);
    void addCommand(CommandRecord& record, const UserRow& row);
    bool addList(const std::string& name);

    Session& s_;
    Rewrite& source_;
    FullRewrite& fr_;
    const std::string& target_;
    std::string targetName_;
    ExportDatResult& result_;
    DuplicateAnswers answers_;
    Catalogue scratch_{":memory:"};
    ScratchLookups find_{scratch_};
    StateIdLookup stateId_ = [this](const std::string& app, const std::string& state) {
        return scratch_.stateId(app, state);
    };
    std::set<std::int64_t> replaced_; // scratch rows of target commands that exported ones replace
    std::string header_;
    std::vector<Block> commands_;
    std::int64_t commandsEnd_ = kFirstRecordPosition; // where the next command goes
    std::uint32_t listCount_ = 0;
    std::string listRecords_; // the target's LIST records, then the added ones
    std::string tail_;        // bytes of the target after its last LIST
};

bool DatExport::unreadable(const std::string& why) {
    s_.ui.warning("The Export file cannot be read as a command file: " + why +
                      ".\nNothing was exported.",
                  target_);
    return false;
}

void DatExport::addBlock(Block block) {
    commandsEnd_ += static_cast<std::int64_t>(block.bytes.size());
    commands_.push_back(std::move(block));
}

std::int64_t DatExport::insert(UserRow row) {
    scratch_.insertRow(row, [this](const UserRow& found, const UserRow& added) {
        fr_.duplicates().report(found, added);
    });
    return row.id;
}

bool DatExport::startNew() {
    header_ = source_.output().substr(0, kHeaderSize);
    scratch_.setParameter("OffsetLists", kFirstRecordPosition);
    return true;
}

bool DatExport::walkTarget(const std::string& image) {
    if (image.size() < kHeaderSize + 4) {
        return unreadable("it is shorter than a command file");
    }
    const std::string& block = source_.output();
    if (image[kVersionCodeOffset] != block[kVersionCodeOffset]) {
        s_.ui.warning(kDifferentVersion, target_);
        return false;
    }
    if (image[kLanguageOffset] != block[kLanguageOffset]) {
        s_.ui.warning(kDifferentLanguage, target_);
        return false;
    }
    header_ = image.substr(0, kHeaderSize);
    ByteReader in(image, kFirstRecordPosition);
    try {
        std::uint32_t count = readLongAt(image, kCommandCountOffset) & kLowWord;
        for (std::uint32_t i = 0; i < count; ++i) {
            CommandRecord record;
            readCommand(in, source_.layout(), fr_.keys(), record);
            Block b{image.substr(static_cast<std::size_t>(record.offset - 1),
                                 static_cast<std::size_t>(record.end - record.offset)),
                    0};
            if (!record.skipped()) {
                b.scratchId = insert(commandRow(targetName_, record, stateId_));
            }
            addBlock(std::move(b));
        }
        scratch_.setParameter("OffsetLists", in.position());
        listCount_ = in.longValue() & kLowWord;
        std::int64_t first = in.position();
        for (std::uint32_t i = 0; i < listCount_; ++i) {
            ListRecord record;
            readList(in, record);
            insert(listRow(targetName_, record));
        }
        auto recordsSize = static_cast<std::size_t>(in.position() - first);
        listRecords_ = image.substr(static_cast<std::size_t>(first - 1), recordsSize);
        // Whatever follows the last LIST stays behind it, after the LISTs added.
        tail_ = image.substr(static_cast<std::size_t>(in.position() - 1));
    } catch (const FormatError& e) {
        return unreadable("a record at position " + std::to_string(e.position()) +
                          " cannot be read");
    }
    fr_.log() << " Original Exportcommands, offset, lists " << commands_.size() << " "
              << commandsEnd() << " " << listCount_ << kCrLf;
    return true;
}

void DatExport::addCommand(CommandRecord& record, const UserRow& row) {
    ByteWriter staging;
    fr_.ReencodeCommand(record, row, {}, staging);
    std::int64_t position = commandsEnd();
    // The record read back from what was written is the scratch catalogue's row.
    ByteReader back(staging.data(), 1);
    CommandRecord written;
    readCommand(back, source_.layout(), fr_.keys(), written);
    written.offset += position - 1;
    written.offsetBody += position - 1;
    addBlock({staging.take(), insert(commandRow(targetName_, written, stateId_))});
    ++result_.exported;
}

bool DatExport::exportCommands() {
    std::vector<UserRow> rows;
    for (auto& row : s_.catalogue.allRowsWithoutScripts()) {
        if (row.flag && !row.isList() && row.offset != 0) {
            rows.push_back(std::move(row));
        }
    }
    Progress progress(s_.ui, rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const UserRow& row = rows[i];
        CommandRecord record;
        if (!source_.commandAt(row, record)) {
            return false;
        }
        auto found = find_.command(row);
        bool cancel = false;
        if (!found) {
            addCommand(record, row);
        } else if (takeDuplicate(s_.ui, answers_, target_, row.name, s_.file.path, cancel)) {
            replaced_.insert(*found);
            ++result_.replaced;
            addCommand(record, row);
        } else if (cancel) {
            return false;
        } else {
            ++result_.kept;
        }
        progress.step(i + 1);
    }
    fr_.log() << "Exportcommands= " << commands_.size() << kCrLf;
    return true;
}

bool DatExport::addList(const std::string& name) {
    if (find_.hasList(name)) {
        return true;
    }
    auto row = s_.catalogue.findFileList(name);
    if (!row) {
        s_.ui.warning(kListNotFound, name);
        return false;
    }
    ListRecord record;
    if (!source_.listAt(*row, record)) {
        return false;
    }
    if (listCount_ >= kLowWord) {
        s_.ui.warning("A command file holds at most 65535 commands and 65535 LISTs", target_);
        return false;
    }
    ByteWriter bytes;
    writeList(record, bytes);
    record.offset = commandsEnd() + 4 + static_cast<std::int64_t>(listRecords_.size());
    insert(listRow(targetName_, record));
    listRecords_ += bytes.data();
    ++listCount_;
    ++result_.listsAdded;
    return true;
}

bool DatExport::addLists() {
    for (const auto& row : scratch_.allRowsWithoutScripts()) {
        if (row.isList()) {
            continue;
        }
        for (const auto& name : ExtractListRefs(row.name)) {
            if (!addList(name)) {
                return false;
            }
        }
    }
    fr_.log() << "lists= " << listCount_ << kCrLf;
    return true;
}

void DatExport::ExportDATdelete() {
    if (replaced_.empty()) {
        return;
    }
    fr_.log() << "ExportDATdelete..." << kCrLf;
    std::erase_if(commands_, [&](const Block& b) { return replaced_.count(b.scratchId) > 0; });
    commandsEnd_ = kFirstRecordPosition;
    for (const auto& block : commands_) {
        commandsEnd_ += static_cast<std::int64_t>(block.bytes.size());
    }
}

std::optional<std::string> DatExport::image() {
    if (commands_.size() > kLowWord) {
        s_.ui.warning("A command file holds at most 65535 commands and 65535 LISTs", target_);
        return std::nullopt;
    }
    std::string out = header_;
    writeLongAt(out, kCommandCountOffset, static_cast<std::uint32_t>(commands_.size()));
    for (const auto& block : commands_) {
        out += block.bytes;
    }
    fr_.log() << "outputoffset= " << out.size() + 1 << kCrLf;
    out += std::string(4, '\0');
    writeLongAt(out, out.size() - 4, listCount_);
    out += listRecords_;
    out += tail_;
    // Every record must read back before the target is replaced by it.
    if (!readsToItsEnd(out)) {
        s_.ui.warning("The Export file was not built correctly; nothing was written", target_);
        return std::nullopt;
    }
    return out;
}

void runExport(Session& s, const ExportDatRequest& request, ExportDatResult& result) {
    Rewrite source(s);
    if (!source.load(Rewrite::LoadFor::Reading)) {
        return;
    }
    std::optional<std::string> existing;
    if (result.appended) {
        existing = files::readAll(result.target);
        if (!existing) {
            s.ui.warning("The Export file cannot be read", result.target);
            return;
        }
    }
    FullRewrite fr(source, source.layout());
    fr.BeginFullRewrite();
    DatExport x(s, source, fr, request, result);
    bool ok = existing ? x.walkTarget(*existing) : x.startNew();
    if (ok) {
        s.ui.status("Exporting");
        ok = x.exportCommands() && x.addLists();
    }
    std::optional<std::string> image;
    if (ok) {
        x.ExportDATdelete();
        image = x.image();
    }
    fr.end();
    s.ui.status("");
    if (!image) {
        return;
    }
    files::WriteResult written = files::replaceFile(result.target, *image);
    if (!written) {
        s.ui.warning(written.readOnly() ? files::readOnlyMessage(result.target)
                                        : "The Export file could not be written",
                     result.target);
        return;
    }
    result.exportDone = true;
}

// The open file is never a target, nor the file Dragon keeps open for its current user:
// written behind Dragon's back, with no backup, Dragon would overwrite the change anyway.
bool refusedTarget(Session& s, const std::string& target) {
    if (files::sameFile(target, s.file.path)) {
        s.ui.warning(kExportToSelf, target);
        return true;
    }
    if (s.dragon && files::sameFile(target, s.dragon->currentUserCommandFile())) {
        s.ui.warning(kExportToDragonsFile, target);
        return true;
    }
    return false;
}

// The target path after the checks, or nothing (after a message) when the export stops.
bool preflight(Session& s, const ExportDatRequest& request, ExportDatResult& result) {
    std::string& target = result.target;
    if (refusedTarget(s, target)) {
        return false;
    }
    std::string folder = files::parentFolder(target);
    if (!files::isDirectory(folder.empty() ? "." : folder)) {
        s.ui.warning(kExportFolderMissing, folder);
        return false;
    }
    if (!endsWithDat(target)) {
        target += ".dat";
        if (!s.ui.okCancel(kAppendingDat, target)) {
            return false;
        }
        // With its ending the name may now be the open file's.
        if (refusedTarget(s, target)) {
            return false;
        }
    }
    if (!folder.empty() && s.catalogue.parameter("exportPath") != folder) {
        s.catalogue.setParameter("exportPath", folder);
    }
    if (!files::exists(target)) {
        return true;
    }
    if (files::isReadOnly(target)) {
        s.ui.warning(files::readOnlyMessage(target), target);
        return false;
    }
    std::size_t action = request.existing == ExistingTarget::Append      ? kAppend
                         : request.existing == ExistingTarget::Overwrite ? kOverwrite
                                                                         : kCancel;
    if (request.existing == ExistingTarget::Ask) {
        action = s.ui.choice(std::string(kTargetExists) + "\n" + target, kTargetExistsTitle,
                             kTargetButtons, kCancel);
    }
    result.appended = action == kAppend;
    return action != kCancel;
}

} // namespace

bool takeDuplicate(UserInteraction& ui, DuplicateAnswers& answers, const std::string& target,
                   const std::string& name, const std::string& source, bool& cancel) {
    if (answers != DuplicateAnswers::Ask) {
        return answers == DuplicateAnswers::YesToAll;
    }
    std::string text = "The following command already exists in:\n" + target + "\n" + name +
                       "\nOverwrite? with command from:\n" + source;
    switch (ui.choice(text, kDuplicateTitle, kDuplicateButtons, kCancelExport)) {
    case kYes:
        return true;
    case kYesToAll:
        answers = DuplicateAnswers::YesToAll;
        return true;
    case kNo:
        return false;
    case kNoToAll:
        answers = DuplicateAnswers::NoToAll;
        return false;
    default:
        cancel = true;
        return false;
    }
}

ExportDatResult exportToDat(Session& s, ExportDatRequest request) {
    ExportDatResult result;
    result.target = request.target;
    if (preflight(s, request, result)) {
        runExport(s, request, result);
    }
    return result;
}

} // namespace plv::dat
