// The panel layout and the picks of the board view, kept in the core so the
// document's side switch, the project file and the exports can use them with
// no window open. The view reaches them through its document.
#pragma once

#include "geometry/board_orientation.h"
#include "platform/object_lists.h"
#include "platform/win_types.h"
#include "records/copper_records.h"

class CPanelLayout {
public:
    COwnedList<CLayoutBlock> m_BlockList;   // one placed copy of the board each
    COwnedList<POINT> m_OutlinePoints;      // panel outline; every block links to it
    // Picked records; they belong to the document's lists.
    CRefList<CTrackRecord> m_SelTracks;
    CRefList<void> m_SelRouteItems;         // items of the route layer
    CRefList<CFlashRecord> m_SelFlashes;

    // Empties the three selection lists; nothing is deleted.
    void ClearSelections();
    // The selections, then every outline point and every block.
    void ClearLists();
    // Turns every copy over with the board: mirrored in x against the table
    // of the given width (mil).
    void MirrorBlocks(double tableWidth);
};
