// The controller set-up from the machine parameters and the spindle speed
// code; both go only to the controller that answered on the port.
#include "machining/machine_setup.h"

#include "link/link_state.h"
#include "link/machine_wait.h"
#include "settings/machine_param_dlg.h"
#include "settings/machine_settings.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {

// Pulses and speeds as the controller takes them: truncated, and held to what
// an int carries, so a wild setting cannot overflow the conversion.
int Truncated(double value)
{
    constexpr double kLimit = std::numeric_limits<int>::max();
    if (std::isnan(value))
        return 0;
    return static_cast<int>(std::clamp(value, -kLimit, kLimit));
}

void SetUpAsciiController()
{
    CAsciiLink& link = g_MachineLink;
    auto send = [&link](const char*) { link.Send(); };
    send(link.CmdEB(1));
    send(link.CmdAC2(g_XYAcceleration * 20000));
    send(link.CmdAC1(g_ZSpeed * 20000));
    float rapid = g_RapidSpeed * g_XYPulsesPerMM;
    send(link.CmdSP2(rapid, rapid));
    send(link.CmdSP1(g_PlungeSpeed * g_ZPulsesPerMM));
    float home = g_HomeSpeed * g_XYPulsesPerMM;
    send(link.CmdHS2(home, home));
    send(link.CmdHS1(g_ParamM14 * g_ZPulsesPerMM));
    g_EBState = 1;
    send(link.CmdEL3());
    send(link.CmdCT());
}

void SetUpBinaryController()
{
    CBinLink& link = g_BinLink;
    const double xy = g_XYPulsesPerMM;
    const double z = g_ZPulsesPerMM;
    link.Cmd1F(292);
    link.Cmd20(59);
    link.SetRateX(10.0f);
    link.SetRateY(7.072136f);
    link.SetRateZ(10.0f);
    link.Cmd12(Truncated(g_XYAcceleration * xy / 8));
    link.Cmd13(Truncated(g_XYAcceleration * xy / 8));
    link.Cmd14(Truncated(g_ZSpeed * z / 10));
    link.SetSpeedX(Truncated(g_RapidSpeed * xy / 10));
    link.SetSpeedY(Truncated(g_RapidSpeed * xy / 10 * 1.414));
    link.SetSpeedZ(Truncated(g_PlungeSpeed * z / 10));
    int xyMode = g_XYTwoPhaseStep ? (g_DriverMode | 0x43) : (g_DriverMode | 0x143);
    link.Cmd03(xyMode);
    link.Cmd04(xyMode);
    link.Cmd05(g_ZInvertDir ? (g_DriverMode | 0x143) : 3);
    SetXYPulsesPerMM(g_XYPulsesPerMM);
    link.SetPosX(0);
    link.SetPosY(0);
    link.SetPosZ(0);
    link.CmdColon(Truncated(g_HomeSpeed * xy / 10), 100, 0, 0);
    link.Cmd18(20);
    link.Cmd19(20);
    link.Cmd1A(Truncated(2 * z / 10));
    link.SetAbsoluteMode(1);
    link.LoadAxisParam12(15, 0);
    link.LoadAxisParam11(1, Truncated(g_XLimit * xy));
    link.LoadAxisParam11(2, Truncated(g_YLimit * xy));
    link.LoadAxisParam11(4, Truncated(g_ZLimit * z));
}

void SpindleSpeedFromLink(float rpm) { CMachineParamDlg::SetSpindleSpeed(rpm); }

// The link sets the speed through the machine parameters when it switches
// the binary controller's spindle on.
const bool s_SpindleSpeedSetterInstalled = [] {
    g_SpindleSpeedSetter = &SpindleSpeedFromLink;
    return true;
}();

}  // namespace

void ResetController()
{
    if (g_ControllerKind == 0)
        SetUpAsciiController();
    else if (g_ControllerKind == 1)
        SetUpBinaryController();
    else
        return;
    WaitPumping(200);
}

void CMachineParamDlg::SendSpindleCode(std::uint8_t code)
{
    // The code travels in the binary controller's output word; an ASCII
    // controller has no such word, so nothing goes to it.
    if (g_ControllerKind != 1)
        return;
    std::uint16_t word = SpindleOutputWord(code, g_BinLink.m_OutputWord);
    std::uint16_t before = g_BinLink.m_OutputWord;
    g_BinLink.m_OutputWord = word;
    if (!g_BinLink.WriteOutputs())
        g_BinLink.m_OutputWord = before;
}

void CMachineParamDlg::SetSpindleSpeed(float rpm) { SendSpindleCode(RpmToSpindleCode(rpm)); }
