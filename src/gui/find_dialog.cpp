#include "gui/find_dialog.h"

#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

namespace plv::gui {

using browser::FindIn;
using browser::FindStep;

FindDialog::FindDialog(browser::Browser& browser, QWidget* parent)
    : QDialog(parent), browser_(browser),
      text_(new QLineEdit(this)), options_{new QRadioButton("COMMAND (or LIST) &name", this),
                                           new QRadioButton("Sc&ope name", this),
                                           new QRadioButton("Macro (or LIST) &body", this)},
      matchCase_(new QCheckBox("&Match Case", this)), buttons_{new QPushButton("&Find", this),
                                                               new QPushButton("Find &Again", this),
                                                               new QPushButton("Find &Previous",
                                                                               this)},
      cancel_(new QPushButton("Cancel", this)) {
    setWindowTitle("Find");
    setObjectName("findDialog");
    text_->setObjectName("searchFor");
    text_->installEventFilter(this);
    auto* label = new QLabel("&Search for:", this);
    label->setBuddy(text_);
    option(FindIn::Name)->setChecked(true);

    auto* where = new QGroupBox(this);
    where->setAccessibleName("Search in");
    auto* options = new QVBoxLayout(where);
    for (FindIn in : {FindIn::Name, FindIn::Scope, FindIn::Body}) {
        options->addWidget(option(in));
        connect(option(in), &QRadioButton::toggled, this, [this, in](bool on) {
            if (on) {
                browser_.finder().setColumn(in);
            }
        });
    }
    connect(text_, &QLineEdit::textEdited, this,
            [this](const QString& text) { browser_.finder().setText(text.toStdString()); });
    connect(matchCase_, &QCheckBox::toggled, this, [this](bool on) {
        browser_.finder().setMatchCase(on);
        browser_.clearHighlight();
    });
    auto* buttons = new QVBoxLayout;
    for (FindStep step : {FindStep::First, FindStep::Again, FindStep::Previous}) {
        // Enter in the search box is Find.
        button(step)->setDefault(step == FindStep::First);
        button(step)->setAutoDefault(step == FindStep::First);
        connect(button(step), &QPushButton::clicked, this, [this, step] { run(step); });
        buttons->addWidget(button(step));
    }
    cancel_->setAutoDefault(false);
    connect(cancel_, &QPushButton::clicked, this, &FindDialog::reject);
    buttons->addWidget(cancel_);
    buttons->addStretch();
    auto* layout = new QGridLayout(this);
    layout->addWidget(label, 0, 0);
    layout->addWidget(text_, 0, 1);
    layout->addWidget(where, 1, 0, 1, 2);
    layout->addWidget(matchCase_, 2, 0, 1, 2);
    layout->addLayout(buttons, 0, 2, 3, 1);
}

bool FindDialog::ask() {
    showState();
    text_->setFocus();
    return exec() == QDialog::Accepted;
}

void FindDialog::showState() {
    const browser::Finder& f = browser_.finder();
    text_->setText(QString::fromStdString(f.text()));
    option(f.column())->setChecked(true);
    matchCase_->setChecked(f.matchCase());
    button(FindStep::Again)->setEnabled(f.canFindAgain());
    button(FindStep::Previous)->setEnabled(f.canFindPrevious());
}

void FindDialog::run(FindStep step) {
    browser_.finder().setText(text_->text().toStdString());
    bool found = browser_.find(step);
    showState();
    if (found) {
        accept();
    } else {
        text_->setFocus();
    }
}

void FindDialog::reject() {
    browser_.finder().discard();
    text_->clear();
    QDialog::reject();
}

bool FindDialog::eventFilter(QObject* watched, QEvent* event) {
    // The whole search text is selected when the box gets the focus, so typing replaces it.
    if (watched == text_ && event->type() == QEvent::FocusIn) {
        QTimer::singleShot(0, text_, &QLineEdit::selectAll);
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace plv::gui
