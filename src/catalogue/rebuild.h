#pragma once

#include "catalogue/catalogue.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace plv {

// A full parse's writes to the catalogue: the file's rows and states replace the old ones
// in one transaction. For a large file the indexes are dropped while the rows go in and
// built once at the end; insert-row's lookups (duplicates, state ids) are answered from
// memory with the results the catalogue's own lookups give.
class CatalogueRebuild {
  public:
    // Begins the transaction and deletes the rows that came from a file and all states.
    // The indexes are built anew only for a large file (`expectedRows`): for a few rows,
    // changing the schema costs more than keeping the indexes as the rows go in.
    CatalogueRebuild(Catalogue& catalogue, std::size_t expectedRows);
    // Rolls back unless commit() was reached.
    ~CatalogueRebuild();
    CatalogueRebuild(const CatalogueRebuild&) = delete;
    CatalogueRebuild& operator=(const CatalogueRebuild&) = delete;

    // Room for this many rows in all, told in advance so the lookups never grow.
    void expectRows(std::size_t rows) { named_.reserve(rows); }
    // Where a row the database refuses is reported; it is left out.
    void onRefused(Catalogue::RefusedSink sink) { onRefused_ = std::move(sink); }
    // Insert-row as Catalogue::insertRow does it, and the row's new ID. The row goes in with
    // the next few, or at flush() or commit(), whichever comes first.
    std::int64_t insertRow(UserRow&& row, const Catalogue::DuplicateSink& onDuplicate = {});
    // Writes the rows still waiting: before the catalogue's own rows are read.
    void flush();
    // The id of (appname, statename), added when absent.
    std::int64_t stateId(const std::string& appname, const std::string& statename);
    // Builds the indexes and commits.
    void commit();
    void rollback();

  private:
    // The rows of one Program, Scope and name, as the lookup by index `menu` meets them:
    // rows kept from before the rebuild (offset 0) first, then the first row added.
    struct Named {
        std::vector<std::int64_t> kept;
        std::int64_t added = 0;
    };
    void rememberKeptRows();
    void restoreSync();

    Catalogue& catalogue_;
    Catalogue::RefusedSink onRefused_;
    std::vector<UserRow> waiting_;
    std::int64_t nextId_ = 0;
    bool open_ = true;
    bool indexesDropped_ = false;
    std::unordered_map<std::string, Named> named_;
    std::unordered_map<std::string, std::int64_t> states_;
    std::string key_; // the key being looked up, kept to reuse its buffer
};

} // namespace plv
