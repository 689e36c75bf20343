// The Gerber format dialog: what it shows, what clicks change at once and
// what OK stores.
#include "resource_ids.h"
#include "settings/gerber_format_dlg.h"
#include "settings/registry.h"
#include "support/scripted_host.h"

#include <gtest/gtest.h>

namespace {

TEST(GerberFormatDlg, ShowsTheMembersAndStoresThemOnOk)
{
    g_GerberFormatDlg.UnitInt = 3;
    g_GerberFormatDlg.ZeroSup = 1;
    TestHost().QueueDialog(
        [](CDialog& d) {
            EXPECT_EQ(d.GetLBText(IDC_GF_UNIT_INT, d.GetCurSel(IDC_GF_UNIT_INT)), "3");
            EXPECT_EQ(d.GetLBText(IDC_GF_UNIT_DEC, d.GetCurSel(IDC_GF_UNIT_DEC)), "3");
            EXPECT_EQ(d.GetCount(IDC_GF_UNIT_DEC), 7);
            EXPECT_EQ(d.IsDlgButtonChecked(IDC_GF_ZERO_TRAILING), 1);
            EXPECT_EQ(d.IsDlgButtonChecked(IDC_GF_ZERO_LEADING), 0);
            EXPECT_EQ(d.IsDlgButtonChecked(IDC_GF_AREA_FILL), 1);
            d.PressButton(IDC_GF_METRIC);
            d.PressButton(IDC_GF_ZERO_NONE);
            d.PressButton(IDC_GF_AREA_FILL);
            EXPECT_EQ(d.IsDlgButtonChecked(IDC_GF_ZERO_TRAILING), 0);
            EXPECT_EQ(d.IsDlgButtonChecked(IDC_GF_AREA_FILL), 0);
            d.SetCurSel(IDC_GF_UNIT_DEC, 5);
            d.PressButton(IDOK);
        },
        IDD_GERBER_FORMAT);
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
            d.PressButton(IDC_GF_GROUP_FLAG);
            d.PressButton(IDC_GF_METRIC);
            d.PressButton(IDC_GF_ZERO_NONE);
            d.SetCurSel(IDC_GF_UNIT_INT, 4);
            d.PressButton(IDCANCEL);
        },
        IDD_GERBER_FORMAT);
    EXPECT_EQ(g_GerberFormatDlg.DoModal(), IDCANCEL);
    const CGerberFormatDlg fresh;  // from the registry: nothing was stored
    EXPECT_EQ(fresh.GroupFlag, 0);
    EXPECT_EQ(g_GerberFormatDlg.GroupFlag, 0);
    EXPECT_EQ(g_GerberFormatDlg.InchMM, fresh.InchMM);
    EXPECT_EQ(g_GerberFormatDlg.ZeroSup, fresh.ZeroSup);
    EXPECT_EQ(g_GerberFormatDlg.UnitInt, 2);

    // A copy answers its own clicks; OK keeps them.
    CGerberFormatDlg copy = g_GerberFormatDlg;
    TestHost().QueueDialog(
        [](CDialog& d) {
            d.PressButton(IDC_GF_LARGE_AREA);
            d.PressButton(IDOK);
        },
        IDD_GERBER_FORMAT);
    copy.DoModal();
    EXPECT_EQ(copy.LargeArea, 1);
    EXPECT_EQ(g_GerberFormatDlg.LargeArea, 0);
}

}  // namespace
