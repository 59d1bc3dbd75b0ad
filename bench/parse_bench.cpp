// Times parsing a generated 50,000-record command file into the catalogue, next to the
// database's own limit: the same rows appended with one prepared statement in one
// transaction.
#include "catalogue/catalogue.h"
#include "datfile/reader.h"
#include "generated_file.h"
#include "platform/files.h"

#include <chrono>
#include <cstdio>
#include <filesystem>

using namespace plv;
using namespace plv::dat;

namespace {

double seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

} // namespace

int main() {
    std::string home = bench::makeBenchHome("parlavista-bench-");
    std::string image = bench::generateCommandFile(42);
    std::string path = files::join(home, "mycmds.dat");
    files::writeAll(path, image);

    SilentInteraction ui;
    Trace trace;
    trace.open(home);
    double best = 1e9;
    std::vector<UserRow> rows;
    for (int run = 0; run < 3; ++run) {
        files::remove(files::join(home, "global.mdb"));
        Catalogue catalogue(files::join(home, "global.mdb"));
        Session session(catalogue, ui, trace, home);
        auto start = std::chrono::steady_clock::now();
        if (parse(session, true, path) != ParseStatus::Parsed) {
            std::fprintf(stderr, "the generated file did not parse\n");
            return 1;
        }
        best = std::min(best, seconds(std::chrono::steady_clock::now() - start));
        if (run == 0) {
            rows = catalogue.allRows();
        }
    }

    double baseline = 1e9;
    for (int run = 0; run < 3; ++run) {
        files::remove(files::join(home, "baseline.mdb"));
        Catalogue catalogue(files::join(home, "baseline.mdb"));
        auto start = std::chrono::steady_clock::now();
        catalogue.begin();
        for (auto row : rows) {
            catalogue.appendRow(row);
        }
        catalogue.commit();
        baseline = std::min(baseline, seconds(std::chrono::steady_clock::now() - start));
    }

    double records = static_cast<double>(rows.size());
    std::printf("file: %zu records, %.1f MB\n", rows.size(), image.size() / 1e6);
    std::printf("parse into catalogue:   %.3f s  %10.0f records/s\n", best, records / best);
    std::printf("SQLite insert baseline: %.3f s  %10.0f records/s\n", baseline, records / baseline);
    std::printf("ratio parse/baseline:   %.2f\n", best / baseline);
    std::error_code ec;
    std::filesystem::remove_all(home, ec);
    return 0;
}
