// Ordering a path layer's items into chains for machining: a greedy walk
// from (0, 0) that always takes the item with the nearest end, turning it
// round when its second point is the nearer.
#pragma once

#include <string>

class CDocumentLists;
struct CPathRecord;

// Reorders the items of `layer` in place. Items join one chain only where
// their ends coincide; a finished chain that holds a counter-clockwise arc is
// stored from its last item to its first, every item turned round (the last
// chain keeps its order). Pumps messages after every item.
void ChainPathLayer(CPathRecord& layer);
// The same for the layer of that name (looked up as FindOrAddPathLayer does).
void ChainPathLayer(CDocumentLists& model, const std::string& name);
