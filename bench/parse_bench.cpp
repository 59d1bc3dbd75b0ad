// Times parsing a generated 50,000-record command file into the catalogue, next to the
// database's own floor: the same rows inserted in one transaction into a plain `user`
// table of the same columns without indexes, through the catalogue's connection with one
// prepared insert of a row. The catalogue appends its rows sixteen to a statement; the same
// floor with that insert is printed as well, and the parse against it.
#include "catalogue/catalogue.h"
#include "datfile/reader.h"
#include "generated_file.h"
#include "platform/files.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>

using namespace plv;
using namespace plv::dat;

namespace {

const int kRuns = std::getenv("RUNS") ? std::atoi(std::getenv("RUNS")) : 5;

// Wall-clock and process time of one run, in seconds.
struct Timing {
    double wall = 1e9;
    double cpu = 1e9;
};

double processSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// The best of kRuns runs of `step` (the machine is shared: the best run is the one the
// others disturbed least). `prepare` runs untimed before each.
Timing best(const std::function<void()>& prepare, const std::function<void()>& step) {
    Timing out;
    for (int run = 0; run < kRuns; ++run) {
        prepare();
        double cpu = processSeconds();
        auto start = std::chrono::steady_clock::now();
        step();
        out.wall = std::min(
            out.wall,
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        out.cpu = std::min(out.cpu, processSeconds() - cpu);
    }
    return out;
}

void fail(const char* what) {
    std::fprintf(stderr, "%s\n", what);
    std::exit(1);
}

// The floor's table: the columns of `user` in one plain table, without an index.
std::string createPlainUser(Catalogue& c) {
    auto info = c.prepare(R"(SELECT "name", "type" FROM pragma_table_info('user') )"
                          R"(WHERE "name" <> 'ID')");
    std::string names;
    std::string columns;
    std::string values;
    while (info.step()) {
        std::string name = "\"" + info.text(0) + "\"";
        names += (names.empty() ? "" : ", ") + name;
        columns += ", " + name + " " + info.text(1);
        values += values.empty() ? "?" : ", ?";
    }
    c.execute(R"(CREATE TABLE "plain user" ("ID" INTEGER PRIMARY KEY AUTOINCREMENT)" + columns +
              ")");
    return R"(INSERT INTO "plain user" ()" + names + ") VALUES (" + values + ")";
}

void print(const char* label, const Timing& t, double records, const Timing& floor) {
    std::printf("%-34s %6.3f s (process %6.3f s) %9.0f records/s  %5.2f x floor\n", label, t.wall,
                t.cpu, records / t.wall, t.wall / floor.wall);
}

} // namespace

int main() {
    std::string home = bench::makeBenchHome("parlavista-bench-");
    std::string image = bench::generateCommandFile(42);
    std::string path = files::join(home, "mycmds.dat");
    std::string db = files::join(home, "global.mdb");
    files::writeAll(path, image);

    SilentInteraction ui;
    Trace trace;
    trace.open(home);
    std::vector<UserRow> rows;
    {
        Catalogue catalogue(db);
        Session session(catalogue, ui, trace, home);
        if (parse(session, true, path) != ParseStatus::Parsed) {
            fail("the generated file did not parse");
        }
        rows = catalogue.allRows();
    }

    std::unique_ptr<Catalogue> catalogue;
    auto fresh = [&] {
        catalogue.reset();
        files::remove(db);
        catalogue = std::make_unique<Catalogue>(db);
    };
    // The floor with `perStatement` rows to an insert (the last few one by one).
    auto timeFloor = [&](std::size_t perStatement) {
        std::string insertSql;
        return best(
            [&] {
                fresh();
                insertSql = createPlainUser(*catalogue);
            },
            [&] {
                catalogue->begin();
                std::string values = insertSql.substr(insertSql.find(" VALUES ") + 8);
                std::string manySql = insertSql;
                for (std::size_t k = 1; k < perStatement; ++k) {
                    manySql += ", " + values;
                }
                auto many = catalogue->prepare(manySql);
                auto one = catalogue->prepare(insertSql);
                std::size_t at = 0;
                for (; at + perStatement <= rows.size(); at += perStatement) {
                    int next = 1;
                    for (std::size_t k = 0; k < perStatement; ++k) {
                        next = bindUserColumns(many, rows[at + k], next);
                    }
                    many.run();
                }
                for (; at < rows.size(); ++at) {
                    bindUserColumns(one, rows[at], 1);
                    one.run();
                }
                catalogue->commit();
            });
    };
    Timing floor = timeFloor(1);
    Timing batchedFloor = timeFloor(16);
    auto parseStep = [&] {
        Session session(*catalogue, ui, trace, home);
        if (parse(session, true, path) != ParseStatus::Parsed) {
            fail("the generated file did not parse");
        }
    };
    Timing first = best(fresh, parseStep);
    // The parse after a write: the catalogue already holds the file's rows.
    Timing again = best([] {}, parseStep);
    catalogue.reset();

    double records = static_cast<double>(rows.size());
    std::printf("file: %zu records, %.1f MB; best of %d runs\n", rows.size(), image.size() / 1e6,
                kRuns);
    print("floor: rows into unindexed user", floor, records, floor);
    print("parse into an empty catalogue", first, records, floor);
    print("parse into a filled catalogue", again, records, floor);
    std::printf("against the floor with 16 rows to an insert:\n");
    print("floor, 16 rows to an insert", batchedFloor, records, batchedFloor);
    print("parse into an empty catalogue", first, records, batchedFloor);
    print("parse into a filled catalogue", again, records, batchedFloor);
    std::error_code ec;
    std::filesystem::remove_all(home, ec);
    return 0;
}
