// The probed surface as the project file and the exports need it: the
// plane-detect dialog's data (kept as the plane-data file's bytes, with the
// surface they hold decoded for the working depth) and the machining area
// over all board copies, which the probe-test dialog computes.
#pragma once

#include "link/working_depth.h"
#include "machining/probe_test_dlg.h"
#include "platform/win_types.h"

#include <cstdint>
#include <string>
#include <vector>

// The probed surface it holds (points, spacing, probed rectangle) is what the
// working depth follows.
class CPlaneDetectDlg : public CProbeGrid {
public:
    int m_Open = 0;                      // 1 while its window exists
    std::vector<std::uint8_t> m_PlaneData;  // the plane-data file as read
    int m_PlaneValid = 0;

    // Made once; 0 when it exists already.
    int CreateModeless();
    // 1 when the file was read (an empty file holds no plane). The spacing,
    // the average Z and the points it holds replace the surface's; a file
    // too short for its header leaves no points.
    int LoadPlaneData(const std::string& path);
    // The surface of the file's bytes: spacing, average Z, points.
    void DecodeSurface();
    // Writes the current data (created or truncated); 1 on success.
    int SavePlaneData(const std::string& path) const;
};

extern CPlaneDetectDlg g_PlaneDetectDlg;
