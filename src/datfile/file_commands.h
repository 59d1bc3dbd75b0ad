#pragma once

#include "datfile/reader.h"
#include "datfile/session.h"

#include <optional>
#include <string>
#include <utility>

namespace plv::dat {

// The outcome of a File menu command on the open command file.
struct OpenResult {
    // Kept: the file did not read; the file open before was read again and stays open.
    enum class Status { Opened, NotFound, ProgramEnds, Kept };
    Status status = Status::Opened;
    std::string caption;
    std::optional<std::string> fileUser; // set when the file is a Dragon user's own
    std::string program;                 // the selection to show
    std::string scope;
    // Kept: the damaged file whose readable records the user asked to have rescued.
    std::optional<std::string> rescue;
};

// Where the File Open dialog starts.
struct OpenDialogStart {
    std::string folder;
    std::string fileName;
    std::string defaultExtension = ".dat";
    std::string filter = "MyCommands files (.dat)|*.dat|All files (*.*)|*.*";
    std::string title = "Choose file to Open";
};
OpenDialogStart openDialogStart(const Session& session);

// The selection after a file was read in full: the Program and Scope of the first catalogue
// row, or "Global Commands" when the file holds no command.
std::pair<std::string, std::string> firstProgramAndScope(const Session& session);

// Open-file: forgets the catalogue and parses `path` (forced). A file that does not read
// while another is open is reported and the other file read again (Kept); with none open
// the program ends.
OpenResult openFile(Session& session, const std::string& path);
// What is wrong with a file the user chose that does not read, with the file it names; the
// one place that tells it. true when the user asks to rescue what a damaged file still holds.
bool reportUnreadableFile(Session& session, const std::string& path);
// The same for a file read only to compare or check it, whose image is `image`: a warning,
// and the program goes on.
void reportUnreadableContents(Session& session, const std::string& path, std::string_view image);
// File Reload: the current Dragon user's file is parsed again and becomes the open file; a
// file that does not parse ends the program as Open-file does.
OpenResult reloadCurrentUserFile(Session& session);
// The failure exit after a file that does not parse: messages and error.log.
void failureExit(Session& session, const std::string& path);

// "Parlavista - " + path (Dragon's folder prefix shown as "..") + " (" + version + ")".
std::string windowCaption(Session& session, const std::string& path);
// The File > Properties text.
std::string propertiesText(const Session& session);
// "Restore user '<u>' &mycmds.dat" and "Bac&kup user '<u>' mycmds.dat".
std::string restoreCaption(const std::string& user);
std::string backupCaption(const std::string& user);

} // namespace plv::dat
