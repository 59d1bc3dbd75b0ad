#pragma once

#include "editing/convert_language.h"

#include <QDialog>

class QComboBox;

namespace plv::gui {

// "Convert Language of .dat file": a view over editing::LanguageConversion. Accepted when
// the language byte was written.
class LanguageDialog : public QDialog {
    Q_OBJECT
  public:
    LanguageDialog(editing::LanguageConversion& state, const std::string& path,
                   QWidget* parent = nullptr);
    QComboBox* choices() const { return choices_; }

  private:
    void convert();

    editing::LanguageConversion& state_;
    QComboBox* choices_;
};

} // namespace plv::gui
