// Stand-ins for the region clearing until it lands; each does nothing.
#include "planning/region_clearing.h"

int CrossesIsolationPath(const CBoardModel&, float, float, float, float) { return 0; }
int ClearRegionRows(CBoardModel&, CClearRegion&) { return 0; }
int ClearRegionColumns(CBoardModel&, CClearRegion&) { return 0; }
int ClearRegionSmall(CBoardModel&, CClearRegion&, int) { return 0; }
int ClearPadRing(CBoardModel&, CClearRegion&) { return 0; }
void MillPads(CBoardModel&) {}
