// The selection family's mouse work in the layout stages: picking panel
// copies and carrying out the block menu's edits on them, the layout-stage
// point picks (vision targets, registration holes, a hole's or a copy's
// coordinates, the tool-height detection point), and the picks of the
// partial-machining stage.
#include "view/velm_view.h"

#include "editing/hit_tests.h"
#include "editing/block_edits.h"
#include "editing/coord_input_dlg.h"
#include "geometry/plane_geometry.h"
#include "machining/vision.h"
#include "platform/host.h"
#include "platform/program_state.h"
#include "platform/resources.h"
#include "records/track_geometry.h"
#include "resource_ids.h"
#include "ui/line_store.h"
#include "view/edit_support.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr COLORREF kPickedFrame = RGB(0, 0, 255);
constexpr COLORREF kPlacingFrame = RGB(128, 128, 123);
constexpr COLORREF kHoleHighlight = VIEW_LIGHT_GREEN;
// The hole highlight's radius (mil): the registration hole marker's.
constexpr double kHoleHighlightRadius = 35.0;
// Click widths of the partial-machining picks (mil): isolation lines
// and isolation arcs (either side of the circle).
constexpr float kIsoLineWidth = 3.0f;
constexpr double kIsoArcReach = 5.0;


bool IsNothing(const CDPoint& p) { return p.x == 0.0 && p.y == 0.0; }

// PtInRect: the left and top edges are inside, the right and bottom not.
bool PtInRectD(const RECT& r, double x, double y)
{
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

// An isolation arc goes from its first to its second point the way the
// drawer sweeps it: type 1 with rising angle, type 2 the other way.
bool OnIsoArc(const CGridPathSegment& s, const CDPoint& p)
{
    CArcD arc;
    arc.x1 = s.x1;
    arc.y1 = s.y1;
    arc.x2 = s.x2;
    arc.y2 = s.y2;
    arc.cx = s.cx;
    arc.cy = s.cy;
    arc.direction = s.type == 1 ? 1 : 0;
    return PointOnArc(arc, p, kIsoArcReach);
}

// The end of a placing phase at `mil`: the picked copies copied or moved by
// the offset from the last pick's centre (both in whole mil), and the mode
// ended.
void PlacePicked(CVelmView& view, CDPoint mil, void (CVelmView::*place)(int, int), int& mode)
{
    (view.*place)(TruncToInt(mil.x - TruncToInt(view.m_DragStart.x)),
                  TruncToInt(mil.y - TruncToInt(view.m_DragStart.y)));
    view.m_PressState = mode = view.m_BlockPicking = 0;
    view.m_PlaceShown = 0;
    view.Invalidate();
    g_StatusText.clear();
}

}  // namespace

std::vector<CLayoutBlock*> CVelmView::EditListBlocks() const
{
    return PickedBlocks(m_EditList, m_BlockList);
}

POINT CVelmView::ConstrainToAnchor(POINT point) const
{
    if (!m_PressState || !m_KeyCtrl)
        return point;
    CDPoint anchor = m_DragStart;
    DocToScreenD(&anchor);
    const POINT a{TruncToInt(anchor.x), TruncToInt(anchor.y)};
    if (std::abs(point.x - a.x) > std::abs(point.y - a.y))
        point.y = a.y;
    else
        point.x = a.x;
    return point;
}

int CVelmView::PickBlocksAt(CDPoint point)
{
    auto pick = [this](CLayoutBlock* block) {
        // The first pick starts afresh: a placing phase that a cancel or
        // Escape left marked is over.
        if (!m_PressState)
            m_BlockPicking = 0;
        m_DragStart = block->m_Centre;
        m_EditList.push_back(block);
        DrawBlockFrameXor2(block, kPickedFrame, CDPoint());
        m_PressState = 1;
    };
    if (CLayoutBlock* block = FindBlockAt(point)) {
        if (IsInEditList(block))
            return 0;
        pick(block);
        g_StatusText = FormatResText(IDS_SELECTED_COUNT, static_cast<int>(m_EditList.size()));
        return 1;
    }
    CDPoint start = point;
    DocToScreenD(&start);
    TrackRubberBand(POINT{TruncToInt(start.x), TruncToInt(start.y)},
                    [this, pick](const RECT& band) {
                        // The band took the release.
                        m_SelectButtonHeld = 0;
                        MessageBeep(0);
                        const RECT mil = BandInMil(*this, band);
                        for (const auto& block : m_BlockList) {
                            const int cx = static_cast<int>(block->m_Centre.x);
                            const int cy = static_cast<int>(block->m_Centre.y);
                            if (PtInRectD(mil, cx, cy) && !IsInEditList(block.get()))
                                pick(block.get());
                        }
                        g_StatusText = FormatResText(IDS_SELECTED_COUNT,
                                                     static_cast<int>(m_EditList.size()));
                    });
    return 0;
}

void CVelmView::CopyEditListToBlocks(int dx, int dy)
{
    for (CLayoutBlock* block : EditListBlocks()) {
        // The copy shares the outline, as every copy does.
        auto copy = std::make_unique<CLayoutBlock>(*block);
        ShiftBlock(*copy, CDPoint(dx, dy));
        copy->m_Selected = 0;
        m_BlockList.push_back(std::move(copy));
    }
    m_EditList.clear();
}

void CVelmView::MoveEditListBlocks(int dx, int dy)
{
    for (CLayoutBlock* block : EditListBlocks())
        ShiftBlock(*block, CDPoint(dx, dy));
    m_EditList.clear();
}

void CVelmView::RotateEditListBlocks()
{
    for (CLayoutBlock* block : EditListBlocks()) {
        block->m_Swap = block->m_Swap ? 0 : 1;
        // The rectangle is what the picks and the layout read as the area
        // the copy covers: it turns with the copy.
        TurnBlockExtent(*block);
    }
}

void CVelmView::FlipEditListBlocksX()
{
    for (CLayoutBlock* block : EditListBlocks())
        block->m_Sign.x = -block->m_Sign.x;
}

void CVelmView::FlipEditListBlocksY()
{
    for (CLayoutBlock* block : EditListBlocks())
        block->m_Sign.y = -block->m_Sign.y;
}

void CVelmView::OnLButtonDownSelect(unsigned, POINT point)
{
    m_SelectButtonHeld = 1;
    point = ConstrainToAnchor(point);
    const CDPoint mil = ToMil(*this, point);
    const bool placing = m_PressState && m_BlockPicking;

    if (m_SampleDrillMode) {
        const CDPoint hole = FindPanelHoleAt(mil);
        if (!IsNothing(hole)) {
            RecordVisionTarget(hole);
            m_SampleDrillMode = 0;
        }
    } else if (m_RegHoleAddMode) {
        AddRegistrationHoleAt(POINT{TruncToInt(mil.x), TruncToInt(mil.y)});
    } else if (m_RegHolePickMode) {
        PickRegistrationHoleAt(mil);
    } else if (m_DrillCoordMode) {
        CLayoutBlock* block = FindBlockAt(mil);
        const CDPoint hole = FindPanelHoleAt(mil);
        // Without a copy and a hole under the pointer there is nothing to
        // place: the mode waits for a click on a hole.
        if (!block || IsNothing(hole)) {
            MessageBeep(0);
            return;
        }
        CCoordInputDlg dlg;
        dlg.m_CoordX = static_cast<float>(hole.x);
        dlg.m_CoordY = static_cast<float>(hole.y);
        if (dlg.DoModal() == IDOK) {
            // Both sides in the dialog's single precision, so an unchanged
            // answer moves nothing.
            ShiftBlock(*block, CDPoint(double(dlg.m_CoordX) - double(float(hole.x)),
                                       double(dlg.m_CoordY) - double(float(hole.y))));
            Invalidate();
        }
        m_DrillCoordMode = 0;
    } else if (m_ToolDetectMode) {
        m_Doc.m_DetectPosX = TruncToInt(mil.x);
        m_Doc.m_DetectPosY = TruncToInt(mil.y);
        Invalidate();
        m_ToolDetectMode = 0;
    } else if (m_BlockCopyMode) {
        if (placing) {
            PlacePicked(*this, mil, &CVelmView::CopyEditListToBlocks, m_BlockCopyMode);
        } else {
            PickBlocksAt(mil);
        }
    } else if (m_BlockCoordsMode) {
        CLayoutBlock* block = FindBlockAt(mil);
        if (!block) {
            MessageBeep(0);
            return;
        }
        CCoordInputDlg dlg;
        dlg.m_CoordX = static_cast<float>(block->m_Centre.x);
        dlg.m_CoordY = static_cast<float>(block->m_Centre.y);
        if (dlg.DoModal() == IDOK) {
            ShiftBlock(*block, CDPoint(dlg.m_CoordX - block->m_Centre.x,
                                       dlg.m_CoordY - block->m_Centre.y));
            block->m_Centre = CDPoint(dlg.m_CoordX, dlg.m_CoordY);
            Invalidate();
        }
        m_BlockCoordsMode = 0;
        m_EditList.clear();
    } else if (m_BlockDeleteMode || m_BlockRotateMode || m_BlockMirrorXMode ||
               m_BlockMirrorYMode) {
        PickBlocksAt(mil);
    } else if (m_BlockMoveMode || m_SelectBlockMode) {
        if (!placing)
            PickBlocksAt(mil);
    } else if (m_SelectDataMode) {
        if (!placing) {
            if (m_KeyCtrl || m_KeyShift)
                DeselectDataInBand(mil);
            else
                SelectDataInBand(mil);
        }
    }
}

void CVelmView::OnMouseMoveSelect(unsigned, POINT point)
{
    point = ConstrainToAnchor(point);
    const CDPoint mil = ToMil(*this, point);
    m_CursorPos = mil;

    if (m_SampleDrillMode || m_DrillCoordMode) {
        const CDPoint hole = FindPanelHoleAt(mil);
        const bool found = !IsNothing(hole);
        if (!(found && m_PanelHoleShown && hole == m_PanelHolePoint)) {
            if (m_PanelHoleShown)
                DrawHoleMarkerXor(m_PanelHolePoint, kHoleHighlightRadius, kHoleHighlight);
            m_PanelHoleShown = found ? 1 : 0;
            m_PanelHolePoint = hole;
            if (found)
                DrawHoleMarkerXor(hole, kHoleHighlightRadius, kHoleHighlight);
        }
    }

    // A drag of picked copies in the move mode places them like the
    // right-click's placing phase.
    if (m_BlockMoveMode && m_SelectButtonHeld && m_ButtonDown && m_PressState &&
        !EditListBlocks().empty())
        m_BlockPicking = 1;
    const bool copyPlacing = m_BlockCopyMode && m_BlockPicking;
    const bool movePlacing = m_BlockMoveMode && m_BlockPicking;
    if (!copyPlacing && !movePlacing)
        return;
    const std::vector<CLayoutBlock*> picked = EditListBlocks();
    const CDPoint offset(mil.x - m_DragStart.x, mil.y - m_DragStart.y);
    for (CLayoutBlock* block : picked) {
        if (m_PlaceShown)
            DrawBlockFrameXor(block, kPlacingFrame, m_PlaceOffset);
        DrawBlockFrameXor(block, kPlacingFrame, offset);
    }
    m_PlaceOffset = offset;
    m_PlaceShown = picked.empty() ? 0 : 1;
    if (movePlacing)
        g_StatusText = FormatResText(IDS_OFFSET_MIL, offset.x, offset.y);
}

void CVelmView::OnLButtonUpSelect(unsigned, POINT point)
{
    m_SelectButtonHeld = 0;
    point = ConstrainToAnchor(point);
    const CDPoint mil = ToMil(*this, point);
    if (!m_BlockMoveMode)
        return;
    if (m_PressState && m_BlockPicking) {
        PlacePicked(*this, mil, &CVelmView::MoveEditListBlocks, m_BlockMoveMode);
    } else {
        PickBlocksAt(mil);
    }
}

void CVelmView::OnRButtonDownSelect(unsigned, POINT)
{
    const std::vector<CLayoutBlock*> picked = EditListBlocks();
    const bool any = !picked.empty();
    if (m_BlockCopyMode && any) {
        m_BlockPicking = 1;
        g_StatusText = LoadResString(IDS_ASK_COPY_PLACE);
        return;
    }
    if (m_BlockRotateMode && any) {
        // A quarter turn: x and y exchanged, then x mirrored.
        RotateEditListBlocks();
        FlipEditListBlocksX();
    } else if (m_BlockMirrorXMode && any) {
        FlipEditListBlocksY();
    } else if (m_BlockMirrorYMode && any) {
        FlipEditListBlocksX();
    } else if (m_BlockMoveMode && any) {
        m_BlockPicking = 1;
        g_StatusText = LoadResString(IDS_ASK_MOVE_PLACE);
        return;
    } else if (m_BlockDeleteMode && any) {
        if (Host().MessageBox(LoadResString(IDS_ASK_DELETE_SELECTION), "Are You Sure ?",
                              MB_YESNO | MB_ICONQUESTION) == IDYES) {
            m_CopperSelectMode = 0;
            m_EditList.clear();
            std::erase_if(m_BlockList, [&picked](const auto& block) {
                return std::find(picked.begin(), picked.end(), block.get()) != picked.end();
            });
        }
    } else if (m_SelectBlockMode && any) {
        m_CopperSelectMode = 0;
        for (CLayoutBlock* block : picked)
            block->m_Selected = block->m_Selected ? 0 : 1;
    }
    // Every edit but the two placings ends the family here; with nothing
    // picked the right click only ends the mode.
    m_EditList.clear();
    for (int* mode : {&m_PressState, &m_BlockRotateMode, &m_BlockMirrorXMode, &m_BlockMirrorYMode,
                      &m_DrillCoordMode, &m_BlockCoordsMode, &m_BlockMoveMode, &m_SampleDrillMode,
                      &m_SelectBlockMode, &m_SelectDataMode, &m_BlockDeleteMode, &m_BlockCopyMode,
                      &m_RegHoleAddMode, &m_RegHolePickMode, &m_BlockPicking})
        *mode = 0;
    m_PlaceShown = 0;
    m_PanelHoleShown = 0;
    Invalidate();
    g_StatusText.clear();
}

void CVelmView::OnLButtonDownBlock(unsigned, POINT point)
{
    const CDPoint mil = ToMil(*this, point);
    const bool exclude = m_KeyCtrl || m_KeyShift;
    const std::uint32_t mark = exclude ? 1 : 0;
    switch (m_SubMode) {
    case 0: {
        for (const auto& block : m_BlockList) {
            block->m_Selected = 1;
            DrawBlockFrame(block.get(), VIEW_MAGENTA);
        }
        if (CLayoutBlock* block = FindBlockAt(mil)) {
            block->m_Selected = 0;
            DrawBlockFrame(block, VIEW_MAGENTA);
        }
        m_PressState = 1;
        return;
    }
    case 2: {
        bool lineHit = false, changed = false;
        for (const auto& s : m_Doc.m_GridPathList) {
            if (s->type == 0) {
                if (PointInTrack(TrackAlong(s->x1, s->y1, s->x2, s->y2, kIsoLineWidth), mil)) {
                    s->doneMark = mark;
                    lineHit = changed = true;
                    break;
                }
            } else if (OnIsoArc(*s, mil)) {
                s->doneMark = mark;
                changed = true;
            }
        }
        if (changed)
            Invalidate();
        if (!lineHit)
            TrackRubberBand(point, [this, mark](const RECT& band) {
                const RECT r = BandInMil(*this, band);
                for (const auto& s : m_Doc.m_GridPathList) {
                    const bool start = PtInRectD(r, s->x1, s->y1);
                    if (start || (s->type == 0 && PtInRectD(r, s->x2, s->y2)))
                        s->doneMark = mark;
                }
                Invalidate();
            });
        m_PressState = 1;
        return;
    }
    case 3:
        PickClearStrokes(point);
        m_PressState = 1;
        return;
    case 4: m_PressState = 1; return;
    default: return;
    }
}

void CVelmView::OnRButtonDownBlock(unsigned, POINT)
{
    m_BlockPicking = 0;
    m_PressState = 0;
    UpdateScrollSizes();
    m_LastPoint = POINT{m_Doc.m_ViewExtent.minX, m_Doc.m_ViewExtent.minY};
    Invalidate();
}
