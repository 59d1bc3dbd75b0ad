#include "datfile/builder.h"
#include "datfile/contents.h"
#include "editing/import_xml.h"
#include "export/export_xml.h"
#include "platform/codepage.h"
#include "road_file.h"

#include <gtest/gtest.h>
#include <set>

using namespace plv;
using namespace plv::dat;

namespace {

// A command of every type, in every kind of Scope, with states, a LIST, a record with the
// skip bit and an encrypted one.
std::string everyTypeFile() {
    CommandRecord skipped = globalCommand("resting", kTypeScript, textBody("Beep"));
    skipped.scopeByte |= kSkipBit;
    CommandRecord locked = globalCommand("locked", kTypeAdvanced, textBody("secret"));
    locked.protection = 1;
    locked.protectedString = "key";
    CommandRecord stated = windowCommand("save it", "winword", "Letter - Word", kTypeScript,
                                         textBody("Save\r\nClose"));
    stated.states = {"editing", "reading"};
    stated.description = "saves the letter";
    stated.group = "Office";
    return buildFile(
        Layout::V1011,
        {withRefs(globalCommand("go <day>", kTypeKeys, textBody("{Ctrl+\"}")), {"day"}),
         globalCommand("sub main", kTypeAdvanced, textBody("Sub Main\r\n  a = \"]]>\"\r\nEnd Sub")),
         applicationCommand("address", "winword", kTypeText, plainTextBody("1 High St\r\nLeeds")),
         applicationCommand("letterhead", "winword", kTypeText,
                            formattedBody("{\\rtf1 {\\b Smith}}", "Smith")),
         globalCommand("click", kTypeRecorder,
                       RecorderBody().mouse(1, 10, 20).mouse(2, 10, 20).tokens()),
         globalCommand("type a", kTypeRecorder, RecorderBody().key(65, 0).tokens()),
         globalCommand("steps", kTypeStepByStep, StepsBody().wait(10).tokens()), stated, skipped,
         locked},
        {listRecord("day", {"Monday", "Tuesday"}), listRecord("unused", {"x"})}, 12);
}

// What a command file holds of a command, in one line: Program, Scope, name, type,
// description, Group, body and states.
std::string shape(const CommandContents& c) {
    std::string states;
    for (const auto& state : c.states) {
        states += state + ";";
    }
    return c.program + "|" + c.scope + "|" + c.name + "|" + c.type + "|" + c.description + "|" +
           c.group + "|" + c.body + "|" + states;
}

// In no particular order: the XML groups commands by Scope.
std::multiset<std::string> shapes(const FileContents& f) {
    std::multiset<std::string> out;
    for (const auto& c : f.commands) {
        out.insert(shape(c));
    }
    return out;
}

// The file exported whole to XML and imported into a new file.
struct RoundTrip {
    test::RoadFile source;
    test::TempDir out;
    exports::XmlExportResult exported;
    editing::ImportXmlResult imported;
    std::string xmlPath = out.file("commands.xml");
    std::string datPath = out.file("back.dat");

    explicit RoundTrip(const std::string& image) {
        source.open(image);
        source.h.catalogue->setFlagAll(true);
        exported = exports::exportMarkedXml(*source.h.session, xmlPath);
        auto plan = editing::readImport(source.h.ui, xmlPath);
        if (plan) {
            imported = editing::importIntoNewFile(source.h.ui, *plan, datPath);
        }
    }
    std::optional<FileContents> contents(const std::string& path) {
        return readContentsOf(*source.h.session, path);
    }
};

} // namespace

TEST(XmlRoundTrip, DragonSamplesComeBackWithEverythingTheXmlCarries) {
    for (const char* sample : {"clear_flag.dat", "move-dock_window.dat"}) {
        SCOPED_TRACE(sample);
        RoundTrip trip(test::readSample(sample));
        ASSERT_TRUE(trip.imported.done);
        auto before = trip.contents(trip.source.path);
        auto after = trip.contents(trip.datPath);
        ASSERT_TRUE(before && after);
        EXPECT_EQ(shapes(*after), shapes(*before));
        ASSERT_EQ(after->lists.size(), before->lists.size());
        for (std::size_t i = 0; i < before->lists.size(); ++i) {
            EXPECT_EQ(after->lists[i].name, before->lists[i].name);
            EXPECT_EQ(after->lists[i].items, before->lists[i].items);
        }
        EXPECT_EQ(after->languageByte, before->languageByte);
    }
    // The third sample is one step-by-step command: listed, and nothing written.
    RoundTrip steps(test::readSample("reply.dat"));
    EXPECT_EQ(steps.exported.leftOut,
              std::vector<std::string>{"reply: a step-by-step body has no XML form"});
    EXPECT_FALSE(steps.exported.done);
    EXPECT_TRUE(steps.source.h.ui.sawMessage(exports::kNothingForXml));
    EXPECT_FALSE(files::exists(steps.xmlPath));
}

TEST(XmlRoundTrip, EveryTypeComesBackOrIsListed) {
    RoundTrip trip(everyTypeFile());
    ASSERT_TRUE(trip.imported.done);
    EXPECT_EQ(trip.exported.leftOut,
              (std::vector<std::string>{"type a: a recorded macro with keystrokes has no XML form",
                                        "steps: a step-by-step body has no XML form",
                                        "locked: an encrypted body cannot be read"}));
    EXPECT_TRUE(trip.source.h.ui.sawMessage(
        "Dragon XML cannot carry these, which were left out:\n" + trip.exported.leftOut[0] + "\n" +
            trip.exported.leftOut[1] + "\n" + trip.exported.leftOut[2] +
            "\n\nDragon XML has no KEYS command; these are carried as SendKeys scripts:\ngo <day>",
        exports::kXmlLeftOutTitle));
    auto before = trip.contents(trip.source.path);
    auto after = trip.contents(trip.datPath);
    ASSERT_TRUE(before && after);
    std::multiset<std::string> expected;
    for (auto c : before->commands) {
        if (c.name == "type a" || c.name == "steps" || c.name == "locked") {
            continue;
        }
        if (c.type == "K") { // carried as the legacy script that sends the keys
            c.type = "S";
            c.body = "SendKeys \"{Ctrl+\"\"}\"";
        }
        expected.insert(shape(c));
    }
    EXPECT_EQ(shapes(*after), expected);
    EXPECT_EQ(after->languageByte, 12);
    ASSERT_EQ(after->lists.size(), 1u); // the LIST a command uses, not the other
    EXPECT_EQ(after->lists[0].items, (std::vector<std::string>{"Monday", "Tuesday"}));
    // The record with the skip bit comes back with it.
    test::Harness again;
    ASSERT_EQ(again.parseBytes(*files::readAll(trip.datPath)), ParseStatus::Parsed);
    EXPECT_EQ(again.session->file.skippedCount, 1);
}

namespace {

const std::string kImport = R"(<?xml version="1.0" encoding="utf-8"?>
<MyCommands version="2.0" language="0x809">
	<Commands type="global">
		<Command name="other" group="" enabled="true" states="">
			<description/>
			<contents type="DVC_SCRIPT"><![CDATA[new
other]]></contents>
		</Command>
		<Command name="open [apps]" group="" enabled="true" states="">
			<contents type="SCRIPT">Open</contents>
		</Command>
		<Command name="go [day]" group="" enabled="true" states="">
			<contents type="SCRIPT">Go</contents>
		</Command>
		<Command name="lost [nowhere]" group="" enabled="true" states="">
			<contents type="SCRIPT">x</contents>
		</Command>
		<Command name="open [bracket" group="" enabled="true" states="">
			<contents type="SCRIPT">x</contents>
		</Command>
		<Command name="steps" group="" enabled="true" states="">
			<contents type="STEP-BY-STEP">x</contents>
		</Command>
		<Command name="snow" group="" enabled="true" states="">
			<contents type="TEXT">☃</contents>
		</Command>
		<Command name="blank" group="" enabled="true" states="">
			<contents type="SCRIPT"></contents>
		</Command>
	</Commands>
	<Lists>
		<List name="apps"><Value>Excel</Value></List>
		<List name="day"><Value>Friday</Value></List>
		<List name="bad&lt;name"><Value>x</Value></List>
		<List name="none"></List>
	</Lists>
</MyCommands>
)";

struct ImportInto : ::testing::Test {
    void SetUp() override {
        e.open(buildFile(Layout::V1011,
                         {globalCommand("other", kTypeScript, textBody("old other"))},
                         {listRecord("apps", {"Word"})}));
        xml = out.write("in.xml", kImport);
    }
    Outcome run(DuplicateAnswers answers = DuplicateAnswers::Ask) {
        auto plan = editing::readImport(e.h.ui, xml);
        return plan ? editing::importIntoOpenFile(e.road, *plan, answers, result)
                    : Outcome::Refused;
    }
    std::vector<std::string> bodies() const {
        std::vector<std::string> out;
        for (const auto& r : e.h.rows()) {
            out.push_back(r.name + "=" + r.script);
        }
        return out;
    }

    test::RoadFile e;
    test::TempDir out;
    std::string xml;
    editing::ImportXmlResult result;
};

} // namespace

TEST_F(ImportInto, AddsWhatItCanAndListsTheRestByLine) {
    e.h.ui.answerChoice("&Yes");
    ASSERT_EQ(run(), Outcome::Done);
    ASSERT_EQ(e.road.postWrite(), Outcome::Done);
    EXPECT_EQ(result.imported, 3u);
    EXPECT_EQ(result.replaced, 1u);
    EXPECT_EQ(result.listsAdded, 1u);
    EXPECT_EQ(bodies(),
              (std::vector<std::string>{"other=new\r\nother", "open <apps>=Open", "go <day>=Go",
                                        "apps=Word\r\n", "day=Friday\r\n"}));
    EXPECT_EQ(result.refusals,
              (std::vector<std::string>{
                  "Line 15, lost [nowhere]: the LIST [nowhere] is in neither file",
                  "Line 18, open [bracket: a '[' in a command name needs a closing ']'",
                  "Line 21, steps: the content type \"STEP-BY-STEP\" is not known",
                  "Line 24, snow: its text holds ☃, which Windows-1252 cannot hold",
                  "Line 27, blank: Empty content not allowed",
                  "Line 34, LIST bad<name: a LIST name cannot hold '<', '>', '[' or ']'",
                  "Line 35, LIST none: Empty content not allowed"}));
    editing::reportRefusals(e.h.ui, result);
    EXPECT_EQ(e.h.ui.shown().back().title, editing::kImportSkippedTitle);
}

TEST_F(ImportInto, RefusalsLeaveTheTargetByteIdentical) {
    std::string before = e.file();
    e.h.ui.answerChoice("&Cancel Export");
    EXPECT_EQ(run(), Outcome::Refused);
    EXPECT_EQ(e.file(), before);

    std::string german = kImport;
    replaceAll(german, "0x809", "0x407");
    out.write("in.xml", german);
    EXPECT_EQ(run(), Outcome::Refused);
    EXPECT_TRUE(e.h.ui.sawMessage(kDifferentLanguage));
    EXPECT_EQ(e.file(), before);

    // Only commands that cannot be imported: nothing is.
    std::string refusedOnly = kImport;
    refusedOnly.erase(refusedOnly.find("\t\t<Command name=\"other\""),
                      refusedOnly.find("\t\t<Command name=\"lost") -
                          refusedOnly.find("\t\t<Command name=\"other\""));
    out.write("in.xml", refusedOnly);
    EXPECT_EQ(run(), Outcome::Refused);
    EXPECT_TRUE(e.h.ui.sawMessage(editing::kNothingToImport));
    EXPECT_EQ(e.file(), before);

    out.write("in.xml", kImport.substr(0, 300));
    EXPECT_EQ(run(), Outcome::Refused);
    EXPECT_TRUE(test::has(e.h.ui.shown().back().text, "Line 9: the file is not well-formed"))
        << e.h.ui.shown().back().text;
    EXPECT_EQ(e.file(), before);

    e.open(buildFile(Layout::V89, {globalCommand("other", kTypeScript, textBody("x"))}, {}));
    before = e.file();
    out.write("in.xml", kImport);
    EXPECT_EQ(run(), Outcome::Refused);
    EXPECT_TRUE(e.h.ui.sawMessage(kDifferentVersion));
    EXPECT_EQ(e.file(), before);
    // Every refusal is a warning.
    for (const auto& shown : e.h.ui.shown()) {
        EXPECT_TRUE(shown.kind != ScriptedInteraction::Kind::Message || shown.warning)
            << shown.text;
    }
}

// A command met twice, in the XML itself or again on a later import, and one not enabled
// (kept with the skip bit, hidden from the lists): each meets the "Overwrite?" question, so
// no import leaves copies behind.
TEST_F(ImportInto, ACommandAlreadyThereOrImportedBeforeIsAskedAbout) {
    out.write("in.xml", R"(<?xml version="1.0" encoding="utf-8"?>
<MyCommands version="2.0" language="0x809">
	<Commands type="global">
		<Command name="hello" enabled="false"><contents type="SCRIPT">a</contents></Command>
		<Command name="Hello"><contents type="SCRIPT">b</contents></Command>
	</Commands>
</MyCommands>
)");
    e.h.ui.answerChoice("&No");
    ASSERT_EQ(run(), Outcome::Done);
    ASSERT_EQ(e.road.postWrite(), Outcome::Done);
    EXPECT_EQ(result.imported, 1u);
    EXPECT_EQ(result.kept, 1u);
    EXPECT_EQ(e.h.session->file.skippedCount, 1);

    std::string before = e.file();
    e.h.ui.clear();
    e.h.ui.answerChoice("N&o to all");
    EXPECT_EQ(run(), Outcome::Refused);
    EXPECT_EQ(e.h.ui.shown().front().kind, ScriptedInteraction::Kind::Choice);
    EXPECT_TRUE(test::has(e.h.ui.shown().front().text, "\nhello\nOverwrite?"));
    EXPECT_TRUE(e.h.ui.sawMessage(editing::kNothingToImport));
    EXPECT_EQ(e.file(), before);
}
