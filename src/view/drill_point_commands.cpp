// The drill-point popup of the view: arming the hole picks, the automatic
// and the manual alignment of the holes to the pads, rotating and mirroring
// the holes, the registration holes of double-sided boards; and the double
// click that shows a copper record.
#include "view/velm_view.h"

#include "editing/drill_alignment.h"
#include "editing/drill_point_edit.h"
#include "geometry/plane_geometry.h"
#include "import/aperture_dialogs.h"
#include "platform/host.h"
#include "platform/program_state.h"
#include "platform/resources.h"
#include "records/board_extent.h"
#include "records/track_geometry.h"
#include "resource_ids.h"
#include "ui/edit_wnd.h"
#include "view/edit_support.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr double MIL_PER_MM = 39.37;
// A hole is picked for the manual alignment this close to the click (mil).
constexpr double ALIGN_HOLE_REACH = 40.0;
// The work area reaches this far beyond the data after an alignment (mil).
constexpr int WORK_AREA_MARGIN = 100;

// The board extent over the document's data extents, widened by `margin`;
// extents that nothing has measured take no part.
void SetWorkAreaFromData(const CVelmDoc& doc, int margin)
{
    bool any = false;
    CExtent area;
    for (const CExtent& e : {doc.m_GerberExtent, doc.m_DrillExtent, doc.m_DataExtent}) {
        if (e.minX > e.maxX || e.minY > e.maxY)
            continue;
        if (!any)
            area = e;
        area = {std::min(area.minX, e.minX), std::min(area.minY, e.minY),
                std::max(area.maxX, e.maxX), std::max(area.maxY, e.maxY)};
        any = true;
    }
    if (!any)
        return;
    g_BoardMinX = area.minX - margin;
    g_BoardMinY = area.minY - margin;
    g_BoardMaxX = area.maxX + margin;
    g_BoardMaxY = area.maxY + margin;
}

bool HasHoles()
{
    for (const auto& tool : g_HoleList)
        if (!tool->holes.empty())
            return true;
    return false;
}

}  // namespace

void CVelmView::OnDrillAdd()
{
    char start[32];
    std::snprintf(start, sizeof start, "%g", double(m_NewDrillDiameter) / MIL_PER_MM);
    // A hole of no size cannot be drilled: Cancel, an empty field and
    // values of zero or less arm nothing.
    const auto diameter = AskNumber(LoadResString(IDS_NEW_DRILL_DIAMETER), start, true);
    if (!diameter)
        return;
    m_NewDrillDiameter = static_cast<float>(*diameter * MIL_PER_MM);
    m_DrillAddMode = 1;
    m_BlockPicking = 1;
    m_PressState = 1;
    m_MarkerShown = 0;
}

void CVelmView::OnDrillAutoAlignMode()
{
    g_StatusText = LoadResString(IDS_AUTO_ALIGN_DRILLS);
    // A failed search has said so in the status line.
    if (m_Doc.AutoAlignDrills(0))
        g_StatusText = LoadResString(IDS_AUTO_ALIGN_DRILLS);
}

void CVelmView::OnDrillAlign()
{
    if (!HasHoles()) {
        AfxMessageBox(LoadResString(IDS_NO_DRILL_HOLES), MB_OK);
        return;
    }
    m_DrillAlignMode = 1;
    m_PressState = 0;
    g_StatusText = LoadResString(IDS_CHOOSE_DRILL_HOLE);
}

void CVelmView::OnDrillFind()
{
    g_MeasureDataWnd.CreateOnce(LoadResString(IDS_MEASURE_WND));
    g_MeasureDataWnd.ShowWindow(true);
    m_DrillFindMode = 1;
    g_StatusText = LoadResString(IDS_FINDING_DRILL_HOLES);
}

void CVelmView::OnDrillMove() { m_DrillMoveMode = 1; }

void CVelmView::OnDrillAutoAlign() { m_Doc.AutoAlignDrills(0); }

void CVelmView::OnDrillRotate()
{
    RotateHoles(g_HoleList);
    Invalidate();
}

void CVelmView::OnDrillMirrorX()
{
    MirrorHolesX(g_HoleList);
    Invalidate();
}

void CVelmView::OnDrillMirrorY()
{
    MirrorHolesY(g_HoleList);
    Invalidate();
}

void CVelmView::OnAddDoubleSidedHoles()
{
    g_HoleDataWnd.CreateOnce(LoadResString(IDS_HOLE_WND));
    g_HoleDataWnd.ShowWindow(false);
    CLineEdit& text = g_HoleDataWnd.Edit();
    bool header = false;
    for (int i = 0; i < text.GetLineCount() && !header; ++i)
        header = text.GetLineText(i).find('%') != std::string::npos;
    if (!header) {
        text.WriteLine("%");
        text.WriteLine("T30C1.25");
    }
    m_RegHoleAddMode = 1;
}

void CVelmView::DrillAlignPress(POINT point)
{
    CDPoint mil(point.x, point.y);
    ScreenToDocD(&mil);
    if (m_PressState == 0) {
        const auto hole = LastHoleNear(g_HoleList, mil, ALIGN_HOLE_REACH);
        if (!hole)
            return;
        m_PressState = 1;
        m_DragStart = *hole;
        DrawPointMarker(hole->x, hole->y, 30.0, VIEW_WHITE, CDPoint());
        g_StatusText = LoadResString(IDS_CHOOSE_SECOND_POINT);
        return;
    }
    const CFlashRecord* target = HitItemAt(point);
    m_PressState = 0;
    m_DrillAlignMode = 0;
    if (!target) {
        // Aligning to the bare click would move every hole off its pad by
        // however far the click missed.
        AfxMessageBox(LoadResString(IDS_INVALID_SELECTION), MB_OK);
        g_StatusText = LoadResString(IDS_CANCELLED);
        Invalidate();
        return;
    }
    const CDPoint shift = CDPoint(target->x, target->y) - m_DragStart +
                          POINT{g_MeasureDataWnd.m_OriginX, g_MeasureDataWnd.m_OriginY};
    ShiftHoles(g_HoleList, shift);
    Invalidate();
    m_Doc.ComputeBoardExtent();
    SetWorkAreaFromData(m_Doc, WORK_AREA_MARGIN);
    g_StatusText.clear();
}

void CVelmView::OnLButtonDblClk(unsigned, POINT point)
{
    if (!m_CopperSelectMode)
        return;
    ScreenToDoc(&point);
    bool changed = false;
    for (auto& t : m_Doc.m_TrackList) {
        if (!PointInTrackXY(*t, point.x, point.y))
            continue;
        CGerberRecordDlg dlg;
        dlg.m_Group = t->groupNo;
        dlg.m_Record = t->recordNo;
        dlg.m_X1 = t->x1;
        dlg.m_Y1 = t->y1;
        dlg.m_X2 = t->x2;
        dlg.m_Y2 = t->y2;
        dlg.m_LineWidth = t->width;
        dlg.m_Type = t->type;
        if (dlg.DoModal() != IDOK)
            continue;
        t->groupNo = dlg.m_Group;
        t->recordNo = dlg.m_Record;
        t->x1 = dlg.m_X1;
        t->y1 = dlg.m_Y1;
        t->x2 = dlg.m_X2;
        t->y2 = dlg.m_Y2;
        t->width = dlg.m_LineWidth;
        t->type = static_cast<std::uint8_t>(dlg.m_Type);
        changed = true;
    }
    for (const auto& f : m_Doc.m_FlashList) {
        if (!PointInCircleXY(*f, point.x, point.y))
            continue;
        // Shown only: what is typed here is not taken.
        CGerberRecordDlg dlg;
        dlg.m_Group = f->groupNo;
        dlg.m_Record = f->recordNo;
        dlg.m_X1 = f->x;
        dlg.m_Y1 = f->y;
        dlg.m_LineWidth = f->radius;
        dlg.m_Type = f->type;
        dlg.DoModal();
    }
    if (changed)
        Invalidate();
}
