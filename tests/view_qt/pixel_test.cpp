// The drawers on the QImage surface: pixels at known board points.
#include "records/board_extent.h"
#include "machining/position_dlg.h"
#include "platform/program_state.h"
#include "settings/work_order_dlg.h"
#include "support/scripted_host.h"
#include "settings/layer_dlg.h"
#include "view/qt/board_widget.h"
#include "view/qt/image_surface.h"
#include "view/velm_view.h"
#include "view/view_window.h"

#include "../app/qt_test_app.h"
#include "support/record_makers.h"
#include "resource_ids.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

#include <memory>

namespace {

class CImageWindow : public CViewWindow {
public:
    explicit CImageWindow(QSize size,
                          CQtImageSurface::BatchDrawing batches = CQtImageSurface::BatchDrawing::InRuns)
        : surface(size, batches)
    {
    }
    CDrawSurface& Surface() override { return surface; }
    RECT ClientRect() const override { return RECT{0, 0, surface.Width(), surface.Height()}; }
    void RequestRedraw() override {}
    void SurfaceChanged() override {}
    CQtImageSurface surface;
};

COLORREF At(const CQtImageSurface& s, int x, int y)
{
    QRgb p = s.Image().pixel(x, y);
    return RGB(qRed(p), qGreen(p), qBlue(p));
}

class PixelTest : public testing::Test {
protected:
    void SetUp() override
    {
        TestQtApp();
        doc = std::make_unique<CVelmDoc>();
        view = std::make_unique<CVelmView>(*doc);
        window = std::make_unique<CImageWindow>(QSize(400, 300));
        view->SetWindow(window.get());
        view->m_Scale = 1.0f;
        view->m_Origin = CDPoint(0, 0);
        g_CurrentSide = 0;
        g_BoardMaxX = 390;
        g_BoardMaxY = 290;
    }
    CTrackRecord* Track(std::uint8_t type, float x1, float y1, float x2, float y2, float w)
    {
        return AddTrack(doc->m_TrackList, type, x1, y1, x2, y2, w);
    }
    CFlashRecord* Flash(float x, float y, float r) { return AddFlash(doc->m_FlashList, x, y, r); }
    const CQtImageSurface& Surface() const { return window->surface; }

    std::unique_ptr<CVelmDoc> doc;
    std::unique_ptr<CVelmView> view;
    std::unique_ptr<CImageWindow> window;
};

}  // namespace

TEST_F(PixelTest, TracksAreFilledInTheirColourWithSquareEnds)
{
    Track(1, 100, 50, 100, 150, 20);   // vertical, 20 mil
    Track(1, 150, 100, 250, 200, 20);  // slanted, flat ends
    view->Redraw();
    EXPECT_EQ(At(Surface(), 100, 100), g_CopperColor);
    EXPECT_EQ(At(Surface(), 92, 100), g_CopperColor);
    EXPECT_EQ(At(Surface(), 85, 100), RGB(0, 0, 0));
    EXPECT_EQ(At(Surface(), 100, 45), RGB(0, 0, 0));   // cut at the end point
    EXPECT_EQ(At(Surface(), 200, 150), g_CopperColor);
    EXPECT_EQ(At(Surface(), 145, 95), RGB(0, 0, 0));   // no round cap
    EXPECT_EQ(At(Surface(), 5, 0), VIEW_GREEN);         // the work-area frame
}

TEST_F(PixelTest, FlashFillFollowsSolidLinesAndHighlight)
{
    Flash(200, 150, 20);
    struct Case {
        int solid, highlight;
        COLORREF centre, rim;
    } cases[] = {
        {1, 0, PAD_FILL, g_CopperColor},
        {0, 0, g_CopperColor, g_CopperColor},
        {1, 1, VIEW_YELLOW, VIEW_YELLOW},
    };
    for (const Case& c : cases) {
        g_SolidLineView = c.solid;
        view->m_CopperHighlight = c.highlight;
        view->Redraw();
        EXPECT_EQ(At(Surface(), 200, 150), c.centre) << c.solid << c.highlight;
        EXPECT_EQ(At(Surface(), 180, 150), c.rim) << c.solid << c.highlight;
        EXPECT_EQ(At(Surface(), 225, 150), RGB(0, 0, 0));
    }
}

TEST_F(PixelTest, NothingIsDrawnOutsideTheClipWindow)
{
    window = std::make_unique<CImageWindow>(QSize(2200, 60));
    view->SetWindow(window.get());
    g_BoardMaxX = g_BoardMaxY = 0;
    doc->m_ShowWorkArea = 0;
    Flash(1990, 30, 15);   // its box reaches 2005: dropped whole
    Flash(1900, 30, 15);   // inside: drawn
    Track(0, 1000, 10, 5000, 10, 2);  // clamped at x = 2000
    view->Redraw();
    EXPECT_EQ(At(Surface(), 1990, 30), RGB(0, 0, 0));
    EXPECT_EQ(At(Surface(), 1900, 30), PAD_FILL);
    EXPECT_EQ(At(Surface(), 1995, 10), g_CopperColor);
    for (int x = 2004; x < 2200; x += 7)
        EXPECT_EQ(At(Surface(), x, 10), RGB(0, 0, 0)) << x;
}

TEST_F(PixelTest, InvertingDrawersTwiceLeaveTheImageUnchanged)
{
    Track(1, 100, 50, 100, 150, 20);
    Track(0, 120, 120, 300, 200, 12);
    Flash(200, 100, 25);
    AddClearStroke(*AddClearRegion(doc->m_ClearRegionList), 20, 20, 300, 260);
    CLayoutBlock block(0, 0, 400, 300);
    doc->m_PanelLayout.m_OutlinePoints.push_back(std::make_unique<POINT>(POINT{-150, -100}));
    doc->m_PanelLayout.m_OutlinePoints.push_back(std::make_unique<POINT>(POINT{150, 100}));
    view->Redraw();
    const QImage before = Surface().Image().copy();
    CTrackRecord* slanted = doc->m_TrackList[1].get();
    CFlashRecord* flash = doc->m_FlashList[0].get();
    view->m_RulerA = CDPoint(50, 250);
    view->m_RulerB = CDPoint(350, 40);
    const std::function<void()> drawers[] = {
        [&] { view->DrawSelectionXor(slanted, 0x00FF00); },
        [&] { view->DrawMouseMoveXor(slanted, 0xC0C0C0); },
        [&] { view->DrawEditDragXor(slanted, 7, 3, 0x1234AB); },
        [&] { view->DrawHoverEllipseXor(flash, 0xFF); },
        [&] { view->DrawEditEllipseXor(flash, 4, 4, 0xFF00FF); },
        [&] { view->DrawRouteEllipseXor(flash, 6, 0xFF); },
        [&] { view->DrawRouteArcXor(100, 100, 200, 200, 200, 150, 150, 100, 5, 0xFF); },
        [&] { view->DrawClearAreaXor(&block, doc->m_ClearRegionList[0]->strokes[0].get(), 0xFF); },
        [&] { view->DrawBlockFrameXor(&block, RGB(128, 128, 123), CDPoint(3, 3)); },
        [&] { view->DrawOriginMarkXor(200, 150, 50, VIEW_GREY, CDPoint()); },
        [&] { view->DrawRuler(1); },
    };
    for (std::size_t i = 0; i < std::size(drawers); ++i) {
        drawers[i]();
        EXPECT_NE(Surface().Image(), before) << i;
        drawers[i]();
        EXPECT_EQ(Surface().Image(), before) << i;
    }
}

TEST_F(PixelTest, ArcRunsCounterClockwiseOnTheScreen)
{
    // A quarter from angle 0 (P = centre + (0, r), below the centre on the
    // screen) to pi/2 (P = centre + (r, 0), right of it): counter-clockwise
    // on the screen that is the lower right quarter.
    auto aperture = std::make_unique<CApertureRecord>();
    aperture->width = 3;
    doc->m_ApertureList.push_back(std::move(aperture));
    Track(3, 200, 150, 0.0f, 1.5707964f, 60);
    doc->m_ShowWorkArea = 0;
    view->Redraw();
    EXPECT_EQ(At(Surface(), 242, 192), g_CopperColor);   // 45 degrees, lower right
    EXPECT_EQ(At(Surface(), 157, 107), RGB(0, 0, 0));    // upper left: not drawn
    EXPECT_EQ(At(Surface(), 157, 192), RGB(0, 0, 0));
}

TEST_F(PixelTest, RunsPaintTheBoardAsShapeByShapeDoes)
{
    // The shapes of the tests above at their zoom, with holes, a clearing
    // stroke, a path layer and a route over them.
    Track(1, 100, 50, 100, 150, 20);
    Track(1, 150, 100, 250, 200, 20);
    Track(1, 20, 260, 200, 260, 9);
    Track(0, 120, 120, 300, 200, 12);
    Track(0, 300, 40, 300, 120, 7);
    Track(0, 40, 200, 90, 200, 3);
    Track(0, 30, 30, 70, 70, 1);
    Track(3, 200, 150, 0.0f, 1.5707964f, 60);
    auto aperture = std::make_unique<CApertureRecord>();
    aperture->width = 3;
    doc->m_ApertureList.push_back(std::move(aperture));
    for (float r : {2.0f, 6.0f, 20.0f, 25.0f, 45.0f})
        Flash(40 + 8 * r, 150, r);
    AddDrillTool(g_HoleList, 1, 30, 1, {CDPoint(100, 50), CDPoint(380, 280)});
    CPathRecord* layer = doc->AddPathLayer("T1ISO", 8, 1, 0, RGB(170, 170, 220));
    AddSegment(*layer, 0, 50, 40, 150, 40);
    AddSegment(*layer, 1, 230, 100, 200, 130, 200, 100);
    auto route = std::make_unique<CNamedLayer>();
    route->name = "route";
    AddTrack(route->tracks, 0, 0, 5, 390, 5, 5);
    doc->m_NamedLayerList.push_back(std::move(route));
    for (int solid : {1, 0}) {
        g_SolidLineView = solid;
        view->Redraw();
        CImageWindow alone(QSize(400, 300), CQtImageSurface::BatchDrawing::ShapeByShape);
        view->SetWindow(&alone);
        view->Redraw();
        view->SetWindow(window.get());
        int differing = 0;
        for (int y = 0; y < 300; ++y)
            for (int x = 0; x < 400; ++x)
                differing += Surface().Image().pixel(x, y) != alone.surface.Image().pixel(x, y);
        EXPECT_EQ(differing, 0) << solid;
    }
}

TEST_F(PixelTest, MachineTableShowsInTheLayoutAndMachiningStages)
{
    // 4 mil a pixel: the table's left edge at x 10, its horizontal centre
    // line (3937 mil) at y 160; the tick at 10 mm at x 108, y 155 to 164.
    view->m_Scale = 4.0f;
    view->m_Origin = CDPoint(10.0, 160.0 - 3937.0 / 4.0);
    for (std::uint8_t stage : {3, 5}) {
        doc->m_WorkStage = stage;
        view->Redraw();
        EXPECT_EQ(At(Surface(), 10, 60), VIEW_GREY) << int(stage);
        EXPECT_EQ(At(Surface(), 60, 160), VIEW_GREY);
        EXPECT_EQ(At(Surface(), 60, 40), RGB(0, 0, 0));
        // The tick is dotted: some of its pixels silver, the rest black;
        // off the ticks nothing.
        int silver = 0, black = 0;
        for (int y = 155; y <= 164; ++y) {
            if (y == 160)
                continue;
            silver += At(Surface(), 108, y) == VIEW_SILVER;
            black += At(Surface(), 108, y) == RGB(0, 0, 0);
            EXPECT_EQ(At(Surface(), 60, y), RGB(0, 0, 0));
        }
        EXPECT_GE(silver, 2);
        EXPECT_GE(black, 2);
        EXPECT_EQ(silver + black, 9);
    }
}

TEST(BoardWidget, RedrawsOutsideThePaintAndShowsTheImage)
{
    TestQtApp();
    auto doc = std::make_unique<CVelmDoc>();
    g_BoardMaxX = 1000;
    g_BoardMaxY = 1000;
    {
        CBoardWidget widget(doc.get());
        widget.resize(300, 200);
        widget.show();
        for (int i = 0; i < 5; ++i)
            QCoreApplication::processEvents();
        ASSERT_NE(widget.View(), nullptr);
        EXPECT_FLOAT_EQ(widget.View()->m_Scale, 5.0f);  // fitted at the first size
        QImage shown = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(shown.pixel(0, 100), widget.Image().pixel(0, 100));
        EXPECT_EQ(qGreen(widget.Image().pixel(0, 100)), 255);  // the work-area side
        EXPECT_NE(CommandRouter().Dispatch(ID_ZOOM_IN), false);
    }
    doc.reset();
}

namespace {

// Whether a pixel within one of (x, y) is lit: slanted thin lines land a
// pixel either side of the exact point.
bool LitNear(const CQtImageSurface& s, int x, int y)
{
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (At(s, x + dx, y + dy) != RGB(0, 0, 0))
                return true;
    return false;
}

}  // namespace

// The copper line and rectangle follow the cursor as a shape that shows on
// the bare board; the next move takes it away before drawing the new one.
TEST_F(PixelTest, RubberLineAndRectangleShowWhileDraggedAndGoAtTheNextMove)
{
    struct Case {
        const char* name;
        void (CVelmView::*arm)();
        POINT first, second;   // the two cursor points after the press at (50, 50)
        POINT onFirst, onSecond;
    } cases[] = {
        {"line", &CVelmView::OnAddCopperLine, {150, 50}, {150, 150}, {100, 50}, {100, 100}},
        {"rectangle", &CVelmView::OnAddCopperRect, {150, 120}, {80, 70}, {100, 85}, {65, 60}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        view->OnPopupCancel();
        view->Redraw();
        (view.get()->*c.arm)();
        view->OnLButtonDown(0, POINT{50, 50});
        view->OnLButtonUp(0, POINT{50, 50});
        view->OnMouseMove(0, c.first);
        EXPECT_EQ(At(Surface(), c.onFirst.x, c.onFirst.y), VIEW_WHITE);
        view->OnMouseMove(0, c.second);
        EXPECT_EQ(At(Surface(), c.onFirst.x, c.onFirst.y), RGB(0, 0, 0));
        EXPECT_EQ(At(Surface(), c.onSecond.x, c.onSecond.y), VIEW_WHITE);
    }
}

// Path segments dragged in the move mode follow the cursor: whole (a picked
// segment) or by the end that is dragged, the other end staying put.
TEST_F(PixelTest, MovedPathSegmentsFollowTheCursor)
{
    g_ShowLayerCopper = 0;
    g_ShowLayerT1Iso = 1;
    CPathRecord* layer = doc->AddPathLayer("T1ISO", 8, 1, 0, RGB(170, 170, 220));
    struct Case {
        const char* name;
        POINT press, first, second;
        POINT onFirst, onSecond;   // on the shape at the first and the second point only
        CDPoint end;               // where the first segment's start is then
    } cases[] = {
        {"picked segment", {150, 200}, {150, 250}, {150, 270}, {100, 250}, {100, 270}, {50, 270}},
        {"dragged end", {250, 200}, {250, 260}, {200, 260}, {150, 230}, {125, 230}, {50, 200}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        layer->items.clear();
        AddSegment(*layer, 0, 50, 200, 250, 200);
        AddSegment(*layer, 0, 250, 200, 250, 100);
        view->Redraw();
        view->m_MoveMode = 1;
        view->OnLButtonDown(0, c.press);
        view->OnMouseMove(0, c.first);
        EXPECT_TRUE(LitNear(Surface(), c.onFirst.x, c.onFirst.y));
        view->OnMouseMove(0, c.second);
        EXPECT_FALSE(LitNear(Surface(), c.onFirst.x, c.onFirst.y));
        EXPECT_TRUE(LitNear(Surface(), c.onSecond.x, c.onSecond.y));
        view->OnLButtonUp(0, c.second);
        EXPECT_EQ(CDPoint(layer->items[0]->x1, layer->items[0]->y1), c.end);
    }
}

// Picked near a joint, both segments are dragged: the first whole, the
// second only by the end it shares, and the shape shown while dragging is
// the one the release leaves.
TEST_F(PixelTest, SegmentsPickedAtAJointShowTheStretchTheReleaseMakes)
{
    g_ShowLayerCopper = 0;
    g_ShowLayerT1Iso = 1;
    CPathRecord* layer = doc->AddPathLayer("T1ISO", 8, 1, 0, RGB(170, 170, 220));
    AddSegment(*layer, 0, 50, 200, 250, 200);
    AddSegment(*layer, 0, 250, 200, 250, 100);
    view->Redraw();
    view->m_MoveMode = 1;
    view->OnLButtonDown(0, POINT{248, 198});
    view->OnMouseMove(0, POINT{298, 198});
    EXPECT_TRUE(LitNear(Surface(), 275, 150));   // on (300, 200)-(250, 100)
    EXPECT_FALSE(LitNear(Surface(), 300, 150));  // the second segment carried whole
    view->OnLButtonUp(0, POINT{298, 198});
    EXPECT_EQ(CDPoint(layer->items[1]->x1, layer->items[1]->y1), CDPoint(300, 200));
    EXPECT_EQ(CDPoint(layer->items[1]->x2, layer->items[1]->y2), CDPoint(250, 100));
}

TEST_F(PixelTest, ThePaintAfterThePositionWindowMovedSkipsTheBoard)
{
    Track(1, 100, 50, 100, 150, 20);
    g_PositionDlg.OnMoved();
    view->Redraw();
    EXPECT_EQ(At(Surface(), 100, 100), RGB(0, 0, 0));
    EXPECT_EQ(At(Surface(), 5, 0), RGB(0, 0, 0));
    view->Redraw();
    EXPECT_EQ(At(Surface(), 100, 100), g_CopperColor);
    EXPECT_EQ(At(Surface(), 5, 0), VIEW_GREEN);
}
