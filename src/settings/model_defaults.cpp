// The model table. Model names are built from the string table's base names
// (a language library may spell them its own way) and a suffix; the names
// without an id are literal.
#include "settings/model_defaults.h"

#include "platform/resources.h"
#include "resource_ids.h"
#include "settings/machine_param_dlg.h"
#include "settings/machine_settings.h"

#include <algorithm>
#include <optional>

namespace {

// A base name from the string table (id) or none (0), and the rest.
struct ModelName {
    unsigned id;
    const char* text;
};

std::string NameOf(const ModelName& name)
{
    return (name.id ? LoadResString(name.id) : std::string()) + name.text;
}

std::vector<std::string> Names(std::initializer_list<ModelName> names)
{
    std::vector<std::string> out;
    for (const ModelName& n : names)
        out.push_back(NameOf(n));
    return out;
}

constexpr double MM = 1.0 / 0.0254;  // mil per mm

struct ModelRow {
    std::vector<ModelName> names;
    int skipProbeTest;
    double tableWidth, tableHeight;  // mil
    float xyPulsesPerMM, zPulsesPerMM;
    int xyTwoPhase, zTwoPhase;
    std::optional<float> zTop;  // mm; none leaves it
    int zLimit, xLimit, yLimit;
};

const ModelRow kModelTable[] = {
    {{{IDS_KX1100L, ""}, {IDS_KX1100L, "V"}, {IDS_KX1100L, "H"}},
     0, 13780.0, 18110.0, 200, 500, 0, 0, 17.0f, 60, 370, 520},
    {{{IDS_KX1100L, "HV"}}, 0, 13780.0, 18110.0, 200, 500, 0, 0, 16.0f, 60, 370, 520},
    {{{IDS_KX1100, ""}, {IDS_KX1100, "V"}, {IDS_KX1100, "H"}, {IDS_KX1100, "HV"}},
     0, 9055.0, 13385.0, 200, 200, 1, 1, 16.0f, 30, 230, 400},
    {{{IDS_KX1300, ""}, {IDS_KX1300, "V"}, {IDS_KX1300, "H"}, {IDS_KX1300, "YJ"}},
     0, 200 * MM, 300 * MM, 160, 200, 1, 1, 6.0f, 20, 210, 400},
    {{{IDS_KX1300, "HV"}}, 0, 200 * MM, 300 * MM, 160, 200, 1, 1, 6.0f, 18, 210, 400},
    {{{IDS_KX1300L, ""}, {IDS_KX1300L, "V"}, {IDS_KX1300L, "H"}, {IDS_KX1300L, "HV"}},
     0, 330 * MM, 420 * MM, 160, 200, 1, 1, 6.0f, 18, 335, 460},
    {{{IDS_KX1600, ""}, {IDS_KX1600, "V"}, {IDS_KX1600, "H"}, {IDS_KX1600, "YJ"}},
     0, 200 * MM, 300 * MM, 500, 200, 0, 1, 6.0f, 20, 210, 400},
    {{{IDS_KX1600, "HV"}}, 0, 200 * MM, 300 * MM, 500, 200, 0, 1, 6.0f, 18, 210, 400},
    {{{IDS_KX1600L, ""}, {IDS_KX1600L, "V"}, {IDS_KX1600L, "H"}, {IDS_KX1600L, "HV"}},
     0, 330 * MM, 420 * MM, 500, 200, 0, 1, 6.0f, 18, 335, 460},
    {{{IDS_KX4200, ""}, {IDS_KX4200, "V"}, {IDS_KX4200, "HV"}, {IDS_KX4200, "H"}},
     0, 12204.0, 7874.0, 200, 200, 1, 1, 12.0f, 29, 330, 240},
    {{{0, "KX4100"}, {0, "KX4100V"}, {0, "KX4100HV"}, {0, "KX4100H"}},
     0, 12204.0, 7874.0, 200, 200, 1, 1, 12.0f, 29, 330, 240},
    {{{0, "KX4200E"}}, 0, 12204.0, 7874.0, 200, 200, 1, 1, 17.0f, 29, 330, 240},
    {{{0, "ZELTA6"}}, 1, 12204.0, 7874.0, 200, 200, 1, 1, std::nullopt, 29, 1000, 1000},
    {{{0, "TQ615"}}, 1, 300 * MM, 400 * MM, 200, 200, 1, 1, std::nullopt, 29, 1000, 1000},
    {{{0, "KXQ1600"}}, 1, 200 * MM, 150 * MM, 200, 200, 1, 1, std::nullopt, 29, 1000, 1000},
};

// The defaults of a model the table does not know; the model becomes this.
constexpr const char* kFallbackModel = "KX4100";

void ApplyRow(const ModelRow& row)
{
    g_ModelSkipsProbeTest = row.skipProbeTest;
    g_TableWidth = row.tableWidth;
    g_TableHeight = row.tableHeight;
    g_ZPulsesPerMM = row.zPulsesPerMM;
    g_XYTwoPhaseStep = row.xyTwoPhase;
    g_ZTwoPhaseStep = row.zTwoPhase;
    if (row.zTop)
        g_ZTop = *row.zTop;
    g_ZLimit = row.zLimit;
    g_XLimit = row.xLimit;
    g_YLimit = row.yLimit;
    SetXYPulsesPerMM(row.xyPulsesPerMM);
}

}  // namespace

double LargestTableSide()
{
    double side = 0.0;
    for (const ModelRow& row : kModelTable)
        side = std::max({side, row.tableWidth, row.tableHeight});
    return side;
}

void SetModelDefaults()
{
    for (const ModelRow& row : kModelTable)
        for (const ModelName& name : row.names)
            if (NameOf(name) == g_MachineModel) {
                ApplyRow(row);
                return;
            }
    g_TableWidth = 12204.0;
    g_TableHeight = 7874.0;
    g_ZPulsesPerMM = 200.0f;
    g_XYTwoPhaseStep = 1;
    g_ZTwoPhaseStep = 1;
    g_ZTop = 16.0f;
    g_ZLimit = 29;
    g_XLimit = 330;
    g_YLimit = 240;
    g_MachineModel = kFallbackModel;
    SetXYPulsesPerMM(200.0f);
}

std::vector<std::string> SettingsFileModelNames()
{
    return Names({{IDS_KX1300L, ""},   {IDS_KX1300L, "H"}, {IDS_KX1300L, "HV"},
                  {IDS_KX1300, ""},    {IDS_KX1300, "H"},  {IDS_KX1300, "HV"},
                  {IDS_KX1600L, ""},   {IDS_KX1600L, "H"}, {IDS_KX1600L, "HV"},
                  {IDS_KX1600, ""},    {IDS_KX1600, "H"},  {IDS_KX1600, "HV"},
                  {IDS_KX1100L, "H"},  {IDS_KX1100L, "HV"},
                  {IDS_KX1100, ""},    {IDS_KX1100, "HV"}, {IDS_KX1100, "H"},
                  {IDS_KX4200, ""},    {0, "KX4200E"},     {0, "ZELTA6"},
                  {0, "KXQ1600"}});
}

std::vector<std::string> SystemSettingsModelNames()
{
    std::vector<std::string> names = {"KXQ1600", "TQ615"};
    for (unsigned id : {IDS_KX4200, IDS_KX1100, IDS_KX1100L, IDS_KX1300, IDS_KX1300L, IDS_KX1600,
                        IDS_KX1600L}) {
        std::vector<const char*> suffixes = {"", "H", "V", "HV"};
        if (id == IDS_KX1300 || id == IDS_KX1600)
            suffixes.push_back("YJ");
        for (const char* suffix : suffixes)
            names.push_back(NameOf({id, suffix}));
    }
    return names;
}
