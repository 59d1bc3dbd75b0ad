#include "datfile/text_search.h"

#include "platform/codepage.h"

namespace plv::dat {

std::size_t findText(const std::string& body, const std::string& search, std::size_t from,
                     bool matchCase) {
    if (search.empty() || from > body.size()) {
        return std::string::npos;
    }
    if (matchCase) {
        return body.find(search, from);
    }
    return foldCp1252(body).find(foldCp1252(search), from);
}

Replaced replaceEvery(const std::string& body, const std::string& search,
                      const std::string& replace, bool matchCase, std::size_t from) {
    Replaced out;
    if (search.empty() || from > body.size()) {
        out.text = body;
        return out;
    }
    // Matches are found in the old body; the folded copy is made once.
    const std::string haystack = matchCase ? body : foldCp1252(body);
    const std::string needle = matchCase ? search : foldCp1252(search);
    out.text.reserve(body.size());
    out.text.append(body, 0, from);
    std::size_t at = from;
    for (;;) {
        std::size_t hit = haystack.find(needle, at);
        if (hit == std::string::npos) {
            break;
        }
        out.text.append(body, at, hit - at);
        out.text += replace;
        ++out.count;
        at = hit + search.size();
    }
    out.text.append(body, at, std::string::npos);
    return out;
}

} // namespace plv::dat
