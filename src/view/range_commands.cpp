// The tool-bar commands of the path editing that arm the mouse work of the
// route worker: a range added by hand to one isolation or clearing layer,
// the trim of path data, and the resets of the exclusion marks that the
// right button deletes by. Each arming command is a toggle.
#include "view/velm_view.h"

#include "resource_ids.h"
#include "settings/layer_dlg.h"
#include "ui/cmd_ui.h"

#include <string_view>

namespace {

// The six layers a range may add to, with their commands and the
// working-layer flag that shows each.
struct CRangeLayer {
    unsigned id;
    const char* name;
    int CLayerDlg::*shown;
};

const CRangeLayer kRangeLayers[] = {
    {ID_ADD_T1_CLEAR_RANGE, "T1MIL", &CLayerDlg::m_ShowLayerT1Mil},
    {ID_ADD_T2_CLEAR_RANGE, "T2MIL", &CLayerDlg::m_ShowLayerT2Mil},
    {ID_ADD_T3_CLEAR_RANGE, "T3MIL", &CLayerDlg::m_ShowLayerT3Mil},
    {ID_ADD_T1_ISO_RANGE, "T1ISO", &CLayerDlg::m_ShowLayerT1Iso},
    {ID_ADD_T2_ISO_RANGE, "T2ISO", &CLayerDlg::m_ShowLayerT2Iso},
    {ID_ADD_T4_ISO_RANGE, "T4ISO", &CLayerDlg::m_ShowLayerT4Iso},
};

}  // namespace

void CVelmView::EnterEditStageForRange()
{
    if (m_Doc.m_WorkStage == 1)
        return;
    m_Doc.m_WorkStage = 1;
    OnWindowAll();
}

void CVelmView::ArmRange(const char* layer)
{
    if (m_RangeMode && g_RangeLayerName == layer) {
        m_RangeMode = 0;
        g_RangeLayerName.clear();
        return;
    }
    EnterEditStageForRange();
    Invalidate();
    m_RangeMode = 1;
    // Only the layer being added to is shown, so the clicks land on it; the
    // flags stay so after the mode ends.
    for (const CRangeLayer& range : kRangeLayers)
        g_LayerDlg.*range.shown = std::string_view(range.name) == layer ? 1 : 0;
    g_RangeLayerName = layer;
    m_TrimMode = 0;
    m_MoveMode = 0;
}

void CVelmView::ArmTrim(int blockVariant)
{
    // The two trims share the mode: either command ends it.
    if (m_TrimMode) {
        m_TrimMode = 0;
        g_RangeLayerName.clear();
        return;
    }
    EnterEditStageForRange();
    m_RangeMode = 0;
    // No range is armed now, so none is named.
    g_RangeLayerName.clear();
    m_TrimMode = 1;
    m_MoveMode = 0;
    m_TrimBlockMode = blockVariant;
}

void CVelmView::OnAddT1ClearRange() { ArmRange("T1MIL"); }
void CVelmView::OnAddT2ClearRange() { ArmRange("T2MIL"); }
void CVelmView::OnAddT3ClearRange() { ArmRange("T3MIL"); }
void CVelmView::OnAddT1IsoRange() { ArmRange("T1ISO"); }
void CVelmView::OnAddT2IsoRange() { ArmRange("T2ISO"); }
void CVelmView::OnAddT4IsoRange() { ArmRange("T4ISO"); }
void CVelmView::OnTrimSinglePath() { ArmTrim(0); }
void CVelmView::OnTrimBlockPath() { ArmTrim(1); }

void CVelmView::OnPathStageHideRoute()
{
    m_HideRoute = 1;
    m_RangeMode = 1;
    Invalidate();
    m_MoveMode = 0;
}

void CVelmView::OnResetIsoDone()
{
    for (const auto& segment : m_Doc.m_GridPathList)
        segment->doneMark = 0;
    m_HideRoute = 1;
    m_TrimMode = 1;
    Invalidate();
}

void CVelmView::UpdateRangeItem(CCmdUI& ui, const char* layer) const
{
    ui.Enable(m_Doc.m_WorkStage == 1);
    ui.SetCheck(m_RangeMode && g_RangeLayerName == layer ? 1 : 0);
}

void CVelmView::OnUpdateAddT1ClearRange(CCmdUI& ui) const { UpdateRangeItem(ui, "T1MIL"); }
void CVelmView::OnUpdateAddT2ClearRange(CCmdUI& ui) const { UpdateRangeItem(ui, "T2MIL"); }
void CVelmView::OnUpdateAddT3ClearRange(CCmdUI& ui) const { UpdateRangeItem(ui, "T3MIL"); }
void CVelmView::OnUpdateAddT1IsoRange(CCmdUI& ui) const { UpdateRangeItem(ui, "T1ISO"); }
void CVelmView::OnUpdateAddT2IsoRange(CCmdUI& ui) const { UpdateRangeItem(ui, "T2ISO"); }
void CVelmView::OnUpdateAddT4IsoRange(CCmdUI& ui) const { UpdateRangeItem(ui, "T4ISO"); }

void CVelmView::OnUpdateTrimSinglePath(CCmdUI& ui) const
{
    ui.Enable(m_Doc.m_WorkStage == 1);
    ui.SetCheck(m_TrimMode && !m_TrimBlockMode ? 1 : 0);
}

void CVelmView::OnUpdateTrimBlockPath(CCmdUI& ui) const
{
    ui.Enable(m_Doc.m_WorkStage == 1);
    ui.SetCheck(m_TrimMode && m_TrimBlockMode ? 1 : 0);
}

void CVelmView::RegisterRangeCommands()
{
    const struct {
        unsigned id;
        void (CVelmView::*handler)();
        void (CVelmView::*update)(CCmdUI&) const;
    } commands[] = {
        {ID_ADD_T1_CLEAR_RANGE, &CVelmView::OnAddT1ClearRange, &CVelmView::OnUpdateAddT1ClearRange},
        {ID_ADD_T2_CLEAR_RANGE, &CVelmView::OnAddT2ClearRange, &CVelmView::OnUpdateAddT2ClearRange},
        {ID_ADD_T3_CLEAR_RANGE, &CVelmView::OnAddT3ClearRange, &CVelmView::OnUpdateAddT3ClearRange},
        {ID_ADD_T1_ISO_RANGE, &CVelmView::OnAddT1IsoRange, &CVelmView::OnUpdateAddT1IsoRange},
        {ID_ADD_T2_ISO_RANGE, &CVelmView::OnAddT2IsoRange, &CVelmView::OnUpdateAddT2IsoRange},
        {ID_ADD_T4_ISO_RANGE, &CVelmView::OnAddT4IsoRange, &CVelmView::OnUpdateAddT4IsoRange},
        {ID_TRIM_SINGLE_PATH, &CVelmView::OnTrimSinglePath, &CVelmView::OnUpdateTrimSinglePath},
        {ID_TRIM_BLOCK_PATH, &CVelmView::OnTrimBlockPath, &CVelmView::OnUpdateTrimBlockPath},
        {ID_PATH_STAGE_HIDE_ROUTE, &CVelmView::OnPathStageHideRoute, nullptr},
        {ID_RESET_ISO_DONE, &CVelmView::OnResetIsoDone, nullptr},
    };
    for (const auto& c : commands) {
        m_Commands.OnCommand(c.id, [this, handler = c.handler] { (this->*handler)(); });
        if (c.update)
            m_Commands.OnUpdateCommand(c.id, [this, update = c.update](CCmdUI& ui) { (this->*update)(ui); });
    }
}
