// The per-model machine defaults and the settings file over them.
#include "settings/settings_file.h"

#include "link/link_state.h"
#include "platform/paths.h"
#include "platform/program_objects.h"
#include "platform/program_state.h"
#include "settings/default_files.h"
#include "settings/machine_param_dlg.h"
#include "settings/machine_settings.h"
#include "settings/model_defaults.h"
#include "settings/program_options.h"
#include "settings/registry.h"
#include "settings/system_settings_dlg.h"
#include "settings/vision_targets.h"
#include "support/scripted_host.h"
#include "support/test_paths.h"
#include "ui/edit_wnd.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

namespace {

constexpr double MM = 1.0 / 0.0254;

struct Loaded {
    int result = 0;
    int groupOff = 0;
    int t1Step = 4;
};

Loaded LoadText(const std::string& text)
{
    g_SystemDir = TestDir() + "/";
    std::ofstream(JoinPath(g_SystemDir, "ORDUNE.INI"), std::ios::binary) << text;
    Loaded l;
    l.result = LoadSettings({l.groupOff, l.t1Step});
    return l;
}

std::vector<std::string> SettingsLines()
{
    std::vector<std::string> lines;
    CLineEdit& e = g_SettingsTextWnd.Edit();
    for (int n = 0; n < e.GetLineCount(); ++n)
        lines.push_back(e.GetLineText(n));
    return lines;
}

}  // namespace

TEST(ModelDefaults, EachModelGetsItsRow)
{
    struct Case {
        const char* model;
        int skip;
        double width, height;  // mil
        float xy, z;
        int xyTwoPhase, zTwoPhase;
        float zTop;  // the Z top before is 99
        int zLimit, xLimit, yLimit;
        const char* modelAfter;
    } cases[] = {
        {"KX1100LH", 0, 13780.0, 18110.0, 200, 500, 0, 0, 17.0f, 60, 370, 520, "KX1100LH"},
        {"KX1100LHV", 0, 13780.0, 18110.0, 200, 500, 0, 0, 16.0f, 60, 370, 520, "KX1100LHV"},
        {"KX1100V", 0, 9055.0, 13385.0, 200, 200, 1, 1, 16.0f, 30, 230, 400, "KX1100V"},
        {"KX1300YJ", 0, 200 * MM, 300 * MM, 160, 200, 1, 1, 6.0f, 20, 210, 400, "KX1300YJ"},
        {"KX1300HV", 0, 200 * MM, 300 * MM, 160, 200, 1, 1, 6.0f, 18, 210, 400, "KX1300HV"},
        {"KX1300LHV", 0, 330 * MM, 420 * MM, 160, 200, 1, 1, 6.0f, 18, 335, 460, "KX1300LHV"},
        {"KX1600H", 0, 200 * MM, 300 * MM, 500, 200, 0, 1, 6.0f, 20, 210, 400, "KX1600H"},
        {"KX1600HV", 0, 200 * MM, 300 * MM, 500, 200, 0, 1, 6.0f, 18, 210, 400, "KX1600HV"},
        {"KX1600L", 0, 330 * MM, 420 * MM, 500, 200, 0, 1, 6.0f, 18, 335, 460, "KX1600L"},
        {"KX4200HV", 0, 12204.0, 7874.0, 200, 200, 1, 1, 12.0f, 29, 330, 240, "KX4200HV"},
        {"KX4100H", 0, 12204.0, 7874.0, 200, 200, 1, 1, 12.0f, 29, 330, 240, "KX4100H"},
        {"KX4200E", 0, 12204.0, 7874.0, 200, 200, 1, 1, 17.0f, 29, 330, 240, "KX4200E"},
        {"ZELTA6", 1, 12204.0, 7874.0, 200, 200, 1, 1, 99.0f, 29, 1000, 1000, "ZELTA6"},
        {"TQ615", 1, 300 * MM, 400 * MM, 200, 200, 1, 1, 99.0f, 29, 1000, 1000, "TQ615"},
        {"KXQ1600", 1, 200 * MM, 150 * MM, 200, 200, 1, 1, 99.0f, 29, 1000, 1000, "KXQ1600"},
        // Names compare exactly; anything else is the fallback model.
        {"kx1300", 7, 12204.0, 7874.0, 200, 200, 1, 1, 16.0f, 29, 330, 240, "KX4100"},
        {"", 7, 12204.0, 7874.0, 200, 200, 1, 1, 16.0f, 29, 330, 240, "KX4100"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        g_MachineModel = c.model;
        g_ZTop = 99.0f;
        g_ModelSkipsProbeTest = 7;
        SetModelDefaults();
        EXPECT_EQ(g_MachineModel, c.modelAfter);
        EXPECT_EQ(g_ModelSkipsProbeTest, c.skip);
        EXPECT_NEAR(g_TableWidth, c.width, 1e-6);
        EXPECT_NEAR(g_TableHeight, c.height, 1e-6);
        EXPECT_EQ(g_XYPulsesPerMM, c.xy);
        EXPECT_EQ(g_ZPulsesPerMM, c.z);
        EXPECT_EQ(g_XYTwoPhaseStep, c.xyTwoPhase);
        EXPECT_EQ(g_ZTwoPhaseStep, c.zTwoPhase);
        EXPECT_EQ(g_ZTop, c.zTop);
        EXPECT_EQ(g_ZLimit, c.zLimit);
        EXPECT_EQ(g_XLimit, c.xLimit);
        EXPECT_EQ(g_YLimit, c.yLimit);
        EXPECT_FLOAT_EQ(g_PulsesPerMil, c.xy / 39.37f);
    }
}

TEST(ModelDefaults, TheDisplayFactorFollowsTheModelsScale)
{
    g_UnitSelector = 1;  // mil
    g_MachineModel = "KX1300H";
    SetModelDefaults();
    EXPECT_FLOAT_EQ(g_UnitFactor, 39.37f / 160.0f);
    EXPECT_EQ(g_UnitName, "mil");
    g_UnitSelector = 0;
    g_MachineModel = "KX1600";
    SetModelDefaults();
    EXPECT_FLOAT_EQ(g_UnitFactor, 1.0f / 500.0f);
}

TEST(SettingsFile, KeywordsOverTheModelDefaults)
{
    struct Case {
        const char* name;
        std::string text;
        std::function<void(const Loaded&)> check;
    } cases[] = {
        {"a model line brings back the model's scale", "XYSTEPSCALE 250\nMACHINE KX1300\n",
         [](const Loaded&) {
             EXPECT_EQ(g_MachineModel, "KX1300");
             EXPECT_EQ(g_XYPulsesPerMM, 160.0f);
         }},
        {"a scale after the model line stays, with what derives from it",
         "MACHINE KX1300\nXYSTEPSCALE 500\n",
         [](const Loaded&) {
             EXPECT_EQ(g_XYPulsesPerMM, 500.0f);
             EXPECT_FLOAT_EQ(g_PulsesPerMil, 500.0f / 39.37f);
             EXPECT_FLOAT_EQ(g_UnitFactor, 1.0f / 500.0f);
         }},
        {"model names are upper-cased", "MACHINE kx1600h\n",
         [](const Loaded&) {
             EXPECT_EQ(g_MachineModel, "KX1600H");
             EXPECT_EQ(g_XYPulsesPerMM, 500.0f);
         }},
        {"names the file does not accept fall back", "MACHINE KX1100L\n",
         [](const Loaded&) { EXPECT_EQ(g_MachineModel, "KX4100"); }},
        {"TQ615 is not accepted either", "MACHINE TQ615\n",
         [](const Loaded&) { EXPECT_EQ(g_MachineModel, "KX4100"); }},
        {"limits are truncated", "ZLIMIT 25.9\nXLIMIT 300.99\nYLIMIT -4.5\n",
         [](const Loaded&) {
             EXPECT_EQ(g_ZLimit, 25);
             EXPECT_EQ(g_XLimit, 300);
             EXPECT_EQ(g_YLimit, -4);
         }},
        {"tool distance in mil", "TOOL_DISTANCE 2\n",
         [](const Loaded&) { EXPECT_EQ(g_ToolDistance, 78); }},
        {"controller and baud rate", "CONTROL 1\nBAUD 9600\n",
         [](const Loaded&) {
             EXPECT_EQ(g_ControllerKind, 1);
             EXPECT_EQ(g_BaudRate, 9600u);
         }},
        {"an unknown controller word changes nothing", "CONTROL 0\nCONTROL X\n",
         [](const Loaded&) { EXPECT_EQ(g_ControllerKind, 0); }},
        {"comments set nothing", "; TABLE_WIDTH 300\nZ_TOP 7.5 ; ZLIMIT 99\n",
         [](const Loaded&) {
             EXPECT_EQ(g_TableWidth, 200 * MM);  // KX1300H, the model in force
             EXPECT_EQ(g_ZTop, 7.5f);
             EXPECT_EQ(g_ZLimit, 20);
             EXPECT_EQ(SettingsLines(), (std::vector<std::string>{"", "Z_TOP 7.5 "}));
         }},
        {"a last line without a line break counts", "ZLIMIT 12\r\nZ_TOP 3",
         [](const Loaded&) {
             EXPECT_EQ(g_ZLimit, 12);
             EXPECT_EQ(g_ZTop, 3.0f);
             EXPECT_EQ(SettingsLines(), (std::vector<std::string>{"ZLIMIT 12", "Z_TOP 3"}));
         }},
        {"a long line is taken in pieces of 99",
         "XLIMIT 123" + std::string(89, ' ') + "YLIMIT 77\n",
         [](const Loaded&) {
             EXPECT_EQ(g_XLimit, 123);
             EXPECT_EQ(g_YLimit, 77);
             EXPECT_EQ(SettingsLines(),
                       (std::vector<std::string>{"XLIMIT 123" + std::string(89, ' '), "YLIMIT 77"}));
         }},
        {"a line with several keywords sets each from its second word", "XLIMIT 5 YLIMIT\n",
         [](const Loaded&) {
             EXPECT_EQ(g_XLimit, 5);
             EXPECT_EQ(g_YLimit, 5);
         }},
        {"document values, switches and sizes",
         "GROUP off\nT1_STEP 3\nXYTWOPHASESTEP false\nZINVERTDIR true\nDRIVERMODE 1\n"
         "DRILLMODE 1\nSTEPDRILL 1\nTABLE_WIDTH 250\nTABLE_HEIGHT 100\nSIMDRILLSIZE 2.5\n"
         "HOMESPEED\nZSTEPSCALE 400\nXY_ACC 7.5\nCHECKTIME 600\nTOOL_CHANGE_POSITION 0\n",
         [](const Loaded& l) {
             EXPECT_EQ(l.groupOff, 1);
             EXPECT_EQ(l.t1Step, 3);
             EXPECT_EQ(g_XYTwoPhaseStep, 0);
             EXPECT_EQ(g_ZInvertDir, 1);
             EXPECT_EQ(g_DriverMode, 0);
             EXPECT_EQ(g_FixedPlungeMode, 1);
             EXPECT_EQ(g_StepDrill, 1);
             EXPECT_DOUBLE_EQ(g_TableWidth, 250 / 0.0254);
             EXPECT_DOUBLE_EQ(g_TableHeight, 100 / 0.0254);
             EXPECT_EQ(g_SimDrillSize, 2.5f);
             EXPECT_EQ(g_HomeSpeed, 0.0f);  // no value gives 0
             EXPECT_EQ(g_ZPulsesPerMM, 400.0f);
             EXPECT_EQ(g_XYAcceleration, 7.5f);
             EXPECT_EQ(g_CheckTime, 600);
             EXPECT_EQ(g_ToolChangePosition, 0);
         }},
        {"a step scale of 0 would divide by zero and is ignored", "XYSTEPSCALE 0\nZSTEPSCALE x\n",
         [](const Loaded&) {
             EXPECT_EQ(g_XYPulsesPerMM, 160.0f);
             EXPECT_EQ(g_ZPulsesPerMM, 200.0f);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ResetProgramObjects();
        g_MachineModel = "KX1300H";
        Loaded l = LoadText(c.text);
        EXPECT_EQ(l.result, 1);
        c.check(l);
    }
}

TEST(SettingsFile, ToolChangerSlotsSpreadBetweenTwoPoints)
{
    for (auto& slot : g_ToolChangerPositions)
        slot = {-1.0f, -2.0f, -3.0f};
    LoadText("TOOLPOS 0 0 0 70 140 -7\n");
    EXPECT_EQ(g_ToolChangerPositions[0].x, -1.0f);  // slot 0 is not the changer's
    EXPECT_EQ(g_ToolChangerPositions[1].y, 0.0f);
    EXPECT_FLOAT_EQ(g_ToolChangerPositions[4].x, 30.0f);
    EXPECT_FLOAT_EQ(g_ToolChangerPositions[4].y, 60.0f);
    EXPECT_FLOAT_EQ(g_ToolChangerPositions[4].z, -3.0f);
    EXPECT_FLOAT_EQ(g_ToolChangerPositions[8].y, 140.0f);

    // Four numbers: X has both ends, Y and Z keep their values.
    LoadText("TOOLPOS 7 8 9 14\n");
    EXPECT_FLOAT_EQ(g_ToolChangerPositions[8].x, 14.0f);
    EXPECT_FLOAT_EQ(g_ToolChangerPositions[8].y, 140.0f);
    EXPECT_FLOAT_EQ(g_ToolChangerPositions[4].z, -3.0f);
}

TEST(SettingsFile, MissingFileReportsAndKeepsTheModelDefaults)
{
    g_MachineModel = "KX1600";
    g_SystemDir = TestDir() + "/nowhere/";
    int groupOff = 0, t1Step = 4;
    EXPECT_EQ(LoadSettings({groupOff, t1Step}), 0);
    EXPECT_EQ(TestHost().BoxTexts(), (std::vector<std::string>{"無法讀取系統設定檔 !"}));
    EXPECT_EQ(g_XYPulsesPerMM, 500.0f);
    EXPECT_FALSE(g_SettingsTextWnd.m_Created);
}

TEST(SettingsFile, FileNameIsFoundWithoutRegardToCaseAndTheTextIsUnmodified)
{
    g_SystemDir = TestDir() + "/";
    std::ofstream(TestDir() + "/ordune.ini") << "ZLIMIT 44\n";
    int groupOff = 0, t1Step = 4;
    ASSERT_EQ(LoadSettings({groupOff, t1Step}), 1);
    EXPECT_EQ(g_ZLimit, 44);
    EXPECT_TRUE(g_SettingsTextWnd.m_Created);
    EXPECT_EQ(g_SettingsTextWnd.Caption(), "SYSTEM_INI");
    EXPECT_FALSE(g_SettingsTextWnd.IsVisible());
    EXPECT_FALSE(g_SettingsTextWnd.Edit().GetModify());
    // A second reading replaces the text.
    LoadText("ZLIMIT 45\n");
    EXPECT_EQ(SettingsLines(), (std::vector<std::string>{"ZLIMIT 45"}));
}

TEST(SettingsFile, VisionTargetsAreReloadedWithinTheTable)
{
    struct Case {
        int stored;
        int count;
    } cases[] = {{2, 2}, {25, 20}, {-3, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        ResetProgramObjects();
        RegSetInt("TargetCount", c.stored);
        for (int i = 0; i < 50; ++i) {
            RegSetDouble("TC_x" + std::to_string(i), i + 0.5);
            RegSetDouble("TC_y" + std::to_string(i), -i);
        }
        LoadText("");
        EXPECT_EQ(g_TargetCount, c.count);
        for (int i = 0; i < VISION_TARGET_POINTS; ++i) {
            const CDPoint& p = g_TargetPoints[static_cast<std::size_t>(i)];
            EXPECT_EQ(p.x, i < 2 * c.count ? i + 0.5 : 0.0) << i;
        }
    }
}

TEST(SettingsFile, TheSystemDirectoryIsSeededWithTheDefaultFile)
{
    g_SystemDir = TestDir() + "/system/";
    ASSERT_EQ(LoadProgramOptions(), 1);
    ASSERT_TRUE(std::filesystem::exists(g_SystemDir + "ORDUNE.INI"));

    // The default file reads without a message and offers the languages.
    g_MachineModel = "KX1300H";
    int groupOff = 0, t1Step = 4;
    ASSERT_EQ(LoadSettings({groupOff, t1Step}), 1);
    EXPECT_TRUE(TestHost().Boxes().empty());
    EXPECT_EQ(g_MachineModel, "KX1300H");
    EXPECT_EQ(g_XYPulsesPerMM, 160.0f);
    EXPECT_GE(g_SettingsTextWnd.Edit().FindLine("LANGUAGE $CHINESE"), 0);

    // A file the user has, in any case of its name, is kept.
    std::filesystem::remove(g_SystemDir + "ORDUNE.INI");
    std::ofstream(g_SystemDir + "Ordune.ini") << "ZLIMIT 1\n";
    EXPECT_TRUE(SeedSystemDir(g_SystemDir));
    EXPECT_FALSE(std::filesystem::exists(g_SystemDir + "ORDUNE.INI"));
}
