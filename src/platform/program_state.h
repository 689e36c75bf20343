// The state every part of the program reads between steps of long work: the
// abort flag that STOP sets, the flag of a running path calculation and the
// status text. They sit at the bottom so the pump and every loop can test
// them without knowing the machine link or the view.
#pragma once

#include <string>

// Set by STOP (and by closing the window during long work); every loop and
// wait tests it, and the pump does nothing while it is set.
extern unsigned char g_AbortFlag;
// 1 while a path calculation runs: the frame and the view ignore the mouse.
extern int g_Calculating;
// The view's status and prompt text.
extern std::string g_StatusText;
