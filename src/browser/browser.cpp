#include "browser/browser.h"

#include "browser/slider.h"
#include "datfile/format.h"
#include "datfile/record_ops.h"
#include "platform/codepage.h"
#include "platform/files.h"

#include <algorithm>
#include <set>

namespace plv::browser {
namespace {

constexpr std::size_t kListRefsPerName = 21;
constexpr std::size_t kProgramColumn = 50;

std::vector<std::string> listRefs(const std::string& name) {
    auto refs = dat::ExtractListRefs(name);
    if (refs.size() > kListRefsPerName) {
        refs.resize(kListRefsPerName);
    }
    return refs;
}

int indexOf(const std::vector<std::string>& entries, const std::string& text) {
    auto it = std::find(entries.begin(), entries.end(), text);
    return it == entries.end() ? -1 : static_cast<int>(it - entries.begin());
}

} // namespace

std::string recentEntryText(const std::string& name, const std::string& program) {
    std::size_t chars = cp1252Length(name);
    std::size_t pad = chars < kProgramColumn - 1 ? kProgramColumn - 1 - chars : 1;
    return name + std::string(pad, ' ') + program;
}

// Holds the observer's call until the outermost operation is done.
class Browser::Batch {
  public:
    explicit Batch(Browser& b) : b_(b) { ++b_.batchDepth_; }
    ~Batch() {
        if (--b_.batchDepth_ == 0 && b_.pendingNotice_) {
            b_.pendingNotice_ = false;
            if (b_.observer_) {
                b_.observer_();
            }
        }
    }
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;

  private:
    Browser& b_;
};

Browser::Browser(Session& session, Settings& settings, dragon::VoiceCommands* voice)
    : session_(session), settings_(settings), voice_(voice), recent_(settings),
      finder_(session.catalogue, session.ui) {}

void Browser::changed() {
    pendingNotice_ = true;
}

// Start-up

void Browser::buildVoiceMenus(const std::string& mainWindowTitle) {
    voice_.build(mainWindowTitle, numberMenus_);
    voice_.onRecognition([this](int id, const std::string& words) { recognised(id, words); });
}

void Browser::readSettings() {
    Batch batch(*this);
    numberMenus_ = settings_.readBool("number menus", true);
    voice_.setNumbering(numberMenus_);
    slider_ = clampSlider(settings_.readInt("slider", kSliderDefault));
    ++rev_.selection;
    changed();
}

void Browser::loadRecentlyUsed() {
    Batch batch(*this);
    recent_.load(session_.file.path);
    markStale(Tab::RecentlyModified);
}

void Browser::buildMenus() {
    Batch batch(*this);
    buildProgramMenu();
    buildGroupMenu();
}

void Browser::start(const std::string& program, const std::string& scope) {
    Batch batch(*this);
    program_ = program;
    scope_ = scope;
    reset();
    markStale(Tab::Lists);
}

void Browser::fileOpened(const std::string& program, const std::string& scope) {
    Batch batch(*this);
    group_ = kAllGroups;
    commandName_.clear();
    finder_.forgetLastHit();
    recent_.load(session_.file.path);
    // Entries of commands the file no longer holds go now, for good.
    Catalogue& c = session_.catalogue;
    recent_.output(
        [&c](const RecentEntry& e) { return c.findRow(e.program, e.scope, e.name).has_value(); },
        session_.trace);
    for (Tab t : {Tab::Lists, Tab::RecentlyCreated, Tab::RecentlyModified}) {
        markStale(t);
    }
    buildGroupMenu();
    programRebuild_ = true;
    program_ = program;
    scope_ = scope;
    reset();
}

void Browser::fileRefreshed(std::optional<Tab> tab) {
    Batch batch(*this);
    finder_.forgetLastHit();
    outputRecentlyUsed();
    buildGroupMenu();
    requestMenuRebuild(true, true);
    reset(tab);
}

void Browser::setSelection(const std::string& program, const std::string& scope,
                           const std::optional<std::string>& name) {
    Batch batch(*this);
    program_ = program;
    scope_ = scope;
    if (name) {
        commandName_ = *name;
    }
    ++rev_.selection;
    changed();
}

// Menus

const SelectionMenu& Browser::menu(MenuKind kind) const {
    switch (kind) {
    case MenuKind::Program:
        return programs_;
    case MenuKind::Scope:
        return scopes_;
    case MenuKind::Group:
        break;
    }
    return groups_;
}

void Browser::buildProgramMenu() {
    ++rev_.menus;
    changed();
    programs_.clear();
    if (!session_.catalogue.hasCommands()) {
        return;
    }
    std::vector<std::string> values;
    if (group_ != kAllGroups) {
        values = session_.catalogue.distinctMenus(group_);
        if (values.empty()) {
            group_ = kAllGroups;
        }
    }
    if (group_ == kAllGroups) {
        values = session_.catalogue.distinctMenus();
    }
    programs_.assign(globalFirst(std::move(values)));
    if (numberMenus_) {
        voice_.defineMenuCommand(MenuKind::Program, programs_.size());
    }
}

void Browser::buildScopeMenu(const std::string& program) {
    ++rev_.menus;
    changed();
    std::optional<std::string> owner;
    if (group_ != kAllGroups) {
        owner = group_;
    }
    scopes_.assign(session_.catalogue.distinctStates(program, owner));
    if (numberMenus_) {
        voice_.defineMenuCommand(MenuKind::Scope, scopes_.size());
    }
}

void Browser::buildGroupMenu() {
    ++rev_.menus;
    changed();
    std::string remembered = group_;
    std::vector<std::string> owners;
    if (session_.catalogue.hasCommands()) {
        owners = session_.catalogue.distinctOwners();
        owners.erase(std::remove(owners.begin(), owners.end(), std::string()), owners.end());
    }
    groups_.assign(std::move(owners), true);
    if (numberMenus_) {
        // The separator counts as an entry before "All groups".
        voice_.defineMenuCommand(MenuKind::Group, groups_.size() - 1);
    }
    int found = groups_.findFirst(remembered);
    if (found >= 0 && remembered != kAllGroups) {
        selectGroup(static_cast<std::size_t>(found));
    } else if (found < 0) {
        group_ = kAllGroups;
    }
}

void Browser::chooseProgram(std::size_t index) {
    Batch batch(*this);
    selectProgram(index, true);
}

void Browser::chooseScope(std::size_t index) {
    Batch batch(*this);
    selectScope(index);
}

void Browser::chooseGroup(std::size_t index) {
    Batch batch(*this);
    selectGroup(index);
}

void Browser::selectProgram(std::size_t index, bool chooseScope) {
    if (!session_.catalogue.hasCommands() || index >= programs_.size()) {
        return;
    }
    const std::string text = programs_.value(index);
    if (!session_.catalogue.hasProgram(text)) {
        return;
    }
    program_ = text;
    ++rev_.selection;
    changed();
    buildScopeMenu(text);
    if (!chooseScope || suppressScope_) {
        return;
    }
    // "Asleep" sorts before "Global Commands"; picking the global Program should not
    // land on it.
    if (!scopes_.empty() && scopes_.value(0) == "Asleep" && text == kGlobalCommands) {
        selectScope(scopes_.find(kGlobalCommands));
    } else {
        selectScope(0);
    }
}

void Browser::selectScope(std::size_t index) {
    if (!session_.catalogue.hasCommands()) {
        return;
    }
    if (index < scopes_.size()) {
        scope_ = scopes_.value(index);
    }
    ++rev_.selection;
    changed();
    buildCommandList();
}

void Browser::selectGroup(std::size_t index) {
    if (index >= groups_.size() || groups_.isSeparator(index)) {
        return;
    }
    group_ = groups_.value(index);
    if (group_ != kAllGroups) {
        if (auto row = session_.catalogue.firstRowOfOwner(group_)) {
            program_ = row->menu;
            scope_ = row->state;
        }
    }
    if (group_ == kUserDefined || group_ == "Dragon") {
        program_ = scope_ = kGlobalCommands;
    }
    ++rev_.selection;
    changed();
    programRebuild_ = true;
    reset();
}

void Browser::menuOpened(MenuKind kind) {
    Batch batch(*this);
    if (!numberMenus_) {
        return;
    }
    SelectionMenu& m =
        kind == MenuKind::Program ? programs_ : (kind == MenuKind::Scope ? scopes_ : groups_);
    if (m.number()) {
        ++rev_.menus;
        changed();
    }
    voice_.defineNumberedCommand(kind, m.numberedCount());
}

void Browser::requestMenuRebuild(bool programMenu, bool scopeMenu) {
    programRebuild_ = programRebuild_ || programMenu;
    scopeRebuild_ = scopeRebuild_ || scopeMenu;
}

void Browser::reset(std::optional<Tab> tab) {
    Batch batch(*this);
    Trace& trace = session_.trace;
    trace.line("reset start");
    if (programRebuild_) {
        buildProgramMenu();
        programRebuild_ = false;
    }
    if (scopeRebuild_) {
        buildScopeMenu(program_);
        scopeRebuild_ = false;
    }
    trace.line("reset after buildstate");
    std::size_t programItem = programs_.find(program_);
    trace.line("reset after appdynamicfind");
    suppressScope_ = true;
    selectProgram(programItem, false);
    suppressScope_ = false;
    if (session_.catalogue.hasCommands()) {
        selectScope(scopes_.find(scope_));
    } else {
        buildCommandList();
    }
    if (tab && *tab != tab_) {
        changeTab(*tab);
    }
    ++rev_.selection;
    changed();
}

// View menu

bool Browser::admits(const UserRow& row) const {
    return follow_.active() ? follow_.admits(row) : passesFilter(view_, row, group_);
}

void Browser::clickViewType(char code) {
    Batch batch(*this);
    // The menu redraws even when the entry does not change: a click must not leave its
    // tick looking otherwise.
    ++rev_.view;
    changed();
    if (view_.clickType(code)) {
        follow_.typeClicked();
        reset();
    }
}

void Browser::clickViewAll() {
    Batch batch(*this);
    follow_.clear();
    view_.clickAll();
    ++rev_.view;
    changed();
    reset();
}

void Browser::clickViewOnlyOne(char code) {
    Batch batch(*this);
    view_.clickOnlyOne(code);
    ++rev_.view;
    changed();
    reset();
}

void Browser::clickFollowCommand() {
    followClicked(follow_.toggleCommand(
        preview_.rowId ? session_.catalogue.rowById(*preview_.rowId) : std::nullopt, session_.ui));
}

void Browser::clickFollowList() {
    followClicked(follow_.toggleList(
        preview_.rowId ? session_.catalogue.rowById(*preview_.rowId) : std::nullopt, session_.ui));
}

void Browser::followClicked(FollowChange change) {
    Batch batch(*this);
    ++rev_.view;
    changed();
    if (change == FollowChange::Refused) {
        return;
    }
    if (change == FollowChange::TurnedOn) {
        view_.untickTypes();
    }
    reset();
}

// Find

bool Browser::find(FindStep step) {
    Batch batch(*this);
    clearHighlight();
    // A follow view chooses by name, not by type: it leaves no type out.
    std::string skipped = follow_.active() ? "" : view_.leftOut();
    auto hit = finder_.run(
        step, {[this](const UserRow& row) { return admits(row); }, view_.allTicked(), skipped});
    if (hit) {
        showFound(*hit);
    }
    return hit.has_value();
}

void Browser::showRow(const UserRow& row) {
    Batch batch(*this);
    clearHighlight();
    if (!admits(row)) {
        clickViewAll();
    }
    showFound({row});
}

bool Browser::inSelectionMenus(const UserRow& row) const {
    // A row of the Group is in them by the menus' own making.
    if (group_ == kAllGroups || equalsNoCase(row.owner, group_)) {
        return true;
    }
    auto scopes = session_.catalogue.distinctStates(row.menu, group_);
    return programs_.findFirst(row.menu) >= 0 &&
           std::any_of(scopes.begin(), scopes.end(),
                       [&](const std::string& s) { return equalsNoCase(s, row.state); });
}

void Browser::showFound(const FindHit& hit) {
    // A follow view admits rows of every Group, while the Program and Scope menus hold only
    // the chosen Group's: a hit outside them is shown under "All groups", or the reset would
    // settle on another Program.
    bool widen = !inSelectionMenus(hit.row);
    if (widen) {
        group_ = kAllGroups;
        requestMenuRebuild(true, false);
    }
    program_ = hit.row.menu;
    scope_ = hit.row.state;
    if (hit.position > 0) {
        highlight_ = PendingHighlight{hit.row.id, hit.position, hit.length};
    }
    if (hit.row.isList()) {
        listName_ = hit.row.name;
        reset(Tab::Lists);
        listName_.reset();
        return;
    }
    commandName_ = hit.row.name;
    // A hit in the Scope the command list shows is selected there: the list would be built
    // again just as it is, which on a large Scope is most of a Find Again.
    const EntryList& commands = list(Tab::Commands);
    int index = indexOf(commands.entries, commandName_);
    if (!widen && tab_ == Tab::Commands && !placeholder_ && index >= 0 &&
        commands.program == program_ && commands.scope == scope_) {
        ++rev_.selection;
        clickEntry(Tab::Commands, index);
        return;
    }
    reset(Tab::Commands);
}

// Lists

void Browser::showList(Tab tab, std::vector<std::string> entries, int selected) {
    EntryList& l = listOf(tab);
    l.entries = std::move(entries);
    l.selected = l.entries.empty() ? -1 : std::clamp(selected, 0, int(l.entries.size()) - 1);
    l.stale = false;
    ++rev_.lists[static_cast<std::size_t>(tab)];
    changed();
}

void Browser::markStale(Tab tab) {
    listOf(tab).stale = true;
}

void Browser::buildCommandList() {
    EntryList& commands = listOf(Tab::Commands);
    commands.program = program_;
    commands.scope = scope_;
    if (!session_.catalogue.hasCommands()) {
        placeholder_ = true;
        showList(Tab::Commands, {kNothingToShow}, 0);
        setPreview(Preview{});
        return;
    }
    auto rows = session_.catalogue.rowsOf(program_, scope_, false);
    completeLists(rows);
    std::vector<std::string> names;
    for (const auto& row : rows) {
        if (!row.isList() && admits(row)) {
            names.push_back(row.name);
        }
    }
    int selected = indexOf(names, commandName_);
    if (selected < 0) {
        selected = 0;
        if (tab_ != Tab::Commands) {
            tab_ = Tab::Commands;
            ++rev_.selection;
        }
    }
    placeholder_ = names.empty();
    if (placeholder_) {
        names.push_back(kNothingToShow);
    }
    showList(Tab::Commands, std::move(names), selected);
    // The LIST list follows the command list it is made from; Recently Created follows the
    // View and Group filter.
    markStale(Tab::Lists);
    markStale(Tab::RecentlyCreated);
    switch (tab_) {
    case Tab::Commands:
        previewSelected(Tab::Commands);
        break;
    case Tab::Lists:
        buildListList();
        previewSelected(Tab::Lists);
        break;
    case Tab::RecentlyCreated:
        buildRecentlyCreated();
        break;
    case Tab::RecentlyModified:
        buildRecentlyModified();
        break;
    }
}

void Browser::completeLists(const std::vector<UserRow>& rows) {
    Catalogue& c = session_.catalogue;
    for (const auto& row : rows) {
        if (row.name.find('<') == std::string::npos || !admits(row)) {
            continue;
        }
        for (const auto& ref : listRefs(row.name)) {
            auto local = c.findList(program_, scope_, ref);
            if (!local) {
                if (auto global = c.findFileList(ref)) {
                    copyGlobalList(*global);
                }
            } else if (group_ != kAllGroups && local->owner != group_) {
                local->owner = group_;
                c.updateRow(*local);
            }
        }
    }
}

void Browser::copyGlobalList(const UserRow& global) {
    UserRow copy = global;
    copy.id = 0;
    copy.menu = program_;
    copy.state = scope_;
    copy.globalsort = program_ == kGlobalCommands ? "G" : "N";
    copy.owner = group_ != kAllGroups ? group_ : global.owner;
    copy.states.clear();
    copy.pdescript = copy.companyName = copy.className = 0;
    copy.encrypted = false;
    copy.listcopy = true;
    copy.flag = true;
    session_.catalogue.appendRow(copy);
}

void Browser::buildListList() {
    EntryList& lists = listOf(Tab::Lists);
    lists.program = program_;
    lists.scope = scope_;
    std::vector<std::string> names;
    Catalogue& c = session_.catalogue;
    if (program_ != kGlobalCommands || scope_ != kGlobalCommands) {
        std::set<std::string> seen;
        for (const auto& name :
             placeholder_ ? std::vector<std::string>{} : listOf(Tab::Commands).entries) {
            for (const auto& ref : listRefs(name)) {
                if (!seen.insert(foldCase(ref)).second) {
                    continue;
                }
                auto row = c.findList(program_, scope_, ref);
                if (row && admits(*row)) {
                    names.push_back(row->name);
                }
            }
        }
    } else {
        for (const auto& row : c.rowsOf(kGlobalCommands, kGlobalCommands, false)) {
            if (row.isList() && admits(row)) {
                names.push_back(row.name);
            }
        }
    }
    int selected = std::max(0, indexOf(names, listName_.value_or(commandName_)));
    if (names.empty()) {
        names.push_back(kNothingToShow);
    }
    showList(Tab::Lists, std::move(names), selected);
}

void Browser::buildRecentlyCreated() {
    createdRows_.clear();
    std::vector<std::string> entries;
    session_.catalogue.visitCommandsNewestFirst([&](const UserRow& row) {
        if (admits(row)) {
            createdRows_.push_back({row.menu, row.state, row.name});
            entries.push_back(recentEntryText(row.name, row.menu));
        }
        return createdRows_.size() < kRecentlyCreatedRows;
    });
    if (entries.empty()) {
        entries.push_back(kNothingToShow);
    }
    showList(Tab::RecentlyCreated, std::move(entries), list(Tab::RecentlyCreated).selected);
}

void Browser::buildRecentlyModified() {
    modifiedRows_.clear();
    std::vector<std::string> entries;
    for (const auto& text : recent_.entries()) {
        RecentEntry e;
        if (RecentlyUsed::split(text, e)) {
            entries.push_back(recentEntryText(e.name, e.program));
            modifiedRows_.push_back(std::move(e));
        }
    }
    if (entries.empty()) {
        entries.push_back(kNothingToShow);
    }
    showList(Tab::RecentlyModified, std::move(entries), list(Tab::RecentlyModified).selected);
}

void Browser::restoreSelection(const std::string& program, const std::string& scope) {
    if (program.empty()) {
        return;
    }
    if (!equalsNoCase(program, program_)) {
        program_ = program;
        buildScopeMenu(program);
    }
    scope_ = scope;
    ++rev_.selection;
    changed();
}

void Browser::changeTab(Tab tab) {
    Batch batch(*this);
    tab_ = tab;
    ++rev_.selection;
    changed();
    EntryList& l = listOf(tab);
    switch (tab) {
    case Tab::Commands:
        restoreSelection(l.program, l.scope);
        break;
    case Tab::Lists:
        if (l.stale) {
            // The LIST list is made from the command list: build it for that list's Program
            // and Scope, whichever a Recently tab selected since.
            const EntryList& commands = list(Tab::Commands);
            restoreSelection(commands.program, commands.scope);
            buildListList();
        } else {
            restoreSelection(l.program, l.scope);
        }
        break;
    case Tab::RecentlyCreated:
        if (l.stale) {
            buildRecentlyCreated();
        }
        break;
    case Tab::RecentlyModified:
        if (l.stale) {
            buildRecentlyModified();
        }
        break;
    }
    previewSelected(tab);
}

void Browser::clickEntry(Tab tab, int index) {
    Batch batch(*this);
    EntryList& l = listOf(tab);
    if (index < 0 || index >= static_cast<int>(l.entries.size())) {
        return;
    }
    if (l.selected != index) {
        l.selected = index;
        ++rev_.lists[static_cast<std::size_t>(tab)];
        changed();
    }
    previewEntry(tab, index);
}

// Preview

void Browser::previewSelected(Tab tab) {
    const EntryList& l = list(tab);
    if (l.selected >= 0) {
        previewEntry(tab, l.selected);
    }
}

void Browser::previewEntry(Tab tab, int index) {
    const EntryList& l = list(tab);
    std::string name;
    std::optional<UserRow> row;
    Catalogue& c = session_.catalogue;
    if (tab == Tab::Commands || tab == Tab::Lists) {
        name = l.entries.at(static_cast<std::size_t>(index));
        row = tab == Tab::Commands ? c.findCommand(program_, scope_, name)
                                   : c.findList(program_, scope_, name);
    } else {
        const auto& table = tab == Tab::RecentlyCreated ? createdRows_ : modifiedRows_;
        if (static_cast<std::size_t>(index) >= table.size()) {
            name = l.entries.at(static_cast<std::size_t>(index)); // the placeholder
        } else {
            const RecentEntry& e = table[static_cast<std::size_t>(index)];
            name = e.name;
            restoreSelection(e.program, e.scope);
            row = c.findRow(program_, scope_, name);
        }
    }
    commandName_ = name;
    if (!row) {
        setPreview(previewMissing(name, program_, scope_));
        return;
    }
    Preview shown = previewRow(*row, session_.file.languageName,
                               [&c](std::int64_t id) { return c.stateName(id); });
    if (highlight_ && highlight_->rowId == row->id) {
        shown.highlight = shownHighlight(*row, highlight_->position, highlight_->length);
    }
    setPreview(std::move(shown));
}

void Browser::setPreview(Preview preview) {
    preview_ = std::move(preview);
    graphic_.reset();
    ++rev_.preview;
    changed();
}

void Browser::showGraphic() {
    Batch batch(*this);
    if (!preview_.rowId || preview_.typeCode != "T" || !preview_.enabled.showGraphic) {
        return;
    }
    UserInteraction& ui = session_.ui;
    ui.status("Processing Formatted Command");
    auto row = session_.catalogue.rowById(*preview_.rowId);
    const std::string& path = session_.file.path;
    std::string block;
    if (row) {
        if (auto image = files::readAll(path)) {
            try {
                dat::ByteReader in(*image, row->offsetbody);
                block = in.countedString();
            } catch (const dat::FormatError&) {
                block.clear();
            }
        }
    }
    if (block.rfind("{\\rtf", 0) != 0) {
        ui.status("");
        ui.warning("The formatted part of this command cannot be read from the command file. "
                   "Reload the file and try again.",
                   path);
        return;
    }
    graphic_ = rtfToHtml(block);
    preview_.enabled.showGraphic = false;
    ++rev_.preview;
    changed();
    ui.status("");
}

// Recently used

void Browser::recordRecentlyUsed(bool check) {
    recordRecentlyUsed({program_, scope_, commandName_}, preview_.typeCode, check);
}

void Browser::recordRecentlyUsed(const RecentEntry& entry, const std::string& typeCode,
                                 bool check) {
    Batch batch(*this);
    recent_.update(entry.program, entry.scope, entry.name, typeCode, check);
    markStale(Tab::RecentlyModified);
    if (tab_ == Tab::RecentlyModified) {
        buildRecentlyModified();
    }
}

void Browser::outputRecentlyUsed() {
    Batch batch(*this);
    Catalogue& c = session_.catalogue;
    recent_.output(
        [&c](const RecentEntry& e) { return c.findRow(e.program, e.scope, e.name).has_value(); },
        session_.trace);
    markStale(Tab::RecentlyModified);
    if (tab_ == Tab::RecentlyModified) {
        buildRecentlyModified();
    }
}

// Voice commands and the slider

void Browser::recognised(int id, const std::string& words) {
    Batch batch(*this);
    if (id >= kVoiceCommands && id <= kVoiceRecentlyModified) {
        clearHighlight();
        changeTab(static_cast<Tab>(id - 1));
    } else if (id == kVoiceSlider) {
        if (auto value = VoiceMenus::sliderValue(words)) {
            setSlider(*value);
        }
    }
}

void Browser::setSlider(int value) {
    Batch batch(*this);
    slider_ = clampSlider(value);
    settings_.write("slider", std::to_string(slider_));
    ++rev_.selection;
    changed();
}

void Browser::setNumberMenus(bool on) {
    Batch batch(*this);
    numberMenus_ = on;
    settings_.write("number menus", on ? "True" : "False");
    voice_.setNumbering(on);
    changed();
}

} // namespace plv::browser
