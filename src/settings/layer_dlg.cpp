// The working-layer dialog's data exchange, the saved copy of its flags and
// the layer test by name.
#include "settings/layer_dlg.h"

#include "resource_ids.h"

namespace {

// The eight flags StoreFlags and LoadFlags move, in the saved copy's order.
std::array<int*, 8> SavedSet(CLayerDlg& d)
{
    return {&d.m_ShowLayerRoute, &d.m_ShowLayerDrill, &d.m_SolidLineView, &d.m_ShowLayerT1Iso,
            &d.m_ShowLayerT2Iso, &d.m_ShowLayerT2Mil, &d.m_ShowLayerT1Mil, &d.m_ShowLayerCopper};
}

}  // namespace

CLayerDlg::CLayerDlg() : CDialog(IDD_LAYER_CONTROL) {}

void CLayerDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Check(pDX, IDC_LAYER_ROUTE, m_ShowLayerRoute);
    DDX_Check(pDX, IDC_LAYER_DRILL, m_ShowLayerDrill);
    DDX_Check(pDX, IDC_LAYER_SOLID, m_SolidLineView);
    DDX_Check(pDX, IDC_LAYER_T2ISO, m_ShowLayerT2Iso);
    DDX_Check(pDX, IDC_LAYER_T2MIL, m_ShowLayerT2Mil);
    DDX_Check(pDX, IDC_LAYER_T1ISO, m_ShowLayerT1Iso);
    DDX_Check(pDX, IDC_LAYER_T1MIL, m_ShowLayerT1Mil);
    DDX_Check(pDX, IDC_LAYER_COPPER, m_ShowLayerCopper);
    DDX_Check(pDX, IDC_LAYER_T3MIL, m_ShowLayerT3Mil);
    DDX_Check(pDX, IDC_LAYER_T4ISO, m_ShowLayerT4Iso);
}

void CLayerDlg::StoreFlags()
{
    auto flags = SavedSet(*this);
    for (std::size_t i = 0; i < flags.size(); ++i) {
        m_SavedFlags[i] = *flags[i];
        *flags[i] = 0;
    }
}

void CLayerDlg::LoadFlags()
{
    auto flags = SavedSet(*this);
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
