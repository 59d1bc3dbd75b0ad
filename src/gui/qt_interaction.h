#pragma once

#include "platform/interaction.h"

#include <QPointer>
#include <QWidget>
#include <functional>

namespace plv::gui {

// Messages and questions as Qt dialogs over the main window (or on their own before the
// window exists). Status and progress go to whatever view listens.
class QtInteraction : public UserInteraction {
  public:
    void setParent(QWidget* parent) { parent_ = parent; }

    void message(const std::string& text, const std::string& title) override;
    bool okCancel(const std::string& text, const std::string& title) override;
    bool yesNo(const std::string& text, const std::string& title) override;
    std::optional<std::string> input(const std::string& prompt, const std::string& title,
                                     const std::string& initial) override;

    void status(const std::string& text) override;
    void progress(std::size_t done, std::size_t total) override;

    std::function<void(const std::string&)> onStatus;
    std::function<void(std::size_t, std::size_t)> onProgress;

  private:
    QPointer<QWidget> parent_;
};

} // namespace plv::gui
