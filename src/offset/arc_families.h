// Arc composition: the end caps of lines, the offsets of round pads and of
// rectangle corners that lie on one circle are gathered into families and
// each family is replaced by as few arcs as cover the same angles.
#pragma once

#include "records/offset_records.h"

// Replaces every candidate arc of `pieces` (an arc whose source is not an
// arc) by the merged arcs of its family, appended at the end of the list and
// to the pool; the arcs merged away are freed. Other pieces keep their places.
void ComposeArcs(CIsoElementPool& pool, CRefList<CIsoElement>& pieces);
