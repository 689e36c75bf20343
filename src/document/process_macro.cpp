// The document's entries to the calculation settings and the processing
// macros: the calculation command (32846), which runs the plain scan-line
// calculation or the chosen method, and the runner of a method's block on
// each side of the work order. The logic is in src/planning/process_macro.h.
#include "document/velm_doc.h"
#include "planning/calc_settings_dlg.h"
#include "planning/process_macro.h"
#include "planning/scan_isolation.h"
#include "platform/host.h"
#include "platform/resources.h"
#include "resource_ids.h"
#include "settings/work_order_dlg.h"
#include "ui/edit_wnd.h"
#include "ui/message_dlg.h"

namespace {

// A data density above this many mil also raises the isolation offset to
// it: a raster that coarse cannot place a narrower isolation.
constexpr int kDensityRaisingOffset = 10;
// The values of g_CurrentSide.
constexpr int kComponentSide = 0;
constexpr int kSolderSide = 1;

CMacroActions MacroActionsOf(CVelmDoc& doc)
{
    CMacroActions actions;
    actions.calcIsolation = [&doc](float offset, int pitch) { doc.CalcIsolationLines(offset, pitch); };
    actions.sortPaths = [&doc] { doc.OnSortIsolationPaths(); };
    return actions;
}

}  // namespace

void CVelmDoc::OnCalcIsolationLines()
{
    CCalcSettingsDlg& settings = g_CalcSettingsDlg;
    if (settings.DoModal() != IDOK)
        return;
    if (g_CalcMethod != 0) {
        RunProcessMacro();
        return;
    }
    if (!settings.m_KeepData) {
        ClearToolPaths();
        m_IsolationDone = 0;
    }
    m_GridStep = settings.m_DataDensity;
    if (settings.m_DataDensity > kDensityRaisingOffset &&
        static_cast<float>(settings.m_DataDensity) > settings.m_IsoOffset)
        settings.m_IsoOffset = static_cast<float>(settings.m_DataDensity);
    g_PlungeOffsetPulses = settings.m_PlungeOffset;
    CalcIsolationLines(settings.m_IsoOffset, m_GridStep);
}

void CVelmDoc::RunProcessMacro()
{
    CMessageDlg notice;
    if (g_MeasureDataWnd.IsVisible())
        g_MeasureDataWnd.ShowWindow(false);
    const int line = FindMacroMethod(g_CalcMethod);
    g_MacroTextWnd.Edit().SetReadOnly(true);
    if (line < 0) {
        AfxMessageBox(LoadResString(IDS_MACRO_FILE_ERROR), MB_OK);
        return;
    }
    // Read whole before anything is switched or freed: a faulty block
    // leaves the job as it was.
    const CMacroBlock block = ReadMacroBlock(g_MacroTextWnd.Edit(), line);
    if (block.faultId) {
        ReportMacroFault(block);
        return;
    }
    struct Side {
        unsigned noticeId;
        int present;
        void (CVelmDoc::*open)();
        int side;
    };
    const Side sides[] = {
        {IDS_READING_COMPONENT_SIDE, g_HasComponentSide, &CVelmDoc::OnComponentSide, kComponentSide},
        {IDS_READING_SOLDER_SIDE, g_HasSolderSide, &CVelmDoc::OnSolderSide, kSolderSide},
    };
    for (const Side& side : sides) {
        notice.ShowId(side.noticeId);
        if (!side.present)
            continue;
        (this->*side.open)();
        // A side file that could not be read was reported; the other side's
        // data must not be computed in its place.
        if (g_CurrentSide != side.side)
            continue;
        m_WorkStage = 1;
        CDocumentViewHooks::Run(m_ViewHooks.zoomToFit);
        RunMacroBlock(line);
        CDocumentViewHooks::Run(m_ViewHooks.blockLayout);
    }
}

void CVelmDoc::RunMacroBlock(int line)
{
    const CMacroBlock block = ReadMacroBlock(g_MacroTextWnd.Edit(), line);
    if (block.faultId) {
        ReportMacroFault(block);
        return;
    }
    ClearToolPaths();
    RunMacroLines(*this, block, MacroActionsOf(*this));
}
