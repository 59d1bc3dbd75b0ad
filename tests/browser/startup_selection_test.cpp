#include "browser/startup_selection.h"
#include "datfile/builder.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

using namespace plv;
using namespace plv::dat;
using browser::scopeNameFromTitle;
using browser::selectFromTitle;

namespace {

// A catalogue with a global command, Word's application and window commands and Outlook's.
struct Catalogued {
    Catalogued() {
        std::string image = buildFile(
            Layout::V1011,
            {globalCommand("next field", kTypeKeys, textBody("{Tab}")),
             windowCommand("memo line", "winword", "Memo to staff", kTypeKeys, textBody("x")),
             applicationCommand("bold that", "winword", kTypeKeys, textBody("{Ctrl+b}")),
             windowCommand("reply", "outlook", "Inbox", kTypeKeys, textBody("{Ctrl+r}")),
             applicationCommand("send", "outlook", kTypeKeys, textBody("{Alt+s}"))},
            {});
        EXPECT_EQ(h.parseBytes(image), ParseStatus::Parsed);
    }
    browser::Selection select(const std::string& text, const std::string& owner = {}) {
        ownerAsked = false;
        return selectFromTitle(*h.catalogue, h.trace, text, [&] {
            ownerAsked = true;
            return owner;
        });
    }
    test::Harness h;
    bool ownerAsked = false;
};

} // namespace

TEST(InitialSelection, ScopeNameFromTheTitle) {
    EXPECT_EQ(scopeNameFromTitle("Memo to staff - Microsoft Word"), "Memo to staff");
    EXPECT_EQ(scopeNameFromTitle("Calculator"), "Calculator");
    EXPECT_EQ(scopeNameFromTitle("A very long document title that goes on and on"),
              "A very long document title that ");
    EXPECT_EQ(scopeNameFromTitle("-x"), "");
    EXPECT_EQ(scopeNameFromTitle("a- x"), "");
    EXPECT_EQ(scopeNameFromTitle("ab- x"), "a");
    EXPECT_EQ(scopeNameFromTitle("Module1 - Microsoft Visual Basic - Normal"),
              "Microsoft Visual Basic");
    // Characters, not bytes: 32 accented letters stay whole.
    std::string accented;
    for (int i = 0; i < 40; ++i) {
        accented += "é";
    }
    EXPECT_EQ(scopeNameFromTitle(accented), accented.substr(0, 64));
    EXPECT_EQ(scopeNameFromTitle("Müller - Word"), "Müller");
    EXPECT_EQ(browser::cleanCommandLine("\"GLOBAL Commands\""), "Global Commands");
    EXPECT_EQ(browser::cleanCommandLine("\"C:\\x.dat\""), "C:\\x.dat");
}

TEST(InitialSelection, FollowsTheStepsInOrder) {
    Catalogued c;
    auto exact = c.select("Memo to staff - Microsoft Word");
    EXPECT_EQ(exact.program, "WINWORD");
    EXPECT_EQ(exact.scope, "Memo to staff");
    EXPECT_FALSE(c.ownerAsked);

    auto afterDash = c.select("Microsoft Outlook - Inbox");
    EXPECT_EQ(afterDash.program, "OUTLOOK");
    EXPECT_EQ(afterDash.scope, "Inbox");
    EXPECT_TRUE(test::has(c.h.trace.text(), "nested state name: Inbox"));

    auto inside = c.select("Re: the Inbox rules");
    EXPECT_EQ(inside.program, "OUTLOOK");
    EXPECT_EQ(inside.scope, "Inbox");

    auto global = c.select("Global Commands");
    EXPECT_EQ(global.program, "Global Commands");
    EXPECT_EQ(global.scope, "Global Commands");

    auto byProgram = c.select("Document1 - Word", "C:\\Office\\WINWORD.EXE");
    EXPECT_TRUE(c.ownerAsked);
    EXPECT_EQ(byProgram.program, "WINWORD");
    EXPECT_EQ(byProgram.scope, "Application-specific");

    auto nothing = c.select("Untitled - Notepad", "C:\\Windows\\notepad.exe");
    EXPECT_EQ(nothing.program, "Global Commands");
    EXPECT_EQ(nothing.scope, "Global Commands");
    auto noOwner = c.select("");
    EXPECT_EQ(noOwner.program, "Global Commands");
}
