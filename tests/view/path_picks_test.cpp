// The path-data picks on the view, driven the way the mouse workers call
// them (one pixel is one mil): selection layers by band over the panel
// copies, their deselection, the trims of the path layers, the hole delete
// by band and the delete of the path under a click.
#include "view_fixture.h"

#include "editing/isolation_edit.h"
#include "platform/resources.h"
#include "resource_ids.h"
#include "settings/layer_dlg.h"
#include "support/scripted_host.h"
#include "ui/line_store.h"

#include <initializer_list>
#include <string>
#include <vector>

namespace {

using Ends = std::vector<double>;

Ends EndsOf(const CPathSegment& s) { return {s.x1, s.y1, s.x2, s.y2}; }

class PathPicks : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        g_CameraOffsetX = g_CameraOffsetY = 0.0f;
    }

    // One copy of the board where it lies: panel points are board points.
    void OneCopy()
    {
        doc->m_PanelLayout.m_BlockList.push_back(std::make_unique<CLayoutBlock>(0, 0, 400, 300));
    }
    // Releases a band the routine started, after a move to the far corner.
    void DragTo(int x, int y)
    {
        ASSERT_TRUE(view->BandActive());
        view->OnMouseMove(0, POINT{x, y});
        view->OnLButtonUp(0, POINT{x, y});
    }
    static void AnswerDepth(const char* depth, int button = IDOK)
    {
        TestHost().QueueDialog(
            [depth, button](CDialog& d) {
                d.SetDlgItemText(IDC_ED_DEPTH, depth);
                d.PressButton(button);
            },
            IDD_ENGRAVE_DEPTH);
    }
    void Select(int x1, int y1, int x2, int y2, const char* depth = "30")
    {
        AnswerDepth(depth);
        EXPECT_EQ(view->SelectDataInBand(CDPoint(x1, y1)), 1);
        DragTo(x2, y2);
    }
    std::vector<std::string> LayerNames() const
    {
        std::vector<std::string> names;
        for (const auto& layer : doc->m_PathLayerList)
            names.push_back(layer->name);
        return names;
    }
    CPathRecord* Layer(std::size_t i) const { return doc->m_PathLayerList.at(i).get(); }
    // A path layer of tool size 8 put first in the list, with straight lines.
    CPathRecord* AddLines(const char* name, int side, std::initializer_list<Ends> lines)
    {
        CPathRecord* layer = doc->AddPathLayer(name, 8, 20, side, 0);
        for (const Ends& e : lines)
            AddSegment(*layer, 0, e[0], e[1], e[2], e[3]);
        return layer;
    }
    static std::string Count(int n) { return FormatResText(IDS_SELECTED_COUNT, n); }
};

}  // namespace

TEST_F(PathPicks, ALineThroughTheBandIsSelectedBetweenItsCrossingsAndDeselectedBackToItsEnds)
{
    OneCopy();
    CPathRecord* iso = doc->AddPathLayer("T1ISO", 8, 20, 0, RGB(170, 170, 220));
    iso->kind = 1;
    CPathSegment* line = AddSegment(*iso, 0, 0, 50, 200, 50);
    line->flag = 1;   // picked for a delete: the selection engraves it all the same

    Select(50, 20, 150, 80, "30");
    ASSERT_EQ(LayerNames(), (std::vector<std::string>{"T1ISO", "T1ISO-S"}));
    const CPathRecord& sel = *Layer(1);
    EXPECT_EQ(sel.side, 0);
    EXPECT_EQ(sel.depth, 30.0f);
    EXPECT_EQ(sel.size, 8.0f);
    EXPECT_EQ(sel.colour, COLORREF(0xC8C8C8));
    EXPECT_EQ(sel.kind, 1);
    ASSERT_EQ(sel.items.size(), 1u);
    EXPECT_EQ(EndsOf(*sel.items[0]), (Ends{50, 50, 150, 50}));
    EXPECT_EQ(sel.items[0]->flag, 0);
    EXPECT_EQ(g_StatusText, Count(1));
    EXPECT_EQ(EndsOf(*line), (Ends{0, 50, 200, 50}));   // the source stays

    // The whole line selected, then a band through its middle taken out:
    // its two outer parts stay selected.
    doc->m_PathLayerList.pop_back();
    Select(-10, 0, 300, 100);
    ASSERT_EQ(LayerNames(), (std::vector<std::string>{"T1ISO", "T1ISO-S"}));
    EXPECT_EQ(view->DeselectDataInBand(CDPoint(50, 20)), 1);
    DragTo(150, 80);
    const CPathRecord& rest = *Layer(1);
    ASSERT_EQ(rest.items.size(), 2u);
    EXPECT_EQ(EndsOf(*rest.items[0]), (Ends{0, 50, 50, 50}));
    EXPECT_EQ(EndsOf(*rest.items[1]), (Ends{150, 50, 200, 50}));
    EXPECT_EQ(g_StatusText, Count(1));

    // A band over both parts empties the selection layer: it goes.
    EXPECT_EQ(view->DeselectDataInBand(CDPoint(-10, 0)), 1);
    DragTo(300, 100);
    EXPECT_EQ(LayerNames(), (std::vector<std::string>{"T1ISO"}));
    EXPECT_EQ(iso->items.size(), 1u);
}

TEST_F(PathPicks, ASelectionOverTwoCopiesGivesOneLayerWithTheMirroredArcTurnedBack)
{
    BuildBoard();   // T1ISO: a line and an arc; the second copy mirrors x
    Select(0, 0, 1000, 300);
    ASSERT_EQ(LayerNames(), (std::vector<std::string>{"T1ISO", "T1ISO-S"}));
    const CPathRecord& sel = *Layer(1);
    ASSERT_EQ(sel.items.size(), 4u);
    struct Want {
        Ends ends;
        CDPoint centre;
        int type;
    };
    const Want want[] = {
        {{50, 40, 150, 40}, {0, 0}, 0},
        {{230, 100, 200, 130}, {200, 100}, 1},
        {{850, 40, 750, 40}, {0, 0}, 0},
        {{670, 100, 700, 130}, {700, 100}, 2},
    };
    for (std::size_t i = 0; i < 4; ++i) {
        const CPathSegment& s = *sel.items[i];
        EXPECT_EQ(EndsOf(s), want[i].ends) << i;
        EXPECT_EQ(s.type, want[i].type) << i;
        if (s.type != 0) {
            EXPECT_DOUBLE_EQ(s.cx, want[i].centre.x) << i;
            EXPECT_DOUBLE_EQ(s.cy, want[i].centre.y) << i;
        }
    }
    EXPECT_EQ(g_StatusText, Count(4));

    // A band that holds only one end of an arc takes nothing of it; of the
    // mirrored copy's line it takes the part from its inside end to the
    // border.
    doc->m_PathLayerList.pop_back();
    Select(660, 30, 800, 120);
    ASSERT_EQ(LayerNames(), (std::vector<std::string>{"T1ISO", "T1ISO-S"}));
    ASSERT_EQ(Layer(1)->items.size(), 1u);
    EXPECT_EQ(EndsOf(*Layer(1)->items[0]), (Ends{750, 40, 800, 40}));
}

TEST_F(PathPicks, ARepeatedSelectionGoesRightAfterTheFirstOfItsName)
{
    OneCopy();
    AddLines("T2ISO", 0, {{10, 10, 20, 10}});
    AddLines("T1ISO", 0, {{10, 20, 20, 20}});
    AddLines("T1ISO", 1, {{10, 30, 20, 30}});   // not the working side

    Select(0, 0, 100, 100, "11");
    EXPECT_EQ(LayerNames(),
              (std::vector<std::string>{"T1ISO", "T1ISO", "T2ISO", "T1ISO-S", "T2ISO-S"}));
    g_ShowLayerT2Iso = 0;   // a hidden layer is not searched
    Select(0, 0, 100, 100, "12");
    ASSERT_EQ(LayerNames(), (std::vector<std::string>{"T1ISO", "T1ISO", "T2ISO", "T1ISO-S",
                                                      "T1ISO-S", "T2ISO-S"}));
    EXPECT_EQ(Layer(3)->depth, 11.0f);
    EXPECT_EQ(Layer(4)->depth, 12.0f);
    // The selection layers themselves are never selected again.
    EXPECT_EQ(Layer(4)->items.size(), 1u);
    EXPECT_EQ(g_StatusText, Count(1));
}

TEST_F(PathPicks, AnAbandonedOrEmptyBandChangesNothing)
{
    OneCopy();
    CPathRecord* iso = AddLines("T1ISO", 0, {{10, 10, 20, 10}});
    AddDrillTool(g_HoleList, 1, 30, 1, {CDPoint(15, 15)});
    using Start = int (CVelmView::*)(CDPoint);
    for (Start start : {&CVelmView::SelectDataInBand, &CVelmView::DeselectDataInBand,
                        &CVelmView::CutPathsInBand, &CVelmView::CutOtherPathsInBand,
                        &CVelmView::DeleteHolesInBand}) {
        // Right button: the band is given up.
        EXPECT_EQ((view.get()->*start)(CDPoint(0, 0)), 1);
        view->OnMouseMove(0, POINT{100, 100});
        view->AbandonRubberBand();
        // A click without a drag.
        EXPECT_EQ((view.get()->*start)(CDPoint(0, 0)), 1);
        view->OnLButtonUp(0, POINT{0, 0});
    }
    EXPECT_TRUE(TestHost().DialogsShown().empty());
    EXPECT_EQ(LayerNames(), (std::vector<std::string>{"T1ISO"}));
    EXPECT_EQ(iso->items.size(), 1u);
    ASSERT_EQ(g_HoleList.size(), 1u);
    EXPECT_EQ(g_HoleList[0]->holes.size(), 1u);
}

TEST_F(PathPicks, TheTrimCutsTheWorkingSideOrEverySideWithCtrlAfterASnapshot)
{
    CPathRecord* solder = AddLines("T1ISO", 1, {{0, 50, 200, 50}});
    CPathRecord* route = AddLines("ROUTE1", 5, {{0, 60, 200, 60}});
    CPathRecord* iso = AddLines("T1ISO", 0, {{0, 50, 200, 50}, {0, 70, 100, 70}, {60, 30, 140, 30}});
    CPathSegment* through = iso->items[0].get();
    CPathSegment* entering = iso->items[1].get();
    CPathRecord* hidden = AddLines("T2ISO", 0, {{60, 30, 140, 30}});
    g_ShowLayerT2Iso = 0;
    view->m_EditList = {through};   // a pick that the trim frees from under it

    EXPECT_EQ(view->CutPathsInBand(CDPoint(50, 20)), 1);
    DragTo(150, 80);
    ASSERT_EQ(iso->items.size(), 3u);
    EXPECT_EQ(EndsOf(*through), (Ends{0, 50, 50, 50}));
    EXPECT_EQ(EndsOf(*entering), (Ends{50, 70, 0, 70}));
    EXPECT_EQ(EndsOf(*iso->items[2]), (Ends{150, 50, 200, 50}));
    EXPECT_TRUE(view->m_EditList.empty());
    EXPECT_EQ(g_StatusText, Count(3));
    EXPECT_EQ(hidden->items.size(), 1u);
    EXPECT_EQ(EndsOf(*solder->items[0]), (Ends{0, 50, 200, 50}));
    EXPECT_EQ(EndsOf(*route->items[0]), (Ends{0, 60, 200, 60}));

    // The snapshot holds the layers as they were before the cut.
    ASSERT_EQ(doc->LoadUndoSnapshot(), 1);
    ASSERT_EQ(doc->m_PathLayerList.size(), 4u);
    EXPECT_EQ(Layer(1)->items.size(), 3u);
    EXPECT_EQ(EndsOf(*Layer(1)->items[0]), (Ends{0, 50, 200, 50}));

    // With Ctrl every side is cut.
    view->m_KeyCtrl = 1;
    EXPECT_EQ(view->CutPathsInBand(CDPoint(50, 20)), 1);
    DragTo(150, 80);
    for (std::size_t i : {1u, 2u, 3u})   // the visible layers of all sides
        EXPECT_EQ(EndsOf(*Layer(i)->items[0])[2], 50.0) << Layer(i)->name;
    EXPECT_EQ(Layer(0)->items.size(), 1u);   // hidden
}

TEST_F(PathPicks, AnIsolationDeleteOrTrimUnderWayRefusesAnother)
{
    CPathRecord* iso = AddLines("T1ISO", 0, {{0, 50, 200, 50}});
    g_IsoDeleteBusy = 1;
    EXPECT_EQ(view->CutPathsInBand(CDPoint(50, 20)), 0);
    EXPECT_FALSE(view->BandActive());
    EXPECT_EQ(view->DeletePathAt(CDPoint(100, 50)), 0);
    EXPECT_EQ(iso->items.size(), 1u);
    // A band started before another delete began does nothing at its end.
    g_IsoDeleteBusy = 0;
    EXPECT_EQ(view->CutPathsInBand(CDPoint(50, 20)), 1);
    g_IsoDeleteBusy = 1;
    DragTo(150, 80);
    EXPECT_EQ(EndsOf(*iso->items[0]), (Ends{0, 50, 200, 50}));
    EXPECT_EQ(g_IsoDeleteBusy, 1);
    g_IsoDeleteBusy = 0;
    // Once done, the guard is free again.
    EXPECT_EQ(view->CutPathsInBand(CDPoint(50, 20)), 1);
    DragTo(150, 80);
    EXPECT_EQ(g_IsoDeleteBusy, 0);
    EXPECT_EQ(iso->items.size(), 2u);
}

TEST_F(PathPicks, TheOtherSidesTrimCutsOnlyTheLayersOfSideFive)
{
    CPathRecord* iso = AddLines("T1ISO", 0, {{60, 50, 140, 50}});
    AddLines("ROUTE1", 5, {{60, 60, 140, 60}});
    CPathRecord* routeToo = AddLines("ROUTE2", 5, {{60, 60, 140, 60}, {100, 60, 300, 60}});

    EXPECT_EQ(view->CutOtherPathsInBand(CDPoint(50, 20)), 1);
    DragTo(150, 80);
    ASSERT_EQ(LayerNames(), (std::vector<std::string>{"ROUTE2", "T1ISO"}));
    ASSERT_EQ(routeToo->items.size(), 1u);
    EXPECT_EQ(EndsOf(*routeToo->items[0]), (Ends{300, 60, 150, 60}));
    EXPECT_EQ(iso->items.size(), 1u);
    EXPECT_EQ(g_StatusText, Count(3));
    // No snapshot is written for it.
    EXPECT_EQ(doc->LoadUndoSnapshot(), 0);
}

TEST_F(PathPicks, HolesInTheBandAreDeletedAndAToolLeftWithoutHolesGoes)
{
    AddDrillTool(g_HoleList, 1, 30, 1, {CDPoint(100, 50), CDPoint(200, 250)});
    AddDrillTool(g_HoleList, 2, 40, 1, {CDPoint(120.9, 60.9)});   // (120, 60) in whole mil
    AddDrillTool(g_HoleList, 3, 50, 1, {CDPoint(121, 50)});
    EXPECT_EQ(view->DeleteHolesInBand(CDPoint(90, 40)), 1);
    DragTo(120, 60);
    ASSERT_EQ(g_HoleList.size(), 2u);
    EXPECT_EQ(g_HoleList[0]->toolNumber, 1);
    ASSERT_EQ(g_HoleList[0]->holes.size(), 1u);
    EXPECT_EQ(g_HoleList[0]->holes[0]->x, 200.0);
    EXPECT_EQ(g_HoleList[1]->toolNumber, 3);
    EXPECT_EQ(g_StatusText, Count(2));
}

TEST_F(PathPicks, AClickDeletesThePathUnderItWithItsChainOrClosesTheGap)
{
    // Three pieces of one path: a horizontal line, a slanted one, a vertical.
    auto build = [this] {
        doc->m_PathLayerList.clear();
        // The last line lies apart from the others.
        return AddLines("T1ISO", 0,
                        {{0, 0, 100, 0}, {100, 0, 150, 30}, {150, 30, 150, 80}, {300, 300, 400, 300}});
    };
    struct Case {
        const char* what;
        CDPoint click;
        int ctrl, shift;
        std::vector<Ends> left;
    };
    const Case cases[] = {
        {"beside every line", CDPoint(50, 5), 0, 0,
         {{0, 0, 100, 0}, {100, 0, 150, 30}, {150, 30, 150, 80}, {300, 300, 400, 300}}},
        {"within half the tool size", CDPoint(50, 3), 0, 0,
         {{100, 0, 150, 30}, {150, 30, 150, 80}, {300, 300, 400, 300}}},
        {"shift: the chain", CDPoint(125, 15), 0, 1, {{300, 300, 400, 300}}},
        {"ctrl: the neighbours close the gap", CDPoint(125, 15), 1, 0,
         {{0, 0, 150, 0}, {150, 0, 150, 80}, {300, 300, 400, 300}}},
    };
    for (const Case& c : cases) {
        CPathRecord* iso = build();
        view->m_KeyCtrl = c.ctrl;
        view->m_KeyShift = c.shift;
        EXPECT_EQ(view->DeletePathAt(c.click), 0);
        std::vector<Ends> left;
        for (const auto& s : iso->items)
            left.push_back(EndsOf(*s));
        EXPECT_EQ(left, c.left) << c.what;
        EXPECT_EQ(g_IsoDeleteBusy, 0) << c.what;
    }
    // Each delete wrote a snapshot first: the last one holds the whole path.
    ASSERT_EQ(doc->LoadUndoSnapshot(), 1);
    EXPECT_EQ(Layer(0)->items.size(), 4u);
}

TEST_F(PathPicks, AClickOnAnArcDeletesOnlyTheArc)
{
    CPathRecord* iso = doc->AddPathLayer("T1ISO", 8, 20, 0, 0);
    // A quarter circle of radius 30 about (200, 100), and a line off its end.
    AddSegment(*iso, 1, 230, 100, 200, 130, 200, 100);
    AddSegment(*iso, 0, 200, 130, 100, 130);
    view->m_KeyShift = 1;   // only lines take their chain
    view->DeletePathAt(CDPoint(200 + 30 * 0.7071, 100 + 30 * 0.7071 + 2));
    ASSERT_EQ(iso->items.size(), 1u);
    EXPECT_EQ(iso->items[0]->type, 0);
}

TEST_F(PathPicks, TheIsolationPickTakesAHandDrawnLineWhereItLiesAndSaysItSearches)
{
    CPathRecord* iso = AddLines("T1ISO", 0, {{0, 100, 100, 100}, {100, 100, 100, 200}});
    iso->items[0]->type = 10;
    // On the circle about (0, 0) through its end, far from the line itself.
    view->SelectPathsInArea(CDPoint(70.7, 122.5));
    EXPECT_EQ(iso->items[0]->flag, 0);
    EXPECT_TRUE(TestHost().DialogsShown().empty());

    view->SelectPathsInArea(CDPoint(50, 102));
    EXPECT_EQ(iso->items[0]->flag, 1);
    EXPECT_EQ(iso->items[1]->flag, 1);   // its chain
    EXPECT_EQ(TestHost().DialogsShown(), (std::vector<unsigned>{IDD_MESSAGE}));
}
