// Writes the seeds of the Dragon XML harness into a folder: the command files given (Dragon's
// own) as Dragon XML in UTF-16 and UTF-8, and a document of every content type and Scope.
#include "datfile/format.h"
#include "datfile/record.h"
#include "export/dragon_xml.h"
#include "export/dragon_xml_records.h"
#include "platform/files.h"

#include <cstdio>
#include <filesystem>

using namespace plv;

namespace {

xml::Document documentOf(const std::string& image) {
    xml::Document d;
    d.language = xml::languageId(static_cast<std::uint8_t>(image[dat::kLanguageOffset]));
    dat::ByteReader in(image, dat::kFirstRecordPosition);
    std::uint32_t count = dat::readLongAt(image, dat::kCommandCountOffset) & 0xFFFF;
    for (std::uint32_t i = 0; i < count; ++i) {
        dat::CommandRecord r;
        dat::readCommand(in, dat::Layout::V1011, nullptr, r);
        std::string why;
        if (auto c = xml::commandOf(r, why)) {
            d.commands.push_back(std::move(*c));
        }
    }
    std::uint32_t lists = in.longValue() & 0xFFFF;
    for (std::uint32_t i = 0; i < lists; ++i) {
        dat::ListRecord l;
        dat::readList(in, l);
        d.lists.push_back(xml::listOf(l));
    }
    return d;
}

xml::Document everyKind() {
    xml::Document d;
    d.language = 0x40C;
    auto add = [&](const char* scope, const char* type, const char* name) -> xml::Command& {
        xml::Command c;
        c.scope = scope;
        c.contentType = type;
        c.name = name;
        c.body = "line one\r\nline ]]> two";
        c.module = "winword";
        c.caption = "Letter";
        d.commands.push_back(c);
        return d.commands.back();
    };
    add("global", xml::kScript, "open <apps>").states = {"a", "b"};
    add("global", xml::kDvcScript, "Grüße");
    add("application", xml::kText, "address");
    add("window", xml::kTextGraphics, "sign").rtf = "{\\rtf1 {\\b x}}";
    add("global", xml::kActions, "click").actions = {{1, "leftdown", 2, 3, 4},
                                                     {5, "move", 6, 7, 8}};
    d.lists = {{"apps", {"Word", "Excel"}, 0}};
    return d;
}

void write(const std::string& folder, const std::string& name, const xml::Document& d) {
    files::writeAll(files::join(folder, name + ".utf16.xml"), xml::writeDocument(d));
    files::writeAll(files::join(folder, name + ".utf8.xml"), xml::documentText(d));
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_xml_seeds FOLDER [COMMAND-FILE-FOLDER]\n");
        return 64;
    }
    write(argv[1], "every-kind", everyKind());
    if (argc > 2) {
        for (const auto& entry : std::filesystem::directory_iterator(argv[2])) {
            auto image = files::readAll(entry.path().string());
            if (entry.path().extension() == ".dat" && image && dat::beginsAsCommandFile(*image)) {
                write(argv[1], entry.path().stem().string(), documentOf(*image));
            }
        }
    }
    return 0;
}
