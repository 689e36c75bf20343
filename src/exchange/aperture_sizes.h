// Two small registries of the DXF to Gerber conversion: the aperture-size
// table that gives each distinct size of one output file its D code or drill
// tool number (from 11, sizes within 0.01 sharing one), and the counter that
// numbers the closed outlines of each DXF layer.
#pragma once

#include <map>
#include <string>
#include <vector>

struct CApertureSize {
    double size = 0.0;   // a radius in mil
    double code = 0.0;   // negated by the exact variant
};

// One table per output file; an entry's code is 11 plus its position.
using CApertureSizeList = std::vector<CApertureSize>;

// The code of the first entry within 0.01 of `size`; a new entry when none.
int ApertureSizeCode(CApertureSizeList& table, float size);
// The same with exact equality; the new entry keeps its code negated.
int ApertureSizeCodeExact(CApertureSizeList& table, float size);
void FreeApertureSizeList(CApertureSizeList& table);

// How often a DXF layer name was counted before: 0 the first time, then 1,
// 2, ... "Reset" forgets every name and gives 0. Names are case-sensitive
// and there is no limit on how many there are.
int CountEntityName(const std::string& name);
