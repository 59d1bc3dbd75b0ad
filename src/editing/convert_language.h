#pragma once

#include "editing/road.h"

#include <array>
#include <string>

// The dialog that changes the language byte in the header of an exported command file, so
// that its commands can be imported by a user of another language. Nothing is translated.
namespace plv::editing {

inline constexpr const char* kLanguageDialogTitle = "Convert Language of .dat file";
inline constexpr const char* kLanguageDialogText =
    "This command modifies the .dat file header to the language specified.  This is necessary "
    "to be able to exchange macros (Export-Import) from one language to another.\n\nOf course, "
    "no translation of the command names, or any text contained in the macros is done.  This "
    "must be done separately by the User.";
inline constexpr std::array<const char*, 6> kLanguageChoices = {
    "No Change", "to Dutch", "to English", "to French", "to German", "to Spanish"};

// The language byte of a language name ("Dutch", "English", ...); 0 for another name.
int languageCode(const std::string& language);

class LanguageConversion {
  public:
    explicit LanguageConversion(Road& road);

    // Opening the dialog: false, after the refusal, when the file is the current Dragon
    // user's own and the dialog must close.
    bool open();
    const std::string& currentLanguage() const { return language_; }
    // "Language of current file: " and the language name.
    std::string languageLabel() const;

    enum class Result { StaysOpen, Closes, Converted };
    // &Convert with one of kLanguageChoices. Converted: the one byte was written and the
    // dialog closes; the caller opens the file afresh. Nothing is done when the current
    // user's file has changed since it was read.
    Result convert(const std::string& choice);

  private:
    Road& road_;
    std::string language_;
};

// Writes the language's byte at offset 15 of the file, in place; every other byte stays.
bool writeLanguageByte(const std::string& path, int code);

} // namespace plv::editing
