// Stand-in until the real one is merged.
#include "view/standin_b.h"

void StartTimer(CVelmView&, unsigned) {}
void StopTimer(CVelmView&) {}
