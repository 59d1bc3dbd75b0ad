#pragma once

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

// Regular expressions on PCRE2, over 8-bit text (one byte is one character).
namespace plv {

// The engine could not run a match (a limit reached, or a pattern that did not compile).
class RegexError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class Regex {
  public:
    struct Span {
        std::size_t start = 0;
        std::size_t end = 0; // one past the last character
    };

    // A pattern that does not compile leaves the object invalid; using it throws.
    explicit Regex(std::string_view pattern, bool caseless = true);
    ~Regex();
    Regex(const Regex&) = delete;
    Regex& operator=(const Regex&) = delete;

    bool valid() const { return code_ != nullptr; }
    const std::string& error() const { return error_; }

    // The first match at or after `from`.
    std::optional<Span> search(std::string_view text, std::size_t from = 0) const;
    bool matches(std::string_view text) const { return search(text).has_value(); }
    // The first match in `text` rewritten by the template ($1, $2 ... for the groups): only
    // that rewritten match, not the text around it. Nothing when there is no match.
    std::optional<std::string> rewriteFirstMatch(std::string_view text,
                                                 std::string_view templ) const;

  private:
    struct Code;
    Code* code_ = nullptr;
    std::string error_;
};

} // namespace plv
