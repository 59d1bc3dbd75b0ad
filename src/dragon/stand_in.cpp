#include "dragon/stand_in.h"

#include "platform/codepage.h"
#include "platform/process.h"

#include <sstream>

namespace plv::dragon {
namespace {

constexpr const char* kEngine = "Engine";

std::vector<std::string> words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> out;
    for (std::string w; in >> w;) {
        out.push_back(w);
    }
    return out;
}

bool isListReference(const std::string& token) {
    return token.size() > 2 && token.front() == '<' && token.back() == '>';
}

// Matches the spoken form's tokens from `t` against the heard words from `w`.
bool matches(const std::vector<std::string>& tokens, std::size_t t,
             const std::vector<std::string>& heard, std::size_t w,
             const std::map<std::string, std::vector<std::string>>& lists) {
    if (t == tokens.size()) {
        return w == heard.size();
    }
    if (!isListReference(tokens[t])) {
        return w < heard.size() && equalsNoCase(tokens[t], heard[w]) &&
               matches(tokens, t + 1, heard, w + 1, lists);
    }
    auto list = lists.find(tokens[t].substr(1, tokens[t].size() - 2));
    if (list == lists.end()) {
        return false;
    }
    for (const auto& item : list->second) {
        auto itemWords = words(item);
        if (itemWords.empty() || w + itemWords.size() > heard.size()) {
            continue;
        }
        bool same = true;
        for (std::size_t i = 0; i < itemWords.size() && same; ++i) {
            same = equalsNoCase(itemWords[i], heard[w + i]);
        }
        if (same && matches(tokens, t + 1, heard, w + itemWords.size(), lists)) {
            return true;
        }
    }
    return false;
}

// The line's leading keyword, folded; "End If" counts as "endif".
std::string keyword(const std::string& line) {
    auto w = words(line);
    if (w.empty()) {
        return {};
    }
    std::string first = foldCase(w[0]);
    return first == "end" && w.size() > 1 ? first + foldCase(w[1]) : first;
}

// A line's quotes and parentheses must pair up; text in quotes is not counted.
bool balancedLine(const std::string& line) {
    bool quoted = false;
    int depth = 0;
    for (char c : line) {
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && c == '(') {
            ++depth;
        } else if (!quoted && c == ')' && --depth < 0) {
            return false;
        }
    }
    return !quoted && depth == 0;
}

} // namespace

StandInEngine::StandInEngine(std::string engineIniPath)
    : path_(std::move(engineIniPath)), ini_(path_), text_(files::readAll(path_)) {
    lastSpeaker_ = value("current speaker");
}

// The content decides, not the modification time: two writes within one tick of a
// coarse file-system clock leave the same time.
const Profile& StandInEngine::current() {
    auto text = files::readAll(path_);
    if (text && text != text_) {
        text_ = std::move(text);
        ini_.reload();
    }
    return ini_;
}

std::string StandInEngine::value(const std::string& key) {
    return current().get(kEngine, key).value_or(std::string());
}

int StandInEngine::number(const std::string& key) {
    try {
        return std::stoi(value(key));
    } catch (...) {
        return 0;
    }
}

bool StandInEngine::registerAndSwitchOn(const std::string& mainWindowTitle) {
    if (!files::exists(path_)) {
        return false;
    }
    registeredWindow_ = mainWindowTitle;
    return true;
}

std::uint32_t StandInEngine::productFlags() {
    return static_cast<std::uint32_t>(number("product flags"));
}

EngineVersion StandInEngine::version() {
    return {number("major"), number("minor"), number("third")};
}

std::string StandInEngine::directory() {
    return value("directory");
}

std::string StandInEngine::ownerProcessPath(const std::string& windowTitle) {
    if (windowTitle.empty()) {
        return {};
    }
    return current().get("Window Owners", windowTitle).value_or(std::string());
}

std::string StandInEngine::currentSpeaker() {
    return value("current speaker");
}

int StandInEngine::speakerLanguage(const std::string& speaker) {
    try {
        return std::stoi(current().get("Speaker Languages", speaker).value_or("0"));
    } catch (...) {
        return 0;
    }
}

void StandInEngine::showDialog(int number, const std::string& /*ownerWindowTitle*/) {
    dialogs_.push_back(number);
    if (dialogHandler_) {
        dialogHandler_(number);
    }
}

void StandInEngine::onSpeakerChanged(std::function<void(const std::string&)> handler) {
    speakerHandler_ = std::move(handler);
}

void StandInEngine::poll() {
    std::string speaker = currentSpeaker();
    if (speaker != lastSpeaker_) {
        lastSpeaker_ = speaker;
        if (speakerHandler_) {
            speakerHandler_(speaker);
        }
    }
}

std::string StandInEngine::foregroundWindowTitle() {
    return value("foreground window");
}

VoiceCommands::MenuId RecordingVoiceCommands::createMenu(const std::string& application,
                                                         const std::string& state, int language,
                                                         const std::string& dialect, int flags) {
    Menu m;
    m.application = application;
    m.state = state;
    m.language = language;
    m.dialect = dialect;
    m.flags = flags;
    menus_.push_back(std::move(m));
    return static_cast<MenuId>(menus_.size());
}

const RecordingVoiceCommands::Command*
RecordingVoiceCommands::Menu::find(const std::string& spoken) const {
    for (const auto& c : commands) {
        if (c.spoken == spoken) {
            return &c;
        }
    }
    return nullptr;
}

RecordingVoiceCommands::Menu* RecordingVoiceCommands::menu(MenuId id) {
    if (id < 1 || static_cast<std::size_t>(id) > menus_.size()) {
        return nullptr;
    }
    return &menus_[static_cast<std::size_t>(id) - 1];
}

void RecordingVoiceCommands::addCommand(MenuId id, int commandId, const std::string& spoken,
                                        const std::string& category,
                                        const std::optional<std::string>& scriptBody) {
    Menu* m = menu(id);
    if (!m) {
        return;
    }
    Command c{commandId, spoken, category, scriptBody};
    for (auto& existing : m->commands) {
        if (equalsNoCase(existing.spoken, spoken)) {
            existing = std::move(c);
            return;
        }
    }
    m->commands.push_back(std::move(c));
}

void RecordingVoiceCommands::assignList(MenuId id, const std::string& listName,
                                        const std::vector<std::string>& listWords) {
    if (Menu* m = menu(id)) {
        m->lists[listName] = listWords;
    }
}

void RecordingVoiceCommands::bindAndActivate(MenuId id, const std::string& windowTitle) {
    if (Menu* m = menu(id)) {
        m->boundWindow = windowTitle;
        m->active = true;
    }
}

void RecordingVoiceCommands::setActive(MenuId id, bool active) {
    if (Menu* m = menu(id)) {
        m->active = active;
    }
}

void RecordingVoiceCommands::onRecognition(
    std::function<void(int id, const std::string& words)> handler) {
    handler_ = std::move(handler);
}

int RecordingVoiceCommands::scriptCheck(const std::string& body) {
    return checkLegacyScript(body);
}

const RecordingVoiceCommands::Menu*
RecordingVoiceCommands::findMenu(const std::string& application, const std::string& state) const {
    for (const auto& m : menus_) {
        if (m.application == application && m.state == state) {
            return &m;
        }
    }
    return nullptr;
}

void RecordingVoiceCommands::inject(int id, const std::string& heard) {
    if (handler_) {
        handler_(id, heard);
    }
}

bool RecordingVoiceCommands::speak(const std::string& heard) {
    auto heardWords = words(heard);
    for (const auto& m : menus_) {
        if (!m.active) {
            continue;
        }
        for (const auto& c : m.commands) {
            if (matches(words(c.spoken), 0, heardWords, 0, m.lists)) {
                inject(c.id, heard);
                return true;
            }
        }
    }
    return false;
}

int checkLegacyScript(const std::string& body) {
    std::vector<std::pair<std::string, int>> open; // block keyword, line
    std::istringstream in(body);
    int lineNumber = 0;
    for (std::string line; std::getline(in, line);) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!balancedLine(line)) {
            return lineNumber;
        }
        std::string word = keyword(line);
        if (word == "if" || word == "repeat") {
            open.emplace_back(word, lineNumber);
        } else if (word == "endif" || word == "endrepeat") {
            if (open.empty() || "end" + open.back().first != word) {
                return lineNumber;
            }
            open.pop_back();
        }
    }
    return open.empty() ? 0 : open.back().second;
}

bool MergeLauncher::start(const std::string& programPath, const std::string& commandFile,
                          const std::string& placerFile) {
    started_.push_back(commandLine(programPath, commandFile, placerFile));
    return process::startDetached(programPath, {commandFile, placerFile});
}

std::string MergeLauncher::commandLine(const std::string& programPath,
                                       const std::string& commandFile,
                                       const std::string& placerFile) {
    return programPath + " \"" + commandFile + "\" \"" + placerFile + "\"";
}

void RecordingCommandEditor::bringToFront() {
    ++broughtToFront_;
    inFront_ = open_;
}

void RecordingCommandEditor::sendKeys(const std::string& keys) {
    if (inFront_) {
        keys_.push_back(keys);
    }
}

StandInDragon::StandInDragon(const DragonRoot& root) : engine_(root.engineIni()) {
    engine_.onDialog([this](int number) {
        if (number == kCommandEditorDialog) {
            editor_.open();
        }
    });
}

Controls StandInDragon::controls() {
    return {&engine_, &voice_, &mic_, &merge_, &editor_};
}

} // namespace plv::dragon
