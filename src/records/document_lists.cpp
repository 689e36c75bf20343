// Operations on the document's copper lists.
#include "records/document_lists.h"

void CDocumentLists::MarkItemsWithId(int id)
{
    for (auto& track : m_TrackList)
        if (track->recordNo == id)
            track->used = 1;
    for (auto& flash : m_FlashList)
        if (flash->recordNo == id)
            flash->used = 1;
}
