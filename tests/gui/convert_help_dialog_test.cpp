#include "gui/convert_help_dialog.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "support/fixtures.h"

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace plv;

namespace {

// Offers the help once; `act` works the dialog as the user does while it is open. Returns
// the caption shown, empty when no dialog came up.
QString offer(Settings& settings, int& helpOpened, const std::function<void(QDialog&)>& act) {
    QString caption;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (dialog != nullptr) {
            caption = dialog->windowTitle();
            act(*dialog);
        }
    });
    gui::offerKeysConversionHelp(
        settings, [&] { ++helpOpened; }, nullptr);
    QApplication::processEvents(); // the timer fires here when no dialog took the events
    return caption;
}

void click(QDialog& dialog, const char* button) {
    QTest::mouseClick(dialog.findChild<QPushButton*>(button), Qt::LeftButton);
}

} // namespace

TEST(ConvertHelpDialog, YesOpensHelpAndDontShowAgainIsKept) {
    test::TempDir home;
    Settings settings(home.path());
    int helpOpened = 0;
    EXPECT_EQ(offer(settings, helpOpened, [](QDialog& d) { click(d, "yes"); }),
              "Please Read Help if First Time Converting");
    EXPECT_EQ(helpOpened, 1);

    // No Thanks with the box checked: not offered again, and the setting is on disk.
    EXPECT_FALSE(offer(settings, helpOpened, [](QDialog& d) {
                     auto* box = d.findChild<QCheckBox*>("dontShowAgain");
                     EXPECT_EQ(box->text(), "Don't &Show this Again");
                     QTest::mouseClick(box, Qt::LeftButton);
                     click(d, "noThanks");
                 }).isEmpty());
    EXPECT_EQ(helpOpened, 1);
    EXPECT_EQ(Profile(files::join(home.path(), "Parlavista.INI"))
                  .get("Parlavista", "no convert keys help"),
              "True");
    Settings again(home.path());
    EXPECT_TRUE(offer(again, helpOpened, [](QDialog& d) { click(d, "noThanks"); }).isEmpty());
}
