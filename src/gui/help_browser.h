#pragma once

#include <QDialog>

class QTextBrowser;

namespace plv::gui {

// The help book in a window of its own, with Back, Forward and Contents.
class HelpBrowser : public QDialog {
    Q_OBJECT
  public:
    HelpBrowser(const QString& folder, QWidget* parent = nullptr);
    // Shows `page` of the book; false when the page is not there.
    bool showPage(const QString& page);
    QString currentPage() const;

  private:
    QString folder_;
    QTextBrowser* text_;
};

} // namespace plv::gui
