// The nearest-end chaining of path layers.
#include "exchange/path_chaining.h"

#include "geometry/segment_chain.h"
#include "platform/message_pump.h"
#include "records/document_lists.h"

#include <cmath>
#include <memory>
#include <vector>

namespace {

float DistanceTo(double x, double y, double px, double py)
{
    return static_cast<float>(std::hypot(x - px, y - py));
}

}  // namespace

void ChainPathLayer(CPathRecord& layer)
{
    using Item = std::unique_ptr<CPathSegment>;
    std::vector<Item> remaining = std::move(layer.items);
    layer.items.clear();
    std::vector<Item> result, chain;
    bool reverseChain = false;
    double px = 0.0, py = 0.0;

    auto closeChain = [&] {
        if (reverseChain) {
            for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
                ReverseSegment(**it);
                result.push_back(std::move(*it));
            }
        } else {
            for (Item& item : chain)
                result.push_back(std::move(item));
        }
        chain.clear();
        reverseChain = false;
    };

    while (!remaining.empty()) {
        float best = 10000000.0f;
        std::size_t chosen = remaining.size();
        for (std::size_t i = 0; i < remaining.size() && best != 0.0f; ++i) {
            CPathSegment& item = *remaining[i];
            const float d1 = DistanceTo(item.x1, item.y1, px, py);
            const float d2 = DistanceTo(item.x2, item.y2, px, py);
            if (d1 < best && d1 <= d2) {
                best = d1;
                chosen = i;
            } else if (d2 < best && d2 < d1) {
                ReverseSegment(item);
                best = d2;
                chosen = i;
            }
        }
        // Every end lies too far (or is not a number): the first item goes
        // next, so the walk always ends.
        if (chosen == remaining.size()) {
            chosen = 0;
            best = 1.0f;
        }
        if (best != 0.0f && !chain.empty())
            closeChain();
        Item item = std::move(remaining[chosen]);
        remaining.erase(remaining.begin() + static_cast<std::ptrdiff_t>(chosen));
        if (item->type == 1)
            reverseChain = true;
        px = item->x2;
        py = item->y2;
        chain.push_back(std::move(item));
        PumpMessages();
    }
    for (Item& item : chain)
        result.push_back(std::move(item));
    for (Item& item : result)
        item->flag = 0;
    layer.items = std::move(result);
}

void ChainPathLayer(CDocumentLists& model, const std::string& name)
{
    if (CPathRecord* layer = model.FindOrAddPathLayer(name))
        ChainPathLayer(*layer);
}
