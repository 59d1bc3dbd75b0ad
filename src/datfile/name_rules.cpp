#include "datfile/name_rules.h"

#include "datfile/record_ops.h"
#include "platform/codepage.h"

#include <algorithm>

namespace plv::dat {
namespace {

bool hasControlCharacter(const std::string& text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 32; });
}

} // namespace

std::optional<std::string> commandNameFault(const std::string& name) {
    if (name.empty()) {
        return "A command name cannot be empty";
    }
    std::size_t lastOpen = name.rfind('<');
    if (lastOpen != std::string::npos && name.find('>', lastOpen) == std::string::npos) {
        return "A '<' in a command name needs a closing '>'";
    }
    if (ExtractListRefs(name).size() > kMaxListRefs) {
        return "A command name refers to at most 20 LISTs";
    }
    return std::nullopt;
}

std::optional<std::string> listNameFault(const std::string& name) {
    static const std::string allowed = "abcdefghijklmnopqrstuvwxyz0123456789_-.";
    if (name.empty()) {
        return "A LIST name cannot be empty";
    }
    for (char c : foldCase(name)) {
        if (allowed.find(c) == std::string::npos) {
            return "Only numbers, letters and _-. are allowed by Dragon in LIST names";
        }
    }
    return std::nullopt;
}

std::optional<std::string> storedListNameFault(const std::string& name) {
    if (name.empty()) {
        return "A LIST name cannot be empty";
    }
    if (hasControlCharacter(name)) {
        return "A LIST name cannot hold a control character";
    }
    if (name.find_first_of("<>[]") != std::string::npos) {
        return "A LIST name cannot hold '<', '>', '[' or ']'";
    }
    return std::nullopt;
}

} // namespace plv::dat
