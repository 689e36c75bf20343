// Route and DXF-CAM chain set-up and the DXF-CAM layer list.
#include "editing/path_chain_setup.h"

#include "geometry/segment_chain.h"
#include "records/board_records.h"

#include <algorithm>
#include <set>

std::vector<CPathSegment*> CollectChain(CPathRecord& layer, CPathSegment* segment)
{
    std::vector<CPathSegment*> chain{segment};
    CollectConnectedSegments(layer.items, chain, segment);
    return chain;
}

void ReverseChainOrder(const std::vector<CPathSegment*>& chain)
{
    for (std::size_t i = 0, j = chain.size(); i + 1 < j; ++i, --j)
        std::swap(*chain[i], *chain[j - 1]);
}

void ApplyChainKeys(const std::vector<CPathSegment*>& chain, bool ctrl, bool shift)
{
    for (CPathSegment* s : chain) {
        if (ctrl)
            s->flag = s->flag == 0 ? 1 : s->flag == 1 ? 0 : s->flag;
        if (shift)
            ReverseSegment(*s);
    }
}

void SetUpChain(const std::vector<CPathSegment*>& chain, bool routeMode, bool ctrl, bool shift)
{
    if (routeMode && shift)
        ReverseChainOrder(chain);
    ApplyChainKeys(chain, ctrl, shift);
}

std::vector<CPathSegment*> SegmentsInRect(const std::vector<CPathRecord*>& layers, const RECT& rect)
{
    const double left = std::min(rect.left, rect.right), right = std::max(rect.left, rect.right);
    const double top = std::min(rect.top, rect.bottom), bottom = std::max(rect.top, rect.bottom);
    auto inside = [&](double x, double y) {
        return x >= left && x <= right && y >= top && y <= bottom;
    };
    std::vector<CPathSegment*> found;
    for (CPathRecord* layer : layers)
        for (auto& s : layer->items)
            if (inside(s->x1, s->y1) && inside(s->x2, s->y2))
                found.push_back(s.get());
    return found;
}

bool IsRouteLayer(const CPathRecord& layer) { return layer.name.find("ROUTE") != std::string::npos; }

bool IsDxfCamLayer(const CPathRecord& layer) { return layer.side == 5 && !IsRouteLayer(layer); }

bool IsHiddenLayer(const CPathRecord& layer) { return (layer.kind & PATH_LAYER_HIDDEN) != 0; }

std::string DxfLayerText(const COwnedList<CPathRecord>& layers)
{
    std::string text;
    std::set<std::string> listed;
    for (const auto& layer : layers) {
        if (!IsDxfCamLayer(*layer) || !listed.insert(layer->name).second)
            continue;
        if (IsHiddenLayer(*layer))
            text += ";";
        text += layer->name + "\r\n";
    }
    return text;
}

void ApplyDxfLayerText(COwnedList<CPathRecord>& layers, const std::string& text)
{
    for (auto& layer : layers)
        layer->kind &= ~PATH_LAYER_HIDDEN;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find_first_of("\r\n", at);
        if (end == std::string::npos)
            end = text.size();
        if (text[at] == ';') {
            const std::string name = text.substr(at + 1, end - at - 1);
            for (auto& layer : layers)
                if (layer->name == name)
                    layer->kind |= PATH_LAYER_HIDDEN;
        }
        at = end + 1;
    }
}
