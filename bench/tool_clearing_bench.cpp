// The clearing of tool 1 over the rows its isolation leaves, on the dense
// corpus side and on n x n tilings of it (Arg n: 1, 2), and the ordering of
// one board's clearing strokes by the grid of their ends against the plain
// scan of every stroke at every pick (the two give the same order), on
// 1, 4 and 16 copies of the smaller corpus board:
//   ordune_bench --benchmark_filter='Clear|OrderStrokes'
#include "bench_boards.h"
#include "planning/tool_clearing.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

std::unique_ptr<CVelmDoc> IsolatedBoard(const char* path, int n)
{
    auto doc = std::make_unique<CVelmDoc>();
    if (!LoadTiled(*doc, path, n))
        return nullptr;
    doc->m_T1Step = 2;
    if (!doc->CalcIsolationT1(0))
        return nullptr;
    doc->ClearGridPathSegments();
    return doc;
}

void BM_ClearT1Dense(benchmark::State& state)
{
    std::size_t items = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto doc = IsolatedBoard(kDense, int(state.range(0)));
        state.ResumeTiming();
        if (!doc) {
            state.SkipWithError("the corpus is absent");
            return;
        }
        doc->CalcClearT1();
        state.PauseTiming();
        items = doc->m_PathLayerList.front()->items.size();
        doc.reset();
        state.ResumeTiming();
    }
    state.counters["items"] = double(items);
    state.counters["peak_rss_kB"] = double(PeakKilobytes());
}

// The tool-1 strokes of the smaller corpus board (n x n copies) in the
// order they were collected (row by row), without the links.
std::vector<CClearStroke> BoardStrokes(int n)
{
    std::vector<CClearStroke> out;
    auto doc = IsolatedBoard(kBoard, n);
    if (!doc)
        return out;
    doc->CalcClearT1();
    for (const auto& s : doc->m_PathLayerList.front()->items)
        if (s->y1 == s->y2) {
            CClearStroke c;
            c.x1 = float(std::min(s->x1, s->x2));
            c.x2 = float(std::max(s->x1, s->x2));
            c.y1 = c.y2 = float(s->y1);
            out.push_back(c);
        }
    std::sort(out.begin(), out.end(), [](const CClearStroke& a, const CClearStroke& b) {
        return a.y1 != b.y1 ? a.y1 < b.y1 : a.x1 < b.x1;
    });
    return out;
}

void OrderStrokes(benchmark::State& state, bool plain)
{
    const std::vector<CClearStroke> strokes = BoardStrokes(int(state.range(0)));
    if (strokes.empty()) {
        state.SkipWithError("the corpus is absent");
        return;
    }
    CStrokeOrderRule rule;
    rule.firstRadius = rule.linkLimit = 7.874016 * 1.5;
    for (auto _ : state)
        benchmark::DoNotOptimize(plain ? OrderClearStrokesPlain(strokes, rule)
                                       : OrderClearStrokes(strokes, rule));
    state.counters["strokes"] = double(strokes.size());
}

void BM_OrderStrokesGrid(benchmark::State& state) { OrderStrokes(state, false); }
void BM_OrderStrokesPlain(benchmark::State& state) { OrderStrokes(state, true); }

BENCHMARK(BM_ClearT1Dense)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_OrderStrokesGrid)->Arg(1)->Arg(2)->Arg(4)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OrderStrokesPlain)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
