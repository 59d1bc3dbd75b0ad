#pragma once

#include "datfile/diagnostics.h"
#include "datfile/keynames.h"
#include "datfile/record.h"
#include "datfile/session.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A command file's contents as plain values, read straight from its bytes without a
// catalogue: what a comparison of two files works on.
namespace plv::dat {

// A command with the texts a parse would catalogue (UTF-8).
struct CommandContents {
    std::string program;
    std::string scope;
    std::string name;
    std::string type; // the type letter
    std::string description;
    std::string group; // "User-defined" for none
    std::vector<std::string> states;
    std::string body;              // the body text, as the preview shows it
    std::vector<BodyToken> tokens; // the body as it stands in the file
    std::int64_t offset = 0;
    bool encrypted = false; // protected: its body is not its text
};

struct ListContents {
    std::string name;
    std::vector<std::string> items;
    std::int64_t offset = 0;
};

struct FileContents {
    std::string versionName;
    int languageByte = 0;
    std::string languageName;
    std::vector<CommandContents> commands; // in file order; records with the skip bit left out
    std::vector<CommandContents> skipped;  // the records with the skip bit, in file order
    std::vector<ListContents> lists;
};

// Reads the whole image. Nothing, with `failure` filled as error.log reports it, when the
// image does not read as a command file to its last LIST.
std::optional<FileContents> readContents(std::string_view image, const KeyNames& keys,
                                         ParseFailureReport& failure);

// The command file at `path`, read as above. A file that does not exist or does not read
// is reported as a warning naming it (a damaged one also in error.log in the program
// folder); then nothing.
std::optional<FileContents> readContentsOf(Session& session, const std::string& path);

} // namespace plv::dat
