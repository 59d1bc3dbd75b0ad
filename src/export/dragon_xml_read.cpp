#include "datfile/format.h"
#include "export/dragon_xml.h"
#include "platform/codepage.h"
#include "platform/utf16.h"

#include <algorithm>
#include <pugixml.hpp>

namespace plv::xml {
namespace {

// Line numbers of byte offsets in the text the parser saw.
class Lines {
  public:
    explicit Lines(std::string_view text) {
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\n') {
                ends_.push_back(i);
            }
        }
    }
    int at(std::ptrdiff_t offset) const {
        auto before =
            std::lower_bound(ends_.begin(), ends_.end(),
                             static_cast<std::size_t>(std::max<std::ptrdiff_t>(0, offset)));
        return static_cast<int>(before - ends_.begin()) + 1;
    }

  private:
    std::vector<std::size_t> ends_;
};

// Thrown while the tree is walked: what is wrong and where.
struct Refusal {
    int line;
    std::string why;
};

std::string lower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

// The encoding the declaration names, lower-cased; empty without one.
std::string declaredEncoding(std::string_view bytes) {
    std::string_view head = bytes.substr(0, std::min<std::size_t>(bytes.size(), 256));
    if (head.substr(0, 5) != "<?xml") {
        return "";
    }
    head = head.substr(0, head.find("?>"));
    std::size_t at = head.find("encoding");
    if (at == std::string_view::npos) {
        return "";
    }
    std::size_t open = head.find_first_of("\"'", at);
    if (open == std::string_view::npos) {
        return "";
    }
    std::size_t close = head.find(head[open], open + 1);
    if (close == std::string_view::npos) {
        return "";
    }
    return lower(std::string(head.substr(open + 1, close - open - 1)));
}

bool isLatin(const std::string& encoding) {
    return encoding == "windows-1252" || encoding == "cp1252" || encoding == "iso-8859-1" ||
           encoding == "latin1" || encoding == "us-ascii";
}

// The file's text as UTF-8, by byte-order mark, then by declaration.
std::optional<std::string> utf8Text(std::string_view bytes, ReadFailure& failure) {
    std::size_t badAt = 0;
    std::optional<std::string> text;
    auto starts = [&](std::string_view prefix) { return bytes.substr(0, prefix.size()) == prefix; };
    if (starts("\xFF\xFE") || starts(std::string_view("<\0", 2))) {
        text = utf16ToUtf8(bytes.substr(starts("\xFF\xFE") ? 2 : 0), false, badAt);
    } else if (starts("\xFE\xFF") || starts(std::string_view("\0<", 2))) {
        text = utf16ToUtf8(bytes.substr(starts("\xFE\xFF") ? 2 : 0), true, badAt);
    } else if (starts("\xEF\xBB\xBF")) {
        text = std::string(bytes.substr(3));
    } else if (isLatin(declaredEncoding(bytes))) {
        return decodeCp1252(bytes);
    } else {
        text = std::string(bytes);
    }
    if (text) {
        badAt = invalidUtf8At(*text);
        if (badAt == std::string::npos) {
            return text;
        }
        failure = {Lines(*text).at(static_cast<std::ptrdiff_t>(badAt)),
                   "the text is not valid in the encoding the file declares"};
    } else {
        failure = {1, "the text is not valid UTF-16"};
    }
    return std::nullopt;
}

// The offset of a reference to character 0 ("&#0;", "&#x00;") outside CDATA sections and
// comments: the parser would end the value there without a word.
std::size_t nulReferenceAt(std::string_view text) {
    std::size_t at = 0;
    while ((at = text.find_first_of("<&", at)) != std::string_view::npos) {
        std::string_view rest = text.substr(at);
        if (rest.starts_with("<![CDATA[") || rest.starts_with("<!--")) {
            at = text.find(rest[1] == '!' && rest[2] == '[' ? "]]>" : "-->", at);
            continue;
        }
        if (rest.starts_with("&#")) {
            std::size_t digits = rest.starts_with("&#x") || rest.starts_with("&#X") ? 3 : 2;
            std::size_t end = rest.find_first_not_of('0', digits);
            if (end > digits && end != std::string_view::npos && rest[end] == ';') {
                return at;
            }
        }
        ++at;
    }
    return std::string_view::npos;
}

class TreeReader {
  public:
    explicit TreeReader(const Lines& lines) : lines_(lines) {}
    Document read(const pugi::xml_document& tree);

  private:
    int line(const pugi::xml_node& node) const { return lines_.at(node.offset_debug()); }
    [[noreturn]] void refuse(const pugi::xml_node& node, const std::string& why) const {
        throw Refusal{line(node), why};
    }
    std::string text(const pugi::xml_node& node) const;
    std::string attribute(const pugi::xml_node& node, const char* name) const;
    std::uint32_t number(const pugi::xml_node& node, const char* name) const;
    void block(const pugi::xml_node& node, Document& out) const;
    Command command(const pugi::xml_node& node, const Command& scope) const;
    void contents(const pugi::xml_node& node, Command& out) const;
    List list(const pugi::xml_node& node) const;

    const Lines& lines_;
};

std::string TreeReader::text(const pugi::xml_node& node) const {
    std::string out;
    for (auto child : node.children()) {
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
            out += child.value();
        }
    }
    if (out.size() > kMaxValue) {
        refuse(node, "a value is longer than a command can hold");
    }
    return out;
}

std::string TreeReader::attribute(const pugi::xml_node& node, const char* name) const {
    std::string value = node.attribute(name).value();
    if (value.size() > kMaxValue) {
        refuse(node, "a value is longer than a command can hold");
    }
    return value;
}

std::uint32_t TreeReader::number(const pugi::xml_node& node, const char* name) const {
    std::string value = attribute(node, name);
    if (value.empty() || value.size() > 9 ||
        value.find_first_not_of("0123456789") != std::string::npos) {
        refuse(node, std::string("the attribute ") + name + " is not a number");
    }
    return static_cast<std::uint32_t>(std::stoul(value));
}

std::vector<std::string> splitStates(const std::string& states) {
    std::vector<std::string> out;
    std::size_t from = 0;
    while (from < states.size()) {
        std::size_t end = std::min(states.find(',', from), states.size());
        std::string state = states.substr(from, end - from);
        state.erase(0, state.find_first_not_of(' '));
        state.erase(state.find_last_not_of(' ') + 1);
        if (!state.empty()) {
            out.push_back(state);
        }
        from = end + 1;
    }
    return out;
}

void TreeReader::contents(const pugi::xml_node& node, Command& out) const {
    out.contentType = attribute(node, "type");
    if (out.contentType == kTextGraphics) {
        out.rtf = text(node.child("RTF"));
        out.body = text(node.child("TEXT"));
    } else if (out.contentType == kActions) {
        for (auto a : node.children("action")) {
            out.actions.push_back({number(a, "time"), attribute(a, "type"), number(a, "x"),
                                   number(a, "y"), number(a, "window")});
        }
    } else {
        out.body = text(node);
    }
}

Command TreeReader::command(const pugi::xml_node& node, const Command& scope) const {
    Command c = scope;
    c.line = line(node);
    c.name = fromXmlName(attribute(node, "name"));
    c.group = attribute(node, "group");
    c.enabled = lower(attribute(node, "enabled")) != "false";
    c.states = splitStates(attribute(node, "states"));
    c.description = text(node.child("description"));
    auto contents = node.child("contents");
    if (!contents) {
        refuse(node, "the command " + c.name + " has no contents");
    }
    this->contents(contents, c);
    return c;
}

void TreeReader::block(const pugi::xml_node& node, Document& out) const {
    Command scope;
    scope.scope = attribute(node, "type");
    if (scope.scope != "global" && scope.scope != "application" && scope.scope != "window") {
        refuse(node, "a Commands block of unknown type \"" + scope.scope + "\"");
    }
    // Each kind of block has its own fields; others in it are not read.
    if (scope.scope != "global") {
        scope.module = text(node.child("module"));
        scope.company = text(node.child("company"));
        scope.productDescription = text(node.child("description"));
    }
    if (scope.scope == "window") {
        scope.caption = text(node.child("caption"));
        scope.windowClass = text(node.child("class"));
    }
    for (auto c : node.children("Command")) {
        out.commands.push_back(command(c, scope));
    }
}

List TreeReader::list(const pugi::xml_node& node) const {
    List l{attribute(node, "name"), {}, line(node)};
    for (auto v : node.children("Value")) {
        l.items.push_back(text(v));
    }
    return l;
}

std::uint32_t languageOf(const std::string& text) {
    std::string digits = lower(text);
    int base = 10;
    if (digits.substr(0, 2) == "0x") {
        digits = digits.substr(2);
        base = 16;
    }
    if (digits.empty() || digits.size() > 4 ||
        digits.find_first_not_of(base == 16 ? "0123456789abcdef" : "0123456789") !=
            std::string::npos) {
        return 0;
    }
    return static_cast<std::uint32_t>(std::stoul(digits, nullptr, base));
}

Document TreeReader::read(const pugi::xml_document& tree) {
    for (auto node : tree.children()) {
        // A document type of its own could declare entities; none is read or expanded.
        if (node.type() == pugi::node_doctype &&
            std::string_view(node.value()).find('[') != std::string_view::npos) {
            refuse(node, "the document type declares entities, which are not read");
        }
    }
    auto root = tree.document_element();
    if (std::string_view(root.name()) != "MyCommands") {
        refuse(root, "this is not a Dragon command export (no MyCommands element)");
    }
    Document d;
    std::string language = attribute(root, "language");
    d.language = language.empty() ? 0x409 : languageOf(language);
    if (d.language == 0) {
        refuse(root, "the language \"" + language + "\" is not a language identifier");
    }
    if (dat::languageName(languageByte(d.language)) == "Unknown") {
        refuse(root, "the language \"" + language +
                         "\" is none of English, German, French, Spanish and Dutch");
    }
    for (auto node : root.children("Commands")) {
        block(node, d);
    }
    for (auto node : root.child("Lists").children("List")) {
        d.lists.push_back(list(node));
    }
    return d;
}

} // namespace

std::string ReadFailure::message() const {
    return "Line " + std::to_string(line) + ": " + why;
}

std::optional<Document> readDocument(std::string_view bytes, ReadFailure& failure) {
    std::optional<std::string> text = utf8Text(bytes, failure);
    if (!text) {
        return std::nullopt;
    }
    Lines lines(*text);
    if (std::size_t nul = nulReferenceAt(*text); nul != std::string_view::npos) {
        failure = {lines.at(static_cast<std::ptrdiff_t>(nul)),
                   "a value holds character 0 (&#0;), which no command can hold"};
        return std::nullopt;
    }
    pugi::xml_document tree;
    unsigned options =
        pugi::parse_cdata | pugi::parse_escapes | pugi::parse_wconv_attribute | pugi::parse_doctype;
    pugi::xml_parse_result parsed =
        tree.load_buffer(text->data(), text->size(), options, pugi::encoding_utf8);
    if (!parsed) {
        failure = {lines.at(parsed.offset),
                   std::string("the file is not well-formed XML (") + parsed.description() + ")"};
        return std::nullopt;
    }
    try {
        return TreeReader(lines).read(tree);
    } catch (const Refusal& r) {
        failure = {r.line, r.why};
        return std::nullopt;
    }
}

} // namespace plv::xml
