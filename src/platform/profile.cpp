#include "platform/profile.h"

// Debian builds SimpleIni with its ICU converter.
#define SI_CONVERT_ICU
#include "platform/codepage.h"
#include "platform/files.h"

#include <SimpleIni.h>

namespace plv {

struct Profile::Store {
    CSimpleIniA ini{false, false, false};
};

Profile::Profile(std::string path) : path_(std::move(path)), store_(std::make_unique<Store>()) {
    reload();
}

Profile::~Profile() = default;

void Profile::reload() {
    store_->ini.Reset();
    if (auto text = files::readAll(path_)) {
        store_->ini.LoadData(text->data(), text->size());
    }
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
    store_->ini.SetValue(section.c_str(), key.c_str(), value.c_str());
    return save();
}

bool Profile::removeKey(const std::string& section, const std::string& key) {
    store_->ini.Delete(section.c_str(), key.c_str());
    return save();
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

bool Profile::save() {
    std::string text;
    if (store_->ini.Save(text) < 0) {
        return false;
    }
    if (!files::parentFolder(path_).empty()) {
        files::makeDirectories(files::parentFolder(path_));
    }
    return files::replaceAtomically(path_, text);
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
