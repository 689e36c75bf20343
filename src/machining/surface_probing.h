// One step of the surface probing job, taken from the view's timer while
// that job runs.
#pragma once

// Non-zero when the probing has finished or was stopped. The probing run
// itself is not built yet, so a step ends the job at once.
int RunProbingStep();
