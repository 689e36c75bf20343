// The isolation oracle of tests/support on hand-made boards and paths: it
// must pass a correct isolation and name the fault of a wrong one, or the
// corpus test built on it proves nothing.
#include "records/board_model.h"
#include "support/isolation_oracle.h"
#include "support/record_makers.h"
#include "support/test_paths.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

// A cutter of 8 mil: radius 4, which is also the clearance the finest tool
// needs; the tolerance of a 2 mil raster.
constexpr float kTool = 8.0f;
constexpr double kClearance = 4.0;
constexpr double kTolerance = 1.5;

// Two pads of 30 mil radius with 40 mil of blank between them.
void AddTwoPads(CBoardModel& board)
{
    AddFlash(board.m_FlashList, 0, 0, 30);
    AddFlash(board.m_FlashList, 100, 0, 30);
}

CPathRecord ToolLayer()
{
    CPathRecord layer;
    layer.size = kTool;
    return layer;
}

void Circle(CPathRecord& layer, double cx, double cy, double r)
{
    AddSegment(layer, 1, cx + r, cy, cx + r, cy, cx, cy);
}

// Anticlockwise round a horizontal stroke from x0 to x1 at height y, r from
// its centre line: the bottom side, the cap at x1, the top side, the cap at x0.
void Stadium(CPathRecord& layer, double x0, double x1, double y, double r)
{
    AddSegment(layer, 0, x0, y - r, x1, y - r);
    AddSegment(layer, 1, x1, y - r, x1, y + r, x1, y);
    AddSegment(layer, 0, x1, y + r, x0, y + r);
    AddSegment(layer, 1, x0, y + r, x0, y - r, x0, y);
}

std::vector<std::pair<int, int>> Pairs(const CIsolationReport& report)
{
    std::vector<std::pair<int, int>> pairs;
    for (const CJoinedNets& j : report.joins)
        pairs.emplace_back(j.netA, j.netB);
    return pairs;
}

struct PathCase {
    const char* name;
    std::function<void(CPathRecord&)> build;
    bool clearanceOk;
    CDPoint worstAt;       // where the deepest violation lies, when one is expected
    double worstDepth;
    bool joined;           // the two pads left joined
};

TEST(IsolationOracle, TwoPadsJudgedByTheirPaths)
{
    CBoardModel board;
    AddTwoPads(board);
    const double ring = 30 + kClearance;

    const PathCase cases[] = {
        {"a ring round each pad at the clearance",
         [&](CPathRecord& l) { Circle(l, 0, 0, ring); Circle(l, 100, 0, ring); }, true, {}, 0, false},
        {"rings 1.4 mil too near, within the tolerance",
         [&](CPathRecord& l) { Circle(l, 0, 0, ring - 1.4); Circle(l, 100, 0, ring - 1.4); }, true, {}, 0,
         false},
        {"a ring 1 mil off centre, 1.6 mil too near on the left, past the tolerance",
         [&](CPathRecord& l) { Circle(l, 0, 0, ring); Circle(l, 101, 0, ring - 0.6); }, false,
         {101 - (ring - 0.6), 0}, 1.6, false},
        {"a line cutting 5 mil into the second pad",
         [&](CPathRecord& l) {
             Circle(l, 0, 0, ring);
             Circle(l, 100, 0, ring);
             AddSegment(l, 0, 60, 25, 140, 25);
         },
         false, {100, 25}, kClearance + 5, false},
        {"no path at all", [](CPathRecord&) {}, true, {}, 0, true},
        {"one outline round both pads",
         [&](CPathRecord& l) { Stadium(l, 0, 100, 0, ring); }, true, {}, 0, true},
        {"each ring open on the side facing the other pad",
         [&](CPathRecord& l) {
             // From 30 degrees round to -30 on the first pad, from 210 to
             // 150 on the second: the openings face each other.
             const double c = std::cos(M_PI / 6) * ring, s = std::sin(M_PI / 6) * ring;
             AddSegment(l, 1, c, s, c, -s, 0, 0);
             AddSegment(l, 1, 100 - c, -s, 100 - c, s, 100, 0);
         },
         true, {}, 0, true},
    };
    for (const PathCase& c : cases) {
        SCOPED_TRACE(c.name);
        CPathRecord layer = ToolLayer();
        c.build(layer);
        CIsolationOracle oracle(board, layer);
        ASSERT_EQ(oracle.Error(), "");
        ASSERT_EQ(oracle.NetCount(), 2);
        const int left = oracle.NetAt(0, 0), right = oracle.NetAt(100, 0);
        ASSERT_NE(left, right);

        const CClearanceReport clearance = CheckClearance(oracle, kClearance, kTolerance);
        EXPECT_EQ(clearance.Passed(), c.clearanceOk) << DescribeClearance(oracle, clearance);
        if (!c.clearanceOk && !clearance.violations.empty()) {
            const CClearanceViolation& worst = clearance.violations.front();
            EXPECT_NEAR(worst.at.x, c.worstAt.x, 0.3);
            EXPECT_NEAR(worst.at.y, c.worstAt.y, 0.3);
            EXPECT_NEAR(worst.depth, c.worstDepth, 0.05);
            EXPECT_EQ(oracle.Shapes()[std::size_t(worst.shape)].index, 1u);
        }

        const CIsolationReport isolation = CheckIsolation(oracle);
        const std::vector<std::pair<int, int>> expected =
            c.joined ? std::vector<std::pair<int, int>>{{std::min(left, right), std::max(left, right)}}
                     : std::vector<std::pair<int, int>>{};
        EXPECT_EQ(Pairs(isolation), expected) << DescribeIsolation(oracle, isolation);
    }
}

// Clearing strokes judged by their region (0..200 x 0..100) and their rows'
// spacing (10 mil, 2 mil tolerance): the offenders are named, the worst
// first.
TEST(IsolationOracle, ClearingStrokesStayInTheirRegionAndTheirRowsApart)
{
    const CClearingRegion region{0, 0, 200, 100};
    constexpr double kSpacing = 10.0, kRowTolerance = 2.0;
    // Two rows 10 apart joined by a link, and a third row's stroke.
    auto rows = [](CPathRecord& l) {
        AddSegment(l, 0, 0, 20, 200, 20);
        AddSegment(l, 0, 200, 20, 190, 30);
        AddSegment(l, 0, 190, 30, 10, 30);
        AddSegment(l, 0, 50, 40, 60, 40);
    };
    struct Case {
        const char* name;
        std::function<void(CPathRecord&)> extra;
        std::vector<std::size_t> outside;                          // farthest out first
        std::vector<std::pair<std::size_t, std::size_t>> crowded;  // nearest first
    } cases[] = {
        {"rows a spacing apart, edge to edge", [](CPathRecord&) {}, {}, {}},
        {"a row 8.5 apart, within the tolerance", [](CPathRecord& l) { AddSegment(l, 0, 20, 48.5, 90, 48.5); },
         {}, {}},
        {"a second stroke on a row is no neighbour of the first", [](CPathRecord& l) {
             AddSegment(l, 0, 70, 40, 120, 40);
         },
         {}, {}},
        {"a row 6 below the first, one 7 above the last, and one 6 above that but 7 along from it",
         [](CPathRecord& l) {
             AddSegment(l, 0, 55, 47, 58, 47);
             AddSegment(l, 0, 195, 14, 199, 14);
             AddSegment(l, 0, 67, 46, 70, 46);
         },
         {}, {{5, 0}, {3, 4}}},
        {"a stroke past the right edge, a link below the bottom", [](CPathRecord& l) {
             AddSegment(l, 0, 150, 60, 203, 60);
             AddSegment(l, 0, 190, 60, 180, -1.5);
         },
         {4, 5}, {}},
        {"an arc swinging out of the region",
         [](CPathRecord& l) { AddSegment(l, 1, 195, 95, 195, 95, 195, 85); }, {4}, {}},
        {"a stroke not cut (flag set) is not judged", [](CPathRecord& l) {
             AddSegment(l, 0, 150, 25, 250, 25)->flag = 1;
         },
         {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CPathRecord layer = ToolLayer();
        rows(layer);
        c.extra(layer);
        const CClearingReport report = CheckClearingStrokes(layer, region, kSpacing, kRowTolerance);
        std::vector<std::size_t> outside;
        for (const COutsideStroke& o : report.outside)
            outside.push_back(o.segment);
        std::vector<std::pair<std::size_t, std::size_t>> crowded;
        for (const CCrowdedStrokes& p : report.crowded)
            crowded.emplace_back(p.segmentA, p.segmentB);
        EXPECT_EQ(outside, c.outside) << DescribeClearing(layer, report);
        EXPECT_EQ(crowded, c.crowded) << DescribeClearing(layer, report);
        EXPECT_EQ(report.Passed(), c.outside.empty() && c.crowded.empty());
    }
}

TEST(IsolationOracle, AJoinIsShownWhereTheNetsMeetTheBlankBetweenThem)
{
    // One outline round both pads leaves the blank between them, and only
    // that blank, touching both: the join is placed there.
    CBoardModel board;
    AddTwoPads(board);
    CPathRecord layer = ToolLayer();
    Stadium(layer, 0, 100, 0, 30 + kClearance);
    CIsolationOracle oracle(board, layer);
    const CIsolationReport isolation = CheckIsolation(oracle);
    ASSERT_EQ(isolation.joins.size(), 1u);
    for (const CDPoint& at : {isolation.joins[0].atA, isolation.joins[0].atB}) {
        EXPECT_GT(at.x, 0.0);
        EXPECT_LT(at.x, 100.0);
        EXPECT_LT(std::fabs(at.y), 30.0);
    }
    // Less than the rectangle between the side lines: the pads and the
    // swept bands take their share.
    EXPECT_GT(isolation.joins[0].area, 0.0);
    EXPECT_LT(isolation.joins[0].area, 100.0 * 60.0);
}

TEST(IsolationOracle, ArcsAreSweptRoundTheirCentreInTheirOwnDirection)
{
    // A round track of 10 mil from (0, 0) to (100, 0) and a pad beyond its end.
    CBoardModel board;
    AddTrack(board.m_TrackList, 0, 0, 0, 100, 0, 10);
    AddFlash(board.m_FlashList, 160, 0, 20);
    const double r = 5 + kClearance;

    CPathRecord good = ToolLayer();
    Stadium(good, 0, 100, 0, r);
    Circle(good, 160, 0, 20 + kClearance);
    CIsolationOracle oracle(board, good);
    EXPECT_TRUE(CheckClearance(oracle, kClearance, kTolerance).Passed());
    EXPECT_TRUE(CheckIsolation(oracle).Passed());
    // The cap's arc passes (109, 0); its chord would have swept (103, 0).
    EXPECT_TRUE(oracle.SweptAt(109, 0));
    EXPECT_FALSE(oracle.SweptAt(103, 0));

    // The same cap turning the other way (type 2) goes round through the
    // track's own copper.
    CPathRecord reversed = ToolLayer();
    Stadium(reversed, 0, 100, 0, r);
    reversed.items[1]->type = 2;
    Circle(reversed, 160, 0, 20 + kClearance);
    CIsolationOracle wrong(board, reversed);
    const CClearanceReport clearance = CheckClearance(wrong, kClearance, kTolerance);
    ASSERT_FALSE(clearance.violations.empty());
    EXPECT_EQ(clearance.violations.front().segment, 1u);
    EXPECT_NEAR(clearance.violations.front().at.x, 100 - r, 0.3);
    EXPECT_NEAR(clearance.violations.front().at.y, 0, 0.3);
    EXPECT_TRUE(wrong.SweptAt(100 - r, 0));
    EXPECT_FALSE(wrong.SweptAt(109, 0));
}

TEST(IsolationOracle, TJunctionIsOneNetAndItsOutlineIsolatesIt)
{
    // A T of two 10 mil tracks and a pad below its bar.
    CBoardModel board;
    AddTrack(board.m_TrackList, 0, 0, 0, 100, 0, 10);
    AddTrack(board.m_TrackList, 0, 50, 0, 50, 60, 10);
    AddFlash(board.m_FlashList, 50, -40, 10);
    const double r = 5 + kClearance;
    auto outline = [&](CPathRecord& l, bool withBottom) {
        if (withBottom)
            AddSegment(l, 0, 0, -r, 100, -r);
        AddSegment(l, 1, 100, -r, 100, r, 100, 0);
        AddSegment(l, 0, 100, r, 50 + r, r);
        AddSegment(l, 0, 50 + r, r, 50 + r, 60);
        AddSegment(l, 1, 50 + r, 60, 50 - r, 60, 50, 60);
        AddSegment(l, 0, 50 - r, 60, 50 - r, r);
        AddSegment(l, 0, 50 - r, r, 0, r);
        AddSegment(l, 1, 0, r, 0, -r, 0, 0);
    };

    CPathRecord layer = ToolLayer();
    outline(layer, true);
    Circle(layer, 50, -40, 10 + kClearance);
    CIsolationOracle oracle(board, layer);
    EXPECT_EQ(oracle.NetCount(), 2);
    EXPECT_EQ(oracle.NetAt(10, 0), oracle.NetAt(50, 55));
    EXPECT_NE(oracle.NetAt(10, 0), oracle.NetAt(50, -40));
    EXPECT_TRUE(CheckClearance(oracle, kClearance, kTolerance).Passed());
    EXPECT_TRUE(CheckIsolation(oracle).Passed());

    // Without the bar's lower side and with the pad's ring open at the
    // top, the blank under the bar joins the two.
    CPathRecord open = ToolLayer();
    outline(open, false);
    const double pr = 10 + kClearance;
    AddSegment(open, 1, 50 - pr * 0.5, -40 + pr * std::sqrt(0.75), 50 + pr * 0.5, -40 + pr * std::sqrt(0.75),
               50, -40);
    CIsolationOracle leaky(board, open);
    const CIsolationReport isolation = CheckIsolation(leaky);
    ASSERT_EQ(isolation.joins.size(), 1u) << DescribeIsolation(leaky, isolation);
    EXPECT_EQ(leaky.NetAt(isolation.joins[0].atA.x, isolation.joins[0].atA.y), 0);
}

TEST(IsolationOracle, CopperIsReadAsTheRecordsMeanIt)
{
    CBoardModel board;
    AddTrack(board.m_TrackList, 0, 0, 0, 50, 0, 10);         // round ends
    AddTrack(board.m_TrackList, 1, 0, 100, 50, 100, 10);     // square ends
    AddTrack(board.m_TrackList, 2, 0, 200, 50, 200, 10);     // oval: round ends
    AddTrack(board.m_TrackList, 8, 300, 300, 0.0f, 1.0f, 30); // arc record: its chords carry it
    AddFlash(board.m_FlashList, 300, 0, 10);
    CPathRecord layer = ToolLayer();
    CIsolationOracle oracle(board, layer);
    ASSERT_EQ(oracle.Error(), "");

    const struct {
        double x, y;
        bool copper;
    } points[] = {
        {54, 0, true},    {56, 0, false},   {-4.5, 0, true}, {25, 4.8, true}, {25, 5.3, false},
        {49.8, 104.5, true}, {51, 100, false}, {-1, 100, false},
        {54, 200, true},
        {300, 300, false}, {325, 315, false},
        {309.5, 0, true}, {310.5, 0, false},
    };
    for (const auto& p : points)
        EXPECT_EQ(oracle.CopperAt(p.x, p.y), p.copper) << "at (" << p.x << ", " << p.y << ")";
    EXPECT_EQ(oracle.NetCount(), 4);
    // Every net is named after a shape that lies in it.
    for (int id = 1; id <= oracle.NetCount(); ++id)
        EXPECT_GE(oracle.Net(id).shape, 0);
}

TEST(IsolationOracle, ABoardTooLargeToDrawIsReportedNotDrawn)
{
    CBoardModel board;
    AddFlash(board.m_FlashList, 0, 0, 10);
    CPathRecord layer = ToolLayer();
    AddSegment(layer, 0, 1e7, 1e7, 1e7 + 1, 1e7);
    CIsolationOracle oracle(board, layer);
    EXPECT_NE(oracle.Error(), "");
    EXPECT_FALSE(CheckClearance(oracle, kClearance, kTolerance).Passed());
    EXPECT_FALSE(CheckIsolation(oracle).Passed());
    EXPECT_FALSE(WriteOracleImage(oracle, TestDir() + "/never.ppm"));
}

TEST(IsolationOracle, WritesAPictureOfAFailingBoard)
{
    CBoardModel board;
    AddTwoPads(board);
    CPathRecord layer = ToolLayer();
    AddSegment(layer, 0, 60, 25, 140, 25);
    CIsolationOracle oracle(board, layer);
    const CClearanceReport clearance = CheckClearance(oracle, kClearance, kTolerance);
    const CIsolationReport isolation = CheckIsolation(oracle);
    const std::string path = TestDir() + "/board.ppm";
    COracleWindow window;
    window.maxSide = 300;
    ASSERT_TRUE(WriteOracleImage(oracle, path, &clearance, &isolation, window));

    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int width = 0, height = 0, depth = 0;
    in >> magic >> width >> height >> depth;
    in.get();
    EXPECT_EQ(magic, "P6");
    EXPECT_EQ(std::max(width, height), 300);
    std::vector<unsigned char> pixels(std::size_t(width) * height * 3);
    in.read(reinterpret_cast<char*>(pixels.data()), std::streamsize(pixels.size()));
    ASSERT_TRUE(in);
    // The line cuts into the second pad: some copper is drawn cut (red),
    // and the pads, left joined, in violet.
    bool cut = false, joined = false;
    for (std::size_t p = 0; p < pixels.size(); p += 3) {
        cut = cut || (pixels[p] == 220 && pixels[p + 1] == 0 && pixels[p + 2] == 0);
        joined = joined || (pixels[p] == 150 && pixels[p + 1] == 60 && pixels[p + 2] == 200);
    }
    EXPECT_TRUE(cut);
    EXPECT_TRUE(joined);
}

}  // namespace
