#include "browser/editing_view.h"

#include <algorithm>

namespace plv::browser {
namespace {

std::optional<Tab> tabOf(std::optional<int> tab) {
    if (!tab) {
        return std::nullopt;
    }
    return static_cast<Tab>(*tab);
}

} // namespace

editing::BrowsingView::Shown EditingView::shown() const {
    Shown s;
    s.program = b_.program();
    s.scope = b_.scope();
    s.name = b_.commandName();
    s.tab = static_cast<int>(b_.tab());
    const Preview& p = b_.preview();
    s.typeCode = p.typeCode;
    s.body = p.body;
    s.storedBody = p.storedBody;
    s.description = p.description;
    s.group = p.group;
    s.exists = p.rowId.has_value();
    s.encrypted = p.encrypted;
    return s;
}

void EditingView::select(const std::string& program, const std::string& scope,
                         const std::string& name) {
    b_.setSelection(program, scope, name);
}

void EditingView::showTab(int tab) {
    b_.changeTab(static_cast<Tab>(tab));
}

void EditingView::reset(std::optional<int> tab) {
    std::string program = b_.program();
    std::string name = b_.commandName();
    b_.reset(tabOf(tab));
    showAgain(program, name);
}

void EditingView::refreshed(std::optional<int> tab) {
    std::string program = b_.program();
    std::string name = b_.commandName();
    b_.fileRefreshed(tabOf(tab));
    showAgain(program, name);
}

void EditingView::reopened(const std::string& program, const std::string& scope) {
    b_.fileOpened(program, scope);
}

void EditingView::showAgain(const std::string& program, const std::string& name) {
    if (name.empty() || b_.commandName() == name) {
        return;
    }
    Tab tab = b_.tab();
    bool recent = tab == Tab::RecentlyCreated || tab == Tab::RecentlyModified;
    std::string entry = recent ? recentEntryText(name, program) : name;
    const auto& entries = b_.list(tab).entries;
    auto at = std::find(entries.begin(), entries.end(), entry);
    if (at != entries.end()) {
        b_.clickEntry(tab, static_cast<int>(at - entries.begin()));
    }
}

} // namespace plv::browser
