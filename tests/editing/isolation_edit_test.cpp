// The isolation editor's state changes: selected, locked and normal
// segments, the delete of selected ones, the ring test, and layers that
// take no part.
#include "editing/isolation_edit.h"

#include "geometry/contour.h"
#include "records/board_records.h"
#include "support/record_makers.h"

#include <gtest/gtest.h>

namespace {

class IsolationEdit : public testing::Test {
protected:
    void SetUp() override
    {
        for (int side : {0, 1}) {
            auto layer = std::make_unique<CPathRecord>();
            layer->name = "T1ISO";
            layer->side = side;
            for (int i = 0; i < 4; ++i)
                AddSegment(*layer, 0, i * 10, 0, i * 10 + 10, 0)->flag = i % 3;
            layers.push_back(std::move(layer));
        }
    }
    std::vector<int> States(int layer) const
    {
        std::vector<int> states;
        for (const auto& s : layers[layer]->items)
            states.push_back(s->flag);
        return states;
    }

    COwnedList<CPathRecord> layers;
    // The component side takes part, the solder side does not.
    PathLayerTest componentSide = [](const CPathRecord& l) { return l.side == 0; };
};

}  // namespace

TEST_F(IsolationEdit, LockUnlockAndDeleteTouchOnlyTheirStatesAndLayers)
{
    // States 0 1 2 0 to start.
    EXPECT_EQ(ChangeSegmentStates(layers, componentSide, SEGMENT_SELECTED, SEGMENT_LOCKED), 1);
    EXPECT_EQ(States(0), (std::vector<int>{0, 2, 2, 0}));
    // Unlock gives normal segments, not selected ones.
    EXPECT_EQ(ChangeSegmentStates(layers, componentSide, SEGMENT_LOCKED, SEGMENT_NORMAL), 2);
    EXPECT_EQ(States(0), (std::vector<int>{0, 0, 0, 0}));
    EXPECT_EQ(States(1), (std::vector<int>{0, 1, 2, 0}));

    layers[0]->items[3]->flag = SEGMENT_SELECTED;
    layers[0]->items[2]->flag = SEGMENT_LOCKED;
    EXPECT_EQ(DeleteSelectedSegments(layers, componentSide), 1);
    EXPECT_EQ(States(0), (std::vector<int>{0, 0, 2}));  // the locked ring survives
    EXPECT_EQ(DeleteSelectedSegments(layers, componentSide), 0);
    EXPECT_EQ(layers[1]->items.size(), 4u);
}

TEST_F(IsolationEdit, ContourTakesSegmentsWithBothEndsInsideAndSkipsLockedOnes)
{
    CContour ring;
    for (CDPoint p : {CDPoint(-1, -5), CDPoint(25, -5), CDPoint(25, 5), CDPoint(-1, 5)})
        ring.AddPoint(p);
    // Segments 0..10, 10..20 lie inside, 20..30 is locked, 30..40 sticks out.
    EXPECT_EQ(SetSegmentStatesInContour(layers, componentSide, ring, SEGMENT_SELECTED), 2);
    EXPECT_EQ(States(0), (std::vector<int>{1, 1, 2, 0}));
    EXPECT_EQ(States(1), (std::vector<int>{0, 1, 2, 0}));
}
