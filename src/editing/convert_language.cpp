#include "editing/convert_language.h"

#include "datfile/format.h"
#include "editing/production_file.h"
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

LanguageConversion::LanguageConversion(Session& s)
    : s_(s), language_(dat::languageName(s.file.languageByte)) {}

bool LanguageConversion::open() {
    if (isOpenUserFile(s_)) {
        s_.ui.message("Cannot convert current (or any) User file, only Exported files",
                      s_.file.path);
        return false;
    }
    return true;
}

std::string LanguageConversion::languageLabel() const {
    return "Language of current file: " + language_;
}

LanguageConversion::Result LanguageConversion::convert(const std::string& choice) {
    if (choice.size() < 4 || choice == kLanguageChoices[0]) {
        s_.ui.message("No conversion done", "Parlavista");
        return Result::Closes;
    }
    std::string language = choice.substr(3);
    if (language == language_) {
        s_.ui.message("Already in this language - Not Converted", language_);
        return Result::StaysOpen;
    }
    if (!s_.ui.yesNo("Convert this file to " + language, s_.file.path)) {
        return Result::StaysOpen;
    }
    if (!writeLanguageByte(s_.file.path, languageCode(language))) {
        s_.ui.message("The language could not be written into the command file", s_.file.path);
        return Result::StaysOpen;
    }
    language_ = language;
    s_.ui.message("File converted to " + language, s_.file.path);
    return Result::Converted;
}

} // namespace plv::editing
