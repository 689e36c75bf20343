// The document's entries to the offset-path engine: each hands the engine
// the working side's copper or the engine's own lists.
#include "document/velm_doc.h"
#include "offset/arc_families.h"
#include "offset/group_distribution.h"
#include "offset/grouping.h"
#include "offset/source_elements.h"
#include "offset/offset_pieces.h"
#include "offset/removal_passes.h"
#include "offset/trimming.h"
#include "records/board_extent.h"
#include "planning/scan_raster.h"
#include "ui/message_dlg.h"

#include <unordered_set>
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

// Source elements buried in copper: each line (with its round ends) and
// each round pad is cut from a fresh raster in the element's own name; an
// element that ends no free stretch of any scan line lies under other
// copper and is marked as inside a large copper area.
// No command calls this, and the path calculation does not either: it is
// the only maker of AreaMark, and it stays so that the mark the removal
// passes test (RemoveLinePieces and RemoveCirclePieces spare or judge more
// gently the pieces round marked copper) has a maker a stage can call. The
// passes' marked branches are exercised through it in the tests.
void CVelmDoc::ComputeLargeCopperArea()
{
    CMessageDlg notice;
    notice.ShowF("計算大面銅箔");
    m_RowList.clear();
    m_ColumnList.clear();
    if (!InitCells())
        return;
    ForgetScanLineCopies();
    auto cutDisc = [this](CIsoElement* e, const CDPoint& at, float radius) {
        CFlashRecord pad;
        pad.x = float(at.x);
        pad.y = float(at.y);
        pad.radius = radius;
        CutFlashRows(*this, pad, e);
        CutFlashColumns(*this, pad, e);
    };
    for (CIsoElement* e : m_IsoSources) {
        if (e->Kind == ISO_LINE) {
            CTrackRecord track;
            track.x1 = float(e->Pt0.x);
            track.y1 = float(e->Pt0.y);
            track.x2 = float(e->Pt1.x);
            track.y2 = float(e->Pt1.y);
            track.width = float(e->Radius);
            CutTrackRows(*this, track, e);
            CutTrackColumns(*this, track, e);
            cutDisc(e, e->Pt0, float(e->Radius / 2.0));
            cutDisc(e, e->Pt1, float(e->Radius / 2.0));
        } else if (e->Kind == ISO_CIRCLE) {
            cutDisc(e, e->Pt0, e->Radius == 0.0 ? 2.0f : float(e->Radius));
        }
    }
    std::unordered_set<const void*> touched;
    for (auto* lines : {&m_RowList, &m_ColumnList})
        for (const auto& line : *lines)
            for (const auto& in : line->intervals) {
                touched.insert(in->startSource);
                touched.insert(in->endSource);
            }
    for (CIsoElement* e : m_IsoSources)
        if (e->Kind == ISO_LINE || e->Kind == ISO_CIRCLE)
            e->AreaMark = touched.count(e) ? 0 : 1;
}

// The entries of the engine's variants; no command calls them (see the
// headers of their logic).
void CVelmDoc::WidenSplitPieces(float distance) { ::WidenSplitPieces(*this, distance); }

void CVelmDoc::SplitPiecesAtPoints() { ::SplitPiecesAtPoints(m_IsoElements, m_IsoSplitPieces); }

void CVelmDoc::DeleteOutsideBoardExtent(CRefList<CIsoElement>& elements)
{
    ::DeleteOutsideBoardExtent(m_IsoElements, elements,
                               CBox{double(g_BoardMinX), double(g_BoardMinY), double(g_BoardMaxX),
                                    double(g_BoardMaxY)});
}

void CVelmDoc::DistributeByGroupIndex(CRefList<CIsoGroup>& groups, CRefList<CIsoGroup>& targets,
                                      int slot)
{
    ::DistributeByGroupIndex(groups, targets, slot);
}

void CVelmDoc::DistributeByGroupIndex2(CRefList<CIsoElement>& pieces,
                                       CRefList<CIsoElement>& sources,
                                       CRefList<CIsoGroup>& groups, int slot)
{
    ::DistributeByGroupIndex2(*this, pieces, sources, groups, slot);
}

void CVelmDoc::BuildGroupRelations(CRefList<CIsoElement>& pieces, CRefList<CIsoGroup>& groups,
                                   std::uint8_t mode)
{
    ::BuildGroupRelations(*this, pieces, groups, mode);
}
