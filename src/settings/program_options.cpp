// The table of program options and their loading and storing.
#include "settings/program_options.h"

#include "platform/paths.h"
#include "settings/default_files.h"
#include "settings/machine_param_dlg.h"
#include "settings/machine_settings.h"
#include "settings/registry.h"
#include "settings/system_settings_dlg.h"
#include "settings/work_order_dlg.h"

#include <variant>

namespace {

static_assert(sizeof(g_MachineParamDlg.m_ToolChangerPositions) == 108,
              "the tool-changer block is stored as 108 bytes");

using OptionTarget = std::variant<int*, float*, std::string*, CToolSlot*>;

struct Option {
    const char* name;
    OptionTarget target;
    bool save;
};

// In the order the options are read; the saved ones are written in the same
// order. "RouteFormat" and "p11" are the same variable; "p11" is read later
// and wins.
std::vector<Option> OptionTable()
{
    return {
        {"Unit", &g_UnitSelector, true},
        {"RS232", &g_ComPortIndex, true},
        {"ArrayStyle", &g_ArrayStyle, true},
        {"RouteFormat", &g_RouteFormat, true},
        {"FileAuto", &g_FileAuto, false},
        {"DrillMultiplyDetect", &g_DrillMultiplyDetect, false},
        {"RouteAutoFlag", &g_RouteAutoFlag, false},
        {"m2", &g_HomeSpeed, true},
        {"m3", &g_ParamM3, true},
        {"m4", &g_RapidSpeed, true},
        {"m5", &g_ZSpeed, true},
        {"m6", &g_PlungeSpeed, true},
        {"m7", &g_ParamM7, true},
        {"m8", &g_LiftSpeed, true},
        {"m9", &g_ParamM9, true},
        {"m10", &g_LiftHeight, true},
        {"m11", &g_ParamM11, true},
        {"m12", &g_ParamM12, true},
        {"m13", &g_ParamM13, true},
        {"m14", &g_ParamM14, true},
        {"m15", &g_DrillDepth, true},
        {"m16", &g_RouteDepth, true},
        {"m17", &g_EngraveDepth, true},
        {"m18", &g_EngraveSpeed, true},
        {"m19", &g_ParamM19, true},
        {"m20", &g_RouteSpeed, true},
        {"m21", &g_ZTop, true},
        {"m23", g_ToolChangerPositions.data(), true},
        {"m24", &g_SpindleSpeed, true},
        {"p1", &g_ComponentApertureFile, true},
        {"p12", &g_SolderApertureFile, true},
        {"p2", &g_ComponentGerberFile, true},
        {"p3", &g_SolderGerberFile, true},
        {"p4", &g_DrillFile, true},
        {"p5", &g_RouteFile, true},
        {"p6", &g_ApertureFormat, true},
        {"p7", &g_WorkOrderP7, true},
        {"p8", &g_CurrentSide, true},
        {"p9", &g_GerberUnitFactor, true},
        {"p10", &g_GerberMetric, true},
        {"p11", &g_RouteFormat, true},
    };
}

void ReadOption(CRegistryKey& key, const Option& option)
{
    std::visit(
        [&](auto* target) {
            using T = std::remove_pointer_t<decltype(target)>;
            if constexpr (std::is_same_v<T, int>)
                key.ReadInt(option.name, *target);
            else if constexpr (std::is_same_v<T, float>)
                key.ReadFloat(option.name, *target);
            else if constexpr (std::is_same_v<T, std::string>)
                key.ReadString(option.name, *target);
            else {
                std::size_t length = sizeof(CToolSlot) * TOOL_CHANGER_SLOTS;
                key.ReadBinary(option.name, target, length);
            }
        },
        option.target);
}

void WriteOption(CRegistryKey& key, const Option& option)
{
    std::visit(
        [&](auto* target) {
            using T = std::remove_pointer_t<decltype(target)>;
            if constexpr (std::is_same_v<T, int>)
                key.WriteInt(option.name, *target);
            else if constexpr (std::is_same_v<T, float>)
                key.WriteFloat(option.name, *target);
            else if constexpr (std::is_same_v<T, std::string>)
                key.WriteString(option.name, *target);
            else
                key.WriteBinary(option.name, target, sizeof(CToolSlot) * TOOL_CHANGER_SLOTS);
        },
        option.target);
}

}  // namespace

void EnterSystemDir()
{
    MakeDirectories(g_SystemDir);
    SeedSystemDir(g_SystemDir);
    SetCurrentDirectory(g_SystemDir);
}

void DeriveDisplayUnit()
{
    switch (g_UnitSelector) {
    case 1:
        g_UnitFactor = 39.37f / g_XYPulsesPerMM;
        g_UnitName = "mil";
        break;
    case 2:
        g_UnitFactor = 1.0f;
        g_UnitName = "pulse";
        break;
    default:
        g_UnitFactor = 1.0f / g_XYPulsesPerMM;
        g_UnitName = "mm";
        break;
    }
}

int LoadProgramOptions()
{
    CRegistryKey key;
    if (key.Open(HKEY_CURRENT_USER, g_ProgramKeyPath) != ERROR_SUCCESS)
        return 0;
    int newSetup = 0;
    key.ReadInt("NewSetup", newSetup);
    if (newSetup == 0) {
        g_DrillMultiplyDetect = 1;
        key.WriteInt("DrillMultiplyDetect", 1);
        key.WriteInt("NewSetup", 1);
        std::int32_t zero = 0;
        key.WriteLong("AX", zero);
        key.WriteLong("AY", zero);
    }
    key.ReadString("SystemDir", g_SystemDir);
    EnterSystemDir();
    for (const Option& option : OptionTable())
        ReadOption(key, option);
    DeriveDisplayUnit();
    key.Close();
    return 1;
}

int SaveProgramOptions()
{
    CRegistryKey key;
    if (key.Open(HKEY_CURRENT_USER, g_ProgramKeyPath) != ERROR_SUCCESS)
        return 0;
    key.WriteString("SystemDir", g_SystemDir);
    EnterSystemDir();
    for (const Option& option : OptionTable())
        if (option.save)
            WriteOption(key, option);
    key.Close();
    return 1;
}
