#pragma once

#include <QDialog>
#include <functional>

class QCheckBox;
class QSpinBox;

namespace plv::gui {

// Edit > Options: whether the Program, Scope and Group menus are numbered, and the font
// size of the window. A change is stored and shown at once; "&Help" opens the help page on
// fonts and settings.
class OptionsDialog : public QDialog {
    Q_OBJECT
  public:
    OptionsDialog(bool numberMenus, std::function<void(bool)> onNumberMenus, int fontSize,
                  std::function<void(int)> onFontSize, std::function<void()> onHelp,
                  QWidget* parent = nullptr);
    QCheckBox* numberBox() const { return numberBox_; }
    QSpinBox* fontSizeBox() const { return fontSize_; }

  private:
    QCheckBox* numberBox_;
    QSpinBox* fontSize_;
};

} // namespace plv::gui
