// The commands that back up the current Dragon user's command file and roll it back: backup
// and restore.
#include "cli/workspace.h"
#include "editing/backup.h"
#include "editing/restore.h"

#include <algorithm>
#include <cctype>
#include <ostream>

namespace plv::cli {
namespace {

bool noArguments(const Args& args, Io& io, const std::string& usage) {
    if (!args.positional.empty()) {
        io.err << "usage: parlavista-cli " << usage << "\n";
        return false;
    }
    return true;
}

int runBackup(const Args& args, Io& io) {
    if (!noArguments(args, io, "backup [--dragon-root DIR] [--home DIR]")) {
        return kUsage;
    }
    int status = kOk;
    auto w = WriteSession::openCurrentUser(args, io, status);
    if (!w) {
        return status;
    }
    auto taken = editing::explicitBackup(w->road());
    if (!taken) {
        return kFailed;
    }
    io.out << "backup: " << w->session().file.path << " -> " << taken->path << "\n";
    return kOk;
}

int listBackups(WriteSession& w, Io& io) {
    Session& s = w.session();
    std::string folder = editing::backupFolder(s.programFolder, editing::restoreUser(w.road()));
    auto entries = editing::restoreEntries(folder);
    if (entries.empty()) {
        io.out << editing::kNoneToRollBack << "\n";
    }
    for (const auto& entry : entries) {
        io.out << entry << "\n";
    }
    return kOk;
}

int restoreDate(WriteSession& w, Io& io, const std::string& date) {
    std::string entry = "mycmds." + date;
    editing::Road& road = w.road();
    if (int status = exitStatus(editing::restoreBackup(road, entry)); status != kOk) {
        return status;
    }
    int status = w.afterWrite(editing::handOverRestored(road));
    if (status != kOk && status != kNotTakenOver) {
        return status;
    }
    Session& s = w.session();
    io.out << "restore: " << s.file.path << " from " << entry << " (the replaced file is "
           << editing::kPreRollbackName << "), " << s.catalogue.countCommands() << " commands, "
           << s.file.listCount << " LISTs\n";
    return status;
}

int runRestore(const Args& args, Io& io) {
    const char* usage = "restore [--dragon-root DIR] [--home DIR] [--list | --date MMDDYYYY]";
    auto date = args.value("date");
    if (!noArguments(args, io, usage) || (date && args.flag("list"))) {
        return kUsage;
    }
    if (date && (date->size() != 8 || !std::all_of(date->begin(), date->end(), [](unsigned char c) {
                     return std::isdigit(c);
                 }))) {
        io.err << "parlavista-cli restore: --date is MMDDYYYY, eight digits\n";
        return kUsage;
    }
    int status = kOk;
    auto w = WriteSession::openCurrentUser(args, io, status);
    if (!w) {
        return status;
    }
    return date ? restoreDate(*w, io, *date) : listBackups(*w, io);
}

const bool registered = [] {
    registerCommand({"backup",
                     "backup [--dragon-root DIR] [--home DIR]",
                     "back up the current Dragon user's mycmds.dat",
                     "Copies the current Dragon user's mycmds.dat to today's backup\n"
                     "PROGRAM/<user>/mycmds.mmddyyyy in the program folder, replacing one taken\n"
                     "earlier today. The Dragon root is --dragon-root DIR, else\n"
                     "$PARLAVISTA_DRAGON_ROOT. Backups are never deleted.\n",
                     {"dragon-root", "home"},
                     {},
                     runBackup});
    registerCommand({"restore",
                     "restore [--dragon-root DIR] [--home DIR] [--list | --date MMDDYYYY]",
                     "list the backups of this month, or restore one",
                     "--list (the default) prints the backups of the current month, newest "
                     "first, as\nthe window's Restore menu offers them. --date MMDDYYYY copies "
                     "that day's backup\nover the current Dragon user's mycmds.dat, keeping the "
                     "replaced file as\nmycmds.prerollback, reads it and lets Dragon take it "
                     "over. A backup that does not\nread is refused (exit 3), every file "
                     "left as it was.\n",
                     {"dragon-root", "home", "date"},
                     {"list"},
                     runRestore});
    return true;
}();

} // namespace
} // namespace plv::cli
