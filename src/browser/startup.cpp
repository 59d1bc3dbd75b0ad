#include "browser/startup.h"

#include "browser/startup_selection.h"
#include "datfile/file_commands.h"
#include "datfile/reader.h"
#include "datfile/rewrite.h"
#include "dragon/merge_commands.h"
#include "dragon/seed_files.h"
#include "editing/maintenance.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "platform/program_folder.h"

#include <map>

namespace plv::browser {
namespace {

constexpr const char* kTitle = "Parlavista";
constexpr const char* kDatabase = "global.mdb";
constexpr const char* kSettingsFile = "Parlavista.INI";
constexpr const char* kLockFile = "Parlavista.lock";

const char* const kDragonWindows[] = {"DgnBarMainWindowCls", "Dragon NaturallySpeaking",
                                      "DragonBar"};

// The keys of Parlavista.INI with their defaults, read (and so written) at every start.
const std::pair<const char*, const char*> kSettingDefaults[] = {
    {"maximized", "0"},
    {"form top", "50"},
    {"form left", "50"},
    {"form right", "576"},
    {"form bottom", "634"},
    {"swap user", "ParlavistaSwapUser"},
    {"save user", "Ask"},
    {"no convert keys help", "0"},
    {"dont show auto import", "False"},
    {"dont show auto import reg", "False"},
    {"dont show reopen user", "False"},
    {"dont show faster reopen user", "False"},
    {"dont show roam save user", "False"},
    {"slider", "5"},
    {"number menus", "True"},
    {"font", "MS Sans Serif"},
    {"fontsize", "10"},
    {"fixedfont", "Courier New"},
};

std::string parseFailureText(const std::string& programFolder) {
    return "I'm sorry.  Parlavista cannot correctly parse this file.\n"
           "Please send your file above to Brinmoor. Please send at least:\n\n" +
           files::join(programFolder, "error.log and trace.plv");
}

std::string notProfessionalText() {
    return std::string("Parlavista only supported with Professional Series ") +
           "versions of NaturallySpeaking (Pro,Medical,Legal,Public Safety)\n" +
           "If you have reached this message in error, please\n" +
           "send your dragon.log file to Brinmoor";
}

bool isTrue(const std::string& value) {
    return equalsNoCase(value, "True") || value == "-1" || value == "1";
}

int number(const std::string& value, int fallback) {
    try {
        return std::stoi(value);
    } catch (...) {
        return fallback;
    }
}

} // namespace

Startup::Startup(StartupOptions options, UserInteraction& ui)
    : options_(std::move(options)), ui_(ui) {
    if (auto root = dragon::resolveDragonRoot(options_.dragonRoot)) {
        root_ = dragon::DragonRoot{*root};
        standIns_ = std::make_unique<dragon::StandInDragon>(*root_);
        controls_ = standIns_->controls();
        if (root_->systemFolders()) {
            // Beside an installed Dragon, its own files answer for the engine.
            filesEngine_ = std::make_unique<dragon::FilesEngine>(*root_);
            controls_.engine = filesEngine_.get();
        }
    }
}

Startup::Startup(StartupOptions options, UserInteraction& ui, dragon::Controls controls)
    : options_(std::move(options)), ui_(ui), controls_(controls) {
    if (auto root = dragon::resolveDragonRoot(options_.dragonRoot)) {
        root_ = dragon::DragonRoot{*root};
    }
}

Startup::~Startup() {
    session_.reset();
    catalogue_.reset();
    trace_.close();
}

StartupResult Startup::run(const StartupHooks& hooks) {
    StartupResult result;
    programFolder_ = resolveProgramFolder(options_.home);
    if (StartupStatus status = takeInstanceLock(); status != StartupStatus::Started) {
        result.status = status;
        return result;
    }
    // Before anything of the program's own can come to the front.
    result.foregroundTitle = options_.foregroundTitle.value_or(
        standIns_ ? standIns_->engine().foregroundWindowTitle() : std::string());
    if (!prepareProgramFolder() || !openCatalogue() || !connectEngine() || !discoverDragon()) {
        return result;
    }
    session_->file.formatVersion = "10.0";
    if (controls_.mic) {
        controls_.mic->show();
    }
    if (hooks.buildVoiceMenus) {
        hooks.buildVoiceMenus();
    }
    trace_.line("after voice commands");
    findDragonProgram(result);
    if (!parseCurrentUserFile(result)) {
        return result;
    }
    readSettings(result);
    if (!selectInitially(result)) {
        return result;
    }
    // The imports go into the current user's file, so they are offered only on it.
    if (hooks.makeOffers && environment_->isCurrentUserFile(session_->file.path)) {
        offerImports(hooks);
    }
    result.tempFolder = files::tempFolder();
    trace_.line("form load 2 done");
    loaded_ = true;
    result.status = StartupStatus::Started;
    return result;
}

StartupStatus Startup::takeInstanceLock() {
    if (!files::makeDirectories(programFolder_)) {
        ui_.warning("Cannot create the program folder " + programFolder_, kTitle);
        return StartupStatus::Exit;
    }
    std::string lockFile = files::join(programFolder_, kLockFile);
    bool heldElsewhere = false;
    lock_ = InstanceLock::acquire(lockFile, &heldElsewhere);
    if (!lock_ && heldElsewhere) {
        ui_.warning("Parlavista is already running", kTitle);
        return StartupStatus::AlreadyRunning;
    }
    if (!lock_) {
        // A folder we may not write to is not another running program.
        ui_.warning("Cannot write to the program folder: " + lockFile, kTitle);
        return StartupStatus::Exit;
    }
    return StartupStatus::Started;
}

// The first start copies the whole seed in, with an empty catalogue; later starts only
// restore seed files that have gone, never the catalogue (its loss must be seen).
bool Startup::prepareProgramFolder() {
    std::string seed = options_.seedFolder.empty() ? seedFolder() : options_.seedFolder;
    std::string database = files::join(programFolder_, kDatabase);
    bool firstStart = !files::exists(files::join(programFolder_, kSettingsFile));
    if (firstStart) {
        seedProgramFolderFrom(programFolder_, seed);
        if (!files::exists(database)) {
            try {
                Catalogue empty(database);
            } catch (const CatalogueError&) {
                // Reported below as the missing catalogue.
            }
        }
    } else {
        seedProgramFolderFrom(programFolder_, seed, {kDatabase});
    }
    settings_.emplace(programFolder_);
    if (!files::exists(database)) {
        ui_.warning("Required Parlavista file global.mdb missing--reinstall", database);
        return false;
    }
    trace_.open(programFolder_);
    trace_.line(files::formatLocalTime(files::now()), PARLAVISTA_VERSION);
    return true;
}

bool Startup::openCatalogue() {
    std::string database = files::join(programFolder_, kDatabase);
    try {
        catalogue_.emplace(database);
    } catch (const CatalogueError& e) {
        ui_.warning("Cannot open the catalogue " + database + ":\n" + e.what(), kTitle);
        return false;
    }
    for (const char* label : {"after open db", "after open user", "after open parameters",
                              "after open dvcmap", "after open states"}) {
        trace_.line(label);
    }
    session_ = std::make_unique<Session>(*catalogue_, ui_, trace_, programFolder_);
    return true;
}

bool Startup::connectEngine() {
    if (!controls_.engine) {
        ui_.warning("Cannot find Dragon NaturallySpeaking: give its root folder with "
                    "--dragon-root DIR or in PARLAVISTA_DRAGON_ROOT",
                    "Unable to continue");
        return false;
    }
    if (!controls_.engine->registerAndSwitchOn(kTitle)) {
        ui_.warning("Dragon NaturallySpeaking's engine does not answer" +
                        (root_ ? " (" + root_->engineIni() + ")" : std::string()),
                    "Unable to continue");
        return false;
    }
    trace_.line("after register");
    if ((controls_.engine->productFlags() & dragon::kProfessionalFlag) == 0) {
        ui_.warning(notProfessionalText(), kTitle);
        return false;
    }
    return true;
}

bool Startup::discoverDragon() {
    dragon::DragonEnvironment::Folders folders;
    if (root_) {
        folders = dragon::DragonEnvironment::foldersOf(*root_);
    }
    environment_ =
        std::make_unique<dragon::DragonEnvironment>(folders, *controls_.engine, ui_, trace_);
    if (!options_.operatingSystem.empty()) {
        environment_->setOperatingSystem(options_.operatingSystem);
    }
    environment_->setdatabasename(kDatabase);
    if (!environment_->ProductionOpen(*catalogue_, programFolder_)) {
        return false;
    }
    session_->dragon = environment_.get();
    trace_.line("after plvdns");
    return true;
}

void Startup::findDragonProgram(StartupResult& result) {
    std::string owner;
    for (const char* window : kDragonWindows) {
        owner = controls_.engine->ownerProcessPath(window);
        if (!owner.empty()) {
            break;
        }
    }
    if (owner.empty()) {
        return;
    }
    std::string folder = files::parentFolder(owner);
    result.mergeProgram = files::join(folder, dragon::mergeProgramName());
    environment_->setInstallPath(folder);
}

bool Startup::parseCurrentUserFile(StartupResult& result) {
    dat::ParseStatus status = dat::parse(*session_, false, "");
    if (status == dat::ParseStatus::ProgramEnds) {
        return false;
    }
    if (status == dat::ParseStatus::Failed) {
        ui_.warning(parseFailureText(programFolder_), session_->file.path);
        return false;
    }
    result.parsed = status == dat::ParseStatus::Parsed;
    dat::removeLeftoverTemporary(session_->file.path);
    result.caption = dat::windowCaption(*session_, session_->file.path);
    result.user = environment_->properties().UserName;
    result.restoreCaption = dat::restoreCaption(result.user);
    result.backupCaption = dat::backupCaption(result.user);
    return true;
}

void Startup::readSettings(StartupResult& result) {
    trace_.line("before getoptions");
    std::map<std::string, std::string> values;
    for (const auto& [key, fallback] : kSettingDefaults) {
        values[key] = settings_->read(key, fallback);
    }
    // The recently-used count lives in the section of the open file.
    settings_->read("mrucount", "0", session_->file.path);
    trace_.line("after getoptions");
    result.fonts.listFont = values["font"];
    result.fonts.size = number(values["fontsize"], 10);
    result.fonts.fixedFont = values["fixedfont"];
    result.slider = number(values["slider"], 5);
    result.numberMenus = isTrue(values["number menus"]);
    result.placement.top = number(values["form top"], 50);
    result.placement.left = number(values["form left"], 50);
    result.placement.right = number(values["form right"], 576);
    result.placement.bottom = number(values["form bottom"], 634);
    result.placement.maximized = number(values["maximized"], 0) == 1;
    trace_.line("after window placement");
}

bool Startup::selectInitially(StartupResult& result) {
    trace_.line("before form 2 load");
    std::string text = cleanCommandLine(options_.argument);
    trace_.line("command line:", text);
    if (!text.empty() && files::exists(text) && !files::isDirectory(text)) {
        auto opened = dat::openFile(*session_, text);
        if (opened.status != dat::OpenResult::Status::Opened) {
            return false;
        }
        result.caption = opened.caption;
        result.fileUser = opened.fileUser;
        if (opened.fileUser) {
            result.restoreCaption = dat::restoreCaption(*opened.fileUser);
            result.backupCaption = dat::backupCaption(*opened.fileUser);
        }
        result.parsed = true;
        result.program = opened.program;
        result.scope = opened.scope;
        return true;
    }
    if (text.empty()) {
        text = result.foregroundTitle;
    }
    std::string foreground = result.foregroundTitle;
    Selection chosen = selectFromTitle(
        *catalogue_, trace_, text, [&] { return controls_.engine->ownerProcessPath(foreground); });
    result.program = chosen.program;
    result.scope = chosen.scope;
    return true;
}

namespace {

const char* offerSetting(ImportOffer kind) {
    return kind == ImportOffer::StartCommands ? "dont show auto import"
                                              : "dont show auto import reg";
}

} // namespace

void Startup::offerImports(const StartupHooks& hooks) {
    for (ImportOffer kind : {ImportOffer::StartCommands, ImportOffer::MacroSet}) {
        if (imported(kind) || isTrue(settings_->read(offerSetting(kind), "False"))) {
            continue;
        }
        if (!offer(kind, hooks)) {
            // The user has answered; the Help menu still offers the import.
            settings_->write(offerSetting(kind), "-1");
        } else {
            importNow(kind);
        }
    }
}

bool Startup::importOffered(ImportOffer kind) {
    if (!environment_->isCurrentUserFile(session_->file.path)) {
        ui_.warning("The commands go into the current Dragon user's command file. Open it first "
                    "with File, Reload current user mycmds.dat.",
                    kTitle);
        return false;
    }
    if (imported(kind)) {
        ui_.warning("These commands are already in your command file.", kTitle);
        return false;
    }
    return offer(kind, {}) && importNow(kind);
}

bool Startup::imported(ImportOffer kind) const {
    if (kind == ImportOffer::MacroSet) {
        return catalogue_->findCommand("Parlavista", kApplicationSpecific, "file open").has_value();
    }
    auto start = catalogue_->findCommand(kGlobalCommands, kGlobalCommands, "global parla vista");
    return start && containsNoCase(start->script, "Parlavista.exe");
}

bool Startup::importNow(ImportOffer kind) {
    bool start = kind == ImportOffer::StartCommands;
    if (!importCommands(start ? dragon::kStartCommandsFile : dragon::kMacroSetFile)) {
        return false;
    }
    if (start) {
        ui_.message("Commands imported successfully. You may now use the commands above to "
                    "bring up Parlavista",
                    "'global parla vista' and 'local parla vista'");
    } else {
        ui_.message("Commands imported successfully. Use Program, Parlavista to examine your "
                    "new macros",
                    "You may also use the Group menu (PLVControl and PLVMacros)");
    }
    settings_->write(offerSetting(kind), "-1");
    return true;
}

bool Startup::offer(ImportOffer kind, const StartupHooks& hooks) {
    if (hooks.offerImport) {
        return hooks.offerImport(kind);
    }
    if (kind == ImportOffer::StartCommands) {
        return ui_.yesNo("Import the voice commands 'global parla vista' and 'local parla "
                         "vista', which bring up Parlavista, into your Dragon commands?",
                         "Import start commands");
    }
    return ui_.yesNo("Import Parlavista's own voice commands (Groups PLVControl and PLVMacros) "
                     "into your Dragon commands?",
                     "Import Parlavista macros");
}

// Dragon's merge adds the seed file's commands to the user's file; the parse that follows
// is also the check that the result is sound.
bool Startup::importCommands(const std::string& seedFile) {
    std::string commandFile = session_->file.path;
    auto merged = dragon::mergeCommandFile(commandFile, files::join(programFolder_, seedFile));
    bool ok = merged.status == dragon::MergeResult::Status::Merged &&
              dat::parse(*session_, true, commandFile) == dat::ParseStatus::Parsed;
    if (!ok) {
        ui_.warning("Sorry, I could not import these commands after all", "Please inform Brinmoor");
    }
    return ok;
}

void Startup::shutDown(const WindowPlacement& placement) {
    if (!loaded_) {
        return;
    }
    loaded_ = false;
    try {
        editing::compactCatalogue(catalogue_, trace_, false);
    } catch (const CatalogueError&) {
        // A database that cannot be opened again is reported at the next start.
    }
    settings_->write("form top", std::to_string(placement.top));
    settings_->write("form left", std::to_string(placement.left));
    settings_->write("form right", std::to_string(placement.right));
    settings_->write("form bottom", std::to_string(placement.bottom));
    settings_->write("maximized", placement.maximized ? "1" : "0");
    session_.reset();
    catalogue_.reset();
    trace_.close();
    lock_.reset();
}

bool showFileProperties(Session& session) {
    bool reparsed = false;
    if (!session.catalogue.hasCommands()) {
        dat::parse(session, true, session.file.path);
        reparsed = true;
    }
    session.ui.message(dat::propertiesText(session), session.file.path);
    return reparsed;
}

} // namespace plv::browser
