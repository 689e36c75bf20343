// The drawers' way to the surface for many shapes: it keeps a pen and a
// brush like the surface does, collects consecutive shapes of one kind drawn
// with the same pen (and, for filled shapes, the same brush), and hands each
// such run to the surface in one batch call. The order of the shapes is kept,
// so the picture is the one the single calls would give. The clipped shapes
// follow the rules of the clipped primitives.
#pragma once

#include "view/draw_surface.h"

#include <vector>

class CShapeBatch {
public:
    // Starts with the pen and brush in force on the surface.
    explicit CShapeBatch(CDrawSurface& dc);
    ~CShapeBatch();
    CShapeBatch(const CShapeBatch&) = delete;
    CShapeBatch& operator=(const CShapeBatch&) = delete;

    CDrawSurface& Surface() { return m_Dc; }
    void SelectPen(const CPen& pen) { m_Pen = pen; }
    void SelectBrush(const CBrush& brush) { m_Brush = brush; }
    const CPen& Pen() const { return m_Pen; }
    const CBrush& Brush() const { return m_Brush; }

    // A line with both ends clamped.
    void ClippedLine(int x1, int y1, int x2, int y2);
    void ClippedLine(POINT a, POINT b) { ClippedLine(a.x, a.y, b.x, b.y); }
    void Rectangle(int left, int top, int right, int bottom)
    {
        Box(Kind::Rectangle, RECT{left, top, right, bottom}, false);
    }
    void ClippedRectangle(int left, int top, int right, int bottom)
    {
        Box(Kind::Rectangle, RECT{left, top, right, bottom}, true);
    }
    void Ellipse(int left, int top, int right, int bottom)
    {
        Box(Kind::Ellipse, RECT{left, top, right, bottom}, false);
    }
    void ClippedEllipse(int left, int top, int right, int bottom)
    {
        Box(Kind::Ellipse, RECT{left, top, right, bottom}, true);
    }
    // Arcs are few: drawn at once, after the shapes collected before them.
    void ClippedArc(int left, int top, int right, int bottom, int xs, int ys, int xe, int ye);

    // Hands the collected run to the surface.
    void Flush();

private:
    enum class Kind { None, Line, Rectangle, Ellipse };

    CDrawSurface& m_Dc;
    CPen m_Pen;
    CBrush m_Brush;
    Kind m_Kind = Kind::None;
    CPen m_RunPen;
    CBrush m_RunBrush;
    std::vector<POINT> m_Ends;
    std::vector<RECT> m_Boxes;

    // A rectangle or an ellipse; a clipped one outside the shape window is
    // dropped.
    void Box(Kind kind, const RECT& box, bool clipped);
    // Ends the run when the next shape cannot join it.
    void Begin(Kind kind)
    {
        if (kind != m_Kind || !(m_Pen == m_RunPen) ||
            (kind != Kind::Line && !(m_Brush == m_RunBrush)) ||
            m_Ends.size() / 2 + m_Boxes.size() >= kRunLimit)
            Restart(kind);
    }
    void Restart(Kind kind);
    // A run is handed over at this size too, so a long one does not hold a
    // large buffer.
    static constexpr std::size_t kRunLimit = 4096;
};
