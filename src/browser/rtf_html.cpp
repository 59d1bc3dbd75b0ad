#include "browser/rtf_html.h"

#include "platform/codepage.h"

#include <array>
#include <cctype>
#include <cstdint>
#include <map>
#include <set>

namespace plv::browser {
namespace {

struct CharFormat {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int halfPoints = 24;
    int colour = 0;
    int background = 0;
    int font = -1;
    bool operator==(const CharFormat&) const = default;
};

enum class Dest { Text, Skip, FontTable, ColourTable, Pict };

struct GroupState {
    CharFormat format;
    Dest dest = Dest::Text;
    int unicodeSkip = 1; // \ucN
    std::string align;
    bool ignorable = false; // a \* was seen at the start of this group
};

struct Colour {
    int red = 0;
    int green = 0;
    int blue = 0;
};

struct Picture {
    std::string type; // "png", "jpeg", or another kind that is not shown
    std::string data;
    int nibble = -1; // a first hex digit waiting for its second
    int width = 0;
    int height = 0;
    int widthGoal = 0; // twips
    int heightGoal = 0;
    int scaleX = 100;
    int scaleY = 100;
};

// Destinations whose text is not part of the document.
const std::set<std::string>& skippedDestinations() {
    static const std::set<std::string> words = {
        "stylesheet",
        "info",
        "header",
        "headerl",
        "headerr",
        "headerf",
        "footer",
        "footerl",
        "footerr",
        "footerf",
        "footnote",
        "nonshppict",
        "themedata",
        "colorschememapping",
        "latentstyles",
        "datastore",
        "xmlnstbl",
        "rsidtbl",
        "mmathPr",
        "generator",
        "listtable",
        "revtbl",
        "filetbl",
        "pgdsctbl",
        "listoverridetable",
        "annotation",
        "atnid",
        "atnauthor",
        "objdata",
        "fldinst",
        "bkmkstart",
        "bkmkend",
        "userprops",
        "docvar",
        "template",
        "comment",
        "title",
        "subject",
        "author",
        "operator",
        "keywords",
        "doccomm",
        "xe",
        "tc",
        "txe",
        "rxe",
        "private",
        "pntxta",
        "pntxtb",
        "falt",
        "panose",
        "blipuid",
    };
    return words;
}

// Named characters, as Unicode code points.
const std::map<std::string, char32_t>& specialCharacters() {
    static const std::map<std::string, char32_t> chars = {
        {"lquote", 0x2018},  {"rquote", 0x2019},  {"ldblquote", 0x201C}, {"rdblquote", 0x201D},
        {"bullet", 0x2022},  {"endash", 0x2013},  {"emdash", 0x2014},    {"emspace", 0x2003},
        {"enspace", 0x2002}, {"qmspace", 0x2005}, {"tab", U'\t'},
    };
    return chars;
}

std::string utf8Of(char32_t c) {
    std::string out;
    appendUtf8(out, c);
    return out;
}

std::string escapeHtml(std::string_view text) {
    std::string out;
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
        default:
            out += c;
        }
    }
    return out;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

std::string hexColour(const Colour& c) {
    static const char* digits = "0123456789abcdef";
    std::string out = "#";
    for (int v : {c.red, c.green, c.blue}) {
        v = v < 0 ? 0 : (v > 255 ? 255 : v);
        out += digits[v >> 4];
        out += digits[v & 15];
    }
    return out;
}

class Converter {
  public:
    explicit Converter(std::string_view in) : in_(in) {}
    RtfDocument run();

  private:
    static constexpr std::size_t kMaxDepth = 512;

    void openGroup();
    void closeGroup();
    void control();
    void controlWord(const std::string& word, bool hasParam, int param);
    bool formatWord(const std::string& word, bool hasParam, int param);
    void destinationWord(const std::string& word);
    void pictureWord(const std::string& word, int param);
    void binary(int length);
    void plainByte(unsigned char byte);
    void character(char32_t c);
    void unicode(int value);
    void emit(const std::string& utf8);
    void lineBreak();
    void endParagraph();
    void openParagraph();
    void syncSpan();
    void closeSpan();
    std::string spanStyle(const CharFormat& f) const;
    void finishPicture();

    std::string_view in_;
    std::size_t pos_ = 0;
    std::vector<GroupState> stack_;
    GroupState cur_;
    std::size_t overflow_ = 0; // groups opened beyond kMaxDepth
    int skipChars_ = 0;        // replacement characters after \uN
    char32_t highSurrogate_ = 0;

    std::string html_;
    bool paraOpen_ = false;
    bool spanOpen_ = false;
    CharFormat spanFormat_;

    std::vector<Colour> colours_;
    Colour colour_;
    bool colourGiven_ = false;
    std::map<int, std::string> fonts_;
    int fontIndex_ = -1;
    std::string fontName_;
    Picture picture_;
    std::vector<RtfImage> images_;
};

RtfDocument Converter::run() {
    while (pos_ < in_.size()) {
        char c = in_[pos_];
        if (c == '{') {
            ++pos_;
            openGroup();
        } else if (c == '}') {
            ++pos_;
            closeGroup();
        } else if (c == '\\') {
            ++pos_;
            control();
        } else {
            ++pos_;
            if (c != '\r' && c != '\n') {
                plainByte(static_cast<unsigned char>(c));
            }
        }
    }
    closeSpan();
    if (paraOpen_) {
        html_ += "</p>";
    }
    return {"<html><body>" + html_ + "</body></html>", std::move(images_)};
}

void Converter::openGroup() {
    skipChars_ = 0;
    if (stack_.size() >= kMaxDepth) {
        ++overflow_;
        return;
    }
    stack_.push_back(cur_);
    cur_.ignorable = false;
}

void Converter::closeGroup() {
    skipChars_ = 0;
    if (overflow_ > 0) {
        --overflow_;
        return;
    }
    if (stack_.empty()) {
        return; // an unbalanced brace: ignored
    }
    Dest closing = cur_.dest;
    cur_ = stack_.back();
    stack_.pop_back();
    if (closing == Dest::Pict && cur_.dest != Dest::Pict) {
        finishPicture();
    }
}

void Converter::control() {
    if (pos_ >= in_.size()) {
        return;
    }
    char c = in_[pos_];
    if (std::isalpha(static_cast<unsigned char>(c))) {
        std::string word;
        while (pos_ < in_.size() && std::isalpha(static_cast<unsigned char>(in_[pos_])) &&
               word.size() < 32) {
            word += in_[pos_++];
        }
        bool negative = pos_ < in_.size() && in_[pos_] == '-';
        std::size_t digitsAt = pos_ + (negative ? 1 : 0);
        bool hasParam =
            digitsAt < in_.size() && std::isdigit(static_cast<unsigned char>(in_[digitsAt]));
        long long value = 0;
        if (hasParam) {
            pos_ = digitsAt;
            int digits = 0;
            while (pos_ < in_.size() && std::isdigit(static_cast<unsigned char>(in_[pos_]))) {
                if (digits++ < 10) {
                    value = value * 10 + (in_[pos_] - '0');
                }
                ++pos_;
            }
            value = negative ? -value : value;
            value = value > 0x7FFFFFFF ? 0x7FFFFFFF : (value < -0x7FFFFFFF ? -0x7FFFFFFF : value);
        }
        if (pos_ < in_.size() && in_[pos_] == ' ') {
            ++pos_;
        }
        controlWord(word, hasParam, static_cast<int>(value));
        return;
    }
    ++pos_;
    switch (c) {
    case '\'': {
        int hi = pos_ < in_.size() ? hexValue(in_[pos_]) : -1;
        int lo = pos_ + 1 < in_.size() ? hexValue(in_[pos_ + 1]) : -1;
        if (hi >= 0 && lo >= 0) {
            pos_ += 2;
            plainByte(static_cast<unsigned char>(hi * 16 + lo));
        }
        break;
    }
    case '*':
        cur_.ignorable = true;
        break;
    case '\r':
    case '\n':
        controlWord("par", false, 0);
        break;
    case '~':
        character(0x00A0);
        break;
    case '_':
        character(0x2011);
        break;
    case '-':
        break; // an optional hyphen
    default:
        plainByte(static_cast<unsigned char>(c)); // \\ \{ \} and other literal symbols
    }
}

void Converter::controlWord(const std::string& word, bool hasParam, int param) {
    if (word == "bin") {
        binary(hasParam ? param : 0);
        return;
    }
    if (cur_.dest == Dest::Skip) {
        return;
    }
    if (cur_.ignorable && word != "shppict") {
        cur_.ignorable = false;
        cur_.dest = Dest::Skip;
        return;
    }
    cur_.ignorable = false;
    if (word != "u") {
        skipChars_ = 0;
    }
    if (cur_.dest == Dest::Pict) {
        pictureWord(word, param);
        return;
    }
    if (cur_.dest == Dest::ColourTable) {
        int v = hasParam ? param : 0;
        if (word == "red" || word == "green" || word == "blue") {
            (word == "red" ? colour_.red : word == "green" ? colour_.green : colour_.blue) = v;
            colourGiven_ = true;
        }
        return;
    }
    if (cur_.dest == Dest::FontTable) {
        if (word == "f") {
            fontIndex_ = param;
            fontName_.clear();
        }
        return;
    }
    if (formatWord(word, hasParam, param)) {
        return;
    }
    destinationWord(word);
}

bool Converter::formatWord(const std::string& word, bool hasParam, int param) {
    bool on = !hasParam || param != 0;
    CharFormat& f = cur_.format;
    if (word == "b") {
        f.bold = on;
    } else if (word == "i") {
        f.italic = on;
    } else if (word == "ulnone") {
        f.underline = false;
    } else if (word.rfind("ul", 0) == 0 && word.find("ulc") != 0) {
        f.underline = on;
    } else if (word == "strike" || word == "striked") {
        f.strike = on;
    } else if (word == "fs") {
        f.halfPoints = hasParam && param > 0 ? param : 24;
    } else if (word == "cf") {
        f.colour = param;
    } else if (word == "cb" || word == "highlight") {
        f.background = param;
    } else if (word == "f") {
        f.font = param;
    } else if (word == "plain") {
        f = CharFormat{};
    } else if (word == "pard") {
        cur_.align.clear();
    } else if (word == "qc" || word == "qr" || word == "qj" || word == "ql") {
        static const std::map<std::string, std::string> aligns = {
            {"qc", "center"}, {"qr", "right"}, {"qj", "justify"}, {"ql", ""}};
        cur_.align = aligns.at(word);
    } else if (word == "uc") {
        cur_.unicodeSkip = param < 0 ? 0 : param;
    } else if (word == "u") {
        unicode(param);
    } else {
        return false;
    }
    return true;
}

void Converter::destinationWord(const std::string& word) {
    if (word == "par" || word == "sect" || word == "page") {
        endParagraph();
    } else if (word == "line") {
        lineBreak();
    } else if (word == "fonttbl") {
        cur_.dest = Dest::FontTable;
    } else if (word == "colortbl") {
        cur_.dest = Dest::ColourTable;
        colours_.clear();
    } else if (word == "pict") {
        cur_.dest = Dest::Pict;
        picture_ = Picture{};
    } else if (skippedDestinations().count(word)) {
        cur_.dest = Dest::Skip;
    } else if (auto it = specialCharacters().find(word); it != specialCharacters().end()) {
        character(it->second);
    }
}

void Converter::pictureWord(const std::string& word, int param) {
    if (word == "pngblip") {
        picture_.type = "png";
    } else if (word == "jpegblip") {
        picture_.type = "jpeg";
    } else if (word == "emfblip" || word == "wmetafile" || word == "dibitmap" ||
               word == "wbitmap" || word == "macpict" || word == "pmmetafile") {
        picture_.type = word;
    } else if (word == "picw") {
        picture_.width = param;
    } else if (word == "pich") {
        picture_.height = param;
    } else if (word == "picwgoal") {
        picture_.widthGoal = param;
    } else if (word == "pichgoal") {
        picture_.heightGoal = param;
    } else if (word == "picscalex") {
        picture_.scaleX = param > 0 ? param : 100;
    } else if (word == "picscaley") {
        picture_.scaleY = param > 0 ? param : 100;
    }
}

void Converter::binary(int length) {
    std::size_t n = length > 0 ? static_cast<std::size_t>(length) : 0;
    n = std::min(n, in_.size() - pos_);
    if (cur_.dest == Dest::Pict) {
        picture_.data.append(in_.substr(pos_, n));
    }
    pos_ += n;
}

void Converter::plainByte(unsigned char byte) {
    if (skipChars_ > 0) {
        --skipChars_;
        return;
    }
    switch (cur_.dest) {
    case Dest::Skip:
        return;
    case Dest::Pict: {
        int v = hexValue(static_cast<char>(byte));
        if (v < 0) {
            return;
        }
        if (picture_.nibble < 0) {
            picture_.nibble = v;
        } else {
            picture_.data += static_cast<char>(picture_.nibble * 16 + v);
            picture_.nibble = -1;
        }
        return;
    }
    case Dest::ColourTable:
        if (byte == ';') {
            colours_.push_back(colourGiven_ ? colour_ : Colour{-1, -1, -1});
            colour_ = Colour{};
            colourGiven_ = false;
        }
        return;
    case Dest::FontTable:
        if (byte == ';') {
            if (fontIndex_ >= 0) {
                fonts_[fontIndex_] = fontName_;
            }
            fontName_.clear();
        } else {
            fontName_ += decodeCp1252(std::string(1, static_cast<char>(byte)));
        }
        return;
    case Dest::Text:
        emit(decodeCp1252(std::string(1, static_cast<char>(byte))));
    }
}

void Converter::character(char32_t c) {
    if (cur_.dest == Dest::Text) {
        emit(utf8Of(c));
    }
}

void Converter::unicode(int value) {
    char32_t c = static_cast<char32_t>(value < 0 ? value + 65536 : value);
    skipChars_ = cur_.unicodeSkip;
    if (c >= 0xD800 && c <= 0xDBFF) {
        highSurrogate_ = c;
        return;
    }
    if (c >= 0xDC00 && c <= 0xDFFF) {
        if (highSurrogate_ != 0) {
            character(0x10000 + ((highSurrogate_ - 0xD800) << 10) + (c - 0xDC00));
        }
        highSurrogate_ = 0;
        return;
    }
    highSurrogate_ = 0;
    if (cur_.dest == Dest::FontTable) {
        fontName_ += utf8Of(c);
        return;
    }
    character(c);
}

void Converter::openParagraph() {
    if (paraOpen_) {
        return;
    }
    html_ += "<p style=\"margin-top:0; margin-bottom:0; white-space:pre-wrap;";
    if (!cur_.align.empty()) {
        html_ += " text-align:" + cur_.align + ";";
    }
    html_ += "\">";
    paraOpen_ = true;
}

void Converter::emit(const std::string& utf8) {
    openParagraph();
    syncSpan();
    html_ += escapeHtml(utf8);
}

void Converter::lineBreak() {
    if (cur_.dest != Dest::Text) {
        return;
    }
    openParagraph();
    closeSpan();
    html_ += "<br />";
}

void Converter::endParagraph() {
    if (!paraOpen_) {
        emit("\u00A0"); // an empty paragraph keeps its line
    }
    closeSpan();
    html_ += "</p>";
    paraOpen_ = false;
}

std::string Converter::spanStyle(const CharFormat& f) const {
    std::string style;
    if (f.bold) {
        style += "font-weight:bold; ";
    }
    if (f.italic) {
        style += "font-style:italic; ";
    }
    if (f.underline || f.strike) {
        style += std::string("text-decoration:") + (f.underline ? " underline" : "") +
                 (f.strike ? " line-through" : "") + "; ";
    }
    style +=
        "font-size:" + std::to_string(f.halfPoints / 2) + (f.halfPoints % 2 ? ".5" : "") + "pt; ";
    auto colourAt = [&](int index) -> std::string {
        if (index <= 0 || static_cast<std::size_t>(index) >= colours_.size() ||
            colours_[static_cast<std::size_t>(index)].red < 0) {
            return {};
        }
        return hexColour(colours_[static_cast<std::size_t>(index)]);
    };
    if (auto c = colourAt(f.colour); !c.empty()) {
        style += "color:" + c + "; ";
    }
    if (auto c = colourAt(f.background); !c.empty()) {
        style += "background-color:" + c + "; ";
    }
    if (auto it = fonts_.find(f.font); it != fonts_.end() && !it->second.empty()) {
        std::string family;
        for (char ch : it->second) {
            if (ch != '\'' && ch != '"' && ch != ';') {
                family += ch;
            }
        }
        style += "font-family:'" + escapeHtml(family) + "'; ";
    }
    return style;
}

void Converter::syncSpan() {
    if (spanOpen_ && spanFormat_ == cur_.format) {
        return;
    }
    closeSpan();
    html_ += "<span style=\"" + spanStyle(cur_.format) + "\">";
    spanOpen_ = true;
    spanFormat_ = cur_.format;
}

void Converter::closeSpan() {
    if (spanOpen_) {
        html_ += "</span>";
        spanOpen_ = false;
    }
}

void Converter::finishPicture() {
    Picture p = std::move(picture_);
    picture_ = Picture{};
    if ((p.type != "png" && p.type != "jpeg") || p.data.empty() || cur_.dest != Dest::Text) {
        return;
    }
    RtfImage image;
    image.name =
        "rtfimage" + std::to_string(images_.size() + 1) + (p.type == "png" ? ".png" : ".jpg");
    image.mimeType = p.type == "png" ? "image/png" : "image/jpeg";
    image.data = std::move(p.data);
    // Goal sizes are in twips (15 per pixel at 96 dpi); picw/pich are pixels for bitmaps.
    int w = p.widthGoal > 0 ? p.widthGoal / 15 : p.width;
    int h = p.heightGoal > 0 ? p.heightGoal / 15 : p.height;
    image.width = w > 0 ? static_cast<int>(static_cast<long long>(w) * p.scaleX / 100) : 0;
    image.height = h > 0 ? static_cast<int>(static_cast<long long>(h) * p.scaleY / 100) : 0;
    openParagraph();
    closeSpan();
    html_ += "<img src=\"" + image.name + "\"";
    if (image.width > 0 && image.height > 0) {
        html_ += " width=\"" + std::to_string(image.width) + "\" height=\"" +
                 std::to_string(image.height) + "\"";
    }
    html_ += " />";
    images_.push_back(std::move(image));
}

} // namespace

RtfDocument rtfToHtml(std::string_view rtf) {
    return Converter(rtf).run();
}

} // namespace plv::browser
