// The main window's exports and printing: the four File menu entries that open the
// Export/Report dialog, and "Print Current Command" with its "P&rint Macro" twin in the
// lists' and the body's context menus.
#include "export/writers.h"
#include "gui/main_window.h"
#include "gui/printing.h"

#include <QAction>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPrinterInfo>
#include <memory>
#include <sstream>

namespace plv::gui {

exports::ExportView MainWindow::exportView() const {
    exports::ExportView view;
    view.program = browser_.program();
    view.scope = browser_.scope();
    view.group = browser_.group();
    // A follow view chooses rows by name in place of the type ticks, which it clears.
    view.follow = browser_.follow().active();
    if (!view.follow) {
        view.types.clear();
        for (const auto& entry : browser::kTypeEntries) {
            if (browser_.view().ticked(entry.code)) {
                view.types += entry.code;
            }
        }
    }
    if (!browser_.placeholder()) {
        view.names = browser_.list(browser::Tab::Commands).entries;
    }
    return view;
}

void MainWindow::exportReport(exports::Format format) {
    {
        exports::ExportReport state(startup_.session(), format, exportView());
        ExportDialog dialog(state, chooseSaveFile, this);
        dialog.exec();
    }
    browser_.reset();
    focusList();
}

void MainWindow::printCurrentCommand() {
    Session& session = startup_.session();
    std::ostringstream text;
    exports::writeCurrentCommand(browser_.program(), browser_.scope(), browser_.commandName(),
                                 body_->toPlainText().toStdString(), text);
    QString printer = QPrinterInfo::defaultPrinterName();
    QString page = unicodeText(text.str());
    if (printer.isEmpty()) {
        // Without a printer the page goes into a PDF file.
        printToChosenPdf(
            this, chooseSaveFile, session.ui,
            {kPrintToPdf, exports::exportFolder(session), browser_.commandName() + ".pdf", "pdf"},
            page);
        return;
    }
    if (!printText(page, printer)) {
        session.ui.warning("The document could not be printed", printer.toStdString());
    }
}

void MainWindow::showPrintMenu(QWidget* widget, const QPoint& at) {
    // The body keeps its editing entries (copy, paste ...) above.
    std::unique_ptr<QMenu> popup(widget == body_ ? body_->createStandardContextMenu()
                                                 : new QMenu(this));
    if (widget == body_) {
        popup->addSeparator();
    }
    popup->setObjectName("context");
    QAction* print = popup->addAction("P&rint Macro");
    print->setObjectName("popupprint2");
    connect(print, &QAction::triggered, this, [this] { printCurrentCommand(); });
    popup->exec(widget->mapToGlobal(at));
}

} // namespace plv::gui
