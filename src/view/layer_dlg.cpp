// The working-layer dialog's data exchange and the saved copy of its flags.
#include "view/layer_dlg.h"

namespace {

// The eight flags StoreFlags and LoadFlags move, in the saved copy's order.
std::array<int*, 8> SavedSet(CLayerDlg& d)
{
    return {&d.m_ShowRoute, &d.m_ShowDrill, &d.m_SolidLineView, &d.m_ShowT1Iso,
            &d.m_ShowT2Iso, &d.m_ShowT2Mil, &d.m_ShowT1Mil, &d.m_ShowCopper};
}

}  // namespace

void CLayerDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Check(pDX, IDC_LAYER_ROUTE, m_ShowRoute);
    DDX_Check(pDX, IDC_LAYER_DRILL, m_ShowDrill);
    DDX_Check(pDX, IDC_LAYER_SOLID, m_SolidLineView);
    DDX_Check(pDX, IDC_LAYER_T2ISO, m_ShowT2Iso);
    DDX_Check(pDX, IDC_LAYER_T2MIL, m_ShowT2Mil);
    DDX_Check(pDX, IDC_LAYER_T1ISO, m_ShowT1Iso);
    DDX_Check(pDX, IDC_LAYER_T1MIL, m_ShowT1Mil);
    DDX_Check(pDX, IDC_LAYER_COPPER, m_ShowCopper);
    DDX_Check(pDX, IDC_LAYER_T3MIL, m_ShowT3Mil);
    DDX_Check(pDX, IDC_LAYER_T4ISO, m_ShowT4Iso);
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
