// The working-layer dialog: which layers the board view draws and whether
// copper is drawn solid. Its members are the visibility flags themselves; the
// g_ names below reach them. They are not stored: every start shows all.
#pragma once

#include "ui/dialog.h"

#include <array>
#include <string>

class CLayerDlg : public CDialog {
public:
    CLayerDlg();

    int m_ShowLayerRoute = 1;
    int m_ShowLayerDrill = 1;
    int m_SolidLineView = 1;
    int m_Reserved1 = 1;
    int m_ShowLayerT2Iso = 1;
    int m_ShowLayerT2Mil = 1;
    int m_Reserved2 = 1;
    int m_ShowLayerT1Iso = 1;
    int m_ShowLayerT1Mil = 1;
    int m_ShowLayerCopper = 1;
    int m_ShowLayerT3Mil = 1;
    int m_ShowLayerT4Iso = 1;
    // Route, drill, solid line, T1 isolation, T2 isolation, T2 clearing, T1
    // clearing, copper, as StoreFlags left them.
    std::array<int, 8> m_SavedFlags{1, 1, 1, 1, 1, 1, 1, 1};
    int m_Reserved3 = 1;
    // The layer the range mode adds isolation lines or clearing to; empty
    // while no range is armed.
    std::string m_RangeLayerName;

    void DoDataExchange(CDataExchange* pDX) override;
    // Hides the eight board layers, keeping what they were (T3 clearing and
    // T4 isolation are left alone).
    void StoreFlags();
    // Gives the eight layers what StoreFlags kept.
    void LoadFlags();
};

extern CLayerDlg g_LayerDlg;

inline int& g_ShowLayerRoute = g_LayerDlg.m_ShowLayerRoute;
inline int& g_ShowLayerDrill = g_LayerDlg.m_ShowLayerDrill;
inline int& g_SolidLineView = g_LayerDlg.m_SolidLineView;
inline int& g_ShowLayerT2Iso = g_LayerDlg.m_ShowLayerT2Iso;
inline int& g_ShowLayerT2Mil = g_LayerDlg.m_ShowLayerT2Mil;
inline int& g_ShowLayerT1Iso = g_LayerDlg.m_ShowLayerT1Iso;
inline int& g_ShowLayerT1Mil = g_LayerDlg.m_ShowLayerT1Mil;
inline int& g_ShowLayerCopper = g_LayerDlg.m_ShowLayerCopper;
inline int& g_ShowLayerT3Mil = g_LayerDlg.m_ShowLayerT3Mil;
inline int& g_ShowLayerT4Iso = g_LayerDlg.m_ShowLayerT4Iso;
inline std::string& g_RangeLayerName = g_LayerDlg.m_RangeLayerName;

// 1 when the working-layer flags show the layer of that name, else 0: the
// fixed names map to their flags, every name holding "ROUTE" follows the
// route flag (CVelmView::IsLayerVisible).
int IsLayerVisible(const std::string& name);
