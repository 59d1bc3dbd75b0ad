#include "cli/workspace.h"

#include "dragon/dragon_root.h"
#include "platform/program_folder.h"

#include <ostream>

namespace plv::cli {

std::unique_ptr<DragonUsers> dragonUsers(const Args& args) {
    auto root = dragon::resolveDragonRoot(args.value("dragon-root"));
    if (!root) {
        return nullptr;
    }
    auto users = std::make_unique<DragonUsers>(*root);
    return users->read() ? std::move(users) : nullptr;
}

std::string currentUserCommandFile(DragonUsers* users) {
    return users ? users->environment().currentUserCommandFile() : std::string();
}

namespace {

// Whether FILE is the current user's mycmds.dat of the Dragon root the options or the
// environment give; false without one.
bool isCurrentUsersFile(const Args& args, const std::string& file) {
    auto users = dragonUsers(args);
    return users && files::sameFile(currentUserCommandFile(users.get()), file);
}

} // namespace

Workspace::~Workspace() = default;

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
    w->dragon_ = dragonUsers(args);
    if (w->dragon_) {
        w->session_->dragon = &w->dragon_->environment();
    }
    return w;
}

int Workspace::openCommandFile(const std::string& path) {
    auto result = dat::openFile(*session_, path);
    switch (result.status) {
    case dat::OpenResult::Status::Opened:
        return kOk;
    case dat::OpenResult::Status::NotFound:
        return kMissingFile;
    case dat::OpenResult::Status::Kept:
        return kParseFailed;
    case dat::OpenResult::Status::ProgramEnds:
        return files::exists(path) && !session_->parseOk ? kParseFailed : kFailed;
    }
    return kFailed;
}

std::unique_ptr<WriteSession> WriteSession::open(const Args& args, Io& io,
                                                 const std::string& command, int& status) {
    if (args.flag("current-user")) {
        if (!args.positional.empty()) {
            io.err << "usage: parlavista-cli " << command
                   << " FILE|--current-user ... (see --help)\n";
            status = kUsage;
            return nullptr;
        }
        return openCurrentUser(args, io, status);
    }
    std::unique_ptr<WriteSession> w(new WriteSession(io));
    std::string file;
    if (!oneFileArgument(args, io, command, file)) {
        status = kUsage;
        return nullptr;
    }
    // Dragon's live file is never written behind its back.
    if (isCurrentUsersFile(args, file)) {
        return openCurrentUser(args, io, status);
    }
    w->file_ = Workspace::open(args, io, ":memory:");
    if (!w->file_) {
        status = kFailed;
        return nullptr;
    }
    status = w->file_->openCommandFile(file);
    if (status != kOk) {
        return nullptr;
    }
    editing::DragonSide dragon;
    dragon.controls.voice = &w->scriptCheck_;
    w->road_ = std::make_unique<editing::Road>(w->file_->session(), w->waits_, dragon);
    return w;
}

std::unique_ptr<WriteSession> WriteSession::openCurrentUser(const Args& args, Io& io, int& status) {
    std::unique_ptr<WriteSession> w(new WriteSession(io));
    if (!w->startCurrentUser(args)) {
        status = kFailed;
        return nullptr;
    }
    status = kOk;
    return w;
}

bool WriteSession::startCurrentUser(const Args& args) {
    browser::StartupOptions options;
    options.home = args.value("home");
    options.dragonRoot = args.value("dragon-root");
    startup_ = std::make_unique<browser::Startup>(options, ui_);
    browser::StartupHooks hooks;
    // Nobody is there to take up the offers to import the program's own commands.
    hooks.offerImport = [](browser::ImportOffer) { return false; };
    started_ = startup_->run(hooks);
    if (!started_.started()) {
        return false;
    }
    editing::DragonSide dragon{startup_->controls(), &startup_->environment(),
                               started_.mergeProgram};
    road_ =
        std::make_unique<editing::Road>(startup_->session(), waits_, dragon, &startup_->settings());
    return true;
}

WriteSession::~WriteSession() {
    road_.reset();
    if (startup_) {
        startup_->shutDown(started_.placement);
    }
}

Session& WriteSession::session() {
    return road_->session();
}

int WriteSession::write(const std::function<dat::Outcome()>& write, bool newList,
                        const bool* nothingWritten) {
    editing::Road& road = *road_;
    Session& s = road.session();
    if (road.fileChanged()) {
        s.ui.message("The command file has changed since it was read. It has been read again; "
                     "run the command again.",
                     s.file.path);
        return road.reread() == dat::Outcome::ProgramEnds ? kParseFailed : kFailed;
    }
    if (int status = exitStatus(write()); status != kOk) {
        return status;
    }
    if (nothingWritten && *nothingWritten) {
        return kOk;
    }
    return afterWrite(road.postWrite(newList));
}

int WriteSession::afterWrite(dat::Outcome postWrite) {
    if (postWrite != dat::Outcome::Done) {
        return kParseFailed;
    }
    if (!road_->dragonNotUpdated()) {
        return kOk;
    }
    console().message("The command file was written, but Dragon has not taken the change over: "
                      "it reads the file when the user is opened again",
                      session().file.path);
    return kNotTakenOver;
}

int exitStatus(dat::Outcome outcome) {
    switch (outcome) {
    case dat::Outcome::Done:
        return kOk;
    case dat::Outcome::Refused:
        return kFailed;
    case dat::Outcome::ProgramEnds:
        break;
    }
    return kParseFailed;
}

std::set<std::string> withWriteTargetOptions(std::set<std::string> valueOptions) {
    valueOptions.insert({"home", "dragon-root"});
    return valueOptions;
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
