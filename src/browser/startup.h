#pragma once

#include "catalogue/catalogue.h"
#include "datfile/session.h"
#include "dragon/environment.h"
#include "dragon/files_engine.h"
#include "dragon/stand_in.h"
#include "platform/instance_lock.h"
#include "platform/interaction.h"
#include "platform/profile.h"
#include "platform/trace.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

// The program's start-up and shut-down without the window: single instance, the program
// folder and its seed, the trace, the catalogue, Dragon's engine and environment, the parse
// of the current user's command file, the settings and the initial selection.
namespace plv::browser {

struct StartupOptions {
    std::optional<std::string> home;       // the program folder (--home), else the default
    std::optional<std::string> dragonRoot; // --dragon-root, else $PARLAVISTA_DRAGON_ROOT
    std::string argument;                  // the command line
    // The title of the window in front when the program was started; when not given, what
    // the Dragon stand-in reports.
    std::optional<std::string> foregroundTitle;
    std::string seedFolder;      // empty: the installed seed
    std::string operatingSystem; // empty: this system's family
};

// The normal (restored) window rectangle and whether the window was maximised.
struct WindowPlacement {
    int left = 50;
    int top = 50;
    int right = 576;
    int bottom = 634;
    bool maximized = false;
};

struct Fonts {
    std::string listFont = "MS Sans Serif"; // the command list and the LIST list
    int size = 10;                          // all four lists and the body editor
    std::string fixedFont = "Courier New";  // the recently-used lists and the body editor
};

enum class StartupStatus {
    Started,
    AlreadyRunning, // "Parlavista is already running" has been shown
    Exit,           // a start-up step failed; its message has been shown
};

struct StartupResult {
    StartupStatus status = StartupStatus::Exit;
    bool started() const { return status == StartupStatus::Started; }

    std::string caption;
    std::string program = kGlobalCommands; // the initial selection
    std::string scope = kGlobalCommands;
    std::string group = "All groups";
    bool parsed = false; // this start rebuilt the catalogue from the file
    std::string user;    // the current Dragon user
    std::string restoreCaption;
    std::string backupCaption;
    std::optional<std::string> fileUser; // the user whose command file is open, if any
    std::string foregroundTitle;
    std::string mergeProgram; // Dragon's program folder + the merge program
    std::string tempFolder;
    Fonts fonts;
    WindowPlacement placement;
    int slider = 5;
    bool numberMenus = true;
};

enum class ImportOffer {
    StartCommands, // "global parla vista" and "local parla vista"
    MacroSet,      // Program "Parlavista", Groups PLVControl and PLVMacros
};

struct StartupHooks {
    // Where the window builds its voice menus: after "after plvdns", before "after voice
    // commands".
    std::function<void()> buildVoiceMenus;
    // The offer dialog: true when the user wants the commands imported. Without it the
    // offer is a Yes/No question. A No is remembered: the offer is not made again.
    std::function<bool(ImportOffer)> offerImport;
    // False when nobody is there to answer the offers (a screenshot): none is made.
    bool makeOffers = true;
};

class Startup {
  public:
    Startup(StartupOptions options, UserInteraction& ui);
    // With these controls in place of the stand-ins of the Dragon root.
    Startup(StartupOptions options, UserInteraction& ui, dragon::Controls controls);
    ~Startup();
    Startup(const Startup&) = delete;
    Startup& operator=(const Startup&) = delete;

    // Process start and main window load. Anything but Started means the program ends.
    StartupResult run(const StartupHooks& hooks = {});
    // The window unloads: compacts a grown catalogue, stores the window placement, closes
    // the catalogue and the trace. Only after a started run; later calls do nothing.
    void shutDown(const WindowPlacement& placement);
    // The import a first start offers, asked for again (Help menu): asks, imports into the
    // current user's command file and parses it. True when the catalogue was rebuilt.
    bool importOffered(ImportOffer kind);

    // What the window works with after a started run.
    const std::string& programFolder() const { return programFolder_; }
    Session& session() { return *session_; }
    Catalogue& catalogue() { return *catalogue_; }
    Settings& settings() { return *settings_; }
    Trace& trace() { return trace_; }
    dragon::DragonEnvironment& environment() { return *environment_; }
    dragon::Controls& controls() { return controls_; }
    // The stand-ins, when this start made them from the Dragon root.
    dragon::StandInDragon* standIns() { return standIns_.get(); }
    bool loaded() const { return loaded_; }

  private:
    StartupStatus takeInstanceLock();
    bool prepareProgramFolder();
    bool openCatalogue();
    bool connectEngine();
    bool discoverDragon();
    void findDragonProgram(StartupResult& result);
    bool parseCurrentUserFile(StartupResult& result);
    void readSettings(StartupResult& result);
    bool selectInitially(StartupResult& result);
    void offerImports(const StartupHooks& hooks);
    bool offer(ImportOffer kind, const StartupHooks& hooks);
    bool imported(ImportOffer kind) const;
    bool importNow(ImportOffer kind);
    bool importCommands(const std::string& seedFile);

    StartupOptions options_;
    UserInteraction& ui_;
    std::string programFolder_;
    std::unique_ptr<InstanceLock> lock_;
    std::optional<Settings> settings_;
    Trace trace_;
    std::optional<Catalogue> catalogue_;
    std::unique_ptr<Session> session_;
    std::unique_ptr<dragon::StandInDragon> standIns_;
    std::unique_ptr<dragon::FilesEngine> filesEngine_;
    dragon::Controls controls_;
    std::optional<dragon::DragonRoot> root_;
    std::unique_ptr<dragon::DragonEnvironment> environment_;
    bool loaded_ = false;
};

// File > Properties: parses the open file again first when the catalogue holds no
// commands (then true: the window must refresh), and shows the file's facts.
bool showFileProperties(Session& session);

} // namespace plv::browser
