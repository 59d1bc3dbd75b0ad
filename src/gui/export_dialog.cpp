#include "gui/export_dialog.h"

#include "gui/printing.h"
#include "platform/files.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QVBoxLayout>
#include <span>

namespace plv::gui {
namespace {

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

struct Choice {
    const char* objectName;
    const char* caption;
};

// An option group: one radio button per choice, each reporting its value when clicked.
template <typename Value>
QGroupBox*
optionGroup(QWidget* parent, const char* title, std::span<const std::pair<Value, Choice>> entries,
            std::map<Value, QRadioButton*>& buttons, const std::function<void(Value)>& onClick) {
    auto* box = new QGroupBox(title, parent);
    auto* column = new QVBoxLayout(box);
    for (const auto& [value, choice] : entries) {
        auto* button = new QRadioButton(choice.caption, box);
        button->setObjectName(choice.objectName);
        QObject::connect(button, &QRadioButton::clicked, parent,
                         [onClick, value = value] { onClick(value); });
        column->addWidget(button);
        buttons[value] = button;
    }
    return box;
}

} // namespace

std::optional<std::string> askSaveFile(QWidget* parent, const SaveFileQuestion& q) {
    QFileDialog dialog(parent, qs(q.title), qs(q.folder));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(qs(q.extension));
    dialog.setNameFilters({QString("*.%1").arg(qs(q.extension)), "All files (*)"});
    // The caller asks its own question about an existing file.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.selectFile(qs(q.fileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().front().toStdString();
}

ExportDialog::ExportDialog(exports::ExportReport& state, SaveFileChooser chooseFile,
                           QWidget* parent)
    : QDialog(parent), state_(state), chooseFile_(std::move(chooseFile)) {
    setObjectName("exportdat");
    setWindowTitle(qs(state_.title()));
    names_ = new QListWidget(this);
    names_->setObjectName("names");
    names_->setSelectionMode(QAbstractItemView::MultiSelection);
    names_->setAccessibleName("Commands to pick");
    names_->setAccessibleDescription("The commands of the current View; with Pick and choose, "
                                     "the selected ones are written");
    for (const auto& name : state_.view().names) {
        names_->addItem(qs(name));
    }
    for (const auto& name : state_.preselected()) {
        for (QListWidgetItem* item : names_->findItems(qs(name), Qt::MatchExactly)) {
            item->setSelected(true);
        }
    }
    auto* action = new QPushButton(qs(state_.actionCaption()), this);
    action->setObjectName("Command2");
    action->setDefault(true);
    auto* cancel = new QPushButton("Cancel", this);
    cancel->setObjectName("cancel");
    connect(action, &QPushButton::clicked, this, [this] { act(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* choices = new QVBoxLayout;
    choices->addWidget(buildScopes());
    choices->addWidget(buildDestinations());
    choices->addStretch();
    auto* top = new QHBoxLayout;
    top->addLayout(choices);
    top->addWidget(names_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(action);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(buildOutputRows());
    layout->addLayout(buttons);

    chooseScope(state_.scope());
    chooseDestination(state_.destination());
    resize(560, 400);
}

QWidget* ExportDialog::buildScopes() {
    const std::pair<ScopeChoice, Choice> entries[] = {
        {ScopeChoice::Everything, {"outputall", "&Everything"}},
        {ScopeChoice::Program, {"outputapp", "Current P&rogram"}},
        {ScopeChoice::Group, {"outputgroup", "Current &Group"}},
        {ScopeChoice::Scope, {"outputstate", "Current &Scope"}},
        {ScopeChoice::Picked, {"outputselect", "Pick and &Choose"}},
    };
    QWidget* box = optionGroup<ScopeChoice>(this, "Scope:", entries, scopes_,
                                            [this](ScopeChoice scope) { chooseScope(scope); });
    // The caption says whether the list holds a follow view's names. Its accelerator is the
    // last 'c' of "Pick and choose" or the 'w' of "See below", both free in this dialog.
    QString pick = qs(state_.pickCaption());
    pick.insert(static_cast<int>(pick.lastIndexOf(QRegularExpression("[cw]"))), '&');
    scopes_[ScopeChoice::Picked]->setText(pick);
    return box;
}

QWidget* ExportDialog::buildDestinations() {
    const std::pair<exports::Destination, Choice> entries[] = {
        {exports::Destination::Printer, {"toprinter", "To &Printer"}},
        {exports::Destination::File, {"tofile", "To &File"}},
        {exports::Destination::Clipboard, {"ToClipboard", "To Clip&board"}},
    };
    QWidget* box = optionGroup<exports::Destination>(
        this, "Destination", entries, destinations_,
        [this](exports::Destination destination) { chooseDestination(destination); });
    // Dragon XML is a file for Dragon to import, never printed or copied.
    bool fileOnly = state_.format() == exports::Format::Xml;
    destinations_[exports::Destination::Printer]->setEnabled(!fileOnly);
    destinations_[exports::Destination::Clipboard]->setEnabled(!fileOnly);
    return box;
}

QLayout* ExportDialog::buildOutputRows() {
    fileName_ = new QLineEdit(this);
    fileName_->setObjectName("filename");
    fileLabel_ = new QLabel("File&name:", this);
    fileLabel_->setBuddy(fileName_);
    specify_ = new QPushButton("Specif&y", this);
    specify_->setObjectName("specify");
    connect(fileName_, &QLineEdit::textEdited, this,
            [this](const QString& text) { state_.setFileName(text.toStdString()); });
    connect(specify_, &QPushButton::clicked, this, [this] { specify(); });

    printers_ = new QComboBox(this);
    printers_->setObjectName("printers");
    PrinterChoices printers = printerChoices();
    printers_->addItems(printers.names);
    printers_->setCurrentIndex(printers.current);
    printerLabel_ = new QLabel("Prin&ter:", this);
    printers_->setAccessibleName("Printer");
    printerLabel_->setBuddy(printers_);

    auto* rows = new QVBoxLayout;
    auto* file = new QHBoxLayout;
    file->addWidget(fileLabel_);
    file->addWidget(fileName_, 1);
    file->addWidget(specify_);
    auto* printer = new QHBoxLayout;
    printer->addWidget(printerLabel_);
    printer->addWidget(printers_, 1);
    rows->addLayout(file);
    rows->addLayout(printer);
    return rows;
}

void ExportDialog::chooseScope(ScopeChoice scope) {
    state_.chooseScope(scope);
    scopes_[scope]->setChecked(true);
    fileName_->setText(qs(state_.fileName()));
    names_->setEnabled(scope == ScopeChoice::Picked);
}

void ExportDialog::chooseDestination(exports::Destination destination) {
    state_.chooseDestination(destination);
    destinations_[destination]->setChecked(true);
    bool toFile = destination == exports::Destination::File;
    bool toPrinter = destination == exports::Destination::Printer;
    for (QWidget* w : std::initializer_list<QWidget*>{fileLabel_, fileName_, specify_}) {
        w->setVisible(toFile);
    }
    printerLabel_->setVisible(toPrinter);
    printers_->setVisible(toPrinter);
}

void ExportDialog::specify() {
    std::string code = exports::formatCode(state_.format());
    SaveFileQuestion question{"Specify", exports::exportFolder(state_.session()),
                              files::fileName(state_.fileName()), code};
    if (auto chosen = chooseFile_ ? chooseFile_(question) : askSaveFile(this, question)) {
        state_.setFileName(*chosen);
        fileName_->setText(qs(*chosen));
    }
}

std::vector<std::string> ExportDialog::selectedNames() const {
    std::vector<std::string> names;
    for (int i = 0; i < names_->count(); ++i) {
        if (names_->item(i)->isSelected()) {
            names.push_back(names_->item(i)->text().toStdString());
        }
    }
    return names;
}

void ExportDialog::act() {
    // The choice of commands is checked and the text made before a PDF file is asked for.
    auto output = state_.act(selectedNames());
    if (output && deliver(*output)) {
        accept();
    }
}

bool ExportDialog::deliver(const exports::ExportOutput& output) {
    switch (output.destination) {
    case exports::Destination::File:
        return true;
    case exports::Destination::Clipboard:
        QApplication::clipboard()->setText(unicodeText(output.text));
        return true;
    case exports::Destination::Printer:
        break;
    }
    Session& s = state_.session();
    if (printers_->currentText() == kPrintToPdf) {
        std::string name = files::baseNameWithoutExtension(state_.fileName()) + ".pdf";
        return printToChosenPdf(this, chooseFile_, s.ui,
                                {kPrintToPdf, exports::exportFolder(s), name, "pdf"},
                                unicodeText(output.text));
    }
    if (printText(unicodeText(output.text), printers_->currentText())) {
        return true;
    }
    s.ui.warning("The document could not be printed", printers_->currentText().toStdString());
    return false;
}

bool printToChosenPdf(QWidget* parent, const SaveFileChooser& chooseFile, UserInteraction& ui,
                      const SaveFileQuestion& question, const QString& text) {
    auto chosen = chooseFile ? chooseFile(question) : askSaveFile(parent, question);
    return chosen && exports::mayReplace(ui, *chosen) && printToPdf(ui, text, *chosen);
}

} // namespace plv::gui
