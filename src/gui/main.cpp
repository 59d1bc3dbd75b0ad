#include "gui/application.h"
#include "gui/command_line.h"
#include "gui/main_window.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>
#include <iostream>

namespace {

// Saves a picture of the window once it has been drawn, then ends the program.
void screenshotThenQuit(plv::gui::MainWindow* window, const QString& file) {
    QTimer::singleShot(400, window, [window, file] {
        bool saved = window->grab().save(file, "PNG");
        if (!saved) {
            std::cerr << "parlavista: cannot write " << file.toStdString() << "\n";
        }
        window->close();
        QApplication::exit(saved ? 0 : 1);
    });
}

} // namespace

int main(int argc, char* argv[]) {
    // At 150% the window is drawn at 1.5 times, not rounded to 2: text stays sharp and sized
    // as the system asks.
    QApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
    QApplication app(argc, argv);
    QApplication::setApplicationName("Parlavista");
    QApplication::setApplicationVersion(PARLAVISTA_VERSION);
    // The desktop entry's name, so the desktop shows the installed icon for the window.
    QApplication::setDesktopFileName("org.parlavista.Parlavista");
    QApplication::setWindowIcon(QIcon::fromTheme("org.parlavista.Parlavista"));

    std::vector<std::string> words;
    for (const QString& word : QApplication::arguments().mid(1)) {
        words.push_back(word.toStdString());
    }
    std::string error;
    auto line = plv::gui::parseCommandLine(words, error);
    if (!line) {
        std::cerr << "parlavista: " << error << "\n" << plv::gui::kUsage;
        return 64;
    }
    if (line->help) {
        std::cout << plv::gui::kUsage;
        return 0;
    }
    if (line->version) {
        std::cout << "parlavista " << PARLAVISTA_VERSION << "\n";
        return 0;
    }

    plv::gui::Application program(*line);
    switch (program.start()) {
    case plv::browser::StartupStatus::Started:
        break;
    case plv::browser::StartupStatus::AlreadyRunning:
        return 0;
    case plv::browser::StartupStatus::Exit:
        return 1;
    }
    if (line->screenshot) {
        screenshotThenQuit(program.window(), QString::fromStdString(*line->screenshot));
    }
    return QApplication::exec();
}
