// The stored registration targets.
#include "settings/vision_targets.h"

#include "settings/registry.h"

void ClearVisionData()
{
    g_TargetCount = 0;
    g_TargetPoints.fill(CDPoint(0.0, 0.0));
    RegSetLongValue("TargetCount", 0);
}
