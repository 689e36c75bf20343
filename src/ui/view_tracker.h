// The rectangle tracker the view draws for rubber bands and markers. Only its
// state lives here; the view draws and moves it.
#pragma once

#include "platform/win_types.h"

class CViewTracker {
public:
    // Style bits, combined in m_nStyle.
    static constexpr unsigned solidLine = 1;
    static constexpr unsigned dottedLine = 2;
    static constexpr unsigned hatchedBorder = 4;
    static constexpr unsigned resizeInside = 8;
    static constexpr unsigned resizeOutside = 16;
    static constexpr unsigned hatchInside = 32;

    RECT m_rect;
    unsigned m_nStyle = 0;
    POINT m_Point;      // the point a marker stands for

    // A point marker: the 30 x 30 pixel square around (x, y), dotted, with
    // its handles outside.
    void InitAtPoint(int x, int y)
    {
        m_rect = RECT{x - 15, y - 15, x + 15, y + 15};
        m_Point = POINT{x, y};
        m_nStyle = dottedLine | resizeOutside;
    }
};
