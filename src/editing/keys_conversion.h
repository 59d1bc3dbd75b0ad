#pragma once

#include <string>
#include <string_view>
#include <vector>

// The two converters of legacy KEYS bodies (text mixed with braced keys in braces,
// "{ctrl+c}", "{home}", "{left 3}") into Advanced Scripting bodies. Pure text functions.
//
// Texts are in the command file's 8-bit code page: one byte is one character, so the length
// limits of the SendKeys literals count file bytes. Text from the window or the terminal is
// converted to the code page before and back after.
namespace plv::editing {

struct KeysConversion {
    std::string body; // the Advanced Scripting body ("Sub Main" ... "End Sub")
    bool ok = false;
};

// SendKeys form: text and keys as SendKeys statements, keys that only Dragon can send as
// SendDragonKeys statements. A lone CR or LF is a line break, as CR LF is. Fails on a brace
// that is not closed, and on a braced key that spans a line break (it would break the
// statement in two).
KeysConversion toSendKeys(std::string_view body);

// SendDragonKeys form: the whole body in one SendDragonKeys statement. Never fails.
KeysConversion toSendDragonKeys(std::string_view body);

// What keeps a KEYS body from converting as the user meant it: a brace not closed (or closed
// without being opened, or a braced key across a line break), and the braced keys that
// name no key the SendKeys form knows (they would be typed as they stand).
struct KeysFaults {
    bool unbalanced = false;
    std::vector<std::string> unknownKeys;
};
KeysFaults keysFaults(std::string_view body);

// The body written as the contents of a Basic string literal: every double quote doubled.
std::string quoteDoubled(std::string_view text);

} // namespace plv::editing
