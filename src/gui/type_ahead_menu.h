#pragma once

#include <QElapsedTimer>
#include <QMenu>

namespace plv::gui {

// A menu of names that a keyboard user reaches by typing: the letters typed within a
// second select the first entry whose name starts with them (its number left aside). A
// digit typed first is the accelerator of the numbered entries 1 to 9.
class TypeAheadMenu : public QMenu {
    Q_OBJECT
  public:
    using QMenu::QMenu;

    // The entry whose name starts with `typed`, letter case ignored; null when none does.
    QAction* match(const QString& typed) const;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    QString typed_;
    QElapsedTimer sinceLastKey_;
};

} // namespace plv::gui
