#include "editing/keys_conversion.h"
#include "support/fixtures.h"
#include "support/keys_form.h"

#include <gtest/gtest.h>
#include <random>

using namespace plv;
using namespace plv::editing;

namespace {

std::string sendKeys(const std::string& body) {
    auto r = toSendKeys(body);
    EXPECT_TRUE(r.ok) << body;
    return r.body;
}

std::string form(const std::string& statements) {
    return "Sub Main\r\n\r\n" + statements + "\r\nEnd Sub";
}

// The SendKeys text that one braced key becomes.
std::string keyText(const std::string& keys) {
    std::string body = sendKeys(keys);
    const std::string head = "Sub Main\r\n\r\nSendKeys \"";
    const std::string tail = "\", true\r\n\r\nEnd Sub";
    EXPECT_EQ(body.substr(0, head.size()), head) << keys;
    EXPECT_EQ(body.substr(body.size() - tail.size()), tail) << keys;
    return body.substr(head.size(), body.size() - head.size() - tail.size());
}

} // namespace

TEST(KeysConversion, StatementsOfTextKeysAndLineBreaks) {
    EXPECT_EQ(sendKeys("Hello{enter}"),
              form("SendKeys \"Hello\",true\r\nSendKeys \"{enter}\", true\r\n"));
    EXPECT_EQ(sendKeys("{ctrl+c}{ctrl+v}"), form("SendKeys \"^c^v\", true\r\n"));
    // A key that only Dragon sends closes the open literal and stands on its own line.
    EXPECT_EQ(sendKeys("{home}{NumLock}x"),
              form("SendKeys \"{home}\",true\r\nSendDragonKeys \"{NumLock}\"\r\n"
                   "SendKeys \"x\",true\r\n"));
    EXPECT_EQ(sendKeys("Dear Sir\r\n\r\n{tab}"),
              form("SendKeys \"Dear Sir\" & vbCr,true\r\nSendKeys vbCr, true\r\n"
                   "SendKeys \"{tab}\", true\r\n"));
    // A lone CR or LF is the line break it stands for: no literal holds one.
    EXPECT_EQ(sendKeys("Dear Sir\rYours\n{tab}\n"),
              form("SendKeys \"Dear Sir\" & vbCr,true\r\nSendKeys \"Yours\" & vbCr,true\r\n"
                   "SendKeys \"{tab}\",true\r\nSendKeys vbCr, true\r\n"));
    // Short text joins an open key literal; quotes are doubled inside literals.
    EXPECT_EQ(sendKeys("{tab}say \"hi\""), form("SendKeys \"{tab}say \"\"hi\"\"\", true\r\n"));
    EXPECT_EQ(sendKeys(""), form(""));
}

TEST(KeysConversion, LongTextSplitsIntoLiteralsOf127) {
    std::string text(300, 'a');
    EXPECT_EQ(sendKeys(text), form("SendKeys \"" + std::string(127, 'a') + "\",true\r\n" +
                                   "SendKeys \"" + std::string(127, 'a') + "\",true\r\n" +
                                   "SendKeys \"" + std::string(46, 'a') + "\",true\r\n"));
    // Text that would take an open literal to 127 characters starts a statement of its own.
    std::string joined = sendKeys("{tab}" + std::string(121, 'b'));
    EXPECT_TRUE(test::has(joined, "SendKeys \"{tab}" + std::string(121, 'b') + "\", true"));
    std::string apart = sendKeys("{tab}" + std::string(122, 'b'));
    EXPECT_TRUE(test::has(apart, "SendKeys \"{tab}\", true\r\nSendKeys \"" + std::string(122, 'b') +
                                     "\",true\r\n"));
}

TEST(KeysConversion, BracedKeysTranslate) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"{ctrl+c}", "^c"},
        {"{shift+exthome}", "+{Home}"},
        {"{shift+home}", "+{home}"},
        {"{ctrl+shift+end}", "^+{end}"},
        {"{numkey5}", "{Pad5}"},
        {"{center}", "{Clear}"},
        {"{left 3}", "{left 3}"},
        {"{ctrl+shift+left 3}", "^+{left}"},
        {"{Ctrl+Shift+a}", "^+a"},
        {"{ctrl + F4 2}", "^{F4 2}"},
        {"{leftalt+tab}", "%{tab}"},
        {"{alt+=}", "%="},
        {"{+}", "{+}"},          // no key name: as written
        {"{{}", "{{}"},          // a brace typed as a key
        {"{shift+\"}", "+\"\""}, // the quote doubled in the literal
        // F10 to F12 after two modifiers are not taken for F1.
        {"{ctrl+shift+F10}", "^+{F10}"},
        {"{ctrl+alt+F12}", "^%{F12}"},
        {"{ctrl+shift+F1}", "^+{F1}"},
        // Name rows are texts: read as a pattern, "numkey." would make each of these "{Pad.}".
        {"{numkey+}", "{Pad+}"},
        {"{NumKey*}", "{Pad*}"},
        {"{numkey-}", "{Pad-}"},
        {"{numkey/}", "{Pad/}"},
        {"{numkey.}", "{Pad.}"},
    };
    for (const auto& [keys, expected] : cases) {
        EXPECT_EQ(keyText(keys), expected) << keys;
    }
    // Three modifiers, and Dragon-only keys, go to Dragon as written.
    EXPECT_EQ(sendKeys("{ctrl+alt+shift+x}"), form("SendDragonKeys \"{ctrl+alt+shift+x}\"\r\n"));
    EXPECT_EQ(sendKeys("{RightShift+\"}"), form("SendDragonKeys \"{RightShift+\"\"}\"\r\n"));
}

TEST(KeysConversion, UnclosedBracesAndBrokenKeysFailSendKeysOnly) {
    for (const std::string body : {"abc{enter", "{", "x}{y", "{ctrl+\r\nc}", "{a}{\nb}"}) {
        EXPECT_FALSE(toSendKeys(body).ok) << body;
        auto dragon = toSendDragonKeys(body);
        EXPECT_TRUE(dragon.ok);
        EXPECT_EQ(test::sendDragonKeysBody(dragon.body), body);
    }
    EXPECT_EQ(toSendDragonKeys("say \"{enter}\"\r\nok").body,
              "Sub Main\r\n\r\nSendDragonKeys \"say \"\"{enter}\"\"\r\nok\"\r\n\r\nEnd Sub");
}

// Random KEYS bodies: every SendKeys result is well formed, brace-free bodies are typed
// exactly, and the SendDragonKeys result holds the body.
TEST(KeysConversion, RandomBodiesGiveWellFormedForms) {
    const std::vector<std::string> pieces = {"a",
                                             "Hello ",
                                             "\"",
                                             "\"\"",
                                             "\r\n",
                                             "\r",
                                             "\n",
                                             "{enter}",
                                             "{ctrl+c}",
                                             "{numkey+}",
                                             "{left 3}",
                                             "{numlock}",
                                             "{shift+\"}",
                                             "{ctrl+shift+F10}",
                                             "{",
                                             "}",
                                             "{}",
                                             "{+}",
                                             "{ctrl+alt+shift+x}",
                                             "\xE9",
                                             std::string(1, '\0'),
                                             "{alt+ 5}",
                                             " ",
                                             "\t"};
    std::mt19937 rng(20240611);
    for (int n = 0; n < 4000; ++n) {
        std::string body;
        int parts = static_cast<int>(rng() % 40);
        for (int i = 0; i < parts; ++i) {
            std::size_t k = rng() % (pieces.size() + 1);
            // Now and then a long run, so that literals reach their limit at any point.
            body += k < pieces.size() ? pieces[k] : std::string(rng() % 300, 'x');
        }
        SCOPED_TRACE(testing::PrintToString(body));
        auto dragon = toSendDragonKeys(body);
        ASSERT_EQ(test::sendDragonKeysBody(dragon.body), body);
        auto keys = toSendKeys(body);
        if (!keys.ok) {
            continue;
        }
        auto read = test::readSendKeysForm(keys.body);
        ASSERT_EQ(read.fault, "");
        if (body.find_first_of("{}") == std::string::npos) {
            ASSERT_EQ(read.typed, test::typedText(body));
        }
    }
}
