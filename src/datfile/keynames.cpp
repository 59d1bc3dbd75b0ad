#include "datfile/keynames.h"

#include "platform/files.h"

namespace plv::dat {
namespace {

std::string trimBlanks(const std::string& s) {
    auto first = s.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return {};
    }
    auto last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

} // namespace

KeyNames::KeyNames() : names_(257) {}

KeyNames KeyNames::fromText(const std::string& text) {
    KeyNames table;
    std::size_t start = 0;
    int code = 1;
    while (start < text.size() && code <= 256) {
        auto end = text.find('\n', start);
        std::string line = text.substr(start, end == std::string::npos ? end : end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        line = trimBlanks(line);
        table.names_[static_cast<std::size_t>(code)] = line.empty() ? "Unknown" : line;
        ++code;
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }
    return table;
}

std::optional<KeyNames> KeyNames::load(const std::string& path) {
    auto text = files::readAll(path);
    if (!text) {
        return std::nullopt;
    }
    return fromText(*text);
}

const std::string& KeyNames::name(int code) const {
    static const std::string empty;
    if (code < 0 || code > 256) {
        return empty;
    }
    return names_[static_cast<std::size_t>(code)];
}

} // namespace plv::dat
