// What keyboard and screen-reader users rely on: the standard keys beside our own, a focus
// that comes back to the list, a Tab order that follows the window, and a name for every
// control.
#include "editing/editor.h"
#include "gui/main_window.h"

#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>
#include <QTextBrowser>

namespace plv::gui {
namespace {

// A frame in the highlight colour shows which of the lists and the body has the focus.
constexpr const char* kFocusFrame = "QListWidget, QPlainTextEdit, QTextBrowser "
                                    "{ border: 2px solid palette(mid); }"
                                    "QListWidget:focus, QPlainTextEdit:focus, QTextBrowser:focus "
                                    "{ border: 2px solid palette(highlight); }";

constexpr std::array<const char*, 4> kListNames = {"Commands", "LISTs", "Recently created",
                                                   "Recently modified"};

// The system's standard keys for an action, and ours where the system has none (Windows
// names no key for Quit).
QList<QKeySequence> keys(QKeySequence::StandardKey standard, const char* ours) {
    QList<QKeySequence> all = QKeySequence::keyBindings(standard);
    if (!all.contains(QKeySequence(ours))) {
        all.append(QKeySequence(ours));
    }
    return all;
}

struct StandardKey {
    const char* action;
    QKeySequence::StandardKey standard;
    const char* ours;
};

// F11 and F12 stay beside Find Again and Find Previous, in the lists and the body.
constexpr StandardKey kStandardKeys[] = {
    {"fileopen", QKeySequence::Open, "Ctrl+O"},
    {"Filereport", QKeySequence::Print, "Ctrl+P"},
    {"fileexit", QKeySequence::Quit, "Ctrl+Q"},
    {"editfind", QKeySequence::Find, "Ctrl+F"},
    {"editfindagain", QKeySequence::FindNext, "F3"},
    {"editfindprevious", QKeySequence::FindPrevious, "Shift+F3"},
    {"helpcontents", QKeySequence::HelpContents, "F1"},
};

} // namespace

void MainWindow::buildKeys() {
    // A menu that is off (while a command is edited) takes its entries' keys with it.
    for (const StandardKey& k : kStandardKeys) {
        action(k.action)->setShortcuts(keys(k.standard, k.ours));
    }
    // Save Changes on the standard key, only while the button is there to be clicked.
    auto* save = new QAction(this);
    save->setObjectName("saveChangesKey");
    save->setShortcuts(keys(QKeySequence::Save, "Ctrl+S"));
    connect(save, &QAction::triggered, this, [this] {
        if (save_->isVisible() && save_->isEnabled()) {
            save_->click();
        }
    });
    QWidget::addAction(save);

    // Delete deletes the chosen command only from the lists, never a character of the body.
    QAction* remove = action("commanddelete");
    remove->setShortcut(QKeySequence::Delete);
    remove->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    tabs_->addAction(remove);

    connect(tabs_, &QTabWidget::currentChanged, this, [this] { focusList(); });
    // A text found in the body stays marked in full colour while the list has the focus.
    QPalette colours = body_->palette();
    for (auto role : {QPalette::Highlight, QPalette::HighlightedText}) {
        colours.setColor(QPalette::Inactive, role, colours.color(QPalette::Active, role));
    }
    body_->setPalette(colours);
    slider_->setFocusPolicy(Qt::NoFocus);
    centralWidget()->setStyleSheet(kFocusFrame);
    setTabOrder();
    nameForAccessibility();
}

void MainWindow::setTabOrder() {
    std::vector<QWidget*> order{tabs_->tabBar()};
    order.insert(order.end(), lists_.begin(), lists_.end());
    order.insert(order.end(),
                 {description_, group_, body_, graphic_, showGraphic_, modify_, abandon_, save_});
    for (std::size_t i = 1; i < order.size(); ++i) {
        QWidget::setTabOrder(order[i - 1], order[i]);
    }
}

void MainWindow::nameForAccessibility() {
    for (std::size_t i = 0; i < lists_.size(); ++i) {
        lists_[i]->setAccessibleName(kListNames[i]);
    }
    body_->setAccessibleName("Command body");
    body_->setAccessibleDescription("The text of the chosen command; Modify or Enter edits it");
    graphic_->setAccessibleName("Formatted command body");
    slider_->setAccessibleDescription("The share of the lists in the window's height, "
                                      "also in the View menu under Slider");
}

bool MainWindow::keyboardContextMenu(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) {
        return false;
    }
    auto* key = static_cast<QKeyEvent*>(event);
    bool menuKey = key->key() == Qt::Key_Menu ||
                   (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier);
    auto* names = qobject_cast<QListWidget*>(watched);
    if (!menuKey || !names) {
        return false;
    }
    QListWidgetItem* item = names->currentItem();
    QPoint at = item ? names->visualItemRect(item).center() : QPoint(0, 0);
    showPrintMenu(names, names->viewport()->mapTo(names, at));
    return true;
}

bool MainWindow::browsing() const {
    return !editor().state().editing && !editingBusy();
}

void MainWindow::focusList() {
    if (browsing()) {
        list(browser_.tab())->setFocus();
    }
}

void MainWindow::setFontSize(int size) {
    fonts_.size = size;
    applyFonts(fonts_);
    startup_.settings().write("fontsize", std::to_string(size));
    if (graphic_->isVisible()) {
        refreshPreview(); // the formatted text is laid out again at its new size
    }
}

} // namespace plv::gui
