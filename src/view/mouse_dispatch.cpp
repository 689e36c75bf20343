// The board view's mouse: the four messages and the cursor. The view itself
// owns four tools (the ruler handles, the document's clearing bands, the
// Window zoom and the pan drag) and the rubber band they and the modes
// drag; every other press, move, release and right click goes to the worker
// of the mode family whose flag is armed.
#include "view/velm_view.h"

#include "geometry/plane_geometry.h"
#include "link/working_depth.h"
#include "machining/number_input_dlg.h"
#include "platform/host.h"
#include "platform/program_state.h"
#include "platform/resources.h"
#include "records/board_extent.h"
#include "resource_ids.h"
#include "settings/machine_settings.h"
#include "settings/work_order_dlg.h"
#include "ui/line_store.h"
#include "view/view_window.h"

#include <cerrno>
#include <cmath>
#include <cstdarg>
#include <cstdlib>
#include <vector>

namespace {

using Flag = int CVelmView::*;

// A ruler handle is grabbed closer than this (pixels).
constexpr double kRulerGrab = 5.0;
// The surface readout warns when the point stands out of its neighbours by
// more than this (Z pulses), and not more often than every kWarningGapMs.
constexpr double kReliefWarning = 6.0;
constexpr std::uint32_t kWarningGapMs = 500;
constexpr unsigned kWarningToneMs = 150;
constexpr COLORREF kPanLineColour = VIEW_SILVER;

const std::vector<Flag> kEditFlags = {
    &CVelmView::m_IsoPickMode,    &CVelmView::m_CopperSelectMode, &CVelmView::m_DataRangeMode,
    &CVelmView::m_CopyMode,       &CVelmView::m_MoveMode,         &CVelmView::m_CopperLineMode,
    &CVelmView::m_RouteSetupMode, &CVelmView::m_CopperCircleMode, &CVelmView::m_CopperRectMode,
    &CVelmView::m_CopperAlignMode, &CVelmView::m_TextMode,        &CVelmView::m_LineWidthMode,
    &CVelmView::m_DxfCamMode};

// Family B without the two flags that only some of its messages test.
const std::vector<Flag> kRouteFlags = {
    &CVelmView::m_RouteDrawMode,  &CVelmView::m_RouteDraw2Mode, &CVelmView::m_IsoPickMode,
    &CVelmView::m_DrillMoveMode,  &CVelmView::m_RouteOriginMode, &CVelmView::m_RouteLineMode,
    &CVelmView::m_RouteCircleMode, &CVelmView::m_RouteRectMode, &CVelmView::m_RangeMode,
    &CVelmView::m_TrimMode,       &CVelmView::m_ResetClearMode, &CVelmView::m_RouteSetupMode,
    &CVelmView::m_DxfCamMode};

const std::vector<Flag> kSelectFlags = {
    &CVelmView::m_SampleDrillMode, &CVelmView::m_BlockCopyMode,   &CVelmView::m_BlockDeleteMode,
    &CVelmView::m_BlockMoveMode,   &CVelmView::m_SelectDataMode,  &CVelmView::m_SelectBlockMode,
    &CVelmView::m_BlockRotateMode, &CVelmView::m_BlockMirrorXMode, &CVelmView::m_BlockMirrorYMode,
    &CVelmView::m_RegHoleAddMode,  &CVelmView::m_RegHolePickMode, &CVelmView::m_BlockCoordsMode,
    &CVelmView::m_RouteSetupMode,  &CVelmView::m_DxfCamMode,      &CVelmView::m_DrillCoordMode,
    &CVelmView::m_ToolDetectMode};

const std::vector<Flag> kTwoPointFlags = {&CVelmView::m_DrillFindMode, &CVelmView::m_DrillAddMode,
                                          &CVelmView::m_DrillAlignMode,
                                          &CVelmView::m_DrillMoveMode};

bool AnySet(const CVelmView& view, const std::vector<Flag>& flags)
{
    for (Flag f : flags)
        if (view.*f)
            return true;
    return false;
}

bool RouteArmed(const CVelmView& view, EMouseEvent event)
{
    if (AnySet(view, kRouteFlags))
        return true;
    // The move also answers to the line-width mode; the release leaves
    // copper-to-route out, so that mode has no release worker.
    if (event == EMouseEvent::Move && view.m_LineWidthMode)
        return true;
    return event != EMouseEvent::Up && view.m_CopperToRouteMode;
}

bool BlockArmed(const CVelmView& view)
{
    if (!view.m_BlockPicking)
        return false;
    for (int f : view.m_PickFlags)
        if (f)
            return true;
    return false;
}

bool TwoPointArmed(const CVelmView& view, EMouseEvent event)
{
    if (AnySet(view, kTwoPointFlags))
        return true;
    return event != EMouseEvent::Right && (view.m_RouteSetupMode || view.m_DxfCamMode);
}

CTrackRecord PanLine(const CVelmView& view, const CDPoint& from, POINT to)
{
    CDPoint end(to.x, to.y);
    view.ScreenToDocD(&end);
    CTrackRecord line;
    line.x1 = static_cast<float>(from.x);
    line.y1 = static_cast<float>(from.y);
    line.x2 = static_cast<float>(end.x);
    line.y2 = static_cast<float>(end.y);
    line.width = 1.0f;
    return line;
}

double PixelDistance(POINT p, const CDPoint& q) { return Distance(p.x, p.y, q.x, q.y); }

RECT Normalised(const RECT& r)
{
    return RECT{std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right),
                std::max(r.top, r.bottom)};
}

}  // namespace

std::string FormatText(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string text = VFormat(format, args);
    va_end(args);
    return text;
}

EMouseFamily MouseFamily(const CVelmView& view, EMouseEvent event)
{
    if (AnySet(view, kEditFlags))
        return EMouseFamily::Edit;
    if (RouteArmed(view, event))
        return EMouseFamily::Route;
    if (AnySet(view, kSelectFlags))
        return EMouseFamily::Select;
    // The release goes to families A, B and S only; the two-point family's
    // release worker is run apart (it does nothing).
    if (event == EMouseEvent::Up)
        return EMouseFamily::None;
    // The partial-machining picks have no move worker.
    if (event != EMouseEvent::Move && BlockArmed(view))
        return EMouseFamily::Block;
    if (TwoPointArmed(view, event))
        return EMouseFamily::TwoPoint;
    return EMouseFamily::None;
}

void CVelmView::TrackRubberBand(POINT start, BandDone done)
{
    if (m_BandActive)
        AbandonRubberBand();
    m_BandActive = true;
    m_Band = RECT{start.x, start.y, start.x, start.y};
    m_BandDone = std::move(done);
    DrawBand();
}

void CVelmView::AbandonRubberBand()
{
    if (!m_BandActive)
        return;
    DrawBand();
    m_BandActive = false;
    m_BandDone = nullptr;
}

void CVelmView::OnLButtonDown(unsigned flags, POINT point)
{
    if (g_Calculating)
        return;
    m_ButtonDown = 1;
    // A press while a band is still out (its release was lost) only ends it.
    if (m_BandActive) {
        AbandonRubberBand();
        return;
    }
    if (m_RulerActive && m_PressState == 0) {
        const bool nearA = PixelDistance(point, m_RulerA) < kRulerGrab;
        if (nearA || PixelDistance(point, m_RulerB) < kRulerGrab) {
            m_DragStart = nearA ? m_RulerA : m_RulerB;
            m_PressState = nearA ? 3 : 2;
            // The held ruler is drawn inverted from now on, so each move can
            // take it away again exactly.
            Invalidate();
            return;
        }
    }
    if (m_Doc.m_ClearAreaFlag || m_Doc.m_RectRecordFlag) {
        const bool columns = m_Doc.m_ClearAreaFlag != 0;
        TrackRubberBand(point, [this, columns](const RECT& band) {
            MessageBeep(0);
            RECT r = Normalised(band);
            POINT a{r.left, r.top}, b{r.right, r.bottom};
            ScreenToDoc(&a);
            ScreenToDoc(&b);
            m_Doc.AddClearRegion(RECT{a.x, a.y, b.x, b.y}, [this, columns](CClearRegion* region) {
                return columns ? m_Doc.ClearRegionColumns(region) : m_Doc.ClearRegionRows(region);
            });
            (columns ? m_Doc.m_ClearAreaFlag : m_Doc.m_RectRecordFlag) = 0;
            Invalidate();
        });
        return;
    }
    if (m_ZoomWindowMode) {
        TrackRubberBand(point, [this](const RECT& band) { ZoomToBand(band); });
        return;
    }
    switch (MouseFamily(*this, EMouseEvent::Down)) {
    case EMouseFamily::Edit: OnLButtonDownEdit(flags, point); return;
    case EMouseFamily::TwoPoint: PickTwoPoints(flags, point); return;
    case EMouseFamily::Route: OnLButtonDownRoute(flags, point); return;
    case EMouseFamily::Select: OnLButtonDownSelect(flags, point); return;
    case EMouseFamily::Block: OnLButtonDownBlock(flags, point); return;
    case EMouseFamily::None: break;
    }
    if (m_PanMode) {
        // The release of the last drag was missed: this press only ends it.
        m_PanMode = 0;
        m_PressState = 0;
        Invalidate();
        return;
    }
    m_PanMode = 1;
    m_PressState = 1;
    m_DragStart = CDPoint(point.x, point.y);
    g_StatusText = LoadResString(IDS_PAN);
}

void CVelmView::SurfaceWarningBeep(double relief)
{
    if (!(std::fabs(relief) > kReliefWarning))
        return;
    const std::uint32_t now = GetTickCount();
    if (m_WarningSounded && now - m_LastWarningTick < kWarningGapMs)
        return;
    m_WarningSounded = 1;
    m_LastWarningTick = now;
    // Higher for a larger step, whichever way it goes, within what a
    // speaker can sound.
    const double hz = std::clamp(100.0 * std::fabs(relief), 37.0, 32767.0);
    Beep(static_cast<unsigned>(hz), kWarningToneMs);
}

void CVelmView::OnMouseMove(unsigned flags, POINT point)
{
    // A path calculation pumps messages: the board does not react meanwhile.
    if (g_Calculating)
        return;
    if (m_BandActive) {
        DrawBand();
        m_Band.right = point.x;
        m_Band.bottom = point.y;
        DrawBand();
        return;
    }
    CDPoint mil(point.x, point.y);
    ScreenToDocD(&mil);
    m_CursorPos = mil;

    if (g_SurfaceCompensation) {
        const int x = static_cast<int>(mil.x * g_PulsesPerMil);
        const int y = static_cast<int>(mil.y * g_PulsesPerMil);
        const int s = static_cast<int>(g_SurfaceGrid.m_GridSpacing * g_XYPulsesPerMM);
        const double z = GetSurfaceHeight(x, y);
        const POINT around[6] = {{x + s, y}, {x + s, y + s}, {x, y + s},
                                 {x - s, y - s}, {x, y - s}, {x - s, y}};
        double sum = 0.0;
        for (POINT p : around)
            sum += GetSurfaceHeight(p.x, p.y);
        const double relief = z - sum / 6.0;
        g_StatusText = FormatText("Z:(%g) R:(%g)", z, relief);
        SurfaceWarningBeep(relief);
    }
    if (m_ManualDrillMode)
        m_ManualPointA = mil;

    if (m_PressState > 1 && m_RulerActive) {
        DrawRuler(1);
        (m_PressState == 3 ? m_RulerA : m_RulerB) = CDPoint(point.x, point.y);
        DrawRuler(1);
        const double pixels = Distance(m_RulerA.x, m_RulerA.y, m_RulerB.x, m_RulerB.y);
        g_StatusText = FormatText("Length: %g mm", pixels * m_Scale / 39.37);
    }

    if (m_PressState == 0 || m_PanMode == 0) {
        switch (MouseFamily(*this, EMouseEvent::Move)) {
        case EMouseFamily::Edit: OnMouseMoveEdit(flags, point); break;
        case EMouseFamily::Route: OnMouseMoveRoute(flags, point); break;
        case EMouseFamily::TwoPoint: TrackHover(flags, point); break;
        case EMouseFamily::Select: OnMouseMoveSelect(flags, point); break;
        default: break;
        }
    } else {
        // The drag line is a one-mil line record between the anchor and the
        // cursor, erased at the previous cursor point first.
        CDPoint from = m_DragStart;
        ScreenToDocD(&from);
        if (m_LastMovePressState) {
            const CTrackRecord last = PanLine(*this, from, m_LastMovePoint);
            DrawMouseMoveXor(&last, kPanLineColour);
        }
        const CTrackRecord line = PanLine(*this, from, point);
        DrawMouseMoveXor(&line, kPanLineColour);
        g_StatusText =
            FormatText(LoadResString(IDS_RELATIVE_POSITION).c_str(), mil.x - from.x, mil.y - from.y);
    }
    m_LastMovePoint = point;
    m_LastMovePressState = m_PressState;
}

void CVelmView::OnLButtonUp(unsigned flags, POINT point)
{
    m_ButtonDown = 0;
    if (m_BandActive) {
        DrawBand();
        m_BandActive = false;
        m_Band.right = point.x;
        m_Band.bottom = point.y;
        BandDone done = std::move(m_BandDone);
        m_BandDone = nullptr;
        if (done)
            done(m_Band);
        return;
    }
    CDPoint mil(point.x, point.y);
    ScreenToDocD(&mil);
    const int px = static_cast<int>(mil.x * g_PulsesPerMil);
    const int py = static_cast<int>(mil.y * g_PulsesPerMil);
    if (g_SurfaceCompensation && m_KeyShift) {
        SmoothSurfacePoint(px, py);
        Invalidate();
        m_KeyShift = 0;
    }
    if (g_SurfaceCompensation && m_KeyCtrl) {
        CNumberInputDlg dlg;
        dlg.m_Prompt = "New Value:";
        dlg.m_Value = FormatText("%ld", long(GetSurfaceHeight(px, py)));
        if (dlg.DoModal() == IDOK) {
            // Only a whole number replaces the height: an empty or mistyped
            // text would otherwise set it to 0.
            errno = 0;
            char* end = nullptr;
            const long value = std::strtol(dlg.m_Value.c_str(), &end, 10);
            while (end && (*end == ' ' || *end == '\t'))
                ++end;
            if (end != dlg.m_Value.c_str() && end && *end == '\0' && errno == 0)
                SetSurfacePoint(px, py, static_cast<int>(value));
            else
                MessageBeep(0);
        }
        Invalidate();
        m_KeyCtrl = 0;
    }
    if (m_ManualDrillMode && m_KeyCtrl)
        m_ManualPointA = mil;
    // A release ends a drag of a ruler handle; the first point a two-click
    // tool holds stays held while the ruler shows.
    if (m_RulerActive && m_PressState > 1) {
        m_PressState = 0;
        Invalidate();
    }
    if (m_KeyCtrl && m_ManualEngraveMode && m_PanMode) {
        CDPoint start = m_DragStart;
        ScreenToDocD(&start);
        m_ManualPointA = start;
        m_ManualPointB = mil;
        m_PanMode = 0;
        m_PressState = 0;
        Invalidate();
    } else if (m_PanMode) {
        m_PanMode = 0;
        m_PressState = 0;
        m_Origin.x += point.x - m_DragStart.x;
        m_Origin.y += point.y - m_DragStart.y;
        m_ZoomHistIndex = (m_ZoomHistIndex + 1) % ZOOM_HISTORY;
        g_StatusText.clear();
        m_KeyCtrl = m_KeyShift = 0;
        Invalidate();
        return;
    } else {
        switch (MouseFamily(*this, EMouseEvent::Up)) {
        case EMouseFamily::Edit: OnLButtonUpEdit(flags, point); break;
        case EMouseFamily::Route: OnLButtonUpRoute(flags, point); break;
        case EMouseFamily::Select: OnLButtonUpSelect(flags, point); break;
        default: break;
        }
    }
    if (AnySet(*this, kTwoPointFlags) || m_RouteSetupMode || m_DxfCamMode)
        OnLButtonUpOther(flags, point);
    // A held-key letter acts for one click only.
    m_KeyCtrl = m_KeyShift = 0;
}

void CVelmView::OnRButtonDown(unsigned flags, POINT point)
{
    if (g_Calculating)
        return;
    if (m_BandActive) {
        AbandonRubberBand();
        return;
    }
    if (m_ManualEngraveMode || m_ManualDrillMode) {
        CDPoint mil(point.x, point.y);
        ScreenToDocD(&mil);
        m_ManualPointB = mil;
        return;
    }
    if (m_PressState != 0) {
        switch (MouseFamily(*this, EMouseEvent::Right)) {
        case EMouseFamily::Edit: OnRButtonDownEdit(flags, point); break;
        case EMouseFamily::Route: OnRButtonDownRoute(flags, point); break;
        case EMouseFamily::TwoPoint: CancelEditMode(flags, point); break;
        case EMouseFamily::Select: OnRButtonDownSelect(flags, point); break;
        case EMouseFamily::Block: OnRButtonDownBlock(flags, point); break;
        default: break;
        }
        return;
    }

    m_PopupStates.clear();
    const int stage = m_Doc.m_WorkStage;
    auto check = [this](unsigned id, bool on) { m_PopupStates[id].checked = on ? 1 : 0; };
    auto enable = [this](unsigned id, bool on) { m_PopupStates[id].enabled = on ? 1 : 0; };
    if (stage == 1) {
        if (m_CopperSelectMode) {
            OnPopupCancel();
            return;
        }
        check(ID_COMPONENT_SIDE, g_CurrentSide == 0);
        check(ID_SOLDER_SIDE, g_CurrentSide != 0);
        const bool picked = !m_SelTracks.empty() || !m_SelFlashes.empty();
        for (unsigned id : {ID_COPPER_COPY, ID_COPPER_DELETE, ID_COPPER_TO_ROUTE_OFFSET})
            enable(id, picked);
        enable(ID_COPPER_ALIGN, g_HasComponentSide && g_HasSolderSide);
    } else if (stage == 3 || stage == 5) {
        check(ID_SHOW_ITEM_ONE, m_ShowItemOne);
        check(ID_SHOW_ITEM_TWO, m_ShowItemTwo);
        check(ID_SHOW_COPPER, m_ShowCopper);
        check(ID_SHOW_DRILLS, m_ShowDrill);
        check(ID_SHOW_CLEARING, m_ShowClear);
        check(ID_SHOW_ISOLATION, m_ShowIso);
        check(ID_SHOW_ROUTE, m_ShowRoute);
    } else if (stage == 4) {
        check(ID_PARTIAL_SELECT_ALL, m_PickFlags[0]);
        check(ID_PARTIAL_UNSELECT_ALL, !m_PickFlags[0]);
        check(ID_PARTIAL_OUTLINE_PICK, m_PickFlags[2]);
        check(ID_PARTIAL_OUTLINE_RESUME, !m_PickFlags[2]);
        check(ID_PARTIAL_CLEARING_PICK, m_PickFlags[3]);
        check(ID_PARTIAL_CLEARING_RESUME, !m_PickFlags[3]);
    } else {
        // The path stage (and a document without a stage) has no menu.
        return;
    }
    if (m_Window)
        m_Window->ShowPopupMenu(PopupMenuForStage(), point);
    if (stage == 1)
        m_LastPoint = POINT{m_Doc.m_ViewExtent.minX, m_Doc.m_ViewExtent.minY};
    else
        m_LastPoint = POINT{0, 0};
}

void CVelmView::OnRButtonDownEdit(unsigned, POINT)
{
    if (m_PressState == 0)
        return;
    for (int* flag : {&m_RouteSetupMode, &m_DxfCamMode, &m_PressState, &m_RulerActive,
                      &m_CopperLineMode, &m_CopperCircleMode, &m_CopperRectMode,
                      &m_RouteOriginMode, &m_DrillMoveMode, &m_MoveMode, &m_CopyMode,
                      &m_CopperSelectMode, &m_DataRangeMode, &m_TextMode})
        *flag = 0;
    Invalidate();
    g_StatusText = LoadResString(IDS_CANCELLED);
    m_RangeMode = m_TrimMode = m_TrimBlockMode = 0;
}

int CVelmView::OnSetCursor() const
{
    const bool ctrl = m_KeyCtrl != 0, shift = m_KeyShift != 0;
    if (m_Doc.m_ClearAreaFlag || m_Doc.m_RectRecordFlag)
        return CURSOR_CROSS;
    if (m_ZoomWindowMode)
        return CURSOR_ZOOM;
    if (m_SampleDrillMode)
        return CURSOR_SAMPLE;
    if (m_CopperLineMode || m_CopperRectMode || m_CopperCircleMode || m_RouteOriginMode ||
        m_CopperAlignMode || m_DrillMoveMode || m_LineWidthMode || m_RouteLineMode ||
        m_RouteCircleMode || m_RouteRectMode)
        return ctrl ? CURSOR_DRAW_CTRL : CURSOR_CROSS;
    if (m_CopperSelectMode || m_DataRangeMode || m_CopyMode || m_RouteDrawMode ||
        m_BlockCopyMode || m_BlockDeleteMode || m_BlockMoveMode || m_SelectDataMode ||
        m_SelectBlockMode || m_BlockRotateMode || m_BlockMirrorXMode || m_BlockMirrorYMode ||
        m_CopperToRouteMode || m_RegHoleAddMode || m_RegHolePickMode || m_BlockCoordsMode ||
        m_ResetClearMode || m_DrillCoordMode || m_ToolDetectMode) {
        if (m_BlockPicking)
            return 0;
        return ctrl ? CURSOR_PICK_CTRL : CURSOR_CROSS;
    }
    if (m_IsoPickMode)
        return ctrl ? CURSOR_ISO_CTRL : CURSOR_ISO;
    if (m_TrimMode) {
        if (ctrl && m_TrimBlockMode)
            return CURSOR_TRIM_BLOCK_CTRL;
        if (shift && m_TrimBlockMode)
            return CURSOR_TRIM_BLOCK_SHIFT;
        if (ctrl)
            return CURSOR_TRIM_CTRL;
        if (shift)
            return CURSOR_TRIM_SHIFT;
        return CURSOR_CROSS;
    }
    if (AnySet(*this, kTwoPointFlags))
        return m_BlockPicking ? 0 : CURSOR_CROSS;
    if (m_BlockPicking || m_RangeMode || m_MoveMode)
        return CURSOR_CROSS;
    if (m_RouteSetupMode || m_DxfCamMode)
        return CURSOR_ISO;
    if (g_Calculating)
        return CURSOR_KEEP;
    if (m_TextMode)
        return CURSOR_IBEAM;
    return 0;
}

// Callers that have no key flags to pass.
void CVelmView::OnLButtonDown(POINT point) { OnLButtonDown(0, point); }
void CVelmView::OnMouseMove(POINT point) { OnMouseMove(0, point); }
void CVelmView::OnLButtonUp(POINT point) { OnLButtonUp(0, point); }
