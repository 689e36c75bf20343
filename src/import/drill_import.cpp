// Drill import: the drill file of a job into the hole list, the tool sizes of
// the CAD drill report beside it, and the order of the tools by diameter.
#include "import/drill_import.h"

#include "import/drill_reader.h"
#include "platform/file_messages.h"
#include "platform/host.h"
#include "platform/line_reader.h"
#include "platform/resources.h"
#include "records/board_records.h"
#include "resource_ids.h"
#include "settings/work_order_dlg.h"
#include "ui/line_store.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <utility>
#include <vector>

namespace {


// Holes the repeat lines of one file may make together: a row of them at
// the finest pitch a drill makes (about 4 mil) would still span more than
// any machine table. Beyond it a count is a broken number, and the holes
// would fill the memory.
constexpr long kMaxRepeatHoles = 100000;

// 1.25 mm in mil: what a cleared size table holds for tools 0 and 30.
constexpr float kDefaultDrillSize = 49.2126f;

bool InSizeTable(int tool)
{
    return tool >= 0 && tool < DRILL_TOOL_SIZES;
}

// A drill program is text: a control character other than a tab means the
// file is something else (or broken), and reading on would only make noise.
bool IsTextLine(const std::string& line)
{
    for (unsigned char c : line)
        if ((c < 0x20 && c != '\t' && c != '\r' && c != 0x1a) || c == 0x7f)
            return false;
    return true;
}

std::string FormatText(unsigned id, ...)
{
    va_list args;
    va_start(args, id);
    std::string text = VFormat(LoadResString(id).c_str(), args);
    va_end(args);
    return text;
}

CDrillTool* FindTool(COwnedList<CDrillTool>& tools, int toolNumber)
{
    for (auto& tool : tools)
        if (tool->toolNumber == toolNumber)
            return tool.get();
    return nullptr;
}

CDrillTool* AddTool(COwnedList<CDrillTool>& tools, int toolNumber, float diameter)
{
    auto tool = std::make_unique<CDrillTool>();
    tool->toolNumber = toolNumber;
    tool->diameter = diameter;
    tool->mode = 1;
    return AddTail(tools, std::move(tool));
}

void AddHole(CDrillTool* tool, double x, double y)
{
    AddTail(tool->holes, std::make_unique<CDPoint>(x, y));
}

// The report beside the drill file: the file name's extension replaced (a
// point in a folder name stays where it is).
std::string ReportPath(const std::string& drillPath, const std::string& extension)
{
    std::size_t nameStart = drillPath.find_last_of('/');
    nameStart = nameStart == std::string::npos ? 0 : nameStart + 1;
    std::size_t dot = drillPath.find('.', nameStart);
    return drillPath.substr(0, dot) + extension;
}

struct ReportDialect {
    const char* extension;
    const char* marker;
    int linesAfterMarker;
    bool clearsTable;
    bool toolAfterLetter;    // "T1" rather than "1"
    const char* endMarker;   // a row containing it ends the table
    std::size_t minRowLength;
};

const ReportDialect* FindReportDialect(const std::string& dialect)
{
    static const ReportDialect protel{".drr", "Hole Size", 2, true, true, "--------", 0};
    static const ReportDialect orcad{".DTS", "SPEED", 2, true, true, nullptr, 0};
    static const ReportDialect pads{".rep", "Tool", 2, false, false, nullptr, 0};
    static const ReportDialect workbench{".rep", "Tool", 1, false, false, nullptr, 11};
    if (dialect == "PROTEL")
        return &protel;
    if (dialect == "ORCAD")
        return &orcad;
    if (dialect == "PADS" || dialect == "POWERPCB")
        return &pads;
    if (dialect == "WORKBENCH")
        return &workbench;
    return nullptr;
}

}  // namespace

bool LoadDrillFile(const std::string& path, COwnedList<CDrillTool>& holeList,
                   const std::function<void()>& loaded)
{
    CDrillReader reader;
    CTextLineReader file;
    if (!CheckReadableFile(path, IDS_DRILL_OPEN_ERROR))
        return false;
    if (!file.Open(path)) {
        AfxMessageBox(WithName(IDS_DRILL_OPEN_ERROR, path), MB_OK);
        return false;
    }

    // The tools are gathered apart and take the place of the hole list only
    // when the whole file has been read, so a broken file loses nothing.
    const auto sizesBefore = g_ToolSizes;
    COwnedList<CDrillTool> tools;
    CDrillTool* current = nullptr;
    long beyondTableLine = 0;
    int beyondTableTool = 0;
    long repeatedHoles = 0;
    auto currentTool = [&]() {
        if (!current)
            current = AddTool(tools, 1, 1.0f);
        return current;
    };

    std::string line;
    while (file.ReadLine(line)) {
        if (!IsTextLine(line)) {
            g_ToolSizes = sizesBefore;
            AfxMessageBox(FormatText(IDS_DRILL_BAD_LINE, path.c_str(), file.LineNumber()), MB_OK);
            return false;
        }
        const int code = reader.ParseLine(line);
        if (reader.NumberTooLong()) {
            g_ToolSizes = sizesBefore;
            AfxMessageBox(FormatText(IDS_DRILL_BAD_LINE, path.c_str(), file.LineNumber()), MB_OK);
            return false;
        }
        switch (code) {
        case DRILL_TOOL: {
            const int number = reader.m_ToolNumber;
            if (number == 0)
                break;
            float diameter = reader.m_ToolSize;
            if (InSizeTable(number)) {
                if (g_ToolSizes[number] == 0.0f)
                    g_ToolSizes[number] = reader.m_ToolSize;
                diameter = g_ToolSizes[number];
            } else if (!beyondTableLine) {
                beyondTableLine = file.LineNumber();
                beyondTableTool = number;
            }
            current = FindTool(tools, number);
            if (!current)
                current = AddTool(tools, number, diameter);
            break;
        }
        case DRILL_POSITION:
            AddHole(currentTool(), reader.m_OutX + reader.m_OriginX,
                    reader.m_OutY + reader.m_OriginY);
            break;
        case DRILL_REPEAT: {
            if (reader.m_RepeatCount <= 0)
                break;
            repeatedHoles += reader.m_RepeatCount;
            if (repeatedHoles > kMaxRepeatHoles) {
                g_ToolSizes = sizesBefore;
                AfxMessageBox(FormatText(IDS_DRILL_REPEAT_TOO_MANY, path.c_str(), file.LineNumber(),
                                         static_cast<long>(reader.m_RepeatCount)),
                              MB_OK);
                return false;
            }
            CDrillTool* tool = currentTool();
            double x = 0.0, y = 0.0;
            for (int i = 1; i <= reader.m_RepeatCount; ++i) {
                x = i * reader.m_RepeatStepX + reader.m_OutX + reader.m_OriginX;
                y = i * reader.m_RepeatStepY + reader.m_OutY + reader.m_OriginY;
                AddHole(tool, x, y);
            }
            reader.m_CurX = static_cast<float>(x - reader.m_OriginX);
            reader.m_CurY = static_cast<float>(y - reader.m_OriginY);
            break;
        }
        default:
            break;
        }
    }
    if (file.Failed()) {
        g_ToolSizes = sizesBefore;
        ReportCannotReadFile(path);
        return false;
    }
    file.Close();

    holeList = std::move(tools);
    g_DrillDataSet = 1;
    if (loaded)
        loaded();

    // Unit check: drill files without a size unit of their own come out in
    // millimetres or inches; the mean hole size tells which. A file that
    // named its unit has sizes in mil already. Tools without
    // holes say nothing about it, and a file without holes leaves the sizes.
    double sum = 0.0;
    long holes = 0;
    for (const auto& tool : holeList) {
        sum += static_cast<double>(tool->holes.size()) * tool->diameter;
        holes += static_cast<long>(tool->holes.size());
    }
    if (holes > 0 && reader.Declaration().inchMM < 0) {
        const double average = sum / static_cast<double>(holes);
        float factor = 1.0f;
        if (average > 0.3 && average < 7.0)
            factor = 39.37f;
        else if (average < 0.3)
            factor = 1000.0f;
        if (factor != 1.0f)
            for (auto& tool : holeList) {
                tool->diameter *= factor;
                if (InSizeTable(tool->toolNumber))
                    g_ToolSizes[tool->toolNumber] = tool->diameter;
            }
    }
    SortHoles(holeList);

    if (beyondTableLine)
        AfxMessageBox(FormatText(IDS_DRILL_TOOL_BEYOND_TABLE, path.c_str(), beyondTableLine,
                                 beyondTableTool),
                      MB_OK);
    return true;
}

void SortHoles(COwnedList<CDrillTool>& tools)
{
    // The contents move, the records stay where they are (selections point
    // at them); tools of equal size keep their order.
    struct Contents {
        float diameter;
        std::int32_t toolNumber;
        std::int32_t mode;
        COwnedList<CDPoint> holes;
    };
    std::vector<Contents> contents;
    contents.reserve(tools.size());
    for (auto& tool : tools)
        contents.push_back(
            {tool->diameter, tool->toolNumber, tool->mode, std::move(tool->holes)});
    std::stable_sort(contents.begin(), contents.end(),
                     [](const Contents& a, const Contents& b) { return a.diameter < b.diameter; });
    for (std::size_t i = 0; i < contents.size(); ++i) {
        CDrillTool& tool = *tools[i];
        tool.diameter = contents[i].diameter;
        tool.toolNumber = contents[i].toolNumber;
        tool.mode = contents[i].mode;
        tool.holes = std::move(contents[i].holes);
    }
}

void ReadDrillReport(const std::string& drillPath, COwnedList<CDrillTool>& holeList)
{
    const ReportDialect* dialect = FindReportDialect(g_CadDialect);
    if (!dialect)
        return;
    const std::string reportPath = ReportPath(drillPath, dialect->extension);
    CTextLineReader file;
    if (!file.Open(reportPath))
        return;

    std::string line;
    while (file.ReadLine(line) && line.find(dialect->marker) == std::string::npos) {
    }
    for (int n = 0; n < dialect->linesAfterMarker && file.ReadLine(line); ++n) {
    }
    if (dialect->clearsTable) {
        g_ToolSizes.fill(0.0f);
        g_ToolSizes[0] = kDefaultDrillSize;
        g_ToolSizes[30] = kDefaultDrillSize;
    }

    // Tools the report names, so tools it leaves out keep their own size.
    std::array<bool, DRILL_TOOL_SIZES> named{};
    long beyondTableLine = 0;
    int beyondTableTool = 0;
    while (file.ReadLine(line)) {
        if (dialect->endMarker && line.find(dialect->endMarker) != std::string::npos)
            break;
        if (line.size() < dialect->minRowLength)
            break;
        std::istringstream words(line);
        std::string toolWord, sizeWord;
        words >> toolWord >> sizeWord;
        if (dialect->toolAfterLetter && !toolWord.empty())
            toolWord.erase(0, 1);
        const int tool = std::atoi(toolWord.c_str());
        if (!InSizeTable(tool)) {
            if (!beyondTableLine) {
                beyondTableLine = file.LineNumber();
                beyondTableTool = tool;
            }
            continue;
        }
        const float size = static_cast<float>(std::atof(sizeWord.c_str()));
        if (!std::isfinite(size))
            continue;
        g_ToolSizes[tool] = size;
        named[tool] = true;
    }
    file.Close();

    auto reportSize = [&](const CDrillTool& tool) -> float* {
        if (!InSizeTable(tool.toolNumber) || !named[tool.toolNumber])
            return nullptr;
        return &g_ToolSizes[tool.toolNumber];
    };
    double sum = 0.0;
    long holes = 0;
    for (const auto& tool : holeList)
        if (const float* size = reportSize(*tool)) {
            sum += static_cast<double>(tool->holes.size()) * *size;
            holes += static_cast<long>(tool->holes.size());
        }
    if (holes > 0) {
        // Reports give millimetres or mil; a mean below 10 can only be mm.
        const bool millimetres = sum / static_cast<double>(holes) < 10.0;
        for (auto& tool : holeList)
            if (float* size = reportSize(*tool)) {
                tool->diameter = millimetres ? static_cast<float>(*size * 100.0 / 2.54) : *size;
                *size = tool->diameter;
            }
        SortHoles(holeList);
    }

    if (beyondTableLine)
        AfxMessageBox(FormatText(IDS_DRILL_TOOL_BEYOND_TABLE, reportPath.c_str(), beyondTableLine,
                                 beyondTableTool),
                      MB_OK);
}
