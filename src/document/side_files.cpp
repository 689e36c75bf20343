// The side files "top.tmp" and "bot.tmp": the copper of one board side with
// its flags, parked in the system directory while the other side is worked
// on; and the byte images of the records they and the undo and project files
// hold.
#include "document/velm_doc.h"

#include "document/file_messages.h"
#include "document/plausible_values.h"
#include "platform/binary_io.h"
#include "platform/paths.h"
#include "platform/program_objects.h"
#include "platform/stream_hash.h"
#include "settings/registry.h"
#include "settings/system_settings_dlg.h"

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <type_traits>

namespace {

constexpr std::int32_t SIDE_FILE_MAGIC = 1000;
// Bytes of a layer name that the files keep (of a 12-byte name field).
constexpr std::size_t STORED_NAME_BYTES = 10;
static_assert(PATH_LAYER_MIN_IMAGE == 4 + STORED_NAME_BYTES + 6 * 4,
              "count, name, colour, depth, size, side, visible flag and kind");

// A side file's content, read whole before anything in the document changes.
using CSideData = CSideRecords;

// What a side file holds, wherever the records are: in the document or out.
struct CSideLists {
    const COwnedList<CTrackRecord>& tracks;
    const CRefList<CTrackRecord>& references;
    const COwnedList<CFlashRecord>& flashes;
    const COwnedList<CFlashRecord>& pads2;
    std::int32_t isolationDone;
    int layoutDone;
};

CSideLists ListsOf(const CVelmDoc& doc)
{
    return {doc.m_TrackList, doc.m_TrackRefList, doc.m_FlashList, doc.m_PadList2, doc.m_IsolationDone,
            doc.m_LayoutDone};
}

CSideLists ListsOf(const CSideRecords& side)
{
    return {side.tracks, side.references, side.flashes, side.pads2, side.isolationDone, side.layoutDone};
}

// Reads a list of records of a fixed image size into `list`.
template <class Record>
bool ReadRecords(CBinaryReader& in, COwnedList<Record>& list)
{
    std::int32_t count = 0;
    if (!ReadCount(in, Record::kImageSize, count))
        return false;
    list.reserve(list.size() + static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        auto record = std::make_unique<Record>();
        if (!record->ReadImage(in))
            return false;
        list.push_back(std::move(record));
    }
    return true;
}

// Resolves stored record numbers in one forward pass over the tracks: each id
// is searched from the track the previous one found (that track included);
// once the pass runs off the end, that id and all later ones are dropped.
void ResolveReferences(const std::vector<std::int32_t>& ids, CSideData& side)
{
    auto current = side.tracks.begin();
    for (std::int32_t id : ids) {
        current = std::find_if(current, side.tracks.end(),
                               [id](const auto& track) { return track->recordNo == id; });
        if (current == side.tracks.end())
            return;
        side.references.push_back(current->get());
    }
}

bool ReadSideData(CBinaryReader& in, CSideData& side)
{
    if (!ReadRecords(in, side.tracks))
        return false;
    std::int32_t referenceCount = 0;
    if (!ReadCount(in, 4, referenceCount))
        return false;
    std::vector<std::int32_t> ids(static_cast<std::size_t>(referenceCount));
    for (std::int32_t& id : ids)
        in.I32(id);
    if (!ReadRecords(in, side.flashes) || !ReadRecords(in, side.pads2))
        return false;
    in.I32(side.isolationDone);
    in.U8(side.layoutDone);
    if (!in.Ok())
        return false;
    ResolveReferences(ids, side);
    return true;
}

bool ReadSideFile(CBinaryReader& in, CSideData& side)
{
    std::int32_t magic = 0;
    return in.I32(magic) && magic == SIDE_FILE_MAGIC && ReadSideData(in, side);
}

// What this program last wrote to each side file: the bytes' size and hash,
// and the file as it stood on disk then. A side file that would be written
// again with the same bytes, and that nobody has touched since, is left as
// it is: a job saved right after its load does not write its working side
// a second time.
struct CSideFileMark {
    std::uint64_t size = 0;
    std::uint64_t hash = 0;
    CFileStamp file;
};
std::map<std::string, CSideFileMark> g_SideFileMarks;
const CProgramObjectReset g_SideFileMarksReset([] { g_SideFileMarks.clear(); });

void MarkSideFile(const std::string& path, const CStreamHash& hash)
{
    CFileStamp file;
    if (!StampOf(path, file)) {
        g_SideFileMarks.erase(path);
        return;
    }
    g_SideFileMarks[path] = {hash.Size(), hash.Value(), file};
}

// The mark of a side file nobody has touched since it was written, or null.
const CSideFileMark* UntouchedMark(const std::string& path)
{
    auto it = g_SideFileMarks.find(path);
    CFileStamp file;
    if (it == g_SideFileMarks.end() || !StampOf(path, file))
        return nullptr;
    return it->second.file == file ? &it->second : nullptr;
}

// The image of a side put into `buffer`, of `room` bytes (a record's worth
// at least), which is handed to `flush` whenever the next item would not
// fit, and at the end; flush may stop the image by saying false.
template <class Flush>
bool PutSideImage(const CSideLists& side, std::uint8_t* buffer, std::size_t room, const Flush& flush)
{
    std::uint8_t* at = buffer;
    std::uint8_t* const end = buffer + room;
    auto flushed = [&] {
        const bool ok = flush(buffer, static_cast<std::size_t>(at - buffer));
        at = buffer;
        return ok;
    };
    // `count` items of `size` bytes each, as many at a time as fit.
    auto putRun = [&](std::size_t count, std::size_t size, const auto& put) {
        for (std::size_t i = 0; i < count;) {
            std::size_t fit = static_cast<std::size_t>(end - at) / size;
            if (fit == 0) {
                if (!flushed())
                    return false;
                fit = room / size;
            }
            for (const std::size_t stop = std::min(count, i + fit); i < stop; ++i, at += size)
                put(i, at);
        }
        return true;
    };
    auto putI32 = [&](std::int32_t value) {
        return putRun(1, 4, [&](std::size_t, std::uint8_t* to) { CImagePutter(to).I32(value); });
    };
    auto putRecords = [&](const auto& list) {
        using Record = typename std::decay_t<decltype(list)>::value_type::element_type;
        return putI32(static_cast<std::int32_t>(list.size())) &&
               putRun(list.size(), Record::kImageSize,
                      [&](std::size_t i, std::uint8_t* to) { list[i]->PutImage(to); });
    };
    const bool put =
        putI32(SIDE_FILE_MAGIC) && putRecords(side.tracks) &&
        putI32(static_cast<std::int32_t>(side.references.size())) &&
        putRun(side.references.size(), 4,
               [&](std::size_t i, std::uint8_t* to) { CImagePutter(to).I32(side.references[i]->recordNo); }) &&
        putRecords(side.flashes) && putRecords(side.pads2) && putI32(side.isolationDone) &&
        putRun(1, 1, [&](std::size_t, std::uint8_t* to) { *to = static_cast<std::uint8_t>(side.layoutDone & 0xFF); });
    return put && flushed();
}

// The same in pieces of about 64 kB, each handed to `put`: a side of a
// large job is never held whole, and the piece stays in the processor's
// cache and takes few fresh pages.
template <class Put>
bool PutSideImagePieces(const CSideLists& side, const Put& put)
{
    constexpr std::size_t kPiece = 1 << 16;
    const auto buffer = std::make_unique_for_overwrite<std::uint8_t[]>(kPiece);
    return PutSideImage(side, buffer.get(), kPiece, put);
}

std::size_t ImageSize(const CSideLists& side)
{
    return 4 * 6 + 1 + side.tracks.size() * CTrackRecord::kImageSize + side.references.size() * 4 +
           (side.flashes.size() + side.pads2.size()) * CFlashRecord::kImageSize;
}

std::vector<std::uint8_t> ImageOf(const CSideLists& side)
{
    std::vector<std::uint8_t> image(ImageSize(side));
    // Room for the whole image: it is handed over once, whole.
    PutSideImage(side, image.data(), image.size(), [&](const std::uint8_t*, [[maybe_unused]] std::size_t size) {
        assert(size == image.size());
        return true;
    });
    return image;
}

// Writes a side file from its records unless the file holds them already;
// `report` tells the operator when it cannot.
int SaveSideFile(const std::string& name, const CSideLists& side, bool report = true)
{
    const std::string path = JoinPath(g_SystemDir, name);
    // A file that may hold the side already is first compared by its size,
    // then by its hash.
    const CSideFileMark* mark = UntouchedMark(path);
    if (mark && mark->size == ImageSize(side)) {
        CStreamHash hash;
        PutSideImagePieces(side, [&](const std::uint8_t* data, std::size_t size) {
            hash.Add(data, size);
            return true;
        });
        if (mark->size == hash.Size() && mark->hash == hash.Value())
            return 1;
    }
    CStreamHash hash;
    const bool written = WriteWorkingFileFrom(path, [&](const CBytePut& put) {
        return PutSideImagePieces(side, [&](const std::uint8_t* data, std::size_t size) {
            hash.Add(data, size);
            return put(data, size);
        });
    });
    if (!written) {
        g_SideFileMarks.erase(path);
        if (report)
            ReportCannotSaveTempFile();
        return 0;
    }
    MarkSideFile(path, hash);
    return 1;
}

}  // namespace

bool IsSideFileImage(const std::vector<std::uint8_t>& bytes)
{
    if (bytes.empty())
        return true;
    CBinaryReader in(bytes);
    CSideData side;
    if (!ReadSideFile(in, side) || !in.AtEnd())
        return false;
    // A damaged byte in a record's float often makes it no number, or one
    // past any board: nothing the readers write.
    for (const auto& t : side.tracks)
        if (!PlausiblePosition(t->x1) || !PlausiblePosition(t->y1) || !PlausiblePosition(t->x2) ||
            !PlausiblePosition(t->y2) || !PlausibleSize(t->width))
            return false;
    for (const auto* flashes : {&side.flashes, &side.pads2})
        for (const auto& f : *flashes)
            if (!PlausiblePosition(f->x) || !PlausiblePosition(f->y) || !PlausibleSize(f->radius))
                return false;
    return PlausibleFlag(side.isolationDone) && PlausibleFlag(side.layoutDone);
}

bool ReadCount(CBinaryReader& in, std::size_t elementSize, std::int32_t& count)
{
    std::int32_t n = 0;
    if (!in.I32(n) || n < 0)
        return false;
    if (elementSize != 0 && static_cast<std::size_t>(n) > in.Remaining() / elementSize)
        return false;
    count = n;
    return true;
}

void WriteRecord48(const CTrackRecord& track, CBinaryWriter& out) { track.WriteImage(out); }

void WriteRecord44(const CFlashRecord& flash, CBinaryWriter& out) { flash.WriteImage(out); }

std::vector<std::string> StoredLayerNames(const COwnedList<CPathRecord>& layers, std::size_t field)
{
    std::set<std::string> taken;
    std::map<std::string, int> cuts;
    for (const auto& layer : layers) {
        if (layer->name.size() <= field)
            taken.insert(layer->name);
        ++cuts[layer->name.substr(0, field)];
    }
    std::vector<std::string> stored;
    stored.reserve(layers.size());
    for (const auto& layer : layers) {
        const std::string cut = layer->name.substr(0, field);
        if (layer->name.size() <= field || cuts[cut] == 1) {
            stored.push_back(cut);
            continue;
        }
        // A name cut to the field would read back as another layer's, and
        // a later look-up by name would find the wrong one: such cuts are
        // told apart by a number.
        std::string name;
        for (int n = 1;; ++n) {
            const std::string suffix = "~" + std::to_string(n);
            name = layer->name.substr(0, field - std::min(field, suffix.size())) + suffix;
            if (taken.insert(name).second)
                break;
        }
        stored.push_back(name);
    }
    return stored;
}

void WritePathLayers(const COwnedList<CPathRecord>& layers, CBinaryWriter& out)
{
    const std::vector<std::string> names = StoredLayerNames(layers, STORED_NAME_BYTES);
    out.I32(static_cast<std::int32_t>(layers.size()));
    for (std::size_t i = 0; i < layers.size(); ++i)
        WritePathLayer(*layers[i], names[i], out);
}

void WritePathLayer(const CPathRecord& layer, const std::string& storedName, CBinaryWriter& out)
{
    out.I32(static_cast<std::int32_t>(layer.items.size()));
    for (const auto& segment : layer.items)
        segment->WriteImage(out);
    char name[STORED_NAME_BYTES] = {};
    std::memcpy(name, storedName.data(), std::min(storedName.size(), STORED_NAME_BYTES));
    out.Bytes(name, sizeof name);
    out.U32(layer.colour);
    out.F32(layer.depth);
    out.F32(layer.size);
    out.I32(layer.side);
    out.I32(layer.visible);
    out.I32(layer.kind);
}

bool ReadPathLayer(CPathRecord& layer, CBinaryReader& in)
{
    if (!ReadRecords(in, layer.items))
        return false;
    char name[STORED_NAME_BYTES] = {};
    in.Bytes(name, sizeof name);
    layer.name.assign(name, strnlen(name, sizeof name));
    in.U32(layer.colour);
    in.F32(layer.depth);
    in.F32(layer.size);
    in.I32(layer.side);
    in.I32(layer.visible);
    in.I32(layer.kind);
    return in.Ok();
}

std::vector<std::uint8_t> CVelmDoc::SideFileImage() const { return ImageOf(ListsOf(*this)); }

std::vector<std::uint8_t> CVelmDoc::SideFileImage(const CSideRecords& side) { return ImageOf(ListsOf(side)); }

int CVelmDoc::WriteSideFile(const std::string& name, const std::vector<std::uint8_t>& bytes)
{
    const std::string path = JoinPath(g_SystemDir, name);
    CStreamHash hash;
    hash.Add(bytes.data(), bytes.size());
    const CSideFileMark* mark = UntouchedMark(path);
    if (mark && mark->size == hash.Size() && mark->hash == hash.Value())
        return 1;
    if (!WriteWorkingFile(path, bytes)) {
        g_SideFileMarks.erase(path);
        ReportCannotSaveTempFile();
        return 0;
    }
    MarkSideFile(path, hash);
    return 1;
}

int CVelmDoc::SaveTempFile(const std::string& name) { return SaveSideFile(name, ListsOf(*this)); }

int CVelmDoc::ParkTempFile(const std::string& name) { return SaveSideFile(name, ListsOf(*this), false); }

int CVelmDoc::WriteSideFile(const std::string& name, const CSideRecords& side)
{
    return SaveSideFile(name, ListsOf(side));
}

int CVelmDoc::ReadTempFile(const std::string& name, CSideRecords& side)
{
    // Read a window at a time: the file is never whole in memory beside
    // the records made of it.
    CFileWindowReader in;
    if (!in.Open(JoinPath(g_SystemDir, name)) || in.Failed()) {
        ReportCannotLoadTempFile();
        return 0;
    }
    const bool read = ReadSideFile(in, side);
    if (in.Failed()) {
        ReportCannotLoadTempFile();
        return 0;
    }
    if (!read) {
        ReportNotValidTempFile(name);
        return 0;
    }
    return 1;
}

int CVelmDoc::LoadTempFile(const std::string& name)
{
    CSideData side;
    if (!ReadTempFile(name, side))
        return 0;
    TakeSide(std::move(side));
    return 1;
}

int CVelmDoc::TakeSideFileImage(const std::vector<std::uint8_t>& bytes, const std::string& name)
{
    CBinaryReader in(bytes);
    CSideData side;
    if (!ReadSideFile(in, side)) {
        ReportNotValidTempFile(name);
        return 0;
    }
    TakeSide(std::move(side));
    return 1;
}

void CVelmDoc::TakeSide(CSideRecords&& side)
{
    ClearSideData();
    m_TrackList = std::move(side.tracks);
    m_TrackRefList = std::move(side.references);
    m_FlashList = std::move(side.flashes);
    m_PadList2 = std::move(side.pads2);
    m_IsolationDone = side.isolationDone;
    m_LayoutDone = (m_LayoutDone & ~0xFF) | side.layoutDone;

    // A partial milling or outline run named records of the data just replaced.
    for (const char* range : {"MILL_TO", "MILL_FROM", "OUTLINE_TO", "OUTLINE_FROM"})
        RegSetLongValue(range, 0);
}

CSideRecords CVelmDoc::ReleaseSide()
{
    CSideRecords side;
    side.tracks = std::move(m_TrackList);
    side.references = std::move(m_TrackRefList);
    side.flashes = std::move(m_FlashList);
    side.pads2 = std::move(m_PadList2);
    side.isolationDone = m_IsolationDone;
    side.layoutDone = static_cast<std::uint8_t>(m_LayoutDone & 0xFF);
    m_TrackList.clear();
    m_TrackRefList.clear();
    m_FlashList.clear();
    m_PadList2.clear();
    return side;
}

bool CVelmDoc::TakeSideCopperImage(const std::vector<std::uint8_t>& bytes)
{
    CBinaryReader in(bytes);
    CSideData side;
    if (!ReadSideFile(in, side))
        return false;
    m_TrackList = std::move(side.tracks);
    m_TrackRefList = std::move(side.references);
    m_FlashList = std::move(side.flashes);
    return true;
}
