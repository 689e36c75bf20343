// Stand-in until the real one is merged.
// The edit modes' workers do nothing yet; the cancel clears the modes the
// way the popup's cancel does, so Escape and the right button end them.
#include "view/standin_e25a.h"

#include "platform/host.h"
#include "platform/program_state.h"
#include "platform/resources.h"
#include "resource_ids.h"
#include "view/velm_view.h"

void OnLButtonDownEdit(CVelmView&, unsigned, POINT) {}
void OnMouseMoveEdit(CVelmView&, unsigned, POINT) {}
void OnLButtonUpEdit(CVelmView&, unsigned, POINT) {}

void OnPopupCancel(CVelmView& view)
{
    MessageBeep(0);
    for (int* flag : {&view.m_MoveMode, &view.m_DataRangeMode, &view.m_TextMode,
                      &view.m_CopperSelectMode, &view.m_IsoPickMode, &view.m_RulerActive,
                      &view.m_CopperLineMode, &view.m_CopperCircleMode, &view.m_CopperRectMode,
                      &view.m_RouteSetupMode, &view.m_DxfCamMode, &view.m_LineWidthMode,
                      &view.m_CopperAlignMode, &view.m_PressState, &view.m_IsoAreaMode})
        *flag = 0;
    view.m_CopyMode = 0;
    view.m_EditList.clear();
    view.Invalidate();
    g_StatusText = "Cancel !";
}

void OnIsoDelete(CVelmView&) {}
void OnIsoUnselect(CVelmView&) {}
void OnIsoSelectLine(CVelmView&) {}
void OnIsoSelectArea(CVelmView&) {}
void OnLButtonDblClk(CVelmView&, unsigned, POINT) {}

void RegisterDrillAlignCommand(CVelmView& view)
{
    view.m_Commands.OnCommand(ID_DRILL_ALIGN, [&view] {
        view.m_DrillAlignMode = 1;
        g_StatusText = LoadResString(IDS_CHOOSE_DRILL_HOLE);
    });
}
