#pragma once

#include "catalogue/user_row.h"

#include <cstdint>
#include <fstream>
#include <optional>
#include <string>

namespace plv::dat {

// "duplicate.log": the commands and LISTs whose Program, Scope and name were already
// catalogued. Emptied at the start of every full parse; the header comes with the first line.
class DuplicateLog {
  public:
    void open(const std::string& programFolder);
    void close();
    void report(const UserRow& found, const UserRow& added);
    int count() const { return count_; }

  private:
    std::ofstream out_;
    int count_ = 0;
};

// Builds one fixed-width line of duplicate.log (UTF-8 in, Windows-1252 out).
std::string duplicateLine(const UserRow& found, const UserRow& added);

// What error.log records when a name check or a bounds check fails.
struct ParseFailureReport {
    std::string imageDump; // up to 3000 file bytes from the previous row's offset
    std::string badName;   // raw bytes of the rejected name (or what was read of it)
    std::string reason;    // why the record was rejected
    std::optional<UserRow> previous;
    std::int64_t cursor = 0;
    std::int64_t commandIndex = 0;
    std::int64_t commandCount = 0;
    std::int64_t listIndex = 0;
    std::int64_t listCount = 0;
    std::string parameterTime;
    std::string fileTime;
};

// Replaces error.log in the program folder with the report.
void writeErrorLog(const std::string& programFolder, const ParseFailureReport& report);
// Appends "NOW TRACE" and the trace text to error.log.
void appendTraceToErrorLog(const std::string& programFolder, const std::string& traceText);
// Up to 3000 bytes of the image from 1-based `position`; empty for a position outside it.
std::string imageDump(std::string_view image, std::int64_t position);

} // namespace plv::dat
