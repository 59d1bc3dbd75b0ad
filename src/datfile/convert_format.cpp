#include "datfile/convert_format.h"

#include "datfile/rewrite_full.h"
#include "datfile/text_search.h"

namespace plv::dat {
namespace {

std::int64_t countCommandsWhere(const Catalogue& catalogue, const char* condition) {
    // `condition` is a fixed text of this file, never user input.
    auto count = catalogue.prepare(
        std::string(R"(SELECT COUNT(*) FROM "user" WHERE "Type" <> 'L' AND )") + condition);
    count.step();
    return count.integer(0);
}

std::string commands(std::int64_t n) {
    return std::to_string(n) + (n == 1 ? " command" : " commands");
}

} // namespace

const FormatConversion* findFormatConversion(const std::string& target) {
    for (const auto& c : kFormatConversions) {
        if (target == c.operation || target == versionName(c.target) ||
            target == formatVersionString(c.target)) {
            return &c;
        }
    }
    return nullptr;
}

std::string adaptScriptNames(const std::string& body, Layout target, Layout source) {
    if (target == Layout::V60) {
        return replaceEvery(body, "SendDragonKeys", "SendKeys", false).text;
    }
    if (target == Layout::V61 && source <= Layout::V61) {
        return replaceEvery(body, "SendKeys", "SendDragonKeys", false).text;
    }
    return body;
}

std::vector<std::string> conversionLosses(const Session& s, Layout target) {
    std::vector<std::string> lines;
    if (!hasStateList(target) && hasStateList(s.file.layout)) {
        if (auto n = countCommandsWhere(s.catalogue, R"("states" <> '')")) {
            lines.push_back("the state lists of " + commands(n));
        }
    }
    if (!hasProtectionByte(target) && hasProtectionByte(s.file.layout)) {
        if (auto n = countCommandsWhere(s.catalogue, R"("encrypted" <> 0)")) {
            lines.push_back("the encryption of " + commands(n) +
                            " (written unprotected)");
        }
    }
    return lines;
}

Outcome convertFormat(Session& s, const FormatConversion& conversion) {
    s.catalogue.setFlagAll(true);
    FullRewritePlan plan;
    plan.traceWord = conversion.operation;
    plan.target = conversion.target;
    const Layout source = s.file.layout;
    plan.substitution = [&](const UserRow&, CommandRecord& record, std::ostream&) {
        // Only scripts call commands by name; typed text and keystrokes stay as written.
        if (record.typeByte != kTypeScript && record.typeByte != kTypeAdvanced) {
            return;
        }
        if (std::string* body = record.editableText()) {
            *body = adaptScriptNames(*body, conversion.target, source);
        }
    };
    Outcome done = runFullRewrite(s, plan);
    s.catalogue.setFlagAll(false);
    return done;
}

} // namespace plv::dat
