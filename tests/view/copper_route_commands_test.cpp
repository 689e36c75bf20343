// The copper-to-route commands of the view: offset rings round picked
// copper with the pick that ends by giving the board back, the snapshot
// that must be written before anything changes, the centre lines, the
// positioning frame, the diameter question and the offset command's state.
#include "view_fixture.h"

#include "editing/copper_to_route.h"
#include "platform/paths.h"
#include "platform/resources.h"
#include "resource_ids.h"
#include "settings/default_files.h"
#include "settings/layer_dlg.h"
#include "settings/machine_param_dlg.h"
#include "settings/machine_settings.h"
#include "settings/system_settings_dlg.h"
#include "settings/work_order_dlg.h"
#include "support/planning_fixtures.h"
#include "support/scripted_host.h"
#include "support/test_paths.h"
#include "ui/cmd_ui.h"
#include "ui/edit_wnd.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

class CopperRoute : public ViewTest {
protected:
    // A square outline drawn as four tracks (picked), and a track and a pad
    // beside it that stay on the board.
    static void AddBoard(CVelmDoc& d, bool withPicked)
    {
        if (withPicked) {
            AddTrack(d.m_TrackList, 0, 100, 100, 300, 100, 10);
            AddTrack(d.m_TrackList, 0, 300, 100, 300, 300, 10);
        }
        AddTrack(d.m_TrackList, 1, 450, 50, 450, 400, 16);
        if (withPicked) {
            AddTrack(d.m_TrackList, 0, 300, 300, 100, 300, 10);
            AddTrack(d.m_TrackList, 0, 100, 300, 100, 100, 10);
        }
        AddFlash(d.m_FlashList, 450, 450, 20);
        NumberRecords(d);
    }
    void PickSquare()
    {
        for (auto& t : doc->m_TrackList)
            if (t->width == 10)
                view->m_SelTracks.push_back(t.get());
    }
    // The board as its side file holds it, without the square.
    static std::vector<std::uint8_t> BoardWithoutSquare()
    {
        CVelmDoc expected;
        AddBoard(expected, false);
        // Record numbers as the board with the square gave them.
        expected.m_TrackList[0]->recordNo = 3;
        expected.m_FlashList[0]->recordNo = 6;
        return expected.SideFileImage();
    }
    bool SnapshotExists() const
    {
        return std::filesystem::exists(std::filesystem::path(g_SystemDir) / "ordune.tmp");
    }
    void SetUp() override
    {
        ViewTest::SetUp();
        SetExtent(0, 0, 600, 600);
        AddBoard(*doc, true);
    }
};

// How far a point lies from the square's outline (mil).
double FromSquare(float x, float y)
{
    const double dx = std::max({100.0 - x, 0.0, x - 300.0});
    const double dy = std::max({100.0 - y, 0.0, y - 300.0});
    if (dx > 0 || dy > 0)
        return std::hypot(dx, dy);
    return std::min({x - 100.0, 300.0 - x, y - 100.0, 300.0 - y});
}

}  // namespace

TEST_F(CopperRoute, OffsetRingsLieARouterRadiusOffThePickedCopper)
{
    PickSquare();
    view->m_CopperSelectMode = 1;
    // A cancelled question keeps the diameter it offered.
    ASSERT_FLOAT_EQ(g_SimToolSize, 1.5f);
    AnswerNumber("7", false);
    view->OnCopperToRouteOffset();

    EXPECT_EQ(view->m_CopperToRouteMode, 1);
    EXPECT_EQ(view->m_CopperSelectMode, 0);
    EXPECT_FLOAT_EQ(g_RouteOffsetDistance, 1.5f);
    EXPECT_TRUE(view->m_SelTracks.empty());
    // The planner ran at pitch 12 on the square alone, reduced to its
    // centre lines.
    EXPECT_EQ(doc->m_GridStep, 12);
    ASSERT_EQ(doc->m_TrackList.size(), 4u);
    for (const auto& t : doc->m_TrackList)
        EXPECT_EQ(t->width, 0.0f);
    EXPECT_TRUE(doc->m_FlashList.empty());
    const CPathRecord* layer = Layer(*doc, "ROUTE1.5");
    ASSERT_NE(layer, nullptr);
    EXPECT_NEAR(layer->size, 59.055, 1e-3);
    EXPECT_TRUE(layer->items.empty());

    // One ring outside the square and one inside, each closed on itself,
    // half the planner's widening off the outline.
    ASSERT_GE(view->m_TrimList.size(), 2u);
    std::size_t segments = 0;
    for (const auto& ring : view->m_TrimList) {
        EXPECT_EQ(ring->width, 59);
        ASSERT_FALSE(ring->segments.empty());
        for (std::size_t i = 1; i < ring->segments.size(); ++i) {
            EXPECT_NEAR(ring->segments[i]->x1, ring->segments[i - 1]->x2, 0.001);
            EXPECT_NEAR(ring->segments[i]->y1, ring->segments[i - 1]->y2, 0.001);
        }
        for (const auto& s : ring->segments)
            EXPECT_NEAR(FromSquare(s->x1, s->y1), 57.33 / 2, 12.0) << s->x1 << "," << s->y1;
        segments += ring->segments.size();
    }
    EXPECT_EQ(segments, doc->m_GridPathList.size());
}

// However the pick ends, the board comes back exactly as it was, without
// the converted copper, in the edit stage it was converted in; the route
// layer keeps what was picked.
TEST_F(CopperRoute, EndingThePickGivesTheBoardBack)
{
    const std::vector<std::uint8_t> expected = BoardWithoutSquare();
    const struct {
        const char* name;
        void (*end)(CVelmView&);
    } ends[] = {
        {"end of the pick", [](CVelmView& v) { v.EndOffsetPick(); }},
        // Before any ring is taken.
        {"right button", [](CVelmView& v) { v.OnRButtonDown(0, POINT{10, 10}); }},
        {"offset command again", [](CVelmView& v) { v.OnCopperToRouteOffset(); }},
        {"centre-line command", [](CVelmView& v) { v.OnCopperToRouteCentre(); }},
        {"Escape", [](CVelmView& v) { v.OnKeyDown(VK_ESCAPE); }},
    };
    for (const auto& e : ends) {
        SCOPED_TRACE(e.name);
        doc->m_TrackList.clear();
        doc->m_FlashList.clear();
        AddBoard(*doc, true);
        PickSquare();
        AnswerNumber("1.5");
        view->OnCopperToRouteOffset();
        ASSERT_EQ(view->m_CopperToRouteMode, 1);
        view->m_HideRoute = 1;
        const std::size_t dialogs = TestHost().DialogsShown().size();

        // The rings were walked in the path stage.
        ASSERT_EQ(doc->m_WorkStage, 2);

        e.end(*view);
        EXPECT_EQ(TestHost().DialogsShown().size(), dialogs);
        // The board is edited again, where its copper is drawn.
        EXPECT_EQ(doc->m_WorkStage, 1);
        EXPECT_EQ(view->m_CopperToRouteMode, 0);
        EXPECT_EQ(view->m_HideRoute, 0);
        EXPECT_TRUE(view->m_TrimList.empty());
        EXPECT_TRUE(doc->m_GridPathList.empty());
        EXPECT_EQ(doc->SideFileImage(), expected);
        EXPECT_NE(Layer(*doc, "ROUTE1.5"), nullptr);
    }
    EXPECT_EQ(TestHost().UnansweredDialogs(), 0);
}

TEST_F(CopperRoute, NoSnapshotNoConversion)
{
    PickSquare();
    const std::vector<std::uint8_t> before = doc->SideFileImage();
    // The process runs with every permission, so an unwritable system
    // directory is one that is not there.
    g_SystemDir = TestDir() + "/missing/";
    for (auto command : {&CVelmView::OnCopperToRouteOffset, &CVelmView::OnCopperToRouteCentre}) {
        AnswerNumber("2");
        (view.get()->*command)();
        EXPECT_EQ(TestHost().Boxes().back().text, "Can't save temp file !");
        EXPECT_EQ(doc->SideFileImage(), before);
        EXPECT_EQ(view->m_SelTracks.size(), 4u);
        EXPECT_EQ(view->m_CopperToRouteMode, 0);
        EXPECT_TRUE(view->m_TrimList.empty());
        EXPECT_TRUE(doc->m_PathLayerList.empty());
    }
}

TEST_F(CopperRoute, DiametersNoRouterHasChangeNothing)
{
    PickSquare();
    const std::vector<std::uint8_t> before = doc->SideFileImage();
    const struct {
        const char* text;
        unsigned message;
    } cases[] = {
        {"abc", IDS_EDIT_NOT_A_NUMBER},
        {"", IDS_EDIT_NOT_A_NUMBER},
        {"0", IDS_ROUTER_DIAMETER_RANGE},
        {"-1.5", IDS_ROUTER_DIAMETER_RANGE},
        {"1e9", IDS_ROUTER_DIAMETER_RANGE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        for (auto command : {&CVelmView::OnCopperToRouteOffset, &CVelmView::OnRouteFromLayers}) {
            g_RouteFile = "route.gbr";
            AnswerNumber(c.text);
            (view.get()->*command)();
            ASSERT_FALSE(TestHost().Boxes().empty());
            EXPECT_EQ(TestHost().Boxes().back().text, LoadResString(c.message));
            EXPECT_FLOAT_EQ(g_SimToolSize, 1.5f);
            EXPECT_EQ(doc->SideFileImage(), before);
            EXPECT_EQ(view->m_CopperToRouteMode, 0);
            EXPECT_FALSE(SnapshotExists());
        }
    }
}

TEST_F(CopperRoute, CentreLinesFollowOnInChainsAndLeaveTheBoard)
{
    doc->m_TrackList.clear();
    doc->m_FlashList.clear();
    // Two tracks that meet drawn the other way round, picked last first; an
    // arc record and a pad picked with them; a track that is not picked.
    CTrackRecord* near = AddTrack(doc->m_TrackList, 0, 100, 0, 0, 0, 10);
    CTrackRecord* far = AddTrack(doc->m_TrackList, 0, 200, 0, 100, 0, 10);
    CTrackRecord* arc = AddTrack(doc->m_TrackList, 8, 50, 50, 0.0f, 1.5f, 20);
    CTrackRecord* other = AddTrack(doc->m_TrackList, 0, 0, 500, 100, 500, 10);
    CFlashRecord* pad = AddFlash(doc->m_FlashList, 200, 0, 15);
    view->m_SelTracks = {far, near, arc};
    view->m_SelFlashes = {pad};

    AnswerNumber("2");
    view->OnCopperToRouteCentre();

    EXPECT_FLOAT_EQ(view->m_SimToolSize, 2.0f);
    const CPathRecord* layer = Layer(*doc, "ROUTE2");
    ASSERT_NE(layer, nullptr);
    EXPECT_NEAR(layer->size, 78.74, 1e-3);
    ASSERT_EQ(layer->items.size(), 2u);
    const double expected[2][4] = {{0, 0, 100, 0}, {100, 0, 200, 0}};
    for (std::size_t i = 0; i < 2; ++i) {
        const CPathSegment& s = *layer->items[i];
        EXPECT_EQ((std::vector<double>{s.x1, s.y1, s.x2, s.y2}),
                  (std::vector<double>(expected[i], expected[i] + 4)));
        EXPECT_EQ(s.type, 0);
    }
    ASSERT_EQ(doc->m_TrackList.size(), 2u);
    EXPECT_EQ(doc->m_TrackList[0].get(), arc);
    EXPECT_EQ(doc->m_TrackList[1].get(), other);
    EXPECT_TRUE(doc->m_FlashList.empty());
    EXPECT_TRUE(view->m_SelTracks.empty());
    EXPECT_TRUE(view->m_SelFlashes.empty());
    // The snapshot is the board after the conversion.
    ASSERT_EQ(doc->LoadTempFile("ordune.tmp"), 1);
    EXPECT_EQ(doc->m_TrackList.size(), 2u);
}

TEST_F(CopperRoute, PositioningFrameRunsRoundTheTable)
{
    g_TableWidth = 12204.7;
    g_TableHeight = 8000.2;
    view->OnRouteFrame();
    const CPathRecord* layer = Layer(*doc, "ROUTE1.5");
    ASSERT_NE(layer, nullptr);
    EXPECT_NEAR(layer->size, 59.055, 1e-3);
    EXPECT_EQ(layer->side, 5);
    ASSERT_EQ(layer->items.size(), 4u);
    EXPECT_EQ(layer->items[0]->y1, 8000.2);
    EXPECT_EQ(layer->items[2]->x2, 12204.7);
    EXPECT_EQ(layer->items[3]->x2, 0.0);
    EXPECT_EQ((std::vector<int>{g_BoardMinX, g_BoardMinY, g_BoardMaxX, g_BoardMaxY}),
              (std::vector<int>{0, 0, 12204, 8000}));
    // Then the layout stage with its first copy.
    EXPECT_EQ(doc->m_WorkStage, 3);
    EXPECT_EQ(view->m_BlockList.size(), 1u);
}

TEST_F(CopperRoute, RouteFromLayersNeedsARouteFile)
{
    const std::vector<std::uint8_t> before = doc->SideFileImage();
    view->OnRouteFromLayers();
    ASSERT_EQ(TestHost().Boxes().size(), 1u);
    EXPECT_EQ(TestHost().Boxes()[0].text, "你沒有設定成型檔資料 !");
    EXPECT_TRUE(TestHost().DialogsShown().empty());
    EXPECT_EQ(doc->SideFileImage(), before);
    EXPECT_FALSE(SnapshotExists());
}

TEST_F(CopperRoute, OffsetCommandNeedsTheEditStageAndPickedCopper)
{
    const struct {
        std::uint8_t stage;
        bool track, flash;
        bool enabled;
    } cases[] = {
        {1, true, false, true},  {1, false, true, true}, {1, false, false, false},
        {2, true, true, false},  {3, true, false, false},
    };
    for (const auto& c : cases) {
        doc->m_WorkStage = c.stage;
        view->m_SelTracks.clear();
        view->m_SelFlashes.clear();
        if (c.track)
            view->m_SelTracks.push_back(doc->m_TrackList[0].get());
        if (c.flash)
            view->m_SelFlashes.push_back(doc->m_FlashList[0].get());
        CCmdUI ui(ID_COPPER_TO_ROUTE_OFFSET);
        ASSERT_TRUE(view->m_Commands.Update(ui));
        EXPECT_EQ(ui.m_Enabled, c.enabled) << int(c.stage) << c.track << c.flash;
    }
    CCmdUI ui(ID_ROUTE_FROM_LAYERS);
    ASSERT_TRUE(view->m_Commands.Update(ui));
    EXPECT_TRUE(ui.m_Enabled);
}

TEST_F(CopperRoute, RouteFromLayersRingsTheDrawingAndGivesTheBoardBack)
{
    ASSERT_TRUE(SeedSystemDir(TestDir()));
    ASSERT_EQ(doc->LoadSettings(JoinPath(TestDir(), "ORDUNE.INI")), 1);
    g_DataOriginX = 0;
    g_DataOriginY = 0;
    // A square drawn with a 10 mil round aperture, in mil.
    const std::string path = JoinPath(TestDir(), "outline.gbr");
    std::ofstream(path) << "%FSLAX23Y23*%\n%MOIN*%\n%ADD10C,0.010*%\n"
                           "D10*X100Y100D02*X300Y100D01*X300Y300D01*X100Y300D01*X100Y100D01*M02*\n";
    g_RouteFile = path;
    // The copper sides were aligned by this shift.
    doc->m_DataOffset = POINT{10, 20};
    g_RouteDataWnd.Edit().WriteLine("G00X0.Y0.");
    g_ShowLayerCopper = 1;
    PickSquare();
    const std::vector<std::uint8_t> before = doc->SideFileImage();

    AnswerNumber("1.5");
    TestHost().QueueAnswer(IDYES);
    view->OnRouteFromLayers();

    ASSERT_FALSE(TestHost().Boxes().empty());
    EXPECT_EQ(TestHost().Boxes().back().text, "是否清除目前成型路徑 ?");
    EXPECT_EQ(g_RouteDataWnd.Edit().GetLineText(0), "");
    // The drawing alone, moved by the shift, ringed at the 1 mm pitch.
    EXPECT_TRUE(view->m_SelTracks.empty());
    ASSERT_EQ(doc->m_TrackList.size(), 4u);
    EXPECT_FLOAT_EQ(doc->m_TrackList[0]->x1, 90);
    EXPECT_FLOAT_EQ(doc->m_TrackList[0]->y1, 80);
    EXPECT_FLOAT_EQ(doc->m_TrackList[0]->width, 10);
    EXPECT_EQ(doc->m_GridStep, 8);
    EXPECT_EQ(view->m_CopperToRouteMode, 1);
    ASSERT_FALSE(view->m_TrimList.empty());
    for (const auto& ring : view->m_TrimList)
        EXPECT_EQ(ring->width, 59);
    // The picked rings go to the layer of the router asked here; the
    // offset command's diameter stays.
    EXPECT_FLOAT_EQ(g_RouteOffsetDistance, 1.5f);
    EXPECT_FLOAT_EQ(g_SimToolSize, 1.5f);
    EXPECT_EQ(g_ShowLayerCopper, 1);

    view->EndOffsetPick();
    EXPECT_EQ(doc->SideFileImage(), before);
}
