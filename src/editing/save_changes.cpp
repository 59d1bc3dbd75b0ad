// Modify, Abandon and Save Changes: the edit of one command or LIST, written along the road.
#include "datfile/record_ops.h"
#include "editing/body_to_write.h"
#include "editing/commands.h"
#include "editing/prompts.h"

#include <vector>

namespace plv::editing {
namespace {

using Step = std::function<Outcome(const UserRow& row)>;

const char* const kChangedElsewhere =
    "Sorry, this operation cannot be carried out because you have\n"
    "modified your open user mycmds.dat file with Razudid Udiridu.\n"
    "Parlavista will now refresh its copy.\n"
    "The macro body has been copied to the Clipboard and you can use it to\n"
    "retrieve (Paste) your changes and then you must perform your operation again.";

bool bodyIsWritten(const std::string& type) {
    return type != "T" && type != "X" && type != "R";
}

// The writes of an existing entry, in the order the file takes them.
std::vector<Step> changesOf(Session& s, const EditState& st, const std::string& body) {
    std::vector<Step> steps;
    if (body != st.initialBody && bodyIsWritten(st.typeCode) && !st.bodyLocked) {
        // The road parses the file again after the last write, and between two writes.
        steps.push_back([&s, body](const UserRow& row) {
            return dat::Update1Body(s, row, body, dat::Positions::LeaveToRefresh);
        });
    }
    if (st.convertToPlain || st.convertToAdvanced) {
        auto change =
            st.convertToPlain ? dat::TypeChange::ToPlainText : dat::TypeChange::ToAdvancedScripting;
        steps.push_back(
            [&s, change](const UserRow& row) { return dat::Updatechangetype(s, row, change); });
    }
    if (st.descriptionChanged || st.groupChanged) {
        std::string description = st.description;
        std::string group = st.group.empty() ? std::string(kUserDefined) : st.group;
        steps.push_back([&s, description, group](const UserRow& row) {
            return dat::UpdateFirstThings(s, row, row.name, description, group);
        });
    }
    return steps;
}

// Keeps "savedat" as the first write of an operation left it, until the operation ends.
class SavedatKept {
  public:
    explicit SavedatKept(Session& s) : s_(s), was_(s.keepSavedat) {}
    ~SavedatKept() { s_.keepSavedat = was_; }
    SavedatKept(const SavedatKept&) = delete;
    SavedatKept& operator=(const SavedatKept&) = delete;

  private:
    Session& s_;
    bool was_;
};

// Runs the writes one after the other; each after the first works on the file as parsed
// again, since a write may move the records behind it. `wrote` tells whether any was done.
// A failed later write restores the file from before the first, as its message says.
Outcome writeChanges(Editor& e, const std::string& body, bool& wrote) {
    Session& s = e.session();
    SavedatKept kept(s);
    std::vector<Step> steps = changesOf(s, e.state(), body);
    for (std::size_t i = 0; i < steps.size(); ++i) {
        s.keepSavedat = wrote;
        if (i > 0) {
            Outcome parsed = dat::refreshAfterWrite(s);
            if (parsed != Outcome::Done) {
                return parsed;
            }
        }
        auto row = shownRow(e);
        if (!row) {
            s.ui.message("This command is no longer available.", s.file.path);
            return Outcome::Refused;
        }
        Outcome done = steps[i](*row);
        if (done != Outcome::Done) {
            return done;
        }
        wrote = true;
    }
    return Outcome::Done;
}

Outcome writeNew(Editor& e, const std::string& body) {
    const EditState& st = e.state();
    BrowsingView::Shown shown = e.view().shown();
    dat::NewCommand c;
    c.name = st.pendingName;
    c.type = st.typeCode;
    c.program = shown.program;
    c.scope = shown.scope;
    c.description = st.description;
    c.group = st.group.empty() ? std::string(kUserDefined) : st.group;
    c.body = body;
    return dat::BuildNewRecord(e.session(), c);
}

// Step 1 to 4: what must hold before anything is written. The body to write, or nothing.
std::optional<std::string> checkedBody(Editor& e, Outcome& refused) {
    Session& s = e.session();
    Road& road = e.road();
    EditState& st = e.state();
    refused = Outcome::Refused;
    if (st.body.empty()) {
        s.ui.message("Empty content not allowed", s.file.path);
        return std::nullopt;
    }
    if (road.fileChanged()) {
        if (road.toClipboard) {
            road.toClipboard(st.body);
        }
        s.ui.message(kChangedElsewhere, s.file.path);
        e.leaveEditMode();
        refused = road.reread();
        return std::nullopt;
    }
    if (st.bodyLocked) {
        return st.body; // not written, so not checked
    }
    auto body = bodyToWrite(road, st.typeCode, st.body);
    if (!body) {
        ++st.focusRequests; // back to the line to mend
    }
    return body;
}

} // namespace

void Modify(Editor& e) {
    if (e.state().editing || e.state().busy || !e.view().shown().exists) {
        return;
    }
    e.loadShown();
    e.enterEditMode(true);
}

void Abandon(Editor& e) {
    if (!e.state().editing || e.state().busy) {
        return;
    }
    e.leaveEditMode();
    e.view().reset();
}

Outcome SaveChanges(Editor& e) {
    Operation op(e, true);
    if (!op.started() || !e.state().editing) {
        return Outcome::Refused;
    }
    Outcome refused = Outcome::Refused;
    auto body = checkedBody(e, refused);
    if (!body) {
        return refused;
    }
    Session& s = e.session();
    Road& road = e.road();
    EditState& st = e.state();
    BrowsingView::Shown shown = e.view().shown();
    s.ui.status(kOperationInProgress);
    road.waits().pause(0);
    if (!road.automaticBackup()) {
        return Outcome::Refused; // never written without the day's copy: still editing
    }
    std::string proposed = e.takeNextList();

    bool newList = st.newPending && st.typeCode == "L";
    bool wrote = false;
    Outcome done = Outcome::Done;
    if (st.newPending) {
        done = writeNew(e, *body);
        wrote = done == Outcome::Done;
    } else {
        done = writeChanges(e, *body, wrote);
    }
    if (done == Outcome::ProgramEnds || (done == Outcome::Refused && !wrote)) {
        if (!proposed.empty()) { // the LIST still waits for its command
            st.nextList = proposed;
            s.ui.status(kNextCreateCommand);
        }
        return done; // nothing was written: still editing
    }
    if (st.newPending) {
        e.view().select(newList ? kGlobalCommands : shown.program,
                        newList ? kGlobalCommands : shown.scope, st.pendingName);
    }
    std::string listName = newList ? st.pendingName : std::string();
    e.showAfterRefresh(newList ? kListsTab : shown.tab);
    e.leaveEditMode();
    done = road.postWrite(newList);
    if (done == Outcome::Done) {
        e.view().recordRecentlyUsed();
        e.state().nextList = listName;
    }
    return done;
}

} // namespace plv::editing
