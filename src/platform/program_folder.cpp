#include "platform/program_folder.h"

#include "platform/environment.h"
#include "platform/files.h"
#include "platform/system_folders.h"

#include <algorithm>
#include <filesystem>

namespace plv {

std::string resolveProgramFolder(const std::optional<std::string>& home) {
    if (home && !home->empty()) {
        return *home;
    }
    if (auto env = environmentVariable("PARLAVISTA_HOME"); env && !env->empty()) {
        return *env;
    }
    return defaultProgramFolder();
}

std::string seedFolder() {
    std::string installed =
        files::join(files::parentFolder(files::executableFolder()), "share/parlavista/seed");
    if (files::isDirectory(installed)) {
        return installed;
    }
#ifdef PARLAVISTA_SEED_DIR
    return PARLAVISTA_SEED_DIR;
#else
    return installed;
#endif
}

bool seedProgramFolder(const std::string& folder, const std::vector<std::string>& names) {
    if (!files::makeDirectories(folder)) {
        return false;
    }
    std::string seed = seedFolder();
    for (const auto& name : names) {
        std::string target = files::join(folder, name);
        std::string source = files::join(seed, name);
        if (!files::exists(target) && files::exists(source)) {
            files::copyFile(source, target);
        }
    }
    return true;
}

bool seedProgramFolderFrom(const std::string& folder, const std::string& seed,
                           const std::vector<std::string>& except) {
    namespace stdfs = std::filesystem;
    if (!files::makeDirectories(folder)) {
        return false;
    }
    std::error_code ec;
    for (const auto& entry : stdfs::directory_iterator(files::fsPath(seed), ec)) {
        std::string name = files::utf8(entry.path().filename());
        if (std::find(except.begin(), except.end(), name) != except.end()) {
            continue;
        }
        stdfs::path target = files::fsPath(files::join(folder, name));
        std::error_code copyError;
        if (!stdfs::exists(target, copyError)) {
            stdfs::copy(entry.path(), target, stdfs::copy_options::recursive, copyError);
        }
    }
    return true;
}

} // namespace plv
