#include "platform/terminal.h"

#include <unistd.h>

namespace plv {

bool standardErrorIsTerminal() {
    return ::isatty(STDERR_FILENO) == 1;
}

} // namespace plv
