// Full redraws of the board view into its backing image: a synthetic board
// (tracks, pads, holes, isolation paths, clearing strokes) and the same board
// tiled 4 x 4, each at zoom to fit and at a close zoom that shows about a
// sixteenth of the small board; and the largest board of the shared corpus
// loaded through File/New, at fit and close zoom.
// Run: build/bin/ordune_view_bench
#include "records/board_extent.h"
#include "platform/program_objects.h"
#include "platform/program_state.h"
#include "settings/work_order_dlg.h"
#include "platform/paths.h"
#include "settings/default_files.h"
#include "settings/system_settings_dlg.h"
#include "view/qt/image_surface.h"
#include "view/velm_view.h"
#include "view/view_window.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <random>

namespace {

class CBenchWindow : public CViewWindow {
public:
    CDrawSurface& Surface() override { return surface; }
    RECT ClientRect() const override { return RECT{0, 0, 1600, 1000}; }
    void RequestRedraw() override {}
    void SurfaceChanged() override {}
    CQtImageSurface surface{QSize(1600, 1000)};
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

void Redraw(benchmark::State& state)
{
    App();
    int tiles = int(state.range(0));
    bool close = state.range(1) != 0;
    int stage = int(state.range(2));
    ResetProgramObjects();
    auto doc = std::make_unique<CVelmDoc>();
    FillBoard(*doc, tiles);
    doc->m_WorkStage = std::uint8_t(stage);
    CBenchWindow window;
    CVelmView view(*doc);
    view.SetWindow(&window);
    view.OnWindowAll();
    if (close) {
        // About a sixteenth of one board tile in view, in its middle.
        view.m_Scale = 1000.0f / 1600.0f;
        view.m_Origin = CDPoint(-1500 / view.m_Scale, -1100 / view.m_Scale);
    }
    for (auto _ : state)
        view.Redraw();
    state.counters["tracks"] = double(doc->m_TrackList.size());
    state.counters["mil_per_px"] = view.m_Scale;
}

// The largest corpus board (one copper side, its drill file and outline)
// through the job loader, then redrawn at zoom to fit or at 8 px per mil.
void RedrawCorpusBoard(benchmark::State& state)
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
    doc->LoadWorkOrder();
    CBenchWindow window;
    CVelmView view(*doc);
    view.SetWindow(&window);
    view.OnWindowAll();
    if (state.range(0)) {
        view.m_Scale = 1.0f / 8.0f;
        view.m_Origin = CDPoint(g_BoardMinX + 200.0, g_BoardMinY + 200.0);
    }
    for (auto _ : state)
        view.Redraw();
    state.counters["tracks"] = double(doc->m_TrackList.size());
    state.counters["flashes"] = double(doc->m_FlashList.size());
    state.counters["mil_per_px"] = view.m_Scale;
}

}  // namespace

// Argument: close zoom.
BENCHMARK(RedrawCorpusBoard)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Arguments: tiles per side, close zoom, work stage (1 edit, 2 paths).
BENCHMARK(Redraw)
    ->Args({1, 0, 1})->Args({1, 1, 1})->Args({4, 0, 1})->Args({4, 1, 1})
    ->Args({1, 0, 2})->Args({1, 1, 2})->Args({4, 0, 2})->Args({4, 1, 2})
    ->Unit(benchmark::kMillisecond);
