// The binary road against the simulated controller: resends, silence, answer
// checksums, the waits for the axes and STOP.
#include "link_fixture.h"

#include "settings/machine_param_dlg.h"
#include "settings/machine_settings.h"


namespace {

using Kind = CControllerSimulator::Kind;

std::size_t Count(const std::vector<std::string>& lines, const std::string& line)
{
    return static_cast<std::size_t>(std::count(lines.begin(), lines.end(), line));
}

}  // namespace

TEST_F(LinkTest, RefusedFramesAreSentAgainUpToTheLimit)
{
    struct Case {
        const char* name;
        int refusals;
        std::function<int()> send;
        std::string command;
        int result;
    };
    const Case cases[] = {
        {"three refusals, then accepted", 3, [] { return g_BinLink.MoveXTo(100); }, "0x40", 1},
        {"ten refusals still accepted", 10, [] { return g_BinLink.SetSpeedX(5); }, "0x1B", 1},
        {"eleven refusals fail", 11, [] { return g_BinLink.SetSpeedX(5); }, "0x1B", 0},
        {"the axis-state query gives up after five", 6,
         [] {
             bool answered = true;
             g_BinLink.QueryDone(&answered);
             return answered ? 1 : 0;
         },
         "0x3B", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Connect(Kind::Binary);
        g_AbortFlag = 0;
        g_BinLink.m_PosX = 0;
        std::size_t boxes = TestHost().Boxes().size();
        m_Sim.RefuseNext(c.refusals);
        EXPECT_EQ(c.send(), c.result);
        int written = c.result ? c.refusals + 1 : c.refusals;
        EXPECT_EQ(LogLines("refused " + c.command).size() + LogLines(c.command).size(),
                  static_cast<std::size_t>(written));
        // Past the limit the line is given up: told once, STOP, port closed.
        EXPECT_EQ(TestHost().Boxes().size() - boxes, c.result ? 0u : 1u);
        EXPECT_EQ(g_AbortFlag, c.result ? 0 : 1);
        EXPECT_EQ(g_BinLink.m_Port.IsOpen(), c.result == 1);
    }
    // A refused move leaves the stored position alone.
    Connect(Kind::Binary);
    m_Sim.RefuseNext(11);
    g_BinLink.m_PosX = 0;
    EXPECT_EQ(g_BinLink.MoveXTo(300), 0);
    EXPECT_EQ(g_BinLink.m_PosX, 0);
}

TEST_F(LinkTest, SilenceTimesOutWithoutAResend)
{
    Connect(Kind::Binary);
    m_Sim.DropNext(1);
    const std::uint32_t start = GetTickCount();
    EXPECT_EQ(g_BinLink.MoveYTo(50), 0);
    EXPECT_EQ(GetTickCount() - start, g_BinLink.m_ReadTimeoutMs);  // the whole time-out
    EXPECT_EQ(m_Sim.Received().size(), 7u);  // one frame, written once
    EXPECT_EQ(g_BinLink.m_PosY, 0);
    EXPECT_EQ(g_AbortFlag, 0);
    EXPECT_EQ(g_BinLink.MoveYTo(50), 1);  // the next command goes through
}

TEST_F(LinkTest, PositionAnswerWithABadChecksumStoresNothing)
{
    Connect(Kind::Binary);
    m_Sim.SetPosition(0, 1234);
    m_Sim.SetPosition(1, -5);
    m_Sim.SetPosition(2, 77);
    std::int32_t x = 1, y = 2, z = 3;
    m_Sim.GarbleNextAnswer();
    EXPECT_EQ(g_BinLink.ReadPosition(&x, &y, &z), 0);
    EXPECT_EQ(x, 1);
    EXPECT_EQ(y, 2);
    EXPECT_EQ(z, 3);
    // The idle refresh keeps the stored positions when the read fails.
    g_BinLink.m_PosX = 9;
    m_Sim.GarbleNextAnswer();
    EXPECT_EQ(g_BinLink.UpdatePositionIfIdle(), 1);
    EXPECT_EQ(g_BinLink.m_PosX, 9);
    EXPECT_EQ(g_BinLink.UpdatePositionIfIdle(), 1);
    EXPECT_EQ(g_BinLink.m_PosX, 1234);
    EXPECT_EQ(g_BinLink.m_PosY, -5);
    EXPECT_EQ(g_BinLink.m_PosZ, 77);
}

TEST_F(LinkTest, StepMovesKeepTheStoredPositions)
{
    Connect(Kind::Binary);
    g_BinLink.SetAbsoluteMode(1);
    EXPECT_EQ(g_BinLink.MoveXTo(0), 1);  // already there: nothing sent
    EXPECT_TRUE(m_Sim.Received().empty());
    EXPECT_EQ(g_BinLink.MoveXTo(400), 1);
    EXPECT_EQ(g_BinLink.MoveXTo(150), 1);
    EXPECT_EQ(g_BinLink.MoveZTo(-20), 1);
    EXPECT_EQ(m_Sim.Log(), (std::vector<std::string>{"0x40 400", "0x41 250", "0x31 20"}));
    EXPECT_EQ(g_BinLink.m_PosX, 150);
    EXPECT_EQ(g_BinLink.m_PosZ, -20);
    auto state = m_Sim.GetState();
    EXPECT_EQ(state.position[0], 150);
    EXPECT_EQ(state.position[2], -20);
}

TEST_F(LinkTest, TwoSegmentMoves)
{
    Connect(Kind::Binary);
    // Split point within 5 pulses of the axis line: the second pair is zero.
    g_BinLink.SetAbsoluteMode(1);
    EXPECT_EQ(g_BinLink.LineMove80(2, 0, 1000, 0), 1);
    EXPECT_EQ(m_Sim.Log()[0], "0x80 2 0 0 0");
    EXPECT_EQ(m_Sim.GetState().position[0], 1000);
    // Relative form with start and end at one point: no division by zero.
    g_BinLink.SetAbsoluteMode(0);
    m_Sim.ClearLog();
    EXPECT_EQ(g_BinLink.LineMove82(10, 10, 10, 10), 1);
    EXPECT_EQ(m_Sim.Log()[0], "0x82 10 10 10 10");
    // STOP before the move sends nothing.
    m_Sim.ClearLog();
    g_AbortFlag = 1;
    EXPECT_EQ(g_BinLink.LineMove80(0, 0, 5, 5), 0);
    EXPECT_TRUE(m_Sim.Log().empty());
}

TEST_F(LinkTest, MoveWaitsForTheAxesToRestInsteadOfDroppingIt)
{
    Connect(Kind::Binary);
    g_BinLink.SetAbsoluteMode(1);
    m_Sim.HoldMotion(true);
    ASSERT_EQ(g_BinLink.MoveXTo(400), 1);
    CControllerSimulator* sim = &m_Sim;
    TestHost().OnPump([sim](int n) {
        if (n == 3)
            sim->HoldMotion(false);  // the first move ends while the link waits
    });
    EXPECT_NE(g_MachineLink.CmdMA2(800.0f, 0.0f), nullptr);
    EXPECT_GE(TestHost().Pumps(), 3);
    EXPECT_EQ(LogLines("0x40").size(), 2u);
    ASSERT_TRUE(g_BinLink.WaitAxesIdle(0x07));
    EXPECT_EQ(m_Sim.GetState().position[0], 800);
}

TEST_F(LinkTest, StopEndsAWaitAndTheMoveIsNotSent)
{
    Connect(Kind::Binary);
    g_BinLink.SetAbsoluteMode(1);
    m_Sim.HoldMotion(true);
    ASSERT_EQ(g_BinLink.MoveZTo(100), 1);
    TestHost().OnPump([](int n) {
        if (n == 3)
            g_AbortFlag = 1;
    });
    EXPECT_EQ(g_MachineLink.CmdMA1(500.0f), nullptr);
    EXPECT_EQ(TestHost().Pumps(), 3);
    EXPECT_EQ(LogLines("0x30").size(), 1u);
    // XY homing that never reaches its switches ends the same way.
    g_AbortFlag = 0;
    TestHost().OnPump([](int n) {
        if (n == 6)
            g_AbortFlag = 1;
    });
    g_MachineLink.CmdHM2();
    EXPECT_EQ(g_AbortFlag, 1);
    EXPECT_EQ(g_MachineLink.m_XYHomingRunning, 0);
    EXPECT_TRUE(LogLines("0x24").empty());  // no counter zeroing after STOP
}

TEST_F(LinkTest, AWaitEndsWhenTheControllerFallsSilent)
{
    Connect(Kind::Binary);
    m_Sim.HoldMotion(true);
    ASSERT_EQ(g_BinLink.MoveXTo(100), 1);
    m_Sim.DropNext(1000);
    const std::uint32_t start = GetTickCount();
    EXPECT_FALSE(g_BinLink.WaitAxesIdle(0x01));
    EXPECT_LT(GetTickCount() - start, 1500u);
    // A controller silent for a whole wait is taken for gone.
    EXPECT_EQ(g_AbortFlag, 1);
    EXPECT_EQ(TestHost().Boxes().size(), 1u);
    EXPECT_FALSE(g_BinLink.m_Port.IsOpen());
}

TEST_F(LinkTest, HomingOnTheBinaryRoad)
{
    Connect(Kind::Binary);
    m_Sim.SetPosition(2, 3000);
    g_MachineLink.CmdHM1();
    std::vector<std::string> log = m_Sim.Log();
    ASSERT_GE(log.size(), 4u);
    EXPECT_EQ(log[0], "0x26 10000");
    EXPECT_EQ(log[1], "0x3A 106 40 0 0");  // 16 mm/s x 200 / 30, 200 x 0.2
    EXPECT_EQ(log[2], "0x29");
    EXPECT_EQ(Count(log, "0x26 0"), Count(log, "0x33"));
    EXPECT_TRUE(m_Sim.GetState().homed[2]);
    EXPECT_EQ(g_BinLink.m_PosZ, 0);
    EXPECT_EQ(g_MachineLink.m_HomingStarted[2], 0);

    m_Sim.ClearLog();
    m_Sim.SetPosition(0, 500);
    m_Sim.SetPosition(1, 700);
    g_MachineLink.CmdHM2();
    log = m_Sim.Log();
    EXPECT_EQ(log[0], "0x3A 320 20 0 0");
    EXPECT_EQ(log[1], "0x27");
    EXPECT_EQ(log[2], "0x28");
    auto state = m_Sim.GetState();
    EXPECT_TRUE(state.homed[0] && state.homed[1]);
    EXPECT_EQ(state.position[0], 0);
    EXPECT_EQ(state.position[1], 0);
}

TEST_F(LinkTest, StatusThatStaysSilentSetsTheAbortFlag)
{
    Connect(Kind::Binary);
    EXPECT_FALSE(g_BinLink.StatusBit(0x40));
    EXPECT_EQ(g_AbortFlag, 0);
    m_Sim.DropNext(1);
    EXPECT_FALSE(g_BinLink.StatusBit(0x40));
    EXPECT_EQ(g_AbortFlag, 1);
}

TEST_F(LinkTest, CableTestAndOutputs)
{
    Connect(Kind::Binary);
    EXPECT_EQ(g_BinLink.CheckCable(), 0);
    m_Sim.SetInputs(0x01, 0x03, 0x01);
    EXPECT_EQ(g_BinLink.CheckCable(), 1);
    EXPECT_EQ(g_AbortFlag, 1);
    EXPECT_EQ(TestHost().BoxTexts(), (std::vector<std::string>{"Machine I/O Cable Connnect Fail !"}));
    EXPECT_EQ(m_Sim.GetState().outputs, 0x1111);

    // Output 5 takes group 3 bit 3 and group 2 bit 2.
    g_AbortFlag = 0;
    g_MachineLink.CmdOutput(5, 1);
    EXPECT_EQ(g_BinLink.m_OutputWord, 0x1111 | 0x0800 | 0x0040);
    EXPECT_EQ(m_Sim.GetState().outputs, g_BinLink.m_OutputWord);

    // Drives on: the enable bits of groups 1 to 3 are cleared.
    g_MachineLink.CmdEB(1);
    EXPECT_EQ(g_BinLink.m_OutputWord & 0x0111, 0);
    EXPECT_EQ(g_MachineLink.Send(), 0);  // the binary road has sent already

    // A refused word is not kept.
    std::uint16_t word = g_BinLink.m_OutputWord;
    m_Sim.RefuseNext(11);
    EXPECT_EQ(g_BinLink.SetOutputBit(4, 3, true), 0);
    EXPECT_EQ(g_BinLink.m_OutputWord, word);
}

TEST_F(LinkTest, SpindleCheckGivesUpAfterItsLimit)
{
    // A spindle whose sense input keeps changing would keep the operator in
    // the "Check the Spindle !" loop for ever; it ends after the limit.
    Connect(Kind::Binary);
    g_MachineModel = "KX-J";
    CControllerSimulator* sim = &m_Sim;
    TestHost().OnPump([sim](int) {
        bool odd = TestHost().Boxes().size() % 2 == 1;
        sim->SetInputs(0, 0, odd ? 0x00 : 0x04);
    });
    g_MachineLink.CmdOutput(7, 1);
    EXPECT_EQ(TestHost().Boxes().size(), static_cast<std::size_t>(g_BinLink.m_SpindleCheckLimit));
    EXPECT_EQ(TestHost().BoxTexts()[0], "Check the Spindle !");
    EXPECT_EQ(g_SpindleOn, 0);
    EXPECT_EQ(g_AbortFlag, 1);
    EXPECT_EQ(g_BinLink.m_OutputWord & 0x0002, 0);
}

TEST_F(LinkTest, ReadyTestOnTheBinaryRoad)
{
    Connect(Kind::Binary);
    m_Sim.SetPosition(0, 42);
    EXPECT_TRUE(g_MachineLink.IsReady());
    EXPECT_EQ(g_BinLink.m_PosX, 42);
    m_Sim.HoldMotion(true);
    g_BinLink.MoveYBy(10);
    EXPECT_FALSE(g_MachineLink.IsReady());
    g_MachineLink.ReadReply();
    EXPECT_EQ(g_MachineX, 42);
    EXPECT_EQ(g_MachineLink.m_ReplyFields[3], 1);   // X idle
    EXPECT_EQ(g_MachineLink.m_ReplyFields[4], 0);   // Y moving
    EXPECT_EQ(g_MachineLink.m_ReplyFields[10], 1);  // busy
}
