#include "gui/convert_help_dialog.h"

#include "editing/convert_keys.h"
#include "platform/profile.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace plv::gui {

ConvertHelpDialog::ConvertHelpDialog(std::function<void()> openHelp, QWidget* parent)
    : QDialog(parent), dontShow_(new QCheckBox("Don't &Show this Again", this)) {
    setWindowTitle("Please Read Help if First Time Converting");
    setObjectName("convertHelpDialog");
    dontShow_->setObjectName("dontShowAgain");

    auto* question = new QLabel("Would you like to view the Help Page on this topic?", this);
    auto* yes = new QPushButton("&Yes", this);
    auto* no = new QPushButton("&No Thanks", this);
    yes->setObjectName("yes");
    no->setObjectName("noThanks");
    yes->setDefault(true);
    connect(yes, &QPushButton::clicked, this, [this, openHelp] {
        openHelp();
        accept();
    });
    connect(no, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(yes);
    buttons->addWidget(no);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(question);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->addWidget(dontShow_);
}

void offerKeysConversionHelp(Settings& settings, std::function<void()> openHelp, QWidget* parent) {
    if (!editing::keysConversionHelpWanted(settings)) {
        return;
    }
    ConvertHelpDialog dialog(std::move(openHelp), parent);
    dialog.exec();
    if (dialog.dontShowBox()->isChecked()) {
        editing::declineKeysConversionHelp(settings);
    }
}

} // namespace plv::gui
