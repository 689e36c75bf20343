// A closed polygon: the Gerber readers build one per area fill and turn it
// into outline and fill strokes; the editor builds one from a chain of path
// segments and asks which points lie inside.
#pragma once

#include "document/board_records.h"
#include "document/copper_records.h"
#include "document/record_lists.h"
#include "geometry/point.h"

#include <vector>

class CContour {
public:
    COwnedList<CDPoint> m_Vertices;     // corners in order; closes back to the first
    CDPoint m_Max;                      // largest x and y seen
    CDPoint m_Min;                      // smallest x and y seen
    // Strokes made by ComputeFill. The reader moves them into its track
    // list; whatever is left here is freed with the contour.
    COwnedList<CTrackRecord> m_DrawRecords;

    CContour();

    void AddPoint(CDPoint p);
    // Frees the vertices and the draw records and resets the corners.
    void Clear();

    // Rebuilds the vertices from a closed chain of segments: each joint of
    // two segments that begins a line becomes a corner; arcs add none.
    template <class List>
    void SetPoints(const List& chain)
    {
        std::vector<const CPathSegment*> segments;
        for (const auto& s : chain)
            segments.push_back(&*s);
        SetPointsFrom(segments);
    }

    // Even-odd test; 1 inside, 0 outside or empty.
    int IsPointInside(double x, double y) const;

    // No copper area this wide or tall (mil, 100 inches) is real: such a
    // contour comes from a damaged file, and filling it would take the
    // program's time and memory without end.
    static constexpr double kMaxFillSize = 100000.0;

    // Appends the outline strokes and the column fill strokes (mil). False
    // when the contour is larger than kMaxFillSize or not finite: then only
    // the outline is made.
    bool ComputeFill();

private:
    void SetPointsFrom(const std::vector<const CPathSegment*>& segments);
};
