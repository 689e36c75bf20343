// The camera work against the simulated ASCII controller: the CCD offset,
// the origin adjustment's match, the calibration hole stopped at every
// step, the drill-point samples, the measuring keys and the manual
// locating-hole search.
#include "link_fixture.h"

#include "geometry/board_orientation.h"
#include "geometry/registration.h"
#include "machining/camera_offset_dlg.h"
#include "machining/hole_text.h"
#include "machining/measure_keys.h"
#include "machining/number_input_dlg.h"
#include "machining/position_dlg.h"
#include "machining/locating_holes.h"
#include "machining/vision.h"
#include "platform/resources.h"
#include "records/board_extent.h"
#include "records/board_records.h"
#include "records/panel_layout.h"
#include "resource_ids.h"
#include "settings/machine_param_dlg.h"
#include "settings/registry.h"
#include "settings/vision_targets.h"
#include "sim_camera.h"
#include "ui/cmd_ui.h"
#include "ui/edit_wnd.h"
#include "view/velm_view.h"
#include "view/hole_text_walk.h"

#include <memory>

namespace {

using Kind = CControllerSimulator::Kind;
using Lines = std::vector<std::string>;

std::int32_t RegLong(const char* name)
{
    std::int32_t value = -1;
    RegGetLong(name, value);
    return value;
}

// A text window holding `lines`, made as the program makes it.
void FillWindow(CEditWnd& window, const Lines& lines)
{
    window.CreateOnce("text");
    for (const std::string& line : lines)
        window.Edit().WriteLine(line);
}

class VisionTest : public LinkTest {
protected:
    void SetUp() override
    {
        LinkTest::SetUp();
        Connect(Kind::Ascii);
    }
    void At(std::int32_t x, std::int32_t y)
    {
        m_Sim.SetPosition(0, x);
        m_Sim.SetPosition(1, y);
    }
};

// The scripted camera over the simulated table.
class CSimCameraSource : public CCameraSource {
public:
    explicit CSimCameraSource(CControllerSimulator& sim) : m_Sim(sim) {}
    bool HoleOffset(double* dx, double* dy) override
    {
        const auto state = m_Sim.GetState();
        const CCameraOffset offset = ReadCameraOffset();
        return camera.HoleOffset(state.position[0], state.position[1], offset.x, offset.y, dx, dy);
    }
    CSimCamera camera;

private:
    CControllerSimulator& m_Sim;
};

}  // namespace

TEST_F(VisionTest, TheCcdOffsetIsTheCalibrationHoleLessTheCameraPosition)
{
    RegSetLongValue("x1", 5000);
    RegSetLongValue("y1", 6000);
    At(1000, 2000);
    TestHost().QueueAnswer(IDNO);
    EXPECT_EQ(ResetCcdOffset(), 0);
    EXPECT_EQ(RegLong("AX"), -1);
    TestHost().QueueAnswer(IDYES);
    EXPECT_EQ(ResetCcdOffset(), 1);
    EXPECT_EQ(RegLong("AX"), 4000);
    EXPECT_EQ(RegLong("AY"), 4000);
    // Without a camera the program says that the picture's centre is taken.
    EXPECT_EQ(g_StatusText, LoadResString(IDS_NO_CAMERA));
}

TEST_F(VisionTest, TheOriginAdjustsOnAMatchAndKeepsItsCorrectionOtherwise)
{
    FillWindow(g_MeasureDataWnd, {"%", "T1C0.8", "X1.000Y1.000"});
    COwnedList<CLayoutBlock> blocks;
    blocks.push_back(std::make_unique<CLayoutBlock>(0, 0, 2000, 2000));
    StoreCameraOffset(0, 0);
    CMachineViewHooks hooks;
    hooks.connect = [] { return 1; };
    hooks.startTimer = hooks.stopTimer = [] {};
    const auto matchAt = [&](std::int32_t x, std::int32_t y) {
        At(x, y);
        TestHost().QueueDialog(
            [](CDialog& d) { dynamic_cast<CAdjustOriginDlg&>(d).OnMatchHole(); }, IDD_ADJUST_ORIGIN);
        CDrillTextWalk measure(g_MeasureDataWnd);
        AdjustOrigin(measure, blocks, hooks);
    };
    // The hole at 1000 mil: 5080 pulses; the camera sees it 100 pulses off.
    g_CameraOffsetX = 3.0f;
    matchAt(5180, 5080);
    EXPECT_EQ(TestHost().BoxTexts().back(), "Adjust Ok !");
    EXPECT_NEAR(g_CameraOffsetX, 100.0 / 5.08, 1e-3);
    EXPECT_NEAR(g_CameraOffsetY, 0.0, 1e-3);

    const float keptX = g_CameraOffsetX;
    matchAt(5080 + 401, 5080);
    EXPECT_EQ(TestHost().BoxTexts().back(), "Adjust Fail !");
    EXPECT_FLOAT_EQ(g_CameraOffsetX, keptX);
}

// STOP after any command of the calibration hole: nothing more goes to the
// controller after it.
TEST_F(VisionTest, TheCalibrationHoleSendsNothingAfterStop)
{
    m_Sim.SetSurface(5000);
    g_ZTop = 10.0f;
    std::int32_t x = 0, y = 0;
    ASSERT_TRUE(DrillCalibrationHole(ECalibrationHole::LensCalibration, &x, &y));
    EXPECT_EQ(RegLong("x1"), x);
    // A whole run, noting the first pump after each command the controller
    // heard: STOP is pressed there in the runs below, once per command.
    m_Sim.ClearLog();
    std::vector<int> stops;
    NoteStopPoints(stops);
    ASSERT_TRUE(DrillCalibrationHole(ECalibrationHole::AdjustOrigin, &x, &y));
    ASSERT_GT(stops.size(), 5u);
    for (int stopAt : stops) {
        SCOPED_TRACE(stopAt);
        m_Sim.ClearLog();
        std::size_t heard = 0;
        const int before = TestHost().Pumps();
        TestHost().OnPump([&, stopAt, before](int n) {
            if (n - before == stopAt) {
                heard = SettledLog().size();
                g_AbortFlag = 1;
            }
        });
        EXPECT_FALSE(DrillCalibrationHole(ECalibrationHole::AdjustOrigin, &x, &y));
        EXPECT_EQ(SettledLog().size(), heard);
        g_AbortFlag = 0;
    }
}

TEST_F(VisionTest, SamplesTakeTheHoleTheCameraSeesAndStopAt18Sets)
{
    CSimCameraSource source(m_Sim);
    g_CameraSource = &source;
    StoreCameraOffset(100, 0);
    At(5000, 5000);
    // The camera looks at (4900, 5000) and sees a hole 50 and 10 pulses off.
    source.camera.holes.push_back({4950.0, 5010.0});
    RecordVisionTarget(CDPoint(1000.0, 2000.0));
    g_CameraSource = nullptr;
    EXPECT_EQ(g_TargetCount, 1);
    EXPECT_NEAR(g_TargetPoints[0].x, 5080.0, 1e-3);
    EXPECT_NEAR(g_TargetPoints[1].x, 5150.0, 1e-9);
    EXPECT_NEAR(g_TargetPoints[1].y, 5010.0, 1e-9);
    double stored = 0.0;
    RegGetDouble("TC_x1", stored);
    EXPECT_EQ(stored, 5150.0);

    int mode = 0;
    g_TargetCount = 18;
    EXPECT_EQ(StartDrillSampling(&mode), 0);
    EXPECT_EQ(TestHost().BoxTexts().back(), "Out of 18 sets !");
    EXPECT_EQ(mode, 0);
    ClearVisionData();
    EXPECT_EQ(StartDrillSampling(&mode), 1);
    EXPECT_EQ(mode, 1);
}

// ---- Measuring and teach keys ----

class MeasureKeysTest : public VisionTest {
protected:
    void SetUp() override
    {
        VisionTest::SetUp();
        keys.pointA = &a;
        keys.pointB = &b;
        keys.pointC = &c;
        keys.drillSize = &size;
        keys.layout = &layout;
        g_TaughtCorners = CTaughtCorners{};
    }
    CDPoint a, b, c;
    float size = 0.0f;
    CPanelLayout layout;
    CMeasureKeyView keys;
    int speed = 0;
};

TEST_F(MeasureKeysTest, PointsSpeedsAndStrayCodes)
{
    At(1000, 2000);
    MeasureKey(0x001, &speed, keys);
    MeasureKey(0x001, &speed, keys);
    EXPECT_EQ(g_StatusText, "Point A(5,10) mm , Distance 0 mm");
    g_UnitSelector = 2;
    At(1300, 2400);
    MeasureKey(0x001, &speed, keys);
    EXPECT_EQ(g_StatusText, "Point A(1300,2400) pulse , Distance 500 pulse");
    MeasureKey(0x004, &speed, keys);
    EXPECT_EQ(g_StatusText, "Point C(1300,2400) pulse");
    MeasureKey(0x040, &speed, keys);
    EXPECT_EQ(speed, 2);
    EXPECT_EQ(g_StatusText, "Jog Speed 5");
    // Two buttons at once, or none of the ten: nothing.
    MeasureKey(0x003, &speed, keys);
    MeasureKey(0x400, &speed, keys);
    EXPECT_EQ(g_StatusText, "Jog Speed 5");
}

TEST_F(MeasureKeysTest, ABorderTeachRebuildsTheLayoutAsOneCopy)
{
    layout.m_BlockList.push_back(std::make_unique<CLayoutBlock>(0, 0, 10, 10));
    layout.m_BlockList.push_back(std::make_unique<CLayoutBlock>(20, 0, 30, 10));
    layout.m_OutlinePoints.push_back(std::make_unique<POINT>(POINT{7, 7}));
    StoreCameraOffset(508, 0);  // 100 mil
    // The right-bottom corner first, then the left-top: the order does not
    // matter.
    At(5080, 508);
    MeasureKey(0x100, &speed, keys);
    At(508, 2540);
    MeasureKey(0x200, &speed, keys);
    EXPECT_EQ(g_StatusText, "Setup Right-Bottom Border !");
    ASSERT_EQ(layout.m_BlockList.size(), 1u);
    const CLayoutBlock& block = *layout.m_BlockList.front();
    // Pulses become mil in single precision: a mil either way.
    EXPECT_NEAR(g_BoardMinX, 200, 1);
    EXPECT_NEAR(g_BoardMinY, 100, 1);
    EXPECT_NEAR(g_BoardMaxX, 1100, 1);
    EXPECT_NEAR(g_BoardMaxY, 500, 1);
    EXPECT_EQ(block.m_RefCentre, CDPoint((g_BoardMinX + g_BoardMaxX) / 2, (g_BoardMinY + g_BoardMaxY) / 2));
    EXPECT_EQ(block.m_Centre, block.m_RefCentre);
    EXPECT_EQ(block.m_Outline, &layout.m_OutlinePoints);
    ASSERT_EQ(layout.m_OutlinePoints.size(), 7u);
    EXPECT_NEAR(layout.m_OutlinePoints[0]->x, -450, 1);
    EXPECT_NEAR(layout.m_OutlinePoints[0]->y, -200, 1);
    EXPECT_NEAR(layout.m_OutlinePoints[6]->y, 200, 1);
}

TEST_F(MeasureKeysTest, DrillPointsJoinTheirSizesToolOrANewlyNumberedOne)
{
    // Without a board copy there is nowhere to put the point.
    EXPECT_EQ(RecordDrillPoint(keys), 0);
    EXPECT_TRUE(g_HoleList.empty());
    layout.m_BlockList.push_back(std::make_unique<CLayoutBlock>(0, 0, 1000, 1000));
    for (int n : {1, 4}) {
        auto tool = std::make_unique<CDrillTool>();
        tool->toolNumber = n;
        tool->diameter = 20.0f * n;
        g_HoleList.push_back(std::move(tool));
    }
    // Cancel: nothing recorded, the size still to be asked.
    TestHost().QueueDialog([](CDialog& d) {
        d.SetDlgItemText(IDC_NI_VALUE, "0.8");
        d.PressButton(IDCANCEL);
    });
    EXPECT_EQ(RecordDrillPoint(keys), 0);
    EXPECT_EQ(size, 0.0f);
    TestHost().QueueDialog([](CDialog& d) {
        d.SetDlgItemText(IDC_NI_VALUE, "0.8");
        d.PressButton(IDOK);
    });
    At(1016, 2032);
    ASSERT_EQ(RecordDrillPoint(keys), 1);
    At(2032, 2032);
    ASSERT_EQ(RecordDrillPoint(keys), 1);
    ASSERT_EQ(g_HoleList.size(), 3u);
    const CDrillTool& made = *g_HoleList.back();
    EXPECT_EQ(made.toolNumber, 5);
    EXPECT_EQ(made.mode, 1);
    EXPECT_EQ(made.holes.size(), 2u);
    EXPECT_FLOAT_EQ(g_ToolSizes[5], 0.8f * 39.37f);
    // Mirrored about the copy's centre line (y 500): 400 mil up becomes 600.
    EXPECT_NEAR(made.holes[0]->x, 200.0, 1e-3);
    EXPECT_NEAR(made.holes[0]->y, 600.0, 1e-3);
    Lines text;
    for (int n = 0; n < g_MeasureDataWnd.Edit().GetLineCount(); ++n)
        text.push_back(g_MeasureDataWnd.Edit().GetLineText(n));
    const int tableY = static_cast<int>(g_PulsesPerMil * g_TableHeight);
    char y[32];
    std::snprintf(y, sizeof y, "%.3f", (tableY - 2032) / 200.0f);
    EXPECT_EQ(text, (Lines{";Size=0.8 mm", "T5C0.8", std::string("X5.080Y") + y,
                           std::string("X10.160Y") + y}));
}

// ---- The manual locating-hole search ----

namespace {

CMachineViewHooks QuietHooks()
{
    CMachineViewHooks hooks;
    hooks.home = [] {};
    hooks.connect = [] { return 1; };
    hooks.startTimer = hooks.stopTimer = [] {};
    return hooks;
}

}  // namespace

TEST_F(VisionTest, TheSearchHoldsAtEachHoleAndGivesTheJobCodeBackOnEveryWayOut)
{
    // Never shown: nothing happens, and the machine commands come back.
    g_JobCode = 20;
    CDrillTextWalk holes(g_HoleDataWnd, CDrillTextWalk::EUnit::Millimetres);
    RunLocatingHoleSearch(holes, QuietHooks());
    EXPECT_EQ(g_JobCode, 0);

    // In millimetres: 1000, 2000 and 3000 mil along y = 1000 mil.
    FillWindow(g_HoleDataWnd, {"%", "T30C1.25", "X25.4Y25.4", "X50.8Y25.4", "X76.2Y25.4"});
    g_JobCode = 20;
    RunLocatingHoleSearch(holes, QuietHooks());
    EXPECT_EQ(TestHost().BoxTexts(), (Lines{"Next Hole", "Next Hole", "Next Hole"}));
    EXPECT_EQ(g_PositionDlg.Caption(), "Count: 3");
    EXPECT_EQ(g_JobCode, 0);
    Settle();
    Lines moves;
    for (const std::string& line : m_Sim.Log())
        if (line.rfind("33 MA", 0) == 0)
            moves.push_back(line);
    EXPECT_EQ(moves, (Lines{"33 MA5080.0,5080.0", "33 MA10160.0,5080.0", "33 MA15240.0,5080.0",
                            "33 MA0.0,0.0"}));

    // STOP during the walk: the code goes back to 0 all the same.
    g_JobCode = 20;
    TestHost().OnPump([](int) { g_AbortFlag = 1; });
    RunLocatingHoleSearch(holes, QuietHooks());
    EXPECT_EQ(g_JobCode, 0);
    EXPECT_FALSE(g_HoleDataWnd.Edit().GetReadOnly());
    g_AbortFlag = 0;
}

// ---- The Adjust Origin window's buttons ----

TEST_F(VisionTest, AdjustOriginButtonsOffsetMatchMoveAndClose)
{
    CAdjustOriginDlg dialog;
    StoreCameraOffset(300, 400);
    // Match right after opening: the stored offset stands, the matched
    // position is the current one.
    At(7000, 8000);
    TestHost().QueueDialog([](CDialog& d) { d.PressButton(IDC_AO_MATCH_HOLE); }, IDD_ADJUST_ORIGIN);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_HoleX, 300);
    EXPECT_EQ(dialog.m_CamX, 0);
    EXPECT_EQ(dialog.m_MatchX, 7000);
    EXPECT_EQ(dialog.m_MatchY, 8000);

    // Get Offset with the camera right over the drilled hole: no offset.
    dialog.m_HoleX = 7000;
    dialog.m_HoleY = 8000;
    dialog.OnGetOffset();
    EXPECT_EQ(ReadCameraOffset().x, 0);
    EXPECT_EQ(ReadCameraOffset().y, 0);

    // Move goes by minus the offset, but not past the table's zero.
    StoreCameraOffset(300, 9000);
    m_Sim.ClearLog();
    dialog.OnMove();
    StoreCameraOffset(300, 400);
    dialog.OnMove();
    Settle();
    Lines moves;
    for (const std::string& line : m_Sim.Log())
        if (line.find(" MR") != std::string::npos || line.find(" SP") != std::string::npos)
            moves.push_back(line);
    // At the window's 30 mm/s on every axis.
    EXPECT_EQ(moves, (Lines{"66 SP6000.0,6000.0,6000.0", "66 SP6000.0,6000.0,6000.0",
                            "66 MR-300.0,-400.0,0.0"}));

    // The close box stops the machine and ends the window as cancelled.
    m_Sim.ClearLog();
    g_JobCode = 3;
    TestHost().QueueDialog([](CDialog& d) { d.PressButton(IDCANCEL); }, IDD_ADJUST_ORIGIN);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_TRUE(g_AbortFlag);
    EXPECT_EQ(g_JobCode, 0);
    Settle();
    const Lines stop = m_Sim.Log();
    ASSERT_GE(stop.size(), 3u);
    EXPECT_EQ(stop[0].substr(3), "ST");
    EXPECT_EQ(stop[1], "22 O70");
    // STOP pending: a jog press only closes the window.
    m_Sim.ClearLog();
    TestHost().QueueDialog([](CDialog& d) { d.PressButton(IDC_AO_X_PLUS_FAR); }, IDD_ADJUST_ORIGIN);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    Settle();
    EXPECT_TRUE(m_Sim.Log().empty());
    g_AbortFlag = 0;
}

// ---- From the view ----

TEST_F(VisionTest, TheViewsCameraItemsWantAnIdleConnectedMachine)
{
    CVelmDoc doc;
    CVelmView view(doc);
    const unsigned ids[] = {ID_CAMERA_FOCUS,  ID_CLEAR_VISION_TARGETS, ID_VISION_MEASURE,
                            ID_CAMERA_OFFSET, ID_DRILL_CAMERA_HOLE,    ID_SAMPLE_DRILLS};
    const struct {
        int port, job, abort;
        bool enabled;
    } states[] = {{0, 0, 0, true}, {-1, 0, 0, false}, {0, 2, 0, false}, {0, 0, 1, false}};
    for (const auto& s : states) {
        g_PortState = s.port;
        g_JobCode = s.job;
        g_AbortFlag = static_cast<unsigned char>(s.abort);
        for (unsigned id : ids) {
            CCmdUI ui(id);
            ASSERT_TRUE(view.m_Commands.Update(ui));
            EXPECT_EQ(ui.m_Enabled, s.enabled) << id << " port " << s.port << " job " << s.job;
        }
    }
    g_PortState = 0;
    g_JobCode = 0;
    g_AbortFlag = 0;
    view.m_Commands.Run(ID_SAMPLE_DRILLS);
    CCmdUI ui(ID_SAMPLE_DRILLS);
    view.m_Commands.Update(ui);
    EXPECT_EQ(ui.m_Check, 1);
}

TEST_F(VisionTest, TheManualSearchCommandRunsThroughTheGateAndFreesTheMachine)
{
    CVelmDoc doc;
    CVelmView view(doc);
    g_HoleDataWnd.CreateOnce("holes");
    for (const char* line : {"%", "T30C1.25", "X10.0Y10.0", "X20.0Y10.0"})
        g_HoleDataWnd.Edit().WriteLine(line);
    ASSERT_TRUE(view.m_Commands.Run(ID_MANUAL_FIND_HOLES));
    EXPECT_EQ(TestHost().BoxTexts(), (Lines{"Next Hole", "Next Hole"}));
    EXPECT_EQ(g_JobCode, 0);
}
