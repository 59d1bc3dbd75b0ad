#pragma once

#include "browser/startup.h"
#include "dragon/root_fixture.h"
#include "editing/road.h"
#include "platform/interaction.h"
#include "platform/waits.h"

#include <memory>
#include <stdexcept>
#include <string>

namespace plv::test {

// The program started without a window on a fresh demo Dragon root, and the editing road
// over the current user's file, with scripted answers.
struct DemoRoad {
    explicit DemoRoad(bool startNow = true) {
        if (startNow) {
            start();
        }
    }
    ~DemoRoad() { stop(); }

    void start() {
        browser::StartupOptions options;
        options.home = dragon.home;
        options.dragonRoot = dragon.root;
        options.argument = "global commands";
        startup = std::make_unique<browser::Startup>(options, ui);
        browser::StartupHooks hooks;
        hooks.offerImport = [](browser::ImportOffer) { return false; };
        started = startup->run(hooks);
        if (!started.started()) {
            throw std::runtime_error("the demo root did not start");
        }
        editing::DragonSide side{startup->controls(), &startup->environment(),
                                 started.mergeProgram};
        road =
            std::make_unique<editing::Road>(startup->session(), waits, side, &startup->settings());
    }
    void stop() {
        road.reset();
        if (startup) {
            startup->shutDown(started.placement);
        }
        startup.reset();
    }

    Session& session() { return startup->session(); }
    dragon::StandInDragon& standIns() { return *startup->standIns(); }
    std::string file() const { return files::readAll(dragon.commandFile()).value_or(""); }
    std::string home(const std::string& name) const {
        return files::readAll(files::join(dragon.home, name)).value_or("");
    }
    UserRow row(const std::string& program, const std::string& scope, const std::string& name) {
        auto found = startup->catalogue().findRow(program, scope, name);
        if (!found) {
            throw std::runtime_error("no row " + name);
        }
        return *found;
    }
    UserRow global(const std::string& name) { return row(kGlobalCommands, kGlobalCommands, name); }

    DemoDragon dragon;
    ScriptedInteraction ui;
    SleepingWaits waits;
    std::unique_ptr<browser::Startup> startup;
    browser::StartupResult started;
    std::unique_ptr<editing::Road> road;
};

} // namespace plv::test
