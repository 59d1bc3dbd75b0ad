#include "datfile/builder.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

using namespace plv;
using namespace plv::dat;

namespace {

// Parses one command with the given body and returns its catalogued text.
std::string decoded(test::Harness& h, std::uint8_t type, std::vector<BodyToken> body) {
    auto c = globalCommand("c", type, std::move(body));
    auto after = globalCommand("after", kTypeKeys, textBody("still in step"));
    EXPECT_EQ(h.parseBytes(buildFile(Layout::V1011, {c, after}, {})), ParseStatus::Parsed);
    auto rows = h.rows();
    EXPECT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows.back().script, "still in step") << "the body was consumed exactly";
    return rows.front().script;
}

} // namespace

TEST(Decoders, MacroRecorderEvents) {
    test::Harness h;
    auto body = RecorderBody()
                    .window({"Notepad", "notepad.exe", "", "", "", ""})
                    .key(65, 0x80)
                    .key(65, 0x40)
                    .key(13, 65)
                    .event(3)
                    .event(9)
                    .mouse(0, 640, 65535)
                    .mouse(1, 0, 0)
                    .mouse(2, 0, 0)
                    .mouse(4, 0, 0)
                    .mouse(5, 0, 0)
                    .mouse(3, 0, 0)
                    .mouse(200, 0, 0)
                    .tokens();
    EXPECT_EQ(decoded(h, kTypeRecorder, body),
              "A key up\r\nA key down\r\nEnter key up\r\nMouse move (640,65535)\r\n"
              "Mouse left button down\r\nMouse left button up\r\nMouse right button down\r\n"
              "Mouse right button up\r\nMouse something\r\nMouse something");
    EXPECT_EQ(h.rows().front().type, "R");
}

TEST(Decoders, StepByStepStepsWithTheKeynamesFilesNames) {
    test::Harness h;
    auto body = StepsBody()
                    .press('S', 7)
                    .press(112, 0)
                    .press('C', 2)
                    .open("notepad.exe", "c:\\temp", "args", 1)
                    .open("a", "b", "c", 3)
                    .wait(70000 + 65536 * 3)
                    .stopListening()
                    .microphoneOn()
                    .microphoneOff()
                    .type("Dear Sir")
                    .sendKeys("{Enter}")
                    .tokens();
    EXPECT_EQ(decoded(h, kTypeStepByStep, body),
              "Press Shift + Ctrl + Alt + S\r\nPress F1\r\nPress Ctrl + C\r\n"
              "Open \"notepad.exe\",\"c:\\temp\",\"args\",\"\"\r\nOpen \"a\",\"b\",\"c\",\"3\"\r\n"
              "wait 4464 milliseconds\r\nStop Listening\r\nMicrophone On\r\nMicrophone Off\r\n"
              "Type \"Dear Sir\"\r\nSendKeys \"{Enter}\"");
    EXPECT_EQ(decoded(h, kTypeStepByStep, StepsBody().tokens()), "");
    EXPECT_TRUE(h.ui.shown().empty());

    // An unknown step is reported and decoding goes on.
    EXPECT_EQ(decoded(h, kTypeStepByStep, StepsBody().rawCode(42).type("x").tokens()),
              "Type \"x\"");
    ASSERT_EQ(h.ui.shown().size(), 1u);
    EXPECT_EQ(h.ui.shown()[0].text, "Unknown step-by-step command:42");
    auto row = h.rows().front();
    EXPECT_EQ(h.ui.shown()[0].title, "Offset =" + std::to_string(row.offsetbody + 4 + 1));

    // Key names are the keynames file's lines, trimmed; past its end or empty, "Unknown".
    h.home.write("keynames", "Left Button\r\n  Right Button  \r\n\r\n");
    EXPECT_EQ(decoded(h, kTypeStepByStep, StepsBody().press(2).press(3).press(4).press(0).tokens()),
              "Press Right Button\r\nPress Unknown\r\nPress \r\nPress ");
}
