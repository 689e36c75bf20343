// The stages of a scan-line isolation run and the layers the tool runs make
// of it. The progress window is fed once a percent (and every few hundred
// records), which is when the queue drains and Cancel can have been pressed:
// feeding it every record would spend more time in the event loop than in
// the cutters on a dense board.
#include "planning/scan_isolation.h"

#include "geometry/plane_geometry.h"
#include "geometry/point.h"
#include "planning/net_numbering.h"
#include "planning/path_ordering.h"
#include "planning/scan_raster.h"
#include "platform/host.h"
#include "platform/program_objects.h"
#include "platform/program_state.h"
#include "platform/resources.h"
#include "records/board_extent.h"
#include "records/board_model.h"
#include "records/board_records.h"
#include "records/copper_records.h"
#include "records/track_geometry.h"
#include "resource_ids.h"
#include "settings/registry.h"
#include "settings/work_order_dlg.h"
#include "ui/edit_wnd.h"
#include "ui/message_dlg.h"
#include "ui/progress_dlg.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

int g_PlungeOffsetPulses = 0;

namespace {

CProgramObjectReset s_Reset([] { g_PlungeOffsetPulses = 0; });

// Progress bars of the run.
constexpr int kBarColumns = 1;
constexpr int kBarRows = 2;
constexpr int kBarNets = 3;
constexpr int kBarLinks = 4;
// Records between two looks at the Cancel button when the percent stands.
constexpr std::size_t kCancelPollRecords = 256;
// An end cap sits a little inside the widened track's width.
constexpr float kCapInset = 0.05f;
// How far beyond a free interval a moved corner may lie, besides half a
// pitch, mil.
constexpr float kCornerSlack = 0.5f;
// Pitch of the tool-2 raster (mil).
constexpr int kTool2Pitch = 3;
// The offset engine's grid passes use no coarser pitch (mil).
constexpr int kTemplatePitchLimit = 6;

// Layer kinds: the PATH layer is what rectangle clearing cuts later.
constexpr int kIsolationKind = 0;
constexpr int kClearingKind = 1;

constexpr COLORREF kT1IsoColour = 0xAAAADC;
constexpr COLORREF kT2IsoColour = 0xAADCDC;
constexpr COLORREF kT1PathColour = 0xAAAA78;
constexpr COLORREF kT2PathColour = 0xAA7878;

// One progress bar fed by a record counter.
class CStageMeter {
public:
    CStageMeter(CProgressDlg& progress, int bar, std::size_t total)
        : m_Progress(progress), m_Bar(bar), m_Total(total)
    {
    }
    void Restart(int bar)
    {
        m_Bar = bar;
        m_Done = 0;
        m_Percent = -1;
    }
    void SetTotal(std::size_t total) { m_Total = total; }
    // Counts one record; true when the operator cancelled.
    bool Step()
    {
        ++m_Done;
        const int percent = m_Total ? int(m_Done * 100 / m_Total) : 100;
        if (percent == m_Percent && m_Done % kCancelPollRecords != 0)
            return false;
        m_Percent = percent;
        m_Progress.SetPos(m_Bar, percent);
        return m_Progress.CheckCancelButton() != 0;
    }

private:
    CProgressDlg& m_Progress;
    int m_Bar;
    std::size_t m_Total;
    std::size_t m_Done = 0;
    int m_Percent = -1;
};

struct CRunSettings {
    float offset = 0.0f;
    bool endCaps = false;        // the general run cuts caps at track ends
    bool linkEnds = true;        // tool 2 leaves the ends' markers as they are
    bool generatePaths = true;
    bool dropPointLines = false; // the tool runs drop walks that never moved
    bool cutColumns = true;      // a clearing tool's raster needs its rows only
    bool markedOnly = false;     // the offset engine's grid pass cuts marked copper only
    bool numberNets = true;      // the offset engine brings its own group numbers
};

// Cuts one axis with every track, every pad and (general run) every track
// end; false when cancelled. The records are widened on copies, so they are
// left exactly as they were; an arc is cut on the record itself (its caps
// and pieces refer to it) and its radius put back afterwards.
bool CutAxis(CBoardModel& model, ScanAxis axis, const CRunSettings& run, CStageMeter& meter)
{
    CScanCutPass pass;
    const float offset = run.offset;
    for (auto& track : model.m_TrackList) {
        if (run.markedOnly && !track->used) {
            if (meter.Step())
                return false;
            continue;
        }
        switch (track->type) {
        case 0:
        case 2: {
            CTrackRecord wide = *track;
            wide.width += offset;
            CutTrack(model, axis, wide, track.get());
            break;
        }
        case 1: {
            CTrackRecord wide = *track;
            LengthenTrack(wide, offset / 2.0f);
            wide.width += offset;
            CutTrack(model, axis, wide, track.get());
            break;
        }
        case 3:
        case 4: {
            const float radius = track->width;
            track->width += offset;
            CutArcTrack(model, axis, *track, offset / 2.0f);
            track->width = radius;
            break;
        }
        default:
            break;
        }
        if (meter.Step())
            return false;
    }
    for (auto& flash : model.m_FlashList) {
        if (run.markedOnly && !flash->used) {
            if (meter.Step())
                return false;
            continue;
        }
        CFlashRecord wide = *flash;
        wide.radius += offset / 2.0f;
        CutFlash(model, axis, wide, flash.get());
        if (meter.Step())
            return false;
    }
    if (!run.endCaps)
        return true;
    for (auto& track : model.m_TrackList) {
        if (track->type == 0 || track->type == 2) {
            CFlashRecord cap;
            cap.x = track->x1;
            cap.y = track->y1;
            cap.radius = (track->width + offset) / 2.0f - kCapInset;
            cap.recordNo = track->recordNo;
            cap.groupNo = track->groupNo;
            CutEndCap(model, axis, cap, track.get());
            cap.x = track->x2;
            cap.y = track->y2;
            CutEndCap(model, axis, cap, track.get());
        }
        if (meter.Step())
            return false;
    }
    return true;
}

// Replaces the cutting record's id in each cut end by the net of the copper
// beside it. A piece of an arc whose pad record is missing has no source:
// its end takes the arc's own net, found by the id it carries.
class CEndLinker {
public:
    explicit CEndLinker(CBoardModel& model) : m_Model(model) {}

    void Link(std::uint8_t tag, std::uint32_t& net, void* source)
    {
        if (net == 0)
            return;
        if (source == nullptr) {
            net = ArcNet(net);
            return;
        }
        if ((tag & 0x0F) == ScanTag::kFlash)
            net = static_cast<std::uint32_t>(static_cast<CFlashRecord*>(source)->groupNo);
        else
            net = static_cast<std::uint32_t>(static_cast<CTrackRecord*>(source)->groupNo);
    }
    bool ReportedMissingPad() const { return m_Missing; }

private:
    std::uint32_t ArcNet(std::uint32_t id)
    {
        if (m_Arcs.empty())
            for (auto& t : m_Model.m_TrackList)
                if (t->type == 3 || t->type == 4)
                    m_Arcs.emplace(static_cast<std::uint32_t>(t->recordNo), t.get());
        if (!m_Missing) {
            m_Missing = true;
            AfxMessageBox(LoadResString(IDS_ARC_WITHOUT_PAD), MB_OK);
        }
        auto it = m_Arcs.find(id);
        return it == m_Arcs.end() ? 0u : static_cast<std::uint32_t>(it->second->groupNo);
    }

    CBoardModel& m_Model;
    std::unordered_map<std::uint32_t, CTrackRecord*> m_Arcs;
    bool m_Missing = false;
};

bool LinkEnds(CBoardModel& model, CProgressDlg& progress)
{
    CEndLinker linker(model);
    CStageMeter meter(progress, kBarLinks, model.m_RowList.size() + model.m_ColumnList.size());
    for (auto* lines : {&model.m_RowList, &model.m_ColumnList})
        for (auto& line : *lines) {
            for (auto& in : line->intervals) {
                linker.Link(in->startTag, in->startNet, in->startSource);
                linker.Link(in->endTag, in->endNet, in->endSource);
            }
            if (meter.Step())
                return false;
        }
    return true;
}

// The net numbers of every record, to put back when a tool run is cancelled.
struct CNetSnapshot {
    std::vector<std::int32_t> tracks, flashes;
    explicit CNetSnapshot(const CBoardModel& model)
    {
        for (const auto& t : model.m_TrackList)
            tracks.push_back(t->groupNo);
        for (const auto& f : model.m_FlashList)
            flashes.push_back(f->groupNo);
    }
    void Restore(CBoardModel& model) const
    {
        for (std::size_t i = 0; i < tracks.size() && i < model.m_TrackList.size(); ++i)
            model.m_TrackList[i]->groupNo = tracks[i];
        for (std::size_t i = 0; i < flashes.size() && i < model.m_FlashList.size(); ++i)
            model.m_FlashList[i]->groupNo = flashes[i];
    }
};

// Stages 1 to 6: nets, a new raster, the cuts and the links. False when
// the operator cancelled; the stages that cannot be cancelled (the raster's
// rebuilding) run all the same.
bool CutRaster(CBoardModel& model, const CRunSettings& run, const CPlanningHooks& hooks,
               CMessageDlg& notice, CProgressDlg& progress)
{
    bool cancelled = false;
    if (run.numberNets) {
        CStageMeter meter(progress, kBarNets, 0);
        CNetNumbering nets(model);
        cancelled = !nets.NumberAll([&](std::size_t, std::size_t total) {
            meter.SetTotal(total);
            return meter.Step();
        });
    } else {
        // The records are only counted through, with the queue drained and
        // Cancel looked at as the numbering would.
        CStageMeter meter(progress, kBarNets,
                          model.m_FlashList.size() + model.m_TrackList.size());
        for (std::size_t i = 0; i < model.m_FlashList.size() + model.m_TrackList.size(); ++i)
            if (meter.Step()) {
                cancelled = true;
                break;
            }
    }
    notice.ShowId(IDS_CALC_STEP_REMOVE_TEMPLATES);
    model.m_RowList.clear();
    model.m_ColumnList.clear();
    notice.ShowId(IDS_CALC_STEP_TEMPLATE_START);
    if (hooks.initCells)
        hooks.initCells();

    const std::size_t total = model.m_FlashList.size() +
                              model.m_TrackList.size() * (run.endCaps ? 2 : 1);
    CStageMeter meter(progress, kBarColumns, total);
    if (run.cutColumns) {
        notice.ShowId(IDS_CALC_STEP_CUT_X);
        if (!cancelled)
            cancelled = !CutAxis(model, ScanAxis::Columns, run, meter);
    }
    notice.ShowId(IDS_CALC_STEP_CUT_Y);
    meter.Restart(kBarRows);
    if (!cancelled)
        cancelled = !CutAxis(model, ScanAxis::Rows, run, meter);
    notice.ShowId(IDS_CALC_STEP_LINK_TEMPLATES);
    if (!cancelled && run.linkEnds)
        cancelled = !LinkEnds(model, progress);
    return !cancelled;
}

// Every interval carries the plunge of the tool the raster was cut for.
void PlungeIntervals(CBoardModel& model)
{
    for (auto* lines : {&model.m_RowList, &model.m_ColumnList})
        for (auto& line : *lines)
            for (auto& in : line->intervals)
                in->startNet = static_cast<std::uint32_t>(g_PlungeOffsetPulses);
}

// The first stage's text, then the progress window for stages 1 to 6.
bool CutRasterWithProgress(CBoardModel& model, const CRunSettings& run, const CPlanningHooks& hooks,
                           CMessageDlg& notice)
{
    CProgressDlg progress;
    notice.ShowId(IDS_CALC_STEP_CONNECTIONS);
    progress.Create();
    const bool finished = CutRaster(model, run, hooks, notice, progress);
    progress.DestroyWindow();
    return finished;
}

// Stages 7 and 8: the walks, then the plunge value into the new segments
// and into every interval.
void WalkAndPlunge(CBoardModel& model, const CRunSettings& run, const CPlanningHooks& hooks,
                   CMessageDlg& notice, bool cancelled)
{
    notice.ShowId(IDS_CALC_STEP_TEMPLATE_PATHS);
    auto& segments = model.m_GridPathList;
    const std::size_t before = segments.size();
    if (!cancelled && run.generatePaths) {
        GenerateRowPaths(model, hooks.drawStep);
        GenerateColumnPaths(model, hooks.drawStep);
        GenerateColumnPaths(model, hooks.drawStep);
    }
    notice.ShowId(IDS_CALC_STEP_PLUNGE_DEPTHS);
    if (run.generatePaths) {
        std::size_t keep = before;
        for (std::size_t i = before; i < segments.size(); ++i) {
            CGridPathSegment& s = *segments[i];
            if (run.dropPointLines && s.type == 0 && s.x1 == s.x2 && s.y1 == s.y2)
                continue;
            s.value = static_cast<std::uint32_t>(g_PlungeOffsetPulses);
            segments[keep++] = std::move(segments[i]);
        }
        segments.resize(keep);
    }
    PlungeIntervals(model);
}

void FinishRun(CBoardModel& model, const CPlanningHooks& hooks)
{
    for (const char* name : {"MILL_TO", "MILL_FROM", "OUTLINE_TO", "OUTLINE_FROM"})
        RegSetLongValue(name, 0);
    model.m_IsolationDone = 1;
    model.m_WorkStage = static_cast<std::uint8_t>(WorkStage::Paths);
    if (hooks.pathsShown)
        hooks.pathsShown();
}

// The isolation layer: the ordered segments as items, a new chain number
// wherever a segment does not start where the one before ended. Tool 2
// first joins each arc piece that spirals inwards to its start's radius.
std::unique_ptr<CPathRecord> IsolationLayer(CBoardModel& model, bool radialJoins, int* chain)
{
    auto layer = std::make_unique<CPathRecord>();
    int n = 0;
    CDPoint previousEnd(0.0, 0.0);
    for (auto& seg : model.m_GridPathList) {
        CGridPathSegment& s = *seg;
        if (radialJoins && s.type != 0) {
            const double d1 = DistanceF(s.x1, s.y1, s.cx, s.cy);
            const double d2 = DistanceF(s.x2, s.y2, s.cx, s.cy);
            if (d2 < d1) {
                const float mx = float(s.cx + (double(s.x1) - s.cx) * d2 / d1);
                const float my = float(s.cy + (double(s.y1) - s.cy) * d2 / d1);
                AddItem(*layer, {s.x1, s.y1}, {mx, my}, {0.0, 0.0}, 0, n);
                s.x1 = mx;
                s.y1 = my;
            }
        }
        if (CDPoint(s.x1, s.y1) != previousEnd)
            ++n;
        AddItem(*layer, {s.x1, s.y1}, {s.x2, s.y2}, {s.cx, s.cy}, s.type, n);
        previousEnd = CDPoint(s.x2, s.y2);
    }
    *chain = n;
    return layer;
}

void NameLayer(CPathRecord& layer, const char* name, COLORREF colour, float width, float depth,
               int kind)
{
    layer.size = width;
    layer.depth = depth;
    layer.side = g_CurrentSide;
    layer.name = name;
    layer.kind = kind;
    layer.colour = colour;
    layer.visible = 1;
}

// Whether `along` lies on a free interval of the line, with `slack`.
bool FreeOnLine(const CSubList& line, bool row, float along, float slack)
{
    for (const auto& in : line.intervals) {
        const float a = row ? in->x1 : in->y1, b = row ? in->x2 : in->y2;
        if (along >= std::min(a, b) - slack && along <= std::max(a, b) + slack)
            return true;
    }
    return false;
}

// Stages 1 to 6 of a tool's run in their windows. False when the operator
// cancelled: then nothing half made stays behind, the nets as they were and
// no partly cut raster for a clearing run to read.
bool CutToolRaster(CBoardModel& model, const CRunSettings& run, const CPlanningHooks& hooks,
                   CMessageDlg& notice)
{
    const CNetSnapshot nets(model);
    if (CutRasterWithProgress(model, run, hooks, notice))
        return true;
    nets.Restore(model);
    model.m_RowList.clear();
    model.m_ColumnList.clear();
    return false;
}

}  // namespace

CCalculating::CCalculating()
{
    g_Calculating = 1;
    if (g_MeasureDataWnd.IsVisible())
        g_MeasureDataWnd.ShowWindow(false);
    if (g_RouteDataWnd.IsVisible())
        g_RouteDataWnd.ShowWindow(false);
}

CCalculating::~CCalculating() { g_Calculating = 0; }

// One item of a layer as the generators make it (flag 0).
void AddItem(CPathRecord& layer, CDPoint start, CDPoint end, CDPoint centre, int type, int value)
{
    auto item = std::make_unique<CPathSegment>();
    item->x1 = start.x;
    item->y1 = start.y;
    item->x2 = end.x;
    item->y2 = end.y;
    item->cx = centre.x;
    item->cy = centre.y;
    item->type = type;
    item->value = value;
    layer.items.push_back(std::move(item));
}

int AppendRowIntervals(const CBoardModel& model, CPathRecord& layer, int chain)
{
    for (const auto& row : model.m_RowList)
        for (const auto& in : row->intervals)
            AddItem(layer, {in->x1, in->y1}, {in->x2, in->y2}, {0.0, 0.0}, 0, chain++);
    return chain;
}

std::function<bool(float x, float y)> RasterCornerTest(const CBoardModel& model)
{
    return [&model](float x, float y) {
        const int pitch = model.m_GridStep;
        if (pitch <= 0)
            return true;
        const float slack = float(pitch) / 2.0f + kCornerSlack;
        auto nearest = [pitch](float v, int origin) {
            return std::lround((double(v) - origin) / pitch);
        };
        const long row = nearest(y, g_BoardMinY), column = nearest(x, g_BoardMinX);
        const auto& rows = model.m_RowList;
        const auto& columns = model.m_ColumnList;
        // Off the raster there is no copper to keep from.
        if (row < 0 || column < 0 || row >= long(rows.size()) || column >= long(columns.size()))
            return true;
        return FreeOnLine(*rows[std::size_t(row)], true, x, slack) ||
               FreeOnLine(*columns[std::size_t(column)], false, y, slack);
    };
}

void CalcIsolationLines(CBoardModel& model, float offset, int pitch, int generateLines,
                        const CPlanningHooks& hooks)
{
    model.m_GridStep = pitch;
    CCalculating calculating;
    CRunSettings run;
    run.offset = offset;
    run.endCaps = true;
    run.generatePaths = generateLines != 0;
    bool cancelled = false;
    CMessageDlg notice;
    cancelled = !CutRasterWithProgress(model, run, hooks, notice);
    WalkAndPlunge(model, run, hooks, notice, cancelled);
    FinishRun(model, hooks);
}

int CalcIsolationTool(CBoardModel& model, int tool, int extra, float width, float depth,
                      int t1Pitch, const CPlanningHooks& hooks)
{
    const bool first = tool == 1;
    CRunSettings run;
    run.offset = float(extra) + width;
    run.linkEnds = first;
    run.dropPointLines = true;
    model.m_GridStep = first ? t1Pitch : kTool2Pitch;
    if (model.m_GridStep <= 0)
        return 0;
    {
        CCalculating calculating;
        CMessageDlg notice;
        if (!CutToolRaster(model, run, hooks, notice))
            return 0;
        WalkAndPlunge(model, run, hooks, notice, false);
        FinishRun(model, hooks);
        notice.ShowId(IDS_SORTING_ISOLATION);
        SortIsolationPaths(model.m_GridPathList, model.m_GridStep, RasterCornerTest(model));
    }

    int chain = 0;
    auto iso = IsolationLayer(model, !first, &chain);
    NameLayer(*iso, first ? "T1ISO" : "T2ISO", first ? kT1IsoColour : kT2IsoColour, width, depth,
              kIsolationKind);
    auto path = std::make_unique<CPathRecord>();
    AppendRowIntervals(model, *path, chain);
    NameLayer(*path, first ? "T1PATH" : "T2PATH", first ? kT1PathColour : kT2PathColour, width,
              depth, kClearingKind);
    auto& layers = model.m_PathLayerList;
    if (first)
        AddHead(layers, std::move(iso));
    else
        AddTail(layers, std::move(iso));
    AddHead(layers, std::move(path));
    return 1;
}

int CutClearingRows(CBoardModel& model, float offset, int pitch, const CPlanningHooks& hooks)
{
    model.m_GridStep = pitch;
    if (pitch <= 0)
        return 0;
    CRunSettings run;
    run.offset = offset;
    run.linkEnds = false;
    run.generatePaths = false;
    run.cutColumns = false;
    CCalculating calculating;
    CMessageDlg notice;
    if (!CutToolRaster(model, run, hooks, notice))
        return 0;
    PruneShortIntervals(model);
    PlungeIntervals(model);
    FinishRun(model, hooks);
    return 1;
}

int TemplateGridPass(CBoardModel& model, float distance, const CPlanningHooks& hooks)
{
    // Below 2 mil the pitch would be 0: no raster can be laid, so the pass
    // makes nothing (and is not a cancel).
    const int pitch = std::min(static_cast<int>(distance / 2.0f), kTemplatePitchLimit);
    if (pitch <= 0)
        return 1;
    model.m_GridStep = pitch;
    CRunSettings run;
    run.offset = distance;
    run.markedOnly = true;
    run.numberNets = false;
    CCalculating calculating;
    CMessageDlg notice;
    if (!CutRasterWithProgress(model, run, hooks, notice))
        return 0;
    notice.ShowId(IDS_CALC_STEP_TEMPLATE_PATHS);
    // The offset engine takes these pieces for exact ones: they keep to the
    // points walked, round ends round.
    GenerateRowPaths(model, hooks.drawStep, CWalkPieces::True);
    GenerateColumnPaths(model, hooks.drawStep, CWalkPieces::True);
    GenerateColumnPaths(model, hooks.drawStep, CWalkPieces::True);
    model.m_IsolationDone = 1;
    return 1;
}
