// The main window's menus: fixed entries, the View ticks, and the Program, Scope and Group
// menus built from the browser's values.
#include "browser/help.h"
#include "browser/slider.h"
#include "gui/main_window.h"
#include "gui/type_ahead_menu.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>

namespace plv::gui {
namespace {

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

// Menu captions give '&' a meaning; a Program or Group named "R&D" must show as it is.
QString literal(const std::string& text) {
    return qs(text).replace('&', "&&");
}

// A selection menu's caption: "&3 - WINWORD", the numbers 1 to 9 being accelerators.
QString selectionCaption(const std::string& text) {
    static const QRegularExpression singleDigit("^[1-9] - ");
    QString caption = literal(text);
    return singleDigit.match(caption).hasMatch() ? "&" + caption : caption;
}

// Entries added disabled: those the window does not offer stay so, never pretending to work;
// the Command menu's are enabled by the editing state.
void addDisabled(QMenu* menu, const std::vector<std::pair<const char*, const char*>>& entries) {
    for (const auto& [name, caption] : entries) {
        if (!*name) {
            menu->addSeparator();
            continue;
        }
        QAction* a = menu->addAction(caption);
        a->setObjectName(name);
        a->setEnabled(false);
    }
}

} // namespace

QAction* MainWindow::addAction(QMenu* menu, const QString& objectName, const QString& caption,
                               std::function<void()> run) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(objectName);
    if (run) {
        connect(a, &QAction::triggered, this, [run] { run(); });
    } else {
        a->setEnabled(false);
    }
    return a;
}

void MainWindow::buildMenus() {
    buildFileMenu();
    buildToolsMenu();
    buildEditMenu();
    buildViewMenu();
    programMenu_ = new TypeAheadMenu("P&rogram", menuBar());
    scopeMenu_ = new TypeAheadMenu("&Scope", menuBar());
    groupMenu_ = new TypeAheadMenu("&Group", menuBar());
    for (QMenu* menu : {programMenu_, scopeMenu_, groupMenu_}) {
        menuBar()->addMenu(menu);
    }
    programMenu_->setObjectName("appcommand");
    scopeMenu_->setObjectName("statecommand");
    groupMenu_->setObjectName("groupcommand");
    const std::pair<QMenu*, browser::MenuKind> selection[] = {
        {programMenu_, browser::MenuKind::Program},
        {scopeMenu_, browser::MenuKind::Scope},
        {groupMenu_, browser::MenuKind::Group}};
    for (const auto& [menu, kind] : selection) {
        connect(menu, &QMenu::aboutToShow, this,
                [this, kind = kind] { browser_.menuOpened(kind); });
    }
    buildCommandMenu();
    buildHelpMenu();
}

void MainWindow::buildFileMenu() {
    QMenu* m = menuBar()->addMenu("&File");
    m->setObjectName("filemenu");
    addAction(m, "fileopen", "&Open", [this] { fileOpen(); });
    addAction(m, "filecompare", "Compare &with...", [this] { compareWith(); });
    addAction(m, "popupprint", "Print Current Command", [this] { printCurrentCommand(); });
    using exports::Format;
    addAction(m, "Filereport", "&Print COMMAND list...", [this] { exportReport(Format::Report); });
    addAction(m, "filedvc", "&Export to dvc...", [this] { exportReport(Format::Dvc); });
    addAction(m, "filepseudo", "Export to pse&udo dvc...",
              [this] { exportReport(Format::Pseudo); });
    addAction(m, "FileExcel", "Export to &spreadsheet...", [this] { exportReport(Format::Csv); });
    addXmlActions(m);
    m->addSeparator();
    addAction(m, "filereload", "Re&load current user mycmds.dat", [this] { fileReload(); });
    addAction(m, "filereset", "&Re-specify DNS path", [this] { fileReset(); });
    m->addSeparator();
    restoreAction_ = addAction(m, "filerestore", "Restore &mycmds.dat");
    backupAction_ = addAction(m, "filebackup", "Bac&kup mycmds.dat");
    m->addSeparator();
    addAction(m, "fileproperties", "Proper&ties", [this] { fileProperties(); });
    addAction(m, "fileexit", "E&xit", [this] { close(); });
}

void MainWindow::buildEditMenu() {
    QMenu* m = menuBar()->addMenu("&Edit");
    m->setObjectName("editmenu");
    addAction(m, "editfind", "&Find", [this] { find(); });
    addAction(m, "editfindagain", "Find &Again", [this] { findStep(browser::FindStep::Again); });
    addAction(m, "editfindprevious", "Find &Previous",
              [this] { findStep(browser::FindStep::Previous); });
    addAction(m, "editoptions", "&Options", [this] { options(); });
}

void MainWindow::buildViewMenu() {
    QMenu* m = menuBar()->addMenu("&View");
    m->setObjectName("ViewMenu");
    for (const auto& entry : browser::kTypeEntries) {
        char code = entry.code;
        QAction* a = addAction(m, QString("view%1").arg(code), entry.caption,
                               [this, code] { browser_.clickViewType(code); });
        a->setCheckable(true);
        typeActions_[code] = a;
    }
    allAction_ = addAction(m, "viewall", "&All of the above", [this] { browser_.clickViewAll(); });
    allAction_->setCheckable(true);
    QMenu* only = m->addMenu("O&nly one of the above");
    only->setObjectName("viewonlyone");
    for (const auto& entry : browser::kTypeEntries) {
        char code = entry.code;
        addAction(only, QString("viewonly%1").arg(code), entry.onlyOneCaption,
                  [this, code] { browser_.clickViewOnlyOne(code); });
    }
    // These two only follow "All of the above"; they filter nothing.
    legacyAction_ = addAction(m, "viewlegacy", "L&egacy DVC file(s)");
    mycmdsAction_ = addAction(m, "viewmycmds", "&Mycmds.dat");
    legacyAction_->setCheckable(true);
    mycmdsAction_->setCheckable(true);
    m->addSeparator();
    followCommandAction_ = addAction(m, "viewfollowcommand", "&1 command with its LISTs", [this] {
        browser_.clickFollowCommand();
        focusList();
    });
    followListAction_ = addAction(m, "viewfollowlist", "1 LIST with &calling COMMANDS", [this] {
        browser_.clickFollowList();
        focusList();
    });
    followCommandAction_->setCheckable(true);
    followListAction_->setCheckable(true);
    addAction(m, "viewproblems", "Pr&oblems", [this] { showProblems(); });
    addDisabled(m, {{"", ""}, {"viewdescription", "View Description"}});
    buildSliderMenu(m);
}

// The slider is out of the Tab order; its values are here for the keyboard.
void MainWindow::buildSliderMenu(QMenu* view) {
    QMenu* m = view->addMenu("Sl&ider");
    m->setObjectName("viewslider");
    auto* values = new QActionGroup(m);
    for (int value = browser::kSliderMin; value <= browser::kSliderMax; ++value) {
        QString caption = value < 10 ? QString("&%1").arg(value) : QString("1&0");
        QAction* a = addAction(m, QString("viewslider%1").arg(value), caption, [this, value] {
            browser_.setSlider(value);
            focusList();
        });
        a->setCheckable(true);
        a->setActionGroup(values);
    }
    connect(m, &QMenu::aboutToShow, this,
            [this] { action(QString("viewslider%1").arg(browser_.slider()))->setChecked(true); });
}

void MainWindow::buildCommandMenu() {
    QMenu* m = menuBar()->addMenu("&Pro");
    m->setObjectName("commandmenu");
    addDisabled(m, {{"commandEdit", "&Edit"},
                    {"commandclone", "&Clone"},
                    {"", ""},
                    {"commandnewkeys", "&New legacy KEYS"},
                    {"commandnewscript", "New legacy &SCRIPT"},
                    {"commandnewadvanced", "New &Advanced Scripting"},
                    {"commandnewplaintext", "New &Plain Text"},
                    {"commandnewlist", "New &LIST"},
                    {"", ""},
                    {"commanddelete", "&Delete"},
                    {"commandrename", "&Rename"},
                    {"", ""},
                    {"commandconvert2Plain", "Convert to Plain &Text"},
                    {"commandconvert2Advanced", "Convert to Ad&vanced Scripting"},
                    {"CommandDebugBasic", "Debug with &Basic"}});
}

void MainWindow::buildHelpMenu() {
    QMenu* m = menuBar()->addMenu("&Help");
    m->setObjectName("helpmenu");
    addAction(m, "helpcommands", "Command &Help", [this] { showCommandHelp(); });
    addAction(m, "helpcontents", "&Contents", [this] { showHelp(browser::kHelpContents); });
    m->addSeparator();
    // The first start offers these once; a user who said No can still have them here.
    addAction(m, "helpimportstart", "Import the &start commands...",
              [this] { importOffered(browser::ImportOffer::StartCommands); });
    addAction(m, "helpimportmacros", "Import Parlavista's own &macros...",
              [this] { importOffered(browser::ImportOffer::MacroSet); });
    m->addSeparator();
    addAction(m, "helpabout", "&About", [this] { about(); });
}

// Redrawing the menus

void MainWindow::refreshSelectionMenus() {
    for (auto kind :
         {browser::MenuKind::Program, browser::MenuKind::Scope, browser::MenuKind::Group}) {
        fillSelectionMenu(kind);
    }
}

void MainWindow::fillSelectionMenu(browser::MenuKind kind) {
    QMenu* menu = selectionMenu(kind);
    // The action that was chosen may be the one running: drop the old entries later.
    for (QAction* old : menu->actions()) {
        menu->removeAction(old);
        old->deleteLater();
    }
    for (QActionGroup* old : menu->findChildren<QActionGroup*>(Qt::FindDirectChildrenOnly)) {
        old->deleteLater();
    }
    const browser::SelectionMenu& values = browser_.menu(kind);
    auto* group = new QActionGroup(menu);
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (values.isSeparator(i)) {
            menu->addSeparator();
            continue;
        }
        QAction* a = menu->addAction(selectionCaption(values.text(i)));
        a->setCheckable(true);
        a->setData(static_cast<int>(i));
        a->setActionGroup(group);
        connect(a, &QAction::triggered, this, [this, kind, i] {
            switch (kind) {
            case browser::MenuKind::Program:
                browser_.chooseProgram(i);
                break;
            case browser::MenuKind::Scope:
                browser_.chooseScope(i);
                break;
            case browser::MenuKind::Group:
                browser_.chooseGroup(i);
                break;
            }
            focusList();
        });
    }
}

void MainWindow::markCurrentEntries() {
    for (auto kind :
         {browser::MenuKind::Program, browser::MenuKind::Scope, browser::MenuKind::Group}) {
        const browser::SelectionMenu& values = browser_.menu(kind);
        const std::string& current = kind == browser::MenuKind::Program ? browser_.program()
                                     : kind == browser::MenuKind::Scope ? browser_.scope()
                                                                        : browser_.group();
        for (QAction* a : selectionMenu(kind)->actions()) {
            if (a->isCheckable()) {
                auto i = static_cast<std::size_t>(a->data().toInt());
                a->setChecked(i < values.size() && values.value(i) == current);
            }
        }
    }
}

void MainWindow::refreshView() {
    const browser::ViewMenu& view = browser_.view();
    for (auto& [code, a] : typeActions_) {
        a->setChecked(view.ticked(code));
    }
    allAction_->setChecked(view.allTicked());
    legacyAction_->setChecked(view.legacyTicked());
    mycmdsAction_->setChecked(view.mycmdsTicked());
    followCommandAction_->setChecked(browser_.follow().commandTicked());
    followListAction_->setChecked(browser_.follow().listTicked());
}

} // namespace plv::gui
