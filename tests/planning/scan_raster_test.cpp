// The scan-line raster: the look-ups by index and coordinate, the cutters on
// small rasters (what each leaves on a line: ends, tags, record ids, sources
// and the order of the pieces), the arc track's stepping, and the point tests
// of tracks, pads and arcs.
#include "geometry/plane_geometry.h"
#include "planning/scan_raster.h"
#include "records/board_extent.h"
#include "records/board_model.h"
#include "records/copper_records.h"
#include "records/track_geometry.h"
#include "support/scripted_host.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <new>
#include <optional>
#include <random>
#include <string>
#include <vector>

// Lets a test make the allocation of new intervals fail (allocations of
// their size, which no container of the cut or of the scripted host asks
// for): the cutters must survive a split piece they cannot get.
namespace {
std::size_t g_FailingSize = 0;
}

// Kept out of line: an optimiser that sees malloc() inside would take the
// library's operator delete at every unique_ptr for a mismatched free.
[[gnu::noinline]] void* operator new(std::size_t size)
{
    if (size == g_FailingSize)
        throw std::bad_alloc();
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
// The library's operator delete frees with free(), which fits.

namespace {

// The raster as the document lays it out: rows at y = minY + i * pitch and
// columns at x = minX + j * pitch, each one interval across the whole extent
// with both ends at the board edge.
void LayOutRaster(CBoardModel& model, int minX, int minY, int maxX, int maxY, int pitch)
{
    g_BoardMinX = minX;
    g_BoardMinY = minY;
    g_BoardMaxX = maxX;
    g_BoardMaxY = maxY;
    model.m_GridStep = pitch;
    model.m_RowList.clear();
    model.m_ColumnList.clear();
    auto line = [](float x1, float y1, float x2, float y2) {
        auto l = std::make_unique<CSubList>();
        auto iv = std::make_unique<CScanInterval>();
        iv->x1 = x1;
        iv->y1 = y1;
        iv->x2 = x2;
        iv->y2 = y2;
        iv->startTag = iv->endTag = CScanInterval::kBoardEdge;
        l->intervals.push_back(std::move(iv));
        return l;
    };
    for (int i = 0; i <= (maxY - minY) / pitch; ++i) {
        float y = float(minY + i * pitch);
        model.m_RowList.push_back(line(float(minX), y, float(maxX), y));
    }
    for (int j = 0; j <= (maxX - minX) / pitch; ++j) {
        float x = float(minX + j * pitch);
        model.m_ColumnList.push_back(line(x, float(minY), x, float(maxY)));
    }
}

CTrackRecord Track(float x1, float y1, float x2, float y2, float width, int id)
{
    CTrackRecord t;
    t.x1 = x1;
    t.y1 = y1;
    t.x2 = x2;
    t.y2 = y2;
    t.width = width;
    t.recordNo = id;
    return t;
}

CFlashRecord Circle(float x, float y, float r, int id)
{
    CFlashRecord c;
    c.x = x;
    c.y = y;
    c.radius = r;
    c.recordNo = id;
    return c;
}

// What the source of an end should be: none, the cutting shape, or the
// marker that a case's starting line carries.
enum class Src { None, Shape, Marker };

struct End {
    float at;             // coordinate along the line
    std::uint8_t tag;
    std::uint32_t net;
    Src source;
};

struct Piece {
    End start, end;
};

int g_Marker;

// Replaces line `index` of the rows or columns by the given pieces.
void SetLine(CBoardModel& model, ScanAxis axis, std::size_t index, const std::vector<Piece>& pieces)
{
    bool rows = axis == ScanAxis::Rows;
    CSubList& line = *(rows ? model.m_RowList : model.m_ColumnList)[index];
    float across = float(index * model.m_GridStep);
    line.intervals.clear();
    for (const Piece& p : pieces) {
        auto iv = std::make_unique<CScanInterval>();
        (rows ? iv->x1 : iv->y1) = p.start.at;
        (rows ? iv->x2 : iv->y2) = p.end.at;
        (rows ? iv->y1 : iv->x1) = across;
        (rows ? iv->y2 : iv->x2) = across;
        iv->startTag = p.start.tag;
        iv->endTag = p.end.tag;
        iv->startNet = p.start.net;
        iv->endNet = p.end.net;
        iv->startSource = p.start.source == Src::Marker ? &g_Marker : nullptr;
        iv->endSource = p.end.source == Src::Marker ? &g_Marker : nullptr;
        line.intervals.push_back(std::move(iv));
    }
}

void* Expected(Src s, const void* shape)
{
    return s == Src::None ? nullptr : s == Src::Shape ? const_cast<void*>(shape) : &g_Marker;
}

void ExpectLine(const CBoardModel& model, ScanAxis axis, std::size_t index,
                const std::vector<Piece>& pieces, const void* shape, float tolerance,
                const std::string& what)
{
    bool rows = axis == ScanAxis::Rows;
    const CSubList& line = *(rows ? model.m_RowList : model.m_ColumnList)[index];
    ASSERT_EQ(line.intervals.size(), pieces.size()) << what;
    float across = float(index * model.m_GridStep);
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const CScanInterval& iv = *line.intervals[i];
        const Piece& p = pieces[i];
        std::string at = what + ", piece " + std::to_string(i);
        EXPECT_NEAR(rows ? iv.x1 : iv.y1, p.start.at, tolerance) << at;
        EXPECT_NEAR(rows ? iv.x2 : iv.y2, p.end.at, tolerance) << at;
        EXPECT_FLOAT_EQ(rows ? iv.y1 : iv.x1, across) << at;
        EXPECT_FLOAT_EQ(rows ? iv.y2 : iv.x2, across) << at;
        EXPECT_EQ(iv.startTag, p.start.tag) << at;
        EXPECT_EQ(iv.endTag, p.end.tag) << at;
        EXPECT_EQ(iv.startNet, p.start.net) << at;
        EXPECT_EQ(iv.endNet, p.end.net) << at;
        EXPECT_EQ(iv.startSource, Expected(p.start.source, shape)) << at;
        EXPECT_EQ(iv.endSource, Expected(p.end.source, shape)) << at;
    }
}

constexpr std::uint8_t kEdge = CScanInterval::kBoardEdge;
const End kLeft{0, kEdge, 0, Src::None};
const End kRight{100, kEdge, 0, Src::None};

}  // namespace

// One cut on a 100 x 100 mil raster at a 4 mil pitch (row i at y = 4i,
// column j at x = 4j), and the line it leaves.
TEST(ScanRasterCutters, WhatEachCutterLeavesOnALine)
{
    CTrackRecord sloped = Track(20, 10, 60, 50, 10, 7);
    CTrackRecord horizontal = Track(20, 30, 60, 30, 10, 3);
    CTrackRecord nearlyVertical = Track(50, 10, 50.005f, 60, 10, 4);
    CTrackRecord shortHorizontal = Track(15, 28, 35, 28, 10, 5);
    CTrackRecord dot = Track(40.5f, 50, 40.5f, 50, 10, 9);
    CFlashRecord pad = Circle(50, 20, 5, 11);
    CFlashRecord grazing = Circle(50, 30.0001f, 10, 12);
    CFlashRecord missed = Circle(50, 30.02f, 10, 13);
    CTrackRecord belowRow = Track(20, 25, 60, 25, 6, 6);   // sides at y 22 and 28
    CFlashRecord padBelow = Circle(50, 18.05f, 5, 14);     // 5.95 below row 6
    CFlashRecord capBelow = Circle(50, 16.1f, 5, 15);      // 7.9 below row 6
    const float slopedHalf = 5.0f * std::sqrt(2.0f);

    // A cut, and the shape it leaves as the source of the ends it makes.
    struct Cutter {
        std::function<void(CBoardModel&)> run;
        const void* shape;
    };
    auto track = [](ScanAxis axis, CTrackRecord& t) {
        return Cutter{[&t, axis](CBoardModel& m) { CutTrack(m, axis, t, &t); }, &t};
    };
    auto piece = [](CTrackRecord& t) {
        return Cutter{[&t](CBoardModel& m) { CutArcPiece(m, ScanAxis::Rows, t, &t); }, &t};
    };
    auto flash = [](CFlashRecord& c) {
        return Cutter{[&c](CBoardModel& m) { CutFlash(m, ScanAxis::Rows, c, &c); }, &c};
    };
    auto cap = [](CFlashRecord& c) {
        return Cutter{[&c](CBoardModel& m) { CutEndCap(m, ScanAxis::Rows, c, &c); }, &c};
    };

    struct Case {
        const char* what;
        Cutter cut;
        ScanAxis axis;
        std::size_t line;
        std::vector<Piece> before;   // empty: the full line of the layout
        std::vector<Piece> after;
        float tolerance;
    } cases[] = {
        {"a sloped track splits the row; the upper piece goes last, with the old end's mark",
         track(ScanAxis::Rows, sloped), ScanAxis::Rows, 7,
         {{kLeft, {60, 8, 42, Src::Marker}}, {{70, 9, 1, Src::None}, kRight}},
         {{kLeft, {38 - slopedHalf, 1, 7, Src::Shape}},
          {{70, 9, 1, Src::None}, kRight},
          {{38 + slopedHalf, 1, 7, Src::Shape}, {60, 8, 42, Src::Marker}}},
         1e-4f},
        {"a horizontal track's sides are tagged 2", track(ScanAxis::Rows, horizontal),
         ScanAxis::Rows, 7, {},
         {{kLeft, {20, 2, 3, Src::Shape}}, {{60, 2, 3, Src::Shape}, kRight}}, 1e-5f},
        {"the tag follows the track's direction, not the line's",
         track(ScanAxis::Columns, horizontal), ScanAxis::Columns, 10, {},
         {{kLeft, {25, 2, 3, Src::Shape}}, {{35, 2, 3, Src::Shape}, kRight}}, 1e-5f},
        {"the track cutter takes ends 0.005 apart in x as vertical (tag 4, sides at x1 +- h)",
         track(ScanAxis::Rows, nearlyVertical), ScanAxis::Rows, 5, {},
         {{kLeft, {45, 4, 4, Src::Shape}}, {{55, 4, 4, Src::Shape}, kRight}}, 1e-5f},
        {"the arc-piece cutter takes the same track as sloped (sides lean by 0.001 at y 20)",
         piece(nearlyVertical), ScanAxis::Rows, 5, {},
         {{kLeft, {45.001f, 8, 4, Src::Shape}}, {{55.001f, 8, 4, Src::Shape}, kRight}}, 2e-4f},
        {"the row track cutter removes an interval whose ends pulled 1 inward lie inside",
         track(ScanAxis::Rows, shortHorizontal), ScanAxis::Rows, 7,
         {{kLeft, {10, kEdge, 0, Src::None}}, {{14.5f, kEdge, 0, Src::None}, {20, kEdge, 0, Src::None}},
          {{40, kEdge, 0, Src::None}, kRight}},
         {{kLeft, {10, kEdge, 0, Src::None}}, {{40, kEdge, 0, Src::None}, kRight}}, 1e-5f},
        {"the arc-piece cutter tests the exact ends and only shortens that interval",
         piece(shortHorizontal), ScanAxis::Rows, 7,
         {{kLeft, {10, kEdge, 0, Src::None}}, {{14.5f, kEdge, 0, Src::None}, {20, kEdge, 0, Src::None}},
          {{40, kEdge, 0, Src::None}, kRight}},
         {{kLeft, {10, kEdge, 0, Src::None}}, {{14.5f, kEdge, 0, Src::None}, {15, 8, 5, Src::Shape}},
          {{40, kEdge, 0, Src::None}, kRight}},
         1e-5f},
        {"a zero-length track splits a column once at its point: the piece above, starting on "
         "both of its edges, is not split again",
         track(ScanAxis::Columns, dot), ScanAxis::Columns, 10, {},
         {{kLeft, {50, 4, 9, Src::Shape}}, {{50, 4, 9, Src::Shape}, kRight}}, 1e-5f},
        {"an interval inside a flash disappears", flash(pad), ScanAxis::Rows, 5,
         {{kLeft, {10, kEdge, 0, Src::None}}, {{48, kEdge, 0, Src::None}, {52, kEdge, 0, Src::None}},
          {{60, kEdge, 0, Src::None}, kRight}},
         {{kLeft, {10, kEdge, 0, Src::None}}, {{60, kEdge, 0, Src::None}, kRight}}, 1e-5f},
        {"an interval inside an end cap disappears", cap(pad), ScanAxis::Rows, 5,
         {{kLeft, {10, kEdge, 0, Src::None}}, {{48, kEdge, 0, Src::None}, {52, kEdge, 0, Src::None}},
          {{60, kEdge, 0, Src::None}, kRight}},
         {{kLeft, {10, kEdge, 0, Src::None}}, {{60, kEdge, 0, Src::None}, kRight}}, 1e-5f},
        {"a flash measures in whole mils: an interval 0.5 beyond its radius goes too",
         flash(pad), ScanAxis::Rows, 5,
         {{kLeft, {10, kEdge, 0, Src::None}}, {{44.5f, kEdge, 0, Src::None}, {55.5f, kEdge, 0, Src::None}},
          {{60, kEdge, 0, Src::None}, kRight}},
         {{kLeft, {10, kEdge, 0, Src::None}}, {{60, kEdge, 0, Src::None}, kRight}}, 1e-5f},
        {"an end cap's removal reaches 2 mil beyond its radius", cap(pad), ScanAxis::Rows, 5,
         {{kLeft, {10, kEdge, 0, Src::None}}, {{43.5f, kEdge, 0, Src::None}, {56.5f, kEdge, 0, Src::None}},
          {{60, kEdge, 0, Src::None}, kRight}},
         {{kLeft, {10, kEdge, 0, Src::None}}, {{60, kEdge, 0, Src::None}, kRight}}, 1e-5f},
        {"an end cap splits a full row, tag 9", cap(pad), ScanAxis::Rows, 5, {},
         {{kLeft, {45, 9, 11, Src::Shape}}, {{55, 9, 11, Src::Shape}, kRight}}, 1e-5f},
        {"a flash shortens an interval that ends inside it", flash(pad), ScanAxis::Rows, 5,
         {{kLeft, {52, kEdge, 0, Src::None}}, {{60, kEdge, 0, Src::None}, kRight}},
         {{kLeft, {45, 8, 11, Src::Shape}}, {{60, kEdge, 0, Src::None}, kRight}}, 1e-5f},
        {"a row that only grazes a flash is split at two close points", flash(grazing),
         ScanAxis::Rows, 5, {},
         {{kLeft, {49.955f, 8, 12, Src::Shape}}, {{50.045f, 8, 12, Src::Shape}, kRight}}, 0.002f},
        {"a row that passes the flash by 0.02 stays whole", flash(missed), ScanAxis::Rows, 5, {},
         {{kLeft, kRight}}, 1e-5f},
        {"a row on a track's side is cut at the track's ends", track(ScanAxis::Rows, belowRow),
         ScanAxis::Rows, 7, {},
         {{kLeft, {20, 2, 6, Src::Shape}}, {{60, 2, 6, Src::Shape}, kRight}}, 1e-5f},
        {"a flash takes a short interval on a row 0.95 beyond its radius (whole mils)",
         flash(padBelow), ScanAxis::Rows, 6,
         {{kLeft, {10, kEdge, 0, Src::None}}, {{49.9f, kEdge, 0, Src::None}, {50.1f, kEdge, 0, Src::None}},
          {{60, kEdge, 0, Src::None}, kRight}},
         {{kLeft, {10, kEdge, 0, Src::None}}, {{60, kEdge, 0, Src::None}, kRight}}, 1e-5f},
        {"an end cap's removal takes one on a row 2.9 beyond its radius", cap(capBelow),
         ScanAxis::Rows, 6,
         {{kLeft, {10, kEdge, 0, Src::None}}, {{49.9f, kEdge, 0, Src::None}, {50.1f, kEdge, 0, Src::None}},
          {{60, kEdge, 0, Src::None}, kRight}},
         {{kLeft, {10, kEdge, 0, Src::None}}, {{60, kEdge, 0, Src::None}, kRight}}, 1e-5f},
    };
    for (const Case& c : cases) {
        CBoardModel model;
        LayOutRaster(model, 0, 0, 100, 100, 4);
        if (!c.before.empty())
            SetLine(model, c.axis, c.line, c.before);
        c.cut.run(model);
        ExpectLine(model, c.axis, c.line, c.after, c.cut.shape, c.tolerance, c.what);
    }
}

// A cut walks the lines of its extent widened by its margin in lines (one
// pitch's worth for an end cap), and the walk stops before the last line of
// that range. Seen where a cap's removal reaches beyond its radius: at a
// 1 mil pitch a cap of radius 5 at y 50 walks rows 44 to 55, and its
// removal would take a short interval up to 7 mil from the centre.
TEST(ScanRasterCutters, AnEndCapWalksItsRowsAndTheMarginOnly)
{
    CBoardModel model;
    LayOutRaster(model, 0, 0, 100, 100, 1);
    for (std::size_t row = 40; row <= 60; ++row)
        SetLine(model, ScanAxis::Rows, row,
                {{kLeft, {10, kEdge, 0, Src::None}},
                 {{49.5f, kEdge, 0, Src::None}, {50.5f, kEdge, 0, Src::None}},
                 {{90, kEdge, 0, Src::None}, kRight}});
    CFlashRecord cap = Circle(50, 50, 5, 1);
    CutEndCap(model, ScanAxis::Rows, cap, &cap);
    for (std::size_t row = 40; row <= 60; ++row) {
        bool taken = model.m_RowList[row]->intervals.size() == 2;
        EXPECT_EQ(taken, row >= 44 && row <= 55) << "row " << row;
    }
}

// Some 50,000 mil from the origin a float resolves only a few thousandths
// of a mil, and the end a pad's split leaves on its circle can read as
// lying just outside it. The piece beyond the pad must not then be split
// again at the line's other crossing, which lies off that piece: the row
// is split once, at both crossings, and nothing runs across the pad.
TEST(ScanRasterCutters, APadFarFromTheOriginSplitsItsRowOnceAtBothCrossings)
{
    constexpr int kFarX = 50000;
    constexpr std::size_t kRow = 5;  // y = 20
    for (float radius : {7.3f, 19.5f, 39.25f}) {
        for (int k = 0; k < 40; ++k) {
            CBoardModel model;
            LayOutRaster(model, kFarX - 100, 0, kFarX + 100, 100, 4);
            CFlashRecord pad = Circle(float(kFarX) + 0.037f * float(k), 20.7f + 0.05f * float(k % 7), radius, 1);
            CutFlash(model, ScanAxis::Rows, pad, &pad);
            const auto& row = model.m_RowList[kRow]->intervals;
            const double dy = 20.0 - double(pad.y);
            const double half = std::sqrt(double(radius) * radius - dy * dy);
            const std::string what = "pad r " + std::to_string(radius) + " at x " + std::to_string(pad.x);
            ASSERT_EQ(row.size(), 2u) << what;
            EXPECT_NEAR(row[0]->x1, kFarX - 100, 1e-3) << what;
            EXPECT_NEAR(row[0]->x2, pad.x - half, 0.01) << what;
            EXPECT_NEAR(row[1]->x1, pad.x + half, 0.01) << what;
            EXPECT_NEAR(row[1]->x2, kFarX + 100, 1e-3) << what;
            EXPECT_EQ(row[0]->endTag, ScanTag::kFlash) << what;
            EXPECT_EQ(row[1]->startTag, ScanTag::kFlash) << what;
        }
    }
}

TEST(ScanRasterCutters, AFailedSplitIsToldOnceAndLeavesTheLinesWhole)
{
    CBoardModel model;
    LayOutRaster(model, 0, 0, 100, 100, 4);
    CTrackRecord t = Track(20, 50, 60, 50, 10, 1);
    g_FailingSize = sizeof(CScanInterval);
    CutTrack(model, ScanAxis::Rows, t, &t);
    g_FailingSize = 0;
    EXPECT_EQ(TestHost().BoxTexts(), std::vector<std::string>{"Out of Memory !"});
    for (const auto& row : model.m_RowList) {
        ASSERT_EQ(row->intervals.size(), 1u);
        const CScanInterval& iv = *row->intervals[0];
        EXPECT_EQ(iv.x1, 0.0f);
        EXPECT_EQ(iv.x2, 100.0f);
        EXPECT_EQ(iv.startTag, kEdge);
        EXPECT_EQ(iv.endTag, kEdge);
    }
}

namespace {

// A 150 x 100 mil raster cut by a seeded mix of 300 shapes, crowded so that
// they cut each other's leftovers: sloped, nearly
// vertical, whole-mil and zero-length tracks, arc pieces, pads and caps
// (some of negative radius) and arc tracks, all rows first, then all
// columns, then a few alternating; midway one row is laid by hand with
// many pieces. The shapes are records of the model, so the ends' sources
// can be told apart by their place in its lists.
// How the cuts find their intervals: every line walked whole, through the
// copies compared with their lines at every cut, or through copies trusted
// within passes that end wherever other code lays a line.
enum class Walk { Plain, Copies, Passes };

class SeededBoard {
public:
    SeededBoard(unsigned seed, Walk walk) : m_Random(seed)
    {
        SetPlainScanWalk(walk == Walk::Plain);
        LayOutRaster(m_Model, 0, 0, 150, 100, 1 + int(m_Random() % 4));
        for (float width : {4.0f, 10.0f}) {
            auto aperture = std::make_unique<CApertureRecord>();
            aperture->width = width;
            m_Model.m_ApertureList.push_back(std::move(aperture));
        }
        for (int id = 0; id < 300; ++id)
            MakeShape(id);
        std::optional<CScanCutPass> pass;
        auto open = [&] {
            if (walk == Walk::Passes)
                pass.emplace();
        };
        for (ScanAxis axis : {ScanAxis::Rows, ScanAxis::Columns}) {
            open();
            for (std::size_t i = 0; i < m_Cuts.size(); ++i) {
                if (axis == ScanAxis::Columns && i == m_Cuts.size() / 2) {
                    pass.reset();
                    LayRowByHand();
                    open();
                }
                m_Cuts[i](axis);
            }
            pass.reset();
        }
        open();
        for (std::size_t i = 0; i < 40; ++i)
            m_Cuts[i * 7 % m_Cuts.size()](i % 2 ? ScanAxis::Rows : ScanAxis::Columns);
        pass.reset();
        SetPlainScanWalk(false);
    }

    const CBoardModel& Model() const { return m_Model; }

    // Where a source lies: its list (1 tracks, 2 pads, 3 the arcs' pads)
    // and its place there; 0 for none.
    long SourcePlace(const void* source) const
    {
        if (!source)
            return 0;
        auto find = [source](const auto& list, long which) -> long {
            for (std::size_t i = 0; i < list.size(); ++i)
                if (list[i].get() == source)
                    return which * 100000 + long(i);
            return -1;
        };
        for (long place : {find(m_Model.m_TrackList, 1), find(m_Model.m_FlashList, 2),
                           find(m_Model.m_PadList2, 3)})
            if (place >= 0)
                return place;
        return -1;
    }

private:
    float Uniform(float low, float high)
    {
        return low + (high - low) * float(m_Random() >> 8) / 16777216.0f;
    }
    float Whole(float low, float high) { return std::floor(Uniform(low, high)); }
    // On a quarter-mil grid, where distances to the lines come out even.
    float Quarter(float low, float high) { return std::floor(Uniform(low, high) * 4.0f) / 4.0f; }

    CTrackRecord& AddTrack(float x1, float y1, float x2, float y2, float width, int id)
    {
        m_Model.m_TrackList.push_back(std::make_unique<CTrackRecord>(Track(x1, y1, x2, y2, width, id)));
        return *m_Model.m_TrackList.back();
    }

    CFlashRecord& AddPad(float x, float y, float r, int id)
    {
        m_Model.m_FlashList.push_back(std::make_unique<CFlashRecord>(Circle(x, y, r, id)));
        return *m_Model.m_FlashList.back();
    }

    // Cuts `record` with `cutter` on whichever lines the pass asks for.
    template <class Record>
    void AddCut(Record& record, void (*cutter)(CBoardModel&, ScanAxis, const Record&, void*))
    {
        CBoardModel& m = m_Model;
        m_Cuts.push_back([&m, &record, cutter](ScanAxis a) { cutter(m, a, record, &record); });
    }

    void MakeShape(int id)
    {
        const float x = Uniform(-10, 160), y = Uniform(-10, 110);
        switch (m_Random() % 8) {
        case 0:
            AddCut(AddTrack(x, y, x + Uniform(-30, 30), y + Uniform(-30, 30), Uniform(1, 8), id), CutTrack);
            break;
        case 1: {
            const float lean[] = {0.0f, 0.004f, 0.01f, 0.0101f, 0.5f};
            CTrackRecord& t = AddTrack(x, y, x + lean[m_Random() % 5], y + Uniform(-30, 30), Uniform(1, 8), id);
            AddCut(t, m_Random() % 2 == 0 ? CutArcPiece : CutTrack);
            break;
        }
        case 2: {
            const float x2 = m_Random() % 3 ? std::floor(x) : Whole(0, 150);
            const float y2 = m_Random() % 3 ? std::floor(y) : Whole(0, 100);
            AddCut(AddTrack(std::floor(x), std::floor(y), x2, y2, Whole(1, 8), id), CutTrack);
            break;
        }
        case 3:
            AddCut(AddTrack(x, y, x + Uniform(-4, 4), y + Uniform(-4, 4), Uniform(2, 8), id), CutArcPiece);
            break;
        case 4:
        case 5: {
            const bool even = m_Random() % 2;
            CFlashRecord& c = AddPad(even ? Quarter(0, 150) : x, even ? Quarter(0, 100) : y,
                                     even ? Quarter(-3, 8) : Uniform(-3, 8), id);
            AddCut(c, m_Random() % 2 != 0 ? CutFlash : CutEndCap);
            break;
        }
        case 6: {
            CTrackRecord& arc = AddTrack(x, y, Uniform(-3.2f, 3.2f), Uniform(-3.2f, 3.2f), Uniform(3, 30), id);
            arc.type = std::uint8_t(3 + m_Random() % 2);
            arc.aperture = std::uint8_t(m_Random() % 3);
            if (m_Random() % 2)
                m_Model.m_PadList2.push_back(std::make_unique<CFlashRecord>(Circle(x, y, 1, id)));
            const float half = Uniform(0, 3);
            CBoardModel& m = m_Model;
            m_Cuts.push_back([&m, &arc, half](ScanAxis a) { CutArcTrack(m, a, arc, half); });
            break;
        }
        default:
            AddCut(AddTrack(x, y, x, y, Uniform(1, 8), id), CutTrack);
            break;
        }
    }

    // The row at y 48 (or below it) laid anew as twelve 5 mil pieces.
    void LayRowByHand()
    {
        std::vector<Piece> pieces;
        for (float at = 2; at < 150; at += 12)
            pieces.push_back({{at, kEdge, 0, Src::None}, {at + 5, kEdge, 0, Src::None}});
        SetLine(m_Model, ScanAxis::Rows, 48 / std::size_t(m_Model.m_GridStep), pieces);
    }

    std::mt19937 m_Random;
    CBoardModel m_Model;
    std::vector<std::function<void(ScanAxis)>> m_Cuts;
};

}  // namespace

// The cutters find the intervals within a shape's reach through the copies
// they keep of the lines, compared with their lines or trusted within a
// pass; walking every line whole must leave the same raster, to the bit, in
// the same order.
TEST(ScanRasterCutters, CopiesOfTheLinesCutAsTheWholeLines)
{
    for (unsigned run = 0; run < 16; ++run) {
        const unsigned seed = 1 + run / 2;
        const Walk walk = run % 2 ? Walk::Passes : Walk::Copies;
        SCOPED_TRACE(walk == Walk::Passes ? "trusted within passes" : "compared at every cut");
        SeededBoard plain(seed, Walk::Plain), fast(seed, walk);
        std::size_t intervals = 0;
        for (int axis = 0; axis < 2; ++axis) {
            const auto& a = axis == 0 ? plain.Model().m_RowList : plain.Model().m_ColumnList;
            const auto& b = axis == 0 ? fast.Model().m_RowList : fast.Model().m_ColumnList;
            ASSERT_EQ(a.size(), b.size());
            for (std::size_t n = 0; n < a.size(); ++n) {
                const auto& ia = a[n]->intervals;
                const auto& ib = b[n]->intervals;
                ASSERT_EQ(ia.size(), ib.size()) << "seed " << seed << " axis " << axis << " line " << n;
                for (std::size_t k = 0; k < ia.size(); ++k) {
                    const CScanInterval& p = *ia[k];
                    const CScanInterval& q = *ib[k];
                    const std::string at = "seed " + std::to_string(seed) + " axis " + std::to_string(axis) +
                                           " line " + std::to_string(n) + " piece " + std::to_string(k);
                    ASSERT_EQ(0, std::memcmp(&p.x1, &q.x1, 4 * sizeof(float))) << at;
                    ASSERT_EQ(p.startTag, q.startTag) << at;
                    ASSERT_EQ(p.endTag, q.endTag) << at;
                    ASSERT_EQ(p.startNet, q.startNet) << at;
                    ASSERT_EQ(p.endNet, q.endNet) << at;
                    ASSERT_EQ(plain.SourcePlace(p.startSource), fast.SourcePlace(q.startSource)) << at;
                    ASSERT_EQ(plain.SourcePlace(p.endSource), fast.SourcePlace(q.endSource)) << at;
                }
                intervals += ia.size();
            }
        }
        // The shapes cut the raster well beyond its full lines.
        EXPECT_GT(intervals, plain.Model().m_RowList.size() + plain.Model().m_ColumnList.size()) << seed;
    }
}

namespace {

// Both rasters alike, interval by interval, in list order.
void ExpectSameRaster(const CBoardModel& a, const CBoardModel& b)
{
    for (int axis = 0; axis < 2; ++axis) {
        const auto& la = axis == 0 ? a.m_RowList : a.m_ColumnList;
        const auto& lb = axis == 0 ? b.m_RowList : b.m_ColumnList;
        ASSERT_EQ(la.size(), lb.size());
        for (std::size_t i = 0; i < la.size(); ++i) {
            const auto& ia = la[i]->intervals;
            const auto& ib = lb[i]->intervals;
            ASSERT_EQ(ia.size(), ib.size()) << "line " << i << " axis " << axis;
            for (std::size_t k = 0; k < ia.size(); ++k) {
                EXPECT_EQ(ia[k]->x1, ib[k]->x1);
                EXPECT_EQ(ia[k]->y1, ib[k]->y1);
                EXPECT_EQ(ia[k]->x2, ib[k]->x2);
                EXPECT_EQ(ia[k]->y2, ib[k]->y2);
                EXPECT_EQ(ia[k]->startTag, ib[k]->startTag);
                EXPECT_EQ(ia[k]->endTag, ib[k]->endTag);
                EXPECT_EQ(ia[k]->startNet, ib[k]->startNet);
                EXPECT_EQ(ia[k]->endNet, ib[k]->endNet);
                EXPECT_EQ(ia[k]->startSource, ib[k]->startSource);
                EXPECT_EQ(ia[k]->endSource, ib[k]->endSource);
            }
        }
    }
}

// A type-4 arc about (50, 50) from 0.5 down to 0.2 rad at R = 30 mil, its
// stroke (1 mil unless given) from aperture 0.
struct FallingArc {
    CBoardModel model;
    CTrackRecord arc;
    CFlashRecord* pad = nullptr;

    explicit FallingArc(bool withPad, float stroke = 1.0f)
    {
        LayOutRaster(model, 0, 0, 100, 100, 1);
        auto aperture = std::make_unique<CApertureRecord>();
        aperture->width = stroke;
        model.m_ApertureList.push_back(std::move(aperture));
        arc = Track(50, 50, 0.5f, 0.2f, 30, 21);
        arc.type = 4;
        arc.groupNo = 6;
        if (withPad) {
            auto other = std::make_unique<CFlashRecord>();
            other->recordNo = 20;
            model.m_PadList2.push_back(std::move(other));
            auto p = std::make_unique<CFlashRecord>();
            p->recordNo = 21;
            pad = p.get();
            model.m_PadList2.push_back(std::move(p));
        }
    }
};

}  // namespace

TEST(ScanRasterArcs, AFallingArcIsCutInTenthRadianPiecesWithCapsAtBothEnds)
{
    for (ScanAxis axis : {ScanAxis::Rows, ScanAxis::Columns}) {
        FallingArc cut(true, 10.0f);
        CutArcTrack(cut.model, axis, cut.arc, 2.0f);

        // The same cut by hand: a cap at the first point (radius
        // (10 + 2) / 2 - 1, standing out of the pieces), the pieces 0.5 ->
        // 0.4 -> 0.3 -> 0.2 widened by the half offset and lengthened by half
        // of it, a cap at the last point.
        FallingArc byHand(true, 10.0f);
        auto point = [](float a) {
            return std::make_pair(float(50 + 30 * std::sin(double(a))),
                                  float(50 + 30 * std::cos(double(a))));
        };
        CFlashRecord cap = Circle(0, 0, 5.0f, 21);
        cap.groupNo = 6;
        std::tie(cap.x, cap.y) = point(0.5f);
        CutEndCap(byHand.model, axis, cap, &cut.arc);
        float a = 0.5f;
        for (int i = 0; i < 3; ++i) {
            float b = a - 0.1f;
            auto [x1, y1] = point(a);
            auto [x2, y2] = point(b);
            CTrackRecord piece = Track(x1, y1, x2, y2, 12.0f, 21);
            LengthenTrack(piece, 1.0f);
            CutArcPiece(byHand.model, axis, piece, byHand.pad);
            a = b;
        }
        std::tie(cap.x, cap.y) = point(a);
        CutEndCap(byHand.model, axis, cap, &cut.arc);

        // The pads differ between the two models; the pieces of each point
        // at their own model's pad.
        for (auto* lines : {&byHand.model.m_RowList, &byHand.model.m_ColumnList})
            for (auto& line : *lines)
                for (auto& iv : line->intervals) {
                    if (iv->startSource == byHand.pad)
                        iv->startSource = cut.pad;
                    if (iv->endSource == byHand.pad)
                        iv->endSource = cut.pad;
                }
        ExpectSameRaster(cut.model, byHand.model);
        int pieceEnds = 0, capEnds = 0;
        for (auto* lines : {&cut.model.m_RowList, &cut.model.m_ColumnList})
            for (auto& line : *lines)
                for (auto& iv : line->intervals)
                    for (std::uint8_t tag : {iv->startTag, iv->endTag}) {
                        pieceEnds += tag == ScanTag::kFlash;
                        capEnds += tag == ScanTag::kCap;
                    }
        EXPECT_GT(pieceEnds, 0);
        EXPECT_GT(capEnds, 0);
    }
}

TEST(ScanRasterArcs, PiecesOfAnArcWithoutPadCarryNoSourceAndCapsTheArc)
{
    // A wide stroke, so the caps (radius (10 + 2) / 2 - 1 = 5) stand out of
    // the pieces' ends (lengthened by 1).
    FallingArc cut(false, 10.0f);
    CutArcTrack(cut.model, ScanAxis::Rows, cut.arc, 2.0f);
    int pieces = 0, caps = 0;
    for (auto& line : cut.model.m_RowList)
        for (auto& iv : line->intervals)
            for (auto [tag, net, source] : {std::tuple(iv->startTag, iv->startNet, iv->startSource),
                                            std::tuple(iv->endTag, iv->endNet, iv->endSource)}) {
                if (tag == ScanTag::kFlash) {
                    ++pieces;
                    EXPECT_EQ(source, nullptr);
                } else if (tag == ScanTag::kCap) {
                    ++caps;
                    EXPECT_EQ(source, &cut.arc);
                } else {
                    continue;
                }
                EXPECT_EQ(net, 21u);
            }
    EXPECT_GT(pieces, 0);
    EXPECT_GT(caps, 0);
}

// Where the stepping goes round the half turn, and arcs it could never
// finish (it stops after one turn). An arc about (50, 52) of radius 20 with
// a 2 mil wide piece: row 18 (y 72) passes its top, row 8 (y 32) its bottom.
TEST(ScanRasterArcs, StepsRoundTheHalfTurnAndStopAfterOneTurn)
{
    struct Case {
        const char* what;
        std::uint8_t type;
        float start, end, radius;
        bool top, bottom;   // whether the row there is cut
    } cases[] = {
        {"falling through minus a half turn: the bottom only", 4, -3.0f, 3.0f, 20.0f, false, true},
        {"rising through a half turn: the bottom only", 3, 3.0f, -3.0f, 20.0f, false, true},
        {"an end angle beyond the half turn is never reached: one turn", 3, 3.0f, 4.0f, 20.0f, true, true},
        {"both angles alike: a full circle", 4, 1.0f, 1.0f, 20.0f, true, true},
        {"zero radius: no piece", 3, 0.0f, 1.0f, 0.0f, false, false},
        {"an end that is not a number: one piece", 3, 0.0f, std::nanf(""), 20.0f, true, false},
    };
    for (const Case& c : cases) {
        CBoardModel model;
        LayOutRaster(model, 0, 0, 100, 100, 4);
        CTrackRecord arc = Track(50, 52, c.start, c.end, c.radius, 1);
        arc.type = c.type;
        CutArcTrack(model, ScanAxis::Rows, arc, 2.0f);
        EXPECT_EQ(model.m_RowList[18]->intervals.size() > 1, c.top) << c.what;
        EXPECT_EQ(model.m_RowList[8]->intervals.size() > 1, c.bottom) << c.what;
    }
}

TEST(ScanRasterLookups, LinesByIndexAndByCoordinate)
{
    CBoardModel model;
    LayOutRaster(model, 10, 20, 50, 60, 4);   // rows 0..10 at y 20..60
    std::size_t next = 99;

    EXPECT_EQ(ListPositionAt(model.m_RowList, 0), model.m_RowList[0].get());
    EXPECT_EQ(ListPositionAt(model.m_RowList, 10), model.m_RowList[10].get());
    EXPECT_EQ(ListPositionAt(model.m_RowList, 11), nullptr);

    // In the first pitch above the origin: no line.
    EXPECT_EQ(ScanLineAt(model, model.m_RowList, 23.9f, &next), nullptr);
    EXPECT_EQ(ScanLineAt(model, model.m_RowList, 19.0f, &next), nullptr);
    // At row 5's y: row 4, the position at row 5.
    EXPECT_EQ(ScanLineAt(model, model.m_RowList, 40.0f, &next), model.m_RowList[4].get());
    EXPECT_EQ(next, 5u);
    // Columns measure from the x origin.
    EXPECT_EQ(ScanLineAt(model, model.m_ColumnList, 31.5f, &next), model.m_ColumnList[4].get());
    EXPECT_EQ(next, 5u);
    // Row 10 is the last: its own index needs 11 lines, and is allowed; one
    // more runs off the list.
    EXPECT_EQ(ScanLineAt(model, model.m_RowList, 60.0f, &next), model.m_RowList[9].get());
    EXPECT_EQ(ScanLineAt(model, model.m_RowList, 64.0f, &next), nullptr);
    // Any other list is refused.
    COwnedList<CSubList> other;
    other.push_back(std::make_unique<CSubList>());
    other.push_back(std::make_unique<CSubList>());
    EXPECT_EQ(ScanLineAt(model, other, 24.0f, &next), nullptr);
}

TEST(ScanRasterLookups, NetShapeIsTheFirstPadWithTheId)
{
    CBoardModel model;
    for (int id : {4, 9, 9}) {
        auto p = std::make_unique<CFlashRecord>();
        p->recordNo = id;
        model.m_PadList2.push_back(std::move(p));
    }
    EXPECT_EQ(FindNetShape(model, 9), model.m_PadList2[1].get());
    EXPECT_EQ(FindNetShape(model, 5), nullptr);
}

TEST(PointTests, TracksAndPads)
{
    // A track whose ends differ by 0.005 in x leans: near its upper end the
    // right side lies at 55.005, beyond the 55 a vertical reading would give.
    CTrackRecord leaning = Track(50, 10, 50.005f, 60, 10, 1);
    CFlashRecord pad = Circle(10, 10, 5, 1);
    struct Case {
        const char* what;
        int got, want;
    } cases[] = {
        {"inside the leaning track near its upper end", PointInTrack(leaning, CDPoint(55.004, 59.9)), 1},
        {"beyond its side at its lower end", PointInTrack(leaning, CDPoint(55.004, 10.1)), 0},
        {"whole mil point on the side", PointInTrackXY(Track(0, 0, 10, 0, 4, 1), 5, 2), 1},
        {"whole mil point past the end", PointInTrackXY(Track(0, 0, 10, 0, 4, 1), 11, 0), 0},
        {"pad: closer than the radius", PointInCircle(pad, CDPoint(13, 13.9)), 1},
        {"pad: on the radius is outside", PointInCircle(pad, CDPoint(15, 10)), 0},
        {"pad at a whole-mil point", PointInCircleXY(pad, 6, 10), 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.got, c.want) << c.what;
}

TEST(PointTests, LengthenTrackMovesEachEndOutward)
{
    struct Case {
        CTrackRecord t;
        float ax1, ay1, ax2, ay2;
    } cases[] = {
        {Track(0, 0, 3, 4, 1, 1), -3, -4, 6, 8},     // a 3-4-5 direction, by 5
        {Track(3, 4, 0, 0, 1, 1), 6, 8, -3, -4},     // reversed
        {Track(0, 10, 0, 0, 1, 1), 0, 15, 0, -5},    // vertical
    };
    for (Case& c : cases) {
        LengthenTrack(c.t, 5.0f);
        EXPECT_NEAR(c.t.x1, c.ax1, 1e-5);
        EXPECT_NEAR(c.t.y1, c.ay1, 1e-5);
        EXPECT_NEAR(c.t.x2, c.ax2, 1e-5);
        EXPECT_NEAR(c.t.y2, c.ay2, 1e-5);
    }
}

TEST(PointTests, ArcSides)
{
    // Quarter arcs about (0, 0) of radius 10, angles measured as AngleOf does.
    struct Case {
        const char* what;
        double sx, sy, px, py, ex, ey;
        int side;
    } cases[] = {
        {"between start and end counter-clockwise", 10, 0, 7, 7, 0, 10, 1},
        {"beyond the end", 10, 0, -7, 7, 0, 10, 2},
        {"end at a smaller angle than the start, point past the start", 0, 10, -7, 7, 7, 7, 1},
        {"point and end at smaller angles than the start, point inside", -10, 0, 7, 7, 0, 10, 1},
        {"point and end at smaller angles than the start, point outside", -10, 0, -7, 7, 0, 10, 2},
        {"point at a smaller angle than the start, end at a larger", 0, -10, -10, 0, 7, -7, 2},
        {"on the end", 10, 0, 0, 10, 0, 10, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ArcSideOfPoint(0, 0, c.sx, c.sy, c.px, c.py, c.ex, c.ey), c.side) << c.what;
}

TEST(PointTests, PointsOnArcsAndInSweeps)
{
    // From (10, 0) to (0, 10) about the origin: counter-clockwise (1) the
    // quarter through 45 degrees, the other way the three quarters round.
    CArcD ccw{10, 0, 0, 10, 0, 0, 1};
    CArcD cw{10, 0, 0, 10, 0, 0, 2};
    CArcD full{10, 0, 10, 0.05, 0, 0, 2};
    struct OnCase {
        const char* what;
        bool got, want;
    } on[] = {
        {"on the quarter", PointOnArc(ccw, CDPoint(7.0711, 7.0711), 0.01), true},
        {"off the circle by more than the tolerance", PointOnArc(ccw, CDPoint(7.2, 7.2), 0.1), false},
        {"on the other three quarters", PointOnArc(ccw, CDPoint(-10, 0), 0.01), false},
        {"the other direction takes them", PointOnArc(cw, CDPoint(-10, 0), 0.01), true},
        {"and leaves the quarter", PointOnArcXY(cw, 7, 7, 0.2), false},
        {"two points at one angle make a full circle", PointOnArcXY(full, -10, 0, 0.01), true},
    };
    for (const OnCase& c : on)
        EXPECT_EQ(c.got, c.want) << c.what;

    CArcF rising{10, 0, 0, 10, 0, 0, 1};
    CArcF falling{0, 10, 10, 0, 0, 0, 2};   // clockwise from (0, 10) to (10, 0)
    struct SweepCase {
        const char* what;
        bool got, want;
    } sweep[] = {
        {"inside a rising quarter", PointInArcSweep(rising, CDPoint(7.07, 7.07), 0.1f), true},
        {"outside it", PointInArcSweep(rising, CDPoint(-7.07, -7.07), 0.1f), false},
        {"on its first point's ray", PointInArcSweep(rising, CDPoint(10, 0), 0.1f), false},
        {"off the circle", PointInArcSweep(rising, CDPoint(5, 5), 0.1f), false},
        {"inside a falling quarter", PointInArcSweep(falling, CDPoint(7.07, 7.07), 0.1f), true},
        {"outside the falling quarter", PointInArcSweep(falling, CDPoint(-7.07, -7.07), 0.1f), false},
        {"outside it, past its end", PointInArcSweep(falling, CDPoint(7.07, -7.07), 0.1f), false},
    };
    for (const SweepCase& c : sweep)
        EXPECT_EQ(c.got, c.want) << c.what;
}
