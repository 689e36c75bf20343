// Which layers are shown, by name: the fixed layer names map to the flags of
// the working-layer dialog; every name holding "ROUTE" follows the route flag.
#include "view/velm_view.h"

#include "view/layer_dlg.h"

#include <cstring>

int CVelmView::IsLayerVisible(const char* name) const
{
    if (!name)
        return 0;
    const struct {
        const char* name;
        int flag;
    } exact[] = {
        {"T3MIL", g_ShowLayerT3Mil}, {"T1MIL", g_ShowLayerT1Mil},   {"T4ISO", g_ShowLayerT4Iso},
        {"T1ISO", g_ShowLayerT1Iso}, {"T2MIL", g_ShowLayerT2Mil},   {"T2ISO", g_ShowLayerT2Iso},
        {"COPPER", g_ShowLayerCopper}, {"DRILL", g_ShowLayerDrill},
    };
    for (const auto& row : exact)
        if (std::strcmp(name, row.name) == 0 && row.flag)
            return 1;
    return std::strstr(name, "ROUTE") != nullptr && g_ShowLayerRoute ? 1 : 0;
}
