#include "catalogue/selection.h"
#include "datfile/builder.h"
#include "editing/search_replace.h"
#include "platform/codepage.h"
#include "support/edited_file.h"

#include <gtest/gtest.h>

using namespace plv;
using namespace plv::dat;

namespace {

std::string cp(const std::string& utf8) {
    return encodeCp1252(utf8).bytes;
}

std::string bodies() {
    return buildFile(
        Layout::V1011,
        {globalCommand("one", kTypeKeys, textBody("abc ABC")),
         applicationCommand("two", "winword", kTypeScript, textBody(cp("Müller abc\r\nMÜLLER"))),
         globalCommand("typed", kTypeText, plainTextBody("abc")),
         globalCommand("three", kTypeAdvanced, textBody(std::string(300, 'x') + "abc"))},
        {listRecord("apps", {"abc"})});
}

// Marks the commands as the Tools dialog does for Search and Replace.
void markAll(test::EditedFile& e) {
    Selection all;
    all.commandsOnly = true;
    markSelection(*e.h.catalogue, all);
    editing::keepSearchableMarks(*e.h.catalogue);
}

} // namespace

TEST(SearchReplace, FindsWithOrWithoutMatchCase) {
    test::EditedFile e;
    e.open(bodies());
    markAll(e);
    editing::SearchReplace sr(*e.h.session);
    sr.setTexts("", "", false);
    EXPECT_FALSE(sr.findNext());
    EXPECT_TRUE(e.h.ui.sawMessage(" No text entered to search for"));

    sr.setTexts("müller", "x", false);
    ASSERT_TRUE(sr.findNext());
    EXPECT_EQ(sr.match()->name, "two");
    EXPECT_EQ(sr.match()->start, 1u);
    ASSERT_TRUE(sr.findNext());
    EXPECT_EQ(sr.match()->start, 13u) << "the accented capital folds too";
    EXPECT_FALSE(sr.findNext());
    EXPECT_TRUE(e.h.ui.sawMessage("No more matches in this Scope"));
    e.h.ui.clear();
    sr.setTexts("zzqq", "x", false);
    EXPECT_FALSE(sr.findNext());
    EXPECT_FALSE(e.h.ui.sawMessage("No more matches in this Scope"));
    EXPECT_TRUE(e.h.ui.sawMessage("\"zzqq\" not found in this Scope, where Text and Graphics, "
                                  "Plain Text, Macro Recorder and Step-by-step commands are not "
                                  "searched"));
    e.h.ui.clear();

    sr.setTexts("abc", "x", true);
    std::vector<std::string> hits;
    while (sr.findNext()) {
        hits.push_back(sr.match()->name + "@" + std::to_string(sr.match()->start));
    }
    // Plain Text is not searched; the upper-case ABC does not match.
    EXPECT_EQ(hits, (std::vector<std::string>{"one@1", "two@8", "three@301"}));

    // Replace All goes on from the current match.
    sr.setTexts("abc", "z", false);
    ASSERT_TRUE(sr.findNext());
    ASSERT_TRUE(sr.findNext());
    EXPECT_EQ(sr.match()->start, 5u);
    ASSERT_EQ(sr.replaceAll(), Outcome::Done);
    e.reparse();
    EXPECT_EQ(e.row("one").script, "abc z");
    EXPECT_EQ(e.row("three").script, std::string(300, 'x') + "z");
    EXPECT_EQ(sr.replacements(), 3u);
}

TEST(SearchReplace, ReplaceAllWritesWhatOneAtATimeWrites) {
    test::EditedFile single;
    single.open(bodies());
    markAll(single);
    editing::SearchReplace one(*single.h.session);
    // The replacement holds the search text: the next search starts after it.
    one.setTexts("abc", "[abc]", false);
    int rounds = 0;
    ASSERT_TRUE(one.findNext());
    while (one.match() && ++rounds < 20) {
        ASSERT_EQ(one.replace(), Outcome::Done);
    }
    EXPECT_EQ(one.replacements(), 4u);
    EXPECT_EQ(one.commandsChanged(), 3u);
    EXPECT_TRUE(single.h.ui.sawMessage("4 occurrences in 3 macros replaced"));
    EXPECT_EQ(single.h.ui.statusText, "Replaced");

    test::EditedFile all;
    all.open(bodies());
    markAll(all);
    editing::SearchReplace every(*all.h.session);
    every.setTexts("abc", "[abc]", false);
    ASSERT_EQ(every.replaceAll(), Outcome::Done);
    EXPECT_EQ(all.file(), single.file());
    EXPECT_TRUE(all.h.ui.sawMessage("4 occurrences in 3 macros replaced"));
    EXPECT_TRUE(test::has(all.h.trace.text(), "  ReplaceAll"));

    // The catalogue describes the new file without a parse: its positions and bodies.
    auto kept = all.h.rows();
    all.reparse();
    auto parsed = all.h.rows();
    ASSERT_EQ(kept.size(), parsed.size());
    for (std::size_t i = 0; i < kept.size(); ++i) {
        EXPECT_EQ(kept[i].offset, parsed[i].offset) << kept[i].name;
        EXPECT_EQ(kept[i].offsetbody, parsed[i].offsetbody) << kept[i].name;
        EXPECT_EQ(kept[i].script, parsed[i].script) << kept[i].name;
    }
    EXPECT_EQ(all.row("two").script, "Müller [abc]\r\nMÜLLER");
}

TEST(SearchReplace, RefusesWhatCannotBeWritten) {
    std::string image = bodies();
    test::EditedFile e;
    e.open(image);
    markAll(e);
    editing::SearchReplace sr(*e.h.session);
    sr.setTexts("abc", "", false);
    EXPECT_EQ(sr.replace(), Outcome::Refused);
    EXPECT_TRUE(e.h.ui.sawMessage(" No text entered to replace with"));
    sr.setTexts("", "x", false);
    EXPECT_EQ(sr.replaceAll(), Outcome::Refused);
    EXPECT_TRUE(e.h.ui.sawMessage("No Search For text entered"));
    sr.setTexts("abc", "日本", false);
    ASSERT_TRUE(sr.findNext());
    EXPECT_EQ(sr.replace(), Outcome::Refused);
    EXPECT_EQ(sr.replaceAll(), Outcome::Refused);
    EXPECT_EQ(e.file(), image);
    EXPECT_FALSE(sr.modified());
}
