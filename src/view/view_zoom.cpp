// Board mils to client pixels and back, the five zooms of the view's
// "視窗" menu with their keys, the 20-slot zoom history, and the rubber band
// of the Window zoom.
#include "view/velm_view.h"

#include "records/board_extent.h"
#include "platform/program_state.h"
#include "platform/host.h"
#include "platform/resources.h"
#include "settings/machine_settings.h"
#include "resource_ids.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr float kZoomStep = 1.5f;
constexpr float kSmallestFitScale = 0.05f;

}  // namespace

void CVelmView::DocToScreenD(CDPoint* p) const
{
    p->x = p->x / m_Scale + m_Origin.x;
    p->y = p->y / m_Scale + m_Origin.y;
}

void CVelmView::DocToScreen(POINT* p) const
{
    p->x = TruncToInt(p->x / double(m_Scale)) + TruncToInt(m_Origin.x);
    p->y = TruncToInt(p->y / double(m_Scale)) + TruncToInt(m_Origin.y);
}

void CVelmView::ScreenToDocD(CDPoint* p) const
{
    p->x = (p->x - m_Origin.x) * m_Scale;
    p->y = (p->y - m_Origin.y) * m_Scale;
}

void CVelmView::ScreenToDoc(POINT* p) const
{
    p->x = TruncToInt((p->x - TruncToInt(m_Origin.x)) * double(m_Scale));
    p->y = TruncToInt((p->y - TruncToInt(m_Origin.y)) * double(m_Scale));
}

static void ZoomAboutCursor(CVelmView& view, float factor)
{
    CDPoint a = view.m_CursorPos;
    view.DocToScreenD(&a);
    view.m_Scale *= factor;
    CDPoint b = view.m_CursorPos;
    view.DocToScreenD(&b);
    view.m_ZoomHistIndex = (view.m_ZoomHistIndex + 1) % ZOOM_HISTORY;
    view.m_Origin = view.m_Origin - (b - a);
    view.Invalidate();
}

void CVelmView::OnZoomIn()
{
    ZoomAboutCursor(*this, 1.0f / kZoomStep);
}

void CVelmView::OnZoomOut()
{
    ZoomAboutCursor(*this, kZoomStep);
}

void CVelmView::OnZoomWindow()
{
    m_ZoomWindowMode = 1;
}

void CVelmView::ZoomToBand(const RECT& band)
{
    RECT b{std::min(band.left, band.right), std::min(band.top, band.bottom),
           std::max(band.left, band.right), std::max(band.top, band.bottom)};
    m_ClientRect = GetClientRect();
    int clientWidth = m_ClientRect.right - m_ClientRect.left;
    int clientHeight = m_ClientRect.bottom - m_ClientRect.top;
    // A band without area, like an abandoned one, leaves the view as it was.
    if (b.right == b.left || b.bottom == b.top || clientWidth <= 0 || clientHeight <= 0) {
        m_ZoomWindowMode = 0;
        return;
    }
    Host().MessageBeep(0);
    m_ZoomHistIndex = (m_ZoomHistIndex + 1) % ZOOM_HISTORY;
    POINT c{(b.left + b.right) / 2, (b.top + b.bottom) / 2};
    POINT d = c;
    ScreenToDoc(&d);
    // The whole band must fit: scale by the larger of its two ratios to the
    // client area.
    float ratio = std::max(float(b.right - b.left) / float(clientWidth),
                           float(b.bottom - b.top) / float(clientHeight));
    m_Scale = m_Scale * ratio;
    POINT moved = d;
    DocToScreen(&moved);
    m_Origin.x -= moved.x - c.x;
    m_Origin.y -= moved.y - c.y;
    Invalidate();
    m_ZoomWindowMode = 0;
}

void CVelmView::OnZoomPrevious()
{
    int previous = m_ZoomHistIndex == 0 ? ZOOM_HISTORY - 1 : m_ZoomHistIndex - 1;
    // Nothing was painted in that slot yet: keep the view.
    if (m_ZoomHistScale[previous] <= 0.0f)
        return;
    m_ZoomHistIndex = previous;
    m_Scale = m_ZoomHistScale[previous];
    m_Origin = m_ZoomHistOrigin[previous];
    UpdateScrollSizes();
    Invalidate();
}

void CVelmView::OnWindowAll()
{
    CVelmDoc& doc = *GetDocument();
    doc.m_ViewExtent = CExtent{g_BoardMinX, g_BoardMinY, g_BoardMaxX, g_BoardMaxY};
    m_ZoomHistIndex = (m_ZoomHistIndex + 1) % ZOOM_HISTORY;
    int stage = doc.m_WorkStage;
    bool table = stage == 3 || stage == 5;
    double fitWidth, fitHeight;
    if (table) {
        fitWidth = g_TableWidth;
        fitHeight = g_TableHeight;
        m_Origin = CDPoint(0.0, 0.0);
    } else {
        // The partial stage and a document without data fit the work area.
        fitWidth = doc.m_ViewExtent.maxX - doc.m_ViewExtent.minX;
        fitHeight = doc.m_ViewExtent.maxY - doc.m_ViewExtent.minY;
    }
    RECT client = GetClientRect();
    int clientWidth = client.right - client.left;
    int clientHeight = client.bottom - client.top;
    if (clientWidth > 0 && clientHeight > 0) {
        constexpr float unbounded = std::numeric_limits<float>::infinity();
        float fx = fitWidth > 0 ? float(clientWidth) / float(fitWidth) : unbounded;
        float fy = fitHeight > 0 ? float(clientHeight) / float(fitHeight) : unbounded;
        m_Scale = 1.0f / std::min(fx, fy);
        if (!(m_Scale >= kSmallestFitScale)) {
            m_Scale = kSmallestFitScale;
            g_StatusText = LoadResString(IDS_MAX_ZOOM);
        }
    }
    UpdateScrollSizes();
    if (!table) {
        m_Origin = CDPoint(0.0, 0.0);
        POINT corner{doc.m_ViewExtent.minX, doc.m_ViewExtent.minY};
        DocToScreen(&corner);
        m_Origin = CDPoint(-corner.x, -corner.y);
    }
    Invalidate();
}

void CVelmView::DrawBand()
{
    CViewDC v(*this);
    v.dc.SetROP2(R2_NOT);
    v.dc.SelectPen(SolidPen(1, VIEW_WHITE));
    v.dc.SelectBrush(CBrush{0, true});
    ClippedRectangle(v.dc, std::min(m_Band.left, m_Band.right), std::min(m_Band.top, m_Band.bottom),
                     std::max(m_Band.left, m_Band.right) + 1,
                     std::max(m_Band.top, m_Band.bottom) + 1);
}
