// The painter set-up of the image surface.
#include "view/qt/painter_setup.h"

#include <algorithm>

QColor ToQColor(COLORREF c)
{
    return QColor(int(GetRValue(c)), int(GetGValue(c)), int(GetBValue(c)));
}

void SetUpPainter(QPainter& painter, const CPen& pen, const CBrush& brush, bool usesBrush)
{
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (pen.null) {
        painter.setPen(Qt::NoPen);
    } else {
        int width = std::max(pen.width, 1);
        // Flat ends keep a dotted line's dots one pixel long.
        Qt::PenCapStyle cap = pen.flatCaps || pen.dotted ? Qt::FlatCap
                              : width > 1                ? Qt::RoundCap
                                                         : Qt::SquareCap;
        painter.setPen(QPen(QBrush(ToQColor(pen.colour)), width,
                            pen.dotted ? Qt::DotLine : Qt::SolidLine, cap,
                            pen.flatCaps ? Qt::MiterJoin : Qt::RoundJoin));
    }
    if (usesBrush && !brush.null)
        painter.setBrush(ToQColor(brush.colour));
    else
        painter.setBrush(Qt::NoBrush);
}
