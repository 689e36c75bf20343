// The board view's drawing surface on a QImage: the window's backing image.
// Painting goes through QPainter without antialiasing; the inverting raster
// operations are applied pixel by pixel, so a shape drawn twice with one of
// them leaves the image exactly as it was.
//
// Batches are drawn in runs: the painter is set up once per batch, and the
// shapes that are small on the screen (one-pixel lines, rounded lines up to
// kLargestRoundPen wide, rectangles, ellipses up to a stamp's size) are
// written into the pixels directly. Shape by shape, the other way of
// drawing, paints every shape of a batch alone with its own painter set-up,
// as the single calls do: the picture the runs are measured against.
#pragma once

#include "view/draw_surface.h"
#include "view/qt/ellipse_stamps.h"
#include "view/qt/pixel_shapes.h"

#include <QImage>
#include <QPainter>
#include <functional>

class CQtImageSurface : public CDrawSurface {
public:
    enum class BatchDrawing { InRuns, ShapeByShape };
    // Rounded lines wider than this go to the painter.
    static constexpr int kLargestRoundPen = CRoundLineLimits::kLargestPen;

    explicit CQtImageSurface(QSize size = QSize(1, 1), BatchDrawing batches = BatchDrawing::InRuns);
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
    void Rectangles(std::span<const RECT> boxes) override;
    void Ellipses(std::span<const RECT> boxes) override;
    void TextPath(const CFontChoice& font, const std::string& text, std::size_t maxPoints,
                  std::vector<POINT>& points, std::vector<unsigned char>& kinds) override;

protected:
    void Line(POINT from, POINT to) override;
    void LineBatch(std::span<const POINT> ends) override;

private:
    QImage m_Image;
    QPainter m_Painter;
    int m_Depth = 0;
    QSize m_PendingSize;
    BatchDrawing m_Batches;
    CEllipseStamps m_Stamps;
    // The image's pixels while a drawer uses the surface; the painter
    // writes to the same buffer.
    uchar* m_Bits = nullptr;

    // Draws one shape whose pixels lie within `bounds` with the pen and brush
    // in force, through the raster operation in force.
    void Paint(QRect bounds, bool usesBrush, const std::function<void(QPainter&)>& draw);
    // Runs `draw` with a painter set up for the pen and brush in force.
    void WithPainter(bool usesBrush, const std::function<void(QPainter&)>& draw);
    // Whether a batch is drawn in runs: with the copy raster operation only.
    bool InRuns() const;
    // The pixels, while a drawer uses the surface.
    CPixelRows Pixels() const;
    // Whether a shape within `bounds` can reach the image with the pen in force.
    bool Reaches(const QRect& bounds) const;
};
