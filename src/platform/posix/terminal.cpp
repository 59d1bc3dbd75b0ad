#include "platform/terminal.h"

#include <unistd.h>

namespace plv {

bool standardErrorIsTerminal() {
    return ::isatty(STDERR_FILENO) == 1;
}

void passStandardStreamsAsBytes() {
    // POSIX systems never translate line ends.
}

} // namespace plv
