// The removal passes: after trimming, the offset pieces of one group of
// touching copper that run into the group's own copper (its line tracks, arc
// tracks, round pads and rectangular pads) are deleted, so that only the
// outline at the pass's distance stays. Each pass takes the group's sources
// and pieces, the pass distance d (mil) and a strict flag; it only deletes
// pieces (out of the list, then out of the pool) and makes none.
#pragma once

#include "offset/box_grid.h"
#include "records/offset_records.h"

#include <cstdint>

// Pieces that cross a line track, lie in its isolation band off its offset
// line, run along it or reach in round its ends. A track of no length is
// judged as the round pad it draws.
void RemoveLinePieces(CIsoElementPool& pool, CRefList<CIsoElement>& sources,
                      CRefList<CIsoElement>& pieces, float d, std::uint8_t strict);
// Pieces that cut into an arc track, run along its band or cross its circle.
void RemoveArcPieces(CIsoElementPool& pool, CRefList<CIsoElement>& sources,
                     CRefList<CIsoElement>& pieces, float d, std::uint8_t strict);
// Pieces whose middle lies within a round pad grown by d/2; the pad's own
// arcs are spared. The flag is not looked at.
void RemoveCirclePieces(CIsoElementPool& pool, CRefList<CIsoElement>& sources,
                        CRefList<CIsoElement>& pieces, float d, std::uint8_t strict);
// Pieces inside a rectangular pad grown by about d/2, or arcs crossing it;
// nothing at all with the flag 0.
void RemoveRectPieces(CIsoElementPool& pool, CRefList<CIsoElement>& sources,
                      CRefList<CIsoElement>& pieces, float d, std::uint8_t strict);

// Two directions (radians) are parallel, the same way or opposite, within
// `tolerance`; the comparison wraps through +-pi.
bool AreDirectionsParallel(double a, double b, double tolerance);
// The two directions point the same way within `tolerance`, wrapping.
bool AreDirectionsAlike(double a, double b, double tolerance);

// Variants that no stage calls. RemoveLinePieces with a band 1.0 wider, no
// rejection by boxes, no marking, no regard for large copper areas, a piece
// reaching from one end of the track to the other deleted outright and one
// lying within D/2.01 of an end deleted whatever the flag; the arc tests
// without the bulge test and with a narrower grown circle.
void RemoveLinePiecesAlt(CIsoElementPool& pool, CRefList<CIsoElement>& sources,
                         CRefList<CIsoElement>& pieces, float d, std::uint8_t strict);
// RemoveArcPieces without the small-arc and end-point tests, deleting
// instead an arc piece with the arc's own start and end angles (within 0.1
// degree), and judging crossings of the arc's grown circle.
void RemoveArcPiecesAlt(CIsoElementPool& pool, CRefList<CIsoElement>& sources,
                        CRefList<CIsoElement>& pieces, float d, std::uint8_t strict);
// Deletes from the list and the pool every line with an end, and every arc
// with its start or end point, outside the extent (its bounds inside).
void DeleteOutsideBoardExtent(CIsoElementPool& pool, CRefList<CIsoElement>& elements,
                              const CBox& extent);
