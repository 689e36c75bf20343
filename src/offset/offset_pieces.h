// The outline pieces that run d/2 outside a source element's copper: lines
// and arcs, each a copy of its source with its own geometry. Every piece is
// appended to the receiving list and owned by the element pool.
#pragma once

#include "records/offset_records.h"

#include <cstdint>

// The left-hand normal of a line for offset d, of length (d + width) / 2.
CDPoint SegmentNormal(const CIsoElement& line, double d);
// Stores that normal into the line's Pt2.
void ComputeSegmentNormal(CIsoElement& line, double d);

// Left parallel, right parallel, start cap, end cap. With computeNormal 0
// the normal stored in the line's Pt2 is used.
void OffsetLineTrack(CIsoElementPool& pool, CRefList<CIsoElement>& out, CIsoElement& line,
                     double d, std::uint8_t computeNormal, std::uint8_t pass);
// Top, left, bottom, right sides, counter-clockwise; the corners are the
// corner circles' business.
void OffsetRectangle(CIsoElementPool& pool, CRefList<CIsoElement>& out, CIsoElement& rect,
                     double d, std::uint8_t pass);
// Inner arc (when it has a positive radius), outer arc, start cap, end cap.
void OffsetArcTrack(CIsoElementPool& pool, CRefList<CIsoElement>& out, CIsoElement& arc,
                    double d, std::uint8_t pass);
// One arc round the circle.
void OffsetCircle(CIsoElementPool& pool, CRefList<CIsoElement>& out, CIsoElement& circle,
                  double d, std::uint8_t pass);

// Copies `source` into `target` and moves the copy's line or arc outward by
// distance / 2. An element of no width is copied unchanged.
void WidenElementCopy(const CIsoElement& source, CIsoElement& target, float distance);
// The same widening in place, for every piece of the split variants.
void WidenSplitPieces(COffsetEngineLists& lists, float distance);
// Widens each element in place by distance / 2 along its own side: an arc
// by its ArcSense (left as it is when no radius would remain), a line with
// its offset normal grown too.
void WidenElements(CRefList<CIsoElement>& elements, float distance);
