#include "gui/options_dialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace plv::gui {
namespace {
constexpr int kSmallestFont = 6;
constexpr int kLargestFont = 36;
} // namespace

OptionsDialog::OptionsDialog(bool numberMenus, std::function<void(bool)> onNumberMenus,
                             int fontSize, std::function<void(int)> onFontSize,
                             std::function<void()> onHelp, QWidget* parent)
    : QDialog(parent),
      numberBox_(new QCheckBox("&Number the Program, Scope, and Group menus", this)),
      fontSize_(new QSpinBox(this)) {
    setWindowTitle("Options");
    setObjectName("optionsDialog");
    numberBox_->setObjectName("numberMenus");
    numberBox_->setChecked(numberMenus);
    connect(numberBox_, &QCheckBox::toggled, this, [onNumberMenus](bool on) { onNumberMenus(on); });

    fontSize_->setObjectName("fontSize");
    fontSize_->setRange(kSmallestFont, kLargestFont);
    fontSize_->setSuffix(" pt");
    fontSize_->setValue(fontSize);
    fontSize_->setAccessibleDescription("The size of the text in the lists, the body and the "
                                        "rest of the main window");
    connect(fontSize_, &QSpinBox::valueChanged, this, [onFontSize](int size) { onFontSize(size); });
    auto* sizeLabel = new QLabel("&Font size:", this);
    sizeLabel->setBuddy(fontSize_);
    auto* sizeRow = new QHBoxLayout;
    sizeRow->addWidget(sizeLabel);
    sizeRow->addWidget(fontSize_);
    sizeRow->addStretch();

    auto* note = new QLabel("Note: If you want to change the font used by Parlavista,\n"
                            "click Help below",
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
    layout->addLayout(sizeRow);
    layout->addSpacing(8);
    layout->addWidget(note);
    layout->addSpacing(8);
    layout->addLayout(buttons);
}

} // namespace plv::gui
