#include "gui/printing.h"

#include <QFileInfo>
#include <QFontDatabase>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextDocument>

namespace plv::gui {

PrinterChoices printerChoices() {
    PrinterChoices choices;
    choices.names = QPrinterInfo::availablePrinterNames();
    choices.current = static_cast<int>(choices.names.indexOf(QPrinterInfo::defaultPrinterName()));
    choices.names << kPrintToPdf;
    if (choices.current < 0) {
        choices.current = static_cast<int>(choices.names.size()) - 1;
    }
    return choices;
}

bool printText(const QString& text, const QString& printer, const QString& pdfPath) {
    QPrinter device(QPrinter::HighResolution);
    if (!pdfPath.isEmpty()) {
        device.setOutputFormat(QPrinter::PdfFormat);
        device.setOutputFileName(pdfPath);
    } else {
        device.setPrinterName(printer);
    }
    if (!device.isValid()) {
        return false;
    }
    QTextDocument document;
    document.setDefaultFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    document.setPlainText(text);
    document.print(&device);
    return pdfPath.isEmpty() || QFileInfo(pdfPath).size() > 0;
}

QString unicodeText(const std::string& text) {
    QString unicode = QString::fromStdString(text);
    // Line ends as the platform's own programs expect them; Windows' clipboard adds the CR.
    unicode.replace("\r\n", "\n");
    return unicode;
}

} // namespace plv::gui
