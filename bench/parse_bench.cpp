// Times parsing a generated 50,000-record command file into the catalogue, next to the
// database's own limit: the same rows appended with one prepared statement in one
// transaction.
#include "catalogue/catalogue.h"
#include "datfile/builder.h"
#include "datfile/reader.h"
#include "platform/files.h"
#include "platform/program_folder.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>

using namespace plv;
using namespace plv::dat;

namespace {

constexpr int kCommands = 45000;
constexpr int kLists = 5000;

std::vector<BodyToken> bodyFor(int i, std::uint8_t type, std::mt19937& rng) {
    std::string text =
        "{Ctrl+Home}Dear Dr. " + std::to_string(i) + ",{Enter}" + std::string(rng() % 200, 'x');
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
    std::mt19937 rng(42);
    const std::uint8_t types[] = {kTypeKeys, kTypeScript,   kTypeAdvanced,
                                  kTypeText, kTypeRecorder, kTypeStepByStep};
    const char* apps[] = {"winword", "outlook", "excel", "chrome", "acrord32"};
    std::vector<CommandRecord> commands;
    commands.reserve(kCommands);
    for (int i = 0; i < kCommands; ++i) {
        std::uint8_t type = types[i % 6];
        std::string name = "command number " + std::to_string(i);
        CommandRecord c;
        if (i % 3 == 0) {
            c = globalCommand(name, type, bodyFor(i, type, rng));
        } else if (i % 3 == 1) {
            c = applicationCommand(name, apps[i % 5], type, bodyFor(i, type, rng));
        } else {
            c = windowCommand(name, apps[i % 5], "Document " + std::to_string(i % 40), type,
                              bodyFor(i, type, rng));
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

double seconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

struct Silent : UserInteraction {
    void message(const std::string&, const std::string&) override {}
    bool okCancel(const std::string&, const std::string&) override { return false; }
    bool yesNo(const std::string&, const std::string&) override { return false; }
    std::optional<std::string> input(const std::string&, const std::string&,
                                     const std::string&) override {
        return std::nullopt;
    }
};

} // namespace

int main() {
    std::string home = files::makeTempFolder("parlavista-bench-");
    files::copyFile(files::join(seedFolder(), "keynames"), files::join(home, "keynames"));
    std::string image = generate();
    std::string path = files::join(home, "mycmds.dat");
    files::writeAll(path, image);

    Silent ui;
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
