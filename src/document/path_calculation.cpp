// The path calculation's work once the tools are chosen: the old tool-path
// layers go, then each side of the work order gets its layers in the fixed
// order of the tools.
#include "document/velm_doc.h"
#include "planning/scan_isolation.h"
#include "records/board_records.h"
#include "settings/work_order_dlg.h"

#include <algorithm>
#include <cmath>

namespace {

// The side of the layers that belong to no board side (route and others).
constexpr int kNoSide = 5;
// How much wider than the tool the tool-2 isolation cuts (mil).
constexpr int kTool2Extra = 5;

int PlungeOf(float depth)
{
    return std::isfinite(depth) && std::fabs(depth) < 2.0e9f ? static_cast<int>(depth) : 0;
}

}  // namespace

void CVelmDoc::ClearGridPathSegments() { m_GridPathList.clear(); }

int CVelmDoc::CalculatePathLayers(const CPathLayerChoice& choice)
{
    auto& layers = m_PathLayerList;
    layers.erase(std::remove_if(layers.begin(), layers.end(),
                                [](const auto& layer) { return layer->side != kNoSide; }),
                 layers.end());

    auto sideSequence = [&]() {
        if (choice.t2Iso) {
            g_PlungeOffsetPulses = PlungeOf(m_ToolValue2);
            if (!CalcIsolationT2(kTool2Extra))
                return 0;
            ClearGridPathSegments();
        }
        if (choice.t1Iso) {
            g_PlungeOffsetPulses = PlungeOf(m_ToolValue1);
            if (!CalcIsolationT1(0))
                return 0;
            ClearGridPathSegments();
        }
        return 1;
    };
    if (g_HasComponentSide) {
        OnComponentSide();
        if (!sideSequence())
            return 0;
    }
    ClearToolPaths();
    if (g_HasSolderSide) {
        OnSolderSide();
        if (!sideSequence())
            return 0;
    }
    return 1;
}
