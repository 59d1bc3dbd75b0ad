#include "editing/editor.h"

#include <utility>

namespace plv::editing {
namespace {

constexpr int kFullSlider = 10;
constexpr int kEditingSlider = 8;
constexpr const char* kEmptyTemplate = "Sub Main\r\n\t\r\nEnd Sub\r\n";
constexpr std::size_t kAfterTemplateTab = 11;

} // namespace

Editor::Editor(Road& road, BrowsingView& view) : road_(road), view_(view) {
    road_.onRefreshed = [this] {
        std::optional<int> tab = refreshTab_;
        refreshTab_.reset();
        view_.refreshed(tab);
    };
}

void Editor::changed() {
    if (observer_) {
        observer_();
    }
}

void Editor::bodyEdited(const std::string& text) {
    if (state_.editing && !state_.bodyLocked) {
        state_.body = text;
    }
}

void Editor::descriptionEdited(const std::string& text) {
    if (!state_.editing && (text.empty() || !view_.shown().exists)) {
        changed(); // the box shows the entry's description again
        return;
    }
    if (!state_.editing) {
        loadShown();
    }
    // A LIST carries no description.
    if (state_.typeCode == "L") {
        state_.description.clear();
        changed();
        return;
    }
    state_.description = text;
    if (!text.empty()) {
        state_.descriptionChanged = true;
    }
    if (!state_.editing) {
        enterEditMode(false);
    }
    changed();
}

void Editor::groupEdited(const std::string& text) {
    if (!state_.editing && !view_.shown().exists) {
        changed();
        return;
    }
    if (!state_.editing) {
        loadShown();
    }
    if (state_.typeCode == "L" || text == state_.initialGroup) {
        // A LIST's Group is not its own to change.
        state_.group = state_.initialGroup;
        changed();
        return;
    }
    state_.group = text;
    state_.groupChanged = true;
    if (!state_.editing) {
        enterEditMode(false);
    }
    changed();
}

void Editor::loadShown() {
    BrowsingView::Shown shown = view_.shown();
    state_.body = state_.initialBody = shown.body;
    state_.storedBody = shown.storedBody;
    state_.description = state_.initialDescription = shown.description;
    state_.group = state_.initialGroup = shown.group;
    state_.typeCode = shown.typeCode;
    state_.bodyLocked = shown.encrypted;
}

void Editor::prepareNew(const std::string& name, const std::string& type,
                        EditState::PendingEntry entry) {
    state_.newPending = true;
    state_.pendingName = name;
    state_.typeCode = type;
    state_.pendingEntry = std::move(entry);
}

void Editor::prepareConversion(const std::string& type) {
    loadShown();
    state_.convertToPlain = type == "P";
    state_.convertToAdvanced = type == "A";
    state_.typeCode = type;
}

void Editor::enterEditMode(bool focusBody) {
    state_.editing = true;
    if (view_.slider() == kFullSlider) {
        view_.setSlider(kEditingSlider);
    }
    if (focusBody) {
        ++state_.focusRequests;
    }
    if (state_.typeCode == "A" && state_.body == kEmptyTemplate) {
        state_.caret = kAfterTemplateTab;
    }
    changed();
}

void Editor::leaveEditMode() {
    EditState fresh;
    fresh.nextList = std::move(state_.nextList);
    fresh.busy = state_.busy;
    fresh.focusRequests = state_.focusRequests;
    state_ = std::move(fresh);
    changed();
}

std::string Editor::takeNextList() {
    return std::exchange(state_.nextList, std::string());
}

Operation::Operation(Editor& editor, bool keepsNextList) : editor_(editor) {
    EditState& state = editor_.state();
    if (state.busy) {
        return;
    }
    started_ = true;
    state.busy = true;
    if (!keepsNextList) {
        state.nextList.clear();
    }
    editor_.changed();
}

Operation::~Operation() {
    if (started_) {
        editor_.state().busy = false;
        editor_.changed();
    }
}

Outcome readyForCommand(Editor& e, const Operation& op) {
    if (!op.started() || e.state().editing) {
        return Outcome::Refused;
    }
    return e.road().refreshIfChanged();
}

} // namespace plv::editing
