// Copper drawn by hand: line segments with their joints, rectangles, round
// pads and engraved text, new track widths, and the shift of a whole side that puts
// both sides of a board on one pad.
#pragma once

#include "geometry/point.h"
#include "platform/object_lists.h"
#include "platform/win_types.h"

#include <cstdint>
#include <vector>

struct CFlashRecord;
struct CTrackRecord;
class CBoardModel;

// A line track from `a` to `b`, appended with the next record number.
CTrackRecord* AddCopperLine(CBoardModel& model, CDPoint a, CDPoint b, float width);
// A joint flash (type 3) at `p`, put at the head of the flash list.
CFlashRecord* AddCopperJoint(CBoardModel& model, CDPoint p, float size, std::uint8_t aperture);
// The rectangle between two corners as one flat-ended track (type 1) along
// the middle of its x extent, as wide as the corners lie apart in x (whole
// mil); appended with the next record number.
CTrackRecord* AddCopperRect(CBoardModel& model, CDPoint corner1, CDPoint corner2);
// A round pad centred on `centre` reaching to `edge`, appended with the next
// record number.
CFlashRecord* AddCopperCircle(CBoardModel& model, CDPoint centre, CDPoint edge);

// Engraved text from the outline of a text read back as a drawing path (the
// text's cell first, its bottom-right corner third, then the glyphs; kinds
// as the path gives them): every glyph point gets a small joint flash and
// is joined to the point before it by a 6-mil stroke, unless it begins a
// figure. With (rx, ry) the cell's bottom-right corner, a path point (px, py)
// lands at (at.x + px, at.y + ry - py), or at (at.x + rx - px, ...) when
// `mirrored` (the solder side). Returns the number of strokes made.
int AddEngravedText(CBoardModel& model, const std::vector<POINT>& path,
                    const std::vector<unsigned char>& kinds, POINT at, bool mirrored);

// The new width of picked tracks; joints among the picked flashes follow
// with half the width.
void SetTrackWidth(const CRefList<CTrackRecord>& tracks, const CRefList<CFlashRecord>& flashes,
                   float width);

// Moves the whole working side by `offset`: both flash lists, every track's
// start and, for straight tracks (types below 3), its end.
void ShiftSideCopper(CBoardModel& model, CDPoint offset);
