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
    if (!op || !selection) {
        return kUsage;
    }
    selection->commandsOnly = true;
    int status = kOk;
    auto w = WriteSession::open(args, io, "convert-keys", status);
    if (!w) {
        return status;
    }
    Session& s = w->session();
    if (!editing::keysLanguageAllows(s, *op)) {
        return kFailed;
    }
    std::int64_t marked = markFromArgs(s.catalogue, *selection);
    if (marked == 0) {
        s.ui.message("There are no macros of the specified type to Export",
                     "Change Program, Scope, or Type of Export");
        return kFailed;
    }
    editing::KeysTally tally;
    status = w->write([&] { return editing::runKeysConversion(w->road(), *op, tally); });
    if (status != kOk && status != kNotTakenOver) {
        return status;
    }
    io.out << "convert-keys: " << tally.converted << " of " << marked << " commands converted, "
           << tally.notConverted << " not converted\n"
           << "convert-keys: log " << s.programFile(editing::namedLogFile(*op)) << "\n";
    return status;
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
         "convert-keys FILE|--current-user --to plain|vba|sdk [--program P] [--scope S] "
         "[--group G] [--name N]",
         "convert KEYS commands to Plain Text or Advanced Scripting",
         "Re-types the chosen KEYS commands (all of them when none are chosen): plain\n"
         "turns those without braced keys into Plain Text; vba and sdk turn those\n"
         "with braced keys into Advanced Scripting with SendKeys or SendDragonKeys\n"
         "(vba only for an English file: exit 3 for another language).\n"
         "Each command converted is reported in Parlavista.log in the program folder and\n"
         "its copy ConvertKEYS2Plain.log, ConvertKEYS2Advanced.log or\n"
         "ConvertKEYS2SendDragon.log.\n\n"
         "  --home DIR   the program folder (logs, savedat, trace.plv)\n\n"
         "With --current-user (and --dragon-root DIR) in place of FILE, or with a FILE that is\n"
         "that user's file, the current Dragon user's mycmds.dat is converted on the road of\n"
         "every edit: checked, backed up once a day, and taken over by Dragon through its\n"
         "merge program (exit 4 when Dragon did not take it over; the file is written).",
         withWriteTargetOptions({"to", "program", "scope", "group", "name"}), kWriteTargetFlags,
         runConvertKeys});

} // namespace
} // namespace plv::cli
