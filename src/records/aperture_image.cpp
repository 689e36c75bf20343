// The stored head of an aperture record: the 72 bytes that project files
// keep of each aperture (texts, sizes and the operator's value; never the
// macro link, which points into memory).
#include "records/aperture_records.h"

#include "platform/binary_io.h"

void WriteApertureImage72(const CApertureRecord& aperture, CBinaryWriter& out)
{
    out.FixedText(aperture.dCode, APERTURE_DCODE_FIELD);
    out.FixedText(aperture.shape, APERTURE_SHAPE_FIELD);
    out.F32(aperture.width);
    out.F32(aperture.height);
    out.F32(aperture.userValue);
    out.FixedText(aperture.comment, APERTURE_COMMENT_FIELD);
}

bool ReadApertureImage72(CApertureRecord& aperture, CBinaryReader& in)
{
    in.FixedText(aperture.dCode, APERTURE_DCODE_FIELD);
    in.FixedText(aperture.shape, APERTURE_SHAPE_FIELD);
    in.F32(aperture.width);
    in.F32(aperture.height);
    in.F32(aperture.userValue);
    in.FixedText(aperture.comment, APERTURE_COMMENT_FIELD);
    aperture.macro = nullptr;
    return in.Ok();
}
