// Grouping and trimming of the offset engine on a corpus side and on its
// 4 x 4 tiling (Args: board, n; board 0 the largest side, whose hatched
// planes make one group of everything, board 1 a side of many nets; n 1 and
// 4, that is 1 and 16 times the copper). Trimming runs as the first pass
// does: every group of fewer than 400 source elements gets its offset
// pieces, composed arcs and trimming. Run one case per process for its peak
// memory:
//   ordune_bench --benchmark_filter='OffsetGrouping/0/4'
#include "bench_boards.h"
#include "document/velm_doc.h"
#include "offset/arc_families.h"
#include "offset/grouping.h"
#include "offset/offset_pieces.h"
#include "offset/source_elements.h"
#include "offset/trimming.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>

namespace {

constexpr std::size_t kExactGroupLimit = 400;

// The working side loaded and tiled, its source elements built with their
// line normals set for the first tool.
std::unique_ptr<CVelmDoc> LoadSources(benchmark::State& state)
{
    auto doc = std::make_unique<CVelmDoc>();
    if (!LoadTiled(*doc, state.range(0) == 0 ? kDense : kBoard, int(state.range(1)))) {
        state.SkipWithError("the corpus is absent");
        return nullptr;
    }
    BuildSourceElements(*doc, doc->m_TrackList, doc->m_FlashList, 0);
    for (CIsoElement* e : doc->m_IsoSources)
        if (e->Kind == ISO_LINE)
            ComputeSegmentNormal(*e, doc->m_ToolWidth1);
    return doc;
}

// Offset pieces, composed arcs and trimming of every exact group; returns
// the number of pieces made.
std::size_t TrimExactGroups(CVelmDoc& doc, const CRefList<CIsoGroup>& groups, std::size_t& exact)
{
    const double d = doc.m_ToolWidth1;
    std::size_t pieces = 0;
    exact = 0;
    for (CIsoGroup* group : groups) {
        if (group->Sources.size() >= kExactGroupLimit)
            continue;
        ++exact;
        for (CIsoElement* s : group->Sources) {
            switch (s->Kind) {
            case ISO_LINE: OffsetLineTrack(doc.m_IsoElements, group->Pieces, *s, d, 0, 0); break;
            case ISO_RECT: OffsetRectangle(doc.m_IsoElements, group->Pieces, *s, d, 0); break;
            case ISO_ARC: OffsetArcTrack(doc.m_IsoElements, group->Pieces, *s, d, 0); break;
            default: OffsetCircle(doc.m_IsoElements, group->Pieces, *s, d, 0); break;
            }
        }
        ComposeArcs(doc.m_IsoElements, group->Pieces);
        TrimGroup(doc.m_IsoElements, group->Pieces);
        pieces += group->Pieces.size();
    }
    return pieces;
}

// Times grouping alone, or the trimming stages after an untimed grouping.
void OffsetStages(benchmark::State& state, bool trimming)
{
    std::size_t elements = 0, groups = 0, largest = 0, pieces = 0, exact = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto doc = LoadSources(state);
        if (!doc)
            return;
        CRefList<CIsoGroup> made;
        if (!trimming)
            state.ResumeTiming();
        BuildGroups(*doc, doc->m_IsoSources, made, doc->m_ToolWidth1, 0);
        if (trimming) {
            state.ResumeTiming();
            pieces = TrimExactGroups(*doc, made, exact);
        }
        state.PauseTiming();
        elements = doc->m_IsoSources.size();
        groups = made.size();
        for (const CIsoGroup* group : made)
            largest = std::max(largest, group->Sources.size());
        doc.reset();
        state.ResumeTiming();
    }
    state.counters["elements"] = double(elements);
    state.counters["groups"] = double(groups);
    state.counters["largest"] = double(largest);
    if (trimming) {
        state.counters["exact_groups"] = double(exact);
        state.counters["pieces"] = double(pieces);
    }
    state.counters["peak_MB"] = double(PeakKilobytes()) / 1024.0;
}

void OffsetGrouping(benchmark::State& state) { OffsetStages(state, false); }
void OffsetTrimming(benchmark::State& state) { OffsetStages(state, true); }

}  // namespace

BENCHMARK(OffsetGrouping)
    ->ArgsProduct({{0, 1}, {1, 4}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
BENCHMARK(OffsetTrimming)
    ->ArgsProduct({{0, 1}, {1, 4}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);
