// The board window around the view.
#include "view/qt/board_widget.h"

#include "platform/program_state.h"
#include "ui/qt/menu_builder.h"
#include "view/velm_view.h"

#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

CBoardWidget::CBoardWidget(CVelmDoc* doc, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("boardArea"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    if (doc) {
        m_View = std::make_unique<CVelmView>(*doc);
        m_View->SetWindow(this);
    }
}

CBoardWidget::~CBoardWidget()
{
    m_View.reset();
}

RECT CBoardWidget::ClientRect() const
{
    return RECT{0, 0, width(), height()};
}

void CBoardWidget::RequestRedraw()
{
    if (m_RedrawQueued || !m_View)
        return;
    m_RedrawQueued = true;
    QTimer::singleShot(0, this, [this] {
        m_RedrawQueued = false;
        m_View->Redraw();
    });
}

void CBoardWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, m_Surface.Image());
}

void CBoardWidget::resizeEvent(QResizeEvent*)
{
    m_Surface.Resize(size());
    if (!m_View)
        return;
    if (!m_Initialised && width() > 1 && height() > 1) {
        m_Initialised = true;
        m_View->OnInitialUpdate();
    }
    m_View->Invalidate();
}

void CBoardWidget::mouseMoveEvent(QMouseEvent* event)
{
    if (m_View && !g_Calculating)
        m_View->OnMouseMove(POINT{event->pos().x(), event->pos().y()});
}

void CBoardWidget::mousePressEvent(QMouseEvent* event)
{
    if (!m_View || g_Calculating)
        return;
    POINT p{event->pos().x(), event->pos().y()};
    if (event->button() == Qt::LeftButton) {
        m_View->OnLButtonDown(p);
    } else if (event->button() == Qt::RightButton) {
        CQtMenuBuilder builder;
        std::unique_ptr<QMenu> menu(builder.BuildPopup(m_View->PopupMenuForStage(), this));
        if (menu) {
            CQtMenuBuilder::UpdateMenu(menu.get());
            menu->exec(event->globalPosition().toPoint());
        }
    }
}

void CBoardWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_View && !g_Calculating && event->button() == Qt::LeftButton)
        m_View->OnLButtonUp(POINT{event->pos().x(), event->pos().y()});
}

void CBoardWidget::keyPressEvent(QKeyEvent* event)
{
    if (!m_View)
        return QWidget::keyPressEvent(event);
    switch (event->key()) {
    case Qt::Key_PageUp: m_View->OnKeyDown(VK_PRIOR); break;
    case Qt::Key_PageDown: m_View->OnKeyDown(VK_NEXT); break;
    default: QWidget::keyPressEvent(event); break;
    }
}
