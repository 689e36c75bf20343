// The view's drilling entries: the drill selection command edits the modes
// of the job's drill tools through the drilling settings window, and the
// drilling jobs are the view's runners of their job codes.
#include "link/job_codes.h"
#include "link/link_state.h"
#include "records/board_records.h"
#include "resource_ids.h"
#include "support/scripted_host.h"
#include "ui/cmd_ui.h"
#include "ui/command_router.h"
#include "ui/edit_wnd.h"
#include "view_fixture.h"

#include <gtest/gtest.h>

namespace {

class DrillCommandsTest : public ViewTest {
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        g_ControllerKind = -1;
        g_PositionPollOff = 1;
        g_HoleList.clear();
    }
    void TearDown() override
    {
        g_HoleList.clear();
        ViewTest::TearDown();
    }
};

// Enabled only with drill tools; the window shows the list, OK takes the
// edited markers, Cancel changes nothing.
TEST_F(DrillCommandsTest, DrillSelectionEditsTheModes)
{
    CCmdUI ui(ID_MACHINE_DRILL_SELECTION);
    CommandRouter().UpdateCommandUI(ui);
    EXPECT_FALSE(ui.m_Enabled);

    AddDrillTool(g_HoleList, 1, 20, 1, {CDPoint(10, 10)});
    AddDrillTool(g_HoleList, 11, 40, 1, {CDPoint(20, 20), CDPoint(30, 30)});
    CommandRouter().UpdateCommandUI(ui);
    EXPECT_TRUE(ui.m_Enabled);

    std::string shown;
    TestHost().QueueDialog(
        [&shown](CDialog& dlg) {
            shown = dlg.GetDlgItemText(IDC_DL_TEXT);
            dlg.SetDlgItemText(IDC_DL_TEXT, "T1 (20mil)\r\n#T11 (40mil)(2)[3]\r\n");
            dlg.PressButton(IDOK);
        },
        IDD_DRILL_LIST);
    ASSERT_TRUE(CommandRouter().Dispatch(ID_MACHINE_DRILL_SELECTION));
    EXPECT_EQ(shown, "T1 (20mil)(0.51mm)(1)[1]\r\nT11 (40mil)(1mm)(2)[1]\r\n");
    EXPECT_EQ(g_HoleList[0]->mode, 1);
    EXPECT_EQ(g_HoleList[1]->mode, (3 << 4) | 3);

    TestHost().QueueDialog(
        [](CDialog& dlg) {
            dlg.SetDlgItemText(IDC_DL_TEXT, ";T1\r\n;T11\r\n");
            dlg.PressButton(IDCANCEL);
        },
        IDD_DRILL_LIST);
    CommandRouter().Dispatch(ID_MACHINE_DRILL_SELECTION);
    EXPECT_EQ(g_HoleList[0]->mode, 1);
    EXPECT_EQ(g_HoleList[1]->mode, (3 << 4) | 3);
}

// The drilling jobs run as the view's runners; with nothing to drill, or
// with the registration-hole window hidden, they end before anything moves
// or any message is shown.
TEST_F(DrillCommandsTest, DrillingJobsAreTheViewsRunners)
{
    for (int code : {JOB_DRILL, JOB_DRILL_REG_HOLES, JOB_ENGRAVE_REG_HOLES, JOB_DRILL_PREVIEW})
        EXPECT_EQ(view->m_JobRunners.count(code), 1u) << code;
    g_HoleDataWnd.ShowWindow(false);
    view->m_LargeHoleMode = 1;
    for (int code : {JOB_DRILL, JOB_DRILL_REG_HOLES, JOB_ENGRAVE_REG_HOLES}) {
        g_JobCode = code;
        view->RunJobRunner(code, 1);
    }
    EXPECT_TRUE(TestHost().BoxTexts().empty());
    EXPECT_TRUE(TestHost().DialogsShown().empty());
    EXPECT_EQ(view->m_LargeHoleMode, 0);
    g_JobCode = 0;
}

}  // namespace
