#include "export/writers.h"
#include "platform/codepage.h"

#include <ostream>

namespace plv::exports {
namespace {

// A double quote inside a value is written twice, so that every spreadsheet reads the value
// whole; values without one are written as they are.
std::string cell(std::string value) {
    replaceAll(value, "\"", "\"\"");
    return value;
}

} // namespace

void writeCsv(const std::vector<UserRow>& rows, std::ostream& out) {
    for (const auto& row : rows) {
        std::string firstLine = row.script.substr(0, row.script.find("\r\n"));
        out << '"' << cell(row.menu) << R"(",")" << cell(row.state) << R"(",")" << cell(row.type)
            << R"(",")" << cell(row.name) << R"(",")" << cell(row.owner) << R"(",")"
            << cell(row.description) << R"(",")" << cell(firstLine) << "\"\r\n";
    }
}

} // namespace plv::exports
