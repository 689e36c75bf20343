// QImage drawing surface of the board view.
#include "view/qt/image_surface.h"

#include <QPolygon>
#include <algorithm>
#include <cmath>

namespace {

QColor ToQColor(COLORREF c)
{
    return QColor(int(GetRValue(c)), int(GetGValue(c)), int(GetBValue(c)));
}

QRect Normalised(int left, int top, int right, int bottom)
{
    return QRect(QPoint(std::min(left, right), std::min(top, bottom)),
                 QPoint(std::max(left, right), std::max(top, bottom)));
}

}  // namespace

CQtImageSurface::CQtImageSurface(QSize size) : m_Image(size, QImage::Format_RGB32)
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
    if (m_Depth++ == 0)
        m_Painter.begin(&m_Image);
}

void CQtImageSurface::EndDraw()
{
    if (m_Depth == 0 || --m_Depth > 0)
        return;
    m_Painter.end();
    if (m_PendingSize.isValid()) {
        QSize size = m_PendingSize;
        m_PendingSize = QSize();
        Resize(size);
    }
}

void CQtImageSurface::SetUp(QPainter& painter, bool usesBrush) const
{
    painter.setRenderHint(QPainter::Antialiasing, false);
    const CPen& pen = Pen();
    if (pen.null) {
        painter.setPen(Qt::NoPen);
    } else {
        int width = std::max(pen.width, 1);
        Qt::PenCapStyle cap = pen.flatCaps ? Qt::FlatCap : width > 1 ? Qt::RoundCap : Qt::SquareCap;
        painter.setPen(QPen(QBrush(ToQColor(pen.colour)), width, Qt::SolidLine, cap,
                            pen.flatCaps ? Qt::MiterJoin : Qt::RoundJoin));
    }
    if (usesBrush && !Brush().null)
        painter.setBrush(ToQColor(Brush().colour));
    else
        painter.setBrush(Qt::NoBrush);
}

void CQtImageSurface::Paint(QRect bounds, bool usesBrush, const std::function<void(QPainter&)>& draw)
{
    // A shape that cannot reach the image costs nothing: at a close zoom
    // most of the board lies outside.
    int reach = std::max(Pen().width, 1) + 2;
    if (!bounds.adjusted(-reach, -reach, reach, reach).intersects(m_Image.rect()))
        return;
    if (GetROP2() == R2_COPYPEN) {
        if (m_Depth > 0) {
            SetUp(m_Painter, usesBrush);
            draw(m_Painter);
        } else {
            QPainter painter(&m_Image);
            SetUp(painter, usesBrush);
            draw(painter);
        }
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
        SetUp(painter, usesBrush);
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
    QRect r = Normalised(left, top, right, bottom);
    // Right and bottom lie just outside; a rectangle without width is one
    // pixel wide, so the thinnest track still shows.
    QRect shape(r.topLeft(), QSize(std::max(r.width() - 1, 1), std::max(r.height() - 1, 1)));
    Paint(shape, true, [&](QPainter& p) { p.drawRect(shape.adjusted(0, 0, -1, -1)); });
}

void CQtImageSurface::Ellipse(int left, int top, int right, int bottom)
{
    QRect r = Normalised(left, top, right, bottom);
    QRect shape(r.topLeft(), QSize(std::max(r.width() - 1, 1), std::max(r.height() - 1, 1)));
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
