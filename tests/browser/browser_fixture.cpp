#include "browser_fixture.h"

#include <algorithm>
#include <stdexcept>

namespace plv::test {

using namespace dat;

std::string sampleCommandFile(int languageByte) {
    auto office = [](CommandRecord r) {
        r.group = "Office";
        return r;
    };
    CommandRecord secret = globalCommand("secret", kTypeKeys, textBody("hidden"));
    secret.protection = 1;
    secret.protectedString = "x";
    CommandRecord described = globalCommand("type date", kTypeKeys, textBody("today"));
    described.description = "Types the date";
    std::vector<CommandRecord> commands = {
        globalCommand("open mail", kTypeKeys, textBody("{Ctrl+m}")),
        office(described),
        globalCommand("run script", kTypeScript, textBody("SendKeys \"x\"")),
        globalCommand("say hello", kTypeText, plainTextBody("hello")),
        globalCommand("formatted note", kTypeText,
                      formattedBody("{\\rtf1\\ansi {\\b Bold} note\\par}", "Bold note")),
        globalCommand("record it", kTypeRecorder,
                      RecorderBody().window({"a", "b", "c", "d", "e", "f"}).key(65, 0).tokens()),
        globalCommand("step it", kTypeStepByStep, StepsBody().type("hi").tokens()),
        globalCommand("start <apps>", kTypeAdvanced, textBody("Sub Main\nEnd Sub")),
        secret,
        applicationCommand("bold <fonts>", "winword", kTypeKeys, textBody("{Ctrl+b}")),
        office(applicationCommand("save doc", "winword", kTypeKeys, textBody("{Ctrl+s}"))),
        windowCommand("sum it", "excel", "Book1", kTypeAdvanced, textBody("Sub Main\nEnd Sub")),
        applicationCommand("about", "aaa", kTypeKeys, textBody("a")),
    };
    std::vector<ListRecord> lists = {listRecord("apps", {"word", "excel"}),
                                     listRecord("fonts", {"arial", "times"})};
    return buildFile(Layout::V1011, commands, lists, languageByte);
}

BrowserHarness::BrowserHarness(const std::string& fileBytes, const std::string& fileName) {
    if (h.parseBytes(fileBytes, fileName) != ParseStatus::Parsed) {
        throw std::runtime_error("the sample file does not parse");
    }
    path = h.home.file(fileName);
    settings = std::make_unique<Settings>(h.home.path());
    browser = std::make_unique<browser::Browser>(*h.session, *settings, &voice);
}

void BrowserHarness::start(const std::string& program, const std::string& scope) {
    browser->buildVoiceMenus("Parlavista");
    browser->readSettings();
    browser->loadRecentlyUsed();
    browser->buildMenus();
    browser->start(program, scope);
}

bool BrowserHarness::click(browser::Tab tab, const std::string& text) {
    const auto& e = browser->list(tab).entries;
    auto it = std::find_if(e.begin(), e.end(), [&](const std::string& entry) {
        return entry == text || entry.rfind(text + " ", 0) == 0;
    });
    if (it == e.end()) {
        return false;
    }
    browser->clickEntry(tab, static_cast<int>(it - e.begin()));
    return true;
}

std::size_t BrowserHarness::menuIndex(browser::MenuKind kind, const std::string& value) const {
    const auto& values = browser->menu(kind).values();
    auto it = std::find(values.begin(), values.end(), value);
    if (it == values.end()) {
        throw std::runtime_error("no menu entry " + value);
    }
    return static_cast<std::size_t>(it - values.begin());
}

std::vector<std::string> BrowserHarness::menuTexts(browser::MenuKind kind) const {
    std::vector<std::string> texts;
    const auto& m = browser->menu(kind);
    for (std::size_t i = 0; i < m.size(); ++i) {
        texts.push_back(m.text(i));
    }
    return texts;
}

} // namespace plv::test
