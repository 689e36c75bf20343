// The isolation pass driver and the commands of the offset-path calculation
// on a document: the layers of the passes, the exact and grid first pass on
// either side of 400 sources, Cancel, and the duplicate path deletion of
// existing layers.
#include "document/velm_doc.h"
#include "link/link_state.h"
#include "offset/pass_driver.h"
#include "planning/scan_isolation.h"
#include "platform/program_objects.h"
#include "platform/program_state.h"
#include "platform/resources.h"
#include "resource_ids.h"
#include "settings/registry.h"
#include "settings/work_order_dlg.h"
#include "support/isolation_oracle.h"
#include "support/planning_fixtures.h"
#include "support/record_makers.h"
#include "support/scripted_host.h"
#include "ui/message_dlg.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

namespace {

// Two pads joined by a track, a lone pad and a rectangular pad on the
// component side.
void SmallBoard(CVelmDoc& doc)
{
    g_CurrentSide = 0;
    g_HasComponentSide = 1;
    g_HasSolderSide = 0;
    SetExtent(0, 0, 500, 320);
    AddFlash(doc.m_FlashList, 100, 150, 25);
    AddFlash(doc.m_FlashList, 300, 150, 25);
    AddTrack(doc.m_TrackList, 0, 100, 150, 300, 150, 12);
    AddTrack(doc.m_TrackList, 1, 420, 100, 420, 160, 40);
    AddFlash(doc.m_FlashList, 200, 260, 20);
    NumberRecords(doc);
}

struct LayerRow {
    const char* name;
    int kind;
    float size;
    float depth;
    COLORREF colour;
};

struct PadImage {
    float x, y, radius;
    bool operator==(const PadImage&) const = default;
};

std::vector<PadImage> Pads(const CVelmDoc& doc)
{
    std::vector<PadImage> pads;
    for (const auto& f : doc.m_FlashList)
        pads.push_back({f->x, f->y, f->radius});
    return pads;
}

// Presses Cancel in the grid pass number `which` (from 1) once its cutting
// has begun. Only while a grid pass runs are its windows the ones the host
// has on record (the host keeps the last window of each template).
void CancelGridPass(int which)
{
    auto seen = std::make_shared<int>(0);
    auto starting = std::make_shared<bool>(false);
    auto done = std::make_shared<bool>(false);
    TestHost().OnPump([=](int) {
        if (g_Calculating != 1 || *done)
            return;
        auto* notice = static_cast<CMessageDlg*>(TestHost().Modeless(IDD_MESSAGE));
        const std::string& text = notice->Text();
        const bool start = text.find(LoadResString(IDS_CALC_STEP_CONNECTIONS)) != std::string::npos;
        if (start && !*starting)
            ++*seen;
        *starting = start;
        if (*seen == which && text.find(LoadResString(IDS_CALC_STEP_CUT_X)) != std::string::npos) {
            TestHost().Modeless(IDD_PROGRESS)->OnCancel();
            *done = true;
        }
    });
}

}  // namespace

TEST(PassDriver, LayersOfThePassesByToolFourAndDuplicates)
{
    for (int check : {0, 1})
        for (int keep : {0, 1}) {
            ResetProgramObjects();
            CVelmDoc doc;
            SmallBoard(doc);
            doc.m_Tool1Check = check;
            doc.m_KeepDuplicates = keep;
            doc.m_Tool1Size2 = 12.0f;
            doc.m_Tool1Depth2 = 30.0f;
            ASSERT_EQ(doc.GenerateIsolationPaths(0), 1);
            const float t1 = doc.m_ToolWidth1, t2 = doc.m_ToolWidth2, t3 = doc.m_ToolWidth3;
            const float z1 = doc.m_ToolValue1, z2 = doc.m_ToolValue2, z3 = doc.m_ToolValue3;
            const LayerRow expected[] = {
                {"T1ISO", 0, t1, z1, 0xAAAADC},
                {"T1MIL", 1, t1, z1, 0xAAAADC},
                check ? LayerRow{"T4ISO", 1, 12.0f, 30.0f, 0xAAAA6E}
                      : LayerRow{"T1MIL", 1, t1, z1, 0xAAAADC},
                {"T2ISO", 0, t2, z2, 0xAADCAA},
                {"T2MIL", 1, t2, z2, 0xAADCAA},
                {"T3MIL", 0, t3, z3, 0xDCAAAA},
            };
            const std::string run = "check " + std::to_string(check) + ", keep " + std::to_string(keep);
            const CIsoPassTable table = BuildPassTable(doc.IsoToolSettings());
            ASSERT_EQ(doc.m_PathLayerList.size(), std::size(expected)) << run;
            for (std::size_t i = 0; i < std::size(expected); ++i) {
                const CPathRecord& l = *doc.m_PathLayerList[i];
                SCOPED_TRACE(run + ", layer " + std::to_string(i));
                EXPECT_EQ(l.name, expected[i].name);
                EXPECT_EQ(l.kind, expected[i].kind);
                EXPECT_EQ(l.size, expected[i].size);
                EXPECT_EQ(l.depth, expected[i].depth);
                EXPECT_EQ(l.colour, expected[i].colour);
                EXPECT_EQ(l.side, 0);
                EXPECT_EQ(l.visible, 1);
                // Without duplicates the passes merged into 0 and 3 leave
                // their layers empty.
                const bool merged = keep == 0 && (i == 1 || (i == 2 && check == 0) || i == 4);
                EXPECT_EQ(l.items.empty(), merged);
                // Every pass keeps its distance from the copper: the exact
                // first pass to its arcs' chords, the grid passes to half
                // their pitch and half a mil.
                if (l.items.empty())
                    continue;
                const float d = table.distance[i];
                const double slack = i == 0 ? 0.1 : std::min(int(d / 2.0f), 6) / 2.0 + 0.5;
                CIsolationOracle oracle(doc, l, COracleOptions{0.25, 10.0, 0.0});
                const CClearanceReport clearance = CheckClearance(oracle, d / 2.0, slack);
                EXPECT_TRUE(clearance.Passed()) << DescribeClearance(oracle, clearance);
            }
            EXPECT_TRUE(doc.m_GridPathList.empty());
            EXPECT_EQ(g_Calculating, 0);
        }
}

namespace {

// Boards that stress the grid passes, each a component side of round-ended
// tracks (with their end pads, as the readers give them) and round pads.
struct GridBoard {
    const char* name;
    std::vector<std::array<float, 5>> tracks;   // x1, y1, x2, y2, width
    std::vector<std::array<float, 3>> pads;     // x, y, radius
};

void LayGridBoard(CVelmDoc& doc, const GridBoard& board)
{
    g_CurrentSide = 0;
    g_HasComponentSide = 1;
    g_HasSolderSide = 0;
    SetExtent(0, 0, 400, 300);
    for (const auto& t : board.tracks) {
        AddTrack(doc.m_TrackList, 0, t[0], t[1], t[2], t[3], t[4]);
        AddFlash(doc.m_FlashList, t[0], t[1], t[4] / 2.0f);
        AddFlash(doc.m_FlashList, t[2], t[3], t[4] / 2.0f);
    }
    for (const auto& p : board.pads)
        AddFlash(doc.m_FlashList, p[0], p[1], p[2]);
    NumberRecords(doc);
}

}  // namespace

// Every pass's layer keeps its distance d/2 from the copper: the exact first
// pass to its own accuracy, the grid passes to half their pitch and half a
// mil, round ends of tracks included (a grid pass's round end cut as one
// chord would pass through the copper's offset).
TEST(PassDriver, EveryPassKeepsItsDistanceRoundEndsIncluded)
{
    const float w = 11.811f;  // 0.3 mm
    const GridBoard boards[] = {
        {"two tracks 0.43 mm apart", {{100, 100, 250, 100, w}, {100, 128.74f, 250, 128.74f, w}}, {}},
        {"tracks ending a quarter pitch apart",
         {{100, 100, 200, 100, w}, {101.5f, 124, 201.5f, 124, w}, {103, 148, 203, 148, w},
          {104.5f, 172, 204.5f, 172, w}},
         {}},
        {"short tracks and small pads",
         {{100, 100, 106, 100, w}, {130, 100, 130, 112, w}, {160, 100, 163, 103, 8}},
         {{200, 100, 6}, {230, 104, 12}, {100, 160, 30}}},
    };
    for (const GridBoard& board : boards) {
        ResetProgramObjects();
        CVelmDoc doc;
        LayGridBoard(doc, board);
        doc.m_KeepDuplicates = 1;
        ASSERT_EQ(doc.GenerateIsolationPaths(0), 1) << board.name;
        const CIsoPassTable table = BuildPassTable(doc.IsoToolSettings());
        ASSERT_EQ(doc.m_PathLayerList.size(), 6u) << board.name;
        for (std::size_t i = 0; i < 6; ++i) {
            const CPathRecord& l = *doc.m_PathLayerList[i];
            SCOPED_TRACE(std::string(board.name) + ", layer " + std::to_string(i));
            EXPECT_FALSE(l.items.empty());
            const float d = table.distance[i];
            const double slack = i == 0 ? 0.05 : std::min(int(d / 2.0f), 6) / 2.0 + 0.5;
            CIsolationOracle oracle(doc, l, COracleOptions{0.25, 10.0, 0.0});
            const CClearanceReport clearance = CheckClearance(oracle, d / 2.0, slack);
            EXPECT_TRUE(clearance.Passed()) << DescribeClearance(oracle, clearance);
        }
    }
}

// A group of 399 sources is offset exactly; one of 400 goes through the
// grid, whose round ends of its tracks come and go again.
TEST(PassDriver, ThreeHundredNinetyNineSourcesExactFourHundredThroughTheGrid)
{
    for (int count : {399, 400}) {
        ResetProgramObjects();
        CVelmDoc doc;
        g_CurrentSide = 0;
        SetExtent(0, 0, 8 * count + 100, 120);
        for (int i = 0; i < count; ++i)
            AddTrack(doc.m_TrackList, 0, float(20 + 8 * i), 40.0f, float(28 + 8 * i), 40.0f, 10.0f);
        AddFlash(doc.m_FlashList, 60, 95, 10);
        NumberRecords(doc);
        const std::vector<PadImage> before = Pads(doc);
        ASSERT_EQ(doc.GenerateIsolationPaths(0), 1);
        EXPECT_EQ(Pads(doc), before) << count;
        std::size_t exactSources = 0;
        for (const auto& g : doc.m_IsoGroups)
            exactSources = std::max(exactSources, g->Sources.size());
        EXPECT_EQ(exactSources, count == 399 ? 399u : 1u) << count;
        // Either way the first pass goes round the row.
        const CPathRecord* first = doc.m_PathLayerList.front().get();
        ASSERT_EQ(first->name, "T1ISO");
        double minX = 1e9, maxX = -1e9;
        for (const auto& item : first->items)
            for (const CDPoint& p : CIsolationOracle::CutPolyline(*item, 0.5, 0.01)) {
                minX = std::min(minX, p.x);
                maxX = std::max(maxX, p.x);
            }
        EXPECT_LT(minX, 20.0 - 5.0) << count;
        EXPECT_GT(maxX, 28.0 + 8 * (count - 1) + 5.0) << count;
    }
}

// Cancel in any grid pass stops the whole calculation: no layer of the
// side, the pad list as it was, and through the command no completion
// message and no time taken.
TEST(PassDriver, CancelStopsTheWholeCalculation)
{
    for (int which : {1, 4}) {
        ResetProgramObjects();
        CVelmDoc doc;
        SmallBoard(doc);
        // A large group on the board too, so the first grid pass cuts.
        for (int i = 0; i < 400; ++i)
            AddTrack(doc.m_TrackList, 0, float(10 + i), 20.0f, float(11 + i), 20.0f, 8.0f);
        NumberRecords(doc);
        doc.AddPathLayer("ROUTE", 1.0f, 0.0f, 5, 0);
        const std::vector<PadImage> before = Pads(doc);
        CancelGridPass(which);
        TestHost().QueueDialog([](CDialog& d) { d.PressButton(IDOK); }, IDD_PATH_METHOD);
        doc.OnNewIsolationPaths();
        TestHost().OnPump({});
        SCOPED_TRACE(which);
        ASSERT_EQ(LayerNames(doc), std::vector<std::string>{"ROUTE"});
        EXPECT_EQ(Pads(doc), before);
        EXPECT_TRUE(TestHost().BoxTexts().empty());
        EXPECT_EQ(g_StatusText.find("Take Time"), std::string::npos);
        EXPECT_EQ(g_Calculating, 0);
        EXPECT_TRUE(doc.m_GridPathList.empty());
    }
}

TEST(PassDriver, CommandsStoreTheToolsAndKeepOtherLayers)
{
    CVelmDoc doc;
    SmallBoard(doc);
    doc.AddPathLayer("ROUTE", 1.0f, 0.0f, 5, 0);
    auto* old = doc.AddPathLayer("T1ISO", 1.0f, 0.0f, 1, 0);
    (void)old;
    RegSetFloat("Tool1Size", 7.874f);
    RegSetInt("ISOLAYER", 3);
    // A cancelled dialog changes nothing.
    TestHost().QueueDialog([](CDialog& d) { d.PressButton(IDCANCEL); }, IDD_PATH_METHOD);
    doc.OnNewIsolationPaths();
    EXPECT_EQ(LayerNames(doc), (std::vector<std::string>{"T1ISO", "ROUTE"}));

    TestHost().QueueDialog(
        [](CDialog& d) {
            d.SetDlgItemText(IDC_PM_T1_WIDTH, "0.2");
            d.SetDlgItemText(IDC_PM_T2_WIDTH, "0.5");
            d.SetDlgItemText(IDC_PM_T3_WIDTH, "1.5");
            d.SetDlgItemText(IDC_PM_T4_WIDTH, "0.3");
            d.CheckDlgButton(IDC_PM_USE_T4, 1);
            d.PressButton(IDOK);
        },
        IDD_PATH_METHOD);
    doc.OnNewIsolationPaths();
    EXPECT_NEAR(doc.m_ToolWidth1, 7.874, 1e-3);
    EXPECT_NEAR(doc.m_ToolWidth3, 59.055, 1e-3);
    float stored = 0.0f;
    RegGetFloat("Tool2Size", stored);
    EXPECT_NEAR(stored, 19.685, 1e-3);
    int layers = 0, check = 0;
    RegGetInt("ISOLAYER", layers);
    EXPECT_EQ(layers, 3);
    RegGetInt("Tool1Check", check);
    EXPECT_EQ(check, 1);
    RegGetFloat("Tool1Size2", stored);
    EXPECT_NEAR(stored, 11.811, 1e-3);
    const std::vector<std::string> names = LayerNames(doc);
    // The old tool layer went; the tool-3 PATH layer comes first, the
    // route stays, the passes follow and the tool-3 clearing comes last.
    EXPECT_EQ(names, (std::vector<std::string>{"T3PATH", "ROUTE", "T1ISO", "T1MIL", "T4ISO", "T2ISO",
                                               "T2MIL", "T3MIL", "T3MIL"}));
    EXPECT_EQ(TestHost().BoxTexts(), std::vector<std::string>{LoadResString(IDS_PATHS_DONE)});
    EXPECT_EQ(g_StatusText.rfind("Take Time ", 0), 0u);

    // A busy machine: the command does nothing.
    g_JobCode = 1;
    doc.OnNewIsolationPaths();
    EXPECT_EQ(TestHost().UnansweredDialogs(), 0);
    g_JobCode = 0;
}

namespace {

// A layer of the component side at the tail of the list.
CPathRecord* ToolLayer(CVelmDoc& doc, const char* name, int kind)
{
    auto layer = std::make_unique<CPathRecord>();
    layer->name = name;
    layer->kind = kind;
    return AddTail(doc.m_PathLayerList, std::move(layer));
}

CDPoint AtAngle(double r, double degrees)
{
    const double a = degrees * 3.14159265358979 / 180.0;
    return {r * std::cos(a), r * std::sin(a)};
}

}  // namespace

TEST(DuplicateToolPaths, ChordsArcsReversedArcsAndGroupsByValue)
{
    CVelmDoc doc;
    g_CurrentSide = 0;
    g_HasComponentSide = 1;
    CPathRecord* mil = ToolLayer(doc, "T1MIL", 1);
    AddItem(*mil, AtAngle(100, 0), AtAngle(100, 5.0), {0, 0}, 1, 0);
    AddItem(*mil, AtAngle(200, 0), AtAngle(200, 5.1), {0, 0}, 1, -7);
    // Clockwise from 90 to 0 degrees.
    AddItem(*mil, AtAngle(300, 90), AtAngle(300, 0), {0, 0}, 2, 1000000000);
    // A line running along the tool-2 isolation goes.
    AddItem(*mil, {0, 500}, {100, 500}, {0, 0}, 0, 3);
    CPathRecord* iso = ToolLayer(doc, "T2ISO", 0);
    AddItem(*iso, {0, 502}, {100, 502}, {0, 0}, 0, 3);
    ToolLayer(doc, "T2MIL", 1);
    ToolLayer(doc, "T3MIL", 0);

    doc.OnDeleteDuplicatePaths();
    const CPathRecord* rebuilt = Layer(doc, "T1MIL");
    ASSERT_NE(rebuilt, nullptr);
    ASSERT_EQ(rebuilt->items.size(), 3u);
    int chords = 0, arcs = 0;
    for (const auto& item : rebuilt->items) {
        const double r = std::hypot(item->x1, item->y1);
        if (std::fabs(r - 100) < 0.01) {
            EXPECT_EQ(item->type, 0);
            ++chords;
        } else if (std::fabs(r - 200) < 0.01) {
            EXPECT_EQ(item->type, 1);
            ++arcs;
        } else {
            // The clockwise arc comes back counter-clockwise from its end.
            EXPECT_EQ(item->type, 1);
            EXPECT_NEAR(item->x1, 300.0, 1e-3);
            EXPECT_NEAR(item->y1, 0.0, 1e-3);
            EXPECT_NEAR(item->y2, 300.0, 1e-3);
        }
    }
    EXPECT_EQ(chords, 1);
    EXPECT_EQ(arcs, 1);
    EXPECT_EQ(doc.m_PathLayerList.front()->name, "T1MIL");
    // T2MIL goes right after T2ISO.
    const std::vector<std::string> names = LayerNames(doc);
    const auto at = std::find(names.begin(), names.end(), "T2ISO");
    ASSERT_NE(at, names.end());
    ASSERT_NE(at + 1, names.end());
    EXPECT_EQ(*(at + 1), "T2MIL");
    EXPECT_EQ(TestHost().BoxTexts(), std::vector<std::string>{LoadResString(IDS_PATHS_DONE)});
}

// A machine job walks the layers' items while it pumps messages: the
// command refuses then and frees nothing.
TEST(DuplicateToolPaths, RefusedWhileAMachineJobRuns)
{
    CVelmDoc doc;
    g_CurrentSide = 0;
    g_HasComponentSide = 1;
    CPathRecord* mil = ToolLayer(doc, "T1MIL", 1);
    AddItem(*mil, {0, 0}, {10, 0}, {0, 0}, 0, 0);
    const CPathSegment* item = mil->items.front().get();
    g_JobCode = 1;
    doc.OnDeleteDuplicatePaths();
    g_JobCode = 0;
    ASSERT_EQ(doc.m_PathLayerList.size(), 1u);
    EXPECT_EQ(doc.m_PathLayerList.front().get(), mil);
    EXPECT_EQ(mil->items.front().get(), item);
    EXPECT_TRUE(TestHost().BoxTexts().empty());
}

// A line under a wider track and a pad inside a larger pad bound no free
// stretch of the raster: both are buried; lone copper is not. A pad of no
// radius is cut as one of 2 mil; arcs and rectangles keep their marks.
TEST(LargeCopperArea, MarksOnlyBuriedLinesAndPads)
{
    CVelmDoc doc;
    g_CurrentSide = 0;
    SetExtent(0, 0, 400, 300);
    AddTrack(doc.m_TrackList, 0, 50, 100, 250, 100, 60);   // wide
    AddTrack(doc.m_TrackList, 0, 100, 100, 200, 100, 10);  // under it
    AddTrack(doc.m_TrackList, 0, 50, 250, 250, 250, 10);   // alone
    AddTrack(doc.m_TrackList, 1, 330, 50, 330, 90, 20);    // rectangle
    AddFlash(doc.m_FlashList, 330, 200, 40);
    AddFlash(doc.m_FlashList, 330, 200, 10);               // inside it
    NumberRecords(doc);
    doc.BuildSourceElements();
    for (CIsoElement* e : doc.m_IsoSources)
        if (e->Kind == ISO_RECT)
            e->AreaMark = 7;
    doc.ComputeLargeCopperArea();
    std::vector<int> lines, circles;
    for (const CIsoElement* e : doc.m_IsoSources) {
        if (e->Kind == ISO_LINE)
            lines.push_back(e->AreaMark);
        else if (e->Kind == ISO_CIRCLE && e->Radius > 0.0)
            circles.push_back(e->AreaMark);
        else if (e->Kind == ISO_RECT) {
            EXPECT_EQ(e->AreaMark, 7);
        }
    }
    EXPECT_EQ(lines, (std::vector<int>{0, 1, 0}));
    EXPECT_EQ(circles, (std::vector<int>{0, 1}));
}

// The grid pass lays its raster at half the distance, at most 6 mil; below
// 2 mil there is no pitch to lay one with, and the pass makes nothing
// rather than fail or loop.
TEST(TemplateGridPass, PitchFromTheDistanceAndNoneBelowTwoMil)
{
    struct Case {
        float distance;
        int pitch;       // 0: no raster laid
    } cases[] = {{8.0f, 4}, {9.0f, 4}, {12.0f, 6}, {13.0f, 6}, {3.0f, 1}, {1.5f, 0}};
    for (const Case& c : cases) {
        ResetProgramObjects();
        CVelmDoc doc;
        SetExtent(0, 0, 200, 200);
        AddTrack(doc.m_TrackList, 0, 50, 100, 150, 100, 10)->used = 1;
        NumberRecords(doc);
        doc.m_TrackList[0]->groupNo = 1;
        doc.m_GridStep = 17;
        EXPECT_EQ(doc.TemplateGridPass(c.distance), 1) << c.distance;
        if (c.pitch == 0) {
            EXPECT_EQ(doc.m_GridStep, 17);
            EXPECT_TRUE(doc.m_RowList.empty());
            EXPECT_TRUE(doc.m_GridPathList.empty());
        } else {
            EXPECT_EQ(doc.m_GridStep, c.pitch) << c.distance;
            EXPECT_FALSE(doc.m_GridPathList.empty()) << c.distance;
        }
        EXPECT_EQ(doc.m_TrackList[0]->width, 10.0f);
        EXPECT_EQ(g_Calculating, 0);
    }
}
