// Lines and rectangles written into the image's pixels.
#include "view/qt/pixel_shapes.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace {

int FloorToInt(double v)
{
    int i = int(v);
    return v < i ? i - 1 : i;
}

int CeilToInt(double v)
{
    int i = int(v);
    return v > i ? i + 1 : i;
}

// a / b in 16.16 fixed point.
int FixedDiv(int a, int b)
{
    return int((std::int64_t(a) * 65536) / b);
}

}  // namespace

void ThinLine(const CPixelRows& px, POINT a, POINT b, bool caps, std::uint32_t colour)
{
    if (a.x == b.x && a.y == b.y) {
        px.bits[std::ptrdiff_t(a.y) * px.stride + a.x] = colour;
        return;
    }
    // Level and upright lines, the most of a board, in one run: from the
    // first end to the last, or to the pixel before it without caps.
    if (a.y == b.y) {
        px.Run(a.y, std::min(a.x, b.x), std::max(a.x, b.x) - (caps ? 0 : 1), colour);
        return;
    }
    if (a.x == b.x) {
        std::uint32_t* p = px.bits + std::ptrdiff_t(std::min(a.y, b.y)) * px.stride + a.x;
        for (int n = std::abs(b.y - a.y) + (caps ? 1 : 0); n > 0; --n, p += px.stride)
            *p = colour;
        return;
    }
    // Ends in 26.6 fixed point; the walk goes along the longer axis (major
    // m), the other (minor n) follows in 16.16.
    auto walk = [&](int m1, int n1, int m2, int n2, auto put) {
        if (m1 > m2) {
            std::swap(m1, m2);
            std::swap(n1, n2);
        }
        const int step = FixedDiv(n2 - n1, m2 - m1);
        int n = n1 * 1024;
        if (caps) {
            m1 -= 32;
            n -= step >> 1;
            m2 += 32;
        }
        int m = (m1 + 32) >> 6;
        const int mEnd = (m2 + 32) >> 6;
        if (m == mEnd)
            return;
        n += ((m * 64) + (step > 0 ? 32 : 0) - m1) * step >> 6;
        for (; m < mEnd; ++m, n += step)
            put(m, n >> 16);
    };
    auto put = [&](int x, int y) { px.bits[std::ptrdiff_t(y) * px.stride + x] = colour; };
    if (std::abs(b.x - a.x) < std::abs(b.y - a.y))
        walk(a.y * 64, a.x * 64, b.y * 64, b.x * 64, [&](int y, int x) { put(x, y); });
    else
        walk(a.x * 64, a.y * 64, b.x * 64, b.y * 64, put);
}

namespace {

// Pixel centres nudged up and left by a hair: a centre exactly on the right
// or bottom edge then falls inside, one on the left or top edge outside.
constexpr double kNudge = 0.5 - 1.0 / 256.0;

// The pixels of a round end, row by row: for a disc of a pen width centred
// on a pixel corner, the pixels each row has from `left` to `right` off the
// centre, for rows -kReach to kReach off it; a row without pixels has them
// from far right to far left, which leaves a span it is joined to as it was.
struct CDiscRows {
    static constexpr int kReach = CRoundLineLimits::kLargestPen / 2 + 1;
    static constexpr int kNone = 1 << 20;
    int left[2 * kReach + 1];
    int right[2 * kReach + 1];
    // The rows off the centre the pen reaches (whose nudged centres lie
    // within half its width).
    int above = 0, below = 0;
};

CDiscRows MakeDiscRows(int width)
{
    const double r = width / 2.0;
    CDiscRows d{};
    for (int k = -CDiscRows::kReach; k <= CDiscRows::kReach; ++k) {
        const double v = k + kNudge;
        int left = CDiscRows::kNone, right = -CDiscRows::kNone;
        if (v * v < r * r) {
            const double h = std::sqrt(r * r - v * v);
            left = FloorToInt(-h - kNudge) + 1;
            right = CeilToInt(h - kNudge) - 1;
            if (left > right) {
                left = CDiscRows::kNone;
                right = -CDiscRows::kNone;
            }
        }
        d.left[k + CDiscRows::kReach] = left;
        d.right[k + CDiscRows::kReach] = right;
    }
    d.above = -(FloorToInt(-r - kNudge) + 1);
    d.below = CeilToInt(r - kNudge) - 1;
    return d;
}

const CDiscRows& DiscRows(int width)
{
    static const auto table = [] {
        std::array<CDiscRows, CRoundLineLimits::kLargestPen + 1> t{};
        for (int w = 0; w <= CRoundLineLimits::kLargestPen; ++w)
            t[std::size_t(w)] = MakeDiscRows(w);
        return t;
    }();
    return table[std::size_t(width)];
}

}  // namespace

void RoundLine(const CPixelRows& px, POINT a, POINT b, int width, std::uint32_t colour)
{
    if ((a.x == b.x && a.y == b.y) || width < 1 || width > CRoundLineLimits::kLargestPen)
        return;
    // The shape does not depend on the direction: a is the upper end.
    if (a.y > b.y)
        std::swap(a, b);
    const CDiscRows& disc = DiscRows(width);
    constexpr int reach = CDiscRows::kReach, none = CDiscRows::kNone;
    const int top = std::max(a.y - disc.above, 0), bottom = std::min(b.y + disc.below, px.height - 1);
    const double r = width / 2.0;
    const int dx = b.x - a.x, dy = b.y - a.y;

    // A line wholly inside the image needs no clipping of its runs.
    const int margin = disc.above + disc.below + 2;
    const bool inside = top == a.y - disc.above && bottom == b.y + disc.below &&
                        std::min(a.x, b.x) - margin >= 0 && std::max(a.x, b.x) + margin < px.width;

    // Row by row, top down: the body's pixels (from `body`), joined by
    // those of the round ends on the rows these reach; spans of one convex
    // shape that overlap.
    auto rows = [&](auto body) __attribute__((always_inline)) {
        auto row = [&](int y, bool nearA, bool nearB) __attribute__((always_inline)) {
            const int ka = y - a.y, kb = y - b.y;
            int x0 = none, x1 = -none;
            body(ka, kb, x0, x1);
            if (nearA) {
                x0 = std::min(x0, a.x + disc.left[ka + reach]);
                x1 = std::max(x1, a.x + disc.right[ka + reach]);
            }
            if (nearB) {
                x0 = std::min(x0, b.x + disc.left[kb + reach]);
                x1 = std::max(x1, b.x + disc.right[kb + reach]);
            }
            if (x0 > x1)
                return;
            if (inside)
                CPixelRows::Fill(px.bits + std::ptrdiff_t(y) * px.stride + x0, x1 - x0 + 1, colour);
            else
                px.Run(y, x0, x1, colour);
        };
        // The rows the ends reach, and between them the body's alone.
        const int endA = std::min(a.y + disc.below, bottom);
        const int startB = std::min(std::max(b.y - disc.above, top), bottom + 1);
        int y = top;
        for (; y <= endA; ++y)
            row(y, true, y >= startB);
        for (; y < startB; ++y)
            row(y, false, false);
        for (; y <= bottom; ++y)
            row(y, false, true);
    };
    if (dx == 0) {
        // Upright: the same pixels on every row between the ends.
        const int left = a.x + FloorToInt(-r - kNudge) + 1, right = a.x + CeilToInt(r - kNudge) - 1;
        rows([&](int ka, int kb, int& x0, int& x1) __attribute__((always_inline)) {
            if (ka >= 0 && kb < 0) {
                x0 = left;
                x1 = right;
            }
        });
    } else if (dy == 0) {
        // Level: every row the pen reaches runs between the ends.
        const int left = std::min(a.x, b.x), right = std::max(a.x, b.x) - 1;
        rows([&](int, int, int& x0, int& x1) __attribute__((always_inline)) {
            x0 = left;
            x1 = right;
        });
    } else {
        // Along a row, the body (the points within half the width of the
        // line through a and b, between the perpendiculars at a and b) is
        // the strip along the line cut by the band between the
        // perpendiculars. Their edges, as nudged pixel positions off a, move
        // by a fixed step from row to row.
        const double length2 = double(dx) * dx + double(dy) * dy;
        const double stripStep = double(dx) / dy;
        const double stripHalf = r * std::sqrt(length2) / dy;
        const double bandStep = -double(dy) / dx;
        const double v = top - a.y + kNudge;
        double stripLo = v * stripStep - stripHalf - kNudge, stripHi = v * stripStep + stripHalf - kNudge;
        double bandLo = v * bandStep + std::min(0.0, length2 / dx) - kNudge;
        double bandHi = v * bandStep + std::max(0.0, length2 / dx) - kNudge;
        rows([&](int, int, int& x0, int& x1) __attribute__((always_inline)) {
            const double lo = std::max(stripLo, bandLo), hi = std::min(stripHi, bandHi);
            if (lo < hi) {
                x0 = a.x + FloorToInt(lo) + 1;
                x1 = a.x + CeilToInt(hi) - 1;
            }
            stripLo += stripStep;
            stripHi += stripStep;
            bandLo += bandStep;
            bandHi += bandStep;
        });
    }
}

void FramedBox(const CPixelRows& px, const RECT& box, std::uint32_t pen, std::uint32_t brush,
               bool filled)
{
    const int left = std::min(box.left, box.right), top = std::min(box.top, box.bottom);
    const int w = std::abs(box.right - box.left), h = std::abs(box.bottom - box.top);
    if (w <= 1 && h <= 1) {
        px.Run(top, left, left, pen);
        return;
    }
    const int right = left + std::max(w, 1) - 1, bottom = top + std::max(h, 1) - 1;
    const bool solid = filled && pen == brush;
    px.Run(top, left, right, pen);
    for (int y = std::max(top + 1, 0); y < std::min(bottom, px.height); ++y) {
        if (solid) {
            px.Run(y, left, right, pen);
            continue;
        }
        px.Run(y, left, left, pen);
        if (filled && right - left > 1)
            px.Run(y, left + 1, right - 1, brush);
        px.Run(y, right, right, pen);
    }
    if (bottom > top)
        px.Run(bottom, left, right, pen);
}
