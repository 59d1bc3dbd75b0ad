#include "gui/entry_list_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace plv::gui {
namespace {

QDialogButtonBox* buttonBox(EntryListDialog::Buttons kind, QDialog* dialog) {
    auto* box = new QDialogButtonBox(dialog);
    if (kind == EntryListDialog::Buttons::RestoreCancel) {
        QPushButton* restore = box->addButton("&Restore", QDialogButtonBox::AcceptRole);
        restore->setObjectName("restore");
        restore->setAccessibleName("Restore");
        QPushButton* cancel = box->addButton(QDialogButtonBox::Cancel);
        cancel->setObjectName("cancel");
        cancel->setAccessibleName("Cancel");
        // A restore replaces the user's file: the safe answer is the one Enter gives.
        cancel->setDefault(true);
    } else {
        QPushButton* close = box->addButton("&Close", QDialogButtonBox::RejectRole);
        close->setObjectName("close");
        close->setAccessibleName("Close");
    }
    QObject::connect(box, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return box;
}

} // namespace

EntryListDialog::EntryListDialog(const QString& objectName, const QString& title,
                                 const QString& text, std::vector<browser::EntryLine> lines,
                                 Buttons buttons, QWidget* parent)
    : QDialog(parent), lines_(std::move(lines)), list_(new QListWidget(this)) {
    setObjectName(objectName);
    setWindowTitle(title);
    setAccessibleName(title);
    auto* label = new QLabel(text, this);
    label->setObjectName("text");
    label->setWordWrap(true);
    label->setBuddy(list_);
    list_->setObjectName("entries");
    list_->setAccessibleName(title + " list");
    for (const auto& line : lines_) {
        list_->addItem(QString::fromStdString(line.text));
    }
    if (list_->count() > 0) {
        list_->setCurrentRow(0);
    }
    // Activation is a double-click, and Enter on the list.
    connect(list_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        int row = list_->row(item);
        if (onOpen && row >= 0 && static_cast<std::size_t>(row) < lines_.size()) {
            onOpen(lines_[static_cast<std::size_t>(row)]);
        }
    });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(list_);
    layout->addWidget(buttonBox(buttons, this));
    list_->setFocus();
    resize(640, 360);
}

} // namespace plv::gui
