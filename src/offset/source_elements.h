// The copper of the working side as the offset engine's source elements:
// strokes become lines, rectangles with their four corners, and arcs; round
// pads become circles.
#pragma once

#include "platform/object_lists.h"
#include "records/copper_records.h"
#include "records/offset_records.h"

// Drops everything the engine made before, then makes the source elements of
// `tracks` (in order) and of `pads` (in order) into `lists.m_IsoSources` and
// the element pool. `side` is the working side, kept on arc sources.
void BuildSourceElements(COffsetEngineLists& lists, const COwnedList<CTrackRecord>& tracks,
                         const COwnedList<CFlashRecord>& pads, int side);
