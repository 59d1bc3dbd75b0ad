// Modify, Abandon and Save Changes: the edit of one command or LIST, written along the road.
#include "datfile/record_ops.h"
#include "editing/body_to_write.h"
#include "editing/commands.h"
#include "editing/name_checks.h"
#include "editing/prompts.h"

#include <deque>
#include <map>
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

// The edited body with each line that the user left as `shown` put back as `stored` holds
// it: the shown form of a body may differ from the stored one (a LIST shows "\\" as "\"),
// and what the user did not touch is written back byte for byte.
std::string withStoredLines(const std::string& stored, const std::string& shown,
                            const std::string& edited) {
    if (stored == shown) {
        return edited;
    }
    std::vector<std::string> storedLines = dat::splitAtCrLf(stored);
    std::vector<std::string> shownLines = dat::splitAtCrLf(shown);
    if (storedLines.size() != shownLines.size()) {
        return edited;
    }
    // Equal shown lines are taken in their order, so untouched ones keep theirs.
    std::map<std::string, std::deque<std::size_t>> linesShownAs;
    for (std::size_t i = 0; i < shownLines.size(); ++i) {
        linesShownAs[shownLines[i]].push_back(i);
    }
    std::string out;
    std::vector<std::string> editedLines = dat::splitAtCrLf(edited);
    for (std::size_t i = 0; i < editedLines.size(); ++i) {
        auto same = linesShownAs.find(editedLines[i]);
        if (same != linesShownAs.end() && !same->second.empty()) {
            out += storedLines[same->second.front()];
            same->second.pop_front();
        } else {
            out += editedLines[i];
        }
        out += i + 1 < editedLines.size() ? "\r\n" : "";
    }
    return out;
}

// The body is written when the user changed it and the change reaches the file (not only
// line breaks that the save puts back as they were).
bool bodyChanged(const EditState& st, const std::string& body) {
    return st.body != st.initialBody && body != st.storedBody && bodyIsWritten(st.typeCode) &&
           !st.bodyLocked;
}

std::string groupToWrite(const std::string& group) {
    return group.empty() ? std::string(kUserDefined) : group;
}

bool headChanged(const EditState& st) {
    return (st.descriptionChanged && st.description != st.initialDescription) ||
           (st.groupChanged && groupToWrite(st.group) != groupToWrite(st.initialGroup));
}

// The writes of an existing entry, in the order the file takes them.
std::vector<Step> changesOf(Session& s, const EditState& st, const std::string& body) {
    std::vector<Step> steps;
    if (bodyChanged(st, body)) {
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
    if (headChanged(st)) {
        std::string description = st.description;
        std::string group = groupToWrite(st.group);
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
            s.ui.warning("This command is no longer available.", s.file.path);
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
    c.group = groupToWrite(st.group);
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
        s.ui.warning("Empty content not allowed", s.file.path);
        return std::nullopt;
    }
    if (road.fileChanged()) {
        if (road.toClipboard) {
            road.toClipboard(st.body);
        }
        s.ui.warning(kChangedElsewhere, s.file.path);
        e.leaveEditMode();
        refused = road.reread();
        return std::nullopt;
    }
    if (st.bodyLocked) {
        return st.body; // not written, so not checked
    }
    // A converted body is new text throughout; any other keeps the lines left as shown.
    std::string edited =
        st.convertToAdvanced ? st.body : withStoredLines(st.storedBody, st.initialBody, st.body);
    auto body = bodyToWrite(road, st.typeCode, edited);
    // The description and Group go into the file too: refused before the day's backup.
    if (!body || !checkFileText(s, st.description) || !checkFileText(s, st.group)) {
        ++st.focusRequests; // back to the line to mend
        return std::nullopt;
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
    if (!st.newPending && changesOf(s, st, *body).empty()) {
        // Nothing to write: the file stays as it is and Dragon has nothing to take over.
        e.leaveEditMode();
        e.view().reset();
        return Outcome::Done;
    }
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
    std::string saved = st.newPending ? st.pendingName : shown.name;
    // A new LIST lives under Global Commands, whatever was shown.
    std::string program = newList ? std::string(kGlobalCommands) : shown.program;
    std::string scope = newList ? std::string(kGlobalCommands) : shown.scope;
    if (st.newPending) {
        e.view().select(program, scope, saved);
    }
    // The command saved, whatever the view shows once the file has been read again.
    e.view().recordRecentlyUsed(program, scope, saved, st.typeCode);
    std::string listName = newList ? st.pendingName : std::string();
    e.showAfterRefresh(newList ? kListsTab : shown.tab);
    e.leaveEditMode();
    done = road.postWrite(newList);
    if (done == Outcome::Done) {
        e.state().nextList = listName;
    }
    return done;
}

} // namespace plv::editing
