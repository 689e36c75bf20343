// The ASCII road: replies parsed whole or in pieces, bounded fields, the
// acknowledgement and resend of saved frames, readiness and write failures.
#include "link_fixture.h"

#include <chrono>

namespace {

using Kind = CControllerSimulator::Kind;

// Opens the bare pseudo-terminal as the ASCII controller's port.
void OpenRaw(CRawPty& pty)
{
    g_ControllerKind = 0;
    ASSERT_TRUE(g_BinLink.m_Port.Open(pty.Path()));
    ASSERT_TRUE(g_BinLink.m_Port.Configure(9600));
}

}  // namespace

TEST_F(LinkTest, ReplySplitAcrossReadsIsCompleted)
{
    Connect(Kind::Ascii);
    m_Sim.SetPosition(0, 1);
    m_Sim.SetPosition(1, 2);
    m_Sim.SetPosition(2, 3);
    m_Sim.SplitNextReply(40);
    g_MachineLink.CmdZZ();
    ASSERT_EQ(g_MachineLink.SendQuery(), 1);
    ASSERT_TRUE(g_BinLink.m_Port.WaitForInput(500));
    EXPECT_GT(g_MachineLink.ReadReply(), 0);
    EXPECT_EQ(g_MachineLink.m_ZZReceived, 1);
    // X, Y, Z come first; the fields after them are the idle flags and the
    // pause button, of which the kept text holds what fits.
    EXPECT_EQ(g_MachineLink.m_ZZText.substr(0, 6), "1,2,3,");
    EXPECT_EQ(g_MachineX, 1);
    EXPECT_EQ(g_MachineY, 2);
    EXPECT_EQ(g_MachineZ, 3);
    EXPECT_TRUE(g_MachineLink.m_ReplyBuffer.empty());
    EXPECT_EQ(g_MachineLink.m_ReplyAttempts, 0);
}

TEST_F(LinkTest, OverlongRepliesAreCutToTheirFields)
{
    CRawPty pty;
    Attach(pty);
    OpenRaw(pty);
    std::string numbers;
    for (int i = 1; i <= 40; ++i)
        numbers += (i > 1 ? "," : "") + std::to_string(i);
    pty.Write("\x02z\x03\x06\x02zz" + numbers + "\x03\x02id" + std::string(300, '1') + "\x03" +
              "\x02mp0123456789ABC\x03\x02ps-77\x03");
    g_MachineLink.m_AwaitedPSAxis = 7;  // no such axis: nothing stored
    ASSERT_TRUE(g_BinLink.m_Port.WaitForInput(500));
    while (g_MachineLink.ReadReply() > 0) {
    }
    EXPECT_EQ(g_MachineLink.m_AckFlag, 1);
    EXPECT_EQ(g_MachineLink.m_ZZText.size(), 20u);
    EXPECT_EQ(g_MachineLink.m_ReplyFields[29], 30);
    EXPECT_EQ(g_MachineLink.m_PortState, -1);  // the field after the 30 is untouched
    EXPECT_EQ(g_MachineLink.m_MPText, "012345678");
    EXPECT_LE(g_MachineLink.m_IDText.size(), 9u);
    EXPECT_EQ(g_MachineLink.m_PSReceived, (std::array<int, 3>{0, 0, 0}));

    // A caller's small buffer gets what fits; the rest stays queued.
    pty.Write("abcdefghij");
    ASSERT_TRUE(g_BinLink.m_Port.WaitForInput(500));
    char small[4];
    EXPECT_EQ(g_MachineLink.ReadAvailable(small, sizeof small), 3u);
    EXPECT_STREQ(small, "abc");
}

TEST_F(LinkTest, UnfinishedReplyGivesUpAfterTwentyReads)
{
    CRawPty pty;
    Attach(pty);
    OpenRaw(pty);
    pty.Write("\x02zz12,3");
    ASSERT_TRUE(g_BinLink.m_Port.WaitForInput(500));
    EXPECT_EQ(g_MachineLink.ReadReply(), 0);
    EXPECT_EQ(g_MachineLink.m_ZZReceived, 0);
    EXPECT_TRUE(g_MachineLink.m_ReplyBuffer.empty());
    EXPECT_EQ(g_MachineLink.m_ReplyAttempts, 0);
}

TEST_F(LinkTest, SavedFrameIsResentAfterNaksUpToFiveTimes)
{
    struct Case {
        int naks;
        int result;
        std::size_t frames;
    };
    // After the fifth resend the call fails whatever the answer to it, and
    // the line is given up: told once, STOP, port closed.
    for (const Case& c : {Case{2, 1, 3}, Case{4, 1, 5}, Case{5, 0, 6}, Case{8, 0, 6}}) {
        SCOPED_TRACE(c.naks);
        Connect(Kind::Ascii);
        g_AbortFlag = 0;
        std::size_t boxes = TestHost().Boxes().size();
        m_Sim.RefuseNext(c.naks);
        g_MachineLink.CmdMA2(10.0f, 20.0f);
        ASSERT_EQ(g_MachineLink.SaveFrame(), 1);
        int slot = g_MachineLink.m_CurrentSlot;
        EXPECT_EQ(g_MachineLink.ResendSaved(), c.result);
        Settle();
        EXPECT_EQ(LogLines("refused 33 MA").size() + LogLines("33 MA").size(), c.frames);
        EXPECT_EQ(g_MachineLink.m_CurrentSlot, c.result ? 1 - slot : slot);
        EXPECT_EQ(TestHost().Boxes().size() - boxes, c.result ? 0u : 1u);
        EXPECT_EQ(g_AbortFlag, c.result ? 0 : 1);
        EXPECT_EQ(g_BinLink.m_Port.IsOpen(), c.result == 1);
    }
    // A frame whose checksum is wrong is refused by the controller.
    Connect(Kind::Ascii);
    g_MachineLink.CmdCO();
    g_MachineLink.m_Checksum ^= 0x55;
    g_MachineLink.Send();
    EXPECT_FALSE(g_MachineLink.WaitAck());
    EXPECT_EQ(m_Sim.Log(), (std::vector<std::string>{"bad checksum 33 CO"}));
}

TEST_F(LinkTest, ReadinessAndConnectionQueries)
{
    Connect(Kind::Ascii);
    EXPECT_TRUE(g_MachineLink.IsReady());
    EXPECT_TRUE(g_MachineLink.CheckConnected());
    m_Sim.HoldMotion(true);
    g_MachineLink.CmdMA2(100.0f, 0.0f);
    g_MachineLink.Send();
    EXPECT_FALSE(g_MachineLink.IsReady());  // "id0" while moving
    m_Sim.HoldMotion(false);
    EXPECT_TRUE(g_MachineLink.IsReady());
    EXPECT_EQ(m_Sim.GetState().position[0], 100);
    // A slow reply within the deadline still counts; a garbled one does not.
    m_Sim.DelayNextReply(40);
    EXPECT_TRUE(g_MachineLink.IsReady());
    m_Sim.GarbleNextAnswer();
    EXPECT_FALSE(g_MachineLink.IsReady());
}

TEST_F(LinkTest, AWriteFailureIsReportedAndStops)
{
    Connect(Kind::Ascii);
    g_BinLink.m_Port.Close();
    g_MachineLink.CmdCT();
    EXPECT_EQ(g_MachineLink.Send(), 0);
    EXPECT_EQ(g_AbortFlag, 1);
    g_AbortFlag = 0;
    EXPECT_EQ(g_MachineLink.SendText(6, "ZR"), 0);
    EXPECT_EQ(g_AbortFlag, 1);
}

TEST_F(LinkTest, FreeTextAndOverlongFrames)
{
    Connect(Kind::Ascii);
    EXPECT_EQ(g_MachineLink.SendText(3, "JG100.0,100.0"), 1);
    Settle();
    ASSERT_FALSE(m_Sim.Log().empty());
    EXPECT_EQ(m_Sim.Log()[0], "33 JG100.0,100.0");
    // A frame the controller cannot hold is not sent at all.
    m_Sim.ClearLog();
    EXPECT_EQ(g_MachineLink.SendText(3, std::string(60, 'A').c_str()), 0);
    g_MachineLink.CmdMA2(1e30f, 1e30f);
    EXPECT_EQ(g_MachineLink.Send(), 0);
    EXPECT_TRUE(m_Sim.Received().empty());
    EXPECT_EQ(g_AbortFlag, 0);
}

TEST_F(LinkTest, PortOperationsRefuseOnTheBinaryRoad)
{
    Connect(Kind::Binary);
    char buf[8] = "x";
    EXPECT_EQ(g_MachineLink.WriteBytes("abc", 3), 0);
    EXPECT_EQ(g_MachineLink.ReadBytes(buf, 1), 0u);
    EXPECT_EQ(g_MachineLink.ReadAvailable(buf, sizeof buf), 0u);
    EXPECT_EQ(g_MachineLink.SendText(3, "CO"), 0);
    EXPECT_TRUE(m_Sim.Received().empty());
}
