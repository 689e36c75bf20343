// The clearing of each tool: strokes from the free row intervals inside one
// region, ordered and kept as the tool's clearing layer; the PATH runs of
// tools 3 and 2; the coverage marking; the rectangle clearing from a PATH
// layer. The ordering itself is in tool_clearing_order.cpp.
#include "planning/tool_clearing.h"

#include "geometry/point.h"
#include "planning/region_clearing.h"
#include "planning/scan_isolation.h"
#include "planning/scan_raster.h"
#include "platform/message_pump.h"
#include "records/board_extent.h"
#include "records/board_model.h"
#include "records/board_records.h"
#include "records/copper_records.h"
#include "resource_ids.h"
#include "settings/machine_settings.h"
#include "settings/work_order_dlg.h"
#include "ui/message_dlg.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>

namespace {

// Layer kind of everything made here: the jobs clear with it.
constexpr int kClearingKind = 1;

constexpr COLORREF kT1MillColour = 0xAADC14;
constexpr COLORREF kT2MillColour = 0xAA14DC;
constexpr COLORREF kT3MillColour = 0x7878DC;
constexpr COLORREF kPathColour = 0xAA7878;
// The operator's rectangles are drawn in the tool-1 clearing colour,
// whichever tool clears them.
constexpr COLORREF kRectangleColour = kT1MillColour;

// Tool 3 keeps away from the board's edge by two thirds of its width, tools
// 2 and 1 by the width of tool 2.
constexpr double kT3InsetDivisor = 1.5;
// Tool 3 looks this much beyond its width for the stroke after the first.
constexpr double kT3FirstRadiusSlack = 10.0;
// Tool 3's strokes stop this much short of half the reach (both ends
// inside) or of the whole reach (the inner end of a stroke leaving the
// region).
constexpr float kT3TrimSlack = 1.0f;
// Tool 3's layer leaves out horizontal strokes up to a third of its width:
// they remove next to nothing and cost a plunge each.
constexpr float kT3ShortStroke = 3.0f;
// Tool 1 overlaps half its width, keeps a sixth of it off each end and
// links up to one and a half widths; its layer cuts 0.01 mm deeper than
// the tool's depth.
constexpr float kT1SpacingDivisor = 2.0f;
constexpr float kT1TrimDivisor = 6.0f;
constexpr float kT1LinkFactor = 1.5f;
constexpr float kT1ExtraDepthMM = 0.01f;
// An interval that runs across the whole region gives a stroke only when
// it is longer than this (mil).
constexpr float kAcrossMinimum = 2.0f;

// Rectangle clearing: the least length of a stroke's interval (or of its
// part inside), the trims at ends inside and at the inner end of a stroke
// that leaves the rectangle, the layer's depth (Z pulses), and the links:
// wide tools link up to 1.1 widths, narrower ones up to a diagonal.
constexpr float kRectMinimum = 5.0f;
constexpr float kRectTrimBoth = 2.0f;
constexpr float kRectTrimInner = 4.0f;
constexpr float kRectLayerDepth = 20.0f;
constexpr float kRectWideTool = 25.0f;
constexpr float kRectWideLink = 1.1f;
constexpr float kRectNarrowLink = 1.414f;

// PATH runs: the pitch as a fraction of the tool's width.
constexpr double kT3PitchDivisor = 4.0;
constexpr double kT2PitchDivisor = 1.6;

// Coverage: the arcs of tool-2 layers are burnt as chords of this much
// (radians).
constexpr double kChordAngle = 0.8;
constexpr double kTurn = 6.283185;
// Items marked between two looks at the window's events.
constexpr std::size_t kPumpItems = 64;

// A value truncated to whole mil; not a number gives 0, and values beyond
// any board stop at a billion.
int TruncMil(double v)
{
    if (std::isnan(v))
        return 0;
    return static_cast<int>(std::clamp(v, -1e9, 1e9));
}

bool Inside(const RECT& r, int x, int y)
{
    return r.left <= x && x < r.right && r.top <= y && y < r.bottom;
}

RECT BoardRect() { return {g_BoardMinX, g_BoardMinY, g_BoardMaxX, g_BoardMaxY}; }

// The board extent stands in for a rectangle none of whose corners lies on
// the board.
void FitToBoard(RECT& rect)
{
    const RECT board = BoardRect();
    if (!Inside(board, rect.left, rect.top) && !Inside(board, rect.right, rect.bottom) &&
        !Inside(board, rect.left, rect.bottom) && !Inside(board, rect.right, rect.top))
        rect = board;
}

RECT Normalised(const RECT& r)
{
    return {std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right),
            std::max(r.top, r.bottom)};
}

// How an interval becomes a stroke inside a region.
struct CStrokeCut {
    float minimum;  // length of the interval, or of its part inside when one end is outside
    float trimBoth; // off each end when both lie inside
    float trimInner; // off the inside end when the other lies outside
};

// One horizontal free interval.
struct CRowPiece {
    float x1, x2, y;
    std::int32_t plunge;
};

// Rows of pieces: row i holds pieces[starts[i]] up to pieces[starts[i + 1]].
struct CRows {
    std::vector<CRowPiece> pieces;
    std::vector<std::size_t> starts{0};
    void EndRow() { starts.push_back(pieces.size()); }
};

void CutPiece(const RECT& b, const CStrokeCut& cut, const CRowPiece& piece,
              std::vector<CClearStroke>& out)
{
    const float x1 = std::min(piece.x1, piece.x2), x2 = std::max(piece.x1, piece.x2);
    const float y = piece.y;
    const bool in1 = Inside(b, TruncMil(x1), TruncMil(y));
    const bool in2 = Inside(b, TruncMil(x2), TruncMil(y));
    float from, to;
    if (in1 && in2) {
        if (!(x2 - x1 > cut.minimum))
            return;
        from = x1 + cut.trimBoth;
        to = x2 - cut.trimBoth;
    } else if (in1) {
        if (!(float(b.right) - x1 > cut.minimum))
            return;
        from = x1 + cut.trimInner;
        to = float(b.right);
    } else if (in2) {
        if (!(x2 - float(b.left) > cut.minimum))
            return;
        from = float(b.left);
        to = x2 - cut.trimInner;
    } else {
        if (!(x2 - x1 > kAcrossMinimum && float(b.left) > x1 && float(b.right) < x2 &&
              y > float(b.top) && y < float(b.bottom)))
            return;
        from = float(b.left);
        to = float(b.right);
    }
    // A stroke never leaves its free interval: beyond it the cutter would
    // eat into the clearance round the copper (a trim below zero, an end
    // truncated towards zero left of the origin).
    from = std::max(from, x1);
    to = std::min(to, x2);
    if (from > to)
        return;
    CClearStroke s;
    s.x1 = from;
    s.y1 = y;
    s.x2 = to;
    s.y2 = y;
    s.plungeValue = piece.plunge;
    out.push_back(s);
}

// The strokes of the rows inside `b`: a row is taken when it lies at or
// above the threshold, which then moves up by `spacing`, so the strokes
// overlap as the tool asks and no more.
std::vector<CClearStroke> CollectStrokes(const CRows& rows, const RECT& b, float spacing,
                                         const CStrokeCut& cut)
{
    std::vector<CClearStroke> strokes;
    int threshold = b.top;
    for (std::size_t r = 0; r + 1 < rows.starts.size(); ++r) {
        const std::size_t first = rows.starts[r], end = rows.starts[r + 1];
        if (first == end)
            continue;
        const float y = rows.pieces[first].y;
        if (!(y >= float(b.top) && y <= float(b.bottom) && y >= float(threshold)))
            continue;
        threshold = TruncMil(float(threshold) + spacing);
        for (std::size_t i = first; i < end; ++i)
            CutPiece(b, cut, rows.pieces[i], strokes);
    }
    return strokes;
}

CRows RowsOfRaster(const CBoardModel& model)
{
    CRows rows;
    for (const auto& row : model.m_RowList) {
        for (const auto& in : row->intervals)
            rows.pieces.push_back({in->x1, in->x2, in->y1, std::int32_t(in->startNet)});
        rows.EndRow();
    }
    return rows;
}

// A PATH layer's items, a row wherever the height changes.
CRows RowsOfLayer(const CPathRecord& layer)
{
    CRows rows;
    for (std::size_t i = 0; i < layer.items.size(); ++i) {
        const CPathSegment& s = *layer.items[i];
        if (i > 0 && s.y1 != layer.items[i - 1]->y1)
            rows.EndRow();
        rows.pieces.push_back({float(s.x1), float(s.x2), float(s.y1), 0});
    }
    rows.EndRow();
    return rows;
}

CPathRecord* AddClearingLayer(CBoardModel& model, const std::string& name, float size,
                              float depth, COLORREF colour, bool atHead)
{
    CPathRecord* layer = model.AddPathLayer(name, size, depth, g_CurrentSide, colour);
    layer->kind = kClearingKind;
    auto& list = model.m_PathLayerList;
    if (!atHead)
        std::rotate(list.begin(), list.begin() + 1, list.end());
    return layer;
}

using CLeftOut = bool (*)(const CClearStroke&, float size);

// Every stroke of every region of the list into the layer, a new chain
// wherever a stroke does not start where the one before ended; then the
// regions go.
void MoveRegionsIntoLayer(CBoardModel& model, CPathRecord& layer, CLeftOut leftOut)
{
    int chain = 0;
    CDPoint previousEnd(0.0, 0.0);
    for (const auto& region : model.m_ClearRegionList)
        for (const auto& stroke : region->strokes) {
            const CClearStroke& s = *stroke;
            if (leftOut && leftOut(s, layer.size))
                continue;
            if (CDPoint(s.x1, s.y1) != previousEnd)
                ++chain;
            AddItem(layer, {s.x1, s.y1}, {s.x2, s.y2}, {0.0, 0.0}, 0, chain);
            previousEnd = CDPoint(s.x2, s.y2);
        }
    model.m_ClearRegionList.clear();
}

void KeepOrdered(CClearRegion& region, std::vector<CClearStroke> strokes,
                 const CStrokeOrderRule& rule)
{
    for (const CClearStroke& s : OrderClearStrokes(std::move(strokes), rule))
        region.strokes.push_back(std::make_unique<CClearStroke>(s));
}

// What one tool's clearing run takes.
struct CToolClearing {
    const char* name;
    COLORREF colour;
    float size;
    float depth;
    bool atHead;
    double inset;       // of the region from the board extent
    float spacing;      // between the rows taken
    CStrokeCut cut;
    CStrokeOrderRule order;
    bool crossingTest;
    CLeftOut leftOut;
};

void ClearWithTool(CBoardModel& model, const CToolClearing& tool)
{
    auto made = std::make_unique<CClearRegion>();
    made->step = TruncMil(tool.size);
    RECT rect{TruncMil(g_BoardMinX + tool.inset), TruncMil(g_BoardMinY + tool.inset),
              TruncMil(g_BoardMaxX - tool.inset), TruncMil(g_BoardMaxY - tool.inset)};
    // An inset of more than half the board turns the rectangle inside out;
    // its corners may still lie on the board, and it would then clear only
    // a strip in the middle. The whole board is cleared instead.
    if (rect.left > rect.right || rect.top > rect.bottom)
        rect = BoardRect();
    FitToBoard(rect);
    made->rect = rect;
    CClearRegion& region = *AddTail(model.m_ClearRegionList, std::move(made));
    const RECT b = Normalised(rect);

    CMessageDlg notice;
    notice.ShowId(IDS_CALC_CLEARING);
    {
        CWaitCursor wait;
        std::vector<CClearStroke> strokes =
            CollectStrokes(RowsOfRaster(model), b, tool.spacing, tool.cut);
        if (strokes.empty())
            return;
        notice.ShowId(IDS_SORTING_CLEARING);
        CStrokeOrderRule rule = tool.order;
        if (tool.crossingTest && !model.m_GridPathList.empty())
            rule.crosses = [&model](float x1, float y1, float x2, float y2) {
                return CrossesIsolationPath(model, x1, y1, x2, y2) != 0;
            };
        KeepOrdered(region, std::move(strokes), rule);
    }
    CPathRecord* layer =
        AddClearingLayer(model, tool.name, tool.size, tool.depth, tool.colour, tool.atHead);
    MoveRegionsIntoLayer(model, *layer, tool.leftOut);
}

// Burns a stroke of `width` into the rows. Every end the cut makes carries
// the plunge of the tool being planned, as the raster's own ends do, and no
// shape: the stroke exists only for the cut.
void BurnTrack(CBoardModel& model, double x1, double y1, double x2, double y2, float width)
{
    CTrackRecord t;
    t.x1 = float(x1);
    t.y1 = float(y1);
    t.x2 = float(x2);
    t.y2 = float(y2);
    t.width = width;
    t.recordNo = g_PlungeOffsetPulses;
    CutTrackRows(model, t, nullptr);
}

void BurnDisc(CBoardModel& model, double x, double y, float radius)
{
    CFlashRecord f;
    f.x = float(x);
    f.y = float(y);
    f.radius = radius;
    f.recordNo = g_PlungeOffsetPulses;
    CutFlashRows(model, f, nullptr);
}

// An arc item of a tool-2 layer: chords of at most kChordAngle along it.
void BurnArc(CBoardModel& model, const CPathSegment& s, float width)
{
    double a1 = std::atan2(s.y1 - s.cy, s.x1 - s.cx);
    double a2 = std::atan2(s.y2 - s.cy, s.x2 - s.cx);
    if (s.type == 2)
        std::swap(a1, a2);
    if (a1 < 0.0)
        a1 += kTurn;
    if (a2 < 0.0)
        a2 += kTurn;
    if (a2 < a1)
        a2 += kTurn;
    const double r = std::hypot(s.x1 - s.cx, s.y1 - s.cy);
    auto at = [&](double a) { return std::pair{s.cx + r * std::cos(a), s.cy + r * std::sin(a)}; };
    while (a1 + kChordAngle < a2) {
        const auto [x1, y1] = at(a1);
        const auto [x2, y2] = at(a1 + kChordAngle);
        BurnTrack(model, x1, y1, x2, y2, width);
        a1 += kChordAngle;
    }
    const auto [x1, y1] = at(a1);
    const auto [x2, y2] = at(a2);
    BurnTrack(model, x1, y1, x2, y2, width);
}

bool Contains(const std::string& text, const char* part)
{
    return text.find(part) != std::string::npos;
}

// Which layers the marking burns and how.
struct CCoverage {
    unsigned notice;
    float toolWidth;     // layers of exactly this tool size
    float widthFactor;   // the burnt width, as a fraction of the layer's tool
    bool tool2;          // tool 2: arcs and circles too, caps only at ISO starts
};

void MarkCoverage(CBoardModel& model, const CCoverage& rule, const CPlanningHooks& hooks)
{
    CMessageDlg notice;
    notice.ShowId(rule.notice);
    {
        CCalculating calculating;
        CScanCutPass pass;
        std::size_t items = 0;
        for (const auto& layer : model.m_PathLayerList) {
            if (layer->side != g_CurrentSide || layer->size != rule.toolWidth ||
                Contains(layer->name, "PATH"))
                continue;
            const float width = rule.widthFactor * layer->size;
            const bool iso = Contains(layer->name, "ISO");
            for (const auto& item : layer->items) {
                if (++items % kPumpItems == 0)
                    PumpMessages();
                const CPathSegment& s = *item;
                if (s.type == 0) {
                    BurnTrack(model, s.x1, s.y1, s.x2, s.y2, width);
                    if (!rule.tool2 || iso)
                        BurnDisc(model, s.x1, s.y1, width / 2.0f);
                    if (!rule.tool2)
                        BurnDisc(model, s.x2, s.y2, width / 2.0f);
                } else if (s.type == 10 || !rule.tool2) {
                    continue;
                } else if (CDPoint(s.x1, s.y1) != CDPoint(s.x2, s.y2)) {
                    BurnArc(model, s, width);
                } else {
                    const double r = std::hypot(s.x1 - s.cx, s.y1 - s.cy);
                    BurnDisc(model, s.cx, s.cy,
                             float(r + (1.0f - model.m_ClearOverlap) * model.m_ToolWidth2 / 2.0f));
                }
            }
        }
        model.m_IsolationDone = 1;
        model.m_WorkStage = static_cast<std::uint8_t>(WorkStage::Paths);
        if (hooks.pathsShown)
            hooks.pathsShown();
    }
}

int CalcPathLayer(CBoardModel& model, const char* name, int extra, float size, float depth,
                  double pitchDivisor, const CPlanningHooks& hooks)
{
    // A tool under a few mil would give a pitch of 0, and no raster at all.
    const int pitch = std::max(1, TruncMil(size / pitchDivisor));
    if (!CutClearingRows(model, float(extra) + size, pitch, hooks))
        return 0;
    CPathRecord* layer = model.AddPathLayer(name, size, depth, g_CurrentSide, kPathColour);
    layer->kind = kClearingKind;
    AppendRowIntervals(model, *layer, 0);
    return 1;
}

}  // namespace

void CalcClearT3(CBoardModel& model, float reach, bool atHead)
{
    const float size = model.m_ToolWidth3;
    CToolClearing tool{};
    tool.name = "T3MIL";
    tool.colour = kT3MillColour;
    tool.size = size;
    tool.depth = model.m_ToolValue3;
    tool.atHead = atHead;
    tool.inset = size / kT3InsetDivisor;
    tool.spacing = size * (1.0f - model.m_ClearOverlap);
    tool.cut = {reach, reach / 2.0f - kT3TrimSlack, reach - kT3TrimSlack};
    tool.order.firstRadius = size + kT3FirstRadiusSlack;
    tool.order.linkLimit = size;
    tool.crossingTest = true;
    tool.leftOut = [](const CClearStroke& s, float tool3) {
        return s.y1 == s.y2 && std::fabs(s.x2 - s.x1) <= tool3 / kT3ShortStroke;
    };
    ClearWithTool(model, tool);
}

void CalcClearT2(CBoardModel& model)
{
    const float size = model.m_ToolWidth2;
    CToolClearing tool{};
    tool.name = "T2MIL";
    tool.colour = kT2MillColour;
    tool.size = size;
    tool.depth = model.m_ToolValue2;
    tool.atHead = false;
    tool.inset = size;
    tool.spacing = size * (1.0f - model.m_ClearOverlap);
    tool.cut = {0.0f, 0.0f, 0.0f};
    tool.order.firstRadius = size;
    tool.order.linkLimit = size;
    tool.crossingTest = true;
    tool.leftOut = [](const CClearStroke& s, float) { return s.y1 == s.y2 && s.x1 == s.x2; };
    ClearWithTool(model, tool);
}

void CalcClearT1(CBoardModel& model)
{
    const float size = model.m_ToolWidth1;
    CToolClearing tool{};
    tool.name = "T1MIL";
    tool.colour = kT1MillColour;
    tool.size = size;
    tool.depth = model.m_ToolValue1 + g_ZPulsesPerMM * kT1ExtraDepthMM;
    tool.atHead = true;
    tool.inset = model.m_ToolWidth2;
    tool.spacing = size / kT1SpacingDivisor;
    tool.cut = {size, size / kT1TrimDivisor, size / kT1TrimDivisor};
    tool.order.firstRadius = tool.order.linkLimit = size * kT1LinkFactor;
    tool.crossingTest = false;
    tool.leftOut = nullptr;
    ClearWithTool(model, tool);
}

int CalcPathT3(CBoardModel& model, int extra, const CPlanningHooks& hooks)
{
    return CalcPathLayer(model, "T3PATH", extra, model.m_ToolWidth3, model.m_ToolValue3,
                         kT3PitchDivisor, hooks);
}

int CalcPathT2(CBoardModel& model, int extra, const CPlanningHooks& hooks)
{
    return CalcPathLayer(model, "T2PATH", extra, model.m_ToolWidth2, model.m_ToolValue2,
                         kT2PitchDivisor, hooks);
}

void MarkTool3Coverage(CBoardModel& model, const CPlanningHooks& hooks)
{
    MarkCoverage(model,
                 {IDS_CALC_THIRD_CUTTER, model.m_ToolWidth3, 1.0f - model.m_ClearOverlap / 2.0f,
                  false},
                 hooks);
}

void MarkTool2Coverage(CBoardModel& model, const CPlanningHooks& hooks)
{
    MarkCoverage(model,
                 {IDS_CALC_SECOND_CUTTER, model.m_ToolWidth2, 1.0f - model.m_ClearOverlap / 4.0f,
                  true},
                 hooks);
}

void MergeMillIntoPath(CBoardModel& model, const std::string& name, const RECT& rect)
{
    auto made = std::make_unique<CClearRegion>();
    made->rect = rect;
    made->step = model.m_GridStep;
    CClearRegion& region = *AddTail(model.m_ClearRegionList, std::move(made));
    CMessageDlg notice;
    notice.ShowId(IDS_CALC_CLEARING);
    float size = 0.0f;
    {
        CWaitCursor wait;
        FitToBoard(region.rect);
        const RECT b = Normalised(region.rect);
        const char* source = name == "T1MIL"   ? "T1PATH"
                             : name == "T2MIL" ? "T2PATH"
                             : name == "T3MIL" ? "T3PATH"
                                               : nullptr;
        const CPathRecord* path = source ? model.FindPathLayerOnSide(source, g_CurrentSide) : nullptr;
        if (!path)
            return;
        size = path->size;
        region.step = TruncMil(size);
        std::vector<CClearStroke> strokes =
            CollectStrokes(RowsOfLayer(*path), b, size - size * model.m_ClearOverlap,
                           {kRectMinimum, kRectTrimBoth, kRectTrimInner});
        if (strokes.empty())
            return;
        notice.ShowId(IDS_SORTING_CLEARING);
        CStrokeOrderRule rule;
        rule.linkLimit = size > kRectWideTool ? size * kRectWideLink : size * kRectNarrowLink;
        rule.firstRadius = rule.linkLimit;
        KeepOrdered(region, std::move(strokes), rule);
    }
    CPathRecord* layer =
        AddClearingLayer(model, name, size, kRectLayerDepth, kRectangleColour, true);
    MoveRegionsIntoLayer(model, *layer, nullptr);
}
