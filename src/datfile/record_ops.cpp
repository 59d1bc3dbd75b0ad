#include "datfile/record_ops.h"

#include "datfile/builder.h"
#include "datfile/rewrite_full.h"
#include "platform/codepage.h"

#include <set>

namespace plv::dat {
namespace {

constexpr std::size_t kTailSize = 8;

std::uint8_t typeByteOf(const std::string& type) {
    if (type == "K") {
        return kTypeKeys;
    }
    if (type == "S") {
        return kTypeScript;
    }
    if (type == "A") {
        return kTypeAdvanced;
    }
    return kTypeText;
}

std::string groupText(const std::string& group) {
    return group == kUserDefined ? std::string() : group;
}

// The name, its LIST references, description and Group of a command, as file bytes.
bool headFields(Session& s, const std::string& name, const std::string& description,
                const std::string& group, CommandRecord& r) {
    if (!toFileText(s, name, r.name) || !refuseControlCharacters(s, r.name) ||
        !toFileText(s, description, r.description) || !toFileText(s, groupText(group), r.group)) {
        return false;
    }
    for (const auto& ref : ExtractListRefs(r.name)) {
        r.listRefs.push_back(ref);
    }
    r.listRefCountRaw = static_cast<std::uint32_t>(r.listRefs.size());
    return true;
}

// A catalogued command of the Program and Scope whose record lends its strings.
std::optional<UserRow> referenceRow(Session& s, const std::string& program,
                                    const std::string& scope) {
    for (auto& row : s.catalogue.rowsOf(program, scope)) {
        if (!row.isList() && row.offset != 0) {
            return row;
        }
    }
    return std::nullopt;
}

// The scope byte and strings of a new command; false (message shown) when no command of
// that Program and Scope is there to take the strings from.
bool scopeFields(Session& s, Rewrite& e, const NewCommand& c, CommandRecord& r) {
    if (equalsNoCase(c.program, kGlobalCommands)) {
        r.scopeByte = kGlobalScope;
        return true;
    }
    auto reference = referenceRow(s, c.program, c.scope);
    if (!reference) {
        s.ui.warning("Parlavista cannot create a new command for this Program, Scope, Group, "
                     "or View.",
                     "Please pick a different Program, Scope, Group, or View");
        return false;
    }
    CommandRecord lender;
    if (!e.commandAt(*reference, lender)) {
        return false;
    }
    bool window = !equalsNoCase(c.scope, kApplicationSpecific) && lender.scopeKind() == 2;
    r.scopeByte = window ? kWindowScope : kApplicationScope;
    r.appName = lender.appName;
    r.productDescription = lender.productDescription;
    r.companyName = lender.companyName;
    if (window) {
        r.windowTitle = lender.windowTitle;
        r.windowClass = lender.windowClass;
    }
    return true;
}

UserRow fileListRow(Session& s, const UserRow& row) {
    if (row.isFileList()) {
        return row;
    }
    auto found = s.catalogue.findFileList(row.name);
    return found ? *found : row;
}

// Position just after the LIST record's name.
std::int64_t afterListName(const Rewrite& e, const ListRecord& record) {
    ByteReader in(e.input(), record.offset);
    in.countedString();
    return in.position();
}

// The LISTs (folded names) that the commands about to be deleted refer to.
std::set<std::string> listsOfDeleted(const RowsByOffset& rows) {
    std::set<std::string> refs;
    for (const auto& [offset, row] : rows.commands) {
        if (row.flag) {
            for (const auto& ref : ExtractListRefs(row.name)) {
                refs.insert(foldCase(ref));
            }
        }
    }
    return refs;
}

// A LIST goes only when a deleted command referred to it and no command left in the file
// (skip-bit records included) does: a LIST not used yet, or used by nothing deleted, stays.
bool rebuildReferencedLists(Session& s, FullRewrite& fr, std::vector<std::string>* dropped) {
    MarkReferencedLists(s, fr.writtenNames());
    RowsByOffset rows = rowsByOffset(s.catalogue);
    std::set<std::string> candidates = listsOfDeleted(rows);
    Rewrite& e = fr.engine();
    std::int64_t countPosition = fr.outputPosition();
    ByteWriter placeholder;
    placeholder.PutLong(0);
    e.append(placeholder);
    ByteReader in(e.input(), e.offsetLists() + 4);
    for (std::int64_t i = 0; i < e.listCount(); ++i) {
        ListRecord record;
        readList(in, record); // the load has read the section once already
        auto it = rows.lists.find(record.offset);
        if (it == rows.lists.end()) {
            return e.refuse("the LIST at position " + std::to_string(record.offset) +
                            " is not catalogued");
        }
        const UserRow& list = it->second;
        if (list.noglobals || candidates.count(foldCase(list.name)) == 0) {
            fr.ReencodeList(record);
        } else if (dropped) {
            dropped->push_back(list.name);
        }
    }
    writeLongAt(e.output(), static_cast<std::size_t>(countPosition - 1), fr.listsWritten());
    return true;
}

} // namespace

std::vector<std::string> ExtractListRefs(const std::string& name) {
    std::vector<std::string> refs;
    std::size_t at = 0;
    for (;;) {
        std::size_t open = name.find('<', at);
        if (open == std::string::npos) {
            return refs;
        }
        std::size_t close = name.find('>', open);
        if (close == std::string::npos) {
            return refs;
        }
        refs.push_back(name.substr(open + 1, close - open - 1));
        at = close + 1;
    }
}

Outcome BuildNewRecord(Session& s, const NewCommand& c) {
    if (c.type == "L") {
        return UpdateNewList(s, c.name, c.body);
    }
    Rewrite e(s);
    CommandRecord r;
    std::string body;
    if (!headFields(s, c.name, c.description, c.group, r) || !toFileText(s, c.body, body) ||
        !e.load() || !scopeFields(s, e, c, r)) {
        return Outcome::Refused;
    }
    r.typeByte = typeByteOf(c.type);
    r.body = c.type == "P" ? plainTextBody(body) : textBody(body);
    ByteWriter staging;
    writeCommand(r, e.layout(), staging);
    staging.writeSwitch = false;
    return UpdateNewCommand(e, staging.data());
}

Outcome UpdateNewCommand(Rewrite& e, const std::string& record) {
    e.CopyPrefix(e.offsetLists() - 1);
    e.output() += record;
    e.CopyRemainder(e.offsetLists());
    if (!e.addToCount(kCommandCountPosition, 1) || !e.FinishRewrite("update new command file")) {
        return Outcome::Refused;
    }
    return Outcome::Done;
}

Outcome UpdateNewList(Session& s, const std::string& name, const std::string& text) {
    std::string nameBytes;
    std::string textBytes;
    Rewrite e(s);
    if (!toFileText(s, name, nameBytes) || !refuseControlCharacters(s, nameBytes) ||
        !toFileText(s, text, textBytes) || !e.load()) {
        return Outcome::Refused;
    }
    auto items = splitAtCrLf(normaliseLineBreaks(textBytes));
    items.pop_back(); // the empty piece after the final CR LF
    if (items.size() > 0xFFFF) {
        s.ui.warning("A LIST holds at most 65535 items", s.file.path);
        return Outcome::Refused;
    }
    ByteWriter record;
    record.PutCountedString(nameBytes);
    record.PutLong(1);
    record.PutLong(static_cast<std::uint32_t>(items.size()));
    for (const auto& item : items) {
        record.PutCountedString(item);
    }
    e.CopyPrefix(e.listsEnd() - 1);
    e.append(record);
    e.CopyRemainder(e.listsEnd());
    if (!e.addToCount(e.offsetLists(), 1) || !e.FinishRewrite("update new list")) {
        return Outcome::Refused;
    }
    return Outcome::Done;
}

Outcome UpdateFirstThings(Session& s, const UserRow& row, const std::string& newName,
                          const std::string& description, const std::string& group) {
    if (row.isList()) {
        return UpdateListRename(s, row, newName);
    }
    Rewrite e(s);
    CommandRecord head;
    CommandRecord old;
    if (!headFields(s, newName, description, group, head) || !e.load() || !e.commandAt(row, old)) {
        return Outcome::Refused;
    }
    ByteWriter fields;
    fields.PutCountedString(head.name);
    fields.PutLong(head.listRefCountRaw);
    for (const auto& ref : head.listRefs) {
        fields.PutCountedString(ref);
    }
    fields.PutCountedString(head.description);
    fields.PutCountedString(head.group);
    e.CopyPrefix(old.offset - 1);
    e.append(fields);
    e.CopyRemainder(old.afterGroup);
    return e.FinishRewrite("UpdateFirstThings") ? Outcome::Done : Outcome::Refused;
}

Outcome UpdateListRename(Session& s, const UserRow& row, const std::string& newName) {
    UserRow target = fileListRow(s, row);
    std::string nameBytes;
    Rewrite e(s);
    ListRecord old;
    if (!toFileText(s, newName, nameBytes) || !refuseControlCharacters(s, nameBytes) || !e.load() ||
        !e.listAt(target, old)) {
        return Outcome::Refused;
    }
    ByteWriter name;
    name.PutCountedString(nameBytes);
    e.CopyPrefix(old.offset - 1);
    e.append(name);
    e.CopyRemainder(afterListName(e, old));
    return e.FinishRewrite("UpdateListRename") ? Outcome::Done : Outcome::Refused;
}

Outcome Updatechangetype(Session& s, const UserRow& row, TypeChange change) {
    if (row.type != "K") {
        s.ui.warning("Only KEYS commands are converted to Plain Text or Advanced Scripting",
                     s.file.path);
        return Outcome::Refused;
    }
    Rewrite e(s);
    CommandRecord old;
    if (!e.load() || !e.commandAt(row, old) || !refuseEncrypted(s, old)) {
        return Outcome::Refused;
    }
    std::int64_t t = old.typeBytePosition + 1;
    e.CopyPrefix(t - 1);
    bool plain = change == TypeChange::ToPlainText;
    e.output()[static_cast<std::size_t>(t - 2)] =
        static_cast<char>(plain ? kTypeText : kTypeAdvanced);
    if (plain) {
        ByteWriter head;
        if (hasProtectionByte(e.layout())) {
            head.PutByte(0);
        }
        if (hasVersionTail(e.layout())) {
            head.PutBytes(std::string(kTailSize, '\0'));
        }
        head.PutByte(0); // the formatted-content block, empty
        e.append(head);
    }
    e.CopyRemainder(plain ? old.offsetBody : t);
    return e.FinishRewrite("Updatechangetype") ? Outcome::Done : Outcome::Refused;
}

Outcome DeleteList(Session& s, const UserRow& row) {
    UserRow target = fileListRow(s, row);
    Rewrite e(s);
    ListRecord old;
    if (!e.load() || !e.listAt(target, old)) {
        return Outcome::Refused;
    }
    e.CopyPrefix(old.offset - 1);
    e.CopyRemainder(old.end);
    if (!e.addToCount(e.offsetLists(), -1) || !e.FinishRewrite("command delete list ")) {
        return Outcome::Refused;
    }
    return Outcome::Done;
}

void MarkReferencedLists(Session& s, const std::vector<std::string>& commandNames) {
    Catalogue& c = s.catalogue;
    c.begin();
    try {
        c.clearNoglobals();
        for (const auto& name : commandNames) {
            for (const auto& ref : ExtractListRefs(name)) {
                c.markFileListUsed(ref);
            }
        }
        c.commit();
    } catch (...) {
        c.rollback();
        throw;
    }
}

Outcome deletethem(Session& s, std::vector<std::string>* droppedLists) {
    std::vector<std::string> dropped;
    FullRewritePlan plan;
    plan.traceWord = "deletethem";
    plan.dropFlagged = true;
    plan.rebuildLists = [&s, &dropped](FullRewrite& fr) {
        return rebuildReferencedLists(s, fr, &dropped);
    };
    Outcome done = runFullRewrite(s, plan);
    if (done == Outcome::Done && droppedLists) {
        *droppedLists = std::move(dropped);
    }
    return done;
}

std::vector<UserRow> commandsUsingList(const Catalogue& catalogue, const std::string& list) {
    std::vector<UserRow> users;
    for (auto& row : catalogue.allRowsWithoutScripts()) {
        if (row.isList()) {
            continue;
        }
        for (const auto& ref : ExtractListRefs(row.name)) {
            if (equalsNoCase(ref, list)) {
                users.push_back(std::move(row));
                break;
            }
        }
    }
    return users;
}

} // namespace plv::dat
