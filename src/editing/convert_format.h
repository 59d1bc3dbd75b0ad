#pragma once

#include "datfile/convert_format.h"
#include "editing/road.h"

// Converting the open command file to an older (or newer) format version, with the checks and
// questions that come before the rewrite.
namespace plv::editing {

inline constexpr const char* kConvertingStatus = "Converting....";

// Refuses a file already in the target format, the current Dragon user's open 10/11 file
// and (for 6.0 and 6.1) a file that is not English; tells what the target cannot hold; asks
// the confirm question; then takes the daily backup and rewrites the file with the status
// text "Converting....". Done only when the file was rewritten.
dat::Outcome convertFormat(Road& road, const dat::FormatConversion& conversion);

} // namespace plv::editing
