#include "dragon/environment.h"

#include "platform/codepage.h"
#include "platform/environment.h"
#include "platform/files.h"
#include "platform/profile.h"

#include <array>
#include <cctype>
#include <sstream>

namespace plv::dragon {
namespace {

constexpr const char* kSettings = "settings";
constexpr const char* kOptions = "options";

std::string iniValue(const std::string& path, const std::string& section, const std::string& key) {
    return Profile(path).get(section, key).value_or(std::string());
}

std::string withoutTrailingSeparator(std::string path) {
    while (path.size() > 1 && (path.back() == '/' || path.back() == '\\')) {
        path.pop_back();
    }
    return path;
}

bool isOn(const std::string& value) {
    return value == "1" || value == "-1" || equalsNoCase(value, "true");
}

std::optional<int> digits(const std::string& text) {
    if (text.empty()) {
        return std::nullopt;
    }
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) {
            return std::nullopt;
        }
    }
    return std::stoi(text);
}

// The text after the first of the markers that the line holds.
std::optional<std::string> after(const std::string& line,
                                 std::initializer_list<const char*> markers) {
    for (const char* marker : markers) {
        std::size_t at = line.find(marker);
        if (at != std::string::npos) {
            return line.substr(at + std::string(marker).size());
        }
    }
    return std::nullopt;
}

} // namespace

bool isSupportedOperatingSystem(const std::string& family) {
    static const std::array<const char*, 8> known = {"Win2K",     "WinXP", "Win.NET", "Vista",
                                                     "Windows 7", "Win9x", "WinNT",   "Linux"};
    for (const char* k : known) {
        if (family == k) {
            return true;
        }
    }
    return false;
}

std::string operatingSystemFamily() {
    return systemFamily();
}

DragonEnvironment::Folders DragonEnvironment::foldersOf(const DragonRoot& root) {
    return {root.commonAppData(), root.userAppData()};
}

DragonEnvironment::DragonEnvironment(Folders folders, EngineControl& engine, UserInteraction& ui,
                                     Trace& trace)
    : folders_(std::move(folders)), engine_(engine), ui_(ui), trace_(trace),
      os_(operatingSystemFamily()) {
    if (folders_.commonAppData.empty()) {
        folders_.commonAppData = commonFolderFromUserFolder(folders_.userAppData);
    }
}

bool DragonEnvironment::fail() {
    failed_ = true;
    return false;
}

bool DragonEnvironment::ProductionOpen(Catalogue& catalogue, const std::string& programFolder) {
    failed_ = false;
    std::string database = files::join(programFolder, p_.DataBaseName);
    if (!files::exists(database)) {
        ui_.warning("Required file " + database + " missing--reinstall", database);
        return fail();
    }
    catalogue_ = &catalogue;
    EngineVersion v = engine_.version();
    if (v.major != 11) {
        ui_.warning("Parlavista can only work with version 11 of NaturallySpeaking", "Sorry");
        return fail();
    }
    p_.MajorVersion = v.major;
    p_.MinorVersion = (v.minor + 5) / 10;
    if (!GetPaths()) {
        return fail();
    }
    if (!files::exists(p_.SystemFilename)) {
        ui_.warning("Cannot find required file", p_.SystemFilename);
        return fail();
    }
    readVersionFromLog();
    return initialize() || fail();
}

void DragonEnvironment::computePaths() {
    std::string common = dragonDataFolder(folders_.commonAppData);
    std::string user = dragonDataFolder(folders_.userAppData);
    p_.SystemFilename = files::join(common, "nssystem.ini");
    p_.logfilename = files::join(user, "dragon.log");
    p_.userSettingsFile = files::join(user, "nsuser.ini");
    p_.BasePath = folders_.commonAppData;
    p_.applicationpath = common;
}

void DragonEnvironment::traceFile(const std::string& label, const std::string& path) {
    trace_.line(label, path, files::exists(path) ? "Exists" : "does not exist");
}

bool DragonEnvironment::GetPaths() {
    trace_.line("before OS");
    p_.operatingSystem = os_;
    if (!isSupportedOperatingSystem(os_)) {
        ui_.warning("Unable to determine your Operating System", "Unable to continue");
        ui_.warning("Please send the file 'trace.plv' to Brinmoor", "This may assist him");
        return false;
    }
    if (p_.MinorVersion != 0 && p_.MinorVersion != 1 && p_.MinorVersion != 5 &&
        p_.MinorVersion != 9) {
        ui_.warning("Unknown NaturallySpeaking version", "Unable to continue");
        return false;
    }
    computePaths();
    trace_.line("OS: ", os_);
    traceFile("systemfilename: ", p_.SystemFilename);
    traceFile("logfilename: ", p_.logfilename);
    traceFile("currentuserfilename: ", p_.userSettingsFile);
    std::string language =
        iniValue(p_.SystemFilename, kSettings, "supported languages").substr(0, 3);
    trace_.line("dvcpath: ",
                iniValue(p_.SystemFilename, kSettings, language + " base dvc directory"));
    for (const auto* path : {&p_.SystemFilename, &p_.logfilename, &p_.userSettingsFile}) {
        if (!files::exists(*path)) {
            ui_.warning("Expected file not found:\n" + *path,
                        "Report this to Brinmoor, send 'trace.plv'");
        }
    }
    return true;
}

void DragonEnvironment::readVersionFromLog() {
    p_.version = "*.*";
    p_.edition = "xxx";
    auto log = files::readAll(p_.logfilename);
    if (!log) {
        return;
    }
    std::istringstream in(decodeCp1252(*log));
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (auto v = after(line, {"Dragon NaturallySpeaking Version ", "Dragon Medical Version ",
                                  "Dragon Legal Version "})) {
            p_.version = *v;
        }
        if (auto e = after(line, {"Edition: "})) {
            p_.edition = *e;
        }
    }
    // A log without a version line keeps the engine's own numbers.
    auto major = digits(p_.version.substr(0, 2));
    auto minor = p_.version.size() >= 4 ? digits(p_.version.substr(3, 1)) : std::nullopt;
    if (major && minor) {
        p_.MajorVersion = *major;
        p_.MinorVersion = *minor;
    }
}

bool DragonEnvironment::initialize() {
    if (catalogue_) {
        readUser(*catalogue_);
        readLanguage(*catalogue_);
    } else {
        p_.UserName = iniValue(p_.userSettingsFile, kSettings, "Current User");
        p_.language = iniValue(p_.SystemFilename, kSettings, "supported languages").substr(0, 3);
    }
    readFolders();
    readRoaming();
    if (p_.UserName.empty()) {
        ui_.warning("No User detected, cannot continue", "Have you trained any Users?");
        return false;
    }
    return true;
}

// A user other than the one the catalogue was built for makes the next parse a full one.
void DragonEnvironment::readUser(Catalogue& catalogue) {
    p_.UserName = iniValue(p_.userSettingsFile, kSettings, "Current User");
    p_.UserSub = p_.UserName;
    if (catalogue.parameter("UserName").value_or(std::string()) == p_.UserName) {
        return;
    }
    trace_.line("User: ", p_.UserName);
    catalogue.setParameter("UserName", p_.UserName);
    catalogue.setParameter("UserSub", p_.UserSub);
    catalogue.setParameter("dvcmaptime", std::nullopt);
    catalogue.setParameter("mycmdstime", std::nullopt);
    catalogue.prepare(R"(DELETE FROM "user")").run();
    catalogue.prepare(R"(DELETE FROM "dvcmap")").run();
}

void DragonEnvironment::readLanguage(Catalogue& catalogue) {
    p_.language = iniValue(p_.SystemFilename, kSettings, "supported languages").substr(0, 3);
    if (catalogue.parameter("language").value_or(std::string()) != p_.language) {
        catalogue.setParameter("language", p_.language);
    }
}

void DragonEnvironment::readFolders() {
    std::string dvc = iniValue(p_.SystemFilename, kSettings, p_.language + " base dvc directory");
    p_.GeneralPath = files::join(dvc, "general");
    p_.wordpath = files::join(dvc, "nlcwrd97");
    p_.BaseDirectory = iniValue(p_.SystemFilename, kSettings, "base directory");
    p_.UserBaseDirectory =
        withoutTrailingSeparator(iniValue(p_.userSettingsFile, kSettings, "user base directory"));
    if (p_.UserBaseDirectory.empty()) {
        p_.UserBaseDirectory = files::join(p_.applicationpath, "users");
    }
    trace_.line("user base directory: ", p_.UserBaseDirectory);
    p_.CurrentPath = files::join(files::join(p_.UserBaseDirectory, p_.UserName), "current");
    p_.SpeakerLanguageID =
        iniValue(files::join(p_.CurrentPath, "options.ini"), kOptions, "speakerlanguageID");
    if (p_.SpeakerLanguageID.empty()) {
        p_.SpeakerLanguageID = "0";
    }
    trace_.line("speaker language ID: ", p_.SpeakerLanguageID);
}

void DragonEnvironment::readRoaming() {
    p_.RoamingOn = isOn(iniValue(p_.SystemFilename, kSettings, "roaming user on"));
    p_.RoamingDirectory = iniValue(p_.SystemFilename, kSettings, "roaming user master directory");
    p_.RoamingCacheDirectory =
        iniValue(p_.SystemFilename, kSettings, "roaming user local cache directory");
    if (p_.RoamingDirectory.empty() && !p_.RoamingCacheDirectory.empty()) {
        p_.RoamingDirectory =
            files::join(files::parentFolder(p_.RoamingCacheDirectory), "roamingusers");
    }
    bool openedNoMaster = false;
    if (!p_.RoamingCacheDirectory.empty()) {
        std::string local =
            files::join(files::join(files::join(p_.RoamingCacheDirectory, p_.UserName), "current"),
                        "local.ini");
        openedNoMaster = iniValue(local, kOptions, "Roaming User Opened No Master") == "1";
    }
    p_.IsRoamingUser = openedNoMaster || iniValue(p_.userSettingsFile, kSettings,
                                                  "Roaming User Current User Is Roaming") == "1";
    trace_.line("roaming user mastery directory", p_.RoamingDirectory);
    trace_.line("roaming local cache directory", p_.RoamingCacheDirectory);
    trace_.line("current user is roaming", p_.IsRoamingUser ? "true" : "false");
}

bool DragonEnvironment::isCurrentUserFile(const std::string& path) {
    p_.UserName = iniValue(p_.userSettingsFile, kSettings, "Current User");
    p_.CurrentPath = files::join(files::join(p_.UserBaseDirectory, p_.UserName), "current");
    // Opened as a relative path or through a linked folder, it is still Dragon's file.
    return files::samePath(files::resolvedPath(files::join(p_.CurrentPath, "mycmds.dat")),
                           files::resolvedPath(path));
}

void DragonEnvironment::setInstallPath(const std::string& path) {
    p_.InstallPath = path;
    if (catalogue_) {
        catalogue_->setParameter("InstallPath", path);
    }
}

std::string DragonEnvironment::currentUserCommandFile() {
    return files::join(p_.CurrentPath, "mycmds.dat");
}

std::string DragonEnvironment::directoryPrefix() {
    return engine_.directory();
}

std::optional<std::string> DragonEnvironment::userOfCommandFile(const std::string& path) {
    std::string current = files::parentFolder(path);
    std::string userFolder = files::parentFolder(current);
    if (!files::samePath(files::fileName(path), "mycmds.dat") ||
        !files::samePath(files::fileName(current), "current") ||
        !files::samePath(files::parentFolder(userFolder), p_.UserBaseDirectory)) {
        return std::nullopt;
    }
    std::string user = files::fileName(userFolder);
    if (user.empty()) {
        return std::nullopt;
    }
    return user;
}

} // namespace plv::dragon
