// The host of the desktop program: Qt message boxes, the event loop as the
// message pump, Qt timers and the status bar.
#pragma once

#include "platform/host.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>

class QFileDialog;
class QTimer;
class QWidget;

// A file chooser filter of "text|patterns|" pairs as Qt's
// "text (patterns);;..."; each pattern is offered in its own, lower and upper
// case, since the files come from systems that ignore case.
QString QtFileFilter(const std::string& filter);

// Where a file chooser starts for `initialPath`: a path whose folder
// exists starts there with its name; a bare name or pattern ("*.prj"), or a
// path into a folder that is gone, starts in `lastFolder`, the folder last
// chosen from (the home folder before any), never in the program's own
// current folder. A pattern is no name to select.
struct CChooserStart {
    QString folder;
    QString name;
};
CChooserStart ChooserStart(const std::string& initialPath, const QString& lastFolder);

class CQtHost : public QObject, public CHost {
    Q_OBJECT
public:
    CQtHost();
    ~CQtHost() override;

    // The window boxes belong to, and where status texts go.
    void SetMainWindow(QWidget* window) { m_MainWindow = window; }
    void SetStatusSink(std::function<void(const std::string&)> sink) { m_StatusSink = std::move(sink); }

    int MessageBox(const std::string& text, const std::string& caption, unsigned type) override;
    void Beep(unsigned frequency, unsigned durationMs) override;
    void MessageBeep(unsigned type) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    void SetStatusText(const std::string& text) override;
    void PumpMessages() override;
    void Sleep(unsigned milliseconds) override;
    std::uint32_t GetTickCount() override;
    unsigned SetTimer(unsigned id, unsigned milliseconds, std::function<void()> callback) override;
    void KillTimer(unsigned id) override;
    void RunModalDialog(CDialog& dialog) override;
    bool CreateModelessDialog(CDialog& dialog) override;
    bool GetOpenFileName(const std::string& filter, const std::string& initialPath, bool multiple,
                         std::vector<std::string>& paths) override;
    bool GetSaveFileName(const std::string& filter, const std::string& initialPath,
                         std::string& path) override;
    bool IsMainWindowEnabled() override;
    void EnableMainWindow(bool enable) override;
    bool ChooseFont(CFontChoice& font) override;

private:
    QWidget* m_MainWindow = nullptr;
    bool m_InputDisabled = false;
    std::function<void(const std::string&)> m_StatusSink;
    std::map<unsigned, QTimer*> m_Timers;
    // The folder of the file last chosen in a file chooser.
    QString m_LastFolder;

    void StartAt(QFileDialog& dialog, const std::string& initialPath) const;
    void Chosen(const QStringList& files);
};
