// The surface-compensation switch.
#include "link/surface_compensation.h"

#include "platform/program_objects.h"

int g_SurfaceCompensation = 0;

namespace {
const CProgramObjectReset s_Reset([] { g_SurfaceCompensation = 0; });
}  // namespace
