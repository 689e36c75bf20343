// The working-layer flags, their dialog and the visibility of layers by name.
#include "view_fixture.h"

#include "support/scripted_host.h"
#include "settings/layer_dlg.h"
#include "resource_ids.h"

TEST_F(ViewTest, LayerNamesMapToTheirFlags)
{
    struct Case {
        const char* name;
        int* flag;  // the one flag that hides it, or none
    } cases[] = {
        {"T3MIL", &g_ShowLayerT3Mil}, {"T1MIL", &g_ShowLayerT1Mil}, {"T4ISO", &g_ShowLayerT4Iso},
        {"T1ISO", &g_ShowLayerT1Iso}, {"T2MIL", &g_ShowLayerT2Mil}, {"T2ISO", &g_ShowLayerT2Iso},
        {"COPPER", &g_ShowLayerCopper}, {"DRILL", &g_ShowLayerDrill}, {"ROUTE", &g_ShowLayerRoute},
        {"ROUTE12.5", &g_ShowLayerRoute}, {"XROUTE", &g_ShowLayerRoute},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(view->IsLayerVisible(c.name), 1) << c.name;
        *c.flag = 0;
        EXPECT_EQ(view->IsLayerVisible(c.name), 0) << c.name;
        *c.flag = 1;
    }
    for (const char* never : {"T3ISO", "route", "copper", "", "T1ISO-S"})
        EXPECT_EQ(view->IsLayerVisible(never), 0) << never;
    g_SolidLineView = 0;  // not a layer
    EXPECT_EQ(view->IsLayerVisible("COPPER"), 1);
}

TEST(LayerDlg, StoreAndLoadMoveTheEightBoardFlags)
{
    CLayerDlg d;
    EXPECT_EQ(d.m_ShowLayerCopper, 1);
    EXPECT_EQ(d.m_SolidLineView, 1);
    d.m_ShowLayerDrill = 0;
    d.m_ShowLayerT3Mil = 0;
    d.StoreFlags();
    for (int flag : {d.m_ShowLayerRoute, d.m_ShowLayerDrill, d.m_SolidLineView, d.m_ShowLayerT1Iso, d.m_ShowLayerT2Iso,
                     d.m_ShowLayerT2Mil, d.m_ShowLayerT1Mil, d.m_ShowLayerCopper})
        EXPECT_EQ(flag, 0);
    EXPECT_EQ(d.m_ShowLayerT3Mil, 0);
    EXPECT_EQ(d.m_ShowLayerT4Iso, 1);
    d.LoadFlags();
    EXPECT_EQ(d.m_ShowLayerDrill, 0);
    EXPECT_EQ(d.m_ShowLayerCopper, 1);
    EXPECT_EQ(d.m_ShowLayerT3Mil, 0);  // neither saved nor cleared

    CLayerDlg fresh;
    fresh.m_ShowLayerCopper = 0;
    fresh.LoadFlags();  // the saved copy starts at all shown
    EXPECT_EQ(fresh.m_ShowLayerCopper, 1);
}

TEST_F(ViewTest, LayerDialogOkStoresCancelKeeps)
{
    TestHost().QueueDialog(
        [](CDialog& d) {
            EXPECT_EQ(d.IsDlgButtonChecked(IDC_LAYER_COPPER), 1);
            d.CheckDlgButton(IDC_LAYER_COPPER, 0);
            d.PressButton(IDOK);
        },
        IDD_LAYER_CONTROL);
    EXPECT_TRUE(CommandRouter().Dispatch(ID_LAYER_CONTROL));
    EXPECT_EQ(g_ShowLayerCopper, 0);
    EXPECT_EQ(window.redraws, 1);
    TestHost().QueueDialog(
        [](CDialog& d) {
            d.CheckDlgButton(IDC_LAYER_COPPER, 1);
            d.CheckDlgButton(IDC_LAYER_DRILL, 0);
            d.PressButton(IDCANCEL);
        },
        IDD_LAYER_CONTROL);
    CommandRouter().Dispatch(ID_LAYER_CONTROL);
    EXPECT_EQ(g_ShowLayerCopper, 0);
    EXPECT_EQ(g_ShowLayerDrill, 1);
}
