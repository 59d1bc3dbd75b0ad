#include "gui/printing.h"

#include "platform/files.h"

#include <QFontDatabase>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextDocument>
#include <optional>

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

namespace {

void printDocument(const QString& text, QPrinter& device) {
    QTextDocument document;
    document.setDefaultFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    document.setPlainText(text);
    document.print(&device);
}

// The PDF printed into a file of its own, read back whole.
std::optional<std::string> pdfBytes(const QString& text) {
    std::string folder = files::makeTempFolder("parlavista-pdf-");
    if (folder.empty()) {
        return std::nullopt;
    }
    std::string path = files::join(folder, "print.pdf");
    QPrinter device(QPrinter::HighResolution);
    device.setOutputFormat(QPrinter::PdfFormat);
    device.setOutputFileName(QString::fromStdString(path));
    std::optional<std::string> bytes;
    if (device.isValid()) {
        printDocument(text, device);
        bytes = files::readAll(path);
    }
    files::remove(path);
    files::remove(folder);
    return bytes && !bytes->empty() ? bytes : std::nullopt;
}

} // namespace

bool printText(const QString& text, const QString& printer) {
    QPrinter device(QPrinter::HighResolution);
    device.setPrinterName(printer);
    if (!device.isValid()) {
        return false;
    }
    printDocument(text, device);
    return true;
}

bool printToPdf(UserInteraction& ui, const QString& text, const std::string& path) {
    auto bytes = pdfBytes(text);
    files::WriteResult written = bytes ? files::replaceFile(path, *bytes) : files::WriteResult{};
    if (!written) {
        ui.warning(written.readOnly() ? files::readOnlyMessage(path)
                                      : "The document could not be printed",
                   path);
    }
    return static_cast<bool>(written);
}

QString unicodeText(const std::string& text) {
    QString unicode = QString::fromStdString(text);
    // Line ends as the platform's own programs expect them; Windows' clipboard adds the CR.
    unicode.replace("\r\n", "\n");
    return unicode;
}

} // namespace plv::gui
