#include "editing/delete_commands.h"

#include "datfile/record_ops.h"

namespace plv::editing {

dat::Outcome deleteMarked(Road& road, std::vector<std::string>* droppedLists) {
    Session& s = road.session();
    s.ui.status("Deleting");
    if (!road.automaticBackup()) {
        s.ui.status("");
        return dat::Outcome::Refused;
    }
    dat::Outcome done = dat::deletethem(s, droppedLists);
    if (done != dat::Outcome::Done) {
        s.ui.status("");
        return done;
    }
    s.ui.message("Deletion Completed", "Parlavista");
    return done;
}

} // namespace plv::editing
