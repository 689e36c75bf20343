// The isolation oracle: copper and sweep rasters, net labels on runs of
// pixels, and the clearance and isolation checks (see isolation_oracle.h).
#include "support/isolation_oracle.h"

#include "records/board_model.h"
#include "records/copper_records.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <limits>
#include <map>
#include <sstream>
#include <unordered_map>
#include <unordered_set>
#include <utility>

namespace {

constexpr double kPi = 3.14159265358979323846;
// Track type of an arc record; its chords follow it as ordinary tracks.
constexpr std::uint8_t kArcRecord = 8;
// How far the chords of a swept arc may stray from the arc (mil): far below
// any tolerance a check is given.
constexpr double kSweepSag = 0.02;
// Cells of the clearance index: no smaller than this (mil), and no more of
// them than kMaxIndexCells.
constexpr double kMinIndexCell = 8.0;
constexpr double kMaxIndexCells = 4.0e6;
// The rasters are drawn in bands of rows of at most this many bits, then
// kept as runs.
constexpr double kBandBits = 1.0 * (1 << 27);
// Longest side of a raster (pixels): 5,000,000 mil at 0.25 mil a pixel.
constexpr double kMaxSide = 2.0e7;

// A band of rows of the raster, a bit per pixel, 64-bit words.
class CBitRaster {
public:
    void Resize(int width, int height)
    {
        m_Width = width;
        m_Height = height;
        m_Words = (width + 63) / 64;
        m_Bits.assign(std::size_t(m_Words) * std::size_t(height), 0);
    }
    void Clear() { std::fill(m_Bits.begin(), m_Bits.end(), 0); }
    int Width() const { return m_Width; }
    int Height() const { return m_Height; }
    const std::uint64_t* Row(int y) const { return m_Bits.data() + std::size_t(y) * m_Words; }
    // Sets pixels x0..x1 (inclusive, clipped) of row y.
    void SetSpan(int y, int x0, int x1)
    {
        if (y < 0 || y >= m_Height)
            return;
        x0 = std::max(x0, 0);
        x1 = std::min(x1, m_Width - 1);
        if (x0 > x1)
            return;
        std::uint64_t* row = m_Bits.data() + std::size_t(y) * m_Words;
        const int w0 = x0 >> 6, w1 = x1 >> 6;
        const std::uint64_t first = ~std::uint64_t(0) << (x0 & 63);
        const std::uint64_t last = ~std::uint64_t(0) >> (63 - (x1 & 63));
        if (w0 == w1) {
            row[w0] |= first & last;
            return;
        }
        row[w0] |= first;
        for (int w = w0 + 1; w < w1; ++w)
            row[w] = ~std::uint64_t(0);
        row[w1] |= last;
    }

private:
    int m_Width = 0;
    int m_Height = 0;
    int m_Words = 0;
    std::vector<std::uint64_t> m_Bits;
};

double Length(const CDPoint& v) { return std::hypot(v.x, v.y); }

double SegmentDistance(const CDPoint& p, const CDPoint& a, const CDPoint& b)
{
    const CDPoint d = b - a;
    const double l2 = d.x * d.x + d.y * d.y;
    double t = l2 > 0.0 ? ((p.x - a.x) * d.x + (p.y - a.y) * d.y) / l2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    return Length(CDPoint(p.x - (a.x + t * d.x), p.y - (a.y + t * d.y)));
}

// Narrows [xl, xh] to the x with lo <= k*x + c <= hi; false when empty.
bool ClipLinear(double k, double c, double lo, double hi, double& xl, double& xh)
{
    if (std::fabs(k) < 1e-12)
        return c >= lo && c <= hi;
    double x0 = (lo - c) / k, x1 = (hi - c) / k;
    if (x0 > x1)
        std::swap(x0, x1);
    xl = std::max(xl, x0);
    xh = std::min(xh, x1);
    return xl <= xh;
}

// Where the row at height y crosses the band between the perpendiculars
// through a and b, within `half` of the line a-b.
bool BodySpan(const CDPoint& a, const CDPoint& b, double half, double y, double& xl, double& xh)
{
    const double len = Length(b - a);
    if (len <= 0.0)
        return false;
    const double ux = (b.x - a.x) / len, uy = (b.y - a.y) / len;
    xl = -std::numeric_limits<double>::infinity();
    xh = std::numeric_limits<double>::infinity();
    // Along the line: (x - a.x) ux + (y - a.y) uy in [0, len].
    if (!ClipLinear(ux, -a.x * ux + (y - a.y) * uy, 0.0, len, xl, xh))
        return false;
    // Across it: -(x - a.x) uy + (y - a.y) ux in [-half, half].
    return ClipLinear(-uy, a.x * uy + (y - a.y) * ux, -half, half, xl, xh);
}

bool DiscSpan(const CDPoint& c, double r, double y, double& xl, double& xh)
{
    const double dy = y - c.y;
    if (r <= 0.0 || std::fabs(dy) > r)
        return false;
    const double w = std::sqrt(r * r - dy * dy);
    xl = c.x - w;
    xh = c.x + w;
    return true;
}

// The shape's crossing with the row at height y: one interval, since every
// shape is convex.
bool ShapeSpan(const COracleShape& s, double y, double& xl, double& xh)
{
    if (s.kind == COracleShape::Kind::Disc)
        return DiscSpan(s.a, s.half, y, xl, xh);
    if (s.kind == COracleShape::Kind::Bar)
        return BodySpan(s.a, s.b, s.half, y, xl, xh);
    bool any = false;
    xl = std::numeric_limits<double>::infinity();
    xh = -std::numeric_limits<double>::infinity();
    double l = 0.0, h = 0.0;
    for (int piece = 0; piece < 3; ++piece) {
        const bool hit = piece == 0   ? DiscSpan(s.a, s.half, y, l, h)
                         : piece == 1 ? DiscSpan(s.b, s.half, y, l, h)
                                      : BodySpan(s.a, s.b, s.half, y, l, h);
        if (hit) {
            any = true;
            xl = std::min(xl, l);
            xh = std::max(xh, h);
        }
    }
    return any;
}

void ShapeBox(const COracleShape& s, double& minX, double& minY, double& maxX, double& maxY)
{
    minX = std::min(s.a.x, s.b.x) - s.half;
    maxX = std::max(s.a.x, s.b.x) + s.half;
    minY = std::min(s.a.y, s.b.y) - s.half;
    maxY = std::max(s.a.y, s.b.y) + s.half;
}

// Pixel index whose centre is the first at or after (ceil) or the last at or
// before (floor) board coordinate v, clamped into -1..limit.
int FirstPixel(double v, double origin, double pixel, int limit)
{
    const double f = std::ceil((v - origin) / pixel - 0.5);
    return int(std::clamp(f, -1.0, double(limit)));
}
int LastPixel(double v, double origin, double pixel, int limit)
{
    const double f = std::floor((v - origin) / pixel - 0.5);
    return int(std::clamp(f, -1.0, double(limit)));
}

// The rows a shape covers, clamped to the raster (first > last: none).
void ShapeRows(const COracleShape& s, const CDPoint& origin, double pixel, int height, int& first, int& last)
{
    double minX, minY, maxX, maxY;
    ShapeBox(s, minX, minY, maxX, maxY);
    first = std::max(0, FirstPixel(minY, origin.y, pixel, height));
    last = std::min(height - 1, LastPixel(maxY, origin.y, pixel, height));
}

// Draws the part of a shape that falls in the band whose first row is
// bandFirst.
void DrawShape(CBitRaster& band, int bandFirst, const COracleShape& s, const CDPoint& origin, double pixel,
               int height)
{
    int j0, j1;
    ShapeRows(s, origin, pixel, height, j0, j1);
    j0 = std::max(j0, bandFirst);
    j1 = std::min(j1, bandFirst + band.Height() - 1);
    for (int j = j0; j <= j1; ++j) {
        double xl, xh;
        if (ShapeSpan(s, origin.y + (j + 0.5) * pixel, xl, xh))
            band.SetSpan(j - bandFirst, FirstPixel(xl, origin.x, pixel, band.Width()),
                         LastPixel(xh, origin.x, pixel, band.Width()));
    }
}

// The index of the next bit equal to `one` at or after `from`, else width.
int FindNext(const std::uint64_t* row, int width, int from, bool one)
{
    if (from >= width)
        return width;
    const int words = (width + 63) / 64;
    int w = from >> 6;
    std::uint64_t bits = one ? row[w] : ~row[w];
    bits &= ~std::uint64_t(0) << (from & 63);
    while (bits == 0) {
        if (++w >= words)
            return width;
        bits = one ? row[w] : ~row[w];
    }
    return std::min(width, w * 64 + __builtin_ctzll(bits));
}

// Calls visit(x0, x1) for each run of bits equal to `one`, left to right.
template <class Visit>
void ForEachRun(const std::uint64_t* row, int width, bool one, Visit&& visit)
{
    for (int x = 0;;) {
        const int start = FindNext(row, width, x, one);
        if (start >= width)
            return;
        const int end = FindNext(row, width, start, !one);
        visit(start, end - 1);
        x = end;
    }
}

// Draws `count` items into runs, a band of rows at a time: rowsOf(k, first,
// last) gives the rows item k covers, draw(k, band, bandFirst) draws it.
template <class RowsOf, class Draw>
void DrawInBands(int width, int height, std::size_t count, RowsOf rowsOf, Draw draw, COracleRows& out)
{
    const int bandRows = int(std::clamp(kBandBits / std::max(1, width), 1.0, double(std::max(1, height))));
    std::vector<std::pair<int, int>> rows(count);
    std::vector<std::size_t> order(count);
    for (std::size_t k = 0; k < count; ++k) {
        rowsOf(k, rows[k].first, rows[k].second);
        order[k] = k;
    }
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return rows[a].first < rows[b].first; });
    std::vector<std::size_t> active;
    std::size_t next = 0;
    CBitRaster band;
    band.Resize(width, bandRows);
    out.runs.clear();
    out.rowStart.assign(std::size_t(height) + 1, 0);
    for (int first = 0; first < height; first += bandRows) {
        const int last = std::min(height, first + bandRows) - 1;
        band.Clear();
        active.erase(std::remove_if(active.begin(), active.end(),
                                    [&](std::size_t k) { return rows[k].second < first; }),
                     active.end());
        for (; next < count && rows[order[next]].first <= last; ++next)
            if (rows[order[next]].second >= first && rows[order[next]].first <= rows[order[next]].second)
                active.push_back(order[next]);
        for (std::size_t k : active)
            draw(k, band, first);
        for (int j = first; j <= last; ++j) {
            out.rowStart[std::size_t(j)] = out.runs.size();
            ForEachRun(band.Row(j - first), width, true,
                       [&](int x0, int x1) { out.runs.push_back({x0, x1, 0}); });
        }
    }
    out.rowStart[std::size_t(height)] = out.runs.size();
    out.runs.shrink_to_fit();
}

// Sets of runs joined as they are found; the root of a set is its earliest
// run, so sets numbered by their roots come in scan order.
class CUnionFind {
public:
    std::uint32_t Add()
    {
        m_Parent.push_back(std::uint32_t(m_Parent.size()));
        return m_Parent.back();
    }
    std::uint32_t Find(std::uint32_t x)
    {
        while (m_Parent[x] != x) {
            m_Parent[x] = m_Parent[m_Parent[x]];
            x = m_Parent[x];
        }
        return x;
    }
    void Union(std::uint32_t a, std::uint32_t b)
    {
        a = Find(a);
        b = Find(b);
        if (a < b)
            m_Parent[b] = a;
        else if (b < a)
            m_Parent[a] = b;
    }
    std::size_t Bytes() const { return m_Parent.capacity() * sizeof(std::uint32_t); }

private:
    std::vector<std::uint32_t> m_Parent;
};

// Joins each run of `cur` to the runs of `prev` it touches: with reach 1 a
// corner counts (8-connected), with 0 only a shared edge (4-connected). Both
// are in x order; firstPrev and firstCur are the set numbers of their first
// runs.
template <class Run>
void LinkRows(const Run* prev, std::size_t prevCount, std::uint32_t firstPrev, const Run* cur,
              std::size_t curCount, std::uint32_t firstCur, int reach, CUnionFind& sets)
{
    std::size_t k = 0;
    for (std::size_t r = 0; r < curCount; ++r) {
        while (k < prevCount && prev[k].x1 + reach < cur[r].x0)
            ++k;
        for (std::size_t q = k; q < prevCount && prev[q].x0 <= cur[r].x1 + reach; ++q)
            sets.Union(firstPrev + std::uint32_t(q), firstCur + std::uint32_t(r));
    }
}

struct CGapRun {
    std::int32_t x0;
    std::int32_t x1;
};

// Calls visit(x0, x1) for each run of a row of `width` pixels that lies in
// neither of two lists of runs (each in x order).
template <class Visit>
void ForEachGap(const COracleRun* a, std::size_t na, const COracleRun* b, std::size_t nb, int width, Visit&& visit)
{
    std::size_t ia = 0, ib = 0;
    int x = 0;
    while (ia < na || ib < nb) {
        const bool takeA = ib >= nb || (ia < na && a[ia].x0 <= b[ib].x0);
        const COracleRun& r = takeA ? a[ia++] : b[ib++];
        if (r.x0 > x)
            visit(x, r.x0 - 1);
        x = std::max(x, r.x1 + 1);
    }
    if (x < width)
        visit(x, width - 1);
}

}  // namespace

// ---- shapes ----

double COracleShape::SignedDistance(const CDPoint& p) const
{
    switch (kind) {
    case Kind::Disc:
        return Length(p - a) - half;
    case Kind::Stroke:
        return SegmentDistance(p, a, b) - half;
    case Kind::Bar: {
        const double len = Length(b - a);
        const double ux = (b.x - a.x) / len, uy = (b.y - a.y) / len;
        const double s = (p.x - a.x) * ux + (p.y - a.y) * uy;
        const double v = std::fabs(-(p.x - a.x) * uy + (p.y - a.y) * ux);
        const double dx = std::max({-s, s - len, 0.0}), dy = std::max(v - half, 0.0);
        if (dx > 0.0 || dy > 0.0)
            return std::hypot(dx, dy);
        return -std::min({s, len - s, half - v});
    }
    }
    return 0.0;
}

std::string COracleShape::Describe() const
{
    char text[200];
    if (flash)
        std::snprintf(text, sizeof text, "flash #%zu (record %d, group %d) r %.2f at (%.2f, %.2f)",
                      index, recordNo, groupNo, half, a.x, a.y);
    else
        std::snprintf(text, sizeof text,
                      "track #%zu (record %d, group %d) %s w %.2f (%.2f, %.2f)-(%.2f, %.2f)", index,
                      recordNo, groupNo, kind == Kind::Bar ? "square" : "round", 2 * half, a.x, a.y,
                      b.x, b.y);
    return text;
}

// ---- runs ----

const COracleRun* COracleRows::Row(int j, std::size_t& count) const
{
    if (j < 0 || std::size_t(j) + 1 >= rowStart.size()) {
        count = 0;
        return nullptr;
    }
    count = rowStart[std::size_t(j) + 1] - rowStart[std::size_t(j)];
    return runs.data() + rowStart[std::size_t(j)];
}

const COracleRun* COracleRows::RunAt(int i, int j) const
{
    std::size_t count;
    const COracleRun* row = Row(j, count);
    const COracleRun* end = row + count;
    const COracleRun* it = std::upper_bound(row, end, i, [](int x, const COracleRun& r) { return x < r.x0; });
    if (it == row)
        return nullptr;
    --it;
    return i <= it->x1 ? it : nullptr;
}

std::size_t COracleRows::Bytes() const
{
    return runs.capacity() * sizeof(COracleRun) + rowStart.capacity() * sizeof(std::size_t);
}

// ---- the oracle ----

COracleCopper::COracleCopper(const CBoardModel& model, const std::vector<const CPathRecord*>& layers,
                             const COracleOptions& options)
    : m_Pixel(options.pixel)
{
    ReadCopper(model);
    LayOutRaster(layers, options);
    if (!m_Error.empty())
        return;
    DrawCopper();
    LabelNets();
}

CIsolationOracle::CIsolationOracle(const CBoardModel& model, const CPathRecord& layer,
                                   const COracleOptions& options)
    : CIsolationOracle(std::make_shared<COracleCopper>(model, std::vector<const CPathRecord*>{&layer}, options),
                       layer, options.toolRadius)
{
}

CIsolationOracle::CIsolationOracle(std::shared_ptr<const COracleCopper> copper, const CPathRecord& layer,
                                   double toolRadius)
    : m_Copper(std::move(copper)), m_Layer(layer)
{
    m_ToolRadius = toolRadius >= 0.0 ? toolRadius : double(layer.size) / 2.0;
    if (m_Copper->Error().empty())
        DrawSweep();
}

void COracleCopper::ReadCopper(const CBoardModel& model)
{
    for (std::size_t i = 0; i < model.m_FlashList.size(); ++i) {
        const CFlashRecord& f = *model.m_FlashList[i];
        COracleShape s;
        s.kind = COracleShape::Kind::Disc;
        s.a = s.b = CDPoint(f.x, f.y);
        s.half = f.radius;
        s.flash = true;
        s.index = i;
        s.recordNo = f.recordNo;
        s.groupNo = f.groupNo;
        if (s.half > 0.0)
            m_Shapes.push_back(s);
    }
    for (std::size_t i = 0; i < model.m_TrackList.size(); ++i) {
        const CTrackRecord& t = *model.m_TrackList[i];
        if (t.type == kArcRecord || t.width <= 0.0f)
            continue;
        COracleShape s;
        s.a = CDPoint(t.x1, t.y1);
        s.b = CDPoint(t.x2, t.y2);
        s.half = t.width / 2.0;
        s.index = i;
        s.recordNo = t.recordNo;
        s.groupNo = t.groupNo;
        if (t.type == 1) {
            // A bar of no length covers nothing.
            if (Length(s.b - s.a) <= 0.0)
                continue;
            s.kind = COracleShape::Kind::Bar;
        } else {
            s.kind = Length(s.b - s.a) > 0.0 ? COracleShape::Kind::Stroke : COracleShape::Kind::Disc;
        }
        m_Shapes.push_back(s);
    }
}

std::vector<CDPoint> CIsolationOracle::CutPolyline(const CPathSegment& seg, double step, double sag)
{
    std::vector<CDPoint> points;
    if (seg.flag != 0)
        return points;
    const CDPoint s(seg.x1, seg.y1), e(seg.x2, seg.y2), c(seg.cx, seg.cy);
    const double r0 = Length(s - c), r1 = Length(e - c);
    if (seg.type == 0 || seg.type == 10 || std::max(r0, r1) <= 1e-9) {
        points = {s, e};
        return points;
    }
    const double a0 = std::atan2(s.y - c.y, s.x - c.x), a1 = std::atan2(e.y - c.y, e.x - c.x);
    double sweep = a1 - a0;
    if (seg.type == 1) {
        if (sweep < 0.0)
            sweep += 2 * kPi;
        if (sweep == 0.0)
            sweep = 2 * kPi;
    } else {
        if (sweep > 0.0)
            sweep -= 2 * kPi;
        if (sweep == 0.0)
            sweep = -2 * kPi;
    }
    const double rMax = std::max(r0, r1);
    double piece = sag < rMax ? 2.0 * std::acos(1.0 - sag / rMax) : kPi / 2;
    piece = std::min({piece, step / rMax, kPi / 8});
    const int n = std::max(1, int(std::ceil(std::fabs(sweep) / piece)));
    points.reserve(std::size_t(n) + 1);
    points.push_back(s);
    for (int k = 1; k < n; ++k) {
        const double t = double(k) / n;
        const double a = a0 + t * sweep, r = r0 + t * (r1 - r0);
        points.emplace_back(c.x + r * std::cos(a), c.y + r * std::sin(a));
    }
    points.push_back(e);
    return points;
}

void COracleCopper::LayOutRaster(const std::vector<const CPathRecord*>& layers, const COracleOptions& options)
{
    double minX = std::numeric_limits<double>::infinity(), minY = minX;
    double maxX = -minX, maxY = -minX;
    auto grow = [&](double x0, double y0, double x1, double y1) {
        minX = std::min(minX, x0);
        minY = std::min(minY, y0);
        maxX = std::max(maxX, x1);
        maxY = std::max(maxY, y1);
    };
    for (const COracleShape& s : m_Shapes) {
        double x0, y0, x1, y1;
        ShapeBox(s, x0, y0, x1, y1);
        grow(x0, y0, x1, y1);
    }
    double widest = 0.0;
    for (const CPathRecord* layer : layers) {
        const double r = options.toolRadius >= 0.0 ? options.toolRadius : double(layer->size) / 2.0;
        widest = std::max(widest, r);
        for (const auto& seg : layer->items)
            for (const CDPoint& p : CIsolationOracle::CutPolyline(*seg, 1e9, 1.0))
                grow(p.x - r, p.y - r, p.x + r, p.y + r);
    }
    // A full turn's chords stay inside its circle; one more tool radius
    // holds the circle itself.
    if (!(minX <= maxX)) {
        minX = minY = 0.0;
        maxX = maxY = 0.0;
    }
    const double margin = options.margin + widest;
    m_Origin = CDPoint(minX - margin, minY - margin);
    if (!(m_Pixel > 0.0)) {
        m_Error = "the pixel size must be above 0";
        return;
    }
    const double w = std::ceil((maxX - minX + 2 * margin) / m_Pixel) + 1;
    const double h = std::ceil((maxY - minY + 2 * margin) / m_Pixel) + 1;
    if (w > kMaxSide || h > kMaxSide) {
        char text[160];
        std::snprintf(text, sizeof text, "the raster of %.0f x %.0f pixels is too large", w, h);
        m_Error = text;
        return;
    }
    m_Width = int(w);
    m_Height = int(h);
}

void COracleCopper::DrawCopper()
{
    DrawInBands(
        m_Width, m_Height, m_Shapes.size(),
        [&](std::size_t k, int& first, int& last) { ShapeRows(m_Shapes[k], m_Origin, m_Pixel, m_Height, first, last); },
        [&](std::size_t k, CBitRaster& band, int bandFirst) {
            DrawShape(band, bandFirst, m_Shapes[k], m_Origin, m_Pixel, m_Height);
        },
        m_Copper);
}

void COracleCopper::LabelNets()
{
    std::vector<COracleRun>& runs = m_Copper.runs;
    const std::vector<std::size_t>& rowStart = m_Copper.rowStart;
    CUnionFind sets;
    for (std::size_t r = 0; r < runs.size(); ++r)
        sets.Add();
    for (int j = 1; j < m_Height; ++j) {
        const std::size_t p0 = rowStart[std::size_t(j - 1)], c0 = rowStart[std::size_t(j)];
        const std::size_t c1 = rowStart[std::size_t(j) + 1];
        LinkRows(runs.data() + p0, c0 - p0, std::uint32_t(p0), runs.data() + c0, c1 - c0, std::uint32_t(c0), 1,
                 sets);
    }
    std::unordered_map<std::uint32_t, std::uint32_t> netOfRoot;
    for (int j = 0; j < m_Height; ++j)
        for (std::size_t r = rowStart[std::size_t(j)]; r < rowStart[std::size_t(j) + 1]; ++r) {
            const std::uint32_t root = sets.Find(std::uint32_t(r));
            auto [it, fresh] = netOfRoot.emplace(root, std::uint32_t(m_Nets.size() + 1));
            if (fresh) {
                COracleNet net;
                net.id = int(it->second);
                net.at = PixelCentre(runs[r].x0, j);
                m_Nets.push_back(net);
            }
            runs[r].net = it->second;
            m_Nets[it->second - 1].pixels += std::size_t(runs[r].x1 - runs[r].x0 + 1);
        }
    // Name each net by the first shape found in it: its centre, or the middle
    // of a stroke, lies on its own copper.
    for (std::size_t i = 0; i < m_Shapes.size(); ++i) {
        const COracleShape& s = m_Shapes[i];
        const int net = NetAt((s.a.x + s.b.x) / 2, (s.a.y + s.b.y) / 2);
        if (net > 0 && m_Nets[std::size_t(net - 1)].shape < 0)
            m_Nets[std::size_t(net - 1)].shape = int(i);
    }
}

void CIsolationOracle::DrawSweep()
{
    const auto& items = m_Layer.items;
    const CDPoint origin = m_Copper->Origin();
    const double pixel = m_Copper->Pixel();
    const int width = m_Copper->Width(), height = m_Copper->Height();
    DrawInBands(
        width, height, items.size(),
        [&](std::size_t k, int& first, int& last) {
            // Coarse chords stray up to a mil inside the arc: one more mil.
            const std::vector<CDPoint> points = CutPolyline(*items[k], 1e9, 1.0);
            first = 1;
            last = 0;
            if (points.empty())
                return;
            double low = points[0].y, high = low;
            for (const CDPoint& p : points) {
                low = std::min(low, p.y);
                high = std::max(high, p.y);
            }
            first = std::max(0, FirstPixel(low - m_ToolRadius - 1.0, origin.y, pixel, height));
            last = std::min(height - 1, LastPixel(high + m_ToolRadius + 1.0, origin.y, pixel, height));
        },
        [&](std::size_t k, CBitRaster& band, int bandFirst) {
            const std::vector<CDPoint> points = CutPolyline(*items[k], 1e9, kSweepSag);
            COracleShape cut;
            cut.half = m_ToolRadius;
            for (std::size_t n = 0; n + 1 < points.size(); ++n) {
                cut.a = points[n];
                cut.b = points[n + 1];
                cut.kind = Length(cut.b - cut.a) > 0.0 ? COracleShape::Kind::Stroke : COracleShape::Kind::Disc;
                DrawShape(band, bandFirst, cut, origin, pixel, height);
            }
        },
        m_Swept);
}

CDPoint COracleCopper::PixelCentre(int i, int j) const
{
    return CDPoint(m_Origin.x + (i + 0.5) * m_Pixel, m_Origin.y + (j + 0.5) * m_Pixel);
}

bool COracleCopper::PixelOf(double x, double y, int& i, int& j) const
{
    const double fi = std::floor((x - m_Origin.x) / m_Pixel), fj = std::floor((y - m_Origin.y) / m_Pixel);
    if (!(fi >= 0 && fj >= 0 && fi < Width() && fj < Height()))
        return false;
    i = int(fi);
    j = int(fj);
    return true;
}

int COracleCopper::NetAt(double x, double y) const
{
    int i, j;
    if (!PixelOf(x, y, i, j))
        return 0;
    const COracleRun* run = m_Copper.RunAt(i, j);
    return run ? int(run->net) : 0;
}

bool COracleCopper::CopperAt(double x, double y) const
{
    int i, j;
    return PixelOf(x, y, i, j) && m_Copper.RunAt(i, j);
}

bool CIsolationOracle::SweptAt(double x, double y) const
{
    int i, j;
    return PixelOf(x, y, i, j) && m_Swept.RunAt(i, j);
}

std::size_t COracleCopper::MemoryBytes() const
{
    return m_Copper.Bytes() + m_Shapes.capacity() * sizeof(COracleShape) + m_Nets.capacity() * sizeof(COracleNet);
}

std::size_t CIsolationOracle::MemoryBytes() const
{
    return m_Copper->MemoryBytes() + m_Swept.Bytes();
}

// ---- (a) clearance ----

CClearanceReport CheckClearance(const CIsolationOracle& oracle, double required, double tolerance)
{
    return CheckClearance(oracle, required, [tolerance](const CPathSegment&) { return tolerance; });
}

CClearanceReport CheckClearance(const CIsolationOracle& oracle, double required,
                                const std::function<double(const CPathSegment&)>& toleranceOf)
{
    CClearanceReport report;
    report.required = required;
    report.error = oracle.Error();
    if (!report.error.empty())
        return report;
    const std::vector<COracleShape>& shapes = oracle.Shapes();

    // Shapes by cells of a grid over the raster, each in every cell that its
    // box grown by the limit meets: a sample need look only in its own cell.
    // Nearer than `required` is looked for too, for the nearest approach.
    const double reach = std::max(required, 0.0) + oracle.Pixel();
    const double cell = std::max({kMinIndexCell, reach,
                                  std::sqrt(double(oracle.Width()) * oracle.Height() / kMaxIndexCells) *
                                      oracle.Pixel()});
    const CDPoint origin = oracle.PixelCentre(0, 0) - CDPoint(oracle.Pixel() / 2, oracle.Pixel() / 2);
    const int nx = int(std::ceil(oracle.Width() * oracle.Pixel() / cell)) + 1;
    const int ny = int(std::ceil(oracle.Height() * oracle.Pixel() / cell)) + 1;
    auto cellRange = [&](const COracleShape& s, int& i0, int& j0, int& i1, int& j1) {
        double x0, y0, x1, y1;
        ShapeBox(s, x0, y0, x1, y1);
        i0 = std::clamp(int(std::floor((x0 - reach - origin.x) / cell)), 0, nx - 1);
        i1 = std::clamp(int(std::floor((x1 + reach - origin.x) / cell)), 0, nx - 1);
        j0 = std::clamp(int(std::floor((y0 - reach - origin.y) / cell)), 0, ny - 1);
        j1 = std::clamp(int(std::floor((y1 + reach - origin.y) / cell)), 0, ny - 1);
    };
    std::vector<std::uint32_t> start(std::size_t(nx) * ny + 1, 0);
    for (const COracleShape& s : shapes) {
        int i0, j0, i1, j1;
        cellRange(s, i0, j0, i1, j1);
        for (int j = j0; j <= j1; ++j)
            for (int i = i0; i <= i1; ++i)
                ++start[std::size_t(j) * nx + i + 1];
    }
    for (std::size_t k = 1; k < start.size(); ++k)
        start[k] += start[k - 1];
    std::vector<std::uint32_t> members(start.back());
    std::vector<std::uint32_t> fill(start.begin(), start.end() - 1);
    for (std::size_t n = 0; n < shapes.size(); ++n) {
        int i0, j0, i1, j1;
        cellRange(shapes[n], i0, j0, i1, j1);
        for (int j = j0; j <= j1; ++j)
            for (int i = i0; i <= i1; ++i)
                members[fill[std::size_t(j) * nx + i]++] = std::uint32_t(n);
    }

    const double step = oracle.Pixel();
    const auto& items = oracle.Layer().items;
    for (std::size_t n = 0; n < items.size(); ++n) {
        const double tolerance = toleranceOf(*items[n]);
        report.tolerance = std::max(report.tolerance, tolerance);
        const double limit = required - tolerance;  // a distance below this offends
        const std::vector<CDPoint> points = CIsolationOracle::CutPolyline(*items[n], step, kSweepSag);
        CClearanceViolation worst;
        worst.depth = -std::numeric_limits<double>::infinity();
        auto sample = [&](const CDPoint& p) {
            ++report.samples;
            const int i = std::clamp(int(std::floor((p.x - origin.x) / cell)), 0, nx - 1);
            const int j = std::clamp(int(std::floor((p.y - origin.y) / cell)), 0, ny - 1);
            const std::size_t c = std::size_t(j) * nx + i;
            double best = std::numeric_limits<double>::infinity();
            int nearest = -1;
            for (std::uint32_t m = start[c]; m < start[c + 1]; ++m) {
                const double d = shapes[members[m]].SignedDistance(p);
                if (d < best) {
                    best = d;
                    nearest = int(members[m]);
                }
            }
            report.nearest = std::min(report.nearest, best);
            if (best < limit) {
                ++report.badSamples;
                if (required - best > worst.depth) {
                    worst.segment = n;
                    worst.at = p;
                    worst.distance = best;
                    worst.depth = required - best;
                    worst.shape = nearest;
                }
            }
        };
        for (std::size_t k = 0; k + 1 < points.size(); ++k) {
            const CDPoint a = points[k], d = points[k + 1] - a;
            const int pieces = std::max(1, int(std::ceil(Length(d) / step)));
            for (int t = 0; t < pieces; ++t)
                sample(CDPoint(a.x + d.x * t / pieces, a.y + d.y * t / pieces));
        }
        if (!points.empty())
            sample(points.back());
        if (worst.shape >= 0)
            report.violations.push_back(worst);
    }
    std::stable_sort(report.violations.begin(), report.violations.end(),
                     [](const CClearanceViolation& l, const CClearanceViolation& r) { return l.depth > r.depth; });
    return report;
}

// ---- (b) isolation ----

CIsolationReport CheckIsolation(const CIsolationOracle& oracle)
{
    CIsolationReport report;
    report.error = oracle.Error();
    report.nets = oracle.NetCount();
    if (!report.error.empty())
        return report;
    const int width = oracle.Width(), height = oracle.Height();
    const COracleRows& copper = oracle.Copper();
    const COracleRows& swept = oracle.Swept();

    // The unswept blank (neither copper nor swept) in 4-connected regions;
    // each region remembers the nets whose copper it touches, and where.
    struct CContact {
        std::uint32_t gap;
        std::uint32_t net;
        CDPoint at;
    };
    CUnionFind regions;
    std::vector<std::uint32_t> gapLength;
    std::vector<CContact> contacts;
    std::vector<CGapRun> prev, cur;
    std::uint32_t prevFirst = 0;
    std::vector<std::uint32_t> seen;
    for (int j = 0; j < height; ++j) {
        cur.clear();
        const std::uint32_t curFirst = std::uint32_t(gapLength.size());
        std::size_t runCount[3], sweptCount;
        const COracleRun* rows[3] = {copper.Row(j - 1, runCount[0]), copper.Row(j, runCount[1]),
                                     copper.Row(j + 1, runCount[2])};
        const COracleRun* sweptRow = swept.Row(j, sweptCount);
        auto netAt = [&](int i) {
            const COracleRun* run = copper.RunAt(i, j);
            return run ? run->net : 0u;
        };
        ForEachGap(rows[1], runCount[1], sweptRow, sweptCount, width, [&](int x0, int x1) {
            const std::uint32_t id = regions.Add();
            cur.push_back({x0, x1});
            gapLength.push_back(std::uint32_t(x1 - x0 + 1));
            seen.clear();
            auto touch = [&](std::uint32_t net, int i) {
                if (net == 0 || std::find(seen.begin(), seen.end(), net) != seen.end())
                    return;
                seen.push_back(net);
                contacts.push_back({id, net, oracle.PixelCentre(i, j)});
            };
            if (x0 > 0)
                touch(netAt(x0 - 1), x0);
            if (x1 + 1 < width)
                touch(netAt(x1 + 1), x1);
            for (int side : {0, 2}) {
                const COracleRun* runs = rows[side];
                const COracleRun* end = runs + runCount[side];
                // The first run that ends at or after x0, then each that
                // starts by x1: the runs above or below sharing an edge.
                const COracleRun* it =
                    std::lower_bound(runs, end, x0, [](const COracleRun& r, int x) { return r.x1 < x; });
                for (; it != end && it->x0 <= x1; ++it)
                    touch(it->net, std::max(x0, int(it->x0)));
            }
        });
        if (j > 0)
            LinkRows(prev.data(), prev.size(), prevFirst, cur.data(), cur.size(), curFirst, 0, regions);
        std::swap(prev, cur);
        prevFirst = curFirst;
    }

    // Nets per region, each with the first place it was touched.
    std::unordered_map<std::uint32_t, std::vector<std::pair<std::uint32_t, CDPoint>>> netsOfRegion;
    std::unordered_set<std::uint64_t> known;
    for (const CContact& c : contacts) {
        const std::uint32_t root = regions.Find(c.gap);
        if (known.insert((std::uint64_t(root) << 32) | c.net).second)
            netsOfRegion[root].emplace_back(c.net, c.at);
    }
    std::unordered_map<std::uint32_t, double> area;
    for (const auto& [root, nets] : netsOfRegion)
        if (nets.size() > 1)
            area[root] = 0.0;
    const double pixelArea = oracle.Pixel() * oracle.Pixel();
    for (std::uint32_t g = 0; g < gapLength.size(); ++g) {
        auto it = area.find(regions.Find(g));
        if (it != area.end())
            it->second += gapLength[g] * pixelArea;
    }
    std::map<std::pair<int, int>, CJoinedNets> joins;
    for (const auto& [root, nets] : netsOfRegion) {
        if (nets.size() < 2)
            continue;
        const double size = area[root];
        for (std::size_t a = 0; a < nets.size(); ++a)
            for (std::size_t b = a + 1; b < nets.size(); ++b) {
                auto first = nets[a], second = nets[b];
                if (second.first < first.first)
                    std::swap(first, second);
                CJoinedNets join{int(first.first), int(second.first), first.second, second.second, size};
                auto [it, fresh] = joins.emplace(std::make_pair(join.netA, join.netB), join);
                if (!fresh && size < it->second.area)
                    it->second = join;
            }
    }
    for (const auto& [key, join] : joins)
        report.joins.push_back(join);
    return report;
}

// ---- clearing strokes ----

namespace {

// Stroke ends are floats of up to some 100,000 mil: a region's edge is met
// to within their rounding.
constexpr double kRegionSlack = 0.01;

struct CRowStroke {
    double y, low, high;
    std::size_t segment;
};

}  // namespace

CClearingReport CheckClearingStrokes(const CPathRecord& layer, const CClearingRegion& region, double spacing,
                                     double tolerance)
{
    CClearingReport report;
    report.region = region;
    report.spacing = spacing;
    report.tolerance = tolerance;
    std::vector<CRowStroke> strokes;
    for (std::size_t n = 0; n < layer.items.size(); ++n) {
        const CPathSegment& s = *layer.items[n];
        COutsideStroke worst;
        for (const CDPoint& p : CIsolationOracle::CutPolyline(s, 1.0, kSweepSag)) {
            const double beyond = std::max({region.minX - p.x, p.x - region.maxX, region.minY - p.y,
                                            p.y - region.maxY});
            if (beyond > worst.overshoot) {
                worst.overshoot = beyond;
                worst.at = p;
            }
        }
        if (worst.overshoot > kRegionSlack) {
            worst.segment = n;
            report.outside.push_back(worst);
        }
        if (s.type == 0 && s.flag == 0 && s.y1 == s.y2)
            strokes.push_back({s.y1, std::min(s.x1, s.x2), std::max(s.x1, s.x2), n});
    }
    std::sort(report.outside.begin(), report.outside.end(),
              [](const COutsideStroke& a, const COutsideStroke& b) { return a.overshoot > b.overshoot; });

    // Rows by height, strokes of a row from the left; each stroke is held
    // against the strokes of the rows above it that lie nearer than needed.
    std::sort(strokes.begin(), strokes.end(), [](const CRowStroke& a, const CRowStroke& b) {
        return a.y != b.y ? a.y < b.y : a.low < b.low;
    });
    const double needed = spacing - tolerance;
    std::size_t row = 0;
    while (row < strokes.size()) {
        std::size_t rowEnd = row;
        while (rowEnd < strokes.size() && strokes[rowEnd].y == strokes[row].y)
            ++rowEnd;
        ++report.rows;
        for (std::size_t other = rowEnd; other < strokes.size() && strokes[other].y - strokes[row].y < needed;
             ++other) {
            const CRowStroke& b = strokes[other];
            for (std::size_t k = row; k < rowEnd; ++k) {
                const CRowStroke& a = strokes[k];
                const double gap = std::max({0.0, b.low - a.high, a.low - b.high});
                const double distance = std::hypot(b.y - a.y, gap);
                if (distance < needed)
                    report.crowded.push_back({a.segment, b.segment, distance});
            }
        }
        row = rowEnd;
    }
    std::sort(report.crowded.begin(), report.crowded.end(),
              [](const CCrowdedStrokes& a, const CCrowdedStrokes& b) { return a.distance < b.distance; });
    return report;
}

std::string DescribeClearing(const CPathRecord& layer, const CClearingReport& report, std::size_t limit)
{
    std::ostringstream out;
    char text[240];
    const CClearingRegion& r = report.region;
    std::snprintf(text, sizeof text,
                  "region (%.2f, %.2f)-(%.2f, %.2f): %zu of %zu segments leave it; spacing %.3f mil less %.3f: "
                  "%zu pairs of strokes nearer, over %zu rows\n",
                  r.minX, r.minY, r.maxX, r.maxY, report.outside.size(), layer.items.size(), report.spacing,
                  report.tolerance, report.crowded.size(), report.rows);
    out << text;
    auto segment = [&](std::size_t n) {
        const CPathSegment& s = *layer.items[n];
        std::snprintf(text, sizeof text, "segment %zu (%.2f, %.2f)-(%.2f, %.2f)", n, s.x1, s.y1, s.x2, s.y2);
        return std::string(text);
    };
    for (std::size_t n = 0; n < report.outside.size() && n < limit; ++n) {
        const COutsideStroke& o = report.outside[n];
        std::snprintf(text, sizeof text, ": at (%.2f, %.2f) %.3f mil outside\n", o.at.x, o.at.y, o.overshoot);
        out << "  " << segment(o.segment) << text;
    }
    for (std::size_t n = 0; n < report.crowded.size() && n < limit; ++n) {
        const CCrowdedStrokes& c = report.crowded[n];
        std::snprintf(text, sizeof text, " %.3f mil apart\n", c.distance);
        out << "  " << segment(c.segmentA) << " and " << segment(c.segmentB) << text;
    }
    return out.str();
}

// ---- text ----

namespace {

std::string NetName(const CIsolationOracle& oracle, int id)
{
    const COracleNet& net = oracle.Net(id);
    char text[120];
    std::snprintf(text, sizeof text, "net %d (%zu px, at (%.2f, %.2f))", id, net.pixels, net.at.x, net.at.y);
    std::string name = text;
    if (net.shape >= 0)
        name += " " + oracle.Shapes()[std::size_t(net.shape)].Describe();
    return name;
}

}  // namespace

std::string DescribeClearance(const CIsolationOracle& oracle, const CClearanceReport& report, std::size_t limit)
{
    std::ostringstream out;
    if (!report.error.empty())
        return "clearance not checked: " + report.error + "\n";
    char text[240];
    std::snprintf(text, sizeof text,
                  "clearance %.3f mil less %.3f: %zu of %zu segments offend (%zu of %zu samples)\n",
                  report.required, report.tolerance, report.violations.size(), oracle.Layer().items.size(),
                  report.badSamples, report.samples);
    out << text;
    for (std::size_t n = 0; n < report.violations.size() && n < limit; ++n) {
        const CClearanceViolation& v = report.violations[n];
        const CPathSegment& s = *oracle.Layer().items[v.segment];
        std::snprintf(text, sizeof text,
                      "  segment %zu type %d (%.2f, %.2f)-(%.2f, %.2f): at (%.2f, %.2f) %.3f mil from copper, "
                      "%.3f mil too near; ",
                      v.segment, s.type, s.x1, s.y1, s.x2, s.y2, v.at.x, v.at.y, v.distance, v.depth);
        out << text << oracle.Shapes()[std::size_t(v.shape)].Describe() << "\n";
    }
    return out.str();
}

std::string DescribeIsolation(const CIsolationOracle& oracle, const CIsolationReport& report, std::size_t limit)
{
    std::ostringstream out;
    if (!report.error.empty())
        return "isolation not checked: " + report.error + "\n";
    out << report.joins.size() << " pairs of " << report.nets << " nets left joined\n";
    char text[200];
    for (std::size_t n = 0; n < report.joins.size() && n < limit; ++n) {
        const CJoinedNets& j = report.joins[n];
        std::snprintf(text, sizeof text, "  through %.1f mil² of blank, touching at (%.2f, %.2f) and (%.2f, %.2f):\n",
                      j.area, j.atA.x, j.atA.y, j.atB.x, j.atB.y);
        out << text << "    " << NetName(oracle, j.netA) << "\n    " << NetName(oracle, j.netB) << "\n";
    }
    return out.str();
}

// ---- picture ----

bool WriteOracleImage(const CIsolationOracle& oracle, const std::string& path, const CClearanceReport* clearance,
                      const CIsolationReport* isolation, const COracleWindow& window)
{
    if (!oracle.Error().empty() || oracle.Width() == 0 || oracle.Height() == 0)
        return false;
    const double pixel = oracle.Pixel();
    const CDPoint low = oracle.PixelCentre(0, 0) - CDPoint(pixel / 2, pixel / 2);
    COracleWindow w = window;
    if (w.Empty()) {
        w.minX = low.x;
        w.minY = low.y;
        w.maxX = low.x + oracle.Width() * pixel;
        w.maxY = low.y + oracle.Height() * pixel;
    }
    const double scale = std::max(pixel, std::max(w.maxX - w.minX, w.maxY - w.minY) / std::max(1, w.maxSide));
    const int iw = std::max(1, int(std::ceil((w.maxX - w.minX) / scale)));
    const int ih = std::max(1, int(std::ceil((w.maxY - w.minY) / scale)));
    std::vector<unsigned char> image(std::size_t(iw) * ih * 3, 255);
    auto put = [&](int u, int v, unsigned char r, unsigned char g, unsigned char b) {
        if (u < 0 || v < 0 || u >= iw || v >= ih)
            return;
        unsigned char* p = &image[(std::size_t(v) * iw + u) * 3];
        p[0] = r;
        p[1] = g;
        p[2] = b;
    };
    auto toImage = [&](const CDPoint& p, int& u, int& v) {
        u = int(std::floor((p.x - w.minX) / scale));
        v = int(std::floor((w.maxY - p.y) / scale));
    };
    std::unordered_set<int> joined;
    if (isolation)
        for (const CJoinedNets& j : isolation->joins) {
            joined.insert(j.netA);
            joined.insert(j.netB);
        }
    // The raster pixels under each picture column: firstPixel[u] up to
    // firstPixel[u + 1] - 1.
    std::vector<int> firstPixel(std::size_t(iw) + 1);
    for (int u = 0; u <= iw; ++u)
        firstPixel[std::size_t(u)] =
            std::clamp(int(std::ceil((w.minX + u * scale - low.x) / pixel - 0.5)), 0, oracle.Width());
    const std::size_t columns = std::size_t(iw);
    std::vector<double> copperCount(columns), sweptCount(columns), cutCount(columns);
    std::vector<int> netOf(columns);
    // Adds the pixels x0..x1 of one raster row to the columns under them.
    auto add = [&](std::vector<double>& count, int x0, int x1, int net) {
        auto it = std::upper_bound(firstPixel.begin(), firstPixel.end(), x0);
        for (int u = std::max(0, int(it - firstPixel.begin()) - 1); u < iw && firstPixel[std::size_t(u)] <= x1; ++u) {
            const int lo = std::max(x0, firstPixel[std::size_t(u)]);
            const int hi = std::min(x1, firstPixel[std::size_t(u) + 1] - 1);
            if (hi < lo)
                continue;
            count[std::size_t(u)] += hi - lo + 1;
            if (net && !netOf[std::size_t(u)])
                netOf[std::size_t(u)] = net;
        }
    };
    for (int v = 0; v < ih; ++v) {
        std::fill(copperCount.begin(), copperCount.end(), 0.0);
        std::fill(sweptCount.begin(), sweptCount.end(), 0.0);
        std::fill(cutCount.begin(), cutCount.end(), 0.0);
        std::fill(netOf.begin(), netOf.end(), 0);
        const int j0 = std::max(0, int(std::ceil((w.maxY - (v + 1) * scale - low.y) / pixel - 0.5)));
        const int j1 = std::min(oracle.Height(), int(std::ceil((w.maxY - v * scale - low.y) / pixel - 0.5))) - 1;
        for (int j = j0; j <= j1; ++j) {
            std::size_t nc, ns;
            const COracleRun* c = oracle.Copper().Row(j, nc);
            const COracleRun* s = oracle.Swept().Row(j, ns);
            for (std::size_t k = 0; k < nc; ++k)
                add(copperCount, c[k].x0, c[k].x1, int(c[k].net));
            for (std::size_t k = 0; k < ns; ++k)
                add(sweptCount, s[k].x0, s[k].x1, 0);
            for (std::size_t a = 0, b = 0; a < nc && b < ns;) {
                const int lo = std::max(c[a].x0, s[b].x0), hi = std::min(c[a].x1, s[b].x1);
                if (lo <= hi)
                    add(cutCount, lo, hi, 0);
                c[a].x1 < s[b].x1 ? ++a : ++b;
            }
        }
        const double rows = std::max(0, j1 - j0 + 1);
        for (int u = 0; u < iw; ++u) {
            const double total = rows * (firstPixel[std::size_t(u) + 1] - firstPixel[std::size_t(u)]);
            if (total <= 0)
                continue;
            if (cutCount[std::size_t(u)] > 0)
                put(u, v, 220, 0, 0);
            else if (2 * copperCount[std::size_t(u)] >= total)
                joined.count(netOf[std::size_t(u)]) ? put(u, v, 150, 60, 200) : put(u, v, 240, 150, 40);
            else if (2 * sweptCount[std::size_t(u)] >= total)
                put(u, v, 190, 190, 190);
        }
    }
    // Centre lines only where they leave the sweep round them visible.
    for (const auto& seg : oracle.Layer().items) {
        if (scale > oracle.ToolRadius())
            break;
        const std::vector<CDPoint> points = CIsolationOracle::CutPolyline(*seg, scale, kSweepSag);
        for (std::size_t k = 0; k + 1 < points.size(); ++k) {
            const CDPoint a = points[k], d = points[k + 1] - a;
            const int pieces = std::max(1, int(std::ceil(2 * Length(d) / scale)));
            for (int t = 0; t <= pieces; ++t) {
                int u, v;
                toImage(CDPoint(a.x + d.x * t / pieces, a.y + d.y * t / pieces), u, v);
                put(u, v, 0, 0, 0);
            }
        }
    }
    auto cross = [&](const CDPoint& p, unsigned char r, unsigned char g, unsigned char b) {
        int u, v;
        toImage(p, u, v);
        for (int k = -4; k <= 4; ++k) {
            put(u + k, v + k, r, g, b);
            put(u + k, v - k, r, g, b);
        }
    };
    if (clearance)
        for (const CClearanceViolation& v : clearance->violations)
            cross(v.at, 0, 170, 0);
    if (isolation)
        for (const CJoinedNets& j : isolation->joins) {
            cross(j.atA, 0, 60, 255);
            cross(j.atB, 0, 60, 255);
        }
    std::ofstream out(path, std::ios::binary);
    out << "P6\n" << iw << " " << ih << "\n255\n";
    out.write(reinterpret_cast<const char*>(image.data()), std::streamsize(image.size()));
    return bool(out);
}
