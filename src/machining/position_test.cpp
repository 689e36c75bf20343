// The board position test dialog: corner moves and homing, each waited for.
#include "machining/position_test.h"

#include "link/link_state.h"
#include "link/machine_wait.h"
#include "machining/manual_moves.h"
#include "machining/probe_test_dlg.h"
#include "platform/host.h"
#include "platform/resources.h"
#include "resource_ids.h"

#include <cstdio>

CBoardPositionTestDlg::CBoardPositionTestDlg() : CDialog(IDD_BOARD_POSITION_TEST)
{
    for (unsigned id : {IDC_BPT_LEFT_TOP, IDC_BPT_RIGHT_TOP, IDC_BPT_LEFT_BOTTOM,
                        IDC_BPT_RIGHT_BOTTOM, IDC_BPT_CENTRE})
        OnCommand(id, [this, id] { MoveToCorner(id); });
}

void CBoardPositionTestDlg::MoveToCorner(unsigned id)
{
    if (m_Busy)
        return;
    const RECT& area = g_LayoutExtent;
    int x = area.left, y = area.top;
    switch (id) {
    case IDC_BPT_RIGHT_TOP: x = area.right; break;
    case IDC_BPT_LEFT_BOTTOM: y = area.bottom; break;
    case IDC_BPT_RIGHT_BOTTOM: x = area.right; y = area.bottom; break;
    case IDC_BPT_CENTRE:
        x = (area.left + area.right) / 2;
        y = (area.top + area.bottom) / 2;
        break;
    default: break;
    }
    // An empty panel leaves the extent at its far start values, and a copy
    // may lie off the table: neither may drive the machine into its stops.
    if (!WithinTravel(x, y)) {
        char text[256];
        std::snprintf(text, sizeof text, LoadResString(IDS_TARGET_BEYOND_TRAVEL).c_str(), long(x),
                      long(y));
        AfxMessageBox(text, MB_ICONEXCLAMATION);
        return;
    }
    m_Busy = true;
    g_AbortFlag = 0;
    g_MachineLink.CmdEB(1);
    g_MachineLink.Send();
    g_MachineLink.SetDefaultSpeed();
    g_MachineLink.CmdMA2(float(x), float(y));
    g_MachineLink.Send();
    WaitUntilReady(kMoveDeadlineMs);
    g_MachineLink.CmdEB(0);
    g_MachineLink.Send();
    g_StatusText.clear();
    m_Busy = false;
}

void CBoardPositionTestDlg::Home()
{
    m_Busy = true;
    g_AbortFlag = 0;
    g_MachineLink.CmdEB(1);
    g_MachineLink.Send();
    g_MachineLink.CmdHM1();
    g_MachineLink.Send();
    g_MachineLink.CmdHM2();
    g_MachineLink.Send();
    WaitUntilReady(kHomingDeadlineMs);
    g_MachineLink.CmdEB(0);
    g_MachineLink.Send();
    g_StatusText.clear();
    m_Busy = false;
}

void CBoardPositionTestDlg::OnOK()
{
    if (m_Busy)
        return;
    Home();
    CDialog::OnOK();
}

void CBoardPositionTestDlg::OnCancel()
{
    if (!m_Busy)
        Home();
}
