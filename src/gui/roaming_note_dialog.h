#pragma once

#include <QDialog>
#include <functional>

class QCheckBox;

namespace plv::gui {

// Shown before a save of a roaming user's commands: the changes stay in this machine's
// roaming cache until the user profile is closed. "&Help" opens the help topic, "&Proceed"
// goes on; "Do &Not Show This Window Again" is read when the dialog closes.
class RoamingNoteDialog : public QDialog {
    Q_OBJECT
  public:
    explicit RoamingNoteDialog(std::function<void()> openHelp, QWidget* parent = nullptr);
    bool dontShowAgain() const;

  private:
    QCheckBox* dontShow_;
};

} // namespace plv::gui
