// Registration alignment of board points to measured targets.
#include "geometry/registration.h"

#include <algorithm>
#include <cmath>

void AlignTransformPoint(CDPoint* p)
{
    // The count comes from the stored settings; never read past the pairs.
    int count = std::min(g_TargetCount, VISION_TARGET_PAIRS);
    if (count <= 0)
        return;

    float px = float(p->x), py = float(p->y);
    float r0x = 0.0f, r0y = 0.0f, m0x = 0.0f, m0y = 0.0f, rotation = 0.0f;
    if (count >= 2) {
        r0x = float(g_TargetPoints[0].x);
        r0y = float(g_TargetPoints[0].y);
        m0x = float(g_TargetPoints[1].x);
        m0y = float(g_TargetPoints[1].y);
        // The mean of the per-target rotations is taken on the circle (sum of
        // sines and cosines), so targets whose angles straddle +-pi average
        // to the right rotation instead of one off by up to 2*pi.
        float sumSin = 0.0f, sumCos = 0.0f;
        for (int i = 1; i < count; ++i) {
            const CDPoint& ri = g_TargetPoints[2 * i];
            const CDPoint& mi = g_TargetPoints[2 * i + 1];
            float measured = std::atan2(float(mi.y) - m0y, float(mi.x) - m0x);
            float reference = std::atan2(float(ri.y) - r0y, float(ri.x) - r0x);
            float difference = measured - reference;
            sumSin += std::sin(difference);
            sumCos += std::cos(difference);
        }
        rotation = std::atan2(sumSin, sumCos);
    }

    float dx = px - r0x, dy = py - r0y;
    float angle = std::atan2(dy, dx) + rotation;
    float length = std::sqrt(dx * dx + dy * dy);
    p->x = m0x + length * std::cos(angle);
    p->y = m0y + length * std::sin(angle);
}
