#include "editing/keys_conversion.h"

#include "platform/regex.h"

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

namespace plv::editing {
namespace {

constexpr std::string_view kCrLf = "\r\n";
// A literal grows to at most this many characters before a new statement starts.
constexpr std::size_t kLiteralLimit = 127;

const std::string kToken = R"([^\{]+|\{[^\}]*\})";
const std::string kDragonOnly = "(numlock|capslock|sysreq|break|rightalt|rightctrl|rightshift)";
const std::string kKeys =
    std::string("(F1|F2|F3|F4|F5|F6|F7|F8|F9|F10|F11|F12|F13|F14|F15|F16|prtsc|pause|") +
    "scrolllock|break|tab|backspace|enter|home|up|pgup|left|right|end|down|pgdn|ins|" +
    "del|numkeyenter|keypadenter|numkey0|numkey1|numkey2|numkey3|numkey4|numkey5|" +
    "numkey6|numkey7|numkey8|numkey9|numkey.|numkey*|numkey-|numkey+|numkey/|" +
    "slash|asterisk|mult|minus|plus|space|center|" +
    "extins|exthome|extpgup|extdel|extend|extpgdn|extup|extleft|extdown|extright)";
const std::string kModifiers = "(ctrl|alt|shift|leftctrl|leftalt|leftshift)";
const std::string kCombinable =
    std::string("(pgup|pgdn|end|home|left|right|up|down|tab|F1|F2|F3|F4|F5|F6|F7|F8|") +
    "F9|F10|F11|F12|" +
    "extins|exthome|extpgup|extdel|extend|extpgdn|extup|extleft|extdown|extright)";
const std::string kJoin = R"( ?\+ ?)";
const std::string kCount = R"(( +\d{1,})?)";

// Rows of the name mapping: plain texts, each replacing its first occurrence, case ignored.
// Read as patterns, "numkey." would take "numkey+" and give another key.
constexpr std::array<std::pair<std::string_view, std::string_view>, 39> kNameMapping{{
    {"leftctrl", "^"},
    {"leftshift", "+"},
    {"leftalt", "%"},
    {"ctrl", "^"},
    {"shift", "+"},
    {"alt", "%"},
    {"extins", "Ins"},
    {"exthome", "Home"},
    {"extpgup", "PgUp"},
    {"extdel", "Del"},
    {"extend", "End"},
    {"extpgdn", "PgDn"},
    {"extup", "Up"},
    {"extleft", "Left"},
    {"extdown", "Down"},
    {"extright", "Right"},
    {"numkeyenter", "PadEnter"},
    {"keypadenter", "PadEnter"},
    {"numkey0", "Pad0"},
    {"numkey1", "Pad1"},
    {"numkey2", "Pad2"},
    {"numkey3", "Pad3"},
    {"numkey4", "Pad4"},
    {"numkey5", "Pad5"},
    {"numkey6", "Pad6"},
    {"numkey7", "Pad7"},
    {"numkey8", "Pad8"},
    {"numkey9", "Pad9"},
    {"numkey.", "Pad."},
    {"numkey*", "Pad*"},
    {"numkey+", "Pad+"},
    {"numkey-", "Pad-"},
    {"numkey/", "Pad/"},
    {"slash", "Pad/"},
    {"asterisk", "Pad*"},
    {"mult", "Pad*"},
    {"minus", "Pad-"},
    {"plus", "Pad+"},
    {"center", "Clear"},
}};

struct Rewriting {
    Regex pattern;
    std::string_view templ;
};

struct Patterns {
    Regex token{kToken};
    Regex dragonOnly{kDragonOnly};
    Regex key{R"(\{)" + kKeys + R"(\})"};
    Regex keyWithCount{R"(\{)" + kKeys + R"( +\d{1,}\})"};
    std::array<Rewriting, 3> oneModifier{{
        {Regex(R"(\{)" + kModifiers + kJoin + kKeys + kCount + R"(\})"), "$1{$2$3}"},
        {Regex(R"(\{(ctrl|alt|shift|leftctrl|leftalt|leftshift) ?\+(.)\})"), "$1$2"},
        {Regex(R"(\{(ctrl|alt|shift|leftctrl|leftalt|leftshift) ?\+(.)( +\d{1,})?\})"), "$1{$2$3}"},
    }};
    // The first pattern has no closing brace, so a count after the key is dropped; the
    // look-ahead keeps "F1" from taking the start of "F10", "F11" and "F12".
    std::array<Rewriting, 2> twoModifiers{{
        {Regex(R"(\{)" + kModifiers + kJoin + kModifiers + kJoin + kCombinable + "(?![0-9])"),
         "$1$2{$3}"},
        {Regex(R"(\{)" + kModifiers + kJoin + kModifiers + kJoin + R"((.)\})"), "$1$2$3"},
    }};

    bool valid() const {
        auto ok = [](const auto& rewritings) {
            return std::all_of(rewritings.begin(), rewritings.end(),
                               [](const Rewriting& r) { return r.pattern.valid(); });
        };
        return token.valid() && dragonOnly.valid() && key.valid() && keyWithCount.valid() &&
               ok(oneModifier) && ok(twoModifiers);
    }
};

const Patterns* patterns() {
    static const Patterns compiled;
    return compiled.valid() ? &compiled : nullptr;
}

char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string asciiLower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](char c) { return asciiLower(c); });
    return out;
}

std::string mapNames(std::string s) {
    // The rows are lower case: they are looked up in a lower-case copy kept in step.
    std::string lower = asciiLower(s);
    for (const auto& [find, replace] : kNameMapping) {
        std::size_t at = lower.find(find);
        if (at != std::string::npos) {
            s.replace(at, find.size(), replace);
            lower.replace(at, find.size(), asciiLower(replace));
        }
    }
    return s;
}

template <std::size_t N>
std::optional<std::string> firstRewriting(const std::array<Rewriting, N>& rewritings,
                                          std::string_view t) {
    for (const auto& r : rewritings) {
        if (auto s = r.pattern.rewriteFirstMatch(t, r.templ)) {
            return s;
        }
    }
    return std::nullopt;
}

// Builds the SendKeys form statement by statement; a SendKeys literal may stay open so that
// the keys and short texts that follow join it.
class SendKeysWriter {
  public:
    SendKeysWriter() : out_("Sub Main\r\n\r\n") {}

    void closeLiteral() {
        if (open_) {
            out_ += "\",true\r\n";
            open_ = false;
        }
    }

    void keyText(std::string_view s) {
        std::string quoted = quoteDoubled(s);
        if (open_) {
            out_ += quoted;
            openLength_ += quoted.size();
            return;
        }
        out_.append("SendKeys \"").append(quoted);
        open_ = true;
        openLength_ = quoted.size();
    }

    void dragonLine(std::string_view t) {
        closeLiteral();
        out_.append("SendDragonKeys \"").append(quoteDoubled(t)).append("\"\r\n");
    }

    void textPiece(std::string_view token) {
        std::string quoted = quoteDoubled(token);
        std::string_view r = quoted;
        while (!r.empty()) {
            std::string_view p = nextPart(r);
            statementFor(p);
            r.remove_prefix(p.size());
        }
    }

    std::string finish() {
        if (open_) {
            out_ += "\", true\r\n";
        }
        out_ += "\r\nEnd Sub";
        return std::move(out_);
    }

  private:
    // The next part of a text: a line up to and including its CR LF, or as much as fits in
    // one literal.
    static std::string_view nextPart(std::string_view r) {
        std::size_t crlf = r.find(kCrLf);
        std::size_t i = crlf == std::string_view::npos ? 0 : crlf + 1; // 1-based, 0 for none
        std::string_view p;
        if (i < kLiteralLimit) {
            p = r.size() <= kLiteralLimit ? r : r.substr(0, kLiteralLimit);
            std::size_t inP = p.find(kCrLf);
            if (inP != std::string_view::npos) {
                p = p.substr(0, inP + kCrLf.size());
            }
        } else {
            p = r.substr(0, kLiteralLimit - 1);
        }
        // A doubled quote cut in two would end the literal early: leave its first half
        // to the next part.
        if (std::count(p.begin(), p.end(), '"') % 2 != 0) {
            p.remove_suffix(1);
        }
        return p;
    }

    void statementFor(std::string_view p) {
        if (p == kCrLf) {
            closeLiteral();
            out_ += "SendKeys vbCr, true\r\n";
        } else if (p.size() >= kCrLf.size() && p.substr(p.size() - kCrLf.size()) == kCrLf) {
            closeLiteral();
            out_.append("SendKeys \"")
                .append(p.substr(0, p.size() - kCrLf.size()))
                .append("\" & vbCr,true\r\n");
        } else if (open_ && openLength_ + p.size() < kLiteralLimit) {
            out_ += p;
            openLength_ += p.size();
        } else {
            if (open_) {
                out_ += "\", true\r\n";
                open_ = false;
            }
            out_.append("SendKeys \"").append(p).append("\",true\r\n");
            openLength_ = 0;
        }
    }

    std::string out_;
    bool open_ = false;
    std::size_t openLength_ = 0;
};

// Translates one key in braces. False when it cannot stand in a statement: one that holds
// a line break.
bool bracedKey(const Patterns& pt, std::string_view t, SendKeysWriter& w) {
    if (t.find_first_of(kCrLf) != std::string_view::npos) {
        return false;
    }
    std::optional<std::string> s;
    if (std::count(t.begin(), t.end(), '+') <= 1) {
        if (pt.dragonOnly.matches(t)) {
            w.dragonLine(t);
            return true;
        }
        if (pt.key.matches(t) || pt.keyWithCount.matches(t)) {
            s = std::string(t);
        } else {
            s = firstRewriting(pt.oneModifier, t);
        }
        if (!s) {
            w.keyText(t);
            return true;
        }
    } else {
        s = firstRewriting(pt.twoModifiers, t);
        if (!s) {
            w.dragonLine(t);
            return true;
        }
    }
    w.keyText(mapNames(std::move(*s)));
    return true;
}

// Whether SendKeys knows the braced key: one of the key names, with modifiers and a count
// as the conversion takes them, or a single character.
bool knownKey(const Patterns& pt, std::string_view t) {
    static const Regex oneCharacter{R"(^\{.( +\d{1,})?\}$)"};
    if (std::count(t.begin(), t.end(), '+') > 1) {
        return firstRewriting(pt.twoModifiers, t).has_value();
    }
    return pt.dragonOnly.matches(t) || pt.key.matches(t) || pt.keyWithCount.matches(t) ||
           oneCharacter.matches(t) || firstRewriting(pt.oneModifier, t).has_value();
}

// The body with every lone CR and every lone LF made the CR LF line break it stands for, so
// that no line break goes into a literal and splits its statement.
std::string withCrLfLineBreaks(std::string_view body) {
    std::string out;
    out.reserve(body.size());
    for (std::size_t i = 0; i < body.size(); ++i) {
        char c = body[i];
        if (c == '\r' && i + 1 < body.size() && body[i + 1] == '\n') {
            out += kCrLf;
            ++i;
        } else if (c == '\r' || c == '\n') {
            out += kCrLf;
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

std::string quoteDoubled(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 8);
    for (std::size_t at = 0;;) {
        std::size_t quote = text.find('"', at);
        if (quote == std::string_view::npos) {
            return out.append(text.substr(at));
        }
        out.append(text.substr(at, quote + 1 - at)).append(1, '"');
        at = quote + 1;
    }
}

KeysConversion toSendKeys(std::string_view keysBody) {
    const Patterns* pt = patterns();
    if (pt == nullptr) {
        return {};
    }
    const std::string text = withCrLfLineBreaks(keysBody);
    std::string_view body = text;
    SendKeysWriter w;
    try {
        std::size_t at = 0;
        while (at < body.size()) {
            // A match that does not start the rest leaves an unclosed brace in front of it,
            // which nothing can take: the body does not convert.
            auto m = pt->token.search(body, at);
            if (!m || m->start != at) {
                return {};
            }
            std::string_view t = body.substr(at, m->end - at);
            at = m->end;
            if (t.find('{') == std::string_view::npos) {
                w.textPiece(t);
            } else if (!bracedKey(*pt, t, w)) {
                return {};
            }
        }
    } catch (const RegexError&) {
        return {};
    }
    return {w.finish(), true};
}

KeysFaults keysFaults(std::string_view body) {
    KeysFaults out;
    const Patterns* pt = patterns();
    try {
        for (std::size_t at = 0; pt != nullptr && at < body.size();) {
            auto m = pt->token.search(body, at);
            if (!m || m->start != at) {
                out.unbalanced = true;
                break;
            }
            std::string_view t = body.substr(at, m->end - at);
            at = m->end;
            if (t.front() != '{') {
                out.unbalanced = out.unbalanced || t.find('}') != std::string_view::npos;
            } else if (t.find_first_of(kCrLf) != std::string_view::npos) {
                out.unbalanced = true;
            } else if (!knownKey(*pt, t)) {
                out.unknownKeys.emplace_back(t);
            }
        }
    } catch (const RegexError&) {
        // A body the engine cannot match is one the conversion refuses as well.
        out.unbalanced = true;
    }
    return out;
}

KeysConversion toSendDragonKeys(std::string_view body) {
    return {"Sub Main\r\n\r\nSendDragonKeys \"" + quoteDoubled(body) + "\"\r\n\r\nEnd Sub", true};
}

} // namespace plv::editing
