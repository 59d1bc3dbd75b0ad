// Times `lint` of the generated 50,000-record command file (the file read and checked, as the
// terminal tool does it) next to one parse of the file into an empty catalogue in the same run.
#include "catalogue/catalogue.h"
#include "datfile/reader.h"
#include "dragon/stand_in.h"
#include "editing/lint.h"
#include "generated_file.h"
#include "platform/files.h"
#include "timing.h"

#include <cstdio>
#include <filesystem>
#include <map>

using namespace plv;

int main() {
    std::string home = bench::makeBenchHome("parlavista-lint-bench-");
    std::string image = bench::generateCommandFile(42);
    std::string path = files::join(home, "mycmds.dat");
    std::string db = files::join(home, "global.mdb");
    files::writeAll(path, image);

    bench::ConsoleMessages ui;
    Trace trace;
    trace.open(home);
    double parseMs = bench::medianMs([&](int) {
        files::remove(db);
        Catalogue catalogue(db);
        Session session(catalogue, ui, trace, home);
        return dat::parse(session, true, path) == dat::ParseStatus::Parsed;
    });

    Catalogue scratch(":memory:");
    Session session(scratch, ui, trace, home);
    std::size_t problems = 0;
    double lintMs = bench::medianMs([&](int) {
        auto contents = dat::readContentsOf(session, path);
        if (!contents) {
            return false;
        }
        problems = editing::lint(*contents, dragon::checkLegacyScript).size();
        return true;
    });
    auto contents = dat::readContentsOf(session, path);
    double checkMs = bench::medianMs(
        [&](int) { return !editing::lint(*contents, dragon::checkLegacyScript).empty(); });

    std::printf("file: %d records, %.1f MB; %zu problems found\n", bench::kCommands + bench::kLists,
                static_cast<double>(image.size()) / 1e6, problems);
    std::map<std::string, int> byCheck;
    for (const auto& p : editing::lint(*contents, dragon::checkLegacyScript)) {
        ++byCheck[p.check];
    }
    for (const auto& [check, n] : byCheck) {
        std::printf("  %-18s %6d\n", check.c_str(), n);
    }
    std::printf("one parse into an empty catalogue: %9.2f ms\n", parseMs);
    std::printf("lint (read, checked):              %9.2f ms  = %5.2f x one parse\n", lintMs,
                lintMs / parseMs);
    std::printf("  the checks alone:                %9.2f ms\n", checkMs);
    std::error_code ec;
    std::filesystem::remove_all(home, ec);
    return 0;
}
