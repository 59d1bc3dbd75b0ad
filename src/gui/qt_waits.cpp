#include "gui/qt_waits.h"

#include "dragon/stand_in.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QWidget>

namespace plv::gui {

void QtWaits::pause(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

bool QtWaits::until(const std::function<bool()>& ready, int intervalMs, int limitMs) {
    if (ready()) {
        return true;
    }
    QEventLoop loop;
    QElapsedTimer elapsed;
    elapsed.start();
    bool done = false;
    QTimer poll;
    poll.setInterval(intervalMs);
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        done = ready();
        if (done || elapsed.elapsed() >= limitMs) {
            loop.quit();
        }
    });
    poll.start();
    loop.exec();
    return done;
}

bool windowExists(const std::string& title, bool commandEditorOpen) {
    if (commandEditorOpen && title == dragon::kCommandEditorTitle) {
        return true;
    }
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && w->windowTitle().toStdString() == title) {
            return true;
        }
    }
    return false;
}

} // namespace plv::gui
