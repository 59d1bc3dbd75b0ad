#include "dragon/files_engine.h"

#include "platform/codepage.h"
#include "platform/environment.h"
#include "platform/files.h"
#include "platform/profile.h"

#include <sstream>

namespace plv::dragon {
namespace {

int number(const std::string& text) {
    try {
        return std::stoi(text);
    } catch (...) {
        return 0;
    }
}

} // namespace

FilesEngine::FilesEngine(DragonRoot root) : root_(std::move(root)) {}

// The text after `marker` on the last line of dragon.log that holds it.
std::string FilesEngine::logLine(const std::string& marker) const {
    auto log = files::readAll(files::join(dragonDataFolder(root_.userAppData()), "dragon.log"));
    std::string found;
    std::istringstream in(decodeCp1252(log.value_or("")));
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (auto at = line.find(marker); at != std::string::npos) {
            found = line.substr(at + marker.size());
        }
    }
    return found;
}

std::string FilesEngine::userSetting(const std::string& key) const {
    Profile nsuser(files::join(dragonDataFolder(root_.userAppData()), "nsuser.ini"));
    return nsuser.get("Settings", key).value_or("");
}

bool FilesEngine::registerAndSwitchOn(const std::string&) {
    return files::exists(files::join(dragonDataFolder(root_.commonAppData()), "nssystem.ini"));
}

std::uint32_t FilesEngine::productFlags() {
    return logLine("Edition: ").find("Professional") != std::string::npos ? kProfessionalFlag : 0;
}

EngineVersion FilesEngine::version() {
    // "Dragon NaturallySpeaking Version 11.50.100.200"
    std::istringstream parts(logLine("Version "));
    EngineVersion v;
    std::string part;
    for (int* field : {&v.major, &v.minor, &v.third}) {
        if (!std::getline(parts, part, '.')) {
            break;
        }
        *field = number(part);
    }
    return v;
}

std::string FilesEngine::directory() {
    return userSetting("User Base Directory");
}

std::string FilesEngine::ownerProcessPath(const std::string& windowTitle) {
    std::string program = root_.programFolder();
    if (windowTitle.empty() || program.empty()) {
        return {};
    }
    return files::join(program, executableFileName("natspeak"));
}

std::string FilesEngine::currentSpeaker() {
    return userSetting("Current User");
}

int FilesEngine::speakerLanguage(const std::string& speaker) {
    std::string options =
        files::join(files::join(files::join(directory(), speaker), "current"), "options.ini");
    return number(Profile(options).get("Options", "speakerlanguageID").value_or("0"));
}

void FilesEngine::showDialog(int, const std::string&) {
    // No dialog of Dragon's is opened from the terminal.
}

void FilesEngine::onSpeakerChanged(std::function<void(const std::string&)>) {
    // The terminal tool runs one command for the user who is current when it starts.
}

} // namespace plv::dragon
