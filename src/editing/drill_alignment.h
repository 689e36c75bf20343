// Automatic alignment of the drill holes to the copper pads: the holes of a
// drill file often sit in another origin than the photoplots; a common shift
// that puts most holes on pads is searched and applied.
#pragma once

#include "platform/object_lists.h"

struct CDrillTool;
struct CFlashRecord;

// While 0 the search stops (set to 1 when a search starts).
extern int g_AlignEnable;

// Searches a shift that puts the holes of `tools` onto the pads among
// `flashes` and moves every hole by it, pumping messages as it goes. Returns
// 1 when a shift was found, else 0 with the holes unchanged; either way the
// drill data count as set (g_DrillDataSet). Telling the operator and
// redrawing are the caller's.
int AutoAlignDrills(const COwnedList<CFlashRecord>& flashes, COwnedList<CDrillTool>& tools);
