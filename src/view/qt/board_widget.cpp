// The board window around the view.
#include "view/qt/board_widget.h"

#include "platform/program_state.h"
#include "ui/qt/menu_builder.h"
#include "ui/qt/key_codes.h"
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

namespace {

// The key flags of a mouse message.
unsigned KeyFlags(const QMouseEvent* event)
{
    unsigned flags = 0;
    if (event->buttons() & Qt::LeftButton)
        flags |= MK_LBUTTON;
    if (event->buttons() & Qt::RightButton)
        flags |= MK_RBUTTON;
    if (event->modifiers() & Qt::ShiftModifier)
        flags |= MK_SHIFT;
    if (event->modifiers() & Qt::ControlModifier)
        flags |= MK_CONTROL;
    return flags;
}

POINT ClientPoint(const QMouseEvent* event)
{
    return POINT{int(event->position().x()), int(event->position().y())};
}

// The program's cursors on the system's shapes.
Qt::CursorShape CursorShape(int id)
{
    switch (id) {
    case CURSOR_PICK_CTRL: return Qt::PointingHandCursor;
    case CURSOR_DRAW_CTRL: return Qt::SizeAllCursor;
    case CURSOR_SAMPLE: return Qt::WhatsThisCursor;
    case CURSOR_TRIM_BLOCK_SHIFT: return Qt::SizeHorCursor;
    case CURSOR_TRIM_BLOCK_CTRL: return Qt::SizeVerCursor;
    case CURSOR_TRIM_CTRL: return Qt::SplitVCursor;
    case CURSOR_TRIM_SHIFT: return Qt::SplitHCursor;
    case CURSOR_ISO: return Qt::PointingHandCursor;
    case CURSOR_ISO_CTRL: return Qt::OpenHandCursor;
    case CURSOR_IBEAM: return Qt::IBeamCursor;
    default: return Qt::CrossCursor;
    }
}

}  // namespace

void CBoardWidget::UpdateCursor()
{
    const int id = m_View->OnSetCursor();
    if (id == CURSOR_KEEP)
        return;
    if (id == 0)
        unsetCursor();
    else
        setCursor(CursorShape(id));
}

void CBoardWidget::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_View)
        return;
    m_View->OnMouseMove(KeyFlags(event), ClientPoint(event));
    UpdateCursor();
}

void CBoardWidget::mousePressEvent(QMouseEvent* event)
{
    if (!m_View)
        return;
    if (event->button() == Qt::LeftButton)
        m_View->OnLButtonDown(KeyFlags(event), ClientPoint(event));
    else if (event->button() == Qt::RightButton)
        m_View->OnRButtonDown(KeyFlags(event), ClientPoint(event));
    if (m_View)
        UpdateCursor();
}

void CBoardWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (m_View && event->button() == Qt::LeftButton && !g_Calculating)
        m_View->OnLButtonDblClk(KeyFlags(event), ClientPoint(event));
}

void CBoardWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (m_View && event->button() == Qt::LeftButton) {
        m_View->OnLButtonUp(KeyFlags(event), ClientPoint(event));
        UpdateCursor();
    }
}

void CBoardWidget::keyPressEvent(QKeyEvent* event)
{
    const unsigned key =
        VirtualKeyOf(event->key(), (event->modifiers() & Qt::KeypadModifier) != 0);
    if (!m_View || !key)
        return QWidget::keyPressEvent(event);
    // A held key repeats its press, as the view expects of a held Up.
    m_View->OnKeyDown(key);
    UpdateCursor();
}

void CBoardWidget::keyReleaseEvent(QKeyEvent* event)
{
    const unsigned key =
        VirtualKeyOf(event->key(), (event->modifiers() & Qt::KeypadModifier) != 0);
    if (!m_View || !key || event->isAutoRepeat())
        return QWidget::keyReleaseEvent(event);
    m_View->OnKeyUp(key);
    UpdateCursor();
}

void CBoardWidget::ShowPopupMenu(const CMenuNode& menu, POINT client)
{
    CQtMenuBuilder builder;
    std::unique_ptr<QMenu> popup(builder.BuildPopup(menu, this));
    if (!popup)
        return;
    // The view's states for this opening go over the update handlers', each
    // time a menu of the popup is about to show.
    auto apply = [this](QMenu* m) {
        for (QAction* action : m->actions()) {
            const QVariant id = action->property("orduneCommand");
            if (!id.isValid())
                continue;
            auto it = m_View->m_PopupStates.find(id.toUInt());
            if (it == m_View->m_PopupStates.end())
                continue;
            if (it->second.enabled >= 0)
                action->setEnabled(it->second.enabled != 0);
            if (it->second.checked >= 0) {
                action->setCheckable(true);
                action->setChecked(it->second.checked != 0);
            }
        }
    };
    QList<QMenu*> menus = popup->findChildren<QMenu*>();
    menus.prepend(popup.get());
    for (QMenu* m : menus)
        connect(m, &QMenu::aboutToShow, m, [m, apply] { apply(m); });
    popup->exec(mapToGlobal(QPoint(client.x, client.y)));
}
