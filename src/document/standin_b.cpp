// Stand-in until the real one is merged.
#include "document/standin_b.h"

void OnResetEngraver(CVelmDoc&) {}
