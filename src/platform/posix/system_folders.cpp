#include "platform/system_folders.h"

namespace plv {

std::optional<std::string> commonAppDataFolder() {
    return std::nullopt;
}

std::optional<std::string> userAppDataFolder() {
    return std::nullopt;
}

} // namespace plv
