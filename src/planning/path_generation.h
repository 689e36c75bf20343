// Isolation paths from the cut raster: walks from each copper-side interval
// end to the nearest unused end of the same net on the neighbouring scan
// lines, tracing each net's outline at the isolation distance, and turns the
// walk into straight segments along track sides, arcs round flashes and the
// lines that join them (appended to the model's m_GridPathList).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

class CBoardModel;
struct CScanInterval;

// Every interval end of the model's rows and columns, sorted by its place
// along its line (x on a row, y on a column), so that a finder looks only at
// the ends that could lie within its reach instead of at every interval of
// its lines. The walks only mark ends used and never move an interval, so one
// index built before a run of walks stays true for the whole run.
class CScanEndIndex {
public:
    explicit CScanEndIndex(CBoardModel& model);

    struct End {
        float along;                // x on a row, y on a column
        std::uint32_t interval;     // position in the line's list
    };
    // The ends of row or column `line`, sorted by `along`.
    const std::vector<End>& RowEnds(std::size_t line) const { return m_Rows[line]; }
    const std::vector<End>& ColumnEnds(std::size_t line) const { return m_Columns[line]; }

private:
    std::vector<std::vector<End>> m_Rows;
    std::vector<std::vector<End>> m_Columns;
};

// Marks a walk's progress on the screen (a board point, mil); may be empty.
using CWalkStepHook = std::function<void(float x, float y)>;

// How a walk's arcs round flashes become pieces. Walked: an arc of fewer
// than six points is one chord from its first point to its last, a longer
// one an arc round the flash. True: a piece keeps to the points it was
// walked through, so a short arc is lines through its points, and an arc
// that strays from them (or they from it) by more than a quarter mil is too.
enum class CWalkPieces { Walked, True };

// Walks starting from the ends on the rows, and from those on the columns.
// Ends a walk takes stay marked used, so a second call of the column walk
// starts only where the first left ends unused.
void GenerateRowPaths(CBoardModel& model, const CWalkStepHook& drawStep = {},
                      CWalkPieces pieces = CWalkPieces::Walked);
void GenerateColumnPaths(CBoardModel& model, const CWalkStepHook& drawStep = {},
                         CWalkPieces pieces = CWalkPieces::Walked);

// The next end of a walk: the nearest unused end of `*net` within reach of
// (*x, *y) on the four columns and four rows round the point (an end of
// `source` counts as 1.4 times nearer). On success writes the end's point,
// net, tag (| 0x20 on a row) and side (1 start, 2 end), marks it used and
// returns its interval; else null. With an index of the model's ends only
// the ends near the point are looked at; the result is the same as without.
CScanInterval* FindNextRowInterval(CBoardModel& model, std::uint32_t* net, float* x, float* y,
                                   int* tag, int* side, const void* source,
                                   const CScanEndIndex* index = nullptr);
// The same over three columns and three rows, for any unused end of any net.
CScanInterval* FindNextIntervalWide(CBoardModel& model, std::uint32_t* net, float* x, float* y,
                                    int* tag, int* side, const CScanEndIndex* index = nullptr);

// Before the path-layer generators walk: column intervals shorter than 3 mil
// are marked used; row intervals shorter than 3 mil shrink to their midpoint.
void PruneShortIntervals(CBoardModel& model);
