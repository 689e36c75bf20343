// The machining area over the board copies: turned copies count with their
// turned outline, and a panel off the positive quarter keeps its own corners.
#include "geometry/board_orientation.h"
#include "machining/probe_test_dlg.h"
#include "records/board_extent.h"
#include "records/panel_layout.h"
#include "settings/machine_settings.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

struct Copy {
    double x, y;   // current centre, mil
    int swap;
};

RECT ExtentOf(std::initializer_list<Copy> copies)
{
    g_BoardMinX = 0;
    g_BoardMinY = 0;
    g_BoardMaxX = 400;
    g_BoardMaxY = 300;
    g_PulsesPerMil = 5.0f;
    CPanelLayout layout;
    for (const Copy& c : copies) {
        auto block = std::make_unique<CLayoutBlock>(0, 0, 400, 300);
        block->m_Centre = CDPoint(c.x, c.y);
        block->m_Swap = c.swap;
        layout.m_BlockList.push_back(std::move(block));
    }
    g_ProbeTestDlg.m_Layout = &layout;
    g_ProbeTestDlg.CalcLayoutExtent();
    g_ProbeTestDlg.m_Layout = nullptr;
    return g_LayoutExtent;
}

void ExpectRect(const RECT& r, int left, int top, int right, int bottom)
{
    EXPECT_EQ(r.left, left);
    EXPECT_EQ(r.top, top);
    EXPECT_EQ(r.right, right);
    EXPECT_EQ(r.bottom, bottom);
}

TEST(LayoutExtent, CoversEveryCopyAsItLiesOnTheTable)
{
    // One copy where it was made: its board corners, 5 pulses a mil.
    ExpectRect(ExtentOf({{200, 150, 0}}), 0, 0, 2000, 1500);
    // A second copy turned a quarter at (1000, 1000): 300 wide, 400 high.
    ExpectRect(ExtentOf({{200, 150, 0}, {1000, 1000, 1}}), 0, 0, 5750, 6000);
    // A panel lying at negative coordinates keeps its own corners rather
    // than a maximum of 0.
    ExpectRect(ExtentOf({{-1000, -1000, 0}}), -6000, -5750, -4000, -4250);
}

}  // namespace
