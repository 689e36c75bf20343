// The two-point picks on the view: aligning the holes to a pad by hand,
// adding holes by hand, the hover marks.
#include "view_fixture.h"

#include "platform/resources.h"
#include "resource_ids.h"
#include "support/scripted_host.h"

namespace {

class PickTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        doc->m_WorkStage = 1;
        // Pads at (1000, 1000) and (1300, 1000); holes 20 mil off them.
        AddFlash(doc->m_FlashList, 1000, 1000, 30);
        AddFlash(doc->m_FlashList, 1300, 1000, 30);
        AddDrillTool(g_HoleList, 1, 32, 1, {CDPoint(980, 1010), CDPoint(1280, 1010)});
        g_BoardMinX = g_BoardMinY = 0;
        g_BoardMaxX = g_BoardMaxY = 2000;
    }
    CDPoint Hole(std::size_t i) const { return *g_HoleList[0]->holes[i]; }
};

}  // namespace

TEST_F(PickTest, TwoClicksAlignTheHolesToAPad)
{
    view->m_DrillAlignMode = 1;
    // A click beside every hole takes nothing.
    view->OnLButtonDown(0, POINT{500, 500});
    EXPECT_EQ(view->m_PressState, 0);
    view->OnLButtonDown(0, POINT{990, 1030});   // 22 mil from the first hole
    EXPECT_EQ(view->m_PressState, 1);
    EXPECT_EQ(g_StatusText, LoadResString(IDS_CHOOSE_SECOND_POINT));
    view->OnLButtonDown(0, POINT{1005, 995});   // on the first pad
    EXPECT_EQ(view->m_DrillAlignMode, 0);
    EXPECT_EQ(view->m_PressState, 0);
    EXPECT_EQ(Hole(0).x, 1000.0);
    EXPECT_EQ(Hole(0).y, 1000.0);
    EXPECT_EQ(Hole(1).x, 1300.0);
    // The work area now holds the holes with a margin of 100.
    EXPECT_LE(g_BoardMinX, 900);
    EXPECT_GE(g_BoardMaxX, 1400);
}

TEST_F(PickTest, ASecondClickBesideEveryPadLeavesTheHolesAlone)
{
    view->m_DrillAlignMode = 1;
    view->OnLButtonDown(0, POINT{980, 1010});
    ASSERT_EQ(view->m_PressState, 1);
    view->OnLButtonDown(0, POINT{1500, 1500});
    ASSERT_EQ(TestHost().BoxTexts().size(), 1u);
    EXPECT_EQ(TestHost().BoxTexts()[0], LoadResString(IDS_INVALID_SELECTION));
    EXPECT_EQ(Hole(0).x, 980.0);
    EXPECT_EQ(Hole(0).y, 1010.0);
    EXPECT_EQ(view->m_DrillAlignMode, 0);
    EXPECT_EQ(view->m_PressState, 0);
}

TEST_F(PickTest, DrillAddingPlacesHolesWhileTheMarkerFollows)
{
    view->m_DrillAddMode = 1;
    view->m_NewDrillDiameter = 40;
    // The first move shows the marker and arms the placing.
    view->OnMouseMove(0, POINT{100, 100});
    EXPECT_EQ(view->m_BlockPicking, 1);
    EXPECT_EQ(view->m_MarkerShown, 1);
    view->OnLButtonDown(0, POINT{100, 100});
    view->OnLButtonDown(0, POINT{150, 100});
    ASSERT_EQ(g_HoleList.size(), 2u);   // a new tool for the new size
    EXPECT_EQ(g_HoleList[1]->diameter, 40.0f);
    EXPECT_EQ(g_HoleList[1]->holes.size(), 2u);
    EXPECT_EQ(g_ToolSizes[2], 40.0f);
    // A size of nothing adds nothing.
    view->m_NewDrillDiameter = 0;
    view->OnLButtonDown(0, POINT{200, 100});
    EXPECT_EQ(g_HoleList.size(), 2u);
    // The right button ends the adding.
    view->m_PressState = 1;
    view->OnRButtonDown(0, POINT{200, 100});
    EXPECT_EQ(view->m_DrillAddMode, 0);
    EXPECT_EQ(view->m_BlockPicking, 0);
}

TEST_F(PickTest, HoverMarksAreErasedByTheNextMove)
{
    view->m_DrillFindMode = 1;
    Calls().clear();
    view->OnMouseMove(0, POINT{985, 1010});   // near the first hole
    view->OnMouseMove(0, POINT{986, 1010});   // still the same hole: nothing new
    view->OnMouseMove(0, POINT{1500, 1500});  // nothing near: the mark goes
    const auto marks = window.surface.Of("ellipse");
    ASSERT_EQ(marks.size(), 2u);
    EXPECT_EQ(marks[0].v, marks[1].v);
    EXPECT_EQ(marks[0].rop, R2_XORPEN);
}

TEST_F(PickTest, ConnectedCopperIsPickedWithItsPads)
{
    CTrackRecord* a = AddTrack(doc->m_TrackList, 0, 1000, 1000, 1300, 1000, 10);
    CTrackRecord* b = AddTrack(doc->m_TrackList, 0, 1300, 1000, 1300, 1200, 10);
    AddTrack(doc->m_TrackList, 0, 0, 0, 10, 10, 10);
    view->m_SelTracks.push_back(a);
    view->PickConnectedItem(a);
    ASSERT_EQ(view->m_SelTracks.size(), 2u);
    EXPECT_EQ(view->m_SelTracks[1], b);
    // The pad at b's start; the pad at a's start is a's own and not asked for.
    EXPECT_EQ(view->m_SelFlashes.size(), 1u);
    // An empty board picks nothing and does not fail.
    CVelmDoc empty;
    CVelmView other(empty);
    CTrackRecord alone;
    EXPECT_EQ(other.PickConnectedItem(&alone), 1);
    EXPECT_TRUE(other.m_SelTracks.empty());
    g_HoleList.clear();
    int reach = -1;
    const CDPoint none = other.FindDrillNear(POINT{5, 5}, &reach);
    EXPECT_EQ(none.x, 0.0);
    EXPECT_EQ(reach, -1);
    EXPECT_EQ(other.HitItemAt(POINT{5, 5}), nullptr);
    EXPECT_EQ(other.FindPanelHoleAt(CDPoint(5, 5)).x, 0.0);
    EXPECT_EQ(other.FindBlockAt(CDPoint(5, 5)), nullptr);
    // The two-point picks on nothing do nothing.
    other.m_DrillAlignMode = 1;
    other.PickTwoPoints(0, POINT{5, 5});
    EXPECT_EQ(other.m_PressState, 0);
    other.m_DrillFindMode = 1;
    other.TrackHover(0, POINT{6, 6});
    EXPECT_EQ(other.m_HoverShown, 0);
}

TEST_F(PickTest, SnapTakesTheFlashUnderThePointElseTheNearestEnd)
{
    AddTrack(doc->m_TrackList, 0, 1100, 1200, 1200, 1200, 10);
    struct Case {
        CDPoint at, want;
        int onFlash;
    } cases[] = {
        {CDPoint(1010, 990), CDPoint(1000, 1000), 1},   // inside the first pad
        {CDPoint(1190, 1230), CDPoint(1200, 1200), 0},  // nearest: the track's end
        {CDPoint(1060, 1160), CDPoint(1100, 1200), 0},  // nearest: its start
    };
    for (Case c : cases) {
        CDPoint p = c.at;
        EXPECT_EQ(view->SnapToNearestPoint(p), c.onFlash);
        EXPECT_EQ(p.x, c.want.x);
        EXPECT_EQ(p.y, c.want.y);
    }
    // Nothing on the board to snap to: the point stays where it was rather
    // than jumping to the origin.
    CVelmDoc empty;
    CVelmView other(empty);
    CDPoint p(123, 456);
    EXPECT_EQ(other.SnapToNearestPoint(p), 0);
    EXPECT_EQ(p.x, 123.0);
    EXPECT_EQ(p.y, 456.0);
}
