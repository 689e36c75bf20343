// The work order: the files of one job, their CAD dialect and what the
// loaders keep about the job while it is in memory. The dialog object's
// members are the work order; the g_ names below reach them.
#pragma once

#include "ui/dialog.h"

#include <string>

class CWorkOrderDlg : public CDialog {
public:
    int m_Created = 0;                  // 1 once created modelessly
    int m_CurrentSide = 1;              // 0 component, 1 solder
    std::string m_CurrentApertureFile;  // the aperture file read next
    std::string m_ComponentGerberFile;  // several joined with ';'
    std::string m_DrillFile;
    std::string m_RouteFile;
    std::string m_SolderApertureFile;
    std::string m_ComponentApertureFile;
    std::string m_SolderGerberFile;     // several joined with ';'
    std::string m_ProjectFileName;
    int m_HasComponentSide = 0;
    int m_HasSolderSide = 0;
    int m_MeasureWndShown = 0;
    int m_RouteWndShown = 0;
    int m_WorkOrderSpare1 = 0;
    int m_WorkOrderSpare2 = 0;
    int m_ComponentSideActive = 0;
    int m_SolderSideActive = 0;
    int m_DrillDataSet = 0;
    int m_WorkOrderSpare3 = 0;
    int m_ProjectLoadedFlag = 0;
    int m_ApertureLoaded = 0;
    int m_ApertureFormat = 0;           // number of the FILETYPE block
    int m_WorkOrderP7 = 0;              // coordinate unit index 0, 1 or 2
    int m_RouteFormat = 0;              // 0 Gerber, 1 HPGL
    int m_CalcMethod = 0;               // 0: no processing macro after loading
    float m_GerberUnitFactor = 0.0f;    // 1.0, 10.0 or 100.0
    int m_GerberMetric = 0;
    int m_DataOriginX = 10000000;       // lowest X of the imported data, mil
    int m_DataOriginY = 10000000;
    std::string m_CadDialect;

    CWorkOrderDlg();
    CWorkOrderDlg(const CWorkOrderDlg& other);
    CWorkOrderDlg& operator=(const CWorkOrderDlg& other) = default;

    // Makes the dialog modelessly once; 0 when it was made already.
    virtual int Create();

    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnClear();

private:
    void RegisterHandlers();
    // Lets the operator choose the file(s) of `member`.
    void Browse(std::string& member, const char* filter, bool multiple);
    // Where the chooser opens: the folder of the last file chosen in this
    // run, else of a file the work order names, else the user's home.
    std::string BrowseStart() const;
    std::string m_LastBrowseFolder;

    // The members the dialog can change before OK, as they were when it
    // opened, so Cancel leaves the work order as it was.
    struct Snapshot {
        std::string componentGerber, componentAperture, solderGerber, solderAperture, drill, route;
        int apertureFormat, workOrderP7, calcMethod, gerberMetric;
    };
    Snapshot m_Opened{};
};

extern CWorkOrderDlg g_WorkOrderDlg;

inline int& g_CurrentSide = g_WorkOrderDlg.m_CurrentSide;
inline std::string& g_CurrentApertureFile = g_WorkOrderDlg.m_CurrentApertureFile;
inline std::string& g_ComponentGerberFile = g_WorkOrderDlg.m_ComponentGerberFile;
inline std::string& g_DrillFile = g_WorkOrderDlg.m_DrillFile;
inline std::string& g_RouteFile = g_WorkOrderDlg.m_RouteFile;
inline std::string& g_SolderApertureFile = g_WorkOrderDlg.m_SolderApertureFile;
inline std::string& g_ComponentApertureFile = g_WorkOrderDlg.m_ComponentApertureFile;
inline std::string& g_SolderGerberFile = g_WorkOrderDlg.m_SolderGerberFile;
inline std::string& g_ProjectFileName = g_WorkOrderDlg.m_ProjectFileName;
// Where a chooser of the operator's own files starts: the open project's
// path, but nothing (the chooser's last folder) while that is the resume
// project a running job saved in the system folder.
std::string ProjectChooserStart();
inline int& g_HasComponentSide = g_WorkOrderDlg.m_HasComponentSide;
inline int& g_HasSolderSide = g_WorkOrderDlg.m_HasSolderSide;
inline int& g_MeasureWndShown = g_WorkOrderDlg.m_MeasureWndShown;
inline int& g_RouteWndShown = g_WorkOrderDlg.m_RouteWndShown;
inline int& g_WorkOrderSpare1 = g_WorkOrderDlg.m_WorkOrderSpare1;
inline int& g_WorkOrderSpare2 = g_WorkOrderDlg.m_WorkOrderSpare2;
inline int& g_ComponentSideActive = g_WorkOrderDlg.m_ComponentSideActive;
inline int& g_SolderSideActive = g_WorkOrderDlg.m_SolderSideActive;
inline int& g_DrillDataSet = g_WorkOrderDlg.m_DrillDataSet;
inline int& g_WorkOrderSpare3 = g_WorkOrderDlg.m_WorkOrderSpare3;
inline int& g_ProjectLoadedFlag = g_WorkOrderDlg.m_ProjectLoadedFlag;
inline int& g_ApertureLoaded = g_WorkOrderDlg.m_ApertureLoaded;
inline int& g_ApertureFormat = g_WorkOrderDlg.m_ApertureFormat;
inline int& g_WorkOrderP7 = g_WorkOrderDlg.m_WorkOrderP7;
inline int& g_RouteFormat = g_WorkOrderDlg.m_RouteFormat;
inline int& g_CalcMethod = g_WorkOrderDlg.m_CalcMethod;
inline float& g_GerberUnitFactor = g_WorkOrderDlg.m_GerberUnitFactor;
inline int& g_GerberMetric = g_WorkOrderDlg.m_GerberMetric;
inline int& g_DataOriginX = g_WorkOrderDlg.m_DataOriginX;
inline int& g_DataOriginY = g_WorkOrderDlg.m_DataOriginY;
inline std::string& g_CadDialect = g_WorkOrderDlg.m_CadDialect;
