#pragma once

#include "editing/road.h"

#include <string>
#include <vector>

namespace plv::editing {

// Delete in the Tools dialog: the commands marked with `flag` go, with the LISTs that only
// they used (their names into `droppedLists`). Status text "Deleting", the daily backup, one
// full rewrite, then "Deletion Completed"; the status text stays when the file was written.
dat::Outcome deleteMarked(Road& road, std::vector<std::string>* droppedLists = nullptr);

} // namespace plv::editing
