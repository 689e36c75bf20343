// The drill format dialog: what it shows, what its buttons change at once,
// and that only OK stores the format.
#include "settings/drill_format_dlg.h"

#include "resource_ids.h"
#include "settings/registry.h"
#include "support/scripted_host.h"

#include <gtest/gtest.h>

namespace {

const char* const kNames[] = {"dUnitInt", "dUnitDec", "dInchMM", "dInchMMSize",
                              "dAbsRel",  "dZeroSup", "dAutoFormat"};

int Stored(const char* name)
{
    int value = -99;
    RegGetInt(name, value);
    return value;
}

int RunFormat(std::function<void(CDialog&)> script)
{
    TestHost().QueueDialog(std::move(script), IDD_DRILL_FORMAT);
    return g_DrillFormatDlg.DoModal();
}

}  // namespace

TEST(DrillFormatDlg, ConstructionTakesTheStoredValuesOverTheDefaults)
{
    CDrillFormatDlg defaults;
    EXPECT_EQ(defaults.dUnitInt, 2);
    EXPECT_EQ(defaults.dUnitDec, 4);
    EXPECT_EQ(defaults.dZeroSup, 1);
    EXPECT_EQ(defaults.dAutoFormat, 0);

    RegSetInt("dUnitInt", 3);
    RegSetInt("dZeroSup", 0);
    RegSetInt("dInchMMSize", 1);
    CDrillFormatDlg stored;
    EXPECT_EQ(stored.dUnitInt, 3);
    EXPECT_EQ(stored.dZeroSup, 0);
    EXPECT_EQ(stored.dInchMMSize, 1);
    EXPECT_EQ(stored.dUnitDec, 4);  // missing: the default stays
}

TEST(DrillFormatDlg, ShowsTheFormatAndOkStoresAllSeven)
{
    g_DrillFormatDlg.dUnitInt = 3;
    g_DrillFormatDlg.dUnitDec = 3;
    g_DrillFormatDlg.dInchMM = 1;
    g_DrillFormatDlg.dZeroSup = 2;
    g_DrillFormatDlg.dAutoFormat = 1;
    EXPECT_EQ(RunFormat([](CDialog& d) {
                  EXPECT_EQ(d.GetCount(IDC_DF_UNIT_INT), 5);
                  EXPECT_EQ(d.GetCount(IDC_DF_UNIT_DEC), 7);
                  EXPECT_EQ(d.GetLBText(IDC_DF_UNIT_INT, d.GetCurSel(IDC_DF_UNIT_INT)), "3");
                  EXPECT_EQ(d.GetLBText(IDC_DF_UNIT_DEC, d.GetCurSel(IDC_DF_UNIT_DEC)), "3");
                  EXPECT_EQ(d.IsDlgButtonChecked(IDC_DF_COORD_MM), 1);
                  EXPECT_EQ(d.IsDlgButtonChecked(IDC_DF_COORD_INCH), 0);
                  EXPECT_EQ(d.IsDlgButtonChecked(IDC_DF_SIZE_INCH), 1);
                  EXPECT_EQ(d.IsDlgButtonChecked(IDC_DF_NONE), 1);
                  EXPECT_EQ(d.IsDlgButtonChecked(IDC_DF_ABSOLUTE), 1);
                  EXPECT_EQ(d.IsDlgButtonChecked(IDC_DF_AUTO_FORMAT), 1);

                  d.SetCurSel(IDC_DF_UNIT_INT, 1);  // "2"
                  d.SetCurSel(IDC_DF_UNIT_DEC, 5);  // "5"
                  d.PressButton(IDC_DF_LEADING);
                  EXPECT_EQ(d.IsDlgButtonChecked(IDC_DF_NONE), 0);
                  EXPECT_EQ(d.IsDlgButtonChecked(IDC_DF_LEADING), 1);
                  d.PressButton(IDC_DF_COORD_INCH);
                  d.PressButton(IDC_DF_SIZE_MM);
                  d.PressButton(IDC_DF_RELATIVE);
                  d.PressButton(IDC_DF_AUTO_FORMAT);
                  EXPECT_EQ(d.IsDlgButtonChecked(IDC_DF_AUTO_FORMAT), 0);
                  d.PressButton(IDOK);
              }),
              IDOK);
    const int expected[] = {2, 5, 0, 1, 1, 0, 0};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(Stored(kNames[i]), expected[i]) << kNames[i];
    EXPECT_EQ(g_DrillFormatDlg.dUnitInt, 2);
    EXPECT_EQ(g_DrillFormatDlg.dUnitDec, 5);
    EXPECT_EQ(g_DrillFormatDlg.dZeroSup, 0);
}

TEST(DrillFormatDlg, CancelGivesBackWhatTheButtonsChanged)
{
    g_DrillFormatDlg.dZeroSup = 0;
    EXPECT_EQ(RunFormat([](CDialog& d) {
                  d.PressButton(IDC_DF_TRAILING);
                  d.PressButton(IDC_DF_COORD_MM);
                  d.PressButton(IDC_DF_AUTO_FORMAT);
                  d.SetCurSel(IDC_DF_UNIT_INT, 4);
                  d.PressButton(IDCANCEL);
              }),
              IDCANCEL);
    const CDrillFormatDlg fresh;
    EXPECT_EQ(g_DrillFormatDlg.dZeroSup, 0);
    EXPECT_EQ(g_DrillFormatDlg.dInchMM, fresh.dInchMM);
    EXPECT_EQ(g_DrillFormatDlg.dAutoFormat, fresh.dAutoFormat);
    EXPECT_EQ(g_DrillFormatDlg.dUnitInt, 2);
    for (const char* name : kNames)
        EXPECT_EQ(Stored(name), -99) << name;
}
