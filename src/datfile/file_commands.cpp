#include "datfile/file_commands.h"

#include "datfile/diagnostics.h"
#include "platform/codepage.h"
#include "platform/environment.h"

#include <tuple>

namespace plv::dat {
std::pair<std::string, std::string> firstProgramAndScope(const Session& s) {
    if (!s.catalogue.hasCommands()) {
        return {kGlobalCommands, kGlobalCommands};
    }
    auto first = s.catalogue.prepare(
        R"(SELECT "menu", "state" FROM "user" ORDER BY "menu", "state", "name" LIMIT 1)");
    if (first.step()) {
        return {first.text(0), first.text(1)};
    }
    return {kGlobalCommands, kGlobalCommands};
}

OpenDialogStart openDialogStart(const Session& s) {
    OpenDialogStart start;
    auto last = s.catalogue.parameter("openfile");
    if (!last) {
        // The top of the user's own files stands in for the first drive.
        start.folder = homeFolder();
        start.fileName = "mycmds.dat";
    } else {
        start.folder = files::parentFolder(*last);
        start.fileName = files::fileName(*last);
    }
    return start;
}

namespace {

// The file chosen did not read: it is reported, and the file open before is read again, so
// that the catalogue and the window show it as they did.
OpenResult keepFileOpenBefore(Session& s, const std::string& path, const std::string& before,
                              const std::optional<std::string>& lastOpened) {
    appendTraceToErrorLog(s.programFolder, s.trace.text());
    bool rescue = reportUnreadableFile(s, path);
    if (lastOpened) {
        s.catalogue.setParameter("openfile", *lastOpened);
    }
    OpenResult result;
    if (parse(s, true, before) != ParseStatus::Parsed || !s.parseOk) {
        failureExit(s, before);
        result.status = OpenResult::Status::ProgramEnds;
        return result;
    }
    result.status = OpenResult::Status::Kept;
    if (rescue) {
        result.rescue = path;
    }
    result.caption = windowCaption(s, before);
    if (s.dragon) {
        result.fileUser = s.dragon->userOfCommandFile(before);
    }
    return result;
}

} // namespace

OpenResult openFile(Session& s, const std::string& path) {
    OpenResult result;
    if (!files::exists(path)) {
        s.ui.warning("File does not exist", path);
        result.status = OpenResult::Status::NotFound;
        return result;
    }
    // A file that read in full is what stays open when the new one does not read.
    std::string before = s.parseOk ? s.file.path : std::string();
    std::optional<std::string> lastOpened = s.catalogue.parameter("openfile");
    if (lastOpened != path) {
        s.catalogue.setParameter("openfile", path);
    }
    s.catalogue.deleteAllRows();
    ParseStatus status = parse(s, true, path);
    if (status == ParseStatus::ProgramEnds) {
        result.status = OpenResult::Status::ProgramEnds;
        return result;
    }
    if (!s.parseOk && !before.empty()) {
        return keepFileOpenBefore(s, path, before, lastOpened);
    }
    if (!s.parseOk) {
        failureExit(s, path);
        result.status = OpenResult::Status::ProgramEnds;
        return result;
    }
    result.caption = windowCaption(s, path);
    if (s.dragon) {
        result.fileUser = s.dragon->userOfCommandFile(path);
    }
    std::tie(result.program, result.scope) = firstProgramAndScope(s);
    return result;
}

namespace {

struct Unreadable {
    std::string text; // the file's name and what is wrong with it
    bool damaged;     // a command file that does not read to its end
};

Unreadable describeUnreadable(Session& s, const std::string& path, std::string_view image) {
    bool damaged = headerLayout(image).has_value();
    std::string what = damaged ? "The above file has a problem - parsing error.\nWhat was read "
                                 "is described in " +
                                     s.programFile("error.log") + "."
                               : std::string("This is not a Dragon command file.");
    return {files::fileName(path) + "\n\n" + what, damaged};
}

} // namespace

bool reportUnreadableFile(Session& s, const std::string& path) {
    Unreadable u = describeUnreadable(s, path, files::readAll(path).value_or(""));
    std::string text = u.text + "\n\nThe file that was open before stays open.";
    if (!u.damaged) {
        s.ui.warning(text, path);
        return false;
    }
    // A damaged command file: what still reads can be copied out of it.
    return s.ui.choice(text, path, {"OK", "&Rescue what can be read..."}, 0) == 1;
}

void reportUnreadableContents(Session& s, const std::string& path, std::string_view image) {
    s.ui.warning(describeUnreadable(s, path, image).text, path);
}

OpenResult reloadCurrentUserFile(Session& s) {
    OpenResult result;
    if (parse(s, true, "") == ParseStatus::ProgramEnds) {
        result.status = OpenResult::Status::ProgramEnds;
        return result;
    }
    // The rows read before the damage are not the file: showing them would pass a part for
    // the whole.
    if (!s.parseOk) {
        failureExit(s, s.file.path);
        result.status = OpenResult::Status::ProgramEnds;
        return result;
    }
    result.caption = windowCaption(s, s.file.path);
    if (s.dragon) {
        result.fileUser = s.dragon->userOfCommandFile(s.file.path);
    }
    return result;
}

void failureExit(Session& s, const std::string& path) {
    s.ui.warning("The above file has a problem - parsing error", path);
    appendTraceToErrorLog(s.programFolder, s.trace.text());
    s.ui.warning("Please send file 'error.log' to Brinmoor\nbefore running Parlavista again",
                 "Now exiting");
}

std::string windowCaption(Session& s, const std::string& path) {
    std::string shown = path;
    std::string prefix = s.dragon ? s.dragon->directoryPrefix() : std::string();
    if (!prefix.empty() && shown.size() >= prefix.size() &&
        equalsNoCase(shown.substr(0, prefix.size()), prefix)) {
        shown = ".." + shown.substr(prefix.size());
    }
    return "Parlavista - " + shown + " (" + s.file.versionName + ")";
}

std::string propertiesText(const Session& s) {
    const FileInfo& f = s.file;
    return "Filename:\n" + f.path + "\n\n" + "Version:           " + f.versionName + "\n" +
           "Language:       " + f.languageName + "\n" +
           "Last Modified: " + files::formatLocalTime(f.modified) + "\n" +
           "Size:                " + std::to_string(f.size) + "\n" +
           "#Commands:  " + std::to_string(s.catalogue.countCommands()) + "\n" +
           "#Lists:            " + std::to_string(s.catalogue.countFileLists());
}

std::string restoreCaption(const std::string& user) {
    return "Restore user '" + user + "' &mycmds.dat";
}

std::string backupCaption(const std::string& user) {
    return "Bac&kup user '" + user + "' mycmds.dat";
}

} // namespace plv::dat
