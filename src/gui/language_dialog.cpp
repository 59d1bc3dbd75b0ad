#include "gui/language_dialog.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace plv::gui {

LanguageDialog::LanguageDialog(editing::LanguageConversion& state, const std::string& path,
                               QWidget* parent)
    : QDialog(parent), state_(state), choices_(new QComboBox(this)) {
    setObjectName("languageDialog");
    setWindowTitle(editing::kLanguageDialogTitle);
    auto* text = new QLabel(editing::kLanguageDialogText, this);
    text->setWordWrap(true);
    text->setMinimumWidth(420);
    choices_->setObjectName("languages");
    choices_->setAccessibleName("Language");
    choices_->setAccessibleDescription("The language the file's header is to name");
    for (const char* choice : editing::kLanguageChoices) {
        choices_->addItem(choice);
    }
    auto* language = new QLabel(QString::fromStdString(state.languageLabel()), this);
    language->setObjectName("currentLanguage");
    auto* file = new QLabel(QString::fromStdString(path), this);
    file->setObjectName("path");
    auto* convert = new QPushButton("&Convert", this);
    convert->setObjectName("convert");
    convert->setDefault(true);
    connect(convert, &QPushButton::clicked, this, [this] { this->convert(); });

    auto* choiceLabel = new QLabel("&Language:", this);
    choiceLabel->setBuddy(choices_);
    auto* choiceRow = new QHBoxLayout;
    choiceRow->addWidget(choiceLabel);
    choiceRow->addWidget(choices_, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(convert);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addLayout(choiceRow);
    layout->addWidget(language);
    layout->addWidget(file);
    layout->addLayout(buttons);
}

void LanguageDialog::convert() {
    using Result = editing::LanguageConversion::Result;
    switch (state_.convert(choices_->currentText().toStdString())) {
    case Result::StaysOpen:
        return;
    case Result::Closes:
        reject();
        return;
    case Result::Converted:
        accept();
        return;
    }
}

} // namespace plv::gui
