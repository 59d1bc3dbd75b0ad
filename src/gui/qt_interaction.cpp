#include "gui/qt_interaction.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>

namespace plv::gui {
namespace {

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

// A path longer than this loses its middle, where the folders nobody needs to read are.
constexpr int kPathWidthPx = 480;

// Window managers cut or hide a dialog's title, so a file named only there goes unseen: a
// title that is a path is repeated in the box itself.
void showTitlePath(QMessageBox& box, const std::string& title) {
    QString path = qs(title);
    if (!path.contains('/') && !path.contains('\\')) {
        return;
    }
    box.setInformativeText(box.fontMetrics().elidedText(path, Qt::ElideMiddle, kPathWidthPx));
}

QMessageBox::StandardButton ask(QWidget* parent, const std::string& text, const std::string& title,
                                QMessageBox::StandardButtons buttons,
                                QMessageBox::StandardButton fallback) {
    QMessageBox box(QMessageBox::Question, qs(title), qs(text), buttons, parent);
    showTitlePath(box, title);
    box.setDefaultButton(fallback);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void show(QWidget* parent, QMessageBox::Icon icon, const std::string& text,
          const std::string& title) {
    QMessageBox box(icon, qs(title), qs(text), QMessageBox::Ok, parent);
    showTitlePath(box, title);
    box.exec();
}

// Work that is done sooner shows no dialog at all.
constexpr int kDialogAfterMs = 400;

} // namespace

QtInteraction::QtInteraction() = default;
QtInteraction::~QtInteraction() = default;

void QtInteraction::message(const std::string& text, const std::string& title) {
    show(parent_, QMessageBox::Information, text, title);
}

void QtInteraction::warning(const std::string& text, const std::string& title) {
    show(parent_, QMessageBox::Warning, text, title);
}

bool QtInteraction::okCancel(const std::string& text, const std::string& title) {
    return ask(parent_, text, title, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok) ==
           QMessageBox::Ok;
}

bool QtInteraction::yesNo(const std::string& text, const std::string& title) {
    return ask(parent_, text, title, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) ==
           QMessageBox::Yes;
}

bool QtInteraction::confirm(const std::string& text, const std::string& title) {
    return ask(parent_, text, title, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
           QMessageBox::Yes;
}

std::optional<std::string> QtInteraction::input(const std::string& prompt, const std::string& title,
                                                const std::string& initial) {
    bool ok = false;
    QString answer =
        QInputDialog::getText(parent_, qs(title), qs(prompt), QLineEdit::Normal, qs(initial), &ok);
    if (!ok) {
        return std::nullopt;
    }
    return answer.toStdString();
}

std::size_t QtInteraction::choice(const std::string& text, const std::string& title,
                                  const std::vector<std::string>& buttons, std::size_t escape) {
    QMessageBox box(QMessageBox::Question, qs(title), qs(text), QMessageBox::NoButton, parent_);
    showTitlePath(box, title);
    std::vector<QPushButton*> added;
    for (const auto& caption : buttons) {
        added.push_back(box.addButton(qs(caption), QMessageBox::ActionRole));
    }
    if (escape < added.size()) {
        // A message box takes a button's letter without Alt; Esc and closing mean this one.
        box.setEscapeButton(added[escape]);
    }
    if (!added.empty()) {
        box.setDefaultButton(added.front());
    }
    box.exec();
    for (std::size_t i = 0; i < added.size(); ++i) {
        if (box.clickedButton() == added[i]) {
            return i;
        }
    }
    return escape;
}

void QtInteraction::status(const std::string& text) {
    status_ = text;
    if (onStatus) {
        onStatus(text);
    }
    if (dialog_ && !text.empty()) {
        dialog_->setLabelText(qs(text));
    }
}

void QtInteraction::progress(std::size_t done, std::size_t total) {
    if (onProgress) {
        onProgress(done, total);
    } else {
        showDialog(done, total);
    }
    // Long work runs on the window's thread: let it repaint, but take no input meanwhile.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void QtInteraction::showDialog(std::size_t done, std::size_t total) {
    if (done >= total) {
        dialog_.reset();
        return;
    }
    if (!dialog_) {
        dialog_ = std::make_unique<QProgressDialog>(qs(status_), QString(), 0, 100, parent_);
        dialog_->setObjectName("progress");
        dialog_->setWindowTitle("Parlavista");
        dialog_->setCancelButton(nullptr);
        dialog_->setMinimumDuration(kDialogAfterMs);
        dialog_->setValue(0);
    }
    dialog_->setValue(static_cast<int>(done * 100 / total));
}

} // namespace plv::gui
