// The pump and the abort flag.
#include "platform/message_pump.h"

#include "link/link_state.h"
#include "support/scripted_host.h"

#include <gtest/gtest.h>

TEST(PumpMessages, StopsPumpingWhileTheAbortFlagIsSet)
{
    // A STOP pressed during the third pump ends a long loop.
    TestHost().OnPump([](int n) {
        if (n == 3)
            g_AbortFlag = 1;
    });
    int steps = 0;
    while (!g_AbortFlag && steps < 100) {
        ++steps;
        PumpMessages();
    }
    EXPECT_EQ(steps, 3);
    PumpMessages();
    EXPECT_EQ(TestHost().Pumps(), 3);  // nothing handled while the flag is set
    g_AbortFlag = 0;
    PumpMessages();
    EXPECT_EQ(TestHost().Pumps(), 4);
}
