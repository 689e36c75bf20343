// The drill format dialog: its radio groups set the format members at once,
// OK reads the digit combos and stores the seven values, Cancel stores nothing.
#include "settings/drill_format_dlg.h"

#include "platform/host.h"
#include "resource_ids.h"
#include "settings/registry.h"

#include <string>

namespace {

struct FormatValue {
    const char* name;
    int CDrillFormatDlg::* member;
};

constexpr FormatValue kFormatValues[] = {
    {"dUnitInt", &CDrillFormatDlg::dUnitInt},     {"dUnitDec", &CDrillFormatDlg::dUnitDec},
    {"dInchMM", &CDrillFormatDlg::dInchMM},       {"dInchMMSize", &CDrillFormatDlg::dInchMMSize},
    {"dAbsRel", &CDrillFormatDlg::dAbsRel},       {"dZeroSup", &CDrillFormatDlg::dZeroSup},
    {"dAutoFormat", &CDrillFormatDlg::dAutoFormat},
};

}  // namespace

CDrillFormatDlg::CDrillFormatDlg() : CDialog(IDD_DRILL_FORMAT)
{
    RegisterHandlers();
    CRegistryKey key;
    if (key.Open(HKEY_CURRENT_USER, g_ProgramKeyPath) == ERROR_SUCCESS) {
        for (const FormatValue& value : kFormatValues)
            key.ReadInt(value.name, this->*value.member);
        key.Close();
    }
}

CDrillFormatDlg::CDrillFormatDlg(const CDrillFormatDlg& other) : CDrillFormatDlg()
{
    *this = other;
}

void CDrillFormatDlg::RegisterHandlers()
{
    OnCommand(IDC_DF_COORD_INCH, [this] { OnInchCoordinates(); });
    OnCommand(IDC_DF_COORD_MM, [this] { OnMetricCoordinates(); });
    OnCommand(IDC_DF_RELATIVE, [this] { OnRelative(); });
    OnCommand(IDC_DF_ABSOLUTE, [this] { OnAbsolute(); });
    OnCommand(IDC_DF_TRAILING, [this] { OnTrailing(); });
    OnCommand(IDC_DF_NONE, [this] { OnNone(); });
    OnCommand(IDC_DF_LEADING, [this] { OnLeading(); });
    OnCommand(IDC_DF_SIZE_INCH, [this] {
        dInchMMSize = 0;
        CheckGroup({IDC_DF_SIZE_INCH, IDC_DF_SIZE_MM}, IDC_DF_SIZE_INCH);
    });
    OnCommand(IDC_DF_SIZE_MM, [this] {
        dInchMMSize = 1;
        CheckGroup({IDC_DF_SIZE_INCH, IDC_DF_SIZE_MM}, IDC_DF_SIZE_MM);
    });
    OnCommand(IDC_DF_AUTO_FORMAT, [this] { OnAutoFormat(); });
}

void CDrillFormatDlg::CheckGroup(std::initializer_list<unsigned> group, unsigned chosen)
{
    for (unsigned id : group)
        CheckDlgButton(id, id == chosen ? 1 : 0);
}

void CDrillFormatDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
}

bool CDrillFormatDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_Opened.clear();
    for (const FormatValue& value : kFormatValues)
        m_Opened.push_back(this->*value.member);
    ResetContent(IDC_DF_UNIT_INT);
    ResetContent(IDC_DF_UNIT_DEC);
    for (int digits = 1; digits <= 5; ++digits)
        AddString(IDC_DF_UNIT_INT, std::to_string(digits));
    for (int digits = 0; digits <= 6; ++digits)
        AddString(IDC_DF_UNIT_DEC, std::to_string(digits));
    CheckDlgButton(IDC_DF_AUTO_FORMAT, dAutoFormat ? 1 : 0);
    CheckGroup({IDC_DF_COORD_INCH, IDC_DF_COORD_MM}, dInchMM ? IDC_DF_COORD_MM : IDC_DF_COORD_INCH);
    CheckGroup({IDC_DF_SIZE_INCH, IDC_DF_SIZE_MM}, dInchMMSize ? IDC_DF_SIZE_MM : IDC_DF_SIZE_INCH);
    CheckGroup({IDC_DF_ABSOLUTE, IDC_DF_RELATIVE}, dAbsRel ? IDC_DF_RELATIVE : IDC_DF_ABSOLUTE);
    const unsigned zeroButtons[] = {IDC_DF_LEADING, IDC_DF_TRAILING, IDC_DF_NONE};
    CheckGroup({IDC_DF_LEADING, IDC_DF_TRAILING, IDC_DF_NONE},
               dZeroSup >= 0 && dZeroSup <= 2 ? zeroButtons[dZeroSup] : 0);
    SetCurSel(IDC_DF_UNIT_INT, FindStringExact(IDC_DF_UNIT_INT, std::to_string(dUnitInt)));
    SetCurSel(IDC_DF_UNIT_DEC, FindStringExact(IDC_DF_UNIT_DEC, std::to_string(dUnitDec)));
    return true;
}

void CDrillFormatDlg::OnCancel()
{
    for (std::size_t i = 0; i < m_Opened.size() && i < std::size(kFormatValues); ++i)
        this->*kFormatValues[i].member = m_Opened[i];
    CDialog::OnCancel();
}

void CDrillFormatDlg::OnOK()
{
    // A combo left without a choice keeps the digits in force.
    if (GetCurSel(IDC_DF_UNIT_INT) >= 0)
        dUnitInt = std::stoi(GetLBText(IDC_DF_UNIT_INT, GetCurSel(IDC_DF_UNIT_INT)));
    if (GetCurSel(IDC_DF_UNIT_DEC) >= 0)
        dUnitDec = std::stoi(GetLBText(IDC_DF_UNIT_DEC, GetCurSel(IDC_DF_UNIT_DEC)));
    StoreFormat();
    EndDialog(IDOK);
}

void CDrillFormatDlg::StoreFormat() const
{
    CRegistryKey key;
    if (key.Open(HKEY_CURRENT_USER, g_ProgramKeyPath) != ERROR_SUCCESS)
        return;
    for (const FormatValue& value : kFormatValues)
        key.WriteInt(value.name, this->*value.member);
    key.Close();
}

void CDrillFormatDlg::OnInchCoordinates()
{
    dInchMM = 0;
    CheckGroup({IDC_DF_COORD_INCH, IDC_DF_COORD_MM}, IDC_DF_COORD_INCH);
}

void CDrillFormatDlg::OnMetricCoordinates()
{
    dInchMM = 1;
    CheckGroup({IDC_DF_COORD_INCH, IDC_DF_COORD_MM}, IDC_DF_COORD_MM);
}

void CDrillFormatDlg::OnRelative()
{
    dAbsRel = 1;
    CheckGroup({IDC_DF_ABSOLUTE, IDC_DF_RELATIVE}, IDC_DF_RELATIVE);
}

void CDrillFormatDlg::OnAbsolute()
{
    dAbsRel = 0;
    CheckGroup({IDC_DF_ABSOLUTE, IDC_DF_RELATIVE}, IDC_DF_ABSOLUTE);
}

void CDrillFormatDlg::OnTrailing()
{
    dZeroSup = 1;
    CheckGroup({IDC_DF_LEADING, IDC_DF_TRAILING, IDC_DF_NONE}, IDC_DF_TRAILING);
}

void CDrillFormatDlg::OnNone()
{
    dZeroSup = 2;
    CheckGroup({IDC_DF_LEADING, IDC_DF_TRAILING, IDC_DF_NONE}, IDC_DF_NONE);
}

void CDrillFormatDlg::OnLeading()
{
    dZeroSup = 0;
    CheckGroup({IDC_DF_LEADING, IDC_DF_TRAILING, IDC_DF_NONE}, IDC_DF_LEADING);
}

void CDrillFormatDlg::OnAutoFormat()
{
    dAutoFormat = dAutoFormat ? 0 : 1;
    CheckDlgButton(IDC_DF_AUTO_FORMAT, dAutoFormat);
}
