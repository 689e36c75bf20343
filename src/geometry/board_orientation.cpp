// Orientation of board points into a panel copy.
#include "geometry/board_orientation.h"

#include <utility>

bool PointEquals(POINT p, int x, int y)
{
    return p.x == x && p.y == y;
}

namespace {

// Exchange when swapped, then multiply by the sign pair. Only the four pairs
// of +1 and -1 are recognised; any other pair leaves the point as it is.
template <class T>
void Orient(POINT sign, bool swap, T& x, T& y)
{
    if (swap)
        std::swap(x, y);
    bool known = PointEquals(sign, 1, 1) || PointEquals(sign, -1, 1) ||
                 PointEquals(sign, 1, -1) || PointEquals(sign, -1, -1);
    if (!known)
        return;
    if (sign.x == -1)
        x = -x;
    if (sign.y == -1)
        y = -y;
}

}  // namespace

CLayoutBlock::CLayoutBlock(int left, int top, int right, int bottom)
    : m_Extent{left, top, right, bottom}
{
    m_Centre = CDPoint((left + right) / 2, (top + bottom) / 2);
    m_RefCentre = m_Centre;
}

void ApplyBlockOrientationPt(const CLayoutBlock& block, POINT* p)
{
    Orient(block.m_Sign, block.m_Swap != 0, p->x, p->y);
}

void ApplyBoardOrientation(const CLayoutBlock& block, CDPoint* p)
{
    Orient(block.m_Sign, block.m_Swap != 0, p->x, p->y);
    p->x += double(g_CameraOffsetX);
    p->y += double(g_CameraOffsetY);
}

void ApplyBoardOrientationF(POINT sign, int swap, float* x, float* y)
{
    Orient(sign, swap != 0, *x, *y);
}
