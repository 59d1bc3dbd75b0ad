// salvage: the records of a damaged command file that still read, written to a new file.
#include "cli/cli.h"
#include "editing/rescue.h"

#include <ostream>

namespace plv::cli {
namespace {

// What was lost is told with status 1, as lint tells of warnings.
constexpr int kSomethingLost = 1;

int runSalvage(const Args& args, Io& io) {
    if (args.positional.size() != 2) {
        io.err << "usage: parlavista-cli salvage BAD OUT [--overwrite]\n";
        return kUsage;
    }
    ConsoleInteraction ui(io.err);
    auto existing =
        args.flag("overwrite") ? editing::ExistingCopy::Replace : editing::ExistingCopy::Refuse;
    auto rescued = editing::rescueFile(ui, args.positional[0], args.positional[1], existing);
    if (!rescued) {
        return kFailed;
    }
    io.out << dat::salvageText(*rescued);
    return rescued->lost.empty() ? kOk : kSomethingLost;
}

const bool registered = registerCommand(
    {"salvage",
     "salvage BAD OUT [--overwrite]",
     "write the records of a damaged command file that still read to a new file",
     "Reads command file BAD record by record and writes every command and LIST that reads\n"
     "whole to the new command file OUT. After a damaged record the reading starts again\n"
     "at the next place where whole records read. Prints what was kept, and each lost\n"
     "stretch with its byte positions and what could still be read there (a name, a\n"
     "Program). BAD itself is never written.\n\n"
     "  --overwrite   replace OUT when it exists (it is refused otherwise)\n\n"
     "Exit status: 0 the whole file read, 1 OUT written but something was lost, 3 nothing\n"
     "written (BAD does not exist or is no command file, OUT exists or cannot be\n"
     "written); 64 a usage error.",
     {},
     {"overwrite"},
     runSalvage});

} // namespace
} // namespace plv::cli
