#pragma once

#include "browser/browser.h"
#include "browser/startup.h"
#include "gui/command_line.h"
#include "gui/qt_waits.h"

#include <memory>

namespace plv::gui {

class MainWindow;
class QtInteraction;

// One run of the program: start-up, the browser over the catalogue, and the main window.
class Application {
  public:
    // Messages go to `ui` when given (tests), else to Qt dialogs.
    explicit Application(CommandLine line, UserInteraction* ui = nullptr);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Runs the start-up and, when it succeeds, shows the window on its first selection.
    browser::StartupStatus start();

    MainWindow* window() const { return window_.get(); }
    browser::Browser* browser() const { return browser_.get(); }
    browser::Startup& startup() { return *startup_; }
    const browser::StartupResult& started() const { return started_; }
    // The waits while Dragon works, and the window lookup they poll.
    Waits& waits() { return waits_; }
    bool windowExists(const std::string& title);

  private:
    CommandLine line_;
    std::unique_ptr<QtInteraction> qtUi_;
    UserInteraction* ui_;
    std::unique_ptr<browser::Startup> startup_;
    std::unique_ptr<browser::Browser> browser_;
    browser::StartupResult started_;
    std::unique_ptr<MainWindow> window_;
    QtWaits waits_;
};

} // namespace plv::gui
