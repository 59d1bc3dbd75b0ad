#include "browser/help.h"

#include "platform/files.h"

namespace plv::browser {

std::string helpPage(int context) {
    switch (context) {
    case kHelpOptions:
        return "options.html";
    case kHelpKeysConversion:
        return "keys-conversion.html";
    case kHelpRoaming:
        return "roaming.html";
    default:
        return "index.html";
    }
}

std::string helpFolder(const std::string& programFolder) {
    return files::join(programFolder, "help");
}

} // namespace plv::browser
