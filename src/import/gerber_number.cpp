// Digit conversion and data-block parsing of the Gerber readers.
#include "import/gerber_number.h"

#include "settings/gerber_format_dlg.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <string_view>

namespace {

// Set when a conversion met a number no board can hold; cleared by the
// caller that asks.
bool g_NumberRefused = false;

// More whole digits than this, in inches or millimetres, is no board.
constexpr std::size_t kMaxWholeDigits = 5;
constexpr std::size_t kMaxDCodeDigits = 5;

// A coordinate's digits split into the integer and the fraction text by the
// zero suppression of the format.
struct SplitDigits {
    bool negative = false;
    std::string whole;
    std::string fraction;
};

SplitDigits Split(std::string& digits, bool padFraction)
{
    SplitDigits s;
    if (!digits.empty() && (digits[0] == '-' || digits[0] == '+')) {
        s.negative = digits[0] == '-';
        digits.erase(0, 1);
    }
    const std::size_t unitInt = std::size_t(std::max(0, g_GerberFormatDlg.UnitInt));
    const std::size_t unitDec = std::size_t(std::max(0, g_GerberFormatDlg.UnitDec));
    switch (g_GerberFormatDlg.ZeroSup) {
    case 0:  // leading zeros left out: digits are right-aligned
        if (digits.size() < unitDec)
            digits.insert(0, unitDec - digits.size(), '0');
        s.whole = digits.substr(0, digits.size() - unitDec);
        s.fraction = digits.substr(digits.size() - unitDec);
        break;
    case 1:  // trailing zeros left out: digits are left-aligned
        if (digits.size() < unitInt)
            digits.append(unitInt - digits.size(), '0');
        s.whole = digits.substr(0, unitInt);
        s.fraction = digits.substr(unitInt);
        if (s.fraction.size() < unitDec)
            s.fraction.append(unitDec - s.fraction.size(), '0');
        break;
    default:  // no suppression
        if (digits.size() < unitDec)
            digits.insert(0, unitDec - digits.size(), '0');
        s.whole = digits.substr(0, std::min(unitInt, digits.size()));
        s.fraction = digits.substr(s.whole.size());
        if (padFraction && s.fraction.size() < unitDec)
            s.fraction.append(unitDec - s.fraction.size(), '0');
        break;
    }
    if (s.fraction.size() > unitDec)
        s.fraction.resize(unitDec);
    return s;
}

// The whole part has few enough digits for a board, and the fraction, cut to
// the format's decimals, is whole digits (atol of more would overflow).
bool NumberFits(const SplitDigits& s)
{
    std::size_t first = s.whole.find_first_not_of('0');
    if (first != std::string::npos && s.whole.size() - first > kMaxWholeDigits)
        return false;
    return s.fraction.size() <= 18;
}

// A word of plain digits (a sign allowed) split as Split splits it, but
// into the two numbers the digits spell rather than into texts: every
// coordinate of a file takes this way. False, with nothing done, for any
// other word or format, which take the texts' way. `fits` is NumberFits.
bool SplitPlainDigits(std::string_view field, bool padFraction, bool& negative, long& whole,
                      long& fraction, bool& fits)
{
    const int unitInt = g_GerberFormatDlg.UnitInt, unitDec = g_GerberFormatDlg.UnitDec;
    if (unitInt < 0 || unitInt > 9 || unitDec < 0 || unitDec > 9)
        return false;
    negative = false;
    if (!field.empty() && (field[0] == '-' || field[0] == '+')) {
        negative = field[0] == '-';
        field.remove_prefix(1);
    }
    constexpr std::size_t kMaxDigits = 40;
    if (field.size() > kMaxDigits)
        return false;
    for (char c : field)
        if (c < '0' || c > '9')
            return false;
    // The digits as Split pads them, and where its whole and fraction lie.
    char padded[kMaxDigits + 2 * 9];
    std::size_t n = 0;
    const std::size_t size = field.size(), ui = std::size_t(unitInt), ud = std::size_t(unitDec);
    auto zeros = [&](std::size_t count) {
        for (std::size_t i = 0; i < count; ++i)
            padded[n++] = '0';
    };
    auto digits = [&] {
        for (char c : field)
            padded[n++] = c;
    };
    std::size_t wholeEnd = 0, fractionEnd = 0;
    switch (g_GerberFormatDlg.ZeroSup) {
    case 0:
        zeros(size < ud ? ud - size : 0);
        digits();
        wholeEnd = n - ud;
        fractionEnd = n;
        break;
    case 1:
        digits();
        zeros(size < ui ? ui - size : 0);
        wholeEnd = ui;
        zeros(n - wholeEnd < ud ? ud - (n - wholeEnd) : 0);
        fractionEnd = n;
        break;
    default:
        zeros(size < ud ? ud - size : 0);
        digits();
        wholeEnd = std::min(ui, n);
        if (padFraction)
            zeros(n - wholeEnd < ud ? ud - (n - wholeEnd) : 0);
        fractionEnd = n;
        break;
    }
    fractionEnd = std::min(fractionEnd, wholeEnd + ud);
    std::size_t first = 0;
    while (first < wholeEnd && padded[first] == '0')
        ++first;
    fits = wholeEnd - first <= kMaxWholeDigits;
    whole = fraction = 0;
    if (!fits)
        return true;
    for (std::size_t i = first; i < wholeEnd; ++i)
        whole = whole * 10 + (padded[i] - '0');
    for (std::size_t i = wholeEnd; i < fractionEnd; ++i)
        fraction = fraction * 10 + (padded[i] - '0');
    return true;
}

// Asked for every number: the power is worked out again only when the
// format's decimals change.
double FractionScale()
{
    static int decimals = 3;
    static double scale = 1.0;
    if (g_GerberFormatDlg.UnitDec != decimals) {
        decimals = g_GerberFormatDlg.UnitDec;
        scale = std::pow(10.0, decimals - 3);
    }
    return scale;
}

int WholeMil(bool negative, double whole, double fraction)
{
    double value = double(long(whole) * 1000) + fraction / FractionScale();
    long result = long(value);
    if (g_GerberFormatDlg.InchMM == 1)
        result = long(double(result) / 25.4);
    return int(negative ? -result : result);
}

double FloatMil(bool negative, double whole, double fraction)
{
    float value = float(whole * 1000.0 + fraction / FractionScale());
    if (g_GerberFormatDlg.InchMM == 1)
        value = float(value / 25.4);
    return negative ? -double(value) : double(value);
}

// The whole and the fraction a coordinate's digits spell: plain digits are
// summed (whole numbers of at most nine digits, in double what atof or atol
// makes of them), anything else read from Split's texts, by atol for
// `wholeNumbers`, else atof. False, with the refusal noted, for a number no
// board can hold.
bool DigitParts(std::string_view digits, bool padFraction, bool wholeNumbers, bool& negative,
                double& whole, double& fraction)
{
    bool fits = true;
    long w = 0, f = 0;
    if (SplitPlainDigits(digits, padFraction, negative, w, f, fits)) {
        whole = double(w);
        fraction = double(f);
    } else {
        std::string text(digits);
        const SplitDigits s = Split(text, padFraction);
        fits = NumberFits(s);
        if (fits) {
            auto read = [wholeNumbers](const std::string& t) {
                return wholeNumbers ? double(std::atol(t.c_str())) : std::atof(t.c_str());
            };
            negative = s.negative;
            whole = read(s.whole);
            fraction = read(s.fraction);
        }
    }
    if (!fits)
        g_NumberRefused = true;
    return fits;
}

int DigitsToInt(std::string_view digits)
{
    bool negative = false;
    double whole = 0, fraction = 0;
    if (digits.empty() || !DigitParts(digits, false, true, negative, whole, fraction))
        return 0;
    return WholeMil(negative, whole, fraction);
}

double DigitsToNumber(std::string_view digits)
{
    bool negative = false;
    double whole = 0, fraction = 0;
    if (digits.empty() || !DigitParts(digits, true, false, negative, whole, fraction))
        return 0.0;
    return FloatMil(negative, whole, fraction);
}

// The modal state of one data-block parser.
template <class Value>
struct BlockParser {
    Value x = 0;
    Value y = 0;
    bool absolute = true;
    std::string lastDWord;
};

BlockParser<int> g_IntParser;
BlockParser<float> g_FloatParser;

int Convert(std::string_view field, int*) { return DigitsToInt(field); }
float Convert(std::string_view field, float*) { return float(DigitsToNumber(field)); }

// The digits of the word `letter` in `block`: from after the letter to the
// next letter, so that the words of a block may come in any order.
std::string_view WordView(const std::string& block, std::size_t letterAt)
{
    std::size_t end = letterAt + 1;
    while (end < block.size() && !std::isalpha(static_cast<unsigned char>(block[end])))
        ++end;
    return std::string_view(block).substr(letterAt + 1, end - letterAt - 1);
}

std::string WordField(const std::string& block, std::size_t letterAt)
{
    return std::string(WordView(block, letterAt));
}

template <class Value>
int ParseBlock(BlockParser<Value>& st, std::string& block, Value& outX, Value& outY,
               std::string& dWord, int reset, bool dWordFromDInAbsolute)
{
    if (reset) {
        st = BlockParser<Value>();
        return 0;
    }
    std::size_t end = block.find('*');
    if (end == std::string::npos)
        end = block.find('$');
    if (end == std::string::npos)
        return 0;
    block.resize(end);
    // Most blocks are bare coordinates, without a G word to look for.
    if (block.find('G') != std::string::npos) {
        if (block.find("G90") != std::string::npos)
            st.absolute = true;
        if (block.find("G91") != std::string::npos)
            st.absolute = false;
        if (block.find("G54") != std::string::npos)
            block.erase(0, std::min<std::size_t>(3, block.size()));
        if (block.find("G04") != std::string::npos || block.find("G4") != std::string::npos) {
            block.clear();
            return 0;
        }
    }
    const std::size_t d = block.find('D');
    if (d != std::string::npos) {
        const std::string code = WordField(block, d);
        // No aperture table reaches a D code of more digits than this.
        const std::size_t first = code.find_first_not_of('0');
        if (first != std::string::npos && code.size() - first > kMaxDCodeDigits)
            g_NumberRefused = true;
        dWord = block.substr(d, code.size() + 1);
        st.lastDWord = dWord;
    } else {
        dWord = st.lastDWord;
    }
    const std::size_t xAt = block.find('X');
    const std::size_t yAt = block.find('Y');
    auto apply = [&](Value& modal, std::string_view field) {
        Value v = Convert(field, static_cast<Value*>(nullptr));
        modal = st.absolute ? v : Value(modal + v);
    };
    int kind;
    if (xAt != std::string::npos && yAt != std::string::npos) {
        apply(st.x, WordView(block, xAt));
        apply(st.y, WordView(block, yAt));
        kind = 1;
    } else if (xAt != std::string::npos) {
        apply(st.x, WordView(block, xAt));
        kind = 2;
    } else if (yAt != std::string::npos) {
        apply(st.y, WordView(block, yAt));
        kind = 3;
    } else if (d != std::string::npos) {
        dWord = block;
        if (dWordFromDInAbsolute && st.absolute) {
            dWord = block.substr(d);
            st.lastDWord = dWord;
        }
        kind = 4;
    } else {
        return 0;
    }
    outX = st.x;
    outY = st.y;
    return kind;
}

}  // namespace

int GerberDigitsToInt(std::string_view digits) { return DigitsToInt(digits); }

double GerberDigitsToNumber(std::string_view digits) { return DigitsToNumber(digits); }

bool TakeGerberNumberRefusal()
{
    const bool refused = g_NumberRefused;
    g_NumberRefused = false;
    return refused;
}

void RefuseGerberNumber() { g_NumberRefused = true; }

int ParseGerberBlock(std::string& block, POINT& point, std::string& dWord, int reset)
{
    int x = point.x, y = point.y;
    int kind = ParseBlock(g_IntParser, block, x, y, dWord, reset, false);
    if (kind) {
        point.x = x;
        point.y = y;
    }
    return kind;
}

int ParseGerberBlock2(std::string& block, CDPoint& point, std::string& dWord, int reset)
{
    float x = float(point.x), y = float(point.y);
    int kind = ParseBlock(g_FloatParser, block, x, y, dWord, reset, true);
    if (kind) {
        point.x = x;
        point.y = y;
    }
    return kind;
}

int ParseGerberIJ(const std::string& block, double& i, double& j)
{
    const std::size_t iAt = block.find('I');
    const std::size_t jAt = block.find('J');
    auto offset = [&](std::size_t at) {
        if (at == std::string::npos)
            return 0.0;
        std::string field = WordField(block, at);
        return GerberDigitsToNumber(field);
    };
    if (iAt == std::string::npos && jAt == std::string::npos)
        return 0;
    i = offset(iAt);
    j = offset(jAt);
    return iAt == std::string::npos ? 3 : jAt == std::string::npos ? 2 : 1;
}

void ResetGerberParsers()
{
    g_IntParser = BlockParser<int>();
    g_FloatParser = BlockParser<float>();
}
