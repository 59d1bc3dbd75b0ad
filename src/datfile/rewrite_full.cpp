#include "datfile/rewrite_full.h"

#include "platform/codepage.h"

namespace plv::dat {
namespace {

std::string quotedName(const std::string& name) {
    return "'" + name + "'";
}

// Walks the command section; each record is matched to its row (or carried over) and
// handed on. Refuses when a row does not stand on a record.
bool rewriteCommands(FullRewrite& fr, const FullRewritePlan& plan, const RowsByOffset& rows) {
    Rewrite& e = fr.engine();
    ByteReader in(e.input(), kFirstRecordPosition);
    std::size_t matched = 0;
    Progress progress(e.session().ui, static_cast<std::size_t>(e.offsetLists()));
    for (std::int64_t i = 0; i < e.commandCount(); ++i) {
        CommandRecord record;
        try {
            readCommand(in, e.layout(), fr.keys(), record);
        } catch (const FormatError& err) {
            return e.refuse("command record " + std::to_string(i + 1) +
                            " cannot be read at position " + std::to_string(err.position()));
        }
        progress.step(static_cast<std::size_t>(in.position()));
        auto it = rows.commands.find(record.offset);
        if (it == rows.commands.end()) {
            fr.carryOver(record);
            continue;
        }
        const UserRow& row = it->second;
        if (record.skipped() || decodeCp1252(record.name) != row.name) {
            return e.refuse("the record at position " + std::to_string(record.offset) + " is " +
                            quotedName(decodeCp1252(record.name)) + ", not " +
                            quotedName(row.name));
        }
        ++matched;
        if (!(plan.dropFlagged && row.flag)) {
            fr.AppendReencodedCommand(record, row, plan.substitution);
        }
    }
    if (in.position() != e.offsetLists()) {
        return e.refuse("its command records end at position " + std::to_string(in.position()) +
                        ", not at the LIST section (" + std::to_string(e.offsetLists()) + ")");
    }
    if (matched != rows.commands.size()) {
        return e.refuse(std::to_string(rows.commands.size() - matched) +
                        " catalogued commands do not stand on a record");
    }
    return true;
}

} // namespace

RowsByOffset rowsByOffset(const Catalogue& catalogue) {
    RowsByOffset out;
    for (auto& row : catalogue.allRowsWithoutScripts()) {
        if (row.offset == 0) {
            continue;
        }
        if (!row.isList()) {
            out.commands.emplace(row.offset, std::move(row));
        } else if (row.isFileList()) {
            out.lists.emplace(row.offset, std::move(row));
        }
    }
    return out;
}

void FullRewrite::BeginFullRewrite() {
    Session& s = e_.session();
    commandsWritten_ = 0;
    listsWritten_ = 0;
    writtenNames_.clear();
    log_.open(files::fsPath(s.programFile("Parlavista.log")), std::ios::binary | std::ios::trunc);
    duplicates_.open(s.programFolder);
    keys_ = KeyNames::load(s.programFile("keynames"));
    e_.output().clear();
    e_.output().reserve(e_.input().size() + e_.input().size() / 8 + 65536);
    e_.output() += headerTemplate(target_, s.file.languageByte, 0);
}

void FullRewrite::end() {
    log_.close();
    duplicates_.close();
}

void FullRewrite::ReencodeCommand(CommandRecord& record, const UserRow& row,
                                  const Substitution& substitution, ByteWriter& out) {
    if (row.flag && substitution) {
        substitution(row, record, log_);
    }
    // The state names are the record's own bytes: the catalogue's `states` table folds case,
    // so one record's "INBOX" would come back spelled as another's "Inbox".
    writeCommand(record, target_, out);
}

void FullRewrite::AppendReencodedCommand(CommandRecord& record, const UserRow& row,
                                         const Substitution& substitution) {
    ByteWriter staging;
    ReencodeCommand(record, row, substitution, staging);
    e_.append(staging);
    ++commandsWritten_;
    writtenNames_.push_back(decodeCp1252(record.name));
}

void FullRewrite::carryOver(const CommandRecord& record) {
    if (target_ == e_.layout()) {
        e_.output().append(e_.input(), static_cast<std::size_t>(record.offset - 1),
                           static_cast<std::size_t>(record.end - record.offset));
    } else {
        ByteWriter staging;
        writeCommand(record, target_, staging);
        e_.append(staging);
    }
    ++commandsWritten_;
    writtenNames_.push_back(decodeCp1252(record.name));
}

void FullRewrite::ReencodeList(const ListRecord& record) {
    ByteWriter staging;
    writeList(record, staging);
    e_.append(staging);
    ++listsWritten_;
}

Outcome runFullRewrite(Session& s, const FullRewritePlan& plan) {
    Rewrite e(s);
    if (!e.load()) {
        return Outcome::Refused;
    }
    FullRewrite fr(e, plan.target.value_or(e.layout()));
    RowsByOffset rows = rowsByOffset(s.catalogue);
    fr.BeginFullRewrite();
    bool ok = rewriteCommands(fr, plan, rows);
    if (ok) {
        writeLongAt(e.output(), kCommandCountOffset, fr.commandsWritten());
        if (plan.rebuildLists) {
            ok = plan.rebuildLists(fr);
        } else {
            e.CopyRemainder(e.offsetLists());
        }
    }
    ok = ok && e.FinishRewrite(plan.traceWord);
    fr.end();
    return ok ? Outcome::Done : Outcome::Refused;
}

} // namespace plv::dat
