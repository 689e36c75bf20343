// The document's entries to the offset-path engine: each hands the engine
// the working side's copper or the engine's own lists.
#include "document/velm_doc.h"
#include "offset/arc_families.h"
#include "offset/grouping.h"
#include "offset/source_elements.h"
#include "offset/trimming.h"
#include "settings/work_order_dlg.h"

void CVelmDoc::BuildSourceElements()
{
    ::BuildSourceElements(*this, m_TrackList, m_FlashList, g_CurrentSide);
}

void CVelmDoc::BuildGroups(CRefList<CIsoElement>& sources, CRefList<CIsoGroup>& groups, float d,
                           int mark)
{
    ::BuildGroups(*this, sources, groups, d, mark);
}

void CVelmDoc::ComposeArcs(CRefList<CIsoElement>& pieces) { ::ComposeArcs(m_IsoElements, pieces); }

void CVelmDoc::TrimGroup(CRefList<CIsoElement>& pieces) { ::TrimGroup(m_IsoElements, pieces); }
