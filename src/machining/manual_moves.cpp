// Manual moves: work-area corners, the travel test and the jog buttons.
#include "machining/manual_moves.h"

#include "link/link_state.h"
#include "machining/homing.h"
#include "machining/plane_data.h"
#include "platform/host.h"
#include "platform/resources.h"
#include "resource_ids.h"
#include "settings/machine_settings.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

void TellBeyondTravel(double x, double y)
{
    char text[512];
    std::snprintf(text, sizeof text, LoadResString(IDS_TARGET_BEYOND_TRAVEL).c_str(),
                  static_cast<long>(x), static_cast<long>(y));
    AfxMessageBox(text, MB_ICONEXCLAMATION);
}

// The position as the controller reports it now: a jog limited on an older
// idea of it could run the table into its end. The binary link's stored
// counters are not the machine's position on an ASCII controller, so both
// roads ask the controller itself; a reply slower than one look still counts.
bool ReadFreshPosition()
{
    if (g_ControllerKind == 1)
        return g_BinLink.ReadPosition(&g_MachineX, &g_MachineY, &g_MachineZ) == 1;
    if (g_ControllerKind != 0)
        return false;
    g_MachineLink.CmdZZ();
    if (!g_MachineLink.SendQuery())
        return false;
    CWaitLimits limits;
    limits.deadlineMs = 1000;
    return WaitMachine(
               [] {
                   g_MachineLink.ReadReply();
                   return g_MachineLink.m_ZZReceived ? EPoll::Done : EPoll::Waiting;
               },
               limits) == EWaitEnd::Done;
}

bool ControllerFree() { return g_MachineLink.IsReady() && !g_AbortFlag; }

}  // namespace

// In whole pulses: the pulses per mil are a float, and 5.08 x 1000 mil must
// still reach pulse 5080, not stop a hair short of it.
CTravel TableTravel()
{
    CTravel travel;
    travel.maxX = std::round(g_PulsesPerMil * g_TableWidth);
    travel.maxY = std::round(g_PulsesPerMil * g_TableHeight);
    travel.maxZ = std::round(static_cast<double>(g_ZLimit) * g_ZPulsesPerMM);
    return travel;
}

bool WithinTravel(double x, double y)
{
    const CTravel travel = TableTravel();
    return x >= 0.0 && x <= travel.maxX && y >= 0.0 && y <= travel.maxY;
}

int MoveXYTo(double x, double y, unsigned deadlineMs)
{
    if (!WithinTravel(x, y)) {
        TellBeyondTravel(x, y);
        return 0;
    }
    g_MachineLink.CmdMA2(static_cast<float>(x), static_cast<float>(y));
    g_MachineLink.Send();
    return AwaitReady(deadlineMs) ? 1 : 0;
}

POINT WorkAreaCorner(const RECT& area, EWorkAreaCorner corner)
{
    switch (corner) {
    case EWorkAreaCorner::LowerLeft: return {area.left, area.bottom};
    case EWorkAreaCorner::UpperLeft: return {area.left, area.top};
    case EWorkAreaCorner::LowerRight: return {area.right, area.bottom};
    case EWorkAreaCorner::UpperRight: return {area.right, area.top};
    }
    return {area.left, area.top};
}

void MoveToWorkAreaCorner(EWorkAreaCorner corner)
{
    if (g_PortState < 0 || !ControllerFree())
        return;
    // An area that no board copy has set (its corners far outside the
    // table) is refused here, before the drives are switched on.
    const POINT target = WorkAreaCorner(g_LayoutExtent, corner);
    if (!WithinTravel(target.x, target.y)) {
        TellBeyondTravel(target.x, target.y);
        return;
    }
    g_AbortFlag = 0;
    g_MachineLink.CmdEB(1);
    g_MachineLink.Send();
    g_MachineLink.SetDefaultSpeed();
    MoveXYTo(target.x, target.y);
    g_MachineLink.CmdEB(0);
    g_MachineLink.Send();
    g_StatusText.clear();
}

void RunTravelTest()
{
    if (g_PortState < 0 || !ControllerFree())
        return;
    const CTravel travel = TableTravel();
    for (float speed : {3000.0f, 5000.0f, 7000.0f, 7000.0f, 7000.0f}) {
        g_MachineLink.CmdSP2(speed, speed);
        g_MachineLink.Send();
        if (!MoveXYTo(travel.maxX, travel.maxY) || !MoveXYTo(0.0, 0.0))
            break;
    }
    g_MachineLink.CmdEB(0);
    g_MachineLink.Send();
}

long ClampJogDistance(long position, long distance, long limit)
{
    if (distance < 0)
        return -std::clamp(-distance, 0L, std::max(position, 0L));
    return std::clamp(distance, 0L, std::max(limit - position, 0L));
}

int JogMove(int axis, int direction, float stepMm, float speedMmPerS)
{
    // A press that arrives while a jog waits for its position or its move
    // would be limited on a position the machine is leaving.
    static bool s_Jogging = false;
    if (s_Jogging || g_AbortFlag || axis < 0 || axis > 2 || (direction != 1 && direction != -1))
        return 0;
    const float maxStep = axis == 2 ? kMaxJogStepZ : kMaxJogStepXY;
    if (!(speedMmPerS > 0.0f && speedMmPerS <= kMaxJogSpeed) ||
        !(stepMm > 0.0f && stepMm <= maxStep))
        return 0;
    s_Jogging = true;
    struct CJogging {
        ~CJogging() { s_Jogging = false; }
    } jogging;
    if (!ReadFreshPosition())
        return 0;
    const CTravel travel = TableTravel();
    const double limits[3] = {travel.maxX, travel.maxY, travel.maxZ};
    const std::int32_t positions[3] = {g_MachineX, g_MachineY, g_MachineZ};
    const double perMM = axis == 2 ? g_ZPulsesPerMM : g_XYPulsesPerMM;
    // Rounded, not cut: 0.1 mm of 1000 pulses is 99.99... in float.
    const long step = std::lround(static_cast<double>(stepMm) * perMM);
    const long distance =
        ClampJogDistance(positions[axis], direction * step, std::lround(limits[axis]));
    if (distance == 0)
        return 0;
    g_MachineLink.CmdSP3(speedMmPerS * g_XYPulsesPerMM, speedMmPerS * g_XYPulsesPerMM,
                         speedMmPerS * g_ZPulsesPerMM);
    g_MachineLink.Send();
    float move[3] = {0.0f, 0.0f, 0.0f};
    move[axis] = static_cast<float>(distance);
    g_MachineLink.CmdMR3(move[0], move[1], move[2]);
    g_MachineLink.Send();
    AwaitReady();
    return static_cast<int>(distance);
}

int ConsoleAxisDigit(bool x, bool y, bool z)
{
    const int mask = (x ? 1 : 0) | (y ? 2 : 0) | (z ? 4 : 0);
    // Indexed by the mask of checked axes.
    static const int digits[8] = {-1, 0, 1, 3, 2, 4, 5, 6};
    return digits[mask];
}
