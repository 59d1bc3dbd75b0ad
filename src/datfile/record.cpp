#include "datfile/record.h"

#include <algorithm>

namespace plv::dat {
namespace {

constexpr std::size_t kVersionBlockSize = 12;
constexpr std::size_t kTailSize = 8;
constexpr std::size_t kProtectedTailSize = 7;

// Lines of a decoded body, written in place: a line break goes before every line but the
// first.
class Lines {
  public:
    std::string& next() {
        if (any_) {
            text_ += "\r\n";
        }
        any_ = true;
        return text_;
    }
    void add(std::string_view line) { next() += line; }
    std::string take() { return std::move(text_); }

  private:
    std::string text_;
    bool any_ = false;
};

void appendQuoted(std::string& out, std::string_view s) {
    out.append(1, '"').append(s).append(1, '"');
}

std::string_view keyName(const KeyNames* keys, int code) {
    return keys ? std::string_view(keys->name(code)) : std::string_view();
}

void readStrings(ByteReader& in, std::uint32_t count, std::vector<std::string>& out) {
    in.checkCount(count, 1);
    // A damaged count that the rest of a large file could still hold must not reserve
    // gigabytes before the reads find it out.
    out.reserve(std::min<std::uint32_t>(count, 256));
    for (std::uint32_t i = 0; i < count; ++i) {
        out.push_back(in.countedString());
    }
}

// The string token just read; the reference holds until the next token.
const std::string& countedToken(ByteReader& in, CommandRecord& r) {
    r.body.push_back(BodyToken::string(in.countedString()));
    return r.body.back().bytes;
}

std::uint32_t longToken(ByteReader& in, CommandRecord& r) {
    r.body.push_back(BodyToken::longValue(in.longValue()));
    return r.body.back().number;
}

// Fixed bytes join the run before them: a body of thousands of events or steps is then a
// few tokens, and re-emitting the runs gives the same bytes.
void appendRaw(CommandRecord& r, std::string_view bytes) {
    if (!r.body.empty() && r.body.back().kind == BodyToken::Kind::Bytes) {
        r.body.back().bytes += bytes;
    } else {
        r.body.push_back(BodyToken::raw(std::string(bytes)));
    }
}

std::string_view rawToken(ByteReader& in, CommandRecord& r, std::size_t n) {
    std::string_view bytes = in.view(n);
    appendRaw(r, bytes);
    return bytes;
}

std::string mouseLine(int action, int x, int y) {
    switch (action) {
    case 0:
        return "Mouse move (" + std::to_string(x) + "," + std::to_string(y) + ")";
    case 1:
        return "Mouse left button down";
    case 2:
        return "Mouse left button up";
    case 4:
        return "Mouse right button down";
    case 5:
        return "Mouse right button up";
    default:
        return "Mouse something";
    }
}

// Transition bytes 0..64 are "down", 65..255 "up": byte / 128 rounded half to even.
bool keyUp(std::uint8_t transition) {
    return transition > 64;
}

void readRecorderBody(ByteReader& in, const KeyNames* keys, CommandRecord& r) {
    std::uint32_t windows = longToken(in, r) & 0xFF;
    in.checkCount(windows * 6ULL, 1);
    for (std::uint32_t i = 0; i < windows * 6; ++i) {
        countedToken(in, r);
    }
    std::uint32_t events = longToken(in, r) & 0xFFFF;
    in.checkCount(events, 1);
    Lines lines;
    for (std::uint32_t i = 0; i < events; ++i) {
        std::int64_t start = in.position();
        std::uint8_t kind = in.byte();
        std::size_t payload = kind == 1 || kind == 3 ? 8 : kind == 2 ? 20 : 0;
        // The kind byte and its payload, one run of fixed bytes.
        in.seek(start);
        std::string_view event = in.view(1 + payload);
        appendRaw(r, event);
        auto at = [&](std::size_t k) { return static_cast<std::uint8_t>(event[1 + k]); };
        if (kind == 1) {
            lines.next()
                .append(keyName(keys, at(4)))
                .append(keyUp(at(7)) ? " key up" : " key down");
        } else if (kind == 2) {
            lines.add(mouseLine(at(4), at(8) | (at(9) << 8), at(12) | (at(13) << 8)));
        }
    }
    r.bodyText = lines.take();
}

void pressLine(std::string& out, const KeyNames* keys, std::uint8_t code, std::uint8_t modifiers) {
    out += "Press ";
    if (modifiers & 1) {
        out += "Shift + ";
    }
    if (modifiers & 2) {
        out += "Ctrl + ";
    }
    if (modifiers & 4) {
        out += "Alt + ";
    }
    out += keyName(keys, code);
}

// One step, and its line when it has one.
void readStep(ByteReader& in, const KeyNames* keys, CommandRecord& r, Lines& lines) {
    std::uint8_t code = in.byte();
    const char codeByte = static_cast<char>(code);
    appendRaw(r, std::string_view(&codeByte, 1));
    switch (code) {
    case 1: {
        std::string_view payload = rawToken(in, r, 2);
        pressLine(lines.next(), keys, static_cast<std::uint8_t>(payload[0]),
                  static_cast<std::uint8_t>(payload[1]));
        return;
    }
    case 2: {
        std::size_t first = r.body.size();
        countedToken(in, r);
        countedToken(in, r);
        countedToken(in, r);
        std::uint32_t option = longToken(in, r) & 0xFF;
        std::string& out = lines.next();
        out += "Open ";
        for (std::size_t k = first; k < first + 3; ++k) {
            appendQuoted(out, r.body[k].bytes);
            out += ',';
        }
        appendQuoted(out, option == 1 ? std::string() : std::to_string(option));
        return;
    }
    case 3: {
        std::uint32_t wait = longToken(in, r) & 0xFFFF;
        lines.next().append("wait ").append(std::to_string(wait)).append(" milliseconds");
        return;
    }
    case 4:
        lines.add("Stop Listening");
        return;
    case 5:
        lines.add("Microphone On");
        return;
    case 6:
        lines.add("Microphone Off");
        return;
    case 11:
    case 12: {
        countedToken(in, r);
        std::string& out = lines.next();
        out += code == 11 ? "Type " : "SendKeys ";
        appendQuoted(out, r.body.back().bytes);
        return;
    }
    default:
        // The payload of an unknown step cannot be told; the next byte is taken as the
        // next step code.
        r.unknownSteps.push_back({code, in.position()});
        return;
    }
}

void readStepBody(ByteReader& in, const KeyNames* keys, CommandRecord& r) {
    std::uint32_t steps = longToken(in, r) & 0xFF;
    Lines lines;
    for (std::uint32_t i = 0; i < steps; ++i) {
        readStep(in, keys, r, lines);
    }
    r.bodyText = lines.take();
}

void readBody(ByteReader& in, const KeyNames* keys, CommandRecord& r) {
    switch (r.typeByte) {
    case kTypeText: {
        r.graphicSize = static_cast<std::uint32_t>(countedToken(in, r).size());
        r.bodyText = countedToken(in, r);
        break;
    }
    case kTypeRecorder:
        readRecorderBody(in, keys, r);
        break;
    case kTypeStepByStep:
        readStepBody(in, keys, r);
        break;
    case kTypeAdvanced:
    case kTypeScript:
    case kTypeKeys:
        r.bodyText = countedToken(in, r);
        break;
    default:
        break; // an unknown body is left unread
    }
}

void readScopeFields(ByteReader& in, CommandRecord& r) {
    int kind = r.scopeKind();
    if (kind != 1 && kind != 2) {
        return;
    }
    r.appName = in.countedString();
    r.productDescription = in.countedString();
    r.companyName = in.countedString();
    if (kind == 2) {
        r.windowTitle = in.countedString();
        r.windowClass = in.countedString();
    }
}

void readTail(ByteReader& in, Layout layout, CommandRecord& r) {
    if (hasProtectionByte(layout)) {
        r.protection = in.byte();
    }
    if (!hasVersionTail(layout)) {
        return;
    }
    if (r.protection != 0) {
        r.tail = in.bytes(kProtectedTailSize);
        r.protectedString = in.countedString();
    } else {
        r.tail = in.bytes(kTailSize);
    }
}

void writeTail(const CommandRecord& r, Layout layout, ByteWriter& out) {
    bool protectedHere = hasProtectionByte(layout) && r.protection != 0;
    if (hasProtectionByte(layout)) {
        out.PutByte(r.protection);
    }
    if (!hasVersionTail(layout)) {
        return;
    }
    std::string tail = r.tail;
    if (protectedHere) {
        tail.resize(kProtectedTailSize, '\0');
        out.PutBytes(tail);
        out.PutCountedString(r.protectedString.value_or(std::string()));
        return;
    }
    tail.resize(kTailSize, '\0');
    out.PutBytes(tail);
}

// A count is written as it was read when it still describes the items, so an unchanged
// record keeps its bytes; otherwise the real number is written.
std::uint32_t keepRawCount(std::uint32_t raw, std::uint32_t usedMask, std::size_t actual) {
    return (raw & usedMask) == actual ? raw : static_cast<std::uint32_t>(actual);
}

} // namespace

std::string CommandRecord::typeLetter() const {
    switch (typeByte) {
    case kTypeText:
        return graphicSize == 0 ? "P" : "T";
    case kTypeRecorder:
        return "R";
    case kTypeStepByStep:
        return "X";
    case kTypeAdvanced:
        return "A";
    case kTypeScript:
        return "S";
    case kTypeKeys:
        return "K";
    default:
        return "";
    }
}

std::string* CommandRecord::editableText() {
    switch (typeByte) {
    case kTypeText:
        return body.size() == 2 ? &body[1].bytes : nullptr;
    case kTypeAdvanced:
    case kTypeScript:
    case kTypeKeys:
        return body.size() == 1 ? &body[0].bytes : nullptr;
    default:
        return nullptr;
    }
}

bool isPlausibleName(const std::string& name) {
    for (char c : name) {
        if (static_cast<unsigned char>(c) < 32) {
            return false;
        }
    }
    return true;
}

void readCommand(ByteReader& in, Layout layout, const KeyNames* keys, CommandRecord& r) {
    r.offset = in.position();
    r.name = in.countedString();
    if (!isPlausibleName(r.name)) {
        throw BadName(r.name, r.offset);
    }
    r.listRefCountRaw = in.longValue();
    readStrings(in, r.listRefCountRaw & 0xFF, r.listRefs);
    r.description = in.countedString();
    r.group = in.countedString();
    r.afterGroup = in.position();
    r.scopeByte = in.byte();
    if (hasVersionBlock(layout)) {
        r.versionBlock = in.bytes(kVersionBlockSize);
    }
    readScopeFields(in, r);
    if (hasStateList(layout)) {
        readStrings(in, in.longValue(), r.states);
    }
    r.typeBytePosition = in.position();
    r.typeByte = in.byte();
    readTail(in, layout, r);
    r.offsetBody = in.position();
    readBody(in, keys, r);
    r.end = in.position();
}

void readList(ByteReader& in, ListRecord& r) {
    r.offset = in.position();
    r.name = in.countedString();
    if (!isPlausibleName(r.name)) {
        throw BadName(r.name, r.offset);
    }
    r.opaque = in.bytes(4);
    r.itemCountRaw = in.longValue();
    readStrings(in, r.itemCountRaw & 0xFFFF, r.items);
    r.end = in.position();
}

void writeCommand(const CommandRecord& r, Layout layout, ByteWriter& out) {
    out.PutCountedString(r.name);
    out.PutLong(keepRawCount(r.listRefCountRaw, 0xFF, r.listRefs.size()));
    for (const auto& ref : r.listRefs) {
        out.PutCountedString(ref);
    }
    out.PutCountedString(r.description);
    out.PutCountedString(r.group);
    out.PutByte(r.scopeByte);
    if (hasVersionBlock(layout)) {
        std::string block = r.versionBlock;
        block.resize(kVersionBlockSize, '\0');
        out.PutBytes(block);
    }
    if (r.scopeKind() == 1 || r.scopeKind() == 2) {
        out.PutCountedString(r.appName);
        out.PutCountedString(r.productDescription);
        out.PutCountedString(r.companyName);
        if (r.scopeKind() == 2) {
            out.PutCountedString(r.windowTitle);
            out.PutCountedString(r.windowClass);
        }
    }
    if (hasStateList(layout)) {
        out.PutLong(static_cast<std::uint32_t>(r.states.size()));
        for (const auto& s : r.states) {
            out.PutCountedString(s);
        }
    }
    out.PutByte(r.typeByte);
    writeTail(r, layout, out);
    for (const auto& token : r.body) {
        switch (token.kind) {
        case BodyToken::Kind::Long:
            out.PutLong(token.number);
            break;
        case BodyToken::Kind::String:
            out.PutCountedString(token.bytes);
            break;
        case BodyToken::Kind::Bytes:
            out.PutBytes(token.bytes);
            break;
        }
    }
}

void writeList(const ListRecord& r, ByteWriter& out) {
    out.PutCountedString(r.name);
    std::string opaque = r.opaque;
    opaque.resize(4, '\0');
    out.PutBytes(opaque);
    out.PutLong(keepRawCount(r.itemCountRaw, 0xFFFF, r.items.size()));
    for (const auto& item : r.items) {
        out.PutCountedString(item);
    }
}

} // namespace plv::dat
