// The machine dialogs that need no controller: the numeric input, the
// console's axis digit, the jog travel clamp, the engraving depth, the drill
// list and the plunge-mode window with its command.
#include "machining/command_dlg.h"
#include "machining/depth_dlg.h"
#include "machining/drill_list_dlg.h"
#include "machining/fixed_plunge_dlg.h"
#include "machining/input_signal_dlg.h"
#include "machining/jog_dlg.h"
#include "machining/manual_moves.h"
#include "machining/number_input_dlg.h"

#include "platform/program_objects.h"
#include "platform/program_state.h"
#include "platform/settings_store.h"
#include "resource_ids.h"
#include "settings/machine_settings.h"
#include "settings/registry.h"
#include "settings/system_settings_dlg.h"
#include "support/scripted_host.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

TEST(NumberInputDlg, ShowsThePromptAndGivesBackTheTextOnOkOnly)
{
    CNumberInputDlg dlg;
    dlg.m_Prompt = "往回加工筆數";
    TestHost().QueueDialog(
        [](CDialog& d) {
            EXPECT_EQ(d.GetDlgItemText(IDC_NI_PROMPT), "往回加工筆數");
            d.SetDlgItemText(IDC_NI_VALUE, "12x");
            d.PressButton(IDOK);
        },
        IDD_NUMBER_INPUT);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_Value, "12x");  // text: the caller judges it

    TestHost().QueueDialog(
        [](CDialog& d) {
            d.SetDlgItemText(IDC_NI_VALUE, "5");
            d.PressButton(IDCANCEL);
        },
        IDD_NUMBER_INPUT);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_EQ(dlg.m_Value, "12x");
}

TEST(CommandDlg, AxisDigitOfTheChecks)
{
    struct Case {
        int x, y, z, digit;
    } cases[] = {
        {0, 0, 0, -1}, {1, 0, 0, 0}, {0, 1, 0, 1}, {0, 0, 1, 2},
        {1, 1, 0, 3},  {1, 0, 1, 4}, {0, 1, 1, 5}, {1, 1, 1, 6},
    };
    for (const Case& c : cases) {
        CCommandDlg dlg;
        dlg.m_AxisX = c.x;
        dlg.m_AxisY = c.y;
        dlg.m_AxisZ = c.z;
        EXPECT_EQ(ConsoleAxisDigit(dlg.m_AxisX, dlg.m_AxisY, dlg.m_AxisZ), c.digit)
            << c.x << c.y << c.z;
    }
}

TEST(JogTravel, DistanceIsCutAtTheEndsOfTheTravel)
{
    struct Case {
        long position, distance, limit, moved;
    } cases[] = {
        {600, -2000, 60000, -600},    // 3 mm from X 0 with a 10 mm step
        {5000, -2000, 60000, -2000},
        {59000, 2000, 60000, 1000},   // stops at the far end
        {60000, 2000, 60000, 0},
        {0, -200, 5800, 0},           // Z at home goes no higher
        {5700, 200, 5800, 100},       // nor deeper than its travel
        {-50, -100, 60000, 0},        // already outside: never further out
        {61000, 100, 60000, 0},
        {-50, 100, 60000, 100},       // but back in is fine
        {61000, -100, 60000, -100},   // by the step, not to the end
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClampJogDistance(c.position, c.distance, c.limit), c.moved)
            << c.position << " " << c.distance << " " << c.limit;
}

TEST(EngraveDepthDlg, StartsAtNinetyMicronsAndReturnsTheTypedPulses)
{
    g_ZPulsesPerMM = 200.0f;
    CEngraveDepthDlg dlg;
    dlg.m_Depth = DefaultEngraveDepthPulses();
    EXPECT_EQ(dlg.m_Depth, 18);
    TestHost().QueueDialog(
        [](CDialog& d) {
            EXPECT_EQ(d.GetDlgItemText(IDC_ED_DEPTH), "18");
            d.SetDlgItemText(IDC_ED_DEPTH, "2.5");  // pulses are whole
            d.PressButton(IDOK);
            EXPECT_TRUE(d.IsWindow());
            d.SetDlgItemText(IDC_ED_DEPTH, "25");
            d.PressButton(IDOK);
        },
        IDD_ENGRAVE_DEPTH);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_Depth, 25);
}

TEST(DrillListDlg, TheEditedLinesComeBackWhole)
{
    CDrillListDlg dlg;
    dlg.m_List = "T1 0.80mm\r\n;T2 1.00mm\r\n";
    TestHost().QueueDialog(
        [](CDialog& d) {
            EXPECT_EQ(d.GetDlgItemText(IDC_DL_TEXT), "T1 0.80mm\r\n;T2 1.00mm\r\n");
            d.SetDlgItemText(IDC_DL_TEXT, ">T1 0.80mm\r\n#T2 1.00mm\r\n");
            d.PressButton(IDOK);
        },
        IDD_DRILL_LIST);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(dlg.m_List, ">T1 0.80mm\r\n#T2 1.00mm\r\n");
}

namespace {

void SetFixedPlungeGlobals(int mode, float base)
{
    g_FixedPlungeMode = mode;
    g_AbsDrillDown = base + 1;
    g_AbsDrillUp = base + 2;
    g_AbsRouteDown = base + 3;
    g_AbsRouteUp = base + 4;
    g_AbsEngraveDown = base + 5;
    g_AbsEngraveUp = base + 6;
}

struct CFixedField {
    unsigned id;
    const char* name;
    float* global;
    float offset;
};

const CFixedField kFields[] = {
    {IDC_FP_DRILL_DOWN, "FixedDrillDown", &g_AbsDrillDown, 1},
    {IDC_FP_DRILL_UP, "FixedDrillUp", &g_AbsDrillUp, 2},
    {IDC_FP_ROUTE_DOWN, "FixedRouteDown", &g_AbsRouteDown, 3},
    {IDC_FP_ROUTE_UP, "FixedRouteUp", &g_AbsRouteUp, 4},
    {IDC_FP_ENGRAVE_DOWN, "FixedCraveDown", &g_AbsEngraveDown, 5},
    {IDC_FP_ENGRAVE_UP, "FixedCraveUp", &g_AbsEngraveUp, 6},
};

float StoredFloat(const char* name)
{
    float value = -1.0f;
    RegGetFloat(name, value);
    return value;
}

}  // namespace

TEST(FixedPlungeDlg, WithNothingStoredTheWindowShowsTheSettings)
{
    SetFixedPlungeGlobals(1, 10);
    TestHost().QueueDialog(
        [](CDialog& d) {
            EXPECT_EQ(d.IsDlgButtonChecked(IDC_FP_FIXED), 1);
            for (const CFixedField& f : kFields)
                EXPECT_EQ(d.GetDlgItemText(f.id), std::to_string(10 + static_cast<int>(f.offset)))
                    << f.name;
            d.PressButton(IDCANCEL);
        },
        IDD_FIXED_PLUNGE);
    RunFixedPlungeSetup();
    EXPECT_EQ(TestHost().UnansweredDialogs(), 0);
}

TEST(FixedPlungeDlg, StoredValuesOverrideTheSettingsWhenTheWindowOpens)
{
    SetFixedPlungeGlobals(0, 10);
    RegSetInt("FixedDrill", 1);
    for (const CFixedField& f : kFields)
        RegSetFloat(f.name, 20 + f.offset);
    TestHost().QueueDialog(
        [](CDialog& d) {
            EXPECT_EQ(d.IsDlgButtonChecked(IDC_FP_FIXED), 1);
            for (const CFixedField& f : kFields)
                EXPECT_EQ(d.GetDlgItemText(f.id), std::to_string(20 + static_cast<int>(f.offset)))
                    << f.name;
            d.PressButton(IDOK);
        },
        IDD_FIXED_PLUNGE);
    RunFixedPlungeSetup();
    EXPECT_EQ(g_FixedPlungeMode, 1);
    for (const CFixedField& f : kFields)
        EXPECT_EQ(*f.global, 20 + f.offset) << f.name;
}

TEST(FixedPlungeDlg, OkWithTheModeOffStoresAndCopiesTheHeightsAndEndsTheSkippedProbeTest)
{
    SetFixedPlungeGlobals(1, 10);
    g_SkipProbeTest = 1;
    TestHost().QueueDialog(
        [](CDialog& d) {
            d.CheckDlgButton(IDC_FP_FIXED, 0);
            for (const CFixedField& f : kFields)
                d.SetDlgItemText(f.id, std::to_string(30 + static_cast<int>(f.offset)) + ".5");
            d.PressButton(IDOK);
        },
        IDD_FIXED_PLUNGE);
    RunFixedPlungeSetup();
    EXPECT_EQ(g_FixedPlungeMode, 0);
    EXPECT_EQ(g_SkipProbeTest, 0);
    int stored = -1;
    RegGetInt("FixedDrill", stored);
    EXPECT_EQ(stored, 0);
    for (const CFixedField& f : kFields) {
        EXPECT_EQ(*f.global, 30.5f + f.offset) << f.name;
        EXPECT_EQ(StoredFloat(f.name), 30.5f + f.offset) << f.name;
    }
}

// Cancel, and an OK refused for a field that is not a number, change neither
// the registry nor the settings.
TEST(FixedPlungeDlg, CancelAndARefusedOkChangeNothing)
{
    for (bool refusedFirst : {false, true}) {
        SCOPED_TRACE(refusedFirst);
        ResetProgramObjects();
        std::filesystem::remove(CSettingsStore::DefaultPath());
        SetFixedPlungeGlobals(1, 10);
        g_SkipProbeTest = 1;
        TestHost().QueueDialog(
            [&](CDialog& d) {
                d.CheckDlgButton(IDC_FP_FIXED, 0);
                d.SetDlgItemText(IDC_FP_DRILL_DOWN, "40");
                if (refusedFirst) {
                    d.SetDlgItemText(IDC_FP_ENGRAVE_UP, "high");
                    d.PressButton(IDOK);
                    EXPECT_TRUE(d.IsWindow());
                }
                d.PressButton(IDCANCEL);
            },
            IDD_FIXED_PLUNGE);
        RunFixedPlungeSetup();
        EXPECT_EQ(g_FixedPlungeMode, 1);
        EXPECT_EQ(g_SkipProbeTest, 1);
        EXPECT_EQ(g_AbsDrillDown, 11.0f);
        EXPECT_EQ(StoredFloat("FixedDrillDown"), -1.0f);
        int stored = -1;
        RegGetInt("FixedDrill", stored);
        EXPECT_EQ(stored, -1);
    }
}

TEST(JogDlg, OpensWithItsStepsAndClosesOnAnyPressOnceAborted)
{
    CJogDlg dlg;
    TestHost().QueueDialog(
        [](CDialog& d) {
            EXPECT_EQ(d.GetDlgItemText(IDC_JOG_SPEED), "10");
            EXPECT_EQ(d.GetDlgItemText(IDC_JOG_MOVE_X), "10");
            EXPECT_EQ(d.GetDlgItemText(IDC_JOG_MOVE_Y), "10");
            EXPECT_EQ(d.GetDlgItemText(IDC_JOG_MOVE_Z), "1");
            g_AbortFlag = 1;
            d.PressButton(IDC_JOG_SPINDLE);
            EXPECT_FALSE(d.IsWindow());
        },
        IDD_JOG);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    EXPECT_EQ(CJogDlg::s_SpindleOn, 0);  // the press did nothing else
}

TEST(InputSignalDlg, ClosingHidesTheWindowSoTheNextRequestShowsItAgain)
{
    EXPECT_EQ(g_InputSignalDlg.Create(), 1);
    g_InputSignalDlg.ShowWindow(true);
    g_InputSignalDlg.PressButton(IDCANCEL);
    EXPECT_TRUE(g_InputSignalDlg.IsWindow());
    EXPECT_FALSE(g_InputSignalDlg.IsVisible());
    EXPECT_EQ(g_InputSignalDlg.Create(), 0);
    g_InputSignalDlg.ShowWindow(true);
    EXPECT_TRUE(g_InputSignalDlg.IsVisible());
    // No port: nothing is read and nothing shown changes.
    g_InputSignalDlg.Refresh();
    EXPECT_EQ(g_InputSignalDlg.GetDlgItemText(IDC_IS_X_HOME), "");
}
