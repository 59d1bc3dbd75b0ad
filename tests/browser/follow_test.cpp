#include "browser/follow.h"

#include <gtest/gtest.h>

using namespace plv::browser;
using Texts = std::vector<std::string>;

TEST(Follow, CommandNamesCutIntoTextAndListReferences) {
    EXPECT_EQ(tokenizeCommandName("prescribe <medication> <dose>"),
              (Texts{"prescribe ", "<medication>", " ", "<dose>"}));
    EXPECT_EQ(tokenizeCommandName("<a><b>x"), (Texts{"<a>", "<b>", "x"}));
    EXPECT_EQ(tokenizeCommandName("go to <section"), (Texts{"go to ", "<section"}));
    EXPECT_TRUE(tokenizeCommandName("").empty());
    EXPECT_EQ(listNamesOf(tokenizeCommandName("a <b> <c")), Texts{"b"});

    std::string many;
    for (int i = 0; i < 40; ++i) {
        many += "<l" + std::to_string(i) + ">";
    }
    Texts tokens = tokenizeCommandName(many);
    ASSERT_EQ(tokens.size(), kMaxFollowTokens);
    EXPECT_EQ(tokens.back(), "<l29>");
}
