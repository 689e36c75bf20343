// Block reading with the RS-274X parameters, aperture definitions, macro
// operands, the arc sweep and the dominant pad statistic.
#include "import/gerber_blocks.h"
#include "import_fixture.h"

#include <algorithm>
#include <cmath>

namespace {

class GerberBlockReading : public ImportTest {
protected:
    std::vector<std::string> Blocks(const std::string& text)
    {
        CGerberSource in;
        EXPECT_TRUE(in.Open(WriteFile("blocks.gbr", text)));
        std::vector<std::string> blocks;
        std::string block;
        while (!in.AtEnd()) {
            doc->ReadGerberBlock(in, block);
            blocks.push_back(block);
        }
        return blocks;
    }
};

TEST_F(GerberBlockReading, CutsBlocksAndDropsBlanks)
{
    using V = std::vector<std::string>;
    EXPECT_EQ(Blocks("G54D10*X100 Y200\tD01*"), (V{"G54", "D10*", "X100Y200D01*", ""}));
    EXPECT_EQ(Blocks("X100, Y200, D01*\n"), (V{"X100,Y200,D01*", "\n", ""}));
    // CRLF and LF give the same blocks.
    EXPECT_EQ(Blocks("X1Y2D01*\r\nX3D01*\r\n"), Blocks("X1Y2D01*\nX3D01*\n"));
    // A '#' ends a block, except inside a comment.
    EXPECT_EQ(Blocks("X1#Y2*"), (V{"X1#", "Y2*", ""}));
    EXPECT_EQ(Blocks("G04 #@! TD*"), (V{"G04#@!TD*", ""}));
    // Parameters are taken out of the block and applied.
    EXPECT_EQ(Blocks("%ADD10C,0.01*%X1*"), (V{"X1*", ""}));
    EXPECT_EQ(doc->m_ApertureList.size(), 1u);
}

// Everything a reader sees of a file read block by block: the blocks, the
// source's line and marks after each, the format and apertures at the end.
// `limit` stops the reading early, as a stopped interpreter does.
std::string ReadingTrace(CVelmDoc& doc, const std::string& path, std::size_t limit = SIZE_MAX)
{
    g_GerberFormatDlg.AutoFormat = 1;
    doc.m_ApertureList.clear();
    CGerberSource in;
    if (!in.Open(path))
        return "cannot open";
    std::string trace, block;
    for (std::size_t n = 0; n < limit && !in.AtEnd(); ++n) {
        doc.ReadGerberBlock(in, block);
        trace += "[" + block + "] line " + std::to_string(in.Line()) + (in.AtEnd() ? " end" : "") +
                 (in.m_EndCodeSeen ? " M02" : "") + " cut " + std::to_string(in.m_UnterminatedBlockLine) +
                 " open " + std::to_string(in.m_UnclosedParameterLine) + " refused " +
                 std::to_string(in.m_RefusedNumberLine) + " SR " + std::to_string(in.m_StepRepeatLine) + "\n";
    }
    return trace + in.ProblemMessage(true) + " FS " + std::to_string(g_GerberFormatDlg.UnitInt) +
           std::to_string(g_GerberFormatDlg.UnitDec) + std::to_string(g_GerberFormatDlg.ZeroSup) +
           " auto " + std::to_string(g_GerberFormatDlg.AutoFormat) + " apertures " +
           std::to_string(doc.m_ApertureList.size());
}

// Equal traces, or where they part (a whole trace is too long to show).
testing::AssertionResult SameTrace(const std::string& got, const std::string& expected)
{
    if (got == expected)
        return testing::AssertionSuccess();
    const auto at = std::mismatch(got.begin(), got.end(), expected.begin(), expected.end());
    const std::size_t from = std::size_t(at.first - got.begin());
    const std::size_t start = from < 100 ? 0 : from - 100;
    return testing::AssertionFailure() << "traces part at " << from << ": \"" << got.substr(start, 200)
                                       << "\" against \"" << expected.substr(start, 200) << "\"";
}

TEST_F(GerberBlockReading, KeptBlocksReadAsTheTextDoes)
{
    const std::string texts[] = {
        "G04 c *\r\n%MOIN*%\r\n%FSLAX24Y24*%\r\n%ADD11C,0.0200*%\r\nG54D11*G36*\r\nX0Y0D02*Y40000D01*\r\n"
        "X237D01*\r\nG37*\r\nM02*\r\n",
        // Blanks, a macro over two lines, lone CRs, '#' in and out of a comment, no last line end.
        "%AMOC8*\n5,1,8,0,0,1.08239X$1,22.5*%\n%ADD10OC8,0.05*%\nX1 Y2 D03*\rX3#Y4*\nG04 #x*\nG54D10*\n\n\n"
        "X5Y6D01*M02*",
        "%FSLAX23Y23*%\nX1Y1D01*\nX2Y2D0",                      // cut inside a block
        "%FSLAX23Y23*%\nX1Y1D01*\n%ADD10C,0.0",                 // cut inside a parameter
        "%SRX2Y1I1J0*%\nX1Y1D03*\n%ADD10C,999999999*%\nM02*\n", // refused at their lines
        "",
        "\n\n\n",
        "%FSLAX23Y23*" + std::string(300, '\n') + "%X1Y1D03*\nM02*\n",  // a long step in lines
        "G04 " + std::string(70000, 'x') + "*\nX1Y1D03*\nM02*\n",         // a long block
        [] {  // enough blocks for a last reading to give pages back
            std::string text = "%FSLAX23Y23*%\n";
            for (int k = 0; k < 40000; ++k)
                text += "X" + std::to_string(k) + "Y1D03*\n";
            return text + "M02*\n";
        }(),
    };
    int n = 0;
    for (const std::string& text : texts) {
        SCOPED_TRACE(n);
        const std::string path = WriteFile("kept" + std::to_string(n++) + ".gbr", text);
        const std::string fromText = ReadingTrace(*doc, path);
        const std::string stopped = ReadingTrace(*doc, path, 3);
        CKeptGerberBlocks kept;
        kept.Keep(path);
        EXPECT_TRUE(SameTrace(ReadingTrace(*doc, path), fromText));
        // Each reading replays from the start.
        EXPECT_TRUE(SameTrace(ReadingTrace(*doc, path), fromText));
        EXPECT_TRUE(SameTrace(ReadingTrace(*doc, path, 3), stopped));
        // A last reading takes the blocks over; the file is read from its
        // text after that.
        HandOverKeptGerberBlocks(path);
        EXPECT_TRUE(SameTrace(ReadingTrace(*doc, path), fromText));
        EXPECT_TRUE(SameTrace(ReadingTrace(*doc, path), fromText));
    }
}

TEST_F(GerberBlockReading, KeptFileReadByTheCharacterReadsItsText)
{
    const std::string path = WriteFile("plain.gbr", "%FSLAX23Y23*%\nX1Y1D03*\n");
    CKeptGerberBlocks kept;
    kept.Keep(path);
    CGerberSource in;
    ASSERT_TRUE(in.Open(path));
    std::string block, all;
    while (!in.AtEnd()) {
        ReadGerberBlockPlain(in, block);
        all += block + "|";
    }
    EXPECT_EQ(all, "%FSLAX23Y23*|%\n|X1Y1D03*|\n||");
}

TEST_F(GerberBlockReading, ParametersSetFormatAndApertures)
{
    g_GerberFormatDlg.AutoFormat = 1;
    Blocks("%FSLAX24Y24*%\n%MOIN*%\n%ADD10C,0.0100*%\n%ADD11R,0.06X0.03*%\n%ADD12O,0.05X0.02*%\n"
           "%ADD13P,0.04X6*%\n%ADD10C,0.02*%\n");
    EXPECT_EQ(g_GerberFormatDlg.UnitInt, 2);
    EXPECT_EQ(g_GerberFormatDlg.UnitDec, 4);
    EXPECT_EQ(g_GerberFormatDlg.AbsRel, 0);
    EXPECT_EQ(g_GerberFormatDlg.ZeroSup, 0);
    EXPECT_EQ(g_GerberFormatDlg.AutoFormat, 0);
    EXPECT_FLOAT_EQ(g_GerberUnitFactor, 10.0f);
    ASSERT_EQ(doc->m_ApertureList.size(), 4u);  // D10 defined twice: rewritten
    struct Expect { const char* code; const char* shape; float w, h; };
    const Expect expected[] = {{"D10", "ROUND", 20, 20}, {"D11", "RECT", 60, 30},
                               {"D12", "OVAL", 50, 20}, {"D13", "ROUND", 40, 40}};
    for (std::size_t k = 0; k < 4; ++k) {
        const CApertureRecord& a = *doc->m_ApertureList[k];
        EXPECT_EQ(a.dCode, expected[k].code);
        EXPECT_EQ(a.shape, expected[k].shape);
        EXPECT_NEAR(a.width, expected[k].w, 1e-3);
        EXPECT_NEAR(a.height, expected[k].h, 1e-3);
    }

    Blocks("%FSTAX23Y23*%%MOMM*%%ADD11R,1.0X0.5*%");
    EXPECT_EQ(g_GerberFormatDlg.ZeroSup, 1);
    EXPECT_EQ(g_GerberFormatDlg.InchMM, 1);
    EXPECT_FLOAT_EQ(g_GerberUnitFactor, 10.0f);  // 1.0 from FS, then x10 for MM
    EXPECT_NEAR(doc->FindAperture("D11")->width, 39.37f, 1e-3);
    EXPECT_NEAR(doc->FindAperture("D11")->height, 19.685f, 1e-3);
}

TEST_F(GerberBlockReading, MacrosAttachToApertures)
{
    Blocks("%AMBOX*21,1,$1,$2,0,0,0*%\n%ADD20BOX,0.1X0.05*%\n%ADD21NOPE,0.1X0.05*%\n%AMNOSTAR%\n");
    ASSERT_EQ(doc->m_MacroList.size(), 1u);
    EXPECT_EQ(doc->m_MacroList[0]->name, "BOX");
    EXPECT_EQ(doc->m_MacroList[0]->body, "21,1,$1,$2,0,0,0*");
    EXPECT_EQ(doc->GetApertureShape("D20"), "MACRO");
    EXPECT_EQ(doc->FindAperture("D20")->params, (std::vector<float>{0.1f, 0.05f}));
    EXPECT_EQ(doc->GetApertureShape("D21"), "OVAL");  // unknown macro name
}

TEST(GerberHelpers, MacroOperands)
{
    const std::vector<float> params = {0.02f, 0.05f, 0.5f};
    struct Case { const char* operand; double mil; } cases[] = {
        {"$2/2", 25.0}, {"$1+0.01", 30.0}, {"$1+$1", 40.0}, {"-$1", -20.0},
        {"0.1", 100.0}, {"$3x2", 1000.0}, {"$2-$1", 30.0}, {"$9", 0.0}, {"1@2", 1000.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.operand);
        EXPECT_NEAR(EvalMacroOperand(c.operand, params), c.mil, 1e-3);
    }
    g_GerberFormatDlg.InchMM = 1;
    EXPECT_NEAR(EvalMacroOperand("25.4", params), 1000.0, 1e-2);
    EXPECT_NEAR(EvalMacroOperand("$1", params), 20.0, 1e-3);  // stored values are inches
}

TEST(GerberHelpers, FieldsAndApertureParameters)
{
    std::string field;
    EXPECT_EQ(CopyGerberField("21,1,0.5*", 0, field), 3u);
    EXPECT_EQ(field, "21");
    EXPECT_EQ(CopyGerberField("0.5", 0, field), 3u);
    int d = 0;
    std::string name;
    std::vector<float> values;
    EXPECT_EQ(ParseApertureParams("ADD15RoundRect,0.25X-0.45X1*", d, name, values), 3);
    EXPECT_EQ(d, 15);
    EXPECT_EQ(name, "RoundRect");
    EXPECT_EQ(values, (std::vector<float>{0.25f, -0.45f, 1.0f}));
    EXPECT_EQ(ParseApertureParams("ADD16THERMAL*", d, name, values), 0);
    EXPECT_EQ(name, "THERMAL");
    EXPECT_EQ(ParseApertureParams("ADD17", d, name, values), 0);
    EXPECT_EQ(name, "C");
}

TEST(GerberHelpers, SweepRunsCounterClockwise)
{
    const CDPoint c(0, 0), east(10, 0), north(0, 10);
    EXPECT_NEAR(ArcSweep(east, north, c), M_PI / 2, 1e-5);
    EXPECT_NEAR(ArcSweep(north, east, c), 3 * M_PI / 2, 1e-5);
    EXPECT_NEAR(ArcSweepInt(POINT{10, 0}, POINT{0, 10}, c), M_PI / 2, 1e-5);
}

TEST(GerberHelpers, DominantPadIsTheLongestClosedRun)
{
    // A run counts the repeats after its first value (the very first run
    // also its first): 5 5 gives 2, 8 8 8 8 gives 3.
    for (float r : {5.f, 5.f, 8.f, 8.f, 8.f, 8.f, 3.f, 9.f, 9.f, 9.f, 9.f, 9.f, 9.f})
        KeepLongestRunValue(r);
    EXPECT_EQ(g_DominantPadRadius, 8.f);  // the open run of 9 is not compared
    g_DominantPadRadius = 0;
    KeepLongestRunValue(4.f);
    KeepLongestRunValue(6.f);
    EXPECT_EQ(g_DominantPadRadius, 4.f);
}

}  // namespace
