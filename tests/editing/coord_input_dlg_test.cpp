// The coordinate dialog: mil in and out, the display unit on screen.
#include "editing/coord_input_dlg.h"

#include "resource_ids.h"
#include "settings/machine_settings.h"
#include "settings/system_settings_dlg.h"
#include "support/scripted_host.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

TEST(CoordInputDlg, ShowsTheDisplayUnitAndHandsBackMil)
{
    g_XYPulsesPerMM = 200.0f;
    struct Case {
        int unit;
        const char* name;
        double shown;   // 1000 mil in that unit
    } cases[] = {{0, "mm", 25.4}, {1, "mil", 1000.0}, {2, "pulse", 5080.0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_UnitSelector = c.unit;
        CCoordInputDlg dlg;
        dlg.m_CoordX = 1000.0f;
        dlg.m_CoordY = -500.0f;
        std::string shownX, unit;
        TestHost().QueueDialog(
            [&](CDialog& d) {
                shownX = d.GetDlgItemText(IDC_COORD_X);
                unit = d.GetDlgItemText(IDC_COORD_UNIT);
                d.PressButton(IDOK);
            },
            IDD_COORD_INPUT);
        ASSERT_EQ(dlg.DoModal(), IDOK);
        EXPECT_NEAR(std::atof(shownX.c_str()), c.shown, c.shown * 1e-5);
        EXPECT_EQ(unit, c.name);
        EXPECT_NEAR(dlg.m_CoordX, 1000.0f, 0.01f);
        EXPECT_NEAR(dlg.m_CoordY, -500.0f, 0.01f);
    }
}

TEST(CoordInputDlg, CancelLeavesTheDisplayUnitsValues)
{
    g_UnitSelector = 0;
    CCoordInputDlg dlg;
    dlg.m_CoordX = 1000.0f;
    TestHost().QueueDialog([](CDialog& d) { d.PressButton(IDCANCEL); }, IDD_COORD_INPUT);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_NEAR(dlg.m_CoordX, 25.4f, 1e-4f);

    // A text that is no number keeps the dialog open.
    CCoordInputDlg typed;
    TestHost().QueueDialog(
        [](CDialog& d) {
            d.SetDlgItemText(IDC_COORD_X, "abc");
            d.PressButton(IDOK);
            EXPECT_TRUE(d.IsWindow());
            d.SetDlgItemText(IDC_COORD_X, "2.54");
            d.PressButton(IDOK);
        },
        IDD_COORD_INPUT);
    EXPECT_EQ(typed.DoModal(), IDOK);
    EXPECT_NEAR(typed.m_CoordX, 100.0f, 1e-3f);
}
