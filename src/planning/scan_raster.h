// The scan-line raster of the working side: the free intervals of its rows
// and columns, one line a grid pitch from the board extent's lower-left
// corner, and the cutters that take widened copper out of them. Every end a
// cutter makes remembers its tag, the cutting shape's record id (later its
// net) and the shape itself, so the linking stage can name the copper beside
// it and the walks can follow the copper's outline.
//
// The cutters work on the model's m_RowList / m_ColumnList at m_GridStep,
// measured from g_BoardMinX / g_BoardMinY. The order of the intervals of a
// line is part of the result (a split appends its upper piece at the tail),
// so it is kept exactly.
#pragma once

#include "platform/object_lists.h"
#include "records/planner_records.h"

#include <cstddef>
#include <cstdint>

class CBoardModel;
struct CFlashRecord;
struct CTrackRecord;

// End tags of a CScanInterval.
namespace ScanTag {
constexpr std::uint8_t kSlopedSide = 0x01;     // side of a sloped straight track
constexpr std::uint8_t kHorizontalSide = 0x02; // side of a horizontal track
constexpr std::uint8_t kVerticalSide = 0x04;   // side of a vertical track
constexpr std::uint8_t kFlash = 0x08;          // round flash or a piece of an arc
constexpr std::uint8_t kCap = 0x09;            // round end of a track or an arc
constexpr std::uint8_t kUsed = 0x10;           // end taken by a walk
constexpr std::uint8_t kOnRow = 0x20;          // reported by the finders: end lies on a row
constexpr std::uint8_t kBoardEdge = CScanInterval::kBoardEdge;
} // namespace ScanTag

// Which lines a cutter works on: rows measure a shape's Y extent and hold
// intervals along X; columns the other way round.
enum class ScanAxis { Rows, Columns };

// The line at index n of a list, or null when the list is shorter.
CSubList* ListPositionAt(COwnedList<CSubList>& list, std::size_t n);

// The scan line just below `coordinate` (row list: a Y, column list: an X):
// n = trunc((coordinate - origin) / pitch); returns line n - 1 and sets *next
// to n, the index of the line at the coordinate. Null when n <= 0, when there
// are fewer than n + 1 lines, or when `list` is neither of the model's lists.
CSubList* ScanLineAt(CBoardModel& model, COwnedList<CSubList>& list, float coordinate,
                     std::size_t* next);

// The first pad of the model's second pad list whose record number is id.
CFlashRecord* FindNetShape(CBoardModel& model, std::int32_t id);

// The cutters. `source` is stored in the ends a cut makes: a CTrackRecord for
// track sides and caps of straight tracks and of arcs, a CFlashRecord for
// flash ends and arc pieces (tag 8). Widths and radii are used as given: the
// driver widens the record before the call and restores it after.
void CutTrack(CBoardModel& model, ScanAxis axis, const CTrackRecord& track, void* source);
void CutArcPiece(CBoardModel& model, ScanAxis axis, const CTrackRecord& piece, void* source);
void CutFlash(CBoardModel& model, ScanAxis axis, const CFlashRecord& circle, void* source);
void CutEndCap(CBoardModel& model, ScanAxis axis, const CFlashRecord& circle, void* source);
// An arc track (type 3 or 4) cut as ~3 mil pieces with round caps at both
// ends; `half` is half the isolation offset, by which the pieces widen.
void CutArcTrack(CBoardModel& model, ScanAxis axis, CTrackRecord& arc, float half);

// Between calls the cutters keep a copy of each line they cut (its
// intervals in order, with their ends), so that a cut looks only at the
// intervals and the lines within its reach. They take each line to lie where
// the raster lays it (row n at g_BoardMinY + n * pitch, column n at
// g_BoardMinX + n * pitch) and read afresh a line whose intervals other code
// has added, removed, replaced or reordered; code that moves an interval's
// ends in place between two cuts calls ForgetScanLineCopies.
// With `plain` set every cut walks each line of its range whole, keeping no
// copy: the reference the tests and benchmarks hold the copies to.
void SetPlainScanWalk(bool plain);
// Drops the copies (the pruning of short intervals calls it, and every
// cutting pass of a run at its start).
void ForgetScanLineCopies();

// A pass of cuts during which nothing but the cutters changes the lines: a
// run's cutting of one axis. Made at the pass's start and gone at its end,
// each dropping the copies; in between a copy, once read, is taken to hold
// its line without comparing the two, which on a large board cost a look at
// every interval of every line a cut reaches.
class CScanCutPass {
public:
    CScanCutPass();
    ~CScanCutPass();
    CScanCutPass(const CScanCutPass&) = delete;
    CScanCutPass& operator=(const CScanCutPass&) = delete;
};

// The document's names for the cutters.
inline void CutTrackRows(CBoardModel& m, const CTrackRecord& t, void* s) { CutTrack(m, ScanAxis::Rows, t, s); }
inline void CutTrackColumns(CBoardModel& m, const CTrackRecord& t, void* s) { CutTrack(m, ScanAxis::Columns, t, s); }
inline void CutFlashRows(CBoardModel& m, const CFlashRecord& c, void* s) { CutFlash(m, ScanAxis::Rows, c, s); }
inline void CutFlashColumns(CBoardModel& m, const CFlashRecord& c, void* s) { CutFlash(m, ScanAxis::Columns, c, s); }
inline void CutEndCapRows(CBoardModel& m, const CFlashRecord& c, void* s) { CutEndCap(m, ScanAxis::Rows, c, s); }
inline void CutEndCapColumns(CBoardModel& m, const CFlashRecord& c, void* s) { CutEndCap(m, ScanAxis::Columns, c, s); }
inline void CutArcTrackRows(CBoardModel& m, CTrackRecord& a, float h) { CutArcTrack(m, ScanAxis::Rows, a, h); }
inline void CutArcTrackColumns(CBoardModel& m, CTrackRecord& a, float h) { CutArcTrack(m, ScanAxis::Columns, a, h); }
