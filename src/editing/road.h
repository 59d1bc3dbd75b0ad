#pragma once

#include "datfile/rewrite.h"
#include "datfile/session.h"
#include "dragon/environment.h"
#include "dragon/stand_in.h"
#include "platform/profile.h"
#include "platform/waits.h"

#include <functional>
#include <optional>
#include <string>

// The one road that every write of the open command file travels: check that the file on
// disk is the one that was parsed, take the daily backup, let the rewrite engine write,
// parse the file again (which verifies it; "savedat" comes back when it does not read),
// have Dragon take the changed file over (the fast save) and let the window show the
// result. Each operation supplies only its own checks and its write.
namespace plv::editing {

using dat::Outcome;

// The placer file's language byte for a speaker language (a Windows language identifier).
int placerLanguageByte(int languageId);

// Dragon as the road reaches it; all parts may be missing (a file outside Dragon).
struct DragonSide {
    dragon::Controls controls;
    dragon::DragonEnvironment* environment = nullptr;
    std::string mergeProgram; // Dragon's program folder + the merge program; empty if unknown
};

inline constexpr const char* kOperationInProgress = "Operation in Progress";
inline constexpr const char* kNextCreateCommand =
    "You must NEXT create a command using created LIST";
inline constexpr const char* kUserReady = "Update processed, User ready";
inline constexpr const char* kUnableToUpdate = "Unable to update above file";
inline constexpr const char* kDontShowRoamingNote = "dont show roam save user";
inline constexpr const char* kDragonWindow = "Dragon NaturallySpeaking";

class Road {
  public:
    Road(Session& session, Waits& waits, DragonSide dragon = {}, Settings* settings = nullptr);

    Session& session() { return s_; }
    Waits& waits() { return waits_; }
    const DragonSide& dragon() const { return dragon_; }
    Settings* settings() { return settings_; }
    // The Dragon user the program opened.
    const std::string& openedSpeaker() const { return openedSpeaker_; }

    // Whether the open file is Dragon's current user's command file (the user read afresh).
    bool isCurrentUserFile();
    // The file-changed check: true when the open file is the current user's and is not the
    // file the catalogue was last built from (path, time or size differ).
    bool fileChanged();
    // The check with an immediate refresh, so that the catalogue matches the file: Done,
    // or ProgramEnds when the file no longer reads.
    Outcome refreshIfChanged();

    // Today's backup, unless it exists: taken once an operation's checks have passed, just
    // before it writes. The window is told so it rebuilds the Restore menu, with
    // `rebuildMenu` also when no copy was taken (Delete and the conversion run). False, after
    // its message, when the file is read-only or the copy could not be written, and when
    // `askBeforeWriting` was answered No: the write must not go ahead.
    [[nodiscard]] bool automaticBackup(bool rebuildMenu = false);

    // The refresh after a write: the open file parsed again; a file that does not read
    // brings "savedat" back and the program ends (ProgramEnds). Then the window shows it.
    Outcome refresh();
    // The same after a change made elsewhere: a file that does not read is reported (and
    // error.log written) but not replaced, since "savedat" is older than that change.
    Outcome reread();
    // After every write: for the current user's file Dragon takes the file over (roaming
    // note, local.ini, fast save); for any other file the refresh alone. A new LIST is not
    // signalled yet: the command that uses it will be.
    Outcome postWrite(bool newListWritten = false);
    // The last post-write step's fast save gave up ("Unable to update above file"): the file
    // is written and read again, but Dragon has not taken the change over.
    bool dragonNotUpdated() const { return dragonNotUpdated_; }
    // Dragon's merge program on the placer file; waits (the window kept responsive) until
    // the command file's time moves, then refreshes.
    Outcome fastSave(const std::string& placerFile);
    // The local.ini that tells Dragon the user's commands changed.
    std::string localIniPath(const std::string& speaker) const;

    // The engine reports another speaker: true when the program must end at once (the open
    // file is the current user's and the speaker is not the one opened).
    bool speakerChanged(const std::string& speaker);

    // What the window does along the road; a terminal leaves them empty.
    std::function<void()> onRefreshed;     // caption, recently used, menus, view reset
    std::function<void()> onBackupTaken;   // the Restore menu is rebuilt
    std::function<bool()> showRoamingNote; // true when "Do &Not Show..." was ticked
    std::function<void(const std::string&)> toClipboard;
    // Asked once the operation's checks have passed, before its backup and write: the
    // Tools dialog sets it for the operation on many commands that it runs.
    std::function<bool()> askBeforeWriting;
    // Whether a top-level window with this title exists ("Dragon NaturallySpeaking"); by
    // default the windows the engine knows.
    std::function<bool(const std::string&)> windowExists;

  private:
    Outcome showParsed();
    void roamingNote();
    void markCommandsChanged();
    bool waitForTimeChange(files::FileTime written, int& polls);

    Session& s_;
    Waits& waits_;
    DragonSide dragon_;
    Settings* settings_;
    std::string openedSpeaker_;
    bool dragonNotUpdated_ = false;
};

} // namespace plv::editing
