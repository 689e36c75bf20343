// Route drawing by mouse through the view's mouse messages (one pixel is one
// mil unless a test says otherwise): the route tools by clicks and by drags,
// the route origin, moving the drill holes, the range mode's isolation lines
// and zig-zags, the clearing-stroke pick, the offset-ring pick with its
// highlight, the rubber figures and the right button.
#include "view_fixture.h"

#include "platform/host.h"
#include "platform/resources.h"
#include "resource_ids.h"
#include "settings/layer_dlg.h"
#include "settings/machine_param_dlg.h"
#include "support/scripted_host.h"
#include "ui/edit_wnd.h"

#include <string>
#include <vector>

namespace {

class RouteDrawing : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        g_ShowLayerRoute = 1;
        view->m_SimToolSize = 1.5f;
    }

    // A press and release at one point, with the held keys given.
    void Click(int x, int y, bool ctrl = false, bool shift = false)
    {
        view->m_KeyCtrl = ctrl;
        view->m_KeyShift = shift;
        view->OnLButtonDown(0, POINT{x, y});
        view->OnLButtonUp(0, POINT{x, y});
    }
    void Drag(int x1, int y1, int x2, int y2, bool ctrl = false)
    {
        view->m_KeyCtrl = ctrl;
        view->OnLButtonDown(0, POINT{x1, y1});
        view->OnMouseMove(0, POINT{(x1 + x2) / 2, (y1 + y2) / 2});
        view->OnMouseMove(0, POINT{x2, y2});
        view->m_KeyCtrl = ctrl;
        view->OnLButtonUp(0, POINT{x2, y2});
    }
    void RightClick(int x = 0, int y = 0) { view->OnRButtonDown(0, POINT{x, y}); }

    const CPathRecord* Layer(const std::string& name) const
    {
        for (const auto& layer : doc->m_PathLayerList)
            if (layer->name == name)
                return layer.get();
        return nullptr;
    }
    static std::vector<std::string> RouteText()
    {
        std::vector<std::string> lines;
        for (int n = 0; n < g_RouteDataWnd.m_Edit.GetLineCount(); ++n)
            lines.push_back(g_RouteDataWnd.m_Edit.GetLineText(n));
        return lines;
    }
    static void ExpectLine(const CPathSegment& s, double x1, double y1, double x2, double y2,
                           int type = 0)
    {
        EXPECT_EQ(s.type, type);
        EXPECT_NEAR(s.x1, x1, 1e-6);
        EXPECT_NEAR(s.y1, y1, 1e-6);
        EXPECT_NEAR(s.x2, x2, 1e-6);
        EXPECT_NEAR(s.y2, y2, 1e-6);
    }
};

TEST_F(RouteDrawing, CircleByTwoClicksWritesTheRimAndArcRecords)
{
    // 0.1 mil a pixel: the centre (1000.6, 2000) and the rim (1500.9, 2000).
    view->m_Scale = 0.1f;
    g_RouteDataWnd.m_Edit.WriteLine("%");
    view->m_RouteCircleMode = 1;
    Click(10006, 20000);
    // The release at the press point leaves the tool waiting.
    EXPECT_EQ(view->m_RouteCircleMode, 1);
    EXPECT_EQ(view->m_PressState, 1);
    Click(15009, 20000);
    EXPECT_EQ(RouteText(),
              (std::vector<std::string>{"%", "G00X1500.Y2000.", "G02X1500.Y2000.I-500.J0."}));
    EXPECT_EQ(view->m_RouteCircleMode, 0);
    EXPECT_EQ(view->m_PressState, 0);
    EXPECT_EQ(Layer("ROUTE1.5"), nullptr);
}

TEST_F(RouteDrawing, ShapesByDragBecomeRouteItems)
{
    view->m_RouteCircleMode = 1;
    Drag(100, 100, 130, 140);
    view->m_RouteRectMode = 1;
    Drag(10, 20, 110, 70);
    view->m_RouteLineMode = 1;
    Drag(10, 10, 50, 20);
    // Ctrl on the release keeps the drag horizontal.
    view->m_RouteLineMode = 1;
    Drag(10, 10, 50, 40, true);

    const CPathRecord* layer = Layer("ROUTE1.5");
    ASSERT_NE(layer, nullptr);
    EXPECT_NEAR(layer->size, 1.5 * 39.37, 1e-3);
    EXPECT_EQ(layer->depth, 0.0f);
    EXPECT_EQ(layer->side, 5);
    ASSERT_EQ(layer->items.size(), 7u);
    const CPathSegment& circle = *layer->items[0];
    EXPECT_EQ(circle.type, 2);
    EXPECT_EQ(circle.cx, 100);
    EXPECT_EQ(circle.radius, 50);
    EXPECT_EQ(circle.x1, 150);
    ExpectLine(*layer->items[1], 10, 20, 110, 20);
    ExpectLine(*layer->items[4], 10, 70, 10, 20);
    ExpectLine(*layer->items[5], 10, 10, 50, 20);
    ExpectLine(*layer->items[6], 10, 10, 50, 10);
    EXPECT_EQ(view->m_RouteLineMode + view->m_RouteRectMode + view->m_RouteCircleMode, 0);
    EXPECT_TRUE(RouteText().empty());
}

TEST_F(RouteDrawing, LineToolChainsClicksWithTheCtrlConstraint)
{
    view->m_SimToolSize = 2.0f;
    view->m_RouteLineMode = 1;
    Click(100, 100);
    Click(200, 130);
    Click(230, 300, true);   // further along y: vertical
    Click(260, 330, true);   // further along x: horizontal
    Click(290, 330, true);   // a tie: vertical
    const CPathRecord* layer = Layer("ROUTE2");
    ASSERT_NE(layer, nullptr);
    ASSERT_EQ(layer->items.size(), 4u);
    ExpectLine(*layer->items[0], 100, 100, 200, 130);
    ExpectLine(*layer->items[1], 200, 130, 200, 300);
    ExpectLine(*layer->items[2], 200, 300, 260, 300);
    ExpectLine(*layer->items[3], 260, 300, 260, 330);
    EXPECT_EQ(view->m_RouteLineMode, 1);

    // The right button ends the chain; a new one starts from its own point.
    RightClick();
    EXPECT_EQ(view->m_RouteLineMode, 0);
    EXPECT_EQ(view->m_PressState, 0);
    view->m_RouteLineMode = 1;
    Drag(0, 0, 40, 0);
    EXPECT_EQ(layer->items.size(), 5u);
    EXPECT_EQ(view->m_RouteLineMode, 0);
}

TEST_F(RouteDrawing, RouteOriginKeepsOneOriginRecord)
{
    for (const char* line : {"%", "G93X5.Y5.", "G00X1.Y1."})
        g_RouteDataWnd.m_Edit.WriteLine(line);
    view->m_RouteOriginMode = 1;
    Click(100, 200);
    Click(130, 150);
    EXPECT_EQ(RouteText(), (std::vector<std::string>{"%", "G93X30.Y-50.", "G00X1.Y1."}));
    EXPECT_EQ(view->m_RouteOriginMode, 0);

    // Set by a drag, the origin replaces the one there too.
    view->m_RouteOriginMode = 1;
    Drag(0, 0, 40, 25);
    EXPECT_EQ(RouteText(), (std::vector<std::string>{"%", "G93X40.Y25.", "G00X1.Y1."}));
    EXPECT_EQ(view->m_RouteOriginMode, 0);
}

TEST_F(RouteDrawing, DrillMoveShiftsEveryHole)
{
    // 0.3 mil a pixel: clicks move by whole mil, a drag by the exact amount.
    struct Case {
        const char* what;
        bool drag;
        double dx, dy;
    } cases[] = {{"two clicks", false, 1, 5}, {"a drag", true, 1.5, 5.1}};
    for (const Case& c : cases) {
        g_HoleList.clear();
        AddDrillTool(g_HoleList, 1, 30, 1, {CDPoint(100, 50), CDPoint(200, 250)});
        AddDrillTool(g_HoleList, 2, 40, 1, {CDPoint(10, 20)});
        view->m_Scale = 0.3f;
        view->m_DrillMoveMode = 1;
        if (c.drag) {
            Drag(10, 10, 15, 27);
        } else {
            Click(10, 10);
            Click(15, 27);
        }
        EXPECT_EQ(view->m_DrillMoveMode, 0) << c.what;
        EXPECT_NEAR(g_HoleList[0]->holes[1]->x, 200 + c.dx, 1e-5) << c.what;
        EXPECT_NEAR(g_HoleList[0]->holes[1]->y, 250 + c.dy, 1e-5) << c.what;
        EXPECT_NEAR(g_HoleList[1]->holes[0]->x, 10 + c.dx, 1e-5) << c.what;
        EXPECT_NEAR(g_HoleList[1]->holes[0]->y, 20 + c.dy, 1e-5) << c.what;
    }
}

TEST_F(RouteDrawing, RangeIsolationLinesGoAtTheHeadOfTheWorkingSidesLayer)
{
    BuildBoard();
    CPathRecord* iso = doc->FindPathLayerOnSide("T1ISO", 0);
    const std::size_t before = iso->items.size();
    view->m_RangeMode = 1;
    g_RangeLayerName = "T1ISO";
    // Shift snaps each point onto the pad under it: (100, 50), (200, 250).
    Click(104, 53, false, true);
    Click(195, 244, true, true);
    ASSERT_EQ(iso->items.size(), before + 1);
    ExpectLine(*iso->items[0], 100, 50, 200, 250, 10);
    Click(10, 10);
    Click(60, 10);
    ASSERT_EQ(iso->items.size(), before + 2);
    ExpectLine(*iso->items[0], 10, 10, 60, 10, 0);

    // A layer missing on the working side takes nothing.
    g_RangeLayerName = "T2ISO";
    const std::size_t layers = doc->m_PathLayerList.size();
    Click(10, 10);
    Click(60, 10);
    EXPECT_EQ(doc->m_PathLayerList.size(), layers);
    EXPECT_EQ(iso->items.size(), before + 2);
}

TEST_F(RouteDrawing, CtrlDraggedClearingRangeAddsAZigZagOrSaysWhyNot)
{
    // A 16-mil cutter overlapping by half: rows 8 mil apart.
    CPathRecord* mil = doc->AddPathLayer("T1MIL", 16, 1, 0, 0);
    doc->m_ClearOverlap = 0.5f;
    view->m_RangeMode = 1;
    g_RangeLayerName = "T1MIL";
    Drag(0, 0, 100, 50, true);
    ASSERT_EQ(mil->items.size(), 12u);
    ExpectLine(*mil->items[0], 96, 4, 4, 4);
    ExpectLine(*mil->items[11], 96, 44, 96, 52);
    EXPECT_EQ(view->m_PressState, 0);
    EXPECT_TRUE(TestHost().Boxes().empty());

    // A cutter whose pitch is under a mil: told, nothing added, no hang.
    mil->size = 0.5f;
    Drag(0, 0, 100, 50, true);
    EXPECT_EQ(mil->items.size(), 12u);
    EXPECT_EQ(TestHost().BoxTexts(),
              (std::vector<std::string>{LoadResString(IDS_ZIGZAG_PITCH_TOO_SMALL)}));
}

TEST_F(RouteDrawing, StrokePickIncludesOrExcludesByClickAndBand)
{
    BuildBoard();
    auto& strokes = doc->m_ClearRegionList[0]->strokes;
    AddClearStroke(*doc->m_ClearRegionList[0], 10, 100, 60, 100);
    view->m_ResetClearMode = 1;
    Click(30, 12, true);   // within 2.5 mil of the first stroke
    EXPECT_EQ(strokes[0]->doneMark, 1);
    EXPECT_EQ(strokes[1]->doneMark, 0);
    EXPECT_EQ(view->m_PressState, 1);
    Click(30, 12);
    EXPECT_EQ(strokes[0]->doneMark, 0);

    // Missed: a band takes every stroke with an end inside it.
    view->m_KeyShift = 1;
    Drag(0, 0, 20, 120);
    EXPECT_EQ(strokes[0]->doneMark, 1);
    EXPECT_EQ(strokes[1]->doneMark, 1);
}

TEST_F(RouteDrawing, OffsetRingsAreHighlightedAndTakenOnce)
{
    g_RouteOffsetDistance = 2.0f;
    auto ring = [](int width, std::vector<CGridPathSegment> segments) {
        auto g = std::make_unique<CWidthGroup>();
        g->width = width;
        for (const CGridPathSegment& s : segments)
            g->segments.push_back(std::make_unique<CGridPathSegment>(s));
        return g;
    };
    CGridPathSegment line;
    line.x2 = 100;
    CGridPathSegment arc;
    arc.type = 1;
    arc.x1 = 300;
    arc.y1 = 200;
    arc.x2 = 200;
    arc.y2 = 300;
    arc.cx = 200;
    arc.cy = 200;
    CGridPathSegment far = line;
    far.y1 = far.y2 = 400;
    view->m_TrimList.push_back(ring(20, {line, arc}));
    view->m_TrimList.push_back(ring(20, {far}));
    CWidthGroup* second = view->m_TrimList[1].get();
    view->m_CopperToRouteMode = 1;

    view->OnMouseMove(0, POINT{50, 405});
    EXPECT_EQ(view->m_HoverRing, second);
    view->OnMouseMove(0, POINT{50, 600});
    EXPECT_EQ(view->m_HoverRing, nullptr);

    // The arc of the first ring picks the whole ring.
    view->OnLButtonDown(0, POINT{271, 271});
    EXPECT_EQ(view->m_TrimList[0]->width, 0);
    EXPECT_EQ(view->m_PressState, 1);
    EXPECT_EQ(view->m_HoverRing, nullptr);
    const CPathRecord* layer = Layer("ROUTE2");
    ASSERT_NE(layer, nullptr);
    ASSERT_EQ(layer->items.size(), 2u);
    ExpectLine(*layer->items[0], 0, 0, 100, 0);
    EXPECT_EQ(layer->items[1]->type, 1);
    EXPECT_EQ(layer->items[1]->cx, 200);
    EXPECT_EQ(layer->items[1]->radius, 100);

    // Taken, it is no longer found.
    view->OnLButtonDown(0, POINT{50, 2});
    EXPECT_EQ(layer->items.size(), 2u);
    view->OnMouseMove(0, POINT{50, 2});
    EXPECT_EQ(view->m_HoverRing, nullptr);
}

TEST_F(RouteDrawing, RubberFiguresAreErasedWhereTheyWereDrawn)
{
    struct Case {
        const char* what;
        int CVelmView::*mode;
        const char* shape;
        std::size_t shapes;
        COLORREF colour;
    } cases[] = {
        {"drill move", &CVelmView::m_DrillMoveMode, "line", 1, VIEW_YELLOW},
        {"route origin", &CVelmView::m_RouteOriginMode, "line", 1, VIEW_YELLOW},
        {"route line", &CVelmView::m_RouteLineMode, "line", 1, VIEW_CYAN},
        {"rectangle", &CVelmView::m_RouteRectMode, "line", 4, VIEW_CYAN},
        {"circle", &CVelmView::m_RouteCircleMode, "ellipse", 1, VIEW_CYAN},
        {"arc preview", &CVelmView::m_RouteDraw2Mode, "arc", 1, VIEW_CYAN},
    };
    for (const Case& c : cases) {
        view->m_PressState = 0;
        (*view).*c.mode = 1;
        view->OnLButtonDown(0, POINT{100, 100});
        view->OnMouseMove(0, POINT{150, 120});
        Calls().clear();
        view->OnMouseMove(0, POINT{180, 160});
        std::vector<CDrawCall> shapes;
        for (const CDrawCall& call : Calls())
            if (call.kind == c.shape)
                shapes.push_back(call);
        ASSERT_EQ(shapes.size(), 2 * c.shapes) << c.what;
        for (const CDrawCall& call : shapes) {
            EXPECT_EQ(call.rop, R2_NOTXORPEN) << c.what;
            EXPECT_EQ(call.pen.colour, c.colour) << c.what;
        }
        // The first figure is the one the previous move drew.
        Calls().clear();
        view->OnMouseMove(0, POINT{150, 120});
        view->OnMouseMove(0, POINT{180, 160});
        std::vector<std::vector<int>> again;
        for (const CDrawCall& call : Calls())
            if (call.kind == c.shape)
                again.push_back(call.v);
        ASSERT_EQ(again.size(), 4 * c.shapes) << c.what;
        for (std::size_t i = 0; i < c.shapes; ++i)
            EXPECT_EQ(again[2 * c.shapes + i], again[c.shapes + i]) << c.what;
        RightClick();
        (*view).*c.mode = 0;
    }
}

TEST_F(RouteDrawing, RightButtonDeletesExcludedItemsAndEndsTheModes)
{
    BuildBoard();
    auto addGrid = [this](std::uint32_t mark) {
        auto s = std::make_unique<CGridPathSegment>();
        s->doneMark = mark;
        doc->m_GridPathList.push_back(std::move(s));
    };
    addGrid(1);
    addGrid(0);
    addGrid(1);
    auto& strokes = doc->m_ClearRegionList[0]->strokes;
    strokes[0]->doneMark = 1;
    strokes.push_back(std::make_unique<CClearStroke>());

    // With a point held: excluded strokes go, the modes end.
    view->m_ResetClearMode = 1;
    view->m_RangeMode = 1;
    view->m_RouteDraw2Mode = 1;
    view->m_PressState = 1;
    RightClick();
    ASSERT_EQ(strokes.size(), 1u);
    EXPECT_EQ(strokes[0]->doneMark, 0);
    EXPECT_EQ(doc->m_GridPathList.size(), 3u);
    EXPECT_EQ(view->m_ResetClearMode + view->m_RangeMode + view->m_PressState, 0);
    EXPECT_EQ(view->m_RouteDraw2Mode, 1);

    // The trim mode takes the excluded isolation segments and shows the
    // route again; without a point held the tools stay armed.
    view->m_TrimMode = 1;
    view->m_HideRoute = 1;
    view->m_RouteLineMode = 1;
    view->OnRButtonDownRoute(0, POINT{0, 0});
    ASSERT_EQ(doc->m_GridPathList.size(), 1u);
    EXPECT_EQ(doc->m_GridPathList[0]->doneMark, 0u);
    EXPECT_EQ(view->m_TrimMode + view->m_HideRoute, 0);
    EXPECT_EQ(view->m_RouteLineMode, 1);
}

// A release ends only a drag of a ruler handle: the tools that take two
// clicks keep their first point while the ruler shows.
TEST_F(RouteDrawing, TwoClickToolsKeepTheirFirstPointWithTheRulerShown)
{
    for (int ruler : {0, 1}) {
        SCOPED_TRACE(ruler);
        view->m_RulerActive = ruler;
        view->m_RulerA = CDPoint(5, 5);
        view->m_RulerB = CDPoint(40, 5);

        g_HoleList.clear();
        doc->m_FlashList.clear();
        AddDrillTool(g_HoleList, 1, 30, 1, {CDPoint(100, 100), CDPoint(300, 100)});
        AddFlash(doc->m_FlashList, 150, 120, 15);
        view->OnDrillAlign();
        Click(102, 101);
        Click(152, 118);
        EXPECT_DOUBLE_EQ(g_HoleList[0]->holes[0]->x, 150);
        EXPECT_DOUBLE_EQ(g_HoleList[0]->holes[1]->y, 120);
        EXPECT_EQ(view->m_DrillAlignMode, 0);

        g_RouteDataWnd.m_Edit.ClearAll();
        view->m_RouteCircleMode = 1;
        Click(100, 100);
        Click(130, 100);
        EXPECT_EQ(RouteText(), (std::vector<std::string>{"G00X130.Y100.", "G02X130.Y100.I-30.J0."}));
        EXPECT_EQ(view->m_RouteCircleMode, 0);
        EXPECT_EQ(view->m_RulerActive, ruler);
    }
}

// Home closes the drawn route back to where it started: the rim point of a
// circle, the first point of a line chain. With nothing drawn since the last
// close there is no start, and nothing is written.
TEST_F(RouteDrawing, HomeClosesTheRouteToItsStartPoint)
{
    g_RouteDataWnd.m_Edit.ClearAll();
    view->m_RouteLineMode = 1;
    view->OnKeyDown(VK_HOME);
    EXPECT_TRUE(RouteText().empty());

    view->m_RouteLineMode = 0;
    view->m_RouteCircleMode = 1;
    Click(100, 100);
    Click(130, 100);
    view->OnKeyDown(VK_HOME);
    EXPECT_EQ(RouteText(), (std::vector<std::string>{"G00X130.Y100.", "G02X130.Y100.I-30.J0.",
                                                     "G01X130.Y100."}));
    // Closed: a second Home adds nothing.
    view->OnKeyDown(VK_HOME);
    EXPECT_EQ(RouteText().size(), 3u);

    g_RouteDataWnd.m_Edit.ClearAll();
    view->m_RouteLineMode = 1;
    Click(40, 60);
    Click(90, 60);
    Click(90, 20);
    view->OnKeyDown(VK_HOME);
    EXPECT_EQ(RouteText(), (std::vector<std::string>{"G01X40.Y60."}));
    EXPECT_EQ(view->m_PressState, 0);
}

TEST_F(RouteDrawing, RightButtonEndsTheRingPickAndRestoresTheSnapshot)
{
    BuildBoard();
    ASSERT_EQ(doc->SaveTempFile("ordune.tmp"), 1);
    doc->m_TrackList.clear();
    doc->m_FlashList.clear();
    auto ring = std::make_unique<CWidthGroup>();
    ring->width = 20;
    ring->segments.push_back(std::make_unique<CGridPathSegment>());
    view->m_TrimList.push_back(std::move(ring));
    view->m_HoverRing = view->m_TrimList[0].get();
    view->m_CopperToRouteMode = 1;
    view->m_HideRoute = 1;
    view->m_PressState = 1;
    RightClick();
    EXPECT_TRUE(view->m_TrimList.empty());
    EXPECT_EQ(view->m_HoverRing, nullptr);
    EXPECT_EQ(view->m_CopperToRouteMode + view->m_HideRoute + view->m_PressState, 0);
    EXPECT_EQ(doc->m_TrackList.size(), 3u);
    EXPECT_EQ(doc->m_FlashList.size(), 2u);
}

}  // namespace
