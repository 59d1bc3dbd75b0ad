#pragma once

#include "browser/find.h"
#include "browser/follow.h"
#include "browser/menus.h"
#include "browser/preview.h"
#include "browser/recently_used.h"
#include "browser/rtf_html.h"
#include "browser/view_filter.h"
#include "browser/voice.h"
#include "datfile/session.h"
#include "platform/profile.h"

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace plv::browser {

enum class Tab { Commands = 0, Lists = 1, RecentlyCreated = 2, RecentlyModified = 3 };
inline constexpr std::array<const char*, 4> kTabCaptions = {
    "&Commands", "&LISTs", "Rece&ntly Created", "Recently Mod&ified"};
inline constexpr std::size_t kRecentlyCreatedRows = 75;

// One of the four lists of the tab area.
struct EntryList {
    std::vector<std::string> entries;
    int selected = -1;
    bool stale = false;
    // The Program and Scope the list was built for (command list and LIST list).
    std::string program;
    std::string scope;
};

// Counters that move whenever a part of the state changes, so that a view redraws only
// what changed.
struct Revisions {
    unsigned menus = 0;
    unsigned view = 0;
    std::array<unsigned, 4> lists{};
    unsigned preview = 0;
    unsigned selection = 0; // Program, Scope, tab, slider
};

// A Recently Created or Recently Modified entry: name padded, Program from column 50.
std::string recentEntryText(const std::string& name, const std::string& program);

// The main window's state without the window: the current selection, the Program, Scope
// and Group menus, the View menu, the four lists, the preview, the recently-used table,
// the program's voice menus and the slider.
class Browser {
  public:
    Browser(Session& session, Settings& settings, dragon::VoiceCommands* voice = nullptr);
    Browser(const Browser&) = delete;
    Browser& operator=(const Browser&) = delete;

    // Called after each change, once the outermost operation is done.
    void setObserver(std::function<void()> observer) { observer_ = std::move(observer); }
    const Revisions& revisions() const { return rev_; }

    // Start-up, in this order: the voice menus, the settings, the recently-used table of
    // the open file, the menus, then the selection.
    void buildVoiceMenus(const std::string& mainWindowTitle);
    void readSettings();
    void loadRecentlyUsed();
    void buildMenus();
    void start(const std::string& program, const std::string& scope);

    // The current selection.
    const std::string& program() const { return program_; }
    const std::string& scope() const { return scope_; }
    const std::string& group() const { return group_; }
    const std::string& commandName() const { return commandName_; }
    // Another command file was parsed (File Open, File Reload): its recently-used table,
    // "All groups", fresh menus and lists, and the given selection.
    void fileOpened(const std::string& program, const std::string& scope);
    // The open file was parsed again after a write: entries of vanished commands leave the
    // recently-used table, the menus are rebuilt and the selection is shown again.
    void fileRefreshed(std::optional<Tab> tab = {});
    // Sets the selection that the next reset shows (File Open, the editing commands).
    void setSelection(const std::string& program, const std::string& scope,
                      const std::optional<std::string>& name = {});

    // The Program, Scope and Group menus.
    const SelectionMenu& menu(MenuKind kind) const;
    void chooseProgram(std::size_t index);
    void chooseScope(std::size_t index);
    void chooseGroup(std::size_t index);
    // A menu is about to open: numbered now when "number menus" is on.
    void menuOpened(MenuKind kind);
    void requestMenuRebuild(bool programMenu, bool scopeMenu);
    // Rebuilds the menus that are requested and shows the current selection; `tab`
    // switches the list area.
    void reset(std::optional<Tab> tab = {});

    // The View menu.
    const ViewMenu& view() const { return view_; }
    void clickViewType(char code);
    void clickViewAll();
    void clickViewOnlyOne(char code);
    // The follow views: "&1 command with its LISTs" and "1 LIST with &calling COMMANDS".
    const Follow& follow() const { return follow_; }
    void clickFollowCommand();
    void clickFollowList();
    // The row filter of the lists: the ticked types and the Group, or a follow view.
    bool admits(const UserRow& row) const;

    // Find: the search the dialog edits, and its three steps over what the View admits. A
    // hit becomes the current selection and its entry is previewed, a body hit highlighted;
    // false when nothing was found (the message has been shown).
    Finder& finder() { return finder_; }
    bool find(FindStep step);
    // A command or LIST shown as Find shows a hit, with every type viewed when the View
    // would hide it.
    void showRow(const UserRow& row);
    Session& session() { return session_; }
    void clearHighlight() { highlight_.reset(); }

    // The lists.
    Tab tab() const { return tab_; }
    void changeTab(Tab tab);
    const EntryList& list(Tab tab) const { return lists_[static_cast<std::size_t>(tab)]; }
    void clickEntry(Tab tab, int index);
    bool placeholder() const { return placeholder_; }
    void markStale(Tab tab);

    // The preview.
    const Preview& preview() const { return preview_; }
    // "Sho&w Graphic": the formatted content of the Text and Graphics command shown.
    void showGraphic();
    const std::optional<RtfDocument>& graphic() const { return graphic_; }

    // The recently-used table of the open command file.
    const RecentlyUsed& recentlyUsed() const { return recent_; }
    // Records the previewed entry.
    void recordRecentlyUsed(bool check);
    // The same for a command or LIST that need not be the one shown.
    void recordRecentlyUsed(const RecentEntry& entry, const std::string& typeCode, bool check);
    // Drops entries whose command has gone and stores the rest.
    void outputRecentlyUsed();

    // Voice commands and the slider.
    void recognised(int id, const std::string& words);
    int slider() const { return slider_; }
    void setSlider(int value);
    bool numberMenus() const { return numberMenus_; }
    void setNumberMenus(bool on);

  private:
    class Batch;
    void changed();

    void buildProgramMenu();
    void buildScopeMenu(const std::string& program);
    void buildGroupMenu();
    void selectProgram(std::size_t index, bool chooseScope);
    void selectScope(std::size_t index);
    void selectGroup(std::size_t index);

    void followClicked(FollowChange change);
    void showFound(const FindHit& hit);
    // Whether the Program and Scope menus, as the Group narrows them, hold the row's.
    bool inSelectionMenus(const UserRow& row) const;
    void buildCommandList();
    void completeLists(const std::vector<UserRow>& rows);
    void copyGlobalList(const UserRow& global);
    void buildListList();
    void buildRecentlyCreated();
    void buildRecentlyModified();
    void showList(Tab tab, std::vector<std::string> entries, int selected);
    void previewSelected(Tab tab);
    void previewEntry(Tab tab, int index);
    void restoreSelection(const std::string& program, const std::string& scope);
    void setPreview(Preview preview);
    EntryList& listOf(Tab tab) { return lists_[static_cast<std::size_t>(tab)]; }

    Session& session_;
    Settings& settings_;
    VoiceMenus voice_;
    RecentlyUsed recent_;
    std::function<void()> observer_;
    int batchDepth_ = 0;
    bool pendingNotice_ = false;
    Revisions rev_;

    std::string program_ = kGlobalCommands;
    std::string scope_ = kGlobalCommands;
    std::string group_ = kAllGroups;
    std::string commandName_;
    SelectionMenu programs_;
    SelectionMenu scopes_;
    SelectionMenu groups_;
    bool programRebuild_ = false;
    bool scopeRebuild_ = false;
    bool suppressScope_ = false;

    ViewMenu view_;
    Follow follow_;
    Finder finder_;
    // A body hit waiting for its row's preview.
    struct PendingHighlight {
        std::int64_t rowId;
        std::size_t position;
        std::size_t length;
    };
    std::optional<PendingHighlight> highlight_;
    // The LIST the next LIST list selects, when it is not the current command name.
    std::optional<std::string> listName_;
    Tab tab_ = Tab::Commands;
    std::array<EntryList, 4> lists_;
    bool placeholder_ = false;
    std::vector<RecentEntry> createdRows_;
    std::vector<RecentEntry> modifiedRows_;

    Preview preview_;
    std::optional<RtfDocument> graphic_;

    int slider_ = 5;
    bool numberMenus_ = true;
};

} // namespace plv::browser
