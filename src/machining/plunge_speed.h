// The plunge speeds by drill diameter: the drilling jobs and the drill
// preview set the plunge speed from the first table, the tool changer fills
// its drill rows from the second.
#pragma once

// Sets g_PlungeSpeed (mm/s) for a drill of `diameterMM`; the ZELTA6 machine
// keeps the speed its tool table gave.
void SelectZelta6DrillParam(float diameterMM);
// The tool changer's plunge speed (mm/s) for a drill of `diameterMM`.
float DrillPlungeSpeed(float diameterMM);
