#include "cli/workspace.h"

#include "platform/program_folder.h"

#include <ostream>

namespace plv::cli {

std::unique_ptr<Workspace> Workspace::open(const Args& args, Io& io, const std::string& database) {
    std::unique_ptr<Workspace> w(new Workspace(io));
    w->home_ = resolveProgramFolder(args.value("home"));
    if (!seedProgramFolder(w->home_, {"keynames"})) {
        io.err << "Cannot create the program folder " << w->home_ << "\n";
        return nullptr;
    }
    w->trace_.open(w->home_);
    try {
        w->catalogue_ = std::make_unique<Catalogue>(database);
    } catch (const CatalogueError& e) {
        io.err << "Cannot open the catalogue " << database << ": " << e.what() << "\n";
        return nullptr;
    }
    w->session_ = std::make_unique<Session>(*w->catalogue_, w->ui_, w->trace_, w->home_);
    return w;
}

int Workspace::openCommandFile(const std::string& path) {
    auto result = dat::openFile(*session_, path);
    switch (result.status) {
    case dat::OpenResult::Status::Opened:
        return kOk;
    case dat::OpenResult::Status::NotFound:
        return kMissingFile;
    case dat::OpenResult::Status::ProgramEnds:
        return files::exists(path) && !session_->parseOk ? kParseFailed : kFailed;
    }
    return kFailed;
}

bool oneFileArgument(const Args& args, Io& io, const std::string& command, std::string& file) {
    if (args.positional.size() != 1) {
        io.err << "usage: parlavista-cli " << command << " FILE ... (see --help)\n";
        return false;
    }
    file = args.positional[0];
    return true;
}

} // namespace plv::cli
