// A closed polygon: the Gerber readers build one per area fill and turn it
// into outline and fill strokes; the editor builds one from a chain of path
// segments and asks which points lie inside.
#pragma once

#include "geometry/point.h"

#include <cstddef>
#include <functional>
#include <vector>

// A stroke of the contour's outline or fill, mil. Outline strokes are 1 mil
// wide in group 0, fill strokes 3 mil wide in group 1; the reader that asked
// for them makes its records from them.
struct CContourStroke {
    float x1, y1, x2, y2;
    float width;
    int groupNo;
};

class CContour {
public:
    std::vector<CDPoint> m_Vertices;    // corners in order; closes back to the first
    CDPoint m_Max;                      // largest x and y seen
    CDPoint m_Min;                      // smallest x and y seen
    // Strokes made by ComputeFill, for the caller to turn into records.
    std::vector<CContourStroke> m_DrawRecords;

    CContour();

    void AddPoint(CDPoint p);
    // Empties the vertices and the draw records and resets the corners; the
    // room they took is kept for the next contour.
    void Clear();

    // Rebuilds the vertices from a closed chain of segments (pointers to
    // records with end points x1, y1, x2, y2 and a type, 0 for a line): each
    // joint of two segments that begins a line becomes a corner; arcs add
    // none.
    template <class List>
    void SetPoints(const List& chain)
    {
        std::vector<Edge> edges;
        for (const auto& s : chain)
            edges.push_back({double(s->x1), double(s->y1), double(s->x2), double(s->y2), int(s->type)});
        SetPointsFrom(edges);
    }

    // Even-odd test; 1 inside, 0 outside or empty.
    int IsPointInside(double x, double y) const;

    // No copper area this wide or tall (mil, 100 inches) is real: such a
    // contour comes from a damaged file, and filling it would take the
    // program's time and memory without end.
    static constexpr double kMaxFillSize = 100000.0;
    // Nor is an area whose columns cross its edges more often than this
    // (a fill stroke for every two crossings): a fill's time and memory
    // grow with its crossings, which its corners can make without end.
    static constexpr std::size_t kMaxFillCrossings = std::size_t(1) << 22;

    // Appends the outline strokes and the column fill strokes (mil). False
    // when the contour is wider or taller than `maxSize` (mil), not finite,
    // or its columns would cross more than kMaxFillCrossings edges: then
    // only the outline is made. A long fill calls `progress` now and then
    // with the share of columns done (0 to 100), so the caller can keep the
    // window alive; a short one never does.
    bool ComputeFill(const std::function<void(int percent)>& progress = {},
                     double maxSize = kMaxFillSize);

private:
    struct Edge {
        double x1, y1, x2, y2;
        int type;
    };
    void SetPointsFrom(const std::vector<Edge>& segments);

    // An edge of the fill and the columns [first, end) it crosses, with its
    // line y = m x + b and how far a stroke's end keeps off it along a
    // column, worked out once for all its columns.
    struct ColumnEdge {
        std::size_t first, end, edge;
        float m, b, keepOff;
    };
    struct Crossing {
        float y, m, keepOff;
        std::size_t edge;  // the edge's place in the corner order
    };
    static void SortCrossings(std::vector<Crossing>& crossings);

    // The fill's working lists, kept so that a reader filling thousands of
    // small areas does not set them up anew for each.
    std::vector<double> m_Columns;
    std::vector<ColumnEdge> m_Table;
    std::vector<const ColumnEdge*> m_Active;
    std::vector<Crossing> m_Crossings;
};
