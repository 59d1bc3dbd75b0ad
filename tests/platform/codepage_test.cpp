#include "platform/codepage.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

using namespace plv;

TEST(Codepage, EveryFileByteSurvivesARoundTrip) {
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all += static_cast<char>(b);
    }
    std::string utf8 = decodeCp1252(all);
    auto back = encodeCp1252(utf8);
    ASSERT_TRUE(back.ok()) << back.refused;
    EXPECT_EQ(back.bytes, all);
    EXPECT_EQ(cp1252Length(utf8), 256u);
    EXPECT_EQ(decodeCp1252("\x80\xe9"), "\u20ac\u00e9");
}

TEST(Codepage, CharactersOutsideTheCodePageAreRefusedNotReplaced) {
    auto polish = encodeCp1252("Łódź");
    EXPECT_FALSE(polish.ok());
    EXPECT_EQ(polish.refused, "Ł");
    EXPECT_FALSE(encodeCp1252("ok \xF0\x9F\x98\x80").ok());
    auto broken = encodeCp1252("a\xC3");
    EXPECT_FALSE(broken.ok());
    EXPECT_EQ(broken.refused, "invalid UTF-8");
    EXPECT_TRUE(test::has(refusedCharacterMessage("Ł"), "'Ł'"));
    // The C1 controls are no characters of the code page: 0x80 is the euro sign, and the
    // five unassigned bytes read as characters of their own.
    for (char32_t c = 0x80; c <= 0x9F; ++c) {
        std::string control;
        appendUtf8(control, c);
        auto typed = encodeCp1252("a" + control);
        EXPECT_FALSE(typed.ok()) << "U+" << std::hex << static_cast<unsigned>(c);
        EXPECT_EQ(typed.refused, control);
    }
    EXPECT_EQ(encodeCp1252("Grüße €").bytes, "Gr\xfc\xdf"
                                             "e \x80");
}

TEST(Codepage, CaseFoldingKnowsTheAccentedLetters) {
    EXPECT_TRUE(equalsNoCase("Müller", "MÜLLER"));
    EXPECT_TRUE(equalsNoCase("œuvre ŠKODA", "ŒUVRE škoda"));
    EXPECT_FALSE(equalsNoCase("Muller", "Müller"));
    EXPECT_EQ(upperCase("outlook é"), "OUTLOOK É");
    EXPECT_LT(compareNoCase("apple", "Banana"), 0);
    EXPECT_GT(compareNoCase("abc", "AB"), 0);
    EXPECT_EQ(compareNoCase("", ""), 0);
    EXPECT_TRUE(containsNoCase("C:\\Program\\PARLAVISTA.EXE", "parlavista.exe"));
}

TEST(Codepage, ComparingAcrossLongSharedStartsAgreesWithFoldedText) {
    // Names share long starts ("command number 12"), and the difference may fall inside a
    // two-byte character: the comparison must order them as their folded texts order.
    const char* pieces[] = {"a", "A", "ü", "Ü", "ß", "š", "Š", "ÿ", "Ÿ", "€", "z", " "};
    std::vector<std::string> texts;
    for (const char* p : pieces) {
        for (const char* q : pieces) {
            texts.push_back(std::string("command number 1") + p + q);
            texts.push_back(std::string("COMMAND NUMBER 1") + q);
        }
    }
    texts.push_back("command number 1");
    auto sign = [](int v) { return (v > 0) - (v < 0); };
    for (const auto& a : texts) {
        for (const auto& b : texts) {
            ASSERT_EQ(sign(compareNoCase(a, b)), sign(foldCase(a).compare(foldCase(b))))
                << a << " | " << b;
        }
    }
}
