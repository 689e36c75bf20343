// The walks over a hand-made raster: outlines closed and left open, arcs
// round flashes and the pieces too short to be arcs, the finders' choice
// among ends, the pruning of short intervals, and the indexed finders
// against the full scan on a random raster.
#include "planning/path_generation.h"

#include "planning/scan_raster.h"
#include "records/board_extent.h"
#include "records/board_model.h"
#include "records/copper_records.h"
#include "records/planner_records.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iterator>
#include <memory>
#include <random>
#include <tuple>
#include <vector>

namespace {

constexpr int kPitch = 4;

// A raster of full lines, one interval each from edge to edge, as the
// layout makes it before any cut; rows at y = 4i, columns at x = 4j.
struct Raster {
    CBoardModel model;

    Raster(int rows, int columns)
    {
        g_BoardMinX = 0;
        g_BoardMinY = 0;
        g_BoardMaxX = (columns - 1) * kPitch;
        g_BoardMaxY = (rows - 1) * kPitch;
        model.m_GridStep = kPitch;
        for (int i = 0; i < rows; ++i)
            AddLine(model.m_RowList, 0, float(i * kPitch), float(g_BoardMaxX), float(i * kPitch));
        for (int j = 0; j < columns; ++j)
            AddLine(model.m_ColumnList, float(j * kPitch), 0, float(j * kPitch), float(g_BoardMaxY));
    }

    static void AddLine(COwnedList<CSubList>& list, float x1, float y1, float x2, float y2)
    {
        auto iv = std::make_unique<CScanInterval>();
        *iv = {x1, y1, x2, y2, ScanTag::kBoardEdge, ScanTag::kBoardEdge, 0, 0, nullptr, nullptr};
        auto line = std::make_unique<CSubList>();
        line->intervals.push_back(std::move(iv));
        list.push_back(std::move(line));
    }

    // Takes (from, to) along a line out of the interval that holds it, as a
    // cutter does: the upper piece goes to the tail of the line.
    static void Cut(CSubList& line, bool row, float from, float to, std::uint8_t tag,
                    std::uint32_t net, void* source)
    {
        for (auto& ivp : line.intervals) {
            CScanInterval& iv = *ivp;
            float a = row ? iv.x1 : iv.y1, b = row ? iv.x2 : iv.y2;
            if (!(a < from && to < b))
                continue;
            auto upper = std::make_unique<CScanInterval>(iv);
            (row ? upper->x1 : upper->y1) = to;
            upper->startTag = tag;
            upper->startNet = net;
            upper->startSource = source;
            (row ? iv.x2 : iv.y2) = from;
            iv.endTag = tag;
            iv.endNet = net;
            iv.endSource = source;
            line.intervals.push_back(std::move(upper));
            return;
        }
        FAIL() << "no interval holds " << from << ".." << to;
    }

    // Every row and column that a circle crosses, cut at the circle.
    void CutCircle(float cx, float cy, float r, std::uint8_t tag, std::uint32_t net, void* source)
    {
        for (std::size_t i = 0; i < model.m_RowList.size(); ++i) {
            float dy = float(i) * kPitch - cy;
            if (std::fabs(dy) < r) {
                float dx = std::sqrt(r * r - dy * dy);
                Cut(*model.m_RowList[i], true, cx - dx, cx + dx, tag, net, source);
            }
        }
        for (std::size_t j = 0; j < model.m_ColumnList.size(); ++j) {
            float dx = float(j) * kPitch - cx;
            if (std::fabs(dx) < r) {
                float dy = std::sqrt(r * r - dx * dx);
                Cut(*model.m_ColumnList[j], false, cy - dy, cy + dy, tag, net, source);
            }
        }
    }

    CSubList& Column(float x) { return *model.m_ColumnList[std::size_t(x) / kPitch]; }

    // A cut of column x whose lower piece ends at y: the one end the walks
    // see, the upper piece starting at a board edge.
    void EndOnColumn(float x, float y, std::uint8_t tag, std::uint32_t net, void* source)
    {
        CSubList& column = Column(x);
        Cut(column, false, y, y + 30.0f, tag, net, source);
        CScanInterval& upper = *column.intervals.back();
        upper.startTag = ScanTag::kBoardEdge;
        upper.startNet = 0;
        upper.startSource = nullptr;
    }

    const std::vector<CGridPathSegment*> Segments() const
    {
        std::vector<CGridPathSegment*> out;
        for (auto& s : model.m_GridPathList)
            out.push_back(s.get());
        return out;
    }
};

TEST(PathGeneration, IsolatedRoundPadClosesIntoOneArc)
{
    Raster raster(26, 26);
    CFlashRecord pad;
    pad.x = 50.0f;
    pad.y = 50.0f;
    raster.CutCircle(50.0f, 50.0f, 10.0f, ScanTag::kFlash, 7, &pad);
    int steps = 0;
    GenerateRowPaths(raster.model, [&](float x, float y) {
        ++steps;
        EXPECT_NEAR(std::hypot(x - 50.0f, y - 50.0f), 10.0, 1e-4);
    });

    auto segs = raster.Segments();
    ASSERT_EQ(segs.size(), 1u);
    const CGridPathSegment& arc = *segs[0];
    EXPECT_TRUE(arc.type == 1 || arc.type == 2);
    EXPECT_EQ(arc.x2, arc.x1);
    EXPECT_EQ(arc.y2, arc.y1);
    EXPECT_EQ(arc.cx, 50.0f);
    EXPECT_EQ(arc.cy, 50.0f);
    EXPECT_EQ(arc.value, 7u);
    EXPECT_EQ(arc.source, &pad);
    EXPECT_EQ(arc.flags, 0);
    // Rows and columns at 44..56 cut the circle 16 times; the walk starts at
    // one end and steps to each of the others.
    EXPECT_EQ(steps, 15);

    // Every end was taken: the column walks find nothing more to start from.
    GenerateColumnPaths(raster.model);
    EXPECT_EQ(raster.model.m_GridPathList.size(), 1u);
}

TEST(PathGeneration, ArcTurnsTheWayTheWalkGoes)
{
    // Half of a pad's outline, walked from one end to the other and left
    // open: rising angles make a type 1 arc, falling angles a type 2. The
    // right half crosses the +x direction, where the angle wraps to 0. An
    // arc of just six points (the columns from 56 on) still tells its way:
    // its reference is not its own end.
    enum Half { Lower, Upper, Left, Right };
    struct Case {
        const char* name;
        Half half;
        bool rows;
        std::uint8_t type;
        float fromX = -1.0f;
    } cases[] = {
        {"lower half from the columns", Lower, false, 1},
        {"upper half from the columns", Upper, false, 2},
        {"left half from the rows", Left, true, 2},
        {"right half from the rows", Right, true, 1},
        {"six points of the lower half", Lower, false, 1, 56.0f},
        {"six points of the upper half", Upper, false, 2, 56.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Raster raster(31, 31);
        CFlashRecord pad;
        pad.x = 60.0f;
        pad.y = 60.0f;
        raster.CutCircle(60.0f, 60.0f, 20.0f, ScanTag::kFlash, 7, &pad);
        // The other half, and the ends on the other axis, are out of the walk.
        auto drop = [&](float x, float y, std::uint8_t& tag) {
            bool keep = c.half == Lower ? y < 60 : c.half == Upper ? y > 60
                      : c.half == Left  ? x < 60 : x > 60;
            keep = keep && x >= c.fromX;
            if (!keep)
                tag |= ScanTag::kUsed;
        };
        for (auto& line : c.rows ? raster.model.m_ColumnList : raster.model.m_RowList)
            for (auto& iv : line->intervals) {
                iv->startTag |= ScanTag::kUsed;
                iv->endTag |= ScanTag::kUsed;
            }
        for (auto* list : {&raster.model.m_RowList, &raster.model.m_ColumnList})
            for (auto& line : *list)
                for (auto& iv : line->intervals) {
                    drop(iv->x1, iv->y1, iv->startTag);
                    drop(iv->x2, iv->y2, iv->endTag);
                }
        if (c.rows)
            GenerateRowPaths(raster.model);
        else
            GenerateColumnPaths(raster.model);
        ASSERT_EQ(raster.model.m_GridPathList.size(), 1u);
        const CGridPathSegment& arc = *raster.model.m_GridPathList[0];
        EXPECT_EQ(arc.type, c.type);
        EXPECT_EQ(arc.flags, 0);
        EXPECT_GT(std::hypot(arc.x2 - arc.x1, arc.y2 - arc.y1), c.fromX < 0 ? 30.0 : 15.0);
    }
}

TEST(PathGeneration, ChainEndingFarFromItsStartStaysOpen)
{
    // The lower side of a horizontal track crossed by the columns 32..68,
    // its upper side far enough away to be a walk of its own.
    Raster raster(26, 26);
    CTrackRecord track;
    for (float x = 32.0f; x <= 68.0f; x += kPitch)
        Raster::Cut(raster.Column(x), false, 40.0f, 60.0f, ScanTag::kHorizontalSide, 3, &track);
    GenerateColumnPaths(raster.model);

    auto segs = raster.Segments();
    ASSERT_EQ(segs.size(), 2u);
    for (int i = 0; i < 2; ++i) {
        const float y = i == 0 ? 40.0f : 60.0f;
        SCOPED_TRACE(i);
        EXPECT_EQ(segs[i]->x1, 32.0f);
        EXPECT_EQ(segs[i]->y1, y);
        EXPECT_EQ(segs[i]->x2, 68.0f);
        EXPECT_EQ(segs[i]->y2, y);
        EXPECT_EQ(segs[i]->type, 0);
        EXPECT_EQ(segs[i]->flags, 0);
        EXPECT_EQ(segs[i]->value, 3u);
        EXPECT_EQ(segs[i]->source, &track);
    }
}

TEST(PathGeneration, ClosedOutlineOfLinesEndsWithAClosingLine)
{
    // The outline of a square of copper from (40, 40) to (60, 60): columns
    // 40..60 cut through it, rows 44..56 too. The walk starts on row 44 at
    // the left side, turns at each corner and comes back within 2 pitches.
    Raster raster(26, 26);
    CTrackRecord square;
    for (float x = 40.0f; x <= 60.0f; x += kPitch)
        Raster::Cut(raster.Column(x), false, 40.0f, 60.0f, ScanTag::kHorizontalSide, 5, &square);
    for (std::size_t i = 11; i <= 14; ++i)
        Raster::Cut(*raster.model.m_RowList[i], true, 40.0f, 60.0f, ScanTag::kVerticalSide, 5,
                    &square);
    GenerateRowPaths(raster.model);

    struct Want {
        float x1, y1, x2, y2;
        std::uint8_t flags;
    } want[] = {
        // The first end found only moves the walk on (nothing precedes it),
        // so the first line runs from the start to the second end found.
        {40, 44, 44, 40, 0x10},
        {44, 40, 60, 40, 0x11},
        {60, 40, 60, 60, 0x11},
        {60, 60, 40, 60, 0x11},
        {40, 60, 40, 48, 0x11},
        {40, 48, 40, 44, 0x01},  // the closing line
    };
    auto segs = raster.Segments();
    ASSERT_EQ(segs.size(), std::size(want));
    for (std::size_t i = 0; i < segs.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(segs[i]->x1, want[i].x1);
        EXPECT_EQ(segs[i]->y1, want[i].y1);
        EXPECT_EQ(segs[i]->x2, want[i].x2);
        EXPECT_EQ(segs[i]->y2, want[i].y2);
        EXPECT_EQ(segs[i]->flags, want[i].flags);
        EXPECT_EQ(segs[i]->type, 0);
        EXPECT_EQ(segs[i]->value, 5u);
        EXPECT_EQ(segs[i]->source, &square);
    }
}

TEST(PathGeneration, SideGrowsWhileItBendsByAtMostTheTolerance)
{
    // A track side whose fourth end sits h above the line of the first
    // three: within 0.05 rad (h up to 0.2 mil over 4 mil) the line grows.
    struct Case {
        float h;
        std::size_t segments;
    } cases[] = {{0.18f, 1}, {0.22f, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.h);
        Raster raster(26, 26);
        CTrackRecord track;
        for (float x : {32.0f, 36.0f, 40.0f})
            raster.EndOnColumn(x, 40.0f, ScanTag::kSlopedSide, 1, &track);
        raster.EndOnColumn(44.0f, 40.0f + c.h, ScanTag::kSlopedSide, 1, &track);
        GenerateColumnPaths(raster.model);
        auto segs = raster.Segments();
        ASSERT_EQ(segs.size(), c.segments);
        EXPECT_EQ(segs.back()->x2, 44.0f);
        EXPECT_EQ(segs.back()->y2, 40.0f + c.h);
    }
}

TEST(PathGeneration, ShortArcBecomesLineAndJoinsTheTrackSide)
{
    // Three ends under a flash, then the side of a track running on: the arc
    // piece is too short to stay an arc, a join line leads to the track side,
    // and a bend in the side starts a new line.
    Raster raster(26, 26);
    CFlashRecord flash;
    flash.x = 44.0f;
    flash.y = 50.0f;
    CTrackRecord track;
    const float low = 50.0f - std::sqrt(84.0f);
    raster.EndOnColumn(40.0f, low, ScanTag::kFlash, 1, &flash);
    raster.EndOnColumn(44.0f, 40.0f, ScanTag::kFlash, 1, &flash);
    raster.EndOnColumn(48.0f, low, ScanTag::kFlash, 1, &flash);
    for (float x : {52.0f, 56.0f, 60.0f})
        raster.EndOnColumn(x, 40.0f, ScanTag::kHorizontalSide, 1, &track);
    GenerateColumnPaths(raster.model);

    auto segs = raster.Segments();
    ASSERT_EQ(segs.size(), 3u);
    struct Want {
        float x1, y1, x2, y2, cx;
        std::uint8_t type, flags;
        const void* source;
    } want[] = {
        {40, low, 48, low, 44.0f, 0, 0x10, &flash},     // the arc piece, straightened
        {48, low, 52, 40, 1.0f, 0, 0x01 | 0x10, &track}, // the join
        {52, 40, 60, 40, 0.0f, 0, 0x01, &track},          // the side, open at its end
    };
    for (std::size_t i = 0; i < segs.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_FLOAT_EQ(segs[i]->x1, want[i].x1);
        EXPECT_FLOAT_EQ(segs[i]->y1, want[i].y1);
        EXPECT_FLOAT_EQ(segs[i]->x2, want[i].x2);
        EXPECT_FLOAT_EQ(segs[i]->y2, want[i].y2);
        EXPECT_EQ(segs[i]->cx, want[i].cx);
        EXPECT_EQ(segs[i]->type, want[i].type);
        EXPECT_EQ(segs[i]->flags, want[i].flags);
        EXPECT_EQ(segs[i]->source, want[i].source);
    }
}

TEST(PathGeneration, FlashEndWithoutItsRecordIsWalkedAsATrackSide)
{
    // An arc whose pad record is missing leaves flash ends with no source:
    // the walk draws straight lines along them and never reads a centre.
    Raster raster(26, 26);
    for (float x = 32.0f; x <= 48.0f; x += kPitch)
        raster.EndOnColumn(x, 40.0f, ScanTag::kFlash, 2, nullptr);
    GenerateColumnPaths(raster.model);

    auto segs = raster.Segments();
    ASSERT_EQ(segs.size(), 1u);
    EXPECT_EQ(segs[0]->type, 0);
    EXPECT_EQ(segs[0]->cx, 0.0f);
    EXPECT_EQ(segs[0]->x1, 32.0f);
    EXPECT_EQ(segs[0]->x2, 48.0f);
    EXPECT_EQ(segs[0]->flags, 0);
}

TEST(PathGeneration, SecondColumnRunStartsOnlyFromUnusedEnds)
{
    Raster raster(26, 26);
    CTrackRecord track;
    for (float x = 32.0f; x <= 48.0f; x += kPitch)
        raster.EndOnColumn(x, 40.0f, ScanTag::kHorizontalSide, 1, &track);
    GenerateColumnPaths(raster.model);
    ASSERT_EQ(raster.model.m_GridPathList.size(), 1u);

    GenerateColumnPaths(raster.model);
    EXPECT_EQ(raster.model.m_GridPathList.size(), 1u);

    // Ends the first runs never saw are where the next run starts.
    for (float x = 60.0f; x <= 76.0f; x += kPitch)
        raster.EndOnColumn(x, 20.0f, ScanTag::kHorizontalSide, 4, &track);
    GenerateColumnPaths(raster.model);
    ASSERT_EQ(raster.model.m_GridPathList.size(), 2u);
    const CGridPathSegment& added = *raster.model.m_GridPathList[1];
    EXPECT_EQ(added.x1, 60.0f);
    EXPECT_EQ(added.x2, 76.0f);
    EXPECT_EQ(added.y1, 20.0f);
    EXPECT_EQ(added.value, 4u);
}

TEST(PathGeneration, FinderChoiceAmongEnds)
{
    CTrackRecord current, other;
    struct End {
        float x, y;       // on column x
        void* source;
    };
    struct Case {
        const char* name;
        std::vector<End> ends;
        float px, py;
        float wantX, wantY;  // NaN: nothing found
    };
    const float none = NAN;
    Case cases[] = {
        {"the nearer of two", {{40, 38, &other}, {44, 36, &other}}, 41, 40, 40, 38},
        {"current shape within 1.4 times", {{40, 37, &other}, {44, 40, &current}}, 40, 40, 44, 40},
        {"current shape beyond 1.4 times", {{40, 37.5f, &other}, {44, 40, &current}}, 40, 40, 40, 37.5f},
        {"current shape past the plain reach", {{48, 40, &current}}, 40, 40, 48, 40},
        {"other shape past the reach", {{48, 40, &other}}, 40, 40, none, none},
        {"equal distances: the earlier line", {{40, 36, &other}, {44, 36, &other}}, 42, 40, 40, 36},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Raster raster(26, 26);
        for (const End& e : c.ends)
            raster.EndOnColumn(e.x, e.y, ScanTag::kSlopedSide, 1, e.source);
        std::uint32_t net = 1;
        float x = c.px, y = c.py;
        int tag = 0, side = 0;
        CScanInterval* hit = FindNextRowInterval(raster.model, &net, &x, &y, &tag, &side, &current);
        if (std::isnan(c.wantX)) {
            EXPECT_EQ(hit, nullptr);
            continue;
        }
        ASSERT_NE(hit, nullptr);
        EXPECT_EQ(x, c.wantX);
        EXPECT_EQ(y, c.wantY);
        EXPECT_EQ(side, 2);
        EXPECT_EQ(tag, ScanTag::kSlopedSide | ScanTag::kUsed);  // found on a column
        EXPECT_TRUE(hit->endTag & ScanTag::kUsed);
    }
}

TEST(PathGeneration, EndOfAnIntervalWinsOverItsStartAtEqualDistance)
{
    // One interval of row 10 (y = 40) with both ends of net 1, 3 mil from
    // the point on either side; and the same through the wide finder.
    for (int wide = 0; wide < 2; ++wide) {
        SCOPED_TRACE(wide);
        Raster raster(26, 26);
        CTrackRecord track;
        CSubList& row = *raster.model.m_RowList[10];
        Raster::Cut(row, true, 20.0f, 37.0f, ScanTag::kVerticalSide, 1, &track);
        Raster::Cut(row, true, 43.0f, 70.0f, ScanTag::kVerticalSide, 1, &track);
        std::uint32_t net = 1;
        float x = 40.0f, y = 40.0f;
        int tag = 0, side = 0;
        CScanInterval* hit =
            wide ? FindNextIntervalWide(raster.model, &net, &x, &y, &tag, &side)
                 : FindNextRowInterval(raster.model, &net, &x, &y, &tag, &side, &track);
        ASSERT_NE(hit, nullptr);
        EXPECT_EQ(hit->x1, 37.0f);
        EXPECT_EQ(side, 2);
        EXPECT_EQ(x, 43.0f);
        EXPECT_EQ(tag, ScanTag::kVerticalSide | ScanTag::kUsed | ScanTag::kOnRow);
        EXPECT_EQ(hit->startTag & ScanTag::kUsed, 0);
    }
}

TEST(PathGeneration, FindersNeedLinesOnBothSidesOfThePoint)
{
    Raster raster(26, 26);
    CTrackRecord track;
    raster.EndOnColumn(8.0f, 2.0f, ScanTag::kSlopedSide, 1, &track);
    std::uint32_t net = 1;
    int tag = 0, side = 0;
    // y = 3 lies in the first pitch above the origin: no row below it.
    float x = 8.0f, y = 3.0f;
    EXPECT_EQ(FindNextRowInterval(raster.model, &net, &x, &y, &tag, &side, &track), nullptr);
    x = 8.0f;
    y = 1000.0f;  // past the last row
    EXPECT_EQ(FindNextIntervalWide(raster.model, &net, &x, &y, &tag, &side), nullptr);
}

TEST(PathGeneration, PruneShortIntervals)
{
    Raster raster(4, 4);
    auto add = [](CSubList& line, float x1, float y1, float x2, float y2) {
        auto iv = std::make_unique<CScanInterval>();
        *iv = {x1, y1, x2, y2, ScanTag::kSlopedSide, ScanTag::kSlopedSide, 1, 1, nullptr, nullptr};
        return AddTail(line.intervals, std::move(iv));
    };
    CScanInterval* shortRow = add(*raster.model.m_RowList[1], 5.0f, 4.0f, 7.0f, 4.0f);
    CScanInterval* pointRow = add(*raster.model.m_RowList[1], 9.0f, 4.0f, 9.0f, 4.0f);
    CScanInterval* keptRow = add(*raster.model.m_RowList[2], 5.0f, 8.0f, 8.0f, 8.0f);
    CScanInterval* shortColumn = add(*raster.model.m_ColumnList[1], 4.0f, 1.0f, 4.0f, 3.0f);
    CScanInterval* keptColumn = add(*raster.model.m_ColumnList[2], 8.0f, 1.0f, 8.0f, 4.0f);
    PruneShortIntervals(raster.model);

    EXPECT_EQ(shortRow->x1, 6.0f);
    EXPECT_EQ(shortRow->x2, 6.0f);
    EXPECT_EQ(shortRow->startTag, ScanTag::kSlopedSide);
    EXPECT_EQ(shortRow->endTag, ScanTag::kSlopedSide | ScanTag::kUsed);
    EXPECT_EQ(pointRow->startTag, ScanTag::kSlopedSide | ScanTag::kUsed);
    EXPECT_EQ(pointRow->endTag, ScanTag::kSlopedSide);
    EXPECT_EQ(keptRow->x1, 5.0f);
    EXPECT_EQ(keptRow->endTag, ScanTag::kSlopedSide);
    // Columns keep their ends; the start of a short one is taken.
    EXPECT_EQ(shortColumn->y1, 1.0f);
    EXPECT_EQ(shortColumn->y2, 3.0f);
    EXPECT_EQ(shortColumn->startTag, ScanTag::kSlopedSide | ScanTag::kUsed);
    EXPECT_EQ(keptColumn->startTag, ScanTag::kSlopedSide);
    // The full lines of the layout are long and stay as they were.
    EXPECT_EQ(raster.model.m_RowList[0]->intervals[0]->startTag, ScanTag::kBoardEdge);
}

// A raster of random intervals on a coarse grid of coordinates, so that
// equal distances (ties) are common.
void FillRandom(CBoardModel& model, std::mt19937& rng, void* const* sources, int sourceCount)
{
    const int lines = 40;
    g_BoardMinX = 0;
    g_BoardMinY = 0;
    g_BoardMaxX = g_BoardMaxY = (lines - 1) * kPitch;
    model.m_GridStep = kPitch;
    const std::uint8_t tags[] = {1, 2, 4, 8, 9, 0x40, 0x11, 0x18};
    auto coord = [&] { return float(rng() % (2 * g_BoardMaxX)) / 2.0f; };
    for (int axis = 0; axis < 2; ++axis) {
        auto& list = axis == 0 ? model.m_RowList : model.m_ColumnList;
        for (int l = 0; l < lines; ++l) {
            auto line = std::make_unique<CSubList>();
            int count = int(rng() % 12);
            for (int i = 0; i < count; ++i) {
                float a = coord(), b = coord();
                if (b < a)
                    std::swap(a, b);
                float at = float(l * kPitch);
                auto iv = std::make_unique<CScanInterval>();
                iv->x1 = axis == 0 ? a : at;
                iv->y1 = axis == 0 ? at : a;
                iv->x2 = axis == 0 ? b : at;
                iv->y2 = axis == 0 ? at : b;
                iv->startTag = tags[rng() % 8];
                iv->endTag = tags[rng() % 8];
                iv->startNet = rng() % 3;
                iv->endNet = rng() % 3;
                iv->startSource = sources[rng() % sourceCount];
                iv->endSource = sources[rng() % sourceCount];
                line->intervals.push_back(std::move(iv));
            }
            list.push_back(std::move(line));
        }
    }
}

// Where an interval sits: axis, line and place in the line's list.
std::tuple<int, std::size_t, std::size_t> Locate(const CBoardModel& model, const CScanInterval* iv)
{
    for (int axis = 0; axis < 2; ++axis) {
        const auto& list = axis == 0 ? model.m_RowList : model.m_ColumnList;
        for (std::size_t l = 0; l < list.size(); ++l)
            for (std::size_t i = 0; i < list[l]->intervals.size(); ++i)
                if (list[l]->intervals[i].get() == iv)
                    return {axis, l, i};
    }
    return {-1, 0, 0};
}

TEST(PathGeneration, IndexedFindersAgreeWithTheFullScan)
{
    CTrackRecord a, b;
    void* sources[] = {&a, &b, nullptr};
    for (unsigned seed = 1; seed <= 20; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 rngA(seed), rngB(seed);
        CBoardModel full, indexed;
        FillRandom(full, rngA, sources, 3);
        FillRandom(indexed, rngB, sources, 3);
        CScanEndIndex index(indexed);
        std::mt19937 rng(seed * 7919);
        int found = 0;
        for (int q = 0; q < 400; ++q) {
            float px = float(rng() % 320) / 2.0f, py = float(rng() % 320) / 2.0f;
            std::uint32_t net = rng() % 3;
            const void* source = sources[rng() % 3];
            bool wide = rng() % 4 == 0;
            std::uint32_t netF = net, netI = net;
            float xF = px, yF = py, xI = px, yI = py;
            int tagF = 0, tagI = 0, sideF = 0, sideI = 0;
            CScanInterval* hitF =
                wide ? FindNextIntervalWide(full, &netF, &xF, &yF, &tagF, &sideF)
                     : FindNextRowInterval(full, &netF, &xF, &yF, &tagF, &sideF, source);
            CScanInterval* hitI =
                wide ? FindNextIntervalWide(indexed, &netI, &xI, &yI, &tagI, &sideI, &index)
                     : FindNextRowInterval(indexed, &netI, &xI, &yI, &tagI, &sideI, source, &index);
            ASSERT_EQ(hitF == nullptr, hitI == nullptr) << q;
            if (!hitF)
                continue;
            ++found;
            ASSERT_EQ(xF, xI) << q;
            ASSERT_EQ(yF, yI) << q;
            ASSERT_EQ(netF, netI) << q;
            ASSERT_EQ(tagF, tagI) << q;
            ASSERT_EQ(sideF, sideI) << q;
            ASSERT_EQ(Locate(full, hitF), Locate(indexed, hitI)) << q;
        }
        EXPECT_GT(found, 50);
    }
}

}  // namespace
