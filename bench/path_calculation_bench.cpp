// The whole path calculation of a two-sided board, as the command runs it
// with every box ticked (tool-2 isolation, tool-3 PATH and clearing, tool-2
// PATH and clearing, tool-1 isolation and clearing), one side after the
// other; the time is that of both sides. Boards: the largest of the shared
// corpus (the hellboard's front and back) alone and as a 4 x 4 tiling (Arg
// n: 1, 2, 4, that is 1, 4 and 16 times the copper), and the dense
// synthetic board of the view benchmark, 99 x 81 mm with its margins.
// Peak memory is the process's: run one case per process.
//   ordune_bench --benchmark_filter='PathCalculation/Hellboard/4'
// OffsetPathCalculation runs the offset-path calculation (the context
// menu's new isolation paths: six passes, tool-3 PATH and clearing) on the
// same boards, against the scan-line engine above.
#include "bench_boards.h"
#include "document/velm_doc.h"
#include "settings/work_order_dlg.h"

#include <benchmark/benchmark.h>

#include <functional>
#include <memory>

namespace {

// One side's copper in a fresh document.
using SideLoader = std::function<bool(CVelmDoc&, int side)>;

// Which calculation a case runs.
enum class Engine { ScanLine, Offset };

// All three tools on one side's copper, taken as the only side of the job.
std::size_t CalculateSide(CVelmDoc& doc, Engine engine)
{
    g_CurrentSide = 0;
    g_HasComponentSide = 1;
    g_HasSolderSide = 0;
    doc.m_KeepDuplicates = 1;
    if (!(engine == Engine::Offset ? doc.CalculateOffsetPathLayers()
                                   : doc.CalculatePathLayers(CVelmDoc::CPathLayerChoice{})))
        return 0;
    std::size_t items = 0;
    for (const auto& layer : doc.m_PathLayerList)
        items += layer->items.size();
    return items;
}

void PathCalculation(benchmark::State& state, const SideLoader& load,
                     Engine engine = Engine::ScanLine)
{
    std::size_t items = 0, tracks = 0, flashes = 0;
    for (auto _ : state) {
        items = tracks = flashes = 0;
        for (int side : {0, 1}) {
            state.PauseTiming();
            auto doc = std::make_unique<CVelmDoc>();
            const bool loaded = load(*doc, side);
            tracks += doc->m_TrackList.size();
            flashes += doc->m_FlashList.size();
            state.ResumeTiming();
            if (!loaded) {
                state.SkipWithError("the corpus is absent");
                return;
            }
            const std::size_t made = CalculateSide(*doc, engine);
            if (made == 0) {
                state.SkipWithError("the calculation made no layer");
                return;
            }
            items += made;
            state.PauseTiming();
            doc.reset();
            state.ResumeTiming();
        }
    }
    state.counters["tracks"] = double(tracks);
    state.counters["flashes"] = double(flashes);
    state.counters["layer_items"] = double(items);
    state.counters["peak_rss_kB"] = double(PeakKilobytes());
}

void BM_PathCalculationHellboard(benchmark::State& state)
{
    const int n = int(state.range(0));
    PathCalculation(state, [n](CVelmDoc& doc, int side) {
        return LoadTiled(doc, side == 0 ? kDense : kDenseBack, n);
    });
}

void BM_PathCalculationDenseSynthetic(benchmark::State& state)
{
    PathCalculation(state, [](CVelmDoc& doc, int side) {
        FillDenseSide(doc, side);
        return true;
    });
}

void BM_OffsetPathCalculationHellboard(benchmark::State& state)
{
    const int n = int(state.range(0));
    PathCalculation(
        state,
        [n](CVelmDoc& doc, int side) { return LoadTiled(doc, side == 0 ? kDense : kDenseBack, n); },
        Engine::Offset);
}

BENCHMARK(BM_OffsetPathCalculationHellboard)
    ->Name("OffsetPathCalculation/Hellboard")
    ->Arg(1)
    ->Arg(4)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK(BM_PathCalculationHellboard)
    ->Name("PathCalculation/Hellboard")
    ->Arg(1)
    ->Arg(2)
    ->Arg(4)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK(BM_PathCalculationDenseSynthetic)
    ->Name("PathCalculation/DenseSynthetic")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace
