#pragma once

#include "catalogue/sqlite.h"
#include "catalogue/user_row.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace plv {

// A row's place in the order of the `name` index; the ID comes last, so that every row has
// a place of its own.
struct IndexKey {
    std::string globalsort;
    std::string menu;
    std::string state;
    std::string listsort;
    std::string name;
    std::int64_t id = 0;
    static IndexKey of(const UserRow& row);
};

// The text columns Find searches.
enum class TextColumn { Name, State, Script };

// Binds every column of `user` but ID, in the table's order, from parameter `first` on;
// returns the next parameter. Texts are bound without a copy: the row must outlive the run.
int bindUserColumns(Statement& statement, const UserRow& row, int first);

// The command catalogue: tables `user`, `states`, `parameters` (one row) and `dvcmap`
// in one SQLite database. Text comparisons fold case, the accented letters of
// Windows-1252 included.
class Catalogue {
  public:
    // Opens (creating when absent) the database at `path`; ":memory:" for a private one.
    // Throws CatalogueError when the file cannot be opened as a catalogue.
    explicit Catalogue(const std::string& path);
    ~Catalogue();
    Catalogue(const Catalogue&) = delete;
    Catalogue& operator=(const Catalogue&) = delete;

    const std::string& path() const { return path_; }
    Statement prepare(std::string_view sql) const { return Statement(db_, sql); }
    void execute(std::string_view sql) const;
    void begin();
    void commit();
    void rollback();

    // Insert-row: looks up (menu, state, name); a found row is reported through
    // `onDuplicate` and marks the new row `dupe`; a found row with offset 0 is replaced.
    // Fills `row.id`. Throws CatalogueError when the database refuses the row.
    using DuplicateSink = std::function<void(const UserRow& found, const UserRow& added)>;
    void insertRow(UserRow& row, const DuplicateSink& onDuplicate = {});
    // A plain append without the duplicate lookup (catalogue-only copies).
    void appendRow(UserRow& row);
    // Appends rows whose IDs are already chosen, many to a statement: a rebuild's bulk
    // insert. A row the database refuses is left out and reported through `onRefused`.
    using RefusedSink = std::function<void(const UserRow& row, const CatalogueError& error)>;
    void appendNumberedRows(const std::vector<UserRow>& rows, const RefusedSink& onRefused);
    // The ID the next append would give: IDs are never used twice, also after a delete.
    std::int64_t nextRowId() const;
    void updateRow(const UserRow& row);
    void deleteRow(std::int64_t id);

    std::optional<UserRow> findRow(const std::string& menu, const std::string& state,
                                   const std::string& name) const;
    std::optional<UserRow> rowById(std::int64_t id) const;
    // The row inserted last (highest ID), whatever parse inserted it.
    std::optional<UserRow> lastInserted() const;
    std::vector<UserRow> allRows() const; // insertion order
    // The rows of one Program and Scope in browsing order: commands before LISTs, by name;
    // without `bodies` their `script` is left empty (the lists need only the names).
    std::vector<UserRow> rowsOf(const std::string& menu, const std::string& state,
                                bool bodies = true) const;
    // Rows marked with `flag`, global rows first, then by Program, Scope, commands, name.
    std::vector<UserRow> flaggedRows() const;

    std::int64_t countCommands() const;
    bool hasCommands() const;
    std::vector<std::string> distinctMenus(const std::optional<std::string>& owner = {}) const;
    std::vector<std::string> distinctStates(const std::string& menu,
                                            const std::optional<std::string>& owner = {}) const;
    std::vector<std::string> distinctOwners() const;

    void setFlagAll(bool value);
    void setFlagForMenu(const std::string& menu, bool value);
    void setFlagForOwner(const std::string& owner, bool value);
    void setFlagForCommands(bool value);
    void setFlag(std::int64_t id, bool value);

    // A full parse clears the rows that came from the file and all states.
    void deleteFileRows();
    void deleteAllRows(); // user, dvcmap and states
    // Rows go in faster without indexes, which are then built once from the sorted rows.
    // Queries keep their results without them, only slower.
    void dropIndexes();
    void createIndexes();

    // States: the id of (appname, statename), added when absent.
    std::int64_t stateId(const std::string& appname, const std::string& statename);
    std::optional<std::string> stateName(std::int64_t id) const;

    // The one `parameters` row; only known column names are accepted.
    std::optional<std::string> parameter(const std::string& column) const;
    std::optional<std::int64_t> parameterNumber(const std::string& column) const;
    void setParameter(const std::string& column, const std::optional<std::string>& value);
    void setParameter(const std::string& column, std::int64_t value);

    // The command (not LIST) row of a Program, Scope and name.
    std::optional<UserRow> findCommand(const std::string& menu, const std::string& state,
                                       const std::string& name) const;
    // The row of the file's LIST record of that name (Program "Global Commands").
    std::optional<UserRow> findFileList(const std::string& name) const;
    // Rows of the file's LIST records (display copies under other Programs not counted).
    std::int64_t countFileLists() const;
    // Moves the stored positions of every row whose record starts after `position` by
    // `delta` bytes: the rows behind a record that grew or shrank. One statement.
    void shiftPositionsAfter(std::int64_t position, std::int64_t delta);
    // The delete operation's scratch mark on LISTs that a kept command still uses.
    void clearNoglobals();
    void markFileListUsed(const std::string& name);
    // Every row in insertion order with an empty `script`: what a walk over the file's
    // records needs, without carrying every body along.
    std::vector<UserRow> allRowsWithoutScripts() const;

    // Lookups of the main window.
    // The LIST row of a Program and Scope: the file's own LIST or a catalogue-only copy.
    std::optional<UserRow> findList(const std::string& menu, const std::string& state,
                                    const std::string& name) const;
    // The first row, in insertion order, of a Group.
    std::optional<UserRow> firstRowOfOwner(const std::string& owner) const;
    bool hasProgram(const std::string& menu) const;
    // The command rows inserted before the first LIST, newest first, until `visit`
    // returns false. The rows carry no body.
    void visitCommandsNewestFirst(const std::function<bool(const UserRow&)>& visit) const;
    // The rows whose `column` contains `text`, in the order of the `name` index: forward from
    // the row after `from` (or from the first row), or backward from the row before it (or
    // from the last row), until `visit` returns false. Case is folded as everywhere in the
    // catalogue unless `matchCase`. Catalogue-only LIST copies are passed over: each is its
    // global LIST again.
    void visitContaining(TextColumn column, const std::string& text, bool matchCase, bool forward,
                         const std::optional<IndexKey>& from,
                         const std::function<bool(const UserRow&)>& visit) const;

  private:
    // The first row of a Program, Scope and name whose kind passes `kind`, a fixed SQL
    // condition of the caller's own (never user text).
    std::optional<UserRow> findNamed(const std::string& menu, const std::string& state,
                                     const std::string& name, const char* kind) const;
    void createSchema();
    void prepareStatements();
    // Appends rows[first, first + count) in one statement for `userrows` and one for
    // `positions`; throws, having added none of them, when either is refused.
    void appendChunk(const std::vector<UserRow>& rows, std::size_t first, std::size_t count);
    static void checkParameterColumn(const std::string& column);

    std::string path_;
    sqlite3* db_ = nullptr;
    struct Prepared;
    std::unique_ptr<Prepared> prepared_;
};

} // namespace plv
