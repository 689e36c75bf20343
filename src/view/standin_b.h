// Stand-in until the real one is merged.
// The view's timer 1, as the homing and manual-move commands start and stop it.
#pragma once

class CVelmView;

void StartTimer(CVelmView& view, unsigned milliseconds);
void StopTimer(CVelmView& view);
