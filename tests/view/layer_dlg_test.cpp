// The layer test by name and the saved working-layer flags.
#include "view/layer_dlg.h"

#include <gtest/gtest.h>

namespace {

TEST(LayerVisibility, ExactNamesAndRouteFamily)
{
    const struct {
        const char* name;
        int* flag;
    } cases[] = {
        {"T3MIL", &g_ShowLayerT3Mil}, {"T1MIL", &g_ShowLayerT1Mil}, {"T4ISO", &g_ShowLayerT4Iso},
        {"T1ISO", &g_ShowLayerT1Iso}, {"T2MIL", &g_ShowLayerT2Mil}, {"T2ISO", &g_ShowLayerT2Iso},
        {"COPPER", &g_ShowLayerCopper}, {"DRILL", &g_ShowLayerDrill}, {"ROUTE1.5", &g_ShowLayerRoute},
        {"XROUTE", &g_ShowLayerRoute},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IsLayerVisible(c.name), 1);
        *c.flag = 0;
        EXPECT_EQ(IsLayerVisible(c.name), 0);
        *c.flag = 1;
    }
    EXPECT_EQ(IsLayerVisible("t1iso"), 0);
    EXPECT_EQ(IsLayerVisible("T1ISO-S"), 0);
}

TEST(LayerVisibility, StoreHidesAndLoadRestoresTheEightFlags)
{
    g_ShowLayerT2Iso = 0;
    g_ShowLayerT3Mil = 0;
    g_LayerDlg.StoreFlags();
    EXPECT_EQ(g_ShowLayerRoute + g_ShowLayerDrill + g_SolidLineView + g_ShowLayerT1Iso +
                  g_ShowLayerT2Iso + g_ShowLayerT2Mil + g_ShowLayerT1Mil + g_ShowLayerCopper,
              0);
    EXPECT_EQ(g_ShowLayerT4Iso, 1);  // neither saved nor hidden
    g_LayerDlg.LoadFlags();
    EXPECT_EQ(g_ShowLayerT2Iso, 0);
    EXPECT_EQ(g_ShowLayerCopper, 1);
    EXPECT_EQ(g_ShowLayerT3Mil, 0);
}

}  // namespace
