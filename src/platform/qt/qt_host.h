// The host of the desktop program: Qt message boxes, the event loop as the
// message pump, Qt timers and the status bar.
#pragma once

#include "platform/host.h"

#include <QObject>
#include <functional>
#include <map>

class QTimer;
class QWidget;

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
    bool IsMainWindowEnabled() override;
    void EnableMainWindow(bool enable) override;

private:
    QWidget* m_MainWindow = nullptr;
    bool m_InputDisabled = false;
    std::function<void(const std::string&)> m_StatusSink;
    std::map<unsigned, QTimer*> m_Timers;
};
