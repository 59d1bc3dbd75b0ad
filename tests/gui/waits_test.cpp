#include "gui/qt_waits.h"

#include <QApplication>
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
