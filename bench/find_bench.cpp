// Times Find Again from the first to the last hit of a body search on the generated
// 50,000-record file: the walk to each next hit, and the whole step as the window takes it
// (the hit's Program and Scope selected, its lists rebuilt and its preview shown). The floor
// is one lookup of a row by Program, Scope and name, measured in the same run.
#include "browser/browser.h"
#include "catalogue/catalogue.h"
#include "datfile/reader.h"
#include "generated_file.h"
#include "platform/files.h"

#include <chrono>
#include <cstdio>
#include <filesystem>

using namespace plv;

namespace {

double milliseconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

template <typename F> double timed(F work) {
    auto start = std::chrono::steady_clock::now();
    work();
    return milliseconds(std::chrono::steady_clock::now() - start);
}

} // namespace

int main() {
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
    const std::string text = "dr. 31";

    // The walk alone, hit after hit, as Find Again runs it.
    browser::Finder finder(catalogue, ui);
    finder.setText(text);
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
    if (hits.empty()) {
        std::fprintf(stderr, "no hits\n");
        return 1;
    }

    // The same steps through the window's state: each hit selected and shown.
    Settings settings(home);
    browser::Browser window(session, settings);
    window.buildMenus();
    window.start(kGlobalCommands, kGlobalCommands);
    window.finder().setText(text);
    window.finder().setColumn(browser::FindIn::Body);
    std::size_t shown = 0;
    double first = timed([&] { shown += window.find(browser::FindStep::First); });
    double again = 0;
    double slowest = 0;
    for (bool found = true; found;) {
        double step = timed([&] { found = window.find(browser::FindStep::Again); });
        again += step;
        slowest = std::max(slowest, step);
        shown += found;
    }

    double floor = timed([&] {
                       for (const auto& hit : hits) {
                           catalogue.findRow(hit.menu, hit.state, hit.name);
                       }
                   }) /
                   static_cast<double>(hits.size());

    double perWalk = walk / static_cast<double>(hits.size());
    double perShown = again / static_cast<double>(shown);
    std::printf("file: %lld rows; body search \"%s\": %zu hits (window: %zu)\n",
                static_cast<long long>(catalogue.countCommands() + catalogue.countFileLists()),
                text.c_str(), hits.size(), shown);
    std::printf("floor, one row looked up by Program, Scope, name: %8.3f ms\n", floor);
    std::printf("walk to the next hit:                            %8.3f ms  (%.1f x floor)\n",
                perWalk, perWalk / floor);
    std::printf("Find Again, hit selected and shown:              %8.3f ms  (%.1f x floor)\n",
                perShown, perShown / floor);
    std::printf("slowest Find Again (into another Scope):         %8.3f ms\n", slowest);
    std::printf("first Find, hit shown:                           %8.3f ms\n", first);
    std::error_code ec;
    std::filesystem::remove_all(home, ec);
    return shown == hits.size() ? 0 : 1;
}
