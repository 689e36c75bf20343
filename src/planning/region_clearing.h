// Region clearing: copper-free area inside one rectangular region filled
// with cutting strokes along the cut raster's rows or columns, then ordered
// into one nearest-next chain with short connecting strokes. A generator
// returns non-zero when it made at least one stroke; the caller then keeps
// the region (appends it to the model's clearing-region list), else drops
// it. The strokes take the plunge value from the intervals they come from.
#pragma once

#include "platform/win_types.h"

#include <functional>

class CBoardModel;
struct CClearRegion;

// Whether the straight move (x1, y1)-(x2, y2) crosses a straight isolation
// segment of the grid path list.
int CrossesIsolationPath(const CBoardModel& model, float x1, float y1, float x2, float y2);

int ClearRegionRows(CBoardModel& model, CClearRegion& region);
int ClearRegionColumns(CBoardModel& model, CClearRegion& region);
// Short gaps only, `limit` mil (25 from every caller).
int ClearRegionSmall(CBoardModel& model, CClearRegion& region, int limit);
// The column intervals inside the circle round the region.
int ClearPadRing(CBoardModel& model, CClearRegion& region);

// The callers' protocol: a region over `rect` at the model's grid step,
// cleared by `generate`, appended to the model's clearing-region list when
// the generator made strokes and dropped otherwise; the generator's result.
using CRegionGenerator = std::function<int(CBoardModel&, CClearRegion&)>;
int AddClearRegion(CBoardModel& model, const RECT& rect, const CRegionGenerator& generate);

// One region per pad and per track of the working side, cleared with the
// pad-ring and row generators (the document's command 33039).
void MillPads(CBoardModel& model);
