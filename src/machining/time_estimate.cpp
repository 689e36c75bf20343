// The time estimate: walks the path layers the engraving job would cut (the
// visible layers of the current side, once for every placed copy), sums per
// layer the rapid travel, the cutting travel with its per-segment allowances
// and the plunges, and writes the time of each engraving and milling tool
// and the total into the machining report. Drilling is not estimated.
#include "machining/machining_report.h"

#include "geometry/plane_geometry.h"
#include "platform/resources.h"
#include "resource_ids.h"
#include "settings/machine_param_dlg.h"
#include "settings/machine_settings.h"
#include "settings/work_order_dlg.h"

#include <cmath>
#include <cstdlib>

namespace {

constexpr double kPi = 3.1415926;
constexpr double kTwoPi = 6.28318;

int Trunc(double v) { return static_cast<int>(std::clamp(v, -2147483648.0, 2147483647.0)); }

// The sweep of an arc segment in degrees, by its direction: 0 or 360 for a
// full circle.
double ArcSweep(const CPathSegment& s)
{
    const double endAngle = -std::atan2(s.y2 - s.cy, s.x2 - s.cx) * 180.0 / kPi;
    const double startAngle = -std::atan2(s.y1 - s.cy, s.x1 - s.cx) * 180.0 / kPi;
    const double d = startAngle - endAngle;
    if (startAngle < endAngle)
        return s.type == 1 ? d + 360.0 : d;
    return s.type == 1 ? d : d - 360.0;
}

// The cutting travel a segment costs, in pulses, from the last position
// (where a line starts its measure: the segment's own start once the
// plunge has brought the tool there).
double CutCost(const CPathSegment& s, const CDPoint& last, const CDPoint& end, const CDPoint& centre)
{
    const double engrave = g_EngraveSpeed;
    if (s.type == 0 || s.type == 10) {
        const CDPoint a = (end + centre) * g_PulsesPerMil;
        const CDPoint b = (last + centre) * g_PulsesPerMil;
        return Distance(a.x, a.y, b.x, b.y) + g_XYPulsesPerMM * engrave / 15.0;
    }
    const double r = Distance(s.cx, s.cy, s.x1, s.y1) * g_PulsesPerMil;
    const double sweep = ArcSweep(s);
    if (std::fabs(sweep) == 0.0 || std::fabs(sweep) == 360.0)
        return kTwoPi * r * engrave / 6.0 + g_XYPulsesPerMM * engrave / 12.0;
    const int degrees = std::abs(Trunc(sweep)) % 360;
    return degrees * kTwoPi * r / 360.0 * engrave / 6.0 + g_XYPulsesPerMM * engrave / 12.0;
}

CDPoint Placed(const CLayoutBlock& block, double x, double y)
{
    CDPoint p(x - block.m_RefCentre.x, y - block.m_RefCentre.y);
    ApplyBoardOrientation(block, &p);
    return p;
}

}  // namespace

void CMachiningReportDlg::Estimate(const CEstimateInput& input)
{
    AddRapidLength("Reset", 0.0f);
    AddCutLength("Reset", 0.0f);
    AddPlungeCount("Reset", 0);
    if (!input.blocks || input.blocks->empty())
        return;
    // Segments an interrupted job has machined already are not counted.
    long toSkip = input.resumeCount > 0 ? input.resumeCount : 0;
    if (input.pathLayers) {
        for (const auto& layer : *input.pathLayers) {
            if (layer->side != g_CurrentSide || !input.layerVisible || !input.layerVisible(layer->name))
                continue;
            int rapid = 0, cut = 0, plunges = 0;
            for (const auto& block : *input.blocks) {
                const CDPoint centre = block->m_Centre;
                CDPoint last(0.0, 0.0);
                for (const auto& segment : layer->items) {
                    if (toSkip > 0) {
                        --toSkip;
                        continue;
                    }
                    if (segment->flag != 0)
                        continue;
                    const CDPoint start = Placed(*block, segment->x1, segment->y1);
                    const CDPoint end = Placed(*block, segment->x2, segment->y2);
                    if (start != last) {
                        ++plunges;
                        const CDPoint a = (start + centre) * g_PulsesPerMil;
                        const CDPoint b = (last + centre) * g_PulsesPerMil;
                        rapid = Trunc(rapid + Distance(a.x, a.y, b.x, b.y));
                        last = start;
                    }
                    cut = Trunc(cut + CutCost(*segment, last, end, centre));
                    last = end;
                }
            }
            AddRapidLength(layer->name, static_cast<float>(rapid));
            AddCutLength(layer->name, static_cast<float>(cut));
            AddPlungeCount(layer->name, plunges);
        }
    }
    long total = 0;
    for (const char* name : {"T1ISO", "T1MIL", "T2ISO", "T2MIL", "T3MIL"})
        total += WriteToolTimeSummary(name);
    m_ReportText.WriteLine("-----------( TOTAL )-----------");
    m_ReportText.WriteLineF(LoadResString(IDS_ESTIMATED_TIME).c_str(), total / 3600, total % 3600 / 60,
                            total % 60);
}
