// The scan-line cutters over a real board: a corpus copper side, alone and
// as 3 x 3 copies of it (some 2,800 rows and 1,800 columns at a 2 mil pitch,
// the finest a job uses), laid out at 2 and 4 mil and cut as the isolation
// run cuts it: every track widened by the offset, then every pad, then the
// round ends of the tracks, rows and columns alike. Reports the intervals
// left and the cuts per second; the time per cut should stay about the same
// as the board grows, since each cut walks only its own lines. The third
// argument 1 walks every line of a cut's range whole, as the cutters did
// before they kept copies of the lines.
#include "document/velm_doc.h"
#include "planning/scan_raster.h"
#include "records/board_extent.h"
#include "records/track_geometry.h"
#include "settings/work_order_dlg.h"
#include "ui/edit_wnd.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

const char* const kBoard = ORDUNE_CORPUS_DIR "/boards/project-controller/project-controller-B_Cu.gbr";
constexpr float kOffset = 4.0f;

bool LoadBoard(CVelmDoc& doc)
{
    g_SettingsTextWnd.Edit().ClearAll();
    for (const char* line : {"FILETYPE $X", "MIL", "ROUND", "RECT", "OVAL", "$", "$", "$0", "$0", "$1",
                             "$2", "$3"})
        g_SettingsTextWnd.Edit().WriteLine(line);
    g_CurrentApertureFile.clear();
    g_DataOriginX = g_DataOriginY = 0;
    return doc.ReadGerberLayer(kBoard) != 0 && !doc.m_TrackList.empty();
}

// n x n copies of the board side by side, 100 mil apart.
void Tile(CBoardModel& model, int n)
{
    float minX = 1e7f, minY = 1e7f, maxX = -1e7f, maxY = -1e7f;
    for (const auto& f : model.m_FlashList) {
        minX = std::min(minX, f->x);
        minY = std::min(minY, f->y);
        maxX = std::max(maxX, f->x);
        maxY = std::max(maxY, f->y);
    }
    const float stepX = maxX - minX + 100.0f, stepY = maxY - minY + 100.0f;
    const std::size_t tracks = model.m_TrackList.size(), flashes = model.m_FlashList.size();
    for (int a = 0; a < n; ++a)
        for (int b = 0; b < n; ++b) {
            if (a == 0 && b == 0)
                continue;
            for (std::size_t i = 0; i < tracks; ++i) {
                auto t = std::make_unique<CTrackRecord>(*model.m_TrackList[i]);
                t->x1 += float(a) * stepX;
                t->y1 += float(b) * stepY;
                if (t->type < 3) {
                    t->x2 += float(a) * stepX;
                    t->y2 += float(b) * stepY;
                }
                model.m_TrackList.push_back(std::move(t));
            }
            for (std::size_t i = 0; i < flashes; ++i) {
                auto f = std::make_unique<CFlashRecord>(*model.m_FlashList[i]);
                f->x += float(a) * stepX;
                f->y += float(b) * stepY;
                model.m_FlashList.push_back(std::move(f));
            }
        }
}

// The raster over the copper's extent (and a margin), laid out as the
// document lays it out.
void LayOut(CVelmDoc& doc, int pitch)
{
    float minX = 1e7f, minY = 1e7f, maxX = -1e7f, maxY = -1e7f;
    auto widen = [&](float x, float y) {
        minX = std::min(minX, x);
        minY = std::min(minY, y);
        maxX = std::max(maxX, x);
        maxY = std::max(maxY, y);
    };
    for (const auto& t : doc.m_TrackList) {
        widen(t->x1, t->y1);
        if (t->type < 3)
            widen(t->x2, t->y2);
    }
    for (const auto& f : doc.m_FlashList)
        widen(f->x, f->y);
    g_BoardMinX = int(minX) - 50;
    g_BoardMinY = int(minY) - 50;
    g_BoardMaxX = int(maxX) + 50;
    g_BoardMaxY = int(maxY) + 50;
    doc.m_GridStep = pitch;
    doc.m_RowList.clear();
    doc.m_ColumnList.clear();
    doc.InitCells();
}

// The three passes of the isolation run on one kind of line.
std::size_t CutAll(CBoardModel& model, ScanAxis axis)
{
    std::size_t cuts = 0;
    for (auto& t : model.m_TrackList) {
        CTrackRecord& track = *t;
        const CTrackRecord kept = track;
        track.width += kOffset;
        if (track.type == 0 || track.type == 2) {
            CutTrack(model, axis, track, &track);
        } else if (track.type == 1) {
            LengthenTrack(track, kOffset / 2);
            CutTrack(model, axis, track, &track);
        } else if (track.type == 3 || track.type == 4) {
            CutArcTrack(model, axis, track, kOffset / 2);
        }
        track = kept;
        ++cuts;
    }
    for (auto& f : model.m_FlashList) {
        CFlashRecord& pad = *f;
        pad.radius += kOffset / 2;
        CutFlash(model, axis, pad, &pad);
        pad.radius -= kOffset / 2;
        ++cuts;
    }
    for (auto& t : model.m_TrackList) {
        CTrackRecord& track = *t;
        if (track.type != 0 && track.type != 2)
            continue;
        CFlashRecord cap;
        cap.radius = (track.width + kOffset) / 2 - 0.05f;
        cap.recordNo = track.recordNo;
        cap.x = track.x1;
        cap.y = track.y1;
        CutEndCap(model, axis, cap, &track);
        cap.x = track.x2;
        cap.y = track.y2;
        CutEndCap(model, axis, cap, &track);
        cuts += 2;
    }
    return cuts;
}

void BM_CutBoard(benchmark::State& state)
{
    CVelmDoc doc;
    if (!LoadBoard(doc)) {
        state.SkipWithError("the corpus is absent");
        return;
    }
    Tile(doc, int(state.range(1)));
    SetPlainScanWalk(state.range(2) != 0);
    std::size_t cuts = 0, intervals = 0;
    for (auto _ : state) {
        state.PauseTiming();
        LayOut(doc, int(state.range(0)));
        state.ResumeTiming();
        cuts += CutAll(doc, ScanAxis::Rows);
        cuts += CutAll(doc, ScanAxis::Columns);
    }
    SetPlainScanWalk(false);
    for (const auto* lines : {&doc.m_RowList, &doc.m_ColumnList})
        for (const auto& line : *lines)
            intervals += line->intervals.size();
    state.counters["lines"] = double(doc.m_RowList.size() + doc.m_ColumnList.size());
    state.counters["intervals"] = double(intervals);
    state.counters["cuts_per_s"] = benchmark::Counter(double(cuts), benchmark::Counter::kIsRate);
}

// Arguments: the pitch (mil), the copies along each side, the plain walk.
BENCHMARK(BM_CutBoard)
    ->Args({2, 1, 0})
    ->Args({4, 1, 0})
    ->Args({2, 3, 0})
    ->Args({4, 3, 0})
    ->Args({2, 3, 1})
    ->Args({4, 3, 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace
