#pragma once

#include "platform/files.h"

#include <ctime>
#include <string>

// What the portable part of the platform layer asks of the system it runs on; each system's
// folder (posix/, windows/) implements it.
namespace plv::files::system {

// The local calendar time of a whole second since 1970.
std::tm localCalendar(std::time_t seconds);
// This process's number, to tell its temporary names from another's.
long processId();
// A suffix no other temporary name of this or another process has.
std::string uniqueSuffix();
// The system's temporary folder, as UTF-8.
std::string temporaryFolder();

} // namespace plv::files::system
