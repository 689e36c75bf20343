// Automatic alignment of the drill holes to the copper pads: the holes of a
// drill file often sit in another origin than the photoplots; a common shift
// that puts most holes on pads is searched and applied.
#pragma once

class CVelmDoc;

// While 0 the search stops (set to 1 when a search starts).
extern int g_AlignEnable;

// Searches a shift that puts the holes of g_HoleList onto the pads of the
// document's working side and moves every hole by it. Returns 1 when a shift
// was found, else 0 with the holes unchanged and the status text saying so.
int AutoAlignDrills(CVelmDoc& doc, int mode = 0);
