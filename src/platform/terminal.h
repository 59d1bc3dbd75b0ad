#pragma once

namespace plv {

// Whether the process's standard error goes to a terminal (and not to a file or a pipe),
// where a line that rewrites itself can show progress.
bool standardErrorIsTerminal();

} // namespace plv
