// Which layers the view shows: the working-layer flags (the dialog that edits
// them arrives with the view) and the test of a layer name against them.
#pragma once

#include <array>
#include <string>

class CLayerDlg {
public:
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
    // Route, drill, solid line, T1 isolation, T2 isolation, T2 clearing,
    // T1 clearing, copper.
    std::array<int, 8> m_SavedFlags{1, 1, 1, 1, 1, 1, 1, 1};
    int m_Reserved3 = 1;

    // Saves the eight flags and hides them all; LoadFlags brings them back.
    void StoreFlags();
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

// 1 when the working-layer flags show the layer of that name, else 0
// (CVelmView::IsLayerVisible).
int IsLayerVisible(const std::string& name);
