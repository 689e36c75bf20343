// Stand-in until the real one is merged.
#include "link/standin_d.h"

#include "platform/program_objects.h"

float g_AbsEngraveDown = 0.0f;
float g_AbsEngraveUp = 0.0f;

namespace {
const CProgramObjectReset s_Reset([] {
    g_AbsEngraveDown = 0.0f;
    g_AbsEngraveUp = 0.0f;
});
}  // namespace
