// Times Dragon XML on the generated 50,000-record command file: Export to Dragon XML of every
// command (with the LISTs they use), and the import of that XML into a new command file, each
// next to one parse of the same file into an empty catalogue in the same run.
#include "catalogue/selection.h"
#include "datfile/reader.h"
#include "editing/import_xml.h"
#include "export/export_xml.h"
#include "generated_file.h"
#include "platform/files.h"
#include "timing.h"

#include <cstdio>

using namespace plv;

int main() {
    // What the XML cannot carry (the step-by-step commands, the recorded keystrokes) is
    // listed at every run: the listing is part of the time, not of the output.
    SilentInteraction quiet;
    bench::ParsedBenchFile file("parlavista-xml-bench-", 5, quiet);
    if (!file.parsed) {
        std::fprintf(stderr, "the generated file did not parse\n");
        return 1;
    }
    Session& session = *file.session;
    std::string db = files::join(file.home, "parse.mdb");
    double parseMs = bench::medianMs([&](int) {
        files::remove(db);
        Catalogue catalogue(db);
        Session s(catalogue, quiet, file.trace, file.home);
        return dat::parse(s, true, file.path) == dat::ParseStatus::Parsed;
    });

    std::string xml = files::join(file.home, "commands.xml");
    exports::XmlExportResult exported;
    double exportMs = bench::medianMs([&](int) {
        markSelection(session.catalogue, {});
        exported = exports::exportMarkedXml(session, xml);
        return exported.done;
    });

    std::string target = files::join(file.home, "imported.dat");
    editing::ImportXmlResult imported;
    double importMs = bench::medianMs([&](int) {
        files::remove(target);
        auto plan = editing::readImport(quiet, xml);
        if (plan) {
            imported =
                editing::importIntoNewFile(quiet, *plan, target, dat::DuplicateAnswers::NoToAll);
        }
        return imported.done;
    });

    std::printf("file: %d records, %.1f MB; XML %.1f MB\n", bench::kCommands + bench::kLists,
                static_cast<double>(files::size(file.path).value_or(0)) / 1e6,
                static_cast<double>(files::size(xml).value_or(0)) / 1e6);
    std::printf("one parse into an empty catalogue: %9.2f ms\n", parseMs);
    std::printf("export to Dragon XML:              %9.2f ms  = %5.2f x one parse"
                " (%zu commands, %zu LISTs, %zu left out)\n",
                exportMs, exportMs / parseMs, exported.exported, exported.lists,
                exported.leftOut.size());
    std::printf("import into a new command file:    %9.2f ms  = %5.2f x one parse"
                " (%zu commands, %zu LISTs, %zu kept out as duplicates, %zu refused)\n",
                importMs, importMs / parseMs, imported.imported, imported.listsAdded, imported.kept,
                imported.refusals.size());
    return 0;
}
