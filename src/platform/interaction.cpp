#include "platform/interaction.h"

namespace plv {

Progress::Progress(UserInteraction& ui, std::size_t total)
    : ui_(ui), total_(total), every_(total / 100 > 0 ? total / 100 : 1) {}

Progress::~Progress() {
    ui_.progress(total_, total_);
}

void Progress::step(std::size_t done) {
    if (done >= next_ && done < total_) {
        ui_.progress(done, total_);
        next_ = done + every_;
    }
}

void ScriptedInteraction::answerInput(std::optional<std::string> text) {
    answers_.push_back(std::move(text));
}

void ScriptedInteraction::message(const std::string& text, const std::string& title) {
    shown_.push_back({Kind::Message, text, title});
}

void ScriptedInteraction::warning(const std::string& text, const std::string& title) {
    shown_.push_back({Kind::Message, text, title, {}, true});
}

bool ScriptedInteraction::nextAnswer() {
    if (answers_.empty()) {
        return false;
    }
    auto a = answers_.front();
    answers_.pop_front();
    return a && *a == "yes";
}

bool ScriptedInteraction::okCancel(const std::string& text, const std::string& title) {
    shown_.push_back({Kind::OkCancel, text, title});
    return nextAnswer();
}

bool ScriptedInteraction::yesNo(const std::string& text, const std::string& title) {
    shown_.push_back({Kind::YesNo, text, title});
    return nextAnswer();
}

bool ScriptedInteraction::confirm(const std::string& text, const std::string& title) {
    shown_.push_back({Kind::YesNo, text, title, {}, false, true});
    return nextAnswer();
}

std::optional<std::string> ScriptedInteraction::input(const std::string& prompt,
                                                      const std::string& title,
                                                      const std::string& initial) {
    shown_.push_back({Kind::Input, prompt, title, initial});
    if (answers_.empty()) {
        return std::nullopt;
    }
    auto a = answers_.front();
    answers_.pop_front();
    return a;
}

std::size_t ScriptedInteraction::choice(const std::string& text, const std::string& title,
                                        const std::vector<std::string>& buttons,
                                        std::size_t escape) {
    shown_.push_back({Kind::Choice, text, title});
    if (answers_.empty()) {
        return escape;
    }
    auto a = answers_.front();
    answers_.pop_front();
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        if (a && buttons[i] == *a) {
            return i;
        }
    }
    return escape;
}

bool ScriptedInteraction::sawMessage(const std::string& text,
                                     const std::optional<std::string>& title) const {
    for (const auto& s : shown_) {
        if (s.text == text && (!title || s.title == *title)) {
            return true;
        }
    }
    return false;
}

} // namespace plv
