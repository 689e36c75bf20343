// Duplicate path removal: the parts of one set of path pieces (the target)
// that run along the pieces of another (the reference) closer than a given
// spacing are split off and deleted, so two tool passes do not cut the same
// groove twice. The reference is only read.
#pragma once

#include "records/offset_records.h"

#include <cstdint>

// Splits target pieces where a reference piece ends beside them, then
// deletes the target pieces lying within each reference piece's band of
// width `dist`. New halves go to the tail of the target list and the pool;
// deleted pieces leave both. With `ownersStay` 0 each piece's Origin names
// the work list (a CRefList<CIsoElement>) it was gathered into, and that
// list follows too: it gains the halves and loses the deleted pieces.
void DeleteDuplicatePaths(CIsoElementPool& pool, CRefList<CIsoElement>& target,
                          const CRefList<CIsoElement>& reference, float dist,
                          std::uint8_t ownersStay);
