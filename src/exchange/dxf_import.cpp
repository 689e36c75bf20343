// DXF to CAM and the machining-layer import.
#include "exchange/dxf_import.h"

#include "exchange/bulge_arcs.h"
#include "exchange/dxf_layers.h"
#include "exchange/dxf_reader.h"
#include "exchange/path_chaining.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// A bulge segment shorter than this makes no arc.
constexpr double kShortestBulgeChord = 0.001;

// The entities the drawing imports take.
bool IsCamEntity(const CDxfEntity& entity)
{
    return entity.type == "LWPOLYLINE" || entity.type == "LINE" || entity.type == "CIRCLE" ||
           entity.type == "ARC";
}

CPathRecord* FindLayer(COwnedList<CPathRecord>& layers, const std::string& name)
{
    for (auto& layer : layers)
        if (layer->name == name)
            return layer.get();
    return nullptr;
}

class CCamReader {
public:
    explicit CCamReader(CDxfCamImport& out) : m_Out(out) {}

    void Widen(double x, double y) { m_Out.Widen(x, y); }

    // The arc counter-clockwise from `start` to `end` (radians, end >= start):
    // its end points and the axis points it passes.
    void WidenArc(double cx, double cy, double r, double start, double end)
    {
        Widen(cx + r * std::cos(start), cy + r * std::sin(start));
        Widen(cx + r * std::cos(end), cy + r * std::sin(end));
        for (double q = std::ceil(start / (std::numbers::pi / 2)) * (std::numbers::pi / 2);
             q < end; q += std::numbers::pi / 2)
            Widen(cx + r * std::cos(q), cy + r * std::sin(q));
    }

    void LwPolyline(const CDxfEntity& entity)
    {
        const CDxfPolyline poly = ReadLwPolyline(entity);
        CPathRecord* layer = FindLayer(m_Out.layers, poly.layer);
        if (!layer || poly.layer.empty() || poly.vertices.empty())
            return;
        Widen(poly.vertices[0].x, poly.vertices[0].y);
        poly.ForEachSegment(poly.width, [&](const CDxfVertex& p, const CDxfVertex& q,
                                            double width) {
            if (p.bulge == 0.0) {
                AddCamLine(*layer, p.x, p.y, q.x, q.y, width);
                Widen(q.x, q.y);
                ++m_Out.items;
                return;
            }
            CBulgeArc arc;
            if (std::hypot(q.x - p.x, q.y - p.y) <= kShortestBulgeChord ||
                !BulgeArcGeometry(CDPoint(p.x, p.y), CDPoint(q.x, q.y), p.bulge, arc))
                return;
            // Always counter-clockwise: a clockwise bulge runs from Q to P.
            CPathSegment* item = AddCamItem(*layer, 1);
            item->x1 = arc.centre.x + arc.radius * std::cos(arc.start);
            item->y1 = arc.centre.y + arc.radius * std::sin(arc.start);
            item->x2 = arc.centre.x + arc.radius * std::cos(arc.end);
            item->y2 = arc.centre.y + arc.radius * std::sin(arc.end);
            item->cx = arc.centre.x;
            item->cy = arc.centre.y;
            item->radius = arc.radius;
            WidenArc(arc.centre.x, arc.centre.y, arc.radius, arc.start, arc.end);
            ++m_Out.items;
        });
    }

    void Line(const CDxfEntity& entity)
    {
        const double x1 = entity.Number(10), y1 = entity.Number(20);
        const double x2 = entity.Number(11), y2 = entity.Number(21);
        Widen(x1, y1);
        Widen(x2, y2);
        if (CPathRecord* layer = FindLayer(m_Out.layers, entity.Layer())) {
            AddCamLine(*layer, x1, y1, x2, y2, 0.0);
            ++m_Out.items;
        }
    }

    void Circle(const CDxfEntity& entity)
    {
        const auto [cx, cy, r] = ReadCircle(entity);
        Widen(cx - r, cy - r);
        Widen(cx + r, cy + r);
        const std::string name = entity.Layer();
        if (CPathRecord* layer = FindLayer(m_Out.layers, name)) {
            AddCamCircle(*layer, 2, cx, cy, r);
            ++m_Out.items;
        }
        if (name.find("HOLE") != std::string::npos)
            Hole(cx, cy, float(2.0 * r));
    }

    void Hole(double x, double y, float diameter)
    {
        CDrillTool* tool = nullptr;
        for (auto& t : m_Out.holes)
            if (std::fabs(t->diameter - diameter) < 0.01f) {
                tool = t.get();
                break;
            }
        if (!tool) {
            auto added = std::make_unique<CDrillTool>();
            added->diameter = diameter;
            added->toolNumber = int(m_Out.holes.size()) + 1;
            added->mode = 1;
            tool = AddTail(m_Out.holes, std::move(added));
        }
        AddTail(tool->holes, std::make_unique<CDPoint>(x, y));
        ++m_Out.items;
    }

    // Drawn clockwise from the end angle back to the start angle.
    void Arc(const CDxfEntity& entity)
    {
        const CDxfArc a = ReadArc(entity);
        const double cx = a.cx, cy = a.cy, r = a.r, a1 = a.start, a2 = a.end;
        WidenArc(cx, cy, r, a1, a2);
        CPathRecord* layer = FindLayer(m_Out.layers, entity.Layer());
        if (!layer)
            return;
        CPathSegment* item = AddCamItem(*layer, 2);
        item->x1 = cx + r * std::cos(a2);
        item->y1 = cy + r * std::sin(a2);
        item->x2 = cx + r * std::cos(a1);
        item->y2 = cy + r * std::sin(a1);
        item->cx = cx;
        item->cy = cy;
        item->radius = r;
        ++m_Out.items;
    }

private:
    CDxfCamImport& m_Out;
};

}  // namespace

void CDxfCamImport::Widen(double x, double y)
{
    minX = std::min(minX, float(x));
    minY = std::min(minY, float(y));
    maxX = std::max(maxX, float(x));
    maxY = std::max(maxY, float(y));
}

int ReadDxfToPathLayers(const std::string& path, const std::string& layerList,
                        CDxfCamImport& out)
{
    out = CDxfCamImport();
    out.layerList = layerList;
    if (!ScanDxfLayerNames(path, {"LWPOLYLINE", "LINE", "CIRCLE", "ARC"}, false, out.layerList))
        return 0;
    int place = 0;
    for (const std::string& name : SplitLayerList(out.layerList))
        AddHead(out.layers, NewCamLayer(name, DxfLayerColour(++place)));

    CCamReader cam(out);
    const int read = ForEachDxfEntity(path, [&cam](CDxfReader& reader, const CDxfEntity& entity) {
        if (!IsCamEntity(entity) || !TakeFlatEntity(reader, entity))
            return;
        if (entity.type == "LWPOLYLINE")
            cam.LwPolyline(entity);
        else if (entity.type == "LINE")
            cam.Line(entity);
        else if (entity.type == "CIRCLE")
            cam.Circle(entity);
        else if (entity.type == "ARC")
            cam.Arc(entity);
    });
    if (!read)
        return 0;
    for (auto& layer : out.layers)
        ChainPathLayer(*layer);
    return 1;
}

int ReadDxfMachiningLayer(const std::string& path, const std::string& name,
                          const CDxfPlacement& placement, std::string& layerList,
                          std::unique_ptr<CPathRecord>& result)
{
    std::string list = layerList;
    if (!ScanDxfLayerNames(path, {"POLYLINE", "LWPOLYLINE", "LINE", "CIRCLE", "ARC"}, false,
                           list))
        return 0;
    const std::vector<std::string> names = SplitLayerList(list);
    const auto place = std::find(names.begin(), names.end(), name);
    auto layer = NewCamLayer(name, DxfLayerColour(int(place - names.begin()) + 1));

    const double f = placement.factor;
    auto bx = [&](double x) { return x * f - placement.originX; };
    auto by = [&](double y) { return y * f - placement.originY; };

    const int read = ForEachDxfEntity(path, [&](CDxfReader& reader, const CDxfEntity& entity) {
        if (entity.Layer() != name || !IsCamEntity(entity) || !TakeFlatEntity(reader, entity))
            return;
        if (entity.type == "LWPOLYLINE") {
            const CDxfPolyline poly = ReadLwPolyline(entity);
            if (!(poly.width > 0.0) || poly.vertices.empty())
                return;
            poly.ForEachSegment(poly.width, [&](const CDxfVertex& p, const CDxfVertex& q,
                                                double width) {
                // A bulge is followed by chords, the drawing's width kept.
                if (p.bulge != 0.0)
                    BulgeArcToSegments(float(bx(p.x)), float(by(p.y)), float(bx(q.x)),
                                       float(by(q.y)), float(p.bulge), float(width), *layer, 0);
                else
                    AddCamLine(*layer, bx(p.x), by(p.y), bx(q.x), by(q.y), width);
            });
        } else if (entity.type == "LINE") {
            AddCamLine(*layer, bx(entity.Number(10)), by(entity.Number(20)), bx(entity.Number(11)),
                    by(entity.Number(21)), 0.0);
        } else if (entity.type == "CIRCLE") {
            const auto [cx, cy, r] = ReadCircle(entity);
            CPathSegment* item = AddCamItem(*layer, 2);
            item->x1 = item->x2 = bx(cx + r);
            item->y1 = item->y2 = by(cy);
            item->cx = bx(cx);
            item->cy = by(cy);
            item->radius = r * f;
        } else if (entity.type == "ARC") {
            const CDxfArc arc = ReadArc(entity);
            const double cx = arc.cx, cy = arc.cy, r = arc.r;
            auto chord = [&](double a, double b) {
                AddCamLine(*layer, bx(cx + r * std::cos(a)), by(cy + r * std::sin(a)),
                        bx(cx + r * std::cos(b)), by(cy + r * std::sin(b)), 0.0);
            };
            double a = arc.start;
            for (; a + 0.05 < arc.end; a += 0.05)
                chord(a, a + 0.05);
            chord(a, arc.end);
        }
    });
    if (!read)
        return 0;
    ChainPathLayer(*layer);
    layerList = list;
    result = std::move(layer);
    return 1;
}
