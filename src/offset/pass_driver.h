// The isolation pass driver: the paths of the working side for six (or
// ISOLAYER) tool passes. The first pass is offset exactly for every group of
// touching copper with fewer than 400 source elements (offset pieces, arc
// composition, trimming and the four removal passes); larger groups and every
// later pass go through the scan-line grid; duplicate paths between passes
// are removed when asked; each pass becomes one path layer.
#pragma once

#include "offset/path_layers.h"

#include <functional>
#include <string>

class CBoardModel;
class CMessageDlg;

// Groups of this many source elements or more go through the grid.
constexpr std::size_t ISO_EXACT_GROUP_LIMIT = 400;
// The driver keeps this many pass lists; the table holds more distances.
constexpr int ISO_MAX_PASSES = 20;
constexpr int ISO_PASS_TABLE = 50;

// The offset distance and tool name of each pass.
struct CIsoPassTable {
    float distance[ISO_PASS_TABLE] = {};
    std::string tool[ISO_PASS_TABLE];
};
CIsoPassTable BuildPassTable(const CIsoToolSettings& tools);

// The exact first pass of one group: the offset pieces of a source (line
// sources use the normal stored in Pt2), then, once all sources are in,
// arcs composed, pieces trimmed and the four removal passes run. `notice`
// (may be null) shows the stages.
void OffsetSource(CIsoElementPool& pool, CIsoGroup& group, CIsoElement& source, float d);
void FinishExactGroup(CIsoElementPool& pool, CIsoGroup& group, float d, CMessageDlg* notice);

// What the driver asks of the planner and the document.
struct CIsoPassHooks {
    // The grid pass over the marked copper at distance d: its segments in
    // the model's grid segment list; 0 when the operator cancelled.
    std::function<int(float d)> gridPass;
    // Orders the model's grid segment list for milling.
    std::function<void()> sortSegments;
    // The document's title.
    std::function<void(const std::string&)> setTitle;
};

// The passes of the working side from the source elements in
// model.m_IsoSources; the layers are appended to the path-layer list on
// side `side`. 1 when done; 0 when the operator cancelled a grid pass: the
// calculation stops there, no layer of this side is made and the copper's
// cap pads are gone again.
int IsoPassDriver(CBoardModel& model, const CIsoToolSettings& tools, int side,
                  const CIsoPassHooks& hooks);
