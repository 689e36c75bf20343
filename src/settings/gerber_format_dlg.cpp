// The Gerber format dialog: the number format and the import options shown
// as radio groups, digit lists and check boxes; OK stores them.
#include "settings/gerber_format_dlg.h"

#include "resource_ids.h"
#include "settings/registry.h"

#include <string>

namespace {

// The registry names in the order OK stores them, with their members.
template <class Dlg, class Fn>
void ForEachSetting(Dlg& d, Fn fn)
{
    fn("UnitInt", d.UnitInt);
    fn("UnitDec", d.UnitDec);
    fn("InchMM", d.InchMM);
    fn("InchMM2", d.InchMM2);
    fn("AbsRel", d.AbsRel);
    fn("ZeroSup", d.ZeroSup);
    fn("AutoFormat", d.AutoFormat);
    fn("LargeArea", d.LargeArea);
    fn("AreaFill", d.AreaFill);
    fn("GroupFlag", d.GroupFlag);
    fn("OverlapDelete", d.OverlapDelete);
}

}  // namespace

CGerberFormatDlg::CGerberFormatDlg() : CDialog(IDD_GERBER_FORMAT)
{
    ForEachSetting(*this, [](const char* name, int& value) { RegGetInt(name, value); });
    RegisterHandlers();
}

CGerberFormatDlg::CGerberFormatDlg(const CGerberFormatDlg& other)
    : CDialog(other),
      UnitInt(other.UnitInt),
      UnitDec(other.UnitDec),
      InchMM(other.InchMM),
      InchMM2(other.InchMM2),
      AbsRel(other.AbsRel),
      ZeroSup(other.ZeroSup),
      AutoFormat(other.AutoFormat),
      LargeArea(other.LargeArea),
      GroupFlag(other.GroupFlag),
      AreaFill(other.AreaFill),
      OverlapDelete(other.OverlapDelete)
{
    RegisterHandlers();
}

void CGerberFormatDlg::RegisterHandlers()
{
    OnCommand(IDC_GF_INCH, [this] { OnInch(); });
    OnCommand(IDC_GF_METRIC, [this] { OnMetric(); });
    OnCommand(IDC_GF_INCREMENTAL, [this] { OnIncremental(); });
    OnCommand(IDC_GF_ABSOLUTE, [this] { OnAbsolute(); });
    OnCommand(IDC_GF_ZERO_TRAILING, [this] { OnZeroSuppressTrailing(); });
    OnCommand(IDC_GF_ZERO_NONE, [this] { OnZeroSuppressNone(); });
    OnCommand(IDC_GF_ZERO_LEADING, [this] { OnZeroSuppressLeading(); });
    OnCommand(IDC_GF_APERTURE_METRIC, [this] { OnApertureMetric(); });
    OnCommand(IDC_GF_APERTURE_INCH, [this] { OnApertureInch(); });
    OnCommand(IDC_GF_AUTO_FORMAT, [this] { OnAutoFormat(); });
    OnCommand(IDC_GF_LARGE_AREA, [this] { OnLargeArea(); });
    OnCommand(IDC_GF_GROUP_FLAG, [this] { OnGroupFlag(); });
    OnCommand(IDC_GF_AREA_FILL, [this] { OnAreaFill(); });
    OnCommand(IDC_GF_OVERLAP_DELETE, [this] { OnOverlapDelete(); });
}

void CGerberFormatDlg::OnInch() { SetRadio(InchMM, 0, {IDC_GF_INCH, IDC_GF_METRIC}); }
void CGerberFormatDlg::OnMetric() { SetRadio(InchMM, 1, {IDC_GF_INCH, IDC_GF_METRIC}); }
void CGerberFormatDlg::OnAbsolute() { SetRadio(AbsRel, 0, {IDC_GF_ABSOLUTE, IDC_GF_INCREMENTAL}); }
void CGerberFormatDlg::OnIncremental() { SetRadio(AbsRel, 1, {IDC_GF_ABSOLUTE, IDC_GF_INCREMENTAL}); }
void CGerberFormatDlg::OnZeroSuppressLeading() { SetRadio(ZeroSup, 0, ZeroGroup()); }
void CGerberFormatDlg::OnZeroSuppressTrailing() { SetRadio(ZeroSup, 1, ZeroGroup()); }
void CGerberFormatDlg::OnZeroSuppressNone() { SetRadio(ZeroSup, 2, ZeroGroup()); }
void CGerberFormatDlg::OnApertureInch()
{
    SetRadio(InchMM2, 0, {IDC_GF_APERTURE_INCH, IDC_GF_APERTURE_METRIC});
}
void CGerberFormatDlg::OnApertureMetric()
{
    SetRadio(InchMM2, 1, {IDC_GF_APERTURE_INCH, IDC_GF_APERTURE_METRIC});
}
void CGerberFormatDlg::OnAutoFormat() { Toggle(AutoFormat, IDC_GF_AUTO_FORMAT); }
void CGerberFormatDlg::OnLargeArea() { Toggle(LargeArea, IDC_GF_LARGE_AREA); }
void CGerberFormatDlg::OnGroupFlag() { Toggle(GroupFlag, IDC_GF_GROUP_FLAG); }
void CGerberFormatDlg::OnAreaFill() { Toggle(AreaFill, IDC_GF_AREA_FILL); }
void CGerberFormatDlg::OnOverlapDelete() { Toggle(OverlapDelete, IDC_GF_OVERLAP_DELETE); }

std::vector<unsigned> CGerberFormatDlg::ZeroGroup()
{
    return {IDC_GF_ZERO_LEADING, IDC_GF_ZERO_TRAILING, IDC_GF_ZERO_NONE};
}

void CGerberFormatDlg::SetRadio(int& member, int value, const std::vector<unsigned>& group)
{
    member = value;
    for (std::size_t i = 0; i < group.size(); ++i)
        CheckDlgButton(group[i], int(i) == value ? 1 : 0);
}

void CGerberFormatDlg::Toggle(int& member, unsigned id)
{
    member = member ? 0 : 1;
    CheckDlgButton(id, member);
}

bool CGerberFormatDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_Opened.clear();
    ForEachSetting(*this, [this](const char*, int value) { m_Opened.push_back(value); });
    ResetContent(IDC_GF_UNIT_INT);
    ResetContent(IDC_GF_UNIT_DEC);
    for (int i = 1; i <= 5; ++i)
        AddString(IDC_GF_UNIT_INT, std::to_string(i));
    for (int i = 0; i <= 6; ++i)
        AddString(IDC_GF_UNIT_DEC, std::to_string(i));
    SetRadio(AbsRel, AbsRel, {IDC_GF_ABSOLUTE, IDC_GF_INCREMENTAL});
    SetRadio(ZeroSup, ZeroSup, ZeroGroup());
    SetRadio(InchMM, InchMM, {IDC_GF_INCH, IDC_GF_METRIC});
    SetRadio(InchMM2, InchMM2, {IDC_GF_APERTURE_INCH, IDC_GF_APERTURE_METRIC});
    CheckDlgButton(IDC_GF_AUTO_FORMAT, AutoFormat ? 1 : 0);
    CheckDlgButton(IDC_GF_LARGE_AREA, LargeArea ? 1 : 0);
    CheckDlgButton(IDC_GF_GROUP_FLAG, GroupFlag ? 1 : 0);
    CheckDlgButton(IDC_GF_AREA_FILL, AreaFill ? 1 : 0);
    CheckDlgButton(IDC_GF_OVERLAP_DELETE, OverlapDelete ? 1 : 0);
    SetCurSel(IDC_GF_UNIT_INT, FindStringExact(IDC_GF_UNIT_INT, std::to_string(UnitInt)));
    SetCurSel(IDC_GF_UNIT_DEC, FindStringExact(IDC_GF_UNIT_DEC, std::to_string(UnitDec)));
    return true;
}

void CGerberFormatDlg::OnCancel()
{
    std::size_t i = 0;
    ForEachSetting(*this, [&](const char*, int& value) {
        if (i < m_Opened.size())
            value = m_Opened[i++];
    });
    CDialog::OnCancel();
}

void CGerberFormatDlg::OnOK()
{
    // A list without a selection keeps the member's value.
    if (int sel = GetCurSel(IDC_GF_UNIT_INT); sel >= 0)
        UnitInt = std::stoi(GetLBText(IDC_GF_UNIT_INT, sel));
    if (int sel = GetCurSel(IDC_GF_UNIT_DEC); sel >= 0)
        UnitDec = std::stoi(GetLBText(IDC_GF_UNIT_DEC, sel));
    ForEachSetting(*this, [](const char* name, int value) { RegSetInt(name, value); });
    CDialog::OnOK();
}
