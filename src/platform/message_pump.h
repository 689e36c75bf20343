// Keeps the window alive during long work.
#pragma once

// Handles every pending user-interface event once, unless the abort flag is
// set: then it returns at once and leaves the events queued, so a pressed STOP
// also stops repainting until the flag is cleared.
void PumpMessages();
