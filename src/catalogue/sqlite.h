#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace plv {

// A database error: the engine's number and description.
class CatalogueError : public std::runtime_error {
  public:
    CatalogueError(int code, const std::string& description)
        : std::runtime_error(description), code_(code) {}
    int code() const { return code_; }

  private:
    int code_;
};

// A prepared statement with bound parameters. Values are never pasted into SQL text.
class Statement {
  public:
    Statement(sqlite3* db, std::string_view sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&&) = delete;

    // Parameters are numbered from 1.
    Statement& bind(int index, std::string_view text);
    Statement& bind(int index, const char* text) { return bind(index, std::string_view(text)); }
    Statement& bind(int index, const std::string& text) {
        return bind(index, std::string_view(text));
    }
    Statement& bind(int index, std::int64_t value);
    Statement& bind(int index, int value) { return bind(index, std::int64_t{value}); }
    Statement& bind(int index, bool value) { return bind(index, std::int64_t{value ? 1 : 0}); }
    // Binds without a copy: the text must stay unchanged until the statement has run.
    Statement& bindUnowned(int index, std::string_view text);
    Statement& bindNull(int index);
    Statement& bind(int index, const std::optional<std::string>& text);

    // Advances to the next row; false when there is none (or the statement is done).
    bool step();
    // Runs a statement that returns no rows; returns the number of rows changed.
    int run();
    void reset();

    // Columns are numbered from 0.
    std::string text(int column) const;
    std::int64_t integer(int column) const;
    bool boolean(int column) const { return integer(column) != 0; }
    bool isNull(int column) const;

  private:
    sqlite3* db_;
    sqlite3_stmt* stmt_ = nullptr;
};

} // namespace plv
