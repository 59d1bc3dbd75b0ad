// Times one Update1Body splice and one full rewrite of a generated 50,000-record command
// file, each next to copying the same file once (the I/O floor).
#include "catalogue/catalogue.h"
#include "datfile/reader.h"
#include "datfile/rewrite_full.h"
#include "generated_file.h"
#include "platform/files.h"
#include "timing.h"

#include <cstdio>
#include <filesystem>

using namespace plv;
using namespace plv::dat;

namespace {

constexpr int kRuns = 7;
using bench::ConsoleMessages;
using bench::kCommands;
using bench::kLists;
using bench::medianMs;

} // namespace

int main() {
    std::string home = bench::makeBenchHome("parlavista-rewrite-bench-");
    std::string path = files::join(home, "mycmds.dat");
    files::writeAll(path, bench::generateCommandFile(7));
    std::uint64_t size = files::size(path).value_or(0);

    ConsoleMessages ui;
    Trace trace;
    trace.open(home);
    Catalogue catalogue(files::join(home, "global.mdb"));
    Session session(catalogue, ui, trace, home);
    if (parse(session, true, path) != ParseStatus::Parsed) {
        std::fprintf(stderr, "the generated file did not parse\n");
        return 1;
    }
    std::string copy = files::join(home, "copy.dat");
    double copyMs = medianMs([&](int) { return files::copyFile(path, copy); });
    double flushedMs = medianMs([&](int) { return files::copyFileAtomically(path, copy); });

    // The body grows and shrinks in turn, so every run moves the rows behind it; the moved
    // positions keep the catalogue valid for the next run.
    auto row = catalogue.findCommand(kGlobalCommands, kGlobalCommands, "command number 22500");
    double spliceMs = medianMs([&](int run) {
        std::string body = std::string(run % 2 ? 40 : 400, 'b');
        return Update1Body(session, *row, body, Positions::Move) == Outcome::Done;
    });
    double fullMs = medianMs([&](int) {
        FullRewritePlan plan;
        plan.traceWord = "rewrite";
        return runFullRewrite(session, plan) == Outcome::Done;
    });
    double refreshMs = medianMs([&](int) { return refreshAfterWrite(session) == Outcome::Done; });

    std::printf("file: %d records (%d commands, %d LISTs), %llu bytes; median of %d runs\n",
                kCommands + kLists, kCommands, kLists, static_cast<unsigned long long>(size),
                kRuns);
    std::printf("copy of the file (I/O floor):    %8.2f ms\n", copyMs);
    std::printf("copy flushed to disk:            %8.2f ms\n", flushedMs);
    std::printf("Update1Body splice:              %8.2f ms  = %5.2f x copy, %5.2f x flushed copy\n",
                spliceMs, spliceMs / copyMs, spliceMs / flushedMs);
    std::printf("full rewrite (no substitution):  %8.2f ms  = %5.2f x copy, %5.2f x flushed copy\n",
                fullMs, fullMs / copyMs, fullMs / flushedMs);
    std::printf("re-parse after a write:          %8.2f ms\n", refreshMs);
    std::error_code ec;
    std::filesystem::remove_all(home, ec);
    return 0;
}
