// The view's homing, connection and manual-move commands: Machine/Home, the
// tool bars' home and work-area corner buttons, Move control, the command
// console and the travel test. The work itself is the machining floor's
// (homing.h, manual_moves.h); these entries add the view's timer, the
// position window and the document's controller reset.
#include "view/velm_view.h"

#include "link/link_state.h"
#include "link/program_upload.h"
#include "machining/homing.h"
#include "machining/manual_moves.h"
#include "machining/plane_data.h"
#include "machining/command_dlg.h"
#include "machining/jog_dlg.h"
#include "machining/position_dlg.h"
#include "machining/job_gate.h"
#include "platform/host.h"
#include "platform/resources.h"
#include "resource_ids.h"
#include "settings/machine_param_dlg.h"
#include "settings/system_settings_dlg.h"

namespace {

bool InLayoutStage(const CVelmDoc& doc) { return doc.m_WorkStage == static_cast<std::uint8_t>(WorkStage::Layout); }

}  // namespace

void CVelmView::MachineHome()
{
    ::MachineHome([this] { GetDocument()->OnResetEngraver(); });
}

int CVelmView::ConnectMachine()
{
    return ::ConnectMachine([this] { GetDocument()->OnResetEngraver(); });
}

void CVelmView::OnMachineHome()
{
    if (!g_MachineLink.IsReady())
        return;
    StopTimer();
    // The combined job keeps its code: it homes between its two halves.
    if (g_JobCode != 5)
        g_JobCode = 0;
    g_PositionLost = 1;
    MachineHome();
    g_MachineLink.CmdEB(0);
    g_MachineLink.Send();
    StartTimer(1, 30);
}

void CVelmView::OnHomeReturn()
{
    if (IsUploadModel()) {
        // The third controller homes on its own command byte.
        if (UplConnect()) {
            UplSendCommandByte(0xEB);
            g_PortState = g_ComPortIndex;
            g_ProbeTestDlg.m_Layout = &m_Doc.m_PanelLayout;
            g_ProbeTestDlg.CalcLayoutExtent();
        }
        return;
    }
    if (g_JobCode >= 1)
        return;
    if (g_PortState < 0)
        ConnectMachine();
    else if (!g_MachineLink.IsReady())
        return;
    if (g_PortState < 0)
        return;
    g_ProbeTestDlg.m_Layout = &m_Doc.m_PanelLayout;
    g_ProbeTestDlg.CalcLayoutExtent();
    MachineHome();
    g_MachineLink.CmdEB(1);
}

namespace {

void WorkAreaCornerCommand(CVelmDoc& doc, EWorkAreaCorner corner)
{
    g_ProbeTestDlg.m_Layout = &doc.m_PanelLayout;
    g_ProbeTestDlg.CalcLayoutExtent();
    if (!IsUploadModel()) {
        MoveToWorkAreaCorner(corner);
        return;
    }
    // The third controller takes the corner as a move packet, in mm.
    const POINT target = WorkAreaCorner(g_LayoutExtent, corner);
    UplSendMoveXY(static_cast<float>(target.x / g_PulsesPerMil * 0.0254f),
                  static_cast<float>(target.y / g_PulsesPerMil * 0.0254f));
}

}  // namespace

void CVelmView::OnWorkAreaLowerLeft() { WorkAreaCornerCommand(m_Doc, EWorkAreaCorner::LowerLeft); }
void CVelmView::OnWorkAreaUpperLeft() { WorkAreaCornerCommand(m_Doc, EWorkAreaCorner::UpperLeft); }
void CVelmView::OnWorkAreaLowerRight() { WorkAreaCornerCommand(m_Doc, EWorkAreaCorner::LowerRight); }
void CVelmView::OnWorkAreaUpperRight() { WorkAreaCornerCommand(m_Doc, EWorkAreaCorner::UpperRight); }

void CVelmView::OnMachineJog()
{
    CJogDlg dialog;
    if (!g_MachineLink.IsReady() || g_AbortFlag)
        return;
    MachineHome();
    g_PositionPollOff = 0;
    g_AbortFlag = 0;
    g_PositionDlg.CreateOnce();
    g_PositionDlg.ShowWindow(true);
    StartTimer(1, 30);
    g_MachineLink.CmdEB(1);
    g_MachineLink.Send();
    dialog.DoModal();
    g_PositionDlg.ShowWindow(false);
    g_PositionPollOff = 1;
    StopTimer();
}

void CVelmView::OnCommandConsole()
{
    CCommandDlg dialog;
    g_PositionDlg.CreateOnce();
    g_PositionDlg.ShowWindow(true);
    StartTimer(1, 20);
    g_PositionPollOff = 0;
    while (dialog.DoModal() == IDOK) {
        int digit = ConsoleAxisDigit(dialog.m_AxisX, dialog.m_AxisY, dialog.m_AxisZ);
        if (digit < 0)
            AfxMessageBox(LoadResString(IDS_CHOOSE_AXIS));
        else
            g_MachineLink.SendText(digit, dialog.m_Command.c_str());
    }
    g_PositionDlg.ShowWindow(false);
    g_PositionPollOff = 1;
    StopTimer();
}

void CVelmView::OnMachineTravelTest()
{
    ConnectMachine();
    RunTravelTest();
}

void CVelmView::RegisterHomingCommands()
{
    auto portOpen = [](CCmdUI& ui) { ui.Enable(g_PortState >= 0); };
    m_Commands.OnCommand(ID_MACHINE_HOME, [this] { OnMachineHome(); });
    m_Commands.OnUpdateCommand(ID_MACHINE_HOME, portOpen);
    m_Commands.OnCommand(ID_HOME_RETURN, [this] { OnHomeReturn(); });
    m_Commands.OnUpdateCommand(ID_HOME_RETURN, [this](CCmdUI& ui) {
        ui.Enable(InLayoutStage(m_Doc) && g_JobCode == 0);
    });
    const std::pair<unsigned, void (CVelmView::*)()> corners[] = {
        {ID_WORK_AREA_LOWER_LEFT, &CVelmView::OnWorkAreaLowerLeft},
        {ID_WORK_AREA_UPPER_LEFT, &CVelmView::OnWorkAreaUpperLeft},
        {ID_WORK_AREA_LOWER_RIGHT, &CVelmView::OnWorkAreaLowerRight},
        {ID_WORK_AREA_UPPER_RIGHT, &CVelmView::OnWorkAreaUpperRight},
    };
    for (const auto& [id, handler] : corners) {
        m_Commands.OnCommand(id, [this, h = handler] { (this->*h)(); });
        m_Commands.OnUpdateCommand(id, [this](CCmdUI& ui) {
            ui.Enable(InLayoutStage(m_Doc) && g_PortState >= 0 && !g_AbortFlag);
        });
    }
    m_Commands.OnCommand(ID_MACHINE_JOG, [this] { OnMachineJog(); });
    m_Commands.OnUpdateCommand(ID_MACHINE_JOG, [](CCmdUI& ui) {
        ui.Enable(!IsUploadModel() && g_PortState >= 0 && g_JobCode == 0 && !g_AbortFlag);
    });
    m_Commands.OnCommand(ID_COMMAND_CONSOLE, [this] { OnCommandConsole(); });
    m_Commands.OnUpdateCommand(ID_COMMAND_CONSOLE, portOpen);
    m_Commands.OnCommand(ID_MACHINE_TRAVEL_TEST, [this] { OnMachineTravelTest(); });
    m_Commands.OnUpdateCommand(ID_MACHINE_TRAVEL_TEST,
                               [](CCmdUI& ui) { ui.Enable(g_PortState >= 0 && !g_AbortFlag); });
}
