#pragma once

#include "catalogue/catalogue.h"
#include "platform/trace.h"

#include <functional>
#include <string>

// Which Program and Scope the window opens on: the one named on the command line, or the
// one that matches the window that was in front when the program started.
namespace plv::browser {

struct Selection {
    std::string program;
    std::string scope;
};

// The command line without double quotes; "global commands" in any letter case becomes
// "Global Commands".
std::string cleanCommandLine(const std::string& argument);

// The Scope name a window title gives: the document part of "document - application" (the
// characters up to two before the first dash), the whole text without a dash, "Microsoft
// Visual Basic" for any title holding it; cut to 32 characters.
std::string scopeNameFromTitle(const std::string& text);

// Seeks the Scope name, then the part after the dash, then any Scope that occurs in the
// text, then the Program of the executable that owns the window (asked only then);
// "Global Commands" for both when nothing matches.
Selection selectFromTitle(const Catalogue& catalogue, Trace& trace, const std::string& text,
                          const std::function<std::string()>& ownerExecutablePath);

} // namespace plv::browser
