#include "export/dragon_xml_records.h"

#include "datfile/builder.h"
#include "datfile/format.h"
#include "datfile/name_rules.h"
#include "datfile/record_ops.h"
#include "platform/codepage.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace plv::xml {
namespace {

constexpr std::size_t kMouseEventSize = 21;
// Mouse action codes of a recorder event, by the names the XML gives them.
const std::array<std::pair<int, const char*>, 5> kMouseActions = {
    {{0, "move"}, {1, "leftdown"}, {2, "leftup"}, {4, "rightdown"}, {5, "rightup"}}};

const char* actionName(int code) {
    for (const auto& [c, name] : kMouseActions) {
        if (c == code) {
            return name;
        }
    }
    return nullptr;
}

std::optional<int> actionCode(const std::string& name) {
    for (const auto& [c, n] : kMouseActions) {
        if (name == n) {
            return c;
        }
    }
    return std::nullopt;
}

std::uint32_t wordAt(const std::string& s, std::size_t i) {
    return static_cast<std::uint8_t>(s[i]) | (static_cast<std::uint8_t>(s[i + 1]) << 8);
}

std::size_t recordedWindows(const std::vector<dat::BodyToken>& body) {
    return body.empty() ? 0 : body[0].number & 0xFF;
}

// The mouse events of a recorder body; false when it holds keystrokes or events without
// an XML form.
bool actionsOf(const std::vector<dat::BodyToken>& body, std::vector<Action>& out) {
    if (body.empty()) {
        return false;
    }
    std::size_t events = 2 + 6 * recordedWindows(body);
    std::string stream;
    for (std::size_t i = events; i < body.size(); ++i) {
        stream += body[i].bytes;
    }
    for (std::size_t at = 0; at < stream.size(); at += kMouseEventSize) {
        if (stream[at] != 2 || at + kMouseEventSize > stream.size()) {
            return false;
        }
        std::string payload = stream.substr(at + 1, kMouseEventSize - 1);
        const char* type = actionName(payload[4]);
        if (!type) {
            return false;
        }
        out.push_back({dat::readLongAt(payload, 0), type, wordAt(payload, 8), wordAt(payload, 12),
                       dat::readLongAt(payload, 16)});
    }
    return true;
}

std::string sendKeysScript(const std::string& keys) {
    std::string quoted = keys;
    replaceAll(quoted, "\"", "\"\"");
    return "SendKeys \"" + quoted + "\"";
}

bool bodyOf(const dat::CommandRecord& r, Command& c, std::string& reason) {
    auto text = [&](std::size_t i) {
        return i < r.body.size() ? decodeCp1252(r.body[i].bytes) : "";
    };
    switch (r.typeByte) {
    case dat::kTypeAdvanced:
        c.contentType = kScript;
        c.body = text(0);
        return true;
    case dat::kTypeScript:
        c.contentType = kDvcScript;
        c.body = text(0);
        return true;
    case dat::kTypeKeys:
        c.contentType = kDvcScript;
        c.body = sendKeysScript(text(0));
        return true;
    case dat::kTypeText:
        c.contentType = text(0).empty() ? kText : kTextGraphics;
        c.rtf = text(0);
        c.body = text(1);
        return true;
    case dat::kTypeRecorder:
        c.contentType = kActions;
        // An action's window is a number only; the XML has no place for what it describes.
        if (recordedWindows(r.body) > 0) {
            reason = "a recorded macro's window descriptions have no XML form";
            return false;
        }
        if (actionsOf(r.body, c.actions)) {
            return true;
        }
        reason = "a recorded macro with keystrokes has no XML form";
        return false;
    case dat::kTypeStepByStep:
        reason = "a step-by-step body has no XML form";
        return false;
    default:
        reason = "a body of unknown type has no XML form";
        return false;
    }
}

// The record's texts in the code page; false with the reason at the first that does not fit.
class Encoder {
  public:
    explicit Encoder(std::string& reason) : reason_(reason) {}
    bool operator()(const std::string& utf8, std::string& bytes) {
        Cp1252Text t = encodeCp1252(utf8);
        if (!t.ok()) {
            reason_ = "its text holds " + t.refused + ", which Windows-1252 cannot hold";
            return false;
        }
        bytes = std::move(t.bytes);
        return true;
    }

  private:
    std::string& reason_;
};

// The refusal of a name as the import lists it: "line, name: why".
std::string asReason(std::string fault) {
    fault[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(fault[0])));
    return fault;
}

bool nameRefused(const std::string& name, std::string& reason) {
    if (name.find_first_of("[]") != std::string::npos) {
        reason = "a '[' in a command name needs a closing ']'";
    } else if (std::any_of(name.begin(), name.end(),
                           [](char ch) { return static_cast<unsigned char>(ch) < 32; })) {
        reason = "a command name cannot hold a control character";
    } else if (auto fault = dat::commandNameFault(name)) {
        reason = asReason(*fault);
    } else {
        return false;
    }
    return true;
}

std::optional<std::vector<dat::BodyToken>> recorderBody(const Command& c, std::string& reason) {
    std::string events;
    for (const auto& a : c.actions) {
        auto code = actionCode(a.type);
        if (!code) {
            reason = "the macro action type \"" + a.type + "\" is not known";
            return std::nullopt;
        }
        if (a.x > 0xFFFF || a.y > 0xFFFF) {
            reason = "a macro action's position is beyond 65535";
            return std::nullopt;
        }
        std::string payload(20, '\0');
        dat::writeLongAt(payload, 0, a.time);
        payload[4] = static_cast<char>(*code);
        dat::writeLongAt(payload, 8, a.x);
        dat::writeLongAt(payload, 12, a.y);
        dat::writeLongAt(payload, 16, a.window);
        events += '\x02' + payload;
    }
    if (c.actions.size() > 0xFFFF) {
        reason = "a recorded macro holds at most 65535 actions";
        return std::nullopt;
    }
    return std::vector<dat::BodyToken>{
        dat::BodyToken::longValue(0),
        dat::BodyToken::longValue(static_cast<std::uint32_t>(c.actions.size())),
        dat::BodyToken::raw(events)};
}

std::optional<std::vector<dat::BodyToken>> bodyTokens(const Command& c, std::uint8_t& typeByte,
                                                      std::string& reason) {
    Encoder encode(reason);
    std::string body;
    std::string rtf;
    if (!encode(withCrLf(c.body), body) || !encode(c.rtf, rtf)) {
        return std::nullopt;
    }
    if (c.contentType == kScript || c.contentType == kDvcScript) {
        typeByte = c.contentType == kScript ? dat::kTypeAdvanced : dat::kTypeScript;
        return dat::textBody(body);
    }
    if (c.contentType == kText || c.contentType == kTextGraphics) {
        typeByte = dat::kTypeText;
        return c.contentType == kText ? dat::plainTextBody(body) : dat::formattedBody(rtf, body);
    }
    if (c.contentType == kActions) {
        typeByte = dat::kTypeRecorder;
        return recorderBody(c, reason);
    }
    reason = "the content type \"" + c.contentType + "\" is not known";
    return std::nullopt;
}

bool emptyContent(const Command& c) {
    return c.contentType == kActions ? c.actions.empty() : c.body.empty() && c.rtf.empty();
}

} // namespace

std::optional<Command> commandOf(const dat::CommandRecord& r, std::string& reason) {
    if (r.protection != 0) {
        reason = "an encrypted body cannot be read";
        return std::nullopt;
    }
    Command c;
    c.name = decodeCp1252(r.name);
    c.group = decodeCp1252(r.group);
    c.description = decodeCp1252(r.description);
    c.enabled = !r.skipped();
    for (const auto& s : r.states) {
        c.states.push_back(decodeCp1252(s));
    }
    int kind = r.scopeKind();
    c.scope = kind == dat::kApplicationScope ? "application"
              : kind == dat::kWindowScope    ? "window"
                                             : "global";
    c.module = decodeCp1252(r.appName);
    c.company = decodeCp1252(r.companyName);
    c.productDescription = decodeCp1252(r.productDescription);
    c.caption = decodeCp1252(r.windowTitle);
    c.windowClass = decodeCp1252(r.windowClass);
    if (!bodyOf(r, c, reason)) {
        return std::nullopt;
    }
    return c;
}

List listOf(const dat::ListRecord& r) {
    List l{decodeCp1252(r.name), {}, 0};
    for (const auto& item : r.items) {
        l.items.push_back(decodeCp1252(item));
    }
    return l;
}

std::optional<dat::CommandRecord> recordOf(const Command& c, std::string& reason) {
    dat::CommandRecord r;
    Encoder encode(reason);
    if (!encode(c.name, r.name) || nameRefused(r.name, reason) || !encode(c.group, r.group) ||
        !encode(c.description, r.description) || !encode(c.module, r.appName) ||
        !encode(c.company, r.companyName) || !encode(c.productDescription, r.productDescription) ||
        !encode(c.caption, r.windowTitle) || !encode(c.windowClass, r.windowClass)) {
        return std::nullopt;
    }
    for (const auto& s : c.states) {
        if (!encode(s, r.states.emplace_back())) {
            return std::nullopt;
        }
    }
    auto body = bodyTokens(c, r.typeByte, reason);
    if (!body) {
        return std::nullopt;
    }
    if (emptyContent(c)) {
        reason = kEmptyContent;
        return std::nullopt;
    }
    r.body = std::move(*body);
    for (const auto& ref : dat::ExtractListRefs(r.name)) {
        r.listRefs.push_back(ref);
    }
    r.listRefCountRaw = static_cast<std::uint32_t>(r.listRefs.size());
    r.scopeByte = c.scope == "application" ? dat::kApplicationScope
                  : c.scope == "window"    ? dat::kWindowScope
                                           : dat::kGlobalScope;
    if (!c.enabled) {
        r.scopeByte |= dat::kSkipBit;
    }
    return r;
}

std::optional<dat::ListRecord> listRecordOf(const List& l, std::string& reason) {
    if (auto fault = dat::storedListNameFault(l.name)) {
        reason = asReason(*fault);
        return std::nullopt;
    }
    if (l.items.empty()) {
        reason = kEmptyContent;
        return std::nullopt;
    }
    Encoder encode(reason);
    std::string name;
    std::vector<std::string> items(l.items.size());
    if (!encode(l.name, name)) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (!encode(l.items[i], items[i])) {
            return std::nullopt;
        }
    }
    return dat::listRecord(name, items);
}

} // namespace plv::xml
