// Stand-in until the real one is merged.
#include "link/standin_a.h"

int GetZDownPulses() { return 0; }
int GetZUpPulses() { return 0; }
