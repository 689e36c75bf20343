// The machine commands against the simulated controller, in both protocols:
// STOP halting a move and ending the job's wait, Continue moving from the
// typed count (and not at all after a bad one), the joystick jog, and the
// position window following the machine.
#include "link_fixture.h"

#include "document/velm_doc.h"
#include "exchange/machining_data_dlg.h"
#include "link/job_codes.h"
#include "link/machine_wait.h"
#include "link/working_depth.h"
#include "machining/job_gate.h"
#include "machining/probe_test_dlg.h"
#include "machining/machine_timer.h"
#include "machining/position_dlg.h"
#include "resource_ids.h"
#include "settings/machine_settings.h"
#include "settings/registry.h"
#include "settings/system_settings_dlg.h"
#include "support/fake_joystick.h"
#include "view/velm_view.h"

#include <string>
#include <vector>

namespace {

using Kind = CControllerSimulator::Kind;

// A job whose runner drives the machine and waits for it, as the runners do.
class CMovingJob : public CJobContext {
public:
    int resumeCount = 0;
    EWaitEnd runnerWait = EWaitEnd::Done;
    int runs = 0;
    int& ResumeCount() override { return resumeCount; }
    int RunProbeTest() override { return IDOK; }
    void RunRunner(int, unsigned) override
    {
        ++runs;
        g_PositionDlg.CreateOnce();
        g_PositionDlg.ShowWindow(true);
        g_MachineLink.CmdMA2(static_cast<float>(1000 + resumeCount * 10), 0.0f);
        g_MachineLink.Send();
        runnerWait = WaitUntilReady();
        g_JobCode = 0;
    }
};

class CTimerView : public CMachineTimerView {
public:
    void StartTimer(unsigned) override { running = true; }
    void StopTimer() override { running = false; }
    int JoystickOn() const override { return joystick; }
    int& MonitorOn() override { return monitor; }
    bool running = false;
    int joystick = 0;
    int monitor = 0;
};

class MachineStopTest : public LinkTest, public ::testing::WithParamInterface<Kind> {
protected:
    void SetUp() override
    {
        LinkTest::SetUp();
        Connect(GetParam());
        g_PortState = 0;
    }
    bool Ascii() const { return GetParam() == Kind::Ascii; }
};

// STOP pressed while the job's runner waits for a long move: the machine
// halts where it is, the spindle goes off, the runner's wait ends at once
// on the abort flag, the window disappears and the code is free again. The
// stop reaches the controller as the stop sequence: the stop twice, the
// drives off, the spindle off.
TEST_P(MachineStopTest, StopDuringAMoveHaltsTheMachineAndEndsTheJob)
{
    m_Sim.SetTimeScale(1.0);  // 40000 pulses take ten seconds of the test's clock
    g_MachineLink.CmdOutput(7, 1);
    g_MachineLink.Send();
    g_JobSpindle = 1;
    m_Sim.ClearLog();
    CMovingJob job;
    job.resumeCount = 3900;
    int pumps = 0;
    TestHost().OnPump([&pumps](int) {
        if (++pumps == 20)
            g_PositionDlg.PressButton(IDC_POS_STOP);
    });
    const std::uint32_t start = GetTickCount();
    EXPECT_EQ(RunJobCommand(ID_MACHINE_ENGRAVE, job), 1);
    EXPECT_LT(GetTickCount() - start, 5000u);
    EXPECT_EQ(job.runnerWait, EWaitEnd::Aborted);
    EXPECT_EQ(g_JobCode, 0);
    EXPECT_EQ(g_AbortFlag, 1);
    EXPECT_EQ(g_JobSpindle, 0);
    EXPECT_FALSE(g_PositionDlg.IsVisible());
    EXPECT_EQ(g_PositionDlg.m_StopPressed, 1);

    Settle();
    CControllerSimulator::State state = m_Sim.GetState();
    EXPECT_FALSE(state.moving[0]);
    EXPECT_FALSE(state.spindleOn);
    EXPECT_GT(state.position[0], 0);
    EXPECT_LT(state.position[0], 40000);
    if (Ascii()) {
        EXPECT_EQ(LogLines("66 ST").size(), 2u);
        EXPECT_EQ(LogLines("00 EB0").size(), 1u);
        EXPECT_EQ(LogLines("22 O70").size(), 1u);
    } else {
        EXPECT_EQ(LogLines("0x3F").size(), 1u);  // the reset that halts the axes
        EXPECT_FALSE(state.drivesEnabled);
    }
}

// Continue with a valid count moves from the stored progress less the
// count; after a count that is no number nothing moves.
TEST_P(MachineStopTest, ContinueMovesFromTheTypedCountOnly)
{
    RegSetString("WORK", "TP");
    RegSetLongValue("count", 120);
    CMovingJob job;
    for (const char* typed : {"abc", "20"}) {
        TestHost().QueueDialog([typed](CDialog& dlg) {
            dlg.Control(1046).text = typed;
            dlg.PressButton(IDOK);
        });
        Continue(job);
    }
    EXPECT_EQ(job.runs, 1);
    EXPECT_EQ(job.runnerWait, EWaitEnd::Done);
    EXPECT_EQ(m_Sim.GetState().position[0], 2000);  // 1000 + (120 - 20) * 10
    if (Ascii()) {
        EXPECT_EQ(LogLines("33 MA").size(), 1u);
    }
}

// The stick held to the right jogs X towards the far end until it is let
// go; the machine stops there and the readout shows where.
TEST_P(MachineStopTest, JoystickJogMovesUntilTheStickIsReleased)
{
    m_Sim.SetTimeScale(1.0);
    CFakeJoystick stick;
    stick.state.wXpos = 65535;
    stick.onRead = [&stick](int read) {
        if (read == 40)
            stick.state.wXpos = 32767;
    };
    g_JoystickSpeedIndex = 3;  // 35 mm/s
    g_PositionPollOff = 1;
    CTimerView view;
    view.joystick = 1;
    MachineTimerTick(view);
    EXPECT_TRUE(view.running);
    Settle();
    CControllerSimulator::State state = m_Sim.GetState();
    EXPECT_FALSE(state.moving[0]);
    EXPECT_GT(state.position[0], 0);
    EXPECT_LT(state.position[0], static_cast<std::int32_t>(g_PulsesPerMil * g_TableWidth));
    EXPECT_EQ(g_MachineX, state.position[0]);
    EXPECT_EQ(g_StatusText.rfind("X:", 0), 0u);
    if (Ascii()) {
        EXPECT_EQ(LogLines("66 ST").size(), 1u);
    } else {
        EXPECT_EQ(LogLines("0x1B 700").size(), 2u);  // the jog speed, set again after the stop
    }
}

// With the position poll on, every tick reads the controller's position
// into the position window.
TEST_P(MachineStopTest, TickShowsTheControllersPosition)
{
    g_PositionDlg.CreateOnce();
    g_PositionDlg.ShowWindow(true);
    g_PositionPollOff = 0;
    m_Sim.SetPosition(0, 3000);
    m_Sim.SetPosition(1, 500);
    CTimerView view;
    MachineTimerTick(view);
    EXPECT_EQ(g_PositionDlg.GetDlgItemText(IDC_POS_X), "15");
    EXPECT_EQ(g_PositionDlg.GetDlgItemText(IDC_POS_Y), "2.5");
    EXPECT_EQ(g_PositionDlg.GetDlgItemText(IDC_POS_UNIT), "mm");
}

// While an engraving or milling job runs, each readout update sends Z to
// the working height again; drilling and the settings that turn surface
// following off send nothing. The controller's Z tells: it goes from where
// it stood to the working depth, or stays there.
TEST_P(MachineStopTest, DisplayKeepsZOnTheSurfaceOnlyWhileEngraving)
{
    struct Case {
        int code;
        int skipProbe;
        bool follows;
    };
    const Case cases[] = {{JOB_ENGRAVE, 0, true}, {JOB_MILL, 0, true}, {JOB_DRILL, 0, false},
                          {JOB_ENGRAVE_REG_HOLES, 0, false}, {JOB_ENGRAVE, 1, false}};
    g_BinLink.SetAbsoluteMode(1);
    g_PositionPollOff = 0;
    g_ToolDown = 1;
    g_MachineOffset = 1000;  // the working depth lies below where Z stands
    CTimerView view;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        m_Sim.SetPosition(2, 0);
        g_BinLink.m_PosZ = 0;
        m_Sim.ClearLog();
        g_JobCode = c.code;
        g_SkipProbeTest = c.skipProbe;
        const std::int32_t depth = GetZDownPulses();
        ASSERT_GT(depth, 0);
        UpdatePositionDisplay(view);
        Settle();
        EXPECT_EQ(m_Sim.GetState().position[2], c.follows ? depth : 0);
    }
}

// Engrave CAM data: each run machines the chosen layer with the dialog's
// tool while the others are set aside; Cancel ends the loop with the
// spindle off and every layer offered again.
TEST_P(MachineStopTest, CamDataEngravesTheChosenLayerUntilCancel)
{
    CVelmDoc doc;
    CVelmView view(doc);
    CPathRecord* top = doc.AddPathLayer("CAMA", 1.0f, 0.0f, 5, 0);
    CPathRecord* bot = doc.AddPathLayer("CAMB", 1.0f, 0.0f, 5, 0);
    ASSERT_TRUE(top && bot);
    doc.m_LayerName = "CAMA;CAMB;";
    struct Seen {
        int topSide, botSide, code;
        float size, depth;
    };
    std::vector<Seen> seen;
    view.SetJobRunner(JOB_ENGRAVE_CAM, [&](unsigned) {
        seen.push_back({top->side, bot->side, g_JobCode, top->size, top->depth});
        g_JobCode = 0;
    });
    g_MachiningDataDlg.m_bSpindleOn = 1;
    TestHost().QueueDialog([](CDialog& dlg) {
        EXPECT_EQ(dlg.GetCount(IDC_MD_LAYER), 2);
        dlg.SetCurSel(IDC_MD_LAYER, dlg.FindStringExact(IDC_MD_LAYER, "CAMA"));
        dlg.SetDlgItemText(IDC_MD_LAYER, "CAMA");
        dlg.SetDlgItemText(IDC_MD_DEPTH, "0.1");
        dlg.SetDlgItemText(IDC_MD_TOOL_DIAMETER, "0.254");
        dlg.PressButton(IDOK);
    }, IDD_MACHINING_DATA);
    // The operator shows the probe once before the layer is machined.
    TestHost().QueueDialog([](CDialog& dlg) {
        dynamic_cast<CProbeTestDlg&>(dlg).m_Success = 1;
        dlg.PressButton(IDOK);
    }, IDD_PROBE_TEST);
    TestHost().QueueDialog([](CDialog& dlg) { dlg.PressButton(IDCANCEL); }, IDD_MACHINING_DATA);
    view.OnEngraveCamData();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].topSide, 5);
    EXPECT_EQ(seen[0].botSide, 6);
    EXPECT_EQ(seen[0].code, JOB_ENGRAVE_CAM);
    EXPECT_NEAR(seen[0].size, 10.0f, 1e-4);
    EXPECT_NEAR(seen[0].depth, 20.0f, 1e-3);
    EXPECT_EQ(bot->side, 5);
    EXPECT_EQ(top->side, 5);
    EXPECT_EQ(g_MachiningDataDlg.m_bSpindleOn, 0);
    std::string work;
    RegGetString("WORK", work);
    EXPECT_EQ(work, "ISOLATE");
    if (Ascii()) {
        EXPECT_EQ(LogLines("22 O70").size(), 1u);
    }
}

INSTANTIATE_TEST_SUITE_P(BothProtocols, MachineStopTest,
                         ::testing::Values(Kind::Ascii, Kind::Binary), ProtocolName);

}  // namespace
