// The isolation of tools 1 and 2 on a corpus side and on n x n tilings of it
// (Arg n: 1, 2 and 4, that is 1, 4 and 16 times the copper), so the growth
// with the board shows. The dense case is a 94 x 76 mm side of 35,000
// tracks and 64,000 pads. Run one case per process for its peak memory:
//   ordune_bench --benchmark_filter='Isolation.*Dense/4'
#include "bench_boards.h"
#include "document/velm_doc.h"
#include "records/board_extent.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

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
