#include "platform/trace.h"

namespace plv {

void Trace::open(const std::string& folder, files::FileTime today) {
    close();
    path_ = files::join(folder, "trace.plv");
    auto mtime = files::lastModified(path_);
    bool continueToday = mtime && files::localDateMMDDYY(*mtime) == files::localDateMMDDYY(today);
    out_.open(files::fsPath(path_),
              std::ios::binary | (continueToday ? std::ios::app : std::ios::trunc));
}

void Trace::close() {
    if (out_.is_open()) {
        out_.close();
    }
}

void Trace::line(const std::string& label, const std::string& value1, const std::string& value2) {
    if (!out_.is_open()) {
        return;
    }
    std::string text = label;
    if (!value1.empty() || !value2.empty()) {
        text += " " + value1;
    }
    if (!value2.empty()) {
        text += " " + value2;
    }
    out_ << text << "\r\n";
    out_.flush();
}

std::string Trace::text() const {
    if (path_.empty()) {
        return {};
    }
    return files::readAll(path_).value_or(std::string());
}

} // namespace plv
