// What the DXF imports share: the list of DXF layer names ("A;B;C;", every
// name followed by ";", matched as whole names), the colour a DXF layer's
// path layer gets from its place in that list, and the first reading pass
// that collects the names of a drawing's layers.
#pragma once

#include "platform/win_types.h"

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

std::vector<std::string> SplitLayerList(const std::string& list);
bool LayerListHas(const std::string& list, const std::string& name);
// Appends "name;" unless the name is empty or in the list already.
void AddToLayerList(std::string& list, const std::string& name);

// The colour of the path layer of the n-th name of the list (n from 1).
COLORREF DxfLayerColour(int place);
// The colour the drawing imports give a layer from their colour counter c:
// red c mod 100, green |255 - c| mod 255, blue |55 - c| mod 205.
COLORREF CamLayerColour(int counter);

struct CPathRecord;
struct CPathSegment;
// A DXF-CAM path layer: side 5, tool size 2, depth 0, shown.
std::unique_ptr<CPathRecord> NewCamLayer(const std::string& name, COLORREF colour);
// An item of `type` appended to the layer, and a straight one from (x1, y1)
// to (x2, y2) whose radius field holds `width`.
CPathSegment* AddCamItem(CPathRecord& layer, int type);
CPathSegment* AddCamLine(CPathRecord& layer, double x1, double y1, double x2, double y2,
                         double width = 0.0);
// A full circle of `type` about (cx, cy): both ends at its point at angle 0.
CPathSegment* AddCamCircle(CPathRecord& layer, int type, double cx, double cy, double r);

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
