// The nearest-end chaining of path layers.
//
// The walk is the greedy one its callers have always had: from the current
// point, the item of the list with the nearest end goes next (the first in
// list order among equals), turned round when its second end is the nearer.
// What used to make it quadratic was the search over the whole list for
// every item; the ends now sit in a tree that answers the same question,
// with the same single-precision distances and the same tie rule.
//
// One more thing the list search did is kept: an item that was the nearest
// found so far while the search ran through the list, with its second end
// the nearer, was turned round there and then and stayed turned. That shows
// only when such an item is later taken with both its ends equally far (or
// taken because nothing lies near): it is then taken the way round the last
// such search left it. Those searches are looked up again only in that case.
#include "exchange/path_chaining.h"

#include "geometry/segment_chain.h"
#include "platform/message_pump.h"
#include "records/document_lists.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

namespace {

using Item = std::unique_ptr<CPathSegment>;
constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();
// No end this far from the current point or farther is ever the nearest.
constexpr float kFarthest = 10000000.0f;

float EndDistance(double x, double y, double px, double py)
{
    return static_cast<float>(std::hypot(x - px, y - py));
}

bool HasFiniteEnds(const CPathSegment& s)
{
    return std::isfinite(s.x1) && std::isfinite(s.y1) && std::isfinite(s.x2) &&
           std::isfinite(s.y2);
}

// The least (distance, list position) offered.
struct CNearest {
    float distance = kFarthest;
    std::size_t item = kNone;

    void Offer(float d, std::size_t i)
    {
        if (d < distance || (d == distance && i < item)) {
            distance = d;
            item = i;
        }
    }
    bool Found() const { return item != kNone && distance < kFarthest; }
};

// An item's nearer end, as the list search weighed it: nothing when either
// distance is not a number (such an item was never taken by distance).
bool Weigh(const CPathSegment& s, double px, double py, float& d1, float& d2)
{
    d1 = EndDistance(s.x1, s.y1, px, py);
    d2 = EndDistance(s.x2, s.y2, px, py);
    return !std::isnan(d1) && !std::isnan(d2);
}

// The ends of the items whose coordinates are all finite, in a 2-d tree
// kept in one array: the node of a range is its middle element, the ranges
// left and right of it its subtrees. Every node knows its subtree's box, how
// many of its ends are still there and the least list position among them.
class CEndTree {
public:
    struct End {
        double x, y;
        std::size_t item;
    };

    CEndTree(std::vector<End> ends, std::size_t items)
        : m_Ends(std::move(ends)), m_Nodes(m_Ends.size()), m_Gone(m_Ends.size(), false)
    {
        Build(0, m_Ends.size());
        m_Places.assign(items, {kNone, kNone});
        for (std::size_t p = 0; p < m_Ends.size(); ++p) {
            auto& place = m_Places[m_Ends[p].item];
            (place[0] == kNone ? place[0] : place[1]) = p;
        }
    }

    // Takes the item's ends out at `step` of the walk.
    void Remove(std::size_t item, std::size_t step)
    {
        for (std::size_t place : m_Places[item])
            if (place != kNone)
                RemoveAt(0, m_Ends.size(), place, step);
    }

    // Offers `best` every end left that may beat it.
    void Nearest(double px, double py, CNearest& best) const
    {
        NearestIn(0, m_Ends.size(), px, py, best);
    }

    // Whether an end of an item placed before `limit` in the list and
    // still there at step `since` of the walk (for which `present` holds)
    // lies no farther than `reach` from (px, py).
    template <class Present>
    bool AnyWithin(double px, double py, float reach, std::size_t limit, std::size_t since,
                   const Present& present) const
    {
        return AnyWithinIn(0, m_Ends.size(), px, py, reach, limit, since, present);
    }

private:
    struct Node {
        double x0, y0, x1, y1;     // the box of the subtree's ends
        std::size_t left = 0;      // ends of the subtree still there
        std::size_t firstLeft = kNone;   // least list position among those
        std::size_t firstEver = kNone;   // least list position of all its ends
        std::size_t emptied = kNone;     // the step that took its last end
    };

    static std::size_t Middle(std::size_t lo, std::size_t hi) { return lo + (hi - lo) / 2; }

    void Build(std::size_t lo, std::size_t hi)
    {
        if (lo >= hi)
            return;
        Node node{m_Ends[lo].x, m_Ends[lo].y, m_Ends[lo].x, m_Ends[lo].y, hi - lo, kNone, kNone,
                  kNone};
        for (std::size_t p = lo; p < hi; ++p) {
            node.x0 = std::min(node.x0, m_Ends[p].x);
            node.y0 = std::min(node.y0, m_Ends[p].y);
            node.x1 = std::max(node.x1, m_Ends[p].x);
            node.y1 = std::max(node.y1, m_Ends[p].y);
            node.firstEver = std::min(node.firstEver, m_Ends[p].item);
        }
        node.firstLeft = node.firstEver;
        const std::size_t mid = Middle(lo, hi);
        const bool alongX = node.x1 - node.x0 >= node.y1 - node.y0;
        std::nth_element(m_Ends.begin() + std::ptrdiff_t(lo), m_Ends.begin() + std::ptrdiff_t(mid),
                         m_Ends.begin() + std::ptrdiff_t(hi), [alongX](const End& a, const End& b) {
                             return alongX ? a.x < b.x : a.y < b.y;
                         });
        m_Nodes[mid] = node;
        Build(lo, mid);
        Build(mid + 1, hi);
    }

    std::size_t FirstLeft(std::size_t lo, std::size_t hi) const
    {
        return lo < hi ? m_Nodes[Middle(lo, hi)].firstLeft : kNone;
    }

    void RemoveAt(std::size_t lo, std::size_t hi, std::size_t place, std::size_t step)
    {
        const std::size_t mid = Middle(lo, hi);
        if (place == mid)
            m_Gone[mid] = true;
        else if (place < mid)
            RemoveAt(lo, mid, place, step);
        else
            RemoveAt(mid + 1, hi, place, step);
        Node& node = m_Nodes[mid];
        if (--node.left == 0)
            node.emptied = step;
        node.firstLeft = std::min({m_Gone[mid] ? kNone : m_Ends[mid].item, FirstLeft(lo, mid),
                                   FirstLeft(mid + 1, hi)});
    }

    // No end of the node's box is nearer than this (rounded down a little,
    // so that no end inside is ever judged farther than the bound).
    static float LowerBound(const Node& n, double px, double py)
    {
        const double dx = std::max({n.x0 - px, px - n.x1, 0.0});
        const double dy = std::max({n.y0 - py, py - n.y1, 0.0});
        return static_cast<float>(std::hypot(dx, dy) * (1.0 - 1e-12));
    }

    void NearestIn(std::size_t lo, std::size_t hi, double px, double py, CNearest& best) const
    {
        if (lo >= hi)
            return;
        const std::size_t mid = Middle(lo, hi);
        const Node& node = m_Nodes[mid];
        if (node.left == 0)
            return;
        const float bound = LowerBound(node, px, py);
        if (bound > best.distance || (bound == best.distance && node.firstLeft >= best.item))
            return;
        if (!m_Gone[mid])
            best.Offer(EndDistance(m_Ends[mid].x, m_Ends[mid].y, px, py), m_Ends[mid].item);
        // The nearer box first, so that the farther is often passed over.
        auto boundOf = [&](std::size_t a, std::size_t b) {
            return a < b ? LowerBound(m_Nodes[Middle(a, b)], px, py)
                         : std::numeric_limits<float>::infinity();
        };
        if (boundOf(lo, mid) <= boundOf(mid + 1, hi)) {
            NearestIn(lo, mid, px, py, best);
            NearestIn(mid + 1, hi, px, py, best);
        } else {
            NearestIn(mid + 1, hi, px, py, best);
            NearestIn(lo, mid, px, py, best);
        }
    }

    template <class Present>
    bool AnyWithinIn(std::size_t lo, std::size_t hi, double px, double py, float reach,
                     std::size_t limit, std::size_t since, const Present& present) const
    {
        if (lo >= hi)
            return false;
        const std::size_t mid = Middle(lo, hi);
        const Node& node = m_Nodes[mid];
        if (node.firstEver >= limit || (node.emptied != kNone && node.emptied < since) ||
            LowerBound(node, px, py) > reach)
            return false;
        const End& end = m_Ends[mid];
        if (end.item < limit && present(end.item) && EndDistance(end.x, end.y, px, py) <= reach)
            return true;
        return AnyWithinIn(lo, mid, px, py, reach, limit, since, present) ||
               AnyWithinIn(mid + 1, hi, px, py, reach, limit, since, present);
    }

    std::vector<End> m_Ends;
    std::vector<Node> m_Nodes;
    std::vector<bool> m_Gone;
    std::vector<std::array<std::size_t, 2>> m_Places;   // an item's ends in the tree
};

class CChainWalk {
public:
    // The items stay where they are; each taken one is moved out by the caller.
    explicit CChainWalk(const std::vector<Item>& items) : m_TakenAt(items.size(), kNone)
    {
        std::vector<CEndTree::End> ends;
        ends.reserve(2 * items.size());
        for (std::size_t i = 0; i < items.size(); ++i) {
            m_Items.push_back(items[i].get());
            const CPathSegment& s = *items[i];
            if (HasFiniteEnds(s)) {
                ends.push_back({s.x1, s.y1, i});
                ends.push_back({s.x2, s.y2, i});
            } else {
                m_Odd.push_back(i);
            }
        }
        m_Tree = std::make_unique<CEndTree>(std::move(ends), items.size());
        m_Searches.reserve(items.size());
    }

    // The next item from (px, py), turned the way the list search would
    // have it; `best` is the distance the search ended with (1 when nothing
    // lay near and the first item left was taken).
    std::size_t Take(double px, double py, float& best)
    {
        const std::size_t step = m_Searches.size();
        while (m_TakenAt[m_FirstLeft] != kNone)
            ++m_FirstLeft;
        CNearest nearest;
        if (std::isfinite(px) && std::isfinite(py)) {
            m_Tree->Nearest(px, py, nearest);
            for (std::size_t i : m_Odd) {
                float d1, d2;
                if (m_TakenAt[i] == kNone && Weigh(*m_Items[i], px, py, d1, d2))
                    nearest.Offer(std::min(d1, d2), i);
            }
        }
        const bool near = nearest.Found();
        const std::size_t chosen = near ? nearest.item : m_FirstLeft;
        best = near ? nearest.distance : 1.0f;
        // The first item of the list left, and how near it lay: most items
        // looked back on lay farther than it, so they were not turned.
        float f1, f2;
        const bool firstWeighed = near && Weigh(*m_Items[m_FirstLeft], px, py, f1, f2);
        m_Searches.push_back({px, py, near ? chosen : kNone, m_FirstLeft,
                              firstWeighed ? std::min(f1, f2) : kFarthest});

        CPathSegment& item = *m_Items[chosen];
        const float d1 = EndDistance(item.x1, item.y1, px, py);
        const float d2 = EndDistance(item.x2, item.y2, px, py);
        if (near && d1 != d2) {
            if (d2 < d1)
                ReverseSegment(item);
        } else if (TurnedInPassing(chosen, step)) {
            ReverseSegment(item);
        }
        m_TakenAt[chosen] = step;
        m_Tree->Remove(chosen, step);
        return chosen;
    }

private:
    struct Search {
        double px, py;
        std::size_t chosen;   // kNone: nothing lay near, nothing was turned
        std::size_t first;    // the first item of the list left
        float firstDistance;  // its nearer end's distance (kFarthest: none)
    };

    // Whether the searches before `step` left item `j` turned round: the
    // last one that found it the nearest so far of the list up to it, with
    // its ends at different distances, turned it to face that search's point.
    bool TurnedInPassing(std::size_t j, std::size_t step) const
    {
        const CPathSegment& s = *m_Items[j];
        // Ends on one spot are never at different distances.
        if (s.x1 == s.x2 && s.y1 == s.y2)
            return false;
        for (std::size_t k = step; k-- > 0;) {
            const Search& search = m_Searches[k];
            // An item before j in the list was chosen: it was no farther.
            if (search.chosen == kNone || search.chosen < j)
                continue;
            // Clearly farther than the first item left (squared distances,
            // with room for the rounding of the single-precision ones).
            const bool firstBefore = search.first < j;
            if (firstBefore && search.firstDistance < kFarthest) {
                auto square = [&](double x, double y) {
                    return (x - search.px) * (x - search.px) + (y - search.py) * (y - search.py);
                };
                const double limit = double(search.firstDistance) * (1.0 + 1e-6);
                if (std::min(square(s.x1, s.y1), square(s.x2, s.y2)) > limit * limit)
                    continue;
            }
            float d1, d2;
            if (!Weigh(s, search.px, search.py, d1, d2) || d1 == d2)
                continue;
            const float reach = std::min(d1, d2);
            if (!(reach < kFarthest) || (firstBefore && search.firstDistance <= reach))
                continue;
            // The first item left is j itself: nothing came before it.
            if (!firstBefore)
                return d2 < d1;
            auto present = [&](std::size_t i) { return m_TakenAt[i] >= k; };
            if (m_Tree->AnyWithin(search.px, search.py, reach, j, k, present))
                continue;
            bool before = false;
            for (std::size_t i : m_Odd) {
                float e1, e2;
                if (i < j && present(i) && Weigh(*m_Items[i], search.px, search.py, e1, e2) &&
                    std::min(e1, e2) <= reach) {
                    before = true;
                    break;
                }
            }
            if (!before)
                return d2 < d1;
        }
        return false;
    }

    // The items wherever they are now: a search looks at taken ones again.
    std::vector<CPathSegment*> m_Items;
    std::vector<std::size_t> m_TakenAt;   // the step that took each item
    std::vector<std::size_t> m_Odd;       // items with an end not finite
    std::unique_ptr<CEndTree> m_Tree;
    std::vector<Search> m_Searches;
    std::size_t m_FirstLeft = 0;
};

}  // namespace

void ChainItems(std::vector<Item>& items, const CChainSearch& take)
{
    std::vector<Item> result, chain;
    result.reserve(items.size());
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

    for (std::size_t taken = 0; taken < items.size(); ++taken) {
        float best = 0.0f;
        Item item = std::move(items[take(px, py, best)]);
        if (best != 0.0f && !chain.empty())
            closeChain();
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
    items = std::move(result);
}

void ChainPathLayer(CPathRecord& layer)
{
    CChainWalk walk(layer.items);
    ChainItems(layer.items, [&walk](double px, double py, float& best) {
        return walk.Take(px, py, best);
    });
}

void ChainPathLayer(CDocumentLists& model, const std::string& name)
{
    if (CPathRecord* layer = model.FindOrAddPathLayer(name))
        ChainPathLayer(*layer);
}
