// The document's construction and destruction, its clearing routines and its
// small commands: the tool width test, clearing the stored settings,
// snapping drill holes onto their pads and aligning them to the pads.
#include "document/velm_doc.h"

#include "editing/drill_alignment.h"
#include "platform/host.h"
#include "platform/paths.h"
#include "platform/program_state.h"
#include "platform/resources.h"
#include "records/board_extent.h"
#include "resource_ids.h"
#include "settings/drill_format_dlg.h"
#include "settings/machine_settings.h"
#include "settings/model_defaults.h"
#include "settings/program_options.h"
#include "settings/registry.h"
#include "settings/settings_file.h"
#include "settings/system_settings_dlg.h"
#include "settings/work_order_dlg.h"
#include "ui/cmd_ui.h"
#include "ui/edit_wnd.h"

#include <cmath>

CVelmDoc::CVelmDoc()
{
    g_TableWidth = 12204.0;   // 310 mm, until the options and the model say otherwise
    g_TableHeight = 7874.0;   // 200 mm
    m_Tracker.m_nStyle = CViewTracker::dottedLine | CViewTracker::resizeInside;
    LoadProgramOptions();
    m_LayerName.clear();
    SetModelDefaults();
    RegisterCommands();
}

void CVelmDoc::SetModelDefaults() { ::SetModelDefaults(); }

int CVelmDoc::LoadSettings(const std::string& path)
{
    return ::LoadSettings(CDocumentFileSettings{m_GroupOff, m_T1Step}, path);
}

void CVelmDoc::OnFileDrillFormat() { g_DrillFormatDlg.DoModal(); }

void CVelmDoc::OnFileSystemSettings()
{
    LoadSettings();
    g_SystemSettingsDlg.DoModal();
}

CVelmDoc::~CVelmDoc()
{
    SaveProgramOptions();
    CloseModelessWindows();
    ClearAll();
}

void CVelmDoc::CloseModelessWindows()
{
    // In this order; the machining windows (plane detect, probe test,
    // report, position) join the list with their subsystem, between the
    // measurement window and the work order and after the hole window.
    CDialog* const windows[] = {&g_RouteDataWnd, &g_MeasureDataWnd, &g_WorkOrderDlg,
                                &g_SettingsTextWnd, &g_HoleDataWnd};
    for (CDialog* window : windows)
        if (window->IsWindow())
            window->DestroyWindow();
}

void CVelmDoc::ClearSideData()
{
    // The view's picks point into these lists.
    m_PanelLayout.ClearSelections();
    m_ClearRegionList.clear();
    m_TrackList.clear();
    m_TrackRefList.clear();
    m_FlashList.clear();
    m_PadList2.clear();
    m_GridPathList.clear();
    m_RowList.clear();
    m_ColumnList.clear();
}

void CVelmDoc::ClearAll()
{
    m_PanelLayout.ClearSelections();
    m_ApertureList.clear();
    m_ClearRegionList.clear();
    m_TrackList.clear();
    // The references name tracks that are gone now; keeping them would let
    // the next side save read freed records.
    m_TrackRefList.clear();
    m_NamedLayerList.clear();
    m_FlashList.clear();
    m_PadList2.clear();
    m_GridPathList.clear();
    m_RowList.clear();
    m_ColumnList.clear();
    m_PathLayerList.clear();
    g_HoleList.clear();
    m_MacroList.clear();
    g_ToolSizes.fill(0.0f);
    ClearOffsetEngine();
    m_PointList.clear();
}

void CVelmDoc::ClearToolPaths()
{
    m_GridPathList.clear();
    m_RowList.clear();
    m_ColumnList.clear();
    m_ClearRegionList.clear();
    ClearOffsetEngine();
    m_PointList.clear();
}

// Eighteen engraved lines 1 mm apart, 0.03 mm to 0.20 mm deep, from which the
// operator reads the cutter's width.
void CVelmDoc::OnPlanToolWidthTest()
{
    SetCurrentDirectory(g_SystemDir);
    if (!LoadSettings())
        return;
    constexpr int lineCount = 18;
    for (int i = 0; i < lineCount; ++i) {
        auto layer = std::make_unique<CPathRecord>();
        layer->size = 7.874f;
        layer->depth = static_cast<float>((0.03 + 0.01 * i) * g_ZPulsesPerMM);
        layer->side = g_CurrentSide;
        layer->colour = 0xAAAA78;
        layer->visible = 1;
        layer->name = "T1ISO";
        auto line = std::make_unique<CPathSegment>();
        line->x1 = 200.0;
        line->y1 = 200.0 + 39.37 * i;
        line->x2 = 900.0;
        line->y2 = line->y1;
        line->type = 0;
        line->value = i;
        line->flag = 0;
        layer->items.push_back(std::move(line));
        AddTail(m_PathLayerList, std::move(layer));
    }
    g_BoardMinX = 100;
    g_BoardMinY = 100;
    g_BoardMaxX = 1000;
    g_BoardMaxY = 1000;
    m_DataChanged = 1;
    m_WorkStage = 3;
    g_HasComponentSide = 1;
    CDocumentViewHooks::Run(m_ViewHooks.zoomToFit);
    CDocumentViewHooks::Run(m_ViewHooks.blockLayout);
}

void CVelmDoc::OnUpdatePlanToolWidthTest(CCmdUI& cmdUI)
{
    cmdUI.Enable(!g_HasComponentSide && !g_HasSolderSide);
}

// Forgets every stored value; the options in memory come back at shut-down.
void CVelmDoc::OnFileClearSystemMemory()
{
    CRegistryKey key;
    key.DeleteKey(HKEY_CURRENT_USER, g_ProgramKeyPath);
}

void CVelmDoc::OnUpdateFileClearSystemMemory(CCmdUI& cmdUI)
{
    cmdUI.Enable(true);
}

// Moves each hole onto the first pad (in list order) whose radius reaches it;
// end pads of strokes do not count.
void CVelmDoc::OnDrillPadCalibrate()
{
    for (auto& tool : g_HoleList)
        for (auto& hole : tool->holes)
            for (auto& pad : m_FlashList) {
                if (pad->type == 3)
                    continue;
                double distance = std::hypot(hole->x - pad->x, hole->y - pad->y);
                if (pad->radius > distance) {
                    hole->x = pad->x;
                    hole->y = pad->y;
                    break;
                }
            }
}

int CVelmDoc::AutoAlignDrills(int)
{
    CWaitCursor wait;
    const int found = ::AutoAlignDrills(m_FlashList, g_HoleList);
    if (!found)
        g_StatusText = LoadResString(IDS_DRILLS_CANNOT_ALIGN);
    CDocumentViewHooks::Run(m_ViewHooks.updateAllViews);
    return found;
}
