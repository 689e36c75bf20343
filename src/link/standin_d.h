// Stand-in until the real one is merged.
// The tool tip's Z offset that the tool change measures, and the two fixed
// engraving heights of fixed plunge mode, which the working depth reads.
#pragma once

extern float g_AbsEngraveDown;    // mm
extern float g_AbsEngraveUp;      // mm
