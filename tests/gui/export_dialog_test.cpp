#include "gui/export_dialog.h"
#include "gui/qt_interaction.h"
#include "gui_fixture.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <gtest/gtest.h>

using namespace plv;
using browser::Tab;
using test::GuiRun;

namespace {

template <typename Widget> Widget* child(QWidget& parent, const char* name) {
    auto* w = parent.findChild<Widget*>(name);
    EXPECT_NE(w, nullptr) << name;
    return w;
}

// The text of a PDF file, as poppler reads it.
QString pdfText(const QString& path) {
    QProcess reader;
    reader.start("pdftotext", {"-layout", path, "-"});
    reader.waitForFinished(20000);
    return QString::fromUtf8(reader.readAllStandardOutput());
}

bool havePdfReader() {
    return !QStandardPaths::findExecutable("pdftotext").isEmpty();
}

} // namespace

TEST(ExportDialog, PrintsTheCommandListToAPdfFile) {
    if (!havePdfReader()) {
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    }
    GuiRun run;
    ASSERT_TRUE(run.start());
    ASSERT_TRUE(run.click(Tab::Commands, "copy that"));
    QString pdf = QString::fromStdString(run.dragon.dir.file("list.pdf"));
    gui::SaveFileQuestion asked;
    run.window().chooseSaveFile = [&](const gui::SaveFileQuestion& q) {
        asked = q;
        return std::optional<std::string>(pdf.toStdString());
    };
    GuiRun::withDialog(run.window().action("Filereport"), [&](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Print COMMAND list");
        EXPECT_TRUE(child<QRadioButton>(d, "toprinter")->isChecked());
        EXPECT_TRUE(child<QRadioButton>(d, "outputall")->isChecked());
        auto* printers = child<QComboBox>(d, "printers");
        EXPECT_EQ(printers->currentText(), QPrinterInfo::defaultPrinterName().isEmpty()
                                               ? "Print to PDF"
                                               : QPrinterInfo::defaultPrinterName());
        printers->setCurrentText("Print to PDF");
        child<QRadioButton>(d, "outputapp")->click();
        child<QPushButton>(d, "Command2")->click();
        EXPECT_FALSE(d.isVisible());
    });
    EXPECT_EQ(asked.extension, "pdf");
    QString text = pdfText(pdf);
    EXPECT_TRUE(text.contains("Global Commands Global Commands")) << text.toStdString();
    for (const char* name : {"copy that", "blood pressure template", "new paragraph please"}) {
        EXPECT_TRUE(text.contains(name)) << name;
    }
    EXPECT_FALSE(text.contains("WINWORD"));
    EXPECT_EQ(run.browser().commandName(), "copy that"); // the view is kept
}

TEST(ExportDialog, PrintToPdfChecksTheChoiceFirstAndReplacesAFileOnlyWhenAllowed) {
    namespace fs = std::filesystem;
    GuiRun run;
    ASSERT_TRUE(run.start());
    // The file chosen is a link to a file only its owner may read, beside a file whose name
    // differs in letter case only.
    std::string real = run.dragon.dir.write("synced/precious.pdf", "keep me");
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write);
    std::string chosen = run.dragon.dir.file("precious.pdf");
    fs::create_symlink(real, chosen);
    std::string other = run.dragon.dir.write("PRECIOUS.pdf", "another file");
    int asked = 0;
    run.window().chooseSaveFile = [&](const gui::SaveFileQuestion&) {
        ++asked;
        return std::optional<std::string>(chosen);
    };
    auto bytes = [](const std::string& path) { return files::readAll(path).value_or(""); };
    GuiRun::withDialog(run.window().action("Filereport"), [&](QDialog& d) {
        child<QComboBox>(d, "printers")->setCurrentText("Print to PDF");
        child<QRadioButton>(d, "outputselect")->click();
        child<QPushButton>(d, "Command2")->click();
        EXPECT_TRUE(run.ui.sawMessage("Nothing is selected to print/export", "Global Commands"));
        EXPECT_EQ(asked, 0) << "no file is asked for before the choice is checked";

        child<QRadioButton>(d, "outputall")->click();
        child<QPushButton>(d, "Command2")->click(); // "Overwrite?" answered Cancel
        EXPECT_TRUE(run.ui.sawMessage("File already exists.  Overwrite?", chosen));
        ASSERT_TRUE(d.isVisible());
        fs::permissions(real, fs::perms::owner_read | fs::perms::group_read);
        child<QPushButton>(d, "Command2")->click();
        EXPECT_TRUE(run.ui.sawMessage(files::readOnlyMessage(chosen), chosen));
        ASSERT_TRUE(d.isVisible());
        EXPECT_EQ(bytes(real), "keep me");

        fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write);
        run.ui.answerOk(true);
        child<QPushButton>(d, "Command2")->click();
        EXPECT_FALSE(d.isVisible());
    });
    EXPECT_EQ(bytes(real).substr(0, 5), "%PDF-");
    EXPECT_TRUE(fs::is_symlink(chosen));
    EXPECT_EQ(fs::status(real).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(bytes(other), "another file");
}

TEST(ExportDialog, PickAndChooseToTheClipboardAndToAFile) {
    GuiRun run;
    ASSERT_TRUE(run.start());
    GuiRun::withDialog(run.window().action("filepseudo"), [&](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Export to pseudo dvc");
        auto* names = child<QListWidget>(d, "names");
        EXPECT_FALSE(names->isEnabled());
        child<QRadioButton>(d, "outputselect")->click();
        child<QRadioButton>(d, "ToClipboard")->click();
        EXPECT_FALSE(child<QLineEdit>(d, "filename")->isVisible());
        names->findItems("copy that", Qt::MatchExactly).front()->setSelected(true);
        child<QPushButton>(d, "Command2")->click();
        EXPECT_FALSE(d.isVisible());
    });
    // The picked command only, in the clipboard's line breaks.
    QString picked = QApplication::clipboard()->text();
    EXPECT_EQ(picked.count("COMMAND "), 1);
    EXPECT_TRUE(picked.contains("\t\tCOMMAND \"copy that\" {\n\t\t\tKEYS {\n\t\t\t\t{Ctrl+c}\n"));
    EXPECT_FALSE(picked.contains('\r'));

    // A follow view's names are picked already, its file named after the command.
    ASSERT_TRUE(run.click(Tab::Commands, "refer to <specialist>"));
    run.window().action("viewfollowcommand")->trigger();
    GuiRun::withDialog(run.window().action("filepseudo"), [&](QDialog& d) {
        auto* pick = child<QRadioButton>(d, "outputselect");
        EXPECT_EQ(pick->text(), "See belo&w");
        EXPECT_TRUE(pick->isChecked());
        EXPECT_EQ(child<QLineEdit>(d, "filename")->text().toStdString(),
                  files::join(run.dragon.home, "refer to [specialist].pseudo"));
        child<QRadioButton>(d, "ToClipboard")->click();
        child<QPushButton>(d, "Command2")->click();
        EXPECT_FALSE(d.isVisible());
    });
    EXPECT_TRUE(QApplication::clipboard()->text().contains("COMMAND \"refer to <specialist>\""));
    run.window().action("viewall")->trigger();

    // The DVC listing leaves out what the old format cannot hold, not what the View shows.
    auto ticks = [&] {
        QString out;
        for (QAction* a : run.window().findChild<QMenu*>("ViewMenu")->actions()) {
            out += a->isChecked() ? '1' : '0';
        }
        return out;
    };
    ASSERT_TRUE(run.window().action("viewA")->isChecked());
    QString before = ticks();
    GuiRun::withDialog(run.window().action("filedvc"), [&](QDialog& d) {
        child<QRadioButton>(d, "ToClipboard")->click();
        child<QPushButton>(d, "Command2")->click();
    });
    QString dvc = QApplication::clipboard()->text();
    EXPECT_TRUE(dvc.contains("COMMAND \"copy that\"") && dvc.contains("COMMAND \"start my mail\""));
    EXPECT_FALSE(dvc.contains("insert today's date") || dvc.contains("Advanced Script"));
    EXPECT_EQ(ticks(), before);

    std::string file = run.dragon.dir.file("letter.csv");
    run.window().chooseSaveFile = [&](const gui::SaveFileQuestion& q) {
        EXPECT_EQ(q.folder, run.dragon.home);
        return std::optional<std::string>(file);
    };
    GuiRun::withDialog(run.window().action("FileExcel"), [&](QDialog& d) {
        auto* name = child<QLineEdit>(d, "filename");
        EXPECT_EQ(name->text().toStdString(), files::join(run.dragon.home, "global.csv"));
        child<QPushButton>(d, "specify")->click();
        EXPECT_EQ(name->text().toStdString(), file);
        child<QRadioButton>(d, "outputstate")->click(); // proposes a name again
        EXPECT_EQ(name->text().toStdString(), files::join(run.dragon.home, "Global Commands.csv"));
        name->clear();
        QTest::keyClicks(name, QString::fromStdString(file));
        child<QPushButton>(d, "Command2")->click();
    });
    auto written = files::readAll(file);
    ASSERT_TRUE(written);
    EXPECT_EQ(written->rfind("\"Global Commands\",\"Global Commands\",\"", 0), 0u);
    EXPECT_EQ(run.app->startup().session().catalogue.flaggedRows().size(), 0u);
}

TEST(ExportDialog, PrintMacroFromTheListPrintsTheCommandShown) {
    if (!havePdfReader() || !QPrinterInfo::defaultPrinterName().isEmpty()) {
        GTEST_SKIP() << "needs pdftotext and a machine without a printer";
    }
    GuiRun run;
    ASSERT_TRUE(run.start());
    ASSERT_TRUE(run.click(Tab::Commands, "copy that"));
    QString pdf = QString::fromStdString(run.dragon.dir.file("macro.pdf"));
    run.window().chooseSaveFile = [&](const gui::SaveFileQuestion&) {
        return std::optional<std::string>(pdf.toStdString());
    };
    QTimer::singleShot(0, [] {
        auto* popup = QApplication::activePopupWidget();
        ASSERT_NE(popup, nullptr);
        QAction* print = popup->findChild<QAction*>("popupprint2");
        ASSERT_NE(print, nullptr);
        EXPECT_EQ(print->text(), "P&rint Macro");
        print->trigger();
        popup->close();
    });
    QListWidget* list = run.window().list(Tab::Commands);
    emit list->customContextMenuRequested(QPoint(5, 5));
    QString text = pdfText(pdf);
    for (const char* line : {"Program: Global Commands", "Scope: Global Commands",
                             "CommandName: copy that", "{Ctrl+c}"}) {
        EXPECT_TRUE(text.contains(line)) << line << "\n" << text.toStdString();
    }
}

TEST(ExportDialog, ChoiceQuestionsTakeTheButtonsLetters) {
    gui::QtInteraction ui;
    const std::vector<std::string> buttons = {"&Yes", "&No", "Ye&s to all", "N&o to all",
                                              "&Cancel Export"};
    for (auto [key, expected] : {std::pair{Qt::Key_S, 2u}, std::pair{Qt::Key_O, 3u},
                                 std::pair{Qt::Key_N, 1u}, std::pair{Qt::Key_Escape, 4u}}) {
        QTimer::singleShot(
            0, [key = key] { QTest::keyClick(QApplication::activeModalWidget(), key); });
        EXPECT_EQ(ui.choice("exists", "Overwrite?", buttons, 4), expected);
    }
}
