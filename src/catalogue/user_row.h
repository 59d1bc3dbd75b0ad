#pragma once

#include <cstdint>
#include <string>

namespace plv {

inline constexpr const char* kGlobalCommands = "Global Commands";
inline constexpr const char* kApplicationSpecific = "Application-specific";
inline constexpr const char* kUserDefined = "User-defined";

// One row of table `user`: a command or LIST as catalogued. Text is UTF-8.
struct UserRow {
    std::int64_t id = 0;
    std::string filename;
    std::string menu;  // Program
    std::string state; // Scope
    std::string name;
    std::string type; // type letter
    std::string script;
    std::string scope; // "G", "A" or "W"
    std::string owner; // Group
    std::int64_t lists = 0;
    std::int64_t offset = 0;
    std::int64_t offsetbody = 0;
    std::string description;
    std::string states;
    std::int64_t graphicsize = 0;
    bool global = false;
    bool noglobals = false;
    bool sleeping = false;
    bool singleline = false;
    std::string globalsort;
    std::string listsort;
    std::string pathcode;
    bool dupe = false;
    std::int64_t pdescript = 0;
    std::int64_t companyName = 0;
    std::int64_t className = 0;
    bool encrypted = false;
    bool flag = false;
    bool listcopy = false;

    bool isList() const { return type == "L"; }
    // A LIST row under a Program other than "Global Commands" is a catalogue-only copy.
    bool isFileList() const { return type == "L" && menu == kGlobalCommands; }
};

// True for the names Dragon uses for the global Program and Scope.
bool isGlobalName(const std::string& text);

// The name of a type letter as captions and exports show it: "KEYS", "Text & Graphics",
// ...; empty for an unknown letter.
std::string typeDisplayName(const std::string& code);

} // namespace plv
