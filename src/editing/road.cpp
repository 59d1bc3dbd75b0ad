#include "editing/road.h"

#include "datfile/file_commands.h"
#include "datfile/reader.h"
#include "editing/backup.h"

namespace plv::editing {

Road::Road(Session& session, Waits& waits, DragonSide dragon, Settings* settings)
    : s_(session), waits_(waits), dragon_(std::move(dragon)), settings_(settings) {
    if (dragon_.environment) {
        openedSpeaker_ = dragon_.environment->properties().UserName;
    } else if (dragon_.controls.engine) {
        openedSpeaker_ = dragon_.controls.engine->currentSpeaker();
    }
    dragon::EngineControl* engine = dragon_.controls.engine;
    windowExists = [engine](const std::string& title) {
        return engine && !engine->ownerProcessPath(title).empty();
    };
}

bool Road::isCurrentUserFile() {
    return dragon_.environment && dragon_.environment->isCurrentUserFile(s_.file.path);
}

bool Road::fileChanged() {
    return isCurrentUserFile() && !dat::isLastParsed(s_.catalogue, s_.file.path);
}

Outcome Road::refreshIfChanged() {
    return fileChanged() ? reread() : Outcome::Done;
}

bool Road::automaticBackup(bool rebuildMenu) {
    // A file its user made read-only is refused here, before a copy is taken of a file
    // that will not change.
    if (files::isReadOnly(s_.file.path)) {
        s_.ui.warning(files::readOnlyMessage(s_.file.path), s_.file.path);
        return false;
    }
    if (askBeforeWriting && !askBeforeWriting()) {
        return false;
    }
    Backup::Status status = takeBackup(s_, BackupKind::Automatic).status;
    if (status == Backup::Status::Failed) {
        return false;
    }
    if ((status == Backup::Status::Taken || rebuildMenu) && onBackupTaken) {
        onBackupTaken();
    }
    return true;
}

Outcome Road::refresh() {
    Outcome done = dat::refreshAfterWrite(s_);
    return done == Outcome::Done ? showParsed() : done;
}

Outcome Road::reread() {
    std::string path = s_.file.path;
    dat::ParseStatus status = dat::parse(s_, true, path);
    if (status == dat::ParseStatus::ProgramEnds) {
        return Outcome::ProgramEnds;
    }
    if (!s_.parseOk) {
        dat::failureExit(s_, path);
        return Outcome::ProgramEnds;
    }
    return showParsed();
}

Outcome Road::showParsed() {
    if (onRefreshed) {
        onRefreshed();
    }
    return Outcome::Done;
}

Outcome Road::postWrite(bool newListWritten) {
    dragonNotUpdated_ = false;
    if (!isCurrentUserFile()) {
        return refresh();
    }
    // Dragon is given only a file that reads: one that does not is restored by the refresh.
    if (!dat::readsToItsEnd(files::readAll(s_.file.path).value_or(std::string()))) {
        return refresh();
    }
    roamingNote();
    markCommandsChanged();
    if (newListWritten) {
        Outcome done = refresh();
        if (done == Outcome::Done) {
            s_.ui.status(kNextCreateCommand);
        }
        return done;
    }
    s_.ui.status(kOperationInProgress);
    waits_.pause(0);
    // The fast save's own measure: Dragon's merge moves the file's time on.
    files::FileTime written = files::lastModified(s_.file.path).value_or(0);
    Outcome done = fastSave(s_.programFile("placer.dat"));
    dragonNotUpdated_ = files::lastModified(s_.file.path).value_or(0) == written;
    return done;
}

void Road::roamingNote() {
    dragon::DragonEnvironment* env = dragon_.environment;
    if (!env || !env->properties().RoamingOn || !env->properties().IsRoamingUser ||
        !showRoamingNote) {
        return;
    }
    if (settings_ && settings_->readBool(kDontShowRoamingNote, false)) {
        return;
    }
    if (showRoamingNote() && settings_) {
        settings_->write(kDontShowRoamingNote, "-1");
    }
}

bool Road::speakerChanged(const std::string& speaker) {
    s_.trace.line("enter speaker change", speaker);
    // The catalogue and the fast save belong to the user the program opened.
    if (speaker != openedSpeaker_ && isCurrentUserFile()) {
        return true;
    }
    s_.trace.line("leave speaker change", speaker);
    return false;
}

} // namespace plv::editing
