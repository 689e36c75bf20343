// The nearest-next ordering of clearing strokes, in two forms that give the
// same order: a plain scan of every remaining stroke at every pick, and a
// grid of the stroke ends searched ring by ring outward from the current
// end, which a dense board's hundred thousand strokes need.
//
// Why the two agree: a scan in list order takes a candidate when its nearer
// end lies strictly nearer than the best so far and it is taken up (a test
// that does not depend on the distance), so the last one it takes is the
// taken-up candidate of the least distance, the earliest in the list among
// equals. The grid looks for exactly that candidate, comparing (distance,
// list position), and stops only when no unvisited end can come as near.
#include "planning/tool_clearing.h"

#include "platform/message_pump.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <utility>

namespace {

// A pick that turns away from the current stroke by more than this (radians)
// starts the next pass; a nearer pick running on the same way would cut the
// same area twice.
constexpr double kTurnAway = 1.0;
// Ordered strokes between two looks at the window's events.
constexpr std::size_t kPumpStrokes = 64;
// The ring search stops only when the unvisited ends lie farther by more
// than this fraction, so a distance rounded down never goes unseen.
constexpr double kRingSlack = 1e-9;
// Grid cells per stroke end, about.
constexpr double kEndsPerCell = 2.0;
constexpr std::size_t kMaxCellsPerAxis = 4096;

double Dist(double ax, double ay, double bx, double by)
{
    const double dx = bx - ax, dy = by - ay;
    // Never below |dx| or |dy|, so a stroke nearer than r always lies within
    // r of the current end along each axis as well.
    return std::sqrt(dx * dx + dy * dy);
}

double Direction(const CClearStroke& s)
{
    return std::atan2(double(s.y2) - s.y1, double(s.x2) - s.x1);
}

CClearStroke Reversed(CClearStroke s)
{
    std::swap(s.x1, s.x2);
    std::swap(s.y1, s.y2);
    return s;
}

// Where the ordering stands between two picks.
struct CCursor {
    double px = 0.0, py = 0.0;  // end of the last stroke
    double qx = 0.0, qy = 0.0;  // its start
    double theta = 0.0;         // its direction
    // Whether a pick runs as collected; with nothing taken up a pick goes
    // the way the last one went. The first pick, with no way before it,
    // runs as collected, as the lead stroke does.
    bool forward = true;
    std::size_t picks = 0;
};

struct CCandidate {
    double d = 0.0;     // distance of the nearer end
    bool forward = true; // the start is the nearer end
};

// A stroke whose ends lie equally near is never a candidate.
bool NearerEnd(const CCursor& k, const CClearStroke& c, CCandidate* out)
{
    const double d1 = Dist(k.px, k.py, c.x1, c.y1), d2 = Dist(k.px, k.py, c.x2, c.y2);
    if (d1 < d2)
        *out = {d1, true};
    else if (d2 < d1)
        *out = {d2, false};
    else
        return false;
    return true;
}

bool TakenUp(const CCursor& k, const CStrokeOrderRule& rule, const CClearStroke& c, bool forward)
{
    const float ex = forward ? c.x1 : c.x2, ey = forward ? c.y1 : c.y2;
    if (Dist(k.qx, k.qy, ex, ey) < rule.linkLimit)
        return !(rule.crosses && rule.crosses(float(k.px), float(k.py), ex, ey));
    const double direction = Direction(forward ? c : Reversed(c));
    return std::fabs(direction - k.theta) > kTurnAway;
}

void MoveTo(CCursor& k, const CClearStroke& s)
{
    k.px = s.x2;
    k.py = s.y2;
    k.qx = s.x1;
    k.qy = s.y1;
}

// Appends the pick that lay `r` away, with its link when that is short.
void Append(std::vector<CClearStroke>& out, CCursor& k, const CClearStroke& pick, double r,
            const CStrokeOrderRule& rule)
{
    const CClearStroke s = k.forward ? pick : Reversed(pick);
    k.theta = Direction(s);
    if (r < rule.linkLimit) {
        CClearStroke link;
        link.x1 = float(k.px);
        link.y1 = float(k.py);
        link.x2 = s.x1;
        link.y2 = s.y1;
        link.plungeValue = s.plungeValue;
        out.push_back(link);
        k.forward = false;
    }
    out.push_back(s);
    MoveTo(k, s);
    if (++k.picks % kPumpStrokes == 0)
        PumpMessages();
}

CCursor Lead(const CClearStroke& first, std::vector<CClearStroke>& out)
{
    CCursor k;
    k.theta = Direction(first);
    MoveTo(k, first);
    out.push_back(first);
    return k;
}

// The stroke ends by grid cell; entry 2i is the start of stroke i, 2i + 1
// its end. Removing a stroke takes both its entries out.
class CEndGrid {
public:
    explicit CEndGrid(const std::vector<CClearStroke>& strokes)
    {
        double minX = std::numeric_limits<double>::max(), minY = minX;
        double maxX = std::numeric_limits<double>::lowest(), maxY = maxX;
        for (const CClearStroke& s : strokes)
            for (auto [x, y] : {std::pair<double, double>{s.x1, s.y1}, {s.x2, s.y2}})
                if (std::isfinite(x) && std::isfinite(y)) {
                    minX = std::min(minX, x);
                    maxX = std::max(maxX, x);
                    minY = std::min(minY, y);
                    maxY = std::max(maxY, y);
                }
        if (minX > maxX)
            minX = maxX = minY = maxY = 0.0;
        const double w = std::max(maxX - minX, 1.0), h = std::max(maxY - minY, 1.0);
        const double ends = 2.0 * double(std::max<std::size_t>(strokes.size(), 1));
        m_Cell = std::max(std::sqrt(w * h * kEndsPerCell / ends), 1e-3);
        m_Cell = std::max({m_Cell, w / double(kMaxCellsPerAxis), h / double(kMaxCellsPerAxis)});
        m_OriginX = minX;
        m_OriginY = minY;
        m_Nx = std::size_t(w / m_Cell) + 1;
        m_Ny = std::size_t(h / m_Cell) + 1;
        m_Cells.resize(m_Nx * m_Ny);
        m_Slot.resize(strokes.size() * 2);
        for (std::size_t i = 0; i < strokes.size(); ++i) {
            Insert(std::uint32_t(2 * i), strokes[i].x1, strokes[i].y1);
            Insert(std::uint32_t(2 * i + 1), strokes[i].x2, strokes[i].y2);
        }
    }

    void Remove(std::size_t stroke)
    {
        for (std::uint32_t e : {std::uint32_t(2 * stroke), std::uint32_t(2 * stroke + 1)}) {
            auto& cell = m_Cells[m_Slot[e].first];
            const std::size_t at = m_Slot[e].second;
            cell[at] = cell.back();
            m_Slot[cell[at]].second = at;
            cell.pop_back();
        }
    }

    double Cell() const { return m_Cell; }
    std::size_t Nx() const { return m_Nx; }
    std::size_t Ny() const { return m_Ny; }
    std::size_t Column(double x) const { return Index(x, m_OriginX, m_Nx); }
    std::size_t Row(double y) const { return Index(y, m_OriginY, m_Ny); }
    const std::vector<std::uint32_t>& At(std::size_t column, std::size_t row) const
    {
        return m_Cells[row * m_Nx + column];
    }

private:
    // Outside the grid (or not a number) counts as its nearest border cell.
    std::size_t Index(double v, double origin, std::size_t n) const
    {
        const double f = (v - origin) / m_Cell;
        if (!(f > 0.0))
            return 0;
        if (f >= double(n - 1))
            return n - 1;
        return std::size_t(f);
    }

    void Insert(std::uint32_t entry, double x, double y)
    {
        const std::size_t cell = Row(y) * m_Nx + Column(x);
        m_Slot[entry] = {cell, m_Cells[cell].size()};
        m_Cells[cell].push_back(entry);
    }

    double m_Cell = 1.0;
    double m_OriginX = 0.0, m_OriginY = 0.0;
    std::size_t m_Nx = 1, m_Ny = 1;
    std::vector<std::vector<std::uint32_t>> m_Cells;
    std::vector<std::pair<std::size_t, std::size_t>> m_Slot;  // cell, place in it
};

}  // namespace

std::vector<CClearStroke> OrderClearStrokesPlain(std::vector<CClearStroke> strokes,
                                                 const CStrokeOrderRule& rule)
{
    std::vector<CClearStroke> out;
    if (strokes.empty())
        return out;
    CCursor k = Lead(strokes.front(), out);
    strokes.erase(strokes.begin());
    double start = rule.firstRadius;
    while (!strokes.empty()) {
        double r = start;
        std::size_t best = 0;
        for (std::size_t i = 0; i < strokes.size() && r != 0.0; ++i) {
            const CClearStroke& c = strokes[i];
            if (!((std::fabs(c.x1 - k.px) < r || std::fabs(c.x2 - k.px) < r) &&
                  (std::fabs(c.y1 - k.py) < r || std::fabs(c.y2 - k.py) < r)))
                continue;
            CCandidate p;
            if (!NearerEnd(k, c, &p) || !(p.d < r) || !TakenUp(k, rule, c, p.forward))
                continue;
            best = i;
            r = p.d;
            k.forward = p.forward;
        }
        Append(out, k, strokes[best], r, rule);
        strokes.erase(strokes.begin() + std::ptrdiff_t(best));
        start = rule.laterRadius;
    }
    return out;
}

std::vector<CClearStroke> OrderClearStrokes(std::vector<CClearStroke> strokes,
                                            const CStrokeOrderRule& rule)
{
    std::vector<CClearStroke> out;
    if (strokes.empty())
        return out;
    out.reserve(strokes.size() * 2);
    CCursor k = Lead(strokes.front(), out);
    CEndGrid grid(strokes);
    std::vector<char> removed(strokes.size(), 0);
    auto take = [&](std::size_t i) {
        removed[i] = 1;
        grid.Remove(i);
    };
    take(0);
    std::size_t firstLeft = 1;
    double start = rule.firstRadius;
    const std::size_t rings = std::max(grid.Nx(), grid.Ny());

    for (std::size_t left = strokes.size() - 1; left > 0; --left) {
        const std::size_t column0 = grid.Column(k.px), row0 = grid.Row(k.py);
        double bestD = std::numeric_limits<double>::infinity();
        std::size_t best = strokes.size();
        bool bestForward = true;
        auto visit = [&](std::size_t column, std::size_t row) {
            for (std::uint32_t e : grid.At(column, row)) {
                const std::size_t i = e / 2;
                CCandidate p;
                // Each stroke is judged once, from its nearer end.
                if (!NearerEnd(k, strokes[i], &p) || p.forward != (e % 2 == 0) || !(p.d < start))
                    continue;
                if (p.d > bestD || (p.d == bestD && i > best))
                    continue;
                if (!TakenUp(k, rule, strokes[i], p.forward))
                    continue;
                bestD = p.d;
                best = i;
                bestForward = p.forward;
            }
        };
        for (std::size_t ring = 0; ring <= rings; ++ring) {
            if (ring > 0) {
                const double nearest = double(ring - 1) * grid.Cell() * (1.0 - kRingSlack);
                if (nearest >= start || nearest > bestD)
                    break;
            }
            const long long lo = (long long)row0 - (long long)ring, hi = (long long)row0 + (long long)ring;
            const long long west = (long long)column0 - (long long)ring, east = (long long)column0 + (long long)ring;
            const long long lastRow = (long long)grid.Ny() - 1, lastColumn = (long long)grid.Nx() - 1;
            for (long long row = std::max(lo, 0LL); row <= std::min(hi, lastRow); ++row) {
                if (row == lo || row == hi) {
                    for (long long column = std::max(west, 0LL); column <= std::min(east, lastColumn);
                         ++column)
                        visit(std::size_t(column), std::size_t(row));
                    continue;
                }
                if (west >= 0)
                    visit(std::size_t(west), std::size_t(row));
                if (east <= lastColumn && east != west)
                    visit(std::size_t(east), std::size_t(row));
            }
        }

        double r = start;
        if (best < strokes.size()) {
            r = bestD;
            k.forward = bestForward;
        } else {
            while (removed[firstLeft])
                ++firstLeft;
            best = firstLeft;
        }
        Append(out, k, strokes[best], r, rule);
        take(best);
        start = rule.laterRadius;
    }
    return out;
}
