#include "catalogue/catalogue.h"

#include "catalogue/user_table.h"
#include "platform/codepage.h"

#include <algorithm>
#include <array>
#include <sqlite3.h>

namespace plv {
namespace {

constexpr const char* kSchema = R"sql(
CREATE TABLE IF NOT EXISTS "states" (
  "ID" INTEGER CONSTRAINT "PrimaryKey" PRIMARY KEY AUTOINCREMENT,
  "appname" TEXT COLLATE FOLD NOT NULL DEFAULT '',
  "statename" TEXT COLLATE FOLD NOT NULL DEFAULT ''
);
CREATE TABLE IF NOT EXISTS "parameters" (
  "mycmdstime" TEXT,
  "OffsetLists" INTEGER,
  "openfile" TEXT,
  "lastdvcID" INTEGER,
  "dvcmaptime" TEXT,
  "UserName" TEXT,
  "UserSub" TEXT,
  "language" TEXT,
  "InstallPath" TEXT,
  "exportPath" TEXT,
  "lastmode" TEXT,
  "app" TEXT,
  "parsed" INTEGER,
  "mycmdsfile" TEXT,
  "mycmdssize" INTEGER
);
CREATE TABLE IF NOT EXISTS "dvcmap" (
  "ID" INTEGER CONSTRAINT "PrimaryKey" PRIMARY KEY AUTOINCREMENT,
  "filename" TEXT COLLATE FOLD NOT NULL DEFAULT '',
  "menu" TEXT COLLATE FOLD NOT NULL DEFAULT '',
  "state" TEXT COLLATE FOLD NOT NULL DEFAULT '',
  "name" TEXT COLLATE FOLD NOT NULL DEFAULT '',
  "dvcfile" TEXT NOT NULL DEFAULT ''
);
)sql";

// The indexes, apart from the tables: a rebuild drops them and builds them again at its end.
constexpr const char* kIndexes = R"sql(
CREATE INDEX IF NOT EXISTS "menu" ON "userrows" ("menu", "state", "name");
CREATE INDEX IF NOT EXISTS "name" ON "userrows" ("globalsort", "menu", "state", "listsort", "name");
CREATE INDEX IF NOT EXISTS "state" ON "userrows" ("state");
CREATE INDEX IF NOT EXISTS "apps" ON "states" ("appname", "statename");
)sql";

constexpr std::array<const char*, 15> kParameterColumns = {
    "mycmdstime", "OffsetLists", "openfile", "lastdvcID",   "dvcmaptime",
    "UserName",   "UserSub",     "language", "InstallPath", "exportPath",
    "lastmode",   "app",         "parsed",   "mycmdsfile",  "mycmdssize"};

// Columns added after catalogues were first written; an older catalogue gets them on open.
constexpr std::array<std::pair<const char*, const char*>, 2> kAddedParameterColumns = {
    {{"mycmdsfile", "TEXT"}, {"mycmdssize", "INTEGER"}}};

int foldCollation(void*, int n1, const void* s1, int n2, const void* s2) {
    return compareNoCase(std::string_view(static_cast<const char*>(s1), n1),
                         std::string_view(static_cast<const char*>(s2), n2));
}

// folded_contains(haystack, needle): the catalogue's case folding applied to a search.
void foldedContains(sqlite3_context* context, int, sqlite3_value** args) {
    auto text = [](sqlite3_value* v) {
        const auto* p = reinterpret_cast<const char*>(sqlite3_value_text(v));
        return std::string_view(p ? p : "", static_cast<std::size_t>(sqlite3_value_bytes(v)));
    };
    sqlite3_result_int(context, containsNoCase(text(args[0]), text(args[1])) ? 1 : 0);
}

const char* columnName(TextColumn column) {
    switch (column) {
    case TextColumn::Name:
        return R"("name")";
    case TextColumn::State:
        return R"("state")";
    case TextColumn::Script:
        break;
    }
    return R"("script")";
}

std::string selectRows(const std::string& tail) {
    return "SELECT " + user_table::columns() + " FROM \"user\" " + tail;
}

UserRow readRow(const Statement& s) {
    UserRow r;
    int c = 0;
    r.id = s.integer(c++);
    r.filename = s.text(c++);
    r.menu = s.text(c++);
    r.state = s.text(c++);
    r.name = s.text(c++);
    r.type = s.text(c++);
    r.script = s.text(c++);
    r.scope = s.text(c++);
    r.owner = s.text(c++);
    r.lists = s.integer(c++);
    r.offset = s.integer(c++);
    r.offsetbody = s.integer(c++);
    r.description = s.text(c++);
    r.states = s.text(c++);
    r.graphicsize = s.integer(c++);
    r.global = s.boolean(c++);
    r.noglobals = s.boolean(c++);
    r.sleeping = s.boolean(c++);
    r.singleline = s.boolean(c++);
    r.globalsort = s.text(c++);
    r.listsort = s.text(c++);
    r.pathcode = s.text(c++);
    r.dupe = s.boolean(c++);
    r.pdescript = s.integer(c++);
    r.companyName = s.integer(c++);
    r.className = s.integer(c++);
    r.encrypted = s.boolean(c++);
    r.flag = s.boolean(c++);
    r.listcopy = s.boolean(c++);
    return r;
}

// Binds values to consecutive parameters; texts are bound without a copy, so the row
// must outlive the statement's run.
struct Binder {
    Statement& s;
    int next;
    Binder& operator()(const std::string& text) {
        s.bindUnowned(next++, text);
        return *this;
    }
    template <typename T> Binder& operator()(const T& value) {
        s.bind(next++, value);
        return *this;
    }
};

// Binds the columns of `userrows` (all but ID and the positions), in their order, from
// parameter `first` on; returns the next parameter.
int bindRowColumns(Statement& s, const UserRow& r, int first) {
    Binder b{s, first};
    b(r.filename)(r.menu)(r.state)(r.name)(r.type)(r.script)(r.scope)(r.owner)(r.lists);
    b(r.description)(r.states)(r.graphicsize);
    b(r.global)(r.noglobals)(r.sleeping)(r.singleline)(r.globalsort)(r.listsort)(r.pathcode);
    b(r.dupe)(r.pdescript)(r.companyName)(r.className)(r.encrypted)(r.flag)(r.listcopy);
    return b.next;
}

// Rows to one statement in a bulk append: most of an insert's cost is the statement's own,
// not the row's.
constexpr std::size_t kRowsPerStatement = 16;

// "?, ?, ?" for n values.
std::string placeholders(std::size_t n) {
    std::string out;
    for (std::size_t i = 0; i < n; ++i) {
        out += i ? ", ?" : "?";
    }
    return out;
}

// "(?, ?), (?, ?)": the values of `rows` rows of `columns` columns each.
std::string rowValues(std::size_t columns, std::size_t rows) {
    std::string row = "(" + placeholders(columns) + ")";
    std::string out;
    for (std::size_t i = 0; i < rows; ++i) {
        out += (i ? ", " : "") + row;
    }
    return out;
}

// INSERT of n rows of `userrows` with their IDs.
std::string insertNumberedRows(std::size_t n) {
    return "INSERT INTO \"userrows\" (\"ID\", " + user_table::rowColumns() + ") VALUES " +
           rowValues(user_table::rowColumnCount() + 1, n);
}

// INSERT of n rows of `positions`.
std::string insertPositionRows(std::size_t n) {
    return R"(INSERT INTO "positions" ("ID", "offset", "offsetbody") VALUES )" + rowValues(3, n);
}

std::vector<UserRow> collectRows(Statement& s) {
    std::vector<UserRow> rows;
    while (s.step()) {
        rows.push_back(readRow(s));
    }
    return rows;
}

// The first row a query gives, if any.
std::optional<UserRow> firstRow(Statement& s) {
    if (s.step()) {
        return readRow(s);
    }
    return std::nullopt;
}

// The columns of a row without its body, for walks that do not need it.
std::string columnsWithoutScript() {
    std::string columns = user_table::columns();
    columns.replace(columns.find(R"("script")"), 8, "''");
    return columns;
}

std::vector<std::string> collectTexts(Statement& s) {
    std::vector<std::string> out;
    while (s.step()) {
        out.push_back(s.text(0));
    }
    return out;
}

} // namespace

bool isGlobalName(const std::string& text) {
    return text == kGlobalCommands || text == "Globale opdrachten";
}

int bindUserColumns(Statement& s, const UserRow& r, int first) {
    Binder b{s, first};
    b(r.filename)(r.menu)(r.state)(r.name)(r.type)(r.script)(r.scope)(r.owner);
    b(r.lists)(r.offset)(r.offsetbody)(r.description)(r.states)(r.graphicsize);
    b(r.global)(r.noglobals)(r.sleeping)(r.singleline)(r.globalsort)(r.listsort)(r.pathcode);
    b(r.dupe)(r.pdescript)(r.companyName)(r.className)(r.encrypted)(r.flag)(r.listcopy);
    return b.next;
}

std::string typeDisplayName(const std::string& code) {
    static const std::array<std::pair<const char*, const char*>, 8> names = {{
        {"K", "KEYS"},
        {"S", "SCRIPT"},
        {"T", "Text & Graphics"},
        {"R", "Macro Recorder"},
        {"X", "Step by Step"},
        {"A", "Advanced Script"},
        {"P", "Plain Text"},
        {"L", "LIST"},
    }};
    for (const auto& [letter, name] : names) {
        if (code == letter) {
            return name;
        }
    }
    return {};
}

struct Catalogue::Prepared {
    Statement findDuplicate;
    Statement insert;
    Statement insertPositions;
    Statement insertNumbered;     // one row, its ID given
    Statement insertNumberedMany; // kRowsPerStatement of them
    Statement insertPositionsMany;
    Statement deleteById;
    Statement deletePositions;
    Statement findState;
    Statement insertState;
};

Catalogue::Catalogue(const std::string& path) : path_(path) {
    // One connection per thread: the engine need not lock for us.
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
    if (sqlite3_open_v2(path.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
        std::string message = db_ ? sqlite3_errmsg(db_) : "cannot open database";
        int code = db_ ? sqlite3_errcode(db_) : SQLITE_CANTOPEN;
        sqlite3_close(db_);
        db_ = nullptr;
        throw CatalogueError(code, message);
    }
    try {
        sqlite3_create_collation(db_, "FOLD", SQLITE_UTF8, nullptr, foldCollation);
        sqlite3_create_function(db_, "folded_contains", 2,
                                SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS, nullptr,
                                foldedContains, nullptr, nullptr);
        execute("PRAGMA synchronous = NORMAL");
        // A whole parse is one transaction: keep its pages in memory instead of spilling.
        execute("PRAGMA cache_size = -65536");
        createSchema();
        prepareStatements();
    } catch (...) {
        prepared_.reset();
        sqlite3_close(db_);
        throw;
    }
}

Catalogue::~Catalogue() {
    prepared_.reset();
    sqlite3_close(db_);
}

void Catalogue::execute(std::string_view sql) const {
    std::string text(sql);
    char* error = nullptr;
    if (sqlite3_exec(db_, text.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        std::string message = error ? error : "database error";
        sqlite3_free(error);
        throw CatalogueError(sqlite3_errcode(db_), message);
    }
}

void Catalogue::begin() {
    execute("BEGIN");
}
void Catalogue::commit() {
    execute("COMMIT");
}
void Catalogue::rollback() {
    if (!sqlite3_get_autocommit(db_)) {
        execute("ROLLBACK");
    }
}

void Catalogue::createSchema() {
    user_table::create(*this);
    execute(kSchema);
    for (const auto& [column, type] : kAddedParameterColumns) {
        auto has = prepare(R"(SELECT 1 FROM pragma_table_info('parameters') WHERE "name" = ?)");
        has.bind(1, std::string(column));
        if (!has.step()) {
            execute(std::string(R"(ALTER TABLE "parameters" ADD COLUMN ")") + column + "\" " +
                    type);
        }
    }
    createIndexes();
    auto count = prepare(R"(SELECT COUNT(*) FROM "parameters")");
    count.step();
    if (count.integer(0) == 0) {
        execute(R"(INSERT INTO "parameters" ("lastmode") VALUES ('app'))");
    }
}

void Catalogue::prepareStatements() {
    prepared_.reset(new Prepared{
        prepare(selectRows(R"(WHERE "menu" = ? AND "state" = ? AND "name" = ? LIMIT 1)")),
        prepare("INSERT INTO \"userrows\" (" + user_table::rowColumns() + ") VALUES (" +
                placeholders(user_table::rowColumnCount()) + ")"),
        prepare(insertPositionRows(1)),
        prepare(insertNumberedRows(1)),
        prepare(insertNumberedRows(kRowsPerStatement)),
        prepare(insertPositionRows(kRowsPerStatement)),
        prepare(R"(DELETE FROM "userrows" WHERE "ID" = ?)"),
        prepare(R"(DELETE FROM "positions" WHERE "ID" = ?)"),
        prepare(R"(SELECT "ID" FROM "states" WHERE "appname" = ? AND "statename" = ? LIMIT 1)"),
        prepare(R"(INSERT INTO "states" ("appname", "statename") VALUES (?, ?))"),
    });
}

void Catalogue::insertRow(UserRow& row, const DuplicateSink& onDuplicate) {
    auto& find = prepared_->findDuplicate;
    find.bind(1, row.menu).bind(2, row.state).bind(3, row.name);
    std::optional<UserRow> found;
    if (find.step()) {
        found = readRow(find);
    }
    find.reset();
    if (found) {
        row.dupe = true;
        if (onDuplicate) {
            onDuplicate(*found, row);
        }
        if (found->offset == 0) {
            deleteRow(found->id);
        }
    }
    appendRow(row);
}

void Catalogue::appendRow(UserRow& row) {
    auto& insert = prepared_->insert;
    bindRowColumns(insert, row, 1);
    insert.run();
    row.id = sqlite3_last_insert_rowid(db_);
    try {
        prepared_->insertPositions.bind(1, row.id).bind(2, row.offset).bind(3, row.offsetbody);
        prepared_->insertPositions.run();
    } catch (...) {
        deleteRow(row.id);
        throw;
    }
}

void Catalogue::appendChunk(const std::vector<UserRow>& rows, std::size_t first,
                            std::size_t count) {
    bool many = count > 1;
    Statement& insert = many ? prepared_->insertNumberedMany : prepared_->insertNumbered;
    Statement& positions = many ? prepared_->insertPositionsMany : prepared_->insertPositions;
    int next = 1;
    for (std::size_t i = first; i < first + count; ++i) {
        insert.bind(next, rows[i].id);
        next = bindRowColumns(insert, rows[i], next + 1);
    }
    insert.run();
    next = 1;
    for (std::size_t i = first; i < first + count; ++i) {
        positions.bind(next, rows[i].id).bind(next + 1, rows[i].offset);
        positions.bind(next + 2, rows[i].offsetbody);
        next += 3;
    }
    try {
        positions.run();
    } catch (...) {
        for (std::size_t i = first; i < first + count; ++i) {
            deleteRow(rows[i].id);
        }
        throw;
    }
}

void Catalogue::appendNumberedRows(const std::vector<UserRow>& rows, const RefusedSink& onRefused) {
    auto one = [&](std::size_t i) {
        try {
            appendChunk(rows, i, 1);
        } catch (const CatalogueError& e) {
            if (onRefused) {
                onRefused(rows[i], e);
            }
        }
    };
    std::size_t at = 0;
    for (; at + kRowsPerStatement <= rows.size(); at += kRowsPerStatement) {
        try {
            appendChunk(rows, at, kRowsPerStatement);
        } catch (const CatalogueError&) {
            // Find the refused row among them: the others still go in.
            for (std::size_t i = at; i < at + kRowsPerStatement; ++i) {
                one(i);
            }
        }
    }
    for (; at < rows.size(); ++at) {
        one(at);
    }
}

std::int64_t Catalogue::nextRowId() const {
    auto s = prepare(R"(SELECT MAX(COALESCE((SELECT MAX("ID") FROM "userrows"), 0), )"
                     R"(COALESCE((SELECT "seq" FROM "sqlite_sequence" WHERE "name" = 'userrows'), )"
                     R"(0)) + 1)");
    s.step();
    return s.integer(0);
}

void Catalogue::updateRow(const UserRow& row) {
    auto s = prepare("UPDATE \"userrows\" SET (" + user_table::rowColumns() + ") = (" +
                     placeholders(user_table::rowColumnCount()) + R"() WHERE "ID" = ?)");
    s.bind(bindRowColumns(s, row, 1), row.id).run();
    prepare(R"(UPDATE "positions" SET "offset" = ?, "offsetbody" = ? WHERE "ID" = ?)")
        .bind(1, row.offset)
        .bind(2, row.offsetbody)
        .bind(3, row.id)
        .run();
}

void Catalogue::deleteRow(std::int64_t id) {
    prepared_->deletePositions.bind(1, id).run();
    prepared_->deleteById.bind(1, id).run();
}

std::optional<UserRow> Catalogue::findRow(const std::string& menu, const std::string& state,
                                          const std::string& name) const {
    auto& find = prepared_->findDuplicate;
    find.bind(1, menu).bind(2, state).bind(3, name);
    std::optional<UserRow> found;
    if (find.step()) {
        found = readRow(find);
    }
    find.reset();
    return found;
}

std::optional<UserRow> Catalogue::rowById(std::int64_t id) const {
    auto s = prepare(selectRows(R"(WHERE "ID" = ?)"));
    s.bind(1, id);
    return firstRow(s);
}

std::optional<UserRow> Catalogue::lastInserted() const {
    auto s = prepare(selectRows(R"(ORDER BY "ID" DESC LIMIT 1)"));
    return firstRow(s);
}

std::vector<UserRow> Catalogue::allRows() const {
    auto s = prepare(selectRows(R"(ORDER BY "ID")"));
    return collectRows(s);
}

std::vector<UserRow> Catalogue::rowsOf(const std::string& menu, const std::string& state,
                                       bool bodies) const {
    auto s = prepare("SELECT " + (bodies ? user_table::columns() : columnsWithoutScript()) +
                     R"( FROM "user" WHERE "globalsort" = ? AND "menu" = ? AND "state" = ? )"
                     R"(ORDER BY "globalsort", "menu", "state", "listsort", "name")");
    s.bind(1, menu == kGlobalCommands ? "G" : "N").bind(2, menu).bind(3, state);
    return collectRows(s);
}

std::vector<UserRow> Catalogue::flaggedRows() const {
    auto s = prepare(selectRows(R"(WHERE "flag" <> 0 ORDER BY "globalsort", "menu", "state", )"
                                R"("listsort", "name", "ID")"));
    return collectRows(s);
}

// Questions that need no row's position ask the rows' own table: the `user` view joins the
// positions in for every row it reads.
std::int64_t Catalogue::countCommands() const {
    auto s = prepare(R"(SELECT COUNT(*) FROM "userrows" WHERE "Type" <> 'L')");
    s.step();
    return s.integer(0);
}

bool Catalogue::hasCommands() const {
    // Asked on every selection: stop at the first command instead of counting them all.
    auto s = prepare(R"(SELECT EXISTS (SELECT 1 FROM "userrows" WHERE "Type" <> 'L'))");
    s.step();
    return s.boolean(0);
}

std::vector<std::string> Catalogue::distinctMenus(const std::optional<std::string>& owner) const {
    if (owner) {
        auto s = prepare(R"(SELECT DISTINCT "menu" FROM "userrows" WHERE "owner" = ? ORDER BY 1)");
        s.bind(1, *owner);
        return collectTexts(s);
    }
    auto s = prepare(R"(SELECT DISTINCT "menu" FROM "userrows" ORDER BY 1)");
    return collectTexts(s);
}

std::vector<std::string> Catalogue::distinctStates(const std::string& menu,
                                                   const std::optional<std::string>& owner) const {
    if (owner) {
        auto s =
            prepare(R"(SELECT DISTINCT "state" FROM "userrows" WHERE "menu" = ? AND "owner" = ? )"
                    R"(ORDER BY 1)");
        s.bind(1, menu).bind(2, *owner);
        return collectTexts(s);
    }
    auto s = prepare(R"(SELECT DISTINCT "state" FROM "userrows" WHERE "menu" = ? ORDER BY 1)");
    s.bind(1, menu);
    return collectTexts(s);
}

std::vector<std::string> Catalogue::distinctOwners() const {
    auto s = prepare(R"(SELECT DISTINCT "owner" FROM "userrows" WHERE "Type" <> 'L' ORDER BY 1)");
    return collectTexts(s);
}

void Catalogue::setFlagAll(bool value) {
    prepare(R"(UPDATE "userrows" SET "flag" = ?)").bind(1, value).run();
}

void Catalogue::setFlagForMenu(const std::string& menu, bool value) {
    prepare(R"(UPDATE "userrows" SET "flag" = ? WHERE "menu" = ?)")
        .bind(1, value)
        .bind(2, menu)
        .run();
}

void Catalogue::setFlagForOwner(const std::string& owner, bool value) {
    prepare(R"(UPDATE "userrows" SET "flag" = ? WHERE "owner" = ?)")
        .bind(1, value)
        .bind(2, owner)
        .run();
}

void Catalogue::setFlagForCommands(bool value) {
    prepare(R"(UPDATE "userrows" SET "flag" = ? WHERE "Type" <> 'L')").bind(1, value).run();
}

void Catalogue::setFlag(std::int64_t id, bool value) {
    prepare(R"(UPDATE "userrows" SET "flag" = ? WHERE "ID" = ?)").bind(1, value).bind(2, id).run();
}

void Catalogue::deleteFileRows() {
    // Without a WHERE clause the engine drops the tables' pages at once instead of
    // deleting row by row, which is most of a re-parse's time on a large file.
    auto kept = prepare(R"(SELECT EXISTS (SELECT 1 FROM "positions" WHERE "offset" = 0))");
    kept.step();
    if (kept.boolean(0)) {
        execute(R"(DELETE FROM "userrows" WHERE "ID" IN )"
                R"((SELECT "ID" FROM "positions" WHERE "offset" <> 0);)"
                R"(DELETE FROM "positions" WHERE "offset" <> 0;)");
    } else {
        execute(R"(DELETE FROM "userrows"; DELETE FROM "positions";)");
    }
    execute(R"(DELETE FROM "states")");
}

void Catalogue::dropIndexes() {
    execute(R"(DROP INDEX IF EXISTS "menu"; DROP INDEX IF EXISTS "name";)"
            R"(DROP INDEX IF EXISTS "state"; DROP INDEX IF EXISTS "apps";)");
}

void Catalogue::createIndexes() {
    execute(kIndexes);
}

void Catalogue::deleteAllRows() {
    execute(R"(DELETE FROM "userrows"; DELETE FROM "positions"; DELETE FROM "dvcmap";)"
            R"(DELETE FROM "states";)");
}

std::int64_t Catalogue::stateId(const std::string& appname, const std::string& statename) {
    auto& find = prepared_->findState;
    find.bind(1, appname).bind(2, statename);
    std::optional<std::int64_t> id;
    if (find.step()) {
        id = find.integer(0);
    }
    find.reset();
    if (id) {
        return *id;
    }
    prepared_->insertState.bind(1, appname).bind(2, statename).run();
    return sqlite3_last_insert_rowid(db_);
}

std::optional<std::string> Catalogue::stateName(std::int64_t id) const {
    auto s = prepare(R"(SELECT "statename" FROM "states" WHERE "ID" = ?)");
    s.bind(1, id);
    if (s.step()) {
        return s.text(0);
    }
    return std::nullopt;
}

void Catalogue::checkParameterColumn(const std::string& column) {
    if (std::find(kParameterColumns.begin(), kParameterColumns.end(), column) ==
        kParameterColumns.end()) {
        throw CatalogueError(SQLITE_ERROR, "no such parameter: " + column);
    }
}

std::optional<std::string> Catalogue::parameter(const std::string& column) const {
    checkParameterColumn(column);
    auto s = prepare("SELECT \"" + column + "\" FROM \"parameters\" LIMIT 1");
    if (s.step() && !s.isNull(0)) {
        return s.text(0);
    }
    return std::nullopt;
}

std::optional<std::int64_t> Catalogue::parameterNumber(const std::string& column) const {
    checkParameterColumn(column);
    auto s = prepare("SELECT \"" + column + "\" FROM \"parameters\" LIMIT 1");
    if (s.step() && !s.isNull(0)) {
        return s.integer(0);
    }
    return std::nullopt;
}

void Catalogue::setParameter(const std::string& column, const std::optional<std::string>& value) {
    checkParameterColumn(column);
    prepare("UPDATE \"parameters\" SET \"" + column + "\" = ?").bind(1, value).run();
}

void Catalogue::setParameter(const std::string& column, std::int64_t value) {
    checkParameterColumn(column);
    prepare("UPDATE \"parameters\" SET \"" + column + "\" = ?").bind(1, value).run();
}

std::optional<UserRow> Catalogue::findNamed(const std::string& menu, const std::string& state,
                                            const std::string& name, const char* kind) const {
    auto s = prepare(selectRows(std::string(R"(WHERE "menu" = ? AND "state" = ? AND "name" = ? )") +
                                "AND " + kind + R"( ORDER BY "ID" LIMIT 1)"));
    s.bind(1, menu).bind(2, state).bind(3, name);
    return firstRow(s);
}

std::optional<UserRow> Catalogue::findCommand(const std::string& menu, const std::string& state,
                                              const std::string& name) const {
    return findNamed(menu, state, name, R"("Type" <> 'L')");
}

std::optional<UserRow> Catalogue::findFileList(const std::string& name) const {
    return findNamed(kGlobalCommands, kGlobalCommands, name, R"("Type" = 'L' AND "offset" <> 0)");
}

std::int64_t Catalogue::countFileLists() const {
    auto s = prepare(R"(SELECT COUNT(*) FROM "user" WHERE "Type" = 'L' AND "menu" = ? )"
                     R"(AND "offset" <> 0)");
    s.bind(1, kGlobalCommands);
    s.step();
    return s.integer(0);
}

void Catalogue::shiftPositionsAfter(std::int64_t position, std::int64_t delta) {
    // Only the narrow table of positions changes: the rows with their bodies stay as they are.
    prepare(R"(UPDATE "positions" SET "offset" = "offset" + ?1, )"
            R"("offsetbody" = CASE WHEN "offsetbody" <> 0 THEN "offsetbody" + ?1 ELSE 0 END )"
            R"(WHERE "offset" > ?2)")
        .bind(1, delta)
        .bind(2, position)
        .run();
}

void Catalogue::clearNoglobals() {
    execute(R"(UPDATE "userrows" SET "noglobals" = 0)");
}

void Catalogue::markFileListUsed(const std::string& name) {
    prepare(R"(UPDATE "userrows" SET "noglobals" = 1 WHERE "menu" = ? AND "state" = ? )"
            R"(AND "name" = ? AND "Type" = 'L')")
        .bind(1, kGlobalCommands)
        .bind(2, kGlobalCommands)
        .bind(3, name)
        .run();
}

std::vector<UserRow> Catalogue::allRowsWithoutScripts() const {
    auto s = prepare("SELECT " + columnsWithoutScript() + R"( FROM "user" ORDER BY "ID")");
    return collectRows(s);
}

std::optional<UserRow> Catalogue::findList(const std::string& menu, const std::string& state,
                                           const std::string& name) const {
    return findNamed(menu, state, name, R"("Type" = 'L')");
}

std::optional<UserRow> Catalogue::firstRowOfOwner(const std::string& owner) const {
    auto s = prepare(selectRows(R"(WHERE "owner" = ? ORDER BY "ID" LIMIT 1)"));
    s.bind(1, owner);
    return firstRow(s);
}

bool Catalogue::hasProgram(const std::string& menu) const {
    auto s = prepare(R"(SELECT 1 FROM "userrows" WHERE "menu" = ? LIMIT 1)");
    s.bind(1, menu);
    return s.step();
}

void Catalogue::visitCommandsNewestFirst(const std::function<bool(const UserRow&)>& visit) const {
    auto s = prepare("SELECT " + columnsWithoutScript() +
                     R"( FROM "user" WHERE "ID" < COALESCE()"
                     R"((SELECT MIN("ID") FROM "user" WHERE "Type" = 'L'), )"
                     R"((SELECT MAX("ID") + 1 FROM "user")) ORDER BY "ID" DESC)");
    while (s.step()) {
        if (!visit(readRow(s))) {
            return;
        }
    }
}

IndexKey IndexKey::of(const UserRow& row) {
    return {row.globalsort, row.menu, row.state, row.listsort, row.name, row.id};
}

void Catalogue::visitContaining(TextColumn column, const std::string& text, bool matchCase,
                                bool forward, const std::optional<IndexKey>& from,
                                const std::function<bool(const UserRow&)>& visit) const {
    // The row value compares column by column with each column's own collation, as the
    // index orders them, so the engine seeks the key in the index instead of sorting.
    const char* key = R"(("globalsort", "menu", "state", "listsort", "name", "ID"))";
    std::string where = std::string(R"(WHERE "listcopy" = 0 AND )") +
                        (matchCase ? "instr(" : "folded_contains(") + columnName(column) + ", ?1)" +
                        (matchCase ? " > 0" : "");
    if (from) {
        where +=
            std::string(" AND ") + key + (forward ? " > " : " < ") + "(?2, ?3, ?4, ?5, ?6, ?7)";
    }
    const char* order = forward ? "" : " DESC";
    where += std::string(R"( ORDER BY "globalsort")") + order + R"(, "menu")" + order +
             R"(, "state")" + order + R"(, "listsort")" + order + R"(, "name")" + order +
             R"(, "ID")" + order;
    auto s = prepare(selectRows(where));
    s.bind(1, text);
    if (from) {
        s.bind(2, from->globalsort).bind(3, from->menu).bind(4, from->state);
        s.bind(5, from->listsort).bind(6, from->name).bind(7, from->id);
    }
    while (s.step()) {
        if (!visit(readRow(s))) {
            return;
        }
    }
}

} // namespace plv
