// The surface map: ten by ten grey squares a probed cell, the last row and
// column of points without squares, and the mark of each point yellow or,
// when it stands more than 6 pulses out of its six neighbours, red (which
// also tells the engraving command that the data may be wrong).
#include "view_fixture.h"

#include "link/link_state.h"
#include "link/working_depth.h"
#include "machining/plane_data.h"
#include "machining/machining_report.h"
#include "resource_ids.h"
#include "settings/layer_dlg.h"
#include "ui/cmd_ui.h"
#include "settings/machine_settings.h"

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kYellow = RGB(255, 255, 0);

class SurfaceMapTest : public ViewTest {
protected:
    // A 1 mm grid (200 pulses) of 3 x 3 points over (0, 0)-(400, 400), flat
    // at 1000 but for the middle point.
    void Grid(int middle)
    {
        g_XYPulsesPerMM = 200.0f;
        CPlaneDetectDlg& grid = g_PlaneDetectDlg;
        grid.m_GridSpacing = 1;
        grid.m_AreaRect = RECT{0, 0, 400, 400};
        grid.m_Points.clear();
        for (int y : {0, 200, 400})
            for (int x : {0, 200, 400})
                grid.m_Points.push_back(CProbePoint{x == 200 && y == 200 ? middle : 1000, x, y});
    }
    std::vector<CDrawCall> Marks()
    {
        std::vector<CDrawCall> marks;
        for (const CDrawCall& c : window.surface.Of("rect"))
            if (c.brush.colour == kRed || c.brush.colour == kYellow)
                marks.push_back(c);
        return marks;
    }
};

TEST_F(SurfaceMapTest, SevenPulsesOutIsRedSixIsYellow)
{
    struct Case {
        int middle;
        COLORREF mark;
        int plausible;
    } cases[] = {{1007, kRed, 0}, {1006, kYellow, 1}, {993, kRed, 0}, {994, kYellow, 1}};
    for (const Case& c : cases) {
        Grid(c.middle);
        Calls().clear();
        view->m_SurfaceDataPlausible = 1 - c.plausible;
        view->DrawSurfaceMap();
        // Four points have cells; each cell is 10 x 10 squares of 20 pulses.
        EXPECT_EQ(window.surface.Of("rect").size(), 400u);
        std::vector<CDrawCall> marks = Marks();
        ASSERT_EQ(marks.size(), 4u);
        // The middle point at (200, 200) pulses is (39.37, 39.37) mil, its
        // square 20 pulses (3.9 mil) on a side, at one mil a pixel.
        const CDrawCall& middle = marks[3];
        EXPECT_EQ(middle.v, (std::vector<int>{39, 39, 43, 43})) << c.middle;
        EXPECT_EQ(middle.brush.colour, c.mark) << c.middle;
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(marks[static_cast<std::size_t>(i)].brush.colour, kYellow) << c.middle;
        EXPECT_EQ(view->m_SurfaceDataPlausible, c.plausible) << c.middle;
    }
}

TEST_F(SurfaceMapTest, DrawnWithTheMachiningStageOnlyWhileCompensationIsOn)
{
    BuildBoard();
    Grid(1000);
    doc->m_WorkStage = 5;
    for (int on : {0, 1}) {
        g_SurfaceCompensation = on;
        Calls().clear();
        view->Redraw();
        EXPECT_EQ(Marks().size(), on ? 4u : 0u);
    }
    // The toggle and its check mark.
    view->m_Commands.Run(ID_SURFACE_COMPENSATION);
    EXPECT_EQ(g_SurfaceCompensation, 0);
    // A rectangle from a bad file draws nothing.
    g_SurfaceCompensation = 1;
    g_PlaneDetectDlg.m_GridSpacing = 0;
    Calls().clear();
    view->DrawSurfaceMap();
    EXPECT_TRUE(Marks().empty());
}

TEST_F(SurfaceMapTest, TheProbingWindowAndTheTimeEstimateOpenFromTheirCommands)
{
    BuildBoard();
    g_PulsesPerMil = 5.0f;
    // No port open: the probing window opens with the corners of the two
    // copies' area, in pulses.
    ASSERT_LT(g_PortState, 0);
    view->m_Commands.Run(ID_MACHINE_SURFACE_PROBE);
    ASSERT_TRUE(g_PlaneDetectDlg.IsVisible());
    EXPECT_EQ(g_PlaneDetectDlg.GetDlgItemText(IDC_PD_LEFT_TOP), "0,0");
    EXPECT_EQ(g_PlaneDetectDlg.GetDlgItemText(IDC_PD_RIGHT_BOTTOM), "4500,1500");
    CCmdUI ui(ID_MACHINE_SURFACE_PROBE);
    view->m_Commands.Update(ui);
    EXPECT_FALSE(ui.m_Enabled);  // enabled only with a port open

    // The estimate of the board's one visible layer T1ISO on both copies.
    g_ShowLayerT1Iso = 1;
    view->m_Commands.Run(ID_WINDOW_TIME_ESTIMATE);
    ASSERT_TRUE(g_ReportDlg.IsVisible());
    EXPECT_EQ(g_ReportDlg.m_ReportText.GetLineCount(), 12);
    EXPECT_EQ(g_ReportDlg.m_ReportText.GetLineText(10), "-----------( TOTAL )-----------");
    EXPECT_NE(g_ReportDlg.GetDlgItemText(IDC_MR_TEXT).find("T1ISO : "), std::string::npos);
}

}  // namespace
