#pragma once

#include "export/export_report.h"

#include <QDialog>
#include <functional>
#include <map>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace plv::gui {

// The question for a file to save: the folder to start in, a proposed name, the extension.
struct SaveFileQuestion {
    std::string title;
    std::string folder;
    std::string fileName;
    std::string extension;
};
using SaveFileChooser = std::function<std::optional<std::string>(const SaveFileQuestion&)>;

// "Export/Report": a view over the dialog's state. Its action button prints the text, puts
// it on the clipboard or (through the state) writes the file, then closes the dialog.
class ExportDialog : public QDialog {
    Q_OBJECT
  public:
    // `chooseFile` answers Specify and asks for the PDF file of "Print to PDF".
    ExportDialog(exports::ExportReport& state, SaveFileChooser chooseFile,
                 QWidget* parent = nullptr);

  private:
    QWidget* buildScopes();
    QWidget* buildDestinations();
    QLayout* buildOutputRows();
    void chooseScope(ScopeChoice scope);
    void chooseDestination(exports::Destination destination);
    void specify();
    void act();
    bool deliver(const exports::ExportOutput& output);
    std::vector<std::string> selectedNames() const;

    exports::ExportReport& state_;
    SaveFileChooser chooseFile_;
    std::map<ScopeChoice, QRadioButton*> scopes_;
    std::map<exports::Destination, QRadioButton*> destinations_;
    QListWidget* names_ = nullptr;
    QLabel* fileLabel_ = nullptr;
    QLineEdit* fileName_ = nullptr;
    QPushButton* specify_ = nullptr;
    QLabel* printerLabel_ = nullptr;
    QComboBox* printers_ = nullptr;
};

// A save-file dialog over `parent`.
std::optional<std::string> askSaveFile(QWidget* parent, const SaveFileQuestion& question);

// "Print to PDF": asks for the file (through `chooseFile`, else a save-file dialog), then
// whether an existing one may be overwritten, and prints the text into it. False when the
// user cancelled or the file could not be written (after a message).
bool printToChosenPdf(QWidget* parent, const SaveFileChooser& chooseFile, UserInteraction& ui,
                      const SaveFileQuestion& question, const QString& text);

} // namespace plv::gui
