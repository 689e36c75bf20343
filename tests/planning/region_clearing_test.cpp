// Region clearing: the stroke each generator makes of one interval (rows,
// columns, short gaps, the pad ring), the region that falls back to the board,
// the chain with its connecting strokes, turns and crossing test, the
// mill-pads regions, the view's board-wide region and reset, and the indexed
// chain and crossing test against their full scans on random input.
#include "document/velm_doc.h"
#include "geometry/plane_geometry.h"
#include "planning/region_clearing.h"
#include "planning/region_clearing_order.h"
#include "planning/scan_raster.h"
#include "records/board_extent.h"
#include "resource_ids.h"
#include "support/record_makers.h"
#include "support/scripted_host.h"
#include "view/velm_view.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr float kTol = 1e-3f;

struct Seg {
    float x1, y1, x2, y2;
};

// A board of 400 x 400 mil at the given pitch with empty scan lines.
void EmptyRaster(CBoardModel& model, int pitch, int size = 400)
{
    g_BoardMinX = 0;
    g_BoardMinY = 0;
    g_BoardMaxX = size;
    g_BoardMaxY = size;
    model.m_GridStep = pitch;
    model.m_RowList.clear();
    model.m_ColumnList.clear();
    for (int i = 0; i <= size / pitch; ++i) {
        model.m_RowList.push_back(std::make_unique<CSubList>());
        model.m_ColumnList.push_back(std::make_unique<CSubList>());
    }
}

CScanInterval* AddInterval(CSubList& line, float x1, float y1, float x2, float y2,
                           std::uint32_t net = 0)
{
    auto iv = std::make_unique<CScanInterval>();
    iv->x1 = x1;
    iv->y1 = y1;
    iv->x2 = x2;
    iv->y2 = y2;
    iv->startNet = net;
    return AddTail(line.intervals, std::move(iv));
}

// An interval on row i (from x1 to x2) or on column j (from y1 to y2).
void RowInterval(CBoardModel& m, std::size_t i, float x1, float x2, std::uint32_t net = 0)
{
    float y = float(g_BoardMinY + int(i) * m.m_GridStep);
    AddInterval(*m.m_RowList[i], x1, y, x2, y, net);
}

void ColumnInterval(CBoardModel& m, std::size_t j, float y1, float y2, std::uint32_t net = 0)
{
    float x = float(g_BoardMinX + int(j) * m.m_GridStep);
    AddInterval(*m.m_ColumnList[j], x, y1, x, y2, net);
}

CClearRegion RegionOver(int left, int top, int right, int bottom, int step = 4)
{
    CClearRegion region;
    region.step = step;
    region.rect = RECT{left, top, right, bottom};
    return region;
}

std::vector<Seg> StrokesOf(const CClearRegion& region)
{
    std::vector<Seg> out;
    for (const auto& s : region.strokes)
        out.push_back({s->x1, s->y1, s->x2, s->y2});
    return out;
}

std::string Describe(const std::vector<Seg>& segs)
{
    std::string text;
    for (const Seg& s : segs)
        text += "(" + std::to_string(s.x1) + "," + std::to_string(s.y1) + ")->(" +
                std::to_string(s.x2) + "," + std::to_string(s.y2) + ") ";
    return text;
}

void ExpectStrokes(const std::vector<Seg>& got, const std::vector<Seg>& want,
                   const std::string& name)
{
    ASSERT_EQ(got.size(), want.size()) << name << ": " << Describe(got);
    for (std::size_t i = 0; i < want.size(); ++i) {
        EXPECT_NEAR(got[i].x1, want[i].x1, kTol) << name << " #" << i << ": " << Describe(got);
        EXPECT_NEAR(got[i].y1, want[i].y1, kTol) << name << " #" << i << ": " << Describe(got);
        EXPECT_NEAR(got[i].x2, want[i].x2, kTol) << name << " #" << i << ": " << Describe(got);
        EXPECT_NEAR(got[i].y2, want[i].y2, kTol) << name << " #" << i << ": " << Describe(got);
    }
}

using Generator = int (*)(CBoardModel&, CClearRegion&);

int Small25(CBoardModel& m, CClearRegion& r) { return ClearRegionSmall(m, r, 25); }

// One interval, one generator, the stroke it gives (none when `want` is empty).
struct StrokeCase {
    const char* name;
    bool onRow;
    std::size_t line;
    float from, to;
    std::vector<Seg> want;
};

void RunStrokeCases(Generator generate, RECT rect, const std::vector<StrokeCase>& cases)
{
    for (const StrokeCase& c : cases) {
        CBoardModel model;
        EmptyRaster(model, 4);
        if (c.onRow)
            RowInterval(model, c.line, c.from, c.to, 7);
        else
            ColumnInterval(model, c.line, c.from, c.to, 7);
        CClearRegion region = RegionOver(rect.left, rect.top, rect.right, rect.bottom);
        int made = generate(model, region);
        EXPECT_EQ(made, c.want.empty() ? 0 : 1) << c.name;
        ExpectStrokes(StrokesOf(region), c.want, c.name);
        for (const auto& s : region.strokes) {
            EXPECT_EQ(s->plungeValue, 7) << c.name;
            EXPECT_EQ(s->pen, 1) << c.name;
            EXPECT_EQ(s->doneMark, 0) << c.name;
        }
    }
}

}  // namespace

// Area (100, 100)-(200, 200); row 30 lies at y = 120, row 25 on the area's
// top edge, row 50 on its bottom edge.
TEST(RegionClearingStrokes, RowsClipToTheAreaWithTheirInsets)
{
    RunStrokeCases(ClearRegionRows, RECT{100, 100, 200, 200}, {
        {"both ends inside", true, 30, 110, 150, {{113, 120, 147, 120}}},
        {"both inside, 6 mil: a point", true, 30, 110, 116, {{113, 120, 113, 120}}},
        {"both inside, 5 mil: left alone", true, 30, 110, 115, {}},
        {"both inside, 2 mil: left alone", true, 30, 110, 112, {}},
        {"start inside", true, 30, 180, 260, {{183, 120, 200, 120}}},
        {"start inside by 1 mil: turned", true, 30, 199, 230, {{200, 120, 202, 120}}},
        {"start inside, turned past the end", true, 30, 199, 201, {}},
        {"end inside", true, 30, 50, 120, {{100, 120, 117, 120}}},
        {"end inside by 1 mil: turned", true, 30, 50, 101, {{98, 120, 100, 120}}},
        {"through the area", true, 30, 50, 250, {{100, 120, 200, 120}}},
        {"through, on the area's top row", true, 25, 50, 250, {}},
        {"inside in x on the bottom row", true, 50, 110, 150, {}},
        {"left of the area", true, 30, 10, 60, {}},
    });
}

// Column 30 lies at x = 120, column 25 on the area's left edge.
TEST(RegionClearingStrokes, ColumnsNeedTheirMinimumLengths)
{
    RunStrokeCases(ClearRegionColumns, RECT{100, 100, 200, 200}, {
        {"both ends inside", false, 30, 110, 150, {{120, 113, 120, 147}}},
        {"both inside, 8 mil", false, 30, 110, 118, {}},
        {"both inside, 8.5 mil", false, 30, 110, 118.5f, {{120, 113, 120, 115.5f}}},
        {"start inside", false, 30, 180, 260, {{120, 183, 120, 200}}},
        {"start 4 mil from the edge", false, 30, 196, 260, {}},
        {"start 4.5 mil from the edge", false, 30, 195.5f, 260, {{120, 198.5f, 120, 200}}},
        {"end inside", false, 30, 50, 120, {{120, 100, 120, 117}}},
        {"end 4 mil from the edge", false, 30, 50, 104, {}},
        {"through the area", false, 30, 50, 250, {{120, 100, 120, 200}}},
        {"through, on the area's left column", false, 25, 50, 250, {}},
    });
}

// Short gaps of 3 to 25 mil, both exclusive, on the lines of the area but
// anywhere along them.
TEST(RegionClearingStrokes, SmallGapsKeepOnlyTheirLengths)
{
    RunStrokeCases(Small25, RECT{100, 100, 200, 200}, {
        {"row gap of 3 mil", true, 30, 300, 303, {}},
        {"row gap of 3.5 mil: turned", true, 30, 300, 303.5f, {{300.5f, 120, 303, 120}}},
        {"row gap of 24.9 mil", true, 30, 300, 324.9f, {{303, 120, 321.9f, 120}}},
        {"row gap of 25 mil", true, 30, 300, 325, {}},
        {"row gap below the area", true, 60, 300, 310, {}},
        {"column gap of 4 mil: kept downward", false, 30, 300, 304, {{120, 303, 120, 301}}},
        {"column gap of 20 mil", false, 40, 10, 30, {{160, 13, 160, 27}}},
        {"column gap of 30 mil", false, 30, 10, 40, {}},
    });
}

// Region (90, 90)-(110, 110): centre (100, 100), radius sqrt(200) + 1;
// column 25 lies at x = 100 through the centre, column 35 at x = 140.
TEST(RegionClearingStrokes, PadRingTakesTheColumnsInsideTheCircle)
{
    const float r = std::sqrt(200.0f) + 1.0f;
    RunStrokeCases(ClearPadRing, RECT{90, 90, 110, 110}, {
        {"through the circle", false, 25, 50, 150, {{100, 100 + r, 100, 100 - r}}},
        {"start inside", false, 25, 95, 150, {{100, 97, 100, 100 + r}}},
        {"end inside", false, 25, 50, 105, {{100, 100 - r, 100, 103}}},
        {"both inside", false, 25, 95, 105, {{100, 97, 100, 103}}},
        {"both inside, 3 mil", false, 25, 100, 103, {{100, 102, 100, 101}}},
        {"both inside, 1.5 mil: past its ends", false, 25, 100, 101.5f, {}},
        {"beyond the circle", false, 25, 150, 200, {}},
        {"beside the circle", false, 35, 50, 150, {}},
    });
}

TEST(RegionClearingStrokes, RegionOffTheBoardTakesTheBoardExtent)
{
    for (Generator generate : {ClearRegionRows, ClearRegionColumns, Small25}) {
        CBoardModel model;
        EmptyRaster(model, 4);
        RowInterval(model, 30, 110, 130);
        ColumnInterval(model, 30, 110, 130);
        CClearRegion off = RegionOver(500, 500, 600, 600);
        EXPECT_EQ(generate(model, off), 1);
        EXPECT_EQ(off.rect.left, 0);
        EXPECT_EQ(off.rect.top, 0);
        EXPECT_EQ(off.rect.right, 400);
        EXPECT_EQ(off.rect.bottom, 400);
        EXPECT_FALSE(off.strokes.empty());

        // One corner on the board keeps the rectangle, which holds nothing.
        CClearRegion partly = RegionOver(350, 350, 600, 600);
        EXPECT_EQ(generate(model, partly), 0);
        EXPECT_EQ(partly.rect.left, 350);
        EXPECT_TRUE(partly.strokes.empty());
    }
}

TEST(RegionClearingStrokes, NothingToCutGivesNoRegion)
{
    CBoardModel model;
    EmptyRaster(model, 4);
    RowInterval(model, 30, 10, 20);
    // No interval in the area, empty lists, and a raster of no pitch (which
    // would otherwise divide by zero): 0, and the caller drops the region.
    EXPECT_EQ(AddClearRegion(model, RECT{100, 100, 200, 200}, ClearRegionRows), 0);
    CBoardModel bare;
    bare.m_GridStep = 4;
    EXPECT_EQ(AddClearRegion(bare, RECT{100, 100, 200, 200}, ClearRegionColumns), 0);
    model.m_GridStep = 0;
    for (Generator generate : {ClearRegionRows, ClearRegionColumns, Small25, ClearPadRing})
        EXPECT_EQ(AddClearRegion(model, RECT{0, 0, 400, 400}, generate), 0);
    EXPECT_TRUE(model.m_ClearRegionList.empty());
    EXPECT_TRUE(bare.m_ClearRegionList.empty());

    model.m_GridStep = 4;
    RowInterval(model, 30, 110, 150);
    EXPECT_EQ(AddClearRegion(model, RECT{100, 100, 200, 200}, ClearRegionRows), 1);
    ASSERT_EQ(model.m_ClearRegionList.size(), 1u);
    EXPECT_EQ(model.m_ClearRegionList[0]->step, 4);
    EXPECT_EQ(model.m_ClearRegionList[0]->rect.right, 200);
    EXPECT_EQ(TestHost().WaitCursorDepth(), 0);
}

TEST(RegionClearingStrokes, StrokesOfACutRasterKeepOffTheCopper)
{
    // A pad of radius 20 at (200, 200) cut out of full rows: the row strokes
    // of a board-wide region end 3 mil short of the pad's edge on each side.
    CBoardModel model;
    EmptyRaster(model, 4);
    for (std::size_t i = 0; i < model.m_RowList.size(); ++i)
        RowInterval(model, i, 0, 400);
    CFlashRecord pad;
    pad.x = 200;
    pad.y = 200;
    pad.radius = 20;
    CutFlashRows(model, pad, &pad);
    CClearRegion region = RegionOver(20, 20, 380, 380);
    ASSERT_EQ(ClearRegionRows(model, region), 1);
    int cuts = 0, besidePad = 0;
    for (const auto& s : region.strokes) {
        if (s->y1 != s->y2)
            continue;   // a connecting move
        ++cuts;
        float dy = s->y1 - 200.0f;
        if (std::fabs(dy) >= 20.0f)
            continue;
        float halfChord = std::sqrt(400.0f - dy * dy);
        float nearEnd = std::min(std::fabs(s->x1 - 200.0f), std::fabs(s->x2 - 200.0f));
        EXPECT_NEAR(nearEnd, halfChord + 3.0f, 0.05f) << s->y1;
        ++besidePad;
    }
    // Rows 6 to 94 lie strictly inside the area; the nine through the pad
    // and the two touching it have a stroke on each side of it.
    EXPECT_EQ(besidePad, 2 * 9);
    EXPECT_EQ(cuts, 89 + 9 + 2);
}

TEST(RegionClearingOrder, ReachFollowsThePitch)
{
    for (auto [pitch, reach] : {std::pair{4, 11.0f}, {6, 17.0f}, {10, 14.0f}, {12, 17.0f}})
        EXPECT_FLOAT_EQ(ClearingReach(pitch), reach) << pitch;
}

namespace {

std::vector<CClearStroke> Candidates(const std::vector<Seg>& segs)
{
    std::vector<CClearStroke> out;
    for (const Seg& s : segs) {
        CClearStroke c;
        c.x1 = s.x1;
        c.y1 = s.y1;
        c.x2 = s.x2;
        c.y2 = s.y2;
        c.plungeValue = int(out.size()) + 1;
        out.push_back(c);
    }
    return out;
}

std::vector<Seg> Segs(const std::vector<CClearStroke>& strokes)
{
    std::vector<Seg> out;
    for (const CClearStroke& s : strokes)
        out.push_back({s.x1, s.y1, s.x2, s.y2});
    return out;
}

CStrokeOrderRule RowRule() { return {}; }

CStrokeOrderRule SmallRule()
{
    CStrokeOrderRule rule;
    rule.clearFlagEachStep = true;
    return rule;
}

CStrokeOrderRule PlainRule()
{
    CStrokeOrderRule rule;
    rule.rowRule = false;
    rule.firstBest = 1e8;
    rule.laterBest = 1e7;
    return rule;
}

}  // namespace

// Pitch 4: the reach is 11 mil.
TEST(RegionClearingOrder, ChainsWithTurnsLinksAndTheCrossingTest)
{
    COwnedList<CGridPathSegment> isolation;
    auto crosses = [&isolation](float x1, float y1, float x2, float y2) {
        return CIsolationCrossIndex(isolation).Crosses(x1, y1, x2, y2);
    };
    auto addIsolation = [&isolation](std::uint8_t type) {
        auto s = std::make_unique<CGridPathSegment>();
        s->x1 = -1;
        s->y1 = 2;
        s->x2 = 10;
        s->y2 = 2;
        s->type = type;
        isolation.push_back(std::move(s));
    };
    struct Case {
        const char* name;
        CStrokeOrderRule rule;
        std::vector<Seg> in;
        std::vector<Seg> want;
        std::uint8_t isolationType;   // 255: none
    };
    const std::vector<Case> cases = {
        {"next row turned round and joined", RowRule(),
         {{0, 0, 100, 0}, {0, 4, 100, 4}},
         {{0, 0, 100, 0}, {100, 0, 100, 4}, {100, 4, 0, 4}}, 255},
        {"same row, same way, beyond the reach: the next row first, no link", RowRule(),
         {{0, 0, 100, 0}, {110, 0, 200, 0}, {0, 4, 150, 4}},
         {{0, 0, 100, 0}, {150, 4, 0, 4}, {110, 0, 200, 0}}, 255},
        {"short move joined", RowRule(),
         {{0, 0, 6, 0}, {0, 4, 20, 4}},
         {{0, 0, 6, 0}, {6, 0, 0, 4}, {0, 4, 20, 4}}, 255},
        {"short move across an isolation line: taken as it is, unjoined", RowRule(),
         {{0, 0, 6, 0}, {0, 4, 20, 4}},
         {{0, 0, 6, 0}, {0, 4, 20, 4}}, 0},
        {"an arc segment is no obstacle", RowRule(),
         {{0, 0, 6, 0}, {0, 4, 20, 4}},
         {{0, 0, 6, 0}, {6, 0, 0, 4}, {0, 4, 20, 4}}, 1},
        {"one row, one way: each taken as it is", RowRule(),
         {{0, 0, 10, 0}, {20, 0, 30, 0}, {40, 0, 50, 0}},
         {{0, 0, 10, 0}, {20, 0, 30, 0}, {40, 0, 50, 0}}, 255},
        {"short gaps: the fallback after the first step is turned", SmallRule(),
         {{0, 0, 10, 0}, {20, 0, 30, 0}, {40, 0, 50, 0}},
         {{0, 0, 10, 0}, {20, 0, 30, 0}, {50, 0, 40, 0}}, 255},
        {"plain: nearest end, joined within the reach", PlainRule(),
         {{0, 0, 0, 10}, {0, 30, 0, 12}, {5, 10, 5, 40}},
         {{0, 0, 0, 10}, {0, 10, 0, 12}, {0, 12, 0, 30}, {5, 40, 5, 10}}, 255},
        {"plain: a tie goes to the earlier", PlainRule(),
         {{0, 0, 10, 0}, {10, 5, 30, 5}, {10, -5, 30, -5}},
         {{0, 0, 10, 0}, {10, 0, 10, 5}, {10, 5, 30, 5}, {30, 5, 30, -5}, {30, -5, 10, -5}},
         255},
        {"plain: the tie the other way", PlainRule(),
         {{0, 0, 10, 0}, {10, -5, 30, -5}, {10, 5, 30, 5}},
         {{0, 0, 10, 0}, {10, 0, 10, -5}, {10, -5, 30, -5}, {30, -5, 30, 5}, {30, 5, 10, 5}},
         255},
        {"plain: both ends equally far is passed over", PlainRule(),
         {{0, 0, 10, 0}, {5, 5, 15, 5}, {40, 0, 50, 0}},
         {{0, 0, 10, 0}, {40, 0, 50, 0}, {15, 5, 5, 5}}, 255},
    };
    for (const Case& c : cases) {
        isolation.clear();
        if (c.isolationType != 255)
            addIsolation(c.isolationType);
        std::vector<CClearStroke> in = Candidates(c.in);
        ExpectStrokes(Segs(OrderClearStrokes(in, 4, c.rule, crosses)), c.want, c.name);
        ExpectStrokes(Segs(OrderClearStrokesFullScan(in, 4, c.rule, crosses)), c.want, c.name);
    }
}

TEST(RegionClearingOrder, LinkTakesThePlungeOfTheStrokeItLeadsTo)
{
    std::vector<CClearStroke> in = Candidates({{0, 0, 100, 0}, {0, 4, 100, 4}});
    in[1].plungeValue = 42;
    std::vector<CClearStroke> out = OrderClearStrokes(in, 4, RowRule(), {});
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[1].plungeValue, 42);
    EXPECT_EQ(out[1].pen, 1);
    EXPECT_EQ(out[1].doneMark, 0);
}

TEST(RegionClearingOrder, GeneratorsChainThroughTheIsolationPaths)
{
    // Two short rows side by side, an isolation line between them: the
    // generator takes the second row without the connecting move.
    CBoardModel model;
    EmptyRaster(model, 4);
    RowInterval(model, 30, 100, 109);
    RowInterval(model, 31, 100, 123);
    CClearRegion open = RegionOver(90, 90, 200, 200);
    ASSERT_EQ(ClearRegionRows(model, open), 1);
    ExpectStrokes(StrokesOf(open),
                  {{103, 120, 106, 120}, {106, 120, 103, 124}, {103, 124, 120, 124}}, "open");

    auto line = std::make_unique<CGridPathSegment>();
    line->x1 = 90;
    line->y1 = 122;
    line->x2 = 130;
    line->y2 = 122;
    model.m_GridPathList.push_back(std::move(line));
    EXPECT_EQ(CrossesIsolationPath(model, 106, 120, 103, 124), 1);
    EXPECT_EQ(CrossesIsolationPath(model, 106, 120, 106, 121), 0);
    CClearRegion blocked = RegionOver(90, 90, 200, 200);
    ASSERT_EQ(ClearRegionRows(model, blocked), 1);
    ExpectStrokes(StrokesOf(blocked), {{103, 120, 106, 120}, {103, 124, 120, 124}}, "blocked");
}

TEST(RegionClearingMillPads, RegionsForPadsTracksAndTrackEnds)
{
    CVelmDoc doc;
    EmptyRaster(doc, 4);
    for (std::size_t j = 0; j < doc.m_ColumnList.size(); ++j)
        ColumnInterval(doc, j, 0, 400);
    for (std::size_t i = 0; i < doc.m_RowList.size(); ++i)
        RowInterval(doc, i, 0, 400);
    AddFlash(doc.m_FlashList, 100, 100, 10);
    doc.m_TrackRefList.push_back(AddTrack(doc.m_TrackList, 0, 50, 250, 150, 250, 10));
    doc.m_TrackRefList.push_back(AddTrack(doc.m_TrackList, 0, 300, 50, 300, 150, 10));
    doc.m_TrackRefList.push_back(AddTrack(doc.m_TrackList, 1, 200, 330, 260, 330, 10));
    int redraws = 0;
    doc.m_ViewHooks.updateAllViews = [&redraws] { ++redraws; };

    EXPECT_TRUE(doc.OnCmdMsg(ID_MILL_PADS));
    EXPECT_EQ(redraws, 1);
    // The pad; per track its rows and (not for the rectangle-drawn one) a
    // ring at each end. Margin 12: rings 0.85 of the radius out, tracks 24
    // mil round and half the width across.
    std::vector<RECT> want = {
        {79, 79, 120, 120},                                                  // pad
        {26, 221, 174, 279}, {33, 233, 66, 266}, {133, 233, 166, 266},       // horizontal
        {271, 26, 329, 174}, {283, 33, 316, 66}, {283, 133, 316, 166},       // vertical
        {176, 301, 284, 359},                                                // rectangle
    };
    ASSERT_EQ(doc.m_ClearRegionList.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
        const CClearRegion& r = *doc.m_ClearRegionList[i];
        EXPECT_EQ(r.rect.left, want[i].left) << i;
        EXPECT_EQ(r.rect.top, want[i].top) << i;
        EXPECT_EQ(r.rect.right, want[i].right) << i;
        EXPECT_EQ(r.rect.bottom, want[i].bottom) << i;
        EXPECT_EQ(r.step, 4) << i;
        EXPECT_FALSE(r.strokes.empty()) << i;
    }

    // A pad whose ring holds no column interval makes no region.
    doc.m_ClearRegionList.clear();
    doc.m_TrackRefList.clear();
    for (auto& column : doc.m_ColumnList)
        column->intervals.clear();
    doc.OnMillPads();
    EXPECT_TRUE(doc.m_ClearRegionList.empty());
}

TEST(RegionClearingView, BoardWideShortGapsAndTheResetOfDoneMarks)
{
    CVelmDoc doc;
    CVelmView view(doc);
    EmptyRaster(doc, 4);
    RowInterval(doc, 10, 60, 80);     // a gap outside the inset area's rows
    RowInterval(doc, 30, 200, 210);   // a 10 mil gap
    RowInterval(doc, 40, 0, 400);     // no gap
    EXPECT_TRUE(view.m_Commands.Run(ID_ADD_FULL_CLEAR_AREA));
    ASSERT_EQ(doc.m_ClearRegionList.size(), 1u);
    const CClearRegion& region = *doc.m_ClearRegionList[0];
    EXPECT_EQ(region.rect.left, 80);
    EXPECT_EQ(region.rect.top, 80);
    EXPECT_EQ(region.rect.right, 320);
    EXPECT_EQ(region.rect.bottom, 320);
    ExpectStrokes(StrokesOf(region), {{203, 120, 207, 120}}, "full area");

    doc.m_RowList[30]->intervals.clear();
    EXPECT_TRUE(view.m_Commands.Run(ID_ADD_FULL_CLEAR_AREA));
    EXPECT_EQ(doc.m_ClearRegionList.size(), 1u);

    doc.m_ClearRegionList[0]->strokes[0]->doneMark = 3;
    EXPECT_TRUE(view.m_Commands.Run(ID_RESET_CLEAR_DONE));
    EXPECT_EQ(doc.m_ClearRegionList[0]->strokes[0]->doneMark, 0);
}

namespace {

bool SameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Strokes along rows and columns of a coarse lattice (so many ends coincide
// and many distances tie), either way round, with some repeated.
std::vector<CClearStroke> RandomCandidates(std::mt19937& rng, int count, int pitch)
{
    std::uniform_int_distribution<int> cell(0, 60), len(1, 12), coin(0, 3);
    std::vector<CClearStroke> out;
    while (int(out.size()) < count) {
        CClearStroke s;
        float a = float(cell(rng) * pitch), b = float(cell(rng) * pitch);
        float l = float(len(rng) * (coin(rng) == 0 ? 1 : pitch)) / (coin(rng) == 0 ? 2.0f : 1.0f);
        bool row = coin(rng) < 3;
        s.x1 = a;
        s.y1 = b;
        s.x2 = row ? a + l : a;
        s.y2 = row ? b : b + l;
        if (coin(rng) == 0) {
            std::swap(s.x1, s.x2);
            std::swap(s.y1, s.y2);
        }
        s.plungeValue = int(out.size());
        out.push_back(s);
        if (coin(rng) == 0)
            out.push_back(s);
    }
    return out;
}

void RandomIsolation(std::mt19937& rng, COwnedList<CGridPathSegment>& list, int count, int pitch)
{
    std::uniform_int_distribution<int> cell(0, 60 * 4), step(-8, 8), kind(0, 9);
    for (int i = 0; i < count; ++i) {
        auto s = std::make_unique<CGridPathSegment>();
        s->x1 = float(cell(rng)) * float(pitch) / 4.0f;
        s->y1 = float(cell(rng)) * float(pitch) / 4.0f;
        int k = kind(rng);
        s->x2 = s->x1 + (k == 0 ? 0.0f : float(step(rng)));
        s->y2 = s->y1 + (k == 1 ? 0.0f : float(step(rng)));
        s->type = k == 9 ? 1 : 0;
        list.push_back(std::move(s));
    }
}

}  // namespace

TEST(RegionClearingIndexes, CrossingIndexAnswersAsTheFullScan)
{
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> cell(0, 60 * 4), step(-12, 12), kind(0, 3);
    std::uniform_real_distribution<float> jitter(-0.03f, 0.03f);
    for (int round = 0; round < 20; ++round) {
        CBoardModel model;
        RandomIsolation(rng, model.m_GridPathList, 50 + 100 * round, 4);
        if (round == 3) {
            // One long segment over many cells.
            auto s = std::make_unique<CGridPathSegment>();
            s->x1 = 0;
            s->y1 = 0;
            s->x2 = 240;
            s->y2 = 230;
            model.m_GridPathList.push_back(std::move(s));
        }
        CIsolationCrossIndex index(model.m_GridPathList);
        int hits = 0;
        for (int q = 0; q < 2000; ++q) {
            float x1 = float(cell(rng)), y1 = float(cell(rng));
            int k = kind(rng);
            float x2 = x1 + (k == 0 ? 0.0f : float(step(rng)));
            float y2 = y1 + (k == 1 ? 0.0f : float(step(rng)));
            if (k == 2) {
                // Near an isolation segment's end: the tolerances matter.
                const auto& s = model.m_GridPathList[std::size_t(q) % model.m_GridPathList.size()];
                x2 = s->x1 + jitter(rng);
                y2 = s->y1 + jitter(rng);
            }
            int plain = CrossesIsolationPath(model, x1, y1, x2, y2);
            hits += plain;
            ASSERT_EQ(index.Crosses(x1, y1, x2, y2) ? 1 : 0, plain)
                << round << ": (" << x1 << "," << y1 << ")-(" << x2 << "," << y2 << ")";
        }
        EXPECT_GT(hits, 0);
    }
}

TEST(RegionClearingIndexes, IndexedChainPicksAsTheFullScan)
{
    std::mt19937 rng(11);
    for (int round = 0; round < 24; ++round) {
        const int pitch = std::vector<int>{3, 4, 6, 10, 12}[std::size_t(round) % 5];
        std::vector<CClearStroke> in = RandomCandidates(rng, 50 + 60 * round, pitch);
        CBoardModel model;
        RandomIsolation(rng, model.m_GridPathList, 40 * round, pitch);
        CIsolationCrossIndex index(model.m_GridPathList);
        auto fast = [&index](float x1, float y1, float x2, float y2) {
            return index.Crosses(x1, y1, x2, y2);
        };
        auto plain = [&model](float x1, float y1, float x2, float y2) {
            return CrossesIsolationPath(model, x1, y1, x2, y2) != 0;
        };
        for (const CStrokeOrderRule& rule : {RowRule(), SmallRule(), PlainRule()}) {
            std::vector<CClearStroke> a = OrderClearStrokes(in, pitch, rule, fast);
            std::vector<CClearStroke> b = OrderClearStrokesFullScan(in, pitch, rule, plain);
            ASSERT_EQ(a.size(), b.size()) << round;
            for (std::size_t i = 0; i < a.size(); ++i) {
                ASSERT_TRUE(SameBits(a[i].x1, b[i].x1) && SameBits(a[i].y1, b[i].y1) &&
                            SameBits(a[i].x2, b[i].x2) && SameBits(a[i].y2, b[i].y2) &&
                            a[i].plungeValue == b[i].plungeValue)
                    << "round " << round << " rule " << rule.rowRule << rule.clearFlagEachStep
                    << " stroke " << i;
            }
        }
    }
}
