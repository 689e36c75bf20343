// Files that once came out as a wrong board without a word: words of a block
// in any order, a format without its zero letter, macro assignments and
// names, a draw from a flash, and numbers or repeats no board can hold.
#include "import/gerber_reader_state.h"
#include "platform/file_messages.h"
#include "import_fixture.h"

#include <array>
#include <cmath>
#include <vector>

namespace {

using GerberRobust = ImportTest;

// The tracks and pads a read left, to compare two spellings of one file.
std::vector<std::array<float, 5>> Strokes(const CVelmDoc& doc)
{
    std::vector<std::array<float, 5>> out;
    for (const auto& t : doc.m_TrackList)
        out.push_back({t->x1, t->y1, t->x2, t->y2, t->width});
    for (const auto& f : doc.m_FlashList)
        out.push_back({f->x, f->y, f->radius, 0, 0});
    return out;
}

TEST_F(GerberRobust, WordsOfABlockReadInAnyOrder)
{
    const char* ap = "%ADD10C,0.010*%\n";
    struct Case { const char* usual; const char* reordered; } cases[] = {
        {"D10*X3000Y2000D03*", "D10*Y2000X3000D03*"},
        {"G75*D10*X100Y0D02*G03X-100Y0I-100J0D01*", "G75*D10*X100Y0D02*G03I-100J0X-100Y0D01*"},
        {"G75*D10*X100Y0D02*G02X0Y-100I-100J0D01*", "G75*D10*X100Y0D02*G02J0Y-100I-100X0D01*"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reordered);
        ASSERT_EQ(ReadLayer(Gerber(ap, c.usual)), 1);
        const auto usual = Strokes(*doc);
        ASSERT_EQ(ReadLayer(Gerber(ap, c.reordered)), 1);
        EXPECT_EQ(Strokes(*doc), usual);
        ASSERT_FALSE(usual.empty());
        for (const auto& s : usual)
            for (float v : s)
                EXPECT_LT(std::fabs(v), 5000.0f);  // no radius of millions of mil
    }
}

TEST_F(GerberRobust, AFormatWithoutZeroLetterOmitsLeadingZeros)
{
    for (int before : {0, 1, 2}) {
        g_GerberFormatDlg.ZeroSup = before;
        ASSERT_EQ(ReadLayer("%FSAX24Y24*%\n%MOIN*%\n%ADD10C,0.010*%\nD10*X10000Y5000D03*M02*\n"), 1);
        EXPECT_EQ(g_GerberFormatDlg.ZeroSup, 0);
        ASSERT_EQ(doc->m_FlashList.size(), 1u);
        EXPECT_NEAR(doc->m_FlashList[0]->x, 1000.0, 1e-3);
        EXPECT_NEAR(doc->m_FlashList[0]->y, 500.0, 1e-3);
    }
}

TEST_F(GerberRobust, MacroAssignmentsNamesAndDivisionByZero)
{
    struct Case { const char* macro; const char* aperture; float radius; std::size_t boxes; } cases[] = {
        // $3 = 0.05 - 0.03: a circle of 20 mil.
        {"%AMBOX*$3=$1-$2*1,1,$3,0,0*%\n", "%ADD20BOX,0.05X0.03*%\n", 10.0f, 0},
        // An assignment may reuse a parameter and feed the next one.
        {"%AMTWO*$1=$1x2*$2=$1+0.01*1,1,$2,0,0*%\n", "%ADD20TWO,0.02*%\n", 25.0f, 0},
        {"%AMZ*1,1,0.02,0,0*%\n", "%ADD20Z*%\n", 10.0f, 0},
        // Division by zero: the diameter is 0 (no pad), said once for two flashes.
        {"%AMDIV*$2=$1/0*1,1,$2,0,0*1,1,0.02,0,0*%\n", "%ADD20DIV,0.05*%\n", 10.0f, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.macro);
        const std::size_t before = TestHost().BoxTexts().size();
        ASSERT_EQ(ReadLayer(Gerber(std::string(c.macro) + c.aperture, "D20*X0Y0D03*X500Y0D03*")), 1);
        ASSERT_FALSE(doc->m_FlashList.empty());
        EXPECT_FLOAT_EQ(doc->m_FlashList[0]->radius, c.radius);
        EXPECT_EQ(doc->m_FlashList.size(), 2u);
        ASSERT_EQ(TestHost().BoxTexts().size(), before + c.boxes);
        if (c.boxes) {
            EXPECT_NE(TestHost().BoxTexts().back().find("layer.gbr"), std::string::npos);
        }
    }
}

// A file that cannot be a board is refused whole, naming file and line,
// and what was loaded stays.
TEST_F(GerberRobust, NumbersNoBoardCanHoldAndStepRepeatAreRefused)
{
    const std::string good = Gerber("%ADD10C,0.010*%\n", "D10*X0Y0D02*X100Y0D01*");
    // `dCode`: a legal D code past the table, which is said as such.
    struct Case { const char* text; long line; bool repeat = false; const char* dCode = nullptr; } cases[] = {
        {"%FSLAX23Y23*%\n%ADD10C,0.010*%\nD10*\nX12345678901234567890Y0D03*\nM02*\n", 4},
        {"%FSLAX23Y23*%\n%ADD10C,0.010*%\nD10*\nG03X0Y0I99999999999J0D01*\nM02*\n", 4},
        {"%FSLAX23Y23*%\n%ADD10C,1e30*%\nD10*X0Y0D03*\nM02*\n", 2},
        {"%FSLAX23Y23*%\n%ADD2147483648C,0.01*%\nD10*X0Y0D03*\nM02*\n", 2, false, "D2147483648"},
        {"%FSLAX23Y23*%\n%ADD100000C,0.01*%\nD10*X0Y0D03*\nM02*\n", 2, false, "D100000"},
        {"%FSLAX23Y23*%\n%ADD10C,0.010*%\nD10*X0Y0D03*\nD2147483648*X0Y0D03*\nM02*\n", 4, false,
         "D2147483648"},
        {"%FSLAX23Y23*%\n%ADD10C,0.010*%\nD10*X0Y0D03*\nX5Y5D100000*\nM02*\n", 4, false, "D100000"},
        {"%FSLAX23Y23*%\n%ADD10C,0.010*%\nD10*X0Y0D03*\nX5Y5D12\x01\x02\xFF\x7F*\nM02*\n", 4, false,
         "D12\x01\x02\xFF\x7F"},
        // Relative moves that add up past any absolute coordinate.
        {"%FSLAX53Y53*%\n%ADD10C,0.010*%\nG91*\nD10*\nX99999000Y0D02*\nX99999000Y0D02*\nM02*\n", 6},
        {"%FSLAX53Y53*%\n%ADD10C,0.010*%\nG91*\nD10*\nX0Y-99999000D02*\nY-99999000D01*\nM02*\n", 6},
        {"%FSLAX23Y23*%\n%AMFAR*20,1,0.01,0,0,1e30,0,0*%\n%ADD20FAR*%\nD20*\nX0Y0D03*\nM02*\n",
         5},
        {"%FSLAX23Y23*%\n%ADD10C,0.010*%\n%SRX3Y1I1.0J0*%\nD10*X0Y0D03*\n%SR*%\nM02*\n", 3, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ASSERT_EQ(ReadLayer(good), 1);
        ASSERT_EQ(doc->m_TrackList.size(), 1u);
        const std::size_t before = TestHost().BoxTexts().size();
        EXPECT_EQ(ReadLayer(c.text), 0);
        EXPECT_EQ(doc->m_TrackList.size(), 1u);
        ASSERT_EQ(TestHost().BoxTexts().size(), before + 1);
        const std::string path = JoinPath(TestDir(), "layer.gbr");
        EXPECT_EQ(TestHost().BoxTexts().back(),
                  c.repeat  ? StepRepeatMessage(path, c.line)
                  : c.dCode ? DCodeBeyondTableMessage(path, c.line, c.dCode)
                            : RefusedNumberMessage(path, c.line));
        // The code as written, its bytes that are no text escaped.
        if (c.dCode) {
            EXPECT_NE(TestHost().BoxTexts().back().find(PrintableText(c.dCode)), std::string::npos);
        }
    }
    // The largest code the table holds, and relative moves that stay on the
    // board however many they are, read as they should.
    ASSERT_EQ(ReadLayer("%FSLAX23Y23*%\n%ADD99999C,0.010*%\nD99999*X0Y0D03*\nM02*\n"), 1);
    EXPECT_EQ(doc->m_FlashList.size(), 1u);
    std::string walk = "%FSLAX23Y23*%\n%MOIN*%\n%ADD10C,0.010*%\nG91*\nD10*\n";
    for (int i = 0; i < 2000; ++i)
        walk += i % 2 ? "X-90000D02*\n" : "X90000D02*\n";
    ASSERT_EQ(ReadLayer(walk + "X1000D03*\nM02*\n"), 1);
    ASSERT_EQ(doc->m_FlashList.size(), 1u);
    EXPECT_NEAR(doc->m_FlashList[0]->x, 1000.0, 1e-3);
    // One copy of a step and repeat is the file as it stands.
    EXPECT_EQ(ReadLayer("%FSLAX23Y23*%\n%SRX1Y1I0J0*%\n%ADD10C,0.010*%\nD10*X0Y0D03*\nM02*\n"), 1);
}

TEST_F(GerberRobust, ABoardBeyondAnyTableIsReportedOnceByName)
{
    g_HasComponentSide = 1;
    const std::string small = WriteFile("small.gbr", Gerber("%ADD10C,0.020*%\n", "D10*X0Y0D03*"));
    const std::string wide =
        WriteFile("wide.gbr", Gerber("%ADD10C,0.020*%\n", "D10*X0Y0D03*X200000Y0D03*X0Y0D03*"));
    const std::size_t before = TestHost().BoxTexts().size();
    doc->ScanGerberExtent(small + ";" + wide);
    ASSERT_EQ(TestHost().BoxTexts().size(), before + 1);
    EXPECT_NE(TestHost().BoxTexts().back().find("wide.gbr"), std::string::npos);
    EXPECT_EQ(doc->m_GerberExtent.maxX, 200020);
}

}  // namespace
