#include "platform/files.h"
#include "platform/system_folders.h"

namespace plv {

std::string defaultProgramFolder() {
    return files::join(userAppDataFolder().value_or("."), "Parlavista");
}

} // namespace plv
