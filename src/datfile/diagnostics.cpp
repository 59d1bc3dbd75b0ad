#include "datfile/diagnostics.h"

#include "platform/codepage.h"
#include "platform/files.h"

namespace plv::dat {
namespace {

constexpr const char* kCrLf = "\r\n";

std::string ansi(const std::string& utf8) {
    return encodeCp1252(utf8).bytes;
}

std::string fit(const std::string& bytes, std::size_t width) {
    std::string out = bytes.substr(0, width);
    out.resize(width, ' ');
    return out;
}

std::string trimBlanks(const std::string& s) {
    auto first = s.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

} // namespace

void DuplicateLog::open(const std::string& programFolder) {
    close();
    count_ = 0;
    out_.open(files::fsPath(files::join(programFolder, "duplicate.log")),
              std::ios::binary | std::ios::trunc);
}

void DuplicateLog::close() {
    if (out_.is_open()) {
        out_.close();
    }
}

void DuplicateLog::report(const UserRow& found, const UserRow& added) {
    if (!out_.is_open()) {
        return;
    }
    if (count_++ == 0) {
        out_ << "The following Command or LIST names are duplicate names" << kCrLf << kCrLf
             << "Already in:  Filename     MENU         STATE                            Type   "
                "Macroname"
             << kCrLf << kCrLf;
    }
    out_ << duplicateLine(found, added) << kCrLf;
    out_.flush();
}

std::string duplicateLine(const UserRow& found, const UserRow& added) {
    return fit(ansi(found.filename), 13) + fit(ansi(added.name), 13) + fit(ansi(added.menu), 16) +
           fit(ansi(added.state), 33) + ansi(found.type) + " " +
           trimBlanks(ansi(added.name).substr(0, 50));
}

std::string imageDump(std::string_view image, std::int64_t position) {
    if (position < 1 || static_cast<std::size_t>(position - 1) >= image.size()) {
        return {};
    }
    return std::string(image.substr(static_cast<std::size_t>(position - 1), 3000));
}

void writeErrorLog(const std::string& programFolder, const ParseFailureReport& r) {
    std::string path = files::join(programFolder, "error.log");
    files::remove(path);
    std::string previous;
    if (r.previous) {
        previous = ansi(r.previous->name) + ansi(r.previous->type) + ansi(r.previous->script);
    }
    std::string text = r.imageDump + kCrLf;
    text += std::string(40, '*') + kCrLf;
    text += "this bad command (or list) " + r.badName;
    if (!r.reason.empty()) {
        text += " (" + r.reason + ")";
    }
    text += kCrLf;
    text += std::string(33, '*') + kCrLf;
    text += "previous command (or list) " + previous + kCrLf;
    text += "offset " + std::to_string(r.cursor) + kCrLf;
    text += "which/commands,which/lists " + std::to_string(r.commandIndex) + "/" +
            std::to_string(r.commandCount) + " " + std::to_string(r.listIndex) + "/" +
            std::to_string(r.listCount) + kCrLf;
    text += " parmtime " + r.parameterTime + " filetime " + r.fileTime + kCrLf;
    files::writeAll(path, text);
}

void appendTraceToErrorLog(const std::string& programFolder, const std::string& traceText) {
    files::appendAll(files::join(programFolder, "error.log"),
                     std::string("NOW TRACE") + kCrLf + traceText);
}

} // namespace plv::dat
