#include "editing/convert_language.h"

#include "datfile/format.h"
#include "editing/ask_before_writing.h"
#include "platform/files.h"

namespace plv::editing {

int languageCode(const std::string& language) {
    for (int code : {19, 9, 12, 7, 10}) {
        if (dat::languageName(code) == language) {
            return code;
        }
    }
    return 0;
}

bool writeLanguageByte(const std::string& path, int code) {
    return files::writeByteAt(path, dat::kLanguageOffset, static_cast<std::uint8_t>(code));
}

LanguageConversion::LanguageConversion(Road& road)
    : road_(road), language_(dat::languageName(road.session().file.languageByte)) {}

bool LanguageConversion::open() {
    Session& s = road_.session();
    if (road_.isCurrentUserFile()) {
        s.ui.warning("Cannot convert current (or any) User file, only Exported files", s.file.path);
        return false;
    }
    return true;
}

std::string LanguageConversion::languageLabel() const {
    return "Language of current file: " + language_;
}

LanguageConversion::Result LanguageConversion::convert(const std::string& choice) {
    Session& s = road_.session();
    if (choice.size() < 4 || choice == kLanguageChoices[0]) {
        s.ui.message("No conversion done", "Parlavista");
        return Result::Closes;
    }
    std::string language = choice.substr(3);
    if (language == language_) {
        s.ui.warning("Already in this language - Not Converted", language_);
        return Result::StaysOpen;
    }
    int code = languageCode(language);
    if (code == 0 || road_.fileChanged()) {
        return Result::StaysOpen;
    }
    if (files::isReadOnly(s.file.path)) {
        s.ui.warning(files::readOnlyMessage(s.file.path), s.file.path);
        return Result::StaysOpen;
    }
    if (!askBeforeWriting(s, "Convert this file to " + language + "\n\n" + openFileName(s) + ": " +
                                 commandsAndLists(s.catalogue.countCommands(), s.file.listCount))) {
        return Result::StaysOpen;
    }
    if (!writeLanguageByte(s.file.path, code)) {
        s.ui.warning("The language could not be written into the command file", s.file.path);
        return Result::StaysOpen;
    }
    language_ = language;
    s.ui.message("File converted to " + language, s.file.path);
    return Result::Converted;
}

} // namespace plv::editing
