// The work-order dialog: the aperture dialects of the settings file, the
// file choosers and what OK, Clear and Cancel do to the work order.
#include "settings/work_order_dlg.h"

#include "platform/host.h"
#include "platform/paths.h"
#include "resource_ids.h"
#include "settings/system_settings_dlg.h"
#include "ui/edit_wnd.h"

#include <cstdlib>
#include <filesystem>

namespace {

constexpr std::size_t kTemplateLineSize = 100;

// The folder part of a path; empty for a bare name.
std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

constexpr const char* kComponentGerberFilter =
    "Component Side|*.*|PROTEL   *.GTL|*.GTL|PADS   *.PHO|*.PHO|P-CAD   *.GBR|*.GBR|";
constexpr const char* kSolderGerberFilter =
    "Solder Side|*.*|PROTEL   *.GBL|*.GBL|PADS   *.PHO|*.PHO|P-CAD   *.GBR|*.GBR|";
constexpr const char* kApertureFilter =
    "Aperture File|*.*|PROTEL   *.A*|*.A*|PADS   *.REP|*.REP|P-CAD   *.APR|*.APR|";
constexpr const char* kDrillFilter =
    "Drill|*.*|PROTEL   *.TXT|*.TXT|PADS   *.DRL|*.DRL|P-CAD   *.DRL|*.DRL|";
constexpr const char* kRouteFilter =
    "Route|*.*|PROTEL   *.GKO|*.GKO|HPGL  *.PLT|*.PLT|GM-CODE   *.NC|*.NC|";

constexpr unsigned kPathEdits[] = {IDC_WO_COMPONENT_GERBER, IDC_WO_DRILL,
                                   IDC_WO_ROUTE,            IDC_WO_SOLDER_APERTURE,
                                   IDC_WO_COMPONENT_APERTURE, IDC_WO_SOLDER_GERBER};

}  // namespace

CWorkOrderDlg::CWorkOrderDlg() : CDialog(IDD_WORK_ORDER) { RegisterHandlers(); }

CWorkOrderDlg::CWorkOrderDlg(const CWorkOrderDlg& other) : CWorkOrderDlg() { *this = other; }

void CWorkOrderDlg::RegisterHandlers()
{
    OnCommand(IDC_WO_BROWSE_COMPONENT_GERBER,
              [this] { Browse(m_ComponentGerberFile, kComponentGerberFilter, true); });
    OnCommand(IDC_WO_BROWSE_SOLDER_GERBER,
              [this] { Browse(m_SolderGerberFile, kSolderGerberFilter, true); });
    OnCommand(IDC_WO_BROWSE_COMPONENT_APERTURE,
              [this] { Browse(m_ComponentApertureFile, kApertureFilter, false); });
    OnCommand(IDC_WO_BROWSE_SOLDER_APERTURE,
              [this] { Browse(m_SolderApertureFile, kApertureFilter, false); });
    OnCommand(IDC_WO_BROWSE_DRILL, [this] { Browse(m_DrillFile, kDrillFilter, false); });
    OnCommand(IDC_WO_BROWSE_ROUTE, [this] { Browse(m_RouteFile, kRouteFilter, false); });
    OnCommand(IDC_WO_CLEAR, [this] { OnClear(); });
    for (unsigned id : kPathEdits)
        OnFocusLost(id, [this] { UpdateData(true); });
}

int CWorkOrderDlg::Create()
{
    if (m_Created || IsWindow())
        return 0;
    bool made = CreateModeless();
    m_Created = 1;
    return made ? 1 : 0;
}

void CWorkOrderDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_WO_COMPONENT_GERBER, m_ComponentGerberFile);
    DDX_Text(pDX, IDC_WO_DRILL, m_DrillFile);
    DDX_Text(pDX, IDC_WO_ROUTE, m_RouteFile);
    DDX_Text(pDX, IDC_WO_SOLDER_APERTURE, m_SolderApertureFile);
    DDX_Text(pDX, IDC_WO_COMPONENT_APERTURE, m_ComponentApertureFile);
    DDX_Text(pDX, IDC_WO_SOLDER_GERBER, m_SolderGerberFile);
}

bool CWorkOrderDlg::OnInitDialog()
{
    m_Opened = {m_ComponentGerberFile, m_ComponentApertureFile, m_SolderGerberFile,
                m_SolderApertureFile,  m_DrillFile,             m_RouteFile,
                m_ApertureFormat,      m_WorkOrderP7,           m_CalcMethod,
                m_GerberMetric};
    CDialog::OnInitDialog();
    ResetContent(IDC_WO_APERTURE_SOURCE);
    CLineEdit& settings = g_SettingsTextWnd.Edit();
    for (int line = settings.FindLine("FILETYPE"); line >= 0; line = settings.FindNextLine())
        AddString(IDC_WO_APERTURE_SOURCE,
                  BlockEntryName(settings.GetLineText(line, kTemplateLineSize)));
    SetCurSel(IDC_WO_APERTURE_SOURCE, m_ApertureFormat);
    return true;
}

void CWorkOrderDlg::OnOK()
{
    // With no entry chosen (the list is editable) the dialect stays.
    int chosen = GetCurSel(IDC_WO_APERTURE_SOURCE);
    if (chosen >= 0) {
        m_ApertureFormat = chosen;
        m_CadDialect = GetLBText(IDC_WO_APERTURE_SOURCE, chosen);
    }
    switch (m_WorkOrderP7) {
    case 0: m_GerberUnitFactor = 1.0f; break;
    case 1: m_GerberUnitFactor = 10.0f; break;
    case 2: m_GerberUnitFactor = 100.0f; break;
    default: break;
    }
    CDialog::OnOK();
}

void CWorkOrderDlg::OnCancel()
{
    m_ComponentGerberFile = m_Opened.componentGerber;
    m_ComponentApertureFile = m_Opened.componentAperture;
    m_SolderGerberFile = m_Opened.solderGerber;
    m_SolderApertureFile = m_Opened.solderAperture;
    m_DrillFile = m_Opened.drill;
    m_RouteFile = m_Opened.route;
    m_ApertureFormat = m_Opened.apertureFormat;
    m_WorkOrderP7 = m_Opened.workOrderP7;
    m_CalcMethod = m_Opened.calcMethod;
    m_GerberMetric = m_Opened.gerberMetric;
    CDialog::OnCancel();
}

void CWorkOrderDlg::OnClear()
{
    for (std::string* path : {&m_ComponentGerberFile, &m_DrillFile, &m_RouteFile,
                              &m_SolderApertureFile, &m_ComponentApertureFile, &m_SolderGerberFile})
        path->clear();
    m_ApertureFormat = 0;
    m_WorkOrderP7 = 0;
    m_CalcMethod = 0;
    m_GerberMetric = 0;
    UpdateData(false);
}

std::string CWorkOrderDlg::BrowseStart() const
{
    std::string folder = m_LastBrowseFolder;
    for (const std::string* named : {&m_ComponentGerberFile, &m_SolderGerberFile, &m_DrillFile,
                                     &m_RouteFile, &m_ComponentApertureFile, &m_SolderApertureFile})
        if (folder.empty())
            folder = FolderOf(named->substr(0, named->find(';')));
    if (folder.empty())
        if (const char* home = std::getenv("HOME"))
            folder = home;
    return folder.empty() ? "*.*" : JoinPath(folder, "*.*");
}

void CWorkOrderDlg::Browse(std::string& member, const char* filter, bool multiple)
{
    // What was typed in the other edits is kept, as leaving an edit keeps it.
    UpdateData(true);
    std::vector<std::string> chosen;
    if (!Host().GetOpenFileName(filter, BrowseStart(), multiple, chosen) || chosen.empty())
        return;
    m_LastBrowseFolder = FolderOf(chosen.front());
    member.clear();
    for (std::size_t i = 0; i < chosen.size(); ++i)
        member += (i ? ";" : "") + chosen[i];
    UpdateData(false);
}

std::string ProjectChooserStart()
{
    namespace fs = std::filesystem;
    if (g_ProjectFileName.empty() || g_SystemDir.empty())
        return g_ProjectFileName;
    std::error_code ec;
    const fs::path folder = fs::path(g_ProjectFileName).parent_path();
    return fs::equivalent(folder, g_SystemDir, ec) ? std::string() : g_ProjectFileName;
}
