// libFuzzer harness for the KEYS converters: any body converts or fails cleanly, and what
// they write is well formed. The SendKeys form is "Sub Main", an empty line, statements, an
// empty line, "End Sub", every statement one line whose quotes pair up; it is refused only
// for a brace left open or a braced key across a line break; a body without keys is
// typed exactly, each lone CR or LF as the line break it stands for. The SendDragonKeys form hands
// the body over unchanged.
#include "editing/keys_conversion.h"
#include "support/keys_form.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// Whether the SendKeys form must refuse the body: a brace that no later brace closes, or a
// braced key that spans a line break.
bool refused(std::string_view body) {
    for (std::size_t i = 0; i < body.size(); ++i) {
        if (body[i] != '{') {
            continue;
        }
        std::size_t close = body.find('}', i);
        if (close == std::string_view::npos ||
            body.substr(i, close - i).find_first_of("\r\n") != std::string_view::npos) {
            return true;
        }
        i = close;
    }
    return false;
}

[[noreturn]] void fail(const std::string& what, std::string_view body) {
    std::fprintf(stderr, "%s\nbody (%zu bytes)\n", what.c_str(), body.size());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view body(reinterpret_cast<const char*>(data), size);
    bool noKeys = body.find('{') == std::string_view::npos;

    auto keys = plv::editing::toSendKeys(body);
    if (keys.ok) {
        auto form = plv::test::readSendKeysForm(keys.body);
        if (!form.fault.empty()) {
            fail("SendKeys form: " + form.fault, body);
        }
        if (noKeys && form.typed != plv::test::typedText(body)) {
            fail("SendKeys form types another text", body);
        }
    }
    if (keys.ok == refused(body)) {
        fail(keys.ok ? "a body it must refuse converted" : "a well-formed body did not convert",
             body);
    }

    auto dragon = plv::editing::toSendDragonKeys(body);
    if (!dragon.ok || plv::test::sendDragonKeysBody(dragon.body) != body) {
        fail("SendDragonKeys form does not hold the body", body);
    }
    return 0;
}
