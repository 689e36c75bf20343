// Path-data picks by point and rubber band on the path layers and the
// drill holes: deleting the path under a click, copying what a band holds
// into selection layers ("-S") and taking it out again, trimming the path
// layers by a band, and deleting the holes a band holds. The clipping
// itself is editing/band_cuts.h.
#include "view/velm_view.h"

#include "editing/band_cuts.h"
#include "editing/hit_tests.h"
#include "editing/isolation_edit.h"
#include "editing/path_chain_setup.h"
#include "geometry/board_orientation.h"
#include "geometry/plane_geometry.h"
#include "machining/depth_dlg.h"
#include "platform/host.h"
#include "platform/program_state.h"
#include "records/board_extent.h"
#include "records/track_geometry.h"
#include "resource_ids.h"
#include "settings/work_order_dlg.h"
#include "ui/line_store.h"

#include <algorithm>
#include <memory>

namespace {

// A selection layer is named after its source layer with this mark.
constexpr const char* kSelectionMark = "-S";
constexpr COLORREF kSelectionColour = 0xC8C8C8;

bool IsSelectionLayer(const CPathRecord& layer)
{
    return layer.name.find(kSelectionMark) != std::string::npos;
}

CArcD ArcOf(const CPathSegment& s)
{
    return CArcD{s.x1, s.y1, s.x2, s.y2, s.cx, s.cy, s.type == 1 ? 1 : -1};
}

// A point of the board carried onto a panel copy where it lies on the table.
CDPoint OnPanel(const CLayoutBlock& block, double x, double y)
{
    return PlacePoint(block, x, y) + block.m_Centre;
}

// The copy of `s` that a selection over `block` takes, or none when the band
// does not hold enough of it: whole when both ends are inside (an arc turned
// the way the copy turns it), for a straight segment the piece inside.
std::unique_ptr<CPathSegment> SelectedPart(const CPathSegment& s, const CLayoutBlock& block,
                                           const CBandRect& band)
{
    const CDPoint a = OnPanel(block, s.x1, s.y1), b = OnPanel(block, s.x2, s.y2);
    auto copy = std::make_unique<CPathSegment>(s);
    // The job engraves the selection whatever state the source was in.
    copy->flag = 0;
    copy->type = ArcTypeOnBlock(s.type, block);
    if (band.Holds(a) && band.Holds(b)) {
        const CDPoint c = OnPanel(block, s.cx, s.cy);
        copy->x1 = a.x;
        copy->y1 = a.y;
        copy->x2 = b.x;
        copy->y2 = b.y;
        if (copy->type != 0) {
            copy->cx = c.x;
            copy->cy = c.y;
        }
        return copy;
    }
    if (!IsStraightSegment(s.type))
        return nullptr;
    const std::optional<CBandPiece> piece = InsidePiece(CutLineByBand(band, a, b));
    if (!piece)
        return nullptr;
    copy->x1 = piece->start.x;
    copy->y1 = piece->start.y;
    copy->x2 = piece->end.x;
    copy->y2 = piece->end.y;
    return copy;
}

// Puts a selection layer right after the first layer of its name, so that
// repeated selections of one layer stay together; at the end when there is
// none yet.
void InsertSelectionLayer(COwnedList<CPathRecord>& layers, std::unique_ptr<CPathRecord> layer)
{
    auto same = std::find_if(layers.begin(), layers.end(),
                             [&](const auto& other) { return other->name == layer->name; });
    layers.insert(same == layers.end() ? same : same + 1, std::move(layer));
}

// A neighbour of a deleted line that shares an end with it takes that end
// on to the line's other end, along its own axis, so the path stays closed.
void StretchOver(CPathSegment& neighbour, const CPathSegment& gone)
{
    const CDPoint a(gone.x1, gone.y1), b(gone.x2, gone.y2);
    const bool horizontal = neighbour.y1 == neighbour.y2;
    const bool vertical = neighbour.x1 == neighbour.x2;
    for (auto [x, y] : {std::pair{&neighbour.x1, &neighbour.y1}, std::pair{&neighbour.x2, &neighbour.y2}}) {
        const CDPoint end(*x, *y);
        const CDPoint* to = end == a ? &b : end == b ? &a : nullptr;
        if (!to)
            continue;
        if (horizontal)
            *x = to->x;
        else if (vertical)
            *y = to->y;
    }
}

}  // namespace

int CVelmView::DeletePathAt(CDPoint point)
{
    CIsoBusy busy;
    if (!busy.Entered())
        return 0;
    for (auto& layer : m_Doc.m_PathLayerList) {
        if (!IsEditablePathLayer(*layer))
            continue;
        auto& items = layer->items;
        for (std::size_t i = 0; i < items.size(); ++i) {
            CPathSegment* s = items[i].get();
            const bool straight = IsStraightSegment(s->type);
            const bool hit = straight ? PointInTrack(PathSegmentTrack(*s, layer->size), point) != 0
                                      : PointOnArc(ArcOf(*s), point, layer->size / 2.0);
            if (!hit)
                continue;
            m_Doc.SaveUndoSnapshot();
            ForgetEditedRecords();
            std::vector<CPathSegment*> gone{s};
            if (straight && m_KeyShift) {
                gone = CollectChain(*layer, s);
            } else if (straight && m_KeyCtrl) {
                for (std::size_t n : {i - 1, i + 1})
                    if (n < items.size())
                        StretchOver(*items[n], *s);
            }
            std::erase_if(items, [&](const std::unique_ptr<CPathSegment>& item) {
                return std::find(gone.begin(), gone.end(), item.get()) != gone.end();
            });
            Invalidate();
            return 0;
        }
    }
    return 0;
}

int CVelmView::StartPathBand(CDPoint start, std::function<void(const CBandRect& band)> done)
{
    CDPoint pixel = start;
    DocToScreenD(&pixel);
    TrackRubberBand(POINT{TruncToInt(pixel.x), TruncToInt(pixel.y)},
                    [this, done = std::move(done)](const RECT& band) {
                        // A click without a drag holds nothing: as abandoned.
                        if (band.left == band.right || band.top == band.bottom)
                            return;
                        POINT a{band.left, band.top}, b{band.right, band.bottom};
                        ScreenToDoc(&a);
                        ScreenToDoc(&b);
                        done(CBandRect(a.x, a.y, b.x, b.y));
                    });
    return 1;
}

int CVelmView::SelectDataInBand(CDPoint start)
{
    return StartPathBand(start, [this](const CBandRect& band) {
        CEngraveDepthDlg depthDlg;
        depthDlg.m_Depth = DefaultEngraveDepthPulses();
        depthDlg.DoModal();
        const int depth = depthDlg.m_Depth;
        MessageBeep(0);
        // The layers are listed first: the selection layers go into the
        // same list.
        std::vector<const CPathRecord*> sources;
        for (const auto& layer : m_Doc.m_PathLayerList)
            if (IsEditablePathLayer(*layer))
                sources.push_back(layer.get());
        int count = 0;
        for (const CPathRecord* source : sources) {
            auto selection = std::make_unique<CPathRecord>();
            for (const auto& block : m_BlockList)
                for (const auto& s : source->items)
                    if (auto part = SelectedPart(*s, *block, band))
                        selection->items.push_back(std::move(part));
            if (selection->items.empty())
                continue;
            count += static_cast<int>(selection->items.size());
            selection->side = source->side;
            selection->size = source->size;
            selection->depth = static_cast<float>(depth);
            selection->name = source->name + kSelectionMark;
            selection->colour = kSelectionColour;
            selection->kind = source->kind;
            selection->visible = 1;
            InsertSelectionLayer(m_Doc.m_PathLayerList, std::move(selection));
        }
        Invalidate();
        g_StatusText = FormatResText(IDS_SELECTED_COUNT, count);
    });
}

int CVelmView::DeselectDataInBand(CDPoint start)
{
    return StartPathBand(start, [this](const CBandRect& band) {
        // A selection layer follows the visibility of the layer it was
        // taken from (its name up to the first "-").
        auto takes = [this](const CPathRecord& layer) {
            return layer.side == g_CurrentSide && IsSelectionLayer(layer) &&
                   IsLayerVisible(layer.name.substr(0, layer.name.find('-')).c_str());
        };
        const int count = CutPathLayersByBand(m_Doc.m_PathLayerList, takes, band,
                                              [this] { ForgetEditedRecords(); });
        Invalidate();
        g_StatusText = FormatResText(IDS_SELECTED_COUNT, count);
    });
}

void CVelmView::TrimPathLayers(const CBandRect& band, bool otherSide)
{
    MessageBeep(0);
    const bool everySide = m_KeyCtrl != 0;
    auto takes = [this, otherSide, everySide](const CPathRecord& layer) {
        if (!IsLayerVisible(layer.name.c_str()))
            return false;
        return otherSide ? layer.side == 5 : everySide || layer.side == g_CurrentSide;
    };
    const int count = CutPathLayersByBand(m_Doc.m_PathLayerList, takes, band,
                                          [this] { ForgetEditedRecords(); });
    Invalidate();
    g_StatusText = FormatResText(IDS_SELECTED_COUNT, count);
}

int CVelmView::CutPathsInBand(CDPoint start)
{
    if (g_IsoDeleteBusy)
        return 0;
    return StartPathBand(start, [this](const CBandRect& band) {
        CIsoBusy busy;
        if (!busy.Entered())
            return;
        m_Doc.SaveUndoSnapshot();
        TrimPathLayers(band, false);
    });
}

int CVelmView::CutOtherPathsInBand(CDPoint start)
{
    return StartPathBand(start, [this](const CBandRect& band) { TrimPathLayers(band, true); });
}

int CVelmView::DeleteHolesInBand(CDPoint start)
{
    return StartPathBand(start, [this](const CBandRect& band) {
        int count = 0;
        for (auto tool = g_HoleList.begin(); tool != g_HoleList.end();) {
            const std::size_t before = (*tool)->holes.size();
            std::erase_if((*tool)->holes, [&](const std::unique_ptr<CDPoint>& hole) {
                return band.Holds(TruncToInt(hole->x), TruncToInt(hole->y));
            });
            count += static_cast<int>(before - (*tool)->holes.size());
            if (before != 0 && (*tool)->holes.empty())
                tool = g_HoleList.erase(tool);
            else
                ++tool;
            Invalidate();
        }
        g_StatusText = FormatResText(IDS_SELECTED_COUNT, count);
    });
}
