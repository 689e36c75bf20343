// The DXF settings dialog and the DXF-CAM layer dialog.
#include "exchange/dxf_dialogs.h"

#include "exchange/dxf_layers.h"
#include "resource_ids.h"

#include <algorithm>
#include <cctype>

namespace {

std::string Lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return s;
}

bool Contains(const std::string& text, const char* part)
{
    return text.find(part) != std::string::npos;
}

// The layer combos in the order each name is added to them.
constexpr unsigned kLayerCombos[] = {IDC_DXF_TOP, IDC_DXF_BOTTOM, IDC_DXF_DRILL, IDC_DXF_OUTLINE,
                                     IDC_DXF_MACHINING};

}  // namespace

CDxfSettingsDlg::CDxfSettingsDlg() : CDialog(IDD_DXF_SETTINGS) {}

void AddSortedString(CDialog& dialog, unsigned id, const std::string& text)
{
    CControlState& combo = dialog.Control(id);
    const std::string key = Lower(text);
    auto at = std::find_if(combo.items.begin(), combo.items.end(),
                           [&key](const std::string& item) { return Lower(item) > key; });
    combo.items.insert(at, text);
    dialog.ControlChanged(id);
}

void FillLayerCombo(CDialog& dialog, unsigned id, std::string& layerList, int index)
{
    // Every name closed by ";" is offered, however long the list; what
    // follows the last ";" is no name.
    for (const std::string& name : SplitLayerList(layerList))
        AddSortedString(dialog, id, name);
    layerList.clear();
    dialog.SetCurSel(id, index >= 0 && index < dialog.GetCount(id) ? index : -1);
}

void ReadLayerCombo(const CDialog& dialog, unsigned id, std::string& name, int& index)
{
    index = dialog.GetCurSel(id);
    name = index < 0 ? std::string() : dialog.GetLBText(id, index);
}

void CDxfSettingsDlg::SelectString(unsigned id, int start, const std::string& prefix)
{
    const int count = GetCount(id);
    const std::string wanted = Lower(prefix);
    for (int k = 1; k <= count; ++k) {
        const int index = (start + k) % count;
        if (Lower(GetLBText(id, index)).rfind(wanted, 0) == 0) {
            SetCurSel(id, index);
            return;
        }
    }
}

std::string CDxfSettingsDlg::SelectedText(unsigned id) const
{
    const int selection = GetCurSel(id);
    return selection < 0 ? std::string() : GetLBText(id, selection);
}

bool CDxfSettingsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    // Every name closed by ";" is offered, however long the list.
    for (const std::string& name : SplitLayerList(m_strLayerList))
        for (unsigned id : kLayerCombos)
            AddSortedString(*this, id, name);
    for (const char* unit : {"mm", "Inch", "mil"})
        AddSortedString(*this, IDC_DXF_UNIT, unit);
    SetCurSel(IDC_DXF_UNIT, FindStringExact(IDC_DXF_UNIT, "mm"));

    // Names the list holds (case-sensitive) preselect the first entry that
    // begins with a text; DRILL after HOLE, so DRILL wins when both are.
    struct Preselect {
        const char* held;
        unsigned id;
        const char* entry;
    } const preselect[] = {{"TOP", IDC_DXF_TOP, "TOP"},       {"BOT", IDC_DXF_BOTTOM, "BOT"},
                           {"HOLE", IDC_DXF_DRILL, "HOLE"},   {"DRILL", IDC_DXF_DRILL, "DRILL"},
                           {"OUT", IDC_DXF_OUTLINE, "OUTLINE"}, {"CRAVE", IDC_DXF_MACHINING, "CRAVE"}};
    for (const Preselect& p : preselect)
        if (Contains(m_strLayerList, p.held))
            SelectString(p.id, 0, p.entry);
    return true;
}

void CDxfSettingsDlg::OnOK()
{
    m_strDrillLayer = SelectedText(IDC_DXF_DRILL);
    m_strTopLayer = SelectedText(IDC_DXF_TOP);
    m_strBottomLayer = SelectedText(IDC_DXF_BOTTOM);
    m_strOutlineLayer = SelectedText(IDC_DXF_OUTLINE);
    m_strMachiningLayer = SelectedText(IDC_DXF_MACHINING);
    m_strUnit = SelectedText(IDC_DXF_UNIT);
    CDialog::OnOK();
}

CDxfLayerDlg::CDxfLayerDlg() : CDialog(IDD_DXF_LAYERS) {}

void CDxfLayerDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_DXF_LAYER_TEXT, m_strLayers);
}
