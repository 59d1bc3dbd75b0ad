#include "generated_file.h"

#include "datfile/builder.h"
#include "datfile/reader.h"
#include "platform/files.h"
#include "platform/program_folder.h"

#include <filesystem>
#include <random>

namespace plv::bench {
namespace {

using namespace plv::dat;

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

CommandRecord commandFor(int i, std::mt19937& rng) {
    static const std::uint8_t types[] = {kTypeKeys, kTypeScript,   kTypeAdvanced,
                                         kTypeText, kTypeRecorder, kTypeStepByStep};
    static const char* apps[] = {"winword", "outlook", "excel", "chrome", "acrord32"};
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
    return c;
}

} // namespace

std::string generateCommandFile(unsigned seed) {
    std::mt19937 rng(seed);
    std::vector<CommandRecord> commands;
    commands.reserve(kCommands);
    for (int i = 0; i < kCommands; ++i) {
        commands.push_back(commandFor(i, rng));
    }
    std::vector<ListRecord> lists;
    for (int i = 0; i < kLists; ++i) {
        lists.push_back(listRecord("list" + std::to_string(i), {"alpha", "beta", "gamma"}));
    }
    return buildFile(Layout::V1011, commands, lists);
}

std::string makeBenchHome(const std::string& prefix) {
    std::string home = files::makeTempFolder(prefix);
    files::copyFile(files::join(seedFolder(), "keynames"), files::join(home, "keynames"));
    return home;
}

ParsedBenchFile::ParsedBenchFile(const std::string& prefix, unsigned seed, UserInteraction& ui)
    : home(makeBenchHome(prefix)), path(files::join(home, "mycmds.dat")) {
    files::writeAll(path, generateCommandFile(seed));
    trace.open(home);
    catalogue = std::make_unique<Catalogue>(files::join(home, "global.mdb"));
    session = std::make_unique<Session>(*catalogue, ui, trace, home);
    parsed = dat::parse(*session, true, path) == dat::ParseStatus::Parsed;
}

ParsedBenchFile::~ParsedBenchFile() {
    session.reset();
    catalogue.reset();
    std::error_code ec;
    std::filesystem::remove_all(home, ec);
}

} // namespace plv::bench
