// The working-layer flags and the layer test by name.
#include "view/layer_dlg.h"

namespace {

std::array<int*, 8> SavedOrder(CLayerDlg& dlg)
{
    return {&dlg.m_ShowLayerRoute, &dlg.m_ShowLayerDrill, &dlg.m_SolidLineView,
            &dlg.m_ShowLayerT1Iso, &dlg.m_ShowLayerT2Iso, &dlg.m_ShowLayerT2Mil,
            &dlg.m_ShowLayerT1Mil, &dlg.m_ShowLayerCopper};
}

}  // namespace

void CLayerDlg::StoreFlags()
{
    auto flags = SavedOrder(*this);
    for (std::size_t i = 0; i < flags.size(); ++i) {
        m_SavedFlags[i] = *flags[i];
        *flags[i] = 0;
    }
}

void CLayerDlg::LoadFlags()
{
    auto flags = SavedOrder(*this);
    for (std::size_t i = 0; i < flags.size(); ++i)
        *flags[i] = m_SavedFlags[i];
}

int IsLayerVisible(const std::string& name)
{
    const struct {
        const char* name;
        const int& flag;
    } exact[] = {{"T3MIL", g_ShowLayerT3Mil}, {"T1MIL", g_ShowLayerT1Mil},
                 {"T4ISO", g_ShowLayerT4Iso}, {"T1ISO", g_ShowLayerT1Iso},
                 {"T2MIL", g_ShowLayerT2Mil}, {"T2ISO", g_ShowLayerT2Iso},
                 {"COPPER", g_ShowLayerCopper}, {"DRILL", g_ShowLayerDrill}};
    for (const auto& row : exact)
        if (name == row.name && row.flag)
            return 1;
    return name.find("ROUTE") != std::string::npos && g_ShowLayerRoute ? 1 : 0;
}
