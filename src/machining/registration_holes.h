// The registration-hole jobs: the holes that align the two sides of a
// double-sided board, held as a drill program in millimetres in the
// registration-hole window, drilled (job code 7) or engraved as a circle
// around each hole with a 90-degree engraving tool (job code 16). The holes
// are machine positions: no panel copy or alignment moves them.
#pragma once

#include "machining/job_runner.h"

#include <string>
#include <vector>

// One hole of the registration-hole text: its position (mil) and the line
// of the text that gives it.
struct CRegistrationHole {
    CDPoint at;
    int line = 0;
};

// Drills the holes. `language` is the registry's "Language", which picks
// the colour word of the first prompt.
void DrillRegistrationHoles(CRunnerView& view, const std::vector<CRegistrationHole>& holes,
                            const std::string& language);
// Engraves a 90-mil circle around each hole, touching the surface off
// beside each one first.
void EngraveRegistrationHoles(CRunnerView& view, const std::vector<CRegistrationHole>& holes);
