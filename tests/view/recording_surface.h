// A drawing surface that keeps every call with the pen, brush and raster
// operation in force, and a window around it, so the view's drawers can be
// checked call by call. A batch call is kept as the shapes it draws, each
// marked with the batch it came in.
#pragma once

#include "view/draw_surface.h"
#include "view/view_window.h"

#include <algorithm>
#include <string>
#include <vector>

struct CDrawCall {
    std::string kind;        // "line", "rect", "ellipse", "arc", "polygon", "fill"
    std::vector<int> v;      // the coordinates as passed
    CPen pen;
    CBrush brush;
    int rop = R2_COPYPEN;
    int batch = 0;           // the batch call that drew it, counted from 1; 0 alone
};

class CRecordingSurface : public CDrawSurface {
public:
    int Width() const override { return 800; }
    int Height() const override { return 600; }
    void BeginDraw() override { ++depth; ++begun; }
    // The outline every TextPath call gives.
    std::vector<POINT> textPoints;
    std::vector<unsigned char> textKinds;
    void TextPath(const CFontChoice&, const std::string&, std::size_t maxPoints,
                  std::vector<POINT>& points, std::vector<unsigned char>& kinds) override
    {
        points.assign(textPoints.begin(), textPoints.begin() + std::min(maxPoints, textPoints.size()));
        kinds.assign(textKinds.begin(), textKinds.begin() + std::min(maxPoints, textKinds.size()));
    }
    void EndDraw() override { --depth; }
    void Rectangle(int l, int t, int r, int b) override { Add("rect", {l, t, r, b}); }
    void Ellipse(int l, int t, int r, int b) override { Add("ellipse", {l, t, r, b}); }
    void Arc(int l, int t, int r, int b, int xs, int ys, int xe, int ye) override
    {
        Add("arc", {l, t, r, b, xs, ys, xe, ye});
    }
    void Polygon(const std::vector<POINT>& pts) override
    {
        std::vector<int> v;
        for (POINT p : pts) {
            v.push_back(p.x);
            v.push_back(p.y);
        }
        Add("polygon", v);
    }
    void FillSolidRect(const RECT& r, COLORREF c) override
    {
        Add("fill", {r.left, r.top, r.right, r.bottom, int(c)});
    }
    void Rectangles(std::span<const RECT> boxes) override
    {
        ++batches;
        for (const RECT& b : boxes)
            Add("rect", {b.left, b.top, b.right, b.bottom}, batches);
    }
    void Ellipses(std::span<const RECT> boxes) override
    {
        ++batches;
        for (const RECT& b : boxes)
            Add("ellipse", {b.left, b.top, b.right, b.bottom}, batches);
    }

    // The calls of one kind.
    std::vector<CDrawCall> Of(const std::string& kind) const
    {
        std::vector<CDrawCall> out;
        for (const CDrawCall& c : calls)
            if (c.kind == kind)
                out.push_back(c);
        return out;
    }

    std::vector<CDrawCall> calls;
    int depth = 0;
    int begun = 0;
    int batches = 0;

protected:
    void Line(POINT a, POINT b) override { Add("line", {a.x, a.y, b.x, b.y}); }
    void LineBatch(std::span<const POINT> ends) override
    {
        ++batches;
        for (std::size_t i = 0; i + 1 < ends.size(); i += 2)
            Add("line", {ends[i].x, ends[i].y, ends[i + 1].x, ends[i + 1].y}, batches);
    }

private:
    void Add(const char* kind, std::vector<int> v, int batch = 0)
    {
        calls.push_back({kind, v, Pen(), Brush(), GetROP2(), batch});
    }
};

class CRecordingWindow : public CViewWindow {
public:
    CDrawSurface& Surface() override { return surface; }
    RECT ClientRect() const override { return RECT{0, 0, width, height}; }
    void RequestRedraw() override { ++redraws; }
    void SurfaceChanged() override { ++shown; }

    CRecordingSurface surface;
    int width = 800;
    int height = 600;
    int redraws = 0;
    int shown = 0;
};
