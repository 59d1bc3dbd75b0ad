#include "gui/help_browser.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace plv::gui {

HelpBrowser::HelpBrowser(const QString& folder, QWidget* parent)
    : QDialog(parent), folder_(folder), text_(new QTextBrowser(this)) {
    setWindowTitle("Parlavista Help");
    setObjectName("helpBrowser");
    text_->setObjectName("helpText");
    text_->setAccessibleName("Help page");
    text_->setSearchPaths({folder});
    text_->setOpenExternalLinks(true);

    auto* back = new QPushButton("&Back", this);
    auto* forward = new QPushButton("&Forward", this);
    auto* contents = new QPushButton("&Contents", this);
    auto* close = new QPushButton("Close", this);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(back, &QPushButton::clicked, text_, &QTextBrowser::backward);
    connect(forward, &QPushButton::clicked, text_, &QTextBrowser::forward);
    connect(contents, &QPushButton::clicked, this, [this] { showPage("index.html"); });
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    connect(text_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(text_, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(back);
    buttons->addWidget(forward);
    buttons->addWidget(contents);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(text_);
    resize(720, 560);
}

bool HelpBrowser::showPage(const QString& page) {
    QString path = QDir(folder_).filePath(page);
    if (!QFileInfo::exists(path)) {
        return false;
    }
    text_->setSource(QUrl::fromLocalFile(path));
    return true;
}

QString HelpBrowser::currentPage() const {
    return QFileInfo(text_->source().toLocalFile()).fileName();
}

} // namespace plv::gui
