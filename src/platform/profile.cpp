#include "platform/profile.h"

#include "platform/codepage.h"
#include "platform/files.h"

#include <SimpleIni.h>
#include <algorithm>

namespace plv {
namespace {

// A profile file changed line by line, as Windows changes one: a write touches the one line
// of its key and nothing else, so that the line breaks, spacing, comments and order of a
// file that others own (Dragon's local.ini) stay as they were.
class ProfileLines {
  public:
    explicit ProfileLines(const std::string& text) {
        for (std::size_t at = 0; at < text.size();) {
            std::size_t end = text.find('\n', at);
            end = end == std::string::npos ? text.size() : end + 1;
            lines_.push_back(text.substr(at, end - at));
            at = end;
        }
        // New lines end as the file's first line does; a profile file is Windows text.
        if (!lines_.empty() && lines_.front().ends_with("\n") &&
            !lines_.front().ends_with("\r\n")) {
            lineBreak_ = "\n";
        }
    }

    std::string text() const {
        std::string out;
        for (const auto& line : lines_) {
            out += line;
        }
        return out;
    }

    void set(const std::string& section, const std::string& key, const std::string& value) {
        Place place = find(section, key);
        if (place.key) {
            std::string& line = lines_[*place.key];
            std::size_t valueEnd = line.size() - breakOf(line).size();
            std::size_t valueAt =
                std::min(line.find_first_not_of(" \t", line.find('=') + 1), valueEnd);
            line = line.substr(0, valueAt) + value + std::string(breakOf(line));
            return;
        }
        std::size_t at = place.sectionEnd ? *place.sectionEnd : lines_.size();
        std::vector<std::string> added = {key + "=" + value + lineBreak_};
        if (!place.sectionEnd) {
            added.insert(added.begin(), "[" + section + "]" + lineBreak_);
        }
        if (at > 0 && breakOf(lines_[at - 1]).empty()) {
            lines_[at - 1] += lineBreak_;
        }
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), added.begin(), added.end());
    }

    void remove(const std::string& section, const std::string& key) {
        if (auto at = find(section, key).key) {
            lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(*at));
        }
    }

  private:
    // The line of the key (the first, as Windows reads it), and where a new key of the
    // section goes: after its last key, ahead of the blank lines and comments that lead
    // into the next section.
    struct Place {
        std::optional<std::size_t> key;
        std::optional<std::size_t> sectionEnd;
    };

    static std::string_view breakOf(std::string_view line) {
        return line.ends_with("\r\n") ? "\r\n" : line.ends_with("\n") ? "\n" : "";
    }
    static std::string_view trimmed(std::string_view text) {
        std::size_t begin = text.find_first_not_of(" \t\r\n");
        if (begin == std::string_view::npos) {
            return {};
        }
        return text.substr(begin, text.find_last_not_of(" \t\r\n") - begin + 1);
    }
    static std::optional<std::string_view> sectionOf(std::string_view line) {
        std::string_view t = trimmed(line);
        std::size_t close = t.find(']');
        if (!t.starts_with('[') || close == std::string_view::npos) {
            return std::nullopt;
        }
        return trimmed(t.substr(1, close - 1));
    }
    static std::optional<std::string_view> keyOf(std::string_view line) {
        std::string_view t = trimmed(line);
        std::size_t equals = t.find('=');
        if (t.starts_with(';') || t.starts_with('#') || equals == std::string_view::npos) {
            return std::nullopt;
        }
        return trimmed(t.substr(0, equals));
    }

    Place find(const std::string& section, const std::string& key) const {
        Place place;
        bool inSection = false;
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            if (auto name = sectionOf(lines_[i])) {
                inSection = equalsNoCase(*name, section);
                if (inSection && !place.sectionEnd) {
                    place.sectionEnd = i + 1;
                }
                continue;
            }
            if (!inSection) {
                continue;
            }
            auto name = keyOf(lines_[i]);
            if (name && equalsNoCase(*name, key)) {
                place.key = i;
                return place;
            }
            if (name && *place.sectionEnd <= i) {
                place.sectionEnd = i + 1;
            }
        }
        return place;
    }

    std::vector<std::string> lines_;
    std::string lineBreak_ = "\r\n";
};

} // namespace

struct Profile::Store {
    CSimpleIniA ini{false, false, false};
    std::string text; // the file as read, with every change made since
    void load() {
        ini.Reset();
        ini.LoadData(text.data(), text.size());
    }
};

Profile::Profile(std::string path) : path_(std::move(path)), store_(std::make_unique<Store>()) {
    reload();
}

Profile::~Profile() = default;

void Profile::reload() {
    store_->text = files::readAll(path_).value_or(std::string());
    store_->load();
}

std::optional<std::string> Profile::get(const std::string& section, const std::string& key) const {
    const char* value = store_->ini.GetValue(section.c_str(), key.c_str(), nullptr);
    if (!value) {
        return std::nullopt;
    }
    std::string v = value;
    if (v.size() > kValueLimit) {
        v.resize(kValueLimit);
    }
    return v;
}

std::string Profile::read(const std::string& section, const std::string& key,
                          const std::string& defaultValue) {
    auto value = get(section, key);
    if (value && !value->empty()) {
        return *value;
    }
    write(section, key, defaultValue);
    return defaultValue.substr(0, kValueLimit);
}

bool Profile::write(const std::string& section, const std::string& key, const std::string& value) {
    ProfileLines lines(store_->text);
    lines.set(section, key, value);
    return save(lines.text());
}

bool Profile::removeKey(const std::string& section, const std::string& key) {
    ProfileLines lines(store_->text);
    lines.remove(section, key);
    return save(lines.text());
}

std::vector<std::string> Profile::keys(const std::string& section) const {
    CSimpleIniA::TNamesDepend names;
    store_->ini.GetAllKeys(section.c_str(), names);
    names.sort(CSimpleIniA::Entry::LoadOrder());
    std::vector<std::string> out;
    for (const auto& n : names) {
        out.emplace_back(n.pItem);
    }
    return out;
}

bool Profile::save(std::string text) {
    if (text == store_->text) {
        return true;
    }
    store_->text = std::move(text);
    store_->load();
    if (!files::parentFolder(path_).empty()) {
        files::makeDirectories(files::parentFolder(path_));
    }
    return static_cast<bool>(files::replaceFile(path_, store_->text));
}

Settings::Settings(const std::string& programFolder)
    : profile_(files::join(programFolder, "Parlavista.INI")) {}

bool Settings::readBool(const std::string& key, bool defaultValue, const std::string& section) {
    std::string v = read(key, defaultValue ? "True" : "False", section);
    return equalsNoCase(v, "True") || v == "-1" || v == "1";
}

int Settings::readInt(const std::string& key, int defaultValue, const std::string& section) {
    std::string v = read(key, std::to_string(defaultValue), section);
    try {
        return std::stoi(v);
    } catch (...) {
        return defaultValue;
    }
}

} // namespace plv
