#include "platform/regex.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <cstdint>
#include <pcre2.h>
#include <vector>

namespace plv {
namespace {

// One match block per thread, grown to the largest pattern met: creating one per match
// costs more than most matches.
pcre2_match_data* matchDataFor(std::uint32_t pairs) {
    struct Block {
        pcre2_match_data* data = nullptr;
        ~Block() { pcre2_match_data_free(data); }
    };
    thread_local Block block;
    if (block.data == nullptr || pcre2_get_ovector_count(block.data) < pairs) {
        pcre2_match_data* data = pcre2_match_data_create(pairs, nullptr);
        if (data == nullptr) {
            throw RegexError("no memory for a match");
        }
        pcre2_match_data_free(block.data);
        block.data = data;
    }
    return block.data;
}

std::string errorText(int code) {
    std::vector<PCRE2_UCHAR> buffer(256);
    pcre2_get_error_message(code, buffer.data(), buffer.size());
    return reinterpret_cast<const char*>(buffer.data());
}

PCRE2_SPTR units(std::string_view text) {
    return reinterpret_cast<PCRE2_SPTR>(text.data());
}

} // namespace

struct Regex::Code {
    pcre2_code* code;
    std::uint32_t pairs; // the whole match and each group
};

Regex::Regex(std::string_view pattern, bool caseless) {
    int errorCode = 0;
    PCRE2_SIZE errorOffset = 0;
    pcre2_code* code = pcre2_compile(units(pattern), pattern.size(), caseless ? PCRE2_CASELESS : 0,
                                     &errorCode, &errorOffset, nullptr);
    if (code == nullptr) {
        error_ = errorText(errorCode) + " at " + std::to_string(errorOffset);
        return;
    }
    // Compiled to machine code where the platform allows; otherwise the interpreter matches.
    pcre2_jit_compile(code, PCRE2_JIT_COMPLETE);
    std::uint32_t groups = 0;
    pcre2_pattern_info(code, PCRE2_INFO_CAPTURECOUNT, &groups);
    code_ = new Code{code, groups + 1};
}

Regex::~Regex() {
    if (code_ != nullptr) {
        pcre2_code_free(code_->code);
        delete code_;
    }
}

std::optional<Regex::Span> Regex::search(std::string_view text, std::size_t from) const {
    if (code_ == nullptr) {
        throw RegexError("the pattern did not compile: " + error_);
    }
    pcre2_match_data* match = matchDataFor(code_->pairs);
    int rc = pcre2_match(code_->code, units(text), text.size(), from, 0, match, nullptr);
    if (rc == PCRE2_ERROR_NOMATCH) {
        return std::nullopt;
    }
    if (rc < 0) {
        throw RegexError(errorText(rc));
    }
    PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(match);
    return Span{ovector[0], ovector[1]};
}

std::optional<std::string> Regex::rewriteFirstMatch(std::string_view text,
                                                    std::string_view templ) const {
    if (code_ == nullptr) {
        throw RegexError("the pattern did not compile: " + error_);
    }
    // A group that took no part in the match ($3 for an absent count) stands for nothing.
    constexpr std::uint32_t options = PCRE2_SUBSTITUTE_REPLACEMENT_ONLY |
                                      PCRE2_SUBSTITUTE_OVERFLOW_LENGTH |
                                      PCRE2_SUBSTITUTE_UNSET_EMPTY;
    std::string out(templ.size() + 64, '\0');
    pcre2_match_data* match = matchDataFor(code_->pairs);
    for (;;) {
        PCRE2_SIZE length = out.size();
        int rc = pcre2_substitute(code_->code, units(text), text.size(), 0, options, match, nullptr,
                                  units(templ), templ.size(),
                                  reinterpret_cast<PCRE2_UCHAR*>(out.data()), &length);
        if (rc == PCRE2_ERROR_NOMEMORY) {
            out.assign(length, '\0'); // `length` is now the size needed
            continue;
        }
        if (rc < 0) {
            throw RegexError(errorText(rc));
        }
        if (rc == 0) {
            return std::nullopt;
        }
        out.resize(length);
        return out;
    }
}

} // namespace plv
