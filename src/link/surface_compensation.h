// Whether the probed surface is in use: the board view shows the surface
// map and its readout, and edits the probed points, while it is set.
#pragma once

extern int g_SurfaceCompensation;
