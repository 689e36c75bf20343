// Start-up and shut-down of the desktop program: the host, the program
// options, the main window.
#include "app/application.h"

#include "platform/qt/qt_host.h"
#include "platform/settings_store.h"
#include "settings/program_options.h"

#include <QApplication>
#include <QMainWindow>
#include <QStatusBar>

int RunApplication(int argc, char** argv)
{
    QApplication app(argc, argv);
    CQtHost host;
    SetHost(&host);

    LoadProgramOptions();

    QMainWindow window;
    window.setWindowTitle("Ordune");
    window.resize(1024, 700);
    host.SetMainWindow(&window);
    host.SetStatusSink([&window](const std::string& text) {
        window.statusBar()->showMessage(QString::fromStdString(text));
    });
    window.show();

    std::vector<std::string> problems = TakeSettingsProblems();
    if (!problems.empty()) {
        std::string text = "Some stored settings could not be read and keep their defaults:";
        for (const std::string& p : problems)
            text += "\n" + p;
        AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
    }

    int result = app.exec();
    SaveProgramOptions();
    SetHost(nullptr);
    return result;
}
