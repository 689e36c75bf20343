// Number-format auto-detection: before a job is read, the Gerber and drill
// number formats are guessed from the data itself. The digit strings tell the
// zero suppression, the steps between consecutive points tell inch from
// millimetre, and the spacing of pads or holes (mostly round multiples of a
// power of ten) tells how many of the digits are decimals.
#include "import/format_detection.h"

#include "geometry/plane_geometry.h"
#include "import/aperture_table.h"
#include "import/drill_reader.h"
#include "import/gerber_blocks.h"
#include "import/gerber_interpreter.h"
#include "import/gerber_number.h"
#include "import/gerber_reader_state.h"
#include "platform/host.h"
#include "platform/line_reader.h"
#include "platform/resources.h"
#include "records/board_model.h"
#include "records/board_records.h"
#include "resource_ids.h"
#include "settings/drill_format_dlg.h"
#include "settings/gerber_format_dlg.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>

namespace {


// The four members a format is made of, in the Gerber or the drill dialog.
struct FormatFields {
    int& unitInt;
    int& unitDec;
    int& inchMM;
    int& zeroSup;
};

FormatFields GerberFields()
{
    CGerberFormatDlg& f = g_GerberFormatDlg;
    return {f.UnitInt, f.UnitDec, f.InchMM, f.ZeroSup};
}

FormatFields DrillFields()
{
    CDrillFormatDlg& f = g_DrillFormatDlg;
    return {f.dUnitInt, f.dUnitDec, f.dInchMM, f.dZeroSup};
}

// The run of decimal digits right after the letter at `at` (a sign gives
// none).
std::string_view DigitRun(const std::string& block, std::size_t at)
{
    std::size_t end = at + 1;
    while (end < block.size() && block[end] >= '0' && block[end] <= '9')
        ++end;
    return std::string_view(block).substr(at + 1, end - at - 1);
}

// The coordinate field after the letter at `at`: an optional sign, then
// digits.
std::string_view SignedField(const std::string& block, std::size_t at)
{
    std::size_t end = at + 1;
    if (end < block.size() && (block[end] == '-' || block[end] == '+'))
        ++end;
    while (end < block.size() && block[end] >= '0' && block[end] <= '9')
        ++end;
    return std::string_view(block).substr(at + 1, end - at - 1);
}

// The digits of the signed field after the letter at `at`, its sign left off.
std::string_view UnsignedDigits(const std::string& block, std::size_t at)
{
    std::string_view field = SignedField(block, at);
    if (!field.empty() && (field[0] == '-' || field[0] == '+'))
        field.remove_prefix(1);
    return field;
}

struct DigitStatistics {
    int greatest = 0;
    bool endZero = false;
    bool startZero = false;

    void Field(std::string_view digits)
    {
        greatest = std::max(greatest, static_cast<int>(digits.size()));
        if (digits.find_first_not_of('0') == std::string_view::npos)
            return;   // empty or zero: says nothing about suppression
        if (digits.back() == '0')
            endZero = true;
        if (digits.front() == '0')
            startZero = true;
    }
};

// One step of a point: counted as inch-like or millimetre-like.
void CountStep(double step, int& inchSteps, int& mmSteps)
{
    if (step == 100.0 || step == 1000.0 || step == 10000.0 || step == 100000.0)
        ++inchSteps;
    if (step == 25.4 || step == 254.0 || step == 2540.0 || step == 25400.0)
        ++mmSteps;
}

// Opens one file of the list, telling the operator when it cannot be read;
// like every reader's, an open restarts the record counter.
bool OpenForDetection(CGerberSource& in, const std::string& name, CBoardModel& model)
{
    if (!OpenGerberFile(in, name))
        return false;
    model.m_ReaderState = 1;
    return true;
}

CDrillTool* AddDrillTool(COwnedList<CDrillTool>& tools, int toolNumber, float diameter)
{
    auto tool = std::make_unique<CDrillTool>();
    tool->diameter = diameter;
    tool->toolNumber = toolNumber;
    tool->mode = 1;
    return AddTail(tools, std::move(tool));
}

// The flashes of a Gerber file as bare points, until an aperture definition
// shows the file extended: its format is then its own.
class CFlashCollector : public CGerberSink {
public:
    explicit CFlashCollector(COwnedList<CFlashRecord>& flashes) : m_Flashes(flashes) {}

    bool Stopped() const override { return !g_GerberFormatDlg.AutoFormat; }

    void Block(const CGerberBlock& b) override
    {
        if (b.kind >= 1 && b.kind <= 4 && (b.dWord == "D03" || b.dWord == "D3")) {
            auto flash = std::make_unique<CFlashRecord>();
            flash->x = static_cast<float>(b.point.x);
            flash->y = static_cast<float>(b.point.y);
            flash->type = 0;
            m_Flashes.push_back(std::move(flash));
        }
    }

private:
    COwnedList<CFlashRecord>& m_Flashes;
};

// The two passes shared by the Gerber and the drill digit detection.
template <class BlockReader, class FieldConverter>
int DetectDigits(const std::string& paths, BlockReader& readBlock, FieldConverter& convert,
                 const FormatFields& format, CBoardModel& model)
{
    DigitStatistics stats;
    std::string rest = paths, name, block;

    while (NextGerberPath(rest, name)) {
        CGerberSource in;
        if (!OpenForDetection(in, name, model))
            return 0;
        stats.endZero = stats.startZero = false;
        while (!in.AtEnd()) {
            readBlock(in, block);
            for (char letter : {'X', 'Y'}) {
                const std::size_t at = block.find(letter);
                if (at != std::string::npos)
                    stats.Field(DigitRun(block, at));
            }
        }
        if (stats.endZero && stats.startZero)
            format.zeroSup = 2;
        else if (stats.endZero)
            format.zeroSup = 0;
        else if (stats.startZero)
            format.zeroSup = 1;
    }

    // Every field now converts to its bare integer value.
    format.unitInt = stats.greatest - 3;
    format.unitDec = 3;
    format.inchMM = 0;

    int inchSteps = 0, mmSteps = 0;
    rest = paths;
    while (NextGerberPath(rest, name)) {
        CGerberSource in;
        if (!OpenForDetection(in, name, model))
            return 0;
        double curX = 0.0, curY = 0.0, prevX = 0.0, prevY = 0.0;
        while (!in.AtEnd()) {
            readBlock(in, block);
            const std::size_t xAt = block.find('X');
            if (xAt != std::string::npos) {
                stats.Field(DigitRun(block, xAt));
                curX = convert(block, xAt);
            }
            const std::size_t yAt = block.find('Y');
            if (yAt != std::string::npos) {
                stats.Field(DigitRun(block, yAt));
                curY = convert(block, yAt);
            }
            CountStep(std::fabs(prevX - curX), inchSteps, mmSteps);
            CountStep(std::fabs(prevY - curY), inchSteps, mmSteps);
            prevX = curX;
            prevY = curY;
        }
    }
    if (mmSteps > inchSteps)
        format.inchMM = 1;
    if (format.zeroSup == 2) {
        format.unitInt = stats.greatest - 2;
        format.unitDec = 2;
    } else {
        format.unitInt = 3;
        format.unitDec = 2;
    }
    return 1;
}

// The power-of-ten spacing of a run of points sets the decimal digits, the
// total digit count kept.
class SpacingStatistics {
public:
    void Point(const CDPoint& p)
    {
        // 64 bits: coordinates read as bare integers of a wide format, times
        // 1000, outgrow 32 bits on a large board.
        const auto d = static_cast<std::int64_t>(Distance(m_Prev.x, m_Prev.y, p.x, p.y) * 1000.0);
        if (p != m_Prev) {
            std::int64_t power = 1000000000;
            for (int k = 9; k >= 1; --k, power /= 10)
                if (d % power == 0) {
                    ++m_Counts[k];
                    break;
                }
        }
        m_Prev = p;
    }

    void Apply(const FormatFields& format) const
    {
        for (int k = 9; k >= 2; --k)
            if (m_Counts[k] > 0 && m_Counts[k] > m_Counts[k - 1] / 3) {
                const int total = format.unitInt + format.unitDec;
                format.unitDec = k - 3;
                format.unitInt = total - format.unitDec;
                return;
            }
    }

private:
    CDPoint m_Prev{0.0, 0.0};
    std::array<int, 10> m_Counts{};
};

std::string FirstPath(const std::string& paths)
{
    std::string rest = paths, name;
    NextGerberPath(rest, name);
    return name;
}

}  // namespace

int DetectGerberFormat(CBoardModel& model, const std::string& paths, bool guess)
{
    if (!g_GerberFormatDlg.AutoFormat)
        return 0;
    model.m_TrackList.clear();
    model.m_FlashList.clear();
    model.m_TrackRefList.clear();

    CApertureTable apertures(model);
    std::string rest = paths, name;
    if (!guess) {
        // The guess would be overwritten unused. Of what reading the files
        // leaves besides, only the detection turned off by their first
        // aperture outlives the next reading: they are read that far.
        while (g_GerberFormatDlg.AutoFormat && NextGerberPath(rest, name)) {
            CGerberSource in;
            if (!OpenForDetection(in, name, model))
                return 0;
            ReadGerberHeader(in, apertures);
        }
        return 1;
    }
    CFlashCollector flashes(model.m_FlashList);
    CGerberInterpreter interpreter(apertures, flashes);
    bool first = true;
    while (NextGerberPath(rest, name)) {
        // A first file that cannot be read has been reported by the digit
        // detection already; once is enough.
        if (first && !DetectGerberDigits(model, name))
            return 0;
        first = false;
        CGerberSource in;
        if (!OpenForDetection(in, name, model))
            return 0;
        interpreter.Read(in);
    }
    DetectGerberScale(model.m_FlashList);
    return 1;
}

int DetectGerberDigits(CBoardModel& model, const std::string& paths)
{
    CApertureTable apertures(model);
    auto read = [&apertures](CGerberSource& in, std::string& block) {
        ReadGerberBlock(in, block, apertures);
    };
    auto convert = [](const std::string& block, std::size_t at) {
        return GerberDigitsToNumber(SignedField(block, at));
    };
    return DetectDigits(paths, read, convert, GerberFields(), model);
}

void DetectGerberScale(const COwnedList<CFlashRecord>& flashes)
{
    SpacingStatistics spacing;
    for (const auto& flash : flashes)
        if (flash->type == 0)
            spacing.Point(CDPoint(flash->x, flash->y));
    spacing.Apply(GerberFields());
}

void DetectDrillFormat(CBoardModel& model, const std::string& paths, COwnedList<CDrillTool>& holes)
{
    if (!g_DrillFormatDlg.dAutoFormat)
        return;
    const std::string path = FirstPath(paths);
    // What the file declares of its format is not guessed: the settings keep
    // those members as they were.
    const CDrillFormatDlg& f = g_DrillFormatDlg;
    const std::array<int, 4> before{f.dUnitInt, f.dUnitDec, f.dInchMM, f.dZeroSup};
    // A file the digit detection could not read has been reported there.
    if (!DetectDrillDigits(model, path))
        return;

    CTextLineReader file;
    if (!file.Open(path)) {
        AfxMessageBox(LoadResString(IDS_DRILL_OPEN_ERROR), MB_OK);
        return;
    }
    model.m_ReaderState = 1;
    holes.clear();
    CDrillReader reader;
    CDrillTool* current = nullptr;
    DigitStatistics digits;   // of the fields without a decimal point
    std::string line;
    while (file.ReadLine(line)) {
        const int code = reader.ParseLine(line);
        if (code == DRILL_POSITION && line.find('.') == std::string::npos)
            for (char letter : {'X', 'Y'})
                if (const std::size_t at = line.find(letter); at != std::string::npos)
                    digits.Field(UnsignedDigits(line, at));
        switch (code) {
        case DRILL_TOOL: {
            const int n = reader.m_ToolNumber;
            const float s = reader.m_ToolSize;
            float diameter = s;
            if (n >= 0 && n < DRILL_TOOL_SIZES) {
                // The reader gives sizes in mil already (its size unit
                // applied); scaling them again as millimetres or inches would
                // leave the drill import a table of sizes far too large.
                if (g_ToolSizes[n] == 0.0f && s > 0.0f)
                    g_ToolSizes[n] = s;
                diameter = g_ToolSizes[n];
            }
            current = nullptr;
            for (auto& tool : holes)
                if (tool->toolNumber == n)
                    current = tool.get();
            if (!current)
                current = AddDrillTool(holes, n, diameter);
            break;
        }
        case DRILL_POSITION:
            // A hole before any tool definition goes to tool 1, as the drill
            // import does it.
            if (!current)
                current = AddDrillTool(holes, 1, 1.0f);
            AddTail(current->holes, std::make_unique<CDPoint>(reader.m_OutX + reader.m_OriginX,
                                                              reader.m_OutY + reader.m_OriginY));
            break;
        default:
            break;
        }
    }
    file.Close();
    const CDrillDeclaration& declared = reader.Declaration();
    if (declared.unitDec < 0)
        DetectDrillScale(holes);
    const FormatFields fields = DrillFields();
    if (declared.unitInt >= 0) {
        fields.unitInt = before[0];
        fields.unitDec = before[1];
    }
    if (declared.inchMM >= 0)
        fields.inchMM = before[2];
    else  // tool sizes are in the unit found for the coordinates
        g_DrillFormatDlg.dInchMMSize = fields.inchMM;
    if (declared.zeroSup >= 0)
        fields.zeroSup = before[3];
    else if (declared.unitInt >= 0 && !digits.startZero && !digits.endZero &&
             digits.greatest > 0 && digits.greatest < declared.unitInt + declared.unitDec)
        // The digits are known and no field shows which zeros were left
        // out: fields all shorter than the format can only have lost their
        // leading zeros (were it the trailing ones, any coordinate not a
        // round number would come at full length).
        fields.zeroSup = 0;
}

int DetectDrillDigits(CBoardModel& model, const std::string& paths)
{
    auto read = [](CGerberSource& in, std::string& block) { ReadGerberBlockPlain(in, block); };
    auto reader = std::make_shared<CDrillReader>();
    auto convert = [reader](const std::string& block, std::size_t at) {
        float value = 0.0f;
        reader->ParseCoordWord(block.c_str() + at, &value);
        return static_cast<double>(value);
    };
    return DetectDigits(paths, read, convert, DrillFields(), model);
}

void DetectDrillScale(const COwnedList<CDrillTool>& tools)
{
    SpacingStatistics spacing;
    for (const auto& tool : tools)
        for (const auto& hole : tool->holes)
            spacing.Point(*hole);
    spacing.Apply(DrillFields());
}
