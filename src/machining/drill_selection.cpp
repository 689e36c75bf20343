// The drill selection list. The marked tool numbers are collected into
// blank-separated lists (" 1 3 11 ") and looked up with the number between
// blanks, so tool 1 never matches tool 11.
#include "machining/drill_selection.h"

#include "records/board_records.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr long kMaxRepeatCount = 999;

std::string Line(const char* format, const CDrillTool& tool, int count)
{
    char text[160];
    std::snprintf(text, sizeof text, format, tool.toolNumber, static_cast<double>(tool.diameter),
                  static_cast<double>(tool.diameter / 39.37f), static_cast<int>(tool.holes.size()),
                  count);
    return text;
}

// The text of the line that holds position `at`, from `at` to the line end.
std::string RestOfLine(const std::string& text, std::size_t at)
{
    std::size_t end = text.find_first_of("\r\n", at);
    return text.substr(at, end == std::string::npos ? std::string::npos : end - at);
}

// The tool number after a marker: "T" and the number directly after it.
bool ToolAfterMarker(const std::string& rest, int& tool)
{
    return std::sscanf(rest.c_str(), "T%d ", &tool) == 1;
}

struct CMarkedTools {
    std::string skip = " ";
    std::string noChange = " ";
    std::string repeat = " ";
};

CMarkedTools CollectMarks(const std::string& text)
{
    CMarkedTools marks;
    for (std::size_t at = 0; at < text.size(); ++at) {
        const char marker = text[at];
        if (marker != ';' && marker != '>' && marker != '#')
            continue;
        const std::string rest = RestOfLine(text, at + 1);
        int tool = 0;
        if (!ToolAfterMarker(rest, tool))
            continue;
        const std::string entry = std::to_string(tool) + " ";
        if (marker == ';') {
            marks.skip += entry;
        } else if (marker == '>') {
            marks.noChange += entry;
        } else {
            const std::size_t open = rest.find('[');
            std::string count;
            if (open != std::string::npos) {
                const std::size_t close = rest.find(']', open + 1);
                count = rest.substr(open + 1, close == std::string::npos ? std::string::npos
                                                                         : close - open - 1);
            }
            marks.repeat += std::to_string(tool) + " [" + count + "] ";
        }
    }
    return marks;
}

}  // namespace

std::string DrillListText(const COwnedList<CDrillTool>& tools)
{
    std::string text;
    for (const auto& tool : tools) {
        if (tool->mode == 0)
            text += Line(";T%d (%gmil)(%.2gmm)(%d)[1]\r\n", *tool, 1);
        else if (tool->mode == 2)
            text += Line(">T%d (%gmil)(%.2gmm)(%d)[1]\r\n", *tool, 1);
        else if ((tool->mode & 0xF) == 3)
            text += Line("#T%d (%gmil)(%.2gmm)(%d)[%d]\r\n", *tool, tool->mode >> 4);
        else
            text += Line("T%d (%gmil)(%.2gmm)(%d)[1]\r\n", *tool, 1);
    }
    return text;
}

void ApplyDrillListText(const std::string& text, COwnedList<CDrillTool>& tools)
{
    const CMarkedTools marks = CollectMarks(text);
    for (auto& tool : tools) {
        const std::string probe = " " + std::to_string(tool->toolNumber) + " ";
        if (marks.skip.find(probe) != std::string::npos) {
            tool->mode = 0;
        } else if (marks.noChange.find(probe) != std::string::npos) {
            tool->mode = 2;
        } else if (std::size_t at = marks.repeat.find(probe); at != std::string::npos) {
            const int count = RepeatCountAfterBracket(marks.repeat.substr(at));
            tool->mode = static_cast<int>(static_cast<unsigned>(count) << 4) | 3;
        } else {
            tool->mode = 1;
        }
    }
}

int RepeatCountAfterBracket(const std::string& text)
{
    const std::size_t open = text.find('[');
    if (open == std::string::npos)
        return 0;
    // A count no drill needs is cut to one that keeps the mode's bits.
    const long count = std::strtol(text.c_str() + open + 1, nullptr, 10);
    return static_cast<int>(std::clamp(count, 0L, kMaxRepeatCount));
}
