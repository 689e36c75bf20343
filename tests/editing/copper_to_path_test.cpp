// Picked copper as a T1 engraving layer: chain numbers of tracks drawn end
// to end, the two rings of a round pad, and what gets no ring.
#include "editing/copper_to_path.h"

#include "records/board_model.h"
#include "support/record_makers.h"

#include <gtest/gtest.h>

TEST(CopperToPath, TracksEndToEndShareAChainAndRoundPadsGetTwoRings)
{
    CBoardModel model;
    model.m_PathLayerList.push_back(std::make_unique<CPathRecord>());
    CRefList<CTrackRecord> tracks{
        AddTrack(model.m_TrackList, 0, 10, 0, 20, 0, 8),
        AddTrack(model.m_TrackList, 0, 20, 0, 20, 30, 8),
        AddTrack(model.m_TrackList, 0, 20, 30, 50, 30, 8),
        AddTrack(model.m_TrackList, 0, 90, 90, 95, 95, 8),
    };
    CFlashRecord* round = AddFlash(model.m_FlashList, 100, 100, 20);
    CFlashRecord* joint = AddFlash(model.m_FlashList, 20, 0, 4);
    joint->type = 3;
    CFlashRecord* tiny = AddFlash(model.m_FlashList, 0, 0, 6);
    CRefList<CFlashRecord> flashes{round, joint, tiny};

    CPathRecord* layer = CopperToT1Path(model, tracks, flashes, 1, 8.0f, 3.0f);
    ASSERT_EQ(model.m_PathLayerList.front().get(), layer);
    EXPECT_EQ(layer->name, "T1ISO");
    EXPECT_EQ(layer->side, 1);
    EXPECT_FLOAT_EQ(layer->size, 8);
    EXPECT_FLOAT_EQ(layer->depth, 3);
    EXPECT_EQ(layer->colour, 0xAAAADCu);
    EXPECT_EQ(layer->visible, 1);

    // A first track away from (0, 0) starts chain 1; the fourth is apart.
    std::vector<int> chains;
    for (const auto& s : layer->items)
        chains.push_back(s->value);
    // The tiny pad (radius 6, tool 8) keeps its outer ring (6 - 4) only.
    EXPECT_EQ(chains, (std::vector<int>{1, 1, 1, 2, 3, 4, 5}));
    const CPathSegment& outer = *layer->items[4];
    EXPECT_EQ(outer.type, 2);
    EXPECT_DOUBLE_EQ(outer.x1, 116);
    EXPECT_DOUBLE_EQ(outer.x2, 116);
    EXPECT_DOUBLE_EQ(outer.radius, 16);
    EXPECT_DOUBLE_EQ(outer.cx, 100);
    EXPECT_DOUBLE_EQ(layer->items[5]->radius, 12);
    EXPECT_DOUBLE_EQ(layer->items[6]->radius, 2);
    EXPECT_EQ(layer->items[0]->flag, 0);

    // Nothing picked still makes a layer, in front of the first.
    CPathRecord* empty = CopperToT1Path(model, {}, {}, 0, 8.0f, 3.0f);
    EXPECT_TRUE(empty->items.empty());
    EXPECT_EQ(model.m_PathLayerList.size(), 3u);
    EXPECT_EQ(model.m_PathLayerList[1].get(), layer);
}

TEST(CopperToPath, FirstTrackFromTheOriginKeepsChainZero)
{
    CBoardModel model;
    CRefList<CTrackRecord> tracks{AddTrack(model.m_TrackList, 0, 0, 0, 20, 0, 8)};
    CPathRecord* layer = CopperToT1Path(model, tracks, {}, 0, 8.0f, 3.0f);
    ASSERT_EQ(layer->items.size(), 1u);
    EXPECT_EQ(layer->items[0]->value, 0);
}
