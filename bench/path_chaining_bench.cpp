// Chaining a path layer of N line segments (short polylines of eight unit
// strokes, cut apart, shuffled and some turned round, spread over a square
// as a drawing's strokes are): the indexed search the program uses beside
// the list search it replaced (support/list_search_chaining.h), which walks
// the whole list for every item.
#include "exchange/path_chaining.h"
#include "records/board_records.h"
#include "support/list_search_chaining.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <random>
#include <vector>

namespace {

CPathRecord Strokes(int n)
{
    std::mt19937 rng(5);
    auto below = [&rng](int k) { return int(rng() % unsigned(k)); };
    const int side = int(std::sqrt(double(n))) * 20;
    std::vector<std::array<double, 4>> pieces;
    while (int(pieces.size()) < n) {
        double x = below(side), y = below(side);
        for (int k = 0; k < 8 && int(pieces.size()) < n; ++k) {
            const int dir = below(4);
            const double nx = x + 10 * ((dir == 0) - (dir == 1));
            const double ny = y + 10 * ((dir == 2) - (dir == 3));
            pieces.push_back(below(2) ? std::array<double, 4>{x, y, nx, ny}
                                      : std::array<double, 4>{nx, ny, x, y});
            x = nx;
            y = ny;
        }
    }
    for (std::size_t i = pieces.size(); i > 1; --i)
        std::swap(pieces[i - 1], pieces[std::size_t(below(int(i)))]);
    CPathRecord layer;
    for (const auto& p : pieces) {
        auto s = std::make_unique<CPathSegment>();
        s->x1 = p[0];
        s->y1 = p[1];
        s->x2 = p[2];
        s->y2 = p[3];
        layer.items.push_back(std::move(s));
    }
    return layer;
}

template <void (*Chain)(CPathRecord&)>
void BM_Chain(benchmark::State& state)
{
    const CPathRecord source = Strokes(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        CPathRecord layer;
        for (const auto& s : source.items)
            layer.items.push_back(std::make_unique<CPathSegment>(*s));
        state.ResumeTiming();
        Chain(layer);
        benchmark::DoNotOptimize(layer.items.data());
    }
    state.counters["segments"] = double(source.items.size());
}

void ChainIndexed(CPathRecord& layer) { ChainPathLayer(layer); }

}  // namespace

BENCHMARK(BM_Chain<ChainIndexed>)
    ->Name("ChainPathLayer/indexed")
    ->Arg(4096)->Arg(16384)->Arg(65536)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Chain<ChainPathLayerByListSearch>)
    ->Name("ChainPathLayer/list_search_reference")
    ->Arg(4096)->Arg(16384)->Arg(65536)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
