// Times the exports of a generated 50,000-record command file: the CSV and pseudo-DVC text of
// every row, Export to .dat of every command into a new file, and the same appended to that
// file with every command replaced; each next to copying the file once (the I/O floor).
#include "catalogue/selection.h"
#include "datfile/export_dat.h"
#include "export/export_file.h"
#include "generated_file.h"
#include "platform/files.h"
#include "timing.h"

#include <cstdio>

using namespace plv;

int main() {
    bench::ConsoleMessages ui;
    bench::ParsedBenchFile file("parlavista-export-bench-", 11, ui);
    if (!file.parsed) {
        std::fprintf(stderr, "the generated file did not parse\n");
        return 1;
    }
    const std::string& home = file.home;
    const std::string& path = file.path;
    Catalogue& catalogue = *file.catalogue;
    Session& session = *file.session;
    std::string copy = files::join(home, "copy.dat");
    double copyMs = bench::medianMs([&](int) { return files::copyFile(path, copy); });

    auto text = [&](exports::Format format) {
        return bench::medianMs([&](int) {
            markSelection(catalogue, {});
            auto out = exports::exportMarked(catalogue, format);
            return out && exports::writeExportFile(ui, files::join(home, "out.txt"), *out);
        });
    };
    double csvMs = text(exports::Format::Csv);
    double pseudoMs = text(exports::Format::Pseudo);

    Selection commands;
    commands.commandsOnly = true;
    std::string target = files::join(home, "export.dat");
    auto exportDat = [&](dat::ExistingTarget existing) {
        return bench::medianMs(
            [&](int) {
                markSelection(catalogue, commands);
                auto result =
                    dat::exportToDat(session, {target, existing, dat::DuplicateAnswers::YesToAll});
                return result.exportDone;
            },
            3);
    };
    double newMs = exportDat(dat::ExistingTarget::Overwrite);
    double appendMs = exportDat(dat::ExistingTarget::Append);

    std::printf("file: %d records (%d commands, %d LISTs), %llu bytes\n",
                bench::kCommands + bench::kLists, bench::kCommands, bench::kLists,
                static_cast<unsigned long long>(files::size(path).value_or(0)));
    std::printf("copy of the file (I/O floor):      %9.2f ms\n", copyMs);
    std::printf("CSV of every row:                  %9.2f ms  = %6.2f x copy\n", csvMs,
                csvMs / copyMs);
    std::printf("pseudo-DVC of every row:           %9.2f ms  = %6.2f x copy\n", pseudoMs,
                pseudoMs / copyMs);
    std::printf("export to .dat, new target:        %9.2f ms  = %6.2f x copy\n", newMs,
                newMs / copyMs);
    std::printf("export to .dat, all replaced:      %9.2f ms  = %6.2f x copy\n", appendMs,
                appendMs / copyMs);
    return 0;
}
