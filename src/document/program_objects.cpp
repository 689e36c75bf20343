// The program-wide objects, in construction order. Keeping the definitions in
// one file fixes that order; C++ gives none across files.
#include "document/program_objects.h"

#include "import/work_order_dlg.h"
#include "link/link_state.h"
#include "machining/machine_param_dlg.h"
#include "settings/machine_settings.h"
#include "settings/system_settings_dlg.h"

std::string g_StatusText;
int g_Calculating = 0;
CSystemSettingsDlg g_SystemSettingsDlg;
CMachineSettings g_MachineSettings;
CMachineParamDlg g_MachineParamDlg;
CWorkOrderDlg g_WorkOrderDlg;
CBinLink g_BinLink;
CAsciiLink g_MachineLink;
CAsciiLink g_MachineLink2;
int g_ControllerKind = -1;

void ResetProgramObjects()
{
    g_StatusText.clear();
    g_Calculating = 0;
    g_SystemSettingsDlg = CSystemSettingsDlg();
    g_MachineSettings = CMachineSettings();
    g_MachineParamDlg = CMachineParamDlg();
    g_WorkOrderDlg = CWorkOrderDlg();
    g_BinLink = CBinLink();
    g_MachineLink = CAsciiLink();
    g_MachineLink2 = CAsciiLink();
    g_ControllerKind = -1;
}
