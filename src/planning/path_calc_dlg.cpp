// The path-calculation dialog: what it shows of the tool settings, how the
// T1 list, the defaults and the preview set its fields, and how typed widths
// and depths reach its members.
#include "planning/path_calc_dlg.h"

#include "planning/tool_dialogs.h"
#include "records/board_model.h"
#include "resource_ids.h"
#include "settings/machine_settings.h"

namespace {

// Widths that have a name of their own in the width edits.
constexpr float kBlueWidth = 0.5f;
constexpr float kRedWidth = 1.5f;
constexpr const char* kBlueText = "0.5/BLUE";
constexpr const char* kRedText = "1.5/RED";

// The T1 depth that goes with a tip (mm): the 0.2/90' and 0.15/60' tips cut
// deeper than the 0.15/90' and 0.1/60' ones.
constexpr float kWideTipDepth = 0.08f;
constexpr float kFineTipDepth = 0.055f;

// The defaults button: T1 the first tip, T2 and T3 the named widths, every
// depth and the overlap.
constexpr float kDefaultT1Width = 0.2f;
constexpr float kDefaultDepth = 0.08f;
constexpr float kDefaultOverlapField = 0.508f;

// An overlap beyond a whole tool width is no overlap the clearing can use.
constexpr float kMaxOverlap = 1.0f;
constexpr float kFallbackOverlap = 0.2f;

std::string WidthText(float width)
{
    if (width == kBlueWidth)
        return kBlueText;
    if (width == kRedWidth)
        return kRedText;
    return FormatG(width);
}

// A number field's member takes the field's text when it is a number.
void TakeNumber(const CDialog& d, unsigned id, float& field)
{
    double value = 0.0;
    if (ParseNumberText(d.GetDlgItemText(id), value))
        field = static_cast<float>(value);
}

}  // namespace

CPathCalcDlg::CPathCalcDlg() : CDialog(IDD_PATH_CALC)
{
    OnTextEdited(IDC_PC_T2_WIDTH, [this] { OnChangeT2Width(); });
    OnTextEdited(IDC_PC_T3_WIDTH, [this] { OnChangeT3Width(); });
    OnTextEdited(IDC_PC_T1_DEPTH, [this] { OnChangeT1Depth(); });
    OnTextEdited(IDC_PC_T2_DEPTH, [this] { OnChangeT2Depth(); });
    OnTextEdited(IDC_PC_T3_DEPTH, [this] { OnChangeT3Depth(); });
    OnTextEdited(IDC_PC_OVERLAP, [this] { OnChangeOverlap(); });
    OnSelectionChanged(IDC_PC_T1_TOOL, [this] { OnSelChangeT1Tool(); });
    OnTextEdited(IDC_PC_T1_TOOL, [this] { OnEditChangeT1Tool(); });
    OnCommand(IDC_PC_DEFAULTS, [this] { OnDefaults(); });
    OnCommand(IDC_PC_PREVIEW, [this] { OnPreview(); });
}

void CPathCalcDlg::FillFromTools(CBoardModel& model)
{
    m_T1Size = static_cast<float>(MilToMm(model.m_ToolWidth1));
    m_T2Size = static_cast<float>(MilToMm(model.m_ToolWidth2));
    m_T3Size = static_cast<float>(MilToMm(model.m_ToolWidth3));
    m_T1Depth = PulsesToMm(model.m_ToolValue1, g_ZPulsesPerMM);
    m_T2Depth = PulsesToMm(model.m_ToolValue2, g_ZPulsesPerMM);
    m_T3Depth = PulsesToMm(model.m_ToolValue3, g_ZPulsesPerMM);
    if (model.m_ClearOverlap > kMaxOverlap)
        model.m_ClearOverlap = kFallbackOverlap;
    m_Overlap = model.m_ClearOverlap;
}

void CPathCalcDlg::WriteBackTools(CBoardModel& model) const
{
    model.m_ToolWidth1 = static_cast<float>(MmToMil(m_T1Size));
    model.m_ToolWidth2 = static_cast<float>(MmToMil(m_T2Size));
    model.m_ToolWidth3 = static_cast<float>(MmToMil(m_T3Size));
    model.m_ToolValue1 = MmToPulses(m_T1Depth, g_ZPulsesPerMM);
    model.m_ToolValue2 = MmToPulses(m_T2Depth, g_ZPulsesPerMM);
    model.m_ToolValue3 = MmToPulses(m_T3Depth, g_ZPulsesPerMM);
}

void CPathCalcDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_PC_T1_DEPTH, m_T1DepthField);
    DDX_Text(pDX, IDC_PC_T2_DEPTH, m_T2DepthField);
    DDX_Text(pDX, IDC_PC_T3_DEPTH, m_T3DepthField);
    DDX_Text(pDX, IDC_PC_OVERLAP, m_OverlapField);
    DDX_Check(pDX, IDC_PC_T1_ISO, m_T1Iso);
    DDX_Check(pDX, IDC_PC_T1_CLEAR, m_T1Clear);
    DDX_Check(pDX, IDC_PC_T2_ISO, m_T2Iso);
    DDX_Check(pDX, IDC_PC_T2_CLEAR, m_T2Clear);
    DDX_Check(pDX, IDC_PC_T3_CLEAR, m_T3Clear);
    DDX_Text(pDX, IDC_PC_T2_WIDTH, m_T2WidthText);
    DDX_Text(pDX, IDC_PC_T3_WIDTH, m_T3WidthText);
}

bool CPathCalcDlg::OnInitDialog()
{
    m_T2WidthText = WidthText(m_T2Size);
    m_T3WidthText = WidthText(m_T3Size);
    m_T1DepthField = m_T1Depth;
    m_T2DepthField = m_T2Depth;
    m_T3DepthField = m_T3Depth;
    m_OverlapField = m_Overlap;
    ResetContent(IDC_PC_T1_TOOL);
    for (const char* text : T1_TOOL_TEXTS)
        AddString(IDC_PC_T1_TOOL, text);
    // A stored choice that names no entry would leave the box empty and T1
    // without a width: the first tip stands in for it.
    if (T1Select < 0 || T1Select >= T1_TOOLS)
        T1Select = 0;
    SetCurSel(IDC_PC_T1_TOOL, T1Select);
    m_T1Text = T1_TOOL_TEXTS[T1Select];
    return CDialog::OnInitDialog();
}

void CPathCalcDlg::OnOK()
{
    m_T1Size = static_cast<float>(LeadingNumber(GetDlgItemText(IDC_PC_T1_TOOL)));
    CDialog::OnOK();
}

void CPathCalcDlg::TakeFields()
{
    TakeNumber(*this, IDC_PC_T1_DEPTH, m_T1DepthField);
    TakeNumber(*this, IDC_PC_T2_DEPTH, m_T2DepthField);
    TakeNumber(*this, IDC_PC_T3_DEPTH, m_T3DepthField);
    TakeNumber(*this, IDC_PC_OVERLAP, m_OverlapField);
    m_T1Iso = IsDlgButtonChecked(IDC_PC_T1_ISO);
    m_T1Clear = IsDlgButtonChecked(IDC_PC_T1_CLEAR);
    m_T2Iso = IsDlgButtonChecked(IDC_PC_T2_ISO);
    m_T2Clear = IsDlgButtonChecked(IDC_PC_T2_CLEAR);
    m_T3Clear = IsDlgButtonChecked(IDC_PC_T3_CLEAR);
    m_T2WidthText = GetDlgItemText(IDC_PC_T2_WIDTH);
    m_T3WidthText = GetDlgItemText(IDC_PC_T3_WIDTH);
}

void CPathCalcDlg::OnChangeT2Width()
{
    TakeFields();
    m_T2Size = static_cast<float>(LeadingNumber(m_T2WidthText));
}

void CPathCalcDlg::OnChangeT3Width()
{
    TakeFields();
    m_T3Size = static_cast<float>(LeadingNumber(m_T3WidthText));
}

void CPathCalcDlg::OnChangeT1Depth()
{
    TakeFields();
    m_T1Depth = m_T1DepthField;
}

void CPathCalcDlg::OnChangeT2Depth()
{
    TakeFields();
    m_T2Depth = m_T2DepthField;
}

void CPathCalcDlg::OnChangeT3Depth()
{
    TakeFields();
    m_T3Depth = m_T3DepthField;
}

void CPathCalcDlg::OnChangeOverlap()
{
    TakeFields();
    m_Overlap = m_OverlapField;
}

void CPathCalcDlg::OnSelChangeT1Tool()
{
    const int selected = GetCurSel(IDC_PC_T1_TOOL);
    if (selected < 0 || selected >= T1_TOOLS)
        return;
    TakeFields();
    T1Select = selected;
    m_T1Text = T1_TOOL_TEXTS[selected];
    m_T1Size = static_cast<float>(LeadingNumber(m_T1Text));
    m_T1Depth = m_T1DepthField = (selected == 0 || selected == 2) ? kWideTipDepth : kFineTipDepth;
    UpdateData(false);
}

void CPathCalcDlg::OnEditChangeT1Tool()
{
    m_T1Size = static_cast<float>(LeadingNumber(GetDlgItemText(IDC_PC_T1_TOOL)));
}

void CPathCalcDlg::OnDefaults()
{
    TakeFields();
    T1Select = 0;
    SetCurSel(IDC_PC_T1_TOOL, 0);
    m_T1Size = kDefaultT1Width;
    m_T2WidthText = kBlueText;
    m_T2Size = kBlueWidth;
    m_T3WidthText = kRedText;
    m_T3Size = kRedWidth;
    m_T1Depth = m_T1DepthField = kDefaultDepth;
    m_T2Depth = m_T2DepthField = kDefaultDepth;
    m_T3Depth = m_T3DepthField = kDefaultDepth;
    m_OverlapField = kDefaultOverlapField;
    UpdateData(false);
    // The overlap edit's change carries the new text into the member.
    m_Overlap = m_OverlapField;
}

void CPathCalcDlg::OnPreview()
{
    m_T1Iso = 1;
    m_T1Clear = m_T2Iso = m_T2Clear = m_T3Clear = 0;
    m_T1Size = static_cast<float>(LeadingNumber(GetDlgItemText(IDC_PC_T1_TOOL)));
    UpdateData(false);
    OnOK();
}
