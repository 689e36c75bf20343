// The isolation runs of tools 1 and 2 through the document: the layers they
// make, a board without copper, a cancel in the middle, and the same board
// twice or moved by whole grid steps.
#include "document/velm_doc.h"
#include "planning/scan_isolation.h"
#include "planning/scan_raster.h"
#include "platform/program_state.h"
#include "platform/resources.h"
#include "records/board_extent.h"
#include "settings/work_order_dlg.h"
#include "resource_ids.h"
#include "support/planning_fixtures.h"
#include "support/record_makers.h"
#include "support/scripted_host.h"
#include "ui/message_dlg.h"
#include "ui/progress_dlg.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

// Two pads joined by a track and a lone pad beside them.
void AddSmallBoard(CVelmDoc& doc, float dx = 0.0f, float dy = 0.0f)
{
    AddFlash(doc.m_FlashList, 100 + dx, 100 + dy, 30);
    AddFlash(doc.m_FlashList, 400 + dx, 100 + dy, 30);
    AddTrack(doc.m_TrackList, 0, 100 + dx, 100 + dy, 400 + dx, 100 + dy, 12);
    AddFlash(doc.m_FlashList, 250 + dx, 300 + dy, 40);
    NumberRecords(doc);
}

}  // namespace

TEST(ScanIsolation, EachToolMakesItsTwoLayersInTheirPlaces)
{
    CVelmDoc doc;
    SetExtent(0, 0, 500, 400);
    AddSmallBoard(doc);
    doc.m_T1Step = 2;
    ASSERT_EQ(doc.CalcIsolationT2(5), 1);
    doc.ClearGridPathSegments();
    ASSERT_EQ(doc.CalcIsolationT1(0), 1);
    EXPECT_EQ(LayerNames(doc), (std::vector<std::string>{"T1PATH", "T1ISO", "T2PATH", "T2ISO"}));

    struct Expected {
        const char* name;
        COLORREF colour;
        float size, depth;
        int kind;
    };
    const Expected table[] = {
        {"T1ISO", 0xAAAADC, doc.m_ToolWidth1, doc.m_ToolValue1, 0},
        {"T1PATH", 0xAAAA78, doc.m_ToolWidth1, doc.m_ToolValue1, 1},
        {"T2ISO", 0xAADCDC, doc.m_ToolWidth2, doc.m_ToolValue2, 0},
        {"T2PATH", 0xAA7878, doc.m_ToolWidth2, doc.m_ToolValue2, 1},
    };
    for (const Expected& e : table) {
        SCOPED_TRACE(e.name);
        const CPathRecord* layer = Layer(doc, e.name);
        ASSERT_NE(layer, nullptr);
        EXPECT_EQ(layer->colour, e.colour);
        EXPECT_FLOAT_EQ(layer->size, e.size);
        EXPECT_FLOAT_EQ(layer->depth, e.depth);
        EXPECT_EQ(layer->side, g_CurrentSide);
        EXPECT_EQ(layer->kind, e.kind);
        EXPECT_EQ(layer->visible, 1);
        EXPECT_FALSE(layer->items.empty());
    }
    EXPECT_EQ(doc.m_GridStep, 2);
    EXPECT_EQ(doc.m_WorkStage, 2);
    EXPECT_EQ(doc.m_IsolationDone, 1);
    EXPECT_EQ(g_Calculating, 0);
    EXPECT_EQ(TestHost().WaitCursorDepth(), 0);
}

// The lone pad is ringed at the tool's radius beyond its edge: every point
// of the T1 isolation near it lies that far from its centre, within a grid
// step.
TEST(ScanIsolation, ToolOneRingsALonePadAtItsRadius)
{
    CVelmDoc doc;
    SetExtent(0, 0, 500, 400);
    AddFlash(doc.m_FlashList, 250, 200, 40);
    NumberRecords(doc);
    doc.m_T1Step = 2;
    ASSERT_EQ(doc.CalcIsolationT1(0), 1);
    const CPathRecord* iso = Layer(doc, "T1ISO");
    ASSERT_NE(iso, nullptr);
    ASSERT_FALSE(iso->items.empty());
    const double ring = 40.0 + doc.m_ToolWidth1 / 2.0;
    for (const auto& s : iso->items) {
        EXPECT_NEAR(std::hypot(s->x1 - 250.0, s->y1 - 200.0), ring, 2.0);
        EXPECT_NEAR(std::hypot(s->x2 - 250.0, s->y2 - 200.0), ring, 2.0);
    }
}

TEST(ScanIsolation, BoardWithoutCopperGivesAnEmptyIsolationAndFullRows)
{
    CVelmDoc doc;
    SetExtent(0, 0, 100, 40);
    doc.m_T1Step = 4;
    ASSERT_EQ(doc.CalcIsolationT1(0), 1);
    const CPathRecord* iso = Layer(doc, "T1ISO");
    const CPathRecord* path = Layer(doc, "T1PATH");
    ASSERT_TRUE(iso && path);
    EXPECT_TRUE(iso->items.empty());
    ASSERT_EQ(path->items.size(), 11u);
    for (std::size_t i = 0; i < path->items.size(); ++i) {
        const CPathSegment& s = *path->items[i];
        EXPECT_EQ(s.x1, 0.0);
        EXPECT_EQ(s.x2, 100.0);
        EXPECT_EQ(s.y1, 4.0 * double(i));
        EXPECT_EQ(s.value, int(i));
    }
}

// Cancel while the columns are cut: no layer, the nets as they were, no
// partly cut raster, and the run says it was cancelled.
TEST(ScanIsolation, CancelWhileCuttingLeavesNothingHalfMade)
{
    CVelmDoc doc;
    SetExtent(0, 0, 500, 400);
    for (int i = 0; i < 400; ++i)
        AddFlash(doc.m_FlashList, 20.0f + float(i % 20) * 23.0f, 20.0f + float(i / 20) * 18.0f, 5);
    doc.m_FlashList[7]->groupNo = 99;
    TestHost().OnPump([](int) {
        auto* notice = static_cast<CMessageDlg*>(TestHost().Modeless(IDD_MESSAGE));
        auto* progress = TestHost().Modeless(IDD_PROGRESS);
        if (notice && progress && progress->IsWindow() &&
            notice->Text().find(LoadResString(IDS_CALC_STEP_CUT_X)) != std::string::npos)
            progress->OnCancel();
    });
    EXPECT_EQ(doc.CalcIsolationT1(0), 0);
    TestHost().OnPump({});
    EXPECT_TRUE(doc.m_PathLayerList.empty());
    EXPECT_TRUE(doc.m_RowList.empty());
    EXPECT_TRUE(doc.m_ColumnList.empty());
    EXPECT_TRUE(doc.m_GridPathList.empty());
    for (std::size_t i = 0; i < doc.m_FlashList.size(); ++i)
        ASSERT_EQ(doc.m_FlashList[i]->groupNo, i == 7 ? 99 : 0);
    EXPECT_EQ(g_Calculating, 0);
}

// The same board gives the same paths; moved by whole grid steps with its
// extent, it gives the same paths moved (to single precision).
TEST(ScanIsolation, PathsAreRepeatableAndMoveWithTheBoard)
{
    auto run = [](float d) {
        CVelmDoc doc;
        SetExtent(int(d), int(d), 500 + int(d), 400 + int(d));
        AddSmallBoard(doc, d, d);
        doc.m_T1Step = 2;
        EXPECT_EQ(doc.CalcIsolationT1(0), 1);
        std::vector<double> values;
        for (const auto& s : Layer(doc, "T1ISO")->items)
            for (double v : {s->x1 - d, s->y1 - d, s->x2 - d, s->y2 - d,
                             s->type ? s->cx - d : s->cx, s->type ? s->cy - d : s->cy,
                             double(s->type), double(s->value)})
                values.push_back(v);
        return values;
    };
    const std::vector<double> first = run(0.0f);
    ASSERT_FALSE(first.empty());
    EXPECT_EQ(run(0.0f), first);
    // Moved, the coordinates round differently in single precision.
    const std::vector<double> moved = run(64.0f);
    ASSERT_EQ(moved.size(), first.size());
    for (std::size_t i = 0; i < first.size(); ++i)
        ASSERT_NEAR(moved[i], first[i], 0.001) << "value " << i;
}

// The ordering's corner test reads the cut raster: inside the widened pad
// is refused, the free board and points off the raster are accepted, and a
// point within half a pitch of a free end passes.
TEST(ScanIsolation, CornerTestReadsTheCutRaster)
{
    CVelmDoc doc;
    SetExtent(0, 0, 100, 100);
    doc.m_GridStep = 2;
    ASSERT_EQ(doc.InitCells(), 1);
    CFlashRecord pad;
    pad.x = 50.0f;
    pad.y = 50.0f;
    pad.radius = 10.0f;
    pad.recordNo = 1;
    CutFlashRows(doc, pad, &pad);
    CutFlashColumns(doc, pad, &pad);
    const auto clear = RasterCornerTest(doc);
    struct Case {
        float x, y;
        bool clear;
    } cases[] = {{50, 50, false}, {50, 58, false}, {50, 61, true}, {80, 80, true},
                 {-40, 50, true}, {50, 140, true}};
    for (const Case& c : cases)
        EXPECT_EQ(clear(c.x, c.y), c.clear) << c.x << ", " << c.y;
}

// An arc whose pad record is missing cuts ends without a source: they take
// the arc's own net, and the operator hears of it once.
TEST(ScanIsolation, ArcWithoutItsPadIsToldOnceAndKeepsItsNet)
{
    CVelmDoc doc;
    SetExtent(0, 0, 300, 300);
    CTrackRecord* arc = AddTrack(doc.m_TrackList, 3, 150, 150, 0.2f, 2.5f, 60);
    arc->recordNo = 5;
    arc->groupNo = 9;
    ASSERT_EQ(doc.CalcIsolationT1(0), 1);
    int told = 0;
    for (const std::string& text : TestHost().BoxTexts())
        told += text == LoadResString(IDS_ARC_WITHOUT_PAD);
    EXPECT_EQ(told, 1);
    bool arcEnd = false;
    for (auto* lines : {&doc.m_RowList, &doc.m_ColumnList})
        for (auto& line : *lines)
            for (auto& in : line->intervals)
                arcEnd = arcEnd || ((in->endTag & 0x0F) == 8 && in->endNet == 9);
    EXPECT_TRUE(arcEnd);
    const CPathRecord* iso = Layer(doc, "T1ISO");
    ASSERT_NE(iso, nullptr);
    EXPECT_FALSE(iso->items.empty());
}
