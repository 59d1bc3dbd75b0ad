#include "gui/qt_interaction.h"
#include "gui/qt_waits.h"

#include <QApplication>
#include <QProgressDialog>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

using namespace plv;

TEST(Waits, TheWindowStaysResponsiveWhileItWaits) {
    gui::QtWaits waits;
    bool timerRan = false;
    QTimer::singleShot(5, [&] { timerRan = true; });
    waits.pause(40);
    EXPECT_TRUE(timerRan);

    bool ready = false;
    QTimer::singleShot(20, [&] { ready = true; });
    EXPECT_TRUE(waits.until([&] { return ready; }, 5, 5000));
    EXPECT_FALSE(waits.until([] { return false; }, 5, 30));

    SleepingWaits sleeping;
    int asked = 0;
    EXPECT_TRUE(sleeping.until([&] { return ++asked == 3; }, 1, 5000));
    EXPECT_FALSE(sleeping.until([] { return false; }, 1, 10));
}

TEST(Waits, WindowsComeAndGo) {
    gui::QtWaits waits;
    auto exists = [](const std::string& title) { return gui::windowExists(title, false); };
    QWidget editor;
    editor.setWindowTitle("MyCommands Editor");
    QTimer::singleShot(20, [&] { editor.show(); });
    EXPECT_TRUE(waitForWindow(waits, exists, "MyCommands Editor", true));
    QTimer::singleShot(20, [&] { editor.close(); });
    EXPECT_TRUE(waitForWindow(waits, exists, "MyCommands Editor", false));
    // A window that never comes does not hold the program for ever.
    EXPECT_FALSE(waitForWindow(waits, exists, "Never There", true, 50));
    // Dragon's own command editor counts while the stand-in has it open.
    EXPECT_TRUE(gui::windowExists("MyCommands Editor", true));
    EXPECT_FALSE(gui::windowExists("MyCommands Editor", false));
}

TEST(Progress, BeforeTheWindowListensADialogShowsTheStatusText) {
    gui::QtInteraction ui;
    ui.status("Processing mycmds.dat");
    auto dialog = []() -> QProgressDialog* {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* d = qobject_cast<QProgressDialog*>(w); d && d->objectName() == "progress") {
                return d;
            }
        }
        return nullptr;
    };
    {
        Progress work(ui, 1000);
        work.step(10);
        QTest::qWait(450); // the dialog comes only for work that lasts
        work.step(500);
        ASSERT_TRUE(dialog());
        EXPECT_TRUE(dialog()->isVisible());
        EXPECT_EQ(dialog()->labelText(), "Processing mycmds.dat");
        EXPECT_EQ(dialog()->value(), 50);
    }
    EXPECT_FALSE(dialog()) << "gone when the work ends";

    std::vector<std::pair<std::size_t, std::size_t>> shown;
    ui.onProgress = [&](std::size_t done, std::size_t total) { shown.emplace_back(done, total); };
    {
        Progress work(ui, 1000000);
        for (std::size_t i = 0; i < 1000000; i += 7) {
            work.step(i);
        }
    }
    EXPECT_FALSE(dialog()) << "the window shows it";
    EXPECT_LE(shown.size(), 102u);
    EXPECT_EQ(shown.back(), std::make_pair(std::size_t{1000000}, std::size_t{1000000}));
}
