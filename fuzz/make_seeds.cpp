// Writes seed inputs for the reader fuzzers: small files of every layout and body type, and
// copies of the command files in a folder of Dragon's own (make_seeds DIR [SAMPLES]).
#include "datfile/builder.h"
#include "platform/files.h"

#include <cstdio>
#include <filesystem>
#include <string>

using namespace plv::dat;

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: make_seeds DIR [SAMPLES]\n");
        return 64;
    }
    std::string dir = argv[1];
    plv::files::makeDirectories(dir);
    auto locked = globalCommand("locked", kTypeAdvanced, textBody("Sub Main\r\nEnd Sub"));
    locked.protection = 1;
    locked.tail = std::string(7, '\0');
    locked.protectedString = "k";
    auto skipped = globalCommand("skipped", kTypeKeys, textBody("s"));
    skipped.scopeByte |= kSkipBit;
    auto stated = windowCommand("next <n>", "Outlook", "Inbox", kTypeScript, textBody("x"));
    stated.states = {"a", "b"};
    stated.listRefs = {"n"};
    std::vector<CommandRecord> commands = {
        globalCommand("keys", kTypeKeys, textBody("{Ctrl+a}")),
        applicationCommand("plain", "winword", kTypeText, plainTextBody("hello")),
        globalCommand("graphic", kTypeText, formattedBody("{\\rtf1 x}", "x")),
        globalCommand("steps", kTypeStepByStep,
                      StepsBody().press(65, 7).open("a", "b", "c", 2).wait(5).type("t").tokens()),
        globalCommand("recorder", kTypeRecorder,
                      RecorderBody()
                          .window({"a", "b", "c", "d", "e", "f"})
                          .key(65, 128)
                          .mouse(0, 1, 2)
                          .event(3)
                          .event(7)
                          .tokens()),
        locked,
        skipped,
        stated,
        globalCommand(std::string(300, 'l'), kTypeKeys, textBody(std::string(70000, 'b'))),
    };
    const Layout layouts[] = {Layout::V60, Layout::V61, Layout::V7, Layout::V89, Layout::V1011};
    int n = 0;
    for (Layout layout : layouts) {
        for (std::size_t i = 0; i < commands.size(); ++i) {
            std::vector<CommandRecord> one = {commands[i]};
            std::string image = buildFile(layout, one, {listRecord("n", {"1", "2"})});
            plv::files::writeAll(dir + "/seed" + std::to_string(n++) + ".dat", image);
        }
        std::string all =
            buildFile(layout, commands, {listRecord("n", {"1"}), listRecord("m", {})});
        plv::files::writeAll(dir + "/seed" + std::to_string(n++) + ".dat", all);
    }
    if (argc == 3) {
        for (const auto& entry : std::filesystem::directory_iterator(argv[2])) {
            if (entry.path().extension() == ".dat") {
                plv::files::copyFile(entry.path().string(),
                                     dir + "/" + entry.path().filename().string());
                ++n;
            }
        }
    }
    std::printf("%d seeds in %s\n", n, dir.c_str());
    return 0;
}
