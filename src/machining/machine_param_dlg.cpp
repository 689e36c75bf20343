// Construction of the machine parameters.
#include "machining/machine_param_dlg.h"

#include "settings/registry.h"

CMachineParamDlg::CMachineParamDlg() { RegGetString("Machine", m_MachineModel); }
