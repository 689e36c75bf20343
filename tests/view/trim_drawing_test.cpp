// The trim list of the path stage: each ring drawn as wide as its cutter,
// lines and arcs at the board's own place, taken rings left out.
#include "view_fixture.h"

#include <gtest/gtest.h>

namespace {

CWidthGroup& AddRing(CVelmView& view, int width)
{
    view.m_TrimList.push_back(std::make_unique<CWidthGroup>());
    view.m_TrimList.back()->width = width;
    return *view.m_TrimList.back();
}

}  // namespace

TEST_F(ViewTest, TrimListDrawsRingsAsWideAsTheirCutter)
{
    CWidthGroup& ring = AddRing(*view, 20);
    AddGridSegment(ring.segments, 0, 10, 10, 110, 10);
    AddGridSegment(ring.segments, 2, 150, 100, 100, 150, 100, 100);
    AddGridSegment(ring.segments, 1, 150, 100, 100, 150, 100, 100);
    // Rings already taken (width 0) and marked below zero are not drawn.
    AddGridSegment(AddRing(*view, 0).segments, 0, 300, 300, 400, 300);
    AddGridSegment(AddRing(*view, -3).segments, 0, 300, 400, 400, 400);

    view->m_Scale = 0.5f;
    view->DrawTrimList(VIEW_CYAN);
    ASSERT_EQ(Calls().size(), 3u);
    for (const CDrawCall& c : Calls()) {
        EXPECT_EQ(c.pen, SolidPen(40, VIEW_CYAN));
        EXPECT_EQ(c.rop, R2_COPYPEN);
    }
    EXPECT_EQ(Calls()[0].kind, "line");
    EXPECT_EQ(Calls()[0].v, (std::vector<int>{20, 20, 220, 20}));
    // Type 2 runs from the first point to the second, the other arc type
    // the other way; the box is the circle through the first point.
    EXPECT_EQ(Calls()[1].kind, "arc");
    EXPECT_EQ(Calls()[1].v, (std::vector<int>{100, 100, 300, 300, 300, 200, 200, 300}));
    EXPECT_EQ(Calls()[2].v, (std::vector<int>{100, 100, 300, 300, 200, 300, 300, 200}));

    // Far out the pen's width truncates to 0 pixels.
    Calls().clear();
    view->m_Scale = 40.0f;
    view->DrawTrimList(VIEW_CYAN);
    ASSERT_FALSE(Calls().empty());
    EXPECT_EQ(Calls()[0].pen.width, 0);
}
