#include "browser/recently_used.h"

#include "catalogue/user_row.h"

#include <algorithm>

namespace plv::browser {

void RecentlyUsed::load(const std::string& commandFile) {
    section_ = commandFile;
    slots_.fill({});
    count_ = std::clamp(settings_.readInt("mrucount", 0, section_), 0, kMaxCount);
    for (int i = 1; i <= count_; ++i) {
        slots_[static_cast<std::size_t>(i)] =
            settings_.profile().get(section_, std::to_string(i)).value_or(std::string());
    }
}

std::vector<std::string> RecentlyUsed::entries() const {
    return {slots_.begin() + 1, slots_.begin() + 1 + count_};
}

bool RecentlyUsed::split(const std::string& entry, RecentEntry& out) {
    auto first = entry.find('\t');
    if (first == std::string::npos) {
        return false;
    }
    auto second = entry.find('\t', first + 1);
    if (second == std::string::npos || entry.find('\t', second + 1) != std::string::npos) {
        return false;
    }
    out.program = entry.substr(0, first);
    out.scope = entry.substr(first + 1, second - first - 1);
    out.name = entry.substr(second + 1);
    return true;
}

std::string RecentlyUsed::join(const RecentEntry& e) {
    return e.program + "\t" + e.scope + "\t" + e.name;
}

void RecentlyUsed::update(const std::string& program, const std::string& scope,
                          const std::string& name, const std::string& type, bool check) {
    std::string entry =
        type == "L" ? join({kGlobalCommands, kGlobalCommands, name}) : join({program, scope, name});
    int found = 0;
    if (check) {
        for (int i = 1; i <= count_ && found == 0; ++i) {
            if (slots_[static_cast<std::size_t>(i)] == entry) {
                found = i;
            }
        }
    }
    for (int i = found ? found - 1 : count_; i >= 1; --i) {
        slots_[static_cast<std::size_t>(i + 1)] = slots_[static_cast<std::size_t>(i)];
    }
    slots_[1] = entry;
    if (found == 0 && count_ < kMaxCount) {
        ++count_;
    }
    store();
}

void RecentlyUsed::output(const Exists& exists, Trace& trace) {
    trace.line("MRUOutput");
    std::vector<std::string> kept;
    for (int i = 1; i <= count_; ++i) {
        const std::string& entry = slots_[static_cast<std::size_t>(i)];
        RecentEntry e;
        if (!split(entry, e)) {
            trace.line("BAD MRU - " + entry);
        } else if (!exists(e)) {
            trace.line("mru not found");
        } else {
            kept.push_back(entry);
        }
    }
    slots_.fill({});
    count_ = static_cast<int>(kept.size());
    for (int i = 1; i <= count_; ++i) {
        slots_[static_cast<std::size_t>(i)] = kept[static_cast<std::size_t>(i - 1)];
    }
    store();
    trace.line("MRUcount=", std::to_string(count_));
    load(section_);
}

// Writes the counted entries and the count; entries past the count are removed so that a
// later, larger count never brings a dropped command back.
void RecentlyUsed::store() {
    if (section_.empty()) {
        return;
    }
    Profile& p = settings_.profile();
    for (int i = 1; i < kSlots; ++i) {
        const std::string key = std::to_string(i);
        if (i <= count_) {
            if (p.get(section_, key) != slots_[static_cast<std::size_t>(i)]) {
                p.write(section_, key, slots_[static_cast<std::size_t>(i)]);
            }
        } else if (p.get(section_, key)) {
            p.removeKey(section_, key);
        }
    }
    settings_.write("mrucount", std::to_string(count_), section_);
}

} // namespace plv::browser
