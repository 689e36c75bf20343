// The machine table under the panel copies in the layout and machining
// stages: the positioning holes once their window was opened, the table's
// outline and centre lines, and a tick every 10 mm along the centre lines.
#include "view/velm_view.h"

#include "settings/machine_settings.h"

namespace {
constexpr double kTickPitch = 393.7;  // mil: 10 mm
constexpr double kTickHalf = 18.0;    // mil each side of the centre line
}  // namespace

void CVelmView::DrawMachineTable()
{
    DrawPositioningHoles(VIEW_WHITE);
    const int w = static_cast<int>(g_TableWidth), h = static_cast<int>(g_TableHeight);
    DrawLine(0, 0, w, 0, VIEW_GREY);
    DrawLine(0, 0, 0, h, VIEW_GREY);
    DrawLine(0, h, w, h, VIEW_GREY);
    DrawLine(w, 0, w, h, VIEW_GREY);
    const double midX = g_TableWidth / 2.0, midY = g_TableHeight / 2.0;
    DrawLine(0, static_cast<int>(midY), w, static_cast<int>(midY), VIEW_GREY);
    DrawLine(static_cast<int>(midX), 0, static_cast<int>(midX), h, VIEW_GREY);

    CViewDC v(*this);
    v.dc.SelectPen(DotPen(VIEW_SILVER));
    // Each tick at a multiple of the pitch, so no error builds up along
    // the table.
    for (int k = 0; k * kTickPitch < g_TableWidth; ++k) {
        const double x = k * kTickPitch;
        ClippedMoveTo(v.dc, MapX(x), MapY(midY + kTickHalf));
        ClippedLineTo(v.dc, MapX(x), MapY(midY - kTickHalf));
    }
    for (int k = 0; k * kTickPitch < g_TableHeight; ++k) {
        const double y = k * kTickPitch;
        ClippedMoveTo(v.dc, MapX(midX - kTickHalf), MapY(y));
        ClippedLineTo(v.dc, MapX(midX + kTickHalf), MapY(y));
    }
}
