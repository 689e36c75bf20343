// The machining side's one wait: each way it can end, against the simulated
// controller in both protocols.
#include "link_fixture.h"

#include "link/machine_wait.h"

namespace {

using Kind = CControllerSimulator::Kind;

class MachineWaitTest : public LinkTest, public ::testing::WithParamInterface<Kind> {};

TEST_P(MachineWaitTest, EndsOnReadinessDeadlineAbortAndSilence)
{
    Connect(GetParam());

    // An idle controller is ready at once.
    EXPECT_EQ(WaitUntilReady(2000), EWaitEnd::Done);

    // A move that never finishes runs into the deadline.
    m_Sim.HoldMotion(true);
    if (GetParam() == Kind::Binary) {
        ASSERT_EQ(g_BinLink.MoveXTo(100), 1);
    } else {
        g_MachineLink.CmdMA2(100, 0);
        ASSERT_EQ(g_MachineLink.Send(), 1);
    }
    EXPECT_EQ(WaitUntilReady(300), EWaitEnd::Deadline);

    // STOP pressed while waiting.
    int third = TestHost().Pumps() + 3;
    TestHost().OnPump([third](int n) {
        if (n == third)
            g_AbortFlag = 1;
    });
    EXPECT_EQ(WaitUntilReady(5000), EWaitEnd::Aborted);
    TestHost().OnPump(nullptr);
    g_AbortFlag = 0;

    // A controller that hears nothing any more is given up after the
    // silence limit, well before the deadline.
    m_Sim.HoldMotion(false);
    m_Sim.DropNext(1000000);
    EXPECT_EQ(WaitUntilReady(60000), EWaitEnd::Silent);
    m_Sim.DropNext(0);

    // The controller going away ends the wait instead of hanging it.
    m_Sim.Stop();
    EWaitEnd end = WaitUntilReady(20000);
    EXPECT_TRUE(end == EWaitEnd::Silent || end == EWaitEnd::Aborted) << WaitEndName(end);
}

INSTANTIATE_TEST_SUITE_P(BothProtocols, MachineWaitTest,
                         ::testing::Values(Kind::Binary, Kind::Ascii));

TEST(MachineWait, PollsThatNeverAnswerAreSilenceAndPumpingPausesStopOnAbort)
{
    // Without an open port there is nobody to wait for.
    EXPECT_EQ(WaitMachine([] { return EPoll::Waiting; }), EWaitEnd::Silent);
    g_AbortFlag = 1;
    EXPECT_EQ(WaitPumping(50), EWaitEnd::Aborted);
    g_AbortFlag = 0;
    EXPECT_EQ(WaitPumping(20), EWaitEnd::Done);
}

}  // namespace
