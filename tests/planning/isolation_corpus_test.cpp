// The finest tool's isolation on every real board of the shared corpus,
// judged by the isolation oracle: each job is loaded through File/New as an
// operator would load it, and the isolation is made on each side the job
// has. Skips without the corpus; a planner that makes no isolation layer
// fails here.
//
// ORDUNE_ORACLE_IMAGE_DIR=/some/folder keeps a picture of each side judged.
#include "document/velm_doc.h"
#include "platform/paths.h"
#include "records/board_extent.h"
#include "settings/default_files.h"
#include "settings/drill_format_dlg.h"
#include "settings/system_settings_dlg.h"
#include "settings/work_order_dlg.h"
#include "support/isolation_oracle.h"
#include "support/record_makers.h"
#include "support/test_paths.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

// Pairs of nets closer than the tool is wide cannot be parted without
// cutting copper: the planner cuts every track and flash widened by the
// tool out of its scan lines, so between two such nets no free interval is
// left to walk, and one outline goes round both. A side may keep those pairs
// joined, and this many more. Provisional: the engine had not landed when
// this was written, so the figure has not yet been checked against the
// joins the corpus really shows.
constexpr std::size_t kExtraJoinedPairsPerSide = 0;
// The clearing strokes run along scan lines of their own tools' pitches;
// their ends are trimmed to whole steps.
constexpr double kClearingTolerance = 1.5;

// FILETYPE blocks of the settings file (resources/system/ORDUNE.INI), in
// its order.
constexpr int kNoDialect = -1;
constexpr int kProtel = 2;
constexpr int kOrcad = 4;
constexpr int kWorkbench = 6;

// One job of the corpus as its files are loaded (paths under the corpus).
struct CorpusJob {
    const char* name;
    const char* component;
    const char* solder;
    const char* componentApertures;
    const char* drill;
    const char* route;
    int dialect;
    const char* dialectName;
    int drillMetric;  // the operator's drill format: 1 mm, 0 inch
};

const CorpusJob kJobs[] = {
    {"D1MiniGSR", "boards/D1MiniGSR/D1MiniGSR-F_Cu.gbr", "boards/D1MiniGSR/D1MiniGSR-B_Cu.gbr", "",
     "boards/D1MiniGSR/D1MiniGSR-PTH.drl", "boards/D1MiniGSR/D1MiniGSR-Edge_Cuts.gbr", kProtel, "PROTEL", 1},
    {"example_board", "boards/example_board_new_default/example_board-F.Cu.gbr",
     "boards/example_board_new_default/example_board-B.Cu.gbr", "",
     "boards/example_board_new_default/example_board-PTH.drl",
     "boards/example_board_new_default/example_board-Edge.Cuts.gbr", kProtel, "PROTEL", 0},
    {"multivibrator", "", "boards/multivibrator/multivibrator-B.Cu.gbr", "",
     "boards/multivibrator/multivibrator.drl", "boards/multivibrator/multivibrator-Edge.Cuts.gbr", kProtel,
     "PROTEL", 1},
    {"project_controller", "", "boards/project-controller/project-controller-B_Cu.gbr", "",
     "boards/project-controller/project-controller.drl",
     "boards/project-controller/project-controller-Edge_Cuts.gbr", kProtel, "PROTEL", 1},
    {"hellboard", "gerbv-examples/hellboard/hellboard.front.gbr", "gerbv-examples/hellboard/hellboard.back.gbr",
     "", "gerbv-examples/hellboard/hellboard.plated-drill.cnc", "", kNoDialect, "", 0},
    {"orcad", "gerbv-examples/orcad/rs232_cm.top", "gerbv-examples/orcad/rs232_cm.bot", "",
     "gerbv-examples/orcad/thruhole.tap", "", kOrcad, "ORCAD", 0},
    {"ekf", "gerbv-examples/ekf/l1.off", "", "gerbv-examples/ekf/ekf.gap", "", "", kWorkbench, "WORKBENCH", 0},
};

std::string Corpus(const char* relative) { return *relative ? CorpusPath(relative) : std::string(); }

// For each net of `oracle`, the group of nets its copper joins when every
// shape grows by `clearance`: nets of one group lie closer than twice the
// clearance, the tool's width, somewhere.
std::vector<int> CrowdedGroups(const CIsolationOracle& oracle, double clearance)
{
    CBoardModel grown;
    for (const COracleShape& s : oracle.Shapes()) {
        if (s.kind == COracleShape::Kind::Disc) {
            AddFlash(grown.m_FlashList, float(s.a.x), float(s.a.y), float(s.half + clearance));
            continue;
        }
        CDPoint a = s.a, b = s.b;
        if (s.kind == COracleShape::Kind::Bar) {
            // A square end grows along the bar as its sides grow across it.
            const double len = std::hypot(b.x - a.x, b.y - a.y);
            const CDPoint along((b.x - a.x) / len * clearance, (b.y - a.y) / len * clearance);
            a -= along;
            b += along;
        }
        AddTrack(grown.m_TrackList, s.kind == COracleShape::Kind::Bar ? 1 : 0, float(a.x), float(a.y),
                 float(b.x), float(b.y), float(2 * (s.half + clearance)));
    }
    CPathRecord none;
    CIsolationOracle wide(grown, none);
    std::vector<int> group(std::size_t(oracle.NetCount()) + 1, 0);
    for (int n = 1; n <= oracle.NetCount(); ++n)
        group[std::size_t(n)] = wide.NetAt(oracle.Net(n).at.x, oracle.Net(n).at.y);
    return group;
}

// The joins of nets that have room between them (nets of different crowded
// groups); `crowdedPairs` gets the number of pairs of nets closer than
// twice `clearance`, which no tool of that width can part.
std::size_t RoomyJoins(const CIsolationOracle& oracle, const CIsolationReport& isolation,
                       double clearance, std::size_t& crowdedPairs)
{
    const std::vector<int> group = CrowdedGroups(oracle, clearance);
    std::map<int, std::size_t> groupSize;
    for (int n = 1; n <= oracle.NetCount(); ++n)
        ++groupSize[group[std::size_t(n)]];
    std::size_t roomyJoins = 0;
    crowdedPairs = 0;
    for (const auto& [id, size] : groupSize)
        crowdedPairs += size * (size - 1) / 2;
    for (const CJoinedNets& join : isolation.joins)
        roomyJoins += group[std::size_t(join.netA)] != group[std::size_t(join.netB)];
    return roomyJoins;
}

// The job through File/New as an operator loads it.
void LoadJob(CVelmDoc& doc, const CorpusJob& job)
{
    ASSERT_TRUE(SeedSystemDir(TestDir()));
    g_SystemDir = TestDir();
    ASSERT_EQ(doc.LoadSettings(), 1);
    if (job.dialect != kNoDialect) {
        g_ApertureFormat = job.dialect;
        g_CadDialect = job.dialectName;
    }
    g_DrillFormatDlg.dInchMM = g_DrillFormatDlg.dInchMMSize = job.drillMetric;
    g_ComponentGerberFile = Corpus(job.component);
    g_SolderGerberFile = Corpus(job.solder);
    g_ComponentApertureFile = Corpus(job.componentApertures);
    g_DrillFile = Corpus(job.drill);
    g_RouteFile = Corpus(job.route);
    ASSERT_TRUE(doc.LoadWorkOrder()) << job.name << " did not load";
}

class IsolationCorpus : public testing::TestWithParam<int> {
protected:
    // Each test starts with its job loaded through File/New.
    void SetUp() override
    {
        if (CorpusPath("boards").empty())
            GTEST_SKIP() << "no corpus";
        doc = std::make_unique<CVelmDoc>();
        LoadJob(*doc, job);
    }

    const CorpusJob& job = kJobs[GetParam()];
    std::unique_ptr<CVelmDoc> doc;

    static void TearDownTestSuite()
    {
        if (!Findings().empty())
            std::printf("\n== isolation of the finest tool on the corpus ==\n%s", Findings().c_str());
    }

    static std::string& Findings()
    {
        static std::string findings;
        return findings;
    }

    void Judge(CVelmDoc& doc, const CorpusJob& job, int side);
};

void IsolationCorpus::Judge(CVelmDoc& doc, const CorpusJob& job, int side)
{
    const char* sideName = side == 0 ? "component" : "solder";
    SCOPED_TRACE(sideName);
    using Clock = std::chrono::steady_clock;
    // The path calculation runs the finest tool at a 2 mil pitch.
    doc.m_T1Step = 2;
    const Clock::time_point start = Clock::now();
    const int finished = doc.CalcIsolationT1(0);
    const double planSeconds = std::chrono::duration<double>(Clock::now() - start).count();
    EXPECT_EQ(finished, 1) << "the isolation of the finest tool did not finish";
    const CPathRecord* layer = doc.FindPathLayerOnSide("T1ISO", side);
    ASSERT_NE(layer, nullptr) << "no T1ISO layer on the " << sideName << " side of " << job.name;

    const Clock::time_point judged = Clock::now();
    CIsolationOracle oracle(doc, *layer);
    ASSERT_EQ(oracle.Error(), "");
    // With no extra offset the cutter's centre keeps half its width from
    // the copper; the scan lines may be off by half their pitch, the
    // arcs' chords by half a mil more.
    const double required = double(layer->size) / 2.0;
    const double tolerance = doc.m_GridStep / 2.0 + 0.5;
    const CClearanceReport clearance = CheckClearance(oracle, required, tolerance);
    const CIsolationReport isolation = CheckIsolation(oracle);
    const double oracleSeconds = std::chrono::duration<double>(Clock::now() - judged).count();

    std::size_t crowdedPairs = 0;
    const std::size_t roomyJoins = RoomyJoins(oracle, isolation, required, crowdedPairs);

    EXPECT_FALSE(layer->items.empty()) << "an empty T1ISO layer";
    EXPECT_TRUE(clearance.Passed()) << DescribeClearance(oracle, clearance);
    EXPECT_LE(isolation.joins.size(), crowdedPairs + kExtraJoinedPairsPerSide)
        << DescribeIsolation(oracle, isolation, 20);

    if (const char* dir = std::getenv("ORDUNE_ORACLE_IMAGE_DIR"))
        WriteOracleImage(oracle, std::string(dir) + "/" + job.name + "-" + sideName + ".ppm", &clearance,
                         &isolation);

    char head[400];
    std::snprintf(head, sizeof head,
                  "%s, %s side: %zu segments, tool %.3f mil, pitch %d; raster %d x %d, %.1f MB; "
                  "planner %.2f s, oracle %.2f s; %zu pairs of nets closer than the tool, "
                  "%zu joins of nets with room between them\n",
                  job.name, sideName, layer->items.size(), double(layer->size), doc.m_GridStep, oracle.Width(),
                  oracle.Height(), oracle.MemoryBytes() / 1e6, planSeconds, oracleSeconds, crowdedPairs,
                  roomyJoins);
    const std::string text =
        head + DescribeClearance(oracle, clearance, 5) + DescribeIsolation(oracle, isolation, 50);
    std::printf("%s", text.c_str());
    Findings() += text;
}

TEST_P(IsolationCorpus, FinestToolKeepsClearAndPartsTheNets)
{
    int sides = 0;
    if (g_HasComponentSide) {
        doc->OnComponentSide();
        ASSERT_EQ(g_CurrentSide, 0);
        Judge(*doc, job, 0);
        ++sides;
    }
    if (g_HasSolderSide) {
        doc->OnSolderSide();
        ASSERT_EQ(g_CurrentSide, 1);
        Judge(*doc, job, 1);
        ++sides;
    }
    EXPECT_GT(sides, 0);
}

// Where each tool clears and how far apart it takes its rows, as the
// operator's settings give them.
struct ClearingTool {
    const char* layer;
    double inset;     // of the region from the board extent, each side
    double spacing;   // between the rows it takes
    int pitch;        // of the rows it takes them from
};

// The board extent inset by the tool's inset, each coordinate truncated;
// an inset of more than half the board clears the whole board.
CClearingRegion ClearingRegionOf(double inset)
{
    CClearingRegion r{std::trunc(g_BoardMinX + inset), std::trunc(g_BoardMinY + inset),
                      std::trunc(g_BoardMaxX - inset), std::trunc(g_BoardMaxY - inset)};
    if (r.minX > r.maxX || r.minY > r.maxY)
        r = {double(g_BoardMinX), double(g_BoardMinY), double(g_BoardMaxX), double(g_BoardMaxY)};
    return r;
}

// The clearing strokes of all three tools from the whole path calculation:
// swept by their tools, they keep off the copper as the isolation does;
// they stay inside their tool's region, and its rows lie the tool's spacing
// apart. A row is taken once the last one lies a spacing behind, counted
// from where the tool looked, on whole mils: so less a mil and a pitch.
TEST_P(IsolationCorpus, ClearingStrokesKeepOffTheCopperInsideTheirRegionsAndApart)
{
    doc->m_T1Step = 2;
    ASSERT_EQ(doc->CalculatePathLayers(CVelmDoc::CPathLayerChoice{}), 1);
    const double t1 = doc->m_ToolWidth1, t2 = doc->m_ToolWidth2, t3 = doc->m_ToolWidth3;
    const double overlap = doc->m_ClearOverlap;
    const ClearingTool tools[] = {
        {"T1MIL", t2, t1 / 2.0, doc->m_T1Step},
        {"T2MIL", t2, t2 * (1.0 - overlap), int(t2 / 1.6)},
        {"T3MIL", t3 / 1.5, t3 * (1.0 - overlap), int(t3 / 4.0)},
    };
    for (int side : {0, 1}) {
        if (!(side == 0 ? g_HasComponentSide : g_HasSolderSide))
            continue;
        side == 0 ? doc->OnComponentSide() : doc->OnSolderSide();
        for (const ClearingTool& tool : tools) {
            const CPathRecord* layer = doc->FindPathLayerOnSide(tool.layer, side);
            if (!layer)
                continue;
            CIsolationOracle oracle(*doc, *layer);
            ASSERT_EQ(oracle.Error(), "");
            const CClearanceReport clearance =
                CheckClearance(oracle, double(layer->size) / 2.0, kClearingTolerance);
            const CClearingReport placed =
                CheckClearingStrokes(*layer, ClearingRegionOf(tool.inset), tool.spacing, 1.0 + tool.pitch);
            std::printf("%s side %d %s: %zu strokes, %s  %s", job.name, side, tool.layer, layer->items.size(),
                        DescribeClearance(oracle, clearance, 3).c_str(), DescribeClearing(*layer, placed, 3).c_str());
            EXPECT_TRUE(clearance.Passed()) << job.name << " " << tool.layer;
            EXPECT_TRUE(placed.Passed()) << job.name << " " << tool.layer << "\n"
                                         << DescribeClearing(*layer, placed);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Boards, IsolationCorpus, testing::Range(0, int(std::size(kJobs))),
                         [](const testing::TestParamInfo<int>& info) { return kJobs[info.param].name; });


// The offset-path calculation's first pass ("T1ISO", exact round the groups
// of fewer than 400 elements, through the grid round the larger ones) on
// every side of every job: what the tool sweep leaves of the blank joins no
// two nets that have room between them, and the cutter keeps off the copper
// (the grid's pieces may stray by half their pitch, as the scan-line
// engine's do).
TEST_P(IsolationCorpus, OffsetEngineKeepsClearAndPartsTheNets)
{
    for (int side : {0, 1}) {
        if (!(side == 0 ? g_HasComponentSide : g_HasSolderSide))
            continue;
        side == 0 ? doc->OnComponentSide() : doc->OnSolderSide();
        SCOPED_TRACE(side == 0 ? "component" : "solder");
        doc->ClearToolPaths();
        doc->m_KeepDuplicates = 1;
        using Clock = std::chrono::steady_clock;
        const Clock::time_point start = Clock::now();
        ASSERT_EQ(doc->GenerateIsolationPaths(0), 1);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        const CPathRecord* layer = doc->FindPathLayerOnSide("T1ISO", side);
        ASSERT_NE(layer, nullptr);
        EXPECT_FALSE(layer->items.empty());
        CIsolationOracle oracle(*doc, *layer);
        ASSERT_EQ(oracle.Error(), "");
        const double required = double(layer->size) / 2.0;
        const int pitch = std::min(int(layer->size / 2.0f), 6);
        const CClearanceReport clearance = CheckClearance(oracle, required, pitch / 2.0 + 0.5);
        const CIsolationReport isolation = CheckIsolation(oracle);
        std::size_t crowdedPairs = 0;
        const std::size_t roomyJoins = RoomyJoins(oracle, isolation, required, crowdedPairs);
        std::printf("%s, side %d, offset engine: %zu segments in %.2f s; %zu joins of nets with "
                    "room between them\n",
                    job.name, side, layer->items.size(), seconds, roomyJoins);
        EXPECT_TRUE(clearance.Passed()) << DescribeClearance(oracle, clearance);
        EXPECT_EQ(roomyJoins, 0u) << DescribeIsolation(oracle, isolation, 20);
    }
}

}  // namespace
