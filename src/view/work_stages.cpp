// The five work stages and the view's display commands: the stage commands
// (each ends with a zoom to fit), the seven display checks, the solid-line
// and surface-map toggles, the text windows, and the enable and check rules
// of the view's menu items.
#include "view/velm_view.h"

#include "link/link_state.h"
#include "link/working_depth.h"
#include "platform/resources.h"
#include "records/board_extent.h"
#include "resource_ids.h"
#include "settings/layer_dlg.h"
#include "settings/machine_param_dlg.h"
#include "settings/machine_settings.h"
#include "settings/work_order_dlg.h"
#include "ui/cmd_ui.h"
#include "ui/edit_wnd.h"

namespace {

// Who may switch to the edit stage, what the vision commands need, and the
// other enable rules of the view's items; one row an item.
struct CEnableRule {
    unsigned id;
    bool (*enabled)(const CVelmView& view);
    int (*checked)(const CVelmView& view);   // null: the item has no check mark
};

int Stage(const CVelmView& view) { return view.GetDocument()->m_WorkStage; }

bool VisionReady(const CVelmView&)
{
    return g_PortState >= 0 && g_MachineModel.find('V') != std::string::npos;
}

const CEnableRule kEnableRules[] = {
    {ID_SHOW_TEXT_WND, [](const CVelmView&) { return true; }, nullptr},
    {ID_SOLID_LINES, [](const CVelmView&) { return true; },
     [](const CVelmView&) { return g_SolidLineView == 0 ? 1 : 0; }},
    {ID_BOARD_FLIP, [](const CVelmView&) { return true; }, nullptr},
    {ID_VISION_SYSTEM, VisionReady, nullptr},
    {ID_PREVIEW_DRILLS, VisionReady, nullptr},
    {ID_MOVE_COPPER, [](const CVelmView& v) { return Stage(v) == 1; },
     [](const CVelmView& v) { return v.m_MoveMode ? 1 : 0; }},
    {ID_WINDOW_MEASURE_DATA,
     [](const CVelmView&) {
         // The menu item marks the measurement window as shown whenever it
         // is looked at; the project file keeps that mark.
         g_MeasureWndShown = 1;
         return true;
     },
     nullptr},
    {ID_COPPER_SELECT, [](const CVelmView& v) { return Stage(v) == 1; }, nullptr},
    {ID_LOCATING_HOLE_ADD, [](const CVelmView& v) { return Stage(v) == 3; }, nullptr},
    {ID_ADD_LOCATING_HOLES,
     [](const CVelmView& v) { return Stage(v) == 3 && g_HasComponentSide && g_HasSolderSide; },
     nullptr},
};

}  // namespace

void CVelmView::OnStageEdit()
{
    if (g_JobCode != 0)
        return;
    m_Doc.m_WorkStage = 1;
    OnWindowAll();
}

void CVelmView::OnStagePaths()
{
    m_Doc.m_WorkStage = 2;
    OnWindowAll();
}

void CVelmView::OnStageLayout()
{
    m_RangeMode = m_TrimMode = m_TrimBlockMode = 0;
    m_Doc.m_WorkStage = 3;
    OnBlockLayout();
    OnWindowAll();
}

void CVelmView::OnStagePartial()
{
    m_SubMode = 5;
    m_Doc.m_WorkStage = 4;
    OnWindowAll();
}

void CVelmView::OnStageMachining()
{
    if (g_JobCode != 0) {
        m_Doc.m_WorkStage = 5;
    } else if (ConnectMachine()) {
        m_Doc.m_WorkStage = 5;
        // The jobs machine the panel's copies: straight from File/New, with
        // the layout stage never visited, the board goes on the table as
        // that stage would first place it, rather than nothing being shown
        // and every job ending at once without a word. A layout that was
        // made is kept as it is, even with its copies all deleted.
        if ((m_Doc.m_LayoutDone & 0xFF) != 1) {
            PlaceFirstCopyIfNone();
            UpdateScrollSizes();
        }
        if (g_MachineModel == "ZELTA6")
            CheckAirPressure();
    }
    OnWindowAll();
}

void CVelmView::OnToggleSolidLine()
{
    g_SolidLineView = !g_SolidLineView;
    Invalidate();
}

void CVelmView::OnShowTextWindow()
{
    g_SettingsTextWnd.CreateOnce(g_SettingsTextWnd.Caption());
    g_SettingsTextWnd.ShowWindow(true);
}

void CVelmView::OnShowRouteWindow()
{
    g_RouteDataWnd.CreateOnce(LoadResString(IDS_ROUTE_WND));
    g_RouteDataWnd.ShowWindow(true);
    g_RouteWndShown = 1;
}

void CVelmView::OnShowMeasureWindow()
{
    g_MeasureDataWnd.CreateOnce(LoadResString(IDS_MEASURE_WND));
    g_MeasureDataWnd.ShowWindow(true);
    g_MeasureWndShown = 1;
}

void SetPathLayerBit(CVelmDoc& doc, const std::string& name, int on)
{
    for (const auto& layer : doc.m_PathLayerList)
        if (layer->name == name) {
            if (on)
                layer->kind |= 2;
            else
                layer->kind &= ~2;
        }
}

void CVelmView::RegisterStageCommands()
{
    m_Commands.OnCommand(ID_STAGE_EDIT, [this] { OnStageEdit(); });
    m_Commands.OnCommand(ID_STAGE_PATHS, [this] { OnStagePaths(); });
    m_Commands.OnCommand(ID_STAGE_LAYOUT, [this] { OnStageLayout(); });
    m_Commands.OnCommand(ID_STAGE_PARTIAL, [this] { OnStagePartial(); });
    m_Commands.OnCommand(ID_STAGE_MACHINING, [this] { OnStageMachining(); });
    m_Commands.OnCommand(ID_SOLID_LINES, [this] { OnToggleSolidLine(); });
    m_Commands.OnCommand(ID_SHOW_TEXT_WND, [this] { OnShowTextWindow(); });
    m_Commands.OnCommand(ID_SHOW_ROUTE_WND, [this] { OnShowRouteWindow(); });
    m_Commands.OnCommand(ID_WINDOW_MEASURE_DATA, [this] { OnShowMeasureWindow(); });
    m_Commands.OnCommand(ID_RULER, [this] { OnRuler(); });
    m_Commands.OnCommand(ID_BLOCK_LAYOUT, [this] { OnBlockLayout(); });
    // The display checks: each toggles its flag and redraws.
    const std::pair<unsigned, int CVelmView::*> checks[] = {
        {ID_SHOW_COPPER, &CVelmView::m_ShowCopper},   {ID_SHOW_DRILLS, &CVelmView::m_ShowDrill},
        {ID_SHOW_ISOLATION, &CVelmView::m_ShowIso},   {ID_SHOW_CLEARING, &CVelmView::m_ShowClear},
        {ID_SHOW_ROUTE, &CVelmView::m_ShowRoute},     {ID_SHOW_ITEM_ONE, &CVelmView::m_ShowItemOne},
        {ID_SHOW_ITEM_TWO, &CVelmView::m_ShowItemTwo}};
    for (const auto& [id, flag] : checks)
        m_Commands.OnCommand(id, [this, flag = flag] {
            this->*flag = !(this->*flag);
            Invalidate();
        });
    for (const CEnableRule& rule : kEnableRules)
        m_Commands.OnUpdateCommand(rule.id, [this, &rule](CCmdUI& ui) {
            ui.Enable(rule.enabled(*this));
            if (rule.checked)
                ui.SetCheck(rule.checked(*this));
        });
    m_Doc.m_ViewHooks.blockLayout = [this] { OnBlockLayout(); };
}
