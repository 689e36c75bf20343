// The view's jog buttons and the jog-step dialog against the simulated
// controller: a button moves by the jog step at the rapid speed, limited on
// the position the controller reports at the press (not on the binary
// link's stored counters, which the jog's own query leaves alone); the items
// follow the port, the job and STOP; the dialog's Cancel keeps both values.
#include "link_fixture.h"

#include "machining/jog_step_dlg.h"
#include "platform/program_state.h"
#include "resource_ids.h"
#include "settings/machine_param_dlg.h"
#include "settings/machine_settings.h"
#include "settings/system_settings_dlg.h"
#include "ui/command_router.h"
#include "view/velm_view.h"

#include <memory>
#include <utility>

namespace {

using Kind = CControllerSimulator::Kind;

class JogCommandsTest : public LinkTest, public ::testing::WithParamInterface<Kind> {
protected:
    void SetUp() override
    {
        LinkTest::SetUp();
        Connect(GetParam());
        // The document loads the machine's defaults: the table is set after.
        doc = std::make_unique<CVelmDoc>();
        view = std::make_unique<CVelmView>(*doc);
        g_PortState = 0;
        g_TableWidth = 1000.0;   // 5080 pulses
        g_TableHeight = 2000.0;  // 10160 pulses
        g_JogStep = 200;
        g_RapidSpeed = 20.0f;
    }
    void TearDown() override
    {
        view.reset();
        doc.reset();
        LinkTest::TearDown();
    }
    std::int32_t X() { return m_Sim.GetState().position[0]; }
    std::unique_ptr<CVelmDoc> doc;
    std::unique_ptr<CVelmView> view;
};

TEST_P(JogCommandsTest, ButtonsStepOnTheFreshPositionAndStopAtTheTableEdges)
{
    struct Press {
        const char* name;
        unsigned id;
        std::int32_t x, y;
        std::int32_t endX, endY;
    } presses[] = {
        {"-X 100 pulses from the left edge", ID_MOVE_MINUS_X, 100, 500, 0, 500},
        {"+X a whole step", ID_MOVE_PLUS_X, 100, 500, 300, 500},
        {"+X at the far edge", ID_MOVE_PLUS_X, 5080, 500, 5080, 500},
        {"+X cut at the far edge", ID_MOVE_PLUS_X, 5000, 500, 5080, 500},
        {"-Y a whole step", ID_MOVE_MINUS_Y, 5000, 500, 5000, 300},
        {"+Y cut at the far edge", ID_MOVE_PLUS_Y, 5000, 10100, 5000, 10160},
    };
    for (const Press& p : presses) {
        SCOPED_TRACE(p.name);
        m_Sim.SetPosition(0, p.x);
        m_Sim.SetPosition(1, p.y);
        // What the binary link last stored is far from the machine: a limit
        // judged on it would let +X run off the table or hold -X back.
        g_BinLink.m_PosX = 2500;
        g_BinLink.m_PosY = 2500;
        ASSERT_TRUE(CommandRouter().Dispatch(p.id));
        EXPECT_EQ(X(), p.endX);
        EXPECT_EQ(m_Sim.GetState().position[1], p.endY);
    }
}

// The keyboard's U lifts Z by one step (Z grows downward), and never above
// the top.
TEST_P(JogCommandsTest, ZJogLiftsByOneStepUpToTheTop)
{
    for (auto [from, to] : {std::pair<int, int>{1000, 800}, {150, 0}, {0, 0}}) {
        m_Sim.SetPosition(2, from);
        view->OnJogZUp();
        EXPECT_EQ(m_Sim.GetState().position[2], to) << from;
    }
}

// Key U while jogging: the Z step, then the probe (1 touching) and the Z
// where the step ended, in the display unit.
TEST_P(JogCommandsTest, KeyUStepsZAndReportsTheProbeAndTheZ)
{
    ASSERT_FLOAT_EQ(g_ZPulsesPerMM, 200.0f);
    const int unit = g_UnitSelector;
    view->m_JoystickOn = 1;
    struct Case {
        bool touched;
        int unit;
        int from;
        const char* text;
    } cases[] = {
        {false, 0, 1000, "Point Z(0,4) mm"},
        {true, 2, 1000, "Point Z(1,800) pulse"},
        {true, 1, 300, "Point Z(1,19.685) mil"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        if (GetParam() == Kind::Ascii)
            m_Sim.SetProbe(c.touched);
        else
            m_Sim.SetInputs(0xFF, 0xFF, c.touched ? 0xFD : 0xFF);   // the probe pulls low
        g_UnitSelector = c.unit;
        m_Sim.SetPosition(2, c.from);
        view->OnKeyDown('U');
        EXPECT_EQ(m_Sim.GetState().position[2], c.from - 200);
        EXPECT_EQ(g_StatusText, c.text);
    }
    // Without a port nothing moves and nothing is reported.
    g_PortState = -1;
    g_StatusText.clear();
    view->OnKeyDown('U');
    EXPECT_EQ(m_Sim.GetState().position[2], 100);
    EXPECT_EQ(g_StatusText, "");
    g_UnitSelector = unit;
}

TEST_P(JogCommandsTest, ItemsFollowThePortTheJobAndStop)
{
    struct State {
        int port, job, abort;
        bool enabled;
    } states[] = {{0, 0, 0, true}, {-1, 0, 0, false}, {0, 1, 0, false}, {0, 0, 1, false}};
    for (const State& s : states) {
        g_PortState = s.port;
        g_JobCode = s.job;
        g_AbortFlag = static_cast<std::uint8_t>(s.abort);
        for (unsigned id : {ID_MOVE_PLUS_Y, ID_MOVE_MINUS_Y, ID_MOVE_MINUS_X, ID_MOVE_PLUS_X,
                            ID_SET_MOVE_DISTANCE}) {
            CCmdUI ui(id);
            EXPECT_EQ(CommandRouter().UpdateCommandUI(ui), s.enabled) << id;
        }
        // A refused press moves nothing.
        m_Sim.SetPosition(0, 1000);
        CommandRouter().Dispatch(ID_MOVE_PLUS_X);
        EXPECT_EQ(X(), s.enabled ? 1200 : 1000);
    }
    g_JobCode = 0;
    g_AbortFlag = 0;
}

INSTANTIATE_TEST_SUITE_P(BothProtocols, JogCommandsTest, ::testing::Values(Kind::Ascii, Kind::Binary),
                         ProtocolName);

// The jog-step dialog shows the step and the speed; OK stores both (a new
// jog speed is the rapid speed of every move), Cancel keeps them.
TEST(JogStepDialog, OkStoresAndCancelKeeps)
{
    struct Case {
        int button;
        int step;
        float speed;
    } cases[] = {{IDCANCEL, 4000, 10.0f}, {IDOK, 2000, 5.0f}};
    g_JogStep = 4000;
    g_RapidSpeed = 10.0f;
    for (const Case& c : cases) {
        TestHost().QueueDialog(
            [&c](CDialog& dlg) {
                EXPECT_EQ(dlg.GetDlgItemText(IDC_JS_DISTANCE), "4000");
                dlg.SetDlgItemText(IDC_JS_DISTANCE, "2000");
                dlg.SetDlgItemText(IDC_JS_SPEED, "5");
                dlg.PressButton(c.button);
            },
            IDD_JOG_STEP);
        EditJogStep();
        EXPECT_EQ(g_JogStep, c.step);
        EXPECT_FLOAT_EQ(g_RapidSpeed, c.speed);
    }
}

}  // namespace
