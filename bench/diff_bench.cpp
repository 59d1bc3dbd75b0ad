// Times `diff` of the generated 50,000-record command file against a copy with 1,000 changed
// bodies: both files read and compared, as the terminal tool does it, next to one parse of the
// file into an empty catalogue in the same run.
#include "catalogue/catalogue.h"
#include "datfile/compare.h"
#include "datfile/reader.h"
#include "datfile/update_bodies.h"
#include "generated_file.h"
#include "platform/files.h"
#include "timing.h"

#include <cstdio>
#include <filesystem>

using namespace plv;
using namespace plv::dat;

namespace {

constexpr int kChanged = 1000;

// Every fifteenth KEYS, SCRIPT and Advanced Scripting command, so the changes lie all over
// the file.
std::vector<BodyChange> spreadChanges(Catalogue& catalogue) {
    std::vector<BodyChange> changes;
    for (const auto& row : catalogue.allRows()) {
        bool editable = row.type == "K" || row.type == "S" || row.type == "A";
        if (editable && row.id % 15 == 0 && changes.size() < kChanged) {
            changes.push_back({row, row.script + "{Enter}Yours sincerely"});
        }
    }
    return changes;
}

} // namespace

int main() {
    std::string home = bench::makeBenchHome("parlavista-diff-bench-");
    std::string image = bench::generateCommandFile(42);
    std::string aPath = files::join(home, "a.dat");
    std::string bPath = files::join(home, "b.dat");
    std::string db = files::join(home, "global.mdb");
    files::writeAll(aPath, image);
    files::writeAll(bPath, image);

    bench::ConsoleMessages ui;
    Trace trace;
    trace.open(home);
    {
        Catalogue catalogue(db);
        Session session(catalogue, ui, trace, home);
        if (parse(session, true, bPath) != ParseStatus::Parsed ||
            UpdateBodies(session, spreadChanges(catalogue), "bench") != Outcome::Done) {
            std::fprintf(stderr, "the copy was not changed\n");
            return 1;
        }
    }

    double parseMs = bench::medianMs([&](int) {
        files::remove(db);
        Catalogue catalogue(db);
        Session session(catalogue, ui, trace, home);
        return parse(session, true, aPath) == ParseStatus::Parsed;
    });

    Catalogue scratch(":memory:");
    Session session(scratch, ui, trace, home);
    Comparison found;
    double diffMs = bench::medianMs([&](int) {
        auto a = readContentsOf(session, aPath);
        auto b = readContentsOf(session, bPath);
        if (!a || !b) {
            return false;
        }
        found = compareContents(*a, *b);
        return found.commands.size() == kChanged;
    });
    auto a = readContentsOf(session, aPath);
    auto b = readContentsOf(session, bPath);
    double readMs =
        bench::medianMs([&](int) { return readContentsOf(session, aPath).has_value(); });
    double compareMs = bench::medianMs([&](int) { return !compareContents(*a, *b).same(); });

    std::printf("file: %d records, %.1f MB; the copy has %zu changed bodies\n",
                bench::kCommands + bench::kLists, static_cast<double>(image.size()) / 1e6,
                found.commands.size());
    std::printf("one parse into an empty catalogue: %9.2f ms\n", parseMs);
    std::printf("diff (both read, compared):        %9.2f ms  = %5.2f x one parse\n", diffMs,
                diffMs / parseMs);
    std::printf("  reading one file:                %9.2f ms\n", readMs);
    std::printf("  comparing the contents:          %9.2f ms\n", compareMs);
    std::error_code ec;
    std::filesystem::remove_all(home, ec);
    return 0;
}
