#include "gui/options_dialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace plv::gui {

OptionsDialog::OptionsDialog(bool numberMenus, std::function<void(bool)> onNumberMenus,
                             std::function<void()> onHelp, QWidget* parent)
    : QDialog(parent),
      numberBox_(new QCheckBox("Number the Program, Scope, and Group menus", this)) {
    setWindowTitle("Options");
    setObjectName("optionsDialog");
    numberBox_->setObjectName("numberMenus");
    numberBox_->setChecked(numberMenus);
    connect(numberBox_, &QCheckBox::toggled, this, [onNumberMenus](bool on) { onNumberMenus(on); });

    auto* note = new QLabel("Note: If you want to change the font or fontsize\n"
                            "used by Parlavista, click Help below",
                            this);
    auto* help = new QPushButton("&Help", this);
    auto* exit = new QPushButton("E&xit", this);
    exit->setDefault(true);
    connect(help, &QPushButton::clicked, this, [onHelp] { onHelp(); });
    connect(exit, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(help);
    buttons->addWidget(exit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(numberBox_);
    layout->addSpacing(8);
    layout->addWidget(note);
    layout->addSpacing(8);
    layout->addLayout(buttons);
}

} // namespace plv::gui
