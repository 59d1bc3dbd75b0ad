#pragma once

#include "browser/editing_view.h"
#include "editing/editor.h"
#include "gui/main_window.h"
#include "gui/qt_waits.h"

#include <QTimer>

namespace plv::gui {

// What the window edits with: the editing road over the open file, the editor's state and
// the timer that listens for Dragon's speaker changes.
struct MainWindow::Editing {
    Editing(browser::Startup& startup, browser::Browser& browser,
            const browser::StartupResult& started);

    QtWaits waits;
    browser::EditingView view;
    editing::Road road;
    editing::Editor editor;
    QTimer speakerTimer;
    unsigned focusSeen = 0;
    bool wasEditing = false;
};

} // namespace plv::gui
