// Ordering a path layer's items into chains for machining: a greedy walk
// from (0, 0) that always takes the item with the nearest end, turning it
// round when its second point is the nearer.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

class CDocumentLists;
struct CPathRecord;
struct CPathSegment;

// Reorders the items of `layer` in place. Items join one chain only where
// their ends coincide; a finished chain that holds a counter-clockwise arc is
// stored from its last item to its first, every item turned round (the last
// chain keeps its order). Pumps messages after every item.
void ChainPathLayer(CPathRecord& layer);
// The same for the layer of that name (looked up as FindOrAddPathLayer does).
void ChainPathLayer(CDocumentLists& model, const std::string& name);

// The walk with its search left to `take`: from the current point (px, py)
// it gives the position in `items` of the next item, turned the way it is
// to run, and the distance `best` its search ended with (0 where the item
// goes on from the current point, so the chain goes on). Every item is
// taken once; `items` ends up holding the chains in order.
using CChainSearch = std::function<std::size_t(double px, double py, float& best)>;
void ChainItems(std::vector<std::unique_ptr<CPathSegment>>& items, const CChainSearch& take);
