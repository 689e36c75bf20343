// The machine parameters on the controller: the set-up that a controller
// reset sends, and the spindle speed code of the binary controller.
#pragma once

// Sends the whole set-up from the machine parameters to the controller that
// is connected (none: nothing is sent), then pauses 200 ms.
void ResetController();
