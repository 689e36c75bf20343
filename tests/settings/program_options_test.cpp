// Loading and storing the program options.
#include "settings/program_options.h"

#include "platform/binary_io.h"
#include "platform/program_objects.h"
#include "platform/program_state.h"
#include "platform/settings_store.h"
#include "settings/machine_param_dlg.h"
#include "settings/machine_settings.h"
#include "settings/registry.h"
#include "settings/system_settings_dlg.h"
#include "settings/work_order_dlg.h"
#include "support/scripted_host.h"
#include "support/test_paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace {

std::vector<std::string> StoredNames()
{
    CSettingsStore store(CSettingsStore::DefaultPath());
    store.Load();
    std::vector<std::string> names;
    std::string text = store.Serialize();
    for (std::size_t at = text.find("\n\""); at != std::string::npos; at = text.find("\n\"", at + 1))
        names.push_back(text.substr(at + 2, text.find('"', at + 2) - at - 2));
    return names;
}

std::string CurrentDir() { return std::filesystem::current_path().string() + "/"; }

}  // namespace

TEST(ProgramOptions, FirstRunWritesTheMarkersAndKeepsConstructionValues)
{
    g_DrillMultiplyDetect = 0;
    ASSERT_EQ(LoadProgramOptions(), 1);
    EXPECT_EQ(StoredNames(),
              (std::vector<std::string>{"DrillMultiplyDetect", "NewSetup", "AX", "AY"}));
    int v = 0;
    RegGetInt("NewSetup", v);
    EXPECT_EQ(v, 1);
    EXPECT_EQ(g_DrillMultiplyDetect, 1);
    EXPECT_EQ(g_HomeSpeed, 16.0f);
    EXPECT_EQ(g_ZTop, 18.5f);
    EXPECT_EQ(g_ArrayStyle, 1);
    EXPECT_EQ(g_CurrentSide, 1);
    EXPECT_EQ(g_UnitName, "mm");
    EXPECT_FLOAT_EQ(g_UnitFactor, 1.0f / 200.0f);
    // The system directory exists and is the current directory.
    EXPECT_EQ(CurrentDir(), g_SystemDir);
    EXPECT_TRUE(TestHost().Boxes().empty());
}

TEST(ProgramOptions, SaveThenLoadInAFreshStartKeepsEveryValue)
{
    LoadProgramOptions();
    g_UnitSelector = 1;
    g_ComPortIndex = 3;
    g_RouteFormat = 1;
    g_RapidSpeed = 40.5f;
    g_ZTop = 20.25f;
    g_ToolChangerPositions[8] = {1.0f, 2.0f, 3.0f};
    g_SpindleSpeed = 60000.0f;
    g_SolderApertureFile = "/jobs/board.apr";
    g_DrillFile = "/jobs/board.drl";
    g_CurrentSide = 0;
    g_GerberUnitFactor = 10.0f;
    g_SystemDir = TestDir() + "/system/";
    g_FileAuto = 0;  // not one of the options this stores
    ASSERT_EQ(SaveProgramOptions(), 1);

    ResetProgramObjects();
    ASSERT_EQ(LoadProgramOptions(), 1);
    EXPECT_EQ(g_UnitSelector, 1);
    EXPECT_EQ(g_ComPortIndex, 3);
    EXPECT_EQ(g_RouteFormat, 1);
    EXPECT_EQ(g_RapidSpeed, 40.5f);
    EXPECT_EQ(g_ZTop, 20.25f);
    EXPECT_EQ(g_ToolChangerPositions[8].z, 3.0f);
    EXPECT_EQ(g_SpindleSpeed, 60000.0f);
    EXPECT_EQ(g_SolderApertureFile, "/jobs/board.apr");
    EXPECT_EQ(g_DrillFile, "/jobs/board.drl");
    EXPECT_EQ(g_CurrentSide, 0);
    EXPECT_EQ(g_GerberUnitFactor, 10.0f);
    EXPECT_EQ(g_FileAuto, 1);
    EXPECT_EQ(g_SystemDir, TestDir() + "/system/");
    EXPECT_EQ(CurrentDir(), g_SystemDir);
    EXPECT_EQ(g_UnitName, "mil");
    // A second start is not a first run: the marker is not written again.
    int newSetup = 0;
    RegGetInt("NewSetup", newSetup);
    EXPECT_EQ(newSetup, 1);
}

TEST(ProgramOptions, P11IsReadAfterRouteFormatAndWins)
{
    RegSetInt("RouteFormat", 1);
    RegSetInt("p11", 0);
    g_RouteFormat = 5;
    LoadProgramOptions();
    EXPECT_EQ(g_RouteFormat, 0);
}

TEST(ProgramOptions, WrongSizedValuesKeepTheirDefaults)
{
    RegSetDouble("m4", 99.0);         // 8 bytes where 4 are read
    RegSetString("Unit", "1");        // 2 bytes fit: taken as stored
    std::vector<std::uint8_t> tooLong(200, 1);
    {
        CRegistryKey key;
        key.Open(HKEY_CURRENT_USER, g_ProgramKeyPath);
        key.WriteBinary("m23", tooLong.data(), tooLong.size());
    }
    LoadProgramOptions();
    EXPECT_EQ(g_RapidSpeed, 35.0f);
    EXPECT_EQ(g_ToolChangerPositions[0].x, 0.0f);
}

TEST(ProgramOptions, DisplayUnitFollowsTheSelectorAndTheCurrentScale)
{
    struct Case {
        int unit;
        float factor;
        const char* name;
    } cases[] = {
        {0, 1.0f / 200.0f, "mm"},
        {1, 39.37f / 200.0f, "mil"},
        {2, 1.0f, "pulse"},
        {7, 1.0f / 200.0f, "mm"},
    };
    for (const Case& c : cases) {
        RegSetInt("Unit", c.unit);
        LoadProgramOptions();
        EXPECT_FLOAT_EQ(g_UnitFactor, c.factor) << c.unit;
        EXPECT_EQ(g_UnitName, c.name) << c.unit;
    }

    // A later change of the XY scale carries through to the factor.
    g_UnitSelector = 1;
    SetXYPulsesPerMM(400.0f);
    EXPECT_FLOAT_EQ(g_UnitFactor, 39.37f / 400.0f);
}

TEST(ProgramOptions, AfterTheKeyIsDeletedTheNextStartIsAFirstRun)
{
    LoadProgramOptions();
    RegSetInt("DrillMultiplyDetect", 0);
    CRegistryKey().DeleteKey(HKEY_CURRENT_USER, g_ProgramKeyPath);
    g_DrillMultiplyDetect = 0;
    LoadProgramOptions();
    EXPECT_EQ(g_DrillMultiplyDetect, 1);
}

TEST(ProgramOptions, ACorruptSettingsFileLeavesDefaultsAndSaysWhatWasWrong)
{
    const std::string text = "\x7f" "ELF\x01\x02 not a settings file\n[HKEY_CURRENT_USER\\Software\\"
                             "Tarnwick\\Ordune\\1.0]\n\"m4\" = none zz\n";
    ASSERT_TRUE(WriteFileAtomically(CSettingsStore::DefaultPath(), text.data(), text.size()));
    TakeSettingsProblems();
    EXPECT_EQ(LoadProgramOptions(), 1);
    EXPECT_EQ(g_RapidSpeed, 35.0f);
    std::vector<std::string> problems = TakeSettingsProblems();
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_NE(problems[1].find("line 3"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(CSettingsStore::DefaultPath() + ".bad"));
}

TEST(ProgramOptions, AnUnopenableKeyReturnsZeroAndChangesNothing)
{
    ::setenv("ORDUNE_SETTINGS_FILE", "/proc/ordune/settings.reg", 1);
    std::string before = CurrentDir();
    g_SystemDir = "/somewhere/else/";
    EXPECT_EQ(LoadProgramOptions(), 0);
    EXPECT_EQ(SaveProgramOptions(), 0);
    EXPECT_EQ(CurrentDir(), before);
    EXPECT_EQ(g_UnitName, "mm");
}
