#include "browser/voice.h"

#include <charconv>

namespace plv::browser {
namespace {

constexpr int kLanguage = 1033;
constexpr int kMenuFlags = 1;

struct KindWords {
    const char* list;
    const char* spoken;
    int id;
    int numberedId;
    const char* accelerator;
};

KindWords wordsOf(MenuKind kind) {
    switch (kind) {
    case MenuKind::Program:
        return {"programnumbers", "program", kVoiceProgram, kVoiceNumberedProgram, "r"};
    case MenuKind::Scope:
        return {"statenumbers", "scope", kVoiceScope, kVoiceNumberedScope, "s"};
    case MenuKind::Group:
        break;
    }
    return {"groupnumbers", "group", kVoiceGroup, kVoiceNumberedGroup, "g"};
}

} // namespace

void VoiceMenus::build(const std::string& mainWindowTitle, bool numberMenus) {
    if (!voice_) {
        return;
    }
    main_ = voice_->createMenu("Parlavista", "Parlavista", kLanguage, "", kMenuFlags);
    voice_->addCommand(main_, kVoiceCommands, "commands", kSpokenControls);
    voice_->addCommand(main_, kVoiceLists, "lists", kSpokenControls);
    voice_->addCommand(main_, kVoiceRecentlyCreated, "recently created", kSpokenControls);
    voice_->addCommand(main_, kVoiceRecentlyModified, "recently modified", kSpokenControls);
    voice_->assignList(main_, "slidernumbers", numberWords(10));
    voice_->addCommand(main_, kVoiceSlider, "slider <slidernumbers>", kSpokenControls);
    const std::string allGroups = R"(SendKeys "{Alt+g}{up}{enter}")";
    voice_->addCommand(main_, kVoiceGroup, "group all groups", kSpokenControls, allGroups);
    voice_->addCommand(main_, kVoiceGroup, "all groups", kSpokenControls, allGroups);
    voice_->bindAndActivate(main_, mainWindowTitle);
    numbered_ = voice_->createMenu("Parlavista", "Numbered", kLanguage, "", kMenuFlags);
    built_ = true;
    setNumbering(numberMenus);
}

void VoiceMenus::setNumbering(bool on) {
    if (voice_ && built_) {
        voice_->setActive(numbered_, on);
    }
}

void VoiceMenus::defineMenuCommand(MenuKind kind, std::size_t count) {
    if (!voice_ || !built_) {
        return;
    }
    KindWords w = wordsOf(kind);
    voice_->assignList(main_, w.list, numberWords(count));
    std::string body =
        std::string("SendKeys \"{Alt+") + w.accelerator + "}{down \" & _arg1 & \"}{up}{enter}\"";
    voice_->addCommand(main_, w.id, std::string(w.spoken) + " <" + w.list + ">", kSpokenControls,
                       body);
}

void VoiceMenus::defineNumberedCommand(MenuKind kind, std::size_t count) {
    if (!voice_ || !built_) {
        return;
    }
    KindWords w = wordsOf(kind);
    voice_->assignList(numbered_, w.list, numberWords(count));
    voice_->addCommand(numbered_, w.numberedId, std::string("<") + w.list + ">", kSpokenControls,
                       std::string(R"(SendKeys "{down " & _arg1 & "}{enter}")"));
}

void VoiceMenus::onRecognition(std::function<void(int, const std::string&)> handler) {
    if (voice_) {
        voice_->onRecognition(std::move(handler));
    }
}

std::optional<int> VoiceMenus::sliderValue(const std::string& words) {
    if (words.size() <= 7) {
        return std::nullopt;
    }
    std::string number = words.substr(7);
    int value = 0;
    auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (ec != std::errc() || end != number.data() + number.size()) {
        return std::nullopt;
    }
    return value;
}

} // namespace plv::browser
