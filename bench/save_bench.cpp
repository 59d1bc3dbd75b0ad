// Times one Save Changes of a command's body on a generated 50,000-record command file, the
// whole road as the window travels it (file-changed check, daily backup, write, check of the
// new file, fast save through the stand-in merge program, refresh), less the time spent
// waiting for Dragon's merge; next to one parse of the same file.
#include "browser/browser.h"
#include "browser/editing_view.h"
#include "browser/startup.h"
#include "datfile/reader.h"
#include "dragon/demo_root.h"
#include "editing/commands.h"
#include "generated_file.h"
#include "platform/files.h"
#include "timing.h"

#include <chrono>
#include <cstdio>
#include <filesystem>

using namespace plv;

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The waits of the fast save, counted so that they can be taken out of the figure.
class CountedWaits : public SleepingWaits {
  public:
    void pause(int milliseconds) override {
        auto start = Clock::now();
        SleepingWaits::pause(milliseconds);
        waitedMs += msSince(start);
    }
    double waitedMs = 0;
};

struct Figures {
    double totalMs = 0;
    double waitedMs = 0;
    double roadMs() const { return totalMs - waitedMs; }
};

Figures saveOnce(editing::Editor& editor, CountedWaits& waits, int run) {
    editing::Modify(editor);
    editor.bodyEdited(std::string(run % 2 ? 40 : 400, 'b'));
    waits.waitedMs = 0;
    auto start = Clock::now();
    if (editing::SaveChanges(editor) != dat::Outcome::Done) {
        std::fprintf(stderr, "the save failed\n");
        std::exit(1);
    }
    return {msSince(start), waits.waitedMs};
}

} // namespace

int main() {
    std::string folder = bench::makeBenchHome("parlavista-save-bench-");
    std::string root = files::join(folder, "root");
    std::string home = files::join(folder, "home");
    if (!dragon::writeDemoRoot(root).ok) {
        std::fprintf(stderr, "the Dragon root could not be written\n");
        return 1;
    }
    std::string path =
        files::join(files::join(dragon::dragonDataFolder(dragon::DragonRoot{root}.commonAppData()),
                                "Users/Demo/current"),
                    "mycmds.dat");
    files::writeAll(path, bench::generateCommandFile(7));

    bench::ConsoleMessages ui;
    browser::StartupOptions options;
    options.home = home;
    options.dragonRoot = root;
    options.argument = "global commands";
    browser::Startup startup(options, ui);
    browser::StartupHooks hooks;
    hooks.offerImport = [](browser::ImportOffer) { return false; };
    auto started = startup.run(hooks);
    if (!started.started()) {
        std::fprintf(stderr, "the program did not start on the generated file\n");
        return 1;
    }
    Session& session = startup.session();
    double parseMs = bench::medianMs(
        [&](int) { return dat::parse(session, true, path) == dat::ParseStatus::Parsed; }, 3);

    CountedWaits waits;
    editing::Road road(session, waits,
                       {startup.controls(), &startup.environment(), started.mergeProgram},
                       &startup.settings());
    browser::Browser browser(session, startup.settings());
    browser.readSettings();
    browser.buildMenus();
    browser.setSelection(kGlobalCommands, kGlobalCommands, "command number 22500");
    browser.start(kGlobalCommands, kGlobalCommands);
    browser::EditingView view(browser);
    editing::Editor editor(road, view);

    Figures first = saveOnce(editor, waits, 0); // the day's first save takes the backup
    std::vector<Figures> later;
    for (int run = 1; run <= 3; ++run) {
        later.push_back(saveOnce(editor, waits, run));
    }
    std::sort(later.begin(), later.end(),
              [](const Figures& a, const Figures& b) { return a.roadMs() < b.roadMs(); });
    const Figures& median = later[later.size() / 2];

    std::printf("file: %d records (%d commands, %d LISTs), %llu bytes\n",
                bench::kCommands + bench::kLists, bench::kCommands, bench::kLists,
                static_cast<unsigned long long>(files::size(path).value_or(0)));
    std::printf("one parse of the file (median of 3):     %8.1f ms\n", parseMs);
    std::printf("Save Changes, first of the day (backup): %8.1f ms  = %5.2f x parse"
                "  (%.0f ms waiting for the merge left out)\n",
                first.roadMs(), first.roadMs() / parseMs, first.waitedMs);
    std::printf("Save Changes (median of 3 more):         %8.1f ms  = %5.2f x parse"
                "  (%.0f ms waiting for the merge left out)\n",
                median.roadMs(), median.roadMs() / parseMs, median.waitedMs);
    startup.shutDown(started.placement);
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    return 0;
}
