#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Reads the Advanced Scripting bodies that the KEYS converters write, independently of
// them: for the tests and the fuzz harness.
namespace plv::test {

// The contents of a Basic string literal at the start of `s` ("..." with "" for a quote),
// and the rest after its closing quote. Nothing when it is not one.
inline std::optional<std::pair<std::string, std::string_view>> readLiteral(std::string_view s) {
    if (s.empty() || s[0] != '"') {
        return std::nullopt;
    }
    std::string text;
    for (std::size_t i = 1;;) {
        std::size_t quote = s.find('"', i);
        if (quote == std::string_view::npos) {
            return std::nullopt;
        }
        text.append(s.substr(i, quote - i));
        if (quote + 1 < s.size() && s[quote + 1] == '"') {
            text += '"';
            i = quote + 2;
        } else {
            return std::make_pair(text, s.substr(quote + 1));
        }
    }
}

inline std::vector<std::string_view> crLfLines(std::string_view s) {
    std::vector<std::string_view> lines;
    for (;;) {
        std::size_t at = s.find("\r\n");
        lines.push_back(s.substr(0, at));
        if (at == std::string_view::npos) {
            return lines;
        }
        s.remove_prefix(at + 2);
    }
}

// What a KEYS body types: each line break, CR LF or a lone CR or LF, as CR LF.
inline std::string typedText(std::string_view body) {
    std::string out;
    for (std::size_t i = 0; i < body.size(); ++i) {
        bool crLf = body[i] == '\r' && i + 1 < body.size() && body[i + 1] == '\n';
        if (body[i] == '\r' || body[i] == '\n') {
            out += "\r\n";
            i += crLf ? 1 : 0;
        } else {
            out += body[i];
        }
    }
    return out;
}

struct SendKeysForm {
    std::string fault; // empty when well formed
    std::string typed; // what the SendKeys statements type, vbCr as CR LF
    int dragonLines = 0;
};

// "Sub Main", an empty line, statements, an empty line, "End Sub"; every line between the
// first and the last empty or one statement whose quotes pair up.
inline SendKeysForm readSendKeysForm(std::string_view body) {
    SendKeysForm form;
    auto lines = crLfLines(body);
    if (lines.size() < 4 || lines[0] != "Sub Main" || lines[1] != "" ||
        lines[lines.size() - 2] != "" || lines.back() != "End Sub") {
        form.fault = "not Sub Main, an empty line ... an empty line, End Sub";
        return form;
    }
    for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
        std::string_view line = lines[i];
        if (line.empty()) {
            continue;
        }
        // A script editor breaks the line at a lone CR or LF too.
        if (line.find_first_of("\r\n") != std::string_view::npos) {
            form.fault = "line " + std::to_string(i + 1) + " holds a lone line break";
            return form;
        }
        if (line == "SendKeys vbCr, true") {
            form.typed += "\r\n";
            continue;
        }
        bool dragon = line.substr(0, 15) == "SendDragonKeys ";
        std::string_view rest = line.substr(dragon ? 15 : 9);
        auto literal =
            line.substr(0, 9) == "SendKeys " || dragon ? readLiteral(rest) : std::nullopt;
        bool endOk =
            literal && (dragon ? literal->second.empty()
                               : (literal->second == ",true" || literal->second == ", true" ||
                                  literal->second == " & vbCr,true"));
        if (!endOk) {
            form.fault =
                "line " + std::to_string(i + 1) + " is not a statement: " + std::string(line);
            return form;
        }
        if (dragon) {
            ++form.dragonLines;
        } else {
            form.typed += literal->first;
            if (literal->second == " & vbCr,true") {
                form.typed += "\r\n";
            }
        }
    }
    return form;
}

// The body that a SendDragonKeys form hands to Dragon, or nothing when it is not one.
inline std::optional<std::string> sendDragonKeysBody(std::string_view result) {
    constexpr std::string_view head = "Sub Main\r\n\r\nSendDragonKeys ";
    constexpr std::string_view tail = "\r\n\r\nEnd Sub";
    if (result.substr(0, head.size()) != head || result.size() < head.size() + tail.size() ||
        result.substr(result.size() - tail.size()) != tail) {
        return std::nullopt;
    }
    auto literal =
        readLiteral(result.substr(head.size(), result.size() - head.size() - tail.size()));
    if (!literal || !literal->second.empty()) {
        return std::nullopt;
    }
    return literal->first;
}

} // namespace plv::test
