// Debug with Basic: Dragon's MyCommands Editor is opened and the shown body typed into it,
// keystroke by keystroke, so that Dragon's own Basic editor can check it.
#include "editing/commands.h"

namespace plv::editing {
namespace {

constexpr int kWaitMs = 500;
// "End Sub" and its CR LF: the editor's template has its own.
constexpr std::size_t kClosingLength = 9;

// The text as the editor is to receive it: one character at a time, the characters that
// SendKeys reads as key syntax wrapped in braces, line feeds left out (CR is the Enter key).
std::vector<std::string> keystrokes(const std::string& body) {
    std::string text =
        body.substr(0, body.size() > kClosingLength ? body.size() - kClosingLength : 0);
    std::vector<std::string> keys;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t n = 1;
        while (i + n < text.size() && (static_cast<unsigned char>(text[i + n]) & 0xC0) == 0x80) {
            ++n; // a UTF-8 character is one keystroke
        }
        std::string c = text.substr(i, n);
        i += n;
        if (c == "\n") {
            continue;
        }
        bool syntax = c == "{" || c == "}" || c == "(" || c == ")";
        keys.push_back(syntax ? "{" + c + "}" : c);
    }
    return keys;
}

} // namespace

Outcome DebugWithBasic(Editor& e) {
    Operation op(e);
    if (Outcome ready = readyForCommand(e, op); ready != Outcome::Done) {
        return ready;
    }
    Road& road = e.road();
    dragon::EngineControl* engine = road.dragon().controls.engine;
    dragon::CommandEditor* editor = road.dragon().controls.editor;
    Waits& waits = road.waits();
    if (engine) {
        engine->showDialog(dragon::kCommandEditorDialog, "Parlavista");
        waits.pause(kWaitMs);
    }
    // Keystrokes sent to whatever window is in front would type the body into it.
    if (!editor || !editor->isOpen()) {
        e.session().ui.warning("Dragon's MyCommands Editor did not open; nothing was typed",
                               dragon::kCommandEditorTitle);
        return Outcome::Refused;
    }
    editor->bringToFront();
    waits.pause(kWaitMs);
    editor->sendKeys("%y{end}");
    editor->sendKeys("{tab 2}^{end}+(^{home})");
    waits.pause(kWaitMs);
    editor->sendKeys("{del}");
    for (const auto& key : keystrokes(e.view().shown().body)) {
        editor->sendKeys(key);
    }
    waits.pause(kWaitMs);
    editor->sendKeys("{bs 2}");
    editor->sendKeys("% x");
    editor->sendKeys("^{home}");
    return Outcome::Done;
}

} // namespace plv::editing
