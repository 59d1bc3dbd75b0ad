#pragma once

#include "dragon/demo_root.h"
#include "dragon/dragon_root.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "support/fixtures.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace plv::test {

// A fresh demo Dragon root and an empty program folder beside it, for one test.
// Both below `under` when given (a folder with a name of its own, with '/' between parts).
struct DemoDragon {
    explicit DemoDragon(const std::string& under = "")
        : root(dir.file(platformPath(under + "root"))),
          home(dir.file(platformPath(under + "home"))) {
        auto written = dragon::writeDemoRoot(root);
        if (!written.ok) {
            throw std::runtime_error(written.message);
        }
    }
    // Another trained user, with a copy of the demo user's file, becomes the current one.
    void switchUser(const std::string& name) const {
        addUser(name, files::readAll(commandFile()).value_or(""));
        set(nsuser(), "Settings", "Current User", name);
        setEngine("current speaker", name);
        set(engine(), "Speaker Languages", name, "1033");
    }

    TempDir dir;
    std::string root;
    std::string home;

    dragon::DragonRoot dragonRoot() const { return {root}; }
    std::string common() const { return dragon::dragonDataFolder(dragonRoot().commonAppData()); }
    std::string user() const { return dragon::dragonDataFolder(dragonRoot().userAppData()); }
    std::string nssystem() const { return files::join(common(), "nssystem.ini"); }
    std::string nsuser() const { return files::join(user(), "nsuser.ini"); }
    std::string log() const { return files::join(user(), "dragon.log"); }
    std::string engine() const { return dragonRoot().engineIni(); }
    std::string users() const { return files::join(common(), "Users"); }
    std::string current(const std::string& name = dragon::kDemoUser) const {
        return files::join(files::join(users(), name), "current");
    }
    std::string commandFile(const std::string& name = dragon::kDemoUser) const {
        return files::join(current(name), "mycmds.dat");
    }

    // Dragon's note in the user's local.ini that the command file has changed.
    std::optional<std::string> commandsChanged() const {
        return Profile(files::join(current(), "local.ini")).get("Options", "MyCommands Changed");
    }
    // parlavista-cli words for this root: --dragon-root and --home.
    std::vector<std::string> rootOptions() const { return {"--dragon-root", root, "--home", home}; }

    static void set(const std::string& ini, const std::string& section, const std::string& key,
                    const std::string& value) {
        Profile(ini).write(section, key, value);
    }
    void setEngine(const std::string& key, const std::string& value) const {
        set(engine(), "Engine", key, value);
    }
    // A second trained user with its own command file.
    void addUser(const std::string& name, const std::string& image) const {
        files::makeDirectories(current(name));
        files::writeAll(files::join(current(name), "mycmds.dat"), image);
    }
};

} // namespace plv::test
