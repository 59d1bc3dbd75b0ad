// lint: each family of checks fires on a file made for it and stays silent on a clean one.
#include "datfile/builder.h"
#include "dragon/stand_in.h"
#include "editing/lint.h"

#include <functional>
#include <gtest/gtest.h>

using namespace plv;
using namespace plv::dat;
using namespace plv::editing;

namespace {

struct Files {
    std::vector<CommandRecord> commands;
    std::vector<ListRecord> lists;
    int language = 9;
};

// A file with every kind of body that lint reads, and nothing wrong with it.
Files clean() {
    return {{globalCommand("open <apps>", kTypeKeys, textBody("{ctrl+o}x{Home}{left 3}{a}")),
             applicationCommand("bold that", "winword", kTypeScript,
                                textBody("If 1\r\nSendKeys \"^b\"\r\nEndIf")),
             globalCommand("colour <colours>", kTypeAdvanced,
                           textBody("Sub Main\r\n  SendKeys \"x\"\r\nEnd Sub\r\n")),
             globalCommand("shade <shades>", kTypeText, plainTextBody("a shade"))},
            {listRecord("apps", {"Word", "Excel"}), listRecord("colours", {"red", "green"}),
             listRecord("shades", {"dark", "light"})}};
}

// One line per problem: the name and the check.
std::string lintOf(const std::function<void(Files&)>& change = {}) {
    Files f = clean();
    if (change) {
        change(f);
    }
    ParseFailureReport failure;
    auto read = readContents(buildFile(Layout::V1011, f.commands, f.lists, f.language), KeyNames(),
                             failure);
    if (!read) {
        ADD_FAILURE() << "the built file did not read: " << failure.reason;
        return {};
    }
    std::string out;
    for (const auto& p : lint(*read, dragon::checkLegacyScript)) {
        out += p.name + ": " + p.check + "\n";
    }
    return out;
}

} // namespace

TEST(Lint, CleanFileHasNoProblems) {
    EXPECT_EQ(lintOf(), "");
}

TEST(Lint, ListsMissingAndUnused) {
    EXPECT_EQ(lintOf([](Files& f) {
                  f.commands[0].name = "open <programs>";
                  f.lists[2].name = "tints";
              }),
              "open <programs>: missing-list\nshade <shades>: missing-list\n"
              "apps: unused-list\ntints: unused-list\n");
    // A LIST named in other letter case is the same LIST.
    EXPECT_EQ(lintOf([](Files& f) { f.commands[0].name = "open <APPS>"; }), "");
}

TEST(Lint, NamesDragonCannotTellApart) {
    auto twin = [](const std::string& name) {
        return [name](Files& f) {
            f.commands.push_back(globalCommand(name, kTypeKeys, textBody("x")));
        };
    };
    EXPECT_EQ(lintOf(twin("open <apps>")), "open <apps>: duplicate-name\n");
    EXPECT_EQ(lintOf(twin("Open <APPS> ")), "Open <APPS> : similar-name\n");
    // Another Scope may use the same name.
    EXPECT_EQ(lintOf([](Files& f) {
                  f.commands.push_back(
                      applicationCommand("open <apps>", "excel", kTypeKeys, textBody("x")));
              }),
              "");
    // "colour <colours>" and "colour <shades>" collide only when the LISTs share a word.
    EXPECT_EQ(lintOf(twin("colour <shades>")), "");
    EXPECT_EQ(lintOf([&](Files& f) {
                  twin("colour <shades>")(f);
                  f.lists[2].items.push_back("Green");
              }),
              "colour <shades>: list-collision\n");
}

TEST(Lint, NamesDragonRefusesAndListItems) {
    EXPECT_EQ(lintOf([](Files& f) {
                  f.commands[3].name = "shade <shades";
                  f.lists[1].name = "col ours";
                  f.commands[2].name = "colour <col ours>";
                  f.lists[0].items = {"Word", "", "word"};
              }),
              "shade <shades: refused-name\n"
              "apps: list-items\napps: list-items\ncol ours: refused-name\nshades: unused-list\n");
}

TEST(Lint, KeysBodiesThatWouldNotConvert) {
    auto keys = [](const std::string& body) {
        return lintOf([body](Files& f) { f.commands[0].body = textBody(body); });
    };
    EXPECT_EQ(keys("{ctrl+o"), "open <apps>: keys-braces\n");
    EXPECT_EQ(keys("x}y"), "open <apps>: keys-braces\n");
    EXPECT_EQ(keys("{enter\r\n}"), "open <apps>: keys-braces\n");
    EXPECT_EQ(keys("{ctrl+shift+F5}{entr}{hyper+x}"), "open <apps>: keys-unknown\n");
}

TEST(Lint, ScriptsThatWouldNotRun) {
    EXPECT_EQ(lintOf([](Files& f) {
                  f.commands[1].body = textBody("If 1\r\nSendKeys \"^b\"");
                  f.commands[2].body = textBody("SendKeys \"x\"\r\nEnd Sub\r\n");
              }),
              "bold that: script-check\ncolour <colours>: advanced-script\n");
    // SendKeys in a German file, in both kinds of script; SendDragonKeys is not SendKeys.
    EXPECT_EQ(lintOf([](Files& f) {
                  f.language = 7;
                  f.commands.push_back(
                      globalCommand("dragon keys", kTypeAdvanced,
                                    textBody("Sub Main\r\nSendDragonKeys \"x\"\r\nEnd Sub\r\n")));
              }),
              "bold that: sendkeys-language\ncolour <colours>: sendkeys-language\n");
}

TEST(Lint, SkippedAndEncryptedAreInformation) {
    Files f = clean();
    f.commands[3].scopeByte |= kSkipBit;
    f.commands[1].protection = 1;
    f.commands[1].protectedString = "licence";
    f.lists.pop_back();
    ParseFailureReport failure;
    auto read = readContents(buildFile(Layout::V1011, f.commands, f.lists), KeyNames(), failure);
    ASSERT_TRUE(read);
    auto problems = lint(*read, dragon::checkLegacyScript);
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_EQ(problems[0].check, "encrypted");
    EXPECT_EQ(problems[1].check, "skipped");
    EXPECT_EQ(problems[1].name, "shade <shades>");
    EXPECT_FALSE(hasWarnings(problems));
    f.commands[3].scopeByte = kGlobalScope;
    read = readContents(buildFile(Layout::V1011, f.commands, f.lists), KeyNames(), failure);
    EXPECT_TRUE(hasWarnings(lint(*read, dragon::checkLegacyScript)));
}
