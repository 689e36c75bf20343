// Digit strings into mil by the number format, and data blocks into points,
// D words and arc offsets.
#include "import/gerber_number.h"
#include "settings/gerber_format_dlg.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>

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

// The digits of a coordinate as texts, split and read with atof and atol:
// what the conversion must give to the last bit, however it sums them.
struct TextReading {
    bool refused;
    double number;
    int whole;
};

TextReading ReadAsText(std::string digits, int unitInt, int unitDec, int zeroSup, int inchMM)
{
    bool negative = false;
    if (!digits.empty() && (digits[0] == '-' || digits[0] == '+')) {
        negative = digits[0] == '-';
        digits.erase(0, 1);
    }
    const std::size_t ui = std::size_t(unitInt), ud = std::size_t(unitDec);
    std::string whole, fraction, padded = digits;
    if (zeroSup == 1) {
        padded.append(padded.size() < ui ? ui - padded.size() : 0, '0');
        whole = padded.substr(0, ui);
        fraction = padded.substr(ui);
    } else {
        padded.insert(0, padded.size() < ud ? ud - padded.size() : 0, '0');
        const std::size_t cut = zeroSup == 0 ? padded.size() - ud : std::min(ui, padded.size());
        whole = padded.substr(0, cut);
        fraction = padded.substr(cut);
    }
    std::string numberFraction = fraction;
    if (zeroSup != 0)
        numberFraction.append(numberFraction.size() < ud ? ud - numberFraction.size() : 0, '0');
    if (zeroSup == 1)
        fraction = numberFraction;
    fraction.resize(std::min(fraction.size(), ud));
    numberFraction.resize(std::min(numberFraction.size(), ud));
    const std::size_t first = whole.find_first_not_of('0');
    if (first != std::string::npos && whole.size() - first > 5)
        return {true, 0.0, 0};
    const double scale = std::pow(10.0, unitDec - 3);
    float number = float(std::atof(whole.c_str()) * 1000.0 + std::atof(numberFraction.c_str()) / scale);
    long mil = long(double(std::atol(whole.c_str()) * 1000) + double(std::atol(fraction.c_str())) / scale);
    if (inchMM == 1) {
        number = float(number / 25.4);
        mil = long(double(mil) / 25.4);
    }
    return {false, negative ? -double(number) : double(number), int(negative ? -mil : mil)};
}

// Every format of up to nine digits a side, every zero suppression and both
// units, on words of up to a dozen digits with and without a sign, on long
// words, most of them zeros in front (a whole of few digits, or not), and on
// words with one byte that is no digit (the bytes beside '0' and '9' too),
// which are read as texts.
TEST(GerberDigits, SummedDigitsReadAsTheirText)
{
    std::mt19937 random(17);
    const std::string strays = "/:. e\xe9";
    for (int unitInt = 0; unitInt <= 9; ++unitInt)
        for (int unitDec = 0; unitDec <= 9; ++unitDec)
            for (int zeroSup = 0; zeroSup <= 2; ++zeroSup)
                for (int inchMM = 0; inchMM <= 1; ++inchMM)
                    for (int k = 0; k < 20; ++k) {
                        std::string digits = k % 3 == 0 ? "-" : k % 3 == 1 ? "+" : "";
                        const bool longWord = k >= 12 && k < 16, stray = k >= 16;
                        if (longWord)
                            digits.append(random() % 40, '0');
                        const int length = int(longWord ? random() % 30 : stray ? 4 + random() % 9 : random() % 13);
                        for (int i = 0; i < length; ++i)
                            digits.push_back(char('0' + random() % 10));
                        if (stray)
                            digits[digits.size() - 1 - random() % std::size_t(length)] = strays[random() % strays.size()];
                        if (digits.empty())
                            continue;
                        SCOPED_TRACE(digits + " " + std::to_string(unitInt) + std::to_string(unitDec) +
                                     " zeros " + std::to_string(zeroSup) + " mm " + std::to_string(inchMM));
                        Format(unitInt, unitDec, zeroSup, inchMM);
                        const TextReading text = ReadAsText(digits, unitInt, unitDec, zeroSup, inchMM);
                        std::string a = digits, b = digits;
                        TakeGerberNumberRefusal();
                        const double number = GerberDigitsToNumber(a);
                        EXPECT_EQ(TakeGerberNumberRefusal(), text.refused);
                        const int whole = GerberDigitsToInt(b);
                        EXPECT_EQ(TakeGerberNumberRefusal(), text.refused);
                        if (text.refused)
                            continue;
                        EXPECT_EQ(std::bit_cast<std::uint64_t>(number), std::bit_cast<std::uint64_t>(text.number));
                        EXPECT_EQ(whole, text.whole);
                    }
    Format(2, 4, 0);
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

// One block after a reset (and an optional block before it), through both
// parsers: where the block ends, which word of a letter counts and where its
// digits stop, the G words, the refusals, and the D word each parser keeps.
struct BlockCase {
    const char* before;
    const char* block;
    int zeroSup;
    int kind;           // both parsers
    POINT whole;        // ParseGerberBlock
    const char* wholeDWord;
    double x, y;        // ParseGerberBlock2 (float mil)
    const char* dWord;
    const char* text;   // the block as both leave it
    bool refused;
};

TEST(GerberBlocks, WordsOfABlock)
{
    const BlockCase cases[] = {
        {"", "X100Y200D01*", 0, 1, {10, 20}, "D01", 10, 20, "D01", "X100Y200D01", false},
        {"", "Y200X100D01*", 0, 1, {10, 20}, "D01", 10, 20, "D01", "Y200X100D01", false},
        // The first word of a letter counts, up to the next letter of any case.
        {"", "X100X300Y5*", 0, 1, {10, 0}, "", 10, 0.5, "", "X100X300Y5", false},
        {"", "X100y7Y200*", 0, 1, {10, 20}, "", 10, 20, "", "X100y7Y200", false},
        // The block ends at its first '*', else at its first '$'.
        {"", "X100Y2*X300Y4*", 0, 1, {10, 0}, "", 10, 0.2, "", "X100Y2", false},
        {"D10*", "X100Y200$D01", 0, 1, {10, 20}, "D10", 10, 20, "D10", "X100Y200", false},
        {"", "X100$Y200*", 0, 1, {10, 20}, "", 10, 20, "", "X100$Y200", false},
        {"", "X100Y200", 0, 0, {-1, -1}, "D99", -1, -1, "D99", "X100Y200", false},
        // A byte past ASCII is no letter in the C locale: it stays in the word
        // (whole "1\xe9", read as 1).
        {"", "X1\xe9" "5Y200*", 1, 1, {1500, 20000}, "", 1500, 20000, "", "X1\xe9" "5Y200", false},
        // A D word alone: the whole-mil parser keeps the block, the other the
        // D word on.
        {"D10*", "M02D11*", 0, 4, {0, 0}, "M02D11", 0, 0, "D11", "M02D11", false},
        {"", "D000001*", 0, 4, {0, 0}, "D000001", 0, 0, "D000001", "D000001", false},
        {"", "D123456*", 0, 4, {0, 0}, "D123456", 0, 0, "D123456", "D123456", true},
        {"", "X1234567890Y3*", 0, 1, {0, 0}, "", 0, 0.3, "", "X1234567890Y3", true},
        // G words: G54 drops the block's first three bytes wherever it stands,
        // a comment is emptied, G91 adds from here on.
        {"", "G54D10*", 0, 4, {0, 0}, "D10", 0, 0, "D10", "D10", false},
        {"", "X5G54Y7D01*", 0, 3, {0, 0}, "D01", 0, 0.7, "D01", "54Y7D01", false},
        {"", "G01X100Y200D01*", 0, 1, {10, 20}, "D01", 10, 20, "D01", "G01X100Y200D01", false},
        {"D10*", "G04 X100*", 0, 0, {0, 0}, "D10", 0, 0, "D10", "", false},
        {"X100Y100*", "G91X100D01*", 0, 2, {20, 10}, "D01", 20, 10, "D01", "G91X100D01", false},
        {"X100Y100*", "G91X100D01$G", 0, 2, {20, 10}, "D01", 20, 10, "D01", "G91X100D01", false},
        {"D10*", "I50J50*", 0, 0, {0, 0}, "D10", 0, 0, "D10", "I50J50", false},
    };
    // A number or a D code no board or table can hold.
    auto refused = [] {
        std::string code;
        const bool dCode = TakeGerberDCodeRefusal(code);
        return TakeGerberNumberRefusal() || dCode;
    };
    for (const BlockCase& c : cases) {
        SCOPED_TRACE(c.block);
        Format(2, 4, c.zeroSup);
        POINT p{-1, -1};
        CDPoint q(-1, -1);
        std::string wholeDWord = "D99", dWord = "D99", block;
        ParseGerberBlock(block, p, wholeDWord, 1);
        ParseGerberBlock2(block, q, dWord, 1);
        if (*c.before) {
            block = c.before;
            ParseGerberBlock(block, p, wholeDWord, 0);
            block = c.before;
            ParseGerberBlock2(block, q, dWord, 0);
        }
        refused();

        block = c.block;
        EXPECT_EQ(ParseGerberBlock(block, p, wholeDWord, 0), c.kind);
        EXPECT_EQ(refused(), c.refused);
        EXPECT_EQ(block, c.text);
        EXPECT_EQ(p.x, c.whole.x);
        EXPECT_EQ(p.y, c.whole.y);
        EXPECT_EQ(wholeDWord, c.wholeDWord);

        block = c.block;
        EXPECT_EQ(ParseGerberBlock2(block, q, dWord, 0), c.kind);
        EXPECT_EQ(refused(), c.refused);
        EXPECT_EQ(block, c.text);
        EXPECT_EQ(q.x, double(float(c.x)));
        EXPECT_EQ(q.y, double(float(c.y)));
        EXPECT_EQ(dWord, c.dWord);
    }
    Format(2, 4, 0);
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
