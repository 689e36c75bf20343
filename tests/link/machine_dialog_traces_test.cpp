// The machine parameters, the document's machine commands and the manual
// control dialogs against the simulated controller in both protocols: what
// goes on the line, and that nothing of one protocol reaches the other.
#include "link_fixture.h"

#include "document/velm_doc.h"
#include "machining/input_signal_dlg.h"
#include "machining/jog_dlg.h"
#include "machining/machine_setup.h"
#include "platform/program_objects.h"
#include "platform/win_types.h"
#include "resource_ids.h"
#include "settings/machine_param_dlg.h"
#include "ui/cmd_ui.h"

#include <memory>

namespace {

using Kind = CControllerSimulator::Kind;
using Lines = std::vector<std::string>;

}  // namespace

// Each case on a controller of its own, from the program's starting state.
class MachineTraceTest : public LinkTest {
protected:
    void Restart(Kind kind)
    {
        TearDown();
        ResetProgramObjects();
        SetUp();
        g_XLimit = 330;
        g_YLimit = 240;
        g_ZLimit = 29;  // 5800 pulses
        Connect(kind);
    }
};

TEST_F(MachineTraceTest, ControllerResetSendsTheWholeSetUpInEachProtocol)
{
    Restart(Kind::Ascii);
    ResetController();
    EXPECT_EQ(SettledLog(), (Lines{"22 O50", "00 EB1", "33 AC100000.0,100000.0", "22 AC40000.0",
                                        "33 SP7000.0,7000.0", "22 SP400.0", "33 HS3200.0,3200.0",
                                        "22 HS3000.0", "66 EL", "66 CT"}));
    EXPECT_EQ(g_EBState, 1);

    Restart(Kind::Binary);
    g_PulsesPerMil = 1.0f;  // the set-up derives it again from the XY scale
    ResetController();
    EXPECT_EQ(m_Sim.Log(),
              (Lines{"0x1F 292", "0x20 59", "0x0C 800000", "0x0D 1131200", "0x0E 800000",
                     "0x12 125", "0x13 125", "0x14 40", "0x1B 700", "0x1C 989", "0x1D 40",
                     "0x03 195", "0x04 195", "0x05 3", "0x24 0", "0x25 0", "0x26 0",
                     "0x3A 320 100 0 0", "0x18 20", "0x19 20", "0x1A 40", "0x24 0", "0x09 12",
                     "0x0A 12", "0x0B 12", "0x24 66000", "0x09 11", "0x24 48000", "0x0A 11",
                     "0x24 5800", "0x0B 11"}));
    EXPECT_FLOAT_EQ(g_PulsesPerMil, 200.0f / 39.37f);
}

TEST_F(MachineTraceTest, ResetWithoutAControllerSendsNothing)
{
    StartController(Kind::Binary);
    ASSERT_EQ(g_ControllerKind, -1);
    ResetController();
    EXPECT_TRUE(SettledLog().empty());
}

TEST_F(MachineTraceTest, SpindleSpeedCodeGoesOnlyToTheBinaryController)
{
    Restart(Kind::Binary);
    g_MachineModel = "KX1300H";
    CMachineParamDlg::SetSpindleSpeed(60000.0f);  // code 255: the inverted byte is 0
    EXPECT_EQ(m_Sim.Log(), (Lines{"0x1E 17"}));
    EXPECT_EQ(g_BinLink.m_OutputWord, 0x0011);

    Restart(Kind::Ascii);
    g_MachineModel = "KX1300H";
    std::uint16_t word = g_BinLink.m_OutputWord;
    CMachineParamDlg::SetSpindleSpeed(60000.0f);
    EXPECT_TRUE(SettledLog().empty());
    EXPECT_EQ(g_BinLink.m_OutputWord, word);
}

// The switches each send their command and leave the state their menu items
// check; on the ASCII controller no binary frame follows the spindle output.
TEST_F(MachineTraceTest, DocumentSwitchCommandsOnTheAsciiController)
{
    Connect(Kind::Ascii);
    CVelmDoc doc;
    struct Case {
        void (CVelmDoc::*command)();
        Lines sent;
        void (CVelmDoc::*update)(CCmdUI&);
    } cases[] = {
        {&CVelmDoc::OnCmdDL, {"66 DL"}, &CVelmDoc::OnUpdateCmdDL},
        {&CVelmDoc::OnCmdEL, {"66 EL"}, &CVelmDoc::OnUpdateCmdEL},
        {&CVelmDoc::OnCmdEB0, {"22 O51", "00 EB0"}, &CVelmDoc::OnUpdateCmdEB0},
        {&CVelmDoc::OnCmdEB1, {"22 O50", "00 EB1"}, &CVelmDoc::OnUpdateCmdEB1},
        {&CVelmDoc::OnSpindleOn, {"22 O71"}, &CVelmDoc::OnUpdateSpindleOn},
        {&CVelmDoc::OnSpindleOff, {"22 O70"}, &CVelmDoc::OnUpdateSpindleOff},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sent.back());
        m_Sim.ClearLog();
        (doc.*c.command)();
        EXPECT_EQ(SettledLog(), c.sent);
        CCmdUI ui;
        (doc.*c.update)(ui);
        EXPECT_TRUE(ui.m_Enabled);
        EXPECT_EQ(ui.m_Check, 1);
    }
    EXPECT_EQ(g_JobRunning, 0);

    g_MachineLink.ClosePort();
    CCmdUI ui;
    doc.OnUpdateSpindleOn(ui);
    EXPECT_FALSE(ui.m_Enabled);
}

TEST_F(MachineTraceTest, SpindleOnThroughTheBinaryControllerSetsTheSpeedAndPulses)
{
    g_MachineModel = "KX1300H";
    g_SpindleSpeed = 60000.0f;
    Connect(Kind::Binary);
    CVelmDoc doc;
    doc.OnSpindleOn();
    EXPECT_EQ(g_JobRunning, 1);
    // Output 7 on, the speed code in the high byte, then the start pulse.
    EXPECT_EQ(LogLines("0x1E"), (Lines{"0x1E 4371", "0x1E 19", "0x1E 23", "0x1E 19"}));
}

// Each press moves by the distance in its field, held inside the travel as
// the controller reports the position at the press, not as the binary link
// last stored it; a field out of range sends nothing at all.
TEST_F(MachineTraceTest, JogMovesAreHeldInsideTheTravelInBothProtocols)
{
    struct Case {
        unsigned button;
        int axis;
        std::int32_t position;
        const char* field;  // the step typed first, or nullptr
        const char* ascii;  // the move sent, or nullptr for none
        const char* binary;
    } cases[] = {
        {IDC_JOG_X_MINUS, 0, 600, nullptr, "66 MR-600.0,0.0,0.0", "0x41 600"},
        {IDC_JOG_X_MINUS, 0, 5000, nullptr, "66 MR-2000.0,0.0,0.0", "0x41 2000"},
        {IDC_JOG_X_PLUS, 0, 61000, nullptr, "66 MR996.0,0.0,0.0", "0x40 996"},
        {IDC_JOG_Y_MINUS, 1, 0, nullptr, nullptr, nullptr},
        {IDC_JOG_Z_PLUS, 2, 5700, nullptr, "66 MR0.0,0.0,100.0", "0x30 100"},
        {IDC_JOG_Z_MINUS, 2, 100, nullptr, "66 MR0.0,0.0,-100.0", "0x31 100"},
        {IDC_JOG_Y_PLUS, 1, 0, "501", nullptr, nullptr},
        {IDC_JOG_Z_PLUS, 2, 0, "200.5", nullptr, nullptr},
    };
    for (Kind kind : {Kind::Ascii, Kind::Binary}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(kind == Kind::Ascii ? "ascii " : "binary ") +
                         std::to_string(c.button) + " from " + std::to_string(c.position));
            Restart(kind);
            m_Sim.SetPosition(c.axis, c.position);
            g_BinLink.m_PosX = g_BinLink.m_PosY = g_BinLink.m_PosZ = 30000;  // stale
            std::size_t boxes = TestHost().Boxes().size();
            std::size_t boxesAfterPress = 0;
            CJogDlg dlg;
            TestHost().QueueDialog(
                [&](CDialog& d) {
                    unsigned field = c.axis == 0 ? IDC_JOG_MOVE_X
                                                 : c.axis == 1 ? IDC_JOG_MOVE_Y : IDC_JOG_MOVE_Z;
                    if (c.field)
                        d.SetDlgItemText(field, c.field);
                    d.PressButton(c.button);
                    boxesAfterPress = TestHost().Boxes().size();
                    d.PressButton(IDCANCEL);
                },
                IDD_JOG);
            dlg.DoModal();
            const char* expected = kind == Kind::Ascii ? c.ascii : c.binary;
            Lines moves = kind == Kind::Ascii ? LogLines("66 MR") : Lines{};
            if (kind == Kind::Binary)
                for (const char* code : {"0x30", "0x31", "0x40", "0x41", "0x42", "0x43"})
                    for (const std::string& line : LogLines(code))
                        moves.push_back(line);
            EXPECT_EQ(moves, expected ? Lines{expected} : Lines{});
            EXPECT_EQ(boxesAfterPress - boxes, c.field ? 1u : 0u);
            if (c.field) {  // not even the speed goes out
                EXPECT_TRUE(LogLines(kind == Kind::Ascii ? "66 SP" : "0x1B").empty());
            }
        }
    }
}

TEST_F(MachineTraceTest, InputSignalsAreReadOnlyFromTheBinaryController)
{
    Restart(Kind::Binary);
    m_Sim.SetInputs(0x01, 0x00, 0x03);  // X home, Z home and the probe
    g_InputSignalDlg.Refresh();
    EXPECT_TRUE(m_Sim.Log().empty());  // not created yet
    EXPECT_EQ(g_InputSignalDlg.Create(), 1);
    EXPECT_EQ(g_InputSignalDlg.Create(), 0);
    g_InputSignalDlg.PressButton(IDC_IS_READ);
    EXPECT_EQ(m_Sim.Log(), (Lines{"0x34", "0x35", "0x36"}));
    EXPECT_EQ(g_InputSignalDlg.GetDlgItemText(IDC_IS_X_HOME), "1");
    EXPECT_EQ(g_InputSignalDlg.GetDlgItemText(IDC_IS_Y_HOME), "0");
    EXPECT_EQ(g_InputSignalDlg.GetDlgItemText(IDC_IS_Z_HOME), "1");
    EXPECT_EQ(g_InputSignalDlg.GetDlgItemText(IDC_IS_PROBE), "2");

    // A controller that stops answering leaves the readout as it was.
    m_Sim.DropNext(3);
    m_Sim.SetInputs(0x00, 0x00, 0x00);
    g_InputSignalDlg.Refresh();
    EXPECT_EQ(g_InputSignalDlg.m_Probe, "2");

    // The window lives on; on an ASCII controller it is not sent binary
    // queries.
    std::string xHome = g_InputSignalDlg.m_XHome;
    Restart(Kind::Ascii);
    g_InputSignalDlg.m_Created = 1;
    g_InputSignalDlg.m_XHome = xHome;
    g_InputSignalDlg.Refresh();
    EXPECT_TRUE(SettledLog().empty());
    EXPECT_EQ(g_InputSignalDlg.m_XHome, "1");
}

TEST_F(MachineTraceTest, JogKeysPressTheirAxisButtons)
{
    Restart(Kind::Ascii);
    for (int axis : {0, 1, 2})
        m_Sim.SetPosition(axis, 4000);
    CJogDlg dlg;
    TestHost().QueueDialog(
        [&](CDialog&) {
            for (unsigned key : {VK_PRIOR, VK_NEXT, VK_UP, VK_DOWN,
                                 VK_RIGHT, VK_LEFT, 0x41u})
                dlg.OnKeyDown(key);
        },
        IDD_JOG);
    dlg.DoModal();
    EXPECT_EQ(LogLines("66 MR"),
              (Lines{"66 MR0.0,0.0,-200.0", "66 MR0.0,0.0,200.0", "66 MR0.0,-2000.0,0.0",
                     "66 MR0.0,2000.0,0.0", "66 MR2000.0,0.0,0.0", "66 MR-2000.0,0.0,0.0"}));
}

// A press while a move still runs would judge the travel on a position the
// machine is leaving: it is dropped.
TEST_F(MachineTraceTest, APressDuringAMoveIsDropped)
{
    for (Kind kind : {Kind::Ascii, Kind::Binary}) {
        SCOPED_TRACE(kind == Kind::Ascii ? "ascii" : "binary");
        Restart(kind);
        m_Sim.SetPosition(0, 59000);
        m_Sim.HoldMotion(true);
        CJogDlg dlg;
        int pressed = 0;
        TestHost().OnPump([&](int) {
            if (pressed++ == 2) {
                dlg.PressButton(IDC_JOG_X_PLUS);
                m_Sim.HoldMotion(false);
            }
        });
        TestHost().QueueDialog([](CDialog& d) { d.PressButton(IDC_JOG_X_PLUS); }, IDD_JOG);
        dlg.DoModal();
        TestHost().OnPump(nullptr);
        EXPECT_GT(pressed, 2);
        EXPECT_EQ(LogLines(kind == Kind::Ascii ? "66 MR" : "0x40"),
                  (Lines{kind == Kind::Ascii ? "66 MR2000.0,0.0,0.0" : "0x40 2000"}));
    }
}
