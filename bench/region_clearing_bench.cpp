// Region clearing on a dense synthetic raster: rows a pitch apart holding
// many short free intervals (Arg: rows), with thousands of isolation
// segments, cleared as one board-wide row region (the generator with its
// indexed chain), and the chain alone in its indexed and full-scan forms on
// the same candidates, so the gain of the index shows.
//   ordune_bench --benchmark_filter='RegionClearing'
#include "planning/region_clearing.h"
#include "planning/region_clearing_order.h"
#include "records/board_extent.h"
#include "records/board_model.h"
#include "records/copper_records.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <vector>

namespace {

constexpr int kPitch = 4;
constexpr int kIntervalsPerRow = 200;
constexpr float kRowLength = 8000.0f;   // mil

// `rows` rows of free intervals between pieces of copper, and a short
// isolation segment at each interval's ends on every fourth row.
void DenseRaster(CBoardModel& model, int rows)
{
    std::mt19937 rng(5);
    std::uniform_real_distribution<float> jitter(0.0f, 12.0f);
    g_BoardMinX = 0;
    g_BoardMinY = 0;
    g_BoardMaxX = int(kRowLength);
    g_BoardMaxY = rows * kPitch;
    model.m_GridStep = kPitch;
    model.m_RowList.clear();
    model.m_GridPathList.clear();
    const float cell = kRowLength / kIntervalsPerRow;
    for (int i = 0; i < rows; ++i) {
        auto line = std::make_unique<CSubList>();
        const float y = float(i * kPitch);
        for (int k = 0; k < kIntervalsPerRow; ++k) {
            auto iv = std::make_unique<CScanInterval>();
            iv->x1 = float(k) * cell + jitter(rng);
            iv->x2 = float(k + 1) * cell - jitter(rng);
            iv->y1 = iv->y2 = y;
            if (i % 4 == 0) {
                auto s = std::make_unique<CGridPathSegment>();
                s->x1 = s->x2 = iv->x2 + 1.0f;
                s->y1 = y - 2.0f;
                s->y2 = y + 2.0f;
                model.m_GridPathList.push_back(std::move(s));
            }
            line->intervals.push_back(std::move(iv));
        }
        model.m_RowList.push_back(std::move(line));
    }
}

void RegionClearingRows(benchmark::State& state)
{
    CBoardModel model;
    DenseRaster(model, int(state.range(0)));
    std::size_t strokes = 0;
    for (auto _ : state) {
        CClearRegion region;
        region.step = kPitch;
        region.rect = RECT{g_BoardMinX, g_BoardMinY, g_BoardMaxX, g_BoardMaxY};
        benchmark::DoNotOptimize(ClearRegionRows(model, region));
        strokes = region.strokes.size();
    }
    state.counters["strokes"] = double(strokes);
    state.counters["isolation"] = double(model.m_GridPathList.size());
}
BENCHMARK(RegionClearingRows)->Arg(250)->Arg(2000)->Unit(benchmark::kMillisecond);

// Mill pads over the dense raster with a short track every 40 mil of every
// tenth row: thousands of small row regions over one set of isolation
// paths (the rows only; the pad rings find no columns here).
void RegionClearingMillPads(benchmark::State& state)
{
    CBoardModel model;
    DenseRaster(model, int(state.range(0)));
    for (int y = 0; y < g_BoardMaxY; y += 10 * kPitch)
        for (float x = 20.0f; x < kRowLength - 40.0f; x += 400.0f) {
            auto t = std::make_unique<CTrackRecord>();
            t->x1 = x;
            t->x2 = x + 30.0f;
            t->y1 = t->y2 = float(y) + 2.0f;
            t->width = 10.0f;
            model.m_TrackRefList.push_back(t.get());
            model.m_TrackList.push_back(std::move(t));
        }
    std::size_t regions = 0;
    for (auto _ : state) {
        model.m_ClearRegionList.clear();
        MillPads(model);
        regions = model.m_ClearRegionList.size();
    }
    state.counters["tracks"] = double(model.m_TrackRefList.size());
    state.counters["regions"] = double(regions);
}
BENCHMARK(RegionClearingMillPads)->Arg(2000)->Unit(benchmark::kMillisecond);

// The row candidates of the whole board, as the generator takes them.
std::vector<CClearStroke> RowCandidates(const CBoardModel& model)
{
    std::vector<CClearStroke> out;
    for (const auto& line : model.m_RowList)
        for (const auto& iv : line->intervals) {
            CClearStroke s;
            s.x1 = iv->x1 + 3.0f;
            s.x2 = iv->x2 - 3.0f;
            s.y1 = s.y2 = iv->y1;
            out.push_back(s);
        }
    return out;
}

template <bool Indexed>
void RegionClearingChain(benchmark::State& state)
{
    CBoardModel model;
    DenseRaster(model, int(state.range(0)));
    std::vector<CClearStroke> candidates = RowCandidates(model);
    CIsolationCrossIndex index(model.m_GridPathList);
    CMoveCrossTest indexed = [&index](float x1, float y1, float x2, float y2) {
        return index.Crosses(x1, y1, x2, y2);
    };
    CMoveCrossTest plain = [&model](float x1, float y1, float x2, float y2) {
        return CrossesIsolationPath(model, x1, y1, x2, y2) != 0;
    };
    for (auto _ : state)
        benchmark::DoNotOptimize(Indexed ? OrderClearStrokes(candidates, kPitch, {}, indexed)
                                         : OrderClearStrokesFullScan(candidates, kPitch, {}, plain));
    state.counters["candidates"] = double(candidates.size());
}
BENCHMARK(RegionClearingChain<true>)->Arg(25)->Arg(100)->Unit(benchmark::kMillisecond);
BENCHMARK(RegionClearingChain<false>)->Arg(25)->Arg(100)->Unit(benchmark::kMillisecond);

}  // namespace
