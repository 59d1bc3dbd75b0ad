#include "editing/import_xml.h"

#include "datfile/builder.h"
#include "datfile/reader.h"
#include "export/dragon_xml_records.h"
#include "platform/codepage.h"
#include "platform/files.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>

namespace plv::editing {
namespace {

constexpr std::uint32_t kLowWord = 0xFFFF;
constexpr std::uint64_t kLargestFile = 512ULL * 1024 * 1024;
constexpr const char* kTooMany = "A command file holds at most 65535 commands and 65535 LISTs";

// Program (application name), Scope (window title) and name, compared as the catalogue
// does: without regard to case.
std::string commandKey(const dat::CommandRecord& r) {
    return foldCp1252(std::to_string(r.scopeKind()) + '\x01' + r.appName + '\x01' +
                      (r.scopeKind() == dat::kWindowScope ? r.windowTitle : "") + '\x01' + r.name);
}

std::string refusal(int line, const std::string& name, const std::string& why) {
    return "Line " + std::to_string(line) + ", " + name + ": " + why;
}

// The line of a refusal, "Line 12, ...".
int lineOf(const std::string& refusal) {
    return std::atoi(refusal.c_str() + std::strlen("Line "));
}

// The target as it is rebuilt: its records, and the imported ones after them.
class Merge {
  public:
    Merge(UserInteraction& ui, const ImportPlan& plan, ImportXmlResult& result,
          dat::DuplicateAnswers answers, std::string target)
        : ui_(ui), plan_(plan), result_(result), answers_(answers), target_(std::move(target)) {}

    void startNew() { header_ = dat::headerTemplate(dat::Layout::V1011, plan_.languageByte, 0); }
    void walkTarget(const std::string& image);
    // False when the user cancelled.
    bool addCommands();
    void addLists();
    std::optional<std::string> image();

  private:
    bool add(std::size_t i);
    bool knowsList(const std::string& name) const { return lists_.count(foldCp1252(name)) > 0; }

    UserInteraction& ui_;
    const ImportPlan& plan_;
    ImportXmlResult& result_;
    dat::DuplicateAnswers answers_;
    std::string target_;
    std::string header_;
    std::vector<std::string> commands_;                 // record bytes; an emptied one was replaced
    std::map<std::string, std::size_t> targetCommands_; // and those imported so far
    std::set<std::string> lists_; // folded names of the target's and the XML's LISTs
    std::set<std::string> targetLists_;
    std::set<std::string> usedLists_; // by the commands imported
    std::uint32_t listCount_ = 0;
    std::string listRecords_;
    std::string tail_;
};

void Merge::walkTarget(const std::string& image) {
    header_ = image.substr(0, dat::kHeaderSize);
    dat::ByteReader in(image, dat::kFirstRecordPosition);
    std::uint32_t count = dat::readLongAt(image, dat::kCommandCountOffset) & kLowWord;
    for (std::uint32_t i = 0; i < count; ++i) {
        dat::CommandRecord r;
        dat::readCommand(in, dat::Layout::V1011, nullptr, r);
        // A record with the skip bit counts too: an import must not pile up hidden copies.
        targetCommands_.emplace(commandKey(r), commands_.size());
        commands_.push_back(image.substr(static_cast<std::size_t>(r.offset - 1),
                                         static_cast<std::size_t>(r.end - r.offset)));
    }
    listCount_ = in.longValue() & kLowWord;
    std::int64_t first = in.position();
    for (std::uint32_t i = 0; i < listCount_; ++i) {
        dat::ListRecord r;
        dat::readList(in, r);
        targetLists_.insert(foldCp1252(r.name));
    }
    listRecords_ = image.substr(static_cast<std::size_t>(first - 1),
                                static_cast<std::size_t>(in.position() - first));
    tail_ = image.substr(static_cast<std::size_t>(in.position() - 1));
}

bool Merge::add(std::size_t i) {
    const dat::CommandRecord& r = plan_.commands[i];
    std::string name = xml::toXmlName(decodeCp1252(r.name));
    for (const auto& ref : r.listRefs) {
        if (!knowsList(ref)) {
            result_.refusals.push_back(refusal(
                plan_.lines[i], name, "the LIST [" + decodeCp1252(ref) + "] is in neither file"));
            return true;
        }
    }
    std::string key = commandKey(r);
    auto found = targetCommands_.find(key);
    if (found != targetCommands_.end()) {
        bool cancel = false;
        if (!dat::takeDuplicate(ui_, answers_, target_, name, plan_.path, cancel)) {
            result_.kept += cancel ? 0 : 1;
            return !cancel;
        }
        commands_[found->second].clear();
        targetCommands_.erase(found);
        ++result_.replaced;
    }
    dat::ByteWriter bytes;
    dat::writeCommand(r, dat::Layout::V1011, bytes);
    // The commands after it in the XML meet it as one the target has.
    targetCommands_[key] = commands_.size();
    commands_.push_back(bytes.take());
    for (const auto& ref : r.listRefs) {
        usedLists_.insert(foldCp1252(ref));
    }
    ++result_.imported;
    return true;
}

bool Merge::addCommands() {
    lists_ = targetLists_;
    for (const auto& l : plan_.lists) {
        lists_.insert(foldCp1252(l.name));
    }
    for (std::size_t i = 0; i < plan_.commands.size(); ++i) {
        if (!add(i)) {
            return false;
        }
    }
    return true;
}

// The LISTs the imported commands use, or every LIST of a file that holds LISTs only: a
// LIST whose commands were not imported would be left unused.
void Merge::addLists() {
    bool listsOnly = plan_.commands.empty() && plan_.refusals.empty();
    for (const auto& l : plan_.lists) {
        std::string key = foldCp1252(l.name);
        if ((listsOnly || usedLists_.count(key) > 0) && targetLists_.insert(key).second) {
            dat::ByteWriter bytes;
            dat::writeList(l, bytes);
            listRecords_ += bytes.data();
            ++listCount_;
            ++result_.listsAdded;
        }
    }
}

std::optional<std::string> Merge::image() {
    std::erase_if(commands_, [](const std::string& c) { return c.empty(); });
    if (commands_.size() > kLowWord || listCount_ > kLowWord) {
        ui_.warning(kTooMany, target_);
        return std::nullopt;
    }
    std::string out = header_;
    dat::writeLongAt(out, dat::kCommandCountOffset, static_cast<std::uint32_t>(commands_.size()));
    for (const auto& c : commands_) {
        out += c;
    }
    out += std::string(4, '\0');
    dat::writeLongAt(out, out.size() - 4, listCount_);
    out += listRecords_;
    out += tail_;
    // Every record must read back before anything is replaced by it.
    if (!dat::readsToItsEnd(out)) {
        ui_.warning("The imported file was not built correctly; nothing was written", target_);
        return std::nullopt;
    }
    return out;
}

std::optional<std::string> mergedImage(UserInteraction& ui, const ImportPlan& plan,
                                       const std::string* existing, const std::string& target,
                                       dat::DuplicateAnswers answers, ImportXmlResult& result) {
    Merge merge(ui, plan, result, answers, target);
    if (existing) {
        merge.walkTarget(*existing);
    } else {
        merge.startNew();
    }
    if (!merge.addCommands()) {
        return std::nullopt;
    }
    merge.addLists();
    std::stable_sort(
        result.refusals.begin(), result.refusals.end(),
        [](const std::string& a, const std::string& b) { return lineOf(a) < lineOf(b); });
    if (result.imported == 0 && result.listsAdded == 0) {
        ui.warning(kNothingToImport, plan.path);
        return std::nullopt;
    }
    return merge.image();
}

void convert(const xml::Document& d, ImportPlan& plan) {
    plan.languageByte = xml::languageByte(d.language);
    for (const auto& c : d.commands) {
        std::string why;
        auto record = xml::recordOf(c, why);
        if (!record) {
            plan.refusals.push_back(refusal(c.line, xml::toXmlName(c.name), why));
            continue;
        }
        plan.commands.push_back(std::move(*record));
        plan.lines.push_back(c.line);
    }
    for (const auto& l : d.lists) {
        std::string why;
        auto record = xml::listRecordOf(l, why);
        if (!record) {
            plan.refusals.push_back(refusal(l.line, "LIST " + l.name, why));
            continue;
        }
        plan.lists.push_back(std::move(*record));
    }
}

} // namespace

std::optional<ImportPlan> readImport(UserInteraction& ui, const std::string& xmlPath) {
    auto size = files::size(xmlPath);
    if (!size) {
        ui.warning("File does not exist", xmlPath);
        return std::nullopt;
    }
    std::optional<std::string> bytes;
    if (*size <= kLargestFile) {
        bytes = files::readAll(xmlPath);
    }
    if (!bytes) {
        ui.warning(std::string(kXmlUnreadable) + ": it is too large or cannot be opened.", xmlPath);
        return std::nullopt;
    }
    xml::ReadFailure failure;
    auto document = xml::readDocument(*bytes, failure);
    if (!document) {
        ui.warning(std::string(kXmlUnreadable) + ".\n" + failure.message() +
                       ".\nNothing was imported.",
                   xmlPath);
        return std::nullopt;
    }
    ImportPlan plan;
    plan.path = xmlPath;
    convert(*document, plan);
    return plan;
}

ImportXmlResult importIntoNewFile(UserInteraction& ui, const ImportPlan& plan,
                                  const std::string& target, dat::DuplicateAnswers duplicates) {
    ImportXmlResult result{.refusals = plan.refusals};
    auto image = mergedImage(ui, plan, nullptr, target, duplicates, result);
    if (!image) {
        return result;
    }
    files::WriteResult written = files::replaceFile(target, *image);
    if (!written) {
        ui.warning(written.readOnly() ? files::readOnlyMessage(target)
                                      : "The command file could not be written",
                   target);
        return result;
    }
    result.done = true;
    return result;
}

dat::Outcome importIntoOpenFile(Road& road, const ImportPlan& plan,
                                dat::DuplicateAnswers duplicates, ImportXmlResult& result) {
    Session& s = road.session();
    result = {.refusals = plan.refusals};
    if (s.file.layout != dat::Layout::V1011) {
        s.ui.warning(dat::kDifferentVersion, s.file.path);
        return dat::Outcome::Refused;
    }
    if (s.file.languageByte != plan.languageByte) {
        s.ui.warning(dat::kDifferentLanguage, s.file.path);
        return dat::Outcome::Refused;
    }
    dat::Rewrite engine(s);
    if (!engine.load()) {
        return dat::Outcome::Refused;
    }
    std::optional<std::string> image;
    try {
        image = mergedImage(s.ui, plan, &engine.input(), s.file.path, duplicates, result);
    } catch (const dat::FormatError&) {
        engine.refuse("a record cannot be read");
    }
    if (!image || !road.automaticBackup()) {
        return dat::Outcome::Refused;
    }
    engine.output() = std::move(*image);
    if (!engine.FinishRewrite("importxml")) {
        return dat::Outcome::Refused;
    }
    result.done = true;
    return dat::Outcome::Done;
}

void reportRefusals(UserInteraction& ui, const ImportXmlResult& result) {
    if (result.refusals.empty()) {
        return;
    }
    std::string text = "These were not imported:";
    for (const auto& line : result.refusals) {
        text += "\n" + line;
    }
    ui.warning(text, kImportSkippedTitle);
}

Outcome ImportXml(Editor& e, const std::string& xmlPath) {
    Operation op(e);
    if (Outcome ready = readyForCommand(e, op); ready != Outcome::Done) {
        return ready;
    }
    Session& s = e.session();
    auto plan = readImport(s.ui, xmlPath);
    if (!plan) {
        return Outcome::Refused;
    }
    ImportXmlResult result;
    Outcome done = importIntoOpenFile(e.road(), *plan, dat::DuplicateAnswers::Ask, result);
    reportRefusals(s.ui, result);
    if (done != Outcome::Done) {
        return done;
    }
    s.ui.message(kImportDone, s.file.path);
    return e.road().postWrite();
}

} // namespace plv::editing
