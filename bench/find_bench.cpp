// Times Find Again from the first to the last hit of a body search with about 1,000 hits on
// the generated 50,000-record file: the walk to each next hit, the whole step as the browser
// takes it (the hit's Program and Scope selected, its lists rebuilt and its preview shown)
// and, where the window is built, F11 in the window's command list until the window has
// redrawn and painted (offscreen). The floor is one lookup of a row by Program, Scope and
// name, measured in the same run.
#include "browser/browser.h"
#include "catalogue/catalogue.h"
#include "datfile/reader.h"
#include "generated_file.h"
#include "platform/files.h"

#include <chrono>
#include <cstdio>
#include <filesystem>

#ifdef PARLAVISTA_BENCH_WINDOW
#include "dragon/demo_root.h"
#include "gui/application.h"
#include "gui/main_window.h"

#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#endif

using namespace plv;

namespace {

// "02" is in the body of every command whose number holds it: 997 of the generated file.
constexpr const char* kText = "02";
constexpr std::size_t kFewestHits = 900;
constexpr std::size_t kMostHits = 1100;

double milliseconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

template <typename F> double timed(F work) {
    auto start = std::chrono::steady_clock::now();
    work();
    return milliseconds(std::chrono::steady_clock::now() - start);
}

struct Steps {
    std::size_t hits = 0;
    double total = 0; // Find Again, first hit to last
    double slowest = 0;
    double perHit() const { return hits ? total / static_cast<double>(hits) : 0; }
};

// Find Again until "no more matches", timing the steps that found a hit; `again` runs one
// step and says whether it found one.
template <typename F> Steps walkAgain(F again) {
    Steps s;
    for (bool found = true; found;) {
        double step = timed([&] { found = again(); });
        if (found) {
            s.total += step;
            s.slowest = std::max(s.slowest, step);
            ++s.hits;
        }
    }
    return s;
}

#ifdef PARLAVISTA_BENCH_WINDOW
// The window on the generated file: F11 pressed and released in the command list, and the
// events that follow (the redraw and the paint) processed.
Steps windowSteps(const std::string& file, const std::string& work, std::size_t& first) {
    std::string root = files::join(work, "dragon");
    if (!dragon::writeDemoRoot(root).ok) {
        std::fprintf(stderr, "cannot write the demo root\n");
        std::exit(1);
    }
    gui::CommandLine line;
    line.startup.dragonRoot = root;
    line.startup.home = files::join(work, "window-home");
    line.startup.argument = file;
    SilentInteraction ui;
    gui::Application program(line, &ui);
    if (program.start() != browser::StartupStatus::Started) {
        std::fprintf(stderr, "the window did not start\n");
        std::exit(1);
    }
    QApplication::processEvents();
    browser::Browser& b = *program.browser();
    b.finder().setText(kText);
    b.finder().setColumn(browser::FindIn::Body);
    first = b.find(browser::FindStep::First);
    QApplication::processEvents();
    QListWidget* commands = program.window()->list(browser::Tab::Commands);
    return walkAgain([&] {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_F11, Qt::NoModifier);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_F11, Qt::NoModifier);
        QApplication::sendEvent(commands, &press);
        QApplication::sendEvent(commands, &release);
        QApplication::processEvents();
        return b.finder().canFindAgain();
    });
}
#endif

} // namespace

int main(int argc, char** argv) {
#ifdef PARLAVISTA_BENCH_WINDOW
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
#else
    (void)argc;
    (void)argv;
#endif
    std::string home = bench::makeBenchHome("parlavista-find-bench-");
    std::string path = files::join(home, "mycmds.dat");
    files::writeAll(path, bench::generateCommandFile(42));
    SilentInteraction ui;
    Trace trace;
    trace.open(home);
    Catalogue catalogue(files::join(home, "global.mdb"));
    Session session(catalogue, ui, trace, home);
    if (dat::parse(session, true, path) != dat::ParseStatus::Parsed) {
        std::fprintf(stderr, "the generated file did not parse\n");
        return 1;
    }

    // The walk alone, hit after hit, as Find Again runs it.
    browser::Finder finder(catalogue, ui);
    finder.setText(kText);
    finder.setColumn(browser::FindIn::Body);
    std::vector<UserRow> hits;
    auto all = [](const UserRow&) { return true; };
    double walk = timed([&] {
        std::optional<IndexKey> from;
        while (auto hit = finder.next(from, true, all)) {
            from = IndexKey::of(hit->row);
            hits.push_back(hit->row);
        }
    });
    if (hits.size() < kFewestHits || hits.size() > kMostHits) {
        std::fprintf(stderr, "body search \"%s\": %zu hits, not about 1,000\n", kText, hits.size());
        return 1;
    }

    // The same steps through the browser: each hit selected and shown.
    Settings settings(home);
    browser::Browser browser(session, settings);
    browser.buildMenus();
    browser.start(kGlobalCommands, kGlobalCommands);
    browser.finder().setText(kText);
    browser.finder().setColumn(browser::FindIn::Body);
    std::size_t found = 0;
    double first = timed([&] { found = browser.find(browser::FindStep::First); });
    Steps shown = walkAgain([&] { return browser.find(browser::FindStep::Again); });

    double floor = timed([&] {
                       for (const auto& hit : hits) {
                           catalogue.findRow(hit.menu, hit.state, hit.name);
                       }
                   }) /
                   static_cast<double>(hits.size());

    double perWalk = walk / static_cast<double>(hits.size());
    std::printf("file: %lld rows; body search \"%s\": %zu hits\n",
                static_cast<long long>(catalogue.countCommands() + catalogue.countFileLists()),
                kText, hits.size());
    std::printf("floor, one row looked up by Program, Scope, name:  %8.3f ms\n", floor);
    std::printf("walk to the next hit:                              %8.3f ms  (%.1f x floor, "
                "%zu hits)\n",
                perWalk, perWalk / floor, hits.size());
    std::printf("Find Again in the browser, hit selected and shown: %8.3f ms  (%.1f x floor, "
                "%zu hits)\n",
                shown.perHit(), shown.perHit() / floor, found + shown.hits);
    std::printf("  slowest (into another Scope):                    %8.3f ms\n", shown.slowest);
    std::printf("  first Find:                                      %8.3f ms\n", first);
    bool complete = found + shown.hits == hits.size();
#ifdef PARLAVISTA_BENCH_WINDOW
    std::size_t windowFirst = 0;
    Steps window = windowSteps(path, home, windowFirst);
    std::printf("F11 in the window, lists redrawn and painted:      %8.3f ms  (%.1f x floor, "
                "%zu hits)\n",
                window.perHit(), window.perHit() / floor, windowFirst + window.hits);
    std::printf("  slowest (into another Scope):                    %8.3f ms\n", window.slowest);
    complete = complete && windowFirst + window.hits == hits.size();
#endif
    std::error_code ec;
    std::filesystem::remove_all(home, ec);
    return complete ? 0 : 1;
}
