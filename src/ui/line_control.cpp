// A line store shown in a dialog's edit control.
#include "ui/line_control.h"

#include "ui/dialog.h"
#include "ui/line_store.h"

#include <string>

void ShowLinesInControl(CDialog& dialog, unsigned id, const CLineEdit& lines)
{
    if (!dialog.IsWindow())
        return;
    std::string text = lines.GetText();
    for (std::size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos;)
        text.erase(at, 1);
    dialog.SetDlgItemText(id, text);
}
