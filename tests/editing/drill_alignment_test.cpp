// The automatic alignment of drill holes to round pads.
#include "editing/drill_alignment.h"

#include "records/board_records.h"
#include "settings/work_order_dlg.h"
#include "support/record_makers.h"
#include "support/scripted_host.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

class DrillAlignment : public testing::Test {
protected:
    void Pad(float x, float y, int type = 0)
    {
        AddFlash(flashes, x, y, 20)->type = static_cast<std::uint8_t>(type);
    }

    void Hole(double x, double y)
    {
        if (tools.empty())
            tools.push_back(std::make_unique<CDrillTool>());
        tools.back()->holes.push_back(std::make_unique<CDPoint>(x, y));
    }

    CDPoint HoleAt(std::size_t i) const { return *tools.back()->holes[i]; }

    int Align() { return AutoAlignDrills(flashes, tools); }

    COwnedList<CFlashRecord> flashes;
    COwnedList<CDrillTool> tools;
};

}  // namespace

TEST_F(DrillAlignment, FindsTheShiftThatPutsTheHolesOnThePads)
{
    // A 5 x 5 grid of pads, 100 mil apart; the holes sit 1234.5, -678 away,
    // one hole has no pad, and an end pad of a stroke never counts.
    for (int i = 0; i < 5; ++i)
        for (int j = 0; j < 5; ++j)
            Pad(100.0f * i, 100.0f * j);
    Pad(9000, 9000, 3);
    Hole(9000 - 1234.5, 9000 + 678);
    for (int i = 0; i < 5; ++i)
        for (int j = 0; j < 5; ++j)
            Hole(100.0 * i - 1234.5, 100.0 * j + 678);

    EXPECT_EQ(Align(), 1);
    EXPECT_NEAR(HoleAt(1).x, 0.0, 1e-9);
    EXPECT_NEAR(HoleAt(1).y, 0.0, 1e-9);
    EXPECT_NEAR(HoleAt(25).x, 400.0, 1e-9);
    EXPECT_EQ(g_DrillDataSet, 1);
    EXPECT_GT(TestHost().Pumps(), 0);
}

TEST_F(DrillAlignment, NoMajorityLeavesTheHolesAndSaysSo)
{
    struct Case {
        const char* what;
        int pads;       // pads on a 100-mil row
        int holes;      // holes on the same row, shifted
        int offPattern; // holes far from any pattern
    } cases[] = {
        {"no pads", 0, 10, 0},
        {"no holes", 10, 0, 0},
        {"too few holes match", 4, 4, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        flashes.clear();
        tools.clear();
        g_DrillDataSet = 0;
        for (int i = 0; i < c.pads; ++i)
            Pad(100.0f * i, 0);
        for (int i = 0; i < c.holes; ++i)
            Hole(100.0 * i + 55, 33);
        for (int i = 0; i < c.offPattern; ++i)
            Hole(5000.0 + 37 * i * i, 7000.0 - 91 * i);
        std::vector<CDPoint> before;
        for (const auto& t : tools)
            for (const auto& h : t->holes)
                before.push_back(*h);

        EXPECT_EQ(Align(), 0);
        std::size_t k = 0;
        for (const auto& t : tools)
            for (const auto& h : t->holes)
                EXPECT_EQ(*h, before[k++]);
        EXPECT_EQ(g_DrillDataSet, 1);
    }
}

TEST_F(DrillAlignment, StopsSearchingWhenCancelled)
{
    for (int i = 0; i < 30; ++i)
        Pad(100.0f * i, 0);
    for (int i = 0; i < 30; ++i)
        Hole(5000.0 + 37 * i * i, 7000.0 - 91 * i);
    TestHost().OnPump([](int) { g_AlignEnable = 0; });
    EXPECT_EQ(Align(), 0);
    // One anchor's search ran to its end; no second anchor was tried.
    EXPECT_LE(TestHost().Pumps(), 30 * 30);
}
