// The program-wide objects are defined together in program_objects.cpp, in
// the order the program builds them at start (and destroys them in reverse):
// the status text, the settings objects, the six text windows, the link
// objects and the registration targets. Each subsystem's
// header declares its own objects.
#pragma once

#include <string>

// The view's status and prompt text.
extern std::string g_StatusText;
// 1 while a path calculation runs: the frame and the view ignore the mouse.
extern int g_Calculating;

// Gives every program-wide object its construction value again, in the
// construction order, so one test cannot leak state into the next.
void ResetProgramObjects();
