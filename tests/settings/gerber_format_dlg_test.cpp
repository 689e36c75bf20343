// The Gerber format dialog: what it shows, what clicks change at once and
// what OK stores.
#include "settings/gerber_format_dlg.h"
#include "settings/registry.h"
#include "support/scripted_host.h"

#include <gtest/gtest.h>

namespace {

using D = CGerberFormatDlg;

TEST(GerberFormatDlg, ShowsTheMembersAndStoresThemOnOk)
{
    g_GerberFormatDlg.UnitInt = 3;
    g_GerberFormatDlg.ZeroSup = 1;
    TestHost().QueueDialog(
        [](CDialog& d) {
            EXPECT_EQ(d.GetLBText(D::IDC_UNIT_INT, d.GetCurSel(D::IDC_UNIT_INT)), "3");
            EXPECT_EQ(d.GetLBText(D::IDC_UNIT_DEC, d.GetCurSel(D::IDC_UNIT_DEC)), "3");
            EXPECT_EQ(d.GetCount(D::IDC_UNIT_DEC), 7);
            EXPECT_EQ(d.IsDlgButtonChecked(D::IDC_ZERO_TRAILING), 1);
            EXPECT_EQ(d.IsDlgButtonChecked(D::IDC_ZERO_LEADING), 0);
            EXPECT_EQ(d.IsDlgButtonChecked(D::IDC_AREA_FILL), 1);
            d.PressButton(D::IDC_METRIC);
            d.PressButton(D::IDC_ZERO_NONE);
            d.PressButton(D::IDC_AREA_FILL);
            EXPECT_EQ(d.IsDlgButtonChecked(D::IDC_ZERO_TRAILING), 0);
            EXPECT_EQ(d.IsDlgButtonChecked(D::IDC_AREA_FILL), 0);
            d.SetCurSel(D::IDC_UNIT_DEC, 5);
            d.PressButton(1);
        },
        D::IDD);
    EXPECT_EQ(g_GerberFormatDlg.DoModal(), IDOK);
    EXPECT_EQ(g_GerberFormatDlg.InchMM, 1);
    EXPECT_EQ(g_GerberFormatDlg.ZeroSup, 2);
    EXPECT_EQ(g_GerberFormatDlg.AreaFill, 0);
    EXPECT_EQ(g_GerberFormatDlg.UnitDec, 5);

    // A fresh object reads what OK stored.
    CGerberFormatDlg stored;
    EXPECT_EQ(stored.UnitInt, 3);
    EXPECT_EQ(stored.UnitDec, 5);
    EXPECT_EQ(stored.ZeroSup, 2);
    EXPECT_EQ(stored.AreaFill, 0);
    EXPECT_EQ(stored.OverlapDelete, 1);
}

TEST(GerberFormatDlg, CancelGivesBackWhatTheButtonsChangedAndStoresNothing)
{
    TestHost().QueueDialog(
        [](CDialog& d) {
            d.PressButton(D::IDC_GROUP_FLAG);
            d.PressButton(D::IDC_METRIC);
            d.PressButton(D::IDC_ZERO_NONE);
            d.SetCurSel(D::IDC_UNIT_INT, 4);
            d.PressButton(2);
        },
        D::IDD);
    EXPECT_EQ(g_GerberFormatDlg.DoModal(), IDCANCEL);
    const CGerberFormatDlg fresh;  // from the registry: nothing was stored
    EXPECT_EQ(fresh.GroupFlag, 0);
    EXPECT_EQ(g_GerberFormatDlg.GroupFlag, 0);
    EXPECT_EQ(g_GerberFormatDlg.InchMM, fresh.InchMM);
    EXPECT_EQ(g_GerberFormatDlg.ZeroSup, fresh.ZeroSup);
    EXPECT_EQ(g_GerberFormatDlg.UnitInt, 2);

    // A copy answers its own clicks; OK keeps them.
    CGerberFormatDlg copy = g_GerberFormatDlg;
    TestHost().QueueDialog([](CDialog& d) { d.PressButton(D::IDC_LARGE_AREA); d.PressButton(1); }, D::IDD);
    copy.DoModal();
    EXPECT_EQ(copy.LargeArea, 1);
    EXPECT_EQ(g_GerberFormatDlg.LargeArea, 0);
}

}  // namespace
