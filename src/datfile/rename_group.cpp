#include "datfile/rename_group.h"

#include "catalogue/selection.h"
#include "datfile/builder.h"
#include "datfile/rewrite_full.h"
#include "platform/codepage.h"

namespace plv::dat {

bool groupIsRenamed(const std::string& rowGroup, const std::string& oldGroup) {
    if (oldGroup == kAllGroupsName) {
        return true;
    }
    if (rowGroup.empty()) {
        return equalsNoCase(oldGroup, kUserDefined);
    }
    return equalsNoCase(rowGroup, oldGroup);
}

Outcome RenameGroup(Session& s, const std::string& oldGroup, const std::string& newGroup) {
    std::string bytes;
    if (!equalsNoCase(newGroup, kUserDefined) && !toFileText(s, newGroup, bytes)) {
        return Outcome::Refused;
    }
    FullRewritePlan plan;
    plan.traceWord = "RenameGroup";
    plan.substitution = [&](const UserRow&, CommandRecord& record, std::ostream&) {
        if (groupIsRenamed(decodeCp1252(record.group), oldGroup)) {
            record.group = bytes;
        }
    };
    return runFullRewrite(s, plan);
}

Outcome RenameProgram(Session& s, const std::string& newProgram) {
    std::string bytes;
    if (!toFileText(s, newProgram, bytes)) {
        return Outcome::Refused;
    }
    FullRewritePlan plan;
    plan.traceWord = "RenameGroup";
    plan.substitution = [&](const UserRow&, CommandRecord& record, std::ostream&) {
        if (record.scopeKind() == kApplicationScope || record.scopeKind() == kWindowScope) {
            record.appName = bytes;
        }
    };
    return runFullRewrite(s, plan);
}

} // namespace plv::dat
