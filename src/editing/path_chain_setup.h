// Route and DXF-CAM machining set-up on path layers: a chain of connected
// segments enabled or disabled (state 0 or 1) and turned round, the layers
// set up by a rectangle, and the list of hidden DXF-CAM layers as the layer
// dialog edits it.
#pragma once

#include "platform/object_lists.h"
#include "platform/win_types.h"

#include <string>
#include <vector>

struct CPathRecord;
struct CPathSegment;

// The segments of `layer` connected to `segment` (ends closer than 1 mil),
// in the order they are collected; `segment` comes first.
std::vector<CPathSegment*> CollectChain(CPathRecord& layer, CPathSegment* segment);
// Exchanges the contents of the chain's records end for end (first with
// last, ...), so the layer holds the chain's segments in the other order.
void ReverseChainOrder(const std::vector<CPathSegment*>& chain);
// What the keys do to each segment: Ctrl flips enabled and disabled; Shift
// runs the segment the other way (an arc changes direction).
void ApplyChainKeys(const std::vector<CPathSegment*>& chain, bool ctrl, bool shift);
// A whole chain set up by a click: in route mode Shift also reverses the
// chain's order, so the route runs backwards.
void SetUpChain(const std::vector<CPathSegment*>& chain, bool routeMode, bool ctrl, bool shift);

// The segments of `layers` whose two ends lie inside `rect` (mil, any
// corner order).
std::vector<CPathSegment*> SegmentsInRect(const std::vector<CPathRecord*>& layers, const RECT& rect);

// Whether a path layer belongs to the route (its name holds "ROUTE") or,
// on side 5 without it, to the DXF-CAM data; whether it is hidden.
bool IsRouteLayer(const CPathRecord& layer);
bool IsDxfCamLayer(const CPathRecord& layer);
constexpr int PATH_LAYER_HIDDEN = 2;
bool IsHiddenLayer(const CPathRecord& layer);

// The layer dialog's text: the DXF-CAM layers, each name once, one a line
// ("\r\n"), hidden ones with a leading ";".
std::string DxfLayerText(const COwnedList<CPathRecord>& layers);
// The dialog's text taken back: every layer shown again, then the layers
// named on a line that begins with ";" hidden.
void ApplyDxfLayerText(COwnedList<CPathRecord>& layers, const std::string& text);
