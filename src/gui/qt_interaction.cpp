#include "gui/qt_interaction.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace plv::gui {
namespace {

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

QMessageBox::StandardButton ask(QWidget* parent, const std::string& text, const std::string& title,
                                QMessageBox::StandardButtons buttons,
                                QMessageBox::StandardButton fallback) {
    QMessageBox box(QMessageBox::Question, qs(title), qs(text), buttons, parent);
    box.setDefaultButton(fallback);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

} // namespace

void QtInteraction::message(const std::string& text, const std::string& title) {
    QMessageBox box(QMessageBox::Information, qs(title), qs(text), QMessageBox::Ok, parent_);
    box.exec();
}

bool QtInteraction::okCancel(const std::string& text, const std::string& title) {
    return ask(parent_, text, title, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok) ==
           QMessageBox::Ok;
}

bool QtInteraction::yesNo(const std::string& text, const std::string& title) {
    return ask(parent_, text, title, QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) ==
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

void QtInteraction::status(const std::string& text) {
    if (onStatus) {
        onStatus(text);
    }
}

void QtInteraction::progress(std::size_t done, std::size_t total) {
    if (onProgress) {
        onProgress(done, total);
    }
    // Long work runs on the window's thread: let it repaint, but take no input meanwhile.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace plv::gui
