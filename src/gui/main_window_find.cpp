// Edit > Find, Find Again and Find Previous (F3 and Shift+F3, and F11 and F12 from the lists
// and the body), and the body as the preview shows it, with the found text selected.
#include "gui/find_dialog.h"
#include "gui/main_window.h"

#include <QKeyEvent>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTextCursor>

namespace plv::gui {

void MainWindow::find() {
    // A body being edited keeps its place: Find would leave the edit.
    if (!browsing()) {
        return;
    }
    if (!findDialog_) {
        findDialog_ = new FindDialog(browser_, this);
    }
    findDialog_->ask();
    focusList();
}

void MainWindow::findStep(browser::FindStep step) {
    if (browsing()) {
        browser_.find(step);
        focusList();
    }
}

bool MainWindow::findKey(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) {
        return false;
    }
    auto* key = static_cast<QKeyEvent*>(event);
    bool editing = watched == body_ && !body_->isReadOnly();
    if ((key->key() != Qt::Key_F11 && key->key() != Qt::Key_F12) || editing) {
        return false;
    }
    // The step runs when the key comes up, once per press; the lists never see these keys.
    bool finds = watched == list(browser::Tab::Commands) || watched == list(browser::Tab::Lists) ||
                 watched == body_;
    if (finds && event->type() == QEvent::KeyRelease && !key->isAutoRepeat()) {
        findStep(key->key() == Qt::Key_F11 ? browser::FindStep::Again
                                           : browser::FindStep::Previous);
    }
    return true;
}

void MainWindow::showBody(const browser::Preview& p) {
    // Text wraps at the editor's width and keeps its own line breaks; a script reads better
    // as it was written, one statement a line.
    bool script = p.typeCode == "S" || p.typeCode == "A";
    body_->setLineWrapMode(script ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
    QString text = QString::fromStdString(p.body);
    body_->setPlainText(text);
    if (!p.highlight) {
        return;
    }
    // The editor holds CR LF as one line break.
    auto place = [&text](std::size_t chars) {
        auto n = static_cast<qsizetype>(chars);
        return static_cast<int>(n - text.left(n).count(QStringLiteral("\r\n")));
    };
    QTextCursor cursor = body_->textCursor();
    cursor.setPosition(place(p.highlight->start));
    cursor.setPosition(place(p.highlight->start + p.highlight->length), QTextCursor::KeepAnchor);
    body_->setTextCursor(cursor);
}

} // namespace plv::gui
