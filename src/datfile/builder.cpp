#include "datfile/builder.h"

namespace plv::dat {
namespace {

CommandRecord command(const std::string& name, std::uint8_t scope, std::uint8_t typeByte,
                      std::vector<BodyToken> body) {
    CommandRecord r;
    r.name = name;
    r.scopeByte = scope;
    r.typeByte = typeByte;
    r.body = std::move(body);
    return r;
}

std::string bytesOf(std::initializer_list<std::uint8_t> values) {
    std::string out;
    for (auto v : values) {
        out += static_cast<char>(v);
    }
    return out;
}

} // namespace

CommandRecord withRefs(CommandRecord command, std::vector<std::string> refs) {
    command.listRefs = std::move(refs);
    return command;
}

CommandRecord globalCommand(const std::string& name, std::uint8_t typeByte,
                            std::vector<BodyToken> body) {
    return command(name, kGlobalScope, typeByte, std::move(body));
}

CommandRecord applicationCommand(const std::string& name, const std::string& app,
                                 std::uint8_t typeByte, std::vector<BodyToken> body) {
    CommandRecord r = command(name, kApplicationScope, typeByte, std::move(body));
    r.appName = app;
    r.productDescription = app + " application";
    r.companyName = "Example Corporation";
    return r;
}

CommandRecord windowCommand(const std::string& name, const std::string& app,
                            const std::string& windowTitle, std::uint8_t typeByte,
                            std::vector<BodyToken> body) {
    CommandRecord r = applicationCommand(name, app, typeByte, std::move(body));
    r.scopeByte = kWindowScope;
    r.windowTitle = windowTitle;
    r.windowClass = "#32770";
    return r;
}

std::vector<BodyToken> textBody(const std::string& text) {
    return {BodyToken::string(text)};
}

std::vector<BodyToken> plainTextBody(const std::string& text) {
    return {BodyToken::string(""), BodyToken::string(text)};
}

std::vector<BodyToken> formattedBody(const std::string& rtf, const std::string& plain) {
    return {BodyToken::string(rtf), BodyToken::string(plain)};
}

StepsBody& StepsBody::press(std::uint8_t key, std::uint8_t modifiers) {
    tokens_.push_back(BodyToken::raw(bytesOf({1})));
    tokens_.push_back(BodyToken::raw(bytesOf({key, modifiers})));
    ++steps_;
    return *this;
}

StepsBody& StepsBody::open(const std::string& a, const std::string& b, const std::string& c,
                           std::uint32_t option) {
    tokens_.push_back(BodyToken::raw(bytesOf({2})));
    tokens_.push_back(BodyToken::string(a));
    tokens_.push_back(BodyToken::string(b));
    tokens_.push_back(BodyToken::string(c));
    tokens_.push_back(BodyToken::longValue(option));
    ++steps_;
    return *this;
}

StepsBody& StepsBody::wait(std::uint32_t milliseconds) {
    tokens_.push_back(BodyToken::raw(bytesOf({3})));
    tokens_.push_back(BodyToken::longValue(milliseconds));
    ++steps_;
    return *this;
}

StepsBody& StepsBody::stopListening() {
    return rawCode(4);
}
StepsBody& StepsBody::microphoneOn() {
    return rawCode(5);
}
StepsBody& StepsBody::microphoneOff() {
    return rawCode(6);
}

StepsBody& StepsBody::type(const std::string& text) {
    tokens_.push_back(BodyToken::raw(bytesOf({11})));
    tokens_.push_back(BodyToken::string(text));
    ++steps_;
    return *this;
}

StepsBody& StepsBody::sendKeys(const std::string& text) {
    tokens_.push_back(BodyToken::raw(bytesOf({12})));
    tokens_.push_back(BodyToken::string(text));
    ++steps_;
    return *this;
}

StepsBody& StepsBody::rawCode(std::uint8_t code) {
    tokens_.push_back(BodyToken::raw(bytesOf({code})));
    ++steps_;
    return *this;
}

std::vector<BodyToken> StepsBody::tokens() const {
    std::vector<BodyToken> out{BodyToken::longValue(steps_)};
    out.insert(out.end(), tokens_.begin(), tokens_.end());
    return out;
}

RecorderBody& RecorderBody::window(const std::vector<std::string>& sixStrings) {
    for (std::size_t i = 0; i < 6; ++i) {
        windows_.push_back(BodyToken::string(i < sixStrings.size() ? sixStrings[i] : ""));
    }
    ++windowCount_;
    return *this;
}

RecorderBody& RecorderBody::key(std::uint8_t code, std::uint8_t transition) {
    eventTokens_.push_back(BodyToken::raw(bytesOf({1, 0, 0, 0, 0, code, 0, 0, transition})));
    ++events_;
    return *this;
}

RecorderBody& RecorderBody::mouse(std::uint8_t action, std::uint16_t x, std::uint16_t y) {
    std::string e = bytesOf({2});
    std::string payload(20, '\0');
    payload[4] = static_cast<char>(action);
    payload[8] = static_cast<char>(x & 0xFF);
    payload[9] = static_cast<char>(x >> 8);
    payload[12] = static_cast<char>(y & 0xFF);
    payload[13] = static_cast<char>(y >> 8);
    eventTokens_.push_back(BodyToken::raw(e + payload));
    ++events_;
    return *this;
}

RecorderBody& RecorderBody::event(std::uint8_t kind) {
    std::string e = bytesOf({kind});
    if (kind == 3) {
        e += std::string(8, '\0');
    }
    eventTokens_.push_back(BodyToken::raw(e));
    ++events_;
    return *this;
}

std::vector<BodyToken> RecorderBody::tokens() const {
    std::vector<BodyToken> out{BodyToken::longValue(windowCount_)};
    out.insert(out.end(), windows_.begin(), windows_.end());
    out.push_back(BodyToken::longValue(events_));
    out.insert(out.end(), eventTokens_.begin(), eventTokens_.end());
    return out;
}

ListRecord listRecord(const std::string& name, const std::vector<std::string>& items) {
    ListRecord r;
    r.name = name;
    r.items = items;
    r.itemCountRaw = static_cast<std::uint32_t>(items.size());
    return r;
}

std::string buildFile(Layout layout, const std::vector<CommandRecord>& commands,
                      const std::vector<ListRecord>& lists, int languageByte) {
    ByteWriter out;
    out.PutBytes(headerTemplate(layout, languageByte, static_cast<std::uint32_t>(commands.size())));
    for (const auto& c : commands) {
        writeCommand(c, layout, out);
    }
    out.PutLong(static_cast<std::uint32_t>(lists.size()));
    for (const auto& l : lists) {
        writeList(l, out);
    }
    return out.take();
}

} // namespace plv::dat
