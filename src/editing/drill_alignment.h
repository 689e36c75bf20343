// Automatic alignment of the drill holes to the copper pads: the holes of a
// drill file often sit in another origin than the photoplots; a common shift
// that puts most holes on pads is searched and applied.
#pragma once

#include "geometry/point.h"
#include "platform/object_lists.h"

#include <cstddef>

struct CDrillTool;
struct CFlashRecord;
struct CTrackRecord;

// While 0 the search stops (set to 1 when a search starts).
extern int g_AlignEnable;

// Searches a shift that puts the holes of `tools` onto the pads among
// `flashes` and moves every hole by it, pumping messages as it goes. Returns
// 1 when a shift was found, else 0 with the holes unchanged; either way the
// drill data count as set (g_DrillDataSet). Telling the operator and
// redrawing are the caller's.
int AutoAlignDrills(const COwnedList<CFlashRecord>& flashes, COwnedList<CDrillTool>& tools);

// The holes of `tools` whose centre lies on a pad: inside a flash of
// `flashes` (end pads of strokes do not count, a flash is taken as round) or
// inside one of `padTracks`, the strokes a pad was drawn with.
std::size_t HolesOnPads(const COwnedList<CDrillTool>& tools, const COwnedList<CFlashRecord>& flashes,
                        const CRefList<CTrackRecord>& padTracks);
// Whether `onPads` of `holes` holes is the share on pads that the search
// above accepts a shift with at the end of its test.
bool MostHolesOnPads(std::size_t onPads, std::size_t holes);
// Whether a pad of `flashes` (end pads of strokes do not count) hits `p`
// as a hole the search above puts on a pad: its centre nearer than 4 mil
// on both axes.
bool PadAt(const COwnedList<CFlashRecord>& flashes, const CDPoint& p);
// The number of holes of `tools`.
std::size_t HoleCount(const COwnedList<CDrillTool>& tools);
