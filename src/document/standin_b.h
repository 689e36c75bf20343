// Stand-in until the real one is merged.
// The controller reset of the document, which homing and connection run.
#pragma once

class CVelmDoc;

void OnResetEngraver(CVelmDoc& doc);
