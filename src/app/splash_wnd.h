// The splash window shown over the frame while the program starts. It goes
// after 10050 ms or at the first key or mouse press anywhere in the program,
// a press that still reaches its target.
#pragma once

#include <QPixmap>
#include <QWidget>

class CSplashWnd : public QWidget {
    Q_OBJECT
public:
    // Class-wide: set from the command line's splash switch.
    static void EnableSplashScreen(bool enable) { s_Enabled = enable; }
    static bool SplashScreenEnabled() { return s_Enabled; }
    // Shows the one splash window over `parent` when enabled and none exists.
    static void ShowSplashScreen(QWidget* parent);
    // Called with every event the program receives, before its target.
    static void PreTranslateAppMessage(const QEvent* event);
    // The splash window while it exists, else nullptr.
    static CSplashWnd* Instance() { return s_Instance; }

    ~CSplashWnd() override;
    void HideSplashScreen();

    // The program's own splash picture.
    static QPixmap SplashImage();

protected:
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    explicit CSplashWnd(QWidget* parent);
    QPixmap m_Bitmap;
    QWidget* m_Owner;
    static CSplashWnd* s_Instance;
    static bool s_Enabled;
};
