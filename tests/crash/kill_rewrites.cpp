// Kills rewrites of a multi-megabyte command file at random moments and checks what is left:
// the command file must read and be either the old file or the new one, byte for byte, and
// the temporary file a killed write leaves is gone after the next write.
//
//   kill_rewrites [--kills N] [--seed S]     (N kills, default 100; half splices, half full
//                                              rewrites; a fixed seed repeats the moments)
#include "catalogue/catalogue.h"
#include "datfile/builder.h"
#include "datfile/reader.h"
#include "datfile/rewrite_full.h"
#include "platform/files.h"
#include "platform/program_folder.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <ostream>
#include <random>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace plv;
using namespace plv::dat;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kCommands = 12000;
constexpr const char* kEdited = "command 6000";

std::string commandFile() {
    std::vector<CommandRecord> commands;
    for (int i = 0; i < kCommands; ++i) {
        std::string body = "{Ctrl+Home}Dear Dr. " + std::to_string(i) + std::string(i % 400, 'x');
        auto c = globalCommand("command " + std::to_string(i), kTypeKeys, textBody(body));
        c.group = "Group " + std::to_string(i % 9);
        commands.push_back(std::move(c));
    }
    return buildFile(Layout::V1011, commands, {listRecord("numbers", {"one", "two"})});
}

// The program folder and command file that every run starts from.
struct World {
    std::string home = files::makeTempFolder("parlavista-kill-");
    std::string path = files::join(home, "mycmds.dat");
    std::string database = files::join(home, "global.mdb");
    std::string catalogueCopy = files::join(home, "catalogue.start");
    std::string oldFile = commandFile();
    files::FileTime oldTime = 0;

    World() {
        files::copyFile(files::join(seedFolder(), "keynames"), files::join(home, "keynames"));
        files::writeAll(path, oldFile);
        oldTime = files::lastModified(path).value_or(0);
        Catalogue catalogue(database);
        SilentInteraction ui;
        Trace trace;
        Session s(catalogue, ui, trace, home);
        if (parse(s, true, path) != ParseStatus::Parsed) {
            std::fprintf(stderr, "the generated file did not parse\n");
            std::exit(2);
        }
        catalogue.setFlagAll(true);
    }
    ~World() {
        std::error_code ec;
        std::filesystem::remove_all(home, ec);
    }

    // The old file and the catalogue that describes it, as before any write.
    void reset() const {
        files::writeAll(path, oldFile);
        files::setLastModified(path, oldTime);
        files::remove(database + "-journal");
        files::copyFile(catalogueCopy, database);
    }
};

// One rewrite in this process, over the catalogue of the old file; `ready` is called when
// the catalogue is open and the writing starts.
bool rewrite(const World& w, bool splice, const std::function<void()>& ready = {}) {
    Catalogue catalogue(w.database);
    SilentInteraction ui;
    Trace trace;
    Session s(catalogue, ui, trace, w.home);
    auto row = catalogue.findCommand(kGlobalCommands, kGlobalCommands, kEdited);
    if (parse(s, false, w.path) != ParseStatus::Unchanged || !row) {
        return false;
    }
    if (ready) {
        ready();
    }
    if (splice) {
        return Update1Body(s, *row, std::string(300, 'n'), Positions::Move) == Outcome::Done;
    }
    FullRewritePlan plan;
    plan.traceWord = "RenameGroup";
    plan.substitution = [](const UserRow&, CommandRecord& record, std::ostream&) {
        record.group = "Renamed";
    };
    return runFullRewrite(s, plan) == Outcome::Done;
}

// The rewrite in a child process, killed `delay` after it starts writing (or left to finish
// when there is no delay). Returns how long the writing went on.
Clock::duration forkRewrite(const World& w, bool splice, std::optional<Clock::duration> delay) {
    int pipe[2];
    if (::pipe(pipe) != 0) {
        std::exit(2);
    }
    pid_t child = fork();
    if (child == 0) {
        ::close(pipe[0]);
        bool done = rewrite(w, splice, [&] { ::close(pipe[1]); });
        _exit(done ? 0 : 1);
    }
    ::close(pipe[1]);
    char byte = 0;
    ssize_t none = ::read(pipe[0], &byte, 1); // returns when the child starts writing
    ::close(pipe[0]);
    auto start = Clock::now();
    if (delay && none == 0) {
        std::this_thread::sleep_for(*delay);
        kill(child, SIGKILL);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (!delay && !(WIFEXITED(status) && WEXITSTATUS(status) == 0)) {
        std::fprintf(stderr, "a rewrite that was not killed failed\n");
        std::exit(2);
    }
    return Clock::now() - start;
}

struct Tally {
    int old = 0;
    int updated = 0;
    int leftovers = 0;
};

int argument(int argc, char** argv, const char* name, int fallback) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::string(argv[i]) == name) {
            return std::atoi(argv[i + 1]);
        }
    }
    return fallback;
}

} // namespace

int main(int argc, char** argv) {
    int kills = argument(argc, argv, "--kills", 100);
    int seed = argument(argc, argv, "--seed", 14);
    World w;
    files::copyFile(w.database, w.catalogueCopy);

    // Each rewrite's new file, and how long a whole run takes: the kills fall within it.
    std::string updated[2];
    Clock::duration longest[2] = {};
    for (int splice = 0; splice < 2; ++splice) {
        for (int run = 0; run < 3; ++run) {
            w.reset();
            longest[splice] = std::max(longest[splice], forkRewrite(w, splice, std::nullopt));
        }
        updated[splice] = files::readAll(w.path).value_or("");
        if (updated[splice] == w.oldFile || !readsToItsEnd(updated[splice])) {
            std::fprintf(stderr, "the rewrite did not change the file as it should\n");
            return 2;
        }
    }

    std::mt19937 rng(static_cast<unsigned>(seed));
    Tally tally[2];
    std::string temporary = files::join(w.home, "mycmds.Parlavista");
    for (int i = 0; i < kills; ++i) {
        bool splice = i % 2 == 0;
        w.reset();
        std::uniform_int_distribution<long long> moment(0, longest[splice].count());
        forkRewrite(w, splice, Clock::duration(moment(rng)));
        std::string now = files::readAll(w.path).value_or("");
        Tally& t = tally[splice];
        if (now == w.oldFile) {
            ++t.old;
        } else if (now == updated[splice] && readsToItsEnd(now)) {
            ++t.updated;
        } else {
            std::fprintf(stderr, "kill %d (%s) left a command file that is neither old nor new\n",
                         i, splice ? "splice" : "full rewrite");
            return 1;
        }
        if (files::exists(temporary) && ++t.leftovers == 1 &&
            (!rewrite(w, splice) || files::exists(temporary))) {
            std::fprintf(stderr, "the next write left the temporary file in place\n");
            return 1;
        }
    }
    const char* names[2] = {"full rewrite", "splice"};
    for (int splice = 1; splice >= 0; --splice) {
        const Tally& t = tally[splice];
        std::printf("%-12s %4d kills: %4d left the old file, %4d the new one, %4d a temporary "
                    "file (removed by the next write)\n",
                    names[splice], t.old + t.updated, t.old, t.updated, t.leftovers);
    }
    std::printf("%d kills, seed %d, file of %zu bytes: every command file read whole\n", kills,
                seed, w.oldFile.size());
    return 0;
}
