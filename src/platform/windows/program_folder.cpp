#include "platform/program_folder.h"

#include "platform/environment.h"
#include "platform/files.h"
#include "platform/system_folders.h"

namespace plv {

std::string resolveProgramFolder(const std::optional<std::string>& home) {
    if (home && !home->empty()) {
        return *home;
    }
    if (auto env = environmentVariable("PARLAVISTA_HOME"); env && !env->empty()) {
        return *env;
    }
    return files::join(userAppDataFolder().value_or("."), "Parlavista");
}

} // namespace plv
