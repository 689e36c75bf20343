// How the image surface sets a painter up for a pen and a brush: shared by
// the shapes it paints and the ellipse stamps it keeps, so a stamp has the
// pixels of the shape painted in place.
#pragma once

#include "view/draw_surface.h"

#include <QColor>
#include <QPainter>

QColor ToQColor(COLORREF c);
// The colour as a pixel of the surface's image.
inline QRgb ToPixel(COLORREF c)
{
    return qRgb(int(GetRValue(c)), int(GetGValue(c)), int(GetBValue(c)));
}
// No antialiasing; the pen as the device context draws it (one pixel wide at
// least, round ends and joins when wider, flat ends and mitred joins for a
// geometric pen); the brush only for shapes that use one.
void SetUpPainter(QPainter& painter, const CPen& pen, const CBrush& brush, bool usesBrush);
