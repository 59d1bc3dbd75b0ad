#pragma once

#include "catalogue/catalogue.h"
#include "datfile/format.h"
#include "dragon/user_files.h"
#include "platform/files.h"
#include "platform/interaction.h"
#include "platform/trace.h"

#include <cstdint>
#include <functional>
#include <string>

namespace plv {

// What the last parse learned of its file.
struct FileInfo {
    std::string path;
    std::string versionName = "10/11";
    std::string formatVersion = "10.0";
    std::string languageName;
    int languageByte = 9;
    files::FileTime modified = 0;
    std::uint64_t size = 0;
    std::int64_t commandCount = 0; // command records in the header
    std::int64_t skippedCount = 0; // of those, with the skip bit
    std::int64_t listCount = 0;
    dat::Layout layout = dat::Layout::V1011;
};

// The objects that every operation on a command file works with. One per program run.
struct Session {
    Session(Catalogue& catalogue, UserInteraction& ui, Trace& trace, std::string programFolder)
        : catalogue(catalogue), ui(ui), trace(trace), programFolder(std::move(programFolder)) {}

    Catalogue& catalogue;
    UserInteraction& ui;
    Trace& trace;
    std::string programFolder;
    dragon::UserFiles* dragon = nullptr;

    // Sees every new command file before it replaces the old one; tests damage it here to
    // show that the verification restores "savedat".
    std::function<void(std::string& newFile)> beforeReplace;

    // Set while the later writes of one operation run: "savedat" keeps the file from before
    // the first, the version a failed write restores.
    bool keepSavedat = false;

    FileInfo file; // the open command file
    bool parseOk = true;
    int refusedRows = 0; // rows the database refused in this program run

    std::string programFile(const std::string& name) const {
        return files::join(programFolder, name);
    }
};

} // namespace plv
