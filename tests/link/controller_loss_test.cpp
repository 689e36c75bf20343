// The controller going away in the middle of a session, and a line that
// carries only noise: the operator is told once, STOP is set, no wait
// outlasts its deadline, and the link sends nothing more.
#include "link_fixture.h"

#include "platform/resources.h"
#include "resource_ids.h"

#include <functional>

namespace {

using Kind = CControllerSimulator::Kind;

// The texts shown since `first`.
std::vector<std::string> BoxesSince(std::size_t first)
{
    std::vector<std::string> texts = TestHost().BoxTexts();
    texts.erase(texts.begin(), texts.begin() + static_cast<std::ptrdiff_t>(first));
    return texts;
}

// Holds the axes and starts an X move, so that a wait for them lasts.
void StartEndlessMove(CControllerSimulator& sim)
{
    sim.HoldMotion(true);
    ASSERT_EQ(g_BinLink.MoveXTo(100), 1);
}

// The controller is killed on the third pump of the wait that follows.
void KillOnThirdPump(CControllerSimulator& sim)
{
    int third = TestHost().Pumps() + 3;
    TestHost().OnPump([&sim, third](int n) {
        if (n == third)
            sim.Stop();
    });
}

}  // namespace

TEST_F(LinkTest, ControllerThatGoesAwayIsGivenUp)
{
    struct Case {
        const char* name;
        Kind kind;
        // Makes the controller go away at the right moment.
        std::function<void(CControllerSimulator&)> arrange;
        // The link's work that is running then; true when it succeeded.
        std::function<bool()> run;
    };
    auto hangUpOnNextFrame = [](CControllerSimulator& sim) { sim.HangUpOnNextFrame(); };
    auto waitForX = [] { return g_BinLink.WaitAxesIdle(0x01); };
    const Case cases[] = {
        {"binary: hangs up on a position query", Kind::Binary, hangUpOnNextFrame,
         [] {
             std::int32_t x, y, z;
             return g_BinLink.ReadPosition(&x, &y, &z) != 0;
         }},
        {"binary: hangs up on a move", Kind::Binary, hangUpOnNextFrame,
         [] { return g_BinLink.MoveYTo(40) != 0; }},
        {"binary: killed during a wait for the axes", Kind::Binary,
         [](CControllerSimulator& sim) {
             StartEndlessMove(sim);
             KillOnThirdPump(sim);
         },
         waitForX},
        {"binary: killed while Z homes", Kind::Binary,
         [](CControllerSimulator& sim) {
             sim.SetPosition(2, 3000);
             sim.HoldMotion(true);
             KillOnThirdPump(sim);
         },
         [] {
             g_MachineLink.CmdHM1();
             return g_AbortFlag == 0;
         }},
        {"binary: falls silent during a wait", Kind::Binary,
         [](CControllerSimulator& sim) {
             StartEndlessMove(sim);
             sim.DropNext(1000000);
         },
         waitForX},
        {"ascii: hangs up on the readiness query", Kind::Ascii, hangUpOnNextFrame,
         [] { return g_MachineLink.IsReady(); }},
        {"ascii: hangs up on a frame awaiting its acknowledgement", Kind::Ascii, hangUpOnNextFrame,
         [] {
             g_MachineLink.CmdMA2(10.0f, 20.0f);
             g_MachineLink.SaveFrame();
             return g_MachineLink.ResendSaved() != 0;
         }},
        {"ascii: killed between a query and its reply", Kind::Ascii,
         [](CControllerSimulator& sim) {
             g_MachineLink.CmdZZ();
             ASSERT_EQ(g_MachineLink.SendQuery(), 1);
             sim.Stop();
         },
         [] {
             g_MachineLink.ReadReply();
             return g_MachineLink.m_ZZReceived != 0;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Connect(c.kind);
        g_AbortFlag = 0;
        TestHost().OnPump(nullptr);
        std::size_t boxes = TestHost().Boxes().size();
        c.arrange(m_Sim);
        std::uint32_t start = GetTickCount();
        EXPECT_FALSE(c.run());
        EXPECT_LT(GetTickCount() - start, 1500u);
        EXPECT_EQ(g_AbortFlag, 1);
        EXPECT_FALSE(g_BinLink.m_Port.IsOpen());
        EXPECT_EQ(g_PortState, -1);
        EXPECT_EQ(BoxesSince(boxes),
                  (std::vector<std::string>{LoadResString(IDS_MACHINE_CONNECT_FAILED)}));
        // The job's next step goes nowhere, quickly, and is not told again.
        start = GetTickCount();
        EXPECT_FALSE(c.run());
        EXPECT_LT(GetTickCount() - start, 1500u);
        EXPECT_EQ(BoxesSince(boxes).size(), 1u);
    }
}

TEST_F(LinkTest, LineOfNoiseIsGivenUpAndNothingMoreIsSent)
{
    // A short job on each road; the noise must stop it somewhere in there.
    struct Case {
        const char* name;
        Kind kind;
        std::vector<std::function<void()>> steps;
    };
    const Case cases[] = {
        {"binary", Kind::Binary,
         {[] { g_BinLink.SetSpeedX(5); }, [] { g_BinLink.MoveXTo(100); },
          [] { g_BinLink.WaitAxesIdle(0x07); },
          [] {
              std::int32_t x, y, z;
              g_BinLink.ReadPosition(&x, &y, &z);
          },
          [] { g_BinLink.SetOutputBit(1, 1, true); }, [] { g_MachineLink.CmdMA2(5.0f, 5.0f); },
          [] { g_MachineLink.IsReady(); }}},
        {"ascii", Kind::Ascii,
         {[] { g_MachineLink.IsReady(); },
          [] {
              g_MachineLink.CmdZZ();
              g_MachineLink.SendQuery();
              g_MachineLink.ReadReply();
          },
          [] {
              g_MachineLink.CmdMA2(10.0f, 20.0f);
              g_MachineLink.SaveFrame();
              g_MachineLink.ResendSaved();
          },
          [] { g_MachineLink.CheckConnected(); },
          [] {
              g_MachineLink.CmdMR2(1.0f, 1.0f);
              g_MachineLink.SaveFrame();
              g_MachineLink.ResendSaved();
          },
          [] { g_MachineLink.SendText(3, "JG1.0,1.0"); }}},
    };
    for (const Case& c : cases) {
        for (std::uint32_t seed : {7u, 20240611u}) {
            SCOPED_TRACE(std::string(c.name) + " seed " + std::to_string(seed));
            Connect(c.kind);
            g_AbortFlag = 0;
            std::size_t boxes = TestHost().Boxes().size();
            m_Sim.AnswerWithNoise(seed);
            const std::uint32_t start = GetTickCount();
            std::size_t heardWhenLost = 0;
            bool lost = false;
            for (const auto& step : c.steps) {
                step();
                if (!lost && !g_BinLink.m_Port.IsOpen()) {
                    lost = true;
                    Settle();  // a frame may still be on its way when the link gives up
                    heardWhenLost = m_Sim.Received().size();
                }
            }
            EXPECT_LT(GetTickCount() - start, 3000u);
            ASSERT_TRUE(lost);
            Settle();
            EXPECT_EQ(m_Sim.Received().size(), heardWhenLost);
            EXPECT_EQ(g_AbortFlag, 1);
            EXPECT_EQ(BoxesSince(boxes),
                      (std::vector<std::string>{LoadResString(IDS_MACHINE_CONNECT_FAILED)}));
        }
    }
}
