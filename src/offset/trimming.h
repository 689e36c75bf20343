// Trimming: every pair of crossing offset pieces of a group is split at the
// crossing, so that each piece lies wholly on one side of every crossing and
// the removal passes can delete the parts that run into copper.
#pragma once

#include "records/offset_records.h"

#include <vector>

// Splits the pieces of `pieces` in place; the new pieces are appended to the
// list and to the pool, except line pieces shorter than 0.25, which are
// dropped.
void TrimGroup(CIsoElementPool& pool, CRefList<CIsoElement>& pieces);

// The pair tests: each splits a and b where they cross and appends the new
// parts to `made`; 1 when it split at least one of them.
int TrimLineLine(CIsoElement& a, CIsoElement& b, std::vector<CIsoElement>& made);
int TrimArcLine(CIsoElement& a, CIsoElement& b, std::vector<CIsoElement>& made);
int TrimArcArc(CIsoElement& a, CIsoElement& b, std::vector<CIsoElement>& made);

// Variants that no stage calls. TrimArcLine in single precision (the circle
// grown by 0.008, crossings moved onto a line end within 0.1 of them), and
// TrimArcArc with angles taken with pi as 3.14159.
int TrimArcLineAlt(CIsoElement& a, CIsoElement& b, std::vector<CIsoElement>& made);
int TrimArcArcAlt(CIsoElement& a, CIsoElement& b, std::vector<CIsoElement>& made);
// Splits every pair of crossing line pieces of the list (the document keeps
// such pieces in m_IsoSplitPieces) at their crossing, found in single
// precision, unless it lies on an end; the new parts are appended to the
// list and to the pool.
void SplitPiecesAtPoints(CIsoElementPool& pool, CRefList<CIsoElement>& pieces);
