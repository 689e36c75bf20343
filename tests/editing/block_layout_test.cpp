// The first copy centred on the table, the automatic grid and its dialog.
#include "editing/auto_layout_dlg.h"
#include "editing/block_layout.h"

#include "resource_ids.h"
#include "support/scripted_host.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr double kTableW = 12204.0, kTableH = 7874.0;
const RECT kBoard{1000, 500, 3000, 1500};   // 2000 x 1000 mil

}  // namespace

TEST(BlockLayout, MaxCountsFollowTheTurnAndNeverDropBelowOne)
{
    struct Case {
        std::uint32_t swap;
        double w, h;
        int nx, ny;
    } cases[] = {
        {0, kTableW, kTableH, 5, 7},    // 12204 / 2050, 7874 / 1050
        {1, kTableW, kTableH, 11, 3},   // turned: 12204 / 1050, 7874 / 2050
        {0, 1000.0, 500.0, 1, 1},       // board larger than the table
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.swap);
        const POINT n = MaxLayoutCounts(LayoutCell(kBoard, c.swap), c.w, c.h);
        EXPECT_EQ(n.x, c.nx);
        EXPECT_EQ(n.y, c.ny);
    }
}

TEST(BlockLayout, FirstBlockIsCentredAndTheOutlineRelative)
{
    COwnedList<CLayoutBlock> blocks;
    COwnedList<POINT> outline;
    PlaceFirstBlock(blocks, outline, kBoard, kTableW, kTableH, BlockOrientation{0, POINT{-1, -1}});
    ASSERT_EQ(blocks.size(), 1u);
    ASSERT_EQ(outline.size(), 7u);
    const CLayoutBlock& b = *blocks.front();
    EXPECT_EQ(b.m_RefCentre.x, 2000.0);
    EXPECT_EQ(b.m_RefCentre.y, 1000.0);
    EXPECT_EQ(b.m_Centre.x, kTableW / 2);
    EXPECT_EQ(b.m_Centre.y, kTableH / 2);
    EXPECT_EQ(b.m_Extent.left, 1000 + 6102 - 2000);
    EXPECT_EQ(b.m_Extent.top, 500 + 3937 - 1000);
    EXPECT_EQ(b.m_Extent.right - b.m_Extent.left, 2000);
    EXPECT_EQ(b.m_Sign.x, -1);
    EXPECT_EQ(b.m_Sign.y, -1);
    EXPECT_EQ(b.m_Outline, &outline);
    // Closed rectangle round the centre, then the orientation mark.
    EXPECT_EQ(outline[0]->x, -1000);
    EXPECT_EQ(outline[0]->y, -500);
    EXPECT_EQ(outline[2]->x, 1000);
    EXPECT_EQ(outline[2]->y, 500);
    EXPECT_EQ(outline[4]->x, outline[0]->x);
    EXPECT_EQ(outline[5]->x, -800);
    EXPECT_EQ(outline[6]->y, -100);
}

TEST(BlockLayout, GridIsCentredWithTheFirstOrientation)
{
    COwnedList<CLayoutBlock> blocks;
    COwnedList<POINT> outline;
    PlaceFirstBlock(blocks, outline, kBoard, kTableW, kTableH, BlockOrientation{});
    const BlockOrientation turned{1, POINT{-1, 1}};
    PlaceBlockGrid(blocks, outline, kBoard, kTableW, kTableH, 2, 1, BlockOrientation{});
    ASSERT_EQ(blocks.size(), 2u);
    // hX = 2050 * 2 / 2; first centre x = 6102 - 2050 + 1000 + 25.
    EXPECT_EQ(blocks[0]->m_Centre.x, 6102.0 - 2050 + 1000 + 25);
    EXPECT_EQ(blocks[1]->m_Centre.x - blocks[0]->m_Centre.x, 2050.0);
    EXPECT_EQ(blocks[0]->m_Centre.y, 3937.0 - 525 + 500 + 25);
    EXPECT_EQ(blocks[0]->m_Extent.right - blocks[0]->m_Extent.left, 2000);
    EXPECT_EQ(blocks[1]->m_Extent.left - blocks[0]->m_Extent.right, 50);
    EXPECT_EQ(blocks[0]->m_RefCentre.x, 2000.0);

    // A turned first copy exchanges the roles of width and height: columns
    // are 1050 apart, rows 2050, the copies keep the turn and the signs.
    PlaceBlockGrid(blocks, outline, kBoard, kTableW, kTableH, 2, 2, turned);
    ASSERT_EQ(blocks.size(), 4u);
    EXPECT_EQ(blocks[2]->m_Centre.x - blocks[0]->m_Centre.x, 1050.0);   // i outer
    EXPECT_EQ(blocks[1]->m_Centre.y - blocks[0]->m_Centre.y, 2050.0);   // j inner
    for (const auto& b : blocks) {
        EXPECT_EQ(b->m_Swap, 1u);
        EXPECT_EQ(b->m_Sign.x, -1);
        EXPECT_EQ(b->m_Extent.bottom - b->m_Extent.top, 2000);
        EXPECT_EQ(b->m_Outline, &outline);
        EXPECT_EQ(b->m_Selected, 0u);
    }
    EXPECT_EQ(outline.size(), 7u);   // the shared outline is untouched
}

TEST(AutoLayoutDlg, OffersOneToTheMaximumAndFallsBackToOneCopy)
{
    struct Case {
        const char* x;
        const char* y;
        int nx, ny;
    } cases[] = {{"3", "2", 3, 2}, {"0", "4", 1, 1}, {"abc", "2", 1, 1}, {"5", "7", 5, 7}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.x) + "," + c.y);
        CAutoLayoutDlg dlg;
        dlg.m_CountX = 5;
        dlg.m_CountY = 7;
        int offeredX = 0, offeredY = 0;
        std::string first;
        TestHost().QueueDialog(
            [&](CDialog& d) {
                offeredX = d.GetCount(IDC_AUTO_LAYOUT_X);
                offeredY = d.GetCount(IDC_AUTO_LAYOUT_Y);
                first = d.GetDlgItemText(IDC_AUTO_LAYOUT_X);
                d.SetDlgItemText(IDC_AUTO_LAYOUT_X, c.x);
                d.SetDlgItemText(IDC_AUTO_LAYOUT_Y, c.y);
                d.PressButton(IDOK);
            },
            IDD_AUTO_LAYOUT);
        ASSERT_EQ(dlg.DoModal(), IDOK);
        EXPECT_EQ(offeredX, 5);
        EXPECT_EQ(offeredY, 7);
        EXPECT_EQ(first, "1");
        EXPECT_EQ(dlg.m_CountX, c.nx);
        EXPECT_EQ(dlg.m_CountY, c.ny);
    }
}
