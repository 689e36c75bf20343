// The view's entry to the drill tool-size dialog: the dialog marks the holes
// of the tool it edits on this view while it is open.
#include "view/velm_view.h"

#include "planning/tool_dialogs.h"

namespace {

class CViewDrillMarker : public CDrillToolView {
public:
    explicit CViewDrillMarker(CVelmView& view) : m_View(view) {}
    void SetHighlightedDrillTool(int tool) override { m_View.m_CurrentDrillTool = tool; }
    void Invalidate() override { m_View.Invalidate(); }

private:
    CVelmView& m_View;
};

}  // namespace

void CVelmView::OnDrillToolSize()
{
    CViewDrillMarker marker(*this);
    CToolSizeDlg dialog;
    dialog.m_pView = &marker;
    dialog.DoModal();
    GetDocument()->SortHoles();
}
