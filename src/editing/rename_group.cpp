#include "editing/rename_group.h"

#include "datfile/rename_group.h"
#include "editing/name_checks.h"
#include "platform/codepage.h"

namespace plv::editing {

dat::Outcome renameGroup(Road& road, const std::string& oldGroup, const std::string& newGroup) {
    Session& s = road.session();
    if (newGroup == kNewGroupPlaceholder || newGroup.empty()) {
        s.ui.warning("No New Group Name entered", "Parlavista");
        return dat::Outcome::Refused;
    }
    if (!equalsNoCase(newGroup, kUserDefined) && !checkFileText(s, newGroup)) {
        return dat::Outcome::Refused;
    }
    s.ui.status("Renaming Group");
    if (!road.automaticBackup()) {
        s.ui.status("");
        return dat::Outcome::Refused;
    }
    dat::Outcome done = dat::RenameGroup(s, oldGroup, newGroup);
    if (done != dat::Outcome::Done) {
        s.ui.status("");
        return done;
    }
    s.ui.message("Group renamed", oldGroup + "->" + newGroup);
    return done;
}

} // namespace plv::editing
