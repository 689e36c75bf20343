// The RS-274X and Excellon writers. Gerber coordinates are written in the
// format 3.6 (inches, leading zeros left out, millionths): a mil is 1000
// units, so a millimetre drawing keeps its hundredths of a mil. Arcs are
// written with G75 (full-circle interpolation, signed I and J) and every
// arc is followed by G01, so the straight strokes after it stay straight.
#include "exchange/gerber_writer.h"

#include "exchange/aperture_sizes.h"
#include "geometry/point.h"
#include "geometry/segment_chain.h"
#include "platform/binary_io.h"
#include "platform/file_messages.h"
#include "platform/host.h"
#include "records/document_lists.h"
#include "resource_ids.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <initializer_list>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace {

enum ItemKind { kLine = 0, kArc = 1, kCircle = 3, kWide = 4, kEdge = 5 };
constexpr int kSubLayers = 10;
constexpr int kHairline = 201;

std::string Format(const char* format, auto... values)
{
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, format, values...);
    return buffer;
}

long long Units(double mil) { return std::llround(mil * GERBER_UNITS_PER_MIL); }

std::string Xy(double x, double y, const char* d)
{
    return Format("X%lldY%lld%s*\n", Units(x), Units(y), d);
}

// The role layer and its sub-layers 1 to 10, those that exist.
std::vector<CPathRecord*> RoleLayers(CDocumentLists& model, const std::string& base)
{
    std::vector<CPathRecord*> layers;
    if (CPathRecord* role = model.FindOrAddPathLayer(base))
        layers.push_back(role);
    for (int i = 1; i <= kSubLayers; ++i)
        if (CPathRecord* sub = model.FindOrAddPathLayer(base + "_" + std::to_string(i)))
            layers.push_back(sub);
    return layers;
}

// Takes the items of `kinds` out of the layer once they are written.
void TakeOutKinds(CPathRecord& layer, std::initializer_list<int> kinds)
{
    std::erase_if(layer.items, [kinds](const auto& item) {
        return std::find(kinds.begin(), kinds.end(), item->type) != kinds.end();
    });
}

std::string Arc(const CPathSegment& a)
{
    return Xy(a.x1, a.y1, "D02") +
           Format("G03X%lldY%lldI%lldJ%lldD01*\nG01*\n", Units(a.x2), Units(a.y2),
                  Units(a.cx - a.x1), Units(a.cy - a.y1));
}

std::string Stroke(double x1, double y1, double x2, double y2)
{
    return Xy(x1, y1, "D02") + Xy(x2, y2, "D01");
}

// The role layer's lines and arcs as hairlines, in list order, each line
// drawn from its end to its start.
void WriteRoleHairlines(CPathRecord& layer, std::string& out)
{
    out += Format("D%d*\n", kHairline);
    for (auto& item : layer.items) {
        if (item->type == kArc)
            out += Arc(*item);
        else if (item->type == kLine)
            out += Stroke(item->x2, item->y2, item->x1, item->y1);
    }
    TakeOutKinds(layer, {kLine, kArc});
}

// Both ends to a thousandth of a mil, the same whichever way round.
struct StrokeKey {
    long long a[4];
    bool operator==(const StrokeKey&) const = default;
};
struct StrokeKeyHash {
    std::size_t operator()(const StrokeKey& k) const
    {
        std::size_t h = 0;
        for (long long v : k.a)
            h = h * 1000003u ^ std::hash<long long>()(v);
        return h;
    }
};

StrokeKey KeyOf(const CPathSegment& s)
{
    long long p[2][2] = {{std::llround(s.x1 * 1000.0), std::llround(s.y1 * 1000.0)},
                         {std::llround(s.x2 * 1000.0), std::llround(s.y2 * 1000.0)}};
    if (p[1][0] < p[0][0] || (p[1][0] == p[0][0] && p[1][1] < p[0][1]))
        std::swap(p[0], p[1]);
    return {{p[0][0], p[0][1], p[1][0], p[1][1]}};
}

// A sub-layer's lines as chains of touching strokes (each chain after its
// own D201 select, a stroke that repeats another of its chain either way
// round written once), then its arcs; everything written is taken out.
void WriteSubLayerHairlines(CPathRecord& layer, std::string& out)
{
    std::vector<CPathSegment*> lines;
    for (auto& item : layer.items)
        if (item->type == kLine)
            lines.push_back(item.get());
    CConnectedSegments<CPathSegment> chains(lines);
    std::vector<CPathSegment*> chain;
    for (CPathSegment* line : lines) {
        if (chains.Found(line))
            continue;
        chain.clear();
        chains.Collect(*line, chain);
        out += Format("D%d*\n", kHairline);
        std::unordered_set<StrokeKey, StrokeKeyHash> written;
        for (CPathSegment* member : chain)
            if (written.insert(KeyOf(*member)).second)
                out += Stroke(member->x1, member->y1, member->x2, member->y2);
    }
    bool arcs = false;
    for (auto& item : layer.items)
        if (item->type == kArc) {
            if (!arcs)
                out += Format("D%d*\n", kHairline);
            arcs = true;
            out += Arc(*item);
        }
    TakeOutKinds(layer, {kLine, kArc});
}

// The layers by name, the first of a name as the model's look-up finds it.
using LayersByName = std::unordered_map<std::string, CPathRecord*>;

LayersByName IndexLayers(CDocumentLists& model)
{
    LayersByName byName;
    for (auto& layer : model.m_PathLayerList)
        byName.emplace(layer->name, layer.get());
    return byName;
}

// The outline layers "<name>-0", "<name>-1", ... up to the first that does
// not exist.
std::vector<CPathRecord*> OutlineLayers(const LayersByName& layers, const std::string& name)
{
    std::vector<CPathRecord*> outlines;
    for (long j = 0;; ++j) {
        auto found = layers.find(name + "-" + std::to_string(j));
        if (found == layers.end())
            break;
        outlines.push_back(found->second);
    }
    return outlines;
}

// The outline layers of the role and of its sub-layers 1 to 10.
std::vector<CPathRecord*> RoleOutlineLayers(CDocumentLists& model, const std::string& base)
{
    const LayersByName byName = IndexLayers(model);
    std::vector<CPathRecord*> layers = OutlineLayers(byName, base);
    for (int i = 1; i <= kSubLayers; ++i)
        for (CPathRecord* outline : OutlineLayers(byName, base + "_" + std::to_string(i)))
            layers.push_back(outline);
    return layers;
}

// One filled region per outline layer; a new contour starts wherever an
// edge does not begin at the end of the one before.
void WriteOutlines(const std::vector<CPathRecord*>& outlines, std::string& out)
{
    for (const CPathRecord* outline : outlines) {
        out += "G36*\n";
        const CPathSegment* previous = nullptr;
        for (const auto& item : outline->items) {
            if (item->type != kEdge)
                continue;
            if (!previous || CDPoint(previous->x2, previous->y2) != CDPoint(item->x1, item->y1))
                out += Xy(item->x1, item->y1, "D02");
            out += Xy(item->x2, item->y2, "D01");
            previous = item.get();
        }
        out += "G37*\n";
    }
}

std::string Diameter(double radius) { return Format("%g", 2.0 * radius / 1000.0); }

// The Gerber text of a role: `layers` its role layer (when there is one,
// first) and sub-layers, `outlines` their outline layers.
std::string RenderRole(const std::string& base, const std::vector<CPathRecord*>& layers,
                       const std::vector<CPathRecord*>& outlines)
{
    std::string out = "G04 ORDUNE RS-274X OUTPUT*\n%FSLAX36Y36*%\n%MOIN*%\n";
    CApertureSizeList table;
    for (CPathRecord* layer : layers)
        for (const auto& item : layer->items) {
            if (item->type == kCircle)
                ApertureSizeCode(table, float(item->radius));
            else if (item->type == kWide)
                ApertureSizeCode(table, float(item->radius / 2.0));
        }
    out += "\n%IPPOS*%\n";
    for (std::size_t n = 0; n < table.size(); ++n) {
        const int code = int(n) + 11;
        if (table[n].code > 0)
            out += Format("%%ADD%dC,%s*%%\n", code, Diameter(table[n].size).c_str());
        else
            out += Format("%%ADD%dR,%sX%s*%%\n", code, Diameter(table[n].size).c_str(),
                          Diameter(table[n].size).c_str());
    }
    out += Format("%%ADD%dC,0.0001*%%\nG75*\nG01*\n", kHairline);

    CPathRecord* role = layers.empty() || layers.front()->name != base ? nullptr : layers.front();
    if (role)
        WriteRoleHairlines(*role, out);
    for (CPathRecord* layer : layers)
        if (layer != role)
            WriteSubLayerHairlines(*layer, out);

    WriteOutlines(outlines, out);

    for (CPathRecord* layer : layers) {
        float width = 0.0f;
        for (const auto& item : layer->items) {
            if (item->type != kWide)
                continue;
            if (float(item->radius) != width) {
                out += Format("D%d*\n", ApertureSizeCode(table, float(item->radius / 2.0)));
                width = float(item->radius);
            }
            out += Stroke(item->x1, item->y1, item->x2, item->y2);
        }
    }
    for (CPathRecord* layer : layers)
        for (const auto& item : layer->items)
            if (item->type == kCircle)
                out += Format("D%d*\n", ApertureSizeCode(table, float(item->radius))) +
                       Xy(item->cx, item->cy, "D03");
    FreeApertureSizeList(table);
    out += "M02*\n";
    return out;
}

// The layers whose name holds `base`, whose closed-outline edges the
// hairline file draws.
std::vector<CPathRecord*> LayersNaming(CDocumentLists& model, const std::string& base)
{
    std::vector<CPathRecord*> layers;
    for (const auto& layer : model.m_PathLayerList)
        if (layer->name.find(base) != std::string::npos)
            layers.push_back(layer.get());
    return layers;
}

}  // namespace

std::string RenderGerberRs274x(CDocumentLists& model, const std::string& base)
{
    // The sub-layers are looked up, and the missing ones made, before the
    // outlines are.
    const std::vector<CPathRecord*> layers = RoleLayers(model, base);
    return RenderRole(base, layers, RoleOutlineLayers(model, base));
}

std::string RenderExcellonDrill(CDocumentLists& model, const std::string& base)
{
    std::string out = "M48\nINCH\n";
    CPathRecord* layer = model.FindOrAddPathLayer(base);
    CApertureSizeList table;
    // Each hole's tool, looked up once: the table never grows while the
    // holes are written.
    std::vector<std::pair<const CPathSegment*, int>> holes;
    if (layer)
        for (const auto& item : layer->items)
            if (item->type == kCircle)
                holes.emplace_back(item.get(), ApertureSizeCode(table, float(item->radius)));
    for (std::size_t n = 0; n < table.size(); ++n)
        out += Format("T%dC%.4f\n", int(n) + 1, 2.0 * table[n].size / 1000.0);
    out += "%\n";
    for (std::size_t n = 0; n < table.size(); ++n) {
        out += Format("T%d\n", int(n) + 1);
        for (const auto& [hole, code] : holes)
            if (code == int(n) + 11)
                out += Format("X%.5fY%.5f\n", hole->cx / 1000.0, hole->cy / 1000.0);
    }
    FreeApertureSizeList(table);
    out += "M30\n";
    return out;
}

std::string RenderGerberRs274xHairline(CDocumentLists& model, const std::string& base)
{
    auto xy = [](double x, double y, const char* d) {
        return Format("X%lldY%lld%s*\n", std::llround(x * 10.0), std::llround(y * 10.0), d);
    };
    auto stroke = [&xy](double x1, double y1, double x2, double y2) {
        return xy(x1, y1, "D02") + xy(x2, y2, "D01");
    };
    std::string out = "G04 ORDUNE RS-274X OUTPUT*\n%FSLAX24Y24*%\n%MOIN*%\n\n%IPPOS*%\n"
                      "%ADD11C,0.002*%\nD11*\n";
    CPathRecord* role = model.FindOrAddPathLayer(base);
    if (role)
        for (const auto& item : role->items)
            if (item->type == kLine || item->type == kWide)
                out += stroke(item->x1, item->y1, item->x2, item->y2);
    for (const CPathRecord* layer : LayersNaming(model, base))
        for (const auto& item : layer->items)
            if (item->type == kEdge)
                out += stroke(item->x1, item->y1, item->x2, item->y2);
    if (role)
        for (const auto& item : role->items) {
            if (item->type != kCircle)
                continue;
            auto at = [&item](double a) {
                return std::pair<float, float>(float(item->cx + item->radius * std::cos(a)),
                                               float(item->cy + item->radius * std::sin(a)));
            };
            constexpr double kStep = 0.03, kTurn = 6.28318;
            double a = 0.0;
            for (; a + kStep < kTurn; a += kStep) {
                const auto [x1, y1] = at(a);
                const auto [x2, y2] = at(a + kStep);
                out += stroke(x1, y1, x2, y2);
            }
            const auto [x1, y1] = at(a);
            const auto [x2, y2] = at(kTurn);
            out += stroke(x1, y1, x2, y2);
        }
    out += "M02*\n";
    return out;
}

bool GerberCanHold(const CPathSegment& item, double reachMil)
{
    auto within = [reachMil](double v) { return std::isfinite(v) && std::fabs(v) <= reachMil; };
    if (item.type == kCircle)
        return within(item.radius) && item.radius >= 0.0 &&
               within(std::fabs(item.cx) + item.radius) && within(std::fabs(item.cy) + item.radius);
    if (!within(item.x1) || !within(item.y1) || !within(item.x2) || !within(item.y2))
        return false;
    if (item.type == kArc)
        return within(item.cx) && within(item.cy) && within(item.cx - item.x1) &&
               within(item.cy - item.y1);
    if (item.type == kWide)
        return within(item.radius) && item.radius >= 0.0;
    return true;
}

namespace {

// Writes the text `render` makes unless an item of `layers` is beyond the
// format's reach: then a message names its layer and the file is left as
// it was.
int WriteText(const std::string& path, const std::vector<CPathRecord*>& layers,
              double reachMil, const std::function<std::string()>& render)
{
    for (const CPathRecord* layer : layers)
        for (const auto& item : layer->items)
            if (!GerberCanHold(*item, reachMil)) {
                AfxMessageBox(WithValues(IDS_GERBER_OUT_OF_RANGE, {layer->name, path}),
                              MB_OK | MB_ICONEXCLAMATION);
                return 0;
            }
    const std::string text = render();
    if (!WriteFileAtomically(path, text.data(), text.size())) {
        AfxMessageBox("Disk Error !");
        return 0;
    }
    return 1;
}

}  // namespace

int WriteGerberRs274x(CDocumentLists& model, const std::string& path, const std::string& base)
{
    const std::vector<CPathRecord*> layers = RoleLayers(model, base);
    const std::vector<CPathRecord*> outlines = RoleOutlineLayers(model, base);
    std::vector<CPathRecord*> checked = layers;
    checked.insert(checked.end(), outlines.begin(), outlines.end());
    return WriteText(path, checked, GERBER_REACH_MIL,
                     [&] { return RenderRole(base, layers, outlines); });
}

int WriteExcellonDrill(CDocumentLists& model, const std::string& path, const std::string& base)
{
    std::vector<CPathRecord*> layers;
    if (CPathRecord* layer = model.FindOrAddPathLayer(base))
        layers.push_back(layer);
    return WriteText(path, layers, GERBER_REACH_MIL,
                     [&] { return RenderExcellonDrill(model, base); });
}

int WriteGerberRs274xHairline(CDocumentLists& model, const std::string& path,
                              const std::string& base)
{
    return WriteText(path, LayersNaming(model, base), GERBER_HAIRLINE_REACH_MIL,
                     [&] { return RenderGerberRs274xHairline(model, base); });
}
