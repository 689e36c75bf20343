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
#include "../bench_boards.h"
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
