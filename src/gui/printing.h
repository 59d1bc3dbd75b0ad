#pragma once

#include "platform/interaction.h"

#include <QString>
#include <QStringList>
#include <string>

// Printing through Qt's print support: the installed printers, and a PDF file for a machine
// that has none.
namespace plv::gui {

inline constexpr const char* kPrintToPdf = "Print to PDF";

struct PrinterChoices {
    QStringList names; // the installed printers, then "Print to PDF"
    int current = 0;   // the default printer, else "Print to PDF"
};
PrinterChoices printerChoices();

// Prints the text line by line (in a fixed-pitch font) on the named printer. False when the
// printer cannot take the document.
bool printText(const QString& text, const QString& printer);
// Prints the text into a PDF file that then replaces `path` as every file the program
// replaces is written (files::replaceFile). False after a message when it cannot.
bool printToPdf(UserInteraction& ui, const QString& text, const std::string& path);

// Export text (CR LF line ends) as the clipboard and printers take it.
QString unicodeText(const std::string& text);

} // namespace plv::gui
