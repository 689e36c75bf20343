// The drawing surface the board view paints on: a small device context with
// the calls the drawers need (pens, brushes, lines, rectangles, ellipses,
// counter-clockwise arcs, polygons) and the raster operations that let
// feedback shapes erase themselves. Pixel coordinates, one unit one pixel,
// y growing downward. The desktop program paints a backing image of the
// window; tests record the calls.
//
// A board has tens of thousands of shapes, most of them alike: the batch
// calls take many shapes of one pen and brush at once, so a surface sets its
// pen up once per run instead of once per shape. A batch stands for the
// single calls one after the other; a surface may draw the shapes of a
// batch its own faster way (the image surface says how close it stays).
#pragma once

#include "platform/font_choice.h"
#include "platform/win_types.h"

#include <cstddef>
#include <span>
#include <string>
#include <vector>

// Binary raster operations, with the codes the program's callers use.
constexpr int R2_NOT = 6;         // invert the destination, colour ignored
constexpr int R2_XORPEN = 7;      // destination XOR colour
constexpr int R2_NOTXORPEN = 10;  // NOT (destination XOR colour)
constexpr int R2_COPYPEN = 13;    // paint

struct CPen {
    int width = 1;            // pixels; 0 draws one pixel wide
    COLORREF colour = 0;
    bool flatCaps = false;    // geometric pen with square cuts at the ends
    bool null = false;        // draws nothing
    bool dotted = false;      // a cosmetic dotted line (one pixel wide)

    bool operator==(const CPen&) const = default;
};

// A solid pen in a colour (round ends when wider than a pixel).
inline CPen SolidPen(int width, COLORREF colour) { return CPen{width, colour, false, false}; }
// A geometric solid pen with flat end caps.
inline CPen FlatPen(int width, COLORREF colour) { return CPen{width, colour, true, false}; }
// A one-pixel dotted pen; the gaps keep what lies beneath.
inline CPen DotPen(COLORREF colour) { return CPen{0, colour, false, false, true}; }

struct CBrush {
    COLORREF colour = 0xFFFFFF;
    bool null = false;        // shapes are not filled

    bool operator==(const CBrush&) const = default;
};

inline CBrush SolidBrush(COLORREF colour) { return CBrush{colour, false}; }

class CDrawSurface {
public:
    virtual ~CDrawSurface() = default;

    // The surface's size in pixels.
    virtual int Width() const = 0;
    virtual int Height() const = 0;

    // One drawer's use of the surface begins and ends (a device context taken
    // and given back). Nested uses are allowed.
    virtual void BeginDraw() {}
    virtual void EndDraw() {}

    // Selections return what was in force, for the drawer to put back.
    CPen SelectPen(const CPen& pen);
    CBrush SelectBrush(const CBrush& brush);
    int SetROP2(int rop);
    const CPen& Pen() const { return m_Pen; }
    const CBrush& Brush() const { return m_Brush; }
    int GetROP2() const { return m_Rop; }
    POINT CurrentPosition() const { return m_Position; }

    void MoveTo(int x, int y) { m_Position = POINT{x, y}; }
    // A line from the current position with the pen; the end becomes the
    // current position.
    void LineTo(int x, int y);
    // Outlined with the pen, filled with the brush; right and bottom are the
    // edges just outside the shape.
    virtual void Rectangle(int left, int top, int right, int bottom) = 0;
    virtual void Ellipse(int left, int top, int right, int bottom) = 0;
    // The part of the box's ellipse from the start radial to the end radial,
    // counter-clockwise on the screen; a full ellipse when the two radials
    // coincide. Pen only.
    virtual void Arc(int left, int top, int right, int bottom, int xStart, int yStart, int xEnd,
                     int yEnd) = 0;
    virtual void Polygon(const std::vector<POINT>& points) = 0;
    // Fills with the colour, no pen, no raster operation.
    virtual void FillSolidRect(const RECT& rect, COLORREF colour) = 0;

    // Batches, with the pen, brush and raster operation in force.
    // Separate lines, ends[0] to ends[1], ends[2] to ends[3] and so on; the
    // last end becomes the current position.
    void Lines(std::span<const POINT> ends);
    // Lines from each point to the next, each drawn as a line of its own
    // (no joins); the last point becomes the current position.
    void Polyline(std::span<const POINT> points);
    // Boxes as Rectangle and Ellipse take them: left, top, right, bottom.
    virtual void Rectangles(std::span<const RECT> boxes);
    virtual void Ellipses(std::span<const RECT> boxes);

    // The outline of `text` in `font` written at (0, 0) inside a drawing
    // path, read back: first the text's cell (its top left at (0, 0), its
    // bottom right third), then the glyphs' figures; each point with its
    // kind (PT_MOVETO, PT_LINETO, PT_BEZIERTO, with PT_CLOSEFIGURE on a
    // figure's last point), at most `maxPoints`. A surface that cannot make
    // outlines gives none.
    virtual void TextPath(const CFontChoice& font, const std::string& text, std::size_t maxPoints,
                          std::vector<POINT>& points, std::vector<unsigned char>& kinds)
    {
        (void)font;
        (void)text;
        (void)maxPoints;
        points.clear();
        kinds.clear();
    }

protected:
    virtual void Line(POINT from, POINT to) = 0;
    // The lines of Lines and Polyline, an even number of ends.
    virtual void LineBatch(std::span<const POINT> ends);

private:
    CPen m_Pen;
    CBrush m_Brush;
    int m_Rop = R2_COPYPEN;
    POINT m_Position;
};

// Puts back the pen, brush and raster operation a drawer found.
class CSurfaceStateSaver {
public:
    explicit CSurfaceStateSaver(CDrawSurface& dc)
        : m_Dc(dc), m_Pen(dc.Pen()), m_Brush(dc.Brush()), m_Rop(dc.GetROP2()) {}
    ~CSurfaceStateSaver()
    {
        m_Dc.SelectPen(m_Pen);
        m_Dc.SelectBrush(m_Brush);
        m_Dc.SetROP2(m_Rop);
    }
    CSurfaceStateSaver(const CSurfaceStateSaver&) = delete;
    CSurfaceStateSaver& operator=(const CSurfaceStateSaver&) = delete;

private:
    CDrawSurface& m_Dc;
    CPen m_Pen;
    CBrush m_Brush;
    int m_Rop;
};

// A surface that draws nothing: the view's surface while no window shows it.
class CNullSurface : public CDrawSurface {
public:
    int Width() const override { return 0; }
    int Height() const override { return 0; }
    void Rectangle(int, int, int, int) override {}
    void Ellipse(int, int, int, int) override {}
    void Arc(int, int, int, int, int, int, int, int) override {}
    void Polygon(const std::vector<POINT>&) override {}
    void FillSolidRect(const RECT&, COLORREF) override {}

protected:
    void Line(POINT, POINT) override {}
};
