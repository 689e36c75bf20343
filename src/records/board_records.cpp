// Byte image of a path segment, field by field in little-endian order.
#include "records/board_records.h"

#include "platform/binary_io.h"

void CPathSegment::WriteImage(CBinaryWriter& out) const
{
    out.F64(x1);
    out.F64(y1);
    out.F64(x2);
    out.F64(y2);
    out.F64(cx);
    out.F64(cy);
    out.F64(radius);
    out.I32(type);
    out.I32(value);
    out.I32(flag);
    out.Bytes(pad68, sizeof pad68);
}

bool CPathSegment::ReadImage(CBinaryReader& in)
{
    CPathSegment s;
    in.F64(s.x1);
    in.F64(s.y1);
    in.F64(s.x2);
    in.F64(s.y2);
    in.F64(s.cx);
    in.F64(s.cy);
    in.F64(s.radius);
    in.I32(s.type);
    in.I32(s.value);
    in.I32(s.flag);
    in.Bytes(s.pad68, sizeof s.pad68);
    if (!in.Ok())
        return false;
    *this = s;
    return true;
}
