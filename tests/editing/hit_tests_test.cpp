// The searches behind the picks: hole reach by tool size, pads touching a
// track end, the connected copper, snapping a drawn segment, hand-added
// holes.
#include "editing/hit_tests.h"

#include "geometry/board_orientation.h"
#include "records/board_records.h"
#include "records/copper_records.h"
#include "support/record_makers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

TEST(HitTests, AHoleIsFoundWithinItsToolsDiameterAPanelHoleWithinHalf)
{
    COwnedList<CDrillTool> tools;
    AddDrillTool(tools, 1, 30.7f, 1, {CDPoint(100, 100)});
    AddDrillTool(tools, 2, 0.0f, 1, {CDPoint(500, 500)});
    struct Case {
        CDPoint at;
        CDPoint found;
        int reach;
    } cases[] = {
        {CDPoint(130, 100), CDPoint(100, 100), 30},   // exactly the truncated diameter
        {CDPoint(130.5, 100), CDPoint(0, 0), 0},
        {CDPoint(500, 540), CDPoint(500, 500), 40},   // a tool without size reaches 40
        {CDPoint(500, 540.1), CDPoint(0, 0), 0},
    };
    for (const Case& c : cases) {
        int reach = 0;
        const CDrillTool* tool = nullptr;
        const CDPoint p = FindDrillHoleNear(tools, c.at, &tool, &reach);
        EXPECT_EQ(p.x, c.found.x);
        EXPECT_EQ(p.y, c.found.y);
        EXPECT_EQ(reach, c.reach);
        EXPECT_EQ(tool != nullptr, c.reach != 0);
    }

    // One copy at (1000, 1000), mirrored in x: hole (100, 100) of a board
    // whose centre is (200, 200) lands at (1100, 900).
    COwnedList<CLayoutBlock> blocks;
    auto block = std::make_unique<CLayoutBlock>(0, 0, 400, 400);
    block->m_Centre = CDPoint(1000, 1000);
    block->m_Sign = POINT{-1, 1};
    blocks.push_back(std::move(block));
    CDPoint p = FindPanelHoleAt(blocks, tools, CDPoint(1100 + 15.35, 900));
    EXPECT_EQ(p.x, 1100.0);
    EXPECT_EQ(p.y, 900.0);
    p = FindPanelHoleAt(blocks, tools, CDPoint(1100 + 15.4, 900));
    EXPECT_EQ(p.x, 0.0);
    // The 0 tool reaches 40 on the panel as well.
    p = FindPanelHoleAt(blocks, tools, CDPoint(700, 1340));
    EXPECT_EQ(p.x, 700.0);
    EXPECT_EQ(p.y, 1300.0);
}

TEST(HitTests, APadTouchesATrackEndUpToItsSizeLessOneAndAHalf)
{
    CTrackRecord track;
    track.x1 = 0;
    track.y1 = 0;
    track.x2 = 100;
    track.y2 = 0;
    CFlashRecord pad;
    pad.radius = 10;
    for (auto [x, touches] : {std::pair{108.5f, true}, {108.6f, false}, {-8.5f, true}, {50.0f, false}}) {
        pad.x = x;
        EXPECT_EQ(PadTouchesTrackEnd(pad, track), touches) << x;
    }
}

TEST(HitTests, ConnectedCopperFollowsLineEndsAndStraightTracks)
{
    COwnedList<CTrackRecord> tracks;
    CTrackRecord* start = AddTrack(tracks, 0, 0, 0, 100, 0, 10);
    CTrackRecord* line = AddTrack(tracks, 0, 100, 0, 100, 100, 10);        // shares an end
    CTrackRecord* far = AddTrack(tracks, 0, 300, 300, 400, 300, 10);       // apart
    CTrackRecord* bar = AddTrack(tracks, 1, 90, 100, 200, 100, 20);        // holds (100, 100)
    CTrackRecord* arc = AddTrack(tracks, 3, 0, 0, 0.0f, 1.0f, 50);         // arcs never connect
    CTrackRecord* nearMiss = AddTrack(tracks, 0, 100.002f, 0, 100, -50, 10);
    CTrackRecord* last = AddTrack(tracks, 0, 200, 100, 250, 150, 5);       // not an end of the bar
    CRefList<CTrackRecord> found{start};
    std::vector<const CTrackRecord*> order;
    CollectConnectedTracks(&tracks, *start, found,
                           [&](const CTrackRecord& t) { order.push_back(&t); });
    // Depth first: the line, then from its far end the bar; the bar's ends
    // (90, 100) and (200, 100) reach the last line; the near miss is within
    // the 0.001 of point equality no more.
    ASSERT_EQ(order.size(), 3u);
    EXPECT_EQ(order[0], line);
    EXPECT_EQ(order[1], bar);
    EXPECT_EQ(order[2], last);
    EXPECT_EQ(found.size(), 4u);
    for (const CTrackRecord* t : {far, arc, nearMiss})
        EXPECT_EQ(std::count(found.begin(), found.end(), t), 0);

    // A long chain is followed to its end.
    COwnedList<CTrackRecord> chain;
    for (int i = 0; i < 3000; ++i)
        AddTrack(chain, 0, float(i), 0, float(i + 1), 0, 5);
    CRefList<CTrackRecord> all;
    CollectConnectedTracks(&chain, *chain.front(), all, nullptr);
    EXPECT_EQ(all.size(), chain.size());
}

TEST(HitTests, ASegmentEndSnapsToAnItemEndCloserThanTwo)
{
    COwnedList<CPathRecord> layers;
    auto shown = std::make_unique<CPathRecord>();
    AddSegment(*shown, 0, 0, 0, 100, 0);
    AddSegment(*shown, 0, 300, 0, 400, 0);
    auto hidden = std::make_unique<CPathRecord>();
    hidden->side = 1;
    AddSegment(*hidden, 0, 50, 50, 60, 60);
    layers.push_back(std::move(hidden));
    layers.push_back(std::move(shown));
    auto onSide0 = [](const CPathRecord& l) { return l.side == 0; };
    struct Case {
        CDPoint p1, p2;
        CDPoint want1, want2;
    } cases[] = {
        {CDPoint(102, 0), CDPoint(500, 500), CDPoint(102, 0), CDPoint(500, 500)},   // 2.0: no
        {CDPoint(101.99, 0), CDPoint(500, 500), CDPoint(100, 0), CDPoint(500, 500)},
        // The first item that snaps ends the search: the second end stays.
        {CDPoint(1, 0), CDPoint(301, 0), CDPoint(0, 0), CDPoint(301, 0)},
        {CDPoint(51, 51), CDPoint(500, 500), CDPoint(51, 51), CDPoint(500, 500)},   // other side
        // An end already on an item end (the segment's own) does not end
        // the search: the other end still snaps.
        {CDPoint(0, 0), CDPoint(301, 0), CDPoint(0, 0), CDPoint(300, 0)},
    };
    for (Case c : cases) {
        SnapSegmentEnds(layers, onSide0, &c.p1, &c.p2);
        EXPECT_EQ(c.p1.x, c.want1.x);
        EXPECT_EQ(c.p1.y, c.want1.y);
        EXPECT_EQ(c.p2.x, c.want2.x);
    }
    const CPathSegment* item = layers[1]->items[0].get();
    EXPECT_FALSE(RemovePathItem(layers, [](const CPathRecord& l) { return l.side == 1; }, item));
    EXPECT_TRUE(RemovePathItem(layers, onSide0, item));
    EXPECT_EQ(layers[1]->items.size(), 1u);
}

TEST(HitTests, AHandAddedHoleGoesToTheToolOfExactlyItsSize)
{
    COwnedList<CDrillTool> tools;
    std::array<float, DRILL_TOOL_SIZES> sizes{};
    AddDrillTool(tools, 1, 31.5f, 1, {});
    AddHandDrill(tools, sizes, 31.5f, CDPoint(1, 2));
    // One step of the float further is another tool.
    const float next = std::nextafter(31.5f, 100.0f);
    AddHandDrill(tools, sizes, next, CDPoint(3, 4));
    AddHandDrill(tools, sizes, next, CDPoint(5, 6));
    ASSERT_EQ(tools.size(), 2u);
    EXPECT_EQ(tools[0]->holes.size(), 1u);
    EXPECT_EQ(tools[1]->holes.size(), 2u);
    EXPECT_EQ(tools[1]->toolNumber, 2);
    EXPECT_EQ(tools[1]->mode, 1);
    EXPECT_EQ(sizes[2], next);
}
