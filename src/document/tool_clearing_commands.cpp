// The document's entries to the clearing of each tool, the PATH runs of
// tools 3 and 2, the coverage marking and the rectangle clearing: they hand
// the planner the model and what it needs of the view.
#include "document/velm_doc.h"
#include "planning/scan_isolation.h"
#include "planning/tool_clearing.h"

CPlanningHooks CVelmDoc::PlanningHooks()
{
    CPlanningHooks hooks;
    hooks.initCells = [this] { return InitCells(); };
    if (m_ViewHooks.drawSegmentNow)
        hooks.drawStep = m_ViewHooks.drawSegmentNow;
    hooks.pathsShown = [this] { CDocumentViewHooks::Run(m_ViewHooks.showPaths); };
    return hooks;
}

void CVelmDoc::CalcClearT3(float reach, bool atHead) { ::CalcClearT3(*this, reach, atHead); }

void CVelmDoc::CalcClearT2() { ::CalcClearT2(*this); }

void CVelmDoc::CalcClearT1() { ::CalcClearT1(*this); }

int CVelmDoc::CalcPathT3(int extra) { return ::CalcPathT3(*this, extra, PlanningHooks()); }

int CVelmDoc::CalcPathT2(int extra) { return ::CalcPathT2(*this, extra, PlanningHooks()); }

void CVelmDoc::MarkTool3Coverage() { ::MarkTool3Coverage(*this, PlanningHooks()); }

void CVelmDoc::MarkTool2Coverage() { ::MarkTool2Coverage(*this, PlanningHooks()); }

void CVelmDoc::MergeMillIntoPath(const std::string& name, int left, int top, int right,
                                 int bottom)
{
    ::MergeMillIntoPath(*this, name, RECT{left, top, right, bottom});
}
