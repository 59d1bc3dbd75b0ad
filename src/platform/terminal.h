#pragma once

namespace plv {

// Whether the process's standard error goes to a terminal (and not to a file or a pipe),
// where a line that rewrites itself can show progress.
bool standardErrorIsTerminal();

// Standard output and error pass bytes through unchanged: text the program writes with CR LF
// (an export) must not become CR CR LF where the C library would translate line ends.
void passStandardStreamsAsBytes();

} // namespace plv
