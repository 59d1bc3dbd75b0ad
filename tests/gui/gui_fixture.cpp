#include "gui_fixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFont>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

namespace plv::test {

namespace {

// The window sets the application's font size; each test starts from the standard one.
const QFont& standardFont() {
    static const QFont standard = QApplication::font();
    return standard;
}

} // namespace

bool GuiRun::start(const std::string& argument) {
    standardFont();
    gui::CommandLine line;
    line.startup.home = dragon.home;
    line.startup.dragonRoot = dragon.root;
    line.startup.argument = argument;
    app = std::make_unique<gui::Application>(line, &ui);
    bool started = app->start() == browser::StartupStatus::Started;
    QApplication::processEvents();
    return started;
}

void GuiRun::stop() {
    app.reset();
    QApplication::setFont(standardFont());
    QApplication::processEvents();
}

QStringList GuiRun::entries(browser::Tab tab) const {
    QStringList out;
    QListWidget* list = window().list(tab);
    for (int i = 0; i < list->count(); ++i) {
        out << list->item(i)->text();
    }
    return out;
}

bool GuiRun::click(browser::Tab tab, const QString& text) const {
    QListWidget* list = window().list(tab);
    auto found = list->findItems(text, Qt::MatchExactly);
    if (found.isEmpty()) {
        return false;
    }
    list->setCurrentItem(found.front());
    return true;
}

QStringList GuiRun::captions(const QMenu* menu) {
    QStringList out;
    for (const QAction* a : menu->actions()) {
        if (!a->isSeparator()) {
            out << a->text();
        }
    }
    return out;
}

void GuiRun::openMenu(QMenu* menu) {
    menu->popup(QPoint(0, 0));
    QApplication::processEvents();
    menu->hide();
    QApplication::processEvents();
}

bool GuiRun::choose(QMenu* menu, const QString& value) {
    static const QRegularExpression number("^&?[0-9]+ - ");
    for (QAction* a : menu->actions()) {
        QString text = a->text();
        text.remove(number).replace("&&", "&");
        if (!a->isSeparator() && text == value) {
            a->trigger();
            QApplication::processEvents();
            return true;
        }
    }
    return false;
}

void GuiRun::withDialog(QAction* entry, const std::function<void(QDialog&)>& work) {
    QTimer::singleShot(0, [&] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            work(*dialog);
            if (dialog->isVisible()) {
                dialog->reject();
            }
        }
    });
    entry->trigger();
    QApplication::processEvents();
}

void GuiRun::activate(QWidget& window) {
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    QApplication::setActiveWindow(&window);
    QT_WARNING_POP
}

void GuiRun::press(QWidget& parent, const char* name) {
    QTest::mouseClick(parent.findChild<QAbstractButton*>(name), Qt::LeftButton, {}, QPoint(6, 6));
}

QString GuiRun::field(const char* name) const {
    return window().field(name)->text();
}

} // namespace plv::test
