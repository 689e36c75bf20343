// The duplicate path deletion of existing tool-path layers: on the working
// side the clearing layer "T1MIL" loses what runs along the isolation layer
// "T2ISO", and "T2MIL" what runs along "T3MIL"; both clearing layers are
// rebuilt from what is left, in milling order.
#pragma once

#include "offset/path_layers.h"

#include <functional>
#include <string>

class CBoardModel;

// The items of the layers named `name` on `side` whose kind has bit 0 equal
// to `clearing`, as pieces (Class '8', group slot 0 = the item's value) in
// `out` and the pool; a clockwise arc comes back counter-clockwise from its
// end to its start. With `take` the items and the layers are deleted.
// Returns the largest item value (0 when there is none).
int GatherToolLayerSegments(CBoardModel& model, const std::string& name, int clearing, int side,
                            CRefList<CIsoElement>& out, bool take);

// Both phases on the working side `side`; `sortSegments` orders the
// model's grid segment list.
void DeleteDuplicateToolPaths(CBoardModel& model, const CIsoToolSettings& tools, int side,
                              const std::function<void()>& sortSegments);
