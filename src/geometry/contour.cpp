// Contours: corners, the even-odd inside test and the fill strokes.
#include "geometry/contour.h"

#include "geometry/plane_geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

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

struct Crossing {
    float y, m, b;
};

}  // namespace

CContour::CContour() : m_Max(-kInfinity, -kInfinity), m_Min(kInfinity, kInfinity) {}

void CContour::AddPoint(CDPoint p)
{
    m_Vertices.push_back(std::make_unique<CDPoint>(p));
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
    const CDPoint* prev = m_Vertices.back().get();
    for (const auto& vertex : m_Vertices) {
        float vx = float(vertex->x), vy = float(vertex->y);
        float px = float(prev->x), py = float(prev->y);
        // A vertex within 0.001 of the row counts as lying below it.
        bool vBelow = vy < fy || std::fabs(vy - fy) < 0.001;
        bool pBelow = py < fy || std::fabs(py - fy) < 0.001;
        bool crosses = (vBelow && fy < py) || (pBelow && fy < vy);
        if (crosses && fx < (fy - vy) * (px - vx) / (py - vy) + vx)
            inside = !inside;
        prev = vertex.get();
    }
    return inside;
}

bool CContour::ComputeFill()
{
    if (m_Vertices.empty())
        return true;

    // Outline: one thin stroke per edge.
    const CDPoint* prev = m_Vertices.back().get();
    for (const auto& vertex : m_Vertices) {
        m_DrawRecords.push_back(Stroke(float(prev->x), float(prev->y), float(vertex->x),
                                       float(vertex->y), 1.0f, 0));
        prev = vertex.get();
    }

    // A corner at infinity, or an area no board has, would make the column
    // walk endless.
    if (!std::isfinite(m_Min.x) || !std::isfinite(m_Max.x) || !std::isfinite(m_Min.y) ||
        !std::isfinite(m_Max.y) || m_Max.x - m_Min.x > kMaxFillSize ||
        m_Max.y - m_Min.y > kMaxFillSize)
        return false;

    // Fill: vertical strokes of width 3.0 every 2.0 mil, each pulled in from
    // the edges so that its round end stays inside the contour. The columns
    // are counted, so far from the origin, where adding a step to a double
    // may change nothing, the walk still ends.
    const double width = 3.0, radius = width / 2.0, step = width - 1.0;
    std::vector<Crossing> crossings;  // grows with the column: no fixed limit
    for (long k = 0;; ++k) {
        const double c = m_Min.x + radius + double(k) * step;
        if (!(c < m_Max.x - radius))
            break;
        crossings.clear();
        prev = m_Vertices.back().get();
        for (const auto& vertex : m_Vertices) {
            const CDPoint& v = *vertex;
            // An edge counts when the column passes between its ends; the end
            // the edge leaves from is included, so a column through a vertex
            // counts only the edge leaving it. Vertical edges never count.
            if ((prev->x >= c && c > v.x) || (prev->x <= c && c < v.x)) {
                float m = float((prev->y - v.y) / (prev->x - v.x));
                float b = float(v.y - double(m) * v.x);
                crossings.push_back({float(m * c + b), m, b});
            }
            prev = vertex.get();
        }
        if (crossings.size() % 2 != 0)
            continue;

        for (std::size_t i = 0; i + 1 < crossings.size(); ++i)
            for (std::size_t j = i; j < crossings.size(); ++j)
                if (crossings[i].y > crossings[j].y)
                    std::swap(crossings[i], crossings[j]);

        for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
            const Crossing& lo = crossings[i];
            const Crossing& hi = crossings[i + 1];
            // Where a circle of the stroke's radius on the column touches each
            // edge: the offset along the column is r * sqrt(1 + m^2).
            float yLo = lo.y + float(radius) * std::sqrt(1.0f + lo.m * lo.m);
            float yHi = hi.y - float(radius) * std::sqrt(1.0f + hi.m * hi.m);
            if (std::fabs(yHi - yLo) <= std::fabs(hi.y - lo.y) && yHi >= yLo)
                m_DrawRecords.push_back(Stroke(float(c), yHi, float(c), yLo, float(width), 1));
        }
    }
    return true;
}
