// What the DXF imports share: the list of DXF layer names ("A;B;C;", every
// name followed by ";", matched as whole names), the colour a DXF layer's
// path layer gets from its place in that list, and the first reading pass
// that collects the names of a drawing's layers.
#pragma once

#include "platform/win_types.h"

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

std::vector<std::string> SplitLayerList(const std::string& list);
bool LayerListHas(const std::string& list, const std::string& name);
// Appends "name;" unless the name is empty or in the list already.
void AddToLayerList(std::string& list, const std::string& name);

// The colour of the path layer of the n-th name of the list (n from 1).
COLORREF DxfLayerColour(int place);

// Adds to `list` the layer of every entity of the given types, cut at its
// first "_" when `cutAtUnderscore`. 0 after a message when the file cannot
// be opened or is broken (the list is then unchanged), else 1.
int ScanDxfLayerNames(const std::string& path, std::initializer_list<const char*> types,
                      bool cutAtUnderscore, std::string& list);

class CDxfReader;
struct CDxfEntity;
// Hands every entity of the drawing to `visit` (with the reader, so that a
// POLYLINE can take its vertices). 0 after a message when the file cannot
// be opened or turns out broken, else 1.
int ForEachDxfEntity(const std::string& path,
                     const std::function<void(CDxfReader&, const CDxfEntity&)>& visit);
