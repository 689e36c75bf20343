// The probed surface as the project file and the exports need it: the
// plane-detect dialog's data (kept as the plane-data file's bytes until the
// probing jobs read them field by field) and the machining area over all
// board copies, which the probe-test dialog computes.
#pragma once

#include "platform/win_types.h"

#include <cstdint>
#include <string>
#include <vector>

class CPanelLayout;

class CPlaneDetectDlg {
public:
    int m_Open = 0;                      // 1 while its window exists
    RECT m_AreaRect;                     // pulses
    std::vector<std::uint8_t> m_PlaneData;  // the plane-data file as read
    int m_PlaneValid = 0;

    // Made once; 0 when it exists already.
    int CreateModeless();
    // 1 when the file was read (an empty file holds no plane).
    int LoadPlaneData(const std::string& path);
    // Writes the current data (created or truncated); 1 on success.
    int SavePlaneData(const std::string& path) const;
};

class CProbeTestDlg {
public:
    int m_Open = 0;
    RECT m_LayoutExtent;                 // the machining area, pulses
    const CPanelLayout* m_Layout = nullptr;  // the board copies of the view

    // The machining area over all board copies of m_Layout: each copy's
    // board-extent corners, less its reference centre, turned by its
    // orientation, moved to its current centre and scaled to pulses. With
    // no copies the area stays as it was.
    void CalcLayoutExtent();
};

extern CPlaneDetectDlg g_PlaneDetectDlg;
extern CProbeTestDlg g_ProbeTestDlg;

inline RECT& g_LayoutExtent = g_ProbeTestDlg.m_LayoutExtent;
