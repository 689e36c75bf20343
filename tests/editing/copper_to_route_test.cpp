// The record work of the copper-to-route conversions: the planner settings
// of the rings, the rings cut out of a walk, tracks ordered into chains,
// picked copper taken out and put back, the outline copies, the route layer
// and the table frame.
#include "editing/copper_to_route.h"
#include "editing/route_edit.h"

#include "records/board_model.h"
#include "support/record_makers.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Ranges = std::vector<std::pair<std::size_t, std::size_t>>;

}  // namespace

TEST(CopperToRoute, PlannerSettingsFollowTheRouterDiameter)
{
    struct Case {
        float mm;
        float copperOffset;
        int copperPitch;
        float drawingOffset;
        int drawingPitch;
        int ringWidth;
    } cases[] = {
        // 1.5 mm: 59.06 mil over 1.03 and 1.1; the drawing's pitch is that
        // of a 1 mm router.
        {1.5f, 57.33f, 12, 53.69f, 8, 59},
        {3.0f, 114.67f, 24, 107.37f, 24, 118},
        // Under a millimetre the drawing's raster is a single mil.
        {0.8f, 30.58f, 7, 28.63f, 1, 31},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mm);
        const CRingPlanner copper = CopperRingPlanner(c.mm);
        const CRingPlanner drawing = DrawingRingPlanner(c.mm);
        // The widths to the two places they are quoted to.
        EXPECT_NEAR(copper.offset, c.copperOffset, 0.01);
        EXPECT_EQ(copper.pitch, c.copperPitch);
        EXPECT_NEAR(drawing.offset, c.drawingOffset, 0.01);
        EXPECT_EQ(drawing.pitch, c.drawingPitch);
        EXPECT_EQ(RingWidth(c.mm), c.ringWidth);
    }
    for (double mm : {0.0, -1.0, 1000.5, 1e12})
        EXPECT_FALSE(IsRouterDiameter(mm)) << mm;
    EXPECT_TRUE(IsRouterDiameter(0.1));
}

TEST(CopperToRoute, RingsSplitWhereTheWalkJumps)
{
    struct Case {
        const char* name;
        float gapX, gapY;
        Ranges rings;
    } cases[] = {
        {"joined", 0.0f, 0.0f, {{0, 4}}},
        {"within the tolerance", 0.0009f, -0.0009f, {{0, 4}}},
        {"jump in x", 0.0011f, 0.0f, {{0, 2}, {2, 4}}},
        {"jump in y", 0.0f, -0.0011f, {{0, 2}, {2, 4}}},
        {"far", 500.0f, 500.0f, {{0, 2}, {2, 4}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CBoardModel model;
        AddGridSegment(model.m_GridPathList, 0, 0, 0, 100, 0);
        AddGridSegment(model.m_GridPathList, 0, 100, 0, 100, 100);
        // The third segment starts off the second's end by the gap.
        AddGridSegment(model.m_GridPathList, 0, 100 + c.gapX, 100 + c.gapY, 0, 100);
        AddGridSegment(model.m_GridPathList, 0, 0, 100, 0, 0);
        EXPECT_EQ(SplitIntoRings(model.m_GridPathList), c.rings);
    }
    CBoardModel empty;
    EXPECT_TRUE(SplitIntoRings(empty.m_GridPathList).empty());
}

TEST(CopperToRoute, TracksAreOrderedIntoChainsTurnedToFollowOn)
{
    CBoardModel model;
    // An L drawn backwards and out of order, a lone track far off, and an
    // arc record that has no ends to chain.
    CTrackRecord* second = AddTrack(model.m_TrackList, 0, 200, 100, 100, 100, 10);   // reversed
    CTrackRecord* lone = AddTrack(model.m_TrackList, 0, 900, 900, 950, 900, 10);
    CTrackRecord* first = AddTrack(model.m_TrackList, 0, 100, 0, 100, 100, 10);
    CTrackRecord* arc = AddTrack(model.m_TrackList, 8, 50, 50, 0.0f, 1.5f, 20);
    CTrackRecord* third = AddTrack(model.m_TrackList, 0, 200, 100, 200, 300, 10);
    CRefList<CTrackRecord> picked{second, lone, first, arc, third};
    int steps = 0;
    const CRefList<CTrackRecord> ordered = OrderTracksIntoChains(picked, [&] { ++steps; });

    EXPECT_EQ(ordered, (CRefList<CTrackRecord>{first, second, third, lone}));
    EXPECT_EQ(picked, CRefList<CTrackRecord>{arc});
    // The reversed track now starts where the first one ends.
    EXPECT_FLOAT_EQ(second->x1, 100);
    EXPECT_FLOAT_EQ(second->x2, 200);
    EXPECT_FLOAT_EQ(third->y1, 100);
    EXPECT_FLOAT_EQ(arc->x2, 0.0f);
    EXPECT_GE(steps, 4);

    // A coordinate beyond the search's reach still ends up in the order.
    CTrackRecord* wild = AddTrack(model.m_TrackList, 0, 2e7f, 2e7f, 3e7f, 2e7f, 10);
    CRefList<CTrackRecord> damaged{wild};
    EXPECT_EQ(OrderTracksIntoChains(damaged, nullptr), CRefList<CTrackRecord>{wild});
}

TEST(CopperToRoute, TakenCopperGoesBackExactlyWhereItWas)
{
    CBoardModel model;
    std::vector<CTrackRecord*> tracks;
    for (int i = 0; i < 5; ++i)
        tracks.push_back(AddTrack(model.m_TrackList, 0, float(i), 0, float(i), 10, 5));
    CFlashRecord* pad = AddFlash(model.m_FlashList, 1, 1, 5);
    CFlashRecord* kept = AddFlash(model.m_FlashList, 2, 2, 5);
    CFlashRecord* pad2 = AddFlash(model.m_PadList2, 3, 3, 5);
    auto route = std::make_unique<CNamedLayer>();
    CTrackRecord* routeTrack = AddTrack(route->tracks, 0, 7, 7, 8, 8, 1);
    model.m_NamedLayerList.push_back(std::move(route));
    model.m_TrackRefList = {tracks[1], tracks[2], tracks[4]};

    const auto before = [&] {
        std::vector<const void*> all;
        for (auto& t : model.m_TrackList)
            all.push_back(t.get());
        for (auto& f : model.m_FlashList)
            all.push_back(f.get());
        for (auto& f : model.m_PadList2)
            all.push_back(f.get());
        for (auto& t : model.m_NamedLayerList[0]->tracks)
            all.push_back(t.get());
        return all;
    };
    const std::vector<const void*> original = before();
    const CRefList<CTrackRecord> refs = model.m_TrackRefList;

    CTakenCopper taken = TakeCopper(model, {tracks[1], tracks[4], routeTrack}, {pad, pad2});
    ASSERT_EQ(model.m_TrackList.size(), 3u);
    EXPECT_EQ(model.m_TrackList[1].get(), tracks[2]);
    EXPECT_EQ(model.m_FlashList.size(), 1u);
    EXPECT_EQ(model.m_FlashList[0].get(), kept);
    EXPECT_TRUE(model.m_PadList2.empty());
    EXPECT_TRUE(model.m_NamedLayerList[0]->tracks.empty());
    EXPECT_EQ(model.m_TrackRefList, CRefList<CTrackRecord>{tracks[2]});

    PutCopperBack(model, taken);
    EXPECT_EQ(before(), original);
    EXPECT_EQ(model.m_TrackRefList, refs);
    EXPECT_TRUE(taken.tracks.empty());
}

TEST(CopperToRoute, OutlineCopiesKeepOnlyWhatTheRouterFollows)
{
    CBoardModel model;
    CTrackRecord* line = AddTrack(model.m_TrackList, 1, 10, 20, 30, 40, 12);
    CTrackRecord* arc = AddTrack(model.m_TrackList, 8, 50, 50, 0.0f, 1.5f, 25);
    CFlashRecord* pad = AddFlash(model.m_FlashList, 5, 6, 30);
    AddGridSegment(model.m_GridPathList, 0, 0, 0, 1, 1);
    AddFlash(model.m_PadList2, 9, 9, 9);
    model.m_PanelLayout.m_SelTracks = {line, arc};
    model.m_PanelLayout.m_SelFlashes = {pad};

    CCopperOutline outline = OutlineCopies({line, arc}, {pad});
    // The originals are untouched until the copies replace the copper.
    EXPECT_FLOAT_EQ(line->width, 12);
    ReplaceCopper(model, std::move(outline));
    ASSERT_EQ(model.m_TrackList.size(), 2u);
    EXPECT_FLOAT_EQ(model.m_TrackList[0]->width, 0);
    EXPECT_FLOAT_EQ(model.m_TrackList[0]->x2, 30);
    EXPECT_EQ(model.m_TrackList[0]->type, 1);
    // An arc record's width field is its radius.
    EXPECT_FLOAT_EQ(model.m_TrackList[1]->width, 25);
    ASSERT_EQ(model.m_FlashList.size(), 1u);
    EXPECT_FLOAT_EQ(model.m_FlashList[0]->radius, 0);
    EXPECT_FLOAT_EQ(model.m_FlashList[0]->y, 6);
    EXPECT_TRUE(model.m_PadList2.empty());
    EXPECT_TRUE(model.m_GridPathList.empty());
    EXPECT_TRUE(model.m_PanelLayout.m_SelTracks.empty());
}

TEST(CopperToRoute, RouteLayerAndTableFrame)
{
    CBoardModel model;
    CPathRecord* layer = RouteDrawingLayer(model, 1.5f);
    EXPECT_EQ(layer->name, "ROUTE1.5");
    EXPECT_NEAR(layer->size, 59.055, 1e-3);
    EXPECT_EQ(layer->depth, 0.0f);
    EXPECT_EQ(layer->side, 5);
    // The same router finds the same layer again.
    EXPECT_EQ(RouteDrawingLayer(model, 1.5f), layer);
    EXPECT_EQ(RouteLayerName(2.0), "ROUTE2");

    AddTableFrame(*layer, 12204.0, 8000.0);
    const double expected[4][4] = {
        {0, 8000, 0, 0}, {0, 0, 12204, 0}, {12204, 0, 12204, 8000}, {12204, 8000, 0, 8000}};
    ASSERT_EQ(layer->items.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        const CPathSegment& s = *layer->items[i];
        EXPECT_EQ((std::vector<double>{s.x1, s.y1, s.x2, s.y2}),
                  (std::vector<double>(expected[i], expected[i] + 4)))
            << i;
        EXPECT_EQ(s.type, 0);
        EXPECT_EQ(s.radius, 0.0);
    }
}
