// The layer table: finding path and named layers by name and creating the
// standard tool-path layers on demand. The four look-ups match differently:
// exact name on the working side; exact name alone; exact name with creation
// only for importer keys; and containment with a side taken from the request.
#include "records/document_lists.h"


#include <cstdlib>
#include <memory>

namespace {

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

const COLORREF kOtherLayerColour = 0x32C864;

}  // namespace

CPathRecord* CDocumentLists::AddPathLayer(const std::string& name, float size, float depth,
                                          int side, COLORREF colour)
{
    auto layer = std::make_unique<CPathRecord>();
    layer->name = name;
    layer->size = size;
    layer->depth = depth;
    layer->side = side;
    layer->colour = colour;
    layer->visible = 1;
    return AddHead(m_PathLayerList, std::move(layer));
}

CPathRecord* CDocumentLists::FindPathLayerOnSide(const std::string& name, int side)
{
    for (auto& layer : m_PathLayerList)
        if (layer->name == name && layer->side == side)
            return layer.get();
    return nullptr;
}

CNamedLayer* CDocumentLists::FindNamedLayer(const std::string& name)
{
    for (auto& layer : m_NamedLayerList)
        if (layer->name == name)
            return layer.get();
    return nullptr;
}

CPathRecord* CDocumentLists::FindOrAddPathLayer(const std::string& name)
{
    for (auto& layer : m_PathLayerList)
        if (layer->name == name)
            return layer.get();
    // The importers key entity lists "%s_%d"; keys with "-" get no layer.
    if (Contains(name, "_") && !Contains(name, "-"))
        return AddPathLayer(name, 1.0f, 1.0f, 0, 0xAAAA78);
    return nullptr;
}

CPathRecord* CDocumentLists::GetToolPathLayer(const std::string& name)
{
    int side = Contains(name, "TOP") ? 0 : Contains(name, "BOT") ? 1 : 5;

    // Containment, newest first: "TOPT1ISO" finds an existing "T1ISO" of side 0.
    for (auto& layer : m_PathLayerList)
        if (layer->side == side && Contains(name, layer->name))
            return layer.get();

    struct Standard {
        const char* request;
        const char* layer;
        int side;
        int tool;
        COLORREF colour;
    };
    static const Standard kStandard[] = {
        {"TOPT1ISO", "T1ISO", 0, 1, 0xAAAADC}, {"TOPT1MIL", "T1MIL", 0, 1, 0xAADC14},
        {"TOPT2ISO", "T2ISO", 0, 2, 0xAADCDC}, {"TOPT2MIL", "T2MIL", 0, 2, 0xAA14DC},
        {"TOPT3MIL", "T3MIL", 0, 3, 0x7878DC}, {"BOTT1ISO", "T1ISO", 1, 1, 0xAAAADC},
        {"BOTT1MIL", "T1MIL", 1, 1, 0xAADC14}, {"BOTT2ISO", "T2ISO", 1, 2, 0xAADCDC},
        {"BOTT2MIL", "T2MIL", 1, 2, 0xAA14DC}, {"BOTT3MIL", "T3MIL", 1, 3, 0x7878DC},
    };
    const float widths[] = {m_ToolWidth1, m_ToolWidth2, m_ToolWidth3};
    const float values[] = {m_ToolValue1, m_ToolValue2, m_ToolValue3};
    for (const Standard& s : kStandard)
        if (name == s.request)
            return AddPathLayer(s.layer, widths[s.tool - 1], values[s.tool - 1], s.side,
                                s.colour);

    CPathRecord* layer;
    std::size_t route = name.find("ROUTE");
    if (route != std::string::npos) {
        // The router diameter in millimetres follows the word.
        double mm = std::atof(name.c_str() + route + 5);
        layer = AddPathLayer(name, float(mm * 39.37), m_ToolValue3, 5, kOtherLayerColour);
    } else {
        layer = AddPathLayer(name, 1.0f, 0.0f, 5, kOtherLayerColour);
    }
    m_LayerName += name + ";";
    return layer;
}
