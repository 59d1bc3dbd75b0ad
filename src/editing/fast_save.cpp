// The fast save: Dragon takes the changed command file over without the user reopening the
// profile. local.ini is marked, Dragon's merge program runs on the small placer file, and
// the program waits until the command file's time moves before it reads the file again.
#include "datfile/format.h"
#include "editing/road.h"

namespace plv::editing {
namespace {

constexpr int kPollMs = 100;
constexpr int kMaxPolls = 50;
constexpr int kSettleMs = 200;

// "hhnnss" of a time, local.
std::string hhnnss(files::FileTime t) {
    std::string local = files::formatLocalTime(t); // MM/DD/YYYY HH:MM:SS
    return local.substr(11, 2) + local.substr(14, 2) + local.substr(17, 2);
}

} // namespace

int placerLanguageByte(int languageId) {
    switch (languageId) {
    case 1031:
        return 7;
    case 1033:
    case 2057:
    case 3081:
    case 61449:
        return 9;
    case 1034:
        return 10;
    case 1036:
        return 12;
    case 1043:
        return 19;
    default:
        return 0;
    }
}

std::string Road::localIniPath(const std::string& speaker) const {
    dragon::DragonEnvironment* env = dragon_.environment;
    if (!env || speaker.empty()) {
        return {};
    }
    const auto& p = env->properties();
    // Without roaming Dragon keeps local.ini in the user's own folder; a path that began
    // at the root of the drive would reach no user.
    std::string base = p.RoamingOn && !p.RoamingCacheDirectory.empty() ? p.RoamingCacheDirectory
                                                                       : p.UserBaseDirectory;
    return files::join(files::join(files::join(base, speaker), "current"), "local.ini");
}

void Road::markCommandsChanged() {
    dragon::EngineControl* engine = dragon_.controls.engine;
    std::string path = localIniPath(engine ? engine->currentSpeaker() : openedSpeaker_);
    if (path.empty()) {
        return;
    }
    // Only the one line changes: the rest of local.ini is Dragon's.
    if (!Profile(path).write("Options", "MyCommands Changed", "1") && files::isReadOnly(path)) {
        s_.ui.warning(files::readOnlyMessage(path), path);
    }
}

bool Road::waitForTimeChange(files::FileTime written, int& polls) {
    while (files::lastModified(s_.file.path).value_or(written) == written) {
        waits_.pause(kPollMs);
        ++polls;
        s_.trace.line("counter= ", std::to_string(polls));
        if (polls > kMaxPolls) {
            return false;
        }
    }
    return true;
}

Outcome Road::fastSave(const std::string& placerFile) {
    dragon::EngineControl* engine = dragon_.controls.engine;
    dragon::MergeProgram* merge = dragon_.controls.merge;
    const std::string& path = s_.file.path;
    int language = engine ? engine->speakerLanguage(engine->currentSpeaker()) : 0;
    files::writeByteAt(placerFile, dat::kLanguageOffset,
                       static_cast<std::uint8_t>(placerLanguageByte(language)));

    files::FileTime written = files::lastModified(path).value_or(0);
    std::string stamp = hhnnss(written);
    s_.trace.line("file time: ", stamp,
                  "\r\n" +
                      dragon::MergeLauncher::commandLine(dragon_.mergeProgram, path, placerFile));
    // The change is seen at a resolution of one second: the merge must not write within
    // the second of the last write.
    while (hhnnss(files::now()) == stamp) {
        waits_.pause(kPollMs);
        s_.trace.line("waiting for time change");
    }
    bool started = merge && !dragon_.mergeProgram.empty() &&
                   merge->start(dragon_.mergeProgram, path, placerFile);
    int polls = 0;
    if (!started || !waitForTimeChange(written, polls)) {
        s_.ui.warning(kUnableToUpdate, path);
        return refresh();
    }
    s_.trace.line("after fast save", files::formatLocalTime(files::now()));
    waits_.pause(kSettleMs);
    Outcome done = refresh();
    s_.trace.line("after fast save refresh");
    if (done == Outcome::Done) {
        s_.ui.status(kUserReady);
        waits_.pause(0);
    }
    return done;
}

} // namespace plv::editing
