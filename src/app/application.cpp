// Runs the desktop program: the Qt host, the application object's start,
// the event loop, and the shut-down in reverse.
#include "app/application.h"

#include "app/main_frame.h"
#include "app/velm_app.h"
#include "platform/qt/qt_host.h"
#include "platform/settings_store.h"

#include <QApplication>

#include <clocale>

int RunApplication(int argc, char** argv)
{
    QApplication app(argc, argv);
    // The clock pane shows the time as the user's locale writes it.
    std::setlocale(LC_TIME, "");
    CQtHost host;
    SetHost(&host);

    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    if (!theApp.InitInstance(args)) {
        theApp.ExitInstance();
        SetHost(nullptr);
        return 0;
    }
    CMainFrame* frame = theApp.MainFrame();
    host.SetMainWindow(frame);
    host.SetStatusSink([frame](const std::string& text) { frame->SetMessageText(QString::fromStdString(text)); });

    std::vector<std::string> problems = TakeSettingsProblems();
    if (!problems.empty()) {
        std::string text = "Some stored settings could not be read and keep their defaults:";
        for (const std::string& p : problems)
            text += "\n" + p;
        AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
    }

    int result = app.exec();
    host.SetStatusSink(nullptr);
    host.SetMainWindow(nullptr);
    theApp.ExitInstance();
    SetHost(nullptr);
    return result;
}
