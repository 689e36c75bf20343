// The notice and progress windows driven without a window.
#include "link/link_state.h"
#include "resource_ids.h"
#include "support/language.h"
#include "support/scripted_host.h"
#include "ui/message_dlg.h"
#include "ui/progress_dlg.h"

#include <gtest/gtest.h>

TEST(ProgressPercent, ShareModulo100UnlessExactly100)
{
    struct Case {
        int position, lower, upper;
        const char* text;
    } cases[] = {
        {37, 0, 100, "37%"},  {100, 0, 100, "100%"}, {150, 0, 100, "50%"},
        {0, 0, 100, "0%"},    {200, 0, 100, "0%"},   {5, 0, 10, "50%"},
        {15, 10, 20, "50%"},  {7, 5, 5, "0%"},  // an empty range shows 0%
    };
    for (const Case& c : cases)
        EXPECT_EQ(ProgressPercentText(c.position, c.lower, c.upper), c.text)
            << c.position << " in " << c.lower << ".." << c.upper;
}

TEST(ProgressDlg, BarsPercentTextsCaptionAndCancel)
{
    ASSERT_TRUE(LoadLanguageLibraryForTest());
    CProgressDlg dlg;
    ASSERT_EQ(dlg.Create(), 1);
    EXPECT_TRUE(dlg.IsVisible());
    EXPECT_EQ(dlg.Caption(), "Calculation progress");
    EXPECT_EQ(dlg.GetDlgItemText(IDC_PROGRESS_LINK_PERCENT), " 0 %");  // the template's start text
    EXPECT_EQ(dlg.WindowOffsetX(), 100);
    int pumps = TestHost().Pumps();
    EXPECT_EQ(dlg.SetPos(3, 37), 0);
    EXPECT_GT(TestHost().Pumps(), pumps);  // drains the queue
    EXPECT_EQ(dlg.GetDlgItemText(IDC_PROGRESS_LINK_PERCENT), "37%");
    EXPECT_EQ(dlg.FindControl(IDC_PROGRESS_LINK_BAR)->position, 37);
    EXPECT_EQ(dlg.SetPos(3, 150), 37);
    EXPECT_EQ(dlg.GetDlgItemText(IDC_PROGRESS_LINK_PERCENT), "50%");
    EXPECT_EQ(dlg.SetPos(1, 100), 0);
    EXPECT_EQ(dlg.GetDlgItemText(IDC_PROGRESS_X_PERCENT), "100%");
    EXPECT_EQ(dlg.SetPos(5, 10), 0);  // no bar 5: nothing changes
    EXPECT_EQ(dlg.SetPos(0, 10), 0);

    EXPECT_EQ(dlg.CheckCancelButton(), 0);
    dlg.PressButton(IDCANCEL);
    EXPECT_TRUE(dlg.IsWindow());  // Cancel only raises the flag
    EXPECT_EQ(dlg.CheckCancelButton(), 1);
    EXPECT_EQ(dlg.CheckCancelButton(), 0);
    dlg.PressButton(IDOK);  // Enter does not close it
    EXPECT_TRUE(dlg.IsWindow());
    dlg.DestroyWindow();
    EXPECT_FALSE(dlg.IsWindow());
}

TEST(ProgressDlg, ChineseHasNoCaptionTextAndCancelWorksWhileAborting)
{
    CProgressDlg dlg;
    ASSERT_EQ(dlg.Create(), 1);
    EXPECT_EQ(dlg.Caption(), "");
    g_AbortFlag = 1;
    int pumps = TestHost().Pumps();
    dlg.CheckCancelButton();
    EXPECT_GT(TestHost().Pumps(), pumps);  // drains even while aborting
}

TEST(MessageDlg, ShowsWholeTextsAndComesBackAfterBeingClosed)
{
    CMessageDlg notice;
    EXPECT_EQ(notice.Shown(), 0);
    notice.ShowF("Reading %s (%d)", "top.gbr", 3);
    EXPECT_EQ(notice.Shown(), 1);
    EXPECT_TRUE(notice.IsVisible());
    EXPECT_EQ(notice.GetDlgItemText(IDC_MESSAGE_TEXT), "Reading top.gbr (3)\r\n");
    // Far longer than the old 49-character field: kept whole.
    std::string path(300, 'x');
    notice.ShowF("%s", path.c_str());
    EXPECT_EQ(notice.GetDlgItemText(IDC_MESSAGE_TEXT), path + "\r\n");
    // A "%" in the argument is text, not a directive.
    notice.ShowF("%s", "50% done");
    EXPECT_EQ(notice.Text(), "50% done\r\n");
    notice.PressButton(IDCANCEL);  // the operator closes it
    EXPECT_EQ(notice.Shown(), 0);
    notice.ShowId(IDS_CANCELLED);
    EXPECT_EQ(notice.Shown(), 1);
    EXPECT_EQ(notice.GetDlgItemText(IDC_MESSAGE_TEXT), "取消 !");
    EXPECT_EQ(TestHost().DialogsShown(), (std::vector<unsigned>{IDD_MESSAGE, IDD_MESSAGE}));
}

TEST(MessageDlg, NoPumpingWhileAborting)
{
    CMessageDlg notice;
    g_AbortFlag = 1;
    notice.ShowF("stopping");
    EXPECT_EQ(TestHost().Pumps(), 0);
    EXPECT_EQ(notice.Text(), "stopping\r\n");
}
