// The clearing of each tool and what prepares it: which strokes a free row
// interval gives each tool (and the rectangle clearing), which rows are
// taken, the ordering with its links and refusals (the grid against the
// plain scan on random strokes), the coverage burnt into the rows, the PATH
// runs, and the layers a full run leaves, in their places.
#include "document/velm_doc.h"
#include "planning/scan_isolation.h"
#include "planning/scan_raster.h"
#include "planning/tool_clearing.h"
#include "platform/program_state.h"
#include "platform/resources.h"
#include "records/board_extent.h"
#include "resource_ids.h"
#include "settings/machine_settings.h"
#include "settings/work_order_dlg.h"
#include "support/planning_fixtures.h"
#include "support/record_makers.h"
#include "support/scripted_host.h"
#include "ui/message_dlg.h"
#include "ui/progress_dlg.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

// Tools of round sizes, so the expected strokes read plainly: tool 1 is 6
// mil, tool 2 is 12, tool 3 is 30, with a fifth overlap.
void SetTools(CVelmDoc& doc)
{
    doc.m_ToolWidth1 = 6.0f;
    doc.m_ToolWidth2 = 12.0f;
    doc.m_ToolWidth3 = 30.0f;
    doc.m_ToolValue1 = 20.0f;
    doc.m_ToolValue2 = 24.0f;
    doc.m_ToolValue3 = 28.0f;
    doc.m_ClearOverlap = 0.2f;
}

void AddRow(CVelmDoc& doc, float y, std::vector<std::pair<float, float>> intervals,
            std::uint32_t plunge = 7)
{
    auto row = std::make_unique<CSubList>();
    for (auto [x1, x2] : intervals) {
        auto in = std::make_unique<CScanInterval>();
        in->x1 = x1;
        in->x2 = x2;
        in->y1 = in->y2 = y;
        in->startNet = plunge;
        row->intervals.push_back(std::move(in));
    }
    doc.m_RowList.push_back(std::move(row));
}

struct Span {
    float x1, x2;
};

// The intervals of the row at height y.
std::vector<Span> RowAt(const CVelmDoc& doc, float y)
{
    std::vector<Span> spans;
    for (const auto& row : doc.m_RowList)
        if (!row->intervals.empty() && row->intervals.front()->y1 == y)
            for (const auto& in : row->intervals)
                spans.push_back({in->x1, in->x2});
    return spans;
}

bool Same(const CClearStroke& a, const CClearStroke& b)
{
    return a.x1 == b.x1 && a.y1 == b.y1 && a.x2 == b.x2 && a.y2 == b.y2 && a.pen == b.pen &&
           a.doneMark == b.doneMark && a.plungeValue == b.plungeValue;
}

CClearStroke Stroke(float x1, float y1, float x2, float y2, int plunge = 0)
{
    CClearStroke s;
    s.x1 = x1;
    s.y1 = y1;
    s.x2 = x2;
    s.y2 = y2;
    s.plungeValue = plunge;
    return s;
}

}  // namespace

// One interval on one row of a 1000 mil board (tools 6/12/30): the stroke
// each tool makes of it, or none. Tool 3 keeps 20 mil off the board's edge,
// tools 2 and 1 12 mil.
TEST(ToolClearing, EachToolCutsAnIntervalIntoItsStroke)
{
    enum Tool { T1, T2, T3, T3Reach1 };
    struct Case {
        const char* what;
        Tool tool;
        float x1, x2;
        std::optional<Span> stroke;
    };
    const Case cases[] = {
        {"T3 inside: 1.5 off each end", T3, 100, 200, Span{101.5f, 198.5f}},
        {"T3 as long as the reach: none", T3, 100, 105, std::nullopt},
        {"T3 just longer than the reach", T3, 100, 116, Span{101.5f, 114.5f}},
        {"T3 leaving on the right: 4 off the inner end", T3, 950, 1000, Span{954, 980}},
        {"T3 leaving on the left", T3, 0, 50, Span{20, 46}},
        {"T3 too little inside", T3, 976, 1000, std::nullopt},
        {"T3 across the region", T3, 0, 1000, Span{20, 980}},
        {"T3 short stroke left out of the layer", T3, 100, 112, std::nullopt},
        {"T3 with reach 1 stays on its interval", T3Reach1, 100, 200, Span{100, 200}},
        {"T2 inside, untrimmed", T2, 100, 100.5f, Span{100, 100.5f}},
        {"T2 of no length", T2, 100, 100, std::nullopt},
        {"T2 leaving on the right", T2, 980, 1000, Span{980, 988}},
        {"T2 leaving on the left", T2, 0, 30, Span{12, 30}},
        {"T2 across", T2, 0, 1000, Span{12, 988}},
        {"T1 as long as the tool: none", T1, 100, 106, std::nullopt},
        {"T1 inside: a sixth off each end", T1, 100, 107, Span{101, 106}},
        {"T1 too little inside", T1, 982, 1000, std::nullopt},
        {"T1 leaving on the right", T1, 970, 1000, Span{971, 988}},
        {"T1 leaving on the left", T1, 0, 30, Span{12, 29}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CVelmDoc doc;
        SetTools(doc);
        SetExtent(0, 0, 1000, 1000);
        AddRow(doc, 500, {{c.x1, c.x2}});
        const char* name = c.tool == T1 ? "T1MIL" : c.tool == T2 ? "T2MIL" : "T3MIL";
        switch (c.tool) {
        case T1: doc.CalcClearT1(); break;
        case T2: doc.CalcClearT2(); break;
        case T3: doc.CalcClearT3(5.0f, true); break;
        case T3Reach1: doc.CalcClearT3(1.0f, true); break;
        }
        const CPathRecord* layer = Layer(doc, name);
        if (!c.stroke) {
            // A run with no stroke makes no layer; one whose strokes were
            // all left out makes an empty one.
            EXPECT_TRUE(!layer || layer->items.empty());
            continue;
        }
        ASSERT_NE(layer, nullptr);
        ASSERT_EQ(layer->items.size(), 1u);
        const CPathSegment& s = *layer->items[0];
        EXPECT_FLOAT_EQ(float(s.x1), c.stroke->x1);
        EXPECT_FLOAT_EQ(float(s.x2), c.stroke->x2);
        EXPECT_EQ(s.y1, 500.0);
        EXPECT_EQ(s.y2, 500.0);
        EXPECT_EQ(s.type, 0);
        EXPECT_EQ(s.value, 1);
        EXPECT_TRUE(doc.m_ClearRegionList.empty());
    }
}

// Left of the origin an end truncated towards zero can lie right of the
// interval; the stroke still ends on the interval.
TEST(ToolClearing, StrokeNeverLeavesItsIntervalLeftOfTheOrigin)
{
    CVelmDoc doc;
    SetTools(doc);
    SetExtent(-1000, -1000, 0, 0);
    AddRow(doc, -500, {{-40.5f, -12.5f}});
    doc.CalcClearT2();
    const CPathRecord* layer = Layer(doc, "T2MIL");
    ASSERT_TRUE(layer && layer->items.size() == 1u);
    EXPECT_FLOAT_EQ(float(layer->items[0]->x1), -40.5f);
    EXPECT_FLOAT_EQ(float(layer->items[0]->x2), -12.5f);
}

// A run with no stroke leaves its empty region in the list, and the next
// run turns it into nothing.
TEST(ToolClearing, RunWithoutStrokeLeavesItsRegionForTheNext)
{
    CVelmDoc doc;
    SetTools(doc);
    SetExtent(0, 0, 1000, 1000);
    doc.CalcClearT1();
    EXPECT_EQ(Layer(doc, "T1MIL"), nullptr);
    ASSERT_EQ(doc.m_ClearRegionList.size(), 1u);
    EXPECT_TRUE(doc.m_ClearRegionList[0]->strokes.empty());
    EXPECT_EQ(doc.m_ClearRegionList[0]->step, 6);
    EXPECT_EQ(doc.m_ClearRegionList[0]->rect.left, 12);
    EXPECT_EQ(doc.m_ClearRegionList[0]->rect.bottom, 988);
    AddRow(doc, 500, {{100, 200}});
    doc.CalcClearT1();
    ASSERT_NE(Layer(doc, "T1MIL"), nullptr);
    EXPECT_EQ(Layer(doc, "T1MIL")->items.size(), 1u);
    EXPECT_TRUE(doc.m_ClearRegionList.empty());
}

// Rows every 4 mil, tool 2 (a row every 9.6 mil, truncated as it goes):
// the rows taken from the region's lower edge at 12 up to its upper at 88.
TEST(ToolClearing, RowsAreTakenAtTheToolsSpacing)
{
    CVelmDoc doc;
    SetTools(doc);
    SetExtent(0, 0, 60, 100);
    for (int y = 0; y <= 100; y += 4)
        AddRow(doc, float(y), {{20, 40}});
    doc.CalcClearT2();
    const CPathRecord* layer = Layer(doc, "T2MIL");
    ASSERT_NE(layer, nullptr);
    std::set<double> ys;
    for (const auto& s : layer->items)
        if (s->y1 == s->y2)
            ys.insert(s->y1);
    EXPECT_EQ(ys, (std::set<double>{12, 24, 32, 40, 48, 60, 68, 76, 84}));
}

// A board narrower than twice tool 3's inset is cleared over its whole
// extent: the inset rectangle, inside out, would keep only a strip in the
// middle (its corners still lie on the board). A board narrower than the
// inset itself has no corner on the board at all and falls back the same.
TEST(ToolClearing, NarrowBoardIsClearedOverItsWholeExtent)
{
    struct Case {
        int width;
        Span stroke;
    };
    for (const Case& c : {Case{30, {4, 30}}, Case{18, {4, 18}}}) {
        SCOPED_TRACE(c.width);
        CVelmDoc doc;
        SetTools(doc);
        SetExtent(0, 0, c.width, 1000);
        AddRow(doc, 500, {{0, float(c.width)}});
        doc.CalcClearT3(5.0f, true);
        const CPathRecord* layer = Layer(doc, "T3MIL");
        ASSERT_TRUE(layer && layer->items.size() == 1u);
        EXPECT_FLOAT_EQ(float(layer->items[0]->x1), c.stroke.x1);
        EXPECT_FLOAT_EQ(float(layer->items[0]->x2), c.stroke.x2);
    }
}

// Two rows of tool 3 closer than its width: the second is taken backwards
// after a link, and the link (not horizontal) stays in the layer while a
// short horizontal stroke does not.
TEST(ToolClearing, CloseRowsAreLinkedAndTheLinkKept)
{
    CVelmDoc doc;
    SetTools(doc);
    SetExtent(0, 0, 1000, 1000);
    AddRow(doc, 100, {{100, 300}});
    AddRow(doc, 124, {{100, 300}, {600, 612}});
    doc.CalcClearT3(5.0f, false);
    const CPathRecord* layer = Layer(doc, "T3MIL");
    ASSERT_NE(layer, nullptr);
    struct Item {
        double x1, y1, x2, y2;
    };
    const Item want[] = {{101.5, 100, 298.5, 100}, {298.5, 100, 298.5, 124}, {298.5, 124, 101.5, 124}};
    ASSERT_EQ(layer->items.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const CPathSegment& s = *layer->items[std::size_t(i)];
        EXPECT_FLOAT_EQ(float(s.x1), float(want[i].x1));
        EXPECT_FLOAT_EQ(float(s.y1), float(want[i].y1));
        EXPECT_FLOAT_EQ(float(s.x2), float(want[i].x2));
        EXPECT_FLOAT_EQ(float(s.y2), float(want[i].y2));
        EXPECT_EQ(s.value, 1);  // one chain
    }
    // Tail of the list when not asked for the head.
    doc.m_PathLayerList.insert(doc.m_PathLayerList.begin(), std::make_unique<CPathRecord>());
    AddRow(doc, 148, {{100, 300}});
    doc.CalcClearT3(5.0f, false);
    EXPECT_EQ(doc.m_PathLayerList.back()->name, "T3MIL");
    EXPECT_EQ(doc.m_PathLayerList.size(), 3u);
}

// The ordering by hand: a near candidate whose move crosses an isolation
// path is refused; equally near ends never make a candidate; with none taken
// up the first stroke left is taken, as collected at the first pick and
// backwards after a link.
TEST(ToolClearing, OrderingRefusalsAndTheWayOfAnUnchosenPick)
{
    struct Case {
        const char* what;
        std::vector<CClearStroke> strokes;
        CStrokeOrderRule rule;
        std::vector<CClearStroke> want;
    };
    CStrokeOrderRule wall;
    wall.firstRadius = 1000.0;
    wall.linkLimit = 1000.0;
    wall.crosses = [](float, float, float, float y2) { return y2 == 5.0f; };
    CStrokeOrderRule none;
    none.firstRadius = 1.0;
    none.laterRadius = 5.0;
    none.linkLimit = 0.5;
    CStrokeOrderRule linked;
    linked.firstRadius = 100.0;
    linked.linkLimit = 100.0;
    const Case cases[] = {
        {"the crossing move is refused",
         {Stroke(0, 0, 100, 0), Stroke(100, 5, 200, 5), Stroke(100, 8, 200, 8)},
         wall,
         {Stroke(0, 0, 100, 0), Stroke(100, 0, 100, 8), Stroke(100, 8, 200, 8),
          Stroke(200, 5, 100, 5)}},
        {"first pick with none taken up runs as collected",
         {Stroke(0, 0, 10, 0), Stroke(20, 0, 30, 0), Stroke(50, 0, 40, 0)},
         none,
         {Stroke(0, 0, 10, 0), Stroke(20, 0, 30, 0), Stroke(50, 0, 40, 0)}},
        {"after a link an unchosen pick runs backwards",
         {Stroke(0, 0, 10, 0), Stroke(10, 1, 20, 1), Stroke(500, 500, 510, 500)},
         linked,
         {Stroke(0, 0, 10, 0), Stroke(10, 0, 10, 1), Stroke(10, 1, 20, 1),
          Stroke(510, 500, 500, 500)}},
        {"equally near ends never make a candidate",
         {Stroke(0, 0, 10, 0), Stroke(10, 5, 10, -5), Stroke(95, 0, 110, 0)},
         linked,
         {Stroke(0, 0, 10, 0), Stroke(10, 0, 95, 0), Stroke(95, 0, 110, 0),
          Stroke(10, -5, 10, 5)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (bool plain : {true, false}) {
            const std::vector<CClearStroke> got =
                plain ? OrderClearStrokesPlain(c.strokes, c.rule) : OrderClearStrokes(c.strokes, c.rule);
            ASSERT_EQ(got.size(), c.want.size());
            for (std::size_t i = 0; i < got.size(); ++i)
                EXPECT_TRUE(Same(got[i], c.want[i])) << "stroke " << i << " plain " << plain;
        }
    }
}

// The grid of stroke ends picks what the plain scan picks, on random
// strokes made to tie: whole-mil rows both ways, short strokes on whole
// mils, copies, points, and a crossing test that refuses some moves.
TEST(ToolClearing, OrderingByGridEqualsThePlainScan)
{
    for (unsigned seed = 1; seed <= 8; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 rng(seed);
        auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
        std::vector<CClearStroke> strokes;
        while (strokes.size() < 400) {
            switch (uniform(0, 4)) {
            case 0: {
                const float y = float(uniform(0, 40) * 6), a = float(uniform(0, 300)), b = a + float(uniform(0, 80));
                strokes.push_back(uniform(0, 1) ? Stroke(a, y, b, y, uniform(0, 3)) : Stroke(b, y, a, y));
                break;
            }
            case 1:
                strokes.push_back(Stroke(float(uniform(0, 300)), float(uniform(0, 240)),
                                         float(uniform(0, 300)), float(uniform(0, 240))));
                break;
            case 2:
                if (!strokes.empty())
                    strokes.push_back(strokes[std::size_t(uniform(0, int(strokes.size()) - 1))]);
                break;
            case 3: {
                const float x = float(uniform(0, 300)), y = float(uniform(0, 240));
                strokes.push_back(Stroke(x, y, x, y));
                break;
            }
            default:
                strokes.push_back(Stroke(float(uniform(0, 3000)) / 10.0f, float(uniform(0, 2400)) / 10.0f,
                                         float(uniform(0, 3000)) / 10.0f, float(uniform(0, 2400)) / 10.0f));
            }
        }
        const double radii[] = {5.0, 30.0, 100000.0};
        const double links[] = {0.0, 8.0, 25.0};
        CStrokeOrderRule rule;
        rule.firstRadius = radii[seed % 3];
        rule.laterRadius = seed % 2 ? 100000.0 : 15.0;
        rule.linkLimit = links[(seed / 3) % 3];
        if (seed % 4 != 0)
            rule.crosses = [](float x1, float y1, float x2, float y2) {
                return (int(x1 * 7 + y1 * 3 + x2 * 13 + y2 * 5)) % 5 == 0;
            };
        const auto plain = OrderClearStrokesPlain(strokes, rule);
        const auto fast = OrderClearStrokes(strokes, rule);
        ASSERT_EQ(fast.size(), plain.size());
        for (std::size_t i = 0; i < fast.size(); ++i)
            ASSERT_TRUE(Same(fast[i], plain[i])) << "stroke " << i;
        EXPECT_GE(fast.size(), strokes.size());
    }
}

// The rectangle clearing from a PATH layer of tool 1 (6 mil): the stroke
// each item gives inside the rectangle (100..300 x 100..300).
TEST(ToolClearing, RectangleClearingCutsPathItems)
{
    struct Case {
        const char* what;
        double x1, x2, y;
        std::optional<Span> stroke;
    };
    const Case cases[] = {
        {"inside, 5 long: none", 150, 155, 200, std::nullopt},
        {"inside: 2 off each end", 150, 156, 200, Span{152, 154}},
        {"leaving on the right: 4 off the inner end", 250, 400, 200, Span{254, 300}},
        {"too little inside on the right", 295, 400, 200, std::nullopt},
        {"leaving on the left", 0, 150, 200, Span{100, 146}},
        {"across", 0, 400, 200, Span{100, 300}},
        {"across on the rectangle's edge: none", 0, 400, 100, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CVelmDoc doc;
        SetTools(doc);
        SetExtent(0, 0, 1000, 1000);
        CPathRecord* path = doc.AddPathLayer("T1PATH", 6.0f, 20.0f, g_CurrentSide, 0xAAAA78);
        AddSegment(*path, 0, c.x1, c.y, c.x2, c.y);
        doc.MergeMillIntoPath("T1MIL", 100, 100, 300, 300);
        const CPathRecord* layer = Layer(doc, "T1MIL");
        if (!c.stroke) {
            EXPECT_EQ(layer, nullptr);
            continue;
        }
        ASSERT_TRUE(layer && layer->items.size() == 1u);
        EXPECT_FLOAT_EQ(float(layer->items[0]->x1), c.stroke->x1);
        EXPECT_FLOAT_EQ(float(layer->items[0]->x2), c.stroke->x2);
    }
}

// A rectangle with no corner on the board clears the board extent; the new
// layer goes to the head with the PATH layer's tool, depth 20 and the tool-1
// clearing colour. Without the tool's PATH layer on the working side nothing
// is made and the region waits in the list.
TEST(ToolClearing, RectangleOffTheBoardClearsTheBoardExtent)
{
    CVelmDoc doc;
    SetTools(doc);
    SetExtent(0, 0, 500, 400);
    CPathRecord* path = doc.AddPathLayer("T2PATH", 12.0f, 24.0f, g_CurrentSide, 0xAA7878);
    for (int y = 0; y <= 400; y += 3)
        AddSegment(*path, 0, 0.0, y, 500.0, y);
    doc.AddPathLayer("T3PATH", 30.0f, 28.0f, 1 - g_CurrentSide, 0xAA7878);

    doc.MergeMillIntoPath("T2MIL", 2000, 2000, 3000, 3000);
    const CPathRecord* layer = doc.m_PathLayerList.front().get();
    ASSERT_EQ(layer->name, "T2MIL");
    EXPECT_EQ(layer->colour, 0xAADC14u);
    EXPECT_FLOAT_EQ(layer->size, 12.0f);
    EXPECT_FLOAT_EQ(layer->depth, 20.0f);
    EXPECT_EQ(layer->kind, 1);
    EXPECT_EQ(layer->side, g_CurrentSide);
    double minY = 1e9, maxY = -1e9;
    for (const auto& s : layer->items)
        if (s->y1 == s->y2) {
            // Each row starts on the board (4 off its inner end) and leaves
            // it on the right.
            EXPECT_EQ(std::min(s->x1, s->x2), 4.0);
            EXPECT_EQ(std::max(s->x1, s->x2), 500.0);
            minY = std::min(minY, s->y1);
            maxY = std::max(maxY, s->y1);
        }
    EXPECT_EQ(minY, 0.0);
    EXPECT_GT(maxY, 380.0);
    EXPECT_TRUE(doc.m_ClearRegionList.empty());

    const std::size_t layers = doc.m_PathLayerList.size();
    doc.MergeMillIntoPath("T3MIL", 0, 0, 500, 400);
    EXPECT_EQ(doc.m_PathLayerList.size(), layers);
    ASSERT_EQ(doc.m_ClearRegionList.size(), 1u);
    EXPECT_TRUE(doc.m_ClearRegionList[0]->strokes.empty());
}

// Which layers each marking burns into the rows, and how: a horizontal item
// from x 200 to 300 on row 200. The burnt width is (1 - overlap / 2) of the
// layer's tool for tool 3 (27 mil), (1 - overlap / 4) for tool 2 (11.4);
// tool 3 rounds both ends, tool 2 the start of ISO layers only.
TEST(ToolClearing, CoverageBurnsTheLayersOfTheToolsWidth)
{
    struct Case {
        const char* what;
        bool tool3;
        const char* name;
        float size;
        bool otherSide;
        std::optional<Span> gap;  // the burnt span of row 200
    };
    const Case cases[] = {
        {"T3 layer: both ends round", true, "T3MIL", 30, false, Span{186.5f, 313.5f}},
        {"T3PATH is not marked", true, "T3PATH", 30, false, std::nullopt},
        {"another width is not marked", true, "T3MIL", 29.5f, false, std::nullopt},
        {"the other side is not marked", true, "T3MIL", 30, true, std::nullopt},
        {"T2 ISO layer: round start", false, "T2ISO", 12, false, Span{194.3f, 300}},
        {"T2 clearing layer: square ends", false, "T2MIL", 12, false, Span{200, 300}},
        {"T2PATH is not marked", false, "T2PATH", 12, false, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CVelmDoc doc;
        SetTools(doc);
        SetExtent(0, 0, 500, 400);
        doc.m_GridStep = 2;
        doc.InitCells();
        g_PlungeOffsetPulses = 33;
        CPathRecord* layer =
            doc.AddPathLayer(c.name, c.size, 1.0f, c.otherSide ? 1 - g_CurrentSide : g_CurrentSide, 0);
        AddSegment(*layer, 0, 200, 200, 300, 200);
        if (c.tool3)
            doc.MarkTool3Coverage();
        else
            doc.MarkTool2Coverage();
        EXPECT_EQ(doc.m_IsolationDone, 1);
        EXPECT_EQ(g_Calculating, 0);
        const std::vector<Span> row = RowAt(doc, 200);
        if (!c.gap) {
            ASSERT_EQ(row.size(), 1u);
            EXPECT_EQ(row[0].x1, 0.0f);
            EXPECT_EQ(row[0].x2, 500.0f);
            continue;
        }
        ASSERT_EQ(row.size(), 2u);
        EXPECT_NEAR(row[0].x2, c.gap->x1, 0.05);
        EXPECT_NEAR(row[1].x1, c.gap->x2, 0.05);
        // The ends the burn made carry the plunge of the tool being planned.
        const auto& piece = *doc.m_RowList[100]->intervals[1];
        EXPECT_EQ(piece.startNet, 33u);
        EXPECT_EQ(piece.startSource, nullptr);
    }
    g_PlungeOffsetPulses = 0;
}

// Tool 2's arcs are burnt as chords and a full circle as a disc larger than
// it by (1 - overlap) of half tool 2; tool 3 leaves arcs alone.
TEST(ToolClearing, CoverageOfArcsAndCircles)
{
    auto run = [](bool tool3, int type, double x1, double y1, double x2, double y2) {
        auto doc = std::make_unique<CVelmDoc>();
        SetTools(*doc);
        SetExtent(0, 0, 500, 400);
        doc->m_GridStep = 2;
        doc->InitCells();
        CPathRecord* layer = doc->AddPathLayer(tool3 ? "T3ISO" : "T2ISO", tool3 ? 30.0f : 12.0f,
                                               1.0f, g_CurrentSide, 0);
        AddSegment(*layer, type, x1, y1, x2, y2, 250, 200);
        if (tool3)
            doc->MarkTool3Coverage();
        else
            doc->MarkTool2Coverage();
        return doc;
    };
    // A full circle of radius 50 round (250, 200): the disc reaches 54.8.
    auto circle = run(false, 1, 300, 200, 300, 200);
    const auto middle = RowAt(*circle, 200);
    ASSERT_EQ(middle.size(), 2u);
    EXPECT_NEAR(middle[0].x2, 250 - 54.8, 0.05);
    EXPECT_NEAR(middle[1].x1, 250 + 54.8, 0.05);
    // Tool 3 ignores it.
    EXPECT_EQ(RowAt(*run(true, 1, 300, 200, 300, 200), 200).size(), 1u);
    // A half turn above the centre (type 1 runs from the start at angle 0
    // to pi): the row through its top is cut round x 250, the row through
    // the centre only near both ends, and nothing below.
    for (int type : {1, 2}) {
        SCOPED_TRACE(type);
        auto arc = type == 1 ? run(false, 1, 300, 200, 200, 200) : run(false, 2, 200, 200, 300, 200);
        // Square chord ends leave a sliver outside each joint; it is too
        // short for any clearing stroke.
        std::vector<Span> top;
        for (Span sp : RowAt(*arc, 250))
            if (sp.x2 - sp.x1 > 2.0f)
                top.push_back(sp);
        ASSERT_EQ(top.size(), 2u);
        EXPECT_LT(top[0].x2, 240.0f);
        EXPECT_GT(top[1].x1, 260.0f);
        EXPECT_EQ(RowAt(*arc, 190).size(), 1u);
        EXPECT_EQ(RowAt(*arc, 224).size(), 3u);
    }
}

// After tool 2's coverage is burnt no row interval keeps a point nearer to a
// burnt line item than half the burnt width (less a mil for the cutter's
// tolerances), nor a point just inside a burnt arc, which its chords cover
// whatever their sag.
TEST(ToolClearing, NoRowIntervalLeftUnderABurntToolTwoStroke)
{
    CVelmDoc doc;
    SetTools(doc);
    SetExtent(0, 0, 400, 400);
    doc.m_GridStep = 1;
    doc.InitCells();
    CPathRecord* layer = doc.AddPathLayer("T2ISO", 12.0f, 1.0f, g_CurrentSide, 0);
    struct Line {
        double x1, y1, x2, y2;
    };
    const Line lines[] = {{20, 20, 380, 33}, {50, 300, 50, 380}, {100, 100, 300, 290}, {310, 60, 200, 150}};
    for (const Line& l : lines)
        AddSegment(*layer, 0, l.x1, l.y1, l.x2, l.y2);
    AddSegment(*layer, 1, 280, 250, 250, 280, 250, 250);  // a quarter of radius 30
    doc.MarkTool2Coverage();
    const double half = (1.0 - 0.2 / 4.0) * 12.0 / 2.0;
    const double kQuarter = std::atan2(1.0, 0.0);
    // Beyond its start a line is round, beyond its end square (the square
    // end itself is left a half mil of slack).
    auto toLine = [](const Line& l, double x, double y) {
        const double dx = l.x2 - l.x1, dy = l.y2 - l.y1, length = std::hypot(dx, dy);
        const double t = ((x - l.x1) * dx + (y - l.y1) * dy) / (dx * dx + dy * dy);
        if (t * length > length - 0.5)
            return 1e9;
        if (t < 0.0)
            return std::hypot(x - l.x1, y - l.y1);
        return std::hypot(x - l.x1 - t * dx, y - l.y1 - t * dy);
    };
    for (const auto& row : doc.m_RowList)
        for (const auto& in : row->intervals)
            for (double x = in->x1; x <= in->x2; x += 0.25) {
                const double y = in->y1;
                for (const Line& l : lines)
                    ASSERT_GE(toLine(l, x, y), half - 1.0) << x << "," << y;
                const double a = std::atan2(y - 250, x - 250);
                const double r = std::hypot(x - 250, y - 250);
                if (a >= 0.0 && a <= kQuarter) {
                    ASSERT_FALSE(r > 30.0 - half + 1.0 && r < 29.0) << x << "," << y;
                }
            }
}

// The PATH run of tool 3: its pitch, only the rows cut, every interval with
// the plunge, the layer at the head with a chain per interval; a tool under
// 4 mil still gets a raster.
TEST(ToolClearing, PathRunKeepsTheFreeRowsAsALayer)
{
    CVelmDoc doc;
    SetTools(doc);
    SetExtent(0, 0, 600, 400);
    AddFlash(doc.m_FlashList, 300, 200, 40);
    doc.m_FlashList[0]->recordNo = 1;
    doc.m_PathLayerList.push_back(std::make_unique<CPathRecord>());
    g_PlungeOffsetPulses = 28;
    ASSERT_EQ(doc.CalcPathT3(10), 1);
    EXPECT_EQ(doc.m_GridStep, 7);
    const CPathRecord& layer = *doc.m_PathLayerList.front();
    EXPECT_EQ(layer.name, "T3PATH");
    EXPECT_EQ(layer.colour, 0xAA7878u);
    EXPECT_FLOAT_EQ(layer.size, 30.0f);
    EXPECT_FLOAT_EQ(layer.depth, 28.0f);
    EXPECT_EQ(layer.kind, 1);
    std::size_t count = 0;
    for (const auto& row : doc.m_RowList)
        count += row->intervals.size();
    ASSERT_EQ(layer.items.size(), count);
    std::size_t intervals = 0;
    for (const auto& row : doc.m_RowList)
        for (const auto& in : row->intervals) {
            const CPathSegment& s = *layer.items[intervals];
            EXPECT_EQ(s.value, int(intervals));
            EXPECT_EQ(s.x1, in->x1);
            EXPECT_EQ(s.x2, in->x2);
            EXPECT_EQ(in->startNet, 28u);
            ++intervals;
        }
    // Widened by 30 + 10 mil, the pad of radius 40 cuts 60 mil either side
    // of its centre on the row through it; the columns are not cut.
    const auto middle = RowAt(doc, 196);
    ASSERT_EQ(middle.size(), 2u);
    EXPECT_NEAR(middle[0].x2, 300 - std::sqrt(60.0 * 60.0 - 16.0), 0.6);
    for (const auto& column : doc.m_ColumnList)
        EXPECT_EQ(column->intervals.size(), 1u);

    doc.m_ToolWidth2 = 1.5f;
    ASSERT_EQ(doc.CalcPathT2(0), 1);
    EXPECT_EQ(doc.m_GridStep, 1);
    EXPECT_EQ(doc.m_PathLayerList.front()->name, "T2PATH");
    g_PlungeOffsetPulses = 0;
}

// Cancel in a PATH run: no layer, an empty raster for the clearing after
// it, and the run says so.
TEST(ToolClearing, CancelledPathRunLeavesNothingToClear)
{
    CVelmDoc doc;
    SetTools(doc);
    SetExtent(0, 0, 500, 400);
    for (int i = 0; i < 400; ++i)
        AddFlash(doc.m_FlashList, 20.0f + float(i % 20) * 23.0f, 20.0f + float(i / 20) * 18.0f, 5);
    TestHost().OnPump([](int) {
        auto* notice = static_cast<CMessageDlg*>(TestHost().Modeless(IDD_MESSAGE));
        auto* progress = TestHost().Modeless(IDD_PROGRESS);
        if (notice && progress && progress->IsWindow() &&
            notice->Text().find(LoadResString(IDS_CALC_STEP_CUT_Y)) != std::string::npos)
            progress->OnCancel();
    });
    EXPECT_EQ(doc.CalcPathT3(10), 0);
    TestHost().OnPump({});
    EXPECT_TRUE(doc.m_PathLayerList.empty());
    EXPECT_TRUE(doc.m_RowList.empty());
    doc.CalcClearT3(5.0f, true);
    EXPECT_EQ(Layer(doc, "T3MIL"), nullptr);
    EXPECT_EQ(g_Calculating, 0);
}

// Every layer of one side with everything chosen, made in the order the
// path calculation makes them: names, places, colours, tools and depths.
TEST(ToolClearing, FullRunLeavesTheLayersInTheirPlaces)
{
    CVelmDoc doc;
    SetTools(doc);
    SetExtent(0, 0, 600, 400);
    AddFlash(doc.m_FlashList, 150, 200, 30);
    AddFlash(doc.m_FlashList, 450, 200, 30);
    AddTrack(doc.m_TrackList, 0, 150, 200, 450, 200, 12);
    NumberRecords(doc);
    doc.m_T1Step = 2;
    g_ZPulsesPerMM = 200.0f;

    g_PlungeOffsetPulses = int(doc.m_ToolValue2);
    ASSERT_EQ(doc.CalcIsolationT2(5), 1);
    doc.ClearGridPathSegments();
    g_PlungeOffsetPulses = int(doc.m_ToolValue3);
    ASSERT_EQ(doc.CalcPathT3(int(doc.m_ToolWidth3 / 3.0f)), 1);
    doc.MarkTool2Coverage();
    doc.CalcClearT3(5.0f, true);
    g_PlungeOffsetPulses = int(doc.m_ToolValue2);
    ASSERT_EQ(doc.CalcPathT2(int(doc.m_ToolWidth2 * 0.9f)), 1);
    doc.MarkTool3Coverage();
    doc.CalcClearT2();
    g_PlungeOffsetPulses = int(doc.m_ToolValue1);
    ASSERT_EQ(doc.CalcIsolationT1(0), 1);
    doc.ClearGridPathSegments();
    doc.MarkTool2Coverage();
    doc.MarkTool3Coverage();
    doc.CalcClearT1();
    g_PlungeOffsetPulses = 0;

    EXPECT_EQ(LayerNames(doc),
              (std::vector<std::string>{"T1MIL", "T1PATH", "T1ISO", "T2PATH", "T3MIL", "T3PATH",
                                        "T2PATH", "T2ISO", "T2MIL"}));
    struct Expected {
        std::size_t place;
        COLORREF colour;
        float size, depth;
        int kind;
    };
    const Expected table[] = {
        {0, 0xAADC14, 6, 20.0f + 200.0f * 0.01f, 1}, {3, 0xAA7878, 12, 24, 1},
        {4, 0x7878DC, 30, 28, 1}, {5, 0xAA7878, 30, 28, 1}, {8, 0xAA14DC, 12, 24, 1},
    };
    for (const Expected& e : table) {
        const CPathRecord& layer = *doc.m_PathLayerList[e.place];
        SCOPED_TRACE(layer.name);
        EXPECT_EQ(layer.colour, e.colour);
        EXPECT_FLOAT_EQ(layer.size, e.size);
        EXPECT_FLOAT_EQ(layer.depth, e.depth);
        EXPECT_EQ(layer.kind, e.kind);
        EXPECT_EQ(layer.side, g_CurrentSide);
        EXPECT_EQ(layer.visible, 1);
        EXPECT_FALSE(layer.items.empty());
    }
    EXPECT_TRUE(doc.m_ClearRegionList.empty());
    // No clearing stroke of tool 1 runs within the copper widened by half
    // the tool: the pads and the track stay whole.
    for (const auto& s : doc.m_PathLayerList[0]->items)
        for (double t = 0.0; t <= 1.0; t += 0.05) {
            const double x = s->x1 + (s->x2 - s->x1) * t, y = s->y1 + (s->y2 - s->y1) * t;
            EXPECT_GE(std::hypot(x - 150, y - 200), 30 + 3 - 1.0);
            EXPECT_GE(std::hypot(x - 450, y - 200), 30 + 3 - 1.0);
            if (x > 150 && x < 450) {
                EXPECT_GE(std::fabs(y - 200), 6 + 3 - 1.0);
            }
        }
}
