// Export and import of calculated paths as DXF R14.
#include "exchange/calc_dxf.h"

#include "exchange/dxf_layers.h"
#include "exchange/dxf_reader.h"

#include <cmath>
#include <cstdio>

const char* const kDxfEngineCopperLayer = "ISO_COPPER";
const char* const kDxfEnginePieceLayer = "ISO_PIECES";
const char* const kDxfTemplateMarker = "////////";

namespace {

// The five tool layers of each board side, in the order they are written.
const char* const kToolLayers[] = {"T1ISO", "T1MIL", "T2ISO", "T2MIL", "T3MIL"};

// DXF-CAM layers: side 5, or 6 while a CAM job has set them aside.
bool IsCamSide(int side) { return side == 5 || side == 6; }

// The direction of (dx, dy) in degrees, a turn on: between 180 and 540.
double DirectionPlusTurn(double dx, double dy)
{
    return 360.0 + float(std::atan2(dy, dx) * 180.0 / 3.1415926);
}

}  // namespace

void CDxfEntityWriter::Number(const char* code, double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%s\n%.3f\n", code, value);
    m_Out += text;
}

void CDxfEntityWriter::Head(const char* type, const std::string& layer, const char* subclass)
{
    char handle[32];
    std::snprintf(handle, sizeof handle, "  %x\n", m_Handle++);
    m_Out += type;
    m_Out += "\n  5\n";
    m_Out += handle;
    m_Out += "100\nAcDbEntity\n  8\n" + layer + "\n100\n" + subclass + "\n";
}

void CDxfEntityWriter::Line(const std::string& layer, double x1, double y1, double x2, double y2)
{
    Head("LINE", layer, "AcDbLine");
    Number(" 10", x1);
    Number(" 20", y1);
    m_Out += " 30\n0.0\n";
    Number(" 11", x2);
    Number(" 21", y2);
    m_Out += " 31\n0.0\n  0\n";
}

void CDxfEntityWriter::Circle(const std::string& layer, double cx, double cy, double r)
{
    Head("CIRCLE", layer, "AcDbCircle");
    Number(" 10", cx);
    Number(" 20", cy);
    m_Out += " 30\n0.0\n";
    Number(" 40", r);
    m_Out += "  0\n";
}

void CDxfEntityWriter::Arc(const std::string& layer, double cx, double cy, double r, double start,
                           double end)
{
    Head("ARC", layer, "AcDbCircle");
    Number(" 10", cx);
    Number(" 20", cy);
    m_Out += " 30\n0.0\n";
    Number(" 40", r);
    m_Out += "100\nAcDbArc\n";
    Number(" 50", start);
    Number(" 51", end);
    m_Out += "  0\n";
}

void WriteDxfLayerItems(CDxfEntityWriter& out, const CPathRecord& layer,
                        const std::string& dxfLayer)
{
    for (const auto& item : layer.items) {
        const CPathSegment& s = *item;
        if (s.type == 0 || s.type == 10) {
            out.Line(dxfLayer, s.x1, s.y1, s.x2, s.y2);
            continue;
        }
        const double r = float(std::hypot(s.x1 - s.cx, s.y1 - s.cy));
        if (s.x1 == s.x2 && s.y1 == s.y2)
            out.Circle(dxfLayer, s.cx, s.cy, r);
        else if (s.type == 1)
            out.Arc(dxfLayer, s.cx, s.cy, r, DirectionPlusTurn(s.x1 - s.cx, s.y1 - s.cy),
                    DirectionPlusTurn(s.x2 - s.cx, s.y2 - s.cy));
        else if (s.type == 2)
            out.Arc(dxfLayer, s.cx, s.cy, r, DirectionPlusTurn(s.x2 - s.cx, s.y2 - s.cy),
                    DirectionPlusTurn(s.x1 - s.cx, s.y1 - s.cy));
    }
}

void WriteDxfToolEntity(CDxfEntityWriter& out, const COwnedList<CPathRecord>& layers,
                        const std::string& toolName)
{
    // The DXF-CAM layers are written once each by their own walk.
    for (const auto& layer : layers)
        if (layer->name == toolName && !IsCamSide(layer->side))
            WriteDxfLayerItems(out, *layer,
                               layer->side == 0   ? "TOP" + toolName
                               : layer->side == 1 ? "BOT" + toolName
                                                  : toolName);
}

void WriteDxfTopIsoEntity(CDxfEntityWriter& out, const CIsoElementPool& elements)
{
    for (const CIsoElement* e : elements.Elements()) {
        const std::string layer =
            e->Class == ISO_SOURCE ? kDxfEngineCopperLayer : kDxfEnginePieceLayer;
        if (e->Kind == ISO_LINE)
            out.Line(layer, e->Pt0.x, e->Pt0.y, e->Pt1.x, e->Pt1.y);
        else if (e->Kind == ISO_ARC)
            out.Arc(layer, e->Pt0.x, e->Pt0.y, e->Radius, e->StartAngle, e->EndAngle);
    }
}

int BuildCalcPathsDxf(const std::vector<std::string>& templateLines, const CDocumentLists& lists,
                      std::string& text)
{
    text.clear();
    bool marked = false;
    CDxfEntityWriter out(text);
    for (const std::string& line : templateLines) {
        if (line.find(kDxfTemplateMarker) == std::string::npos) {
            text += line + "\n";
            continue;
        }
        marked = true;
        for (const char* tool : kToolLayers)
            WriteDxfToolEntity(out, lists.m_PathLayerList, tool);
        WriteDxfTopIsoEntity(out, lists.m_IsoElements);
        for (const auto& layer : lists.m_PathLayerList)
            if (IsCamSide(layer->side))
                WriteDxfLayerItems(out, *layer, layer->name);
    }
    return marked ? 1 : 0;
}

namespace {

// Two points closer than this in x and in y are one: the export's three
// decimals leave gaps of a thousandth between pieces that met.
bool Joins(const CDPoint& a, double x, double y)
{
    return std::fabs(a.x - x) < 1.0 && std::fabs(a.y - y) < 1.0;
}

}  // namespace

int ReadCalcPathsDxf(const std::string& path, CDocumentLists& into, int& items)
{
    items = 0;
    CDPoint previous(0.0, 0.0);
    return ForEachDxfEntity(path, [&](CDxfReader&, const CDxfEntity& e) {
        if (e.type == "LINE") {
            double x1 = e.Number(10), y1 = e.Number(20);
            const double x2 = e.Number(11), y2 = e.Number(21);
            if (Joins(previous, x1, y1)) {
                x1 = previous.x;
                y1 = previous.y;
            }
            previous = CDPoint(x2, y2);
            AddCamLine(*into.GetToolPathLayer(e.Layer()), x1, y1, x2, y2);
            ++items;
        } else if (e.type == "ARC") {
            CPathRecord* layer = into.GetToolPathLayer(e.Layer());
            const double cx = e.Number(10), cy = e.Number(20), r = e.Number(40);
            double s = e.Number(50), t = e.Number(51);
            if (t < s)
                t += 360.0;
            s = s * 3.1415926 / 180.0;
            t = t * 3.1415926 / 180.0;
            CDPoint end(cx + r * std::cos(t), cy + r * std::sin(t));
            CDPoint start(cx + r * std::cos(s), cy + r * std::sin(s));
            if (Joins(previous, end.x, end.y)) {
                end = previous;
                previous = start;
            }
            // The same arc run clockwise, from its end back to its start.
            CPathSegment* item = AddCamItem(*layer, 2);
            item->x1 = end.x;
            item->y1 = end.y;
            item->x2 = start.x;
            item->y2 = start.y;
            item->cx = cx;
            item->cy = cy;
            item->radius = r;
            ++items;
        } else if (e.type == "CIRCLE") {
            AddCamCircle(*into.GetToolPathLayer(e.Layer()), 2, e.Number(10), e.Number(20),
                         e.Number(40));
            ++items;
        }
    });
}
