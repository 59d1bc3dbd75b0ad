#include "datfile/builder.h"
#include "demo_road.h"
#include "dragon/demo_root.h"
#include "editing/convert_format.h"
#include "editing/convert_language.h"
#include "road_file.h"

#include <gtest/gtest.h>

using namespace plv;
using namespace plv::dat;

namespace {

// What a reader sees of every command and LIST, without positions.
std::vector<std::string> contents(const test::RoadFile& e) {
    std::vector<std::string> out;
    for (const auto& r : e.h.rows()) {
        out.push_back(r.menu + "|" + r.state + "|" + r.name + "|" + r.owner + "|" + r.type + "|" +
                      r.description + "|" + r.script);
    }
    return out;
}

// The demo's own spelling is the one the 6.0 names replace.
std::vector<std::string> with60ScriptNames(std::vector<std::string> rows) {
    for (auto& row : rows) {
        for (auto at = row.find("SendDragonKeys"); at != std::string::npos;
             at = row.find("SendDragonKeys", at)) {
            row.replace(at, 14, "SendKeys");
        }
    }
    return rows;
}

// Converts with OK to the question; a conversion that ran leaves "Converting....".
Outcome convert(test::RoadFile& e, const char* target) {
    e.h.ui.answerOk(true);
    Outcome done = editing::convertFormat(e.road, *findFormatConversion(target));
    if (done == Outcome::Done) {
        EXPECT_EQ(e.h.ui.statusText, editing::kConvertingStatus);
        e.reparse();
    }
    return done;
}

// A conversion refused before its question.
Outcome refuse(test::RoadFile& e, const char* target) {
    return editing::convertFormat(e.road, *findFormatConversion(target));
}

} // namespace

TEST(ConvertFormat, DownAndBackUpKeepsEveryCommandAndList) {
    std::vector<std::pair<std::string, std::string>> files = {{"demo", dragon::demoCommandFile()}};
    for (const char* name : {"reply.dat", "clear_flag.dat", "move-dock_window.dat"}) {
        files.emplace_back(name, test::readSample(name));
    }
    for (const auto& [name, image] : files) {
        for (const char* target : {"8/9", "7.x", "6.1", "6.0"}) {
            SCOPED_TRACE(name + " to " + target);
            test::RoadFile e;
            e.open(image);
            auto before = contents(e);
            ASSERT_EQ(convert(e, target), Outcome::Done);
            EXPECT_EQ(e.h.session->file.versionName, target);
            EXPECT_EQ(contents(e),
                      std::string(target) == "6.0" ? with60ScriptNames(before) : before);
            EXPECT_EQ(e.h.readHomeFile("savedat"), image);
            if (std::string(target) != "6.0") {
                continue;
            }
            // A 6.0 file converted up keeps what it holds.
            auto at60 = contents(e);
            for (const char* up : {"7.x", "8/9"}) {
                test::RoadFile u;
                u.open(e.file());
                ASSERT_EQ(convert(u, up), Outcome::Done);
                EXPECT_EQ(u.h.session->file.versionName, up);
                EXPECT_EQ(contents(u), at60);
            }
        }
    }
}

TEST(ConvertFormat, TellsWhatTheTargetCannotHold) {
    test::RoadFile e;
    e.open(dragon::demoCommandFile());
    ASSERT_EQ(convert(e, "7.x"), Outcome::Done);
    const auto& shown = e.h.ui.shown();
    ASSERT_GE(shown.size(), 2u);
    EXPECT_TRUE(test::has(shown[0].text, "the state lists of 2 commands"));
    EXPECT_TRUE(test::has(shown[0].text, "the encryption of"));
    EXPECT_EQ(shown[1].text,
              "Convert this file to 7.0 format?\n\nmycmds.dat: 80 commands and 7 LISTs");
    EXPECT_TRUE(shown[1].defaultNo);
    EXPECT_TRUE(e.h.rows().size() > 0);
    for (const auto& r : e.h.rows()) {
        EXPECT_TRUE(r.states.empty()) << r.name;
        EXPECT_FALSE(r.encrypted) << r.name;
    }
}

TEST(ConvertFormat, RefusalsLeaveTheFileAsItWas) {
    auto script = globalCommand("sign", kTypeAdvanced, textBody("senddragonkeys \"x\""));
    std::string english = buildFile(Layout::V1011, {script}, {});

    test::DemoRoad user;
    std::string own = user.file();
    EXPECT_EQ(editing::convertFormat(*user.road, *findFormatConversion("8/9")), Outcome::Refused);
    EXPECT_TRUE(
        user.ui.sawMessage("This is your open User file - Not Allowed", user.dragon.commandFile()));
    EXPECT_EQ(user.file(), own);

    std::string french = buildFile(Layout::V7, {script}, {}, 12);
    test::RoadFile f;
    f.open(french);
    EXPECT_EQ(refuse(f, "6.0"), Outcome::Refused);
    EXPECT_TRUE(f.h.ui.sawMessage("There is no French version 6.0",
                                  "contact Brinmoor if this is reached in error"));
    EXPECT_EQ(refuse(f, "7.x"), Outcome::Refused);
    EXPECT_TRUE(f.h.ui.sawMessage("Already in 7.0 format", f.path));
    EXPECT_EQ(f.file(), french);
    f.h.ui.answerOk(false);
    EXPECT_EQ(refuse(f, "8/9"), Outcome::Refused);
    EXPECT_EQ(f.h.ui.statusText, "");
    EXPECT_EQ(f.file(), french);
    ASSERT_EQ(convert(f, "8/9"), Outcome::Done);
    EXPECT_EQ(f.h.session->file.languageByte, 12);

    test::RoadFile e;
    e.open(english);
    ASSERT_EQ(convert(e, "6.0"), Outcome::Done);
    EXPECT_EQ(e.row("sign").script, "SendKeys \"x\"");
    EXPECT_EQ(refuse(e, "6.0"), Outcome::Refused);
    EXPECT_TRUE(e.h.ui.sawMessage("Already in 6.0 format", e.path));
    ASSERT_EQ(convert(e, "6.1"), Outcome::Done);
    EXPECT_EQ(e.row("sign").script, "SendDragonKeys \"x\"");
}

TEST(ConvertLanguage, ChangesOnlyTheLanguageByte) {
    std::string image = dragon::demoCommandFile();
    test::RoadFile e;
    e.open(image);
    editing::LanguageConversion dialog(e.road);
    ASSERT_TRUE(dialog.open());
    EXPECT_EQ(dialog.languageLabel(), "Language of current file: English");
    using Result = editing::LanguageConversion::Result;
    EXPECT_EQ(dialog.convert("No Change"), Result::Closes);
    EXPECT_TRUE(e.h.ui.sawMessage("No conversion done", "Parlavista"));
    EXPECT_EQ(dialog.convert("to English"), Result::StaysOpen);
    EXPECT_TRUE(e.h.ui.sawMessage("Already in this language - Not Converted", "English"));
    e.h.ui.answerYes(false);
    EXPECT_EQ(dialog.convert("to German"), Result::StaysOpen);
    EXPECT_EQ(e.file(), image);
    e.h.ui.answerYes(true);
    EXPECT_EQ(dialog.convert("to German"), Result::Converted);
    EXPECT_TRUE(e.h.ui.sawMessage("File converted to German", e.path));
    image[kLanguageOffset] = '\x07'; // only the language byte changes
    EXPECT_EQ(e.file(), image);

    test::DemoRoad user;
    editing::LanguageConversion refused(*user.road);
    EXPECT_FALSE(refused.open());
    EXPECT_TRUE(user.ui.sawMessage("Cannot convert current (or any) User file, only Exported files",
                                   user.dragon.commandFile()));
}
