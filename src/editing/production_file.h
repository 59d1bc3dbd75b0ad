#pragma once

#include "datfile/session.h"

namespace plv::editing {

// Whether the open command file is the current Dragon user's own mycmds.dat, the file Dragon
// has loaded; asked afresh each time.
bool isOpenUserFile(Session& session);

} // namespace plv::editing
