// Full redraws of the board view into its backing image, each drawn two
// ways in the same run: "runs", the surface's own way of drawing batches,
// and "shape_by_shape", the reference that paints every shape alone with its
// own painter set-up (the picture and the cost the runs are compared with).
// The runs rows also count the pixels in which their picture differs from
// the reference's (diff_fraction).
//
// Boards: a dense synthetic board (each of its two sides 40,000 tracks and
// 70,000 flashes on 94 x 76 mm, made like the reader's output) at zoom to
// fit, four times closer and 8 pixels per mil on copper; a lighter synthetic
// board (tracks, pads, holes, isolation paths, clearing strokes) alone and
// tiled 4 x 4, at fit and at a close zoom, in the edit and the path stage;
// and the largest board of the shared corpus loaded through File/New (its
// drill file read as metric), at fit, four times closer and 8 pixels per mil
// on copper.
// Run: build/bin/ordune_view_bench
#include "records/board_extent.h"
#include "platform/program_objects.h"
#include "platform/program_state.h"
#include "settings/drill_format_dlg.h"
#include "settings/work_order_dlg.h"
#include "platform/paths.h"
#include "settings/default_files.h"
#include "settings/system_settings_dlg.h"
#include "view/qt/image_surface.h"
#include "view/velm_view.h"
#include "view/view_window.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <memory>
#include <random>
#include <string>

namespace {

using Drawing = CQtImageSurface::BatchDrawing;

constexpr int kWidth = 1600, kHeight = 1000;

class CBenchWindow : public CViewWindow {
public:
    explicit CBenchWindow(Drawing drawing) : surface(QSize(kWidth, kHeight), drawing) {}
    CDrawSurface& Surface() override { return surface; }
    RECT ClientRect() const override { return RECT{0, 0, kWidth, kHeight}; }
    void RequestRedraw() override {}
    void SurfaceChanged() override {}
    CQtImageSurface surface;
};

QGuiApplication& App()
{
    static int argc = 1;
    static char name[] = "view-bench";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(argc, argv);
    return app;
}

enum class Zoom { Fit, FourTimes, Close };

const char* ZoomName(Zoom zoom)
{
    switch (zoom) {
    case Zoom::Fit: return "fit";
    case Zoom::FourTimes: return "4x";
    case Zoom::Close: return "close";
    }
    return "";
}

const char* DrawingName(Drawing drawing)
{
    return drawing == Drawing::InRuns ? "runs" : "shape_by_shape";
}

// Zooms to fit, then to four times that around the board's middle, or to 8
// pixels per mil around `copper`.
void SetZoom(CVelmView& view, Zoom zoom, CDPoint copper)
{
    view.OnWindowAll();
    if (zoom == Zoom::Fit)
        return;
    CDPoint centre((g_BoardMinX + g_BoardMaxX) / 2.0, (g_BoardMinY + g_BoardMaxY) / 2.0);
    if (zoom == Zoom::FourTimes) {
        view.m_Scale /= 4.0f;
    } else {
        view.m_Scale = 1.0f / 8.0f;
        centre = copper;
    }
    view.m_Origin = CDPoint(kWidth / 2.0 - centre.x / view.m_Scale, kHeight / 2.0 - centre.y / view.m_Scale);
}

// Redraws the view in the benchmark's loop; on the runs rows, also counts
// the pixels that differ from the reference picture of the same view.
void TimeRedraws(benchmark::State& state, CVelmDoc& doc, Drawing drawing, Zoom zoom, CDPoint copper)
{
    CBenchWindow window(drawing);
    CVelmView view(doc);
    view.SetWindow(&window);
    SetZoom(view, zoom, copper);
    for (auto _ : state)
        view.Redraw();
    state.counters["tracks"] = double(doc.m_TrackList.size());
    state.counters["flashes"] = double(doc.m_FlashList.size());
    state.counters["mil_per_px"] = view.m_Scale;
    if (drawing == Drawing::InRuns) {
        CBenchWindow reference(Drawing::ShapeByShape);
        view.SetWindow(&reference);
        SetZoom(view, zoom, copper);
        view.Redraw();
        const QImage& a = window.surface.Image();
        const QImage& b = reference.surface.Image();
        long differing = 0;
        for (int y = 0; y < a.height(); ++y) {
            const QRgb* p = reinterpret_cast<const QRgb*>(a.constScanLine(y));
            const QRgb* q = reinterpret_cast<const QRgb*>(b.constScanLine(y));
            for (int x = 0; x < a.width(); ++x)
                differing += p[x] != q[x];
        }
        state.counters["diff_fraction"] = double(differing) / double(a.width() * a.height());
        view.SetWindow(&window);
    }
}

// One side of a dense board, 3700 x 3000 mil, made like the sides the
// Gerber reader gives: 16,000 strokes of copper pours (1 to 3 mil wide, in
// stacks that fill their areas), 20,000 round-ended traces of 6 to 25 mil
// in short 0/45/90-degree runs, 3,600 flat-ended tracks (most of them
// axis-parallel) and 400 arcs; an end pad at both ends of every pour stroke
// and at the start of every trace segment, 70,000 flashes in all with the
// component pads in rows; 3,000 holes and the board outline. Each side has a
// pattern of its own.
void FillDenseSide(CVelmDoc& doc, int side)
{
    std::mt19937 rng(101 + side);
    auto uniform = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
    auto pick = [&](std::initializer_list<float> values) {
        return *(values.begin() + std::uniform_int_distribution<int>(0, int(values.size()) - 1)(rng));
    };
    constexpr double kW = 3700, kH = 3000;
    constexpr std::size_t kFlashes = 70000;
    auto aperture = std::make_unique<CApertureRecord>();
    aperture->width = 8;
    doc.m_ApertureList.push_back(std::move(aperture));
    auto track = [&](std::uint8_t type, double x1, double y1, double x2, double y2, float width) {
        auto t = std::make_unique<CTrackRecord>();
        t->x1 = float(x1);
        t->y1 = float(y1);
        t->x2 = float(x2);
        t->y2 = float(y2);
        t->width = width;
        t->type = type;
        doc.m_TrackList.push_back(std::move(t));
    };
    auto flash = [&](double x, double y, float radius, std::uint8_t type) {
        if (doc.m_FlashList.size() >= kFlashes)
            return;
        auto f = std::make_unique<CFlashRecord>();
        f->x = float(x);
        f->y = float(y);
        f->radius = radius;
        f->type = type;
        doc.m_FlashList.push_back(std::move(f));
    };
    // Pours: areas filled by level strokes one stroke width apart.
    for (int strokes = 0; strokes < 16000;) {
        float width = pick({1, 2, 2, 3});
        double x = uniform(50, kW - 450), y = uniform(50, kH - 350);
        double w = uniform(60, 400);
        int count = std::uniform_int_distribution<int>(10, 120)(rng);
        for (int i = 0; i < count && strokes < 16000; ++i, ++strokes) {
            double sy = y + i * width, sx = x + uniform(0, 20), ex = x + w - uniform(0, 20);
            track(0, sx, sy, ex, sy, width);
            flash(sx, sy, width / 2, 3);
            flash(ex, sy, width / 2, 3);
        }
    }
    // Traces: runs of 1 to 6 segments turning by multiples of 45 degrees.
    for (int traces = 0; traces < 20000;) {
        float width = pick({6, 6, 8, 8, 10, 10, 12, 16, 25});
        double x = uniform(100, kW - 100), y = uniform(100, kH - 100);
        int direction = std::uniform_int_distribution<int>(0, 7)(rng);
        int segments = std::uniform_int_distribution<int>(1, 6)(rng);
        for (int s = 0; s < segments && traces < 20000; ++s, ++traces) {
            double length = uniform(15, 200);
            double a = direction * M_PI / 4;
            double nx = std::clamp(x + length * std::cos(a), 20.0, kW - 20);
            double ny = std::clamp(y + length * std::sin(a), 20.0, kH - 20);
            track(0, x, y, nx, ny, width);
            flash(x, y, width / 2, 3);
            x = nx;
            y = ny;
            direction = (direction + std::uniform_int_distribution<int>(-1, 1)(rng) + 8) % 8;
        }
    }
    for (int i = 0; i < 3600; ++i) {
        double x = uniform(50, kW - 150), y = uniform(50, kH - 150), l = uniform(20, 120);
        float width = pick({12, 20, 40, 60});
        if (i % 9 == 0)
            track(1, x, y, x + l, y + l * 0.5, width);
        else if (i % 2 == 0)
            track(1, x, y, x + l, y, width);
        else
            track(1, x, y, x, y + l, width);
    }
    for (int i = 0; i < 400; ++i) {
        double start = uniform(0, 2 * M_PI);
        track(3, uniform(150, kW - 150), uniform(150, kH - 150), start, start + uniform(0.5, 3),
              float(uniform(20, 100)));
    }
    // Component pads: rows of 4 to 40 at a 50 or 100 mil pitch.
    while (doc.m_FlashList.size() < kFlashes) {
        double x = uniform(100, kW - 2100), y = uniform(100, kH - 100);
        double pitch = pick({50, 100});
        float radius = pick({8, 10, 12, 15, 20, 30});
        std::uint8_t type = std::uint8_t(std::uniform_int_distribution<int>(0, 2)(rng));
        int count = std::uniform_int_distribution<int>(4, 40)(rng);
        for (int i = 0; i < count; ++i)
            flash(x + i * pitch, y, radius, type);
    }
    g_HoleList.clear();
    for (int t = 0; t < 3; ++t) {
        auto tool = std::make_unique<CDrillTool>();
        tool->toolNumber = t + 1;
        tool->diameter = float(24 + 8 * t);
        tool->mode = 1;
        for (int i = 0; i < 1000; ++i)
            tool->holes.push_back(std::make_unique<CDPoint>(uniform(50, kW - 50), uniform(50, kH - 50)));
        g_HoleList.push_back(std::move(tool));
    }
    auto route = std::make_unique<CNamedLayer>();
    route->name = "route";
    const double corners[5][2] = {{0, 0}, {kW, 0}, {kW, kH}, {0, kH}, {0, 0}};
    for (int i = 0; i < 4; ++i) {
        auto t = std::make_unique<CTrackRecord>();
        t->x1 = float(corners[i][0]);
        t->y1 = float(corners[i][1]);
        t->x2 = float(corners[i + 1][0]);
        t->y2 = float(corners[i + 1][1]);
        t->width = 4;
        route->tracks.push_back(std::move(t));
    }
    doc.m_NamedLayerList.push_back(std::move(route));
    g_BoardMinX = -100;
    g_BoardMinY = -100;
    g_BoardMaxX = int(kW) + 100;
    g_BoardMaxY = int(kH) + 100;
}

void RedrawDense(benchmark::State& state, int side, Zoom zoom, Drawing drawing)
{
    App();
    ResetProgramObjects();
    auto doc = std::make_unique<CVelmDoc>();
    FillDenseSide(*doc, side);
    TimeRedraws(state, *doc, drawing, zoom, CDPoint(1850, 1500));
}

// One board of 4000 x 3000 mil: 2400 tracks, 1600 pads, 400 holes, 3000
// isolation segments and 2000 clearing strokes; `tiles` copies of it side
// by side in each direction.
void FillBoard(CVelmDoc& doc, int tiles)
{
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> ux(0, 4000), uy(0, 3000), step(-300, 300);
    g_HoleList.clear();
    auto tool = std::make_unique<CDrillTool>();
    tool->diameter = 32;
    tool->mode = 1;
    auto region = std::make_unique<CClearRegion>();
    for (int ty = 0; ty < tiles; ++ty)
        for (int tx = 0; tx < tiles; ++tx) {
            float ox = 4000.0f * tx, oy = 3000.0f * ty;
            for (int i = 0; i < 2400; ++i) {
                auto t = std::make_unique<CTrackRecord>();
                t->x1 = ox + ux(rng);
                t->y1 = oy + uy(rng);
                bool straight = i % 3 != 0;
                t->x2 = t->x1 + (straight && i % 2 ? 0 : step(rng));
                t->y2 = t->y1 + (straight && i % 2 == 0 ? 0 : step(rng));
                t->width = 12;
                t->type = 1;
                doc.m_TrackList.push_back(std::move(t));
            }
            for (int i = 0; i < 1600; ++i) {
                auto f = std::make_unique<CFlashRecord>();
                f->x = ox + ux(rng);
                f->y = oy + uy(rng);
                f->radius = 30;
                doc.m_FlashList.push_back(std::move(f));
            }
            for (int i = 0; i < 400; ++i)
                tool->holes.push_back(std::make_unique<CDPoint>(ox + ux(rng), oy + uy(rng)));
            for (int i = 0; i < 3000; ++i) {
                auto s = std::make_unique<CGridPathSegment>();
                s->x1 = ox + ux(rng);
                s->y1 = oy + uy(rng);
                s->x2 = s->x1 + step(rng) / 10;
                s->y2 = s->y1 + step(rng) / 10;
                doc.m_GridPathList.push_back(std::move(s));
            }
            for (int i = 0; i < 2000; ++i) {
                auto s = std::make_unique<CClearStroke>();
                s->x1 = ox + ux(rng);
                s->y1 = oy + uy(rng);
                s->x2 = s->x1 + 200;
                s->y2 = s->y1;
                region->strokes.push_back(std::move(s));
            }
        }
    g_HoleList.push_back(std::move(tool));
    doc.m_ClearRegionList.push_back(std::move(region));
    g_BoardMinX = 0;
    g_BoardMinY = 0;
    g_BoardMaxX = 4000 * tiles;
    g_BoardMaxY = 3000 * tiles;
}

// Fit, or about a sixteenth of one tile in view, in its middle.
void RedrawTiles(benchmark::State& state, int tiles, bool close, int stage, Drawing drawing)
{
    App();
    ResetProgramObjects();
    auto doc = std::make_unique<CVelmDoc>();
    FillBoard(*doc, tiles);
    doc->m_WorkStage = std::uint8_t(stage);
    CBenchWindow window(drawing);
    CVelmView view(*doc);
    view.SetWindow(&window);
    view.OnWindowAll();
    if (close) {
        view.m_Scale = 1000.0f / 1600.0f;
        view.m_Origin = CDPoint(-1500 / view.m_Scale, -1100 / view.m_Scale);
    }
    for (auto _ : state)
        view.Redraw();
    state.counters["tracks"] = double(doc->m_TrackList.size());
    state.counters["mil_per_px"] = view.m_Scale;
}

// The largest corpus board (one copper side, its metric drill file and
// outline) through the job loader.
void RedrawCorpusBoard(benchmark::State& state, Zoom zoom, Drawing drawing)
{
    App();
    const std::string dir = std::string(ORDUNE_CORPUS_DIR) + "/boards/project-controller/";
    if (!std::filesystem::exists(dir)) {
        state.SkipWithError("the corpus is absent");
        return;
    }
    ResetProgramObjects();
    const std::string system =
        (std::filesystem::temp_directory_path() / "ordune_view_bench_system").string();
    MakeDirectories(system);
    SeedSystemDir(system);
    // After the document, whose making reads the stored options.
    auto doc = std::make_unique<CVelmDoc>();
    g_SystemDir = system;
    g_SolderGerberFile = dir + "project-controller-B_Cu.gbr";
    g_DrillFile = dir + "project-controller.drl";
    g_RouteFile = dir + "project-controller-Edge_Cuts.gbr";
    g_DrillFormatDlg.dInchMM = g_DrillFormatDlg.dInchMMSize = 1;
    doc->LoadWorkOrder();
    // The close zoom looks at the middle of the track nearest the middle of
    // the copper.
    const CExtent& e = doc->m_DataExtent;
    CDPoint middle((e.minX + e.maxX) / 2.0, (e.minY + e.maxY) / 2.0), copper = middle;
    double best = 1e300;
    for (const auto& t : doc->m_TrackList) {
        if (t->type > 2)
            continue;
        CDPoint m((t->x1 + t->x2) / 2.0, (t->y1 + t->y2) / 2.0);
        double d = std::hypot(m.x - middle.x, m.y - middle.y);
        if (d < best) {
            best = d;
            copper = m;
        }
    }
    TimeRedraws(state, *doc, drawing, zoom, copper);
}

// Every benchmark twice, the reference first, so each pair stands together.
bool Register()
{
    const Drawing drawings[] = {Drawing::ShapeByShape, Drawing::InRuns};
    auto add = [](const std::string& name, std::function<void(benchmark::State&)> run) {
        benchmark::RegisterBenchmark(name.c_str(), run)->Unit(benchmark::kMillisecond);
    };
    for (int side = 0; side < 2; ++side)
        for (Zoom zoom : {Zoom::Fit, Zoom::FourTimes, Zoom::Close})
            for (Drawing drawing : drawings)
                add(std::string("RedrawDense/side") + std::to_string(side) + "/" + ZoomName(zoom) +
                        "/" + DrawingName(drawing),
                    [=](benchmark::State& s) { RedrawDense(s, side, zoom, drawing); });
    for (Zoom zoom : {Zoom::Fit, Zoom::FourTimes, Zoom::Close})
        for (Drawing drawing : drawings)
            add(std::string("RedrawCorpusBoard/") + ZoomName(zoom) + "/" + DrawingName(drawing),
                [=](benchmark::State& s) { RedrawCorpusBoard(s, zoom, drawing); });
    for (int stage : {1, 2})
        for (int tiles : {1, 4})
            for (bool close : {false, true})
                for (Drawing drawing : drawings)
                    add(std::string("RedrawTiles/") + (stage == 1 ? "edit/" : "paths/") +
                            std::to_string(tiles) + "x" + std::to_string(tiles) + "/" +
                            (close ? "close/" : "fit/") + DrawingName(drawing),
                        [=](benchmark::State& s) { RedrawTiles(s, tiles, close, stage, drawing); });
    return true;
}

const bool registered = Register();

}  // namespace
