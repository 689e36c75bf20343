// Reading the settings file: each line is cut at its comment, tested for
// every keyword (a line may set several values) and copied to the settings
// text window.
#include "settings/settings_file.h"

#include "platform/host.h"
#include "platform/line_reader.h"
#include "platform/paths.h"
#include "platform/resources.h"
#include "resource_ids.h"
#include "settings/machine_param_dlg.h"
#include "settings/machine_settings.h"
#include "settings/model_defaults.h"
#include "settings/registry.h"
#include "settings/system_settings_dlg.h"
#include "settings/vision_targets.h"
#include "ui/edit_wnd.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <sstream>
#include <vector>

const char* const g_SettingsFileName = "ORDUNE.INI";

namespace {

// Lines are taken in pieces of this many characters, each a line of its own.
constexpr std::size_t kLinePiece = 99;
constexpr const char* kFallbackModel = "KX4100";

std::vector<std::string> Words(const std::string& line)
{
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;)
        words.push_back(w);
    return words;
}

std::string Upper(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// The C library's conversions, but bounded: text without digits gives 0 and
// a number beyond the int range gives its nearest end.
int ClampToInt(double value)
{
    if (std::isnan(value))
        return 0;
    return static_cast<int>(std::clamp(value, double(INT_MIN), double(INT_MAX)));
}

int IntegerValue(const std::string& text)
{
    long value = std::strtol(text.c_str(), nullptr, 10);
    return static_cast<int>(std::clamp<long>(value, INT_MIN, INT_MAX));
}

double NumberValue(const std::string& text) { return std::strtod(text.c_str(), nullptr); }

// "%s %f %f %f %f %f %f": the numbers after the line's first word, up to the
// first that is not one.
std::vector<float> LineNumbers(const std::string& line, std::size_t max)
{
    std::vector<float> numbers;
    std::vector<std::string> words = Words(line);
    for (std::size_t i = 1; i < words.size() && numbers.size() < max; ++i) {
        const char* begin = words[i].c_str();
        char* end = nullptr;
        float v = std::strtof(begin, &end);
        if (end == begin)
            break;
        numbers.push_back(v);
        if (*end != '\0')
            break;  // the rest of the word stops the reading
    }
    return numbers;
}

// Slots 1 to 8 of the tool changer evenly from the first point to the
// second. An axis whose two values the line lacks keeps its slots' values.
void SetToolPositions(const std::string& line)
{
    std::vector<float> n = LineNumbers(line, 6);
    for (std::size_t axis = 0; axis < 3; ++axis) {
        if (n.size() < axis + 4)
            continue;
        float first = n[axis], last = n[axis + 3];
        for (int k = 1; k <= 8; ++k) {
            float value = static_cast<float>(first + (k - 1) * (last - first) / 7.0);
            CToolSlot& slot = g_ToolChangerPositions[static_cast<std::size_t>(k)];
            (axis == 0 ? slot.x : axis == 1 ? slot.y : slot.z) = value;
        }
    }
}

void SetMachine(const std::string& value)
{
    std::vector<std::string> names = SettingsFileModelNames();
    bool known = std::find(names.begin(), names.end(), value) != names.end();
    g_MachineModel = known ? value : kFallbackModel;
    SetModelDefaults();
}

// A step scale of 0 or less would divide by zero everywhere: it is ignored.
void SetXYScale(int value)
{
    if (value > 0)
        SetXYPulsesPerMM(static_cast<float>(value));
}

void SetZScale(int value)
{
    if (value > 0)
        g_ZPulsesPerMM = static_cast<float>(value);
}

struct Keyword {
    const char* name;
    // The value (upper-cased second word) and the whole cut line.
    std::function<void(const std::string& value, const std::string& line)> apply;
};

// In testing order.
std::vector<Keyword> Keywords(CDocumentFileSettings& doc)
{
    auto isTrue = [](const std::string& v) { return v == "TRUE" ? 1 : 0; };
    auto zeroOne = [](const std::string& v, int& target) {
        if (v == "1")
            target = 1;
        else if (v == "0")
            target = 0;
    };
    auto toFloat = [](const std::string& v) { return static_cast<float>(NumberValue(v)); };
    return {
        {"GROUP", [&doc](auto& v, auto&) { doc.groupOff = v == "OFF" ? 1 : 0; }},
        {"TOOLPOS", [](auto&, auto& line) { SetToolPositions(line); }},
        {"MACHINE", [](auto& v, auto&) { SetMachine(v); }},
        {"TOOL_CHANGE_POSITION", [](auto& v, auto&) { g_ToolChangePosition = IntegerValue(v); }},
        {"XY_ACC", [=](auto& v, auto&) { g_XYAcceleration = toFloat(v); }},
        {"CHECKTIME", [](auto& v, auto&) { g_CheckTime = IntegerValue(v); }},
        {"TOOL_DISTANCE", [](auto& v, auto&) { g_ToolDistance = ClampToInt(IntegerValue(v) * 39.37); }},
        {"Z_TOP", [=](auto& v, auto&) { g_ZTop = toFloat(v); }},
        {"ZLIMIT", [](auto& v, auto&) { g_ZLimit = ClampToInt(NumberValue(v)); }},
        {"YLIMIT", [](auto& v, auto&) { g_YLimit = ClampToInt(NumberValue(v)); }},
        {"XLIMIT", [](auto& v, auto&) { g_XLimit = ClampToInt(NumberValue(v)); }},
        {"XYTWOPHASESTEP", [=](auto& v, auto&) { g_XYTwoPhaseStep = isTrue(v); }},
        {"HOMESPEED", [=](auto& v, auto&) { g_HomeSpeed = toFloat(v); }},
        {"ZTWOPHASESTEP", [=](auto& v, auto&) { g_ZTwoPhaseStep = isTrue(v); }},
        {"ZINVERTDIR", [=](auto& v, auto&) { g_ZInvertDir = isTrue(v); }},
        {"XYSTEPSCALE", [](auto& v, auto&) { SetXYScale(IntegerValue(v)); }},
        {"ZSTEPSCALE", [](auto& v, auto&) { SetZScale(IntegerValue(v)); }},
        {"T1_STEP", [&doc](auto& v, auto&) { doc.t1Step = IntegerValue(v); }},
        {"BAUD", [](auto& v, auto&) { g_BaudRate = static_cast<std::uint32_t>(IntegerValue(v)); }},
        {"SIMTOOLSIZE", [=](auto& v, auto&) { g_SimToolSize = toFloat(v); }},
        {"CONTROL", [=](auto& v, auto&) { zeroOne(v, g_ControllerKind); }},
        {"DRIVERMODE", [](auto& v, auto&) {
             if (v == "0")
                 g_DriverMode = 128;
             else if (v == "1")
                 g_DriverMode = 0;
         }},
        {"STEPDRILL", [=](auto& v, auto&) { zeroOne(v, g_StepDrill); }},
        {"DRILLMODE", [=](auto& v, auto&) { zeroOne(v, g_FixedPlungeMode); }},
        {"SIMDRILLSIZE", [=](auto& v, auto&) { g_SimDrillSize = toFloat(v); }},
        {"TABLE_WIDTH", [](auto& v, auto&) { g_TableWidth = NumberValue(v) / 0.0254; }},
        {"ABSDRILLDOWN", [=](auto& v, auto&) { g_AbsDrillDown = toFloat(v); }},
        {"ABSDRILLUP", [=](auto& v, auto&) { g_AbsDrillUp = toFloat(v); }},
        {"ABSROUTEDOWN", [=](auto& v, auto&) { g_AbsRouteDown = toFloat(v); }},
        {"ABSROUTEUP", [=](auto& v, auto&) { g_AbsRouteUp = toFloat(v); }},
        {"TOOL_UP_DISTANCE", [=](auto& v, auto&) { g_ToolUpDistance = toFloat(v); }},
        {"TABLE_HEIGHT", [](auto& v, auto&) { g_TableHeight = NumberValue(v) / 0.0254; }},
    };
}

void ApplyLine(const std::vector<Keyword>& keywords, const std::string& line)
{
    std::vector<std::string> words;
    bool split = false;
    for (const Keyword& k : keywords) {
        if (line.find(k.name) == std::string::npos)
            continue;
        if (!split) {
            words = Words(line);
            split = true;
        }
        k.apply(words.size() > 1 ? Upper(words[1]) : std::string(), line);
    }
}

// The stored registration targets; a count beyond the table is cut to it.
void LoadVisionTargets()
{
    CRegistryKey key;
    if (key.Open(HKEY_CURRENT_USER, g_ProgramKeyPath) != ERROR_SUCCESS)
        return;
    key.ReadInt("TargetCount", g_TargetCount);
    g_TargetCount = std::clamp(g_TargetCount, 0, VISION_TARGET_PAIRS);
    for (int point = 0; point < 2 * g_TargetCount; ++point) {
        CDPoint& p = g_TargetPoints[static_cast<std::size_t>(point)];
        key.ReadDouble("TC_x" + std::to_string(point), p.x);
        key.ReadDouble("TC_y" + std::to_string(point), p.y);
    }
}

}  // namespace

int LoadSettings(CDocumentFileSettings document, const std::string& path)
{
    SetModelDefaults();
    CTextLineReader reader;
    if (!reader.Open(path.empty() ? JoinPath(g_SystemDir, g_SettingsFileName) : path)) {
        AfxMessageBox(LoadResString(IDS_SETTINGS_FILE_ERROR), MB_OK);
        return 0;
    }
    g_SettingsTextWnd.CreateOnce("SYSTEM_INI");
    CLineEdit& text = g_SettingsTextWnd.Edit();
    text.ClearAll();

    const std::vector<Keyword> keywords = Keywords(document);
    std::string line;
    // Every line counts, also a last one without a line break.
    while (reader.ReadLine(line)) {
        for (std::string piece : SplitLinePieces(line, kLinePiece)) {
            std::size_t comment = piece.find(';');
            if (comment != std::string::npos)
                piece.erase(comment);
            ApplyLine(keywords, piece);
            text.WriteLine(piece);
        }
    }
    reader.Close();
    text.SetModify(false);

    LoadVisionTargets();
    return 1;
}
