// The measuring and teach keys.
#include "machining/measure_keys.h"

#include "link/link_state.h"
#include "geometry/plane_geometry.h"
#include "machining/camera_offset_dlg.h"
#include "machining/homing.h"
#include "machining/number_input_dlg.h"
#include "platform/host.h"
#include "platform/resources.h"
#include "records/board_extent.h"
#include "records/board_records.h"
#include "records/panel_layout.h"
#include "resource_ids.h"
#include "settings/machine_settings.h"
#include "settings/system_settings_dlg.h"
#include "ui/edit_wnd.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

CTaughtCorners g_TaughtCorners;

namespace {

// The position read the keys use: drives on first where `drivesOn`.
void ReadMachinePosition(bool drivesOn, unsigned pauseMs)
{
    if (drivesOn) {
        g_MachineLink.CmdEB(1);
        g_MachineLink.Send();
    }
    ReadPositionReply(pauseMs);
}

// A pulse value in the display unit.
double InDisplayUnit(double pulses)
{
    switch (g_UnitSelector) {
    case 0: return PulsesToMM(static_cast<int>(pulses));
    case 1: return PulsesToMil(static_cast<int>(pulses));
    default: return pulses;
    }
}

const char* UnitWord()
{
    switch (g_UnitSelector) {
    case 0: return "mm";
    case 1: return "mil";
    case 2: return "pulse";
    default: return nullptr;
    }
}

void MeasurePoint(const char* name, CDPoint* point, const CDPoint* distanceFrom)
{
    ReadMachinePosition(true, 200);
    const CDPoint here(g_MachineX, g_MachineY);
    const char* unit = UnitWord();
    if (unit) {
        char text[160];
        if (distanceFrom) {
            const double distance =
                std::trunc(Distance(distanceFrom->x, distanceFrom->y, here.x, here.y));
            std::snprintf(text, sizeof text, "Point %s(%g,%g) %s , Distance %g %s", name,
                          InDisplayUnit(here.x), InDisplayUnit(here.y), unit,
                          InDisplayUnit(distance), unit);
        } else {
            std::snprintf(text, sizeof text, "Point %s(%g,%g) %s", name, InDisplayUnit(here.x),
                          InDisplayUnit(here.y), unit);
        }
        g_StatusText = text;
    }
    *point = here;
}

// A taught corner: the spindle's position over the point the camera shows,
// in mil.
CDPoint CornerAtCamera()
{
    const CCameraOffset offset = ReadCameraOffset();
    ReadMachinePosition(false, 100);
    return CDPoint(PulsesToMil(g_MachineX + offset.x), PulsesToMil(g_MachineY + offset.y));
}

// The drill tool a point of `size` (mil) joins: the first of that diameter,
// else a new one numbered after the highest number in use, so it never
// takes the number of a tool that exists.
int ToolNumberFor(float size, CDrillTool** existing)
{
    int highest = 0;
    for (const auto& tool : g_HoleList) {
        if (tool->diameter == size && !*existing)
            *existing = tool.get();
        highest = std::max(highest, tool->toolNumber);
    }
    return *existing ? (*existing)->toolNumber : highest + 1;
}

}  // namespace

int RecordDrillPoint(const CMeasureKeyView& view)
{
    if (view.layout->m_BlockList.empty()) {
        AfxMessageBox(LoadResString(IDS_DRILL_POINT_NEEDS_LAYOUT));
        return 0;
    }
    if (!g_MeasureDataWnd.IsVisible()) {
        g_MeasureDataWnd.CreateOnce(LoadResString(IDS_MEASURE_WND));
        g_MeasureDataWnd.ShowWindow(true);
    }
    if (*view.drillSize == 0.0f) {
        CNumberInputDlg dialog;
        dialog.m_Prompt = LoadResString(IDS_NEW_DRILL_DIAMETER);
        char value[32];
        std::snprintf(value, sizeof value, "%g", *view.drillSize / 39.37f);
        dialog.m_Value = value;
        if (dialog.DoModal() != IDOK)
            return 0;
        char* end = nullptr;
        const double typed = std::strtod(dialog.m_Value.c_str(), &end);
        if (end == dialog.m_Value.c_str() || !(typed > 0.0)) {
            Host().MessageBeep(0);
            return 0;
        }
        *view.drillSize = static_cast<float>(typed * 39.37);
        CDrillTool* existing = nullptr;
        const int number = ToolNumberFor(*view.drillSize, &existing);
        g_MeasureDataWnd.Print(";Size=%g mm", typed);
        g_MeasureDataWnd.Print("T%dC%.1f", number, typed);
        g_StatusText = "Change Drill Size !";
    }
    const CCameraOffset offset = ReadCameraOffset();
    ReadMachinePosition(true, 100);
    // The point is kept apart from the taught corners, so a border taught
    // with buttons 9 and 10 stays as taught around the drill points.
    const CDPoint seen(PulsesToMil(g_MachineX), PulsesToMil(g_MachineY));
    const auto tableY = static_cast<int>(g_PulsesPerMil * g_TableHeight);
    g_MeasureDataWnd.Print("X%.3fY%.3f", PulsesToMM(g_MachineX), PulsesToMM(tableY - g_MachineY));

    // The hole on the board: the camera's offset added, mirrored about the
    // board copy's centre line.
    const CLayoutBlock& block = *view.layout->m_BlockList.front();
    const double x = PulsesToMil(offset.x) + seen.x;
    const double y = 2.0 * block.m_RefCentre.y - (PulsesToMil(offset.y) + seen.y);
    CDrillTool* tool = nullptr;
    const int number = ToolNumberFor(*view.drillSize, &tool);
    if (!tool) {
        auto made = std::make_unique<CDrillTool>();
        made->toolNumber = number;
        made->diameter = *view.drillSize;
        made->mode = 1;
        if (number >= 0 && number < DRILL_TOOL_SIZES)
            g_ToolSizes[number] = *view.drillSize;
        tool = AddTail(g_HoleList, std::move(made));
    }
    AddTail(tool->holes, std::make_unique<CDPoint>(x, y));
    if (view.repaint)
        view.repaint();
    return 1;
}

void RebuildLayoutFromCorners(CPanelLayout& layout, const CTaughtCorners& corners)
{
    layout.m_BlockList.clear();
    auto made = std::make_unique<CLayoutBlock>();
    made->Init();
    CLayoutBlock* block = AddTail(layout.m_BlockList, std::move(made));
    block->m_Outline = &layout.m_OutlinePoints;

    const CDPoint& a = corners.leftTop;
    const CDPoint& b = corners.rightBottom;
    g_BoardMinX = static_cast<int>(std::min(a.x, b.x));
    g_BoardMinY = static_cast<int>(std::min(a.y, b.y));
    g_BoardMaxX = static_cast<int>(std::max(a.x, b.x));
    g_BoardMaxY = static_cast<int>(std::max(a.y, b.y));
    const int x0 = g_BoardMinX, y0 = g_BoardMinY, x1 = g_BoardMaxX, y1 = g_BoardMaxY;
    // The old outline belongs to the copies just removed.
    layout.m_OutlinePoints.clear();
    const POINT outline[] = {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1},
                             {x0, y0}, {x0 + 200, y0 + 200}, {x0, y0 + 400}};
    for (const POINT& p : outline)
        AddTail(layout.m_OutlinePoints, std::make_unique<POINT>(p));
    block->m_Extent = RECT{x0, y0, x1, y1};
    block->m_RefCentre = CDPoint((x0 + x1) / 2, (y0 + y1) / 2);
    block->m_Centre = block->m_RefCentre;
    const int cx = static_cast<int>(block->m_RefCentre.x);
    const int cy = static_cast<int>(block->m_RefCentre.y);
    for (auto& p : layout.m_OutlinePoints) {
        p->x -= cx;
        p->y -= cy;
    }
}

void MeasureKey(unsigned code, int* speedIndex, const CMeasureKeyView& view)
{
    bool settle = false;
    switch (code) {
    case 0x001: MeasurePoint("A", view.pointA, view.pointA); break;
    case 0x002: MeasurePoint("B", view.pointB, nullptr); break;
    case 0x004: MeasurePoint("C", view.pointC, nullptr); break;
    case 0x008:
        RecordDrillPoint(view);
        settle = true;
        break;
    case 0x010:
    case 0x020:
    case 0x040:
    case 0x080: {
        const int index = code == 0x010 ? 0 : code == 0x020 ? 1 : code == 0x040 ? 2 : 3;
        *speedIndex = index;
        char text[48];
        std::snprintf(text, sizeof text, "Jog Speed %g", kJogSpeeds[index]);
        g_StatusText = text;
        settle = true;
        break;
    }
    case 0x100:
        g_TaughtCorners.leftTop = CornerAtCamera();
        g_StatusText = "Setup Left-Top Border !";
        settle = true;
        break;
    case 0x200:
        g_TaughtCorners.rightBottom = CornerAtCamera();
        g_StatusText = "Setup Right-Bottom Border !";
        RebuildLayoutFromCorners(*view.layout, g_TaughtCorners);
        if (view.repaint)
            view.repaint();
        settle = true;
        break;
    default:
        return;
    }
    Host().MessageBeep(0);
    // A held button repeats on the timer; the pause keeps one press one act.
    if (settle)
        Host().Sleep(300);
}
