#include "editing/convert_keys.h"

#include "datfile/builder.h"
#include "editing/keys_conversion.h"
#include "editing/road.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "platform/profile.h"

#include <ostream>

namespace plv::editing {
namespace {

constexpr const char* kCrLf = "\r\n";
constexpr std::size_t kTailSize = 8;
constexpr const char* kNoHelpKey = "no convert keys help";

struct Texts {
    const char* code;
    const char* status;
    const char* logName;
    const char* complete;
};

const Texts& texts(KeysOperation op) {
    static const Texts plain{"dvc2plain", "Converting DVCs to Plain Text", "ConvertKEYS2Plain.log",
                             " Conversion of DVCs to Plain Text Complete"};
    static const Texts vba{"dvc2vba", "Converting DVCs to Advanced Scripting",
                           "ConvertKEYS2Advanced.log",
                           " Conversion of DVCs to Advanced Scripting Complete"};
    static const Texts sdk{"dvc2sdk", "Converting DVCs to Advanced Scripting w/SendDragonKeys",
                           "ConvertKEYS2SendDragon.log",
                           " Conversion of DVCs to Advanced Scripting Complete"};
    switch (op) {
    case KeysOperation::ToPlainText:
        return plain;
    case KeysOperation::ToSendKeys:
        return vba;
    case KeysOperation::ToSendDragonKeys:
        break;
    }
    return sdk;
}

// Plain Text in the file's layout: no protection, a zeroed version tail, the empty
// formatted-content block, then the text.
void retypeAsPlainText(dat::CommandRecord& r, std::string text) {
    r.typeByte = dat::kTypeText;
    r.protection = 0;
    r.protectedString.reset();
    r.tail.assign(kTailSize, '\0');
    r.body = dat::plainTextBody(text);
}

// Advanced Scripting keeps the record's version tail; only the type and the script change.
void retypeAsAdvanced(dat::CommandRecord& r, std::string script) {
    r.typeByte = dat::kTypeAdvanced;
    r.body = dat::textBody(script);
}

bool hasBraces(const std::string& body) {
    return body.find('{') != std::string::npos && body.find('}') != std::string::npos;
}

void convertStep(KeysOperation op, KeysTally& tally, const UserRow& row, dat::CommandRecord& r,
                 std::ostream& log) {
    std::string* text = r.typeByte == dat::kTypeKeys ? r.editableText() : nullptr;
    if (text == nullptr) {
        return;
    }
    std::string where = row.menu + " " + row.state + " " + row.name;
    std::string body = decodeCp1252(*text);
    bool braces = hasBraces(*text);
    bool wanted = op == KeysOperation::ToPlainText ? !braces : braces;
    if (!wanted) {
        return;
    }
    // An encrypted body cannot be read, so it cannot be converted either.
    if (r.protection != 0) {
        log << where << kCrLf << dat::kEncryptedMessage << kCrLf;
        ++tally.notConverted;
        return;
    }
    if (op == KeysOperation::ToPlainText) {
        log << "Changed DVC to Plain Text: " << where << kCrLf << body << kCrLf;
        retypeAsPlainText(r, *text);
        ++tally.converted;
        return;
    }
    log << where << kCrLf << "KEYS:" << kCrLf << body << kCrLf << kCrLf;
    KeysConversion result =
        op == KeysOperation::ToSendKeys ? toSendKeys(*text) : toSendDragonKeys(*text);
    if (!result.ok) {
        log << "The following is not syntactically correct, "
            << "and has not been converted. Please send to Brinmoor" << kCrLf;
        ++tally.notConverted;
        return;
    }
    retypeAsAdvanced(r, std::move(result.body));
    ++tally.converted;
}

dat::Outcome rewriteAndReport(Session& s, const Texts& t, KeysOperation op, KeysTally& tally) {
    dat::FullRewritePlan plan;
    plan.traceWord = "RenameGroup"; // the trace word of the substituting full rewrite
    plan.substitution = keysConversionStep(op, tally);
    dat::Outcome done = dat::runFullRewrite(s, plan);
    if (done != dat::Outcome::Done) {
        // The log was written command by command before the file: none of it took place.
        files::writeAll(s.programFile("Parlavista.log"),
                        std::string("The conversion failed: the command file was left as it "
                                    "was and no command was converted") +
                            kCrLf);
        tally = {};
        return done;
    }
    files::copyFile(s.programFile("Parlavista.log"), s.programFile(t.logName));
    std::string title =
        std::string("See ") + t.logName + " for complete details of converted commands";
    s.ui.message(t.complete, title);
    if (op != KeysOperation::ToPlainText && tally.notConverted > 0) {
        s.ui.warning("Some macros were not converted--Please send to Brinmoor", title);
    }
    return done;
}

} // namespace

bool keysLanguageAllows(Session& s, KeysOperation op) {
    if (op != KeysOperation::ToSendKeys || dat::languageName(s.file.languageByte) == "English") {
        return true;
    }
    s.ui.warning(kEnglishOnly, kEnglishOnlyTitle);
    return false;
}

std::string operationCode(KeysOperation op) {
    return texts(op).code;
}

std::optional<KeysOperation> keysOperationFromCode(const std::string& code) {
    for (auto op :
         {KeysOperation::ToPlainText, KeysOperation::ToSendKeys, KeysOperation::ToSendDragonKeys}) {
        if (code == texts(op).code) {
            return op;
        }
    }
    return std::nullopt;
}

std::string namedLogFile(KeysOperation op) {
    return texts(op).logName;
}

dat::Substitution keysConversionStep(KeysOperation op, KeysTally& tally) {
    return [op, &tally](const UserRow& row, dat::CommandRecord& record, std::ostream& log) {
        convertStep(op, tally, row, record, log);
    };
}

dat::Outcome runKeysConversion(Road& road, KeysOperation op, KeysTally& tally) {
    const Texts& t = texts(op);
    Session& s = road.session();
    s.ui.status(t.status);
    road.waits().pause(0); // the status shows before the work starts
    if (!road.automaticBackup(true)) {
        s.ui.status("");
        return dat::Outcome::Refused;
    }
    return rewriteAndReport(s, t, op, tally);
}

bool keysConversionHelpWanted(Settings& settings) {
    return !settings.readBool(kNoHelpKey, false);
}

void declineKeysConversionHelp(Settings& settings) {
    settings.write(kNoHelpKey, "True");
}

} // namespace plv::editing
