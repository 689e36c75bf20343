// A dialog template read from the resources: what a window for a dialog
// shows, control by control. The desktop host lays it out; the core uses it
// to give a new run of a dialog the control texts its window starts with.
#pragma once

#include "platform/resources.h"

#include <string>
#include <vector>

class CDialog;

struct CDialogTemplate {
    unsigned id = 0;
    std::string caption;
    int width = 0, height = 0;  // dialog units
    unsigned style = 0;         // ORDUNE_STYLE_* of the dialog
    std::vector<OrduneDialogItem> controls;
};

// Reads template `id` from the current resources; false when neither the
// language library nor the program has it or its header row is missing.
bool LoadDialogTemplate(unsigned id, CDialogTemplate& out);

// The control states a freshly created window has: each control's text from
// the template (labels, button texts, initial edit texts), nothing checked,
// no entries, enabled and visible as the template says. The caption too.
void ApplyTemplateToControls(CDialog& dialog, const CDialogTemplate& tmpl);
