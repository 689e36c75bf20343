// Small ellipses as stamps: the painter draws an ellipse of a given box size,
// pen and brush once, the pixels it set are kept row by row, and every
// further ellipse of that size, pen and brush is copied from them. The
// painter's ellipse at whole-pixel positions has the same pixels wherever it
// lies, so a stamp is exact; a board's flashes come in few sizes.
#pragma once

#include "view/draw_surface.h"
#include "view/qt/pixel_shapes.h"

#include <cstdint>
#include <map>
#include <vector>

class CEllipseStamps {
public:
    // Boxes up to this many pixels each way are stamped.
    static constexpr int kLargest = 96;
    // Pixels of stamps kept at most (each zoom brings sizes of its own).
    static constexpr std::size_t kKeptPixels = std::size_t(1) << 20;

    // The ellipse of the device-context box (right and bottom just outside)
    // with that pen and brush; the box is at most kLargest each way.
    void Draw(const CPixelRows& px, const RECT& box, const CPen& pen, const CBrush& brush);

private:
    struct CRun {
        std::int16_t dx, dy, length;
        std::uint32_t first;  // in the stamp's pixels
    };
    struct CStamp {
        std::vector<CRun> runs;
        std::vector<std::uint32_t> pixels;
        // The pixels the runs reach, off the box's top left corner.
        int left = 0, top = 0, right = -1, bottom = -1;
    };
    // Box width and height, pen width and flat caps; whether pen and brush
    // are drawn, and their colours.
    struct CKey {
        std::uint64_t shape = 0, colours = 0;
        auto operator<=>(const CKey&) const = default;
    };
    std::map<CKey, CStamp> m_Stamps;
    std::size_t m_Pixels = 0;
    // Flashes of one size tend to come together.
    CKey m_LastKey;
    const CStamp* m_Last = nullptr;

    static CStamp Make(int width, int height, const CPen& pen, const CBrush& brush);
};
