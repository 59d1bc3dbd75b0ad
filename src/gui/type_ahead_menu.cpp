#include "gui/type_ahead_menu.h"

#include <QKeyEvent>
#include <QRegularExpression>

namespace plv::gui {
namespace {

constexpr qint64 kTypingPause = 1000; // milliseconds before typing starts a new name

// The name an entry shows, without its number and accelerator.
QString entryName(const QAction* a) {
    static const QRegularExpression number("^&?[0-9]+ - ");
    QString text = a->text();
    return text.remove(number).replace("&&", "&");
}

} // namespace

QAction* TypeAheadMenu::match(const QString& typed) const {
    for (QAction* a : actions()) {
        if (!a->isSeparator() && a->isEnabled() &&
            entryName(a).startsWith(typed, Qt::CaseInsensitive)) {
            return a;
        }
    }
    return nullptr;
}

void TypeAheadMenu::keyPressEvent(QKeyEvent* event) {
    const QString text = event->text();
    bool plain = (event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier)) == 0;
    if (!sinceLastKey_.isValid() || sinceLastKey_.elapsed() > kTypingPause) {
        typed_.clear();
    }
    bool starts = typed_.isEmpty() && (text == " " || (!text.isEmpty() && text[0].isDigit()));
    if (!plain || text.isEmpty() || !text[0].isPrint() || starts) {
        // Arrows, Enter, Escape, and the numbers' accelerators work as in any menu.
        QMenu::keyPressEvent(event);
        return;
    }
    typed_ += text;
    sinceLastKey_.start();
    if (QAction* found = match(typed_)) {
        setActiveAction(found);
    }
    event->accept();
}

void TypeAheadMenu::hideEvent(QHideEvent* event) {
    typed_.clear();
    QMenu::hideEvent(event);
}

} // namespace plv::gui
