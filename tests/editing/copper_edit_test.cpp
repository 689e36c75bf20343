// The copper editor's record work: the delete that frees each record once
// wherever it is held, copies with fresh record numbers, drags that stretch
// attached tracks, and the split of a track at a point.
#include "editing/add_copper.h"
#include "editing/copper_edit.h"

#include "platform/font_choice.h"
#include "records/board_model.h"
#include "support/record_makers.h"

#include <gtest/gtest.h>

namespace {

class CopperEdit : public testing::Test {
protected:
    CBoardModel model;
    CRefList<CTrackRecord> tracks;
    CRefList<CFlashRecord> flashes;
};

}  // namespace

TEST_F(CopperEdit, DeleteFreesEachPickedRecordOnceWhereverItIsHeld)
{
    CTrackRecord* kept = AddTrack(model.m_TrackList, 0, 0, 0, 10, 0, 5);
    CTrackRecord* copper = AddTrack(model.m_TrackList, 0, 0, 10, 10, 10, 5);
    CFlashRecord* pad = AddFlash(model.m_FlashList, 5, 5, 3);
    CFlashRecord* pad2 = AddFlash(model.m_PadList2, 6, 6, 3);
    auto route = std::make_unique<CNamedLayer>();
    route->name = "route";
    CTrackRecord* outline = AddTrack(route->tracks, 0, 0, 0, 400, 0, 5);
    CFlashRecord* corner = AddFlash(route->flashes, 400, 0, 2);
    model.m_NamedLayerList.push_back(std::move(route));
    model.m_TrackRefList = {copper, kept};
    CTrackRecord stranger;

    // A record picked twice, records of a named layer and one that no list
    // owns: each owned record goes once, the stranger is left alone.
    tracks = {copper, copper, outline, &stranger};
    flashes = {pad, corner, pad2};
    EXPECT_EQ(DeleteCopper(tracks, flashes, model), 5);
    EXPECT_TRUE(tracks.empty());
    EXPECT_TRUE(flashes.empty());
    ASSERT_EQ(model.m_TrackList.size(), 1u);
    EXPECT_EQ(model.m_TrackList[0].get(), kept);
    EXPECT_TRUE(model.m_FlashList.empty());
    EXPECT_TRUE(model.m_PadList2.empty());
    EXPECT_TRUE(model.m_NamedLayerList[0]->tracks.empty());
    EXPECT_TRUE(model.m_NamedLayerList[0]->flashes.empty());
    EXPECT_EQ(model.m_TrackRefList, CRefList<CTrackRecord>{kept});
}

TEST_F(CopperEdit, CopyAddsMovedRecordsWithFreshNumbersAndKeepsTheSources)
{
    tracks = {AddTrack(model.m_TrackList, 0, 0, 0, 10, 0, 5),
              AddTrack(model.m_TrackList, 1, 10, 0, 10, 20, 8)};
    flashes = {AddFlash(model.m_FlashList, 10, 0, 4)};
    model.m_ReaderState = 40;
    CopyCopper(tracks, flashes, CDPoint(100, 50), model);

    ASSERT_EQ(model.m_TrackList.size(), 4u);
    ASSERT_EQ(model.m_FlashList.size(), 2u);
    const CTrackRecord& copy = *model.m_TrackList[3];
    EXPECT_FLOAT_EQ(copy.x1, 110);
    EXPECT_FLOAT_EQ(copy.y2, 70);
    EXPECT_EQ(copy.type, 1);
    EXPECT_FLOAT_EQ(copy.width, 8);
    EXPECT_EQ(model.m_TrackList[2]->recordNo, 40);
    EXPECT_EQ(copy.recordNo, 41);
    EXPECT_EQ(model.m_FlashList[1]->recordNo, 42);
    EXPECT_FLOAT_EQ(model.m_FlashList[1]->x, 110);
    EXPECT_EQ(model.m_ReaderState, 43);
    EXPECT_FLOAT_EQ(tracks[0]->x1, 0);  // the sources stay
}

TEST_F(CopperEdit, DragMovesTheFirstTrackAndStretchesTheAttachedOnes)
{
    CTrackRecord* first = AddTrack(model.m_TrackList, 0, 0, 0, 100, 0, 10);
    CTrackRecord* atEnd = AddTrack(model.m_TrackList, 0, 100, 0, 100, 80, 10);
    CTrackRecord* loose = AddTrack(model.m_TrackList, 0, 200, 0, 300, 0, 10);
    StretchTracks({first, atEnd, loose}, CDPoint(5, 7));
    EXPECT_FLOAT_EQ(first->x1, 5);
    EXPECT_FLOAT_EQ(first->y2, 7);
    EXPECT_FLOAT_EQ(atEnd->x1, 105);  // attached end follows
    EXPECT_FLOAT_EQ(atEnd->y1, 7);
    EXPECT_FLOAT_EQ(atEnd->y2, 80);   // far end stays
    EXPECT_FLOAT_EQ(loose->x1, 200);

    // A joint drags every end on it.
    CFlashRecord* joint = AddFlash(model.m_FlashList, 105, 7, 5);
    MoveJoint(joint, CDPoint(105, 7), {first, atEnd}, CDPoint(-5, -7));
    EXPECT_FLOAT_EQ(joint->x, 100);
    EXPECT_FLOAT_EQ(first->x2, 100);
    EXPECT_FLOAT_EQ(atEnd->y1, 0);
    EXPECT_FLOAT_EQ(first->x1, 5);
}

TEST_F(CopperEdit, SplitLeavesTwoTracksMeetingAtANewJoint)
{
    CTrackRecord* t = AddTrack(model.m_TrackList, 0, 0, 0, 100, 0, 12);
    t->aperture = 7;
    AddFlash(model.m_FlashList, 0, 0, 6);
    CFlashRecord* joint = SplitTrackAt(*t, CDPoint(40, 0), model);

    ASSERT_EQ(model.m_TrackList.size(), 2u);
    const CTrackRecord& copy = *model.m_TrackList[1];
    EXPECT_FLOAT_EQ(copy.x1, 0);
    EXPECT_FLOAT_EQ(copy.x2, 40);
    EXPECT_FLOAT_EQ(t->x1, 40);
    EXPECT_FLOAT_EQ(t->x2, 100);
    EXPECT_EQ(model.m_FlashList.front().get(), joint);
    EXPECT_EQ(joint->type, 3);
    EXPECT_FLOAT_EQ(joint->radius, 6);
    EXPECT_EQ(joint->aperture, 7);
}

TEST_F(CopperEdit, AddedShapesAndWidths)
{
    // The rectangle (0,0)-(100,40) is one flat-ended track along its middle.
    CTrackRecord* rect = AddCopperRect(model, CDPoint(0, 0), CDPoint(100, 40));
    EXPECT_EQ(rect->type, 1);
    EXPECT_FLOAT_EQ(rect->x1, 50);
    EXPECT_FLOAT_EQ(rect->y1, 0);
    EXPECT_FLOAT_EQ(rect->x2, 50);
    EXPECT_FLOAT_EQ(rect->y2, 40);
    EXPECT_FLOAT_EQ(rect->width, 100);
    // From right to left the same width; a fraction of a mil is cut.
    EXPECT_FLOAT_EQ(AddCopperRect(model, CDPoint(100.7, 0), CDPoint(0, 40))->width, 100);

    CFlashRecord* circle = AddCopperCircle(model, CDPoint(10, 10), CDPoint(10, 40));
    EXPECT_FLOAT_EQ(circle->radius, 30);
    EXPECT_EQ(circle->type, 0);
    EXPECT_EQ(model.m_TrackList.size(), 2u);
    EXPECT_EQ(circle->recordNo, 2);

    CFlashRecord* joint = AddCopperJoint(model, CDPoint(0, 0), 6, 0);
    SetTrackWidth({rect}, {joint, circle}, 20);
    EXPECT_FLOAT_EQ(rect->width, 20);
    EXPECT_FLOAT_EQ(joint->radius, 10);
    EXPECT_FLOAT_EQ(circle->radius, 30);  // only joints follow the width
}

TEST_F(CopperEdit, SideShiftMovesAnArcByItsCentreOnly)
{
    CTrackRecord* line = AddTrack(model.m_TrackList, 0, 0, 0, 10, 0, 5);
    CTrackRecord* arc = AddTrack(model.m_TrackList, 3, 50, 50, 0.0f, 1.5f, 20);
    CFlashRecord* second = AddFlash(model.m_PadList2, 1, 1, 2);
    ShiftSideCopper(model, CDPoint(10, 20));
    EXPECT_FLOAT_EQ(line->x2, 20);
    EXPECT_FLOAT_EQ(line->y2, 20);
    EXPECT_FLOAT_EQ(arc->x1, 60);
    EXPECT_FLOAT_EQ(arc->x2, 0.0f);  // the angles stay
    EXPECT_FLOAT_EQ(arc->y2, 1.5f);
    EXPECT_FLOAT_EQ(second->y, 21);
}

TEST_F(CopperEdit, EngravedTextStandsOnThePressedPointAndMirrorsOnTheSolderSide)
{
    // The cell 40 x 20 first, then one figure of three points.
    const std::vector<POINT> path{{0, 0},  {40, 0}, {40, 20}, {0, 20},
                                  {10, 5}, {20, 5}, {20, 15}};
    const std::vector<unsigned char> kinds{PT_MOVETO, PT_LINETO, PT_LINETO,
                                           PT_LINETO | PT_CLOSEFIGURE, PT_MOVETO, PT_LINETO,
                                           PT_LINETO | PT_CLOSEFIGURE};
    struct Case {
        bool mirrored;
        float x[3];
    } cases[] = {{false, {110, 120, 120}}, {true, {130, 120, 120}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mirrored);
        model.m_TrackList.clear();
        model.m_FlashList.clear();
        model.m_ReaderState = 7;
        EXPECT_EQ(AddEngravedText(model, path, kinds, POINT{100, 200}, c.mirrored), 2);
        ASSERT_EQ(model.m_TrackList.size(), 2u);
        ASSERT_EQ(model.m_FlashList.size(), 3u);
        const CTrackRecord& first = *model.m_TrackList[0];
        EXPECT_FLOAT_EQ(first.x1, c.x[0]);
        EXPECT_FLOAT_EQ(first.y1, 215);
        EXPECT_FLOAT_EQ(first.x2, c.x[1]);
        EXPECT_FLOAT_EQ(first.width, 6);
        EXPECT_EQ(first.recordNo, 7);
        EXPECT_FLOAT_EQ(model.m_TrackList[1]->y2, 205);
        // The points' joints, newest at the head, carry the counter as it
        // stands without taking a number.
        EXPECT_FLOAT_EQ(model.m_FlashList[0]->x, c.x[2]);
        EXPECT_FLOAT_EQ(model.m_FlashList[0]->radius, 2.6f);
        EXPECT_EQ(model.m_FlashList[0]->type, 3);
        EXPECT_EQ(model.m_FlashList[0]->recordNo, 9);
        EXPECT_EQ(model.m_ReaderState, 9);
    }
    // A path with nothing but the cell, or kinds that do not match it.
    EXPECT_EQ(AddEngravedText(model, {path.begin(), path.begin() + 4}, {kinds.begin(), kinds.begin() + 4},
                              POINT{}, false),
              0);
    EXPECT_EQ(AddEngravedText(model, path, {}, POINT{}, false), 0);
}
