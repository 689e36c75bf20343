// Where a rectangle element lies: its centre, its long axis and its half
// sizes. Rectangles drawn along x or y have the identity axis, so their
// corners come out exactly as centre plus half sizes.
#pragma once

#include "records/offset_records.h"

struct CRectFrame {
    CDPoint centre;
    CDPoint axis{1.0, 0.0};   // unit vector of the rectangle's x
    double hx = 0.0;          // half size along the axis
    double hy = 0.0;          // half size across it

    explicit CRectFrame(const CIsoElement& rect)
        : centre(rect.Pt0), hx(rect.Radius / 2.0), hy(rect.StartAngle / 2.0)
    {
        if (rect.Pt1.x != 0.0 || rect.Pt1.y != 0.0)
            axis = rect.Pt1;
    }

    // The point at (lx, ly) in the rectangle's own frame.
    CDPoint At(double lx, double ly) const
    {
        return {centre.x + (lx * axis.x - ly * axis.y), centre.y + (lx * axis.y + ly * axis.x)};
    }
    // A vector given in the rectangle's frame.
    CDPoint Turn(double lx, double ly) const
    {
        return {lx * axis.x - ly * axis.y, lx * axis.y + ly * axis.x};
    }
    // The corners of the rectangle grown by g: top right, top left, bottom
    // left, bottom right (counter-clockwise).
    void Corners(double g, CDPoint out[4]) const
    {
        out[0] = At(hx + g, hy + g);
        out[1] = At(-hx - g, hy + g);
        out[2] = At(-hx - g, -hy - g);
        out[3] = At(hx + g, -hy - g);
    }
};
