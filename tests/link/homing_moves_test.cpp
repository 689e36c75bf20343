// Connection, homing and the manual moves traced against the simulated
// controller in both protocols: what the controller heard, in order, and
// where the machine ended up.
#include "link_fixture.h"

#include "machining/homing.h"
#include "machining/manual_moves.h"
#include "machining/plane_data.h"
#include "platform/resources.h"
#include "resource_ids.h"
#include "settings/machine_param_dlg.h"
#include "settings/machine_settings.h"

#include <algorithm>

namespace {

using Kind = CControllerSimulator::Kind;

// Queries, and bytes the controller took for noise (the binary detection
// query heard by the ASCII controller).
bool IsQuery(Kind kind, const std::string& line)
{
    if (line.rfind("noise", 0) == 0)
        return true;
    if (kind == Kind::Ascii)
        return !line.empty() && line.back() == '?';
    // Status, position, inputs and axis state of the binary controller.
    for (const char* query : {"0x32", "0x33", "0x34", "0x35", "0x36", "0x3B", "0x51", "0x3E"})
        if (line == query)
            return true;
    return false;
}

std::ptrdiff_t IndexOf(const std::vector<std::string>& lines, const std::string& line)
{
    auto it = std::find(lines.begin(), lines.end(), line);
    return it == lines.end() ? -1 : it - lines.begin();
}

class MachineMovesTest : public LinkTest, public ::testing::WithParamInterface<Kind> {
protected:
    bool Ascii() const { return GetParam() == Kind::Ascii; }

    // Every command the controller heard, queries left out. The readiness
    // query first makes sure the last command has been heard.
    std::vector<std::string> Commands()
    {
        g_MachineLink.IsReady();
        std::vector<std::string> lines;
        for (const std::string& line : m_Sim.Log())
            if (!IsQuery(GetParam(), line))
                lines.push_back(line);
        return lines;
    }

    // The controller reset is the document's; this one only leaves a mark
    // in the trace where it ran.
    std::function<void()> MarkingReset()
    {
        return [this] {
            ++m_Resets;
            if (Ascii()) {
                g_MachineLink.CmdCT();
                g_MachineLink.Send();
            } else {
                g_BinLink.Cmd1F(1);
            }
        };
    }
    std::string ResetMark() const { return Ascii() ? "66 CT" : "0x1F 1"; }

    void SetMachine(std::int32_t x, std::int32_t y, std::int32_t z)
    {
        m_Sim.SetPosition(0, x);
        m_Sim.SetPosition(1, y);
        m_Sim.SetPosition(2, z);
    }

    int m_Resets = 0;
};

TEST_P(MachineMovesTest, ConnectsAndResetsOrTellsTheOperator)
{
    StartController(GetParam());
    EXPECT_EQ(ConnectMachine(MarkingReset()), 1);
    EXPECT_EQ(g_ControllerKind, Ascii() ? 0 : 1);
    EXPECT_EQ(g_PortState, 0);
    EXPECT_EQ(m_Resets, 1);
    EXPECT_EQ(g_StatusText, LoadResString(IDS_MACHINE_CONNECTED));
    const std::vector<std::string> connect =
        Ascii() ? std::vector<std::string>{"66 CT"}
                : std::vector<std::string>{"0x1F 292", "0x20 59", "0x1F 1"};
    EXPECT_EQ(Commands(), connect);
    EXPECT_TRUE(TestHost().Boxes().empty());

    // Nobody answers on any port.
    m_Sim.Stop();
    EXPECT_EQ(ConnectMachine(MarkingReset()), 0);
    EXPECT_EQ(m_Resets, 1);
    EXPECT_EQ(g_PortState, -1);
    ASSERT_FALSE(TestHost().Boxes().empty());
    EXPECT_EQ(TestHost().BoxTexts().back(), LoadResString(IDS_MACHINE_CONNECT_FAILED));
}

TEST_P(MachineMovesTest, HomesZThenXYWithTheModeWordsOfTheConnectedLink)
{
    Connect(GetParam());
    g_ZInvertDir = 1;  // so that the Z mode words differ from X and Y
    g_BinLink.SetAbsoluteMode(1);
    for (int lost : {1, 0}) {
        SCOPED_TRACE(lost ? "position lost" : "quick return first");
        SetMachine(500, 700, 3000);
        g_MachineX = g_MachineY = g_MachineZ = 0;
        g_PositionLost = lost;
        g_PositionPollOff = 0;
        m_Resets = 0;
        m_Sim.ClearLog();

        MachineHome(MarkingReset());

        auto state = m_Sim.GetState();
        EXPECT_EQ(state.position, (std::array<std::int32_t, 4>{0, 0, 0, 0}));
        EXPECT_TRUE(state.homed[0] && state.homed[1] && state.homed[2]);
        EXPECT_EQ(g_PositionLost, 0);
        EXPECT_EQ(g_PositionPollOff, 1);
        EXPECT_EQ(m_Resets, 1);
        EXPECT_EQ(g_StatusText, LoadResString(IDS_HOMING));
        std::vector<std::string> commands = Commands();
        std::ptrdiff_t reset = IndexOf(commands, ResetMark());
        ASSERT_GE(reset, 0);
        if (Ascii()) {
            std::vector<std::string> homing = {"66 CT", "66 DL", "22 O50", "00 EB1",
                                               "22 HM0", "33 HM0,0", "66 EL"};
            if (!lost)
                homing.insert(homing.begin(), {"22 O50", "00 EB1", "22 HM0", "33 SP7000.0,7000.0",
                                               "33 MA0.0,0.0"});
            EXPECT_EQ(commands, homing);
            // Not one byte of a binary frame went to the ASCII controller.
            std::vector<unsigned char> heard = m_Sim.Received();
            EXPECT_EQ(std::count(heard.begin(), heard.end(), 0xFF), 0);
        } else {
            std::vector<std::string> modeWords;
            for (const std::string& line : commands)
                if (line.rfind("0x03 ", 0) == 0 || line.rfind("0x04 ", 0) == 0 ||
                    line.rfind("0x05 ", 0) == 0)
                    modeWords.push_back(line);
            // Driver mode 0x80: homing 0x40 (X, Y two-phase) and 0x140 (Z
            // inverted), running 0x43 and 0x143.
            EXPECT_EQ(modeWords, (std::vector<std::string>{"0x05 448", "0x05 448", "0x03 192",
                                                           "0x04 192", "0x03 195", "0x04 195",
                                                           "0x05 451"}));
            EXPECT_EQ(commands.front(), "0x05 448");
            if (lost) {
                EXPECT_LT(reset, IndexOf(commands, "0x29"));
            }
            EXPECT_LT(IndexOf(commands, "0x29"), IndexOf(commands, "0x27"));
            EXPECT_LT(IndexOf(commands, "0x27"), IndexOf(commands, "0x28"));
            // The quick return runs X and Y back before the reset.
            std::ptrdiff_t quickX = IndexOf(commands, "0x41 500");
            EXPECT_EQ(quickX >= 0 && quickX < reset, lost == 0);
        }
    }
}

TEST_P(MachineMovesTest, HeldPauseButtonIsAskedAboutUntilReleased)
{
    Connect(GetParam());
    m_Sim.SetPauseButton(true);
    if (!Ascii()) {
        // The binary controller reports a held pause button as busy, and
        // homing waits for no busy controller.
        MachineHome(MarkingReset());
        EXPECT_TRUE(Commands().empty());
        EXPECT_EQ(m_Resets, 0);
        return;
    }
    CControllerSimulator* sim = &m_Sim;
    TestHost().OnPump([sim](int) {
        if (TestHost().Boxes().size() >= 2)
            sim->SetPauseButton(false);
    });
    MachineHome(MarkingReset());
    EXPECT_EQ(TestHost().BoxTexts(), (std::vector<std::string>(
                                         2, LoadResString(IDS_RELEASE_PAUSE_BUTTON))));
    EXPECT_EQ(g_PositionLost, 0);
    EXPECT_TRUE(m_Sim.GetState().homed[0]);
}

TEST_P(MachineMovesTest, StopOrALostControllerEndsHoming)
{
    struct Case {
        const char* name;
        std::function<void(CControllerSimulator&)> act;
        std::size_t boxes;
    };
    const Case cases[] = {
        {"STOP", [](CControllerSimulator&) { g_AbortFlag = 1; }, 0},
        {"controller gone", [](CControllerSimulator& sim) { sim.Stop(); }, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Connect(GetParam());
        g_AbortFlag = 0;
        std::size_t boxes = TestHost().Boxes().size();
        SetMachine(500, 700, 3000);
        m_Sim.HoldMotion(true);  // Z homing never reaches its switch
        g_PositionLost = 1;
        CControllerSimulator* sim = &m_Sim;
        int third = TestHost().Pumps() + 3;
        TestHost().OnPump([sim, third, &c](int n) {
            if (n == third)
                c.act(*sim);
        });
        MachineHome(MarkingReset());
        TestHost().OnPump(nullptr);
        EXPECT_EQ(g_PositionLost, 1);
        EXPECT_EQ(TestHost().Boxes().size() - boxes, c.boxes);
        // X and Y were never sent home.
        for (const std::string& line : m_Sim.Log())
            EXPECT_TRUE(line != "33 HM0,0" && line != "0x27") << line;
    }
}

TEST_P(MachineMovesTest, JogIsLimitedOnTheReportedPosition)
{
    Connect(GetParam());
    g_TableWidth = 1000.0;   // 5080 pulses
    g_TableHeight = 2000.0;  // 10160 pulses
    g_ZLimit = 10;           // 2000 pulses
    struct Press {
        const char* name;
        std::array<std::int32_t, 3> at;  // where the machine stands, unknown to the program
        int axis, direction;
        float step, speed;
        int moved;
        std::int32_t endsAt;
    };
    const Press presses[] = {
        {"X+ cut at the table's end", {4000, 600, 1900}, 0, +1, 10.0f, 10.0f, 1080, 5080},
        {"X- a whole step", {5080, 600, 1900}, 0, -1, 10.0f, 10.0f, -2000, 3080},
        {"Y- from 3 mm ends at 0", {3080, 600, 1900}, 1, -1, 10.0f, 10.0f, -600, 0},
        {"Y- at 0 sends nothing", {3080, 0, 1900}, 1, -1, 10.0f, 10.0f, 0, 0},
        {"Z+ stops at the Z limit", {3080, 0, 1900}, 2, +1, 1.0f, 10.0f, 100, 2000},
        {"Z- a whole step", {3080, 0, 2000}, 2, -1, 1.0f, 10.0f, -200, 1800},
        {"beyond the travel, pushed further out", {6000, 0, 1800}, 0, +1, 1.0f, 10.0f, 0, 6000},
        {"beyond the travel, back in by the step only", {6000, 0, 1800}, 0, -1, 1.0f, 10.0f, -200, 5800},
        {"step too long", {3080, 0, 1800}, 0, -1, 501.0f, 10.0f, 0, 3080},
        {"Z step too long", {3080, 0, 1800}, 2, -1, 201.0f, 10.0f, 0, 1800},
        {"no speed", {3080, 0, 1800}, 0, -1, 1.0f, 0.0f, 0, 3080},
        {"speed too high", {3080, 0, 1800}, 0, -1, 1.0f, 501.0f, 0, 3080},
    };
    for (const Press& p : presses) {
        SCOPED_TRACE(p.name);
        SetMachine(p.at[0], p.at[1], p.at[2]);
        m_Sim.ClearLog();
        EXPECT_EQ(JogMove(p.axis, p.direction, p.step, p.speed), p.moved);
        EXPECT_EQ(m_Sim.GetState().position[static_cast<std::size_t>(p.axis)], p.endsAt);
        if (p.moved == 0) {
            EXPECT_TRUE(Commands().empty());
        }
    }

    // The clamped press as the controller heard it.
    SetMachine(4000, 600, 1900);
    m_Sim.ClearLog();
    ASSERT_EQ(JogMove(0, +1, 10.0f, 10.0f), 1080);
    EXPECT_EQ(Commands(), Ascii() ? (std::vector<std::string>{"66 SP2000.0,2000.0,2000.0",
                                                               "66 MR1080.0,0.0,0.0"})
                                  : (std::vector<std::string>{"0x1B 200", "0x1C 282", "0x1D 200",
                                                              "0x40 1080"}));
}

// A press while a jog still waits for the machine would be limited on a
// position the table is leaving: it sends nothing, and the next one after
// the move goes out as usual.
TEST_P(MachineMovesTest, AJogDuringAJogIsDropped)
{
    Connect(GetParam());
    g_TableWidth = 1000.0;   // 5080 pulses
    SetMachine(4000, 600, 1900);
    m_Sim.HoldMotion(true);
    m_Sim.ClearLog();
    int inner = -1;
    int pumps = 0;
    TestHost().OnPump([&](int) {
        if (pumps++ == 2) {
            inner = JogMove(0, +1, 1.0f, 10.0f);
            m_Sim.HoldMotion(false);
        }
    });
    EXPECT_EQ(JogMove(0, +1, 10.0f, 10.0f), 1080);
    TestHost().OnPump(nullptr);
    ASSERT_GT(pumps, 2);
    EXPECT_EQ(inner, 0);
    EXPECT_EQ(m_Sim.GetState().position[0], 5080);
    EXPECT_EQ(JogMove(0, -1, 1.0f, 10.0f), -200);
}

TEST_P(MachineMovesTest, AbsoluteTargetsAreCheckedAgainstTheTravel)
{
    Connect(GetParam());
    g_TableWidth = 1000.0;   // 5080 pulses
    g_TableHeight = 2000.0;  // 10160 pulses
    g_BinLink.SetAbsoluteMode(1);
    SetMachine(10, 20, 0);
    ASSERT_TRUE(g_MachineLink.IsReady());  // the binary link learns where it stands

    // No board copy has set the area: its corners lie far off the table,
    // and the drive there is refused before anything is sent.
    g_LayoutExtent = {1000000, 1000000, 0, 0};
    MoveToWorkAreaCorner(EWorkAreaCorner::LowerLeft);
    EXPECT_TRUE(Commands().empty());
    ASSERT_EQ(TestHost().Boxes().size(), 1u);
    EXPECT_NE(TestHost().BoxTexts()[0].find("1000000"), std::string::npos);
    EXPECT_EQ(MoveXYTo(-1.0, 0.0), 0);
    EXPECT_EQ(MoveXYTo(0.0, 10161.0), 0);
    EXPECT_EQ(TestHost().Boxes().size(), 3u);
    EXPECT_EQ(m_Sim.GetState().position[0], 10);

    // Each corner of an area on the table, the far corner of the table
    // included.
    g_LayoutExtent = {100, 200, 5080, 10160};
    const std::pair<EWorkAreaCorner, POINT> corners[] = {
        {EWorkAreaCorner::LowerLeft, {100, 10160}},
        {EWorkAreaCorner::UpperLeft, {100, 200}},
        {EWorkAreaCorner::LowerRight, {5080, 10160}},
        {EWorkAreaCorner::UpperRight, {5080, 200}},
    };
    for (const auto& [corner, at] : corners) {
        SCOPED_TRACE(at.x + at.y);
        m_Sim.ClearLog();
        MoveToWorkAreaCorner(corner);
        // The drives' switch-off goes out unanswered: a query answered
        // after it shows the controller has taken it.
        g_MachineLink.IsReady();
        auto state = m_Sim.GetState();
        EXPECT_EQ(state.position[0], at.x);
        EXPECT_EQ(state.position[1], at.y);
        EXPECT_FALSE(state.drivesEnabled);
    }
    if (Ascii()) {
        EXPECT_EQ(Commands(), (std::vector<std::string>{"22 O50", "00 EB1", "33 SP7000.0,7000.0",
                                                        "33 MA5080.0,200.0", "22 O51", "00 EB0"}));
    }
    EXPECT_EQ(TestHost().Boxes().size(), 3u);
}

TEST_P(MachineMovesTest, TravelTestRunsFivePassesUntilStop)
{
    Connect(GetParam());
    g_TableWidth = 1000.0;
    g_TableHeight = 2000.0;
    g_BinLink.SetAbsoluteMode(1);
    SetMachine(0, 0, 0);
    RunTravelTest();
    std::vector<std::string> commands = Commands();
    const std::string farCorner = Ascii() ? "33 MA5080.0,10160.0" : "0x40 5080";
    EXPECT_EQ(std::count(commands.begin(), commands.end(), farCorner), 5);
    EXPECT_EQ(m_Sim.GetState().position[0], 0);

    // STOP during the first pass ends the test there.
    m_Sim.ClearLog();
    int third = TestHost().Pumps() + 3;
    m_Sim.SetTimeScale(1.0);
    TestHost().OnPump([third](int n) {
        if (n == third)
            g_AbortFlag = 1;
    });
    RunTravelTest();
    TestHost().OnPump(nullptr);
    commands = Commands();
    EXPECT_EQ(std::count(commands.begin(), commands.end(), farCorner), 1);
}

TEST_P(MachineMovesTest, SpindleSwitchesOnAndOff)
{
    Connect(GetParam());
    g_MachineModel = "KX4100";
    for (int on : {1, 0}) {
        SCOPED_TRACE(on);
        m_Sim.ClearLog();
        g_MachineLink.CmdOutput(7, on);
        g_MachineLink.Send();
        std::vector<std::string> commands = Commands();
        EXPECT_EQ(m_Sim.GetState().spindleOn, on == 1);
        if (Ascii()) {
            EXPECT_EQ(commands, (std::vector<std::string>{on ? "22 O71" : "22 O70"}));
        } else {
            // Group 1 bit 1 is the spindle; switching off pulses bit 3.
            const std::uint16_t word = g_BinLink.m_OutputWord;
            EXPECT_EQ((word & 0x0002) != 0, on == 1);
            ASSERT_FALSE(commands.empty());
            EXPECT_EQ(commands.front(), "0x1E " + std::to_string(0x1111 | (on ? 0x0002 : 0)));
        }
    }
}

// What the homing and probing read of the simulated machine: the home
// switches, the probe touching the board and the Z move the contact stops.
TEST_P(MachineMovesTest, SimulatedSwitchesAndProbe)
{
    Connect(GetParam());
    auto switchPressed = [this](int axis) {
        if (!Ascii()) {
            unsigned char byte = axis == 0   ? g_BinLink.ReadInputs4()
                                 : axis == 1 ? g_BinLink.ReadInputs5()
                                             : g_BinLink.ReadInputs6();
            return (byte & 0x01) != 0;
        }
        g_MachineLink.CmdLM(axis);
        g_MachineLink.SendQuery();
        char reply[100];
        Sleep(50);
        g_MachineLink.ReadAvailable(reply, sizeof reply);
        return std::string(reply).find("lm1") != std::string::npos;
    };
    auto moveZ = [this](float z) {
        if (Ascii()) {
            g_MachineLink.CmdMA1(z);
            g_MachineLink.Send();
        } else {
            g_BinLink.SetAbsoluteMode(1);
            g_MachineLink.IsReady();
            g_MachineLink.CmdMA1(z);
        }
        EXPECT_TRUE(AwaitReady(2000));
        return m_Sim.GetState().position[2];
    };
    auto contactStop = [this](bool on) {
        if (Ascii()) {
            on ? g_MachineLink.CmdEL3() : g_MachineLink.CmdDL3();
            g_MachineLink.Send();
        } else {
            g_BinLink.Cmd02(on ? 8 : 0);
        }
    };

    SetMachine(-50, 10, 0);
    EXPECT_TRUE(switchPressed(0));
    EXPECT_FALSE(switchPressed(1));
    EXPECT_FALSE(switchPressed(2));

    m_Sim.SetSurface(1500);
    contactStop(true);
    EXPECT_EQ(moveZ(3000.0f), 1500);
    EXPECT_TRUE(m_Sim.GetState().probeTouched);
    if (Ascii()) {
        EXPECT_TRUE(switchPressed(2));  // the probe reads on Z's line
    } else {
        EXPECT_EQ(g_BinLink.ReadInputs6() & 0x02, 0x02);
    }
    EXPECT_EQ(moveZ(0.0f), 0);
    EXPECT_FALSE(m_Sim.GetState().probeTouched);
    contactStop(false);
    EXPECT_EQ(moveZ(3000.0f), 3000);
}

INSTANTIATE_TEST_SUITE_P(BothProtocols, MachineMovesTest,
                         ::testing::Values(Kind::Binary, Kind::Ascii));

TEST(MachineMoves, PlausiblePositionsAndConsoleDigits)
{
    for (auto [value, plausible] : {std::pair{0, true}, {100000, true}, {100001, false},
                                    {-1, false}})
        EXPECT_EQ(PlausibleAxis(value), plausible) << value;
    struct Digit {
        bool x, y, z;
        int digit;
    };
    for (const Digit& d : {Digit{true, false, false, 0}, {false, true, false, 1},
                           {false, false, true, 2}, {true, true, false, 3}, {true, false, true, 4},
                           {false, true, true, 5}, {true, true, true, 6}, {false, false, false, -1}})
        EXPECT_EQ(ConsoleAxisDigit(d.x, d.y, d.z), d.digit) << d.x << d.y << d.z;
}

}  // namespace
