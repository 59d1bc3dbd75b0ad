#include "gui/application.h"

#include "gui/main_window.h"
#include "gui/qt_interaction.h"

namespace plv::gui {

Application::Application(CommandLine line, UserInteraction* ui) : line_(std::move(line)) {
    if (!ui) {
        qtUi_ = std::make_unique<QtInteraction>();
    }
    ui_ = ui ? ui : qtUi_.get();
    startup_ = std::make_unique<browser::Startup>(line_.startup, *ui_);
}

Application::~Application() {
    if (window_) {
        window_->close(); // the shut-down, when the window is still open
    }
    window_.reset();
    browser_.reset();
    startup_.reset();
}

browser::StartupStatus Application::start() {
    browser::StartupHooks hooks;
    // The voice menus are built while the catalogue is open but before the parse, so the
    // browser exists from that moment.
    hooks.buildVoiceMenus = [this] {
        browser_ = std::make_unique<browser::Browser>(startup_->session(), startup_->settings(),
                                                      startup_->controls().voice);
        browser_->buildVoiceMenus("Parlavista");
    };
    if (line_.screenshot) {
        // A picture for a bug report must not wait for an answer to the first-start offers.
        hooks.makeOffers = false;
    }
    started_ = startup_->run(hooks);
    if (!started_.started()) {
        return started_.status;
    }
    window_ = std::make_unique<MainWindow>(*startup_, *browser_, started_, qtUi_.get());
    window_->open(started_);
    return started_.status;
}

bool Application::windowExists(const std::string& title) {
    dragon::CommandEditor* editor = startup_->controls().editor;
    return gui::windowExists(title, editor && editor->isOpen());
}

} // namespace plv::gui
