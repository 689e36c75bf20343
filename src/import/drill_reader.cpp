// The drill-program interpreter: number decoding in the drill format, the
// block walk over a text window with pattern repetition, and the line form
// used by the drill import.
#include "import/drill_reader.h"

#include "geometry/board_orientation.h"
#include "geometry/text_tokens.h"
#include "geometry/value_stacks.h"
#include "settings/drill_format_dlg.h"
#include "settings/machine_param_dlg.h"
#include "settings/work_order_dlg.h"
#include "ui/edit_wnd.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

// Jumps back that one walk may make. Real programs repeat a pattern a few
// dozen times; the bound only stops a text that would repeat for ever.
constexpr int kMaxRepeatJumps = 4096;

bool Contains(const std::string& line, const char* text)
{
    return line.find(text) != std::string::npos;
}

// The word's letter in the line, or null.
const char* Word(const std::string& line, char letter)
{
    std::size_t at = line.find(letter);
    return at == std::string::npos ? nullptr : line.c_str() + at;
}

bool IsNumberStart(char c)
{
    return c == '-' || c == '+' || c == '.' || (c >= '0' && c <= '9');
}

// The number field after the letter: a sign, digit or point, then every
// digit and point after it. `tooLong` tells whether it was cut.
std::string NumberField(const char* word, bool* tooLong)
{
    std::string field;
    *tooLong = false;
    const char* p = word + 1;
    if (!IsNumberStart(*p))
        return field;
    field += *p++;
    while ((*p >= '0' && *p <= '9') || *p == '.')
        field += *p++;
    if (field.size() > DRILL_NUMBER_FIELD) {
        field.resize(DRILL_NUMBER_FIELD);
        *tooLong = true;
    }
    return field;
}

double DigitsValue(const std::string& digits)
{
    return digits.empty() ? 0.0 : std::strtod(digits.c_str(), nullptr);
}

}  // namespace

bool CDrillDeclaration::ReadUnitLine(const std::string& line)
{
    int metric;
    std::size_t at;
    if (line.rfind("METRIC", 0) == 0) {
        metric = 1;
        at = 6;
    } else if (line.rfind("INCH", 0) == 0) {
        metric = 0;
        at = 4;
    } else {
        return false;
    }
    if (at < line.size() && line[at] != ',')
        return false;
    SetUnit(metric);
    // The words after the unit: the zero format, then the digits as a
    // pattern of zeros ("000.000").
    while (at < line.size()) {
        const std::size_t end = std::min(line.find(',', at + 1), line.size());
        const std::string word = line.substr(at + 1, end - at - 1);
        at = end;
        if (word == "LZ") {         // leading zeros kept: digits from the left
            zeroSup = 1;
        } else if (word == "TZ") {  // trailing zeros kept: digits from the right
            zeroSup = 0;
        } else if (!word.empty() && word.find_first_not_of("0.") == std::string::npos) {
            const std::size_t point = word.find('.');
            if (point != std::string::npos && word.find('.', point + 1) == std::string::npos &&
                point > 0 && point + 1 < word.size()) {
                unitInt = static_cast<int>(point);
                unitDec = static_cast<int>(word.size() - point - 1);
            }
        }
    }
    return true;
}

void CDrillDeclaration::SetUnit(int metric)
{
    // A change of unit brings that unit's usual digits; digits the file
    // gave for the same unit stay.
    if (inchMM != metric) {
        unitInt = metric ? 3 : 2;
        unitDec = metric ? 3 : 4;
    }
    inchMM = metric;
}

CDrillReader::CDrillReader() : m_Feed(g_ParamM7) {}

void CDrillReader::Attach(CEditWnd* wnd)
{
    m_Window = wnd;
    m_Source = nullptr;
    if (wnd && (wnd->m_Created || wnd->IsWindow()))
        m_Source = &wnd->Edit();
}

void CDrillReader::ReadHeader()
{
    if (!m_Window || !m_Source)
        return;
    m_ExtentMax = CDPoint(0.0, 0.0);
    m_ExtentMin = CDPoint(0.0, 0.0);
    m_CurX = m_CurY = m_CurZ = 0.0f;
    m_PrevX = m_PrevY = m_PrevZ = 0.0f;
    m_OutX = m_OutY = m_OutZ = 0.0f;
    m_OriginX = m_OriginY = 0.0f;
    m_Window->m_OriginX = m_Window->m_OriginY = 0;
    m_Window->m_HeaderEndLine = 0;
    m_ActivePatternEnds.clear();
    m_CurrentPatternEnd = -1;
    m_Absolute = 1;
    m_Feed = 0.0f;
    m_PatternStart = -1;
    m_HeaderEndLine = 0;
    m_PatternOffsetX = m_PatternOffsetY = 0.0f;
    m_PatternEnds.clear();
    m_Swap = 0;
    m_MirrorSign = POINT{1, 1};
    m_NegateY = 0;
    // A walk that stopped halfway must not hand its open repetitions on.
    ResetValueStacks();
    m_OpenRepeatLines.clear();
    m_JumpsLeft = kMaxRepeatJumps;

    const int lines = m_Source->GetLineCount();
    for (int n = 0; n < lines; ++n) {
        std::string line = m_Source->GetLineText(n, 128);
        if (Contains(line, "M01") || Contains(line, "M24"))
            m_PatternEnds.push_back(n + 1);
        if (Contains(line, "%")) {
            m_HeaderEndLine = n + 1;
            m_Window->m_HeaderEndLine = n + 1;
        }
        if (Contains(line, "SCALE") && line.size() > 6)
            m_Scale = static_cast<float>(std::atof(line.c_str() + 6));
    }
    m_Source->SetLineCursor(0);
    m_CurrentLine = 0;
}

int CDrillReader::ParseIntWord(const char* word, int* value)
{
    if (!word)
        return 0;
    long parsed = std::strtol(word + 1, nullptr, 10);
    *value = static_cast<int>(std::clamp<long>(parsed, -2147483647L, 2147483647L));
    return 1;
}

int CDrillReader::ParseFloatWord(const char* word, float* value)
{
    *value = 0.0f;
    if (!word)
        return 0;
    bool tooLong = false;
    std::string field = NumberField(word, &tooLong);
    *value = static_cast<float>(std::atof(field.c_str()));
    return 1;
}

int CDrillReader::ParseNumber(const char* word, double* value, int metric)
{
    if (!word)
        return 0;
    bool tooLong = false;
    std::string field = NumberField(word, &tooLong);
    if (tooLong)
        m_NumberTooLong = true;
    // What the file declared rules; the settings fill in the rest.
    const CDrillFormatDlg& settings = g_DrillFormatDlg;
    const auto pick = [](int declared, int setting) { return declared >= 0 ? declared : setting; };
    const int unitInt = pick(m_Declared.unitInt, settings.dUnitInt);
    const int unitDec = pick(m_Declared.unitDec, settings.dUnitDec);
    const int zeroSup = pick(m_Declared.zeroSup, settings.dZeroSup);
    if (m_Declared.inchMM >= 0)
        metric = m_Declared.inchMM;
    double result;
    if (field.find('.') != std::string::npos) {
        result = std::atof(field.c_str()) * 1000.0;
    } else {
        bool negative = false;
        if (!field.empty() && (field[0] == '-' || field[0] == '+')) {
            negative = field[0] == '-';
            field.erase(0, 1);
        }
        const std::size_t intDigits = static_cast<std::size_t>(std::max(unitInt, 0));
        const std::size_t decDigits = static_cast<std::size_t>(std::max(unitDec, 0));
        std::string intPart, fraction;
        switch (zeroSup) {
        case 0:  // leading zeros left out: the digits are right-aligned
            if (field.size() < decDigits)
                field.insert(0, decDigits - field.size(), '0');
            intPart = field.substr(0, field.size() - decDigits);
            fraction = field.substr(field.size() - decDigits);
            break;
        case 1:  // trailing zeros left out: the digits are left-aligned
            if (field.size() < intDigits)
                field.append(intDigits - field.size(), '0');
            intPart = field.substr(0, intDigits);
            fraction = field.substr(intDigits, decDigits);
            fraction.append(decDigits - fraction.size(), '0');
            break;
        default:  // nothing left out
            intPart = field.substr(0, std::min(intDigits, field.size()));
            if (field.size() > intDigits)
                fraction = field.substr(intDigits, decDigits);
            break;
        }
        result = DigitsValue(intPart) * 1000.0 +
                 DigitsValue(fraction) / std::pow(10.0, static_cast<double>(unitDec) - 3.0);
        if (negative)
            result = -result;
    }
    if (metric == 1)
        result /= 25.4;
    *value = result;
    return 1;
}

int CDrillReader::ParseCoordWord(const char* word, float* value)
{
    double number = 0.0;
    if (!ParseNumber(word, &number, g_DrillFormatDlg.dInchMM))
        return 0;
    *value = static_cast<float>(number);
    return 1;
}

int CDrillReader::ParseSizeWord(const char* word, float* value)
{
    double number = 0.0;
    if (!ParseNumber(word, &number, g_DrillFormatDlg.dInchMMSize))
        return 0;
    *value = static_cast<float>(number);
    return 1;
}

int CDrillReader::ParseCoordF(const char* word, double* value)
{
    float number = 0.0f;
    if (!ParseCoordWord(word, &number))
        return 0;
    *value = number;
    return 1;
}

void CDrillReader::TakeLine(const std::string& raw)
{
    // The comment goes, and the blanks around the words; a carriage return
    // left by a text from elsewhere goes too.
    StripCommentCopy(m_LineText, raw);
    while (!m_LineText.empty() && (m_LineText.back() == '\r' || m_LineText.back() == ' ' ||
                                   m_LineText.back() == '\t'))
        m_LineText.pop_back();
}

void CDrillReader::ReadOrigin()
{
    ParseCoordWord(Word(m_LineText, 'X'), &m_OriginX);
    ParseCoordWord(Word(m_LineText, 'Y'), &m_OriginY);
}

void CDrillReader::ReadToolWords()
{
    ParseIntWord(Word(m_LineText, 'T'), &m_ToolNumber);
    ParseSizeWord(Word(m_LineText, 'D'), &m_ToolSize);
    ParseSizeWord(Word(m_LineText, 'C'), &m_ToolSize);
    ParseFloatWord(Word(m_LineText, 'H'), &m_HValue);
    ParseFloatWord(Word(m_LineText, 'F'), &m_Feed);
    m_PrevX = m_PrevY = m_PrevZ = 0.0f;
}

void CDrillReader::ReadAxes(bool negate, bool* moved)
{
    float* current[] = {&m_CurX, &m_CurY, &m_CurZ};
    float* previous[] = {&m_PrevX, &m_PrevY, &m_PrevZ};
    const char letters[] = {'X', 'Y', 'Z'};
    *moved = false;
    for (int axis = 0; axis < 3; ++axis) {
        const char* word = Word(m_LineText, letters[axis]);
        if (!word)
            continue;
        *previous[axis] = *current[axis];
        float value = 0.0f;
        ParseCoordWord(word, &value);
        if (negate && axis == 1 && m_NegateY)
            value = -value;
        if (m_Absolute)
            *current[axis] = value;
        else
            *current[axis] += value;
        *moved = true;
    }
}

int CDrillReader::ReadNextBlock()
{
    if (!m_Window || !m_Source)
        return DRILL_END;
    m_Source->SetLineCursor(m_CurrentLine);
    std::string raw;
    if (!m_Source->GetNextLine(raw, 128))
        return DRILL_END;
    const int lineIndex = m_CurrentLine;
    m_CurrentLine = m_Source->LineCursor();
    TakeLine(raw);

    if (m_LineText.empty() || m_LineText[0] == '/')
        return DRILL_NOTHING;
    if (Contains(m_LineText, "M48")) {
        // Only ever forward: a header end above this line would send the
        // reader round the same lines without end.
        if (m_HeaderEndLine > m_CurrentLine)
            m_CurrentLine = m_HeaderEndLine;
        return DRILL_M_CODE;
    }
    for (const char* skipped : {"M72", "INCH", "DETECT", "FMAT", "M71"})
        if (Contains(m_LineText, skipped))
            return DRILL_NOTHING;
    if (Contains(m_LineText, "G93")) {
        ReadOrigin();
        m_Window->m_OriginX = static_cast<int>(m_OriginX);
        m_Window->m_OriginY = static_cast<int>(m_OriginY);
        return DRILL_ORIGIN;
    }
    if (lineIndex < m_HeaderEndLine - 1)
        return DRILL_NOTHING;
    if (Contains(m_LineText, "%")) {
        m_HeaderEndLine = m_CurrentLine;
        return DRILL_HEADER_END;
    }
    if (Contains(m_LineText, "G72"))
        m_NegateY = !m_NegateY;
    if (Contains(m_LineText, "G71"))
        m_NegateY = !m_NegateY;
    if (Contains(m_LineText, "G90")) {
        m_Absolute = 1;
        return DRILL_ABSOLUTE;
    }
    if (Contains(m_LineText, "G91")) {
        m_Absolute = 0;
        return DRILL_INCREMENTAL;
    }
    if (Contains(m_LineText, "T")) {
        ReadToolWords();
        return DRILL_TOOL;
    }
    ParseIntWord(Word(m_LineText, 'G'), &m_Code);
    ParseFloatWord(Word(m_LineText, 'F'), &m_Feed);
    if (const char* m = Word(m_LineText, 'M')) {
        ParseIntWord(m, &m_Code);
        ApplyMCode(m_Code);
        return DRILL_M_CODE;
    }

    ParseCoordWord(Word(m_LineText, 'A'), &m_A);
    const char* i = Word(m_LineText, 'I');
    const char* j = Word(m_LineText, 'J');
    const bool arc = i || j;
    if (arc) {
        if (!ParseCoordF(i, &m_I))
            m_I = 0.0;
        if (!ParseCoordF(j, &m_J))
            m_J = 0.0;
    }
    bool moved = false;
    ReadAxes(true, &moved);
    if (moved && !(m_CurX == m_PrevX && m_CurY == m_PrevY && m_CurZ == m_PrevZ)) {
        m_PrevX = m_OutX;
        m_PrevY = m_OutY;
        m_PrevZ = m_OutZ;
        float x = m_CurX, y = m_CurY;
        ApplyBoardOrientationF(m_MirrorSign, m_Swap, &x, &y);
        m_OutX = m_PatternOffsetX + m_OriginX + x;
        m_OutY = m_PatternOffsetY + m_OriginY + y;
        m_OutZ = m_CurZ;
    }
    if (m_ExtentMax == m_ExtentMin && m_ExtentMin.x == 0.0 && m_ExtentMin.y == 0.0) {
        m_ExtentMax = CDPoint(m_OutX, m_OutY);
        m_ExtentMin = CDPoint(m_OutX, m_OutY);
    }
    m_ExtentMax.x = std::max<double>(m_ExtentMax.x, m_OutX);
    m_ExtentMax.y = std::max<double>(m_ExtentMax.y, m_OutY);
    m_ExtentMin.x = std::min<double>(m_ExtentMin.x, m_OutX);
    m_ExtentMin.y = std::min<double>(m_ExtentMin.y, m_OutY);
    return moved || arc ? DRILL_POSITION : DRILL_NOTHING;
}

void CDrillReader::ApplyMCode(int code)
{
    switch (code) {
    case 1:
    case 24: {
        auto at = std::find(m_PatternEnds.begin(), m_PatternEnds.end(), m_CurrentLine);
        m_CurrentPatternEnd =
            at == m_PatternEnds.end() ? -1 : static_cast<int>(at - m_PatternEnds.begin());
        auto active =
            std::find(m_ActivePatternEnds.begin(), m_ActivePatternEnds.end(), m_CurrentPatternEnd);
        if (m_CurrentPatternEnd >= 0 && active != m_ActivePatternEnds.end() &&
            FloatStack1Count() >= 2 && FloatStack2Count() >= 2 && PointStackCount() >= 1) {
            FloatStack1(STACK_POP, &m_CurrentLine);
            FloatStack1(STACK_POP, &m_Swap);
            FloatStack2(STACK_POP, &m_PatternOffsetY);
            FloatStack2(STACK_POP, &m_PatternOffsetX);
            PointStack(STACK_POP, &m_MirrorSign);
            m_ActivePatternEnds.erase(active);
            if (!m_OpenRepeatLines.empty())
                m_OpenRepeatLines.pop_back();
        }
        break;
    }
    case 2:
        StartRepeat(false);
        break;
    case 26:
        StartRepeat(true);
        break;
    case 8:
    case 27:
        m_ActivePatternEnds.clear();
        m_OpenRepeatLines.clear();
        break;
    case 48:  // written otherwise than "M48", say "M048"
        if (m_CurrentLine < m_HeaderEndLine)
            m_CurrentLine = m_HeaderEndLine;
        [[fallthrough]];
    case 25:
        m_PatternStart = m_CurrentLine;
        m_PatternOffsetX = m_PatternOffsetY = 0.0f;
        m_MirrorSign = POINT{1, 1};
        m_Swap = 0;
        break;
    default:
        break;
    }
}

void CDrillReader::StartRepeat(bool restoreOffset)
{
    m_CurX = m_CurY = m_CurZ = 0.0f;
    float dx = 0.0f, dy = 0.0f;
    const bool hasX = ParseCoordWord(Word(m_LineText, 'X'), &dx) != 0;
    const bool hasY = ParseCoordWord(Word(m_LineText, 'Y'), &dy) != 0;
    if (!hasX && !hasY)
        return;

    // A repetition jumps back only when it can come back: to a known pattern
    // start, with the pattern end between that start and this line, from a
    // line not already repeating, with room on the stacks and jumps left.
    const int repeatLine = m_CurrentLine - 1;
    const int endLine = m_CurrentPatternEnd >= 0 ? m_PatternEnds[m_CurrentPatternEnd] : -1;
    const bool canReturn = m_PatternStart >= 0 && endLine >= m_PatternStart &&
                           endLine <= m_CurrentLine &&
                           std::find(m_OpenRepeatLines.begin(), m_OpenRepeatLines.end(),
                                     repeatLine) == m_OpenRepeatLines.end() &&
                           FloatStack1Count() + 2 <= VALUE_STACK_DEPTH &&
                           FloatStack2Count() + 2 <= VALUE_STACK_DEPTH &&
                           PointStackCount() + 1 <= VALUE_STACK_DEPTH && m_JumpsLeft > 0;
    if (!canReturn)
        return;

    auto pushState = [this] {
        FloatStack2(STACK_PUSH, &m_PatternOffsetX);
        FloatStack2(STACK_PUSH, &m_PatternOffsetY);
        PointStack(STACK_PUSH, &m_MirrorSign);
        FloatStack1(STACK_PUSH, &m_Swap);
    };
    if (restoreOffset)
        pushState();
    m_PatternOffsetX += dx;
    m_PatternOffsetY += dy;
    if (!restoreOffset)
        pushState();
    FloatStack1(STACK_PUSH, &m_CurrentLine);
    m_CurrentLine = m_PatternStart;
    m_ActivePatternEnds.push_back(m_CurrentPatternEnd);
    m_OpenRepeatLines.push_back(repeatLine);
    --m_JumpsLeft;

    if (Contains(m_LineText, "M70"))
        m_Swap = !m_Swap;
    if (Contains(m_LineText, "M80"))
        m_MirrorSign.x = -m_MirrorSign.x;
    if (Contains(m_LineText, "M90"))
        m_MirrorSign.y = -m_MirrorSign.y;
    if (Contains(m_LineText, "M21"))
        m_MirrorSign.x = -m_MirrorSign.x;
    if (Contains(m_LineText, "M22"))
        m_MirrorSign.y = -m_MirrorSign.y;
}

int CDrillReader::ParseLine(const std::string& line)
{
    m_NumberTooLong = false;
    const std::size_t holesize = line.find("Holesize");
    if (holesize != std::string::npos) {
        // "T1 Holesize 1. = 35.000000 ... MILS": the numbers begin two
        // characters after the keyword and after the first "=".
        m_LineText = line;
        const std::size_t toolAt = holesize + 8;
        if (toolAt < line.size())
            ParseIntWord(m_LineText.c_str() + toolAt, &m_ToolNumber);
        const std::size_t equals = line.find('=');
        if (equals != std::string::npos && equals + 1 < line.size())
            ParseCoordWord(m_LineText.c_str() + equals + 1, &m_ToolSize);
        if (Contains(line, "MILS"))
            m_ToolSize /= 1000.0f;
        return DRILL_TOOL;
    }

    TakeLine(line);
    if (m_LineText.empty() || m_LineText[0] == '/')
        return DRILL_NOTHING;
    if (Contains(m_LineText, "M48"))
        return DRILL_M_CODE;
    const bool allegro = g_CadDialect == "ALLEGRO";
    if (Contains(m_LineText, "M00") && allegro) {
        ++m_ToolNumber;
        return DRILL_TOOL;
    }
    if (m_Declared.ReadUnitLine(m_LineText))
        return DRILL_NOTHING;
    for (const char* skipped : {"INCH", "DETECT", "FMAT"})
        if (Contains(m_LineText, skipped))
            return DRILL_NOTHING;
    if (Contains(m_LineText, "%"))
        return DRILL_HEADER_END;
    if (Contains(m_LineText, "G90")) {
        if (allegro) {
            m_ToolNumber = 1;
            return DRILL_TOOL;
        }
        m_Absolute = 1;
        return DRILL_ABSOLUTE;
    }
    if (Contains(m_LineText, "G91")) {
        m_Absolute = 0;
        return DRILL_INCREMENTAL;
    }
    if (Contains(m_LineText, "G93")) {
        ReadOrigin();
        return DRILL_ORIGIN;
    }
    if (m_LineText[0] == 'T') {
        m_ToolSize = 0.0f;
        ReadToolWords();
        return DRILL_TOOL;
    }
    if (m_LineText[0] == 'R') {
        ParseIntWord(m_LineText.c_str(), &m_RepeatCount);
        m_RepeatStepX = m_RepeatStepY = 0.0f;
        ParseCoordWord(Word(m_LineText, 'X'), &m_RepeatStepX);
        ParseCoordWord(Word(m_LineText, 'Y'), &m_RepeatStepY);
        return DRILL_REPEAT;
    }
    ParseIntWord(Word(m_LineText, 'G'), &m_Code);
    ParseFloatWord(Word(m_LineText, 'F'), &m_Feed);
    if (const char* m = Word(m_LineText, 'M')) {
        ParseIntWord(m, &m_Code);
        if (m_Code == 71 || m_Code == 72)
            m_Declared.SetUnit(m_Code == 71 ? 1 : 0);
        return DRILL_M_CODE;
    }
    ParseCoordWord(Word(m_LineText, 'A'), &m_A);
    bool moved = false;
    ReadAxes(false, &moved);
    if (!moved)
        return DRILL_NOTHING;
    if (!(m_CurX == m_PrevX && m_CurY == m_PrevY && m_CurZ == m_PrevZ)) {
        m_PrevX = m_OutX;
        m_PrevY = m_OutY;
        m_PrevZ = m_OutZ;
        m_OutX = m_CurX;
        m_OutY = m_CurY;
        m_OutZ = m_CurZ;
    }
    return DRILL_POSITION;
}
