// Construction values of the system settings.
#include "settings/system_settings_dlg.h"

#include "platform/paths.h"

// The system directory of the settings, temporary and undo files: a folder of
// the user's data directory on this system.
CSystemSettingsDlg::CSystemSettingsDlg() : m_SystemDir(DefaultSystemDir()) {}
