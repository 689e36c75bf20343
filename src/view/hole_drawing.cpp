// Round things: the drill holes (once, or once per panel copy), the
// positioning holes of the registration-hole text, the point marker with its
// cross, and the inverting origin mark.
#include "view/shape_batch.h"
#include "view/velm_view.h"

#include "records/board_records.h"
#include "settings/drill_format_dlg.h"
#include "import/drill_reader.h"
#include "ui/edit_wnd.h"

#include <cstdio>

namespace {

CBrush HoleBrush(const CDrillTool& tool, int currentTool, COLORREF colour)
{
    if (tool.toolNumber == currentTool)
        return SolidBrush(RGB(125, 34, 255));
    switch (tool.mode) {
    case 0: return SolidBrush(VIEW_GREY);
    case 2: return SolidBrush(RGB(255, 0, 255));
    case 3: return SolidBrush(RGB(255, 0, 0));
    default: return SolidBrush(colour);
    }
}

double HoleRadius(const CDrillTool& tool)
{
    double r = tool.diameter / 2.0;
    return r < 2.0 ? 40.0 : r;
}

}  // namespace

void CVelmView::DrawDrillHoles(COLORREF colour)
{
    if (!IsLayerVisible("DRILL"))
        return;
    CViewDC v(*this);
    CShapeBatch batch(v.dc);
    batch.SelectPen(SolidPen(1, VIEW_WHITE));
    for (const auto& tool : g_HoleList) {
        batch.SelectBrush(HoleBrush(*tool, m_CurrentDrillTool, colour));
        double r = HoleRadius(*tool);
        for (const auto& h : tool->holes)
            batch.ClippedEllipse(MapX(h->x - r), MapY(h->y - r), MapX(h->x + r), MapY(h->y + r));
    }
}

void CVelmView::DrawDrillHolesPlaced(const CLayoutBlock* block, COLORREF colour)
{
    if (!IsLayerVisible("DRILL") || !block)
        return;
    CViewDC v(*this);
    CShapeBatch batch(v.dc);
    batch.SelectPen(SolidPen(1, VIEW_WHITE));
    const CDPoint& d = block->m_Centre;
    for (const auto& tool : g_HoleList) {
        batch.SelectBrush(HoleBrush(*tool, m_CurrentDrillTool, colour));
        double r = HoleRadius(*tool);
        for (const auto& h : tool->holes) {
            CDPoint p = PlacePoint(*block, h->x, h->y);
            batch.Ellipse(MapX(p.x - r, d.x), MapY(p.y - r, d.y), MapX(p.x + r, d.x),
                          MapY(p.y + r, d.y));
        }
    }
}

void CVelmView::DrawPositioningHoles(COLORREF colour)
{
    if (!g_HoleDataWnd.m_Created)
        return;
    CViewDC v(*this);
    v.dc.SelectPen(SolidPen(1, VIEW_WHITE));
    v.dc.SelectBrush(SolidBrush(colour));
    // The registration-hole text is metric whatever the drill format says.
    CMetricDrillUnits metric(CMetricDrillUnits::EScope::Coordinates);
    CDrillReader reader;
    reader.Attach(&g_HoleDataWnd);
    reader.ReadHeader();
    constexpr double r = 70.0;
    for (int code = reader.ReadNextBlock(); code != DRILL_END; code = reader.ReadNextBlock()) {
        if (code == DRILL_POSITION) {
            double x = reader.m_OutX, y = reader.m_OutY;
            ClippedEllipse(v.dc, MapX(x - r), MapY(y - r), MapX(x + r), MapY(y + r));
        } else if (code == DRILL_TOOL) {
            char name[16];
            std::snprintf(name, sizeof name, "T%d", reader.m_ToolNumber);
            m_PositioningHole.name = name;
            m_PositioningHole.kind = "D-TYPE";
            m_PositioningHole.size = reader.m_ToolSize + 2.0f;
            m_HoleNameText = &m_PositioningHole.name;
        }
    }
}

void CVelmView::DrawPointMarker(double x, double y, double r, COLORREF colour, CDPoint offset)
{
    CViewDC v(*this);
    v.dc.SelectPen(SolidPen(1, VIEW_WHITE));
    v.dc.SelectBrush(SolidBrush(colour));
    double cx = x + offset.x, cy = y + offset.y;
    ClippedEllipse(v.dc, MapX(cx - r), MapY(cy - r), MapX(cx + r), MapY(cy + r));
    r += 30.0;
    ClippedMoveTo(v.dc, MapX(cx - r), MapY(cy - r));
    ClippedLineTo(v.dc, MapX(cx + r), MapY(cy + r));
    ClippedMoveTo(v.dc, MapX(cx - r), MapY(cy + r));
    ClippedLineTo(v.dc, MapX(cx + r), MapY(cy - r));
}

void CVelmView::DrawOriginMarkXor(double x, double y, double r, COLORREF colour, CDPoint offset)
{
    CViewDC v(*this);
    v.dc.SelectPen(SolidPen(1, 0));
    v.dc.SelectBrush(SolidBrush(colour));
    v.dc.SetROP2(R2_NOTXORPEN);
    double cx = x + offset.x, cy = y + offset.y;
    ClippedEllipse(v.dc, MapX(cx - r), MapY(cy - r), MapX(cx + r), MapY(cy + r));
}
