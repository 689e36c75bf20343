// What the board view needs of the window that shows it: the backing image it
// paints on, the client area's size, and a way to have everything painted
// again. The Qt widget implements it; tests use a recording one.
#pragma once

#include "platform/win_types.h"

class CDrawSurface;
struct CMenuNode;

class CViewWindow {
public:
    virtual ~CViewWindow() = default;
    // The surface every drawer paints on (the window's backing image).
    virtual CDrawSurface& Surface() = 0;
    // The client rectangle in pixels, (0, 0) at the top left.
    virtual RECT ClientRect() const = 0;
    // Asks for a full redraw soon (outside any paint handler).
    virtual void RequestRedraw() = 0;
    // A drawer changed the surface outside a redraw: show it.
    virtual void SurfaceChanged() = 0;
    // Opens the right-button menu `menu` at the client point and returns
    // once it has closed (its command, if any, sent). The view's
    // m_PopupStates says how its items open.
    virtual void ShowPopupMenu(const CMenuNode& /*menu*/, POINT /*client*/) {}
};
