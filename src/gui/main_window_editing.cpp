// The main window's editing: Modify, Abandon and Save Changes, the Command menu ("&Pro"),
// Backup and the Restore menu, the description and Group boxes, and Dragon's speaker
// changes. The edit state lives in the editor; the window shows it and passes on clicks.
#include "gui/main_window_editing.h"

#include "browser/help.h"
#include "browser/view_filter.h"
#include "editing/backup.h"
#include "editing/commands.h"
#include "editing/restore.h"
#include "gui/roaming_note_dialog.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTextDocument>
#include <algorithm>
#include <vector>

namespace plv::gui {
namespace {

constexpr int kSpeakerPollMs = 500;

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

// Bodies are kept with CR LF line breaks; the clipboard takes LF.
QString editorText(const std::string& body) {
    return qs(body).replace("\r\n", "\n");
}

// The editor's document holds each line break of the body (CR LF, or a lone CR or LF) as
// one paragraph separator and every other character as it is (a no-break space stays one).
// `starts[i]` is where the body's piece for character i of the document text begins.
QString documentText(const QString& body, std::vector<qsizetype>* starts = nullptr) {
    QString text;
    text.reserve(body.size());
    for (qsizetype i = 0; i < body.size(); ++i) {
        if (starts) {
            starts->push_back(i);
        }
        QChar c = body[i];
        bool lineBreak = c == '\r' || c == '\n' || c == QChar::ParagraphSeparator;
        if (c == '\r' && i + 1 < body.size() && body[i + 1] == '\n') {
            ++i;
        }
        text += lineBreak ? QChar(QChar::ParagraphSeparator) : c;
    }
    if (starts) {
        starts->push_back(body.size());
    }
    return text;
}

// The body after the user changed the document: what the change left alone keeps the
// body's own characters and line breaks; what was typed gets CR LF line breaks.
std::string editedBody(const std::string& body, const QString& edited) {
    QString before = qs(body);
    std::vector<qsizetype> starts;
    QString shown = documentText(before, &starts);
    qsizetype same = 0;
    qsizetype limit = std::min(shown.size(), edited.size());
    while (same < limit && shown[same] == edited[same]) {
        ++same;
    }
    qsizetype sameEnd = 0;
    while (sameEnd < limit - same &&
           shown[shown.size() - 1 - sameEnd] == edited[edited.size() - 1 - sameEnd]) {
        ++sameEnd;
    }
    QString typed = edited.mid(same, edited.size() - same - sameEnd);
    typed.replace(QChar(QChar::ParagraphSeparator), "\r\n");
    qsizetype tail = starts[static_cast<std::size_t>(shown.size() - sameEnd)];
    return (before.left(starts[static_cast<std::size_t>(same)]) + typed + before.mid(tail))
        .toStdString();
}

// A position in the body as a position in the editor's document.
int editorPosition(const std::string& body, std::size_t position) {
    return static_cast<int>(
        documentText(qs(body.substr(0, std::min(position, body.size())))).size());
}

// Hands the body editor's key presses to the window before the editor sees them.
class KeyFilter : public QObject {
  public:
    KeyFilter(QObject* parent, std::function<bool(QEvent*)> pressed)
        : QObject(parent), pressed_(std::move(pressed)) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        return (event->type() == QEvent::KeyPress && pressed_(event)) ||
               QObject::eventFilter(watched, event);
    }

  private:
    std::function<bool(QEvent*)> pressed_;
};

// A key that writes a character, not one that moves, selects or copies.
bool typesText(const QKeyEvent& key) {
    Qt::KeyboardModifiers held = key.modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    return held == Qt::NoModifier && !key.text().isEmpty() && key.text().at(0).isPrint();
}

} // namespace

MainWindow::Editing::Editing(browser::Startup& startup, browser::Browser& browser,
                             const browser::StartupResult& started)
    : view(browser),
      road(startup.session(), waits,
           {startup.controls(), &startup.environment(), started.mergeProgram}, &startup.settings()),
      editor(road, view) {}

editing::Editor& MainWindow::editor() const {
    return editing_->editor;
}

void MainWindow::setUpEditing(const browser::StartupResult& started) {
    editing_ = std::make_unique<Editing>(startup_, browser_, started);
    editing::Road& road = editing_->road;
    road.toClipboard = [](const std::string& text) {
        QGuiApplication::clipboard()->setText(editorText(text));
    };
    road.onBackupTaken = [this] { rebuildRestoreMenu(); };
    road.showRoamingNote = [this] {
        RoamingNoteDialog note([this] { showHelp(browser::kHelpRoaming); }, this);
        note.exec();
        return note.dontShowAgain();
    };
    auto dragonKnows = road.windowExists;
    dragon::CommandEditor* commandEditor = startup_.controls().editor;
    road.windowExists = [dragonKnows, commandEditor](const std::string& title) {
        return dragonKnows(title) ||
               gui::windowExists(title, commandEditor && commandEditor->isOpen());
    };
    editing_->editor.setObserver([this] { renderEditing(true); });
    connectEditing();
    listenForSpeakerChanges();
    restoreAction_->setMenu(new QMenu(this));
    restoreAction_->menu()->setObjectName("rollback");
    restoreAction_->setEnabled(true);
    rebuildRestoreMenu();
    renderEditing(true);
}

void MainWindow::connectEditing() {
    editing::Editor& e = editing_->editor;
    connect(modify_, &QPushButton::clicked, this, [&e] { editing::Modify(e); });
    connect(abandon_, &QPushButton::clicked, this, [&e] { editing::Abandon(e); });
    connect(save_, &QPushButton::clicked, this,
            [this, &e] { runEditing([&e] { return editing::SaveChanges(e); }); });
    connect(body_, &QPlainTextEdit::textChanged, this, [this, &e] {
        if (!updating_) {
            e.bodyEdited(editedBody(e.state().body, body_->document()->toRawText()));
        }
    });
    for (QLineEdit* box : {description_, group_}) {
        box->setFocusPolicy(Qt::StrongFocus);
        connect(box, &QLineEdit::textEdited, this, [this, box, &e](const QString& text) {
            if (box == description_) {
                e.descriptionEdited(text.toStdString());
            } else {
                e.groupEdited(text.toStdString());
            }
        });
    }
    // A click selects text to copy; Enter or typing on the body starts the edit.
    body_->installEventFilter(
        new KeyFilter(this, [this](QEvent* event) { return startsEditing(event); }));
    auto* escape = new QAction(this);
    escape->setObjectName("editEscape");
    escape->setShortcut(Qt::Key_Escape);
    escape->setShortcutContext(Qt::WindowShortcut);
    connect(escape, &QAction::triggered, this, [this] { leaveEdit(); });
    QWidget::addAction(escape);
    const std::pair<const char*, std::function<dat::Outcome()>> commands[] = {
        {"commandEdit",
         [&e] {
             editing::Modify(e);
             return dat::Outcome::Done;
         }},
        {"commandclone", [&e] { return editing::Clone(e); }},
        {"commandnewkeys", [&e] { return editing::NewCommand(e, "K"); }},
        {"commandnewscript", [&e] { return editing::NewCommand(e, "S"); }},
        {"commandnewadvanced", [&e] { return editing::NewCommand(e, "A"); }},
        {"commandnewplaintext", [&e] { return editing::NewCommand(e, "P"); }},
        {"commandnewlist", [&e] { return editing::NewList(e); }},
        {"commanddelete", [&e] { return editing::Delete(e); }},
        {"commandrename", [&e] { return editing::Rename(e); }},
        {"commandconvert2Plain",
         [&e] {
             editing::ConvertToPlainText(e);
             return dat::Outcome::Done;
         }},
        {"commandconvert2Advanced", [&e] { return editing::ConvertToAdvancedScripting(e); }},
        {"CommandDebugBasic", [&e] { return editing::DebugWithBasic(e); }}};
    for (const auto& [name, run] : commands) {
        connect(action(name), &QAction::triggered, this, [this, run = run] { runEditing(run); });
    }
    backupAction_->setEnabled(true);
    connect(backupAction_, &QAction::triggered, this,
            [this] { editing::explicitBackup(editing_->road); });
}

void MainWindow::listenForSpeakerChanges() {
    dragon::EngineControl* engine = startup_.controls().engine;
    if (!engine) {
        return;
    }
    engine->onSpeakerChanged([this](const std::string& speaker) {
        if (editing_->road.speakerChanged(speaker)) {
            close();
        }
    });
    editing_->speakerTimer.setInterval(kSpeakerPollMs);
    connect(&editing_->speakerTimer, &QTimer::timeout, this, [this, engine] {
        // Not in the middle of a write: the program ends between operations.
        if (!editing_->editor.state().busy) {
            engine->poll();
        }
    });
    editing_->speakerTimer.start();
}

void MainWindow::runEditing(const std::function<dat::Outcome()>& operation) {
    if (operation() == dat::Outcome::ProgramEnds) {
        close();
    }
}

bool MainWindow::editingBusy() const {
    return editing_ && editing_->editor.state().busy;
}

bool MainWindow::leaveEdit() {
    if (!editing_) {
        return true;
    }
    dat::Outcome left = editing::LeaveEdit(editing_->editor);
    if (left == dat::Outcome::ProgramEnds) {
        QTimer::singleShot(0, this, [this] { close(); });
    }
    return left == dat::Outcome::Done;
}

bool MainWindow::startsEditing(QEvent* event) {
    editing::Editor& e = editing_->editor;
    const browser::Preview& p = browser_.preview();
    if (e.state().editing || e.state().busy || !p.rowId || !p.enabled.modify) {
        return false;
    }
    const auto& key = static_cast<const QKeyEvent&>(*event);
    bool enter = key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
    if (!enter && !typesText(key)) {
        return false;
    }
    editing::Modify(e);
    // Enter only starts the edit; a typed character goes on into the body now editable.
    return enter;
}

void MainWindow::rebuildRestoreMenu() {
    QMenu* menu = restoreAction_->menu();
    for (QAction* old : menu->actions()) {
        menu->removeAction(old);
        old->deleteLater();
    }
    editing::Road& road = editing_->road;
    std::string folder =
        editing::backupFolder(startup_.programFolder(), editing::restoreUser(road));
    auto entries = editing::restoreEntries(folder);
    if (entries.empty()) {
        entries.push_back(editing::kNoneToRollBack);
    }
    for (std::size_t i = 0; i < entries.size(); ++i) {
        QAction* a = menu->addAction(qs(entries[i]));
        a->setObjectName(QString("rollbackdynamic%1").arg(i));
        connect(a, &QAction::triggered, this,
                [this, entry = entries[i]] { restoreWithPreview(entry); });
    }
}

// Redrawing

void MainWindow::renderEditing(bool fromEditor) {
    if (!editing_) {
        return;
    }
    const editing::EditState& st = editing_->editor.state();
    bool wasUpdating = updating_;
    updating_ = true;
    if (st.editing) {
        showEditedTexts();
    } else if (fromEditor) {
        refreshPreview(); // back to what the entry holds
    }
    editing_->wasEditing = st.editing;
    applyEditEnabling();
    showEditStrip();
    if (fromEditor && !st.busy) {
        setWindowTitle(qs(dat::windowCaption(startup_.session(), startup_.session().file.path)));
        if (closeAfterOperation_) {
            QTimer::singleShot(0, this, [this] { close(); });
        }
    }
    updating_ = wasUpdating;
}

void MainWindow::showEditedTexts() {
    const editing::EditState& st = editing_->editor.state();
    // Set only when the body is not the one the user is typing: a reset would move the caret.
    if (body_->document()->toRawText() != documentText(qs(st.body))) {
        body_->setPlainText(qs(st.body));
    }
    for (auto [box, text] : {std::pair{description_, &st.description}, {group_, &st.group}}) {
        if (box->text() != qs(*text)) {
            box->setText(qs(*text));
        }
    }
    type_->setText(qs(browser::typeDisplayName(st.typeCode)));
    graphic_->setVisible(false);
    body_->setVisible(true);
    if (st.pendingEntry) {
        showPendingEntry(st.pendingEntry->tab, st.pendingEntry->name, st.pendingEntry->atTop);
    }
    if (st.focusRequests != editing_->focusSeen) {
        editing_->focusSeen = st.focusRequests;
        body_->setFocus();
        if (st.caret) {
            QTextCursor cursor = body_->textCursor();
            cursor.setPosition(editorPosition(st.body, *st.caret));
            body_->setTextCursor(cursor);
        }
    }
}

// While editing, a line above the body names the command and the keys that end the edit.
void MainWindow::showEditStrip() {
    editing::Editor& e = editing_->editor;
    const editing::EditState& st = e.state();
    editStrip_->setVisible(st.editing);
    if (!st.editing) {
        return;
    }
    std::string name = st.newPending ? st.pendingName : e.view().shown().name;
    editStrip_->setText(
        QString("Editing \u201c%1\u201d: Save Changes (Alt+A) writes it, Abandon (Alt+B or Esc) "
                "leaves it as it was")
            .arg(qs(name)));
}

void MainWindow::showPendingEntry(int tab, const std::string& name, bool atTop) {
    QListWidget* names = list(static_cast<browser::Tab>(tab));
    int row = atTop ? 0 : names->count() - 1;
    if (row < 0 || names->item(row)->text() != qs(name)) {
        row = atTop ? 0 : names->count();
        names->insertItem(row, qs(name));
    }
    names->setCurrentRow(row);
    tabs_->setCurrentIndex(tab);
}

void MainWindow::applyEditEnabling() {
    const editing::EditState& st = editing_->editor.state();
    const browser::EditCommands& allowed = browser_.preview().enabled;
    bool browsing = !st.editing && !st.busy;
    modify_->setVisible(!st.editing);
    abandon_->setVisible(st.editing);
    save_->setVisible(st.editing);
    modify_->setEnabled(browsing && allowed.modify);
    abandon_->setEnabled(!st.busy);
    save_->setEnabled(!st.busy);
    // An encrypted body is not text: only its description and Group can change.
    body_->setReadOnly(!st.editing || st.bodyLocked);
    bool boxes = !st.busy && (st.editing || browser_.preview().rowId.has_value());
    description_->setReadOnly(!boxes);
    group_->setReadOnly(!boxes);
    for (const char* name : {"filemenu", "editmenu", "ViewMenu", "appcommand", "statecommand",
                             "groupcommand", "toolsmenu"}) {
        if (auto* menu = menuBar()->findChild<QMenu*>(name)) {
            menu->menuAction()->setEnabled(browsing);
        }
    }
    menuBar()
        ->findChild<QMenu*>("commandmenu")
        ->menuAction()
        ->setEnabled(browsing && allowed.commandMenu);
    action("commandEdit")->setEnabled(allowed.modify);
    action("editEscape")->setEnabled(st.editing && !st.busy);
    action("commandclone")->setEnabled(allowed.clone);
    action("commandconvert2Plain")->setEnabled(allowed.convertPlain);
    action("commandconvert2Advanced")->setEnabled(allowed.convertAdvanced);
    for (const char* name :
         {"commandnewkeys", "commandnewscript", "commandnewadvanced", "commandnewplaintext",
          "commandnewlist", "commanddelete", "commandrename", "CommandDebugBasic"}) {
        action(name)->setEnabled(true);
    }
    for (QListWidget* names : lists_) {
        names->setEnabled(browsing);
    }
    tabs_->tabBar()->setEnabled(browsing);
}

} // namespace plv::gui
