// A real two-sided job to the path stage as an operator takes it: the
// D1MiniGSR board of the corpus through File/New, then the path calculation
// with every box ticked, and the view drawn at zoom to fit. Every tool's
// layer of the working side shows in its own colour. Skips without the
// corpus.
//
// ORDUNE_PATH_STAGE_IMAGE=/some/file.png keeps the picture.
#include "document/velm_doc.h"
#include "platform/program_state.h"
#include "resource_ids.h"
#include "settings/default_files.h"
#include "settings/drill_format_dlg.h"
#include "settings/system_settings_dlg.h"
#include "settings/work_order_dlg.h"
#include "support/scripted_host.h"
#include "support/test_paths.h"
#include "view/qt/image_surface.h"
#include "view/velm_view.h"
#include "view/view_window.h"

#include "../app/qt_test_app.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <string>

namespace {

class CPictureWindow : public CViewWindow {
public:
    CPictureWindow() : surface(QSize(1200, 900), CQtImageSurface::BatchDrawing::InRuns) {}
    CDrawSurface& Surface() override { return surface; }
    RECT ClientRect() const override { return RECT{0, 0, surface.Width(), surface.Height()}; }
    void RequestRedraw() override {}
    void SurfaceChanged() override {}
    CQtImageSurface surface;
};

std::string Board(const char* name) { return CorpusPath(std::string("boards/D1MiniGSR/D1MiniGSR-") + name); }

}  // namespace

TEST(PathStage, FileNewThenThePathCalculationDrawsEveryToolsLayerInItsColour)
{
    if (Board("F_Cu.gbr").empty())
        GTEST_SKIP() << "no corpus";
    TestQtApp();
    ASSERT_TRUE(SeedSystemDir(TestDir()));
    g_SystemDir = TestDir();
    auto doc = std::make_unique<CVelmDoc>();
    g_FileAuto = 1;
    g_ComponentGerberFile = Board("F_Cu.gbr");
    g_SolderGerberFile = Board("B_Cu.gbr");
    g_DrillFile = Board("PTH.drl");
    g_RouteFile = Board("Edge_Cuts.gbr");
    g_DrillFormatDlg.dInchMM = g_DrillFormatDlg.dInchMMSize = 1;
    ASSERT_TRUE(doc->LoadWorkOrder());

    TestHost().QueueDialog([](CDialog& d) { d.PressButton(IDOK); }, IDD_PATH_CALC);
    ASSERT_TRUE(doc->OnCmdMsg(ID_PATH_CALCULATION));
    EXPECT_EQ(TestHost().UnansweredDialogs(), 0);
    // Both sides were computed; the solder side is the working one.
    ASSERT_EQ(g_CurrentSide, 1);

    CPictureWindow window;
    CVelmView view(*doc);
    view.SetWindow(&window);
    view.OnWindowAll();
    view.Redraw();
    const QImage& picture = window.surface.Image();
    if (const char* path = std::getenv("ORDUNE_PATH_STAGE_IMAGE"))
        picture.save(QString::fromUtf8(path));

    std::map<QRgb, long> pixels;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            ++pixels[picture.pixel(x, y) & 0xFFFFFF];
    for (const char* name : {"T1ISO", "T2ISO", "T1MIL", "T2MIL", "T3MIL"}) {
        const CPathRecord* layer = doc->FindPathLayerOnSide(name, 1);
        ASSERT_NE(layer, nullptr) << name;
        const COLORREF c = layer->colour;
        const QRgb rgb = qRgb(GetRValue(c), GetGValue(c), GetBValue(c)) & 0xFFFFFF;
        EXPECT_GT(pixels[rgb], 100) << name << " is not drawn in its colour";
    }
}
