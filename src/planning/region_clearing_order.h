// The chaining of a region's clearing strokes and the crossing test against
// the isolation paths, each in two forms: the full scans that say what the
// result is, and indexed forms that give the same result without looking at
// every stroke or segment at every step. The region generators use the
// indexed forms; the full scans stay as the reference they are checked
// against.
#pragma once

#include "platform/object_lists.h"
#include "records/planner_records.h"

#include <cstddef>
#include <functional>
#include <vector>

// How one generator's candidate strokes are chained.
struct CStrokeOrderRule {
    // The row rule: a coordinate prefilter, and a candidate is taken only
    // when the move to it stays off the isolation paths (its nearer end
    // within the reach of the last stroke's start) or when it turns away
    // from the last stroke's direction by more than a radian. Otherwise
    // the plain rule: the nearest end wins.
    bool rowRule = true;
    double firstBest = 100000.0;    // starting best distance of the first step
    double laterBest = 100000.0;    // of every later step
    // The small-gap chaining: every step starts with the direction flag
    // cleared, not only the step after a connecting stroke.
    bool clearFlagEachStep = false;
};

// Whether a straight move (x1, y1)-(x2, y2) crosses an isolation path.
using CMoveCrossTest = std::function<bool(float x1, float y1, float x2, float y2)>;
// Called after every step of the chain (the generators pump messages).
using CChainStepHook = std::function<void()>;

// The reach within which a stroke is joined to the next by a connecting
// stroke, mil: three pitches on a fine raster, one and a half otherwise.
float ClearingReach(int pitch);

// The chain over `candidates` (finite coordinates): the first taken as it
// is, then each step the nearest qualifying candidate, turned round when its
// end is the nearer, with a connecting stroke in front of it when it lies
// within the reach. Ties go to the earlier candidate of the list.
std::vector<CClearStroke> OrderClearStrokes(const std::vector<CClearStroke>& candidates, int pitch,
                                            const CStrokeOrderRule& rule,
                                            const CMoveCrossTest& crosses,
                                            const CChainStepHook& step = {});
// The same chain by scanning every remaining candidate at every step.
std::vector<CClearStroke> OrderClearStrokesFullScan(const std::vector<CClearStroke>& candidates,
                                                    int pitch, const CStrokeOrderRule& rule,
                                                    const CMoveCrossTest& crosses,
                                                    const CChainStepHook& step = {});

// A square grid over a box of points, mil (both indexes bucket by it): its
// origin, cell side and size.
struct CCellGrid {
    double minX = 0.0, minY = 0.0, side = 1.0;
    long long columns = 0, rows = 0;

    // Cells about `items` of them share on average `perCell`; never more
    // than `cellsPerItem` cells an item, and never finer than a mil.
    static CCellGrid Over(double minX, double minY, double maxX, double maxY, double items,
                          double perCell, double cellsPerItem);

    std::size_t Cells() const { return std::size_t(columns * rows); }
    long long Column(double x) const { return Clamp((x - minX) / side, columns); }
    long long Row(double y) const { return Clamp((y - minY) / side, rows); }
    std::size_t Cell(long long column, long long row) const
    {
        return std::size_t(row * columns + column);
    }

private:
    // Points beyond the box fall into its border cells.
    static long long Clamp(double cell, long long count)
    {
        if (!(cell > 0.0))
            return 0;
        if (cell >= double(count - 1))
            return count - 1;
        return static_cast<long long>(cell);
    }
};

// The straight isolation segments of a grid path list bucketed by place, for
// many crossing tests while the list stays as it is. The segments are copied,
// so the index stays usable (and answers for the list as it was) when the
// list changes.
class CIsolationCrossIndex {
public:
    explicit CIsolationCrossIndex(const COwnedList<CGridPathSegment>& segments);
    // The answer CrossesIsolationPath gives for the list the index was made of.
    bool Crosses(float x1, float y1, float x2, float y2) const;

private:
    struct Segment {
        float x1, y1, x2, y2;
    };
    bool Hits(std::size_t segment, float x1, float y1, float x2, float y2) const;

    std::vector<Segment> m_Segments;
    std::vector<std::size_t> m_Wide;        // segments over too many cells, always tested
    CCellGrid m_Grid;
    std::vector<std::size_t> m_CellStart;   // cells + 1 offsets into m_CellItems
    std::vector<std::size_t> m_CellItems;
    mutable std::vector<std::size_t> m_Seen; // query stamp per segment
    mutable std::size_t m_Stamp = 0;
};
