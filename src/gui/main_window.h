#pragma once

#include "browser/browser.h"
#include "browser/startup.h"
#include "datfile/file_commands.h"
#include "datfile/rewrite.h"
#include "gui/export_dialog.h"

#include <QMainWindow>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QSlider;
class QTabWidget;
class QTextBrowser;
class QProgressBar;

namespace plv::editing {
class Editor;
struct WindowSelection;
enum class ToolsMode;
} // namespace plv::editing

namespace plv::gui {

class FindDialog;
class HelpBrowser;
class PaneArea;
class QtInteraction;

// Form1, the main window: a view over the browser's state that hands every click and
// choice to it. Find, the follow views, the Command menu, Save Changes, Backup, Restore and
// the Tools menu work here; printing, the File menu's exports and View Description are
// present in the menus, disabled.
class MainWindow : public QMainWindow {
    Q_OBJECT
  public:
    MainWindow(browser::Startup& startup, browser::Browser& browser,
               const browser::StartupResult& started, QtInteraction* ui);
    ~MainWindow() override;

    // Applies the settings read at start-up (fonts, slider, placement) and shows the window
    // on the initial selection.
    void open(const browser::StartupResult& started);

    // File > Open asks for a file through this; tests answer without a dialog.
    std::function<std::optional<std::string>(const dat::OpenDialogStart&)> chooseFile;
    // The exports ask for a file to write (Specify, "Print to PDF") through this.
    SaveFileChooser chooseSaveFile;

    // The widgets, by what they show, for tests and for the screenshot.
    QTabWidget* tabs() const { return tabs_; }
    QListWidget* list(browser::Tab tab) const;
    QPlainTextEdit* bodyEditor() const { return body_; }
    QTextBrowser* graphicView() const { return graphic_; }
    QLineEdit* field(const QString& name) const;
    QSlider* slider() const { return slider_; }
    QAction* action(const QString& objectName) const;
    QMenu* selectionMenu(browser::MenuKind kind) const;
    HelpBrowser* helpBrowser() const { return help_; }
    // Edit > Find's dialog, once it has been opened.
    FindDialog* findDialog() const { return findDialog_; }
    QLabel* countsLabel() const { return counts_; }

    // The window's editing state and commands.
    editing::Editor& editor() const;

    // Help: the contents page, a context number, or the commands page.
    void showHelp(int context);
    void showCommandHelp();

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildWidgets();
    QWidget* buildFieldsArea();
    QWidget* buildListArea();
    QWidget* buildPreviewArea();
    void buildMenus();
    void buildFileMenu();
    void buildToolsMenu();
    void buildEditMenu();
    void buildViewMenu();
    void buildSliderMenu(QMenu* view);
    void buildCommandMenu();
    void buildHelpMenu();
    QAction* addAction(QMenu* menu, const QString& objectName, const QString& caption,
                       std::function<void()> run = {});
    void applyFonts(const browser::Fonts& fonts);
    void applyPlacement(const browser::WindowPlacement& placement);
    browser::WindowPlacement placement() const;

    // Redraws what the browser changed since the last call.
    void refresh();
    void refreshSelectionMenus();
    void fillSelectionMenu(browser::MenuKind kind);
    void markCurrentEntries();
    void refreshView();
    void refreshList(browser::Tab tab);
    void refreshPreview();
    void refreshSelection();
    void showCounts();

    // File menu.
    void fileOpen();
    void fileReload();
    void fileReset();
    void fileProperties();
    void afterFileOpened(const dat::OpenResult& opened);
    void setFileCaptions(const std::string& caption, const std::string& restore,
                         const std::string& backup);
    void options();
    void about();
    // Help > the two imports that the first start offers.
    void importOffered(browser::ImportOffer offer);

    // Find (main_window_find.cpp).
    void find();
    void findStep(browser::FindStep step);
    bool findKey(QObject* watched, QEvent* event);
    void showBody(const browser::Preview& preview);

    // The Tools menu (main_window_tools.cpp).
    void toolsDialog(editing::ToolsMode mode);
    void convertFormat(const char* operation);
    void convertLanguage();
    editing::WindowSelection windowSelection() const;
    void chooseGroup(const std::string& group);

    // Editing (main_window_editing.cpp).
    struct Editing;
    void setUpEditing(const browser::StartupResult& started);
    void connectEditing();
    void listenForSpeakerChanges();
    void runEditing(const std::function<dat::Outcome()>& operation);
    bool editingBusy() const;
    // An edit with changes asks Save Changes / Abandon / Cancel: false when it stays.
    bool leaveEdit();
    // Enter or typing on the read-only body starts Modify.
    bool startsEditing(QEvent* event);
    void showEditStrip();
    void rebuildRestoreMenu();
    // Shows the edit state; `fromEditor` when the editor changed it (else the browser).
    void renderEditing(bool fromEditor);
    void showEditedTexts();
    // A name added to a list while its command is being made.
    void showPendingEntry(int tab, const std::string& name, bool atTop);
    void applyEditEnabling();

    // Differences and problems (main_window_checks.cpp).
    void restoreWithPreview(const std::string& entry);
    void compareWith();
    void showProblems();
    // Keys, focus and accessible names (main_window_keys.cpp).
    void buildKeys();
    void setTabOrder();
    void nameForAccessibility();
    bool keyboardContextMenu(QObject* watched, QEvent* event);
    // The list of the current tab takes the focus, unless a command is being edited.
    void focusList();
    // The window and its list take the keys after a line of a list beside it opened a command.
    void showOpenedCommand();
    bool browsing() const;
    // The font size of the whole window: the lists, the body, the formatted view.
    void setFontSize(int size);

    // Exports and printing (main_window_exports.cpp).
    void exportReport(exports::Format format);
    exports::ExportView exportView() const;
    void printCurrentCommand();
    void showPrintMenu(QWidget* widget, const QPoint& at);
    // Dragon XML's two File menu entries (main_window_xml.cpp).
    void addXmlActions(QMenu* fileMenu);

    browser::Startup& startup_;
    browser::Browser& browser_;
    QtInteraction* ui_;
    browser::Revisions seen_;
    bool firstRefresh_ = true;
    bool updating_ = false;
    bool closing_ = false;

    QLineEdit* program_ = nullptr;
    QLineEdit* scope_ = nullptr;
    QLineEdit* group_ = nullptr;
    QLineEdit* type_ = nullptr;
    QLineEdit* states_ = nullptr;
    QLineEdit* description_ = nullptr;
    QLabel* counts_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    std::array<QListWidget*, 4> lists_{};
    std::array<std::vector<std::string>, 4> shownEntries_;
    QPlainTextEdit* body_ = nullptr;
    QTextBrowser* graphic_ = nullptr;
    QPushButton* showGraphic_ = nullptr;
    QPushButton* modify_ = nullptr;
    QPushButton* abandon_ = nullptr;
    QPushButton* save_ = nullptr;
    QLabel* editStrip_ = nullptr;
    QSlider* slider_ = nullptr;
    browser::Fonts fonts_;
    PaneArea* panes_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* status_ = nullptr;

    QMenu* programMenu_ = nullptr;
    QMenu* scopeMenu_ = nullptr;
    QMenu* groupMenu_ = nullptr;
    std::map<char, QAction*> typeActions_;
    QAction* allAction_ = nullptr;
    QAction* legacyAction_ = nullptr;
    QAction* mycmdsAction_ = nullptr;
    QAction* restoreAction_ = nullptr;
    QAction* backupAction_ = nullptr;
    QAction* followCommandAction_ = nullptr;
    QAction* followListAction_ = nullptr;
    HelpBrowser* help_ = nullptr;
    FindDialog* findDialog_ = nullptr;
    std::unique_ptr<Editing> editing_;
    bool closeAfterOperation_ = false;
};

} // namespace plv::gui
