// The KEYS conversions from the terminal: convert-body shows what one body becomes,
// convert-keys re-types the chosen KEYS commands of a file.
#include "cli/selection_options.h"
#include "cli/text_option.h"
#include "cli/workspace.h"
#include "editing/convert_keys.h"
#include "editing/keys_conversion.h"
#include "platform/codepage.h"

#include <algorithm>
#include <map>
#include <ostream>

namespace plv::cli {
namespace {

using editing::KeysOperation;

std::optional<KeysOperation> targetOption(const Args& args, Io& io, const std::string& command,
                                          const std::vector<std::string>& choices) {
    auto to = args.value("to").value_or("");
    const std::map<std::string, KeysOperation> known = {{"plain", KeysOperation::ToPlainText},
                                                        {"vba", KeysOperation::ToSendKeys},
                                                        {"sdk", KeysOperation::ToSendDragonKeys}};
    if (std::find(choices.begin(), choices.end(), to) != choices.end()) {
        return known.at(to);
    }
    io.err << "parlavista-cli " << command << ": --to is ";
    for (std::size_t i = 0; i < choices.size(); ++i) {
        io.err << (i == 0 ? "" : i + 1 == choices.size() ? " or " : ", ") << choices[i];
    }
    io.err << "\n";
    return std::nullopt;
}

int runConvertBody(const Args& args, Io& io) {
    auto op = targetOption(args, io, "convert-body", {"vba", "sdk"});
    std::string text;
    if (!op || !textOption(args, io, "convert-body", "body", text)) {
        return kUsage;
    }
    ConsoleInteraction ui(io.err);
    Cp1252Text body = encodeCp1252(text);
    if (!body.ok()) {
        ui.message(refusedCharacterMessage(body.refused), "convert-body");
        return kFailed;
    }
    auto result = *op == KeysOperation::ToSendKeys ? editing::toSendKeys(body.bytes)
                                                   : editing::toSendDragonKeys(body.bytes);
    if (!result.ok) {
        ui.message(" Conversion failed", "Please send to Brinmoor");
        return kFailed;
    }
    io.out << decodeCp1252(result.body) << "\r\n";
    return kOk;
}

int runConvertKeys(const Args& args, Io& io) {
    auto op = targetOption(args, io, "convert-keys", {"plain", "vba", "sdk"});
    auto selection = selectionFromArgs(args, io, "convert-keys");
    std::string file;
    if (!op || !selection || !oneFileArgument(args, io, "convert-keys", file)) {
        return kUsage;
    }
    selection->commandsOnly = true;
    auto w = Workspace::open(args, io, ":memory:");
    if (!w) {
        return kFailed;
    }
    if (int status = w->openCommandFile(file); status != kOk) {
        return status;
    }
    Session& s = w->session();
    std::int64_t marked = markFromArgs(s.catalogue, *selection);
    if (marked == 0) {
        s.ui.message("There are no macros of the specified type to Export",
                     "Change Program, Scope, or Type of Export");
        return kFailed;
    }
    editing::KeysTally tally;
    if (editing::runKeysConversion(s, *op, tally) != dat::Outcome::Done) {
        return kFailed;
    }
    if (dat::refreshAfterWrite(s) != dat::Outcome::Done) {
        return kParseFailed;
    }
    io.out << "convert-keys: " << tally.converted << " of " << marked
           << " KEYS commands converted, " << tally.notConverted << " not converted\n"
           << "convert-keys: log " << s.programFile(editing::namedLogFile(*op)) << "\n";
    return kOk;
}

const bool registered =
    registerCommand({"convert-body",
                     "convert-body --to vba|sdk (--body TEXT | --body-file F)",
                     "show the Advanced Scripting form of a KEYS body",
                     "Prints the Advanced Scripting body that the KEYS body becomes: with "
                     "SendKeys\nstatements (vba) or as one SendDragonKeys statement (sdk). A body "
                     "that the\nSendKeys form cannot take (a brace left open) exits with status 3.",
                     {"to", "body", "body-file"},
                     {},
                     runConvertBody}) &&
    registerCommand(
        {"convert-keys",
         "convert-keys FILE --to plain|vba|sdk [--program P] [--scope S] [--group G] [--name N]",
         "convert KEYS commands to Plain Text or Advanced Scripting",
         "Re-types the chosen KEYS commands (all of them when none are chosen): plain\n"
         "turns those without key specifications into Plain Text; vba and sdk turn those\n"
         "with key specifications into Advanced Scripting with SendKeys or SendDragonKeys.\n"
         "Each command converted is reported in Parlavista.log in the program folder and\n"
         "its copy ConvertKEYS2Plain.log, ConvertKEYS2Advanced.log or\n"
         "ConvertKEYS2SendDragon.log.\n\n"
         "  --home DIR   the program folder (logs, savedat, trace.plv)",
         {"to", "program", "scope", "group", "name", "home"},
         {},
         runConvertKeys});

} // namespace
} // namespace plv::cli
