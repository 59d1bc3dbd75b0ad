// Times one Update1Body splice and one full rewrite of a generated 50,000-record command
// file, each next to copying the same file once (the I/O floor).
#include "catalogue/catalogue.h"
#include "datfile/builder.h"
#include "datfile/reader.h"
#include "datfile/rewrite_full.h"
#include "platform/files.h"
#include "platform/program_folder.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <random>

using namespace plv;
using namespace plv::dat;

namespace {

constexpr int kCommands = 45000;
constexpr int kLists = 5000;
constexpr int kRuns = 7;

std::vector<BodyToken> bodyFor(int i, std::uint8_t type, std::mt19937& rng) {
    std::string text =
        "{Ctrl+Home}Dear Dr. " + std::to_string(i) + ",{Enter}" + std::string(rng() % 300, 'x');
    switch (type) {
    case kTypeText:
        return formattedBody("{\\rtf1\\ansi {\\b " + text + "}}", text);
    case kTypeRecorder:
        return RecorderBody().key(65, 0).key(65, 128).mouse(0, 10, 20).tokens();
    case kTypeStepByStep:
        return StepsBody().press('S', 2).wait(200).type(text).tokens();
    default:
        return textBody(text);
    }
}

std::string generate() {
    std::mt19937 rng(7);
    const std::uint8_t types[] = {kTypeKeys, kTypeScript,   kTypeAdvanced,
                                  kTypeText, kTypeRecorder, kTypeStepByStep};
    const char* apps[] = {"winword", "outlook", "excel", "chrome", "acrord32"};
    std::vector<CommandRecord> commands;
    for (int i = 0; i < kCommands; ++i) {
        std::uint8_t type = types[i % 6];
        std::string name = "command number " + std::to_string(i);
        CommandRecord c =
            i % 3 == 0   ? globalCommand(name, type, bodyFor(i, type, rng))
            : i % 3 == 1 ? applicationCommand(name, apps[i % 5], type, bodyFor(i, type, rng))
                         : windowCommand(name, apps[i % 5], "Document " + std::to_string(i % 40),
                                         type, bodyFor(i, type, rng));
        if (i % 3 == 2) {
            c.states = {"state " + std::to_string(i % 7)};
        }
        c.group = "Group " + std::to_string(i % 12);
        c.description = "Generated command " + std::to_string(i);
        commands.push_back(std::move(c));
    }
    std::vector<ListRecord> lists;
    for (int i = 0; i < kLists; ++i) {
        lists.push_back(listRecord("list" + std::to_string(i), {"alpha", "beta", "gamma"}));
    }
    return buildFile(Layout::V1011, commands, lists);
}

struct Silent : UserInteraction {
    void message(const std::string& text, const std::string& title) override {
        std::fprintf(stderr, "%s [%s]\n", text.c_str(), title.c_str());
    }
    bool okCancel(const std::string&, const std::string&) override { return false; }
    bool yesNo(const std::string&, const std::string&) override { return false; }
    std::optional<std::string> input(const std::string&, const std::string&,
                                     const std::string&) override {
        return std::nullopt;
    }
};

// The median of kRuns timings of `step`, in milliseconds.
double medianMs(const std::function<bool(int)>& step) {
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        auto start = std::chrono::steady_clock::now();
        if (!step(run)) {
            std::fprintf(stderr, "a timed step failed\n");
            std::exit(1);
        }
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main() {
    std::string home = files::makeTempFolder("parlavista-rewrite-bench-");
    files::copyFile(files::join(seedFolder(), "keynames"), files::join(home, "keynames"));
    std::string path = files::join(home, "mycmds.dat");
    files::writeAll(path, generate());
    std::uint64_t size = files::size(path).value_or(0);

    Silent ui;
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
        return Update1Body(session, *row, body) == Outcome::Done;
    });
    double fullMs = medianMs([&](int) {
        FullRewriteSpec spec;
        spec.traceWord = "rewrite";
        return runFullRewrite(session, spec) == Outcome::Done;
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
