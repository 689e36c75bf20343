// The view's camera and measuring commands: the vision tool bar (focus,
// drill-point sampling, clearing the targets, the measurement report, the
// CCD offset, the calibration hole, the origin adjustment) and the teach
// and measure keys. The work is the machining floor's (vision.h,
// measure_keys.h, camera_offset_dlg.h).
#include "view/velm_view.h"

#include "view/hole_text_walk.h"

#include "link/link_state.h"
#include "machining/camera_offset_dlg.h"
#include "machining/measure_keys.h"
#include "machining/vision.h"
#include "settings/vision_targets.h"
#include "ui/cmd_ui.h"
#include "ui/edit_wnd.h"
#include "resource_ids.h"

CMachineViewHooks CVelmView::MachineHooks()
{
    CMachineViewHooks hooks;
    hooks.home = [this] { MachineHome(); };
    hooks.connect = [this] { return ConnectMachine(); };
    hooks.startTimer = [this] { m_TimerId = StartTimer(1, 30); };
    hooks.stopTimer = [this] { StopTimer(); };
    return hooks;
}

void CVelmView::OnJogKey(unsigned code, int* speedIndex)
{
    CMeasureKeyView keys;
    keys.pointA = &m_MeasurePointA;
    keys.pointB = &m_MeasurePointB;
    keys.pointC = &m_MeasurePointC;
    keys.drillSize = &m_NewDrillDiameter;
    keys.layout = &m_Doc.m_PanelLayout;
    keys.repaint = [this] { Invalidate(); };
    MeasureKey(code, speedIndex, keys);
}

void CVelmView::OnVisionMeasure()
{
    CMeasureDlg dialog;
    dialog.m_Points.ax = static_cast<float>(m_MeasurePointA.x);
    dialog.m_Points.ay = static_cast<float>(m_MeasurePointA.y);
    dialog.m_Points.bx = static_cast<float>(m_MeasurePointB.x);
    dialog.m_Points.by = static_cast<float>(m_MeasurePointB.y);
    dialog.m_Points.cx = static_cast<float>(m_MeasurePointC.x);
    dialog.m_Points.cy = static_cast<float>(m_MeasurePointC.y);
    dialog.DoModal();
}

void CVelmView::OnAdjustOrigin()
{
    CDrillTextWalk measure(g_MeasureDataWnd);
    AdjustOrigin(measure, m_BlockList, MachineHooks());
    Invalidate();
}

void CVelmView::RegisterVisionCommands()
{
    m_Commands.OnCommand(ID_CAMERA_FOCUS, [] { LensFocus(); });
    m_Commands.OnCommand(ID_SAMPLE_DRILLS, [this] { StartDrillSampling(&m_SampleDrillMode); });
    m_Commands.OnCommand(ID_CLEAR_VISION_TARGETS, [] { ClearVisionData(); });
    m_Commands.OnCommand(ID_VISION_MEASURE, [this] { OnVisionMeasure(); });
    m_Commands.OnCommand(ID_CAMERA_OFFSET, [] { ResetCcdOffset(); });
    m_Commands.OnCommand(ID_DRILL_CAMERA_HOLE, [] { DrillLensCalibrationHole(); });
    m_Commands.OnCommand(ID_VISION_SYSTEM, [this] { OnAdjustOrigin(); });
    const auto machineIdle = [](CCmdUI& ui) {
        ui.Enable(g_PortState >= 0 && g_JobCode == 0 && !g_AbortFlag);
    };
    for (unsigned id : {ID_CAMERA_FOCUS, ID_CLEAR_VISION_TARGETS, ID_VISION_MEASURE,
                        ID_CAMERA_OFFSET, ID_DRILL_CAMERA_HOLE, ID_VISION_SYSTEM})
        m_Commands.OnUpdateCommand(id, machineIdle);
    m_Commands.OnUpdateCommand(ID_SAMPLE_DRILLS, [this, machineIdle](CCmdUI& ui) {
        machineIdle(ui);
        ui.SetCheck(m_SampleDrillMode == 1);
    });
}
