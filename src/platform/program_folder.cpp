#include "platform/program_folder.h"

#include "platform/files.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace plv {

std::string resolveProgramFolder(const std::optional<std::string>& home) {
    if (home && !home->empty()) {
        return *home;
    }
    if (const char* env = std::getenv("PARLAVISTA_HOME"); env && *env) {
        return env;
    }
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) {
        return files::join(xdg, "parlavista");
    }
    const char* user = std::getenv("HOME");
    return files::join(files::join(user ? user : ".", ".local/share"), "parlavista");
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
    for (const auto& entry : stdfs::directory_iterator(seed, ec)) {
        std::string name = entry.path().filename().string();
        if (std::find(except.begin(), except.end(), name) != except.end()) {
            continue;
        }
        stdfs::path target = stdfs::path(folder) / name;
        std::error_code copyError;
        if (!stdfs::exists(target, copyError)) {
            stdfs::copy(entry.path(), target, stdfs::copy_options::recursive, copyError);
        }
    }
    return true;
}

} // namespace plv
