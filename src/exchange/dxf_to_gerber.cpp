// The conversion of a DXF drawing's role layers into writer items.
#include "exchange/dxf_to_gerber.h"

#include "exchange/aperture_sizes.h"
#include "exchange/bulge_arcs.h"
#include "exchange/dxf_layers.h"
#include "exchange/dxf_reader.h"
#include "exchange/gerber_writer.h"
#include "records/document_lists.h"
#include "resource_ids.h"

#include <cmath>
#include <unordered_map>
#include <utility>
#include <vector>

namespace {

enum ItemKind { kLine = 0, kArc = 1, kCircle = 3, kWide = 4, kEdge = 5 };
constexpr COLORREF kRoleColour = 0xAAAA78;

class CConverter {
public:
    CConverter(CDocumentLists& model, double factor) : m_Model(model), m_Factor(factor) {}

    // Whether the writers can hold every item the last entity made; the
    // next entity starts afresh.
    bool MadeFitsTheWriters()
    {
        bool fits = true;
        for (const auto& [layer, from] : m_Made)
            for (std::size_t i = from; i < layer->items.size(); ++i)
                fits = fits && GerberCanHold(*layer->items[i], GERBER_REACH_MIL);
        m_Made.clear();
        return fits;
    }

    // A closed outline of DXF layer `name`: a layer of its own.
    CPathRecord& NewOutline(const std::string& name)
    {
        const std::string outline = name + "-" + std::to_string(CountEntityName(name));
        CPathRecord* layer = m_Model.AddPathLayer(outline, 1.0f, 1.0f, 0, kRoleColour);
        m_Found[outline] = layer;
        return Target(*layer);
    }

    // The model's look-up of an entity's layer, remembered: a drawing's
    // entities ask for few names, and the outline layers make the list long.
    CPathRecord* Lookup(const std::string& name)
    {
        auto known = m_Found.find(name);
        if (known != m_Found.end())
            return known->second;
        return m_Found[name] = m_Model.FindOrAddPathLayer(name);
    }

    // Whether the entity makes items: a kind the conversion takes, and a
    // SOLID always, anything else when its layer is found or may be made.
    bool Takes(const CDxfEntity& e)
    {
        for (const char* kind : {"POLYLINE", "LWPOLYLINE", "LINE", "ARC", "CIRCLE"})
            if (e.type == kind)
                return Lookup(e.Layer()) != nullptr;
        return e.type == "SOLID";
    }

    // The layer that takes the entity's items: they are checked from here.
    CPathRecord& Target(CPathRecord& layer)
    {
        m_Made.emplace_back(&layer, layer.items.size());
        return layer;
    }

    CPathSegment& Add(CPathRecord& layer, int kind)
    {
        auto item = std::make_unique<CPathSegment>();
        item->type = kind;
        return *AddTail(layer.items, std::move(item));
    }

    // A straight item in drawing units, then scaled to mil.
    void Straight(CPathRecord& layer, int kind, double x1, double y1, double x2, double y2,
                  double width)
    {
        CPathSegment& item = Add(layer, kind);
        item.x1 = x1;
        item.y1 = y1;
        item.x2 = x2;
        item.y2 = y2;
        item.radius = width;
        ScaleDxfItem(item, float(m_Factor));
    }

    void Polyline(const CDxfPolyline& poly)
    {
        if (poly.vertices.empty() || poly.width < 0.0)
            return;
        CPathRecord* layer = Lookup(poly.layer);
        if (!layer || poly.layer.empty())
            return;
        const bool wide = poly.width > 0.0;
        CPathRecord& target = wide ? Target(*layer) : NewOutline(poly.layer);
        const int kind = wide ? kWide : kEdge;
        poly.ForEachSegment(wide ? poly.width : 0.0, [&](const CDxfVertex& p,
                                                          const CDxfVertex& q, double width) {
            if (!wide)
                width = 0.0;
            if (p.bulge == 0.0)
                Straight(target, kind, p.x, p.y, q.x, q.y, width);
            else
                BulgeArcToSegments(float(p.x * m_Factor), float(p.y * m_Factor),
                                   float(q.x * m_Factor), float(q.y * m_Factor), float(p.bulge),
                                   float(width * m_Factor), target, kind);
        });
    }

    void Solid(const CDxfEntity& e)
    {
        const auto corner = ReadSolid(e);
        CPathRecord& outline = NewOutline(e.Layer());
        // A SOLID's third and fourth corners are given crosswise.
        const std::size_t order[5] = {0, 1, 3, 2, 0};
        for (int i = 0; i < 4; ++i) {
            const auto& a = corner[order[i]];
            const auto& b = corner[order[i + 1]];
            Straight(outline, kEdge, a[0], a[1], b[0], b[1], 0.0);
        }
    }

    void Line(const CDxfEntity& e)
    {
        if (CPathRecord* layer = Lookup(e.Layer()))
            Straight(Target(*layer), kLine, e.Number(10), e.Number(20), e.Number(11),
                     e.Number(21), 0.0);
    }

    void Arc(const CDxfEntity& e)
    {
        CPathRecord* layer = Lookup(e.Layer());
        if (!layer)
            return;
        const CDxfArc arc = ReadArc(e);
        const double cx = arc.cx, cy = arc.cy, r = arc.r, a1 = arc.start, a2 = arc.end;
        CPathSegment& item = Add(Target(*layer), kArc);
        item.x1 = cx + r * std::cos(a1);
        item.y1 = cy + r * std::sin(a1);
        item.x2 = cx + r * std::cos(a2);
        item.y2 = cy + r * std::sin(a2);
        item.cx = cx;
        item.cy = cy;
        item.radius = r;
        ScaleDxfItem(item, float(m_Factor));
    }

    void Circle(const CDxfEntity& e)
    {
        CPathRecord* layer = Lookup(e.Layer());
        if (!layer)
            return;
        const CDxfCircle circle = ReadCircle(e);
        CPathSegment& item = Add(Target(*layer), kCircle);
        item.cx = circle.cx;
        item.cy = circle.cy;
        item.radius = circle.r;
        ScaleDxfItem(item, float(m_Factor));
    }

private:
    CDocumentLists& m_Model;
    double m_Factor;
    std::unordered_map<std::string, CPathRecord*> m_Found;
    std::vector<std::pair<CPathRecord*, std::size_t>> m_Made;   // layer, first item made
};

}  // namespace

double DxfUnitFactor(const std::string& unit)
{
    if (unit == "mm")
        return 39.37007874;
    if (unit == "mil")
        return 1.0;
    return 1000.0;
}

int CollectDxfRoleLayers(const std::string& path, std::string& list)
{
    return ScanDxfLayerNames(path, {"LWPOLYLINE", "POLYLINE", "SOLID", "LINE", "CIRCLE", "ARC"},
                             true, list);
}

int ConvertDxfRoles(const std::string& path, const CDxfRoles& roles, CDocumentLists& model)
{
    CountEntityName("Reset");
    struct Role {
        const std::string& name;
        int side;
    } const order[] = {{roles.drill, 3}, {roles.top, 0}, {roles.bottom, 1}, {roles.outline, 3}};
    for (const Role& role : order)
        model.AddPathLayer(role.name, 1.0f, 1.0f, role.side, kRoleColour);

    CConverter converter(model, DxfUnitFactor(roles.unit));
    return ForEachDxfEntity(path, [&converter](CDxfReader& reader, const CDxfEntity& entity) {
        if (converter.Takes(entity) && !TakeFlatEntity(reader, entity))
            return;
        if (entity.type == "POLYLINE")
            converter.Polyline(ReadPolyline(reader, entity));
        else if (entity.type == "LWPOLYLINE")
            converter.Polyline(ReadLwPolyline(entity));
        else if (entity.type == "SOLID")
            converter.Solid(entity);
        else if (entity.type == "LINE")
            converter.Line(entity);
        else if (entity.type == "ARC")
            converter.Arc(entity);
        else if (entity.type == "CIRCLE")
            converter.Circle(entity);
        // Refused whole: the writers would hang or lie on a size they
        // cannot write, and half a board is worse than none.
        if (!converter.MadeFitsTheWriters())
            reader.Refuse(IDS_DXF_OUT_OF_RANGE, entity);
    });
}

std::string DxfOutputPath(const std::string& dxfPath, const std::string& extension)
{
    const std::size_t slash = dxfPath.find_last_of('/');
    const std::size_t dot = dxfPath.find_last_of('.');
    const bool hasExtension =
        dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
    return (hasExtension ? dxfPath.substr(0, dot) : dxfPath) + extension;
}
