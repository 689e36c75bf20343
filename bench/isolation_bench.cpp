// The isolation of tools 1 and 2 on a corpus side and on n x n tilings of it
// (Arg n: 1, 2 and 4, that is 1, 4 and 16 times the copper), so the growth
// with the board shows. The dense case is a 94 x 76 mm side of 35,000
// tracks and 64,000 pads. Run one case per process for its peak memory:
//   ordune_bench --benchmark_filter='Isolation.*Dense/4'
#include "document/velm_doc.h"
#include "records/board_extent.h"
#include "settings/work_order_dlg.h"
#include "ui/edit_wnd.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <algorithm>
#include <memory>
#include <string>

namespace {

const char* const kBoard = ORDUNE_CORPUS_DIR "/boards/project-controller/project-controller-B_Cu.gbr";
const char* const kDense = ORDUNE_CORPUS_DIR "/gerbv-examples/hellboard/hellboard.front.gbr";

// Room between two copies of the board (mil).
constexpr float kTileGap = 100.0f;

long PeakKilobytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// The side read with the area-fill reader, then copied n x n times, with
// the board extent set round it as the job loader sets it.
bool LoadTiled(CVelmDoc& doc, const char* path, int n)
{
    g_SettingsTextWnd.Edit().ClearAll();
    for (const char* line : {"FILETYPE $X", "MIL", "ROUND", "RECT", "OVAL", "$", "$", "$0", "$0",
                             "$1", "$2", "$3"})
        g_SettingsTextWnd.Edit().WriteLine(line);
    g_CurrentApertureFile.clear();
    g_DataOriginX = g_DataOriginY = 0;
    if (!doc.ReadGerberLayerFill(path) || doc.m_TrackList.empty())
        return false;
    float minX = 1e9f, minY = 1e9f, maxX = -1e9f, maxY = -1e9f;
    for (const auto& t : doc.m_TrackList)
        if (t->type < 3) {
            minX = std::min({minX, t->x1, t->x2});
            minY = std::min({minY, t->y1, t->y2});
            maxX = std::max({maxX, t->x1, t->x2});
            maxY = std::max({maxY, t->y1, t->y2});
        }
    for (const auto& f : doc.m_FlashList) {
        minX = std::min(minX, f->x - f->radius);
        minY = std::min(minY, f->y - f->radius);
        maxX = std::max(maxX, f->x + f->radius);
        maxY = std::max(maxY, f->y + f->radius);
    }
    const float stepX = maxX - minX + kTileGap, stepY = maxY - minY + kTileGap;
    const std::size_t tracks = doc.m_TrackList.size(), flashes = doc.m_FlashList.size();
    for (int a = 0; a < n; ++a)
        for (int b = 0; b < n; ++b) {
            if (a == 0 && b == 0)
                continue;
            const float dx = float(a) * stepX, dy = float(b) * stepY;
            for (std::size_t i = 0; i < tracks; ++i) {
                auto t = std::make_unique<CTrackRecord>(*doc.m_TrackList[i]);
                t->x1 += dx;
                t->y1 += dy;
                if (t->type < 3) {
                    t->x2 += dx;
                    t->y2 += dy;
                }
                doc.m_TrackList.push_back(std::move(t));
            }
            for (std::size_t i = 0; i < flashes; ++i) {
                auto f = std::make_unique<CFlashRecord>(*doc.m_FlashList[i]);
                f->x += dx;
                f->y += dy;
                doc.m_FlashList.push_back(std::move(f));
            }
        }
    g_BoardMinX = int(minX) - 50;
    g_BoardMinY = int(minY) - 50;
    g_BoardMaxX = int(minX + float(n) * stepX) + 50;
    g_BoardMaxY = int(minY + float(n) * stepY) + 50;
    return true;
}

void Isolation(benchmark::State& state, const char* path, int tool)
{
    const int n = int(state.range(0));
    std::size_t segments = 0, records = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto doc = std::make_unique<CVelmDoc>();
        const bool loaded = LoadTiled(*doc, path, n);
        doc->m_T1Step = 2;
        state.ResumeTiming();
        if (!loaded) {
            state.SkipWithError("the corpus is absent");
            return;
        }
        if (!(tool == 1 ? doc->CalcIsolationT1(0) : doc->CalcIsolationT2(5)))
            state.SkipWithError("the run did not finish");
        state.PauseTiming();
        records = doc->m_TrackList.size() + doc->m_FlashList.size();
        segments = 0;
        for (const auto& layer : doc->m_PathLayerList)
            if (layer->name == (tool == 1 ? "T1ISO" : "T2ISO"))
                segments = layer->items.size();
        doc.reset();
        state.ResumeTiming();
    }
    state.counters["records"] = double(records);
    state.counters["segments"] = double(segments);
    state.counters["mm2"] = double(g_BoardMaxX - g_BoardMinX) * (g_BoardMaxY - g_BoardMinY) *
                            0.0254 * 0.0254;
    state.counters["peak_rss_kB"] = double(PeakKilobytes());
}

void BM_IsolationT1(benchmark::State& state) { Isolation(state, kBoard, 1); }
void BM_IsolationT2(benchmark::State& state) { Isolation(state, kBoard, 2); }
void BM_IsolationT1Dense(benchmark::State& state) { Isolation(state, kDense, 1); }
void BM_IsolationT2Dense(benchmark::State& state) { Isolation(state, kDense, 2); }

BENCHMARK(BM_IsolationT1)->Arg(1)->Arg(2)->Arg(4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IsolationT2)->Arg(1)->Arg(2)->Arg(4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IsolationT1Dense)->Arg(1)->Arg(2)->Arg(4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IsolationT2Dense)->Arg(1)->Arg(2)->Arg(4)->Unit(benchmark::kMillisecond);

}  // namespace
