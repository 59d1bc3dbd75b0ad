#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace plv {

// A Windows profile (.ini) file: sections and keys compared without regard to case,
// values read with a 250-character buffer. Writes go to disk at once, through
// files::replaceFile, and change only the line of their key.
class Profile {
  public:
    static constexpr std::size_t kValueLimit = 250;

    explicit Profile(std::string path);
    ~Profile();
    Profile(const Profile&) = delete;
    Profile& operator=(const Profile&) = delete;

    const std::string& path() const { return path_; }
    // Reads the file again (another program may have written it).
    void reload();

    // The stored value, cut at 250 characters; nullopt when the key is absent.
    std::optional<std::string> get(const std::string& section, const std::string& key) const;
    // Self-populating read: an absent or empty value writes `defaultValue` back and
    // returns it.
    std::string read(const std::string& section, const std::string& key,
                     const std::string& defaultValue);
    bool write(const std::string& section, const std::string& key, const std::string& value);
    bool removeKey(const std::string& section, const std::string& key);
    std::vector<std::string> keys(const std::string& section) const;

  private:
    bool save(std::string text);
    std::string path_;
    struct Store;
    std::unique_ptr<Store> store_;
};

// The settings file Parlavista.INI; the section is "Parlavista" unless named.
class Settings {
  public:
    static constexpr const char* kSection = "Parlavista";

    explicit Settings(const std::string& programFolder);
    std::string read(const std::string& key, const std::string& defaultValue,
                     const std::string& section = kSection) {
        return profile_.read(section, key, defaultValue);
    }
    bool write(const std::string& key, const std::string& value,
               const std::string& section = kSection) {
        return profile_.write(section, key, value);
    }
    // "True", "-1" and "1" read as true.
    bool readBool(const std::string& key, bool defaultValue, const std::string& section = kSection);
    int readInt(const std::string& key, int defaultValue, const std::string& section = kSection);
    Profile& profile() { return profile_; }

  private:
    Profile profile_;
};

} // namespace plv
