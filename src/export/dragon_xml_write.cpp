#include "export/dragon_xml.h"
#include "platform/codepage.h"
#include "platform/utf16.h"

#include <cstdio>
#include <map>
#include <tuple>

namespace plv::xml {
namespace {

constexpr const char* kEol = "\r\n";

std::string attribute(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\t':
            out += "&#9;";
            break;
        case '\n':
            out += "&#10;";
            break;
        case '\r':
            out += "&#13;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// A CDATA section cannot hold "]]>": the text is split after "]]", and the ">" opens the
// next section.
void appendCdata(std::string& out, const std::string& text) {
    out += "<![CDATA[";
    std::size_t from = 0;
    for (std::size_t end = text.find("]]>"); end != std::string::npos;
         end = text.find("]]>", from)) {
        out.append(text, from, end + 2 - from);
        out += "]]><![CDATA[";
        from = end + 2;
    }
    out.append(text, from);
    out += "]]>";
}

class Writer {
  public:
    std::string take() { return std::move(out_); }

    void line(int depth, const std::string& text) {
        out_.append(static_cast<std::size_t>(depth), '\t');
        out_ += text;
        out_ += kEol;
    }
    // Written straight into the document: bodies are most of its bytes.
    void element(int depth, std::string_view name, const std::string& text,
                 std::string_view open = {}) {
        out_.append(static_cast<std::size_t>(depth), '\t');
        if (open.empty()) {
            out_.append("<").append(name).append(">");
        } else {
            out_ += open;
        }
        appendCdata(out_, text);
        out_.append("</").append(name).append(">").append(kEol);
    }
    void command(const Command& c);
    void block(const Command& first, const std::vector<const Command*>& commands);
    void list(const List& l);

  private:
    void contents(const Command& c);
    std::string out_;
};

std::string joined(const std::vector<std::string>& states) {
    std::string out;
    for (const auto& s : states) {
        out += (out.empty() ? "" : ",") + s;
    }
    return out;
}

void Writer::contents(const Command& c) {
    std::string open = "<contents type=\"" + attribute(c.contentType) + "\">";
    if (c.contentType == kTextGraphics) {
        line(3, open);
        element(4, "RTF", c.rtf);
        element(4, "TEXT", c.body);
        line(3, "</contents>");
    } else if (c.contentType == kActions) {
        line(3, open);
        for (const auto& a : c.actions) {
            line(4, "<action time=\"" + std::to_string(a.time) + "\" type=\"" + attribute(a.type) +
                        "\" x=\"" + std::to_string(a.x) + "\" y=\"" + std::to_string(a.y) +
                        "\" window=\"" + std::to_string(a.window) + "\"/>");
        }
        line(3, "</contents>");
    } else {
        element(3, "contents", c.body, open);
    }
}

void Writer::command(const Command& c) {
    line(2, "<Command name=\"" + attribute(toXmlName(c.name)) + "\" group=\"" + attribute(c.group) +
                "\" enabled=\"" + (c.enabled ? "true" : "false") + "\" states=\"" +
                attribute(joined(c.states)) + "\">");
    element(3, "description", c.description);
    contents(c);
    line(2, "</Command>");
}

void Writer::block(const Command& first, const std::vector<const Command*>& commands) {
    line(1, "<Commands type=\"" + attribute(first.scope) + "\">");
    if (first.scope != "global") {
        element(2, "module", first.module);
        element(2, "company", first.company);
        element(2, "description", first.productDescription);
    }
    if (first.scope == "window") {
        element(2, "caption", first.caption);
        element(2, "class", first.windowClass);
    }
    for (const Command* c : commands) {
        command(*c);
    }
    line(1, "</Commands>");
}

void Writer::list(const List& l) {
    line(2, "<List name=\"" + attribute(l.name) + "\">");
    for (const auto& item : l.items) {
        element(3, "Value", item);
    }
    line(2, "</List>");
}

using ScopeKey =
    std::tuple<std::string, std::string, std::string, std::string, std::string, std::string>;

ScopeKey scopeKey(const Command& c) {
    return {c.scope, c.module, c.company, c.productDescription, c.caption, c.windowClass};
}

std::string documentBody(const Document& d, const std::string& encoding) {
    Writer w;
    w.line(0, "<?xml version=\"1.0\" encoding=\"" + encoding + "\"?>");
    w.line(0, "<!DOCTYPE MyCommands SYSTEM \"MyCmds11.dtd\">");
    char language[16];
    std::snprintf(language, sizeof language, "0x%X", static_cast<unsigned>(d.language));
    w.line(0, std::string("<MyCommands version=\"2.0\" language=\"") + language + "\">");
    // One block per Scope, in the order the Scopes first appear.
    std::vector<ScopeKey> order;
    std::map<ScopeKey, std::vector<const Command*>> blocks;
    for (const auto& c : d.commands) {
        auto& members = blocks[scopeKey(c)];
        if (members.empty()) {
            order.push_back(scopeKey(c));
        }
        members.push_back(&c);
    }
    for (const auto& key : order) {
        w.block(*blocks[key].front(), blocks[key]);
    }
    w.line(1, "<Lists>");
    for (const auto& l : d.lists) {
        w.list(l);
    }
    w.line(1, "</Lists>");
    w.line(0, "</MyCommands>");
    return w.take();
}

std::string renamed(const std::string& name, char open, char close, char newOpen, char newClose) {
    std::string out = name;
    std::size_t start = std::string::npos;
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (out[i] == open) {
            start = i;
        } else if (out[i] == close && start != std::string::npos) {
            out[start] = newOpen;
            out[i] = newClose;
            start = std::string::npos;
        }
    }
    return out;
}

} // namespace

std::string toXmlName(const std::string& name) {
    return renamed(name, '<', '>', '[', ']');
}

std::string fromXmlName(const std::string& name) {
    return renamed(name, '[', ']', '<', '>');
}

int languageByte(std::uint32_t language) {
    return static_cast<int>(language & 0xFF);
}

std::uint32_t languageId(int byte) {
    // The language with its default sublanguage: 0x409 for English, 0x407 for German.
    return 0x400u | static_cast<std::uint32_t>(byte & 0xFF);
}

std::string documentText(const Document& document) {
    return documentBody(document, "utf-8");
}

std::string writeDocument(const Document& document) {
    std::string bytes = utf8ToUtf16le(documentBody(document, "utf-16"));
    bytes.insert(0, "\xFF\xFE", 2);
    return bytes;
}

} // namespace plv::xml
