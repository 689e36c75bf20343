// The system settings: system directory, language, display unit, serial
// port, machine model, three machine options and the lift height. The dialog
// object's members are the program-wide settings themselves; the g_ names
// below reach them.
#pragma once

#include "ui/dialog.h"

#include <string>

class CSystemSettingsDlg : public CDialog {
public:
    int m_UnitSelector = 0;      // display unit: 0 mm, 1 mil, 2 pulse
    int m_ComPortIndex = 0;      // 0 to 9 for "COM1" to "COM10"
    int m_ArrayStyle = 1;        // panel layout style
    int m_SkipProbeTest = 0;     // set by the fixed-plunge drill job
    std::string m_Language;
    std::string m_MachineModelChoice;
    float m_UnitFactor = 0.005f;  // machine pulses to the display unit
    std::string m_UnitName = "mm";
    std::string m_SystemDir;     // ends with '/'; see the constructor
    int m_FileAuto = 1;          // align the file coordinates automatically
    int m_RouteAutoFlag = 0;     // routing depth control
    int m_DrillMultiplyDetect = 1;  // tool-height detection before each drill
    float m_LiftHeight = 0.0f;   // mm, copied to g_LiftHeight on OK

    CSystemSettingsDlg();

    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void DoDataExchange(CDataExchange* pDX) override;

private:
    // What the members and the machine model were when the dialog opened, so
    // Cancel can leave everything as it was.
    struct Snapshot {
        int unitSelector, comPortIndex, arrayStyle, skipProbeTest;
        std::string language, machineModelChoice;
        float unitFactor;
        std::string unitName, systemDir;
        int fileAuto, routeAutoFlag, drillMultiplyDetect;
        float liftHeight;
        std::string machineModel;
    };
    Snapshot TakeSnapshot() const;
    void Restore(const Snapshot& s);

    Snapshot m_Opened{};
    bool m_EnteredDir = false;
};

extern CSystemSettingsDlg g_SystemSettingsDlg;

inline int& g_UnitSelector = g_SystemSettingsDlg.m_UnitSelector;
inline int& g_ComPortIndex = g_SystemSettingsDlg.m_ComPortIndex;
inline int& g_ArrayStyle = g_SystemSettingsDlg.m_ArrayStyle;
inline int& g_SkipProbeTest = g_SystemSettingsDlg.m_SkipProbeTest;
inline float& g_UnitFactor = g_SystemSettingsDlg.m_UnitFactor;
inline std::string& g_UnitName = g_SystemSettingsDlg.m_UnitName;
inline std::string& g_SystemDir = g_SystemSettingsDlg.m_SystemDir;
inline int& g_FileAuto = g_SystemSettingsDlg.m_FileAuto;
inline int& g_RouteAutoFlag = g_SystemSettingsDlg.m_RouteAutoFlag;
inline int& g_DrillMultiplyDetect = g_SystemSettingsDlg.m_DrillMultiplyDetect;
