// Comparing two command files: each field a change can name, what makes two commands the
// same command, the header, and the line diff of bodies.
#include "datfile/builder.h"
#include "datfile/compare.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <random>

using namespace plv;
using namespace plv::dat;

namespace {

struct Files {
    std::vector<CommandRecord> commands;
    std::vector<ListRecord> lists;
    Layout layout = Layout::V1011;
    int language = 9;
};

Files base() {
    auto top = globalCommand("go to top", kTypeKeys, textBody("{Ctrl+Home}"));
    top.description = "moves to the top";
    auto bold =
        applicationCommand("bold that", "winword", kTypeScript, textBody("SendKeys \"^b\""));
    auto pdf = windowCommand("save as pdf", "AcroRd32", "Document - Adobe Reader", kTypeAdvanced,
                             textBody("Sub Main\r\nSendKeys \"^p\"\r\nEnd Sub\r\n"));
    pdf.states = {"Dictation", "Normal"};
    auto table = globalCommand("insert table", kTypeText,
                               formattedBody("{\\rtf1 {\\b Name}\\tab Dose}", "Name\tDose"));
    auto tabs = globalCommand("tab twice", kTypeStepByStep, StepsBody().press(9).press(9).tokens());
    return {
        {top, bold, pdf, table, tabs},
        {listRecord("apps", {"Word", "Excel"}), listRecord("colours", {"red", "green", "blue"})}};
}

FileContents contentsOf(const Files& f) {
    ParseFailureReport failure;
    auto read =
        readContents(buildFile(f.layout, f.commands, f.lists, f.language), KeyNames(), failure);
    if (!read) {
        ADD_FAILURE() << "the built file did not read: " << failure.reason;
        return {};
    }
    return *read;
}

// One line per entry: the change, the name, and the fields a change names.
std::string summary(const Comparison& c) {
    std::string out;
    for (const auto* entries : {&c.commands, &c.lists}) {
        for (const auto& e : *entries) {
            const char* kind = e.kind == EntryChange::Kind::Added     ? "added "
                               : e.kind == EntryChange::Kind::Removed ? "removed "
                                                                      : "changed ";
            out += kind + e.program + "/" + e.name;
            for (const auto& f : e.fields) {
                out += (&f == &e.fields.front() ? ": " : ", ") + fieldName(f.field);
            }
            out += "\n";
        }
    }
    return out;
}

Comparison compareWith(const std::function<void(Files&)>& change,
                       const CompareFilter& filter = {}) {
    Files changed = base();
    change(changed);
    return compareContents(contentsOf(base()), contentsOf(changed), filter);
}

} // namespace

TEST(Compare, EachChangeNamesItsEntryAndField) {
    struct Case {
        const char* what;
        std::function<void(Files&)> change;
        std::string expected;
    };
    const Case cases[] = {
        {"nothing", [](Files&) {}, ""},
        {"description", [](Files& f) { f.commands[0].description = "top of the page"; },
         "changed Global Commands/go to top: description\n"},
        {"Group", [](Files& f) { f.commands[1].group = "Formatting"; },
         "changed WINWORD/bold that: Group\n"},
        {"state names", [](Files& f) { f.commands[2].states = {"Dictation"}; },
         "changed ACRORD32/save as pdf: state names\n"},
        {"body", [](Files& f) { f.commands[0].body = textBody("{Ctrl+End}"); },
         "changed Global Commands/go to top: body\n"},
        {"type with the same body", [](Files& f) { f.commands[0].typeByte = kTypeAdvanced; },
         "changed Global Commands/go to top: type\n"},
        {"type and body, as a KEYS conversion makes them",
         [](Files& f) {
             f.commands[1].typeByte = kTypeAdvanced;
             f.commands[1].body = textBody("Sub Main\r\nSendKeys \"^b\"\r\nEnd Sub\r\n");
         },
         "changed WINWORD/bold that: type, body\n"},
        {"formatting the text does not show",
         [](Files& f) {
             f.commands[3].body = formattedBody("{\\rtf1 Name\\tab Dose}", "Name\tDose");
         },
         "changed Global Commands/insert table: body\n"},
        {"a decoded step", [](Files& f) { f.commands[4].body = StepsBody().press(9).tokens(); },
         "changed Global Commands/tab twice: body\n"},
        {"the name's letter case", [](Files& f) { f.commands[1].name = "Bold That"; },
         "changed WINWORD/Bold That: name\n"},
        {"another Program is another command", [](Files& f) { f.commands[1].appName = "excel"; },
         "added EXCEL/bold that\nremoved WINWORD/bold that\n"},
        {"removed and added, global ones first",
         [](Files& f) {
             f.commands.erase(f.commands.begin() + 2);
             f.commands.push_back(globalCommand("new one", kTypeKeys, textBody("x")));
         },
         "added Global Commands/new one\nremoved ACRORD32/save as pdf\n"},
        {"a skipped record is not there", [](Files& f) { f.commands[4].scopeByte |= kSkipBit; },
         "removed Global Commands/tab twice\n"},
        {"LIST items",
         [](Files& f) {
             f.lists[1].items = {"red", "blue"};
         },
         "changed Global Commands/colours: items\n"},
        {"LIST name's letter case", [](Files& f) { f.lists[0].name = "Apps"; },
         "changed Global Commands/Apps: name\n"},
        {"LIST removed and added",
         [](Files& f) {
             f.lists.erase(f.lists.begin());
             f.lists.push_back(listRecord("sizes", {"small"}));
         },
         "removed Global Commands/apps\nadded Global Commands/sizes\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Comparison found = compareWith(c.change);
        EXPECT_EQ(summary(found), c.expected);
        EXPECT_TRUE(found.header.empty());
    }
}

TEST(Compare, ValuesAndLineDiffsOfTheChangedFields) {
    Comparison c = compareWith([](Files& f) {
        f.commands[0].typeByte = kTypeAdvanced;
        f.commands[0].body = textBody("Sub Main\r\nSendKeys \"^{Home}\"\r\nEnd Sub\r\n");
        f.commands[2].body = textBody("Sub Main\r\nSendKeys \"^+p\"\r\nEnd Sub\r\n");
        f.commands[3].body = formattedBody("{\\rtf1 Name\\tab Dose}", "Name\tDose");
        f.lists[1].items = {"red", "blue", "white"};
    });
    ASSERT_EQ(c.commands.size(), 3u);
    const auto& top = c.commands[0].fields;
    ASSERT_EQ(top.size(), 2u);
    EXPECT_EQ(top[0].a, "K");
    EXPECT_EQ(top[0].b, "A");
    EXPECT_EQ(diffText(top[1]), "@@ -1 +1,3 @@\n"
                                "-{Ctrl+Home}\n"
                                "\\ No newline at end of file\n"
                                "+Sub Main\n"
                                "+SendKeys \"^{Home}\"\n"
                                "+End Sub\n");
    EXPECT_TRUE(c.commands[1].fields[0].hunks.empty()) << "the same text, other formatting";
    EXPECT_EQ(diffText(c.commands[2].fields[0], "  "), "  @@ -1,3 +1,3 @@\n"
                                                       "   Sub Main\n"
                                                       "  -SendKeys \"^p\"\n"
                                                       "  +SendKeys \"^+p\"\n"
                                                       "   End Sub\n");
    ASSERT_EQ(c.lists.size(), 1u);
    EXPECT_EQ(diffText(c.lists[0].fields[0]), "@@ -1,3 +1,3 @@\n red\n-green\n blue\n+white\n");
}

TEST(Compare, OtherFormatVersionsAndLanguagesCompareByContent) {
    Files older = base();
    older.layout = Layout::V89;
    older.language = 7;
    older.commands[1].description = "bolds the selection";
    Comparison c = compareContents(contentsOf(base()), contentsOf(older));
    ASSERT_EQ(c.header.size(), 2u);
    EXPECT_EQ(c.header[0].field + " " + c.header[0].a + " " + c.header[0].b, "version 10/11 8/9");
    EXPECT_EQ(c.header[1].field + " " + c.header[1].a + " " + c.header[1].b,
              "language English German");
    EXPECT_EQ(summary(c), "changed WINWORD/bold that: description\n");

    // 7.x has no state names: what the older format cannot hold is a difference of content.
    Files seven = base();
    seven.layout = Layout::V7;
    c = compareContents(contentsOf(base()), contentsOf(seven));
    EXPECT_EQ(summary(c), "changed ACRORD32/save as pdf: state names\n");
}

TEST(Compare, AFilterKeepsOneProgramOrScope) {
    auto change = [](Files& f) {
        f.commands[0].description = "x";
        f.commands[1].description = "x";
        f.commands[2].description = "x";
        f.lists[0].items = {"Word"};
    };
    EXPECT_EQ(summary(compareWith(change, {"winword", std::nullopt})),
              "changed WINWORD/bold that: description\n");
    EXPECT_EQ(summary(compareWith(change, {std::nullopt, "document - adobe reader"})),
              "changed ACRORD32/save as pdf: description\n");
    EXPECT_EQ(summary(compareWith(change, {"Global Commands", std::nullopt})),
              "changed Global Commands/go to top: description\n"
              "changed Global Commands/apps: items\n");
}

TEST(Compare, CommandsOfOneNamePairInFileOrder) {
    Files twice = base();
    twice.commands.push_back(globalCommand("GO TO TOP", kTypeKeys, textBody("{Home}")));
    Files changed = twice;
    changed.commands.back().body = textBody("{End}");
    Comparison c = compareContents(contentsOf(twice), contentsOf(changed));
    ASSERT_EQ(c.commands.size(), 1u);
    EXPECT_EQ(c.commands[0].name, "GO TO TOP");
    EXPECT_EQ(c.commands[0].fields[0].a, "{Home}");
}

TEST(Compare, AFileThatDoesNotReadIsReported) {
    std::string image = buildFile(Layout::V1011, base().commands, base().lists);
    ParseFailureReport failure;
    EXPECT_FALSE(readContents(image.substr(0, image.size() - 3), KeyNames(), failure));
    EXPECT_EQ(failure.listIndex, 2);
    EXPECT_EQ(failure.badName, "colours");
    ASSERT_TRUE(failure.previous);
    EXPECT_EQ(failure.previous->name, "apps");

    std::string header = image;
    header[kVersionCodeOffset] = 9;
    failure = {};
    EXPECT_FALSE(readContents(header, KeyNames(), failure));
    EXPECT_EQ(failure.reason, "unknown version code 9");
}

// Random texts over a few lines: the diff turns the first into the second, takes no more
// edits than the longest common subsequence leaves, and shows at most three lines of context
// around each change.
TEST(LineDiff, ShortestAndTrueOnRandomTexts) {
    std::mt19937 rng(5);
    for (int round = 0; round < 300; ++round) {
        std::vector<std::string> a(rng() % 12);
        std::vector<std::string> b(rng() % 12);
        for (auto* side : {&a, &b}) {
            for (auto& line : *side) {
                line = std::string(1, static_cast<char>('a' + rng() % 3));
            }
        }
        std::vector<std::vector<std::size_t>> lcs(a.size() + 1,
                                                  std::vector<std::size_t>(b.size() + 1));
        for (std::size_t i = a.size(); i-- > 0;) {
            for (std::size_t j = b.size(); j-- > 0;) {
                lcs[i][j] =
                    a[i] == b[j] ? lcs[i + 1][j + 1] + 1 : std::max(lcs[i + 1][j], lcs[i][j + 1]);
            }
        }
        std::vector<std::string> rebuilt;
        std::size_t at = 0;
        std::size_t edits = 0;
        for (const auto& h : lineDiff(a, b)) {
            ASSERT_GE(h.aStart, at);
            rebuilt.insert(rebuilt.end(), a.begin() + at, a.begin() + h.aStart);
            ASSERT_EQ(h.bStart, rebuilt.size());
            at = h.aStart;
            for (const auto& line : h.lines) {
                if (line.mark != '+') {
                    ASSERT_EQ(line.text, a[at++]);
                }
                if (line.mark != '-') {
                    rebuilt.push_back(line.text);
                }
                edits += line.mark != ' ';
            }
            auto context = [](auto from, auto to) {
                return std::find_if(from, to, [](const DiffLine& l) { return l.mark != ' '; }) -
                       from;
            };
            EXPECT_LE(context(h.lines.begin(), h.lines.end()), 3);
            EXPECT_LE(context(h.lines.rbegin(), h.lines.rend()), 3);
        }
        rebuilt.insert(rebuilt.end(), a.begin() + at, a.end());
        EXPECT_EQ(rebuilt, b);
        EXPECT_EQ(edits, a.size() + b.size() - 2 * lcs[0][0]);
    }
}

TEST(LineDiff, HunksAsDiffPrintsThem) {
    std::vector<std::string> a;
    for (char c = 'a'; c <= 'p'; ++c) {
        a.emplace_back(1, c);
    }
    auto b = a;
    b[1] = "B";
    b[14] = "O";
    EXPECT_EQ(unifiedText(lineDiff(a, b)), "@@ -1,5 +1,5 @@\n a\n-b\n+B\n c\n d\n e\n"
                                           "@@ -12,5 +12,5 @@\n l\n m\n n\n-o\n+O\n p\n");
    b[8] = "I"; // six unchanged lines between changes join the hunks
    EXPECT_EQ(lineDiff(a, b).size(), 1u);
    EXPECT_EQ(unifiedText(lineDiff({}, {"x"})), "@@ -0,0 +1 @@\n+x\n");
    EXPECT_EQ(textLines("one\r\ntwo\nthree\rfour"),
              (std::vector<std::string>{"one\r\n", "two\n", "three\r", "four"}));
}
