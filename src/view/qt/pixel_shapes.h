// Shapes the image surface writes straight into the pixels of its image,
// with no painter in between: most shapes of a board are a few pixels big,
// and setting up the painter costs more than the pixels. Each routine gives
// the pixels the painter gives for the same shape (the rounded line within a
// few boundary pixels, see RoundLine), clipped to the image.
#pragma once

#include "platform/win_types.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

// The image's pixels: 32-bit words, rows `stride` words apart.
struct CPixelRows {
    std::uint32_t* bits = nullptr;
    int stride = 0;
    int width = 0;
    int height = 0;

    bool Contains(POINT p) const { return p.x >= 0 && p.y >= 0 && p.x < width && p.y < height; }
    // Pixels x0..x1 (both included) of row y, clipped.
    void Run(int y, int x0, int x1, std::uint32_t colour) const
    {
        if (y < 0 || y >= height)
            return;
        x0 = std::max(x0, 0);
        x1 = std::min(x1, width - 1);
        if (x0 <= x1)
            Fill(bits + std::ptrdiff_t(y) * stride + x0, x1 - x0 + 1, colour);
    }

    // n pixels from p on: four at a time, the last four overlapping the
    // ones before (the runs of a board are mostly a few pixels long).
    static void Fill(std::uint32_t* p, int n, std::uint32_t colour)
    {
        if (n < 4) {
            p[0] = colour;
            if (n > 1)
                p[1] = colour;
            if (n > 2)
                p[2] = colour;
            return;
        }
        typedef std::uint32_t Four __attribute__((vector_size(16)));
        const Four four = {colour, colour, colour, colour};
        for (int i = 0; i + 4 < n; i += 4)
            __builtin_memcpy(p + i, &four, sizeof four);
        __builtin_memcpy(p + n - 4, &four, sizeof four);
    }
};

// A one-pixel line: the painter walks the longer axis one pixel a step in
// 26.6 fixed point, the other axis stepping in 16.16; `caps` reaches half a
// pixel past both ends (square caps), without it the walk stops short of the
// end. A line of one point is that pixel. Only for lines whose ends lie in
// the image (the painter clips longer ones in its own way).
void ThinLine(const CPixelRows& px, POINT a, POINT b, bool caps, std::uint32_t colour);

struct CRoundLineLimits {
    // RoundLine draws pens up to this wide.
    static constexpr int kLargestPen = 32;
};

// A line `width` pixels wide (up to kLargestPen) with round ends: the
// pixels whose centres lie closer to the segment than half the width. The
// painter strokes an outline of curves cut into straight pieces, so a pixel
// whose centre lies within a hair of the edge can come out the other way (a
// few in a thousand of a line's pixels at most, on its edge). A centre on
// the right or bottom edge counts as inside, as it does for the painter. A
// line of one point draws nothing, as with the painter.
void RoundLine(const CPixelRows& px, POINT a, POINT b, int width, std::uint32_t colour);

// The rectangle a one-pixel pen outlines and a brush fills, given by the
// device-context box (right and bottom just outside): the pen colour on its
// border, the brush colour inside unless `filled` is false. A box without
// width draws a one-pixel-wide rectangle; a box below a pixel both ways is
// one pixel of the pen colour.
void FramedBox(const CPixelRows& px, const RECT& box, std::uint32_t pen, std::uint32_t brush,
               bool filled);
