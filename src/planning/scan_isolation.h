// The scan-line isolation run: nets, a fresh raster at the run's pitch, the
// copper widened by the isolation offset cut out of its columns and rows,
// the cut ends named by the net beside them, the walks that trace the nets'
// outlines, and the plunge value written into what the run made. The general
// run serves the calculation settings and the processing macros; the tool
// runs make the isolation and PATH layers of tools 1 and 2.
#pragma once

#include "geometry/point.h"
#include "planning/path_generation.h"
#include "platform/host.h"
#include "settings/machine_settings.h"

#include <functional>

class CBoardModel;
struct CPathRecord;

// What a run needs of the document and the view above it.
struct CPlanningHooks {
    // Lays the raster out again at the model's pitch over the board extent
    // (the document's InitCells); 0 when it could not.
    std::function<int()> initCells;
    // Marks a walk's progress on the view; may be empty.
    CWalkStepHook drawStep;
    // The run is over: the view shows the paths (display style 2) and
    // repaints; may be empty.
    std::function<void()> pathsShown;
};

// The general run at `offset` (mil, the whole widening of a track; pads
// grow by half) and `pitch` (mil): end caps are cut at every straight
// track's ends, the ends are linked to their nets and, when
// `generateLines`, the walks append segments to the grid path list.
// A cancel keeps what was done so far, as the operator saw it.
void CalcIsolationLines(CBoardModel& model, float offset, int pitch, int generateLines,
                        const CPlanningHooks& hooks);

// The isolation of one tool (1 or 2) of the given width (mil) widened by
// `extra` mil, at the tool's pitch (tool 1: `t1Pitch`, tool 2: 3 mil):
// the layers "T1ISO"/"T1PATH" or "T2ISO"/"T2PATH" of the working side get
// the tool's width and `depth`. 1 when finished; 0 when the operator
// cancelled, with no layer made, the nets as they were and the raster empty.
int CalcIsolationTool(CBoardModel& model, int tool, int extra, float width, float depth,
                      int t1Pitch, const CPlanningHooks& hooks);

// The raster of a clearing tool: nets, a fresh raster at `pitch` (mil), the
// copper widened by `offset` (mil; pads by half) cut out of the rows only,
// without caps, intervals under 3 mil pruned, and the plunge value written
// into every interval. 1 when finished; 0 when the operator cancelled, with
// the nets as they were and the raster empty: a half-cut raster would let
// the clearing that reads it run over copper.
int CutClearingRows(CBoardModel& model, float offset, int pitch, const CPlanningHooks& hooks);

// The offset engine's grid pass at `distance` (mil): a fresh raster at
// half the distance (at most 6 mil), only the marked copper widened by the
// distance cut out of it, the ends named by the group numbers the engine
// wrote into the records, and the walks' segments appended to the grid path
// list. 1 when done (a distance under 2 mil makes nothing); 0 when the
// operator cancelled, with no segment added.
int TemplateGridPass(CBoardModel& model, float distance, const CPlanningHooks& hooks);

// A planning run in progress: g_Calculating set, the wait cursor shown and
// the measurement and outline windows hidden, for the object's lifetime.
class CCalculating {
public:
    CCalculating();
    ~CCalculating();
    CCalculating(const CCalculating&) = delete;
    CCalculating& operator=(const CCalculating&) = delete;

private:
    CWaitCursor m_Wait;
};

// One item of a layer as the generators make it (flag 0).
void AddItem(CPathRecord& layer, CDPoint start, CDPoint end, CDPoint centre, int type, int value);
// Every free row interval appended to `layer` as a line item with a chain
// number of its own, from `chain` on; returns the next number.
int AppendRowIntervals(const CBoardModel& model, CPathRecord& layer, int chain);

// A corner test for the ordering over the model's cut raster: a point is
// clear when the nearest row or the nearest column holds a free interval
// within half a pitch and half a mil of it, i.e. it lies off the widened
// copper as far as the raster can tell.
std::function<bool(float x, float y)> RasterCornerTest(const CBoardModel& model);

