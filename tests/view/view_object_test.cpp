// The view object: construction, first update, lists, popup menus, the
// restartable redraw and the status panes.
#include "view_fixture.h"

#include "settings/machine_param_dlg.h"
#include "platform/message_pump.h"
#include "settings/machine_settings.h"
#include "settings/system_settings_dlg.h"
#include "support/scripted_host.h"
#include "ui/cmd_ui.h"
#include "resource_ids.h"

TEST_F(ViewTest, NewViewGreetsAndFitsTheWorkArea)
{
    EXPECT_EQ(g_StatusText, "ORDUNE Message ....");
    EXPECT_EQ(view->m_CurrentDrillTool, -1);
    EXPECT_EQ(view->m_RouteAutoClose, 1);
    EXPECT_EQ(view->m_CopperLineWidth, 12);
    g_MachineModel = "ZELTA6";
    g_BoardMaxX = 1600;
    g_BoardMaxY = 600;
    view->OnInitialUpdate();
    EXPECT_EQ(g_StatusText, "Welcome to the ZELTA6");
    EXPECT_FLOAT_EQ(view->m_Scale, 2.0f);  // 1600 mil over 800 pixels
    // The loaders' zoom to fit reaches the view through the document.
    view->m_Scale = 7.0f;
    doc->m_ViewHooks.zoomToFit();
    EXPECT_FLOAT_EQ(view->m_Scale, 2.0f);
}

TEST_F(ViewTest, PopupMenusFollowTheWorkStage)
{
    EXPECT_FALSE(view->m_PopupMenus[0].items.empty());
    for (int stage : {1, 2, 3, 4, 5}) {
        doc->m_WorkStage = static_cast<std::uint8_t>(stage);
        EXPECT_FALSE(view->PopupMenuForStage().items.empty()) << stage;
    }
}

TEST_F(ViewTest, ClearListsFreesLayoutButNotSelectedCopper)
{
    BuildBoard();
    CTrackRecord* track = doc->m_TrackList[0].get();
    view->m_SelTracks.push_back(track);
    view->ClearLists();
    EXPECT_TRUE(view->m_BlockList.empty());
    EXPECT_TRUE(view->m_OutlinePoints.empty());
    EXPECT_TRUE(view->m_SelTracks.empty());
    EXPECT_EQ(doc->m_TrackList.size(), 3u);
}

TEST_F(ViewTest, SelectionListsTestAndRemove)
{
    BuildBoard();
    CFlashRecord* a = doc->m_FlashList[0].get();
    CFlashRecord* b = doc->m_FlashList[1].get();
    view->m_SelFlashes = {a, a};
    EXPECT_EQ(view->IsInSelListC(a), 1);
    EXPECT_EQ(view->IsInSelListC(b), 0);
    EXPECT_EQ(view->RemoveFromSelListC(b), 0);
    EXPECT_EQ(view->m_SelFlashes.size(), 2u);
    EXPECT_EQ(view->RemoveFromSelListC(a), 1);
    EXPECT_EQ(view->m_SelFlashes.size(), 1u);  // only the first occurrence
    CClearRegion* region = doc->m_ClearRegionList[0].get();
    EXPECT_EQ(view->RemoveFromSelListD(region), 0);
    view->m_SelClearRegions.push_back(region);
    EXPECT_EQ(view->IsInSelListD(region), 1);
}

TEST_F(ViewTest, PointListBounds)
{
    COwnedList<POINT> points;
    for (POINT p : {POINT{5, -3}, POINT{-7, 10}, POINT{2, 4}})
        points.push_back(std::make_unique<POINT>(p));
    RECT r = CVelmView::CalcPointListBounds(points);
    EXPECT_EQ(r.left, -7);
    EXPECT_EQ(r.top, -3);
    EXPECT_EQ(r.right, 5);
    EXPECT_EQ(r.bottom, 10);
}

TEST_F(ViewTest, RedrawAskedForWhileDrawingStartsAgain)
{
    // The machining stage pumps messages between copies; a redraw asked
    // for meanwhile ends this one and paints again from the start.
    BuildBoard();
    doc->m_WorkStage = 5;
    TestHost().OnPump([&](int pump) {
        if (pump == 1)
            view->Invalidate();
    });
    view->Redraw();
    EXPECT_EQ(window.surface.Of("fill").size(), 2u);
    EXPECT_FALSE(view->IsDrawing());
    EXPECT_EQ(window.redraws, 0);  // handled inside, not asked of the window
    EXPECT_EQ(window.surface.depth, 0);
}

TEST_F(ViewTest, CursorPaneInEachUnit)
{
    view->m_CursorPos = CDPoint(1000, 500);
    struct Case {
        int unit;
        const char* text;
    } cases[] = {{1, "(1000,500) mil"}, {0, "(25.4,12.7) mm"}, {2, "(5080,2540) ps"}, {7, "(1000,500) mil"}};
    for (const Case& c : cases) {
        g_UnitSelector = c.unit;
        CCmdUI ui(ID_INDICATOR_POSITION, CCmdUI::Pane);
        EXPECT_TRUE(CommandRouter().UpdateCommandUI(ui));
        EXPECT_EQ(ui.m_Text, c.text) << c.unit;
    }
    g_StatusText = "取消 !";
    CCmdUI status(ID_INDICATOR_STATUS, CCmdUI::Pane);
    CommandRouter().UpdateCommandUI(status);
    EXPECT_EQ(status.m_Text, "取消 !");
}

TEST_F(ViewTest, MarkersKeepTheirPoint)
{
    auto marker = std::make_unique<CViewTracker>();
    marker->InitAtPoint(100, 40);
    EXPECT_EQ(marker->m_rect.left, 85);
    EXPECT_EQ(marker->m_rect.bottom, 55);
    EXPECT_EQ(marker->m_nStyle, CViewTracker::dottedLine | CViewTracker::resizeOutside);
    view->m_MarkerList.push_back(std::move(marker));
    EXPECT_EQ(view->HitTestPointMarkers(100, 40), 1);
    EXPECT_EQ(view->HitTestPointMarkers(101, 40), 0);
}
