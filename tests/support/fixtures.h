#pragma once

#include "catalogue/catalogue.h"
#include "datfile/reader.h"
#include "datfile/session.h"
#include "platform/interaction.h"
#include "platform/trace.h"

#include <memory>
#include <string>
#include <vector>

namespace plv::test {

// A fresh folder under the system temp folder, removed with everything in it.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const;
    std::string write(const std::string& name, const std::string& bytes) const;

  private:
    std::string path_;
};

// A program folder with keynames, a trace, a catalogue and a session over a scripted
// interaction: what a parse needs.
struct Harness {
    explicit Harness(const std::string& database = ":memory:");

    TempDir home;
    ScriptedInteraction ui;
    Trace trace;
    std::unique_ptr<Catalogue> catalogue;
    std::unique_ptr<Session> session;

    // Writes the bytes to a file in the program folder and parses it (forced).
    dat::ParseStatus parseBytes(const std::string& bytes, const std::string& name = "mycmds.dat");
    std::vector<UserRow> rows() const { return catalogue->allRows(); }
    std::string readHomeFile(const std::string& name) const;
};

// The rows a parse of these bytes makes; a parse that fails fails the test.
std::vector<UserRow> parsedRows(const std::string& bytes, const std::string& name = "mycmds.dat");

// Adds to the catalogue the copy of a file LIST that browsing `program` shows.
UserRow addListCopy(Catalogue& catalogue, UserRow list, const std::string& program);

// True when `part` occurs in `text`.
inline bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// A path written with '/' as this system writes it ('\\' on Windows).
std::string platformPath(const std::string& slashed);

// Today's local date as mmddyyyy, as backups are named.
std::string todayMMDDYYYY();

// A Dragon-exported command file that ships with the tests.
std::string samplePath(const std::string& name);
std::string readSample(const std::string& name);

} // namespace plv::test
