#include "catalogue/user_table.h"

#include "catalogue/catalogue.h"

#include <algorithm>
#include <array>

namespace plv::user_table {
namespace {

struct Column {
    const char* name;
    bool text;
    bool folded; // compared and sorted with FOLD
};

constexpr std::array<Column, 28> kColumns = {{
    {"filename", true, true},    {"menu", true, true},          {"state", true, true},
    {"name", true, true},        {"Type", true, true},          {"script", true, true},
    {"scope", true, true},       {"owner", true, true},         {"lists", false, false},
    {"offset", false, false},    {"offsetbody", false, false},  {"description", true, true},
    {"states", true, false},     {"graphicsize", false, false}, {"Global", false, false},
    {"noglobals", false, false}, {"sleeping", false, false},    {"singleline", false, false},
    {"globalsort", true, true},  {"listsort", true, true},      {"pathcode", true, true},
    {"dupe", false, false},      {"PDescript", false, false},   {"CompanyName", false, false},
    {"ClassName", false, false}, {"encrypted", false, false},   {"flag", false, false},
    {"listcopy", false, false},
}};

bool isPosition(const Column& c) {
    return std::string_view(c.name) == "offset" || std::string_view(c.name) == "offsetbody";
}

std::string quoted(const char* name) {
    return std::string("\"") + name + "\"";
}

std::string fallback(const Column& c) {
    return c.text ? "''" : "0";
}

// Joins what `each` makes of the columns that pass `keep`, with `separator`.
template <typename Keep, typename Each>
std::string join(Keep keep, Each each, const char* separator = ", ") {
    std::string out;
    for (const Column& c : kColumns) {
        if (keep(c)) {
            out += (out.empty() ? "" : separator) + each(c);
        }
    }
    return out;
}

const auto all = [](const Column&) { return true; };
const auto positions = [](const Column& c) { return isPosition(c); };
const auto others = [](const Column& c) { return !isPosition(c); };

std::string declaration(const Column& c) {
    return quoted(c.name) + (c.text ? " TEXT" : " INTEGER") + (c.folded ? " COLLATE FOLD" : "") +
           " NOT NULL DEFAULT " + fallback(c);
}

std::string rowsTable() {
    return std::string(R"(CREATE TABLE IF NOT EXISTS "userrows" ()"
                       R"("ID" INTEGER CONSTRAINT "PrimaryKey" PRIMARY KEY AUTOINCREMENT, )") +
           join(others, declaration) + ");\n";
}

std::string positionsTable() {
    return R"(CREATE TABLE IF NOT EXISTS "positions" ("ID" INTEGER PRIMARY KEY, )" +
           join(positions, declaration) + ");\n";
}

std::string view() {
    return std::string(R"(CREATE VIEW IF NOT EXISTS "user" AS SELECT r."ID", )") +
           join(all,
                [](const Column& c) { return (isPosition(c) ? "p." : "r.") + quoted(c.name); }) +
           R"( FROM "userrows" AS r JOIN "positions" AS p ON p."ID" = r."ID";)"
           "\n";
}

std::string triggers() {
    auto fromNew = [](const Column& c) {
        return "COALESCE(NEW." + quoted(c.name) + ", " + fallback(c) + ")";
    };
    auto name = [](const Column& c) { return quoted(c.name); };
    auto set = [](const Column& c) { return quoted(c.name) + " = NEW." + quoted(c.name); };
    return R"(CREATE TRIGGER IF NOT EXISTS "user insert" INSTEAD OF INSERT ON "user" BEGIN )"
           R"(INSERT INTO "userrows" ("ID", )" +
           join(others, name) + ") VALUES (NEW.\"ID\", " + join(others, fromNew) +
           R"(); INSERT INTO "positions" ("ID", )" + join(positions, name) +
           ") VALUES (last_insert_rowid(), " + join(positions, fromNew) +
           "); END;\n"
           R"(CREATE TRIGGER IF NOT EXISTS "user delete" INSTEAD OF DELETE ON "user" BEGIN )"
           R"(DELETE FROM "positions" WHERE "ID" = OLD."ID"; )"
           R"(DELETE FROM "userrows" WHERE "ID" = OLD."ID"; END;)"
           "\n"
           R"(CREATE TRIGGER IF NOT EXISTS "user move" INSTEAD OF UPDATE OF )" +
           join(positions, name) + R"( ON "user" BEGIN UPDATE "positions" SET )" +
           join(positions, set) + R"( WHERE "ID" = OLD."ID"; END;)" +
           "\n"
           R"(CREATE TRIGGER IF NOT EXISTS "user change" INSTEAD OF UPDATE OF )" +
           join(others, name) + R"( ON "user" BEGIN UPDATE "userrows" SET )" + join(others, set) +
           R"( WHERE "ID" = OLD."ID"; END;)" + "\n";
}

bool isTable(Catalogue& catalogue, const char* name) {
    auto s = catalogue.prepare(R"(SELECT 1 FROM "sqlite_master" WHERE "type" = 'table' AND )"
                               R"("name" = ?)");
    s.bind(1, name);
    return s.step();
}

} // namespace

const std::string& columns() {
    static const std::string text =
        "\"ID\", " + join(all, [](const Column& c) { return quoted(c.name); });
    return text;
}

const std::string& rowColumns() {
    static const std::string text = join(others, [](const Column& c) { return quoted(c.name); });
    return text;
}

std::size_t rowColumnCount() {
    return static_cast<std::size_t>(std::count_if(kColumns.begin(), kColumns.end(), others));
}

void create(Catalogue& catalogue) {
    // A catalogue written before the split has `user` as a table: it becomes the rows,
    // its indexes and numbering with it.
    bool split = isTable(catalogue, "user");
    if (split) {
        catalogue.execute(R"(ALTER TABLE "user" RENAME TO "userrows")");
    }
    catalogue.execute(rowsTable() + positionsTable());
    if (split) {
        catalogue.execute(R"(INSERT INTO "positions" SELECT "ID", "offset", "offsetbody" )"
                          R"(FROM "userrows"; ALTER TABLE "userrows" DROP COLUMN "offset";)"
                          R"(ALTER TABLE "userrows" DROP COLUMN "offsetbody";)");
    }
    catalogue.execute(view() + triggers());
}

} // namespace plv::user_table
