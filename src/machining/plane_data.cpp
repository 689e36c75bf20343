// The probed surface's window state and its plane-data files, and the
// machining area of the probe test.
#include "machining/plane_data.h"

#include "geometry/board_orientation.h"
#include "geometry/registration.h"
#include "platform/binary_io.h"
#include "platform/host.h"
#include "platform/program_state.h"
#include "platform/resources.h"
#include "records/board_extent.h"
#include "records/panel_layout.h"
#include "resource_ids.h"
#include "settings/machine_settings.h"
#include "settings/work_order_dlg.h"
#include "ui/line_control.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace {

// Spacing, average Z, four extent values and the start point.
constexpr std::size_t kPlaneHeaderBytes = 32;

void TellFileFailure(unsigned messageId, const std::string& path)
{
    char text[1024];
    std::snprintf(text, sizeof text, LoadResString(messageId).c_str(), path.c_str());
    AfxMessageBox(text, MB_ICONEXCLAMATION);
}

// The fixed fields of the file in their order, then a point's; the writer
// and the reader take them from the same list.
template <typename Data, typename Field>
void HeaderFields(Data& d, Field&& field)
{
    for (auto* v : {&d.spacing, &d.averageZ, &d.extent.left, &d.extent.top, &d.extent.right,
                    &d.extent.bottom, &d.startX, &d.startY})
        field(*v);
}

template <typename Point, typename Field>
void PointFields(Point& p, Field&& field)
{
    for (auto* v : {&p.z, &p.x, &p.y})
        field(*v);
}

}  // namespace

std::vector<std::uint8_t> PlaneDataBytes(const CPlaneData& data)
{
    CBinaryWriter out;
    out.Reserve(kPlaneHeaderBytes + 12 * data.points.size());
    auto put = [&out](std::int32_t v) { out.I32(v); };
    HeaderFields(data, put);
    for (const CProbePoint& p : data.points)
        PointFields(p, put);
    return std::move(out.Data());
}

bool ParsePlaneData(const std::vector<std::uint8_t>& bytes, CPlaneData& data)
{
    CBinaryReader in(bytes);
    CPlaneData read;
    auto take = [&in](std::int32_t& v) { in.I32(v); };
    HeaderFields(read, take);
    // A spacing below one millimetre never advances the grid and divides by
    // zero in the depths.
    if (!in.Ok() || read.spacing < 1)
        return false;
    read.points.reserve(in.Remaining() / 12);
    while (in.Remaining() >= 12) {
        CProbePoint p;
        PointFields(p, take);
        read.points.push_back(p);
    }
    data = std::move(read);
    return true;
}

CPlaneDetectDlg::CPlaneDetectDlg() : CDialog(IDD_PLANE_DETECT)
{
    OnCommand(IDC_PD_START, [this] { OnStartMeasure(); });
    OnCommand(IDC_PD_SAVE, [this] { OnSave(); });
    OnCommand(IDC_PD_LOAD, [this] { OnLoad(); });
    m_ResultText.SetChangeHandler([this] { ShowResults(); });
}

int CPlaneDetectDlg::CreateModeless()
{
    if (m_Open || IsWindow())
        return 0;
    m_Open = 1;
    return CDialog::CreateModeless() ? 1 : 0;
}

bool CPlaneDetectDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    g_ProbeTestDlg.CalcLayoutExtent();
    FormatCorners("%ld,%ld");
    UpdateData(false);
    ShowResults();
    return true;
}

void CPlaneDetectDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_PD_SPACING, m_GridSpacing);
    DDX_Text(pDX, IDC_PD_LEFT_TOP, m_LeftTop);
    DDX_Text(pDX, IDC_PD_RIGHT_BOTTOM, m_RightBottom);
}

void CPlaneDetectDlg::FormatCorners(const char* format)
{
    char text[64];
    std::snprintf(text, sizeof text, format, static_cast<long>(g_LayoutExtent.left),
                  static_cast<long>(g_LayoutExtent.top));
    m_LeftTop = std::string(text).substr(0, 20);
    std::snprintf(text, sizeof text, format, static_cast<long>(g_LayoutExtent.right),
                  static_cast<long>(g_LayoutExtent.bottom));
    m_RightBottom = std::string(text).substr(0, 20);
}

void CPlaneDetectDlg::ShowResults() { ShowLinesInControl(*this, IDC_PD_RESULTS, m_ResultText); }

void CPlaneDetectDlg::AverageZ()
{
    if (m_Points.empty())
        return;
    std::int64_t sum = 0;
    for (const CProbePoint& p : m_Points)
        sum += p.z;
    m_AverageZ = static_cast<std::int32_t>(sum / static_cast<std::int64_t>(m_Points.size()));
}

int CPlaneDetectDlg::SavePlaneData(const std::string& path)
{
    CPlaneData data;
    data.spacing = m_GridSpacing;
    data.averageZ = m_AverageZ;
    data.extent = g_LayoutExtent;
    data.startX = m_GridStartX;
    data.startY = m_GridStartY;
    data.points = m_Points;
    if (WriteFileAtomically(path, PlaneDataBytes(data)))
        return 1;
    TellFileFailure(IDS_PLANE_FILE_NOT_WRITTEN, path);
    return 0;
}

int CPlaneDetectDlg::LoadPlaneData(const std::string& path)
{
    std::vector<std::uint8_t> bytes;
    if (!ReadWholeFile(path, bytes)) {
        TellFileFailure(IDS_PLANE_FILE_NOT_READ, path);
        return 0;
    }
    CPlaneData data;
    if (!ParsePlaneData(bytes, data)) {
        TellFileFailure(IDS_PLANE_FILE_BAD, path);
        return 0;
    }
    m_GridSpacing = data.spacing;
    m_AverageZ = data.averageZ;
    g_LayoutExtent = data.extent;
    m_GridStartX = data.startX;
    m_GridStartY = data.startY;
    m_Points = std::move(data.points);
    m_ResultText.ClearAll();
    for (const CProbePoint& p : m_Points)
        m_ResultText.WriteLineF("[X%ldY%ldZ%ld]", static_cast<long>(p.x), static_cast<long>(p.y),
                                static_cast<long>(p.z));
    AverageZ();
    m_Valid = 1;
    return 1;
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

namespace {

constexpr const char* kPlaneFilter = "Plane Data|*.pos|All File|*.*|";

}  // namespace

// A cancelled chooser is no failure: nothing is said.
void CPlaneDetectDlg::OnLoad()
{
    std::vector<std::string> chosen;
    if (!Host().GetOpenFileName(kPlaneFilter, ProjectChooserStart(), false, chosen) || chosen.empty())
        return;
    if (!LoadPlaneData(chosen.front()))
        return;
    UpdateData(false);
    DrawRowProfile(0);
    if (m_View)
        m_View->Invalidate();
}

void CPlaneDetectDlg::OnSave()
{
    std::string path;
    if (!Host().GetSaveFileName(kPlaneFilter, ProjectChooserStart(), path)) {
        g_StatusText = LoadResString(IDS_SAVE_FAILED);
        return;
    }
    SavePlaneData(path);
}
