#include "browser/help.h"
#include "gui/command_line.h"
#include "gui/help_browser.h"
#include "gui_fixture.h"
#include "platform/files.h"
#include "platform/profile.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTextBrowser>
#include <gtest/gtest.h>

using namespace plv;
using browser::MenuKind;
using browser::Tab;
using test::GuiRun;

TEST(MainWindow, OpensOnGlobalCommandsWithItsMenusAndSelectsByProgramAndScope) {
    GuiRun run;
    ASSERT_TRUE(run.start());
    gui::MainWindow& w = run.window();
    EXPECT_EQ(
        GuiRun::captions(w.menuBar()->findChild<QMenu*>("filemenu")),
        (QStringList{"&Open", "Compare &with...", "Print Current Command", "&Print COMMAND list...",
                     "&Export to dvc...", "Export to pse&udo dvc...", "Export to &spreadsheet...",
                     "Export to &Dragon XML...", "&Import Dragon XML...",
                     "Re&load current user mycmds.dat", "&Re-specify DNS path",
                     "Restore user 'Demo' &mycmds.dat", "Bac&kup user 'Demo' mycmds.dat",
                     "Proper&ties", "E&xit"}));
    QStringList bar;
    for (QAction* a : w.menuBar()->actions()) {
        bar << a->text();
    }
    EXPECT_EQ(bar, (QStringList{"&File", "&Tools", "&Edit", "&View", "P&rogram", "&Scope", "&Group",
                                "&Pro", "&Help"}));
    EXPECT_TRUE(w.windowTitle().startsWith("Parlavista - "));
    EXPECT_TRUE(w.windowTitle().endsWith("mycmds.dat (10/11)"));
    EXPECT_EQ(w.tabs()->tabText(2), "Rece&ntly Created");
    EXPECT_EQ(w.countsLabel()->text(), "Total Number of Commands / Lists:  80 /7");

    EXPECT_EQ(run.field("program"), "Global Commands");
    EXPECT_EQ(run.field("scope"), "Global Commands");
    EXPECT_TRUE(run.entries(Tab::Commands).contains("copy that"));
    EXPECT_EQ(w.list(Tab::Commands)->currentRow(), 0);
    EXPECT_FALSE(w.bodyEditor()->toPlainText().isEmpty());

    QStringList programs = GuiRun::captions(w.selectionMenu(MenuKind::Program));
    EXPECT_EQ(programs.front().section(" - ", -1), "Global Commands");
    ASSERT_TRUE(GuiRun::choose(w.selectionMenu(MenuKind::Program), "WINWORD"));
    ASSERT_TRUE(GuiRun::choose(w.selectionMenu(MenuKind::Scope), "Discharge Summary"));
    EXPECT_EQ(run.field("program"), "WINWORD");
    EXPECT_EQ(run.field("scope"), "Discharge Summary");
    EXPECT_EQ(run.entries(Tab::Commands),
              (QStringList{"diagnosis heading", "discharge follow up", "next heading"}));
}

TEST(MainWindow, ViewTicksAndGroupFilterShapeTheList) {
    GuiRun run;
    ASSERT_TRUE(run.start());
    gui::MainWindow& w = run.window();
    ASSERT_TRUE(run.entries(Tab::Commands).contains("copy that")); // a KEYS command
    w.action("viewK")->trigger();
    EXPECT_FALSE(w.action("viewK")->isChecked());
    EXPECT_FALSE(w.action("viewall")->isChecked());
    EXPECT_FALSE(w.action("viewmycmds")->isEnabled());
    EXPECT_FALSE(run.entries(Tab::Commands).contains("copy that"));
    EXPECT_TRUE(run.entries(Tab::Commands).contains("open patient records")); // SCRIPT stays
    w.action("viewK")->trigger();
    EXPECT_TRUE(w.action("viewall")->isChecked());
    EXPECT_TRUE(run.entries(Tab::Commands).contains("copy that"));

    ASSERT_TRUE(GuiRun::choose(w.selectionMenu(MenuKind::Group), "Outlook Mail"));
    EXPECT_EQ(run.field("program"), "OUTLOOK");
    EXPECT_EQ(GuiRun::captions(w.selectionMenu(MenuKind::Program)).size(), 1);
    w.action("viewonlyP")->trigger();
    EXPECT_FALSE(w.action("viewK")->isChecked());
    EXPECT_EQ(run.entries(Tab::Commands), QStringList{"Nothing to show"});
    EXPECT_EQ(w.bodyEditor()->toPlainText(),
              "Please pick a different Program, Scope, View, or Group");
    w.action("viewall")->trigger();
    ASSERT_TRUE(GuiRun::choose(w.selectionMenu(MenuKind::Group), "All groups"));
    EXPECT_GT(GuiRun::captions(w.selectionMenu(MenuKind::Program)).size(), 3);
}

TEST(MainWindow, PreviewShowsEachTypeAndItsGraphic) {
    GuiRun run;
    ASSERT_TRUE(run.start());
    gui::MainWindow& w = run.window();
    auto* showGraphic = w.findChild<QPushButton*>("showGraphic");
    struct Case {
        const char* name;
        const char* type;
        bool modify;
    };
    // Which types may be edited is the browser's; here the widgets follow it.
    const Case cases[] = {{"copy that", "KEYS", true},
                          {"insert letterhead", "Text & Graphics", false},
                          {"open practice calendar", "Step by Step", false},
                          {"insert today's date", "Advanced Script", true}};
    for (const Case& c : cases) {
        ASSERT_TRUE(run.click(Tab::Commands, c.name)) << c.name;
        EXPECT_EQ(run.field("type"), c.type) << c.name;
        EXPECT_EQ(w.findChild<QPushButton*>("modify")->isEnabled(), c.modify) << c.name;
        EXPECT_EQ(w.action("commandclone")->isEnabled(), c.modify) << c.name;
        EXPECT_EQ(showGraphic->isEnabled(), std::string(c.type) == "Text & Graphics") << c.name;
        EXPECT_TRUE(w.bodyEditor()->isVisibleTo(&w)) << c.name;
    }
    ASSERT_TRUE(run.click(Tab::Commands, "insert letterhead"));
    EXPECT_TRUE(w.bodyEditor()->toPlainText().startsWith("<<< "));
    EXPECT_TRUE(w.bodyEditor()->toPlainText().contains(" byte graphic not shown >>> "));
    showGraphic->click();
    EXPECT_FALSE(w.bodyEditor()->isVisibleTo(&w));
    EXPECT_TRUE(w.graphicView()->isVisibleTo(&w));
    EXPECT_FALSE(showGraphic->isEnabled());
    ASSERT_TRUE(run.browser().graphic());
    ASSERT_FALSE(run.browser().graphic()->images.empty());
    QUrl picture(QString::fromStdString(run.browser().graphic()->images.front().name));
    EXPECT_TRUE(w.graphicView()->toHtml().contains(picture.toString()));
    QImage image =
        w.graphicView()->loadResource(QTextDocument::ImageResource, picture).value<QImage>();
    EXPECT_GT(image.width(), 0);
    // Another entry brings the body editor back.
    ASSERT_TRUE(run.click(Tab::Commands, "copy that"));
    EXPECT_TRUE(w.bodyEditor()->isVisibleTo(&w));
    EXPECT_FALSE(w.graphicView()->isVisibleTo(&w));

    ASSERT_TRUE(run.click(Tab::Commands, "insert prescription disclaimer"));
    EXPECT_EQ(w.bodyEditor()->toPlainText(),
              "This command has been encrypted, and cannot be edited");
    EXPECT_FALSE(w.findChild<QPushButton*>("modify")->isEnabled());
}

TEST(MainWindow, RecentlyUsedSurvivesARestartAndMenusNumberOnce) {
    GuiRun run;
    ASSERT_TRUE(run.start());
    ASSERT_TRUE(GuiRun::choose(run.window().selectionMenu(MenuKind::Program), "OUTLOOK"));
    ASSERT_TRUE(run.click(Tab::Commands, "send it now"));
    run.browser().recordRecentlyUsed(true);
    run.stop();

    ASSERT_TRUE(run.start());
    gui::MainWindow& w = run.window();
    w.tabs()->setCurrentIndex(static_cast<int>(Tab::RecentlyModified));
    QStringList recent = run.entries(Tab::RecentlyModified);
    ASSERT_EQ(recent.size(), 1);
    EXPECT_TRUE(recent.front().startsWith("send it now "));
    EXPECT_EQ(recent.front().mid(49), "OUTLOOK");
    EXPECT_EQ(run.field("program"), "OUTLOOK");
    EXPECT_EQ(w.list(Tab::RecentlyModified)->font().family(),
              w.bodyEditor()->font().family()); // the fixed-pitch font

    QMenu* programs = w.selectionMenu(MenuKind::Program);
    GuiRun::openMenu(programs);
    GuiRun::openMenu(programs);
    QStringList texts = GuiRun::captions(programs);
    EXPECT_EQ(texts.front(), "&1 - Global Commands");
    EXPECT_FALSE(texts.join("|").contains(" - 1 - "));
    GuiRun::openMenu(w.selectionMenu(MenuKind::Group));
    EXPECT_EQ(GuiRun::captions(w.selectionMenu(MenuKind::Group)).back(), "All groups");
}

TEST(MainWindow, VoiceSliderAndTabsFromTheStandIn) {
    GuiRun run;
    ASSERT_TRUE(run.start());
    gui::MainWindow& w = run.window();
    dragon::RecordingVoiceCommands& voice = run.app->startup().standIns()->voice();
    voice.inject(5, "slider 3");
    EXPECT_EQ(w.slider()->value(), 3);
    EXPECT_TRUE(voice.speak("lists"));
    EXPECT_EQ(w.tabs()->currentIndex(), static_cast<int>(Tab::Lists));
    // The slider sets the share of the list area.
    w.resize(700, 700);
    w.slider()->setValue(2);
    int small = w.tabs()->height();
    w.slider()->setValue(8);
    EXPECT_GT(w.tabs()->height(), small);
    EXPECT_EQ(run.app->startup().settings().read("slider", ""), "8");
}

TEST(MainWindow, FileOpenPropertiesHelpAndAFileThatDoesNotParse) {
    GuiRun run;
    ASSERT_TRUE(run.start());
    gui::MainWindow& w = run.window();
    std::string sample = test::samplePath("move-dock_window.dat");
    w.chooseFile = [&](const dat::OpenDialogStart& start) {
        EXPECT_EQ(start.title, "Choose file to Open");
        return std::optional<std::string>(sample);
    };
    w.action("fileopen")->trigger();
    EXPECT_TRUE(w.windowTitle().contains("move-dock_window.dat"));
    EXPECT_FALSE(
        GuiRun::captions(w.selectionMenu(MenuKind::Program)).join("|").contains("WINWORD"));
    EXPECT_NE(run.entries(Tab::Commands).front(), "Nothing to show");
    EXPECT_EQ(w.countsLabel()->text(), "Total Number of Commands / Lists:  1 /2");

    run.ui.clear();
    w.action("fileproperties")->trigger();
    ASSERT_EQ(run.ui.shown().size(), 1u);
    EXPECT_EQ(run.ui.shown()[0].title, sample);
    EXPECT_TRUE(run.ui.shown()[0].text.find("#Commands:") != std::string::npos);

    w.action("filereload")->trigger();
    EXPECT_TRUE(w.windowTitle().endsWith("mycmds.dat (10/11)"));
    EXPECT_TRUE(GuiRun::captions(w.selectionMenu(MenuKind::Program)).join("|").contains("WINWORD"));

    w.action("helpcommands")->trigger();
    ASSERT_NE(w.helpBrowser(), nullptr);
    EXPECT_TRUE(w.helpBrowser()->isVisible());
    EXPECT_EQ(w.helpBrowser()->currentPage(), "commands.html");
    w.showHelp(browser::kHelpOptions);
    EXPECT_EQ(w.helpBrowser()->currentPage(), "options.html");

    // A file that does not parse is told; the window keeps the file, catalogue and command
    // it showed.
    ASSERT_TRUE(run.click(Tab::Commands, "copy that"));
    QString title = w.windowTitle();
    QString counts = w.countsLabel()->text();
    QStringList programs = GuiRun::captions(w.selectionMenu(MenuKind::Program));
    std::string bytes = test::readSample("clear_flag.dat");
    std::string damaged = files::join(run.dragon.home, "damaged.dat");
    files::writeAll(damaged, bytes.substr(0, bytes.size() / 2));
    sample = damaged;
    run.ui.clear();
    w.action("fileopen")->trigger();
    ASSERT_EQ(run.ui.shown().size(), 1u);
    EXPECT_EQ(run.ui.shown()[0].kind, ScriptedInteraction::Kind::Choice);
    EXPECT_EQ(run.ui.shown()[0].title, damaged);
    EXPECT_TRUE(run.ui.shown()[0].text.find("damaged.dat\n\nThe above file has a problem") == 0);
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.windowTitle(), title);
    EXPECT_EQ(w.countsLabel()->text(), counts);
    EXPECT_EQ(GuiRun::captions(w.selectionMenu(MenuKind::Program)), programs);
    EXPECT_EQ(w.list(Tab::Commands)->currentItem()->text(), "copy that");
    EXPECT_EQ(w.bodyEditor()->toPlainText(), "{Ctrl+c}");
    EXPECT_TRUE(files::exists(files::join(run.dragon.home, "error.log")));
    EXPECT_FALSE(files::exists(files::join(run.dragon.home, "damaged.rescued.dat")));

    // Asked to, the window rescues what the damaged file still holds into a copy beside it.
    run.ui.answerChoice("&Rescue what can be read...");
    w.action("fileopen")->trigger();
    EXPECT_EQ(w.windowTitle(), title);
    EXPECT_EQ(files::readAll(damaged), bytes.substr(0, bytes.size() / 2));
    std::string rescued = files::join(run.dragon.home, "damaged.rescued.dat");
    ASSERT_TRUE(files::exists(rescued));
    sample = rescued;
    w.action("fileopen")->trigger();
    EXPECT_TRUE(w.windowTitle().contains("damaged.rescued.dat"));
}

TEST(CommandLine, OptionsComeBeforeTheArgument) {
    std::string error;
    auto line = gui::parseCommandLine({"--home", "/h", "--dragon-root", "/r", "--screenshot",
                                       "w.png", "Inbox", "-", "Microsoft", "Outlook"},
                                      error);
    ASSERT_TRUE(line);
    EXPECT_EQ(line->startup.home, "/h");
    EXPECT_EQ(line->startup.dragonRoot, "/r");
    EXPECT_EQ(line->screenshot, "w.png");
    EXPECT_EQ(line->startup.argument, "Inbox - Microsoft Outlook");
    EXPECT_EQ(gui::parseCommandLine({"mycmds.dat", "--home"}, error)->startup.argument,
              "mycmds.dat --home");
    EXPECT_FALSE(gui::parseCommandLine({"--home"}, error));
    EXPECT_EQ(error, "--home needs a value");
    EXPECT_FALSE(gui::parseCommandLine({"--colour", "x"}, error));
    EXPECT_TRUE(gui::parseCommandLine({"--version"}, error)->version);
}

TEST(Program, ScreenshotOptionWritesAPictureOfTheWindow) {
    test::DemoDragon dragon;
    std::string picture = files::join(dragon.home, "window.png");
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    program.setProcessEnvironment(env);
    program.start(PARLAVISTA_PROGRAM,
                  {"--home", QString::fromStdString(dragon.home), "--dragon-root",
                   QString::fromStdString(dragon.root), "--screenshot",
                   QString::fromStdString(picture), "global commands"});
    ASSERT_TRUE(program.waitForFinished(30000));
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
    QImage image(QString::fromStdString(picture));
    EXPECT_GT(image.width(), 400);
    EXPECT_GT(image.height(), 400);
}

TEST(MainWindow, PlacementIsRestoredAndStoredAndResetEndsTheProgram) {
    GuiRun run;
    ASSERT_TRUE(run.start());
    run.stop();
    Profile ini(files::join(run.dragon.home, "Parlavista.INI"));
    EXPECT_EQ(ini.get("Parlavista", "maximized"), "0");
    for (auto [key, value] : {std::pair{"form left", "120"},
                              {"form top", "80"},
                              {"form right", "900"},
                              {"form bottom", "700"}}) {
        ini.write("Parlavista", key, value);
    }
    ini.write("Parlavista", "maximized", "1");

    ASSERT_TRUE(run.start());
    gui::MainWindow& w = run.window();
    EXPECT_TRUE(w.isMaximized());
    EXPECT_EQ(w.normalGeometry(), QRect(120, 80, 780, 620));
    run.ui.clear();
    run.ui.answerYes(true);
    w.action("filereset")->trigger();
    EXPECT_FALSE(w.isVisible());
    ini.reload();
    EXPECT_EQ(ini.get("Parlavista", "maximized"), "1");
    EXPECT_EQ(ini.get("Parlavista", "form right"), "900");
    run.stop();
    // The next start finds the catalogue empty and parses the file again.
    ASSERT_TRUE(run.start());
    EXPECT_TRUE(run.app->started().parsed);
}
