// Processing macros: the macro file loaded into its line store, the method
// list, a block read into steps (bounded, every number checked) and the
// steps run on the working side.
#include "planning/process_macro.h"

#include "planning/calc_settings_dlg.h"
#include "planning/region_clearing.h"
#include "planning/scan_isolation.h"
#include "platform/file_messages.h"
#include "platform/host.h"
#include "platform/message_pump.h"
#include "platform/paths.h"
#include "platform/program_objects.h"
#include "records/board_extent.h"
#include "records/board_model.h"
#include "resource_ids.h"
#include "settings/system_settings_dlg.h"
#include "ui/edit_wnd.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <system_error>

const char* const g_MacroFileName = "Ordune.mac";

namespace {

// A macro line is read into a buffer of this many bytes: what lies beyond
// its 99th character does not count.
constexpr std::size_t kMacroLineSize = 100;
constexpr const char* kBlockStart = "DESCRIPTION";
constexpr const char* kBlockEnd = "}";
// The board region of the clearing keywords stays this far (mil) inside
// the board extent, clear of the outline.
constexpr int kBoardRegionInset = 80;
// The short-gap clearing takes gaps up to this many mil.
constexpr int kSmallGapLimit = 25;

struct CKeywordInfo {
    const char* text;
    MacroKeyword keyword;
    std::uint8_t stage;  // the work stage set before the step
    bool numbers;        // followed by offset, pitch and plunge offset
};

// In the order a line's steps run; MacroKeyword follows this order.
constexpr CKeywordInfo kKeywords[] = {
    {"SEPARATE", MacroKeyword::Separate, 1, true},
    {"CALMILL", MacroKeyword::CalMill, 1, true},
    {"MILLPAD", MacroKeyword::MillPad, 2, false},
    {"AUTOMILL", MacroKeyword::AutoMill, 2, false},
    {"SORT", MacroKeyword::Sort, 2, false},
    {"MILLSMALL", MacroKeyword::MillSmall, 3, false},
    {"MILLALL", MacroKeyword::MillAll, 3, false},
    {"MILLALLY", MacroKeyword::MillAllY, 3, false},
    {"MILLALLX", MacroKeyword::MillAllX, 2, false},
};

// Where the store's text came from when LoadMacroText last read it.
std::string s_LoadedFrom;
const CProgramObjectReset s_Reset([] { s_LoadedFrom.clear(); });

CLineEdit& MacroText() { return g_MacroTextWnd.Edit(); }

bool IsClosingLine(const std::string& line)
{
    const std::size_t first = line.find_first_not_of(" \t\r");
    const std::size_t last = line.find_last_not_of(" \t\r");
    return first != std::string::npos && line.substr(first, last - first + 1) == kBlockEnd;
}

const char* SkipBlanks(const char* p)
{
    while (*p == ' ' || *p == '\t' || *p == '\r')
        ++p;
    return p;
}

// One int from `p`; false when none is there or it is beyond an int.
bool ReadInt(const char*& p, int& value)
{
    char* end = nullptr;
    errno = 0;
    const long read = std::strtol(p, &end, 10);
    if (end == p || errno == ERANGE || read < INT_MIN || read > INT_MAX)
        return false;
    value = static_cast<int>(read);
    p = end;
    return true;
}

// The line as a word, the offset, the pitch and the plunge offset: the
// keyword must open the line. False when the offset or the pitch is missing
// or outside what a calculation can take; a missing plunge offset is left
// out.
bool ReadNumbers(const std::string& line, CMacroStep& step)
{
    const char* p = SkipBlanks(line.c_str());
    while (*p && *p != ' ' && *p != '\t' && *p != '\r')
        ++p;
    p = SkipBlanks(p);
    char* end = nullptr;
    const float offset = std::strtof(p, &end);
    if (end == p)
        return false;
    p = end;
    int pitch = 0;
    if (!ReadInt(p, pitch))
        return false;
    if (!std::isfinite(offset) || offset < CALC_MIN_OFFSET || offset > CALC_MAX_OFFSET ||
        pitch < CALC_MIN_PITCH || pitch > CALC_MAX_PITCH)
        return false;
    step.offset = offset;
    step.pitch = pitch;
    step.hasPlunge = ReadInt(p, step.plunge) ? 1 : 0;
    return true;
}

CMacroBlock Fault(unsigned id, int line)
{
    CMacroBlock block;
    block.faultId = id;
    block.faultLine = line;
    return block;
}

// A new region over the board, inset, at the last calculation's pitch;
// kept when the clearer made strokes in it.
void ClearBoardRegion(CBoardModel& model, const CRegionClearer& clear)
{
    auto region = std::make_unique<CClearRegion>();
    region->step = model.m_GridStep;
    region->rect.left = g_BoardMinX + kBoardRegionInset;
    region->rect.top = g_BoardMinY + kBoardRegionInset;
    region->rect.right = g_BoardMaxX - kBoardRegionInset;
    region->rect.bottom = g_BoardMaxY - kBoardRegionInset;
    if (clear(model, *region))
        AddTail(model.m_ClearRegionList, std::move(region));
}

void RunStep(CBoardModel& model, const CMacroStep& step, const CMacroActions& actions)
{
    model.m_WorkStage = kKeywords[static_cast<std::size_t>(step.keyword)].stage;
    switch (step.keyword) {
    case MacroKeyword::Separate:
    case MacroKeyword::CalMill:
        if (step.hasPlunge)
            g_PlungeOffsetPulses = step.plunge;
        g_CalcSettingsDlg.m_GenerateLines = step.keyword == MacroKeyword::Separate ? 1 : 0;
        actions.calcIsolation(step.offset, step.pitch);
        g_CalcSettingsDlg.m_GenerateLines = 1;
        break;
    case MacroKeyword::MillPad:
    case MacroKeyword::AutoMill:
        actions.millPads(model);
        break;
    case MacroKeyword::Sort:
        actions.sortPaths();
        break;
    case MacroKeyword::MillSmall:
        ClearBoardRegion(model, actions.clearSmall);
        break;
    case MacroKeyword::MillAll:
    case MacroKeyword::MillAllX:
        ClearBoardRegion(model, actions.clearRows);
        break;
    case MacroKeyword::MillAllY:
        ClearBoardRegion(model, actions.clearColumns);
        break;
    }
}

}  // namespace

void LoadMacroText()
{
    CLineEdit& text = MacroText();
    const bool fromFile = !s_LoadedFrom.empty() && g_MacroTextWnd.m_FilePath == s_LoadedFrom &&
                          !text.GetModify();
    if (!text.GetText().empty() && !fromFile)
        return;
    const std::string path = ResolvePathNoCase(JoinPath(g_SystemDir, g_MacroFileName));
    text.ClearAll();
    std::error_code ec;
    if (std::filesystem::is_regular_file(path, ec) && g_MacroTextWnd.ReadFile(path))
        s_LoadedFrom = path;
    text.SetModify(false);
}

std::string MacroTextSource()
{
    const std::string& path = g_MacroTextWnd.m_FilePath;
    return path.empty() ? std::string(g_MacroFileName) : path;
}

std::vector<std::string> MacroMethodNames()
{
    LoadMacroText();
    CLineEdit& text = MacroText();
    std::vector<std::string> names;
    for (int line = text.FindLine(kBlockStart); line >= 0; line = text.FindNextLine())
        names.push_back(BlockEntryName(text.GetLineText(line, kMacroLineSize)));
    return names;
}

int FindMacroMethod(int method)
{
    if (method < 0)
        return -1;
    LoadMacroText();
    CLineEdit& text = MacroText();
    int line = text.FindLine(kBlockStart);
    for (int k = 0; line >= 0 && k != method; ++k)
        line = text.FindNextLine();
    return line;
}

CMacroBlock ReadMacroBlock(const CLineEdit& text, int line)
{
    CMacroBlock block;
    const int count = text.GetLineCount();
    for (int n = line;; ++n) {
        const std::string content = n < count ? text.GetLineText(n, kMacroLineSize) : "";
        if (n >= count || (n > line && content.find(kBlockStart) != std::string::npos))
            return Fault(IDS_MACRO_NO_CLOSING_LINE, line);
        std::vector<CMacroStep> steps;
        for (const CKeywordInfo& info : kKeywords) {
            if (content.find(info.text) == std::string::npos)
                continue;
            CMacroStep step;
            step.keyword = info.keyword;
            if (info.numbers && !ReadNumbers(content, step))
                return Fault(IDS_MACRO_MISSING_NUMBERS, n);
            steps.push_back(step);
        }
        block.lines.push_back(std::move(steps));
        if (IsClosingLine(content))
            return block;
    }
}

void ReportMacroFault(const CMacroBlock& block)
{
    AfxMessageBox(FileLineMessage(block.faultId, MacroTextSource(), block.faultLine + 1L), MB_OK);
}

CMacroActions::CMacroActions()
    : millPads(MillPads),
      clearRows(ClearRegionRows),
      clearColumns(ClearRegionColumns),
      clearSmall([](CBoardModel& model, CClearRegion& region) {
          return ClearRegionSmall(model, region, kSmallGapLimit);
      })
{
}

void RunMacroLines(CBoardModel& model, const CMacroBlock& block, const CMacroActions& actions)
{
    for (const std::vector<CMacroStep>& steps : block.lines) {
        PumpMessages();
        for (const CMacroStep& step : steps)
            RunStep(model, step, actions);
    }
}
