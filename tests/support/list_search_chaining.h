// The search of the path-layer chaining as it was first written: for every
// item a walk over the whole list left, turning round on the way each item
// found the nearest so far with its second end the nearer. Quadratic in the
// items; kept as the reference the indexed search is held to (same chains,
// same order, same directions) and measured against.
#pragma once

#include "exchange/path_chaining.h"
#include "geometry/segment_chain.h"
#include "records/board_records.h"

#include <cmath>
#include <cstddef>
#include <numeric>
#include <vector>

inline void ChainPathLayerByListSearch(CPathRecord& layer)
{
    auto distanceTo = [](double x, double y, double px, double py) {
        return static_cast<float>(std::hypot(x - px, y - py));
    };
    std::vector<std::size_t> remaining(layer.items.size());
    std::iota(remaining.begin(), remaining.end(), std::size_t(0));
    ChainItems(layer.items, [&](double px, double py, float& best) {
        best = 10000000.0f;
        std::size_t chosen = remaining.size();
        for (std::size_t i = 0; i < remaining.size() && best != 0.0f; ++i) {
            CPathSegment& item = *layer.items[remaining[i]];
            const float d1 = distanceTo(item.x1, item.y1, px, py);
            const float d2 = distanceTo(item.x2, item.y2, px, py);
            if (d1 < best && d1 <= d2) {
                best = d1;
                chosen = i;
            } else if (d2 < best && d2 < d1) {
                ReverseSegment(item);
                best = d2;
                chosen = i;
            }
        }
        if (chosen == remaining.size()) {
            chosen = 0;
            best = 1.0f;
        }
        const std::size_t taken = remaining[chosen];
        remaining.erase(remaining.begin() + static_cast<std::ptrdiff_t>(chosen));
        return taken;
    });
}
