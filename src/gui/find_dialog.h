#pragma once

#include "browser/browser.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace plv::gui {

// Edit > Find: a view over the browser's search. A hit hides the dialog (the main window
// shows it) and keeps the search for F11 and F12; Cancel and Escape discard it.
class FindDialog : public QDialog {
    Q_OBJECT
  public:
    FindDialog(browser::Browser& browser, QWidget* parent = nullptr);

    // Shows the dialog and waits until it is hidden or closed: true when it found a hit.
    bool ask();

    QLineEdit* searchBox() const { return text_; }
    QRadioButton* option(browser::FindIn in) const { return options_[index(in)]; }
    QCheckBox* matchCase() const { return matchCase_; }
    QPushButton* button(browser::FindStep step) const { return buttons_[index(step)]; }
    QPushButton* cancelButton() const { return cancel_; }

    void reject() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    template <typename E> static std::size_t index(E value) {
        return static_cast<std::size_t>(value);
    }
    void run(browser::FindStep step);
    void showState();

    browser::Browser& browser_;
    QLineEdit* text_;
    // In the order of FindIn and of FindStep.
    std::array<QRadioButton*, 3> options_;
    QCheckBox* matchCase_;
    std::array<QPushButton*, 3> buttons_;
    QPushButton* cancel_;
};

} // namespace plv::gui
