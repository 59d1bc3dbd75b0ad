// The window's views of what differs and what is wrong: the Restore preview, File > Compare
// with... and View > Problems. Each is a list whose lines open their command.
#include "browser/differences.h"
#include "editing/commands.h"
#include "editing/restore.h"
#include "editing/restore_preview.h"
#include "gui/entry_list_dialog.h"
#include "gui/main_window_editing.h"

#include <QDir>
#include <QFileDialog>
#include <QListWidget>
#include <functional>

namespace plv::gui {
namespace {

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

// A list that stays open beside the window; its lines open their commands there, and
// `opened` follows each.
void showEntryList(QWidget* window, browser::Browser& browser, const QString& name,
                   const QString& title, const QString& text, std::vector<browser::EntryLine> lines,
                   std::function<void()> opened) {
    if (auto* old = window->findChild<EntryListDialog*>(name)) {
        old->close();
        old->deleteLater();
    }
    auto* dialog = new EntryListDialog(name, title, text, std::move(lines),
                                       EntryListDialog::Buttons::Close, window);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->onOpen = [&browser, opened](const browser::EntryLine& line) {
        browser::showLine(browser, line);
        opened();
    };
    dialog->show();
}

} // namespace

void MainWindow::restoreWithPreview(const std::string& entry) {
    auto preview = editing::previewRestore(editing_->road, entry);
    if (!preview) {
        // Restore itself says why the backup or the file cannot be read.
        runEditing([this, &entry] { return editing::Restore(editing_->editor, entry); });
        return;
    }
    EntryListDialog dialog("restorePreview", editing::kRestoreTitle, qs(preview->question),
                           browser::differenceLines(preview->changes, {"brought back", "removed"}),
                           EntryListDialog::Buttons::RestoreCancel, this);
    if (dialog.exec() == QDialog::Accepted) {
        runEditing([this, &entry] { return editing::RestoreSeen(editing_->editor, entry); });
    }
    focusList();
}

void MainWindow::showOpenedCommand() {
    // The command a line opened is worked on in the window: the keys go to its list.
    activateWindow();
    focusList();
}

void MainWindow::compareWith() {
    dat::OpenDialogStart start = dat::openDialogStart(startup_.session());
    start.title = "Compare with";
    std::optional<std::string> other;
    if (chooseFile) {
        other = chooseFile(start);
    } else {
        QString folder = QDir(qs(start.folder)).exists() ? qs(start.folder) : QDir::homePath();
        QString path = QFileDialog::getOpenFileName(this, qs(start.title), folder,
                                                    "MyCommands files (*.dat);;All files (*)");
        if (!path.isEmpty()) {
            other = path.toStdString();
        }
    }
    if (!other) {
        return;
    }
    auto changes = browser::compareOpenFileWith(startup_.session(), *other);
    if (!changes) {
        return;
    }
    std::string open = startup_.session().file.path;
    QString text = changes->same() ? qs(open + " and " + *other + " hold the same commands.")
                                   : qs("What differs in " + *other + " from " + open + ":");
    showEntryList(this, browser_, "compare", "Compare with", text,
                  browser::differenceLines(*changes), [this] { showOpenedCommand(); });
}

void MainWindow::showProblems() {
    auto lines = browser::openFileProblems(
        startup_.session(), editing_ ? editing_->road.dragon().controls.voice : nullptr);
    if (!lines) {
        return;
    }
    QString text = lines->empty() ? "No problems found." : "Problems of the open command file:";
    showEntryList(this, browser_, "problems", "Problems", text, std::move(*lines),
                  [this] { showOpenedCommand(); });
}

} // namespace plv::gui
