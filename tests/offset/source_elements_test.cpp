// Source elements from the working side's strokes and pads.
#include "offset/source_elements.h"
#include "offset_fixture.h"
#include "support/record_makers.h"

#include <gtest/gtest.h>

namespace {

struct SourceBuild : ::testing::Test {
    COffsetEngineLists lists;
    COwnedList<CTrackRecord> tracks;
    COwnedList<CFlashRecord> pads;

    void Build(int side = 0) { BuildSourceElements(lists, tracks, pads, side); }
};

void ExpectPoint(const CDPoint& p, double x, double y)
{
    // Arc records hold their angles as floats.
    EXPECT_NEAR(p.x, x, 1e-5);
    EXPECT_NEAR(p.y, y, 1e-5);
}

}  // namespace

TEST_F(SourceBuild, EachRecordKindBecomesItsElements)
{
    AddTrack(tracks, 0, 0, 0, 100, 0, 10);                      // line
    AddTrack(tracks, 0, 0, 50, 100, 50, 10)->chordMark = 100;  // chord of an arc: left out
    AddTrack(tracks, 2, 0, 80, 0, 120, 12);                     // oval stroke: a line
    AddTrack(tracks, 4, 0, 0, 1, 1, 1);                         // no source
    CTrackRecord* arc = AddTrack(tracks, 8, 10, 20, float(M_PI / 2), float(M_PI), 30);
    arc->arcHalfWidth = 4;
    arc->chordMark = 100;   // arcs are taken whatever the marker holds
    AddFlash(pads, 100, 50, 10);
    AddFlash(pads, 0, 0, 5)->type = 1;         // not round: nothing
    AddFlash(pads, 0, 0, 5)->arcMark = 100;    // marked: nothing
    AddFlash(pads, 200, 50, 8)->type = 2;      // an oval aperture's round flash: a circle
    Build(1);

    ASSERT_EQ(lists.m_IsoSources.size(), 5u);
    EXPECT_EQ(lists.m_IsoSources[4]->Kind, ISO_CIRCLE);
    EXPECT_EQ(lists.m_IsoSources[4]->Radius, 8.0);
    EXPECT_EQ(lists.m_IsoElements.Elements(), lists.m_IsoSources);
    for (const CIsoElement* e : lists.m_IsoSources) {
        EXPECT_EQ(e->Class, ISO_SOURCE);
        EXPECT_EQ(e->GroupNo[0], -1);
        EXPECT_EQ(e->Source, nullptr);
    }
    const CIsoElement& line = *lists.m_IsoSources[0];
    EXPECT_EQ(line.Kind, ISO_LINE);
    EXPECT_EQ(line.Origin, tracks[0].get());
    EXPECT_EQ(line.Radius, 10.0);
    EXPECT_EQ(lists.m_IsoSources[1]->Kind, ISO_LINE);
    EXPECT_EQ(lists.m_IsoSources[1]->Radius, 12.0);

    const CIsoElement& a = *lists.m_IsoSources[2];
    EXPECT_EQ(a.Kind, ISO_ARC);
    EXPECT_NEAR(a.StartAngle, double(float(M_PI / 2)) * 180.0 / 3.1415926, 1e-9);
    EXPECT_NEAR(a.EndAngle, double(float(M_PI)) * 180.0 / 3.1415926, 1e-9);
    ExpectPoint(a.Pt1, 10, 50);
    ExpectPoint(a.Pt2, -20, 20);
    EXPECT_EQ(a.HalfWidth, 4.0);
    EXPECT_EQ(a.Side, 1);

    const CIsoElement& pad = *lists.m_IsoSources[3];
    EXPECT_EQ(pad.Kind, ISO_CIRCLE);
    ExpectPoint(pad.Pt1, 110, 50);
    ExpectPoint(pad.Pt2, 110, 50);
    EXPECT_EQ(pad.EndAngle, -0.001);
    EXPECT_EQ(pad.Origin, pads[0].get());
}

TEST_F(SourceBuild, RectanglesKeepTheirCornersInOrder)
{
    AddTrack(tracks, 1, -30, 0, 30, 0, 40);     // 60 by 40, drawn along x
    AddTrack(tracks, 1, 200, -30, 200, 30, 40); // drawn along y: 40 by 60
    Build();
    ASSERT_EQ(lists.m_IsoSources.size(), 10u);
    const CIsoElement& rect = *lists.m_IsoSources[0];
    EXPECT_EQ(rect.Kind, ISO_RECT);
    EXPECT_EQ(rect.Radius, 60.0);
    EXPECT_EQ(rect.StartAngle, 40.0);
    const double corners[4][2] = {{30, 20}, {-30, 20}, {-30, -20}, {30, -20}};
    for (int i = 0; i < 4; ++i) {
        const CIsoElement& c = *lists.m_IsoSources[1 + i];
        EXPECT_EQ(c.Kind, ISO_CIRCLE);
        EXPECT_EQ(c.Radius, 0.0);
        EXPECT_EQ(c.Source, &rect);
        EXPECT_EQ(c.Origin, nullptr);
        ExpectPoint(c.Pt0, corners[i][0], corners[i][1]);
        ExpectPoint(c.Pt1, corners[i][0], corners[i][1]);
    }
    const CIsoElement& upright = *lists.m_IsoSources[5];
    EXPECT_EQ(upright.Radius, 40.0);
    EXPECT_EQ(upright.StartAngle, 60.0);
    ExpectPoint(lists.m_IsoSources[6]->Pt0, 220, 30);
}

TEST_F(SourceBuild, ASlantedRectangleKeepsItsSlant)
{
    // A 30 by 10 bar drawn from (0, 0) to (18, 24).
    AddTrack(tracks, 1, 0, 0, 18, 24, 10);
    Build();
    ASSERT_EQ(lists.m_IsoSources.size(), 5u);
    const CIsoElement& rect = *lists.m_IsoSources[0];
    EXPECT_EQ(rect.Radius, 30.0);
    EXPECT_EQ(rect.StartAngle, 10.0);
    ExpectPoint(rect.Pt1, 0.6, 0.8);
    // Corners: the ends of the stroke moved 5 across it.
    ExpectPoint(lists.m_IsoSources[1]->Pt0, 18 - 4, 24 + 3);
    ExpectPoint(lists.m_IsoSources[3]->Pt0, 0 + 4, 0 - 3);
    // The judge agrees the bar covers the stroke and no more.
    BShape copper = CopperShape(rect);
    EXPECT_NEAR(bg::area(copper), 300.0, 1e-6);
    EXPECT_TRUE(bg::within(BPoint(9, 12), copper));
    EXPECT_FALSE(bg::within(BPoint(15, 5), copper));   // the axis-parallel box held it
}

TEST_F(SourceBuild, ASecondBuildLeavesOnlyItsOwnElements)
{
    AddTrack(tracks, 0, 0, 0, 10, 0, 5);
    Build();
    lists.m_IsoGroups.push_back(std::make_unique<CIsoGroup>());
    lists.m_IsoSplitPieces.push_back(lists.m_IsoSources[0]);
    AddFlash(pads, 5, 5, 2);
    Build();
    EXPECT_EQ(lists.m_IsoElements.Count(), 2u);
    EXPECT_EQ(lists.m_IsoSources.size(), 2u);
    EXPECT_TRUE(lists.m_IsoGroups.empty());
    EXPECT_TRUE(lists.m_IsoSplitPieces.empty());
}
