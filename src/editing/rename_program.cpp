#include "editing/rename_program.h"

#include "datfile/rename_group.h"
#include "editing/name_checks.h"
#include "platform/codepage.h"

namespace plv::editing {

std::string programWithoutExe(const std::string& name) {
    if (name.size() >= 4 && equalsNoCase(name.substr(name.size() - 4), ".exe")) {
        return name.substr(0, name.size() - 4);
    }
    return name;
}

dat::Outcome renameProgram(Road& road, std::string& newProgram, ScopeChoice choice) {
    Session& s = road.session();
    if (newProgram == kNewProgramPlaceholder || programWithoutExe(newProgram).empty()) {
        s.ui.warning("No New Program entered", "Parlavista");
        return dat::Outcome::Refused;
    }
    if ((choice == ScopeChoice::Everything || choice == ScopeChoice::Group) &&
        road.isCurrentUserFile()) {
        s.ui.warning("Rename Program not allowed on production file with All or Group",
                     s.file.path);
        return dat::Outcome::Refused;
    }
    newProgram = programWithoutExe(newProgram);
    if (!checkFileText(s, newProgram)) {
        return dat::Outcome::Refused;
    }
    s.ui.status("Renaming Program");
    if (!road.automaticBackup()) {
        s.ui.status("");
        return dat::Outcome::Refused;
    }
    dat::Outcome done = dat::RenameProgram(s, newProgram);
    if (done != dat::Outcome::Done) {
        s.ui.status("");
        return done;
    }
    s.ui.message("Program Renamed", "Parlavista");
    return done;
}

} // namespace plv::editing
