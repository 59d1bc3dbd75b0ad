#pragma once

#include "browser/differences.h"

#include <QDialog>
#include <functional>
#include <vector>

class QListWidget;

namespace plv::gui {

// A text and a list of commands and LISTs, each line opening its entry on a double-click or
// Enter: the Restore preview (with "&Restore" and "Cancel"), the differences of Compare
// with... and the Problems view (with "&Close").
class EntryListDialog : public QDialog {
    Q_OBJECT
  public:
    enum class Buttons { RestoreCancel, Close };
    EntryListDialog(const QString& objectName, const QString& title, const QString& text,
                    std::vector<browser::EntryLine> lines, Buttons buttons,
                    QWidget* parent = nullptr);

    // Called with the line the user opens.
    std::function<void(const browser::EntryLine&)> onOpen;
    QListWidget* list() const { return list_; }

  private:
    std::vector<browser::EntryLine> lines_;
    QListWidget* list_;
};

} // namespace plv::gui
