#pragma once

#include "editing/road.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

// The window's editing state without the window: edit mode, the texts being edited and
// what Save Changes is to write. The Command menu's operations (commands.h) prepare it; Save
// Changes writes it along the road.
namespace plv::editing {

inline constexpr int kCommandsTab = 0;
inline constexpr int kListsTab = 1;
inline constexpr int kRecentlyCreatedTab = 2;
inline constexpr int kRecentlyModifiedTab = 3;

// The browsing state as the editing commands see and change it; the window implements it
// over its browser.
class BrowsingView {
  public:
    // The entry the preview shows.
    struct Shown {
        std::string program;
        std::string scope;
        std::string name;
        std::string typeCode;
        std::string body;       // as the editor shows it: UTF-8, CR LF line breaks
        std::string storedBody; // as the file holds it (the editor may halve backslashes)
        std::string description;
        std::string group;
        int tab = kCommandsTab;
        bool exists = false;    // a catalogued command or LIST, not a placeholder
        bool encrypted = false; // its body is not text: only description and Group change
    };

    virtual ~BrowsingView() = default;
    virtual Shown shown() const = 0;
    // The selection that the next reset shows.
    virtual void select(const std::string& program, const std::string& scope,
                        const std::string& name) = 0;
    // Makes the tab current (its selected entry is shown).
    virtual void showTab(int tab) = 0;
    // Shows the selection again from the catalogue (keep-selection reset), on `tab` if given.
    virtual void reset(std::optional<int> tab = {}) = 0;
    // After the open file was parsed again: the recently-used table checked, the Program
    // and Group menus rebuilt, the selection shown again, on `tab` if given.
    virtual void refreshed(std::optional<int> tab = {}) = 0;
    // After a file took the open file's place (Restore): "All groups", the menus rebuilt
    // and this Program and Scope shown.
    virtual void reopened(const std::string& program, const std::string& scope) = 0;
    // The command or LIST goes on top of the recently-used table.
    virtual void recordRecentlyUsed(const std::string& program, const std::string& scope,
                                    const std::string& name, const std::string& typeCode) = 0;
    // Entries of commands that have gone are dropped.
    virtual void outputRecentlyUsed() = 0;
    virtual int slider() const = 0;
    virtual void setSlider(int value) = 0;
};

// What the window shows and does while a command is edited.
struct EditState {
    bool editing = false;
    bool newPending = false; // the body belongs to a command or LIST not yet in the file
    bool descriptionChanged = false;
    bool groupChanged = false;
    bool convertToPlain = false;
    bool convertToAdvanced = false;
    bool bodyLocked = false; // an encrypted command: its body is shown, never written
    std::string initialBody;
    std::string storedBody; // the initial body as the file holds it
    std::string initialDescription;
    std::string initialGroup;
    std::string pendingName; // of the new command, selected after the save
    int savedTab = kCommandsTab;

    // The boxes (UTF-8, CR LF line breaks) and the type the save writes.
    std::string body;
    std::string description;
    std::string group;
    std::string typeCode;

    // A name shown in a list while its command is being made.
    struct PendingEntry {
        int tab = kCommandsTab;
        std::string name;
        bool atTop = false;
    };
    std::optional<PendingEntry> pendingEntry;
    // Moves whenever the focus is to go to the body editor; `caret` (a position in `body`)
    // is where the cursor goes then.
    unsigned focusRequests = 0;
    std::optional<std::size_t> caret;

    // The LIST the last save created: each New command (and Clone of a command) proposes
    // "<name>" until a command is written.
    std::string nextList;
    bool busy = false; // an operation is running; the window takes no other command
};

class Editor {
  public:
    Editor(Road& road, BrowsingView& view);

    Road& road() { return road_; }
    BrowsingView& view() { return view_; }
    Session& session() { return road_.session(); }
    const EditState& state() const { return state_; }
    EditState& state() { return state_; }

    // Called after each operation changed the state.
    void setObserver(std::function<void()> observer) { observer_ = std::move(observer); }
    void changed();

    // The boxes as the user changes them (the window filling them is not a change).
    void bodyEdited(const std::string& text);
    void descriptionEdited(const std::string& text);
    void groupEdited(const std::string& text);

    // The shown entry's texts and type become the ones edited.
    void loadShown();
    // The edit is of a new command or LIST of this name and type, listed on `entry`'s tab.
    void prepareNew(const std::string& name, const std::string& type,
                    EditState::PendingEntry entry);
    // The shown KEYS command is edited for a conversion to `type` ("P" or "A").
    void prepareConversion(const std::string& type);
    // Edit mode on over the texts prepared; `focusBody` moves the focus to the body editor.
    void enterEditMode(bool focusBody);
    // Edit mode off and the edit state cleared; the LIST just made stays proposed.
    void leaveEditMode();
    // The tab that the refresh after the next write shows.
    void showAfterRefresh(int tab) { refreshTab_ = tab; }
    // The proposal of the LIST made last, ended (the status line no longer reminds of it).
    std::string takeNextList();

  private:
    Road& road_;
    BrowsingView& view_;
    EditState state_;
    std::function<void()> observer_;
    std::optional<int> refreshTab_;
};

// Marks the editor busy for the length of an operation and reports its changes after it.
class Operation {
  public:
    // `keepsNextList`: the operation may still propose the LIST made last (New command,
    // Clone) or ends it itself once it writes (Save Changes); every other one ends that
    // proposal, as it replaces the status line.
    explicit Operation(Editor& editor, bool keepsNextList = false);
    ~Operation();
    Operation(const Operation&) = delete;
    Operation& operator=(const Operation&) = delete;
    // False when another operation is running (waits keep the window's events flowing).
    bool started() const { return started_; }

  private:
    Editor& editor_;
    bool started_ = false;
};

// The start of a Command menu entry: Done when no other operation runs, no body is being
// edited and the catalogue matches the file (read again when it changed elsewhere).
Outcome readyForCommand(Editor& editor, const Operation& operation);

} // namespace plv::editing
