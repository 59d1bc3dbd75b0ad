#include "platform/environment.h"
#include "platform/files.h"
#include "platform/system_folders.h"

namespace plv {

std::string defaultProgramFolder() {
    if (auto xdg = environmentVariable("XDG_DATA_HOME"); xdg && !xdg->empty()) {
        return files::join(*xdg, "parlavista");
    }
    return files::join(files::join(environmentVariable("HOME").value_or("."), ".local/share"),
                       "parlavista");
}

} // namespace plv
