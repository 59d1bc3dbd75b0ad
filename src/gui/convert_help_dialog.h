#pragma once

#include <QDialog>
#include <functional>

class QCheckBox;

namespace plv {
class Settings;
}

namespace plv::gui {

// Offered before the KEYS conversions to Plain Text and to Advanced Scripting with SendKeys:
// "&Yes" opens the help page on converting, "&No Thanks" closes; "Don't &Show this Again"
// is stored when the dialog closes.
class ConvertHelpDialog : public QDialog {
    Q_OBJECT
  public:
    ConvertHelpDialog(std::function<void()> openHelp, QWidget* parent = nullptr);
    QCheckBox* dontShowBox() const { return dontShow_; }

  private:
    QCheckBox* dontShow_;
};

// Shows the dialog modally unless "no convert keys help" is set in the settings; sets it
// when the user closes the dialog with the box checked.
void offerKeysConversionHelp(Settings& settings, std::function<void()> openHelp, QWidget* parent);

} // namespace plv::gui
