// Clearing per tool: the free row intervals of the working side's raster
// turned into back-and-forth strokes inside one region, ordered nearest-next
// with short links, and kept as a clearing layer ("T1MIL", "T2MIL",
// "T3MIL"); the rasters of the clearing tools with their PATH layers
// ("T2PATH", "T3PATH"); the marking of what the layers of a wider tool
// already machine, so that the next clearing leaves it alone; and the
// clearing of a rectangle the operator draws, from a tool's PATH layer.
//
// The clearing generators read whatever rows the model holds: the caller
// lays them out for the tool first (an isolation run or a PATH run) and
// marks the coverage of the other tools into them.
#pragma once

#include "platform/win_types.h"
#include "records/planner_records.h"

#include <functional>
#include <string>
#include <vector>

class CBoardModel;
struct CPlanningHooks;

// Clearing with tool 3 (the widest): strokes trimmed by `reach` (mil) at
// their ends, the layer "T3MIL" at the head of the path-layer list when
// `atHead`, else at its tail.
void CalcClearT3(CBoardModel& model, float reach, bool atHead);
// Clearing with tool 2: "T2MIL" at the tail of the list.
void CalcClearT2(CBoardModel& model);
// Clearing with tool 1 (the finest): "T1MIL" at the head of the list.
void CalcClearT1(CBoardModel& model);

// The raster of tool 3 or 2 with the copper widened by the tool and `extra`
// mil cut out of its rows, kept as the layer "T3PATH" or "T2PATH" at the
// head of the list. 1 when finished; 0 when the operator cancelled, with no
// layer made and the raster empty.
int CalcPathT3(CBoardModel& model, int extra, const CPlanningHooks& hooks);
int CalcPathT2(CBoardModel& model, int extra, const CPlanningHooks& hooks);

// Burns into the rows what the working side's layers of the tool-3 or
// tool-2 width (other than PATH layers) already machine.
void MarkTool3Coverage(CBoardModel& model, const CPlanningHooks& hooks);
void MarkTool2Coverage(CBoardModel& model, const CPlanningHooks& hooks);

// Clears `rect` (mil; the board extent when none of its corners lies on the
// board) for the clearing layer `name` ("T1MIL", "T2MIL" or "T3MIL") from
// that tool's PATH layer of the working side, into a new layer of that name
// at the head of the list. Without the PATH layer, or when nothing of it
// lies in the rectangle, no layer is made.
void MergeMillIntoPath(CBoardModel& model, const std::string& name, const RECT& rect);

// The nearest-next ordering of clearing strokes. The first stroke leads;
// each next pick is the stroke whose nearer end lies nearest to the current
// end (ties to the earlier stroke), among those that are taken up: a stroke
// whose nearer end lies within `linkLimit` of the current stroke's start
// is taken up unless the move to it crosses an isolation path; any other
// only when it runs more than a radian off the current direction. With none
// taken up the first stroke left is taken, the way the last pick went. A
// pick nearer than `linkLimit` is joined by a link stroke.
struct CStrokeOrderRule {
    double firstRadius = 0.0;       // reach of the first pick (mil)
    double laterRadius = 100000.0;  // reach of every later pick
    double linkLimit = 0.0;         // mil
    // Whether the straight move crosses an isolation path; empty: never.
    std::function<bool(float x1, float y1, float x2, float y2)> crosses;
};
// With an index of the stroke ends, so that a pick looks near the current
// end first; the same order as the plain scan.
std::vector<CClearStroke> OrderClearStrokes(std::vector<CClearStroke> strokes,
                                            const CStrokeOrderRule& rule);
// Every remaining stroke scanned at every pick.
std::vector<CClearStroke> OrderClearStrokesPlain(std::vector<CClearStroke> strokes,
                                                 const CStrokeOrderRule& rule);
