// Dragon XML in the main window: File > "Export to Dragon XML..." opens the Export/Report
// dialog on the XML format; File > "Import Dragon XML..." asks for the XML file and imports
// it into the open file on the editing road.
#include "datfile/file_commands.h"
#include "editing/import_xml.h"
#include "gui/main_window.h"
#include "gui/main_window_editing.h"

#include <QDir>
#include <QFileDialog>
#include <QMenu>

namespace plv::gui {
namespace {

QString qs(const std::string& text) {
    return QString::fromStdString(text);
}

dat::OpenDialogStart xmlDialogStart(const Session& s) {
    dat::OpenDialogStart start = dat::openDialogStart(s);
    start.fileName.clear();
    start.defaultExtension = ".xml";
    start.filter = "Dragon XML files (.xml)|*.xml|All files (*.*)|*.*";
    start.title = "Import Dragon XML";
    return start;
}

} // namespace

void MainWindow::addXmlActions(QMenu* fileMenu) {
    addAction(fileMenu, "filexmlexport", "Export to &Dragon XML...",
              [this] { exportReport(exports::Format::Xml); });
    addAction(fileMenu, "filexmlimport", "&Import Dragon XML...", [this] {
        dat::OpenDialogStart start = xmlDialogStart(startup_.session());
        std::optional<std::string> chosen;
        if (chooseFile) {
            chosen = chooseFile(start);
        } else {
            QString folder = QDir(qs(start.folder)).exists() ? qs(start.folder) : QDir::homePath();
            QString path = QFileDialog::getOpenFileName(this, qs(start.title), folder,
                                                        "Dragon XML files (*.xml);;All files (*)");
            if (!path.isEmpty()) {
                chosen = path.toStdString();
            }
        }
        if (chosen) {
            runEditing(
                [this, path = *chosen] { return editing::ImportXml(editing_->editor, path); });
        }
    });
}

} // namespace plv::gui
