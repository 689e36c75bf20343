// Stand-in until the real one is merged.
// The copper and path editor's workers that the mouse dispatch and the keys
// hand their messages to: the press, move and release of the copper and
// isolation-line edit modes, the popup's cancel, the isolation-line keys and
// the double click that shows a copper record.
#pragma once

#include "platform/win_types.h"

class CVelmView;

void OnLButtonDownEdit(CVelmView& view, unsigned flags, POINT point);
void OnMouseMoveEdit(CVelmView& view, unsigned flags, POINT point);
void OnLButtonUpEdit(CVelmView& view, unsigned flags, POINT point);
void OnPopupCancel(CVelmView& view);
void OnIsoDelete(CVelmView& view);
void OnIsoUnselect(CVelmView& view);
void OnIsoSelectLine(CVelmView& view);
void OnIsoSelectArea(CVelmView& view);
void OnLButtonDblClk(CVelmView& view, unsigned flags, POINT point);
// The drill-point popup's Align (arms the two-click alignment), so the
// alignment by hand that File/New falls back to can be reached.
void RegisterDrillAlignCommand(CVelmView& view);
