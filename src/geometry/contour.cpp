// Contours: corners, the even-odd inside test and the fill strokes.
#include "geometry/contour.h"

#include "geometry/plane_geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Starting corners: any point widens them, also at negative coordinates.
const double kInfinity = std::numeric_limits<double>::infinity();

bool Meets(double x1, double y1, double x2, double y2)
{
    return Distance(x1, y1, x2, y2) < 1.0;
}

CContourStroke Stroke(float x1, float y1, float x2, float y2, float width, int groupNo)
{
    return CContourStroke{x1, y1, x2, y2, width, groupNo};
}

// Crossings between two calls of the progress callback.
constexpr std::size_t kProgressWork = std::size_t(1) << 21;

}  // namespace

// Orders a column's crossings from the bottom up. Only y and the slope's
// square make a stroke, so crossings at the same height with the same
// square are interchangeable and any sort gives the same strokes. Where
// crossings at one height differ in slope (or a height is not a number) the
// pairing depends on the order the first form of the fill left them in:
// then that order is rebuilt from the corner order by its own exchange sort,
// so the strokes stay what they were.
void CContour::SortCrossings(std::vector<Crossing>& crossings)
{
    bool plain = std::none_of(crossings.begin(), crossings.end(),
                              [](const Crossing& c) { return std::isnan(c.y); });
    if (plain) {
        // Most columns cross an area once: two crossings.
        if (crossings.size() == 2) {
            if (crossings[1].y < crossings[0].y)
                std::swap(crossings[0], crossings[1]);
        } else {
            std::sort(crossings.begin(), crossings.end(),
                      [](const Crossing& a, const Crossing& b) { return a.y < b.y; });
        }
        for (std::size_t i = 0; i + 1 < crossings.size() && plain; ++i)
            plain = !(crossings[i].y == crossings[i + 1].y &&
                      crossings[i].m * crossings[i].m != crossings[i + 1].m * crossings[i + 1].m);
        if (plain)
            return;
    }
    std::sort(crossings.begin(), crossings.end(),
              [](const Crossing& a, const Crossing& b) { return a.edge < b.edge; });
    for (std::size_t i = 0; i + 1 < crossings.size(); ++i)
        for (std::size_t j = i; j < crossings.size(); ++j)
            if (crossings[i].y > crossings[j].y)
                std::swap(crossings[i], crossings[j]);
}

CContour::CContour() : m_Max(-kInfinity, -kInfinity), m_Min(kInfinity, kInfinity) {}

void CContour::AddPoint(CDPoint p)
{
    m_Vertices.push_back(p);
    m_Min.x = std::min(m_Min.x, p.x);
    m_Min.y = std::min(m_Min.y, p.y);
    m_Max.x = std::max(m_Max.x, p.x);
    m_Max.y = std::max(m_Max.y, p.y);
}

void CContour::Clear()
{
    m_Vertices.clear();
    m_DrawRecords.clear();
    m_Max = CDPoint(-kInfinity, -kInfinity);
    m_Min = CDPoint(kInfinity, kInfinity);
}

void CContour::SetPointsFrom(const std::vector<Edge>& segments)
{
    Clear();
    if (segments.size() < 2)
        return;
    const Edge* prev = &segments.front();
    // Each following segment, and last the pair (last, first) closing the chain.
    for (std::size_t i = 1; i <= segments.size(); ++i) {
        const Edge* s = &segments[i % segments.size()];
        bool startJoins = Meets(s->x1, s->y1, prev->x1, prev->y1) ||
                          Meets(s->x1, s->y1, prev->x2, prev->y2);
        if (s->type == 0)
            AddPoint(startJoins ? CDPoint(s->x1, s->y1) : CDPoint(s->x2, s->y2));
        prev = s;
    }
}

int CContour::IsPointInside(double x, double y) const
{
    if (m_Vertices.empty())
        return 0;
    float fx = float(x), fy = float(y);
    int inside = 0;
    const CDPoint* prev = &m_Vertices.back();
    for (const CDPoint& vertex : m_Vertices) {
        float vx = float(vertex.x), vy = float(vertex.y);
        float px = float(prev->x), py = float(prev->y);
        // A vertex within 0.001 of the row counts as lying below it.
        bool vBelow = vy < fy || std::fabs(vy - fy) < 0.001;
        bool pBelow = py < fy || std::fabs(py - fy) < 0.001;
        bool crosses = (vBelow && fy < py) || (pBelow && fy < vy);
        if (crosses && fx < (fy - vy) * (px - vx) / (py - vy) + vx)
            inside = !inside;
        prev = &vertex;
    }
    return inside;
}

bool CContour::ComputeFill(const std::function<void(int percent)>& progress, double maxSize)
{
    if (m_Vertices.empty())
        return true;

    // Outline: one thin stroke per edge.
    const CDPoint* prev = &m_Vertices.back();
    for (const CDPoint& vertex : m_Vertices) {
        m_DrawRecords.push_back(Stroke(float(prev->x), float(prev->y), float(vertex.x),
                                       float(vertex.y), 1.0f, 0));
        prev = &vertex;
    }

    // A corner at infinity, or an area no board has, would make the column
    // walk endless.
    if (!std::isfinite(m_Min.x) || !std::isfinite(m_Max.x) || !std::isfinite(m_Min.y) ||
        !std::isfinite(m_Max.y) || !(m_Max.x - m_Min.x <= std::min(maxSize, kMaxFillSize)) ||
        !(m_Max.y - m_Min.y <= std::min(maxSize, kMaxFillSize)))
        return false;

    // Fill: vertical strokes of width 3.0 every 2.0 mil, each pulled in from
    // the edges so that its round end stays inside the contour. The columns
    // are counted, so far from the origin, where adding a step to a double
    // may change nothing, the walk still ends; their x never decreases.
    const double width = 3.0, radius = width / 2.0, step = width - 1.0;
    std::vector<double>& columns = m_Columns;
    columns.clear();
    for (long k = 0;; ++k) {
        const double c = m_Min.x + radius + double(k) * step;
        if (!(c < m_Max.x - radius))
            break;
        columns.push_back(c);
    }
    if (columns.empty())
        return true;

    // The edge table: each edge with the run of columns it crosses. An edge
    // counts when the column passes between its ends; the end the edge leaves
    // from is included, so a column through a vertex counts only the edge
    // leaving it. Vertical edges never count. Edge i runs from corner i-1 to
    // corner i, the first from the last corner.
    const std::size_t n = m_Vertices.size();
    std::vector<ColumnEdge>& table = m_Table;
    table.clear();
    for (std::size_t i = 0; i < n; ++i) {
        const CDPoint& p = m_Vertices[i == 0 ? n - 1 : i - 1];
        const CDPoint& v = m_Vertices[i];
        std::size_t first = 0, end = 0;
        if (p.x > v.x) {  // columns with v.x < c <= p.x
            first = std::size_t(std::upper_bound(columns.begin(), columns.end(), v.x) - columns.begin());
            end = std::size_t(std::upper_bound(columns.begin(), columns.end(), p.x) - columns.begin());
        } else if (p.x < v.x) {  // columns with p.x <= c < v.x
            first = std::size_t(std::lower_bound(columns.begin(), columns.end(), p.x) - columns.begin());
            end = std::size_t(std::lower_bound(columns.begin(), columns.end(), v.x) - columns.begin());
        }
        if (first < end) {
            const float m = float((p.y - v.y) / (p.x - v.x));
            const float b = float(v.y - double(m) * v.x);
            // Where a circle of the stroke's radius on the column touches
            // the edge: the offset along the column is r * sqrt(1 + m^2).
            const float keepOff = float(radius) * std::sqrt(1.0f + m * m);
            table.push_back({first, end, i, m, b, keepOff});
        }
    }
    // Every crossing costs the walk a step and may make half a stroke:
    // counted before any is made, an area of too many is left unfilled.
    std::size_t total = 0;
    for (const ColumnEdge& e : table)
        total += e.end - e.first;
    if (total > kMaxFillCrossings)
        return false;
    std::sort(table.begin(), table.end(),
              [](const ColumnEdge& a, const ColumnEdge& b) { return a.first < b.first; });

    std::vector<const ColumnEdge*>& active = m_Active;
    std::vector<Crossing>& crossings = m_Crossings;  // grows with the column, within the bound
    active.clear();
    std::size_t next = 0, work = 0;
    for (std::size_t k = 0; k < columns.size(); ++k) {
        const double c = columns[k];
        while (next < table.size() && table[next].first == k)
            active.push_back(&table[next++]);
        std::erase_if(active, [k](const ColumnEdge* e) { return e->end <= k; });
        if (active.size() % 2 != 0)
            continue;

        crossings.clear();
        for (const ColumnEdge* e : active)
            crossings.push_back({float(e->m * c + e->b), e->m, e->keepOff, e->edge});
        SortCrossings(crossings);

        for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
            const Crossing& lo = crossings[i];
            const Crossing& hi = crossings[i + 1];
            const float yLo = lo.y + lo.keepOff;
            const float yHi = hi.y - hi.keepOff;
            if (std::fabs(yHi - yLo) <= std::fabs(hi.y - lo.y) && yHi >= yLo)
                m_DrawRecords.push_back(Stroke(float(c), yHi, float(c), yLo, float(width), 1));
        }

        work += crossings.size() + 1;
        if (progress && work >= kProgressWork) {
            work = 0;
            progress(int((k + 1) * 100 / columns.size()));
        }
    }
    return true;
}
