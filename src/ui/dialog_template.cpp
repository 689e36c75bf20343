// Dialog templates from the resource tables.
#include "ui/dialog_template.h"

#include "ui/dialog.h"

bool LoadDialogTemplate(unsigned id, CDialogTemplate& out)
{
    std::vector<OrduneDialogItem> items = LoadDialogResource(id);
    if (items.empty() || items.front().kind != ORDUNE_DLG_DIALOG)
        return false;
    const OrduneDialogItem& header = items.front();
    out.id = id;
    out.caption = header.text ? header.text : "";
    out.width = header.cx;
    out.height = header.cy;
    out.style = header.style;
    out.controls.assign(items.begin() + 1, items.end());
    return true;
}

void ApplyTemplateToControls(CDialog& dialog, const CDialogTemplate& tmpl)
{
    dialog.SetWindowText(tmpl.caption);
    for (const OrduneDialogItem& item : tmpl.controls) {
        if (item.id == ORDUNE_ID_STATIC)
            continue;
        CControlState& state = dialog.Control(item.id);
        state = CControlState();
        state.text = item.text ? item.text : "";
        state.enabled = !(item.style & ORDUNE_STYLE_DISABLED);
        state.visible = !(item.style & ORDUNE_STYLE_HIDDEN);
        dialog.ControlChanged(item.id);
    }
}
