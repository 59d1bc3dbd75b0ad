#pragma once

#include "datfile/rewrite.h"

#include <string>
#include <vector>

namespace plv::dat {

struct BodyChange {
    UserRow row;
    std::string text; // UTF-8
};

// Many bodies replaced in one rewrite: the file that the same Update1Body calls one after
// another would leave, written once. The commands' scripts take the new texts (a LIST's
// items are read again by the refresh) and the stored positions of the rows behind each
// change move by its size change.
Outcome UpdateBodies(Session& session, const std::vector<BodyChange>& changes,
                     const std::string& traceWord);

} // namespace plv::dat
