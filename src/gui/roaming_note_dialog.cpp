#include "gui/roaming_note_dialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace plv::gui {
namespace {

const char* const kNote =
    "When doing a 'Save Changes' (or other modifying operation), all modifications take place "
    "in the local (machine) roaming directory.  To synchronize your command changes to the "
    "Master roaming directory, you must close the current user, by opening a different User, "
    "or closing NaturallySpeaking itself (including Parlavista8).\n\n"
    "Do NOT have the same Roaming user opened on 2 machines at once, or modifications will be "
    "lost. Say/click 'Help' for more information.\n\n"
    "Say/click 'Help', otherwise:\n"
    "Say/click 'do not show this window again'\n\n"
    "This information can be found at any time in the Help file topic:\n"
    "'Roaming User command file modification'";

} // namespace

RoamingNoteDialog::RoamingNoteDialog(std::function<void()> openHelp, QWidget* parent)
    : QDialog(parent), dontShow_(new QCheckBox("Do &Not Show This Window Again", this)) {
    setWindowTitle("Save Changes Roaming User Informational message");
    setObjectName("roamingNoteDialog");
    dontShow_->setObjectName("dontShowAgain");
    auto* note = new QLabel(kNote, this);
    note->setObjectName("note");
    note->setWordWrap(true);
    auto* help = new QPushButton("&Help", this);
    auto* proceed = new QPushButton("&Proceed", this);
    help->setObjectName("help");
    proceed->setObjectName("proceed");
    proceed->setDefault(true);
    connect(help, &QPushButton::clicked, this, [openHelp] { openHelp(); });
    connect(proceed, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(dontShow_);
    buttons->addStretch();
    buttons->addWidget(help);
    buttons->addWidget(proceed);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(note);
    layout->addLayout(buttons);
    resize(520, sizeHint().height());
}

bool RoamingNoteDialog::dontShowAgain() const {
    return dontShow_->isChecked();
}

} // namespace plv::gui
