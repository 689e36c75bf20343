// The two status panes the view fills: the cursor position in the display
// unit and the shared prompt and status text.
#include "view/velm_view.h"

#include "platform/program_state.h"
#include "settings/machine_settings.h"
#include "settings/system_settings_dlg.h"
#include "ui/cmd_ui.h"

#include <cstdio>

void CVelmView::OnUpdateCursorPos(CCmdUI& cmdUI)
{
    float factor = 1.0f;
    const char* unit = "mil";
    switch (g_UnitSelector) {
    case 0:
        factor = 0.0254f;
        unit = "mm";
        break;
    case 2:
        factor = g_PulsesPerMil;
        unit = "ps";
        break;
    default:
        // Mil, also for a selector that names no unit.
        break;
    }
    char text[96];
    float x = factor * float(m_CursorPos.x);
    float y = factor * float(m_CursorPos.y);
    std::snprintf(text, sizeof text, "(%.5g,%.5g) %s", double(x), double(y), unit);
    cmdUI.Enable(true);
    cmdUI.SetText(text);
}

void CVelmView::OnUpdateStatusText(CCmdUI& cmdUI)
{
    cmdUI.Enable(true);
    cmdUI.SetText(g_StatusText);
}
