// The two export files of a calculated job: the working file ("*.kxq") with
// the panel, the board extent, the drill tools and the visible path layers,
// and the laser-engraver file ("*.las") with the visible path layers only.
// Both are written, never read, by this program; doubles go out as floats
// and 2-byte fields take the low 16 bits of their value.
#include "document/velm_doc.h"
#include "machining/plane_data.h"
#include "platform/binary_io.h"
#include "platform/host.h"
#include "platform/paths.h"
#include "platform/program_state.h"
#include "platform/resources.h"
#include "records/board_extent.h"
#include "resource_ids.h"
#include "settings/layer_dlg.h"
#include "settings/machine_settings.h"
#include "settings/work_order_dlg.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::uint16_t KXQ_MARK = 4096;
constexpr std::size_t COMPACT_NAME_BYTES = 10;

std::uint16_t Low16(std::int32_t value) { return static_cast<std::uint16_t>(value & 0xFFFF); }

void WriteVisibleLayers(const COwnedList<CPathRecord>& layers, CBinaryWriter& out)
{
    for (const auto& layer : layers)
        if (IsLayerVisible(layer->name))
            WritePathLayerCompact(*layer, out);
}

int WriteExport(const std::string& path, const CBinaryWriter& out)
{
    std::string error;
    if (WriteFileAtomically(path, out.Data(), &error))
        return 1;
    g_StatusText = LoadResString(IDS_FILE_WRITE_ERROR);
    AfxMessageBox(g_StatusText + "\n" + path + (error.empty() ? "" : ": " + error),
                  MB_OK | MB_ICONSTOP);
    return 0;
}

// The chosen file of an export, or false when the operator cancelled or
// there is nothing to export: both files exist for their tool paths.
bool ChooseExportFile(const COwnedList<CPathRecord>& layers, const char* filter,
                      const char* extension, std::string& path)
{
    const bool anyPath = std::any_of(layers.begin(), layers.end(), [](const auto& layer) {
        return IsLayerVisible(layer->name) && !layer->items.empty();
    });
    if (!anyPath) {
        g_StatusText = LoadResString(IDS_NOTHING_TO_EXPORT);
        AfxMessageBox(g_StatusText, MB_OK | MB_ICONINFORMATION);
        return false;
    }
    if (Host().GetSaveFileName(filter, "", path)) {
        path = WithDefaultExtension(path, extension);
        return true;
    }
    // A cancel is no failure; the status line only says it was cancelled.
    g_StatusText = LoadResString(IDS_CANCELLED);
    return false;
}

}  // namespace

void WriteDrillToolFloat(const CDrillTool& tool, CBinaryWriter& out)
{
    out.I32(static_cast<std::int32_t>(tool.holes.size()));
    out.U16(Low16(tool.toolNumber));
    out.F32(tool.diameter);
    for (const auto& hole : tool.holes) {
        out.F32(static_cast<float>(hole->x));
        out.F32(static_cast<float>(hole->y));
    }
}

void WritePathLayerCompact(const CPathRecord& layer, CBinaryWriter& out)
{
    out.I32(static_cast<std::int32_t>(layer.items.size()));
    char name[COMPACT_NAME_BYTES] = {};
    std::memcpy(name, layer.name.data(), std::min(layer.name.size(), sizeof name));
    out.Bytes(name, sizeof name);
    out.F32(layer.size);
    out.U16(Low16(layer.side));
    for (const auto& s : layer.items) {
        for (double v : {s->x1, s->y1, s->x2, s->y2, s->cx, s->cy, s->radius})
            out.F32(static_cast<float>(v));
        out.U16(Low16(s->type));
    }
}

int CVelmDoc::WriteKxqFile(const std::string& path)
{
    g_ProbeTestDlg.m_Layout = &m_PanelLayout;
    g_ProbeTestDlg.CalcLayoutExtent();

    CBinaryWriter out;
    out.U16(KXQ_MARK);
    out.I32(0);
    out.I32(0);
    out.U16(Low16(g_CurrentSide));
    for (std::int32_t v : {g_LayoutExtent.left, g_LayoutExtent.top, g_LayoutExtent.right,
                           g_LayoutExtent.bottom})
        out.F32(static_cast<float>(v) / g_XYPulsesPerMM);
    out.I32(static_cast<std::int32_t>(m_PanelLayout.m_BlockList.size()));
    for (const auto& block : m_PanelLayout.m_BlockList) {
        out.U16(Low16(static_cast<std::int32_t>(block->m_Swap)));
        out.U16(Low16(block->m_Sign.x));
        out.U16(Low16(block->m_Sign.y));
        for (double v : {block->m_RefCentre.x, block->m_RefCentre.y, block->m_Centre.x,
                         block->m_Centre.y})
            out.F32(static_cast<float>(v));
    }
    for (std::int32_t v : {g_BoardMinX, g_BoardMinY, g_BoardMaxX, g_BoardMaxY})
        out.I32(v);
    out.I32(static_cast<std::int32_t>(g_HoleList.size()));
    for (const auto& tool : g_HoleList)
        WriteDrillToolFloat(*tool, out);
    out.I32(static_cast<std::int32_t>(std::count_if(
        m_PathLayerList.begin(), m_PathLayerList.end(),
        [](const auto& layer) { return IsLayerVisible(layer->name) != 0; })));
    WriteVisibleLayers(m_PathLayerList, out);
    return WriteExport(path, out);
}

int CVelmDoc::WriteLaserFile(const std::string& path)
{
    CBinaryWriter out;
    WriteVisibleLayers(m_PathLayerList, out);
    return WriteExport(path, out);
}

void CVelmDoc::OnExportKxq()
{
    std::string path;
    if (ChooseExportFile(m_PathLayerList, "KXQ Working File|*.kxq|All File|*.*|", ".kxq", path))
        WriteKxqFile(path);
}

void CVelmDoc::OnExportLaser()
{
    std::string path;
    if (ChooseExportFile(m_PathLayerList, "KXQ Working File|*.las|All File|*.*|", ".las", path))
        WriteLaserFile(path);
}
