// The commands of route drawing: arming the route tools (the three drawing
// tools first ask the router diameter), ending and cancelling route work,
// deleting the picked route records and clearing regions, and arming the
// document's two clearing-area rubber bands.
#include "view/velm_view.h"

#include "platform/host.h"
#include "platform/program_state.h"
#include "platform/resources.h"
#include "resource_ids.h"
#include "ui/cmd_ui.h"
#include "ui/edit_wnd.h"
#include "view/edit_support.h"

void CVelmView::OnRouteLine() { ArmRouteTool(m_RouteLineMode); }
void CVelmView::OnRouteRect() { ArmRouteTool(m_RouteRectMode); }
void CVelmView::OnRouteCircle() { ArmRouteTool(m_RouteCircleMode); }

void CVelmView::ArmRouteTool(int& mode)
{
    // A cancelled or refused answer keeps the diameter the tool had.
    if (const auto mm = AskNumber(LoadResString(IDS_ROUTING_CUTTER_DIAMETER),
                                  FormatText("%g", double(m_SimToolSize)), true))
        m_SimToolSize = float(*mm);
    m_RouteLineMode = m_RouteCircleMode = m_RouteRectMode = m_RouteDraw2Mode = 0;
    m_PressState = 0;
    mode = 1;
}

void CVelmView::OnRouteDraw2()
{
    m_RouteLineMode = m_RouteCircleMode = m_RouteRectMode = m_RouteDraw2Mode = 0;
    m_PressState = 0;
    m_RouteStep = 0;
    m_RouteDraw2Mode = 1;
}

void CVelmView::OnRouteOrigin()
{
    m_RouteLineMode = m_RouteCircleMode = m_RouteDraw2Mode = m_RouteRectMode = 0;
    m_PressState = 0;
    m_RouteOriginMode = 1;
}

void CVelmView::OnUpdateRouteOrigin(CCmdUI& ui) { ui.Enable(g_RouteDataWnd.IsVisible()); }

void CVelmView::OnRouteDraw() { m_RouteDrawMode = 1; }

void CVelmView::OnEndRouteDraw()
{
    m_PressState = m_RouteStep = m_RouteDrawMode = 0;
    m_SelRouteItems.clear();
    m_SelClearRegions.clear();
    Invalidate();
    g_StatusText = LoadResString(IDS_CANCELLED);
    MessageBeep(0);
}

void CVelmView::OnRouteDelete()
{
    if (Host().MessageBox(LoadResString(IDS_ASK_DELETE_SELECTION), "Are You Sure ?",
                          MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    int deleted = 0;
    if (CNamedLayer* route = m_Doc.FindNamedLayer("route"))
        for (const void* item : m_SelRouteItems)
            if (EraseOwned(route->tracks, item) || EraseOwned(route->flashes, item))
                ++deleted;
    for (const CClearRegion* region : m_SelClearRegions)
        if (EraseOwned(m_Doc.m_ClearRegionList, region))
            ++deleted;
    if (deleted == 0)
        Host().MessageBox(LoadResString(IDS_COMMAND_NEEDS_SELECTION), "Try Again !",
                          MB_OK | MB_ICONSTOP);
    Invalidate();
    m_PressState = m_RouteStep = m_RouteDrawMode = 0;
    m_SelRouteItems.clear();
    m_SelClearRegions.clear();
    g_StatusText.clear();
    MessageBeep(0);
}

void CVelmView::OnRouteCancel()
{
    for (int* flag : {&m_DrillMoveMode, &m_RouteOriginMode, &m_RangeMode, &m_TrimMode,
                      &m_ResetClearMode, &m_HideRoute, &m_RouteLineMode, &m_RouteCircleMode,
                      &m_RouteRectMode, &m_RouteDraw2Mode, &m_PressState, &m_RouteStep,
                      &m_RouteDrawMode})
        *flag = 0;
    // A rubber figure of the tool goes with it.
    m_RouteShapeShown = 0;
    Invalidate();
    g_StatusText = LoadResString(IDS_CANCELLED);
    if (m_CopperToRouteMode)
        EndOffsetPick();
}

void CVelmView::OnSetClearArea() { m_Doc.m_ClearAreaFlag = 1; }
void CVelmView::OnAddRectRecord() { m_Doc.m_RectRecordFlag = 1; }

void CVelmView::RegisterRouteCommands()
{
    m_Commands.OnCommand(ID_ROUTE_LINE, [this] { OnRouteLine(); });
    m_Commands.OnCommand(ID_ROUTE_RECT, [this] { OnRouteRect(); });
    m_Commands.OnCommand(ID_ROUTE_CIRCLE, [this] { OnRouteCircle(); });
    m_Commands.OnCommand(ID_ROUTE_DRAW2, [this] { OnRouteDraw2(); });
    // The route point mode of command 33018 is the route origin tool.
    m_Commands.OnCommand(ID_ROUTE_POINT_MODE, [this] { OnRouteOrigin(); });
    m_Commands.OnUpdateCommand(ID_ROUTE_POINT_MODE,
                               [this](CCmdUI& ui) { OnUpdateRouteOrigin(ui); });
    m_Commands.OnCommand(ID_ROUTE_DRAW, [this] { OnRouteDraw(); });
    m_Commands.OnCommand(ID_END_ROUTE_DRAW, [this] { OnEndRouteDraw(); });
    m_Commands.OnCommand(ID_ROUTE_DELETE, [this] { OnRouteDelete(); });
    m_Commands.OnCommand(ID_ROUTE_CANCEL, [this] { OnRouteCancel(); });
    m_Commands.OnCommand(ID_SET_CLEAR_AREA, [this] { OnSetClearArea(); });
    m_Commands.OnCommand(ID_ADD_RECT_RECORD, [this] { OnAddRectRecord(); });
}
