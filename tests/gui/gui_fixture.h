#pragma once

#include "dragon/root_fixture.h"
#include "gui/application.h"
#include "gui/main_window.h"

#include <QAction>
#include <QDialog>
#include <QListWidget>
#include <QMenu>
#include <QStringList>
#include <functional>
#include <memory>
#include <ostream>
#include <string>

// Readable QStrings in test failures.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList& texts, std::ostream* out) {
    *out << '[' << texts.join(", ").toStdString() << ']';
}

namespace plv::test {

// The program on a fresh copy of the demo Dragon root, with scripted answers to its
// questions: start it, look at the window, stop it, start it again.
struct GuiRun {
    // Starts the program; false when the start-up did not open the window.
    bool start(const std::string& argument = "global commands");
    // Closes the window (the shut-down) and ends the run.
    void stop();
    ~GuiRun() { stop(); }

    gui::MainWindow& window() const { return *app->window(); }
    browser::Browser& browser() const { return *app->browser(); }
    QStringList entries(browser::Tab tab) const;
    // Clicks the entry with this text; false when it is not listed.
    bool click(browser::Tab tab, const QString& text) const;
    // The captions of a menu's entries, separators left out, accelerators kept.
    static QStringList captions(const QMenu* menu);
    // Opens and closes a menu as the user does, so that it runs its on-open work.
    static void openMenu(QMenu* menu);
    // Triggers the entry of a menu whose caption, without its number, is `value`.
    static bool choose(QMenu* menu, const QString& value);
    // Triggers the entry; `work` works the modal dialog it opens while it is open, and a
    // dialog the work leaves open is cancelled.
    static void withDialog(QAction* entry, const std::function<void(QDialog&)>& work);
    // Makes the window the active one again, as the window manager does once a dialog has
    // gone (the offscreen platform leaves the hidden dialog active): its keys work again.
    static void activate(QWidget& window);
    // Clicks the button of this name near its left edge, where a radio button is clicked.
    static void press(QWidget& parent, const char* name);
    QString field(const char* name) const;

    DemoDragon dragon;
    ScriptedInteraction ui;
    std::unique_ptr<gui::Application> app;
};

} // namespace plv::test
