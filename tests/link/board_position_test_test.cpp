// The board position test against the simulated controller in both
// protocols: the corners of the layout extent, STOP during a move, targets
// off the table refused, and homing on Esc and OK.
#include "link_fixture.h"

#include "machining/position_test.h"
#include "machining/probe_test_dlg.h"
#include "resource_ids.h"
#include "settings/machine_settings.h"

namespace {

using Kind = CControllerSimulator::Kind;

class BoardPositionTest : public LinkTest, public ::testing::WithParamInterface<Kind> {
protected:
    void ConnectAbsolute()
    {
        Connect(GetParam());
        // As the connection sets the binary controller up: targets are
        // absolute.
        g_BinLink.SetAbsoluteMode(1);
    }
    std::pair<int, int> XY()
    {
        auto s = m_Sim.GetState();
        return {s.position[0], s.position[1]};
    }
};

TEST_P(BoardPositionTest, CornersStopAndHoming)
{
    ConnectAbsolute();
    g_LayoutExtent = RECT{1000, 2000, 5000, 6000};
    CBoardPositionTestDlg dlg;
    TestHost().QueueDialog([this](CDialog& d) {
        struct Case {
            unsigned button;
            std::pair<int, int> at;
        } cases[] = {
            {IDC_BPT_LEFT_TOP, {1000, 2000}},
            {IDC_BPT_RIGHT_TOP, {5000, 2000}},
            {IDC_BPT_LEFT_BOTTOM, {1000, 6000}},
            {IDC_BPT_RIGHT_BOTTOM, {5000, 6000}},
            {IDC_BPT_CENTRE, {3000, 4000}},
        };
        for (const Case& c : cases) {
            g_StatusText = "busy";
            d.PressButton(c.button);
            EXPECT_EQ(XY(), c.at) << c.button;
            EXPECT_EQ(g_StatusText, "");
        }

        // STOP during a move ends its wait; the next button clears the flag
        // and moves again.
        m_Sim.HoldMotion(true);
        int stopAt = TestHost().Pumps() + 3;
        TestHost().OnPump([stopAt](int n) {
            if (n == stopAt)
                g_AbortFlag = 1;
        });
        d.PressButton(IDC_BPT_LEFT_TOP);
        EXPECT_EQ(g_AbortFlag, 1);
        TestHost().OnPump(nullptr);
        m_Sim.HoldMotion(false);
        d.PressButton(IDC_BPT_LEFT_TOP);
        EXPECT_EQ(g_AbortFlag, 0);
        EXPECT_EQ(XY(), std::make_pair(1000, 2000));

        // Esc homes and keeps the dialog open.
        d.PressButton(IDCANCEL);
        EXPECT_TRUE(d.IsWindow());
        EXPECT_EQ(XY(), std::make_pair(0, 0));
        d.PressButton(IDC_BPT_RIGHT_BOTTOM);
        d.PressButton(IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(XY(), std::make_pair(0, 0));
}

TEST_P(BoardPositionTest, TargetsOffTheTableAreRefused)
{
    ConnectAbsolute();
    CBoardPositionTestDlg dlg;
    TestHost().QueueDialog([this](CDialog& d) {
        // An empty panel's extent starts far beyond any table.
        g_LayoutExtent = RECT{1000000, 1000000, 0, 0};
        d.PressButton(IDC_BPT_LEFT_TOP);
        EXPECT_EQ(TestHost().Boxes().size(), 1u);
        EXPECT_EQ(XY(), std::make_pair(0, 0));
        // A copy past the right end of the table (61996 pulses).
        g_LayoutExtent = RECT{1000, 1000, 70000, 2000};
        d.PressButton(IDC_BPT_LEFT_TOP);
        d.PressButton(IDC_BPT_RIGHT_BOTTOM);
        EXPECT_EQ(TestHost().Boxes().size(), 2u);
        EXPECT_EQ(XY(), std::make_pair(1000, 1000));
        // The table's far edge itself is on it: 1000 mil is 5080 pulses,
        // not a hair short of them.
        g_TableWidth = 1000.0;
        g_LayoutExtent = RECT{1000, 1000, 5080, 2000};
        d.PressButton(IDC_BPT_RIGHT_BOTTOM);
        EXPECT_EQ(TestHost().Boxes().size(), 2u);
        EXPECT_EQ(XY(), std::make_pair(5080, 2000));
        d.PressButton(IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDOK);
}

INSTANTIATE_TEST_SUITE_P(BothProtocols, BoardPositionTest,
                         ::testing::Values(Kind::Binary, Kind::Ascii));

}  // namespace
