// The manual runs: drilling holes of the drill data one at a time (or a
// whole size at once) by pointing at them in the view, and engraving single
// lines dragged in the view. Both start and end the same way and last until
// their menu command switches them off again or STOP is pressed. They read
// the pointer's points and the key requests the view's mouse and keyboard
// handlers leave between two passes of the loop.
#pragma once

#include "geometry/point.h"
#include "machining/job_runner.h"

#include <cstddef>

struct CDrillTool;

// The view's state a manual run works with.
struct CManualControls {
    int& mode;         // the run goes on while 1
    CDPoint& pointA;   // pointer (drilling) or line start (engraving), mil
    CDPoint& pointB;   // positioning target or line end, mil
    int& keyCtrl;      // drill the hole under the pointer
    int& keyShift;     // drill its size in its copy
    int& keyTab;       // drill its size in every copy
    int& toolChanged;  // the operator asked for a tool change
};

// The plunge speed of the manual runs (mm/s); the machine parameter keeps
// the operator's value.
constexpr float kManualPlungeSpeed = 3.0f;

// The hole under a pointer: the first in copy, tool and hole order whose
// placed centre lies closer than its radius.
struct CManualHole {
    bool found = false;
    CDPoint at;              // placed centre, mil
    std::size_t tool = 0;    // index into the tool list
    std::size_t block = 0;   // index into the copies
    double radius = 0.0;     // mil
};
CManualHole FindManualHole(const COwnedList<CLayoutBlock>& blocks,
                           const COwnedList<CDrillTool>& tools, const CDPoint& pointer);

// A hole of the board (mil) placed on copy `block` of the panel (mil).
CDPoint PlaceOnPanel(const CLayoutBlock& block, const CDPoint& hole);

// A key let go: the request it held is dropped, so a hole the pointer
// crosses later is not drilled by a press that is over.
void ReleaseManualKey(unsigned key, CManualControls& controls);

// The runs themselves (job codes 19 and 18).
void ManualDrill(CRunnerView& view, CManualControls& controls);
void ManualEngrave(CRunnerView& view, CManualControls& controls);
