// The Tools menu: the eight entries that open the Tools dialog, the four format conversions
// and Convert Language. The checks before and the post-write step after are the editing
// layer's; the window shows the dialogs and follows the selection they leave.
#include "browser/help.h"
#include "editing/tools_menu.h"
#include "gui/convert_help_dialog.h"
#include "gui/language_dialog.h"
#include "gui/main_window_editing.h"
#include "gui/tools_dialog.h"

#include <QMenu>
#include <QMenuBar>

namespace plv::gui {
namespace {

using editing::ToolsMode;

struct DialogEntry {
    const char* name;
    const char* caption;
    ToolsMode mode;
};

constexpr std::array<DialogEntry, 8> kDialogEntries = {{
    {"toolsexport", "&Export", ToolsMode::Export},
    {"toolsrenamegroup", "&Rename Group", ToolsMode::RenameGroup},
    {"toolsrenameprogram", "Rename &Program", ToolsMode::RenameProgram},
    {"toolsDelete", "&Delete", ToolsMode::Delete},
    {"toolsreplace", "&Search and Replace", ToolsMode::Replace},
    {"ToolsConvertDVC2Plain", "Convert DVC KEYS to Plain &Text", ToolsMode::DvcToPlain},
    {"ToolsConvertDVC2vba", "Convert DVC KEYS to &Advanced Scripting w/SendKeys",
     ToolsMode::DvcToVba},
    {"ToolsConvertDVC2vbasdk", "Convert DVC &KEYS to Advanced Scripting w/SendDragonKeys",
     ToolsMode::DvcToSdk},
}};
constexpr std::size_t kFirstKeysEntry = 5;

struct ConversionEntry {
    const char* name;
    const char* caption;
    const char* operation;
};

constexpr std::array<ConversionEntry, 4> kConversionEntries = {{
    {"toolsconvert260", "&Convert to 6.0", "convert260"},
    {"toolsconvert261", "Convert to 6.&1", "convert261"},
    {"toolsconvert270", "Convert to &7.x", "convert270"},
    {"toolsconvert280", "Convert to &8/9", "convert280"},
}};

} // namespace

void MainWindow::buildToolsMenu() {
    QMenu* m = menuBar()->addMenu("&Tools");
    m->setObjectName("toolsmenu");
    for (std::size_t i = 0; i < kDialogEntries.size(); ++i) {
        if (i == kFirstKeysEntry) {
            m->addSeparator();
        }
        const DialogEntry& e = kDialogEntries[i];
        addAction(m, e.name, e.caption, [this, mode = e.mode] { toolsDialog(mode); });
    }
    m->addSeparator();
    for (const auto& e : kConversionEntries) {
        addAction(m, e.name, e.caption, [this, op = e.operation] { convertFormat(op); });
    }
    addAction(m, "toolsconvertlanguage", "Convert &Language...", [this] { convertLanguage(); });
}

editing::WindowSelection MainWindow::windowSelection() const {
    editing::WindowSelection w;
    w.program = browser_.program();
    w.scope = browser_.scope();
    w.group = browser_.group();
    w.commandName = browser_.commandName();
    w.types.clear();
    for (char type : std::string(kAllTypeLetters)) {
        if (browser_.view().admits(std::string(1, type))) {
            w.types += type;
        }
    }
    return w;
}

void MainWindow::toolsDialog(ToolsMode mode) {
    std::optional<std::string> group;
    std::optional<std::string> exported;
    runEditing([&] {
        editing::Editor& e = editing_->editor;
        editing::Operation op(e);
        if (auto ready = editing::readyForToolsDialog(e, op, mode); ready != dat::Outcome::Done) {
            return ready;
        }
        if (mode == ToolsMode::DvcToPlain || mode == ToolsMode::DvcToVba) {
            offerKeysConversionHelp(
                startup_.settings(), [this] { showHelp(browser::kHelpKeysConversion); }, this);
        }
        editing::ToolsDialog state(e.road(), mode, windowSelection());
        ToolsDialogView view(state, this);
        view.exec();
        group = state.groupReset() ? std::optional<std::string>(kAllGroupsName) : state.newGroup();
        exported = state.fileToOpen();
        return editing::afterToolsDialog(e, state);
    });
    if (group) {
        chooseGroup(*group);
    }
    if (exported) {
        afterFileOpened(dat::openFile(startup_.session(), *exported));
    }
    focusList();
}

void MainWindow::chooseGroup(const std::string& group) {
    int at = browser_.menu(browser::MenuKind::Group).findFirst(group);
    if (at >= 0) {
        browser_.chooseGroup(static_cast<std::size_t>(at));
    }
}

void MainWindow::convertFormat(const char* operation) {
    runEditing([this, operation] {
        return editing::ConvertFormat(editing_->editor, *dat::findFormatConversion(operation));
    });
}

void MainWindow::convertLanguage() {
    runEditing([this] {
        return editing::ConvertLanguage(editing_->editor, [this](editing::LanguageConversion& c) {
            LanguageDialog dialog(c, startup_.session().file.path, this);
            return dialog.exec() == QDialog::Accepted;
        });
    });
    focusList();
}

} // namespace plv::gui
