// The view's path jobs: the runners the job gate and the job message call
// for isolation, milling, the two combined, the outline and the three
// engraving jobs. The work is the machining floor's (path_jobs.h); the view
// lends it its timer, homing, panel copies, layer visibility and the marks
// that show the item being cut.
#include "view/view_runner.h"

#include "exchange/machining_data_dlg.h"
#include "link/job_codes.h"
#include "machining/path_jobs.h"

namespace {

// The pen of the mark drawn over the item now being cut.
constexpr COLORREF kCuttingMark = 0x006464;

// The document's paths as the jobs cut them, with the view's marks.
CPathJobData PathJobData(CVelmView& view)
{
    CVelmDoc& doc = *view.GetDocument();
    CPathJobData data;
    data.isoSegments = &doc.m_GridPathList;
    data.regions = &doc.m_ClearRegionList;
    data.layers = &doc.m_PathLayerList;
    data.layerVisible = [&view](const std::string& name) {
        return view.IsLayerVisible(name.c_str()) != 0;
    };
    data.markIso = [&view](const CLayoutBlock& block, const CGridPathSegment& segment) {
        view.DrawIsoPathsXor(&block, &segment, kCuttingMark);
    };
    data.markStroke = [&view](const CLayoutBlock& block, const CClearStroke& stroke) {
        view.DrawClearAreaXor(&block, &stroke, kCuttingMark);
    };
    return data;
}

}  // namespace

void CVelmView::RegisterPathJobs()
{
    SetJobRunner(JOB_ISOLATE, [this](unsigned) {
        CViewRunner runner(*this);
        CPathJobData data = PathJobData(*this);
        ::RunIsolationJob(runner, data);
    });
    SetJobRunner(JOB_MILL, [this](unsigned start) {
        CViewRunner runner(*this);
        CPathJobData data = PathJobData(*this);
        ::RunMillJob(runner, data, static_cast<int>(start));
    });
    SetJobRunner(JOB_ISOLATE_MILL, [this](unsigned start) {
        CViewRunner runner(*this);
        CPathJobData data = PathJobData(*this);
        ::RunIsolateAndMill(runner, data, static_cast<int>(start));
    });
    SetJobRunner(JOB_ROUTE, [this](unsigned) {
        CViewRunner runner(*this);
        CPathJobData data = PathJobData(*this);
        ::RunOutlineJob(runner, data);
    });
    SetJobRunner(JOB_ENGRAVE, [this](unsigned) {
        CViewRunner runner(*this);
        CPathJobData data = PathJobData(*this);
        ::RunEngraveJob(runner, data);
    });
    SetJobRunner(JOB_ENGRAVE_SELECTION, [this](unsigned) {
        CViewRunner runner(*this);
        CPathJobData data = PathJobData(*this);
        ::RunEngraveSelectionJob(runner, data);
    });
    SetJobRunner(JOB_ENGRAVE_CAM, [this](unsigned) {
        CViewRunner runner(*this);
        CPathJobData data = PathJobData(*this);
        ::RunCamEngraveJob(runner, data, 0, g_MachiningDataDlg.m_ToolChange != 0,
                           g_MachiningDataDlg.m_SpindleOn != 0);
    });
}
