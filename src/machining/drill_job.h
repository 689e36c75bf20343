// The drilling job: every hole of the drill tools, tool by tool, on every
// panel copy, with a tool change between sizes, several plunges ("pecks")
// where the drill selection asks for them, large holes milled as circles by
// the router, and a resume after STOP from the progress it keeps. The drill
// preview visits the same holes with the camera.
#pragma once

#include "machining/job_runner.h"

#include <string>
#include <vector>

struct CDrillTool;

// The drill now in the spindle as far as the drilling job knows (-1: none);
// kept between runs for the fixed plunge mode.
extern int g_LastDrillTool;

// One hole of the job in drilling order.
struct CHoleVisit {
    std::size_t tool;   // index into the tool list
    std::size_t block;  // index into the panel copies
    std::size_t hole;   // index into the tool's holes
};

// Which holes the selected panel copies give: the drilling job leaves them
// out, the preview visits them.
enum class ESelectedCopies { Skip, Visit };

// The holes the job works, in its order: tools in list order, for each the
// copies in order, for each the tool's holes in order. Tools of mode 0 (and
// with ESelectedCopies::Skip the selected copies) give none. Progress and
// resume both count positions in this list, so a resumed job starts with
// the hole that was interrupted and drills every other hole once.
std::vector<CHoleVisit> DrillOrder(const COwnedList<CDrillTool>& tools,
                                   const COwnedList<CLayoutBlock>& blocks, ESelectedCopies selected);

// The prompt for a drill tool: its number with its size in mil and mm, or
// only its number when the size is unknown.
std::string DrillToolPrompt(int toolNumber);

// The number of plunges of a tool's mode: n for (n << 4) | 3, else 1. A
// count of 0 or 1 is one plunge.
int PeckCount(int mode);

// The drilling job (job code 1) on the holes of g_HoleList.
void RunDrillJob(CRunnerView& view);
// The drill preview (job code 17): the camera over every hole.
void RunDrillPreview(CRunnerView& view);
