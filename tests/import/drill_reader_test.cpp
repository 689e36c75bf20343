// The drill-program interpreter: number forms, the line form of the import
// and the block walk with pattern repetition over a text window.
#include "import/drill_reader.h"

#include "geometry/value_stacks.h"
#include "settings/drill_format_dlg.h"
#include "settings/work_order_dlg.h"
#include "support/scripted_host.h"
#include "ui/edit_wnd.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace {

void SetFormat(int unitInt, int unitDec, int zeroSup, int coordMetric = 0, int sizeMetric = 0)
{
    g_DrillFormatDlg.dUnitInt = unitInt;
    g_DrillFormatDlg.dUnitDec = unitDec;
    g_DrillFormatDlg.dZeroSup = zeroSup;
    g_DrillFormatDlg.dInchMM = coordMetric;
    g_DrillFormatDlg.dInchMMSize = sizeMetric;
}

// A created text window holding `lines`, with the reader attached and its
// header read.
class DrillWalk : public testing::Test {
protected:
    void Load(std::initializer_list<const char*> lines)
    {
        wnd.CreateOnce("drill");
        for (const char* line : lines)
            wnd.Edit().WriteLine(line);
        reader.Attach(&wnd);
        reader.ReadHeader();
    }
    // Every result up to the end, with the output point of each 250.
    struct Step {
        int code;
        float x, y;
    };
    std::vector<Step> Walk(int limit = 10000)
    {
        std::vector<Step> steps;
        for (int code = reader.ReadNextBlock(); code != DRILL_END; code = reader.ReadNextBlock()) {
            steps.push_back({code, reader.m_OutX, reader.m_OutY});
            if (static_cast<int>(steps.size()) > limit) {
                ADD_FAILURE() << "the walk does not end";
                break;
            }
        }
        return steps;
    }
    std::vector<std::pair<float, float>> Positions(int limit = 10000)
    {
        std::vector<std::pair<float, float>> points;
        for (const Step& step : Walk(limit))
            if (step.code == DRILL_POSITION)
                points.emplace_back(step.x, step.y);
        return points;
    }

    CEditWnd wnd;
    CDrillReader reader;
};

using Points = std::vector<std::pair<float, float>>;

}  // namespace

TEST(DrillNumbers, WordsDecodeByTheDrillFormat)
{
    struct Case {
        int unitInt, unitDec, zeroSup, metric;
        const char* word;
        float mil;
    };
    const Case cases[] = {
        {2, 4, 1, 0, "X0125", 1250.0f},       // trailing: 01 and 2500
        {2, 4, 0, 0, "X125", 12.5f},          // leading: no integer digits, 0125
        {2, 4, 2, 0, "X012500", 1250.0f},     // none: full width
        {2, 4, 1, 0, "X-0125", -1250.0f},
        {2, 4, 0, 0, "X+125", 12.5f},
        {2, 4, 1, 0, "X1", 10000.0f},         // trailing pads the integer digits
        {2, 4, 0, 0, "X1234567", 123456.7f},  // leading takes any number of integer digits
        {2, 4, 1, 1, "X1.0", 39.37008f},      // a decimal point overrides the digits
        {2, 4, 1, 0, "X0.5", 500.0f},
        {3, 3, 1, 1, "X001", 39.37008f},      // 3.3 mm trailing: 1 mm
        {3, 3, 0, 1, "X25400", 1000.0f},      // 3.3 mm leading: 25.4 mm
        {2, 3, 0, 0, "X1500", 1500.0f},       // three decimals are mil already
        {2, 4, 1, 0, "Xabc", 0.0f},           // no digits
    };
    for (const Case& c : cases) {
        SetFormat(c.unitInt, c.unitDec, c.zeroSup, c.metric);
        CDrillReader reader;
        float value = -1.0f;
        EXPECT_EQ(reader.ParseCoordWord(c.word, &value), 1) << c.word;
        EXPECT_NEAR(value, c.mil, 0.01) << c.word << " " << c.unitInt << "." << c.unitDec
                                        << " zero suppression " << c.zeroSup;
    }
    CDrillReader reader;
    float kept = 7.0f;
    EXPECT_EQ(reader.ParseCoordWord(nullptr, &kept), 0);
    EXPECT_EQ(kept, 7.0f);
}

TEST(DrillNumbers, SizesFollowTheSizeUnitAndLongFieldsAreCut)
{
    SetFormat(2, 4, 1, 0, 1);
    CDrillReader reader;
    EXPECT_EQ(reader.ParseLine("T2C0.8"), DRILL_TOOL);
    EXPECT_EQ(reader.m_ToolNumber, 2);
    EXPECT_NEAR(reader.m_ToolSize, 31.496, 0.001);

    SetFormat(2, 4, 1, 1, 0);
    EXPECT_EQ(reader.ParseLine("T2C0.8"), DRILL_TOOL);
    EXPECT_NEAR(reader.m_ToolSize, 800.0, 0.001);
    EXPECT_FALSE(reader.NumberTooLong());

    // A number field holds at most 19 characters: the rest is not read, and
    // the line says so.
    SetFormat(2, 4, 1);
    EXPECT_EQ(reader.ParseLine("X0.12345678901234567890123Y1.0"), DRILL_POSITION);
    EXPECT_TRUE(reader.NumberTooLong());
    EXPECT_NEAR(reader.m_OutX, 123.45678, 0.01);
}

TEST(DrillLines, ExcellonLinesGiveTheirResultCodes)
{
    SetFormat(2, 4, 1);
    CDrillReader reader;
    struct Case {
        const char* line;
        int code;
    };
    const Case cases[] = {
        {"M48", DRILL_M_CODE},         {"INCH,LZ", DRILL_NOTHING},  {"FMAT,2", DRILL_NOTHING},
        {"; comment", DRILL_NOTHING},  {"/X0100Y0100", DRILL_NOTHING}, {"   ", DRILL_NOTHING},
        {"%", DRILL_HEADER_END},       {"G90", DRILL_ABSOLUTE},     {"G05", DRILL_NOTHING},
        {"M30", DRILL_M_CODE},         {"G91", DRILL_INCREMENTAL},  {"G93X01Y02", DRILL_ORIGIN},
        {"R2X01", DRILL_REPEAT},       {"X01", DRILL_POSITION},     {"T3C0.040F200", DRILL_TOOL},
    };
    for (const Case& c : cases)
        EXPECT_EQ(reader.ParseLine(c.line), c.code) << c.line;
    EXPECT_EQ(reader.m_ToolNumber, 3);
    EXPECT_NEAR(reader.m_ToolSize, 40.0, 0.001);
    EXPECT_EQ(reader.m_Feed, 200.0f);
    EXPECT_EQ(reader.m_Absolute, 0);
    EXPECT_EQ(reader.m_OriginX, 1000.0f);
    EXPECT_EQ(reader.m_OriginY, 2000.0f);
    EXPECT_EQ(reader.m_RepeatCount, 2);
    EXPECT_EQ(reader.m_RepeatStepX, 1000.0f);
    EXPECT_EQ(reader.m_RepeatStepY, 0.0f);
}

TEST(DrillLines, HeaderFormsDeclareUnitZerosAndDigits)
{
    // Unit, zero format (1: leading zeros kept, digits from the left; 0:
    // trailing zeros kept, digits from the right) and digits; -1 not said.
    struct Case {
        const char* line;
        bool taken;
        int inchMM, zeroSup, unitInt, unitDec;
    };
    const Case cases[] = {
        {"METRIC", true, 1, -1, 3, 3},
        {"INCH", true, 0, -1, 2, 4},
        {"METRIC,TZ", true, 1, 0, 3, 3},
        {"METRIC,LZ", true, 1, 1, 3, 3},
        {"INCH,TZ", true, 0, 0, 2, 4},
        {"INCH,LZ,00.0000", true, 0, 1, 2, 4},
        {"METRIC,LZ,000.000", true, 1, 1, 3, 3},
        {"METRIC,0000.00", true, 1, -1, 4, 2},
        {"METRIC,TZ,00.000", true, 1, 0, 2, 3},
        // A digit pattern that says nothing leaves the unit's own digits.
        {"METRIC,TZ,000", true, 1, 0, 3, 3},
        {"INCHES", false, -1, -1, -1, -1},
        {"FMAT,2", false, -1, -1, -1, -1},
        {"T1C0.8", false, -1, -1, -1, -1},
    };
    for (const Case& c : cases) {
        CDrillDeclaration d;
        EXPECT_EQ(d.ReadUnitLine(c.line), c.taken) << c.line;
        EXPECT_EQ(d.inchMM, c.inchMM) << c.line;
        EXPECT_EQ(d.zeroSup, c.zeroSup) << c.line;
        EXPECT_EQ(d.unitInt, c.unitInt) << c.line;
        EXPECT_EQ(d.unitDec, c.unitDec) << c.line;
    }
}

TEST(DrillLines, WhatTheFileDeclaresRulesOverTheSettings)
{
    // The settings of a fresh start: inch, 2.4, trailing zeros left out.
    struct Case {
        std::vector<const char*> lines;   // the last one is the position
        float x, y, size;                 // mil; size of the "T1C..." line
    };
    const Case cases[] = {
        {{"METRIC", "T1C0.800", "X12.7Y-2.54"}, 500.0f, -100.0f, 31.496f},
        {{"METRIC,LZ,000.000", "T1C0.8", "X0127Y00254"}, 500.0f, 100.0f, 31.496f},
        {{"METRIC,TZ", "T1C1.0", "X12700Y2540"}, 500.0f, 100.0f, 39.37f},
        {{"INCH,TZ", "T1C0.035", "X5000Y1000"}, 500.0f, 100.0f, 35.0f},
        {{"INCH,LZ", "T1C0.035", "X005Y001"}, 500.0f, 100.0f, 35.0f},
        // M71/M72 bring their unit's digits; the zero format stays the
        // settings' (here from the left).
        {{"M71", "T1C0.8", "X0127Y00254"}, 500.0f, 100.0f, 31.496f},
        {{"M72", "T1C0.035", "X005Y001"}, 500.0f, 100.0f, 35.0f},
        // A unit named again keeps the digits the file gave for it.
        {{"METRIC,LZ,0000.00", "M71", "T1C0.8", "X0012Y00025"}, 472.44f, 98.43f, 31.496f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines.back());
        SetFormat(2, 4, 1);
        CDrillReader reader;
        for (const char* line : c.lines)
            reader.ParseLine(line);
        EXPECT_NEAR(reader.m_OutX, c.x, 0.1);
        EXPECT_NEAR(reader.m_OutY, c.y, 0.1);
        EXPECT_NEAR(reader.m_ToolSize, c.size, 0.01);
    }
    // A file that declares nothing is read by the settings.
    SetFormat(2, 4, 1, 1, 1);
    CDrillReader reader;
    reader.ParseLine("T1C0.8");
    reader.ParseLine("X127Y00254");
    EXPECT_NEAR(reader.m_OutX, 500.0, 0.1);
    EXPECT_NEAR(reader.m_ToolSize, 31.496, 0.01);
}

TEST(DrillLines, PositionsAreModalAbsoluteOrIncremental)
{
    SetFormat(2, 4, 1);
    CDrillReader reader;
    EXPECT_EQ(reader.ParseLine("X0125Y0250"), DRILL_POSITION);
    EXPECT_EQ(reader.m_OutX, 1250.0f);
    EXPECT_EQ(reader.m_OutY, 2500.0f);
    EXPECT_EQ(reader.ParseLine("Y03"), DRILL_POSITION);  // X stays
    EXPECT_EQ(reader.m_OutX, 1250.0f);
    EXPECT_EQ(reader.m_OutY, 3000.0f);
    reader.ParseLine("G91");
    EXPECT_EQ(reader.ParseLine("X01Y-01"), DRILL_POSITION);
    EXPECT_EQ(reader.m_OutX, 2250.0f);
    EXPECT_EQ(reader.m_OutY, 2000.0f);
    // G71 and G72 negate Y only in the block walk, never in a file.
    EXPECT_EQ(reader.ParseLine("G90"), DRILL_ABSOLUTE);
    reader.ParseLine("G72");
    reader.ParseLine("X01Y01");
    EXPECT_EQ(reader.m_OutY, 1000.0f);
}

TEST(DrillLines, AllegroToolLinesAndTheDialectsToolCounting)
{
    SetFormat(2, 4, 1);
    CDrillReader reader;
    EXPECT_EQ(reader.ParseLine(
                  "T1 Holesize 1. = 35.000000 Tolerance = +0.000000/-0.000000 PLATED MILS"),
              DRILL_TOOL);
    EXPECT_EQ(reader.m_ToolNumber, 1);
    EXPECT_NEAR(reader.m_ToolSize, 35.0, 0.001);
    EXPECT_EQ(reader.ParseLine("T12 Holesize 12. = 0.040000 Tolerance = +0.0/-0.0 PLATED INCH"),
              DRILL_TOOL);
    EXPECT_EQ(reader.m_ToolNumber, 12);
    EXPECT_NEAR(reader.m_ToolSize, 40.0, 0.001);

    // With the Allegro dialect G90 starts at tool 1 and each M00 takes the next.
    g_CadDialect = "ALLEGRO";
    EXPECT_EQ(reader.ParseLine("G90"), DRILL_TOOL);
    EXPECT_EQ(reader.m_ToolNumber, 1);
    EXPECT_EQ(reader.ParseLine("M00"), DRILL_TOOL);
    EXPECT_EQ(reader.m_ToolNumber, 2);
    g_CadDialect = "PROTEL";
    EXPECT_EQ(reader.ParseLine("M00"), DRILL_M_CODE);
    EXPECT_EQ(reader.m_ToolNumber, 2);
}

TEST_F(DrillWalk, PatternRepeatWithOffsetReturnsAfterTheRepeatLine)
{
    Load({"M25", "X1.0Y1.0", "M01", "M02X5.0Y0", "M30"});
    const auto steps = Walk();
    ASSERT_EQ(steps.size(), 7u);
    EXPECT_EQ(steps[1].code, DRILL_POSITION);
    EXPECT_EQ(steps[1].x, 1000.0f);
    EXPECT_EQ(steps[1].y, 1000.0f);
    EXPECT_EQ(steps[4].code, DRILL_POSITION);
    EXPECT_EQ(steps[4].x, 6000.0f);
    EXPECT_EQ(steps[4].y, 1000.0f);
    // The second pass of M01 returns; the next call reads M30.
    EXPECT_EQ(steps[5].code, DRILL_M_CODE);
    EXPECT_EQ(steps[6].code, DRILL_M_CODE);
    EXPECT_EQ(reader.m_Code, 30);
    EXPECT_EQ(FloatStack1Count(), 0);
    EXPECT_EQ(PointStackCount(), 0);
}

TEST_F(DrillWalk, RepeatsAccumulateOrRestoreTheOffsetAndMirror)
{
    // M02 keeps the offset it added, M26 gives it back at the pattern end.
    Load({"M25", "X1.0Y0", "M01", "M02X1.0Y0", "M02X1.0Y0", "M30"});
    EXPECT_EQ(Positions(), (Points{{1000, 0}, {2000, 0}, {3000, 0}}));
    wnd.Edit().ClearAll();
    for (const char* line : {"M25", "X1.0Y0", "M01", "M26X1.0Y0", "M26X1.0Y0", "M30"})
        wnd.Edit().WriteLine(line);
    reader.ReadHeader();
    EXPECT_EQ(Positions(), (Points{{1000, 0}, {2000, 0}, {2000, 0}}));

    // M80 mirrors X, M70 exchanges the axes, for that repetition only.
    wnd.Edit().ClearAll();
    for (const char* line : {"M25", "X1.0Y2.0", "M01", "M02X10.0Y0M80", "M02X0Y10.0M70", "X3.0Y3.0"})
        wnd.Edit().WriteLine(line);
    reader.ReadHeader();
    EXPECT_EQ(Positions(), (Points{{1000, 2000}, {9000, 2000}, {12000, 11000}, {13000, 13000}}));
}

TEST_F(DrillWalk, TheHeaderIsPassedOverAndM48NeverGoesBack)
{
    Load({"M48", "T1C0.035", "%", "T1", "X01Y01"});
    const auto steps = Walk();
    ASSERT_EQ(steps.size(), 3u);
    EXPECT_EQ(steps[0].code, DRILL_M_CODE);
    EXPECT_EQ(steps[1].code, DRILL_TOOL);  // the line after "%"
    EXPECT_EQ(steps[2].code, DRILL_POSITION);
    EXPECT_EQ(wnd.m_HeaderEndLine, 3);

    // "%" above the M48: the reader goes on after the M48 instead of round
    // the same lines for ever.
    wnd.Edit().ClearAll();
    for (const char* line : {"%", "X01Y01", "M48", "X02Y02"})
        wnd.Edit().WriteLine(line);
    reader.ReadHeader();
    EXPECT_EQ(Positions(), (Points{{1000, 1000}, {2000, 2000}}));

    // M48 without any "%" line.
    wnd.Edit().ClearAll();
    for (const char* line : {"X01Y01", "M48", "X02Y02"})
        wnd.Edit().WriteLine(line);
    reader.ReadHeader();
    EXPECT_EQ(Positions(), (Points{{1000, 1000}, {2000, 2000}}));
}

TEST_F(DrillWalk, RepeatsThatCouldNotComeBackAreNotMade)
{
    // A repeat before any pattern end, a repeat of a pattern whose end is
    // above its start, and a repeat inside its own pattern: each would loop
    // for ever; the reader reads on instead.
    wnd.CreateOnce("drill");
    for (auto lines : {std::vector<const char*>{"M25", "X01Y0", "M02X01Y0", "M30"},
                       std::vector<const char*>{"M01", "M25", "X01Y0", "M02X01Y0", "M30"},
                       std::vector<const char*>{"M25", "X01Y0", "M02X01Y0", "M01", "M30"},
                       std::vector<const char*>{"X01Y0", "M01", "M02X01Y0", "M30"}}) {
        wnd.Edit().ClearAll();
        for (const char* line : lines)
            wnd.Edit().WriteLine(line);
        reader.Attach(&wnd);
        reader.ReadHeader();
        EXPECT_EQ(Positions(100).size(), 1u);
    }
    EXPECT_TRUE(TestHost().BoxTexts().empty());
}

TEST_F(DrillWalk, MoreThanEightPatternEndsAllReturn)
{
    // Twelve patterns, each repeated once: every pattern end past the eighth
    // still brings its repetition back.
    std::vector<std::string> lines;
    for (int n = 0; n < 12; ++n) {
        lines.push_back("M25");
        lines.push_back("X0" + std::to_string(n % 10) + "Y0");
        lines.push_back("M01");
        lines.push_back("M02X0Y01");
    }
    wnd.CreateOnce("drill");
    for (const std::string& line : lines)
        wnd.Edit().WriteLine(line);
    reader.Attach(&wnd);
    reader.ReadHeader();
    const auto points = Positions();
    ASSERT_EQ(points.size(), 24u);
    EXPECT_EQ(points[22], std::make_pair(1000.0f, 0.0f));
    EXPECT_EQ(points[23], std::make_pair(1000.0f, 1000.0f));
}

TEST_F(DrillWalk, EachWalkStartsWithEmptyStacksAndItsOwnOrigin)
{
    Load({"M25", "G93X01Y02", "X01Y01", "M01", "M02X01Y0", "M30"});
    // Stop inside the repetition.
    while (reader.ReadNextBlock() != DRILL_M_CODE || FloatStack1Count() == 0) {
    }
    EXPECT_EQ(FloatStack1Count(), 2);
    EXPECT_EQ(wnd.m_OriginX, 1000);
    EXPECT_EQ(wnd.m_OriginY, 2000);
    reader.ReadHeader();
    EXPECT_EQ(FloatStack1Count(), 0);
    EXPECT_EQ(FloatStack2Count(), 0);
    EXPECT_EQ(PointStackCount(), 0);
    EXPECT_EQ(wnd.m_OriginX, 0);
    // The origin is added to every output point.
    EXPECT_EQ(Positions(), (Points{{2000, 3000}, {3000, 3000}}));
    EXPECT_EQ(reader.m_ExtentMin, CDPoint(2000, 3000));
    EXPECT_EQ(reader.m_ExtentMax, CDPoint(3000, 3000));
}

TEST_F(DrillWalk, ToolsArcsAndYNegation)
{
    Load({"T2C0.04F5H3", "G01X01Y01", "G72", "X02Y01", "G02X03Y01I0.5", "G00X04"});
    auto steps = Walk();
    ASSERT_EQ(steps.size(), 6u);
    EXPECT_EQ(steps[0].code, DRILL_TOOL);
    EXPECT_EQ(reader.m_ToolNumber, 2);
    EXPECT_NEAR(reader.m_ToolSize, 40.0, 0.01);
    EXPECT_EQ(steps[1].code, DRILL_POSITION);
    EXPECT_EQ(steps[3].y, -1000.0f);  // after G72
    EXPECT_EQ(steps[4].code, DRILL_POSITION);
    EXPECT_EQ(reader.m_I, 500.0);
    EXPECT_EQ(reader.m_J, 0.0);
    EXPECT_FALSE(reader.DrawFlag());  // G00 is a move
}

TEST_F(DrillWalk, NoTextOrNoWindowEndsAtOnce)
{
    Load({});
    EXPECT_EQ(reader.ReadNextBlock(), DRILL_END);
    CEditWnd never;
    never.Edit().WriteLine("X01Y01");
    CDrillReader other;
    other.Attach(&never);
    other.ReadHeader();
    EXPECT_EQ(other.ReadNextBlock(), DRILL_END);
}
