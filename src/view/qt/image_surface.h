// The board view's drawing surface on a QImage: the window's backing image.
// Painting goes through QPainter without antialiasing; the inverting raster
// operations are applied pixel by pixel, so a shape drawn twice with one of
// them leaves the image exactly as it was.
#pragma once

#include "view/draw_surface.h"

#include <QImage>
#include <QPainter>
#include <functional>

class CQtImageSurface : public CDrawSurface {
public:
    explicit CQtImageSurface(QSize size = QSize(1, 1));
    ~CQtImageSurface() override;

    const QImage& Image() const { return m_Image; }
    // A new black image of that size; while a drawer uses the surface the
    // change waits until it gives it back.
    void Resize(QSize size);

    int Width() const override { return m_Image.width(); }
    int Height() const override { return m_Image.height(); }
    void BeginDraw() override;
    void EndDraw() override;
    void Rectangle(int left, int top, int right, int bottom) override;
    void Ellipse(int left, int top, int right, int bottom) override;
    void Arc(int left, int top, int right, int bottom, int xs, int ys, int xe, int ye) override;
    void Polygon(const std::vector<POINT>& points) override;
    void FillSolidRect(const RECT& rect, COLORREF colour) override;

protected:
    void Line(POINT from, POINT to) override;

private:
    QImage m_Image;
    QPainter m_Painter;
    int m_Depth = 0;
    QSize m_PendingSize;

    // Draws one shape whose pixels lie within `bounds` with the pen and brush
    // in force, through the raster operation in force.
    void Paint(QRect bounds, bool usesBrush, const std::function<void(QPainter&)>& draw);
    void SetUp(QPainter& painter, bool usesBrush) const;
};
