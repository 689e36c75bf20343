// Every path layer of both engines on every real board of the shared corpus
// and on generated boards that stress what real ones do, judged by the
// isolation oracle: each job is loaded through File/New as an operator would
// load it, the scan-line engine's path calculation and the offset engine's
// passes are made on each side the job has, and every layer is swept with
// its own tool over the side's copper. The corpus boards skip without the
// corpus; the generated ones always run.
//
// ORDUNE_ORACLE_IMAGE_DIR=/some/folder keeps a picture of each layer judged.
#include "document/velm_doc.h"
#include "offset/pass_driver.h"
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

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Nets whose copper lies closer than the tool's width and this much more
// may stay joined (they are reported, not failed): between them the tool
// has no room to pass, or barely, and one outline may go round both.
constexpr double kRoomBeyondTool = 1.0;
// The scan-line engine's lines may stray by half their raster's pitch, and
// its arcs' chords by half a mil more. Its clearing strokes keep closer:
// they run along scan lines of their own tools' pitches and their ends are
// trimmed to whole steps.
constexpr double kChordSlack = 0.5;
constexpr double kClearingTolerance = 1.5;
// The pitch of the scan-line engine's raster for the second tool's isolation,
// and the offset it adds to the tool's width there.
constexpr int kTool2Pitch = 3;
constexpr double kTool2Extra = 5.0;
// The offset engine's exact pieces lie on the grown outline; its grid
// passes' pieces may stray as the scan-line engine's do, by half the grid's
// pitch (half the pass's distance, at most 6 mil) and half a mil.
constexpr double kExactSlack = 0.5;
constexpr int kGridPitchLimit = 6;

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
    // A generated board: its component side's Gerber text for the tool
    // widths of the loaded settings (component is then unused).
    std::string (*generate)(double tool1, double tool2) = nullptr;
};

// ---- generated boards ----

// A component side in Gerber (inch, 2.4: coordinates in tenths of a mil),
// written in mil.
class CGerberText {
public:
    CGerberText() { m_Out << "%FSLAX24Y24*%\n%MOIN*%\n"; }
    // A round aperture of `diameter` mil, or a rectangle of w by h mil.
    void Round(int code, double diameter) { Define(code, "C," + Inch(diameter)); }
    void Rect(int code, double w, double h) { Define(code, "R," + Inch(w) + "X" + Inch(h)); }
    void Use(int code) { m_Out << "D" << code << "*\n"; }
    void Move(double x, double y)
    {
        m_Out << At(x, y) << "D02*\n";
        PenTo(x, y);
    }
    void Line(double x, double y)
    {
        m_Out << "G01" << At(x, y) << "D01*\n";
        PenTo(x, y);
    }
    void Flash(double x, double y)
    {
        m_Out << At(x, y) << "D03*\n";
        PenTo(x, y);
    }
    // An arc from where the pen is to (x, y) round (cx, cy); the centre is
    // written relative to the pen's place.
    void Arc(double x, double y, double cx, double cy, bool ccw)
    {
        m_Out << "G75*\n" << (ccw ? "G03" : "G02") << At(x, y) << "I" << Tenths(cx - m_PenX)
              << "J" << Tenths(cy - m_PenY) << "D01*\n";
        PenTo(x, y);
    }
    void RegionBegin() { m_Out << "G36*\n"; }
    void RegionEnd() { m_Out << "G37*\n"; }
    std::string Text() const { return m_Out.str() + "M02*\n"; }

private:
    static long Tenths(double mil) { return std::lround(mil * 10.0); }
    static std::string Inch(double mil)
    {
        char text[32];
        std::snprintf(text, sizeof text, "%.4f", mil / 1000.0);
        return text;
    }
    static std::string At(double x, double y)
    {
        return "X" + std::to_string(Tenths(x)) + "Y" + std::to_string(Tenths(y));
    }
    void Define(int code, const std::string& shape) { m_Out << "%ADD" << code << shape << "*%\n"; }
    void PenTo(double x, double y)
    {
        m_PenX = x;
        m_PenY = y;
    }
    std::ostringstream m_Out;
    double m_PenX = 0.0, m_PenY = 0.0;
};

constexpr double kPi = 3.14159265358979323846;

// A closed outline of a rectangle x0..x1, y0..y1 with corners of radius r,
// anticlockwise from the lower edge: its corners as arcs meeting the edges
// at tangents, or as `chords` short lines each.
void RoundedOutline(CGerberText& g, double x0, double y0, double x1, double y1, double r, int chords)
{
    const double cx[4] = {x1 - r, x1 - r, x0 + r, x0 + r}, cy[4] = {y0 + r, y1 - r, y1 - r, y0 + r};
    g.Move(x0 + r, y0);
    for (int k = 0; k < 4; ++k) {
        const double a0 = (k - 1) * kPi / 2;
        const double sx = cx[k] + r * std::cos(a0), sy = cy[k] + r * std::sin(a0);
        g.Line(sx, sy);
        const double ex = cx[k] + r * std::cos(a0 + kPi / 2), ey = cy[k] + r * std::sin(a0 + kPi / 2);
        if (chords == 0) {
            g.Arc(ex, ey, cx[k], cy[k], true);
        } else {
            for (int c = 1; c <= chords; ++c) {
                const double a = a0 + kPi / 2 * c / chords;
                g.Line(cx[k] + r * std::cos(a), cy[k] + r * std::sin(a));
            }
        }
    }
    g.Line(x0 + r, y0);
}

// A disc of radius r as a region: as many short chords, or two half turns.
void DiscRegion(CGerberText& g, double cx, double cy, double r, int chords)
{
    g.RegionBegin();
    g.Move(cx + r, cy);
    if (chords == 0) {
        g.Arc(cx - r, cy, cx, cy, true);
        g.Arc(cx + r, cy, cx, cy, true);
    } else {
        for (int c = 1; c <= chords; ++c)
            g.Line(cx + r * std::cos(2 * kPi * c / chords), cy + r * std::sin(2 * kPi * c / chords));
    }
    g.RegionEnd();
}

// Regions with curved outlines, drawn as many short chords and as arcs, and
// tracks beside them: one just wide enough for the finest tool and one
// a mil more, one too narrow for it.
std::string CurvedRegions(double tool1, double)
{
    CGerberText g;
    g.Round(10, 10.0);
    const double roomy = tool1 + 1.5, narrow = tool1 - 1.0;
    for (int k = 0; k < 2; ++k) {
        const double cx = 300 + 450 * k, cy = 300, r = 150;
        DiscRegion(g, cx, cy, r, k == 0 ? 180 : 0);
        g.Use(10);
        // Over the top, beside the right and across the lower left.
        g.Move(cx - 80, cy + r + roomy + 5);
        g.Line(cx + 80, cy + r + roomy + 5);
        g.Move(cx + r + narrow + 5, cy - 60);
        g.Line(cx + r + narrow + 5, cy + 60);
        const double d = r + tool1 + 5, a = 1.25 * kPi;
        g.Move(cx + d * std::cos(a) - 60 * std::sin(a), cy + d * std::sin(a) + 60 * std::cos(a));
        g.Line(cx + d * std::cos(a) + 60 * std::sin(a), cy + d * std::sin(a) - 60 * std::cos(a));
    }
    for (int k = 0; k < 2; ++k) {
        const double x0 = 100 + 450 * k, y0 = 600, x1 = x0 + 300, y1 = y0 + 160;
        g.RegionBegin();
        RoundedOutline(g, x0, y0, x1, y1, 45, k == 0 ? 24 : 0);
        g.RegionEnd();
        g.Use(10);
        g.Move(x0 + 20, y1 + roomy + 5);
        g.Line(x1 - 20, y1 + roomy + 5);
        // Round the upper right corner at a roomy gap.
        const double cx = x1 - 45, cy = y1 - 45, rr = 45 + roomy + 5;
        g.Move(cx + rr, cy - 40);
        g.Line(cx + rr, cy);
        g.Arc(cx, cy + rr, cx, cy, true);
    }
    return g.Text();
}

// Tracks of lines and arcs meeting at tangents, wound into serpentines that
// run side by side at gaps of the finest tool and a mil and a half more, of
// the second tool and a mil more, and of a mil less than the finest tool.
std::string TangentArcs(double tool1, double tool2)
{
    CGerberText g;
    const double width = 10.0, R = 90.0;
    g.Round(10, width);
    g.Use(10);
    const double gaps[] = {tool1 + 1.5, tool2 + 1.5, tool1 - 1.0};
    double offset = 0.0;
    for (int k = 0; k <= 3; ++k) {
        const double o = offset, xa = 150, xb = 450, y0 = 200;
        g.Move(xa, y0 - o);
        g.Line(xb, y0 - o);
        g.Arc(xb, y0 + 2 * R + o, xb, y0 + R, true);
        g.Line(xa, y0 + 2 * R + o);
        g.Arc(xa, y0 + 4 * R - o, xa, y0 + 3 * R, false);
        g.Line(xb, y0 + 4 * R - o);
        if (k < 3)
            offset += width + gaps[k];
    }
    return g.Text();
}

// Rows of rectangular and of round pads at the finest and the second
// tool's widths, a mil less and a mil more.
std::string FinePitchPads(double tool1, double tool2)
{
    CGerberText g;
    g.Rect(12, 12.0, 50.0);
    g.Round(13, 24.0);
    const double gaps[] = {tool1 - 1.0, tool1, tool1 + 1.0, tool2 - 1.0, tool2 + 1.0};
    double y = 100;
    for (double gap : gaps) {
        g.Use(12);
        for (int k = 0; k < 6; ++k)
            g.Flash(100 + k * (12.0 + gap), y);
        g.Use(13);
        for (int k = 0; k < 6; ++k)
            g.Flash(500 + k * (24.0 + gap), y);
        y += 50.0 + tool2 + 2.0;
    }
    return g.Text();
}

// Round-ended tracks at the pitch of the second pass's grid: pairs side by
// side at gaps of whole and half pitches and at 0.43 mm, their ends moved
// across the grid a quarter pitch at a time, lengthwise and crosswise.
std::string GridPitchTracks(double tool1, double)
{
    CGerberText g;
    const double width = 11.811;  // 0.3 mm
    g.Round(10, width);
    g.Use(10);
    const int pitch = std::min(int(tool1), kGridPitchLimit);
    const double gaps[] = {2.0 * pitch, 3.0 * pitch, 16.929, 2.5 * pitch};
    double y = 100;
    for (double gap : gaps)
        for (int shift = 0; shift < 4; ++shift) {
            const double s = 0.25 * pitch * shift, x0 = 100 + s, y0 = y + s;
            for (int side = 0; side < 2; ++side) {
                const double at = y0 + side * (width + gap);
                g.Move(x0 + 10 * side, at);
                g.Line(x0 + 10 * side + 20 * pitch, at);
            }
            // The same pair upright, and a track of one pitch's length.
            const double ux = 400 + 90 * shift + s;
            for (int side = 0; side < 2; ++side) {
                const double at = ux + side * (width + gap);
                g.Move(at, y0 + 10 * side);
                g.Line(at, y0 + 10 * side + 10 * pitch);
            }
            g.Move(800 + 40 * shift + s, y0);
            g.Line(800 + 40 * shift + s + pitch, y0);
            y += 2 * width + gap + 20;
        }
    return g.Text();
}

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
    {"curved_regions", "", "", "", "", "", kNoDialect, "", 0, CurvedRegions},
    {"tangent_arcs", "", "", "", "", "", kNoDialect, "", 0, TangentArcs},
    {"fine_pitch_pads", "", "", "", "", "", kNoDialect, "", 0, FinePitchPads},
    {"grid_pitch_tracks", "", "", "", "", "", kNoDialect, "", 0, GridPitchTracks},
};

std::string Corpus(const char* relative) { return *relative ? CorpusPath(relative) : std::string(); }

// For each net of `copper`, the group of nets its copper joins when every
// shape grows by `clearance`: nets of one group lie closer than twice the
// clearance somewhere.
std::vector<int> CrowdedGroups(const COracleCopper& copper, double clearance)
{
    CBoardModel grown;
    for (const COracleShape& s : copper.Shapes()) {
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
    const COracleCopper wide(grown, {}, COracleOptions{copper.Pixel()});
    std::vector<int> group(std::size_t(copper.NetCount()) + 1, 0);
    for (int n = 1; n <= copper.NetCount(); ++n)
        group[std::size_t(n)] = wide.NetAt(copper.Net(n).at.x, copper.Net(n).at.y);
    return group;
}

// The joins of nets of different crowded groups (`group` from
// CrowdedGroups); `crowdedPairs` gets the number of pairs of nets of one
// group.
std::size_t RoomyJoins(const std::vector<int>& group, const CIsolationReport& isolation,
                       std::size_t& crowdedPairs)
{
    std::map<int, std::size_t> groupSize;
    for (std::size_t n = 1; n < group.size(); ++n)
        ++groupSize[group[n]];
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
    if (job.generate) {
        g_ComponentGerberFile = TestDir() + "/" + job.name + ".gbr";
        std::ofstream(g_ComponentGerberFile) << job.generate(doc.m_ToolWidth1, doc.m_ToolWidth2);
    }
    g_SolderGerberFile = Corpus(job.solder);
    g_ComponentApertureFile = Corpus(job.componentApertures);
    g_DrillFile = Corpus(job.drill);
    g_RouteFile = Corpus(job.route);
    ASSERT_TRUE(doc.LoadWorkOrder()) << job.name << " did not load";
}

// The oracle's pixel: a quarter mil, or on a board so large that eleven
// layers a side would take minutes at that, half a mil (still half the mil
// the isolation rule leaves beyond the tool, and the clearance is measured
// on the exact shapes).
constexpr double kFinePixel = 0.25;
constexpr double kCoarsePixel = 0.5;
constexpr double kFineRasterPixels = 2.0e8;

double SidePixel()
{
    const double area = double(g_BoardMaxX - g_BoardMinX) * double(g_BoardMaxY - g_BoardMinY);
    return area / (kFinePixel * kFinePixel) > kFineRasterPixels ? kCoarsePixel : kFinePixel;
}

// One layer's verdict, a row of the table printed at the end.
struct CLayerVerdict {
    std::string engine, board, side, layer;
    double tool = 0.0;
    double tolerance = 0.0;    // the largest the layer's pieces are allowed
    bool judgedIsolation = false;
    int nets = 0;
    std::size_t crowdedPairs = 0;
    std::size_t roomyJoins = 0;
    double deepestCut = 0.0;   // of the tool's edge into copper, mil (0: none)
    std::size_t offending = 0; // segments cutting deeper than allowed
};

// The copper of one side, drawn once for all the layers of both engines,
// and its crowded groups per clearance.
struct CSideCopper {
    std::shared_ptr<const COracleCopper> copper;
    std::map<double, std::vector<int>> crowded;

    const std::vector<int>& Crowded(double clearance)
    {
        auto it = crowded.find(clearance);
        if (it == crowded.end())
            it = crowded.emplace(clearance, CrowdedGroups(*copper, clearance)).first;
        return it->second;
    }
};

class IsolationCorpus : public testing::TestWithParam<int> {
protected:
    // Each test starts with its job loaded through File/New.
    void SetUp() override
    {
        if (!job.generate && CorpusPath("boards").empty())
            GTEST_SKIP() << "no corpus";
        doc = std::make_unique<CVelmDoc>();
        LoadJob(*doc, job);
    }

    const CorpusJob& job = kJobs[GetParam()];
    std::unique_ptr<CVelmDoc> doc;
    CSideCopper sides[2];

    static void TearDownTestSuite()
    {
        if (Table().empty())
            return;
        std::printf("\n== every layer of both engines, judged by the oracle ==\n"
                    "%-7s %-19s %-9s %-6s %7s %6s %5s %8s %7s %8s %6s\n",
                    "engine", "board", "side", "layer", "tool", "allow", "nets", "crowded", "joined", "deepest",
                    "offend");
        for (const CLayerVerdict& v : Table()) {
            char joined[16] = "-", crowded[16] = "-";
            if (v.judgedIsolation) {
                std::snprintf(joined, sizeof joined, "%zu", v.roomyJoins);
                std::snprintf(crowded, sizeof crowded, "%zu", v.crowdedPairs);
            }
            std::printf("%-7s %-19s %-9s %-6s %7.3f %6.2f %5d %8s %7s %8.3f %6zu\n", v.engine.c_str(),
                        v.board.c_str(), v.side.c_str(), v.layer.c_str(), v.tool, v.tolerance, v.nets, crowded,
                        joined, v.deepestCut, v.offending);
        }
    }

    static std::vector<CLayerVerdict>& Table()
    {
        static std::vector<CLayerVerdict> table;
        return table;
    }

    CSideCopper& Side(int side)
    {
        CSideCopper& s = sides[side];
        if (!s.copper)
            s.copper = std::make_shared<COracleCopper>(*doc, std::vector<const CPathRecord*>{},
                                                       COracleOptions{SidePixel()});
        return s;
    }

    // One layer of the working side: swept by its own tool, its centre line
    // keeps the tool's radius from the copper, less what the piece it
    // belongs to may stray (toleranceOf); an isolation layer made at
    // `offset` joins no two nets whose copper lies the tool's width (or the
    // offset, when wider) and a mil apart.
    void Judge(const char* engine, int side, const CPathRecord& layer, double offset,
               const std::function<double(const CPathSegment&)>& toleranceOf, double allowed);
};

void IsolationCorpus::Judge(const char* engine, int side, const CPathRecord& layer, double offset,
                            const std::function<double(const CPathSegment&)>& toleranceOf, double allowed)
{
    const char* sideName = side == 0 ? "component" : "solder";
    SCOPED_TRACE(std::string(engine) + " " + sideName + " " + layer.name);
    CSideCopper& copper = Side(side);
    ASSERT_EQ(copper.copper->Error(), "");
    const CIsolationOracle oracle(copper.copper, layer);
    const double radius = oracle.ToolRadius();
    const CClearanceReport clearance = CheckClearance(oracle, radius, toleranceOf);

    CLayerVerdict v{engine, job.name, sideName, layer.name, double(layer.size), allowed};
    v.nets = oracle.NetCount();
    v.deepestCut = std::max(0.0, radius - clearance.nearest);
    v.offending = clearance.violations.size();
    EXPECT_TRUE(clearance.Passed()) << DescribeClearance(oracle, clearance);
    CIsolationReport isolation;
    if (layer.kind == 0) {
        v.judgedIsolation = true;
        isolation = CheckIsolation(oracle);
        const double reach = std::max(2 * radius, offset) + kRoomBeyondTool;
        v.roomyJoins = RoomyJoins(copper.Crowded(reach / 2.0), isolation, v.crowdedPairs);
        EXPECT_EQ(v.roomyJoins, 0u) << DescribeIsolation(oracle, isolation, 20);
    }
    if (const char* dir = std::getenv("ORDUNE_ORACLE_IMAGE_DIR"))
        WriteOracleImage(oracle, std::string(dir) + "/" + job.name + "-" + engine + "-" + sideName + "-" +
                                     layer.name + "-" + std::to_string(Table().size()) + ".ppm",
                         &clearance, layer.kind == 0 ? &isolation : nullptr);
    Table().push_back(v);
}

// A segment by its two ends, whichever way it runs.
using SegmentKey = std::array<float, 4>;
SegmentKey KeyOf(double x1, double y1, double x2, double y2)
{
    SegmentKey a{float(x1), float(y1), float(x2), float(y2)}, b{a[2], a[3], a[0], a[1]};
    return std::min(a, b);
}

// The segments the exact groups' pieces become in the first pass's layer.
std::set<SegmentKey> ExactSegments(const CVelmDoc& doc)
{
    std::set<SegmentKey> keys;
    COwnedList<CGridPathSegment> segments;
    for (const auto& g : doc.m_IsoGroups)
        if (g->GroupNo != 0)
            for (const CIsoElement* p : g->Pieces)
                AppendPieceSegment(*p, CPieceCut::PassLayer, segments);
    for (const auto& s : segments)
        keys.insert(KeyOf(s->x1, s->y1, s->x2, s->y2));
    return keys;
}

// The board's sides, component first, as the job has them.
std::vector<int> SidesOf()
{
    std::vector<int> out;
    if (g_HasComponentSide)
        out.push_back(0);
    if (g_HasSolderSide)
        out.push_back(1);
    return out;
}

// Where each clearing tool clears and how far apart it takes its rows, as
// the operator's settings give them.
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

// The scan-line engine's whole path calculation, then the offset engine's
// passes on each side, every layer judged. The clearing strokes of the
// scan-line engine also stay inside their tool's region, and its rows lie
// the tool's spacing apart: a row is taken once the last one lies a spacing
// behind, counted from where the tool looked, on whole mils, so less a mil
// and a pitch.
TEST_P(IsolationCorpus, EveryLayerOfBothEnginesKeepsOffTheCopperAndPartsTheNets)
{
    const std::vector<int> boardSides = SidesOf();
    ASSERT_FALSE(boardSides.empty());

    // The path calculation runs the finest tool at a 2 mil pitch.
    doc->m_T1Step = 2;
    ASSERT_EQ(doc->CalculatePathLayers(CVelmDoc::CPathLayerChoice{}), 1);
    const double t1 = doc->m_ToolWidth1, t2 = doc->m_ToolWidth2, t3 = doc->m_ToolWidth3;
    const double overlap = doc->m_ClearOverlap;
    const ClearingTool tools[] = {
        {"T1MIL", t2, t1 / 2.0, doc->m_T1Step},
        {"T2MIL", t2, t2 * (1.0 - overlap), int(t2 / 1.6)},
        {"T3MIL", t3 / 1.5, t3 * (1.0 - overlap), int(t3 / 4.0)},
    };
    for (int side : boardSides) {
        side == 0 ? doc->OnComponentSide() : doc->OnSolderSide();
        for (const char* name : {"T1ISO", "T2ISO"}) {
            const CPathRecord* layer = doc->FindPathLayerOnSide(name, side);
            ASSERT_NE(layer, nullptr) << name;
            EXPECT_FALSE(layer->items.empty()) << name;
            const bool first = name[1] == '1';
            const int pitch = first ? doc->m_T1Step : kTool2Pitch;
            const double offset = first ? t1 : t2 + kTool2Extra;
            const double tolerance = pitch / 2.0 + kChordSlack;
            Judge("scan", side, *layer, offset, [&](const CPathSegment&) { return tolerance; }, tolerance);
        }
        for (const ClearingTool& tool : tools) {
            const CPathRecord* layer = doc->FindPathLayerOnSide(tool.layer, side);
            if (!layer)
                continue;
            Judge("scan", side, *layer, 0.0, [](const CPathSegment&) { return kClearingTolerance; },
                  kClearingTolerance);
            const CClearingReport placed =
                CheckClearingStrokes(*layer, ClearingRegionOf(tool.inset), tool.spacing, 1.0 + tool.pitch);
            EXPECT_TRUE(placed.Passed()) << tool.layer << "\n" << DescribeClearing(*layer, placed);
        }
    }

    // The offset engine, each pass on its own layer. The exact pieces of the
    // first pass are told from the grid's by their groups, which carry the
    // number of their copper's group (the grid's carry none).
    const CIsoPassTable table = BuildPassTable(doc->IsoToolSettings());
    for (int side : boardSides) {
        side == 0 ? doc->OnComponentSide() : doc->OnSolderSide();
        doc->ClearToolPaths();
        doc->m_KeepDuplicates = 1;
        const std::size_t before = doc->m_PathLayerList.size();
        ASSERT_EQ(doc->GenerateIsolationPaths(0), 1);
        ASSERT_EQ(doc->m_PathLayerList.size(), before + 6);
        const std::set<SegmentKey> exact = ExactSegments(*doc);
        for (std::size_t pass = 0; pass < 6; ++pass) {
            const CPathRecord& layer = *doc->m_PathLayerList[before + pass];
            const double grid = std::min(int(table.distance[pass] / 2.0f), kGridPitchLimit) / 2.0 + kChordSlack;
            Judge("offset", side, layer, table.distance[pass],
                  [&](const CPathSegment& s) {
                      return pass == 0 && exact.count(KeyOf(s.x1, s.y1, s.x2, s.y2)) ? kExactSlack : grid;
                  },
                  grid);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Boards, IsolationCorpus, testing::Range(0, int(std::size(kJobs))),
                         [](const testing::TestParamInfo<int>& info) { return kJobs[info.param].name; });

}  // namespace
