// The string formatting and the number question of the view's editing files.
#include "view/edit_support.h"

#include "machining/number_input_dlg.h"
#include "platform/host.h"
#include "platform/resources.h"
#include "resource_ids.h"
#include "ui/dialog.h"
#include "ui/line_store.h"
#include "view/velm_view.h"

#include <algorithm>

#include <cstdarg>

std::optional<double> AskNumber(const std::string& prompt, const std::string& start, bool positive)
{
    CNumberInputDlg dlg;
    dlg.m_Prompt = prompt;
    dlg.m_Value = start;
    if (dlg.DoModal() != IDOK)
        return std::nullopt;
    double value = 0.0;
    if (!ParseNumberText(dlg.m_Value, value)) {
        if (dlg.m_Value.find_first_not_of(" \t") != std::string::npos)
            AfxMessageBox(LoadResString(IDS_EDIT_NOT_A_NUMBER), MB_OK | MB_ICONEXCLAMATION);
        return std::nullopt;
    }
    if (positive && !(value > 0.0)) {
        AfxMessageBox(LoadResString(IDS_EDIT_POSITIVE_ONLY), MB_OK | MB_ICONEXCLAMATION);
        return std::nullopt;
    }
    return value;
}

RECT BandInMil(const CVelmView& view, const RECT& band)
{
    POINT a{std::min(band.left, band.right), std::min(band.top, band.bottom)};
    POINT b{std::max(band.left, band.right), std::max(band.top, band.bottom)};
    view.ScreenToDoc(&a);
    view.ScreenToDoc(&b);
    return RECT{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

CDPoint ToMil(const CVelmView& view, POINT pixel)
{
    CDPoint p(pixel.x, pixel.y);
    view.ScreenToDocD(&p);
    return p;
}

bool InRect(const RECT& r, double x, double y)
{
    return x >= r.left && x <= r.right && y >= r.top && y <= r.bottom;
}
