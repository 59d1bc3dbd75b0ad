// What a screen reader and a keyboard user find in every window: a name on each control, and
// no Alt key that two controls of one window answer.
#include "browser/help.h"
#include "gui/convert_help_dialog.h"
#include "gui/entry_list_dialog.h"
#include "gui/help_browser.h"
#include "gui/roaming_note_dialog.h"
#include "gui_fixture.h"
#include "platform/files.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabBar>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>
#include <gtest/gtest.h>
#include <map>

using namespace plv;
using test::GuiRun;

namespace {

bool interactive(QAccessible::Role role) {
    switch (role) {
    case QAccessible::PushButton:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ComboBox:
    case QAccessible::EditableText:
    case QAccessible::List:
    case QAccessible::Table:
    case QAccessible::Tree:
    case QAccessible::Slider:
    case QAccessible::SpinBox:
    case QAccessible::PageTab:
    case QAccessible::MenuItem:
        return true;
    default:
        return false;
    }
}

// The interactive elements under `node` that have no name, by object name.
void collectUnnamed(QAccessibleInterface* node, QStringList& unnamed) {
    if (!node) {
        return;
    }
    if (interactive(node->role()) && node->text(QAccessible::Name).trimmed().isEmpty()) {
        QObject* object = node->object();
        unnamed << QString("%1 (role %2)")
                       .arg(object ? object->objectName() : QString("?"))
                       .arg(static_cast<int>(node->role()));
    }
    // The entries of a list are its text; a combo box's list is its own.
    if (node->role() == QAccessible::List || node->role() == QAccessible::ComboBox) {
        return;
    }
    for (int i = 0; i < node->childCount(); ++i) {
        collectUnnamed(node->child(i), unnamed);
    }
}

QStringList unnamedIn(QWidget& window) {
    QStringList unnamed;
    collectUnnamed(QAccessible::queryAccessibleInterface(&window), unnamed);
    return unnamed;
}

// The Alt keys that more than one control of the window answers, with the captions.
QStringList sharedAccelerators(QWidget& window) {
    std::map<QString, QStringList> owners;
    auto add = [&](const QWidget* w, const QString& caption) {
        QKeySequence key = QKeySequence::mnemonic(caption);
        if (w->window() == &window && !key.isEmpty()) {
            owners[key.toString()] << caption;
        }
    };
    for (auto* b : window.findChildren<QAbstractButton*>()) {
        add(b, b->text());
    }
    for (auto* l : window.findChildren<QLabel*>()) {
        if (l->buddy()) {
            add(l, l->text());
        }
    }
    for (auto* g : window.findChildren<QGroupBox*>()) {
        add(g, g->title());
    }
    for (auto* tabs : window.findChildren<QTabBar*>()) {
        for (int i = 0; i < tabs->count(); ++i) {
            add(tabs, tabs->tabText(i));
        }
    }
    for (auto* bar : window.findChildren<QMenuBar*>()) {
        for (QAction* a : bar->actions()) {
            add(bar, a->text());
        }
    }
    QStringList shared;
    for (const auto& [key, captions] : owners) {
        if (captions.size() > 1) {
            shared << key + ": " + captions.join(", ");
        }
    }
    return shared;
}

// Within one menu, each accelerator opens one entry.
QStringList sharedInMenus(QWidget& window) {
    QStringList shared;
    for (auto* menu : window.findChildren<QMenu*>()) {
        std::map<QString, int> seen;
        for (QAction* a : menu->actions()) {
            QKeySequence key = QKeySequence::mnemonic(a->text());
            if (!key.isEmpty() && ++seen[key.toString()] == 2) {
                shared << menu->title() + " " + key.toString();
            }
        }
    }
    return shared;
}

// The largest font size a formatted text names.
double largestSize(const QTextDocument& doc) {
    double largest = 0;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            largest = std::max(largest, it.fragment().charFormat().fontPointSize());
        }
    }
    return largest;
}

// Rejects the modal dialog that opens within the next `tries` turns of the event loop.
void rejectNextDialog(int tries = 50) {
    QTimer::singleShot(10, [tries] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog && dialog->isVisible()) {
            dialog->reject();
        } else if (tries > 1) {
            rejectNextDialog(tries - 1);
        }
    });
}

void expectAccessible(QWidget& window, const QString& what) {
    EXPECT_EQ(unnamedIn(window), QStringList{}) << what.toStdString();
    EXPECT_EQ(sharedAccelerators(window), QStringList{}) << what.toStdString();
}

} // namespace

TEST(Accessibility, TheMainWindowNamesEveryControlAndEachAltKeyOnce) {
    GuiRun run;
    ASSERT_TRUE(run.start());
    gui::MainWindow& w = run.window();
    for (auto kind :
         {browser::MenuKind::Program, browser::MenuKind::Scope, browser::MenuKind::Group}) {
        GuiRun::openMenu(w.selectionMenu(kind));
    }
    expectAccessible(w, "main window");
    EXPECT_EQ(sharedInMenus(w), QStringList{});
}

TEST(Accessibility, EveryDialogNamesEveryControlAndEachAltKeyOnce) {
    GuiRun run;
    ASSERT_TRUE(run.start());
    gui::MainWindow& w = run.window();
    // The KEYS conversion help comes before its dialog until it is told not to.
    GuiRun::withDialog(w.action("ToolsConvertDVC2Plain"), [](QDialog& help) {
        qobject_cast<gui::ConvertHelpDialog*>(&help)->dontShowBox()->setChecked(true);
        rejectNextDialog();
    });
    // Each entry opens its dialog from the window, as the user does.
    for (const char* entry :
         {"editfind", "editoptions", "Filereport", "FileExcel", "toolsexport", "toolsrenamegroup",
          "toolsrenameprogram", "toolsDelete", "toolsreplace", "ToolsConvertDVC2Plain",
          "ToolsConvertDVC2vba", "ToolsConvertDVC2vbasdk"}) {
        bool opened = false;
        GuiRun::withDialog(w.action(entry), [&](QDialog& d) {
            opened = true;
            expectAccessible(d, entry);
        });
        EXPECT_TRUE(opened) << entry;
    }
    // The lists beside the window: Problems, Compare with... and the Restore preview.
    w.action("viewproblems")->trigger();
    w.chooseFile = [&](const dat::OpenDialogStart&) { return run.dragon.commandFile(); };
    w.action("filecompare")->trigger();
    for (const char* list : {"problems", "compare"}) {
        auto* dialog = w.findChild<gui::EntryListDialog*>(list);
        ASSERT_NE(dialog, nullptr) << list;
        expectAccessible(*dialog, list);
        dialog->close();
    }
    gui::EntryListDialog preview("restorePreview", "Restore from archived file?", "Restore?", {},
                                 gui::EntryListDialog::Buttons::RestoreCancel, &w);
    expectAccessible(preview, "restore preview");
    // The language conversion is for a file other than the user's own.
    std::string copy =
        run.dragon.dir.write("export.dat", files::readAll(run.dragon.commandFile()).value_or(""));
    w.chooseFile = [&](const dat::OpenDialogStart&) { return copy; };
    w.action("fileopen")->trigger();
    run.ui.answerYes(true);
    bool opened = false;
    GuiRun::withDialog(w.action("toolsconvertlanguage"), [&](QDialog& d) {
        opened = true;
        expectAccessible(d, "language");
    });
    EXPECT_TRUE(opened);
    gui::RoamingNoteDialog roaming([] {}, &w);
    expectAccessible(roaming, "roaming note");
    gui::ConvertHelpDialog convertHelp([] {}, &w);
    expectAccessible(convertHelp, "conversion help");
    w.showHelp(browser::kHelpContents);
    ASSERT_NE(w.helpBrowser(), nullptr);
    expectAccessible(*w.helpBrowser(), "help");
}

TEST(Keyboard, MenusByTypingFocusAndTabOrderDeleteContextMenuAndFontSize) {
    GuiRun run;
    ASSERT_TRUE(run.start());
    gui::MainWindow& w = run.window();
    QListWidget* commands = w.list(browser::Tab::Commands);

    // Typing a name's first letters in the Program menu selects it; Enter chooses it. The
    // digit of a numbered entry chooses at once.
    QMenu* programs = w.selectionMenu(browser::MenuKind::Program);
    programs->popup(QPoint(0, 0));
    QTest::keyClicks(programs, "wi");
    ASSERT_NE(programs->activeAction(), nullptr);
    EXPECT_TRUE(programs->activeAction()->text().endsWith("WINWORD"));
    QTest::keyClick(programs, Qt::Key_Return);
    EXPECT_EQ(run.field("program"), "WINWORD");
    EXPECT_EQ(w.focusWidget(), commands);
    programs->popup(QPoint(0, 0));
    QTest::keyClick(programs, Qt::Key_1);
    EXPECT_EQ(run.field("program"), "Global Commands");

    // A click on a tab leaves the focus on its list, wherever it was.
    QTabBar* tabs = w.tabs()->tabBar();
    w.bodyEditor()->setFocus();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
    EXPECT_EQ(w.focusWidget(), w.list(browser::Tab::Lists));
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(0).center());
    EXPECT_EQ(w.focusWidget(), commands);
    // Tab runs from the tabs through the list, the description, the Group and the body to
    // the buttons, past the slider.
    tabs->setFocus();
    QStringList order;
    for (int i = 0; i < 5; ++i) {
        QTest::keyClick(w.focusWidget(), Qt::Key_Tab);
        order << w.focusWidget()->objectName();
    }
    EXPECT_EQ(order, (QStringList{"commandList", "description", "group", "body", "modify"}));
    commands->setFocus();

    // Delete asks its question; No keeps the command.
    QString name = commands->currentItem()->text();
    run.ui.answerYes(false);
    QTest::keyClick(commands, Qt::Key_Delete);
    EXPECT_TRUE(run.ui.sawMessage("Delete this command?", name.toStdString()));
    EXPECT_TRUE(run.entries(browser::Tab::Commands).contains(name));

    // Shift+F10 opens the list's context menu.
    QString popup;
    QTimer::singleShot(0, [&popup] {
        if (QWidget* menu = QApplication::activePopupWidget()) {
            popup = menu->objectName();
            menu->close();
        }
    });
    QTest::keyClick(commands, Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_EQ(popup, "context");

    // The font size from Options reaches the lists, the window and the formatted view, and
    // is kept.
    ASSERT_TRUE(run.click(browser::Tab::Commands, "insert letterhead"));
    w.findChild<QPushButton*>("showGraphic")->click();
    double written = largestSize(*w.graphicView()->document());
    ASSERT_GT(written, 0);
    GuiRun::withDialog(w.action("editoptions"),
                       [](QDialog& d) { d.findChild<QSpinBox*>("fontSize")->setValue(20); });
    EXPECT_EQ(commands->font().pointSize(), 20);
    EXPECT_EQ(w.font().pointSize(), 20);
    EXPECT_EQ(w.menuBar()->findChild<QMenu*>("filemenu")->font().pointSize(), 20);
    EXPECT_DOUBLE_EQ(largestSize(*w.graphicView()->document()), 2 * written);
    EXPECT_EQ(run.app->startup().settings().read("fontsize", ""), "20");
    GuiRun::withDialog(w.action("editoptions"), [](QDialog& d) {
        EXPECT_EQ(d.font().pointSize(), 20) << "dialogs follow the size too";
    });
}
