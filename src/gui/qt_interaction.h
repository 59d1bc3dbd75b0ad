#pragma once

#include "platform/interaction.h"

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

class QProgressDialog;

namespace plv::gui {

// Messages and questions as Qt dialogs over the main window (or on their own before the
// window exists). Status and progress go to whatever view listens; long work before the
// window listens (the parse at start-up) shows a progress dialog with the status text.
class QtInteraction : public UserInteraction {
  public:
    QtInteraction();
    ~QtInteraction() override;
    void setParent(QWidget* parent) { parent_ = parent; }

    void message(const std::string& text, const std::string& title) override;
    void warning(const std::string& text, const std::string& title) override;
    bool okCancel(const std::string& text, const std::string& title) override;
    bool yesNo(const std::string& text, const std::string& title) override;
    bool confirm(const std::string& text, const std::string& title) override;
    std::optional<std::string> input(const std::string& prompt, const std::string& title,
                                     const std::string& initial) override;
    std::size_t choice(const std::string& text, const std::string& title,
                       const std::vector<std::string>& buttons, std::size_t escape) override;

    void status(const std::string& text) override;
    void progress(std::size_t done, std::size_t total) override;

    std::function<void(const std::string&)> onStatus;
    std::function<void(std::size_t, std::size_t)> onProgress;

  private:
    void showDialog(std::size_t done, std::size_t total);

    QPointer<QWidget> parent_;
    std::string status_;
    std::unique_ptr<QProgressDialog> dialog_;
};

} // namespace plv::gui
