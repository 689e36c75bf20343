// The board window's keyboard: the copper line width, the held-key letters
// the mouse tools read, Escape for the pick modes, zoom keys, the isolation
// keys of the edit stage, the block keys of the layout stage, the start keys
// of fixed-plunge machining, and the jog and teach keypad of keyboard
// jogging. Keys are virtual-key codes; letters their upper-case codes.
#include "view/velm_view.h"

#include "editing/coord_input_dlg.h"
#include "editing/hit_tests.h"
#include "import/drill_reader.h"
#include "link/link_state.h"
#include "machining/homing.h"
#include "machining/machine_timer.h"
#include "machining/manual_moves.h"
#include "machining/number_input_dlg.h"
#include "machining/position_dlg.h"
#include "machining/probe_test_dlg.h"
#include "machining/vision.h"
#include "platform/host.h"
#include "platform/message_pump.h"
#include "platform/program_state.h"
#include "platform/resources.h"
#include "resource_ids.h"
#include "settings/drill_format_dlg.h"
#include "settings/layer_dlg.h"
#include "settings/machine_param_dlg.h"
#include "settings/machine_settings.h"
#include "settings/registry.h"
#include "settings/system_settings_dlg.h"
#include "ui/command_router.h"
#include "ui/edit_wnd.h"

#include <cmath>
#include <cstdlib>

namespace {

constexpr double kMilPerMm = 39.37;
constexpr int kWidestCopperLine = 201;
constexpr int kNarrowestCopperLine = 6;

constexpr unsigned VkF(int n) { return VK_F1 + unsigned(n - 1); }

bool IsPlus(unsigned key) { return key == VK_ADD || key == VK_OEM_PLUS; }
bool IsMinus(unsigned key) { return key == VK_SUBTRACT || key == VK_OEM_MINUS; }

double PulsesToMil(double pulses) { return pulses / g_XYPulsesPerMM * 100.0 / 2.54; }

// The display unit's name and a machine position (pulses) in it.
const char* UnitName()
{
    return g_UnitSelector == 0 ? "mm" : g_UnitSelector == 1 ? "mil" : "pulse";
}
double InDisplayUnit(double pulses)
{
    if (g_UnitSelector == 0)
        return pulses / g_XYPulsesPerMM;
    if (g_UnitSelector == 1)
        return PulsesToMil(pulses);
    return pulses;
}

// A positive number typed into a dialog, or nothing: an empty text or a
// typing error must not become a size of 0.
bool PositiveValue(const std::string& text, double* value)
{
    char* end = nullptr;
    const double v = std::strtod(text.c_str(), &end);
    if (end == text.c_str())
        return false;
    while (*end == ' ' || *end == '\t')
        ++end;
    if (*end != '\0' || !(v > 0.0) || !std::isfinite(v))
        return false;
    *value = v;
    return true;
}

}  // namespace

void CVelmView::OnKeyDown(unsigned key)
{
    const int stage = m_Doc.m_WorkStage;

    // Escape drops a rubber band being dragged, as the right button does.
    if (key == VK_ESCAPE && m_BandActive)
        AbandonRubberBand();
    if (m_CopperLineMode && (key == VK_UP || key == VK_DOWN || IsPlus(key) || IsMinus(key))) {
        if ((key == VK_UP || IsPlus(key)) && m_CopperLineWidth < kWidestCopperLine)
            m_CopperLineWidth += 2;
        if ((key == VK_DOWN || IsMinus(key)) && m_CopperLineWidth > kNarrowestCopperLine)
            m_CopperLineWidth -= 2;
        g_StatusText = FormatText(LoadResString(IDS_COPPER_WIDTH).c_str(), m_CopperLineWidth);
        PumpMessages();
    }
    if (key == VK_CONTROL && m_DrillAddMode) {
        const CDrillTool* tool = nullptr;
        FindDrillHoleNear(g_HoleList, m_CursorPos, &tool, nullptr);
        if (tool) {
            const float d = tool->diameter;
            m_NewDrillDiameter = d;
            g_StatusText = FormatText("Drill Diameter %.2g mm ( %d mil )", d / kMilPerMm, int(d));
            MessageBeep(0);
        }
    }
    if (m_ManualEngraveMode && (key == VK_UP || key == VK_DOWN || IsPlus(key) || IsMinus(key))) {
        g_PlungeOffsetPulses += (key == VK_UP || IsPlus(key)) ? 1 : -1;
        g_StatusText = FormatText(LoadResString(IDS_PLUNGE_DEPTH).c_str(),
                                  (g_XYPulsesPerMM * g_EngraveDepth + g_PlungeOffsetPulses) /
                                      g_XYPulsesPerMM);
        g_PositionDlg.SetWindowText(g_StatusText);
    }
    if (key == VK_HOME && (m_RouteLineMode || m_RouteCircleMode || m_RouteRectMode ||
                           m_RouteDraw2Mode || m_RouteOriginMode || m_RouteStep)) {
        // Only a route that has a start point is closed: without one the
        // record would send the tool to the board's origin.
        if (m_RouteStep)
            g_RouteDataWnd.m_Edit.WriteLineF("G01X%d.Y%d.", int(m_RouteStart.x),
                                             int(m_RouteStart.y));
        m_PressState = 0;
        m_RouteStep = 0;
    }
    if (key == VK_ESCAPE &&
        (m_IsoPickMode || m_DrillFindMode || m_DrillMoveMode || m_DrillAlignMode ||
         m_RegHoleAddMode || m_RegHolePickMode || m_RangeMode || m_TrimMode || m_ResetClearMode ||
         m_CopperToRouteMode)) {
        OnPopupCancel();
        // The offset pick ends as the right button ends it: the rings go and
        // the side data come back from the snapshot taken before it.
        if (m_CopperToRouteMode)
            EndOffsetPick();
        for (int* flag : {&m_HideRoute, &m_RangeMode, &m_TrimMode, &m_ResetClearMode,
                          &m_BlockPicking, &m_DrillFindMode, &m_DrillMoveMode, &m_DrillAlignMode,
                          &m_DrillAddMode, &m_RegHoleAddMode, &m_RegHolePickMode, &m_PressState})
            *flag = 0;
        m_EditList.clear();
        Invalidate();
    }
    if (key == VK_ESCAPE &&
        (m_SampleDrillMode || m_BlockCopyMode || m_BlockDeleteMode || m_BlockMoveMode ||
         m_BlockRotateMode || m_BlockMirrorXMode || m_BlockMirrorYMode || m_BlockCoordsMode ||
         m_DrillCoordMode || m_ToolDetectMode || m_SelectDataMode || m_SelectBlockMode)) {
        // An armed drill sample pick stays armed: it is ended by its own
        // command.
        for (int* flag : {&m_BlockCopyMode, &m_BlockDeleteMode, &m_BlockMoveMode,
                          &m_BlockRotateMode, &m_BlockMirrorXMode, &m_BlockMirrorYMode,
                          &m_BlockCoordsMode, &m_DrillCoordMode, &m_ToolDetectMode,
                          &m_SelectDataMode, &m_SelectBlockMode, &m_PressState})
            *flag = 0;
        m_EditList.clear();
        Invalidate();
    }
    // Z and F11 no longer touch the port state: pretending a port is open
    // would enable every machine command without a machine.
    const bool machineStart =
        g_FixedPlungeMode && g_JobCode == 0 && stage == 3 && g_PortState >= 0;
    if (key == VK_ADD && machineStart)
        CommandRouter().Dispatch(ID_MACHINE_DRILL);
    if (key == VK_INSERT && machineStart)
        CommandRouter().Dispatch(ID_MACHINE_ROUTE);
    if (key == VK_PRIOR)
        OnZoomIn();
    if (key == VK_NEXT)
        OnZoomOut();
    if (key == 'T' || key == VK_TAB)
        m_KeyTab = 1;
    if (key == 'C' || key == 'D' || key == VK_CONTROL)
        m_KeyCtrl = 1;
    if (key == 'S' || key == 'R' || key == VK_SHIFT)
        m_KeyShift = 1;

    if (stage == 1) {
        if (key == VkF(1))
            OnIsoDelete();
        else if (key == VkF(2))
            OnIsoUnselect();
        else if (key == VkF(3))
            OnIsoSelectLine();
        else if (key == VkF(4))
            OnIsoSelectArea();
        else if (key == VkF(5)) {
            g_SolidLineView = !g_SolidLineView;
            Invalidate();
        } else if (key == VkF(6)) {
            m_CopperHighlight = !m_CopperHighlight;
            Invalidate();
        } else if (key == 'U') {
            m_Doc.LoadUndoSnapshot();
            Invalidate();
        }
    }

    if (stage == 3) {
        if (key == VkF(1) && m_BlockPicking && (m_BlockCopyMode || m_BlockMoveMode)) {
            CCoordInputDlg dlg;
            if (dlg.DoModal() != IDOK)
                return;
            // The copies come unmarked, as the mouse makes them.
            const int dx = TruncToInt(dlg.m_CoordX), dy = TruncToInt(dlg.m_CoordY);
            if (m_BlockCopyMode)
                CopyEditListToBlocks(dx, dy);
            else
                MoveEditListBlocks(dx, dy);
            m_BlockCopyMode = m_BlockMoveMode = m_BlockPicking = m_PressState = 0;
            Invalidate();
            g_StatusText.clear();
            return;
        }
        if (key == 'X' && m_KeyCtrl) {
            // A copy at the machine's position needs a copy to take and a
            // machine to ask.
            if (m_BlockList.empty() || m_OutlinePoints.empty() || g_PortState < 0) {
                MessageBeep(0);
                return;
            }
            std::int32_t ax = 0, ay = 0;
            RegGetLong("AX", ax);
            RegGetLong("AY", ay);
            const RECT r = CalcPointListBounds(m_OutlinePoints);
            auto block = std::make_unique<CLayoutBlock>(r.left, r.top, r.right, r.bottom);
            *block = *m_BlockList.front();
            ReadPositionReply(200);
            const int tx = TruncToInt(PulsesToMil(double(g_MachineX) + ax));
            const int ty = TruncToInt(PulsesToMil(double(g_MachineY) + ay));
            const int dx = tx - TruncToInt(block->m_Centre.x);
            const int dy = ty - TruncToInt(block->m_Centre.y);
            block->m_Centre += CDPoint(dx, dy);
            block->m_Extent = RECT{block->m_Extent.left + dx, block->m_Extent.top + dy,
                                   block->m_Extent.right + dx, block->m_Extent.bottom + dy};
            block->m_Selected = 1;
            m_BlockList.push_back(std::move(block));
            Invalidate();
            return;
        }
    }

    if (m_JoystickOn && g_JobCode == 0) {
        const float stepMm = g_JogStep / g_XYPulsesPerMM;
        switch (key) {
        case VK_ESCAPE: m_JoystickOn = 0; break;
        case VK_LEFT: JogMove(0, -1, stepMm, g_RapidSpeed); break;
        case VK_UP: JogMove(1, 1, stepMm, g_RapidSpeed); break;
        case VK_RIGHT: JogMove(0, 1, stepMm, g_RapidSpeed); break;
        case VK_DOWN: JogMove(1, -1, stepMm, g_RapidSpeed); break;
        case '1': g_JogStep = int(g_XYPulsesPerMM * 0.01f); break;
        case '2': g_JogStep = int(g_XYPulsesPerMM * 0.1f); break;
        case '3': g_JogStep = int(g_XYPulsesPerMM * 1.0f); break;
        case '4': g_JogStep = int(g_XYPulsesPerMM * 10.0f); break;
        case '5': g_JogStep = int(g_XYPulsesPerMM * 20.0f); break;
        // The teach keys: points A, B and C, the measuring point, and the
        // work area's corners.
        case 'A':
        case VkF(1): OnJogKey(1, &g_JoystickSpeedIndex); break;
        case 'B':
        case VkF(2): OnJogKey(2, &g_JoystickSpeedIndex); break;
        case 'C':
        case VkF(3): OnJogKey(4, &g_JoystickSpeedIndex); break;
        case 'X':
        case VkF(4): OnJogKey(8, &g_JoystickSpeedIndex); break;
        case 'S':
        case VkF(9):
            OnJogKey(256, &g_JoystickSpeedIndex);
            MessageBeep(0);
            g_StatusText = "Setup Left-Top Point";
            break;
        case VkF(11):
            OnJogKey(512, &g_JoystickSpeedIndex);
            MessageBeep(0);
            g_StatusText = "Setup Right-Bottom Point";
            break;
        case 'F': LensFocus(); break;
        case 'M': OnVisionMeasure(); break;
        case 'H': OnHomeReturn(); break;
        case 'O':
            if (g_PortState < 0)
                break;
            MessageBeep(0);
            g_BinLink.SetPosX(0);
            g_BinLink.SetPosY(0);
            g_BinLink.CmdEquals(0);
            ReadPositionReply(100);
            g_StatusText = g_UnitSelector == 2
                               ? FormatText("Origin A(%g,%g) pulse", double(g_MachineX),
                                            double(g_MachineY))
                               : FormatText("Origin (%g,%g) %s", InDisplayUnit(g_MachineX),
                                            InDisplayUnit(g_MachineY), UnitName());
            break;
        case 'R': ImportMeasuredHoles(); break;
        case 'U': {
            if (g_PortState < 0)
                break;
            // The step waits until the controller is ready again.
            OnJogZUp();
            if (!ReadPositionReply(100))
                break;
            const int probe = g_ProbeTestDlg.ProbeActive();
            const double z = g_MachineZ;
            const double zMm = z / g_ZPulsesPerMM;
            g_StatusText =
                g_UnitSelector == 2 ? FormatText("Point Z(%g,%g) pulse", double(probe), z)
                : g_UnitSelector == 1
                    ? FormatText("Point Z(%g,%g) mil", double(probe), zMm * kMilPerMm)
                    : FormatText("Point Z(%g,%g) mm", double(probe), zMm);
            break;
        }
        case VkF(5): {
            CNumberInputDlg dlg;
            dlg.m_Prompt = LoadResString(IDS_NEW_DRILL_DIAMETER);
            dlg.m_Value = FormatText("%g", m_NewDrillDiameter / kMilPerMm);
            double mm = 0.0;
            // Cancel, or a text that is no positive size, keeps the size.
            if (dlg.DoModal() != IDOK || !PositiveValue(dlg.m_Value, &mm)) {
                MessageBeep(0);
                break;
            }
            m_NewDrillDiameter = float(mm * kMilPerMm);
            g_MeasureDataWnd.CreateOnce(LoadResString(IDS_MEASURE_WND));
            g_MeasureDataWnd.ShowWindow(true);
            const int lines = g_MeasureDataWnd.m_Edit.GetLineCount();
            g_MeasureDataWnd.m_Edit.WriteLineF(";Size=%g mm", mm);
            g_MeasureDataWnd.m_Edit.WriteLineF("T%dC%.1f", lines, mm);
            g_StatusText = "Change Drill Size !";
            break;
        }
        default: break;
        }
    }
}

void CVelmView::OnKeyUp(unsigned key)
{
    if (key == VK_TAB)
        m_KeyTab = 0;
    else if (key == VK_CONTROL)
        m_KeyCtrl = 0;
    else if (key == VK_SHIFT)
        m_KeyShift = 0;
    // The letters latch for the mouse tools until the next click, but a
    // manual run must not drill or engrave at the next point it crosses
    // once the operator has let go of the key.
    if (m_ManualDrillMode || m_ManualEngraveMode)
        OnManualKeyUp(key);
}

void CVelmView::ImportMeasuredHoles()
{
    if (!g_MeasureDataWnd.m_Created)
        return;
    // The holes are measured against the first copy of the panel.
    if (m_BlockList.empty()) {
        AfxMessageBox(LoadResString(IDS_NEEDS_LAYOUT_BLOCK));
        return;
    }
    std::int32_t ax = 0, ay = 0;
    RegGetLong("AX", ax);
    RegGetLong("AY", ay);
    const double c = m_BlockList.front()->m_RefCentre.y;

    // The whole text is read into a list of its own first: the drill list
    // is replaced only by a text that holds holes, and only when the
    // operator agrees.
    COwnedList<CDrillTool> measured;
    std::array<float, DRILL_TOOL_SIZES> sizes = g_ToolSizes;
    float diameter = m_NewDrillDiameter;
    int holes = 0;
    // The measurement text is metric; the reader hands its values over in
    // mil.
    {
        CMetricDrillUnits metric(CMetricDrillUnits::EScope::CoordinatesAndSizes);
        CDrillReader reader;
        reader.Attach(&g_MeasureDataWnd);
        reader.ReadHeader();
        for (int code = reader.ReadNextBlock(); code != DRILL_END;
             code = reader.ReadNextBlock()) {
            if (code == DRILL_TOOL) {
                diameter = reader.m_ToolSize;
            } else if (code == DRILL_POSITION) {
                const double x = reader.m_OutX;
                const double y = g_TableHeight - reader.m_OutY;
                const CDPoint p(PulsesToMil(ax) + x, 2.0 * c - (PulsesToMil(ay) + y));
                AddHandDrill(measured, sizes, diameter, p);
                ++holes;
            }
        }
    }

    if (holes == 0) {
        AfxMessageBox(LoadResString(IDS_MEASURED_HOLES_NONE));
        return;
    }
    if (AfxMessageBox(FormatText(LoadResString(IDS_MEASURED_HOLES_REPLACE).c_str(), holes),
                      MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    g_HoleList = std::move(measured);
    g_ToolSizes = sizes;
    m_NewDrillDiameter = diameter;
    Invalidate();
}
