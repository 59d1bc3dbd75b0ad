#include "browser/rtf_html.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

using namespace plv::browser;
using plv::test::has;

namespace {

std::string html(const std::string& rtf) {
    return rtfToHtml(rtf).html;
}

// The smallest valid PNG signature and a few bytes, as hex.
const std::string kPngBytes = std::string("\x89PNG\r\n\x1a\n\x01\x02", 10);
const char* kPngHex = "89504e470d0a1a0a0102";

} // namespace

TEST(RtfToHtml, ParagraphsAndCharacterFormats) {
    std::string out = html(R"({\rtf1\ansi\deff0{\fonttbl{\f0\fswiss Arial;}{\f1 Courier New;}})"
                           R"({\colortbl ;\red255\green0\blue0;}\f0\fs20 Plain )"
                           R"({\b bold}{\i italic}{\ul under}\ulnone  {\cf1 red}\par )"
                           R"(\qc\f1\fs30 second\line line\par\pard\par})");
    EXPECT_FALSE(has(out, "Arial;")); // the font table is not text
    EXPECT_TRUE(has(out, "font-size:10pt; font-family:'Arial'; \">Plain "));
    EXPECT_TRUE(has(out, "font-weight:bold; font-size:10pt; font-family:'Arial'; \">bold"));
    EXPECT_TRUE(has(out, "font-style:italic;"));
    EXPECT_TRUE(
        has(out, "text-decoration: underline; font-size:10pt; font-family:'Arial'; \">under"));
    EXPECT_TRUE(has(out, "color:#ff0000; font-family:'Arial'; \">red"));
    EXPECT_TRUE(has(out, "text-align:center;\"><span style=\"font-size:15pt; "
                         "font-family:'Courier New'; \">second</span><br />"));
    // An empty paragraph keeps its line.
    EXPECT_TRUE(has(out, "\">\u00A0</span></p>"));
    EXPECT_EQ(out.rfind("<html><body><p", 0), 0u);
    EXPECT_TRUE(has(out, "</p></body></html>"));
}

TEST(RtfToHtml, SkippedGroupsSpecialCharactersEscapesAndUnicode) {
    std::string out =
        html(R"({\rtf1{\*\generator Riched20;}{\info{\title T}}{\stylesheet{\s0 N;}})"
             R"({\*\unknownthing hidden}{\field{\*\fldinst HYPERLINK x}{\fldrslt shown}})"
             R"(\madeupword visible caf\'e9 \u8364? \uc0\u8482 x \ldblquote q\rdblquote\tab a\~b)"
             R"( \{\}\\ <&> \uc1\u-10179?\u-8704?})");
    // Unknown destinations, the document's tables and field instructions are not text.
    EXPECT_TRUE(has(out, "\">shownvisible café €"));
    EXPECT_TRUE(has(out, "™x"));
    EXPECT_TRUE(has(out, "“q”\ta\u00A0b {}\\ &lt;&amp;&gt;"));
    EXPECT_TRUE(has(out, "\U0001F600")); // a surrogate pair
    EXPECT_FALSE(has(out, "?"));
}

TEST(RtfToHtml, PngAndJpegPicturesBecomeImages) {
    std::string rtf =
        std::string(R"({\rtf1 before {\*\shppict{\pict\pngblip\picw4\pich2)") +
        R"(\picwgoal600\pichgoal300 )" + kPngHex +
        R"(}}{\nonshppict{\pict\wmetafile8 0102}} {\pict\jpegblip\picw10\pich20 ffd8)" +
        "\r\nffe0}{\\pict\\emfblip 0102} after}";
    RtfDocument doc = rtfToHtml(rtf);
    ASSERT_EQ(doc.images.size(), 2u);
    EXPECT_EQ(doc.images[0].data, kPngBytes);
    EXPECT_EQ(doc.images[0].mimeType, "image/png");
    EXPECT_EQ(doc.images[0].width, 40);
    EXPECT_EQ(doc.images[0].height, 20);
    EXPECT_EQ(doc.images[1].data, std::string("\xff\xd8\xff\xe0", 4));
    EXPECT_EQ(doc.images[1].name, "rtfimage2.jpg");
    EXPECT_EQ(doc.images[1].width, 10);
    EXPECT_TRUE(has(doc.html, "<img src=\"rtfimage1.png\" width=\"40\" height=\"20\" />"));
    EXPECT_TRUE(has(doc.html, "after"));

    // Binary picture data.
    std::string bin = std::string(R"({\rtf1{\pict\pngblip\bin4 )") + "\x89PN" + "}" + "x}";
    RtfDocument b = rtfToHtml(bin);
    ASSERT_EQ(b.images.size(), 1u);
    EXPECT_EQ(b.images[0].data, "\x89PN}");
}

TEST(RtfToHtml, DamagedInputEndsCleanly) {
    for (const std::string& rtf :
         {std::string("{\\rtf1 text \\'4"), std::string("{\\rtf1 \\"), std::string("}}}{"),
          std::string("{\\rtf1{\\pict\\pngblip\\bin99999 ab"), std::string("\\u"),
          std::string(200000, '{') + "deep" + std::string(10, '}'),
          std::string("{\\rtf1 \\fs99999999999999999 big}")}) {
        RtfDocument doc = rtfToHtml(rtf);
        EXPECT_EQ(doc.html.rfind("<html><body>", 0), 0u);
    }
    EXPECT_TRUE(has(html(std::string(2000, '{') + "deep"), "deep"));
}
