#pragma once

#include <QDialog>
#include <functional>

class QCheckBox;

namespace plv::gui {

// Edit > Options: whether the Program, Scope and Group menus are numbered. A change is
// stored at once; "&Help" opens the help page on fonts and settings.
class OptionsDialog : public QDialog {
    Q_OBJECT
  public:
    OptionsDialog(bool numberMenus, std::function<void(bool)> onNumberMenus,
                  std::function<void()> onHelp, QWidget* parent = nullptr);
    QCheckBox* numberBox() const { return numberBox_; }

  private:
    QCheckBox* numberBox_;
};

} // namespace plv::gui
