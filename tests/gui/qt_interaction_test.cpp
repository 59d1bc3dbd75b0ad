// The message boxes as the user meets them: the icon says what kind of message it is, a
// file named in the title is read in the box, and Enter never says Yes to a rewrite.
#include "gui/qt_interaction.h"

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

using namespace plv;

namespace {

struct Seen {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString informative;
};

// Looks at the box the call opens and presses Enter on it.
Seen enterOn(const std::function<void()>& call) {
    Seen seen;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            seen.icon = box->icon();
            seen.informative = box->informativeText();
            QTest::keyClick(box, Qt::Key_Return);
        }
    });
    call();
    return seen;
}

} // namespace

TEST(QtInteraction, IconsFollowTheKindAndEnterAnswersNoToAConfirmation) {
    gui::QtInteraction ui;
    const std::string path = "/home/ann/" + std::string(200, 'd') + "/big.dat";
    Seen warning = enterOn([&] { ui.warning("File does not exist", path); });
    EXPECT_EQ(warning.icon, QMessageBox::Warning);
    EXPECT_TRUE(warning.informative.startsWith("/home/ann/"));
    EXPECT_TRUE(warning.informative.endsWith("/big.dat"));
    EXPECT_TRUE(warning.informative.contains(QChar(0x2026))) << "elided in the middle";
    EXPECT_EQ(enterOn([&] { ui.message("Deletion Completed", "Parlavista"); }).icon,
              QMessageBox::Information);

    bool answer = true;
    enterOn([&] { answer = ui.confirm("Delete 80 commands from big.dat?", path); });
    EXPECT_FALSE(answer) << "Enter is No";
    enterOn([&] { answer = ui.yesNo("Would you like to Open this Exported file?:", path); });
    EXPECT_TRUE(answer) << "a question that rewrites nothing keeps Yes";
}
