// The view's timer 1 and what runs on it: the tick (joystick jog, position
// poll and readout, a probing step), position monitoring and the joystick
// switch. The logic is the machining floor's; the view lends its timer, its
// flags and its drawing.
#include "view/velm_view.h"

#include "link/link_state.h"
#include "machining/job_gate.h"
#include "machining/machine_timer.h"
#include "platform/host.h"
#include "resource_ids.h"

namespace {

constexpr unsigned kViewTimer = 1;
constexpr unsigned kJogTickMs = 30;

class CViewTimerHost : public CMachineTimerView {
public:
    explicit CViewTimerHost(CVelmView& view) : m_View(view) {}
    void StartTimer(unsigned milliseconds) override
    {
        m_View.m_TimerId = m_View.StartTimer(kViewTimer, milliseconds);
    }
    void StopTimer() override { m_View.StopTimer(); }
    int JoystickOn() const override { return m_View.m_JoystickOn; }
    int& MonitorOn() override { return m_View.m_Monitoring; }
    void DrawDotNow(float x, float y) override { m_View.DrawDotNow(x, y); }
    // The speed buttons choose the joystick's speed.
    void OnJogKey(unsigned buttons, int) override { m_View.OnJogKey(buttons, &g_JoystickSpeedIndex); }

private:
    CVelmView& m_View;
};

}  // namespace

unsigned CVelmView::StartTimer(unsigned /*id*/, unsigned milliseconds)
{
    if (m_TimerRunning)
        return m_TimerId;
    m_TimerRunning = 1;
    return Host().SetTimer(kViewTimer, milliseconds, [this] { OnTimer(); });
}

int CVelmView::StopTimer()
{
    if (!m_TimerRunning)
        return 0;
    m_TimerRunning = 0;
    Host().KillTimer(kViewTimer);
    return 1;
}

void CVelmView::OnTimer()
{
    CViewTimerHost host(*this);
    MachineTimerTick(host);
}

void CVelmView::UpdatePositionDisplay()
{
    CViewTimerHost host(*this);
    ::UpdatePositionDisplay(host);
}

void CVelmView::OnToggleMonitor()
{
    CViewTimerHost host(*this);
    ToggleMonitor(host);
}

void CVelmView::OnToggleJoystick()
{
    m_JoystickOn = !m_JoystickOn;
    if (m_JoystickOn)
        m_TimerId = StartTimer(kViewTimer, kJogTickMs);
    else
        StopTimer();
}

void CVelmView::RegisterTimerCommands()
{
    m_Commands.OnCommand(ID_MACHINE_MONITOR, [this] { OnToggleMonitor(); });
    m_Commands.OnUpdateCommand(ID_MACHINE_MONITOR, [this](CCmdUI& ui) {
        ui.Enable(g_PortState >= 0);
        ui.SetCheck(m_Monitoring ? 1 : 0);
    });
    m_Commands.OnCommand(ID_KEYBOARD_MOVE, [this] { OnToggleJoystick(); });
    m_Commands.OnUpdateCommand(ID_KEYBOARD_MOVE, [this](CCmdUI& ui) {
        ui.Enable(MachineIdleAndConnected());
        ui.SetCheck(m_JoystickOn ? 1 : 0);
    });
}
