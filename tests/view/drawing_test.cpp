// What the drawers send to the surface: primitives, pens, brushes and raster
// operations per work stage, the clipping rules, and the copper, path and
// feedback rules that differ between drawers.
#include "view_fixture.h"

#include "settings/work_order_dlg.h"
#include "settings/drill_format_dlg.h"
#include "ui/edit_wnd.h"
#include "settings/layer_dlg.h"
#include "support/scripted_host.h"

#include <algorithm>
#include <functional>

namespace {

constexpr COLORREF kLayer = RGB(170, 170, 220);

int Count(const std::vector<CDrawCall>& calls, const std::string& kind, COLORREF pen)
{
    return static_cast<int>(std::count_if(calls.begin(), calls.end(), [&](const CDrawCall& c) {
        return c.kind == kind && c.pen.colour == pen;
    }));
}

}  // namespace

TEST_F(ViewTest, EditStageDrawsBoardDataInOrder)
{
    BuildBoard();
    view->Redraw();
    auto& calls = Calls();
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls[0].kind, "fill");
    EXPECT_EQ(calls[0].v, (std::vector<int>{0, 0, 800, 600, 0}));
    EXPECT_EQ(Count(calls, "line", VIEW_GREEN), 4);  // the work area

    // Copper: the vertical track is a rectangle cut square at its ends, the
    // slanted one a flat-capped line, the arc has its aperture's pen.
    const CDrawCall vertical = window.surface.Of("rect")[0];
    EXPECT_EQ(vertical.v, (std::vector<int>{95, 50, 105, 150}));
    EXPECT_EQ(vertical.brush, SolidBrush(g_CopperColor));
    auto slanted = std::find_if(calls.begin(), calls.end(),
                                [](const CDrawCall& c) { return c.kind == "line" && c.pen.flatCaps; });
    ASSERT_NE(slanted, calls.end());
    EXPECT_EQ(slanted->v, (std::vector<int>{100, 150, 200, 250}));
    EXPECT_EQ(slanted->pen, FlatPen(20, g_CopperColor));
    const CDrawCall arc = window.surface.Of("arc")[0];
    EXPECT_EQ(arc.pen, SolidPen(8, g_CopperColor));
    EXPECT_EQ(std::vector<int>(arc.v.begin(), arc.v.begin() + 6),
              (std::vector<int>{170, 70, 230, 130, 200, 130}));  // starts at P(a1)
    EXPECT_NEAR(arc.v[6], 230, 1);
    EXPECT_NEAR(arc.v[7], 100, 1);

    // Flashes filled with the pad colour (solid lines on), holes light green.
    auto ellipses = window.surface.Of("ellipse");
    ASSERT_EQ(ellipses.size(), 4u);
    EXPECT_EQ(ellipses[0].v, (std::vector<int>{85, 35, 115, 65}));
    EXPECT_EQ(ellipses[0].brush, SolidBrush(PAD_FILL));
    EXPECT_EQ(ellipses[2].pen, SolidPen(1, VIEW_WHITE));
    EXPECT_EQ(ellipses[2].brush, SolidBrush(VIEW_LIGHT_GREEN));

    // The path layer in its colour and tool width, the route in cyan.
    EXPECT_GE(Count(calls, "line", kLayer), 2);
    auto route = std::find_if(calls.begin(), calls.end(),
                              [](const CDrawCall& c) { return c.kind == "line" && c.pen.colour == VIEW_CYAN; });
    ASSERT_NE(route, calls.end());
    EXPECT_EQ(route->pen.width, 5);
    for (const CDrawCall& c : calls)
        EXPECT_EQ(c.rop, R2_COPYPEN);
    EXPECT_EQ(window.surface.GetROP2(), R2_COPYPEN);
    EXPECT_EQ(window.surface.depth, 0);
}

TEST_F(ViewTest, PathStageDrawsClearingRouteAndPaths)
{
    BuildBoard();
    doc->m_WorkStage = 2;
    doc->m_ClearRegionList[0]->strokes[0]->pen = 0;  // a lifted move: red
    auto seg = std::make_unique<CGridPathSegment>();
    seg->x1 = 10;
    seg->x2 = 20;
    seg->doneMark = 1;
    doc->m_GridPathList.push_back(std::move(seg));
    view->Redraw();
    auto& calls = Calls();
    EXPECT_EQ(Count(calls, "line", RGB(255, 0, 0)), 1);
    EXPECT_EQ(Count(calls, "line", VIEW_CYAN), 1);      // route after the one region
    EXPECT_EQ(Count(calls, "line", VIEW_GREY), 1);      // a done segment is grey
    EXPECT_EQ(window.surface.Of("ellipse").size(), 0u);  // no copper, no holes

    // Without clearing regions the route is not drawn.
    doc->m_ClearRegionList.clear();
    calls.clear();
    view->Redraw();
    EXPECT_EQ(Count(calls, "line", VIEW_CYAN), 0);
}

TEST_F(ViewTest, LayoutStageDrawsEveryCopyAndMirrorsArcs)
{
    BuildBoard();
    doc->m_WorkStage = 3;
    view->m_BlockList[0]->m_Selected = 1;
    view->Redraw();
    auto& calls = Calls();
    // Frames: a selected copy grey, the other magenta; two sides each.
    EXPECT_EQ(Count(calls, "line", VIEW_MAGENTA), 2);
    EXPECT_GE(Count(calls, "line", VIEW_GREY), 2);

    // The copper arc of each copy: the mirrored copy runs from P(a2) to P(a1).
    auto arcs = window.surface.Of("arc");
    std::vector<CDrawCall> copper;
    for (const CDrawCall& a : arcs)
        if (a.pen.width == 8)
            copper.push_back(a);
    ASSERT_EQ(copper.size(), 2u);
    EXPECT_EQ(copper[0].pen.colour, VIEW_GREY);
    EXPECT_EQ(copper[0].v[4], 200);
    EXPECT_EQ(copper[0].v[5], 130);
    EXPECT_EQ(copper[1].pen.colour, g_CopperColor);
    EXPECT_NEAR(copper[1].v[4], 670, 1);
    EXPECT_NEAR(copper[1].v[5], 100, 1);
    EXPECT_EQ(copper[1].v[6], 700);
    EXPECT_EQ(copper[1].v[7], 130);
    // Green: only the clearing stroke of the unselected copy, no work area.
    EXPECT_EQ(Count(calls, "line", VIEW_GREEN), 1);
    // Holes of both copies, each in its copy's colour.
    auto holes = window.surface.Of("ellipse");
    EXPECT_EQ(std::count_if(holes.begin(), holes.end(),
                            [](const CDrawCall& c) { return c.brush == SolidBrush(VIEW_LIGHT_GREEN); }),
              2);
}

TEST_F(ViewTest, MachiningStageFramesGoWithAnyDisplayCheck)
{
    BuildBoard();
    doc->m_WorkStage = 5;
    view->Redraw();
    EXPECT_EQ(Count(Calls(), "line", VIEW_MAGENTA), 4);
    Calls().clear();
    view->m_ShowDrill = 1;
    view->Redraw();
    EXPECT_EQ(Count(Calls(), "line", VIEW_MAGENTA), 0);
}

TEST_F(ViewTest, PartialStageShowsOneKindOfData)
{
    BuildBoard();
    doc->m_WorkStage = 4;
    struct Case {
        int subMode;
        const char* kind;
        COLORREF pen;
    } cases[] = {{1, "ellipse", VIEW_WHITE}, {3, "line", VIEW_GREEN}, {4, "line", VIEW_CYAN},
                 {5, "rect", g_CopperColor}, {0, "line", VIEW_MAGENTA}};
    for (const Case& c : cases) {
        view->m_SubMode = c.subMode;
        Calls().clear();
        view->Redraw();
        EXPECT_GT(Count(Calls(), c.kind, c.pen), 0) << c.subMode;
    }
}

TEST_F(ViewTest, ARedrawAskedForMidStageStopsThePaintBeforeTheTracker)
{
    // The tracker rectangle ends every finished paint. The stages that pump
    // messages between copies or regions stop when a redraw is asked for
    // meanwhile, without it; the paint that follows draws it once.
    BuildBoard();
    doc->m_RectRecordFlag = 1;
    doc->m_Tracker.m_rect = RECT{11, 12, 13, 14};
    struct Case {
        int stage;
        int subMode;
        std::size_t paints;
    } cases[] = {{1, 0, 1}, {2, 0, 1}, {3, 0, 2}, {4, 3, 2}, {4, 1, 1}, {5, 0, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "stage " << c.stage << " sub-mode " << c.subMode);
        doc->m_WorkStage = static_cast<std::uint8_t>(c.stage);
        view->m_SubMode = c.subMode;
        bool asked = false;
        TestHost().OnPump([&](int) {
            if (!asked)
                view->Invalidate();
            asked = true;
        });
        Calls().clear();
        view->Redraw();
        EXPECT_EQ(window.surface.Of("fill").size(), c.paints);
        auto rects = window.surface.Of("rect");
        EXPECT_EQ(std::count_if(rects.begin(), rects.end(),
                                [](const CDrawCall& r) {
                                    return r.v == std::vector<int>{11, 12, 13, 14} &&
                                           r.pen == SolidPen(1, VIEW_WHITE);
                                }),
                  1);
    }
}

TEST_F(ViewTest, ShapesOutsideTheWindowAreDroppedLinesClamped)
{
    CRecordingSurface& dc = window.surface;
    CVelmView::ClippedRectangle(dc, -1000, -1000, 2000, 2000);
    CVelmView::ClippedRectangle(dc, -1001, 0, 10, 10);
    CVelmView::ClippedEllipse(dc, 0, 0, 10, 2001);
    CVelmView::ClippedArc(dc, 2001, 0, 10, 10, 0, 0, 0, 0);
    CVelmView::ClippedArc(dc, 0, 0, 10, 10, 0, 0, 0, -1000);
    CVelmView::ClippedMoveTo(dc, 100, 100);
    CVelmView::ClippedLineTo(dc, 5000, 100);
    CVelmView::ClippedMoveTo(dc, 100, 100);
    CVelmView::ClippedLineTo(dc, 5000, 2500);
    ASSERT_EQ(dc.calls.size(), 4u);
    EXPECT_EQ(dc.calls[0].kind, "rect");
    EXPECT_EQ(dc.calls[1].kind, "arc");
    EXPECT_EQ(dc.calls[2].v, (std::vector<int>{100, 100, 2000, 100}));
    EXPECT_EQ(dc.calls[3].v, (std::vector<int>{100, 100, 2000, 2000}));
}

TEST_F(ViewTest, CopperRulesOfTheThreeCopperDrawers)
{
    BuildBoard();
    doc->m_TrackList.clear();
    AddTrack(doc->m_TrackList, 0x11, 0, 0, 0, 100, 9);  // low bits 1: a flat track
    view->DrawCopper(RGB(1, 2, 3));
    ASSERT_EQ(window.surface.Of("rect").size(), 1u);
    EXPECT_EQ(window.surface.Of("rect")[0].v, (std::vector<int>{-4, 0, 4, 100}));  // half width 4
    Calls().clear();
    view->DrawElement(doc->m_TrackList[0].get(), RGB(1, 2, 3));  // whole byte: a plain line
    ASSERT_EQ(Calls().size(), 1u);
    EXPECT_EQ(Calls()[0].pen, SolidPen(9, RGB(1, 2, 3)));

    // F6: copper yellow whatever the colour; discs yellow with solid lines,
    // in the copper colour without.
    view->m_CopperHighlight = 1;
    Calls().clear();
    view->DrawCopper(RGB(1, 2, 3));
    EXPECT_EQ(Calls()[0].pen.colour, VIEW_YELLOW);
    EXPECT_EQ(window.surface.Of("ellipse")[0].brush, SolidBrush(VIEW_YELLOW));
    g_SolidLineView = 0;
    view->m_CopperHighlight = 0;
    Calls().clear();
    view->DrawCopper(RGB(1, 2, 3));
    EXPECT_EQ(window.surface.Of("ellipse")[0].brush, SolidBrush(RGB(1, 2, 3)));

    // Copper hidden: the copper drawers draw nothing, the single record does.
    g_ShowLayerCopper = 0;
    Calls().clear();
    view->DrawCopper(RGB(1, 2, 3));
    view->DrawCopperPlaced(view->m_BlockList[0].get(), RGB(1, 2, 3));
    EXPECT_TRUE(Calls().empty());
    view->DrawElement(doc->m_TrackList[0].get(), RGB(1, 2, 3));
    EXPECT_EQ(Calls().size(), 1u);
}

TEST_F(ViewTest, PathLayerPensFollowSolidLinesAndMarks)
{
    view->m_Scale = 0.4f;
    CPathRecord* layer = doc->AddPathLayer("T1ISO", 8, 1, 0, kLayer);
    AddSegment(*layer, 10, 0, 0, 100, 0);
    AddSegment(*layer, 0, 0, 10, 100, 10);
    g_SolidLineView = 0;
    view->DrawLayersXor();
    ASSERT_EQ(Calls().size(), 2u);
    EXPECT_EQ(Calls()[0].pen, SolidPen(20, RGB(100, 200, 50)));  // the mark keeps the tool width
    EXPECT_EQ(Calls()[1].pen, SolidPen(1, kLayer));
    // A partial-selection copy is drawn by the elements pass only, when its
    // source layer is shown.
    layer->name = "T1ISO-S";
    Calls().clear();
    auto block = std::make_unique<CLayoutBlock>(0, 0, 10, 10);
    view->DrawLayers(block.get());
    EXPECT_TRUE(Calls().empty());
    view->DrawLayerElements();
    EXPECT_EQ(Calls().size(), 2u);
    g_ShowLayerT1Iso = 0;
    Calls().clear();
    view->DrawLayerElements();
    EXPECT_TRUE(Calls().empty());
}

TEST_F(ViewTest, FullCircleArcIsDrawnAllRound)
{
    CPathRecord* layer = doc->AddPathLayer("T1ISO", 1, 1, 0, kLayer);
    AddSegment(*layer, 2, 100, 0, 100, 0, 0, 0);  // ends coincide
    view->m_Origin = CDPoint(200, 200);
    view->DrawLayersXor();
    // 2 pi in steps of 0.1 radian.
    EXPECT_EQ(Calls().size(), 63u);
    EXPECT_EQ(Calls().front().v[0], 300);
    EXPECT_NEAR(Calls().back().v[2], 300, 1);
    EXPECT_NEAR(Calls().back().v[3], 200, 1);
}

TEST_F(ViewTest, InvertingDrawersSetTheirRasterOperationAndPutItBack)
{
    BuildBoard();
    CTrackRecord* track = doc->m_TrackList[1].get();
    CFlashRecord* flash = doc->m_FlashList[0].get();
    CWidthGroup group;
    group.width = 20;
    group.segments.push_back(std::make_unique<CGridPathSegment>());
    const CLayoutBlock* block = view->m_BlockList[0].get();
    view->m_Scale = 0.4f;
    struct Case {
        const char* name;
        std::function<void()> draw;
        int rop;
    } cases[] = {
        {"selection", [&] { view->DrawSelectionXor(track, 0xFF); }, R2_NOT},
        {"mouse move", [&] { view->DrawMouseMoveXor(track, 0xFF); }, R2_NOTXORPEN},
        {"edit drag", [&] { view->DrawEditDragXor(track, 5, 5, 0xFF); }, R2_XORPEN},
        {"hover", [&] { view->DrawHoverEllipseXor(flash, 0xFF); }, R2_NOT},
        {"edit ellipse", [&] { view->DrawEditEllipseXor(flash, 1, 1, 0xFF); }, R2_XORPEN},
        {"route ellipse", [&] { view->DrawRouteEllipseXor(flash, 4, 0xFF); }, R2_NOTXORPEN},
        {"route arc", [&] { view->DrawRouteArcXor(0, 0, 100, 100, 100, 50, 50, 0, 4, 0xFF); }, R2_NOTXORPEN},
        {"clear stroke", [&] { view->DrawClearAreaXor(block, doc->m_ClearRegionList[0]->strokes[0].get(), 0xFF); }, R2_NOT},
        {"iso segment", [&] { view->DrawIsoPathsXor(block, group.segments[0].get(), 0xFF); }, R2_NOT},
        {"rubber route", [&] { view->DrawRouteRubberXor(&group, 0xFF); }, R2_NOT},
        {"block frame", [&] { view->DrawBlockFrameXor(block, 0xFF, CDPoint()); }, R2_NOTXORPEN},
        {"origin mark", [&] { view->DrawOriginMarkXor(10, 10, 50, VIEW_GREY, CDPoint()); }, R2_NOTXORPEN},
        {"ruler", [&] { view->DrawRuler(1); }, R2_NOT},
    };
    for (const Case& c : cases) {
        Calls().clear();
        c.draw();
        ASSERT_FALSE(Calls().empty()) << c.name;
        for (const CDrawCall& call : Calls())
            EXPECT_EQ(call.rop, c.rop) << c.name;
        EXPECT_EQ(window.surface.GetROP2(), R2_COPYPEN) << c.name;
    }
    // The slanted selection track: a flat-ended band 50 pixels wide.
    Calls().clear();
    view->DrawSelectionXor(track, 0xFF);
    EXPECT_EQ(Calls()[0].pen, FlatPen(50, 0xFF));
    // The rubber group: 20 mil at scale 0.4 is 50 pixels.
    Calls().clear();
    view->DrawRouteRubberXor(&group, 0xFF);
    EXPECT_EQ(Calls()[0].pen.width, 50);
}

TEST_F(ViewTest, HolesTakeTheirToolsColours)
{
    BuildBoard();
    auto tiny = std::make_unique<CDrillTool>();
    tiny->diameter = 1;
    tiny->toolNumber = 2;
    tiny->mode = 3;
    tiny->holes.push_back(std::make_unique<CDPoint>(100, 100));
    g_HoleList.push_back(std::move(tiny));
    view->DrawDrillHoles(VIEW_LIGHT_GREEN);
    auto e = window.surface.Of("ellipse");
    ASSERT_EQ(e.size(), 3u);
    EXPECT_EQ(e[2].v, (std::vector<int>{60, 60, 140, 140}));  // radius 40 below 2 mil
    EXPECT_EQ(e[2].brush, SolidBrush(RGB(255, 0, 0)));
    view->m_CurrentDrillTool = 2;
    Calls().clear();
    view->DrawDrillHoles(VIEW_LIGHT_GREEN);
    EXPECT_EQ(window.surface.Of("ellipse")[2].brush, SolidBrush(RGB(125, 34, 255)));
    g_ShowLayerDrill = 0;
    Calls().clear();
    view->DrawDrillHoles(VIEW_LIGHT_GREEN);
    view->DrawDrillHolesPlaced(view->m_BlockList[0].get(), VIEW_LIGHT_GREEN);
    EXPECT_TRUE(Calls().empty());
}

TEST_F(ViewTest, PositioningHolesAreReadAsMetric)
{
    view->DrawPositioningHoles(VIEW_YELLOW);
    EXPECT_TRUE(Calls().empty());  // the window was never made
    g_HoleDataWnd.CreateOnce("holes");
    for (const char* line : {"T5C3.0", "X10.0Y20.0", "X-5.0Y2.54"})
        g_HoleDataWnd.Edit().WriteLine(line);
    g_DrillFormatDlg.dInchMM = 0;  // inch
    view->DrawPositioningHoles(VIEW_YELLOW);
    auto holes = window.surface.Of("ellipse");
    ASSERT_EQ(holes.size(), 2u);
    // 10 mm, 20 mm = 393.7, 787.4 mil; radius 70 mil.
    EXPECT_EQ(holes[0].v, (std::vector<int>{323, 717, 463, 857}));
    EXPECT_EQ(holes[0].brush, SolidBrush(VIEW_YELLOW));
    EXPECT_EQ(g_DrillFormatDlg.dInchMM, 0);
    ASSERT_NE(view->m_HoleNameText, nullptr);
    EXPECT_EQ(*view->m_HoleNameText, "T5");
    EXPECT_EQ(view->m_PositioningHole.kind, "D-TYPE");
}

TEST_F(ViewTest, LikeShapesReachTheSurfaceInRunsInTheirOrder)
{
    // Runs break where the pen, the brush or the kind of shape changes, and
    // nowhere else; every shape keeps its place.
    struct Track {
        std::uint8_t type;
        float width;
    };
    const Track tracks[] = {{0, 6}, {0, 6}, {0, 6}, {0, 10}, {0, 10}, {1, 6}, {1, 6}, {0, 6}};
    for (std::size_t i = 0; i < std::size(tracks); ++i) {
        float y = 20.0f + 10.0f * float(i);
        AddTrack(doc->m_TrackList, tracks[i].type, 10, y, 60, y, tracks[i].width);
    }
    for (int i = 0; i < 3; ++i)
        AddFlash(doc->m_FlashList, 100.0f + 20.0f * float(i), 50, 5);
    for (int mode : {1, 3})
        AddDrillTool(g_HoleList, mode, 20, mode, {CDPoint(200, 30 * mode), CDPoint(230, 30 * mode)});
    view->DrawCopper(RGB(1, 2, 3));
    view->DrawDrillHoles(VIEW_LIGHT_GREEN);

    const std::vector<CDrawCall>& calls = Calls();
    ASSERT_EQ(calls.size(), std::size(tracks) + 3 + 4);
    // The expected run of each call, in drawing order.
    const int runs[] = {1, 1, 1, 2, 2, 3, 3, 4, 5, 5, 5, 6, 6, 7, 7};
    const char* kinds[] = {"line", "line", "line", "line", "line", "rect",    "rect",    "line",
                           "ellipse", "ellipse", "ellipse", "ellipse", "ellipse", "ellipse", "ellipse"};
    for (std::size_t i = 0; i < calls.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(calls[i].kind, kinds[i]);
        EXPECT_GT(calls[i].batch, 0);
        EXPECT_EQ(calls[i].batch - calls[0].batch + 1, runs[i]);
        if (i < std::size(tracks)) {
            int y = 20 + 10 * int(i);
            EXPECT_EQ(calls[i].v[1], calls[i].kind == "line" ? y : y - 3);  // a rect's top
        }
    }
    EXPECT_EQ(calls[3].pen, SolidPen(10, RGB(1, 2, 3)));
    EXPECT_EQ(calls[8].brush, SolidBrush(PAD_FILL));
    EXPECT_EQ(calls[13].brush, SolidBrush(RGB(255, 0, 0)));
}

TEST_F(ViewTest, MachineTableHasItsOutlineCentreLinesAndATickEveryTenMillimetres)
{
    // The default table, 12204 x 7874 mil, at 20 mil a pixel.
    view->m_Scale = 20.0f;
    for (std::uint8_t stage : {3, 5}) {
        doc->m_WorkStage = stage;
        Calls().clear();
        view->Redraw();
        std::vector<CDrawCall> ticksX, ticksY;
        for (const CDrawCall& c : window.surface.Of("line")) {
            if (!c.pen.dotted)
                continue;
            EXPECT_EQ(c.pen.colour, VIEW_SILVER);
            (c.v[0] == c.v[2] ? ticksX : ticksY).push_back(c);
        }
        // k x 393.7 mil while below the table's size: k = 0 to 30 along X,
        // 0 to 19 along Y (20 x 393.7 is the height itself).
        ASSERT_EQ(ticksX.size(), 31u) << int(stage);
        EXPECT_EQ(ticksY.size(), 20u);
        EXPECT_EQ(ticksX[30].v[0], 590);  // 11811 mil
        EXPECT_EQ(ticksX[30].v, (std::vector<int>{590, 197, 590, 195}));
        EXPECT_EQ(ticksY[19].v, (std::vector<int>{304, 374, 306, 374}));
        // Outline and centre lines.
        EXPECT_EQ(Count(Calls(), "line", VIEW_GREY), 6);
    }
}
