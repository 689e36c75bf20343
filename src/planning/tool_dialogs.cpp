// The tool dialogs: the path-calculation-method dialog, the tool-change table
// and the drill tool-size dialog, and the unit conversions they share.
#include "planning/tool_dialogs.h"

#include "platform/program_objects.h"
#include "records/board_records.h"
#include "resource_ids.h"

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>

CToolChangeDlg g_ToolChangeDlg;

namespace {

const CProgramObjectReset s_ToolChangeReset([] { g_ToolChangeDlg = CToolChangeDlg(); });

// The size dialog's edits are read as the first line of their text, cut to
// this many characters.
constexpr std::size_t kEditReadLength = 10;
// Below this difference (mm) the two edits already agree, so a change of
// one does not rewrite the other: no rounding loop between them.
constexpr double kEditsAgree = 0.01;

// Control ids by slot; slot 0 has none.
constexpr unsigned kNumberIds[CToolChangeDlg::SLOTS] = {
    0, IDC_TC_NUMBER_1, IDC_TC_NUMBER_2, IDC_TC_NUMBER_3, IDC_TC_NUMBER_4,
    IDC_TC_NUMBER_5, IDC_TC_NUMBER_6, IDC_TC_NUMBER_7, IDC_TC_NUMBER_8};
constexpr unsigned kNameIds[CToolChangeDlg::SLOTS] = {
    0, IDC_TC_NAME_1, IDC_TC_NAME_2, IDC_TC_NAME_3, IDC_TC_NAME_4,
    IDC_TC_NAME_5, IDC_TC_NAME_6, IDC_TC_NAME_7, IDC_TC_NAME_8};
constexpr unsigned kSpeedIds[CToolChangeDlg::SLOTS] = {
    0, IDC_TC_SPEED_1, IDC_TC_SPEED_2, IDC_TC_SPEED_3, IDC_TC_SPEED_4,
    IDC_TC_SPEED_5, IDC_TC_SPEED_6, IDC_TC_SPEED_7, IDC_TC_SPEED_8};
constexpr unsigned kDepthIds[CToolChangeDlg::SLOTS] = {
    0, IDC_TC_DEPTH_1, IDC_TC_DEPTH_2, IDC_TC_DEPTH_3, IDC_TC_DEPTH_4,
    IDC_TC_DEPTH_5, IDC_TC_DEPTH_6, IDC_TC_DEPTH_7, IDC_TC_DEPTH_8};

// What an empty slot shows in its number and name.
constexpr const char* kBlankSlot = "   ";

std::string FirstLine(const std::string& text, std::size_t length)
{
    return text.substr(0, std::min(text.find_first_of("\r\n"), length));
}

// A typed size kept as a float; one too large for a float is the largest.
float AsFloat(double value)
{
    return static_cast<float>(std::clamp(value, -static_cast<double>(FLT_MAX), static_cast<double>(FLT_MAX)));
}

int TruncToInt(double value)
{
    if (!(value > INT_MIN) || !(value < INT_MAX))
        return value > 0 ? INT_MAX : INT_MIN;
    return static_cast<int>(value);
}

// The slot of a tool number in g_ToolSizes, or null when the table has none:
// a drill file may number its tools past the table.
float* ToolSizeSlot(int number)
{
    if (number < 0 || number >= DRILL_TOOL_SIZES)
        return nullptr;
    return &g_ToolSizes[static_cast<std::size_t>(number)];
}

CDrillTool* FindDrillTool(int number)
{
    for (auto& tool : g_HoleList)
        if (tool->toolNumber == number)
            return tool.get();
    return nullptr;
}

// The diameter the dialog shows for a tool number: its g_ToolSizes entry,
// or the tool's own diameter where the table has no slot for it.
double ShownDiameter(int number)
{
    if (const float* slot = ToolSizeSlot(number))
        return *slot;
    const CDrillTool* tool = FindDrillTool(number);
    return tool ? tool->diameter : 0.0;
}

void SetDiameter(CDrillTool& tool, float diameter)
{
    tool.diameter = diameter;
    if (float* slot = ToolSizeSlot(tool.toolNumber))
        *slot = diameter;
}

}  // namespace

float PulsesToMm(float pulses, float pulsesPerMM)
{
    return pulsesPerMM > 0.0f && std::isfinite(pulsesPerMM) ? pulses / pulsesPerMM : 0.0f;
}

float MmToPulses(float mm, float pulsesPerMM)
{
    return pulsesPerMM > 0.0f && std::isfinite(pulsesPerMM) ? mm * pulsesPerMM : 0.0f;
}

double LeadingNumber(const std::string& text)
{
    double value = std::strtod(text.c_str(), nullptr);
    return std::isfinite(value) ? value : 0.0;
}

std::string FormatG(double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%g", value);
    return buffer;
}

std::string FormatD(int value) { return std::to_string(value); }

// ---- CPathMethodDlg ----

CPathMethodDlg::CPathMethodDlg() : CDialog(IDD_PATH_METHOD) {}

void CPathMethodDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_PM_T1_DEPTH, m_EngraveDepth1);
    DDX_Text(pDX, IDC_PM_T2_DEPTH, m_EngraveDepth2);
    DDX_Text(pDX, IDC_PM_T3_DEPTH, m_EngraveDepth3);
    DDX_Text(pDX, IDC_PM_T1_WIDTH, m_EngraveWidth1);
    DDX_Text(pDX, IDC_PM_T2_WIDTH, m_EngraveWidth2);
    DDX_Text(pDX, IDC_PM_T3_WIDTH, m_EngraveWidth3);
    DDX_Text(pDX, IDC_PM_T4_DEPTH, m_EngraveDepth4);
    DDX_Text(pDX, IDC_PM_T4_WIDTH, m_EngraveWidth4);
    DDX_Check(pDX, IDC_PM_USE_T4, m_UseEngraver4);
}

// ---- CToolChangeDlg ----

CToolChangeDlg::CToolChangeDlg() : CDialog(IDD_TOOL_CHANGE)
{
    for (int i = 0; i < SLOTS; ++i) {
        m_Number[static_cast<std::size_t>(i)] = FormatD(i) + " ";
        m_Name[static_cast<std::size_t>(i)] = kBlankSlot;
    }
}

void CToolChangeDlg::DoDataExchange(CDataExchange* pDX)
{
    for (std::size_t i = 1; i < SLOTS; ++i) {
        DDX_Text(pDX, kNumberIds[i], m_Number[i]);
        DDX_Text(pDX, kNameIds[i], m_Name[i]);
        DDX_Text(pDX, kSpeedIds[i], m_Speed[i]);
        DDX_Text(pDX, kDepthIds[i], m_Depth[i]);
    }
    DDX_Text(pDX, IDC_TC_SIZE_UNIT, m_SizeUnit);
    DDX_Text(pDX, IDC_TC_DEPTH_UNIT, m_DepthUnit);
    DDX_Text(pDX, IDC_TC_SPEED_UNIT, m_SpeedUnit);
}

void CToolChangeDlg::ClearRows()
{
    m_Number.fill(kBlankSlot);
    m_Name.fill(kBlankSlot);
}

// ---- CToolSizeDlg ----

CToolSizeDlg::CToolSizeDlg() : CDialog(IDD_TOOL_SIZE)
{
    OnSelectionChanged(IDC_TS_TOOL, [this] { OnSelChangeTool(); });
    OnFocusGained(IDC_TS_MIL, [this] { OnSetFocusMil(); });
    OnFocusGained(IDC_TS_MM, [this] { OnSetFocusMm(); });
    OnTextEdited(IDC_TS_MM, [this] { OnChangeMm(); });
    OnTextEdited(IDC_TS_MIL, [this] { OnChangeMil(); });
}

CToolSizeDlg::~CToolSizeDlg()
{
    Highlight(-1);
    InvalidateView();
}

void CToolSizeDlg::Highlight(int tool)
{
    if (m_pView)
        m_pView->SetHighlightedDrillTool(tool);
}

void CToolSizeDlg::InvalidateView()
{
    if (m_pView)
        m_pView->Invalidate();
}

void CToolSizeDlg::ShowTool(int number)
{
    m_Tool = number;
    const double mil = ShownDiameter(number);
    SetDlgItemText(IDC_TS_MIL, FormatG(mil));
    SetDlgItemText(IDC_TS_MM, FormatG(MilToMm(mil)));
}

bool CToolSizeDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (g_HoleList.empty())
        return true;
    for (const auto& tool : g_HoleList) {
        AddString(IDC_TS_TOOL, "T" + FormatD(tool->toolNumber));
        if (float* slot = ToolSizeSlot(tool->toolNumber))
            *slot = tool->diameter;
    }
    // The list shows its first entry, so the edits and the marked holes
    // belong to that tool from the start.
    SetCurSel(IDC_TS_TOOL, 0);
    const int first = g_HoleList.front()->toolNumber;
    ShowTool(first);
    Highlight(first);
    InvalidateView();
    return true;
}

void CToolSizeDlg::OnSelChangeTool()
{
    const int selected = GetCurSel(IDC_TS_TOOL);
    if (selected < 0)
        return;
    const std::string entry = GetLBText(IDC_TS_TOOL, selected);
    const int number = TruncToInt(LeadingNumber(entry.substr(entry.empty() ? 0 : 1)));
    Highlight(number);
    ShowTool(number);
    InvalidateView();
}

CDrillTool* CToolSizeDlg::EditedTool(int focus, double& mil, double& mm)
{
    if (m_EditFocus != focus)
        return nullptr;
    CDrillTool* tool = FindDrillTool(m_Tool);
    if (!tool)
        return nullptr;
    mil = LeadingNumber(FirstLine(GetDlgItemText(IDC_TS_MIL), kEditReadLength));
    mm = LeadingNumber(FirstLine(GetDlgItemText(IDC_TS_MM), kEditReadLength));
    return tool;
}

void CToolSizeDlg::OnChangeMm()
{
    double mil = 0.0, mm = 0.0;
    CDrillTool* tool = EditedTool(kFocusMm, mil, mm);
    if (!tool || std::fabs(MilToMm(mil) - mm) < kEditsAgree)
        return;
    const double diameter = MmToMil(mm);
    SetDiameter(*tool, AsFloat(diameter));
    SetDlgItemText(IDC_TS_MIL, FormatD(TruncToInt(diameter)));
    InvalidateView();
}

void CToolSizeDlg::OnChangeMil()
{
    double mil = 0.0, mm = 0.0;
    CDrillTool* tool = EditedTool(kFocusMil, mil, mm);
    if (!tool)
        return;
    SetDiameter(*tool, AsFloat(mil));
    if (std::fabs(MilToMm(mil) - mm) < kEditsAgree)
        return;
    SetDlgItemText(IDC_TS_MM, FormatG(MilToMm(mil)));
    InvalidateView();
}
