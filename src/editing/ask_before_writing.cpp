#include "editing/ask_before_writing.h"

#include "datfile/record_ops.h"
#include "platform/codepage.h"
#include "platform/files.h"

#include <set>

namespace plv::editing {
namespace {

std::string counted(std::int64_t n, const char* one, const char* many) {
    return groupedNumber(n) + " " + (n == 1 ? one : many);
}

void addListRefs(const std::string& name, std::set<std::string>& into) {
    for (const auto& ref : dat::ExtractListRefs(name)) {
        into.insert(foldCase(ref));
    }
}

} // namespace

std::string groupedNumber(std::int64_t number) {
    std::string digits = std::to_string(number < 0 ? -number : number);
    for (auto at = static_cast<std::ptrdiff_t>(digits.size()) - 3; at > 0; at -= 3) {
        digits.insert(static_cast<std::size_t>(at), ",");
    }
    return number < 0 ? "-" + digits : digits;
}

std::string commandsAndLists(std::int64_t commands, std::int64_t lists) {
    std::string text = counted(commands, "command", "commands");
    return lists > 0 ? text + " and " + counted(lists, "LIST", "LISTs") : text;
}

std::string openFileName(const Session& s) {
    return files::fileName(s.file.path);
}

std::int64_t markedCommands(const Catalogue& catalogue, const std::string& type) {
    auto marked = catalogue.prepare(
        R"(SELECT COUNT(*) FROM "user" WHERE "flag" <> 0 AND (?1 = '' OR "type" = ?1))");
    marked.bind(1, type);
    marked.step();
    return marked.integer(0);
}

std::int64_t listsGoingWithMarked(const Catalogue& catalogue) {
    std::set<std::string> ofMarked;
    std::set<std::string> ofKept;
    std::vector<std::string> lists;
    for (const auto& row : catalogue.allRowsWithoutScripts()) {
        if (row.isList()) {
            if (!row.listcopy) {
                lists.push_back(foldCase(row.name));
            }
        } else {
            addListRefs(row.name, row.flag ? ofMarked : ofKept);
        }
    }
    std::int64_t going = 0;
    for (const auto& list : lists) {
        going += ofMarked.count(list) > 0 && ofKept.count(list) == 0 ? 1 : 0;
    }
    return going;
}

bool askBeforeWriting(Session& s, const std::string& question) {
    return s.ui.confirm(question, s.file.path);
}

} // namespace plv::editing
