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
    // Each job runs with this view as its runner view and the document's
    // paths; `job` gets the start argument of the gate or the job message.
    auto install = [this](int code, void (*job)(CRunnerView&, CPathJobData&, int)) {
        SetJobRunner(code, [this, job](unsigned start) {
            CViewRunner runner(*this);
            CPathJobData data = PathJobData(*this);
            job(runner, data, static_cast<int>(start));
        });
    };
    install(JOB_ISOLATE, [](CRunnerView& v, CPathJobData& d, int) { RunIsolationJob(v, d); });
    install(JOB_MILL, [](CRunnerView& v, CPathJobData& d, int start) { RunMillJob(v, d, start); });
    install(JOB_ISOLATE_MILL,
            [](CRunnerView& v, CPathJobData& d, int start) { RunIsolateAndMill(v, d, start); });
    install(JOB_ROUTE, [](CRunnerView& v, CPathJobData& d, int) { RunOutlineJob(v, d); });
    install(JOB_ENGRAVE, [](CRunnerView& v, CPathJobData& d, int) { RunEngraveJob(v, d); });
    install(JOB_ENGRAVE_SELECTION,
            [](CRunnerView& v, CPathJobData& d, int) { RunEngraveSelectionJob(v, d); });
    // The machining data dialog's boxes: change the tool and detect its
    // height; keep the spindle on for the next layer.
    install(JOB_ENGRAVE_CAM, [](CRunnerView& v, CPathJobData& d, int) {
        RunCamEngraveJob(v, d, 0, g_MachiningDataDlg.m_bToolChangeProbe != 0,
                         g_MachiningDataDlg.m_bSpindleOn != 0);
    });
}
