// Filling one copper area with column strokes: a comb whose teeth every
// column crosses (strokes grow with the area at the fill pitch), and a round
// area of many corners (work grows with the corner count).
#include "geometry/contour.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace {

// A comb `inches` square (12: 480 corners, 240 crossings a column): a
// spine on the left and teeth 50 mil high with gaps of 50 mil, running the
// whole width.
CContour Comb(int inches)
{
    const double side = 1000.0 * inches, pitch = 100.0;
    const int teeth = int(side / pitch);
    CContour c;
    c.AddPoint({0, 0});
    for (int k = 0; k < teeth; ++k) {
        const double y = pitch * k;
        if (k > 0)
            c.AddPoint({50, y});
        c.AddPoint({side, y});
        c.AddPoint({side, y + pitch / 2});
        if (k < teeth - 1)
            c.AddPoint({50, y + pitch / 2});
    }
    c.AddPoint({0, pitch * (teeth - 1) + pitch / 2});
    return c;
}

// Fills a fresh copy of `area` on every round.
void Fill(benchmark::State& state, const CContour& area)
{
    std::size_t strokes = 0;
    for (auto _ : state) {
        CContour c;
        for (const auto& p : area.m_Vertices)
            c.AddPoint(p);
        c.ComputeFill();
        strokes = c.m_DrawRecords.size();
    }
    state.counters["corners"] = double(area.m_Vertices.size());
    state.counters["strokes"] = double(strokes);
}

void BM_FillComb(benchmark::State& state) { Fill(state, Comb(int(state.range(0)))); }

void BM_FillManyCorners(benchmark::State& state)
{
    const long corners = long(state.range(0));
    CContour round;
    for (long k = 0; k < corners; ++k) {
        const double a = 2 * 3.14159265358979 * double(k) / double(corners);
        round.AddPoint({5000 + 5000 * std::cos(a), 5000 + 5000 * std::sin(a)});
    }
    Fill(state, round);
}

BENCHMARK(BM_FillComb)->Arg(3)->Arg(12)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillManyCorners)->Arg(3000)->Arg(30000)->Arg(300000)->Unit(benchmark::kMillisecond);

}  // namespace
