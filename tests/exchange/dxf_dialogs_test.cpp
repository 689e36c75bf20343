// The DXF settings dialog offers every listed layer in each role, sorted,
// preselects the roles by name and hands back the chosen entries; the layer
// dialog exchanges its text.
#include "exchange/dxf_dialogs.h"
#include "resource_ids.h"
#include "support/scripted_host.h"

#include <gtest/gtest.h>

namespace {

struct Chosen {
    std::string top, bottom, drill, outline, machining, unit;
    bool operator==(const Chosen&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Chosen& c)
{
    return os << c.top << "|" << c.bottom << "|" << c.drill << "|" << c.outline << "|"
              << c.machining << "|" << c.unit;
}

Chosen RunWithList(const std::string& list, std::vector<std::string>* topEntries = nullptr)
{
    CDxfSettingsDlg dlg;
    dlg.m_strLayerList = list;
    TestHost().QueueDialog(
        [topEntries](CDialog& d) {
            if (topEntries)
                *topEntries = d.Control(IDC_DXF_TOP).items;
            d.PressButton(IDOK);
        },
        IDD_DXF_SETTINGS);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    return {dlg.m_strTopLayer,     dlg.m_strBottomLayer,    dlg.m_strDrillLayer,
            dlg.m_strOutlineLayer, dlg.m_strMachiningLayer, dlg.m_strUnit};
}

}  // namespace

TEST(DxfSettingsDlg, RolesArePreselectedByName)
{
    struct Case {
        std::string list;
        Chosen chosen;
    } const cases[] = {
        {"TOP;BOT;DRILL;OUTLINE;CRAVE;", {"TOP", "BOT", "DRILL", "OUTLINE", "CRAVE", "mm"}},
        {"HOLE;DRILL;", {"", "", "DRILL", "", "", "mm"}},
        {"HOLE;", {"", "", "HOLE", "", "", "mm"}},
        // The tests on the list are case-sensitive.
        {"top;", {"", "", "", "", "", "mm"}},
        // TOPSILK begins with TOP.
        {"GND;TOPSILK;", {"TOPSILK", "", "", "", "", "mm"}},
        // A name without its ";" is not offered.
        {"A;TOP", {"", "", "", "", "", "mm"}},
        {"", {"", "", "", "", "", "mm"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RunWithList(c.list), c.chosen) << c.list;
}

TEST(DxfSettingsDlg, EntriesAreSortedAndLongListsComeWhole)
{
    std::vector<std::string> entries;
    RunWithList("b;C;a;", &entries);
    EXPECT_EQ(entries, (std::vector<std::string>{"a", "b", "C"}));

    std::string list;
    for (int i = 0; i < 300; ++i)
        list += "LAYER" + std::to_string(1000 + i) + ";";
    RunWithList(list, &entries);
    EXPECT_EQ(entries.size(), 300u);

    CDxfSettingsDlg dlg;
    TestHost().QueueDialog([](CDialog& d) {
        EXPECT_EQ(d.Control(IDC_DXF_UNIT).items, (std::vector<std::string>{"Inch", "mil", "mm"}));
        d.SetCurSel(IDC_DXF_UNIT, 0);
        d.PressButton(IDOK);
    });
    dlg.DoModal();
    EXPECT_EQ(dlg.m_strUnit, "Inch");
}

TEST(DxfLayerDlg, ExchangesTheLayerText)
{
    CDxfLayerDlg dlg;
    dlg.m_strLayers = "A\r\n;B\r\n";
    TestHost().QueueDialog(
        [](CDialog& d) {
            EXPECT_EQ(d.GetDlgItemText(IDC_DXF_LAYER_TEXT), "A\r\n;B\r\n");
            d.SetDlgItemText(IDC_DXF_LAYER_TEXT, ";A\r\nB\r\n");
            d.PressButton(IDOK);
        },
        IDD_DXF_LAYERS);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_strLayers, ";A\r\nB\r\n");
}
