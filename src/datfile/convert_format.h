#pragma once

#include "datfile/rewrite.h"

#include <array>
#include <string>
#include <vector>

// Conversion of a command file to another format version: a full rewrite in the target's
// record layout. Fields the target lacks are left out; fields it has and the file lacked are
// written as zeros (an empty state list), so a conversion up keeps every command too.
namespace plv::dat {

struct FormatConversion {
    const char* operation; // the operation name, also the trace word
    Layout target;
    bool englishOnly; // the format exists in English only
    const char* confirm;
    const char* already;
    const char* done;
};

inline constexpr std::array<FormatConversion, 4> kFormatConversions = {{
    {"convert260", Layout::V60, true, "Convert this file to 6.0 format?", "Already in 6.0 format",
     "File converted to 6.0 format"},
    {"convert261", Layout::V61, true, "Convert this file to 6.1 format?", "Already in 6.1 format",
     "File converted to 6.1 format"},
    {"convert270", Layout::V7, false, "Convert this file to 7.0 format?", "Already in 7.0 format",
     "File converted to 7.0 format"},
    {"convert280", Layout::V89, false, "Convert this file to 8.0 format?", "Already in 8/9 format",
     "File converted to 8.0 format"},
}};

// The conversion to a version name ("6.0", "6.1", "7.x", "8/9"), a format version string
// ("7.0", "8.0") or an operation name; null for anything else.
const FormatConversion* findFormatConversion(const std::string& target);

// Script bodies adapted to the target's command names: for 6.0 every "SendDragonKeys"
// becomes "SendKeys"; for 6.1 from a 6.0 file every "SendKeys" becomes "SendDragonKeys".
// Letter case is ignored. File bytes in and out.
std::string adaptScriptNames(const std::string& body, Layout target, Layout source);

// What the target cannot hold of the open file, one line each (empty when nothing is lost).
std::vector<std::string> conversionLosses(const Session& session, Layout target);

// Rewrites the open file in the target layout with every row flagged.
Outcome convertFormat(Session& session, const FormatConversion& conversion);

} // namespace plv::dat
