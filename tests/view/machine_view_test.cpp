// The view's machine commands without a controller: the timer that stops
// itself on every tick, the position readout and its units, monitoring, the
// position window's Esc and STOP latch, the job message, and the job
// commands reached through the command router.
#include "link/job_codes.h"
#include "link/link_state.h"
#include "machining/job_gate.h"
#include "machining/machine_timer.h"
#include "machining/position_dlg.h"
#include "machining/fixed_plunge_dlg.h"
#include "settings/machine_param_dlg.h"
#include "resource_ids.h"
#include "settings/machine_settings.h"
#include "settings/system_settings_dlg.h"
#include "support/fake_joystick.h"
#include "support/scripted_host.h"
#include "ui/command_router.h"
#include "view_fixture.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class MachineViewTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        // No controller: the position poll sends nothing and reads nothing.
        g_ControllerKind = -1;
        g_PositionPollOff = 1;
    }
};

TEST_F(MachineViewTest, StartTimerTwiceKeepsTheFirstAndStopTwiceDoesNothing)
{
    unsigned first = view->StartTimer(1, 30);
    EXPECT_EQ(view->m_TimerRunning, 1);
    view->m_TimerId = first;
    EXPECT_EQ(view->StartTimer(1, 50), first);
    EXPECT_TRUE(TestHost().HasTimer(1));
    EXPECT_EQ(view->StopTimer(), 1);
    EXPECT_FALSE(TestHost().HasTimer(1));
    EXPECT_EQ(view->StopTimer(), 0);
}

// The tick kills its own timer first and sets it again at its end, so the
// handler that runs is the one it replaced; it keeps ticking.
TEST_F(MachineViewTest, TickStopsAndRearmsItsOwnTimer)
{
    view->m_TimerId = view->StartTimer(1, 20);
    for (int i = 0; i < 3; ++i) {
        TestHost().FireTimer(1);
        EXPECT_TRUE(TestHost().HasTimer(1));
        EXPECT_EQ(view->m_TimerRunning, 1);
    }
}

TEST_F(MachineViewTest, ProbingTickThatFinishesLeavesTheTimerOffAndTheWindowHidden)
{
    g_PositionDlg.CreateOnce();
    g_PositionDlg.ShowWindow(true);
    view->m_Monitoring = 1;
    view->m_TimerId = view->StartTimer(1, 30);
    g_JobCode = JOB_SURFACE_PROBE;
    TestHost().FireTimer(1);
    EXPECT_FALSE(TestHost().HasTimer(1));
    EXPECT_EQ(view->m_TimerRunning, 0);
    EXPECT_EQ(view->m_Monitoring, 0);
    EXPECT_FALSE(g_PositionDlg.IsVisible());
}

TEST_F(MachineViewTest, ReadoutFollowsTheDisplayUnit)
{
    g_PositionDlg.CreateOnce();
    g_PositionDlg.ShowWindow(true);
    g_MachineX = 2000;
    g_MachineY = -300;
    g_MachineZ = 50;
    struct Case {
        int unit;
        const char* x;
        const char* y;
        const char* z;
        const char* name;
    };
    const Case cases[] = {
        {0, "10", "-1.5", "0.25", "mm"},
        {1, "393.7", "-59.055", "9.8425", "mil"},
        {2, "2000", "-300", "50", "pulse"},
        {7, "10", "-1.5", "0.25", "mm"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.unit);
        g_UnitSelector = c.unit;
        view->UpdatePositionDisplay();
        EXPECT_EQ(g_PositionDlg.GetDlgItemText(IDC_POS_X), c.x);
        EXPECT_EQ(g_PositionDlg.GetDlgItemText(IDC_POS_Y), c.y);
        EXPECT_EQ(g_PositionDlg.GetDlgItemText(IDC_POS_Z), c.z);
        EXPECT_EQ(g_PositionDlg.GetDlgItemText(IDC_POS_UNIT), c.name);
    }
}

TEST_F(MachineViewTest, HiddenWindowIsNotWritten)
{
    g_PositionDlg.CreateOnce();
    const std::string before = g_PositionDlg.GetDlgItemText(IDC_POS_X);
    g_MachineX = 2000;
    view->UpdatePositionDisplay();
    EXPECT_EQ(g_PositionDlg.GetDlgItemText(IDC_POS_X), before);
}

TEST_F(MachineViewTest, MonitoringShowsTheWindowAndClearsStop)
{
    g_PortState = 0;
    g_AbortFlag = 1;
    ASSERT_TRUE(CommandRouter().Dispatch(ID_MACHINE_MONITOR));
    EXPECT_EQ(g_AbortFlag, 0);
    EXPECT_TRUE(g_PositionDlg.IsVisible());
    EXPECT_TRUE(TestHost().HasTimer(1));
    EXPECT_EQ(g_PositionPollOff, 1);
    CCmdUI ui(ID_MACHINE_MONITOR);
    CommandRouter().UpdateCommandUI(ui);
    EXPECT_EQ(ui.m_Check, 1);
    ASSERT_TRUE(CommandRouter().Dispatch(ID_MACHINE_MONITOR));
    EXPECT_FALSE(g_PositionDlg.IsVisible());
    EXPECT_FALSE(TestHost().HasTimer(1));
}

// Esc must not take STOP away from a running job; when idle it hides the
// window. Showing or hiding clears the STOP latch; a second CreateOnce
// creates nothing.
TEST_F(MachineViewTest, PositionWindowEscLatchAndCreation)
{
    EXPECT_EQ(g_PositionDlg.CreateOnce(), 1);
    EXPECT_EQ(g_PositionDlg.CreateOnce(), 0);
    g_PositionDlg.ShowWindow(true);
    g_JobCode = JOB_DRILL;
    g_PositionDlg.PressButton(IDCANCEL);
    EXPECT_TRUE(g_PositionDlg.IsVisible());
    g_JobCode = 0;
    g_PositionDlg.PressButton(IDCANCEL);
    EXPECT_FALSE(g_PositionDlg.IsVisible());

    g_PositionDlg.m_StopPressed = 1;
    g_PositionDlg.ShowWindow(true);
    EXPECT_EQ(g_PositionDlg.m_StopPressed, 0);
}

TEST_F(MachineViewTest, StopAndEnterRaiseTheAbortFlag)
{
    g_PositionDlg.CreateOnce();
    g_PositionDlg.ShowWindow(true);
    g_JobSpindle = 1;
    g_PositionDlg.PressButton(IDOK);  // Enter
    EXPECT_EQ(g_AbortFlag, 1);
    EXPECT_EQ(g_JobSpindle, 0);
    EXPECT_EQ(g_PositionDlg.m_StopPressed, 1);
    EXPECT_TRUE(g_PositionDlg.IsVisible());
    EXPECT_EQ(g_PositionDlg.Control(IDC_POS_STOP).check, 1);

    g_AbortFlag = 0;
    g_JobCode = JOB_ENGRAVE;
    g_ToolDown = 1;
    g_PositionDlg.PressButton(IDC_POS_STOP);
    EXPECT_EQ(g_AbortFlag, 1);
    EXPECT_EQ(g_PositionDlg.m_StopPressed, 1);
    EXPECT_FALSE(g_PositionDlg.IsVisible());
    EXPECT_EQ(g_MachineLink2.m_JobCode, JOB_ENGRAVE);
    EXPECT_EQ(g_MachineLink2.m_ToolDown, 1);
}

TEST_F(MachineViewTest, MachineCoordinatesCommandToggles)
{
    g_PortState = 0;
    ASSERT_TRUE(CommandRouter().Dispatch(ID_WINDOW_MACHINE_COORDINATES));
    EXPECT_TRUE(g_PositionDlg.IsVisible());
    ASSERT_TRUE(CommandRouter().Dispatch(ID_WINDOW_MACHINE_COORDINATES));
    EXPECT_FALSE(g_PositionDlg.IsVisible());
    g_PortState = -1;
    EXPECT_FALSE(CommandRouter().Dispatch(ID_WINDOW_MACHINE_COORDINATES));
}

// The job message re-enters the runner of the running job, codes 15 and 16
// included, each its own; then the manual routines in order.
TEST_F(MachineViewTest, JobMessageReentersTheRunnerOfTheRunningJob)
{
    std::vector<int> calls;
    for (int code : {JOB_DRILL, JOB_ISOLATE, JOB_ENGRAVE_CAM, JOB_ENGRAVE_REG_HOLES,
                     JOB_MANUAL_ENGRAVE, JOB_MANUAL_DRILL, JOB_FIND_LOCATING_HOLES})
        view->SetJobRunner(code, [&calls, code](unsigned start) {
            EXPECT_EQ(start, 0u);
            calls.push_back(code);
        });
    for (int running : {JOB_ENGRAVE_CAM, JOB_ENGRAVE_REG_HOLES, JOB_DRILL}) {
        calls.clear();
        g_JobCode = running;
        EXPECT_EQ(view->OnJobMessage(), 0);
        EXPECT_EQ(calls, (std::vector<int>{running, JOB_MANUAL_ENGRAVE, JOB_MANUAL_DRILL,
                                           JOB_FIND_LOCATING_HOLES}));
    }
}

// A job command reached from the menu: refused while the controller is not
// there, and a job without a runner ends at once.
TEST_F(MachineViewTest, JobCommandsThroughTheRouter)
{
    BuildBoard();
    g_PortState = 0;
    CCmdUI ui(ID_MACHINE_DRILL);
    CommandRouter().UpdateCommandUI(ui);
    EXPECT_TRUE(ui.m_Enabled);
    // No controller answers: the gate refuses and nothing is stored.
    int runs = 0;
    view->SetJobRunner(JOB_DRILL, [&runs](unsigned) { ++runs; });
    CommandRouter().Dispatch(ID_MACHINE_DRILL);
    EXPECT_EQ(runs, 0);
    EXPECT_EQ(g_JobCode, 0);

    // The manual drilling runner, called (as the job message calls it) while
    // no manual drilling is the running job, starts no run.
    view->m_ManualDrillMode = 1;
    view->RunJobRunner(JOB_MANUAL_DRILL, 1);
    EXPECT_EQ(g_JobCode, 0);
    EXPECT_FALSE(g_PositionDlg.IsVisible());
    EXPECT_EQ(view->m_TimerRunning, 0);
}

TEST_F(MachineViewTest, JoystickJogSpeedAndDeflections)
{
    g_XYPulsesPerMM = 200.0f;
    EXPECT_EQ(JoystickJogSpeed(3), 700);
    EXPECT_EQ(JoystickJogSpeed(0), 2);
    EXPECT_EQ(JoystickJogSpeed(1), 20);
    EXPECT_TRUE(FullDeflectionUp(65535));
    EXPECT_TRUE(FullDeflectionUp(65280));
    EXPECT_FALSE(FullDeflectionUp(65279));
    EXPECT_TRUE(FullDeflectionDown(0));
    EXPECT_FALSE(FullDeflectionDown(1));
    EXPECT_EQ(JoystickAxisToPos(32767), 65535u);
    EXPECT_EQ(JoystickAxisToPos(-32768), 0u);
    EXPECT_EQ(JoystickAxisToPos(0), 32767u);
}

// Joystick buttons reach the teach keys; an absent joystick is skipped
// quietly and the tick goes on.
TEST_F(MachineViewTest, AbsentJoystickIsSkipped)
{
    CFakeJoystick stick;
    stick.present = false;
    view->m_JoystickOn = 0;
    view->OnToggleJoystick();
    EXPECT_EQ(view->m_JoystickOn, 1);
    TestHost().FireTimer(1);
    EXPECT_GE(stick.reads, 1);
    EXPECT_TRUE(TestHost().HasTimer(1));
    EXPECT_TRUE(TestHost().Boxes().empty());
}

}  // namespace

namespace {

// The spindle list: 30000 RPM is preselected in both lists; picking an entry
// sets that speed at once.
TEST_F(MachineViewTest, SpindleSpeedListPreselectsAndSetsTheSpeed)
{
    static std::vector<float> sent;
    sent.clear();
    g_SpindleSpeedSetter = [](float rpm) { sent.push_back(rpm); };
    for (const char* model : {"KX1100", "KX1300YJ"}) {
        SCOPED_TRACE(model);
        g_MachineModel = model;
        g_SpindleSpeed = 30000.0f;
        int count = 0;
        std::string shown;
        TestHost().QueueDialog([&](CDialog& dlg) {
            count = dlg.GetCount(IDC_SPINDLE_SPEEDS);
            shown = dlg.GetLBText(IDC_SPINDLE_SPEEDS, dlg.GetCurSel(IDC_SPINDLE_SPEEDS));
            dlg.SetCurSel(IDC_SPINDLE_SPEEDS, 3);
            dlg.SelectionChanged(IDC_SPINDLE_SPEEDS);
            dlg.PressButton(IDOK);
        }, IDD_SPINDLE_SPEED);
        view->OnSpindleSpeed();
        EXPECT_EQ(count, std::string(model) == "KX1300YJ" ? 10 : 6);
        EXPECT_EQ(shown, "30000 RPM");
        EXPECT_EQ(g_SpindleSpeed, 40000.0f);
    }
    EXPECT_EQ(sent, (std::vector<float>{40000.0f, 40000.0f, 40000.0f, 40000.0f}));
    g_SpindleSpeedSetter = nullptr;
}

TEST_F(MachineViewTest, ToolChangeDuringAJobOnlyAsksTheManualRunForIt)
{
    g_MachineModel = "KX1300";
    g_JobCode = JOB_MANUAL_ENGRAVE;
    g_SkipProbeTest = 1;
    view->OnToolChange();
    EXPECT_EQ(view->m_ToolChanged, 1);
    EXPECT_EQ(g_SkipProbeTest, 0);
    CCmdUI ui(ID_MACHINE_TOOL_CHANGE);
    g_PortState = 0;
    g_MachineModel = "TQ615";
    CommandRouter().UpdateCommandUI(ui);
    EXPECT_FALSE(ui.m_Enabled);
}

}  // namespace
