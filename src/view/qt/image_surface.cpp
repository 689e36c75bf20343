// QImage drawing surface of the board view.
#include "view/qt/image_surface.h"

#include "view/qt/painter_setup.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainterPath>
#include <QPolygon>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

QRect Normalised(int left, int top, int right, int bottom)
{
    return QRect(QPoint(std::min(left, right), std::min(top, bottom)),
                 QPoint(std::max(left, right), std::max(top, bottom)));
}

// The pixels a device-context box covers at most: right and bottom lie just
// outside, a box without width is one pixel wide.
QRect ShapeOf(int left, int top, int right, int bottom)
{
    QRect r = Normalised(left, top, right, bottom);
    return QRect(r.topLeft(), QSize(std::max(r.width() - 1, 1), std::max(r.height() - 1, 1)));
}

// A box too small to hold a pixel of its own both ways.
bool BelowAPixel(const RECT& b)
{
    return std::abs(b.right - b.left) <= 1 && std::abs(b.bottom - b.top) <= 1;
}

}  // namespace

CQtImageSurface::CQtImageSurface(QSize size, BatchDrawing batches)
    : m_Image(size, QImage::Format_RGB32), m_Batches(batches)
{
    m_Image.fill(Qt::black);
}

CQtImageSurface::~CQtImageSurface()
{
    if (m_Painter.isActive())
        m_Painter.end();
}

void CQtImageSurface::Resize(QSize size)
{
    size = size.expandedTo(QSize(1, 1));
    if (m_Depth > 0) {
        m_PendingSize = size;
        return;
    }
    m_Image = QImage(size, QImage::Format_RGB32);
    m_Image.fill(Qt::black);
}

void CQtImageSurface::BeginDraw()
{
    if (m_Depth++ == 0) {
        m_Painter.begin(&m_Image);
        // The painter holds the image's own buffer now; writing to it needs
        // no copy.
        m_Bits = m_Image.bits();
    }
}

void CQtImageSurface::EndDraw()
{
    if (m_Depth == 0 || --m_Depth > 0)
        return;
    m_Painter.end();
    m_Bits = nullptr;
    if (m_PendingSize.isValid()) {
        QSize size = m_PendingSize;
        m_PendingSize = QSize();
        Resize(size);
    }
}

bool CQtImageSurface::Reaches(const QRect& bounds) const
{
    // A shape that cannot reach the image costs nothing: at a close zoom
    // most of the board lies outside.
    int reach = std::max(Pen().width, 1) + 2;
    return bounds.adjusted(-reach, -reach, reach, reach).intersects(m_Image.rect());
}

void CQtImageSurface::WithPainter(bool usesBrush, const std::function<void(QPainter&)>& draw)
{
    if (m_Depth > 0) {
        SetUpPainter(m_Painter, Pen(), Brush(), usesBrush);
        draw(m_Painter);
    } else {
        QPainter painter(&m_Image);
        SetUpPainter(painter, Pen(), Brush(), usesBrush);
        draw(painter);
    }
}

void CQtImageSurface::Paint(QRect bounds, bool usesBrush, const std::function<void(QPainter&)>& draw)
{
    if (!Reaches(bounds))
        return;
    if (GetROP2() == R2_COPYPEN) {
        WithPainter(usesBrush, draw);
        return;
    }
    // Inverting: paint the shape alone on a clear layer, then combine each
    // covered pixel once with the image.
    int margin = std::max(Pen().width, 1) + 2;
    QRect area = bounds.adjusted(-margin, -margin, margin, margin).intersected(m_Image.rect());
    if (area.isEmpty())
        return;
    QImage layer(area.size(), QImage::Format_ARGB32);
    layer.fill(Qt::transparent);
    {
        QPainter painter(&layer);
        painter.translate(-area.topLeft());
        SetUpPainter(painter, Pen(), Brush(), usesBrush);
        draw(painter);
    }
    int rop = GetROP2();
    for (int y = 0; y < area.height(); ++y) {
        const QRgb* src = reinterpret_cast<const QRgb*>(layer.constScanLine(y));
        QRgb* dst = reinterpret_cast<QRgb*>(m_Image.scanLine(area.top() + y)) + area.left();
        for (int x = 0; x < area.width(); ++x) {
            if (qAlpha(src[x]) == 0)
                continue;
            QRgb d = dst[x] & 0xFFFFFF, s = src[x] & 0xFFFFFF;
            switch (rop) {
            case R2_NOT: d = ~d; break;
            case R2_XORPEN: d ^= s; break;
            case R2_NOTXORPEN: d = ~(d ^ s); break;
            default: d = s; break;
            }
            dst[x] = 0xFF000000u | (d & 0xFFFFFF);
        }
    }
}

void CQtImageSurface::Line(POINT from, POINT to)
{
    QPoint a(from.x, from.y), b(to.x, to.y);
    Paint(QRect(a, b).normalized(), false, [&](QPainter& p) { p.drawLine(a, b); });
}

void CQtImageSurface::Rectangle(int left, int top, int right, int bottom)
{
    // Right and bottom lie just outside; a rectangle without width is one
    // pixel wide, so the thinnest track still shows.
    QRect shape = ShapeOf(left, top, right, bottom);
    Paint(shape, true, [&](QPainter& p) { p.drawRect(shape.adjusted(0, 0, -1, -1)); });
}

void CQtImageSurface::Ellipse(int left, int top, int right, int bottom)
{
    QRect shape = ShapeOf(left, top, right, bottom);
    Paint(shape, true, [&](QPainter& p) { p.drawEllipse(shape.adjusted(0, 0, -1, -1)); });
}

void CQtImageSurface::Arc(int left, int top, int right, int bottom, int xs, int ys, int xe, int ye)
{
    QRect r = Normalised(left, top, right, bottom);
    if (r.width() <= 1 || r.height() <= 1)
        return;
    double cx = (r.left() + r.right()) / 2.0, cy = (r.top() + r.bottom()) / 2.0;
    // Screen angles, counter-clockwise as seen, from the two radials.
    double a1 = std::atan2(-(ys - cy), xs - cx) * 180.0 / M_PI;
    double a2 = std::atan2(-(ye - cy), xe - cx) * 180.0 / M_PI;
    double span = a2 - a1;
    while (span <= 0.0)
        span += 360.0;
    if (span > 360.0)
        span -= 360.0;
    if ((xs - cx) * (ye - cy) == (ys - cy) * (xe - cx) && (xs - cx) * (xe - cx) + (ys - cy) * (ye - cy) > 0)
        span = 360.0;  // the same radial: the whole ellipse
    QRect shape(r.topLeft(), QSize(r.width() - 1, r.height() - 1));
    int start = int(std::lround(a1 * 16.0)), length = int(std::lround(span * 16.0));
    Paint(shape, false, [&](QPainter& p) { p.drawArc(shape.adjusted(0, 0, -1, -1), start, length); });
}

void CQtImageSurface::Polygon(const std::vector<POINT>& points)
{
    if (points.empty())
        return;
    QPolygon polygon;
    for (POINT p : points)
        polygon << QPoint(p.x, p.y);
    Paint(polygon.boundingRect(), true, [&](QPainter& p) { p.drawPolygon(polygon); });
}

void CQtImageSurface::FillSolidRect(const RECT& rect, COLORREF colour)
{
    QRect r(QPoint(rect.left, rect.top), QPoint(rect.right - 1, rect.bottom - 1));
    if (m_Depth > 0) {
        m_Painter.fillRect(r, ToQColor(colour));
    } else {
        QPainter painter(&m_Image);
        painter.fillRect(r, ToQColor(colour));
    }
}

bool CQtImageSurface::InRuns() const
{
    return m_Batches == BatchDrawing::InRuns && GetROP2() == R2_COPYPEN;
}

CPixelRows CQtImageSurface::Pixels() const
{
    return CPixelRows{reinterpret_cast<std::uint32_t*>(m_Bits), int(m_Image.bytesPerLine() / 4),
                      m_Image.width(), m_Image.height()};
}

void CQtImageSurface::LineBatch(std::span<const POINT> ends)
{
    if (!InRuns()) {
        CDrawSurface::LineBatch(ends);
        return;
    }
    const CPen& pen = Pen();
    if (pen.null)
        return;
    const int width = std::max(pen.width, 1);
    const bool ownRound = !pen.flatCaps && width <= kLargestRoundPen;
    // A line farther than this from the image cannot reach it (Reaches).
    const int reach = width + 2;
    const QRgb colour = ToPixel(pen.colour);
    BeginDraw();
    const CPixelRows px = Pixels();
    std::vector<QLine> painted;
    for (std::size_t i = 0; i + 1 < ends.size(); i += 2) {
        const POINT a = ends[i], b = ends[i + 1];
        if (std::max(a.x, b.x) < -reach || std::min(a.x, b.x) >= px.width + reach ||
            std::max(a.y, b.y) < -reach || std::min(a.y, b.y) >= px.height + reach)
            continue;
        if (width == 1 && !pen.dotted && px.Contains(a) && px.Contains(b))
            ThinLine(px, a, b, !pen.flatCaps, colour);
        else if (width > 1 && ownRound)
            RoundLine(px, a, b, width, colour);
        else
            painted.emplace_back(a.x, a.y, b.x, b.y);
    }
    // One colour for the whole batch: the order of its lines does not show.
    if (!painted.empty()) {
        SetUpPainter(m_Painter, pen, Brush(), false);
        m_Painter.drawLines(painted.data(), int(painted.size()));
    }
    EndDraw();
}

void CQtImageSurface::Rectangles(std::span<const RECT> boxes)
{
    const CPen& pen = Pen();
    if (!InRuns() || pen.null || pen.width > 1) {
        CDrawSurface::Rectangles(boxes);
        return;
    }
    BeginDraw();
    const CPixelRows px = Pixels();
    const QRgb penColour = ToPixel(pen.colour), brushColour = ToPixel(Brush().colour);
    bool setUp = false;
    for (const RECT& b : boxes) {
        const QRect shape = ShapeOf(b.left, b.top, b.right, b.bottom);
        if (BelowAPixel(b) || m_Image.rect().contains(shape)) {
            FramedBox(px, b, penColour, brushColour, !Brush().null);
        } else if (Reaches(shape)) {
            // The painter's frame cut by the image's edge loses some of its
            // pixels; the painter draws those itself, in their place.
            if (!setUp)
                SetUpPainter(m_Painter, pen, Brush(), true);
            setUp = true;
            m_Painter.drawRect(shape.adjusted(0, 0, -1, -1));
        }
    }
    EndDraw();
}

void CQtImageSurface::Ellipses(std::span<const RECT> boxes)
{
    if (!InRuns()) {
        CDrawSurface::Ellipses(boxes);
        return;
    }
    const CPen& pen = Pen();
    const CBrush& brush = Brush();
    if (pen.null && brush.null)
        return;
    BeginDraw();
    const CPixelRows px = Pixels();
    const QRgb dot = ToPixel(pen.null ? brush.colour : pen.colour);
    const int reach = std::max(pen.width, 1) + 2;  // as Reaches has it
    bool setUp = false;
    for (const RECT& b : boxes) {
        const int left = std::min(b.left, b.right), top = std::min(b.top, b.bottom);
        const int width = std::abs(b.right - b.left), height = std::abs(b.bottom - b.top);
        if (left + std::max(width, 1) + reach <= 0 || left - reach >= px.width ||
            top + std::max(height, 1) + reach <= 0 || top - reach >= px.height)
            continue;
        if (width <= 1 && height <= 1) {
            // Below a pixel: a pixel.
            px.Run(top, left, left, dot);
        } else if (width <= CEllipseStamps::kLargest && height <= CEllipseStamps::kLargest) {
            m_Stamps.Draw(px, b, pen, brush);
        } else {
            // In its place: the brush of a later ellipse covers the rim of
            // an earlier one.
            if (!setUp)
                SetUpPainter(m_Painter, pen, brush, true);
            setUp = true;
            m_Painter.drawEllipse(ShapeOf(b.left, b.top, b.right, b.bottom).adjusted(0, 0, -1, -1));
        }
    }
    EndDraw();
}

void CQtImageSurface::TextPath(const CFontChoice& font, const std::string& text,
                               std::size_t maxPoints, std::vector<POINT>& points,
                               std::vector<unsigned char>& kinds)
{
    points.clear();
    kinds.clear();
    QFont qfont(QString::fromStdString(font.face));
    if (font.height > 0)
        qfont.setPixelSize(font.height);
    qfont.setWeight(static_cast<QFont::Weight>(std::clamp(font.weight, 100, 900)));
    qfont.setItalic(font.italic);
    qfont.setUnderline(font.underline);
    qfont.setStrikeOut(font.strikeOut);
    const QString qtext = QString::fromStdString(text);
    const QFontMetrics metrics(qfont);
    auto add = [&](double x, double y, unsigned char kind) {
        if (points.size() >= maxPoints)
            return;
        points.push_back(POINT{static_cast<std::int32_t>(std::lround(x)),
                               static_cast<std::int32_t>(std::lround(y))});
        kinds.push_back(kind);
    };
    // The cell comes first, as a path with the text drawn over its
    // background holds it.
    const int width = metrics.horizontalAdvance(qtext), height = metrics.height();
    add(0, 0, PT_MOVETO);
    add(width, 0, PT_LINETO);
    add(width, height, PT_LINETO);
    add(0, height, PT_LINETO | PT_CLOSEFIGURE);
    QPainterPath path;
    path.addText(QPointF(0, metrics.ascent()), qfont, qtext);
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        const unsigned char kind = e.isMoveTo() ? PT_MOVETO : e.isLineTo() ? PT_LINETO : PT_BEZIERTO;
        add(e.x, e.y, kind);
    }
}
