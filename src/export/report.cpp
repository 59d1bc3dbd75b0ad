#include "export/writers.h"

#include <ostream>

namespace plv::exports {
namespace {

constexpr const char* kCrLf = "\r\n";

// The body's lines, whether the editor broke them with LF or CR LF.
std::vector<std::string> bodyLines(const std::string& body) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < body.size()) {
        std::size_t end = body.find('\n', start);
        std::string line = body.substr(start, end == std::string::npos ? end : end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }
    return lines;
}

} // namespace

void writeReport(const std::vector<UserRow>& rows, std::ostream& out) {
    const UserRow* previous = nullptr;
    for (const auto& row : rows) {
        if (!previous || row.menu != previous->menu || row.state != previous->state) {
            out << kCrLf << row.menu << " " << row.state << kCrLf << kCrLf;
        }
        out << row.name << kCrLf;
        previous = &row;
    }
}

void writeCurrentCommand(const std::string& program, const std::string& scope,
                         const std::string& name, const std::string& body, std::ostream& out) {
    out << "Program: " << program << kCrLf << "Scope: " << scope << kCrLf << "CommandName: " << name
        << kCrLf << kCrLf;
    for (const auto& line : bodyLines(body)) {
        out << line << kCrLf;
    }
}

} // namespace plv::exports
