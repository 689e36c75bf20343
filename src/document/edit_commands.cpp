// The copper editor's document entries: switching the working side for the
// side alignment, and the alignment of the two sides on one pad.
#include "document/velm_doc.h"

#include "editing/add_copper.h"
#include "records/board_extent.h"
#include "settings/work_order_dlg.h"

#include <algorithm>

int CVelmDoc::SwitchToOtherSide()
{
    return SwitchSide(g_CurrentSide == 0 ? 1 : 0);
}

int CVelmDoc::AlignSidesOnPads(CDPoint p1, CDPoint p2)
{
    // Back to the side of the first pad, which moves onto the second.
    if (!SwitchToOtherSide())
        return 0;
    if (p1 != p2)
        ShiftSideCopper(*this, p2 - p1);
    CDPoint maxFirst, minFirst, maxOther, minOther;
    GetPadExtent(&maxFirst, &minFirst);
    if (!SwitchToOtherSide())
        return 0;
    GetPadExtent(&maxOther, &minOther);
    const CDPoint least(std::min(minFirst.x, minOther.x), std::min(minFirst.y, minOther.y));
    const CDPoint most(std::max(maxFirst.x, maxOther.x), std::max(maxFirst.y, maxOther.y));
    // Both sides' data begin at 100 mil.
    const CDPoint shift(100.0 - least.x, 100.0 - least.y);
    ShiftSideCopper(*this, shift);
    if (!SwitchToOtherSide())
        return 0;
    ShiftSideCopper(*this, shift);
    g_BoardMaxX = static_cast<int>(most.x + shift.x);
    g_BoardMaxY = static_cast<int>(most.y + shift.y);
    return 1;
}
