// Writes seed inputs for the KEYS converter fuzzer: the body of every command in the demo
// user's file and in the command files given, and bodies with the tricky spots of the
// notation.
#include "datfile/keynames.h"
#include "datfile/record.h"
#include "dragon/demo_root.h"
#include "platform/files.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

using namespace plv;
using namespace plv::dat;

namespace {

std::vector<std::string> bodiesOf(const std::string& image) {
    std::vector<std::string> bodies;
    if (image.size() < kHeaderSize) {
        return bodies;
    }
    auto layout = layoutFromCode(static_cast<std::uint8_t>(image[kVersionCodeOffset]));
    if (!layout) {
        return bodies;
    }
    ByteReader in(image);
    KeyNames keys;
    std::uint32_t count = readLongAt(image, kCommandCountOffset) & 0xFFFF;
    for (std::uint32_t i = 0; i < count; ++i) {
        CommandRecord r;
        try {
            readCommand(in, *layout, &keys, r);
        } catch (const FormatError&) {
            break;
        }
        bodies.push_back(r.bodyText);
    }
    return bodies;
}

const std::vector<std::string> kNotation = {
    "Hello{enter}",
    "{ctrl+c}{ctrl+v}",
    "{home}{numlock}x",
    std::string(300, 'a'),
    "Dear Sir\r\n\r\n{tab}",
    "say \"hi\"{enter}",
    std::string(125, 'q') + "\"\"\"" + std::string(130, 'r'),
    "{shift+exthome}{ctrl+shift+end}{numkey5}{center}{left 3}{ctrl+shift+left 3}",
    "{numkey+}{numkey*}{numkey-}{numkey/}{numkey.}{ctrl+shift+F10}",
    "{shift+\"}{RightShift+x}{ctrl+alt+shift+x}{+}{{}{}}",
    "abc{enter",
    "{ctrl+\r\nc}",
};

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_keys_seeds DIR [FOLDER_OF_DAT_FILES ...]\n");
        return 64;
    }
    std::string dir = argv[1];
    files::makeDirectories(dir);
    std::vector<std::string> bodies = bodiesOf(dragon::demoCommandFile());
    for (int i = 2; i < argc; ++i) {
        for (const auto& entry : std::filesystem::directory_iterator(argv[i])) {
            if (entry.path().extension() == ".dat") {
                auto image = files::readAll(entry.path().string());
                for (auto& body : bodiesOf(image.value_or(""))) {
                    bodies.push_back(std::move(body));
                }
            }
        }
    }
    bodies.insert(bodies.end(), kNotation.begin(), kNotation.end());
    int n = 0;
    for (const auto& body : bodies) {
        files::writeAll(dir + "/body" + std::to_string(n++), body);
    }
    std::printf("%d seeds in %s\n", n, dir.c_str());
    return 0;
}
