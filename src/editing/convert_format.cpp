#include "editing/convert_format.h"

#include "editing/ask_before_writing.h"

namespace plv::editing {
namespace {

using dat::Outcome;

bool refused(Road& road, const dat::FormatConversion& c) {
    Session& s = road.session();
    const std::string& path = s.file.path;
    if (s.file.layout == c.target) {
        s.ui.warning(c.already, path);
        return true;
    }
    if (s.file.layout == dat::Layout::V1011 && road.isCurrentUserFile()) {
        s.ui.warning("This is your open User file - Not Allowed", path);
        return true;
    }
    std::string language = dat::languageName(s.file.languageByte);
    if (c.englishOnly && language != "English") {
        s.ui.warning("There is no " + language + " version " + dat::versionName(c.target),
                     "contact Brinmoor if this is reached in error");
        return true;
    }
    return false;
}

} // namespace

Outcome convertFormat(Road& road, const dat::FormatConversion& c) {
    Session& s = road.session();
    if (refused(road, c)) {
        return Outcome::Refused;
    }
    auto losses = dat::conversionLosses(s, c.target);
    if (!losses.empty()) {
        std::string text = "The " + dat::formatVersionString(c.target) +
                           " format cannot hold everything of this file. It loses:";
        for (const auto& line : losses) {
            text += "\n- " + line;
        }
        s.ui.warning(text, s.file.path);
    }
    if (!askBeforeWriting(s, std::string(c.confirm) + "\n\n" + openFileName(s) + ": " +
                                 commandsAndLists(s.catalogue.countCommands(), s.file.listCount))) {
        return Outcome::Refused;
    }
    if (!road.automaticBackup()) {
        return Outcome::Refused;
    }
    s.ui.status(kConvertingStatus);
    Outcome done = dat::convertFormat(s, c);
    if (done != Outcome::Done) {
        s.ui.status("");
    }
    return done;
}

} // namespace plv::editing
