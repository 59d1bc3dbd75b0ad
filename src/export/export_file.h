#pragma once

#include "catalogue/catalogue.h"
#include "platform/interaction.h"

#include <optional>
#include <string>
#include <vector>

// The four text exports of marked rows, and the files they go to. Files are 8-bit
// Windows-1252 text with CR LF line ends, as the programs that read them expect.
namespace plv::exports {

// Xml is Dragon's XML command file, which only a file receives (export_xml.h).
enum class Format { Report, Csv, Dvc, Pseudo, Xml };

inline constexpr const char* kNoDvcCommands = "There are no DVC commands in this Scope or View";
inline constexpr const char* kNoDvcCommandsTitle = "Sorry";
inline constexpr const char* kFileExists = "File already exists.  Overwrite?";
inline constexpr const char* kCommandFileTarget =
    "This is a Dragon command file: an export or a printout does not take its place";

// The operation code and file extension: "txt", "csv", "dvc", "pseudo", "xml"; the codes
// of the text formats only are read back.
std::string formatCode(Format format);
std::optional<Format> formatFromCode(const std::string& code);

// The rows as text in the format (UTF-8, CR LF); nothing when a DVC listing has no KEYS,
// SCRIPT or LIST row, and for Xml.
std::optional<std::string> exportText(Format format, const std::vector<UserRow>& rows);

// The marked rows as text; every mark is cleared afterwards.
std::optional<std::string> exportMarked(Catalogue& catalogue, Format format);

// The text as file bytes; false after a message when the code page cannot hold a character.
bool toExportBytes(UserInteraction& ui, const std::string& text, const std::string& path,
                   std::string& bytes);
// Writes the text to the file by files::replaceFile; false after a message when it cannot
// (a command file or a read-only file among them).
bool writeExportFile(UserInteraction& ui, const std::string& path, const std::string& text);
// The same for bytes already in the file's encoding.
bool writeExportBytes(UserInteraction& ui, const std::string& path, const std::string& bytes);
// Whether the file may be written: false after a message when it is a command file or
// read-only, and when it exists and the user does not want it overwritten.
bool mayReplace(UserInteraction& ui, const std::string& path);

} // namespace plv::exports
