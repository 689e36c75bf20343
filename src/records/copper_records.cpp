// Byte images of the copper records, field by field in little-endian order.
#include "records/copper_records.h"

#include "platform/binary_io.h"
#include "platform/record_pool.h"

void CTrackRecord::WriteImage(CBinaryWriter& writer) const { PutImage(writer.Room(kImageSize)); }

void CTrackRecord::PutImage(std::uint8_t* at) const
{
    CImagePutter out(at);
    out.I32(groupNo);
    out.I32(recordNo);
    out.F32(x1);
    out.F32(y1);
    out.F32(x2);
    out.F32(y2);
    out.F32(width);
    out.U8(type);
    out.U8(aperture);
    out.Bytes(pad30, sizeof pad30);
    out.F32(arcHalfWidth);
    out.I32(chordMark);
    out.U8(used);
    out.Bytes(pad41, sizeof pad41);
    out.I32(joined);
}

bool CTrackRecord::ReadImage(CBinaryReader& reader)
{
    const std::uint8_t* image = reader.Image(kImageSize);
    if (!image)
        return false;
    CImageGetter in(image);
    CTrackRecord r;
    in.I32(r.groupNo);
    in.I32(r.recordNo);
    in.F32(r.x1);
    in.F32(r.y1);
    in.F32(r.x2);
    in.F32(r.y2);
    in.F32(r.width);
    in.U8(r.type);
    in.U8(r.aperture);
    in.Bytes(r.pad30, sizeof r.pad30);
    in.F32(r.arcHalfWidth);
    in.I32(r.chordMark);
    in.U8(r.used);
    in.Bytes(r.pad41, sizeof r.pad41);
    in.I32(r.joined);
    *this = r;
    return true;
}

void CFlashRecord::WriteImage(CBinaryWriter& writer) const { PutImage(writer.Room(kImageSize)); }

void CFlashRecord::PutImage(std::uint8_t* at) const
{
    CImagePutter out(at);
    out.F32(x);
    out.F32(y);
    out.F32(radius);
    out.U8(type);
    out.Bytes(pad13, sizeof pad13);
    out.I32(recordNo);
    out.I32(groupNo);
    out.U8(aperture);
    out.Bytes(pad25, sizeof pad25);
    out.I32(arcMark);
    out.U8(used);
    out.Bytes(pad37, sizeof pad37);
    out.I32(spare40);
}

bool CFlashRecord::ReadImage(CBinaryReader& reader)
{
    const std::uint8_t* image = reader.Image(kImageSize);
    if (!image)
        return false;
    CImageGetter in(image);
    CFlashRecord r;
    in.F32(r.x);
    in.F32(r.y);
    in.F32(r.radius);
    in.U8(r.type);
    in.Bytes(r.pad13, sizeof r.pad13);
    in.I32(r.recordNo);
    in.I32(r.groupNo);
    in.U8(r.aperture);
    in.Bytes(r.pad25, sizeof r.pad25);
    in.I32(r.arcMark);
    in.U8(r.used);
    in.Bytes(r.pad37, sizeof r.pad37);
    in.I32(r.spare40);
    *this = r;
    return true;
}

void* CTrackRecord::operator new(std::size_t size) { return CRecordPool<CTrackRecord>::Allocate(size); }

void CTrackRecord::operator delete(void* p, std::size_t size) noexcept
{
    CRecordPool<CTrackRecord>::Free(p, size);
}

void* CFlashRecord::operator new(std::size_t size) { return CRecordPool<CFlashRecord>::Allocate(size); }

void CFlashRecord::operator delete(void* p, std::size_t size) noexcept
{
    CRecordPool<CFlashRecord>::Free(p, size);
}
