#pragma once

#include "browser/browser.h"
#include "editing/editor.h"

// The browser as the editing commands see it: the entry shown, the selection they set and
// the resets after their writes.
namespace plv::browser {

class EditingView : public editing::BrowsingView {
  public:
    explicit EditingView(Browser& browser) : b_(browser) {}

    Shown shown() const override;
    void select(const std::string& program, const std::string& scope,
                const std::string& name) override;
    void showTab(int tab) override;
    void reset(std::optional<int> tab = {}) override;
    void refreshed(std::optional<int> tab = {}) override;
    void reopened(const std::string& program, const std::string& scope) override;
    void recordRecentlyUsed(const std::string& program, const std::string& scope,
                            const std::string& name, const std::string& typeCode) override {
        b_.recordRecentlyUsed({program, scope, name}, typeCode, true);
    }
    void outputRecentlyUsed() override { b_.outputRecentlyUsed(); }
    int slider() const override { return b_.slider(); }
    void setSlider(int value) override { b_.setSlider(value); }

  private:
    // A reset lands on the first entry when the name is not on the Commands tab (a LIST, or
    // a command shown on another tab): the name is looked up on the tab shown and clicked.
    void showAgain(const std::string& program, const std::string& name);

    Browser& b_;
};

} // namespace plv::browser
