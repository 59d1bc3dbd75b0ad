#pragma once

#include <optional>
#include <string>
#include <vector>

namespace plv::dat {

// Names of Windows virtual-key codes, from the text file "keynames": line n names code n.
class KeyNames {
  public:
    KeyNames();
    // From the file's text; lines are trimmed, an empty line names its code "Unknown".
    static KeyNames fromText(const std::string& text);
    static std::optional<KeyNames> load(const std::string& path);
    // Entry n of the table (0..256); codes the file does not list have an empty name.
    const std::string& name(int code) const;

  private:
    std::vector<std::string> names_;
};

} // namespace plv::dat
