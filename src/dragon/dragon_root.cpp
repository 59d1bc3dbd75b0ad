#include "dragon/dragon_root.h"

#include "platform/codepage.h"
#include "platform/environment.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "platform/system_folders.h"

namespace plv::dragon {

bool DragonRoot::systemFolders() const {
    return root.empty();
}

std::string DragonRoot::commonAppData() const {
    return systemFolders() ? commonAppDataFolder().value_or("") : files::join(root, "ProgramData");
}

std::string DragonRoot::userAppData() const {
    return systemFolders() ? userAppDataFolder().value_or("") : files::join(root, "AppData");
}

std::string DragonRoot::engineIni() const {
    return systemFolders() ? std::string() : files::join(root, "engine.ini");
}

std::string DragonRoot::programFolder() const {
    if (!systemFolders()) {
        return files::join(root, "Program");
    }
    std::string nssystem = files::join(dragonDataFolder(commonAppData()), "nssystem.ini");
    return Profile(nssystem).get("Settings", "Base Directory").value_or("");
}

std::optional<std::string> resolveDragonRoot(const std::optional<std::string>& option) {
    if (option && !option->empty()) {
        return option;
    }
    if (auto env = environmentVariable("PARLAVISTA_DRAGON_ROOT"); env && !env->empty()) {
        return env;
    }
    if (commonAppDataFolder() && userAppDataFolder()) {
        return std::string();
    }
    return std::nullopt;
}

std::string dragonDataFolder(const std::string& appData) {
    return files::join(files::join(appData, "Nuance"), std::string("NaturallySpeaking") + "11");
}

std::string commonFolderFromUserFolder(const std::string& userAppData) {
    std::string folded = foldCase(userAppData);
    std::size_t profiles = folded.find(foldCase("Profiles"));
    if (profiles != std::string::npos) {
        std::size_t cut = profiles + std::string("Profiles").size() + 1;
        std::size_t appData = folded.find(foldCase("Application Data"));
        std::string rest =
            appData == std::string::npos ? std::string() : userAppData.substr(appData);
        return userAppData.substr(0, std::min(cut, userAppData.size())) + "All Users\\" + rest;
    }
    std::size_t application = folded.find(foldCase("\\application"));
    if (application == std::string::npos) {
        return userAppData;
    }
    return userAppData.substr(0, application) + "\\all users" + userAppData.substr(application);
}

std::string executableBaseName(const std::string& path) {
    std::size_t slash = path.find_last_of("/\\");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    std::size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

std::string mergeProgramName() {
    return executableFileName("mergemycmds");
}

} // namespace plv::dragon
