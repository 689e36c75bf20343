// DXF entities as route text.
#include "exchange/route_text.h"

#include "exchange/dxf_reader.h"
#include "ui/line_store.h"

namespace {

bool NextOfType(CDxfReader& reader, const char* type, CDxfEntity& entity)
{
    while (reader.Next(entity))
        if (entity.type == type)
            return true;
    return false;
}

}  // namespace

bool DxfLineToRouteText(CDxfReader& reader, CLineEdit& out)
{
    CDxfEntity line;
    if (!NextOfType(reader, "LINE", line))
        return false;
    out.WriteLine("G00X" + line.Text(10) + "Y" + line.Text(20) + "Z" + line.Text(30));
    out.WriteLine("G01X" + line.Text(11) + "Y" + line.Text(21) + "Z" + line.Text(31));
    return true;
}

bool DxfCircleToRouteText(CDxfReader& reader, CLineEdit& out)
{
    CDxfEntity circle;
    if (!NextOfType(reader, "CIRCLE", circle))
        return false;
    const float cx = float(circle.Number(10)), cy = float(circle.Number(20));
    const float r = float(circle.Number(40));
    out.WriteLineF("G00X%.1fY%.1f", cx - r, cy);
    out.WriteLineF("G02X%.1fY%.1fI%.1fJ0.", cx - r, cy, r);
    return true;
}
