// The board window's keys: what each key does in which mode and stage, the
// held-key letters, and the drill list rebuilt from measured points.
#include "view_fixture.h"

#include "link/link_state.h"
#include "platform/resources.h"
#include "resource_ids.h"
#include "settings/layer_dlg.h"
#include "settings/machine_param_dlg.h"
#include "settings/machine_settings.h"
#include "support/scripted_host.h"
#include "ui/cmd_ui.h"
#include "ui/edit_wnd.h"

namespace {

class KeyTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        doc->m_WorkStage = 1;
        view->m_Commands.OnCommand(ID_MACHINE_DRILL, [this] { ++drills; });
        view->m_Commands.OnCommand(ID_MACHINE_ROUTE, [this] { ++routes; });
        for (unsigned id : {ID_MACHINE_DRILL, ID_MACHINE_ROUTE})
            view->m_Commands.OnUpdateCommand(id, [](CCmdUI& ui) { ui.Enable(true); });
    }
    int drills = 0;
    int routes = 0;
};

}  // namespace

TEST_F(KeyTest, TheCopperLineWidthStaysBetweenSixAndTwoHundredAndTwo)
{
    view->m_CopperLineMode = 1;
    struct Case {
        unsigned key;
        int presses;
        int width;
    } cases[] = {
        {VK_UP, 200, 202},          // from 12, stops at 202
        {VK_SUBTRACT, 1, 200},      // the numeric pad's minus
        {VK_OEM_PLUS, 1, 202},      // the main keyboard's plus
        {VK_ADD, 1, 202},
        {VK_DOWN, 200, 6},
        {VK_OEM_MINUS, 1, 6},
    };
    for (const Case& c : cases) {
        for (int i = 0; i < c.presses; ++i)
            view->OnKeyDown(c.key);
        EXPECT_EQ(view->m_CopperLineWidth, c.width) << c.key;
    }
    EXPECT_EQ(g_StatusText, FormatText(LoadResString(IDS_COPPER_WIDTH).c_str(), 6));
}

TEST_F(KeyTest, OnlyTheNumericPadPlusStartsDrillingUnderItsFourConditions)
{
    struct Case {
        const char* what;
        unsigned key;
        int stage, fixedPlunge, job, port;
        int drills, routes;
    } cases[] = {
        {"numeric pad plus", VK_ADD, 3, 1, 0, 0, 1, 0},
        {"main plus", VK_OEM_PLUS, 3, 1, 0, 0, 0, 0},
        {"insert", VK_INSERT, 3, 1, 0, 0, 0, 1},
        {"edit stage", VK_ADD, 1, 1, 0, 0, 0, 0},
        {"no fixed plunge", VK_ADD, 3, 0, 0, 0, 0, 0},
        {"a job runs", VK_INSERT, 3, 1, 5, 0, 0, 0},
        {"no port", VK_ADD, 3, 1, 0, -1, 0, 0},
        // Z no longer opens the port for the next key.
        {"no port after Z", 'Z', 3, 1, 0, -1, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        drills = routes = 0;
        doc->m_WorkStage = std::uint8_t(c.stage);
        g_FixedPlungeMode = c.fixedPlunge;
        g_JobCode = c.job;
        g_PortState = c.port;
        view->OnKeyDown(c.key);
        if (c.key == 'Z')
            view->OnKeyDown(VK_ADD);
        EXPECT_EQ(drills, c.drills);
        EXPECT_EQ(routes, c.routes);
    }
    g_JobCode = 0;
}

TEST_F(KeyTest, ZAndF11LeaveThePortClosed)
{
    g_PortState = -1;
    view->OnKeyDown('Z');
    view->OnKeyDown(VK_F1 + 10);
    EXPECT_EQ(g_PortState, -1);
}

TEST_F(KeyTest, HeldKeyLettersLatchUntilTheNextRelease)
{
    struct Case {
        unsigned key;
        int CVelmView::*flag;
    } cases[] = {{'T', &CVelmView::m_KeyTab},   {VK_TAB, &CVelmView::m_KeyTab},
                 {'C', &CVelmView::m_KeyCtrl},  {'D', &CVelmView::m_KeyCtrl},
                 {VK_CONTROL, &CVelmView::m_KeyCtrl}, {'S', &CVelmView::m_KeyShift},
                 {'R', &CVelmView::m_KeyShift}, {VK_SHIFT, &CVelmView::m_KeyShift}};
    for (const Case& c : cases) {
        view->m_KeyTab = view->m_KeyCtrl = view->m_KeyShift = 0;
        view->OnKeyDown(c.key);
        EXPECT_EQ((*view).*c.flag, 1) << c.key;
        view->OnKeyUp(c.key);
        // A letter stays set; the modifier key itself clears on release.
        const bool letter = c.key >= 'A' && c.key <= 'Z';
        EXPECT_EQ((*view).*c.flag, letter ? 1 : 0) << c.key;
    }
    view->m_KeyCtrl = view->m_KeyShift = 0;
    view->OnKeyDown('C');
    view->OnKeyUp('C');
    view->OnLButtonDown(0, POINT{10, 10});
    EXPECT_EQ(view->m_KeyCtrl, 1);
    view->OnLButtonUp(0, POINT{10, 10});
    EXPECT_EQ(view->m_KeyCtrl, 0);
    // In a manual drilling run a released letter no longer asks for a hole.
    view->m_ManualDrillMode = 1;
    view->OnKeyDown('D');
    view->OnKeyUp('D');
    EXPECT_EQ(view->m_KeyCtrl, 0);
    view->m_ManualDrillMode = 0;
}

TEST_F(KeyTest, EscapeEndsThePickAndBlockModesButNotTheSampling)
{
    view->m_DrillAlignMode = view->m_PressState = view->m_BlockPicking = 1;
    view->m_EditList.push_back(view.get());
    view->OnKeyDown(VK_ESCAPE);
    EXPECT_EQ(view->m_DrillAlignMode, 0);
    EXPECT_EQ(view->m_BlockPicking, 0);
    EXPECT_TRUE(view->m_EditList.empty());

    view->m_BlockMoveMode = view->m_BlockRotateMode = view->m_SampleDrillMode = 1;
    view->m_PressState = 1;
    view->m_EditList.push_back(view.get());
    view->OnKeyDown(VK_ESCAPE);
    EXPECT_EQ(view->m_BlockMoveMode, 0);
    EXPECT_EQ(view->m_BlockRotateMode, 0);
    EXPECT_EQ(view->m_SampleDrillMode, 1);
    EXPECT_EQ(view->m_PressState, 0);
    EXPECT_TRUE(view->m_EditList.empty());
}

TEST_F(KeyTest, EditStageKeysAndJoggingKeys)
{
    const int solid = g_SolidLineView;
    view->OnKeyDown(VK_F1 + 4);   // F5
    EXPECT_EQ(g_SolidLineView, !solid);
    view->OnKeyDown(VK_F1 + 5);   // F6
    EXPECT_EQ(view->m_CopperHighlight, 1);
    // U with no snapshot says so and changes nothing.
    view->OnKeyDown('U');
    ASSERT_EQ(TestHost().BoxTexts().size(), 1u);
    EXPECT_EQ(TestHost().BoxTexts()[0], "No Undo Data !");

    view->m_JoystickOn = 1;
    g_XYPulsesPerMM = 200.0f;
    for (auto [key, step] : {std::pair{'3', 200}, {'1', 2}, {'5', 4000}}) {
        view->OnKeyDown(unsigned(key));
        EXPECT_EQ(g_JogStep, step);
    }
    // The teach keys, letter or function key, take the machine's position
    // as the measuring points.
    g_MachineX = 1200;
    g_MachineY = 800;
    view->OnKeyDown('A');
    EXPECT_EQ(view->m_MeasurePointA, CDPoint(1200, 800));
    g_MachineX = 1500;
    view->OnKeyDown(VK_F1 + 1);  // F2
    EXPECT_EQ(view->m_MeasurePointB, CDPoint(1500, 800));
    view->OnKeyDown(VK_ESCAPE);
    EXPECT_EQ(view->m_JoystickOn, 0);
    // Keys that match nothing do nothing.
    view->OnKeyDown('Q');
    view->OnKeyDown(0x5D);
}

TEST_F(KeyTest, MeasuredHolesReplaceTheDrillListOnlyWhenAgreed)
{
    AddDrillTool(g_HoleList, 1, 20, 1, {CDPoint(1, 1)});
    view->m_JoystickOn = 1;
    g_TableHeight = 10000;
    g_MeasureDataWnd.CreateOnce("measure");
    // No layout copy yet: refused.
    view->OnKeyDown('R');
    ASSERT_EQ(TestHost().BoxTexts().size(), 1u);
    EXPECT_EQ(TestHost().BoxTexts()[0], LoadResString(IDS_NEEDS_LAYOUT_BLOCK));
    auto block = std::make_unique<CLayoutBlock>(0, 0, 1000, 1000);
    doc->m_PanelLayout.m_BlockList.push_back(std::move(block));

    // A text without holes changes nothing.
    g_MeasureDataWnd.m_Edit.WriteLineF("%%");
    view->OnKeyDown('R');
    EXPECT_EQ(TestHost().BoxTexts().back(), LoadResString(IDS_MEASURED_HOLES_NONE));
    ASSERT_EQ(g_HoleList.size(), 1u);

    // Holes, but the operator says no: nothing changes.
    g_MeasureDataWnd.m_Edit.WriteLineF("T1C1.0");
    g_MeasureDataWnd.m_Edit.WriteLineF("X10.0Y250.0");
    g_MeasureDataWnd.m_Edit.WriteLineF("X20.0Y250.0");
    TestHost().QueueAnswer(IDNO);
    view->OnKeyDown('R');
    ASSERT_EQ(g_HoleList.size(), 1u);
    EXPECT_EQ(g_HoleList[0]->diameter, 20.0f);

    TestHost().QueueAnswer(IDYES);
    view->OnKeyDown('R');
    ASSERT_EQ(g_HoleList.size(), 1u);
    EXPECT_NEAR(g_HoleList[0]->diameter, 39.37f, 0.01);
    ASSERT_EQ(g_HoleList[0]->holes.size(), 2u);
    // x 10 mm; y measured from the table's far edge and mirrored about the
    // copy's centre line (500): 2 * 500 - (10000 - 250 * 39.37).
    EXPECT_NEAR(g_HoleList[0]->holes[0]->x, 393.7, 0.01);
    EXPECT_NEAR(g_HoleList[0]->holes[0]->y, 1000 - (10000 - 9842.5), 0.05);
    EXPECT_NEAR(g_HoleList[0]->holes[1]->x, 787.4, 0.01);
}
