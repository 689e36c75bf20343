// A drawing surface that keeps every call with the pen, brush and raster
// operation in force, and a window around it, so the view's drawers can be
// checked call by call.
#pragma once

#include "view/draw_surface.h"
#include "view/view_window.h"

#include <string>
#include <vector>

struct CDrawCall {
    std::string kind;        // "line", "rect", "ellipse", "arc", "polygon", "fill"
    std::vector<int> v;      // the coordinates as passed
    CPen pen;
    CBrush brush;
    int rop = R2_COPYPEN;
};

class CRecordingSurface : public CDrawSurface {
public:
    int Width() const override { return 800; }
    int Height() const override { return 600; }
    void BeginDraw() override { ++depth; ++begun; }
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

protected:
    void Line(POINT a, POINT b) override { Add("line", {a.x, a.y, b.x, b.y}); }

private:
    void Add(const char* kind, std::vector<int> v) { calls.push_back({kind, v, Pen(), Brush(), GetROP2()}); }
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
