// Writing the registration-hole text and the manual locating-hole search.
#include "machining/locating_holes.h"

#include "geometry/plane_geometry.h"
#include "link/link_state.h"
#include "machining/job_gate.h"
#include "machining/homing.h"
#include "machining/hole_text.h"
#include "machining/manual_moves.h"
#include "machining/position_dlg.h"
#include "platform/host.h"
#include "platform/resources.h"
#include "resource_ids.h"
#include "settings/registry.h"
#include "ui/line_store.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr const char* kPairMarkers[kRegistrationPairs] = {"First", "Second", "Third", "Forth",
                                                          "Fifth"};

// A hole line at table mils (x, y), in millimetres as the window shows them
// and every reader of the text takes them; four decimals keep a whole mil
// exact (0.0254 mm).
void WriteHoleLine(CLineEdit& text, double x, double y)
{
    constexpr double kMmPerMil = 0.0254;
    text.WriteLineF("X%.4fY%.4f", x * kMmPerMil, y * kMmPerMil);
}

bool TextHas(const CLineEdit& text, const std::string& word)
{
    for (int n = 0; n < text.GetLineCount(); ++n)
        if (text.GetLineText(n).find(word) != std::string::npos)
            return true;
    return false;
}

}  // namespace

void EnsureHoleHeader(CLineEdit& text)
{
    if (TextHas(text, "%"))
        return;
    text.WriteLineF("%s", "%");
    text.WriteLineF("%s", "T30C1.25");
}

int WriteHolePair(CLineEdit& text, int pair, double tableWidth, double tableHeight)
{
    if (pair < 1 || pair > kRegistrationPairs)
        return 0;
    const char* marker = kPairMarkers[pair - 1];
    if (TextHas(text, marker))
        return 0;
    const double s = pair * tableWidth / 12.0;
    const double y = tableHeight / 2.0;
    text.WriteLineF(";Set %s position", marker);
    WriteHoleLine(text, tableWidth / 2.0 - s, y);
    WriteHoleLine(text, tableWidth / 2.0 + s, y);
    return 1;
}

void WriteSquareHoles(CLineEdit& text, double a, double b, double tableWidth, double tableHeight)
{
    const double cx = tableWidth / 2.0, cy = tableHeight / 2.0;
    const double xs[2] = {cx - a / 2.0, cx + a / 2.0};
    const double ys[2] = {cy - b / 2.0, cy + b / 2.0};
    for (double y : ys)
        for (double x : xs)
            WriteHoleLine(text, double(static_cast<long>(x)), double(static_cast<long>(y)));
}

void AddHolePair(CLineEdit& text, int x, int y, double tableWidth)
{
    WriteHoleLine(text, x, y);
    WriteHoleLine(text, static_cast<int>(tableWidth - x), y);
}

bool FindHoleNear(CHoleTextWalk& holes, const CDPoint& point, CDPoint* found)
{
    constexpr double kPickRadius = 40.0;
    if (!holes.Available())
        return false;
    holes.Restart();
    for (EHoleBlock block = holes.Next(); block != EHoleBlock::End; block = holes.Next()) {
        if (block != EHoleBlock::Position)
            continue;
        const CDPoint hole = holes.Point();
        if (Distance(hole.x, hole.y, point.x, point.y) < kPickRadius) {
            *found = hole;
            return true;
        }
    }
    return false;
}

void RunLocatingHoleSearch(CHoleTextWalk& holes, const CMachineViewHooks& view)
{
    if (!holes.Available()) {
        g_JobCode = 0;
        return;
    }
    g_PositionDlg.CreateOnce();
    g_PositionDlg.ShowWindow(true);
    view.home();
    g_MachineLink.SetDefaultSpeed();
    if (g_AbortFlag) {
        g_PositionDlg.ShowWindow(false);
        g_JobCode = 0;
        return;
    }
    g_MachineLink.CmdCO();
    g_MachineLink.Send();
    g_AbortFlag = 0;
    g_ToolDown = 0;
    g_JobRunning = 1;
    holes.SetReadOnly(true);
    view.startTimer();
    g_PositionPollOff = 0;
    Host().Sleep(300);
    g_PositionDlg.SetWindowText(LoadResString(IDS_MACHINE_POSITION));

    holes.Restart();
    long count = 0;
    while (!g_AbortFlag && g_JobCode != 0) {
        const EHoleBlock block = holes.Next();
        if (block == EHoleBlock::End)
            break;
        if (block != EHoleBlock::Position)
            continue;
        ++count;
        const CDPoint hole = holes.Point();
        const long x = static_cast<long>(hole.x);
        const long y = static_cast<long>(hole.y);
        char caption[32];
        std::snprintf(caption, sizeof caption, "Count: %ld", count);
        g_PositionDlg.SetWindowText(caption);
        g_MachineLink.SetDefaultSpeed();
        // A hole beyond the travel is told and passed over; STOP or a lost
        // controller end the walk at the loop's test.
        if (!MoveXYTo(x * static_cast<double>(g_PulsesPerMil),
                      y * static_cast<double>(g_PulsesPerMil)))
            continue;
        g_MachineLink.CmdEB(0);
        g_MachineLink.Send();
        AfxMessageBox("Next Hole", MB_OK);
        if (g_AbortFlag)
            break;
        g_MachineLink.CmdEB(1);
        g_MachineLink.Send();
    }
    if (!g_AbortFlag)
        AwaitReady();
    holes.SetReadOnly(false);
    if (g_AbortFlag) {
        g_PositionDlg.ShowWindow(false);
        view.stopTimer();
        g_JobCode = 0;
        return;
    }
    RegSetString("WORK", "");
    g_JobCode = 0;
    g_MachineLink.SetDefaultSpeed();
    g_MachineLink.CmdMA1(0.0f);
    g_MachineLink.Send();
    if (AwaitReady()) {
        g_MachineLink.CmdMA2(0.0f, 0.0f);
        g_MachineLink.Send();
        AwaitReady();
    }
    view.stopTimer();
    g_PositionDlg.ShowWindow(false);
    g_MachineLink.CmdEB(0);
    g_MachineLink.Send();
}
