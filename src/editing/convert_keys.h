#pragma once

#include "datfile/rewrite_full.h"
#include "datfile/session.h"

#include <optional>
#include <string>

namespace plv {
class Settings;
}

// Convert DVC KEYS: the Tools operations that re-type the marked KEYS commands as Plain Text
// (bodies without braced keys) or as Advanced Scripting (SendKeys or SendDragonKeys
// form), in one full rewrite that reports each command to "Parlavista.log".
namespace plv::editing {

enum class KeysOperation { ToPlainText, ToSendKeys, ToSendDragonKeys };

inline constexpr const char* kEnglishOnly =
    "Sorry, this command is only supported for English Language Users";
inline constexpr const char* kEnglishOnlyTitle =
    "Contact Brinmoor if you are interested in a non-English User";

// The SendKeys form knows the English key names only: false, after the message, for the
// conversion to it of a file in another language.
bool keysLanguageAllows(Session& session, KeysOperation op);

// "dvc2plain", "dvc2vba", "dvc2sdk".
std::string operationCode(KeysOperation op);
std::optional<KeysOperation> keysOperationFromCode(const std::string& code);

// What one run did.
struct KeysTally {
    int converted = 0;
    int notConverted = 0; // bodies that should have converted and did not
};

// The per-command step of the full rewrite: re-types the record of a marked KEYS row and
// writes its report to the log; counts into `tally`, which must outlive the rewrite.
dat::Substitution keysConversionStep(KeysOperation op, KeysTally& tally);

// The conversion log's copy in the program folder: "ConvertKEYS2Plain.log" ...
std::string namedLogFile(KeysOperation op);

class Road;
// The run over the rows marked with `flag`: status text, the daily backup (the window
// rebuilds its Restore menu), the full rewrite, the copy of the log, the completion
// messages. A rewrite that fails leaves a log that says so and converts nothing. The
// post-write step, which verifies the file and has Dragon take it over, is the caller's,
// as for every Tools operation.
dat::Outcome runKeysConversion(Road& road, KeysOperation op, KeysTally& tally);

// The help on converting is offered before the conversions to Plain Text and to SendKeys
// until the user asks not to see it again: "no convert keys help" in section Parlavista.
bool keysConversionHelpWanted(Settings& settings);
void declineKeysConversionHelp(Settings& settings);

} // namespace plv::editing
