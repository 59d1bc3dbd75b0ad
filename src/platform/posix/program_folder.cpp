#include "platform/program_folder.h"

#include "platform/environment.h"
#include "platform/files.h"

namespace plv {

std::string resolveProgramFolder(const std::optional<std::string>& home) {
    if (home && !home->empty()) {
        return *home;
    }
    if (auto env = environmentVariable("PARLAVISTA_HOME"); env && !env->empty()) {
        return *env;
    }
    if (auto xdg = environmentVariable("XDG_DATA_HOME"); xdg && !xdg->empty()) {
        return files::join(*xdg, "parlavista");
    }
    return files::join(files::join(environmentVariable("HOME").value_or("."), ".local/share"),
                       "parlavista");
}

} // namespace plv
