// The splash window and its picture.
#include "app/splash_wnd.h"

#include <QApplication>
#include <QEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

CSplashWnd* CSplashWnd::s_Instance = nullptr;
bool CSplashWnd::s_Enabled = true;

QPixmap CSplashWnd::SplashImage()
{
    // A board with isolation tracks and drilled pads, and the program's name.
    QPixmap pixmap(480, 280);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 280);
    sky.setColorAt(0, QColor(18, 40, 64));
    sky.setColorAt(1, QColor(8, 18, 30));
    p.fillRect(pixmap.rect(), sky);
    QRectF board(40, 40, 240, 170);
    p.setPen(QPen(QColor(30, 80, 40), 2));
    p.setBrush(QColor(196, 128, 52));
    p.drawRoundedRect(board, 6, 6);
    QPen track(QColor(250, 200, 120), 7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    QPen gap(QColor(40, 28, 12), 11, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    QPainterPath paths;
    paths.moveTo(70, 80);
    paths.lineTo(150, 80);
    paths.lineTo(190, 120);
    paths.lineTo(250, 120);
    paths.moveTo(70, 170);
    paths.lineTo(120, 170);
    paths.lineTo(160, 130);
    paths.moveTo(210, 70);
    paths.lineTo(210, 180);
    p.setBrush(Qt::NoBrush);
    p.setPen(gap);
    p.drawPath(paths);
    p.setPen(track);
    p.drawPath(paths);
    for (QPointF pad : {QPointF(70, 80), QPointF(250, 120), QPointF(70, 170), QPointF(160, 130),
                        QPointF(210, 70), QPointF(210, 180)}) {
        p.setPen(QPen(QColor(40, 28, 12), 3));
        p.setBrush(QColor(250, 200, 120));
        p.drawEllipse(pad, 10, 10);
        p.setBrush(QColor(20, 20, 20));
        p.drawEllipse(pad, 3.5, 3.5);
    }
    QFont title(QStringLiteral("DejaVu Sans"));
    title.setPixelSize(36);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(235, 240, 245));
    p.drawText(QRectF(296, 70, 180, 60), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Ordune"));
    QFont line(QStringLiteral("DejaVu Sans"));
    line.setPixelSize(14);
    p.setFont(line);
    p.setPen(QColor(160, 190, 210));
    p.drawText(QRectF(300, 130, 170, 60), Qt::AlignLeft | Qt::TextWordWrap,
               QStringLiteral("Board CAM and\nmachine control"));
    p.drawText(QRectF(40, 230, 400, 30), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("1.0"));
    return pixmap;
}

void CSplashWnd::ShowSplashScreen(QWidget* parent)
{
    if (!s_Enabled || s_Instance)
        return;
    s_Instance = new CSplashWnd(parent);
    s_Instance->show();
    s_Instance->repaint();
}

CSplashWnd::CSplashWnd(QWidget* parent)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_Bitmap(SplashImage()),
      m_Owner(parent)
{
    setObjectName(QStringLiteral("splash"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(m_Bitmap.size());
    // Centred over its owner, else over the screen.
    QRect area = parent && parent->isVisible() ? parent->frameGeometry()
                 : QApplication::primaryScreen()   ? QApplication::primaryScreen()->geometry()
                                                   : QRect(0, 0, 800, 600);
    move(area.center() - rect().center());
    startTimer(10050);
}

CSplashWnd::~CSplashWnd()
{
    if (s_Instance == this)
        s_Instance = nullptr;
}

void CSplashWnd::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawPixmap(0, 0, m_Bitmap);
}

void CSplashWnd::timerEvent(QTimerEvent*) { HideSplashScreen(); }

void CSplashWnd::HideSplashScreen()
{
    QWidget* owner = m_Owner;
    if (s_Instance == this)
        s_Instance = nullptr;
    close();  // deletes the window
    if (owner)
        owner->update();
}

void CSplashWnd::PreTranslateAppMessage(const QEvent* event)
{
    if (!s_Instance)
        return;
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::NonClientAreaMouseButtonPress:
        s_Instance->HideSplashScreen();
        break;
    default:
        break;
    }
}
