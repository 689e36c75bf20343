// The system settings dialog: its lists, what OK stores and what Cancel keeps.
#include "settings/system_settings_dlg.h"

#include "platform/program_objects.h"
#include "platform/program_state.h"
#include "platform/settings_store.h"
#include "resource_ids.h"
#include "settings/machine_param_dlg.h"
#include "settings/machine_settings.h"
#include "settings/registry.h"
#include "support/scripted_host.h"
#include "support/test_paths.h"
#include "ui/edit_wnd.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace {

void SettingsText(std::initializer_list<const char*> lines)
{
    for (const char* line : lines)
        g_SettingsTextWnd.Edit().WriteLine(line);
}

std::vector<std::string> Entries(const CDialog& d, unsigned id)
{
    std::vector<std::string> items;
    for (int i = 0; i < d.GetCount(id); ++i)
        items.push_back(d.GetLBText(id, i));
    return items;
}

const CStoredValue* Stored(const std::string& name)
{
    static CSettingsStore store;
    store = CSettingsStore(CSettingsStore::DefaultPath());
    store.Load();
    return store.Find(std::string("HKEY_CURRENT_USER\\") + g_ProgramKeyPath, name);
}

// Runs the dialog with `script` and returns its result.
int RunSettingsDlg(std::function<void(CDialog&)> script)
{
    TestHost().QueueDialog(std::move(script), IDD_SYSTEM_SETTINGS);
    return g_SystemSettingsDlg.DoModal();
}

}  // namespace

TEST(SystemSettingsDlg, ListsAndTheStoredChoicesShown)
{
    SettingsText({"LANGUAGE $CHINESE", "LANGUAGE without a dollar", "XLIMIT 3",
                  "LANGUAGE $ENGLISH", "LANGUAGE $ENGLISH"});
    g_SystemDir = TestDir() + "/sys/";
    std::filesystem::create_directories(g_SystemDir);
    RegSetString("SystemDir", g_SystemDir);
    RegSetInt("Unit", 2);
    RegSetInt("RS232", 3);
    RegSetString("Language", "ENGLISH");
    RegSetString("Machine", "KX1600H");
    RegSetFloat("m10", 1.5f);
    RunSettingsDlg([](CDialog& d) {
        EXPECT_EQ(Entries(d, IDC_SYS_LANGUAGE),
                  (std::vector<std::string>{"CHINESE", "ENGLISH", "ENGLISH"}));
        EXPECT_EQ(d.GetCurSel(IDC_SYS_LANGUAGE), 2);  // the last equal entry
        EXPECT_EQ(Entries(d, IDC_SYS_UNIT), (std::vector<std::string>{"mm", "mil", "pulse"}));
        EXPECT_EQ(d.GetCurSel(IDC_SYS_UNIT), 2);
        EXPECT_EQ(d.GetCount(IDC_SYS_PORT), 10);
        EXPECT_EQ(d.GetLBText(IDC_SYS_PORT, 9), "COM10");
        EXPECT_EQ(d.GetCurSel(IDC_SYS_PORT), 3);
        std::vector<std::string> models = Entries(d, IDC_SYS_MODEL);
        ASSERT_EQ(models.size(), 32u);
        EXPECT_EQ(models[0], "KXQ1600");
        EXPECT_EQ(models[2], "KX4200");
        EXPECT_EQ(models[18], "KX1300YJ");
        EXPECT_EQ(models[31], "KX1600LHV");
        EXPECT_EQ(d.GetLBText(IDC_SYS_MODEL, d.GetCurSel(IDC_SYS_MODEL)), "KX1600H");
        EXPECT_EQ(d.GetDlgItemText(IDC_SYS_SYSTEM_DIR), TestDir() + "/sys/");
        EXPECT_EQ(d.GetDlgItemText(IDC_SYS_LIFT_HEIGHT), "1.5");
        EXPECT_EQ(d.IsDlgButtonChecked(IDC_SYS_DRILL_DETECT), 1);
        d.PressButton(IDOK);
    });
    EXPECT_EQ(g_MachineModel, "KX1600H");
    EXPECT_EQ(std::filesystem::current_path().string() + "/", TestDir() + "/sys/");
}

TEST(SystemSettingsDlg, WithoutLanguageLinesTheListIsEmptyAndOkKeepsTheLanguage)
{
    SettingsText({"XLIMIT 3"});
    RegSetString("Language", "CHINESE");
    RunSettingsDlg([](CDialog& d) {
        EXPECT_EQ(d.GetCount(IDC_SYS_LANGUAGE), 0);
        d.PressButton(IDOK);
    });
    EXPECT_EQ(g_SystemSettingsDlg.m_Language, "CHINESE");
    std::string stored;
    RegGetString("Language", stored);
    EXPECT_EQ(stored, "CHINESE");
}

TEST(SystemSettingsDlg, OkStoresTheChoicesUnderTheirNames)
{
    g_XYPulsesPerMM = 160.0f;
    g_SystemDir = TestDir() + "/chosen/";
    ASSERT_EQ(RunSettingsDlg([](CDialog& d) {
                  d.SetCurSel(IDC_SYS_UNIT, 1);
                  d.SetCurSel(IDC_SYS_PORT, 4);
                  d.SetCurSel(IDC_SYS_MODEL, d.FindStringExact(IDC_SYS_MODEL, "KX1300L"));
                  d.CheckDlgButton(IDC_SYS_FILE_AUTO, 0);
                  d.CheckDlgButton(IDC_SYS_ROUTE_AUTO, 1);
                  d.CheckDlgButton(IDC_SYS_DRILL_DETECT, 0);
                  d.SetDlgItemText(IDC_SYS_LIFT_HEIGHT, "2.25");
                  d.PressButton(IDOK);
              }),
              IDOK);
    EXPECT_EQ(g_UnitSelector, 1);
    EXPECT_EQ(g_UnitName, "mil");
    EXPECT_FLOAT_EQ(g_UnitFactor, 39.37f / 160.0f);
    EXPECT_EQ(g_ComPortIndex, 4);
    EXPECT_EQ(g_ArrayStyle, 0);
    EXPECT_EQ(g_LiftHeight, 2.25f);
    EXPECT_EQ(g_MachineModel, "KX1300L");
    EXPECT_TRUE(std::filesystem::exists(TestDir() + "/chosen/ORDUNE.INI"));

    struct Expect {
        const char* name;
        std::uint32_t type;
        std::vector<std::uint8_t> bytes;
    };
    auto i32 = [](std::int32_t v) {
        std::vector<std::uint8_t> b(4);
        std::memcpy(b.data(), &v, 4);
        return b;
    };
    auto f32 = [](float v) {
        std::vector<std::uint8_t> b(4);
        std::memcpy(b.data(), &v, 4);
        return b;
    };
    auto sz = [](std::string s) { return std::vector<std::uint8_t>(s.c_str(), s.c_str() + s.size() + 1); };
    const Expect expected[] = {
        {"SystemDir", REG_SZ, sz(TestDir() + "/chosen/")},
        {"Unit", REG_NONE, i32(1)},
        {"RS232", REG_NONE, i32(4)},
        {"ArrayStyle", REG_NONE, i32(0)},
        {"Language", REG_SZ, sz("")},
        {"Machine", REG_SZ, sz("KX1300L")},
        {"DrillMultiplyDetect", REG_NONE, i32(0)},
        {"FileAuto", REG_NONE, i32(0)},
        {"RouteAutoFlag", REG_NONE, i32(1)},
        {"m10", REG_NONE, f32(2.25f)},
    };
    for (const Expect& e : expected) {
        SCOPED_TRACE(e.name);
        const CStoredValue* v = Stored(e.name);
        ASSERT_NE(v, nullptr);
        EXPECT_EQ(v->type, e.type);
        EXPECT_EQ(v->data, e.bytes);
    }
    EXPECT_EQ(Stored("m24"), nullptr);  // no "H" in the model: the spindle is left alone
}

TEST(SystemSettingsDlg, HighSpeedModelsGetTheirSpindleSpeed)
{
    struct Case {
        const char* model;
        float before;
        float after;
        bool stored;
    } cases[] = {
        {"KX1300H", 0.0f, 60000.0f, true},
        {"KX1100LHV", 9999.0f, 60000.0f, true},
        {"KX1600H", 20000.0f, 20000.0f, false},
        {"KX1300YJ", 0.0f, 0.0f, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        ResetProgramObjects();
        std::filesystem::remove(CSettingsStore::DefaultPath());
        g_SpindleSpeed = c.before;
        RunSettingsDlg([&](CDialog& d) {
            d.SetCurSel(IDC_SYS_MODEL, d.FindStringExact(IDC_SYS_MODEL, c.model));
            d.PressButton(IDOK);
        });
        EXPECT_EQ(g_SpindleSpeed, c.after);
        float stored = -1.0f;
        RegGetFloat("m24", stored);
        EXPECT_EQ(stored, c.stored ? c.after : -1.0f);
    }
}

TEST(SystemSettingsDlg, AModelNotInTheListIsShownAddedAndStays)
{
    for (const char* model : {"ZELTA6", "KX4100"}) {
        SCOPED_TRACE(model);
        RegSetString("Machine", model);
        RunSettingsDlg([model](CDialog& d) {
            ASSERT_EQ(d.GetCount(IDC_SYS_MODEL), 33);
            EXPECT_EQ(d.GetCurSel(IDC_SYS_MODEL), 32);
            EXPECT_EQ(d.GetLBText(IDC_SYS_MODEL, 32), model);
            d.PressButton(IDOK);
        });
        EXPECT_EQ(g_MachineModel, model);
        std::string stored;
        RegGetString("Machine", stored);
        EXPECT_EQ(stored, model);
    }
}

TEST(SystemSettingsDlg, CancelLeavesEverythingAsItWas)
{
    g_MachineModel = "KX1100";
    g_SystemDir = TestDir() + "/mine/";
    RegSetString("Machine", "KX1600H");
    RegSetString("SystemDir", TestDir() + "/stored/");
    RegSetInt("Unit", 2);
    RegSetInt("FileAuto", 0);
    const CSystemSettingsDlg before = g_SystemSettingsDlg;
    EXPECT_EQ(RunSettingsDlg([](CDialog& d) {
                  d.SetCurSel(IDC_SYS_UNIT, 1);
                  d.SetCurSel(IDC_SYS_MODEL, 0);
                  d.SetDlgItemText(IDC_SYS_SYSTEM_DIR, "/elsewhere/");
                  d.CheckDlgButton(IDC_SYS_ROUTE_AUTO, 1);
                  d.PressButton(IDCANCEL);
              }),
              IDCANCEL);
    EXPECT_EQ(g_MachineModel, "KX1100");
    EXPECT_EQ(g_SystemDir, TestDir() + "/mine/");
    EXPECT_EQ(g_UnitSelector, before.m_UnitSelector);
    EXPECT_EQ(g_FileAuto, before.m_FileAuto);
    EXPECT_EQ(g_RouteAutoFlag, before.m_RouteAutoFlag);
    EXPECT_EQ(g_SystemSettingsDlg.m_MachineModelChoice, before.m_MachineModelChoice);
    EXPECT_EQ(g_SystemSettingsDlg.m_Language, before.m_Language);
    int unit = -1;
    RegGetInt("Unit", unit);
    EXPECT_EQ(unit, 2);  // nothing was written

    // A dialog nobody answers is cancelled the same way.
    EXPECT_EQ(g_SystemSettingsDlg.DoModal(), IDCANCEL);
    EXPECT_EQ(g_MachineModel, "KX1100");
    EXPECT_EQ(g_SystemDir, TestDir() + "/mine/");
}

TEST(SystemSettingsDlg, WithoutTheRegistryOkChangesMembersButWritesNothing)
{
    // A settings file under a plain file cannot be made: the key never opens.
    std::ofstream(TestDir() + "/plain") << "x";
    ::setenv("ORDUNE_SETTINGS_FILE", (TestDir() + "/plain/settings.reg").c_str(), 1);
    g_MachineModel = "KX1100";
    RunSettingsDlg([](CDialog& d) {
        EXPECT_EQ(d.GetCurSel(IDC_SYS_PORT), 1);
        EXPECT_EQ(d.GetCurSel(IDC_SYS_UNIT), 0);
        EXPECT_EQ(d.GetCurSel(IDC_SYS_MODEL), d.FindStringExact(IDC_SYS_MODEL, "KX1100"));
        d.SetCurSel(IDC_SYS_MODEL, d.FindStringExact(IDC_SYS_MODEL, "KX1300H"));
        d.SetDlgItemText(IDC_SYS_LIFT_HEIGHT, "3");
        d.PressButton(IDOK);
    });
    EXPECT_EQ(g_SystemSettingsDlg.m_Language, "ENGLISH");
    EXPECT_EQ(g_SystemSettingsDlg.m_MachineModelChoice, "KX1300H");
    EXPECT_EQ(g_MachineModel, "KX1100");  // only a stored choice changes the model
    EXPECT_EQ(g_ComPortIndex, 1);
    EXPECT_EQ(g_ArrayStyle, 0);
    EXPECT_EQ(g_LiftHeight, 3.0f);
    EXPECT_EQ(g_SpindleSpeed, 0.0f);
    EXPECT_FALSE(std::filesystem::exists(TestDir() + "/plain/settings.reg"));
}
