#include "editing/name_checks.h"

#include "datfile/record_ops.h"

namespace plv::editing {
namespace {

bool refuse(Session& s, const std::string& text, const std::string& title) {
    s.ui.warning(text, title);
    return false;
}

} // namespace

bool checkFileText(Session& s, const std::string& text) {
    std::string bytes;
    return dat::toFileText(s, text, bytes);
}

bool checkCommandName(Session& s, const std::string& name) {
    if (name.empty()) {
        return refuse(s, "A command name cannot be empty", s.file.path);
    }
    std::string bytes;
    if (!dat::toFileText(s, name, bytes) || !dat::refuseControlCharacters(s, bytes)) {
        return false;
    }
    if (auto fault = commandNameFault(name)) {
        return refuse(s, *fault, name);
    }
    for (const auto& ref : dat::ExtractListRefs(name)) {
        if (!s.catalogue.findFileList(ref)) {
            return refuse(s, "Sorry, must create any new LISTs first", ref);
        }
    }
    return true;
}

bool checkListName(Session& s, const std::string& name) {
    if (auto fault = listNameFault(name)) {
        return refuse(s, *fault, name.empty() ? s.file.path : name);
    }
    return true;
}

bool nameTakenByAnother(const Catalogue& catalogue, const UserRow& row, const std::string& name) {
    auto other = catalogue.prepare(R"(SELECT 1 FROM "user" WHERE "menu" = ? AND "state" = ? )"
                                   R"(AND "name" = ? AND "ID" <> ? LIMIT 1)");
    other.bind(1, row.menu).bind(2, row.state).bind(3, name).bind(4, row.id);
    return other.step();
}

} // namespace plv::editing
