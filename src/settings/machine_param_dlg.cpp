// Construction of the machine parameters.
#include "settings/machine_param_dlg.h"

#include "settings/registry.h"

CMachineParamDlg::CMachineParamDlg() { RegGetString("Machine", m_MachineModel); }
