#pragma once

#include "editing/road.h"
#include "platform/waits.h"
#include "support/edited_file.h"

namespace plv::test {

// A command file outside Dragon, parsed, with the editing road over it.
struct RoadFile : EditedFile {
    SleepingWaits waits;
    editing::Road road{*h.session, waits};
    std::size_t marked() const { return h.catalogue->flaggedRows().size(); }
};

} // namespace plv::test
