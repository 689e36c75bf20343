// The board view's construction and destruction, its window, invalidation and
// the restartable redraw, the small list functions the editing modes share,
// and the view's command table.
#include "view/velm_view.h"

#include "editing/block_layout.h"
#include "link/link_state.h"
#include "platform/program_state.h"
#include "settings/machine_param_dlg.h"
#include "settings/vision_targets.h"
#include "platform/host.h"
#include "platform/message_pump.h"
#include "resource_ids.h"
#include "ui/cmd_ui.h"
#include "settings/layer_dlg.h"
#include "view/view_window.h"

#include <algorithm>
#include <cmath>

namespace {

// A planning walk marks its steps in this colour while it runs.
constexpr COLORREF kWalkStepColour = VIEW_YELLOW;

// The right-button menus, in the order the view keeps them.
constexpr unsigned kPopupMenuIds[7] = {IDR_POPUP_EDIT,    IDR_POPUP_PATHS,  IDR_POPUP_MACHINING,
                                       IDR_POPUP_LAYOUT,  IDR_POPUP_LAYOUT, IDR_POPUP_PARTIAL,
                                       IDR_POPUP_SPARE};

template <class T>
int Contains(const CRefList<T>& list, const void* item)
{
    return std::find(list.begin(), list.end(), item) != list.end() ? 1 : 0;
}

template <class T>
int RemoveFirst(CRefList<T>& list, const void* item)
{
    auto it = std::find(list.begin(), list.end(), item);
    if (it == list.end())
        return 0;
    list.erase(it);
    return 1;
}

}  // namespace

CVelmView::CVelmView(CVelmDoc& doc)
    : m_SelTracks(doc.m_PanelLayout.m_SelTracks),
      m_SelRouteItems(doc.m_PanelLayout.m_SelRouteItems),
      m_SelFlashes(doc.m_PanelLayout.m_SelFlashes),
      m_BlockList(doc.m_PanelLayout.m_BlockList),
      m_OutlinePoints(doc.m_PanelLayout.m_OutlinePoints),
      m_SimToolSize(g_SimToolSize),
      m_Doc(doc)
{
    g_StatusText = "ORDUNE Message ....";
    g_TargetCount = 0;
    for (std::size_t i = 0; i < m_PopupMenus.size(); ++i)
        m_PopupMenus[i] = LoadMenuTree(kPopupMenuIds[i]);
    RegisterCommands();
    doc.m_ViewHooks.zoomToFit = [this] { OnWindowAll(); };
    doc.m_ViewHooks.updateAllViews = [this] { OnUpdate(nullptr); };
    doc.m_ViewHooks.showDrills = [this] { m_ShowDrill = 1; };
    doc.m_ViewHooks.showRoute = [this] { m_ShowRoute = 1; };
    doc.m_ViewHooks.drawSegmentNow = [this](float x, float y) {
        DrawSegmentNow(x, y, kWalkStepColour);
    };
    doc.m_ViewHooks.showPaths = [this] {
        m_DisplayStyle = 2;
        Invalidate();
    };
    CommandRouter().Attach(CommandLevel::View, &m_Commands);
}

CVelmView::~CVelmView()
{
    ClearLists();
    if (m_TimerRunning)
        Host().KillTimer(m_TimerId);
    m_TrimList.clear();
    m_Doc.m_ViewHooks.zoomToFit = nullptr;
    m_Doc.m_ViewHooks.updateAllViews = nullptr;
    m_Doc.m_ViewHooks.showDrills = nullptr;
    m_Doc.m_ViewHooks.showRoute = nullptr;
    m_Doc.m_ViewHooks.drawSegmentNow = nullptr;
    m_Doc.m_ViewHooks.showPaths = nullptr;
    m_Doc.m_ViewHooks.blockLayout = nullptr;
    CommandRouter().Detach(&m_Commands);
}

void CVelmView::SetWindow(CViewWindow* window)
{
    m_Window = window;
}

CDrawSurface& CVelmView::Surface()
{
    return m_Window ? m_Window->Surface() : m_NullSurface;
}

RECT CVelmView::GetClientRect() const
{
    return m_Window ? m_Window->ClientRect() : RECT{};
}

void CVelmView::OnInitialUpdate()
{
    UpdateScrollSizes();
    OnWindowAll();
    g_StatusText = "Welcome to the " + g_MachineModel;
}

void CVelmView::OnUpdate(const RECT* /*hint*/)
{
    // The whole area is painted again in every case: the backing image is
    // redrawn as a whole, so a smaller rectangle would save nothing.
    Invalidate();
}

void CVelmView::UpdateScrollSizes()
{
    // The scroll size is always the client size: the view never scrolls,
    // panning moves m_Origin.
}

void CVelmView::Invalidate()
{
    ++m_InvalidateCount;
    if (m_Drawing) {
        m_RedrawPending = true;
        return;
    }
    if (m_Window)
        m_Window->RequestRedraw();
}

void CVelmView::Redraw()
{
    if (m_Drawing) {
        m_RedrawPending = true;
        return;
    }
    CDrawSurface& dc = Surface();
    do {
        m_RedrawPending = false;
        m_Drawing = true;
        dc.BeginDraw();
        OnDraw(dc);
        dc.EndDraw();
        m_Drawing = false;
    } while (m_RedrawPending);
    if (m_Window)
        m_Window->SurfaceChanged();
}

bool CVelmView::PumpDuringDraw()
{
    PumpMessages();
    return m_RedrawPending;
}

CViewDC::CViewDC(CVelmView& view) : dc(view.Surface()), m_View(view), m_Saver(dc)
{
    dc.BeginDraw();
}

CViewDC::~CViewDC()
{
    dc.EndDraw();
    if (!m_View.m_Drawing && m_View.m_Window)
        m_View.m_Window->SurfaceChanged();
}

RECT CVelmView::CalcPointListBounds(const COwnedList<POINT>& points)
{
    return PointListBounds(points);
}

void CVelmView::ClearLists()
{
    m_Doc.m_PanelLayout.ClearLists();
}

int CVelmView::IsInSelListA(const CTrackRecord* item) const { return Contains(m_SelTracks, item); }
int CVelmView::IsInSelListB(const void* item) const { return Contains(m_SelRouteItems, item); }
int CVelmView::IsInSelListC(const CFlashRecord* item) const { return Contains(m_SelFlashes, item); }
int CVelmView::IsInSelListD(const CClearRegion* item) const { return Contains(m_SelClearRegions, item); }
int CVelmView::IsInEditList(const void* item) const { return Contains(m_EditList, item); }
int CVelmView::RemoveFromSelListA(const CTrackRecord* item) { return RemoveFirst(m_SelTracks, item); }
int CVelmView::RemoveFromSelListB(const void* item) { return RemoveFirst(m_SelRouteItems, item); }
int CVelmView::RemoveFromSelListC(const CFlashRecord* item) { return RemoveFirst(m_SelFlashes, item); }
int CVelmView::RemoveFromSelListD(const CClearRegion* item)
{
    return RemoveFirst(m_SelClearRegions, item);
}

int CVelmView::HitTestPointMarkers(int x, int y) const
{
    for (const auto& marker : m_MarkerList)
        if (marker->m_Point.x == x && marker->m_Point.y == y)
            return 1;
    return 0;
}

const CMenuNode& CVelmView::PopupMenuForStage() const
{
    switch (m_Doc.m_WorkStage) {
    case 2: return m_PopupMenus[1];
    case 3: return m_PopupMenus[3];
    case 4: return m_PopupMenus[5];
    case 5: return m_PopupMenus[2];
    default: return m_PopupMenus[0];
    }
}

int CVelmView::IsLayerVisible(const char* name) const
{
    return name ? ::IsLayerVisible(std::string(name)) : 0;
}

void CVelmView::OnLayerControl()
{
    // Not while a job runs: the layers decide what the job machines.
    if (g_JobCode != 0)
        return;
    m_CopperHighlight = 0;
    g_LayerDlg.DoModal();
    Invalidate();
}

void CVelmView::OnDisplayStyle()
{
    m_DisplayStyle = (m_DisplayStyle + 1) % 4;
    Invalidate();
}

void CVelmView::RegisterCommands()
{
    m_Commands.OnCommand(ID_ZOOM_IN, [this] { OnZoomIn(); });
    m_Commands.OnCommand(ID_ZOOM_OUT, [this] { OnZoomOut(); });
    m_Commands.OnCommand(ID_ZOOM_WINDOW, [this] { OnZoomWindow(); });
    m_Commands.OnCommand(ID_ZOOM_PREVIOUS, [this] { OnZoomPrevious(); });
    m_Commands.OnCommand(ID_WINDOW_ALL, [this] { OnWindowAll(); });
    m_Commands.OnCommand(ID_LAYER_CONTROL, [this] { OnLayerControl(); });
    m_Commands.OnCommand(ID_DISPLAY_STYLE, [this] { OnDisplayStyle(); });
    m_Commands.OnCommand(ID_ADD_FULL_CLEAR_AREA, [this] { OnAddFullClearArea(); });
    m_Commands.OnCommand(ID_RESET_CLEAR_DONE, [this] { OnResetClearDone(); });
    m_Commands.OnCommand(ID_DRILL_TOOL_SIZES, [this] { OnDrillToolSize(); });
    m_Commands.OnCommand(ID_MARK_ONE, [this] { m_Mark1Checked = !m_Mark1Checked; });
    m_Commands.OnUpdateCommand(ID_MARK_ONE, [this](CCmdUI& ui) { ui.SetCheck(m_Mark1Checked); });
    m_Commands.OnCommand(ID_MARK_TWO, [this] { m_Mark2Checked = !m_Mark2Checked; });
    m_Commands.OnUpdateCommand(ID_MARK_TWO, [this](CCmdUI& ui) { ui.SetCheck(m_Mark2Checked); });
    // Undo of isolation-line edits is a key of its own; the menu item is
    // taken here so it does nothing.
    m_Commands.OnCommand(ID_EDIT_UNDO, [] {});
    m_Commands.OnUpdateCommand(ID_INDICATOR_POSITION, [this](CCmdUI& ui) { OnUpdateCursorPos(ui); });
    m_Commands.OnUpdateCommand(ID_INDICATOR_STATUS, [this](CCmdUI& ui) { OnUpdateStatusText(ui); });
    RegisterMachineCommands();
    RegisterHomingCommands();
    RegisterRegistrationHoleCommands();
    RegisterVisionCommands();
    RegisterUploadCommands();
    RegisterStageCommands();
    RegisterBlockCommands();
    RegisterEditCommands();
    RegisterRangeCommands();
    RegisterRouteCommands();
    RegisterCopperRouteCommands();
}
