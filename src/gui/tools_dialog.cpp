#include "gui/tools_dialog.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextCursor>
#include <QVBoxLayout>

namespace plv::gui {
namespace {

using editing::ToolsDialog;
using editing::ToolsMode;

struct ChoiceControl {
    ScopeChoice choice;
    const char* name;
    const char* caption;
};

constexpr std::array<ChoiceControl, 5> kChoiceControls = {{
    {ScopeChoice::Everything, "outputall", "&Everything"},
    {ScopeChoice::Group, "outputgroup", "Current &Group"},
    {ScopeChoice::Program, "outputapp", "Current &App"},
    {ScopeChoice::Scope, "outputstate", "Current &Scope"},
    {ScopeChoice::Picked, "outputselect", "Pick and &Choose"},
}};

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

std::size_t indexOf(ScopeChoice choice) {
    return static_cast<std::size_t>(choice);
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

} // namespace

ToolsDialogView::ToolsDialogView(ToolsDialog& state, QWidget* parent)
    : QDialog(parent), state_(state) {
    setObjectName("toolsDialog");
    setWindowTitle(state.texts().title);
    chooseExportFile = [this](const std::string& folder) -> std::optional<std::string> {
        QString file = QFileDialog::getSaveFileName(this, "Export to .dat", qs(folder),
                                                    "MyCommands files (*.dat)");
        if (file.isEmpty()) {
            return std::nullopt;
        }
        return file.toStdString();
    };
    build();
}

void ToolsDialogView::build() {
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(buildScopeFrame());
    layout->addWidget(buildPickArea());
    if (*state_.texts().label) {
        layout->addWidget(buildTextArea());
    }
    if (state_.mode() == ToolsMode::Replace) {
        layout->addWidget(buildMatchArea());
    }
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* main = button(this, "mainButton", state_.texts().mainButton);
    main->setDefault(true);
    buttons->addWidget(main);
    connect(main, &QPushButton::clicked, this, [this] { runButton(&ToolsDialog::mainButton); });
    if (state_.mode() == ToolsMode::Replace) {
        auto* replace = button(this, "replace", "Replace");
        auto* all = button(this, "replaceAll", "Replace All");
        buttons->addWidget(replace);
        buttons->addWidget(all);
        connect(replace, &QPushButton::clicked, this,
                [this] { runButton(&ToolsDialog::replaceButton); });
        connect(all, &QPushButton::clicked, this,
                [this] { runButton(&ToolsDialog::replaceAllButton); });
    }
    auto* cancel = button(this, "cancel", "Cancel");
    buttons->addWidget(cancel);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    layout->addLayout(buttons);
    choose(state_.choice());
}

QWidget* ToolsDialogView::buildScopeFrame() {
    auto* frame = new QGroupBox("Scope:", this);
    auto* grid = new QGridLayout(frame);
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setStyleHint(QFont::TypeWriter);
    fixed.setFixedPitch(true);
    for (std::size_t i = 0; i < kChoiceControls.size(); ++i) {
        const auto& c = kChoiceControls[i];
        choices_[i] = new QRadioButton(c.caption, frame);
        choices_[i]->setObjectName(c.name);
        counts_[i] = new QLabel(qs(editing::countText(state_.count(c.choice))), frame);
        counts_[i]->setObjectName(QString(c.name) + "Count");
        counts_[i]->setFont(fixed);
        grid->addWidget(choices_[i], static_cast<int>(i), 0);
        grid->addWidget(counts_[i], static_cast<int>(i), 1);
        connect(choices_[i], &QRadioButton::toggled, this, [this, choice = c.choice](bool on) {
            if (on && !filling_) {
                choose(choice);
            }
        });
    }
    return frame;
}

QWidget* ToolsDialogView::buildPickArea() {
    pickArea_ = new QWidget(this);
    auto* layout = new QHBoxLayout(pickArea_);
    layout->setContentsMargins(0, 0, 0, 0);
    list_ = new QListWidget(pickArea_);
    list_->setObjectName("List1");
    list_->setAccessibleName("Commands to pick");
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    for (const auto& name : state_.pickList()) {
        list_->addItem(qs(name));
    }
    connect(list_, &QListWidget::itemSelectionChanged, this, [this] { pickChanged(); });
    auto* all = button(pickArea_, "pickall", "A&ll");
    auto* none = button(pickArea_, "picknone", "N&one");
    connect(all, &QPushButton::clicked, this, [this] {
        state_.pickAll();
        selectPicked();
    });
    connect(none, &QPushButton::clicked, this, [this] {
        state_.pickNone();
        selectPicked();
    });
    auto* side = new QVBoxLayout;
    side->addWidget(all);
    side->addWidget(none);
    side->addStretch();
    layout->addWidget(list_);
    layout->addLayout(side);
    return pickArea_;
}

QWidget* ToolsDialogView::buildTextArea() {
    auto* area = new QWidget(this);
    auto* grid = new QGridLayout(area);
    grid->setContentsMargins(0, 0, 0, 0);
    auto* label = new QLabel(state_.texts().label, area);
    text_ = new QLineEdit(qs(state_.text()), area);
    text_->setObjectName("text");
    text_->setMinimumWidth(360);
    label->setBuddy(text_);
    grid->addWidget(label, 0, 0);
    grid->addWidget(text_, 0, 1);
    connect(text_, &QLineEdit::textEdited, this,
            [this](const QString& t) { state_.typeText(t.toStdString()); });
    if (state_.mode() == ToolsMode::Export) {
        auto* specify = button(area, "specify", "Specif&y filename");
        grid->addWidget(specify, 0, 2);
        connect(specify, &QPushButton::clicked, this, [this] { specifyFile(); });
    }
    if (state_.mode() == ToolsMode::Replace) {
        auto* with = new QLabel("Replace &With", area);
        replace_ = new QLineEdit(area);
        replace_->setObjectName("replaceText");
        with->setBuddy(replace_);
        matchCase_ = new QCheckBox("Match Case", area);
        matchCase_->setObjectName("matchCase");
        grid->addWidget(with, 1, 0);
        grid->addWidget(replace_, 1, 1);
        grid->addWidget(matchCase_, 2, 1);
    }
    return area;
}

QWidget* ToolsDialogView::buildMatchArea() {
    auto* area = new QWidget(this);
    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);
    matchName_ = new QLabel(area);
    matchName_->setObjectName("matchName");
    matchBody_ = new QPlainTextEdit(area);
    matchBody_->setObjectName("matchBody");
    matchBody_->setAccessibleName("Body with the match");
    matchBody_->setReadOnly(true);
    matchBody_->setMinimumHeight(120);
    layout->addWidget(matchName_);
    layout->addWidget(matchBody_);
    return area;
}

QRadioButton* ToolsDialogView::choiceButton(ScopeChoice choice) const {
    return choices_[indexOf(choice)];
}

QLabel* ToolsDialogView::countLabel(ScopeChoice choice) const {
    return counts_[indexOf(choice)];
}

void ToolsDialogView::choose(ScopeChoice choice) {
    state_.choose(choice);
    filling_ = true;
    choices_[indexOf(choice)]->setChecked(true);
    filling_ = false;
    pickArea_->setVisible(state_.pickListShown());
    selectPicked();
    if (state_.pickListShown()) {
        list_->setFocus();
    }
    if (text_ && state_.mode() == ToolsMode::Export) {
        text_->setText(qs(state_.text()));
    }
}

// The list shows the state's picks.
void ToolsDialogView::selectPicked() {
    filling_ = true;
    const auto& picked = state_.picked();
    for (int i = 0; i < list_->count(); ++i) {
        QListWidgetItem* item = list_->item(i);
        bool on =
            std::find(picked.begin(), picked.end(), item->text().toStdString()) != picked.end();
        item->setSelected(on);
        if (on) {
            list_->scrollToItem(item);
        }
    }
    filling_ = false;
    counts_[indexOf(ScopeChoice::Picked)]->setText(
        qs(editing::countText(state_.count(ScopeChoice::Picked))));
}

void ToolsDialogView::pickChanged() {
    if (filling_) {
        return;
    }
    std::vector<std::string> names;
    for (int i = 0; i < list_->count(); ++i) {
        if (list_->item(i)->isSelected()) {
            names.push_back(list_->item(i)->text().toStdString());
        }
    }
    state_.setPicked(std::move(names));
    counts_[indexOf(ScopeChoice::Picked)]->setText(
        qs(editing::countText(state_.count(ScopeChoice::Picked))));
}

void ToolsDialogView::specifyFile() {
    if (auto file = chooseExportFile(state_.exportFolder())) {
        state_.typeText(*file);
        text_->setText(qs(*file));
    }
}

void ToolsDialogView::runButton(ToolsDialog::After (ToolsDialog::*press)()) {
    if (replace_) {
        state_.replaceText = replace_->text().toStdString();
        state_.matchCase = matchCase_->isChecked();
    }
    ToolsDialog::After after = (state_.*press)();
    if (text_) {
        text_->setText(qs(state_.text()));
    }
    if (after == ToolsDialog::After::Closes) {
        accept();
        return;
    }
    showMatch();
}

void ToolsDialogView::showMatch() {
    if (!matchBody_) {
        return;
    }
    const auto& match = state_.search().match();
    if (!match) {
        matchName_->clear();
        matchBody_->clear();
        return;
    }
    matchName_->setText(qs(match->name));
    // A body's line breaks are CR LF; the editor's are LF: positions move by one for each.
    QString body = qs(match->body);
    matchBody_->setPlainText(QString(body).replace("\r\n", "\n"));
    QString before = body.left(static_cast<int>(match->start - 1));
    int start = static_cast<int>(match->start - 1) - static_cast<int>(before.count("\r\n"));
    QTextCursor cursor = matchBody_->textCursor();
    cursor.setPosition(start);
    cursor.setPosition(start + static_cast<int>(match->length), QTextCursor::KeepAnchor);
    matchBody_->setTextCursor(cursor);
}

} // namespace plv::gui
