// Panel copies of the board and the transforms into one copy's orientation.
// A copy may be mirrored (sign pair) and turned by a quarter turn (x and y
// exchanged); the machine jobs, the drawers and the drill interpreter map
// every board point through these before using it.
#pragma once

#include "geometry/point.h"
#include "platform/object_lists.h"
#include "platform/win_types.h"

#include <cstdint>

// One placed copy of the board on the panel, mil. The view keeps the list.
class CLayoutBlock {
public:
    std::uint32_t m_Swap = 0;           // non-zero: x and y exchanged
    COwnedList<POINT>* m_Outline = nullptr;  // the view's panel outline points (not owned)
    CDPoint m_Centre{0.0, 0.0};         // current centre on the table
    CDPoint m_RefCentre{0.0, 0.0};      // centre at creation
    RECT m_Extent;                      // area the copy covers
    POINT m_Sign{1, 1};                 // mirror factors, each +1 or -1
    std::uint32_t m_Selected = 0;       // selected in the layout editor

    CLayoutBlock() = default;
    // A new copy covering the rectangle: sign (1, 1), not swapped, both
    // centres at the rectangle's middle in whole mil.
    CLayoutBlock(int left, int top, int right, int bottom);

    // Back to the default state, for a record that a reader fills.
    void Init() { *this = CLayoutBlock(); }
};

// Measured offset of the board (mil) that the camera adjustment sets; the
// point transform adds it.
extern float g_CameraOffsetX;
extern float g_CameraOffsetY;

bool PointEquals(POINT p, int x, int y);

// Integer points (drawing).
void ApplyBlockOrientationPt(const CLayoutBlock& block, POINT* p);
// Double points, then the camera offset is added.
void ApplyBoardOrientation(const CLayoutBlock& block, CDPoint* p);
// Two floats with the sign and swap given directly; no offset.
void ApplyBoardOrientationF(POINT sign, int swap, float* x, float* y);
