// The plane-detect dialog's data and the machining area of the probe test.
#include "machining/plane_data.h"

#include "geometry/board_orientation.h"
#include "geometry/registration.h"
#include "platform/binary_io.h"
#include "records/board_extent.h"
#include "records/panel_layout.h"
#include "settings/machine_settings.h"

#include <algorithm>
#include <cmath>
#include <limits>

int CPlaneDetectDlg::CreateModeless()
{
    if (m_Open)
        return 0;
    m_Open = 1;
    return 1;
}

int CPlaneDetectDlg::LoadPlaneData(const std::string& path)
{
    std::vector<std::uint8_t> bytes;
    if (!ReadWholeFile(path, bytes))
        return 0;
    m_PlaneData = std::move(bytes);
    m_PlaneValid = m_PlaneData.empty() ? 0 : 1;
    DecodeSurface();
    return 1;
}

// The file: spacing, average Z, the layout extent it was probed over, the
// grid's start point, then 12-byte points (Z, X, Y) up to the end; a short
// last record is dropped.
void CPlaneDetectDlg::DecodeSurface()
{
    m_Points.clear();
    CBinaryReader in(m_PlaneData);
    std::int32_t spacing = 0, averageZ = 0, start[2] = {};
    RECT extent;
    in.I32(spacing);
    in.I32(averageZ);
    in.I32(extent.left);
    in.I32(extent.top);
    in.I32(extent.right);
    in.I32(extent.bottom);
    in.I32(start[0]);
    in.I32(start[1]);
    if (!in.Ok())
        return;
    m_GridSpacing = spacing;
    m_AverageZ = averageZ;
    g_LayoutExtent = extent;
    std::int64_t sum = 0;
    while (in.Remaining() >= 12) {
        CProbePoint p;
        in.I32(p.z);
        in.I32(p.x);
        in.I32(p.y);
        m_Points.push_back(p);
        sum += p.z;
    }
    if (!m_Points.empty())
        m_AverageZ = static_cast<std::int32_t>(sum / static_cast<std::int64_t>(m_Points.size()));
}

int CPlaneDetectDlg::SavePlaneData(const std::string& path) const
{
    return WriteFileAtomically(path, m_PlaneData) ? 1 : 0;
}

void CProbeTestDlg::CalcLayoutExtent()
{
    if (!m_Layout || m_Layout->m_BlockList.empty())
        return;
    double minX = std::numeric_limits<double>::max(), minY = minX;
    double maxX = std::numeric_limits<double>::lowest(), maxY = maxX;
    for (const auto& block : m_Layout->m_BlockList) {
        const double xs[] = {static_cast<double>(g_BoardMinX), static_cast<double>(g_BoardMaxX)};
        const double ys[] = {static_cast<double>(g_BoardMinY), static_cast<double>(g_BoardMaxY)};
        for (double x : xs)
            for (double y : ys) {
                CDPoint p(x - block->m_RefCentre.x, y - block->m_RefCentre.y);
                ApplyBoardOrientation(*block, &p);
                // Where the machine goes: in pulses, through the
                // registration alignment the jobs apply to every point.
                CDPoint m((p.x + block->m_Centre.x) * g_PulsesPerMil,
                          (p.y + block->m_Centre.y) * g_PulsesPerMil);
                AlignTransformPoint(&m);
                minX = std::min(minX, m.x);
                minY = std::min(minY, m.y);
                maxX = std::max(maxX, m.x);
                maxY = std::max(maxY, m.y);
            }
    }
    m_LayoutExtent = {static_cast<std::int32_t>(minX), static_cast<std::int32_t>(minY), static_cast<std::int32_t>(maxX),
                      static_cast<std::int32_t>(maxY)};
}
