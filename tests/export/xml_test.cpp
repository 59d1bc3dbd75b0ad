#include "datfile/builder.h"
#include "export/dragon_xml.h"
#include "export/dragon_xml_records.h"
#include "platform/codepage.h"
#include "platform/utf16.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

using namespace plv;
using namespace plv::xml;

namespace {

Command command(const std::string& name, const std::string& type, const std::string& body) {
    Command c;
    c.name = name;
    c.contentType = type;
    c.body = body;
    return c;
}

Document everyKind() {
    Document d;
    d.language = 0x809;
    Command script = command("Replace <text>", kScript, "Sub Main\r\n  If a ]]> b Then\r\nEnd Sub");
    script.group = "Editing";
    script.description = "a & b";
    script.states = {"first", "second"};
    Command dvc = command("<mouse> <1to9> <1to9>", kDvcScript, "SendKeys \"{Ctrl+c}\"");
    Command text = command("my address", kText, "1 High Street\r\nLondon");
    text.scope = "application";
    text.module = "winword";
    text.company = "Microsoft";
    text.productDescription = "Word";
    Command graphics = text;
    graphics.name = "signature";
    graphics.scope = "window";
    graphics.caption = "Letter - Word";
    graphics.windowClass = "OpusApp";
    graphics.contentType = kTextGraphics;
    graphics.rtf = "{\\rtf1 {\\b Yours}}";
    graphics.body = "Yours";
    Command actions = command("click it", kActions, "");
    actions.enabled = false;
    actions.actions = {{2614, "leftdown", 47, 125, 0}, {2700, "leftup", 47, 125, 3}};
    // In the order of their blocks: global, application, window.
    d.commands = {script, dvc, actions, text, graphics};
    d.lists = {{"text", {"that", "this line"}, 0}, {"mouse", {"click", "double click"}, 0}};
    return d;
}

std::string utf8Of(const std::string& utf16) {
    std::size_t bad = 0;
    return utf16ToUtf8(std::string_view(utf16).substr(2), false, bad).value_or("?");
}

std::optional<Document> read(const std::string& bytes) {
    ReadFailure failure;
    auto d = readDocument(bytes, failure);
    EXPECT_TRUE(d) << failure.message();
    return d;
}

ReadFailure failureOf(const std::string& bytes) {
    ReadFailure failure;
    EXPECT_FALSE(readDocument(bytes, failure));
    return failure;
}

void expectSame(const Command& a, const Command& b) {
    EXPECT_EQ(a.name, b.name);
    EXPECT_EQ(a.group, b.group);
    EXPECT_EQ(a.description, b.description);
    EXPECT_EQ(a.enabled, b.enabled);
    EXPECT_EQ(a.states, b.states);
    EXPECT_EQ(
        std::tie(a.scope, a.module, a.company, a.productDescription, a.caption, a.windowClass),
        std::tie(b.scope, b.module, b.company, b.productDescription, b.caption, b.windowClass));
    EXPECT_EQ(std::tie(a.contentType, a.body, a.rtf), std::tie(b.contentType, b.body, b.rtf));
    EXPECT_EQ(a.actions, b.actions);
}

const std::string kHandWritten =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<!DOCTYPE MyCommands SYSTEM \"MyCmds11.dtd\">\n"
    "<MyCommands version=\"2.0\" language=\"0x407\">\n"
    "  <Commands type=\"global\">\n"
    "    <Command name=\"Grüße [x]\" group=\"\" enabled=\"true\" states=\"\">\n"
    "      <description>plain &amp; simple</description>\n"
    "      <contents type=\"TEXT\"><![CDATA[one\ntwo]]></contents>\n"
    "    </Command>\n"
    "  </Commands>\n"
    "  <Lists><List name=\"x\"><Value>a</Value></List></Lists>\n"
    "</MyCommands>\n";

} // namespace

TEST(DragonXml, WritesDragonsFormAndReadsEveryKindBack) {
    Document d = everyKind();
    std::string bytes = writeDocument(d);
    ASSERT_EQ(bytes.substr(0, 2), "\xFF\xFE");
    std::string text = utf8Of(bytes);
    EXPECT_EQ(text.substr(0, 41), "<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n");
    EXPECT_TRUE(test::has(text, "<MyCommands version=\"2.0\" language=\"0x809\">\r\n"));
    EXPECT_TRUE(test::has(text, "\t\t<Command name=\"Replace [text]\" group=\"Editing\" "
                                "enabled=\"true\" states=\"first,second\">\r\n"));
    EXPECT_TRUE(test::has(text, "<Command name=\"[mouse] [1to9] [1to9]\""));
    EXPECT_TRUE(test::has(text, "If a ]]]]><![CDATA[> b Then"));
    EXPECT_TRUE(test::has(text, "<action time=\"2614\" type=\"leftdown\" x=\"47\" y=\"125\" "
                                "window=\"0\"/>"));
    EXPECT_TRUE(test::has(text, "\t<Commands type=\"window\">\r\n\t\t<module><![CDATA[winword]]>"));
    EXPECT_TRUE(test::has(text, "\t\t<List name=\"mouse\">\r\n\t\t\t<Value><![CDATA[click]]>"));
    EXPECT_FALSE(test::has(std::string(text).erase(0, text.find('\n')), "\n\n"));

    auto back = read(bytes);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->language, 0x809u);
    ASSERT_EQ(back->commands.size(), d.commands.size());
    for (std::size_t i = 0; i < d.commands.size(); ++i) {
        SCOPED_TRACE(d.commands[i].name);
        expectSame(back->commands[i], d.commands[i]);
    }
    EXPECT_EQ(back->commands[2].line, 15); // after a body of three lines
    ASSERT_EQ(back->lists.size(), 2u);
    EXPECT_EQ(back->lists[0].items, d.lists[0].items);
    // Read and written again, the file is the same.
    EXPECT_EQ(writeDocument(*back), bytes);
    EXPECT_EQ(writeDocument(*read(documentText(d))), bytes);
}

TEST(DragonXml, ReadsHandWrittenUtf8Windows1252AndLanguages) {
    auto d = read(kHandWritten);
    ASSERT_TRUE(d);
    ASSERT_EQ(d->commands.size(), 1u);
    EXPECT_EQ(d->commands[0].name, "Grüße <x>");
    EXPECT_EQ(d->commands[0].description, "plain & simple");
    EXPECT_EQ(d->commands[0].body, "one\ntwo");
    EXPECT_EQ(d->commands[0].line, 5);
    EXPECT_EQ(languageByte(d->language), 7);

    std::string latin = kHandWritten;
    replaceAll(latin, "UTF-8", "windows-1252");
    replaceAll(latin, "Grüße",
               "Gr\xFC\xDF"
               "e");
    auto fromLatin = read(latin);
    ASSERT_TRUE(fromLatin);
    EXPECT_EQ(fromLatin->commands[0].name, "Grüße <x>");
    // UTF-16 without a byte-order mark, and big-endian with one.
    std::string le = utf8ToUtf16le(kHandWritten);
    std::string be = "\xFE\xFF";
    for (std::size_t i = 0; i < le.size(); i += 2) {
        be += {le[i + 1], le[i]};
    }
    EXPECT_EQ(read(le)->commands[0].name, "Grüße <x>");
    EXPECT_EQ(read(be)->commands[0].name, "Grüße <x>");

    for (auto [id, byte] : {std::pair{"0x809", 9}, {"0x409", 9}, {"0x40C", 12}, {"0x413", 19}}) {
        std::string other = kHandWritten;
        replaceAll(other, "0x407", id);
        EXPECT_EQ(languageByte(read(other)->language), byte) << id;
    }
    EXPECT_EQ(languageId(12), 0x40Cu);
}

TEST(DragonXml, DamagedFilesAreRefusedWithTheirLine) {
    struct Case {
        std::string bytes;
        int line;
        std::string why;
    };
    std::string noEndTag = kHandWritten;
    replaceAll(noEndTag, "</Command>", "");
    std::string bomb = kHandWritten;
    replaceAll(bomb, "SYSTEM \"MyCmds11.dtd\">",
               "[<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;\">]>");
    std::string badUtf8 = kHandWritten;
    replaceAll(badUtf8, "simple", "simple\xC3(");
    std::string notDragon = kHandWritten;
    replaceAll(notDragon, "MyCommands", "Other");
    std::string nul = kHandWritten;
    replaceAll(nul, "plain &amp;", "plain &#x00;");
    std::string arabic = kHandWritten;
    replaceAll(arabic, "0x407", "0x401");
    std::string huge = kHandWritten;
    replaceAll(huge, "one\ntwo", std::string(kMaxValue + 1, 'x'));
    const std::vector<Case> cases = {
        {kHandWritten.substr(0, 200), 5, "not well-formed"},
        {noEndTag, 10, "not well-formed"}, // where the parser meets the mismatch
        {bomb, 2, "entities"},
        {badUtf8, 6, "not valid"},
        {notDragon, 3, "not a Dragon command export"},
        {huge, 7, "longer than a command can hold"},
        {nul, 6, "character 0"},
        {arabic, 3, "none of English, German, French, Spanish and Dutch"},
        {"\xFF\xFE<\0?\0\0\xD8", 1, "not valid UTF-16"},
    };
    for (const auto& c : cases) {
        ReadFailure f = failureOf(c.bytes);
        EXPECT_EQ(f.line, c.line) << f.message();
        EXPECT_TRUE(test::has(f.why, c.why)) << f.message();
    }
}

TEST(DragonXml, RecordsRefuseWhatACommandFileCannotHold) {
    Command c = command("click", kActions, "");
    c.actions = {{1, "leftdown", 65535, 2, 0}};
    std::string why;
    auto record = recordOf(c, why);
    ASSERT_TRUE(record) << why;
    EXPECT_EQ(record->typeLetter(), "R");
    for (auto [action, reason] : {std::pair{Action{1, "leftdown", 65536, 2, 0},
                                            "a macro action's position is beyond 65535"},
                                  {Action{1, "doubleclick", 1, 2, 0},
                                   "the macro action type \"doubleclick\" is not known"}}) {
        c.actions = {action};
        EXPECT_FALSE(recordOf(c, why));
        EXPECT_EQ(why, reason);
    }
    // Nothing to run is refused as every other write refuses it.
    c.actions.clear();
    for (const Command& empty : {c, command("blank", kScript, "")}) {
        EXPECT_FALSE(recordOf(empty, why));
        EXPECT_EQ(why, kEmptyContent);
    }
    // A LIST record is made only of a name a command file can hold (Dragon's own names have
    // blanks), with items.
    EXPECT_FALSE(listRecordOf({"bad\x1bname", {"x"}, 0}, why));
    EXPECT_FALSE(listRecordOf({"", {"x"}, 0}, why));
    EXPECT_FALSE(listRecordOf({"a[b", {"x"}, 0}, why));
    EXPECT_FALSE(listRecordOf({"lab test", {}, 0}, why));
    EXPECT_EQ(why, kEmptyContent);
    EXPECT_TRUE(listRecordOf({"good_name.2", {"x"}, 0}, why));
    EXPECT_TRUE(listRecordOf({"lab test", {"x"}, 0}, why));

    // A recorded macro's windows have no place in the XML: the command is refused, not cut.
    dat::CommandRecord macro = dat::globalCommand(
        "drag", dat::kTypeRecorder,
        dat::RecorderBody().window({"Untitled - Notepad", "Notepad"}).mouse(1, 5, 5).tokens());
    EXPECT_FALSE(commandOf(macro, why));
    EXPECT_EQ(why, "a recorded macro's window descriptions have no XML form");
}
