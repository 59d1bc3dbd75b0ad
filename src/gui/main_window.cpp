#include "gui/main_window.h"

#include "browser/help.h"
#include "browser/slider.h"
#include "datfile/reader.h"
#include "editing/maintenance.h"
#include "editing/rescue.h"
#include "gui/font_scale.h"
#include "gui/help_browser.h"
#include "gui/main_window_editing.h"
#include "gui/options_dialog.h"
#include "gui/pane_area.h"
#include "gui/qt_interaction.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QSlider>
#include <QStatusBar>
#include <QTabWidget>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace plv::gui {
namespace {

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

// The formatted part of a Text and Graphics command, with its pictures served from memory.
class RichView : public QTextBrowser {
  public:
    using QTextBrowser::QTextBrowser;
    void show(const browser::RtfDocument& doc) {
        images_.clear();
        for (const auto& image : doc.images) {
            QImage picture;
            picture.loadFromData(reinterpret_cast<const uchar*>(image.data.data()),
                                 static_cast<int>(image.data.size()));
            images_[qs(image.name)] = picture;
        }
        setHtml(qs(doc.html));
        scalePointSizes(*document(), scale_);
    }
    // The document's own sizes grow with the window's font size; 10 points is as written.
    void setFontSize(int points) { scale_ = points > 0 ? points / 10.0 : 1.0; }

  protected:
    QVariant loadResource(int type, const QUrl& name) override {
        auto it = images_.find(name.toString());
        if (type == QTextDocument::ImageResource && it != images_.end()) {
            return it->second;
        }
        return QTextBrowser::loadResource(type, name);
    }

  private:
    std::map<QString, QImage> images_;
    double scale_ = 1.0;
};

// A font family from the settings, or the system's own family of that kind when this
// machine lacks it (the stored defaults name Windows fonts).
QFont settingsFont(const std::string& family, int size, QFontDatabase::SystemFont fallback) {
    QFont font = QFontDatabase::families().contains(qs(family), Qt::CaseInsensitive)
                     ? QFont(qs(family))
                     : QFontDatabase::systemFont(fallback);
    if (size > 0) {
        font.setPointSize(size);
    }
    return font;
}

QLineEdit* readOnlyField(const QString& name, QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setReadOnly(true);
    field->setFocusPolicy(Qt::ClickFocus);
    return field;
}

} // namespace

MainWindow::MainWindow(browser::Startup& startup, browser::Browser& browser,
                       const browser::StartupResult& started, QtInteraction* ui)
    : startup_(startup), browser_(browser), ui_(ui) {
    setObjectName("Form1");
    setWindowTitle("Parlavista");
    setMinimumSize(600, 480);
    buildWidgets();
    buildMenus();
    setFileCaptions(started.caption, started.restoreCaption, started.backupCaption);
    if (ui_) {
        ui_->setParent(this);
        ui_->onStatus = [this](const std::string& text) { status_->setText(qs(text)); };
        ui_->onProgress = [this](std::size_t done, std::size_t total) {
            progress_->setVisible(done < total);
            progress_->setValue(done < total ? static_cast<int>(done * 100 / total) : 100);
        };
    }
    browser_.setObserver([this] { refresh(); });
    setUpEditing(started);
    buildKeys();
}

MainWindow::~MainWindow() {
    browser_.setObserver({});
    if (ui_) {
        ui_->onStatus = nullptr;
        ui_->onProgress = nullptr;
        ui_->setParent(nullptr);
    }
}

// Widgets

void MainWindow::buildWidgets() {
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(8, 8, 8, 4);
    layout->addWidget(buildFieldsArea());

    panes_ = new PaneArea(buildListArea(), buildPreviewArea(), central);
    slider_ = new QSlider(Qt::Vertical, central);
    slider_->setObjectName("slider");
    slider_->setRange(browser::kSliderMin, browser::kSliderMax);
    slider_->setPageStep(1);
    slider_->setInvertedAppearance(true); // the handle sits where the lists end
    slider_->setTickPosition(QSlider::TicksRight);
    slider_->setToolTip("Change Preview Pane Proportion (Say 'slider 3', etc.)");
    slider_->setAccessibleName("Change Preview Pane Proportion (Say 'slider 3', etc.)");
    connect(slider_, &QSlider::valueChanged, this, [this](int value) {
        if (!updating_) {
            browser_.setSlider(value);
        }
    });
    auto* sliderColumn = new QVBoxLayout;
    sliderColumn->addWidget(new QLabel("Slider:", central), 0, Qt::AlignHCenter);
    sliderColumn->addWidget(slider_, 1, Qt::AlignHCenter);
    auto* middle = new QHBoxLayout;
    middle->addWidget(panes_, 1);
    middle->addLayout(sliderColumn);
    layout->addLayout(middle, 1);
    setCentralWidget(central);

    status_ = new QLabel(this);
    status_->setObjectName("status");
    counts_ = new QLabel("Total Number of Commands / Lists", this);
    counts_->setObjectName("counts");
    progress_ = new QProgressBar(this);
    progress_->setObjectName("progress");
    progress_->setRange(0, 100);
    progress_->setMaximumWidth(160);
    progress_->setVisible(false);
    statusBar()->addWidget(status_, 1);
    statusBar()->addPermanentWidget(progress_);
    statusBar()->addPermanentWidget(counts_);
}

QWidget* MainWindow::buildFieldsArea() {
    auto* area = new QWidget(this);
    auto* grid = new QGridLayout(area);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(8);
    program_ = readOnlyField("program", area);
    scope_ = readOnlyField("scope", area);
    group_ = readOnlyField("group", area);
    type_ = readOnlyField("type", area);
    states_ = readOnlyField("states", area);
    struct Row {
        const char* caption;
        QLineEdit* field;
        int row, column, span;
    };
    const Row rows[] = {{"Program:", program_, 0, 0, 1},
                        {"Scope:", scope_, 0, 2, 1},
                        {"Gr&oup:", group_, 1, 0, 1},
                        {"T&ype:", type_, 1, 2, 1},
                        {"State(s):", states_, 2, 0, 3}};
    for (const Row& r : rows) {
        auto* label = new QLabel(r.caption, area);
        label->setBuddy(r.field);
        grid->addWidget(label, r.row, r.column);
        grid->addWidget(r.field, r.row, r.column + 1, 1, r.span);
    }
    grid->setColumnStretch(1, 3);
    grid->setColumnStretch(3, 2);
    return area;
}

QWidget* MainWindow::buildListArea() {
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName("tabs");
    tabs_->setDocumentMode(true);
    const char* names[] = {"commandList", "listList", "recentlyCreated", "recentlyModified"};
    for (std::size_t i = 0; i < lists_.size(); ++i) {
        auto* list = new QListWidget(tabs_);
        list->setObjectName(names[i]);
        list->setUniformItemSizes(true);
        list->installEventFilter(this);
        list->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(list, &QWidget::customContextMenuRequested, this,
                [this, list](const QPoint& at) { showPrintMenu(list, at); });
        auto tab = static_cast<browser::Tab>(i);
        connect(list, &QListWidget::currentRowChanged, this, [this, tab](int row) {
            if (!updating_ && row >= 0) {
                browser_.clickEntry(tab, row);
            }
        });
        lists_[i] = list;
        tabs_->addTab(list, browser::kTabCaptions[i]);
    }
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) {
        if (!updating_ && index >= 0) {
            browser_.changeTab(static_cast<browser::Tab>(index));
        }
    });
    return tabs_;
}

QWidget* MainWindow::buildPreviewArea() {
    auto* area = new QWidget(this);
    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);

    auto* descriptionRow = new QHBoxLayout;
    description_ = new QLineEdit(area);
    description_->setObjectName("description");
    description_->setReadOnly(true); // editing comes with Modify
    auto* descriptionLabel = new QLabel("&Description", area);
    descriptionLabel->setBuddy(description_);
    descriptionRow->addWidget(descriptionLabel);
    descriptionRow->addWidget(description_, 1);
    layout->addLayout(descriptionRow);

    body_ = new QPlainTextEdit(area);
    body_->setObjectName("body");
    body_->setReadOnly(true);
    body_->installEventFilter(this);
    body_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(body_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { showPrintMenu(body_, at); });
    editStrip_ = new QLabel(area);
    editStrip_->setObjectName("editStrip");
    editStrip_->setTextFormat(Qt::PlainText); // a name like "open <apps>" is no markup
    editStrip_->setVisible(false);
    layout->addWidget(editStrip_);
    graphic_ = new RichView(area);
    graphic_->setObjectName("graphic");
    graphic_->setVisible(false);
    layout->addWidget(body_, 1);
    layout->addWidget(graphic_, 1);

    showGraphic_ = new QPushButton("Sho&w Graphic", area);
    modify_ = new QPushButton("&Modify", area);
    abandon_ = new QPushButton("A&bandon", area);
    save_ = new QPushButton("S&ave Changes", area);
    showGraphic_->setObjectName("showGraphic");
    modify_->setObjectName("modify");
    abandon_->setObjectName("abandon");
    save_->setObjectName("saveChanges");
    // Editing a body comes with the Save Changes work; until then these stay off.
    for (QPushButton* b : {modify_, abandon_, save_}) {
        b->setEnabled(false);
    }
    showGraphic_->setEnabled(false);
    connect(showGraphic_, &QPushButton::clicked, this, [this] { browser_.showGraphic(); });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(showGraphic_);
    buttons->addStretch();
    buttons->addWidget(modify_);
    buttons->addWidget(abandon_);
    buttons->addWidget(save_);
    layout->addLayout(buttons);
    return area;
}

QListWidget* MainWindow::list(browser::Tab tab) const {
    return lists_[static_cast<std::size_t>(tab)];
}

QLineEdit* MainWindow::field(const QString& name) const {
    return findChild<QLineEdit*>(name);
}

QAction* MainWindow::action(const QString& objectName) const {
    return findChild<QAction*>(objectName);
}

QMenu* MainWindow::selectionMenu(browser::MenuKind kind) const {
    switch (kind) {
    case browser::MenuKind::Program:
        return programMenu_;
    case browser::MenuKind::Scope:
        return scopeMenu_;
    case browser::MenuKind::Group:
        break;
    }
    return groupMenu_;
}

// Opening

void MainWindow::open(const browser::StartupResult& started) {
    applyFonts(started.fonts);
    browser_.readSettings();
    browser_.loadRecentlyUsed();
    browser_.buildMenus();
    browser_.start(started.program, started.scope);
    refresh();
    applyPlacement(started.placement);
    lists_[0]->setFocus();
    activateWindow();
    raise();
}

void MainWindow::applyFonts(const browser::Fonts& fonts) {
    fonts_ = fonts;
    QFont windowFont = font();
    if (fonts.size > 0) {
        windowFont.setPointSize(fonts.size);
    }
    setFont(windowFont);
    // Menus, dialogs and message boxes are windows of their own: they take the application's.
    static const QFont standard = QApplication::font();
    QFont shared = standard;
    if (fonts.size > 0) {
        shared.setPointSize(fonts.size);
    }
    QApplication::setFont(shared);
    graphic_->setFont(windowFont);
    static_cast<RichView*>(graphic_)->setFontSize(fonts.size);
    QFont listFont = settingsFont(fonts.listFont, fonts.size, QFontDatabase::GeneralFont);
    QFont fixedFont = settingsFont(fonts.fixedFont, fonts.size, QFontDatabase::FixedFont);
    lists_[0]->setFont(listFont);
    lists_[1]->setFont(listFont);
    lists_[2]->setFont(fixedFont);
    lists_[3]->setFont(fixedFont);
    body_->setFont(fixedFont);
}

void MainWindow::applyPlacement(const browser::WindowPlacement& p) {
    QRect normal(p.left, p.top, std::max(1, p.right - p.left), std::max(1, p.bottom - p.top));
    // Never smaller than the window can show without clipping, never off the screen.
    normal.setSize(normal.size().expandedTo(minimumSizeHint()));
    if (QScreen* screen = QApplication::primaryScreen()) {
        QRect area = screen->availableGeometry();
        normal.setSize(normal.size().boundedTo(area.size()));
        if (!area.intersects(normal)) {
            normal.moveTopLeft(area.topLeft());
        }
    }
    setGeometry(normal);
    if (p.maximized) {
        showMaximized();
    } else {
        show();
    }
}

browser::WindowPlacement MainWindow::placement() const {
    QRect normal = isMaximized() || isMinimized() ? normalGeometry() : geometry();
    browser::WindowPlacement p;
    p.left = normal.left();
    p.top = normal.top();
    p.right = normal.left() + normal.width();
    p.bottom = normal.top() + normal.height();
    p.maximized = isMaximized();
    return p;
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // A write in progress finishes first; the window closes right after it.
    if (editingBusy()) {
        closeAfterOperation_ = true;
        event->ignore();
        return;
    }
    if (!closing_ && !leaveEdit()) {
        event->ignore();
        return;
    }
    if (!closing_) {
        closing_ = true;
        if (help_) {
            help_->close();
        }
        startup_.shutDown(placement());
    }
    event->accept();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    return findKey(watched, event) || keyboardContextMenu(watched, event) ||
           QMainWindow::eventFilter(watched, event);
}

// Redrawing

void MainWindow::refresh() {
    const browser::Revisions& now = browser_.revisions();
    updating_ = true;
    if (firstRefresh_ || now.menus != seen_.menus) {
        // The menus are rebuilt after every parse, and so are the counts.
        refreshSelectionMenus();
        markCurrentEntries();
        showCounts();
    }
    if (firstRefresh_ || now.view != seen_.view) {
        refreshView();
    }
    for (std::size_t i = 0; i < lists_.size(); ++i) {
        if (firstRefresh_ || now.lists[i] != seen_.lists[i]) {
            refreshList(static_cast<browser::Tab>(i));
        }
    }
    if (firstRefresh_ || now.preview != seen_.preview) {
        refreshPreview();
    }
    if (firstRefresh_ || now.selection != seen_.selection) {
        refreshSelection();
    }
    seen_ = now;
    firstRefresh_ = false;
    updating_ = false;
    renderEditing(false);
}

void MainWindow::showCounts() {
    const Session& s = startup_.session();
    counts_->setText("Total Number of Commands / Lists:  " +
                     qs(dat::countsText(s.catalogue.countCommands(), s.file.listCount)));
}

void MainWindow::refreshList(browser::Tab tab) {
    const browser::EntryList& entries = browser_.list(tab);
    QListWidget* widget = list(tab);
    QSignalBlocker block(widget);
    // A new selection in the same entries (a click, Find Again) need not fill the list again.
    std::vector<std::string>& shown = shownEntries_[static_cast<std::size_t>(tab)];
    if (shown != entries.entries || widget->count() != static_cast<int>(shown.size())) {
        shown = entries.entries;
        widget->clear();
        QStringList items;
        items.reserve(static_cast<int>(shown.size()));
        for (const auto& e : shown) {
            items << qs(e);
        }
        widget->addItems(items);
    }
    if (entries.selected >= 0) {
        widget->setCurrentRow(entries.selected);
        widget->scrollToItem(widget->currentItem());
    }
}

void MainWindow::refreshPreview() {
    const browser::Preview& p = browser_.preview();
    group_->setText(qs(p.group));
    type_->setText(qs(p.type));
    states_->setText(qs(p.states));
    description_->setText(qs(p.description));
    showGraphic_->setEnabled(p.enabled.showGraphic);
    if (const auto& doc = browser_.graphic()) {
        static_cast<RichView*>(graphic_)->show(*doc);
        body_->setVisible(false);
        graphic_->setVisible(true);
        lists_[static_cast<std::size_t>(browser_.tab())]->setFocus();
    } else {
        showBody(p);
        graphic_->setVisible(false);
        body_->setVisible(true);
    }
}

void MainWindow::refreshSelection() {
    program_->setText(qs(browser_.program()));
    scope_->setText(qs(browser_.scope()));
    tabs_->setCurrentIndex(static_cast<int>(browser_.tab()));
    slider_->setValue(browser_.slider());
    panes_->setProportion(browser_.slider());
    markCurrentEntries();
}

// File menu

void MainWindow::fileOpen() {
    if (!leaveEdit()) {
        return;
    }
    dat::OpenDialogStart start = dat::openDialogStart(startup_.session());
    std::optional<std::string> chosen;
    if (chooseFile) {
        chosen = chooseFile(start);
    } else {
        QString folder = QDir(qs(start.folder)).exists() ? qs(start.folder) : QDir::homePath();
        QString path = QFileDialog::getOpenFileName(this, qs(start.title),
                                                    QDir(folder).filePath(qs(start.fileName)),
                                                    "MyCommands files (*.dat);;All files (*)");
        if (!path.isEmpty()) {
            chosen = path.toStdString();
        }
    }
    if (chosen) {
        afterFileOpened(dat::openFile(startup_.session(), *chosen));
    }
}

void MainWindow::fileReload() {
    if (!leaveEdit()) {
        return;
    }
    afterFileOpened(dat::reloadCurrentUserFile(startup_.session()));
}

void MainWindow::afterFileOpened(const dat::OpenResult& opened) {
    switch (opened.status) {
    case dat::OpenResult::Status::NotFound:
        return;
    case dat::OpenResult::Status::ProgramEnds:
        close();
        return;
    case dat::OpenResult::Status::Kept:
        // The file open before was read again: the same selection, shown afresh.
        editing_->view.refreshed();
        if (opened.rescue) {
            editing::rescueBeside(startup_.session().ui, *opened.rescue);
        }
        return;
    case dat::OpenResult::Status::Opened:
        break;
    }
    std::string restore, backup;
    if (opened.fileUser) {
        restore = dat::restoreCaption(*opened.fileUser);
        backup = dat::backupCaption(*opened.fileUser);
    }
    setFileCaptions(opened.caption, restore, backup);
    browser_.fileOpened(opened.program, opened.scope);
}

void MainWindow::setFileCaptions(const std::string& caption, const std::string& restore,
                                 const std::string& backup) {
    if (!caption.empty()) {
        setWindowTitle(qs(caption));
    }
    if (!restore.empty()) {
        restoreAction_->setText(qs(restore));
    }
    if (!backup.empty()) {
        backupAction_->setText(qs(backup));
    }
}

void MainWindow::fileReset() {
    if (editing::fileReset(startup_.session()) == dat::Outcome::ProgramEnds) {
        close();
    }
}

void MainWindow::fileProperties() {
    if (browser::showFileProperties(startup_.session())) {
        browser_.fileOpened(browser_.program(), browser_.scope());
    }
}

// Dialogs

void MainWindow::options() {
    OptionsDialog dialog(
        browser_.numberMenus(), [this](bool on) { browser_.setNumberMenus(on); }, fonts_.size,
        [this](int size) { setFontSize(size); }, [this] { showHelp(browser::kHelpOptions); }, this);
    dialog.exec();
    focusList();
}

void MainWindow::importOffered(browser::ImportOffer offer) {
    if (startup_.importOffered(offer)) {
        browser_.fileOpened(browser_.program(), browser_.scope());
    }
}

void MainWindow::about() {
    QMessageBox::about(this, "About Parlavista",
                       "<h3>Parlavista " PARLAVISTA_VERSION "</h3>"
                       "<p>A viewer and editor for the voice commands of Dragon "
                       "NaturallySpeaking 11, Professional series.</p>");
}

void MainWindow::showHelp(int context) {
    QString folder = qs(browser::helpFolder(startup_.programFolder()));
    if (!help_) {
        help_ = new HelpBrowser(folder, this);
    }
    // A modal dialog blocks every other window, so help opened from one must be modal itself
    // to answer; opened from the window it leaves the window usable.
    QWidget* modal = QApplication::activeModalWidget();
    Qt::WindowModality modality = modal && modal != help_ ? Qt::ApplicationModal : Qt::NonModal;
    if (help_->windowModality() != modality) {
        help_->hide();
        help_->setWindowModality(modality);
    }
    if (!help_->showPage(qs(browser::helpPage(context)))) {
        startup_.session().ui.warning("The help pages are missing from " + folder.toStdString(),
                                      "Parlavista Help");
        return;
    }
    help_->show();
    help_->raise();
}

void MainWindow::showCommandHelp() {
    showHelp(browser::kHelpContents);
    if (help_ && help_->isVisible()) {
        help_->showPage(browser::kHelpCommandsPage);
    }
}

} // namespace plv::gui
