#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace plv {

// Every message the user sees and every question the user answers passes through here,
// with the exact text and title. The window shows dialogs; tests script the answers.
class UserInteraction {
  public:
    virtual ~UserInteraction() = default;
    virtual void message(const std::string& text, const std::string& title) = 0;
    // A refusal or a failure: shown as a warning, not as plain information.
    virtual void warning(const std::string& text, const std::string& title) {
        message(text, title);
    }
    // true for OK
    virtual bool okCancel(const std::string& text, const std::string& title) = 0;
    // true for Yes
    virtual bool yesNo(const std::string& text, const std::string& title) = 0;
    // A question before work that cannot be taken back with one key: No is the answer of
    // Enter and of Esc. true for Yes.
    virtual bool confirm(const std::string& text, const std::string& title) {
        return yesNo(text, title);
    }
    // nullopt when the user cancels
    virtual std::optional<std::string> input(const std::string& prompt, const std::string& title,
                                             const std::string& initial) = 0;
    // A question with several answers, one button each ("&Append": the letter after '&' is
    // its key). Returns the index of the button chosen; `escape` is the answer of Esc and of
    // closing the box, and of anyone who cannot be asked.
    virtual std::size_t choice(const std::string& /*text*/, const std::string& /*title*/,
                               const std::vector<std::string>& /*buttons*/, std::size_t escape) {
        return escape;
    }
    // The status bar and the counts label; long work reports progress.
    virtual void status(const std::string& /*text*/) {}
    virtual void counts(const std::string& /*text*/) {}
    virtual void progress(std::size_t /*done*/, std::size_t /*total*/) {}
};

// Reports the progress of one long piece of work to `ui`: about a hundred reports whatever
// its size, and a last one (done = total) when it ends, however it ends, so that whatever
// shows the progress goes away.
class Progress {
  public:
    Progress(UserInteraction& ui, std::size_t total);
    ~Progress();
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;
    void step(std::size_t done);

  private:
    UserInteraction& ui_;
    std::size_t total_;
    std::size_t every_;
    std::size_t next_ = 0;
};

// Shows nothing and answers every question cautiously: for batch work nobody watches.
class SilentInteraction : public UserInteraction {
  public:
    void message(const std::string&, const std::string&) override {}
    bool okCancel(const std::string&, const std::string&) override { return false; }
    bool yesNo(const std::string&, const std::string&) override { return false; }
    std::optional<std::string> input(const std::string&, const std::string&,
                                     const std::string&) override {
        return std::nullopt;
    }
};

// Records everything shown and answers questions from a script; questions beyond the
// script get the cautious answer (Cancel, No, no input, the escape button).
class ScriptedInteraction : public UserInteraction {
  public:
    enum class Kind { Message, OkCancel, YesNo, Input, Choice };
    struct Shown {
        Kind kind;
        std::string text;
        std::string title;
        std::string initial = {}; // the answer an input box proposed
        bool warning = false;     // a message shown as a warning
        bool defaultNo = false;   // a question whose default answer is No
    };

    void answerOk(bool ok) { answers_.push_back(ok ? "yes" : "no"); }
    void answerYes(bool yes) { answers_.push_back(yes ? "yes" : "no"); }
    void answerInput(std::optional<std::string> text);
    // The caption of the button to choose, as given to choice() ("Ye&s to all").
    void answerChoice(const std::string& button) { answers_.push_back(button); }

    void message(const std::string& text, const std::string& title) override;
    void warning(const std::string& text, const std::string& title) override;
    bool okCancel(const std::string& text, const std::string& title) override;
    bool yesNo(const std::string& text, const std::string& title) override;
    bool confirm(const std::string& text, const std::string& title) override;
    std::optional<std::string> input(const std::string& prompt, const std::string& title,
                                     const std::string& initial) override;
    std::size_t choice(const std::string& text, const std::string& title,
                       const std::vector<std::string>& buttons, std::size_t escape) override;
    void status(const std::string& text) override { statusText = text; }
    void counts(const std::string& text) override { countsText = text; }

    const std::vector<Shown>& shown() const { return shown_; }
    // True when a message with exactly this text (and title, when given) was shown.
    bool sawMessage(const std::string& text, const std::optional<std::string>& title = {}) const;
    void clear() { shown_.clear(); }

    std::string statusText;
    std::string countsText;

  private:
    bool nextAnswer();
    std::vector<Shown> shown_;
    std::deque<std::optional<std::string>> answers_;
};

} // namespace plv
