// Digit strings into mil by the number format, and data blocks into points,
// D words and arc offsets.
#include "import/gerber_number.h"
#include "settings/gerber_format_dlg.h"

#include <gtest/gtest.h>

namespace {

void Format(int unitInt, int unitDec, int zeroSup, int inchMM = 0)
{
    g_GerberFormatDlg.UnitInt = unitInt;
    g_GerberFormatDlg.UnitDec = unitDec;
    g_GerberFormatDlg.ZeroSup = zeroSup;
    g_GerberFormatDlg.InchMM = inchMM;
}

struct DigitCase {
    int unitInt, unitDec, zeroSup, inchMM;
    const char* digits;
    double number;  // GerberDigitsToNumber
    int whole;      // GerberDigitsToInt
};

TEST(GerberDigits, ConvertByFormat)
{
    const DigitCase cases[] = {
        {2, 4, 0, 0, "12345", 1234.5, 1234},    // leading: right-aligned
        {2, 4, 0, 0, "-500", -50.0, -50},
        {2, 4, 0, 0, "+20000", 2000.0, 2000},
        {2, 4, 1, 0, "12", 12000.0, 12000},     // trailing: left-aligned
        {2, 4, 1, 0, "123", 12300.0, 12300},
        {2, 4, 1, 0, "1", 10000.0, 10000},
        {3, 3, 0, 1, "25400", 1000.0, 1000},    // millimetres
        {2, 2, 0, 0, "125", 1250.0, 1250},      // fewer than 3 decimals
        {2, 3, 2, 0, "01500", 1500.0, 1500},    // no suppression
        {2, 3, 2, 0, "015", 1500.0, 1005},      // short fraction: padded for the number only
        {4, 6, 0, 1, "109220000", 4300.0, 4300},
        {2, 4, 0, 0, "", 0.0, 0},
    };
    for (const DigitCase& c : cases) {
        SCOPED_TRACE(c.digits);
        Format(c.unitInt, c.unitDec, c.zeroSup, c.inchMM);
        std::string a = c.digits, b = c.digits;
        EXPECT_NEAR(GerberDigitsToNumber(a), c.number, 1e-3);
        EXPECT_EQ(GerberDigitsToInt(b), c.whole);
    }
}

TEST(GerberBlocks, ParseCoordinatesAndDWords)
{
    Format(2, 4, 0);
    CDPoint p;
    std::string d;
    std::string block = "G54D10*";
    ParseGerberBlock2(block, p, d, 1);
    EXPECT_EQ(ParseGerberBlock2(block, p, d, 0), 4);
    EXPECT_EQ(d, "D10");
    block = "X100Y200*";
    EXPECT_EQ(ParseGerberBlock2(block, p, d, 0), 1);
    EXPECT_EQ(d, "D10");
    EXPECT_NEAR(p.x, 10.0, 1e-4);
    EXPECT_NEAR(p.y, 20.0, 1e-4);
    block = "X300D01*";
    EXPECT_EQ(ParseGerberBlock2(block, p, d, 0), 2);
    EXPECT_EQ(d, "D01");
    EXPECT_NEAR(p.x, 30.0, 1e-4);
    EXPECT_NEAR(p.y, 20.0, 1e-4);  // modal
    block = "Y50I10J20D01*";
    EXPECT_EQ(ParseGerberBlock2(block, p, d, 0), 3);
    EXPECT_NEAR(p.y, 5.0, 1e-4);

    // Comments and blocks without a terminator change nothing.
    block = "G04 X999Y999 D01*";
    EXPECT_EQ(ParseGerberBlock2(block, p, d, 0), 0);
    EXPECT_TRUE(block.empty());
    block = "X999Y999D02";
    EXPECT_EQ(ParseGerberBlock2(block, p, d, 0), 0);
    EXPECT_NEAR(p.x, 30.0, 1e-4);

    // Incremental mode adds; a reset returns to absolute at the origin.
    block = "G91*";
    ParseGerberBlock2(block, p, d, 0);
    for (int i = 0; i < 2; ++i) {
        block = "X100Y100D01*";
        ParseGerberBlock2(block, p, d, 0);
    }
    EXPECT_NEAR(p.x, 50.0, 1e-4);
    EXPECT_NEAR(p.y, 25.0, 1e-4);
    ParseGerberBlock2(block, p, d, 1);
    block = "X100D01*";
    ParseGerberBlock2(block, p, d, 0);
    EXPECT_NEAR(p.x, 10.0, 1e-4);
    EXPECT_NEAR(p.y, 0.0, 1e-4);

    // The whole-mil parser keeps its own state.
    POINT q;
    block = "X12345Y-500D02*";
    ParseGerberBlock(block, q, d, 1);
    EXPECT_EQ(ParseGerberBlock(block, q, d, 0), 1);
    EXPECT_EQ(q.x, 1234);
    EXPECT_EQ(q.y, -50);
}

TEST(GerberBlocks, ArcOffsets)
{
    Format(2, 4, 0);
    double i = 7, j = 7;
    EXPECT_EQ(ParseGerberIJ("X100Y200I50D01", i, j), 2);
    EXPECT_NEAR(i, 5.0, 1e-4);
    EXPECT_EQ(j, 0.0);
    EXPECT_EQ(ParseGerberIJ("X1Y2I-100J200D01", i, j), 1);
    EXPECT_NEAR(i, -10.0, 1e-4);
    EXPECT_NEAR(j, 20.0, 1e-4);
    EXPECT_EQ(ParseGerberIJ("X1Y2J300", i, j), 3);
    EXPECT_EQ(i, 0.0);
    EXPECT_NEAR(j, 30.0, 1e-4);
    i = j = 7;
    EXPECT_EQ(ParseGerberIJ("X1Y2D01", i, j), 0);
    EXPECT_EQ(i, 7.0);
}

}  // namespace
