// The machine-parameter dialog: its range checks, what OK stores and what
// Cancel gives back, the factory values, and the spindle speed codes.
#include "settings/machine_param_dlg.h"

#include "platform/program_objects.h"
#include "platform/settings_store.h"
#include "resource_ids.h"
#include "settings/registry.h"
#include "support/scripted_host.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

namespace {

int RunParamDlg(std::function<void(CDialog&)> script)
{
    TestHost().QueueDialog(std::move(script), IDD_MACHINE_PARAMS);
    return g_MachineParamDlg.DoModal();
}

// The stored value of a registry float, or -1 when it is not there.
float StoredFloat(const char* name)
{
    float value = -1.0f;
    RegGetFloat(name, value);
    return value;
}

}  // namespace

TEST(MachineParamDlg, FieldsShowTheMembersAndOkStoresWhatWasTyped)
{
    ASSERT_EQ(RunParamDlg([](CDialog& d) {
                  EXPECT_EQ(d.GetDlgItemText(IDC_MP_RAPID_SPEED), "35");
                  EXPECT_EQ(d.GetDlgItemText(IDC_MP_DRILL_DEPTH), "2.8");
                  EXPECT_EQ(d.GetDlgItemText(IDC_MP_ROUTE_SPEED), "1");
                  d.SetDlgItemText(IDC_MP_RAPID_SPEED, "60");
                  d.SetDlgItemText(IDC_MP_DRILL_DEPTH, "3.2");
                  d.SetDlgItemText(IDC_MP_ENGRAVE_DEPTH, "0.1");
                  d.PressButton(IDOK);
              }),
              IDOK);
    EXPECT_EQ(g_RapidSpeed, 60.0f);
    EXPECT_EQ(g_DrillDepth, 3.2f);
    EXPECT_EQ(StoredFloat("m4"), 60.0f);
    EXPECT_EQ(StoredFloat("m15"), 3.2f);
    EXPECT_EQ(StoredFloat("m17"), 0.1f);
    EXPECT_EQ(TestHost().Boxes().size(), 0u);
}

// Each field's limits: a value at a limit passes, one beyond it is refused
// with the range message, keeps the window open, and neither the member nor
// the registry takes anything from that OK; Cancel then leaves all as it was.
TEST(MachineParamDlg, RangeChecksRefuseAndStoreNothing)
{
    struct Case {
        unsigned id;
        const char* text;
        bool accepted;
    } cases[] = {
        {IDC_MP_RAPID_SPEED, "0.5", true},    {IDC_MP_RAPID_SPEED, "160", true},
        {IDC_MP_RAPID_SPEED, "0.4", false},   {IDC_MP_RAPID_SPEED, "160.5", false},
        {IDC_MP_PLUNGE_SPEED, "42", true},    {IDC_MP_PLUNGE_SPEED, "42.1", false},
        {IDC_MP_LIFT_SPEED, "0.49", false},   {IDC_MP_ENGRAVE_SPEED, "0", true},
        {IDC_MP_ENGRAVE_SPEED, "80.5", false}, {IDC_MP_ROUTE_SPEED, "35", true},
        {IDC_MP_ROUTE_SPEED, "-1", false},    {IDC_MP_DRILL_DEPTH, "deep", false},
        {IDC_MP_ROUTE_DEPTH, "-3", true},     // the depths have no range
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.id) + " " + c.text);
        ResetProgramObjects();
        std::filesystem::remove(CSettingsStore::DefaultPath());
        std::size_t boxesBefore = TestHost().Boxes().size();
        bool stayedOpen = false;
        int result = RunParamDlg([&](CDialog& d) {
            // A valid field before the failing one must not slip through.
            d.SetDlgItemText(IDC_MP_RAPID_SPEED, c.id == IDC_MP_RAPID_SPEED ? c.text : "77");
            if (c.id != IDC_MP_RAPID_SPEED)
                d.SetDlgItemText(c.id, c.text);
            d.PressButton(IDOK);
            stayedOpen = d.IsWindow();
            if (stayedOpen) {
                EXPECT_EQ(d.FailedControl(), c.id);
                d.PressButton(IDCANCEL);
            }
        });
        EXPECT_EQ(result, c.accepted ? IDOK : IDCANCEL);
        EXPECT_EQ(stayedOpen, !c.accepted);
        EXPECT_EQ(TestHost().Boxes().size() - boxesBefore, c.accepted ? 0u : 1u);
        EXPECT_EQ(StoredFloat("m4") != -1.0f, c.accepted);
        if (!c.accepted) {
            EXPECT_EQ(g_RapidSpeed, 35.0f);
            EXPECT_EQ(g_DrillDepth, 2.8f);
        }
    }
}

TEST(MachineParamDlg, DefaultsCountOnlyWithOk)
{
    g_DrillDepth = 3.3f;
    g_SpindleSpeed = 20000.0f;
    g_ZSpeed = 4.0f;
    RunParamDlg([](CDialog& d) {
        d.PressButton(IDC_MP_DEFAULTS);
        EXPECT_EQ(d.GetDlgItemText(IDC_MP_DRILL_DEPTH), "2.8");
        d.PressButton(IDCANCEL);
    });
    EXPECT_EQ(g_DrillDepth, 3.3f);
    EXPECT_EQ(g_SpindleSpeed, 20000.0f);
    EXPECT_EQ(g_ZSpeed, 4.0f);
    EXPECT_EQ(StoredFloat("m15"), -1.0f);

    ASSERT_EQ(RunParamDlg([](CDialog& d) {
                  d.PressButton(IDC_MP_DEFAULTS);
                  d.PressButton(IDOK);
              }),
              IDOK);
    EXPECT_EQ(g_DrillDepth, 2.8f);
    EXPECT_EQ(g_SpindleSpeed, 60000.0f);
    EXPECT_EQ(g_ZSpeed, 1.5f);
    EXPECT_EQ(g_ParamM3, 34.0f);
    EXPECT_EQ(StoredFloat("m15"), 2.8f);
    EXPECT_EQ(StoredFloat("m24"), 60000.0f);
}

TEST(MachineParamDlg, AStoredValueOutOfRangeIsReportedWhenTheWindowOpens)
{
    g_RapidSpeed = 200.0f;
    RunParamDlg([](CDialog& d) {
        EXPECT_EQ(TestHost().Boxes().size(), 1u);
        EXPECT_EQ(d.FailedControl(), static_cast<unsigned>(IDC_MP_RAPID_SPEED));
        d.PressButton(IDCANCEL);
    });
    ASSERT_EQ(TestHost().Boxes().size(), 1u);
    EXPECT_NE(TestHost().Boxes()[0].text.find("160"), std::string::npos);
    EXPECT_EQ(g_RapidSpeed, 200.0f);
}

TEST(MachineParamDlg, RpmToSpindleCodeByModel)
{
    struct Case {
        const char* model;
        float rpm;
        int code;
    } cases[] = {
        {"KX4100H", 60000.0f, 255},  // 1000 rev/s: above the table's top
        {"KX4100H", 6000.0f, 0},     // 100 rev/s: below the table, no "J"
        {"KX1300H", 12000.0f, 82},   // 200 rev/s exactly
        {"KX1300H", 11939.0f, 80},   // 198.98 rev/s: under code 81, so the one below
        {"KX1300H", 19500.0f, 128},  // 325 rev/s
        {"KX1300H", 48000.0f, 211},  // 800 rev/s
        {"KX1300YJ", 25000.0f, 30},
        {"KX1300YJ", 95000.0f, 230},
        {"KX1300YJ", 120000.0f, 12},  // beyond the steps: the step is the code
        {"KX1300YJ", 9999.0f, 0},
        {"KX1300", 60000.0f, 0},      // neither "H" nor "J"
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.model) + " " + std::to_string(c.rpm));
        g_MachineModel = c.model;
        EXPECT_EQ(CMachineParamDlg::RpmToSpindleCode(c.rpm), c.code);
    }
}

TEST(MachineParamDlg, SpindleCodeInTheOutputWord)
{
    struct Case {
        std::uint8_t code;
        std::uint16_t before;
        std::uint16_t after;
    } cases[] = {
        {0x12, 0x1111, 0xDB11},  // halves rotated to 0x24, inverted 0xDB
        {0x00, 0x00AB, 0xFFAB},
        {0xFF, 0x1234, 0x0034},
        {0x81, 0xFF00, 0xED00},  // bit 3 of each half comes round to bit 0
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(CMachineParamDlg::SpindleOutputWord(c.code, c.before), c.after);
    }
}

TEST(MachineParamDlg, SpindleTableRisesThroughItsMeasuredPoints)
{
    EXPECT_FLOAT_EQ(g_SpindleRevTable[0], 104.8f);
    EXPECT_FLOAT_EQ(g_SpindleRevTable[80], 198.0f);
    EXPECT_FLOAT_EQ(g_SpindleRevTable[82], 200.0f);
    EXPECT_FLOAT_EQ(g_SpindleRevTable[128], 325.0f);
    EXPECT_FLOAT_EQ(g_SpindleRevTable[211], 800.0f);
    EXPECT_FLOAT_EQ(g_SpindleRevTable[255], 999.84f);
    for (std::size_t i = 1; i < g_SpindleRevTable.size(); ++i)
        EXPECT_LT(g_SpindleRevTable[i - 1], g_SpindleRevTable[i]) << i;
}
