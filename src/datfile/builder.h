#pragma once

#include "datfile/record.h"

#include <cstdint>
#include <string>
#include <vector>

// Composing command files record by record: for the demo Dragon user, the benchmarks,
// the fuzzing seeds and the tests. Strings are raw file bytes.
namespace plv::dat {

// Scope kinds of the scope byte.
enum ScopeKind : std::uint8_t { kGlobalScope = 0, kApplicationScope = 1, kWindowScope = 2 };
inline constexpr std::uint8_t kSkipBit = 0x80;

CommandRecord globalCommand(const std::string& name, std::uint8_t typeByte,
                            std::vector<BodyToken> body);
CommandRecord applicationCommand(const std::string& name, const std::string& app,
                                 std::uint8_t typeByte, std::vector<BodyToken> body);
CommandRecord windowCommand(const std::string& name, const std::string& app,
                            const std::string& windowTitle, std::uint8_t typeByte,
                            std::vector<BodyToken> body);
// The command with the LISTs its name uses.
CommandRecord withRefs(CommandRecord command, std::vector<std::string> refs);

// Bodies by type.
std::vector<BodyToken> textBody(const std::string& text); // K, S, A
std::vector<BodyToken> plainTextBody(const std::string& text);
std::vector<BodyToken> formattedBody(const std::string& rtf, const std::string& plain);

// A Step-by-step body (type byte 3).
class StepsBody {
  public:
    StepsBody& press(std::uint8_t key, std::uint8_t modifiers = 0);
    StepsBody& open(const std::string& a, const std::string& b, const std::string& c,
                    std::uint32_t option);
    StepsBody& wait(std::uint32_t milliseconds);
    StepsBody& stopListening();
    StepsBody& microphoneOn();
    StepsBody& microphoneOff();
    StepsBody& type(const std::string& text);
    StepsBody& sendKeys(const std::string& text);
    StepsBody& rawCode(std::uint8_t code);
    std::vector<BodyToken> tokens() const;

  private:
    std::uint32_t steps_ = 0;
    std::vector<BodyToken> tokens_;
};

// A Macro Recorder body (type byte 2).
class RecorderBody {
  public:
    // Six strings describe each recorded window.
    RecorderBody& window(const std::vector<std::string>& sixStrings);
    RecorderBody& key(std::uint8_t code, std::uint8_t transition);
    RecorderBody& mouse(std::uint8_t action, std::uint16_t x, std::uint16_t y);
    RecorderBody& event(std::uint8_t kind); // kind 3 (8 payload bytes) or another, bare
    std::vector<BodyToken> tokens() const;

  private:
    std::vector<BodyToken> windows_;
    std::uint32_t windowCount_ = 0;
    std::uint32_t events_ = 0;
    std::vector<BodyToken> eventTokens_;
};

ListRecord listRecord(const std::string& name, const std::vector<std::string>& items);

// A whole file: header, commands, LIST count, LISTs.
std::string buildFile(Layout layout, const std::vector<CommandRecord>& commands,
                      const std::vector<ListRecord>& lists, int languageByte = 9);

} // namespace plv::dat
