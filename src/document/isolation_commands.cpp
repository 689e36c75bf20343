// The document's entries to the scan-line isolation of the planner: they
// hand it the model, the tool settings and what it needs of the view.
#include "document/velm_doc.h"
#include "planning/calc_settings_dlg.h"
#include "planning/path_ordering.h"
#include "planning/scan_isolation.h"
#include "platform/host.h"
#include "resource_ids.h"
#include "ui/message_dlg.h"

int CVelmDoc::CalcIsolationT1(int extra)
{
    return CalcIsolationTool(*this, 1, extra, m_ToolWidth1, m_ToolValue1, m_T1Step, PlanningHooks());
}

int CVelmDoc::CalcIsolationT2(int extra)
{
    return CalcIsolationTool(*this, 2, extra, m_ToolWidth2, m_ToolValue2, m_T1Step, PlanningHooks());
}

void CVelmDoc::CalcIsolationLines(float offset, int pitch)
{
    CalcIsolationLines(offset, pitch, g_CalcSettingsDlg.m_GenerateLines);
}

void CVelmDoc::CalcIsolationLines(float offset, int pitch, int generateLines)
{
    ::CalcIsolationLines(*this, offset, pitch, generateLines, PlanningHooks());
}

void CVelmDoc::OnSortIsolationPaths()
{
    CMessageDlg notice;
    notice.ShowId(IDS_SORTING_ISOLATION);
    CWaitCursor wait;
    ::SortIsolationPaths(m_GridPathList, m_GridStep, RasterCornerTest(*this));
}
