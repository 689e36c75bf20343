// The system settings dialog: its lists, the stored choices it shows and what
// OK stores.
#include "settings/system_settings_dlg.h"

#include "platform/host.h"
#include "platform/paths.h"
#include "resource_ids.h"
#include "settings/machine_param_dlg.h"
#include "settings/model_defaults.h"
#include "settings/program_options.h"
#include "settings/registry.h"
#include "ui/edit_wnd.h"

namespace {

constexpr std::size_t kLanguageMax = 99;
// Models with a high-speed spindle ("H") run at this speed unless one is set.
constexpr float kHighSpeedSpindle = 60000.0f;
constexpr float kSpindleSpeedSet = 10000.0f;

// The index of the last entry equal to `text`, or -1.
int FindLastExact(const CDialog& dlg, unsigned id, const std::string& text)
{
    int found = -1;
    for (int i = 0; i < dlg.GetCount(id); ++i)
        if (dlg.GetLBText(id, i) == text)
            found = i;
    return found;
}

}  // namespace

// The system directory of the settings, temporary and undo files: a folder of
// the user's data directory on this system.
CSystemSettingsDlg::CSystemSettingsDlg()
    : CDialog(IDD_SYSTEM_SETTINGS), m_SystemDir(DefaultSystemDir())
{
}

CSystemSettingsDlg::Snapshot CSystemSettingsDlg::TakeSnapshot() const
{
    return {m_UnitSelector, m_ComPortIndex,       m_ArrayStyle, m_SkipProbeTest, m_Language,
            m_MachineModelChoice, m_UnitFactor,   m_UnitName,   m_SystemDir,     m_FileAuto,
            m_RouteAutoFlag,      m_DrillMultiplyDetect, m_LiftHeight, g_MachineModel};
}

void CSystemSettingsDlg::Restore(const Snapshot& s)
{
    m_UnitSelector = s.unitSelector;
    m_ComPortIndex = s.comPortIndex;
    m_ArrayStyle = s.arrayStyle;
    m_SkipProbeTest = s.skipProbeTest;
    m_Language = s.language;
    m_MachineModelChoice = s.machineModelChoice;
    m_UnitFactor = s.unitFactor;
    m_UnitName = s.unitName;
    m_SystemDir = s.systemDir;
    m_FileAuto = s.fileAuto;
    m_RouteAutoFlag = s.routeAutoFlag;
    m_DrillMultiplyDetect = s.drillMultiplyDetect;
    m_LiftHeight = s.liftHeight;
    g_MachineModel = s.machineModel;
}

void CSystemSettingsDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_SYS_SYSTEM_DIR, m_SystemDir);
    DDX_Check(pDX, IDC_SYS_FILE_AUTO, m_FileAuto);
    DDX_Check(pDX, IDC_SYS_ROUTE_AUTO, m_RouteAutoFlag);
    DDX_Check(pDX, IDC_SYS_DRILL_DETECT, m_DrillMultiplyDetect);
    DDX_Text(pDX, IDC_SYS_LIFT_HEIGHT, m_LiftHeight);
}

bool CSystemSettingsDlg::OnInitDialog()
{
    m_Opened = TakeSnapshot();
    m_EnteredDir = false;
    CDialog::OnInitDialog();

    for (unsigned id : {IDC_SYS_LANGUAGE, IDC_SYS_UNIT, IDC_SYS_PORT, IDC_SYS_MODEL})
        ResetContent(id);
    // The languages the settings file offers: the text after the "$" of each
    // "LANGUAGE" line.
    CLineEdit& settings = g_SettingsTextWnd.Edit();
    for (int n = 0; n < settings.GetLineCount(); ++n) {
        std::string line = settings.GetLineText(n);
        std::size_t dollar = line.find('$');
        if (line.find("LANGUAGE") == std::string::npos || dollar == std::string::npos)
            continue;
        AddString(IDC_SYS_LANGUAGE, line.substr(dollar + 1, kLanguageMax));
    }
    for (const char* unit : {"mm", "mil", "pulse"})
        AddString(IDC_SYS_UNIT, unit);
    for (int port = 1; port <= 10; ++port)
        AddString(IDC_SYS_PORT, "COM" + std::to_string(port));
    for (const std::string& model : SystemSettingsModelNames())
        AddString(IDC_SYS_MODEL, model);

    CRegistryKey key;
    if (key.Open(HKEY_CURRENT_USER, g_ProgramKeyPath) == ERROR_SUCCESS) {
        // A model never stored is the one in force.
        m_MachineModelChoice = g_MachineModel;
        key.ReadString("SystemDir", m_SystemDir);
        key.ReadInt("Unit", m_UnitSelector);
        key.ReadString("Language", m_Language);
        key.ReadString("Machine", m_MachineModelChoice);
        key.ReadInt("RS232", m_ComPortIndex);
        key.ReadInt("ArrayStyle", m_ArrayStyle);
        key.ReadInt("DrillMultiplyDetect", m_DrillMultiplyDetect);
        key.ReadInt("FileAuto", m_FileAuto);
        key.ReadInt("RouteAutoFlag", m_RouteAutoFlag);
        key.ReadFloat("m10", m_LiftHeight);
        key.Close();
        SetCurrentDirectory(m_SystemDir);
        m_EnteredDir = true;
        g_MachineModel = m_MachineModelChoice;
    } else {
        m_SystemDir = DefaultSystemDir();
        m_Language = "ENGLISH";
        m_MachineModelChoice = "KX1300H";
        m_UnitSelector = 0;
        m_ComPortIndex = 1;
        m_ArrayStyle = 0;
        m_SkipProbeTest = 0;
    }

    SetCurSel(IDC_SYS_UNIT, m_UnitSelector);
    SetCurSel(IDC_SYS_PORT, m_ComPortIndex);
    UpdateData(false);
    SetCurSel(IDC_SYS_LANGUAGE, FindLastExact(*this, IDC_SYS_LANGUAGE, m_Language));
    // The model in force is always shown, also one the list does not name
    // (the fallback of a first start, or one a settings file gave).
    if (!g_MachineModel.empty() && FindLastExact(*this, IDC_SYS_MODEL, g_MachineModel) < 0)
        AddString(IDC_SYS_MODEL, g_MachineModel);
    SetCurSel(IDC_SYS_MODEL, FindLastExact(*this, IDC_SYS_MODEL, g_MachineModel));
    return true;
}

void CSystemSettingsDlg::OnOK()
{
    if (!UpdateData(true))
        return;
    EndDialog(IDOK);

    CRegistryKey key;
    bool open = key.Open(HKEY_CURRENT_USER, g_ProgramKeyPath) == ERROR_SUCCESS;
    m_UnitSelector = GetCurSel(IDC_SYS_UNIT);
    // Without a chosen port the one in use stays.
    if (GetCurSel(IDC_SYS_PORT) >= 0)
        m_ComPortIndex = GetCurSel(IDC_SYS_PORT);
    m_ArrayStyle = 0;
    // Without a chosen entry the stored language and model stay.
    if (GetCurSel(IDC_SYS_LANGUAGE) >= 0)
        m_Language = GetLBText(IDC_SYS_LANGUAGE, GetCurSel(IDC_SYS_LANGUAGE));
    if (GetCurSel(IDC_SYS_MODEL) >= 0)
        m_MachineModelChoice = GetLBText(IDC_SYS_MODEL, GetCurSel(IDC_SYS_MODEL));
    g_LiftHeight = m_LiftHeight;
    DeriveDisplayUnit();
    if (!open)
        return;

    EnterSystemDir();
    key.WriteString("SystemDir", m_SystemDir);
    key.WriteInt("Unit", m_UnitSelector);
    key.WriteInt("RS232", m_ComPortIndex);
    key.WriteInt("ArrayStyle", m_ArrayStyle);
    key.WriteString("Language", m_Language);
    key.WriteString("Machine", m_MachineModelChoice);
    key.WriteInt("DrillMultiplyDetect", m_DrillMultiplyDetect);
    key.WriteInt("FileAuto", m_FileAuto);
    key.WriteInt("RouteAutoFlag", m_RouteAutoFlag);
    key.WriteFloat("m10", g_LiftHeight);
    g_MachineModel = m_MachineModelChoice;
    if (g_MachineModel.find('H') != std::string::npos && g_SpindleSpeed < kSpindleSpeedSet) {
        g_SpindleSpeed = kHighSpeedSpindle;
        key.WriteFloat("m24", g_SpindleSpeed);
    }
    key.Close();
}

void CSystemSettingsDlg::OnCancel()
{
    Restore(m_Opened);
    if (m_EnteredDir)
        SetCurrentDirectory(m_SystemDir);
    CDialog::OnCancel();
}
