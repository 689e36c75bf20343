// Stand-in until the real one is merged.
// The working depth and lift height of the running job, in Z pulses.
#pragma once

int GetZDownPulses();
int GetZUpPulses();
