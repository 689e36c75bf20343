// The undo ring: up to ten snapshots of the path layers in the files undo0 to
// undo9 of the system directory. A snapshot goes to the slot after the newest
// one; a restore reads the newest and steps back. The count and the index move
// only when the file was written or read whole, so the ring always names
// files that hold what it says.
#include "document/velm_doc.h"

#include "document/file_messages.h"
#include "platform/binary_io.h"
#include "platform/host.h"
#include "platform/paths.h"
#include "settings/system_settings_dlg.h"

namespace {

std::string UndoFileName(int index) { return "undo" + std::to_string(index); }

}  // namespace

std::string CVelmDoc::UndoFilePath(int index)
{
    return JoinPath(g_SystemDir, UndoFileName(index));
}

int CVelmDoc::SaveUndoSnapshot()
{
    int next = (m_UndoIndex + 1) % UNDO_RING_SIZE;
    CBinaryWriter out;
    WritePathLayers(m_PathLayerList, out);
    if (!WriteWorkingFile(UndoFilePath(next), out.Data())) {
        ReportCannotSaveTempFile();
        return 0;
    }
    if (m_UndoCount < UNDO_RING_SIZE)
        ++m_UndoCount;
    m_UndoIndex = next;
    return 1;
}

int CVelmDoc::LoadUndoSnapshot()
{
    if (m_UndoCount == 0) {
        AfxMessageBox("No Undo Data !", MB_OK);
        return 0;
    }
    std::string name = UndoFileName(m_UndoIndex);
    std::vector<std::uint8_t> bytes;
    if (!ReadWholeFile(UndoFilePath(m_UndoIndex), bytes)) {
        ReportCannotReadFile(name);
        return 0;
    }
    CBinaryReader in(bytes);
    std::int32_t count = 0;
    COwnedList<CPathRecord> layers;
    bool ok = ReadCount(in, PATH_LAYER_MIN_IMAGE, count);
    for (std::int32_t i = 0; ok && i < count; ++i) {
        auto layer = std::make_unique<CPathRecord>();
        ok = ReadPathLayer(*layer, in);
        layers.push_back(std::move(layer));
    }
    if (!ok) {
        ReportNotValidTempFile(name);
        return 0;
    }
    m_PathLayerList = std::move(layers);
    --m_UndoCount;
    m_UndoIndex = (m_UndoIndex + UNDO_RING_SIZE - 1) % UNDO_RING_SIZE;
    return 1;
}
