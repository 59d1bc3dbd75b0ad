#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace plv::browser {

// A picture found in the rich text, referred to from the HTML by `name`.
struct RtfImage {
    std::string name; // "rtfimage1.png"
    std::string mimeType;
    std::string data; // the decoded file bytes
    int width = 0;    // pixels at 96 dpi; 0 when the text gives no size
    int height = 0;
};

struct RtfDocument {
    std::string html; // UTF-8
    std::vector<RtfImage> images;
};

// Converts the formatted block of a Text and Graphics command to HTML: paragraphs, bold,
// italic, underline, strike-through, font size and family, colours, alignment, special
// characters, \uN and PNG or JPEG pictures. Anything else is skipped. `rtf` holds file
// bytes (Windows-1252). Damaged input never reads past its end.
RtfDocument rtfToHtml(std::string_view rtf);

} // namespace plv::browser
