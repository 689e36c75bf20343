// The processing macro a job runs after loading: the block of the macro text
// whose number is the chosen method. Only the block's lookup is here; its
// steps belong to the path planner, which runs them once it exists.
#include "document/velm_doc.h"
#include "platform/host.h"
#include "platform/resources.h"
#include "resource_ids.h"
#include "settings/work_order_dlg.h"
#include "ui/edit_wnd.h"

void CVelmDoc::RunProcessMacro()
{
    CLineEdit& macro = g_MacroTextWnd.Edit();
    int line = macro.FindLine("DESCRIPTION");
    for (int k = 0; line >= 0 && k != g_CalcMethod; ++k)
        line = macro.FindNextLine();
    if (line < 0 || g_CalcMethod < 0) {
        AfxMessageBox(LoadResString(IDS_MACRO_FILE_ERROR), MB_OK);
        return;
    }
}
