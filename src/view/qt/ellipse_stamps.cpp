// The ellipse stamps of the image surface.
#include "view/qt/ellipse_stamps.h"

#include "view/qt/painter_setup.h"

#include <QImage>
#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

// n pixels: four at a time, the last four overlapping the ones before (a
// stamp's rows are short).
void Copy(std::uint32_t* to, const std::uint32_t* from, int n)
{
    if (n < 4) {
        for (int i = 0; i < n; ++i)
            to[i] = from[i];
        return;
    }
    for (int i = 0; i + 4 < n; i += 4)
        std::memcpy(to + i, from + i, 16);
    std::memcpy(to + n - 4, from + n - 4, 16);
}

}  // namespace

CEllipseStamps::CStamp CEllipseStamps::Make(int width, int height, const CPen& pen,
                                             const CBrush& brush)
{
    // Painted as the surface paints one ellipse, on a clear image with room
    // for the pen all round; what it painted is kept row by row.
    const int margin = std::max(pen.width, 1) + 2;
    QImage image(width + 2 * margin, height + 2 * margin, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        SetUpPainter(painter, pen, brush, true);
        QRect shape(margin, margin, std::max(width, 1), std::max(height, 1));
        painter.drawEllipse(shape.adjusted(0, 0, -1, -1));
    }
    CStamp stamp;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width();) {
            if (qAlpha(row[x]) == 0) {
                ++x;
                continue;
            }
            int end = x + 1;
            while (end < image.width() && qAlpha(row[end]) != 0)
                ++end;
            stamp.runs.push_back(CRun{std::int16_t(x - margin), std::int16_t(y - margin),
                                      std::int16_t(end - x), std::uint32_t(stamp.pixels.size())});
            for (int i = x; i < end; ++i)
                stamp.pixels.push_back(row[i] | 0xFF000000u);
            stamp.left = std::min(stamp.left, x - margin);
            stamp.right = std::max(stamp.right, end - 1 - margin);
            stamp.top = std::min(stamp.top, y - margin);
            stamp.bottom = std::max(stamp.bottom, y - margin);
            x = end;
        }
    }
    return stamp;
}

void CEllipseStamps::Draw(const CPixelRows& px, const RECT& box, const CPen& pen,
                          const CBrush& brush)
{
    const int left = std::min(box.left, box.right), top = std::min(box.top, box.bottom);
    const int width = std::abs(box.right - box.left), height = std::abs(box.bottom - box.top);
    const CKey key{std::uint64_t(width) | std::uint64_t(height) << 8 |
                       std::uint64_t(std::uint32_t(std::max(pen.width, 1))) << 16 |
                       std::uint64_t(pen.flatCaps) << 48,
                   (pen.null ? 0 : std::uint64_t(pen.colour & 0xFFFFFF) | 1ull << 24) |
                       (brush.null ? 0 : (std::uint64_t(brush.colour & 0xFFFFFF) | 1ull << 24) << 32)};
    if (!m_Last || key != m_LastKey) {
        auto found = m_Stamps.find(key);
        if (found == m_Stamps.end()) {
            // Each zoom brings sizes of its own: the stamps of earlier ones
            // go once they hold many pixels.
            if (m_Pixels > kKeptPixels) {
                m_Stamps.clear();
                m_Pixels = 0;
            }
            found = m_Stamps.emplace(key, Make(width, height, pen, brush)).first;
            m_Pixels += found->second.pixels.size();
        }
        m_LastKey = key;
        m_Last = &found->second;
    }
    const CStamp& stamp = *m_Last;
    if (left + stamp.left >= 0 && top + stamp.top >= 0 && left + stamp.right < px.width &&
        top + stamp.bottom < px.height) {
        // Wholly inside, as nearly every stamp is: no clipping.
        std::uint32_t* corner = px.bits + std::ptrdiff_t(top) * px.stride + left;
        for (const CRun& run : stamp.runs)
            Copy(corner + std::ptrdiff_t(run.dy) * px.stride + run.dx, stamp.pixels.data() + run.first,
                 run.length);
        return;
    }
    for (const CRun& run : stamp.runs) {
        const int y = top + run.dy;
        if (y < 0 || y >= px.height)
            continue;
        const int x0 = std::max(left + run.dx, 0), x1 = std::min(left + run.dx + run.length, px.width);
        if (x0 < x1)
            std::memcpy(px.bits + std::ptrdiff_t(y) * px.stride + x0,
                        stamp.pixels.data() + run.first + (x0 - left - run.dx), std::size_t(x1 - x0) * 4);
    }
}
