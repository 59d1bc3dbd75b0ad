// Times Replace All of 1,000 matches, spread over a generated 50,000-record command file, next
// to one full rewrite of the same file and to replacing the matches one at a time (each its
// own splice rewrite; timed over a few and scaled to 1,000).
#include "catalogue/catalogue.h"
#include "datfile/reader.h"
#include "datfile/rewrite_full.h"
#include "editing/search_replace.h"
#include "generated_file.h"
#include "platform/files.h"
#include "timing.h"

#include <cstdio>
#include <filesystem>

using namespace plv;
using namespace plv::dat;

namespace {

constexpr int kMatches = 1000;
constexpr int kSingles = 20;

// The first kMatches KEYS, SCRIPT and Advanced Scripting commands of every fifteenth row,
// so the changed bodies lie all over the file; each body says "Dear Dr." once.
void markSpread(Catalogue& catalogue) {
    catalogue.setFlagAll(false);
    catalogue.execute(R"(UPDATE "user" SET "flag" = 1 WHERE "ID" IN (SELECT "ID" FROM "user" )"
                      R"(WHERE "Type" IN ('K', 'S', 'A') AND "ID" % 15 = 0 ORDER BY "ID" LIMIT )" +
                      std::to_string(kMatches) + ")");
}

} // namespace

int main() {
    std::string home = bench::makeBenchHome("parlavista-replace-bench-");
    std::string path = files::join(home, "mycmds.dat");
    files::writeAll(path, bench::generateCommandFile(7));
    std::uint64_t size = files::size(path).value_or(0);

    bench::ConsoleMessages ui;
    Trace trace;
    trace.open(home);
    Catalogue catalogue(files::join(home, "global.mdb"));
    Session session(catalogue, ui, trace, home);
    if (parse(session, true, path) != ParseStatus::Parsed) {
        std::fprintf(stderr, "the generated file did not parse\n");
        return 1;
    }
    markSpread(catalogue);

    double fullMs = bench::medianMs([&](int) {
        FullRewritePlan plan;
        plan.traceWord = "rewrite";
        return runFullRewrite(session, plan) == Outcome::Done;
    });
    refreshAfterWrite(session);
    markSpread(catalogue);

    // Each run turns the texts back, so every run replaces the same 1,000 matches; Replace
    // All keeps the catalogue describing the file, so no parse comes between the runs.
    std::size_t replaced = 0;
    double allMs = bench::medianMs([&](int run) {
        editing::SearchReplace search(session);
        search.setTexts(run % 2 ? "Dear Doctor" : "Dear Dr.", run % 2 ? "Dear Dr." : "Dear Doctor",
                        true);
        bool ok = search.replaceAll() == Outcome::Done;
        replaced = search.replacements();
        return ok && replaced == kMatches;
    });

    editing::SearchReplace single(session);
    single.setTexts("Dear", "Dear", true);
    single.findNext();
    double singleMs = bench::medianMs(
        [&](int) {
            for (int i = 0; i < kSingles; ++i) {
                if (single.replace() != Outcome::Done) {
                    return false;
                }
            }
            return true;
        },
        3);

    std::printf("file: %d records, %llu bytes; %zu matches in %d commands\n",
                bench::kCommands + bench::kLists, static_cast<unsigned long long>(size), replaced,
                kMatches);
    std::printf("one full rewrite:                    %9.2f ms\n", fullMs);
    std::printf("Replace All, one rewrite:            %9.2f ms  = %5.2f x full rewrite\n", allMs,
                allMs / fullMs);
    double oneByOne = singleMs / kSingles * kMatches;
    std::printf("one at a time (%d timed, scaled):    %9.2f ms  = %5.2f x full rewrite\n", kSingles,
                oneByOne, oneByOne / fullMs);
    std::error_code ec;
    std::filesystem::remove_all(home, ec);
    return 0;
}
